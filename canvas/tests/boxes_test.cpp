// The derived bars of the box styles, against boxes worked out by hand: reversals, several boxes from one bar,
// percent kagi, NaN closes and volumes, equal closes, the volume split, the ATR box and the box count.
#include "model/series/boxes.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/indicators.hpp"
#include "studies/columns.hpp"
#include "studies/study.hpp"

using namespace qc;
using model::BoxKind;
using model::BoxSettings;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Bars at times 100·i from closes (open = high = low = close) and volumes (10 each unless given).
model::BarColumns from_closes(const std::vector<double>& closes, const std::vector<double>& volumes = {}) {
  model::BarColumns bars;
  for (std::size_t i = 0; i < closes.size(); ++i) {
    const double c = closes[i];
    bars.push_back({static_cast<std::int64_t>(100 * i), c, c, c, c, volumes.empty() ? 10.0 : volumes[i]});
  }
  return bars;
}

struct Box {
  double open, close;
  std::size_t last;
};

struct Case {
  const char* name;
  BoxSettings settings;
  std::vector<double> closes;
  std::vector<Box> boxes;
};

void expect_boxes(const Case& c) {
  const model::BarColumns bars = from_closes(c.closes);
  const model::Boxes got = model::make_boxes(bars, c.settings);
  ASSERT_EQ(got.bars.size(), c.boxes.size()) << c.name;
  ASSERT_EQ(got.last_bar.size(), c.boxes.size()) << c.name;
  EXPECT_EQ(model::count_boxes(bars, c.settings), c.boxes.size()) << c.name;
  for (std::size_t j = 0; j < c.boxes.size(); ++j) {
    const model::Bar b = got.bars[j];
    const Box& want = c.boxes[j];
    const std::string at = std::string(c.name) + " box " + std::to_string(j);
    EXPECT_DOUBLE_EQ(b.open, want.open) << at;
    EXPECT_DOUBLE_EQ(b.close, want.close) << at;
    EXPECT_DOUBLE_EQ(b.high, std::max(want.open, want.close)) << at;
    EXPECT_DOUBLE_EQ(b.low, std::min(want.open, want.close)) << at;
    EXPECT_EQ(got.last_bar[j], want.last) << at;
    EXPECT_EQ(b.timestamp, static_cast<std::int64_t>(100 * want.last)) << at;
  }
}

BoxSettings renko(double box) { return {BoxKind::renko, box, 0, false}; }
BoxSettings pnf(double box, std::uint32_t reversal) { return {BoxKind::point_and_figure, box, reversal, false}; }
BoxSettings line_break(std::uint32_t lines) { return {BoxKind::line_break, 0, lines, false}; }
BoxSettings kagi(double reversal, bool percent = false) { return {BoxKind::kagi, reversal, 0, percent}; }

TEST(Boxes, Renko) {
  const std::vector<Case> cases = {
      {"up one box at a time", renko(1), {10, 11, 11.5, 12}, {{10, 11, 1}, {11, 12, 3}}},
      {"several boxes from one bar", renko(1), {10, 13.2}, {{10, 11, 1}, {11, 12, 1}, {12, 13, 1}}},
      {"down from the base", renko(2), {10, 7.9, 6}, {{10, 8, 1}, {8, 6, 2}}},
      // After up boxes to 12 the last box is [11, 12]: a close at 10 is one box below its bottom, a
      // reversal; a close at 10.5 is not.
      {"reversal needs two boxes", renko(1), {10, 12, 10.5, 10},
       {{10, 11, 1}, {11, 12, 1}, {11, 10, 3}}},
      {"NaN closes give nothing", renko(1), {kNaN, 10, kNaN, 11, kNaN}, {{10, 11, 3}}},
      {"equal closes give nothing", renko(1), {10, 10, 10, 10}, {}},
      {"a move short of a box", renko(5), {10, 14.99, 5.01}, {}},
      // Grid prices are base + k·box each: 0.1 added ten times is not 1.
      {"grid by products", renko(0.1), {0, 1}, {{0, 0.1, 1}, {0.1, 0.2, 1}, {0.2, 0.30000000000000004, 1},
                                                  {0.30000000000000004, 0.4, 1}, {0.4, 0.5, 1}, {0.5, 0.6000000000000001, 1},
                                                  {0.6000000000000001, 0.7000000000000001, 1}, {0.7000000000000001, 0.8, 1},
                                                  {0.8, 0.9, 1}, {0.9, 1, 1}}},
  };
  for (const Case& c : cases) expect_boxes(c);
}

