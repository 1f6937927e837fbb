// The greedy two-distance matcher, the block writer (dynamic Huffman or stored, whichever is smaller) and
// the zlib frame. Deflate's tables and rules as RFC 1950 and 1951 set them.
#include "raster/row_deflate.hpp"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace qc::raster {
namespace {

constexpr std::size_t kLitLenSymbols = 286;  // 256 literals, end of block, 29 lengths
constexpr std::size_t kDistSymbols = 30;
constexpr std::size_t kCodeLenSymbols = 19;
constexpr std::uint32_t kEndOfBlock = 256;
constexpr unsigned kMaxCodeBits = 15;
constexpr unsigned kMaxCodeLenBits = 7;
constexpr std::size_t kMinMatch = 4;
constexpr std::size_t kMaxMatch = 258;

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                     33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                     1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a block header gives the code-length code's lengths.
constexpr std::array<std::uint8_t, kCodeLenSymbols> kCodeLenOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                     11, 4,  12, 3, 13, 2, 14, 1, 15};

// The length code (0 for 257) of each match length.
constexpr std::array<std::uint8_t, kMaxMatch + 1> kLengthCode = [] {
  std::array<std::uint8_t, kMaxMatch + 1> code{};
  std::size_t c = 0;
  for (std::size_t len = 3; len <= kMaxMatch; ++len) {
    while (c + 1 < kLengthBase.size() && kLengthBase[c + 1] <= len) ++c;
    code[len] = static_cast<std::uint8_t>(c);
  }
  return code;
}();

// A symbol of a block: a literal byte (below kMatch), or kMatch | length << 1 | (1 when one row up).
constexpr std::uint32_t kMatch = 1u << 16;

// A distance as it goes out: its code and its extra bits.
struct Distance {
  std::uint32_t code = 0;
  std::uint32_t extra = 0;
  unsigned extra_bits = 0;

  static Distance of(std::size_t d) {
    Distance out;
    while (out.code + 1 < kDistBase.size() && kDistBase[out.code + 1] <= d) ++out.code;
    out.extra = static_cast<std::uint32_t>(d - kDistBase[out.code]);
    out.extra_bits = kDistExtra[out.code];
    return out;
  }
};

std::uint32_t load32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// How many bytes from a and b agree, at most `most`.
std::size_t common_length(const unsigned char* a, const unsigned char* b, std::size_t most) {
  std::size_t len = 0;
  for (; len + 8 <= most; len += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (const std::uint64_t diff = x ^ y; diff != 0) {
      const int bits = std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
      return len + static_cast<std::size_t>(bits) / 8;
    }
  }
  while (len < most && a[len] == b[len]) ++len;
  return len;
}

// Bits into bytes, the first bit in the lowest place, as deflate packs them.
class BitWriter {
 public:
  explicit BitWriter(unsigned char* out) : out_(out) {}

  // At most 32 bits of `value` (bits above `n` clear).
  void put(std::uint32_t value, unsigned n) {
    bits_ |= std::uint64_t{value} << count_;
    count_ += n;
    if (count_ >= 32) {
      for (int i = 0; i < 4; ++i) *out_++ = static_cast<unsigned char>(bits_ >> (8 * i));
      bits_ >>= 32;
      count_ -= 32;
    }
  }
  // Pads to a whole byte and writes out every bit held.
  void align() {
    for (; count_ > 0; count_ = count_ > 8 ? count_ - 8 : 0) {
      *out_++ = static_cast<unsigned char>(bits_);
      bits_ >>= 8;
    }
    bits_ = 0;
  }
  void bytes(const unsigned char* data, std::size_t n) {
    if (n == 0) return;  // `data` may then be null
    std::memcpy(out_, data, n);
    out_ += n;
  }
  unsigned char* at() const { return out_; }

 private:
  unsigned char* out_;
  std::uint64_t bits_ = 0;
  unsigned count_ = 0;
};

// A prefix code: each symbol's length (0: unused) and its bits, reversed as deflate sends them.
template <std::size_t N>
struct Code {
  std::array<std::uint8_t, N> len{};
  std::array<std::uint16_t, N> bits{};

  // The lengths of a complete code for `freq`, none above `limit`; a code of fewer than two used symbols
  // gets a second one (never sent), since decoders may refuse a code that is not complete.
  void build(const std::array<std::uint32_t, N>& freq, unsigned limit) {
    std::array<std::uint16_t, N> order;  // used symbols, least frequent first
    std::size_t m = 0;
    for (std::size_t s = 0; s < N; ++s) {
      len[s] = 0;
      if (freq[s] != 0) order[m++] = static_cast<std::uint16_t>(s);
    }
    if (m < 2) {
      const std::size_t lone = m == 1 ? order[0] : 0;
      len[lone] = len[lone == 0 ? 1 : 0] = 1;
      assign_bits();
      return;
    }
    std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(m), [&](std::uint16_t a, std::uint16_t b) {
      return freq[a] != freq[b] ? freq[a] < freq[b] : a < b;
    });

