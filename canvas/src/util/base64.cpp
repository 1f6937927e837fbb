// Base64 coder: 24 bytes a step in vector registers where the processor has AVX2; elsewhere two characters
// per table look-up of 12 bits when writing and one 32-bit word per character when reading, six bytes a step.
#include "util/base64.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QC_BASE64_WIDE 1
#endif

namespace qc::util {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12 bits, in text order.
constexpr std::array<char, 2 * 4096> kPairs = [] {
  std::array<char, 2 * 4096> t{};
  for (std::size_t v = 0; v < 4096; ++v) {
    t[2 * v] = kAlphabet[v >> 6];
    t[2 * v + 1] = kAlphabet[v & 63];
  }
  return t;
}();

// A character's six bits at its place in a group of four (the first character's at bits 18-23); a character
// outside the alphabet sets kInvalid, which no group of valid characters reaches.
constexpr std::uint32_t kInvalid = std::uint32_t{1} << 24;
constexpr std::array<std::array<std::uint32_t, 256>, 4> kDigits = [] {
  std::array<std::array<std::uint32_t, 256>, 4> t{};
  for (auto& place : t) place.fill(kInvalid);
  for (std::uint32_t i = 0; i < kAlphabet.size(); ++i) {
    for (std::size_t place = 0; place < 4; ++place) {
      t[place][static_cast<unsigned char>(kAlphabet[i])] = i << (18 - 6 * place);
    }
  }
  return t;
}();

std::uint64_t load_big_endian(const std::byte* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}
void store_big_endian(std::byte* p, std::uint64_t v) {
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  std::memcpy(p, &v, sizeof v);
}

// The four characters of the 24 bits `v`.
void put_group(char* o, std::uint32_t v) {
  std::memcpy(o, &kPairs[2 * (v >> 12)], 2);
  std::memcpy(o + 2, &kPairs[2 * (v & 0xfff)], 2);
}

// The 24 bits of four characters, or a value with kInvalid set.
std::uint32_t group(const char* t) {
  const auto c = [&](std::size_t k) { return static_cast<unsigned char>(t[k]); };
  return kDigits[0][c(0)] | kDigits[1][c(1)] | kDigits[2][c(2)] | kDigits[3][c(3)];
}

#if defined(QC_BASE64_WIDE)
// The bytes of four groups of three in each 128-bit lane, as 32 six-bit indices in text order. The lane's
// bytes are spread to b a c b in each 32-bit word, then two multiplies shift the four indices into place.
[[gnu::target("avx2")]] __m256i indices_of(__m256i in) {
  const __m256i spread = _mm256_shuffle_epi8(
      in, _mm256_set_epi8(10, 11, 9, 10, 7, 8, 6, 7, 4, 5, 3, 4, 1, 2, 0, 1, 10, 11, 9, 10, 7, 8, 6, 7, 4, 5, 3, 4, 1,
                          2, 0, 1));
  const __m256i high = _mm256_mulhi_epu16(_mm256_and_si256(spread, _mm256_set1_epi32(0x0fc0fc00)),
                                          _mm256_set1_epi32(0x04000040));
  const __m256i low = _mm256_mullo_epi16(_mm256_and_si256(spread, _mm256_set1_epi32(0x003f03f0)),
                                         _mm256_set1_epi32(0x01000010));
  return _mm256_or_si256(high, low);
}

// Six-bit indices as characters: each of the alphabet's five ranges is its index plus one offset, looked up
// by the range's number (0 for A-Z, 1 for a-z, 2-11 for the digits, 12 for +, 13 for /).
[[gnu::target("avx2")]] __m256i characters_of(__m256i indices) {
  const __m256i offsets = _mm256_setr_epi8(65, 71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 0, 0, 65, 71, -4,
                                           -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 0, 0);
  const __m256i range = _mm256_sub_epi8(_mm256_subs_epu8(indices, _mm256_set1_epi8(51)),
                                        _mm256_cmpgt_epi8(indices, _mm256_set1_epi8(25)));
  return _mm256_add_epi8(indices, _mm256_shuffle_epi8(offsets, range));
}

// The bytes up to the last whole 24 that can be read 28 at a time; returns how many were encoded.
[[gnu::target("avx2")]] std::size_t encode_wide(std::span<const std::byte> bytes, char* out) {
  const std::byte* in = bytes.data();
  std::size_t i = 0;
  for (; i + 28 <= bytes.size(); i += 24, out += 32) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 12));
    const __m256i lanes = _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), characters_of(indices_of(lanes)));
  }
  return i;
}