TEST(Boxes, PointAndFigure) {
  const std::vector<Case> cases = {
      // g0 = 10; 12.5 starts X from 11 to 12; 14 extends it to 14; 11 reverses (14 − 3 = 11) to O 13 .. 11.
      {"X then O", pnf(1, 3), {10.4, 12.5, 14, 11.7, 11}, {{11, 14, 2}, {13, 11, 4}}},
      {"short of a reversal", pnf(1, 3), {10.4, 12.5, 14, 11.2}, {{11, 14, 2}}},
      // A column's last bar is the last that added a grid price: 13.5 adds none after 13.
      {"last bar adds a price", pnf(1, 3), {10, 13, 13.5, 12}, {{11, 13, 1}}},
      {"O first", pnf(2, 1), {10, 7.5, 5}, {{8, 6, 2}}},
      {"one-box reversal", pnf(1, 1), {10, 12, 11, 13}, {{11, 12, 1}, {11, 11, 2}, {12, 13, 3}}},
      {"negative prices", pnf(1, 2), {-10.5, -12, -9}, {{-12, -12, 1}, {-11, -9, 2}}},
      {"NaN and equal closes", pnf(1, 3), {kNaN, 10, 10, kNaN, 10.9}, {}},
  };
  for (const Case& c : cases) expect_boxes(c);
}

TEST(Boxes, LineBreak) {
  const std::vector<Case> cases = {
      {"first line to the first other close", line_break(3), {5, 5, 6}, {{5, 6, 2}}},
      {"up lines from the previous high", line_break(3), {5, 6, 6.5, 7}, {{5, 6, 1}, {6, 6.5, 2}, {6.5, 7, 3}}},
      // Three up lines span 5 .. 8: a close at 5.5 is inside them, 4 is below all three.
      {"reversal below the last three", line_break(3), {5, 6, 7, 8, 5.5, 4},
       {{5, 6, 1}, {6, 7, 2}, {7, 8, 3}, {7, 4, 5}}},
      // With one line, 7.5 is below the last line's low (7) only once the line is 7 .. 8.
      {"one line breaks sooner", line_break(1), {5, 6, 7, 8, 7.5, 6.9},
       {{5, 6, 1}, {6, 7, 2}, {7, 8, 3}, {7, 6.9, 5}}},
      // After the down line 7 .. 4 the last three span 4 .. 8: 7.5 is inside; 9 tops them from the line's high 7.
      {"up after down from its high", line_break(3), {5, 6, 7, 8, 4, 7.5, 9},
       {{5, 6, 1}, {6, 7, 2}, {7, 8, 3}, {7, 4, 4}, {7, 9, 6}}},
      {"NaN closes", line_break(2), {kNaN, 5, kNaN, 4}, {{5, 4, 3}}},
  };
  for (const Case& c : cases) expect_boxes(c);
}

TEST(Boxes, Kagi) {
  const std::vector<Case> cases = {
      // Runs up to 12, turned by 10 (2 back), down to 9, turned by 11; each run's last bar is the one
      // before the next run's first.
      {"amount", kagi(2), {10, 10, 11, 12, 11, 10, 9, 11}, {{10, 12, 4}, {12, 9, 6}, {9, 11, 7}}},
      {"short of a turn extends the run's bars", kagi(2), {10, 12, 10.5, 11}, {{10, 12, 3}}},
      {"first run goes down", kagi(1), {10, 10, 9, 8}, {{10, 8, 3}}},
      // 10% of the end: 20 needs 18; 18 .. 18.1 needs 19.91 from 18.1.
      {"percent", kagi(10, true), {10, 20, 18.5, 18, 18.1, 19.91}, {{10, 20, 2}, {20, 18, 4}, {18, 19.91, 5}}},
      {"NaN closes", kagi(1), {kNaN, 10, kNaN, 12, kNaN}, {{10, 12, 3}}},
      {"all equal", kagi(1), {3, 3, 3}, {}},
  };
  for (const Case& c : cases) expect_boxes(c);
}

// A bar completing k boxes gives each 1/k of the volume since the previous completing bar; NaN counts 0;
// bars after the last box's last bar belong to no box.
TEST(Boxes, VolumeSplit) {
  struct VolumeCase {
    const char* name;
    BoxSettings settings;
    std::vector<double> closes, volumes, want;
  };
  const std::vector<VolumeCase> cases = {
      {"renko several from one bar", renko(1), {10, 10.5, 13, 14, 14.5}, {1, 2, 9, 5, 7}, {4, 4, 4, 5}},
      {"NaN close and NaN volume count", renko(1), {10, kNaN, 11}, {1, 2, kNaN}, {3}},
      {"kagi runs", kagi(2), {10, 12, 10, 9, 11}, {1, 2, 4, 8, 16}, {3, 12, 16}},
  };
  for (const VolumeCase& c : cases) {
    const model::Boxes got = model::make_boxes(from_closes(c.closes, c.volumes), c.settings);
    ASSERT_EQ(got.bars.size(), c.want.size()) << c.name;
    for (std::size_t j = 0; j < c.want.size(); ++j) EXPECT_DOUBLE_EQ(got.bars[j].volume, c.want[j]) << c.name << " " << j;
  }
}