    // Huffman's merging with two queues: the leaves in order, then the merged nodes, made in order of weight.
    std::array<std::uint32_t, 2 * N> weight{};
    std::array<std::uint16_t, 2 * N> parent{};
    for (std::size_t i = 0; i < m; ++i) weight[i] = freq[order[i]];
    std::size_t leaf = 0, merged = m;
    const auto lightest = [&](std::size_t made) {
      if (leaf < m && (merged == made || weight[leaf] <= weight[merged])) return leaf++;
      return merged++;
    };
    for (std::size_t made = m; made < 2 * m - 1; ++made) {
      const std::size_t a = lightest(made), b = lightest(made);
      weight[made] = weight[a] + weight[b];
      parent[a] = parent[b] = static_cast<std::uint16_t>(made);
    }
    // Depths from the root down: a node's parent was made after it. Reuses `weight` for the depths.
    std::array<std::uint16_t, N + 1> count{};
    weight[2 * m - 2] = 0;
    for (std::size_t k = 2 * m - 2; k-- > 0;) {
      weight[k] = weight[parent[k]] + 1;
      if (k < m) ++count[std::min<std::size_t>(weight[k], N)];
    }

    // Codes longer than the limit are shortened, then the shortest codes lengthened one by one until the
    // lengths fit a complete code again (Kraft's sum exactly 1 at `limit` bits).
    for (std::size_t d = limit + 1; d <= N; ++d) count[limit] = static_cast<std::uint16_t>(count[limit] + count[d]);
    std::uint64_t kraft = 0;
    for (unsigned d = 1; d <= limit; ++d) kraft += std::uint64_t{count[d]} << (limit - d);
    for (; kraft > (std::uint64_t{1} << limit); --kraft) {
      --count[limit];
      for (unsigned d = limit - 1; d > 0; --d) {
        if (count[d] != 0) {
          --count[d];
          count[d + 1] = static_cast<std::uint16_t>(count[d + 1] + 2);
          break;
        }
      }
    }
    // The most frequent symbols take the shortest lengths.
    std::size_t next = m;
    for (unsigned d = 1; d <= limit; ++d) {
      for (std::uint16_t c = count[d]; c > 0; --c) len[order[--next]] = static_cast<std::uint8_t>(d);
    }
    assign_bits();
  }

  // Canonical codes from the lengths, bit-reversed.
  void assign_bits() {
    std::array<std::uint16_t, kMaxCodeBits + 1> count{}, next{};
    for (std::uint8_t l : len) ++count[l];
    count[0] = 0;
    for (unsigned l = 1; l <= kMaxCodeBits; ++l) {
      next[l] = static_cast<std::uint16_t>((next[l - 1] + count[l - 1]) << 1);
    }
    for (std::size_t s = 0; s < N; ++s) {
      if (len[s] == 0) continue;
      const unsigned code = next[len[s]]++;
      unsigned reversed = 0;
      for (unsigned i = 0; i < len[s]; ++i) reversed |= ((code >> i) & 1u) << (len[s] - 1 - i);
      bits[s] = static_cast<std::uint16_t>(reversed);
    }
  }

  // Bits of `freq` sent with this code.
  std::uint64_t cost(const std::array<std::uint32_t, N>& freq) const {
    std::uint64_t total = 0;
    for (std::size_t s = 0; s < N; ++s) total += std::uint64_t{freq[s]} * len[s];
    return total;
  }
};

// One block of symbols: counted, coded and written.
class Block {
 public:
  Block(const Distance& left, const Distance& up) : distances_{left, up} {}

  void literal(std::uint32_t byte) { ++litlen_freq_[byte]; }
  void match(std::size_t length, bool up) {
    ++litlen_freq_[257 + kLengthCode[length]];
    ++dist_freq_[distances_[up].code];
  }

