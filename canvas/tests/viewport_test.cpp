// Viewport scrolling: visible-bar count from width and spacing, saturating on hostile sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "api/viewport.hpp"

namespace {

struct ScrollCase {
  double width;
  std::uint64_t bars;
  double offset;
};

TEST(Viewport, ScrollToEndKeepsAtLeastOneBarVisible) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr auto max64 = std::numeric_limits<std::uint64_t>::max();
  const ScrollCase cases[] = {
      {800, 250, 150},               // 100 bars fit
      {800, 50, 0},                  // fewer bars than fit
      {0, 10, 9},                    // nothing fits: one bar still counts
      {100, 3, 0},                   //
      {-50, 10, 9},                  // negative width saturates to 0 visible, then 1
      {std::nan(""), 10, 9},         // NaN width likewise
      {inf, max64, 0},               // visible saturates at 2^64 - 1
      {803.9, 101, 1},               // 100.4875 truncates to 100
      {8, max64, static_cast<double>(max64 - 1)},
  };
  for (const auto& c : cases) {
    auto v = qc::api::Viewport::make(c.width, 600);
    v.bar_count = c.bars;
    v.scroll_to_end();
    EXPECT_EQ(v.offset_bars, c.offset) << "width " << c.width << " bars " << c.bars;
    v.scroll_to_start();
    EXPECT_EQ(v.offset_bars, 0.0);
  }
}

TEST(Viewport, DefaultsAndSize) {
  auto v = qc::api::Viewport::make(640, 480);
  EXPECT_DOUBLE_EQ(v.bar_width(), 6.4);
  v.set_size(1.5, -2);
  EXPECT_EQ(v.width, 1.5);
  EXPECT_EQ(v.height, -2);
  EXPECT_EQ(v.bar_count, 0u);
}

}  // namespace
