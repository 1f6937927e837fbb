// A small PNG writer: cairo's premultiplied ARGB32 pixels as one 8-bit RGBA image (colour type 6, not
// interlaced), compressed by libdeflate for speed rather than size.
#pragma once

#include <cstdint>
#include <string>

namespace qc::raster {

// The pixels of an image surface: `stride` bytes a row, each pixel one native-endian 32-bit word.
struct Pixels {
  const unsigned char* data;
  std::uint32_t width;
  std::uint32_t height;
  std::size_t stride;
};

// The PNG file into `out`; false when memory runs out.
bool write_png(const Pixels& pixels, std::string& out);

}  // namespace qc::raster