  // Writes the block of `symbols` standing for `raw`, as whichever of a dynamic Huffman block and stored
  // blocks is the smaller, and readies the counts for the next block.
  void write(std::span<const std::uint32_t> symbols, std::span<const unsigned char> raw, bool last, BitWriter& w) {
    litlen_freq_[kEndOfBlock] = 1;
    litlen_code_.build(litlen_freq_, kMaxCodeBits);
    dist_code_.build(dist_freq_, kMaxCodeBits);
    const Header header(litlen_code_, dist_code_);

    std::uint64_t extra = 0;
    for (std::size_t c = 0; c < kLengthExtra.size(); ++c) {
      extra += std::uint64_t{litlen_freq_[257 + c]} * kLengthExtra[c];
    }
    for (std::size_t c = 0; c < kDistExtra.size(); ++c) extra += std::uint64_t{dist_freq_[c]} * kDistExtra[c];
    const std::uint64_t huffman =
        3 + header.bits + litlen_code_.cost(litlen_freq_) + dist_code_.cost(dist_freq_) + extra;
    const std::size_t chunks = raw.empty() ? 1 : (raw.size() + kStoredMost - 1) / kStoredMost;
    // Each stored chunk: its 3 header bits padded to a byte (at most 7 + 3 + the bits already pending),
    // LEN and NLEN, and the bytes.
    const std::uint64_t stored = 8 * (std::uint64_t{raw.size()} + 4 * chunks) + 8 * chunks + 8;

    if (huffman <= stored) {
      w.put(last ? 1u : 0u, 1);
      w.put(2, 2);
      header.write(w);
      for (const std::uint32_t s : symbols) put_symbol(s, w);
      w.put(litlen_code_.bits[kEndOfBlock], litlen_code_.len[kEndOfBlock]);
    } else {
      write_stored(raw, last, w);
    }
    litlen_freq_.fill(0);
    dist_freq_.fill(0);
  }

  static void write_stored(std::span<const unsigned char> raw, bool last, BitWriter& w) {
    std::size_t at = 0;
    do {
      const std::size_t n = std::min(kStoredMost, raw.size() - at);
      w.put(last && at + n == raw.size() ? 1u : 0u, 1);
      w.put(0, 2);
      w.align();
      const unsigned char lengths[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                        static_cast<unsigned char>(~n), static_cast<unsigned char>(~n >> 8)};
      w.bytes(lengths, 4);
      w.bytes(raw.data() + at, n);
      at += n;
    } while (at < raw.size());
  }

 private:
  static constexpr std::size_t kStoredMost = 65535;

  // The code lengths of both codes, run-length coded, and the code that sends them.
  struct Header {
    struct Token {
      std::uint8_t symbol, extra, extra_bits;
    };
    std::array<Token, kLitLenSymbols + kDistSymbols> tokens;
    std::size_t count = 0;
    std::size_t litlen_count, dist_count, codelen_count;
    Code<kCodeLenSymbols> codelen;
    std::uint64_t bits = 0;

    Header(const Code<kLitLenSymbols>& litlen, const Code<kDistSymbols>& dist) {
      litlen_count = kLitLenSymbols;
      while (litlen_count > 257 && litlen.len[litlen_count - 1] == 0) --litlen_count;
      dist_count = kDistSymbols;
      while (dist_count > 1 && dist.len[dist_count - 1] == 0) --dist_count;
      std::array<std::uint8_t, kLitLenSymbols + kDistSymbols> lengths;
      std::copy_n(litlen.len.begin(), litlen_count, lengths.begin());
      std::copy_n(dist.len.begin(), dist_count, lengths.begin() + static_cast<std::ptrdiff_t>(litlen_count));
      tokenize(std::span(lengths.data(), litlen_count + dist_count));

      std::array<std::uint32_t, kCodeLenSymbols> freq{};
      for (std::size_t i = 0; i < count; ++i) ++freq[tokens[i].symbol];
      codelen.build(freq, kMaxCodeLenBits);
      codelen_count = kCodeLenSymbols;
      while (codelen_count > 4 && codelen.len[kCodeLenOrder[codelen_count - 1]] == 0) --codelen_count;
      bits = 5 + 5 + 4 + 3 * codelen_count + codelen.cost(freq);
      for (std::size_t i = 0; i < count; ++i) bits += tokens[i].extra_bits;
    }

    void tokenize(std::span<const std::uint8_t> lengths) {
      const auto add = [&](unsigned symbol, unsigned extra, unsigned extra_bits) {
        tokens[count++] = {static_cast<std::uint8_t>(symbol), static_cast<std::uint8_t>(extra),
                           static_cast<std::uint8_t>(extra_bits)};
      };
      for (std::size_t i = 0; i < lengths.size();) {
        const std::uint8_t v = lengths[i];
        std::size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == v) ++run;
        i += run;
        if (v == 0) {
          for (std::size_t r; run >= 11; run -= r) {
            r = std::min<std::size_t>(run, 138);
            add(18, static_cast<unsigned>(r - 11), 7);
          }
          if (run >= 3) {
            add(17, static_cast<unsigned>(run - 3), 3);
            run = 0;
          }
        } else {
          add(v, 0, 0);
          --run;
          for (std::size_t r; run >= 3; run -= r) {
            r = std::min<std::size_t>(run, 6);
            add(16, static_cast<unsigned>(r - 3), 2);
          }
        }
        for (; run > 0; --run) add(v, 0, 0);
      }
    }