// 32 characters to 24 bytes a step while 32 bytes can be stored; returns how many bytes were decoded, and
// sets `bad` when a character is outside the alphabet. A character's high and low nibbles each look up the
// set of ranges it could be in (valid where the two sets meet nowhere), and the high nibble its offset.
[[gnu::target("avx2")]] std::size_t decode_wide(const char* text, std::span<std::byte> out, bool& bad) {
  const __m256i low_sets = _mm256_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1a,
                                            0x1b, 0x1b, 0x1b, 0x1a, 0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                            0x11, 0x11, 0x13, 0x1a, 0x1b, 0x1b, 0x1b, 0x1a);
  const __m256i high_sets = _mm256_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10,
                                             0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08,
                                             0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10);
  const __m256i offsets = _mm256_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 19, 4,
                                           -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i slash = _mm256_set1_epi8(0x2f);  // also the nibble mask: bit 7 clear, bits 0-3 kept
  __m256i clash = _mm256_setzero_si256();
  const std::size_t whole = out.size() / 3 * 3;
  std::size_t k = 0;
  for (; k + 32 <= whole; k += 24, text += 32) {
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text));
    const __m256i high = _mm256_and_si256(_mm256_srli_epi32(c, 4), slash);
    const __m256i low = _mm256_and_si256(c, slash);
    clash = _mm256_or_si256(
        clash, _mm256_and_si256(_mm256_shuffle_epi8(low_sets, low), _mm256_shuffle_epi8(high_sets, high)));
    const __m256i offset = _mm256_shuffle_epi8(offsets, _mm256_add_epi8(_mm256_cmpeq_epi8(c, slash), high));
    const __m256i digits = _mm256_add_epi8(c, offset);
    // Four six-bit digits to 24 bits in each 32-bit word, then each lane's twelve bytes together.
    const __m256i pairs = _mm256_maddubs_epi16(digits, _mm256_set1_epi32(0x01400140));
    const __m256i words = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    const __m256i packed = _mm256_shuffle_epi8(
        words, _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2, 1, 0, 6, 5, 4, 10, 9, 8, 14,
                                13, 12, -1, -1, -1, -1));
    const __m256i joined = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.data() + k), joined);
  }
  bad = !_mm256_testz_si256(clash, clash);
  return k;
}

bool wide() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

}  // namespace

void encode_base64(std::span<const std::byte> bytes, char* out) {
#if defined(QC_BASE64_WIDE)
  if (wide()) {
    const std::size_t done = encode_wide(bytes, out);
    return encode_base64_portable(bytes.subspan(done), out + done / 3 * 4);
  }
#endif
  encode_base64_portable(bytes, out);
}

bool decode_base64(std::string_view text, std::span<std::byte> out) {
#if defined(QC_BASE64_WIDE)
  if (wide()) {
    bool bad = false;
    const std::size_t done = decode_wide(text.data(), out, bad);
    return decode_base64_portable(text.substr(done / 3 * 4), out.subspan(done)) && !bad;
  }
#endif
  return decode_base64_portable(text, out);
}

void encode_base64_portable(std::span<const std::byte> bytes, char* out) {
  const std::byte* in = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  // Eight bytes are read for six, so the last steps go three bytes at a time.
  for (; i + 8 <= n; i += 6, out += 8) {
    const std::uint64_t v = load_big_endian(in + i);
    put_group(out, static_cast<std::uint32_t>(v >> 40));
    put_group(out + 4, static_cast<std::uint32_t>(v >> 16) & 0xffffff);
  }
  const auto b = [&](std::size_t k) { return std::to_integer<std::uint32_t>(in[k]); };
  for (; i + 3 <= n; i += 3, out += 4) put_group(out, b(i) << 16 | b(i + 1) << 8 | b(i + 2));
  if (const std::size_t rest = n - i; rest > 0) {
    const std::uint32_t v = b(i) << 16 | (rest == 2 ? b(i + 1) << 8 : 0);
    put_group(out, v);
    if (rest == 1) out[2] = '=';
    out[3] = '=';
  }
}

void append_base64(std::string& out, std::span<const std::byte> bytes) {
  const std::size_t start = out.size();
  out.resize(start + base64_length(bytes.size()));
  encode_base64(bytes, out.data() + start);
}

std::optional<std::size_t> base64_size(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t pad = 0;
  while (pad < 2 && pad < text.size() && text[text.size() - 1 - pad] == '=') ++pad;
  return text.size() / 4 * 3 - pad;
}

bool decode_base64_portable(std::string_view text, std::span<std::byte> out) {
  const char* t = text.data();
  std::byte* o = out.data();
  const std::size_t whole = out.size() / 3 * 3;
  std::uint32_t bad = 0;
  std::size_t k = 0;
  // Two groups make six bytes, stored as eight whose last two the next step overwrites.
  for (; k + 8 <= whole; k += 6, t += 8) {
    const std::uint32_t a = group(t), b = group(t + 4);
    bad |= a | b;
    store_big_endian(o + k, (std::uint64_t{a} << 40) | (std::uint64_t{b} << 16));
  }
  for (; k < whole; k += 3, t += 4) {
    const std::uint32_t v = group(t);
    bad |= v;
    o[k] = static_cast<std::byte>(v >> 16);
    o[k + 1] = static_cast<std::byte>(v >> 8);
    o[k + 2] = static_cast<std::byte>(v);
  }
  if ((bad & kInvalid) != 0) return false;
  if (const std::size_t rest = out.size() - whole; rest > 0) {
    // The padding stands for zero bits here; the characters before it must be of the alphabet.
    const char last[4] = {t[0], t[1], rest == 2 ? t[2] : 'A', 'A'};
    if (rest == 1 && t[2] != '=') return false;
    const std::uint32_t v = group(last);
    if ((v & kInvalid) != 0) return false;
    if ((v & (rest == 2 ? 0xffu : 0xffffu)) != 0) return false;  // bits past the last byte
    o[k] = static_cast<std::byte>(v >> 16);
    if (rest == 2) o[k + 1] = static_cast<std::byte>(v >> 8);
  }
  return true;
}

}  // namespace qc::util
