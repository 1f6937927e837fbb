// The PNG writer: chunk layout and CRCs, and the rows inflated back to straight RGBA.
#include "raster/png_writer.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

namespace qc::raster {
namespace {

std::uint32_t be32(const std::string& s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3]));
}

TEST(PngWriter, StraightRgbaRowsInOneIdat) {
  // Premultiplied words (a << 24 | r << 16 | g << 8 | b), a stride wider than the row.
  const std::uint32_t words[2][4] = {
      {0xFF102030, 0x80402000, 0x00FFFFFF, 0xDEADBEEF},  // opaque; half covered; nothing (colour ignored)
      {0xFF102030, 0x01010000, 0xFFFFFFFF, 0xDEADBEEF},
  };
  const unsigned char expected[2][12] = {
      {0x10, 0x20, 0x30, 0xFF, 0x80, 0x40, 0x00, 0x80, 0, 0, 0, 0},
      {0x10, 0x20, 0x30, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF},
  };
  std::string png;
  ASSERT_TRUE(write_png({reinterpret_cast<const unsigned char*>(words), 3, 2, sizeof words[0]}, png));

  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  std::vector<std::string> kinds;
  std::string idat, ihdr;
  for (std::size_t at = 8; at < png.size();) {
    const std::uint32_t length = be32(png, at);
    const std::string kind = png.substr(at + 4, 4), data = png.substr(at + 8, length);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
    EXPECT_EQ(be32(png, at + 8 + length), crc) << kind;
    kinds.push_back(kind);
    if (kind == "IDAT") idat = data;
    if (kind == "IHDR") ihdr = data;
    at += 12 + length;
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_EQ(ihdr, std::string("\0\0\0\x03\0\0\0\x02\x08\x06\0\0\0", 13));

  std::vector<unsigned char> raw(2 * (1 + 12));
  uLongf size = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(idat.data()), idat.size()), Z_OK);
  ASSERT_EQ(size, raw.size());
  for (int y = 0; y < 2; ++y) {
    const unsigned char* row = raw.data() + y * 13;
    ASSERT_EQ(row[0], 0);  // unfiltered
    EXPECT_EQ(std::memcmp(row + 1, expected[y], 12), 0) << "row " << y;
  }
}

}  // namespace
}  // namespace qc::raster
