// The PNG writer: chunk layout and CRCs, and the rows inflated back to straight RGBA, checked with zlib.
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

struct Parsed {
  std::vector<std::string> kinds;
  std::string ihdr;
  std::string idat;  // every IDAT's data, joined
};

// The chunks of a PNG, each CRC checked.
Parsed parse(const std::string& png) {
  Parsed p;
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = be32(png, at);
    const std::string kind = png.substr(at + 4, 4), data = png.substr(at + 8, length);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
    EXPECT_EQ(be32(png, at + 8 + length), crc) << kind;
    p.kinds.push_back(kind);
    if (kind == "IDAT") p.idat += data;
    if (kind == "IHDR") p.ihdr = data;
    at += 12 + length;
  }
  return p;
}

// The rows inflated: the filter byte, then the pixels, for each row.
std::vector<unsigned char> inflate_rows(const std::string& idat, std::size_t size) {
  std::vector<unsigned char> raw(size + 1);  // one spare byte: a longer stream fails the size check
  uLongf got = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &got, reinterpret_cast<const Bytef*>(idat.data()), idat.size()), Z_OK);
  EXPECT_EQ(got, size);
  raw.resize(size);
  return raw;
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

  const Parsed p = parse(png);
  EXPECT_EQ(p.kinds, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_EQ(p.ihdr, std::string("\0\0\0\x03\0\0\0\x02\x08\x06\0\0\0", 13));
  const std::vector<unsigned char> raw = inflate_rows(p.idat, 2 * (1 + 12));
  for (int y = 0; y < 2; ++y) {
    const unsigned char* row = raw.data() + y * 13;
    ASSERT_EQ(row[0], 0);  // unfiltered
    EXPECT_EQ(std::memcmp(row + 1, expected[y], 12), 0) << "row " << y;
  }
}

// Opaque images of several shapes: what is inflated is what was given, row by row, whatever the stride.
TEST(PngWriter, EveryRowComesBackWhole) {
  const struct {
    std::uint32_t width, height, stride_words;
    std::uint32_t (*pixel)(std::uint32_t x, std::uint32_t y);
  } cases[] = {
      {1, 1, 1, [](std::uint32_t, std::uint32_t) { return 0xFF000000u; }},
      {5, 3, 8, [](std::uint32_t x, std::uint32_t y) { return 0xFF000000u | (x * 40) << 16 | (y * 80) << 8; }},
      // A chart's flat areas with lines through them: long runs, repeated at a distance.
      {1200, 90, 1200,
       [](std::uint32_t x, std::uint32_t y) { return (x + 3 * y) % 97 == 0 ? 0xFF2962FFu : 0xFFFFFFFFu; }},
      // Noise, which deflate cannot shrink: the stream then holds more than the rows.
      {640, 64, 641,
       [](std::uint32_t x, std::uint32_t y) {
         std::uint32_t h = x * 2654435761u ^ y * 40503u;
         h ^= h >> 15, h *= 2246822519u, h ^= h >> 13;
         return 0xFF000000u | (h & 0xFFFFFF);
       }},
      {2, 3000, 2, [](std::uint32_t x, std::uint32_t y) { return 0xFF000000u | ((x + y) & 1) * 0xFFFFFFu; }},
      // The widest rows matched a row up, and rows too wide for that, which go to libdeflate.
      {8191, 4, 8191, [](std::uint32_t x, std::uint32_t y) { return 0xFF000000u | (x / 3 + y) % 5 * 0x331100u; }},
      {8192, 4, 8200, [](std::uint32_t x, std::uint32_t y) { return 0xFF000000u | (x / 3 + y) % 5 * 0x331100u; }},
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> words(std::size_t{c.stride_words} * c.height, 0x12345678u);
    for (std::uint32_t y = 0; y < c.height; ++y) {
      for (std::uint32_t x = 0; x < c.width; ++x) words[std::size_t{y} * c.stride_words + x] = c.pixel(x, y);
    }
    std::string png;
    ASSERT_TRUE(write_png({reinterpret_cast<const unsigned char*>(words.data()), c.width, c.height,
                           std::size_t{c.stride_words} * 4},
                          png));
    const Parsed p = parse(png);
    ASSERT_EQ(p.kinds.front(), "IHDR");
    EXPECT_EQ(p.kinds.back(), "IEND");
    EXPECT_EQ(be32(p.ihdr, 0), c.width);
    EXPECT_EQ(be32(p.ihdr, 4), c.height);
    const std::size_t row_bytes = 4 * std::size_t{c.width} + 1;
    const std::vector<unsigned char> raw = inflate_rows(p.idat, row_bytes * c.height);
    for (std::uint32_t y = 0; y < c.height; ++y) {
      const unsigned char* row = raw.data() + y * row_bytes;
      ASSERT_EQ(row[0], 0) << c.width << "x" << c.height << " row " << y;
      for (std::uint32_t x = 0; x < c.width; ++x) {
        const std::uint32_t w = c.pixel(x, y);
        const unsigned char want[4] = {static_cast<unsigned char>(w >> 16), static_cast<unsigned char>(w >> 8),
                                       static_cast<unsigned char>(w), 0xFF};
        ASSERT_EQ(std::memcmp(row + 1 + 4 * x, want, 4), 0) << c.width << "x" << c.height << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qc::raster