// The count agrees with the boxes built, goes past the limit exactly, and is taken without building anything
// for a box far too small.
TEST(Boxes, Count) {
  const model::BarColumns bars = from_closes({100, 300, 50});
  EXPECT_EQ(model::count_boxes(bars, renko(0.001)), 200000u + 249999u);
  // A grid finer than the doubles can tell apart is refused as too many boxes, and builds nothing.
  constexpr std::size_t kTooMany = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(model::count_boxes(bars, renko(1e-300)), kTooMany);
  EXPECT_EQ(model::count_boxes(bars, pnf(1e-300, 3)), kTooMany);
  EXPECT_EQ(model::make_boxes(bars, pnf(1e-300, 3)).bars.size(), 0u);
  // Point and figure counts columns, however many grid prices each holds.
  EXPECT_EQ(model::count_boxes(bars, pnf(0.001, 3)), 2u);
  EXPECT_EQ(model::count_boxes(bars, renko(1e300)), 0u);
  EXPECT_EQ(model::count_boxes(bars, pnf(1e300, 1)), 0u);

  struct Refused {
    const char* name;
    BoxSettings settings;
  };
  for (const Refused& r : {Refused{"zero box", renko(0)}, Refused{"negative", pnf(-1, 3)},
                           Refused{"NaN", kagi(kNaN)}, Refused{"infinite", renko(INFINITY)},
                           Refused{"no reversal", pnf(1, 0)}, Refused{"no lines", line_break(0)},
                           Refused{"100 percent", kagi(100, true)}}) {
    EXPECT_EQ(model::count_boxes(bars, r.settings), 0u) << r.name;
    EXPECT_EQ(model::make_boxes(bars, r.settings).bars.size(), 0u) << r.name;
  }
}

// A box (kagi: a reversal) is below the resolution when the largest finite |close| is more than 2^52 of it;
// at the bound it is taken, and flat closes give no box however fine the box.
TEST(Boxes, Resolution) {
  const double bound = 101.0 * 0x1p-52;
  const double finer = std::nextafter(bound, 0.0);
  struct Bound {
    const char* name;
    std::vector<double> closes;
    BoxSettings settings;
    bool below;
  };
  const std::vector<Bound> cases = {
      {"renko far below", {100, 100, 101, 99}, renko(1e-300), true},
      {"renko at the bound", {100, 100, 101, 99}, renko(bound), false},
      {"renko just below", {100, 100, 101, 99}, renko(finer), true},
      {"negative closes count by size", {-100, -101, kNaN}, pnf(finer, 3), true},
      {"NaN closes are not prices", {kNaN, 1, kNaN}, pnf(0x1p-52, 1), false},
      {"kagi reversal", {100, 101}, kagi(finer), true},
      {"kagi percent at the bound", {100, 101}, kagi(100 * 0x1p-52, true), false},
      {"kagi percent below", {100, 101}, kagi(std::nextafter(100 * 0x1p-52, 0.0), true), true},
      {"line break has no box", {100, 101}, line_break(1), false},
      {"unusable settings are not measured", {100, 101}, renko(0), false},
  };
  for (const Bound& c : cases) {
    EXPECT_EQ(model::below_resolution(from_closes(c.closes), c.settings), c.below) << c.name;
  }
  for (const BoxSettings& s : {renko(bound), pnf(bound, 1), kagi(bound), kagi(100 * 0x1p-52, true), line_break(1)}) {
    const model::BarColumns flat = from_closes({101, 101, 101});
    EXPECT_EQ(model::count_boxes(flat, s), 0u);
    EXPECT_EQ(model::make_boxes(flat, s).bars.size(), 0u);
  }
}

// The ATR box is the ATR study's last value rounded to 4 significant digits.
TEST(Boxes, AtrBox) {
  model::BarColumns bars;
  for (int i = 0; i < 40; ++i) {
    const double c = 1000 + 37.3 * std::sin(i * 0.7) + i;
    bars.push_back({i * 60, c - 1.1, c + 3.7 + (i % 5), c - 4.9, c, 1});
  }
  model::Indicator ind;
  ind.vectors.resize(1);
  ind.vectors[0].values.assign(bars.size(), kNaN);
  studies::StudyOutput out(ind);
  studies::StudyArgs args;
  args.whole[0] = 14;
  studies::Columns columns{bars.view()};
  ASSERT_TRUE(studies::atr(columns, args, out));
  const double study = ind.vectors[0].values.back();
  const double scale = std::pow(10.0, 3 - std::floor(std::log10(study)));
  const std::optional<double> box = model::atr_box(bars);
  ASSERT_TRUE(box);
  EXPECT_DOUBLE_EQ(*box, std::round(study * scale) / scale);
  EXPECT_NE(*box, study);

  struct NoBox {
    const char* name;
    std::vector<double> closes;
  };
  for (const NoBox& c : {NoBox{"14 bars", std::vector<double>(14, 5.0)}, NoBox{"flat", std::vector<double>(20, 5.0)},
                         NoBox{"NaN last", [] {
                                 std::vector<double> v(20, 5.0);
                                 for (std::size_t i = 0; i < v.size(); ++i) v[i] += static_cast<double>(i);
                                 v.back() = kNaN;
                                 return v;
                               }()}}) {
    EXPECT_FALSE(model::atr_box(from_closes(c.closes))) << c.name;
  }
  // 15 bars rising by 1.23456 each: every true range, and so the ATR, is that step.
  std::vector<double> steps(15);
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i] = 1.23456 * static_cast<double>(i);
  EXPECT_DOUBLE_EQ(model::atr_box(from_closes(steps)).value_or(0), 1.235);
}

}  // namespace
