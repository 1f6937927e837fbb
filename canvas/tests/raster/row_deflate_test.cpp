// The row deflater: every stream inflates back (by zlib) to its input, within the bound, and finds what a
// chart's rows repeat.
#include "raster/row_deflate.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace qc::raster {
namespace {

using Bytes = std::vector<unsigned char>;

// The stream of `raw` in a buffer of exactly the bound (so that writing past it is caught under ASan).
Bytes deflated(const Bytes& raw, std::size_t row_bytes) {
  RowDeflater deflater;
  Bytes out(RowDeflater::bound(raw.size()));
  out.resize(deflater.compress(raw, row_bytes, 4, out.data()));
  return out;
}

// The stream inflated by zlib; fails the test on any error or a length other than `size`.
Bytes inflated(const Bytes& stream, std::size_t size) {
  Bytes raw(size + 1);  // one spare byte: a longer stream fails the size check
  uLongf got = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &got, stream.data(), stream.size()), Z_OK);
  EXPECT_EQ(got, size);
  raw.resize(std::min<std::size_t>(got, size));
  return raw;
}

Bytes random_bytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (unsigned char& c : b) c = static_cast<unsigned char>(rng());
  return b;
}

// 20 bytes, each more frequent than the two before it together (1, 2, 4, 7, 12, ...), shuffled so that no
// four bytes repeat the four before them (rows of four bytes: no match at all), all in one block: an
// optimal code for them would be 20 bits long, beyond deflate's 15, so the lengths must be limited.
Bytes skewed_bytes() {
  Bytes b;
  std::uint32_t f0 = 1, f1 = 2;
  for (unsigned char k = 0; k < 20; ++k) {
    b.insert(b.end(), f0, static_cast<unsigned char>(k * 9));
    f0 = std::exchange(f1, f0 + f1 + 1);
  }
  std::mt19937 rng(3);
  std::shuffle(b.begin(), b.end(), rng);
  for (bool repeats = true; repeats;) {
    repeats = false;
    for (std::size_t i = 4; i + 4 <= b.size(); ++i) {
      if (std::equal(b.begin() + i, b.begin() + i + 4, b.begin() + i - 4)) {
        std::swap(b[i + 3], b[rng() % b.size()]);
        repeats = true;
      }
    }
  }
  return b;
}

// Rows of a chart-like image: a flat background with a slanted line and a noisy band every few rows.
Bytes chart_rows(std::size_t width, std::size_t height) {
  const std::size_t row_bytes = 4 * width + 1;
  Bytes b(row_bytes * height, 0xFF);
  std::mt19937 rng(7);
  for (std::size_t y = 0; y < height; ++y) {
    unsigned char* row = b.data() + y * row_bytes;
    row[0] = 0;
    const std::size_t x = (3 * y) % width;
    row[1 + 4 * x] = 0x29, row[2 + 4 * x] = 0x62;
    if (y % 7 == 0) {
      for (std::size_t i = 0; i < width / 3; ++i) row[1 + i] = static_cast<unsigned char>(rng() & 0x0F);
    }
  }
  return b;
}

TEST(RowDeflater, EveryStreamInflatesToItsInput) {
  const Bytes one_row = random_bytes(4801, 11);
  Bytes same_rows;
  for (int i = 0; i < 40; ++i) same_rows.insert(same_rows.end(), one_row.begin(), one_row.end());
  Bytes literal_blocks;  // more symbols than a block holds, nearly all literals
  for (std::size_t i = 0; i < 3 * RowDeflater::kBlockSymbols + 123; ++i) {
    literal_blocks.push_back(static_cast<unsigned char>((i * 7 + i / 5) % 11 + (i % 3 == 0 ? 40 : 0)));
  }
  const struct {
    const char* name;
    Bytes raw;
    std::size_t row_bytes;
  } cases[] = {
      {"empty", {}, 5},
      {"one byte", {42}, 5},
      {"one pixel row", {0, 1, 2, 3, 4}, 5},
      {"flat, several megabytes", Bytes(5'000'000, 7), 4801},
      {"noise", random_bytes(300'000, 1), 1201},
      {"rows repeated a row up", same_rows, 4801},
      {"rows as wide as the window", random_bytes(3 * 32768, 2), 32768},
      {"several blocks", literal_blocks, 97},
      {"lengths limited", skewed_bytes(), 4},
      {"chart-like rows", chart_rows(600, 300), 2401},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes stream = deflated(c.raw, c.row_bytes);
    ASSERT_GE(stream.size(), 6u);
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ((stream[0] << 8 | stream[1]) % 31, 0);
    EXPECT_EQ(inflated(stream, c.raw.size()), c.raw);
  }
}

// What a chart's rows repeat is found, and what cannot shrink costs little more than its size.
TEST(RowDeflater, FindsRepeatsAndStoresWhatCannotShrink) {
  const Bytes one_row = random_bytes(4801, 5);
  Bytes rows_up;
  for (int i = 0; i < 100; ++i) rows_up.insert(rows_up.end(), one_row.begin(), one_row.end());
  Bytes pixels_back;
  for (int i = 0; i < 100'000; ++i) pixels_back.insert(pixels_back.end(), {0x13, 0x17, 0x22, 0xFF});
  const struct {
    const char* name;
    Bytes raw;
    std::size_t row_bytes;
    std::size_t at_most;
  } cases[] = {
      // One row's bytes as literals, then each later row as matches a row up.
      {"rows repeated a row up", rows_up, 4801, 4801 + 99 * 4801 / 258 * 4 + 2000},
      // A colour repeated pixel after pixel: a match of 258 bytes takes a few bits.
      {"one colour", pixels_back, 4001, 400'000 / 258 + 200},
      // Noise goes out as stored blocks beside the zlib frame: 5 bytes each, two for each of the five
      // blocks of symbols (one byte more than a stored block holds).
      {"noise", random_bytes(300'000, 9), 1201, 300'000 + 5 * 10 + 6 + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes stream = deflated(c.raw, c.row_bytes);
    EXPECT_LE(stream.size(), c.at_most);
    EXPECT_EQ(inflated(stream, c.raw.size()), c.raw);
  }
}

TEST(RowDeflater, ReachesRowsWithinTheWindow) {
  EXPECT_TRUE(RowDeflater::reaches(4 * 8191 + 1));
  EXPECT_FALSE(RowDeflater::reaches(4 * 8192 + 1));
}

}  // namespace
}  // namespace qc::raster
