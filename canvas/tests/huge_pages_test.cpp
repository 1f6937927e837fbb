// Columns in 2 MiB pages: large blocks start on a 2 MiB boundary, small ones come from the ordinary heap,
// a vector growing across the threshold keeps its values, and a thread reuses the large blocks it gave back.
#include "util/huge_pages.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace qc::util {
namespace {

using Column = std::vector<double, HugePageAllocator<double>>;

TEST(HugePageAllocator, LargeBlocksStartOnA2MiBBoundary) {
  const struct {
    std::size_t count;
    bool aligned;
  } cases[] = {
      {1, false},
      {kHugePagesFrom / sizeof(double) - 1, false},
      {kHugePagesFrom / sizeof(double), true},
      {1'000'000, true},
      {kHugePage / sizeof(double) * 3 + 1, true},  // a part of a page past three whole ones
  };
  for (const auto& c : cases) {
    Column column(c.count, 1.5);
    const auto at = reinterpret_cast<std::uintptr_t>(column.data());
    if (c.aligned) {
      EXPECT_EQ(at % kHugePage, 0u) << c.count;
    }
    EXPECT_EQ(column.front(), 1.5) << c.count;
    EXPECT_EQ(column.back(), 1.5) << c.count;
  }
}

TEST(HugePageAllocator, GrowingAcrossTheThresholdKeepsTheValues) {
  Column column;
  const std::size_t n = kHugePagesFrom / sizeof(double) * 2 + 3;
  for (std::size_t i = 0; i < n; ++i) column.push_back(static_cast<double>(i));
  for (std::size_t i = 0; i < n; i += 4097) ASSERT_EQ(column[i], static_cast<double>(i));
  EXPECT_EQ(column.back(), static_cast<double>(n - 1));
  Column copy = column;
  column.clear();
  column.shrink_to_fit();
  EXPECT_EQ(copy[n / 2], static_cast<double>(n / 2));
  EXPECT_TRUE(HugePageAllocator<double>{} == HugePageAllocator<int>{});
}

// A column made after another of the same length was freed gets its block back, already in its pages,
// even with a block of another size asked for in between.
TEST(HugePageAllocator, ReusesTheBlocksItGaveBack) {
  const std::size_t n = 1'000'000;
  const double* first = nullptr;
  {
    Column column(n, 2.0);
    first = column.data();
  }
  const Column other(n + kHugePage / sizeof(double), 4.0);
  const Column again(n, 3.0);
  EXPECT_EQ(again.data(), first);
  EXPECT_NE(other.data(), first);
  EXPECT_EQ(again[n / 2], 3.0);
  EXPECT_EQ(other[n / 2], 4.0);
}

TEST(HugeBlockCache, KeepsFewBlocksOfExactSizes) {
  const auto block = [](std::size_t bytes) { return ::operator new(bytes, std::align_val_t{kHugePage}); };
  const std::size_t small = 2 * kHugePage, large = HugeBlockCache::kKeptBlockMost + kHugePage;
  HugeBlockCache cache;
  std::vector<void*> kept;
  for (std::size_t i = 0; i < HugeBlockCache::kKeptBlocks; ++i) {
    kept.push_back(block(small));
    ASSERT_TRUE(cache.keep(kept.back(), small)) << i;
  }
  void* extra = block(small);
  EXPECT_FALSE(cache.keep(extra, small));  // full
  ::operator delete(extra, std::align_val_t{kHugePage});
  EXPECT_EQ(cache.take(small + kHugePage), nullptr);  // no block of that size
  void* taken = cache.take(small);
  EXPECT_NE(std::find(kept.begin(), kept.end(), taken), kept.end());
  void* big = block(large);
  EXPECT_FALSE(cache.keep(big, large));  // too large to keep, though there is room
  ::operator delete(big, std::align_val_t{kHugePage});
  EXPECT_TRUE(cache.keep(taken, small));

  // Fewer blocks than the count allows when they are large: the bytes kept are bounded too.
  HugeBlockCache by_bytes;
  const std::size_t most = HugeBlockCache::kKeptBlockMost;
  for (std::size_t i = 0; i < HugeBlockCache::kKeptBytes / most; ++i) ASSERT_TRUE(by_bytes.keep(block(most), most)) << i;
  void* over = block(most);
  EXPECT_FALSE(by_bytes.keep(over, most));
  ::operator delete(over, std::align_val_t{kHugePage});
  void* back = by_bytes.take(most);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(by_bytes.keep(back, most));  // taking one makes room for one
}

}  // namespace
}  // namespace qc::util