    void write(BitWriter& w) const {
      w.put(static_cast<std::uint32_t>(litlen_count - 257), 5);
      w.put(static_cast<std::uint32_t>(dist_count - 1), 5);
      w.put(static_cast<std::uint32_t>(codelen_count - 4), 4);
      for (std::size_t i = 0; i < codelen_count; ++i) w.put(codelen.len[kCodeLenOrder[i]], 3);
      for (std::size_t i = 0; i < count; ++i) {
        const Token& t = tokens[i];
        w.put(codelen.bits[t.symbol], codelen.len[t.symbol]);
        if (t.extra_bits != 0) w.put(t.extra, t.extra_bits);
      }
    }
  };

  void put_symbol(std::uint32_t s, BitWriter& w) const {
    if (s < kMatch) {
      w.put(litlen_code_.bits[s], litlen_code_.len[s]);
      return;
    }
    const std::size_t length = (s >> 1) & 0x1FF;
    const std::size_t c = kLengthCode[length];
    w.put(litlen_code_.bits[257 + c], litlen_code_.len[257 + c]);
    if (kLengthExtra[c] != 0) w.put(static_cast<std::uint32_t>(length - kLengthBase[c]), kLengthExtra[c]);
    const Distance& d = distances_[s & 1];
    w.put(dist_code_.bits[d.code], dist_code_.len[d.code]);
    if (d.extra_bits != 0) w.put(d.extra, d.extra_bits);
  }

  std::array<Distance, 2> distances_;  // one pixel back, one row up
  std::array<std::uint32_t, kLitLenSymbols> litlen_freq_{};
  std::array<std::uint32_t, kDistSymbols> dist_freq_{};
  Code<kLitLenSymbols> litlen_code_;
  Code<kDistSymbols> dist_code_;
};

}  // namespace

std::size_t RowDeflater::compress(std::span<const unsigned char> data, std::size_t row_bytes, std::size_t pixel_bytes,
                                  unsigned char* out) {
  BitWriter w(out);
  w.put(0x78, 8);  // deflate with a 32 kB window
  w.put(0x01, 8);  // the fastest level; the header's check makes 0x7801 a multiple of 31
  symbols_.resize(kBlockSymbols);
  Block block(Distance::of(pixel_bytes), Distance::of(row_bytes));

  const unsigned char* const p = data.data();
  const std::size_t n = data.size();
  std::size_t block_start = 0, held = 0;
  if (n == 0) Block::write_stored(data, true, w);
  for (std::size_t i = 0; i < n;) {
    const std::size_t most = std::min(kMaxMatch, n - i);
    // The first kMinMatch bytes decide whether a candidate is worth measuring: in the image's busy parts
    // most bytes go out as literals after that one test each.
    std::size_t length = 0;
    bool take_up = false;
    if (most >= kMinMatch) {
      const std::uint32_t here = load32(p + i);
      if (i >= pixel_bytes && load32(p + i - pixel_bytes) == here) {
        length = common_length(p + i, p + i - pixel_bytes, most);
      }
      // A flat stretch matched one pixel back as far as a match goes needs no second look; the nearer
      // distance costs fewer extra bits, so it wins a tie.
      if (length < most && i >= row_bytes && load32(p + i - row_bytes) == here) {
        const std::size_t up = common_length(p + i, p + i - row_bytes, most);
        if (up > length) {
          length = up;
          take_up = true;
        }
      }
    }
    if (length >= kMinMatch) {
      symbols_[held++] = kMatch | static_cast<std::uint32_t>(length) << 1 | static_cast<std::uint32_t>(take_up);
      block.match(length, take_up);
      i += length;
    } else {
      symbols_[held++] = p[i];
      block.literal(p[i]);
      ++i;
    }
    if (held == kBlockSymbols || i == n) {
      block.write(std::span(symbols_.data(), held), data.subspan(block_start, i - block_start), i == n, w);
      block_start = i;
      held = 0;
    }
  }
  w.align();
  const std::uint32_t adler = libdeflate_adler32(1, p, n);
  const unsigned char check[4] = {static_cast<unsigned char>(adler >> 24), static_cast<unsigned char>(adler >> 16),
                                  static_cast<unsigned char>(adler >> 8), static_cast<unsigned char>(adler)};
  w.bytes(check, 4);
  return static_cast<std::size_t>(w.at() - out);
}

}  // namespace qc::raster
