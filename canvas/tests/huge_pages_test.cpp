// Columns in 2 MiB pages: large blocks start on a 2 MiB boundary, small ones come from the ordinary heap,
// and a vector growing across the threshold keeps its values.
#include "util/huge_pages.hpp"

#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
}  // namespace qc::util
