// Base64 coder: four characters per three bytes, through two lookup tables.
#include "util/base64.hpp"

#include <array>
#include <cstdint>

namespace qc::util {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kInvalid = 0xff;

constexpr std::array<std::uint8_t, 256> kDigits = [] {
  std::array<std::uint8_t, 256> t{};
  t.fill(kInvalid);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  return t;
}();

std::uint32_t digit(char c) { return kDigits[static_cast<unsigned char>(c)]; }

}  // namespace

void append_base64(std::string& out, std::span<const std::byte> bytes) {
  const std::size_t start = out.size();
  out.resize(start + (bytes.size() + 2) / 3 * 4);
  char* o = out.data() + start;
  std::size_t i = 0;
  const auto b = [&](std::size_t k) { return std::to_integer<std::uint32_t>(bytes[k]); };
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = b(i) << 16 | b(i + 1) << 8 | b(i + 2);
    *o++ = kAlphabet[v >> 18];
    *o++ = kAlphabet[v >> 12 & 63];
    *o++ = kAlphabet[v >> 6 & 63];
    *o++ = kAlphabet[v & 63];
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    const std::uint32_t v = b(i) << 16 | (rest == 2 ? b(i + 1) << 8 : 0);
    *o++ = kAlphabet[v >> 18];
    *o++ = kAlphabet[v >> 12 & 63];
    *o++ = rest == 2 ? kAlphabet[v >> 6 & 63] : '=';
    *o++ = '=';
  }
}

std::optional<std::size_t> base64_size(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t pad = 0;
  while (pad < 2 && pad < text.size() && text[text.size() - 1 - pad] == '=') ++pad;
  return text.size() / 4 * 3 - pad;
}

bool decode_base64(std::string_view text, std::span<std::byte> out) {
  std::size_t o = 0;
  std::uint32_t bad = 0;
  std::size_t i = 0;
  const std::size_t whole = out.size() / 3 * 3;
  for (; o < whole; i += 4, o += 3) {
    const std::uint32_t a = digit(text[i]), b = digit(text[i + 1]), c = digit(text[i + 2]), d = digit(text[i + 3]);
    bad |= (a | b | c | d) & 0x80;
    const std::uint32_t v = a << 18 | b << 12 | c << 6 | d;
    out[o] = static_cast<std::byte>(v >> 16);
    out[o + 1] = static_cast<std::byte>(v >> 8);
    out[o + 2] = static_cast<std::byte>(v);
  }
  if (bad != 0) return false;
  if (const std::size_t rest = out.size() - whole; rest > 0) {
    const std::uint32_t a = digit(text[i]), b = digit(text[i + 1]);
    const std::uint32_t c = rest == 2 ? digit(text[i + 2]) : 0;
    if (((a | b | c) & 0x80) != 0 || (rest == 1 && text[i + 2] != '=')) return false;
    const std::uint32_t v = a << 18 | b << 12 | c << 6;
    if ((v & (rest == 2 ? 0xffu : 0xffffu)) != 0) return false;  // bits past the last byte
    out[o] = static_cast<std::byte>(v >> 16);
    if (rest == 2) out[o + 1] = static_cast<std::byte>(v >> 8);
  }
  return true;
}

}  // namespace qc::util
