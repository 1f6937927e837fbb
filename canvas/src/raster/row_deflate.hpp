// A zlib stream for image rows, built for speed: each byte is matched only against the bytes one pixel back
// and one row up, where a chart's flat areas, straight lines and glyph stems repeat, greedily, and the
// symbols go out in dynamic Huffman blocks (stored blocks where those would be larger).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qc::raster {

class RowDeflater {
 public:
  // Whether a row of `row_bytes` lies within deflate's window, so that a row can be matched against the one
  // above it.
  static constexpr bool reaches(std::size_t row_bytes) { return row_bytes <= kWindow; }
  // The most bytes the stream of `size` input bytes can take.
  static constexpr std::size_t bound(std::size_t size) {
    return size + 6 * (size / kBlockSymbols + size / kStoredMost + 2) + 8;
  }

  // Writes the zlib stream of `data` (rows of `row_bytes`, each reachable, of pixels of `pixel_bytes`) into
  // `out`, which holds at least bound(data.size()) bytes; returns the bytes written.
  std::size_t compress(std::span<const unsigned char> data, std::size_t row_bytes, std::size_t pixel_bytes,
                       unsigned char* out);

  // The symbols a block holds at most; its input is then ended at the next symbol.
  static constexpr std::size_t kBlockSymbols = std::size_t{1} << 16;

 private:
  static constexpr std::size_t kWindow = 32768;
  static constexpr std::size_t kStoredMost = 65535;

  std::vector<std::uint32_t> symbols_;  // one block's literals and matches, kept from stream to stream
};

}  // namespace qc::raster
