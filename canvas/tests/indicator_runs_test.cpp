// Indicators drawn as a whole: clouds filled against their partners with the crossing points worked out by
// hand, lines split by run keys, level segments per run, hidden vectors drawing nothing and counting in no
// range.
#include "api/value_range.hpp"
#include "indicator_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace qc;
using primitives::testing::SvgElement;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// x = 12.5, 37.5, 62.5, 87.5 for bars 0..3; y = 100 − 10·v.
std::vector<SvgElement> draw(const model::Indicator& ind) { return api::testing::draw_alone(ind); }

model::IndicatorVector vec(std::string_view name, model::VectorStyle style, std::vector<double> values) {
  auto v = model::IndicatorVector::make(name, std::move(style));
  v.values.assign(values.begin(), values.end());
  return v;
}

// A cloud "C" in green above / red below, with its partner "P" drawn as a blue line after it.
model::Indicator cloud(std::vector<double> cloud_values, std::vector<double> partner_values) {
  return model::Indicator::make("c", "C")
      .add_vector(vec("C", model::VectorStyle::cloud("#00ff0020", "#ff000020", "P"), std::move(cloud_values)))
      .add_vector(vec("P", model::VectorStyle::line("#0000ff", 1), std::move(partner_values)));
}

// Each element's tag and its geometry: a path's d, a polyline's points, a line's ends.
std::vector<std::string> shapes(const std::vector<SvgElement>& body) {
  std::vector<std::string> out;
  for (const auto& e : body) {
    if (e.tag == "path") out.push_back("path " + e.at("d") + " " + e.at("fill"));
    if (e.tag == "polyline") out.push_back("polyline " + e.at("points") + " " + e.at("stroke"));
    if (e.tag == "line") out.push_back("line " + e.at("x1") + "," + e.at("y1") + " " + e.at("x2") + "," + e.at("y2"));
  }
  return out;
}

const std::string kGreen = "rgba(0,255,0,0.12549019607843137)";
const std::string kRed = "rgba(255,0,0,0.12549019607843137)";
const std::string kEdge = "rgba(255,0,0,0.5019607843137255)";

struct CloudCase {
  const char* name;
  std::vector<double> cloud;
  std::vector<double> partner;
  std::vector<std::string> want;
};

TEST(Clouds, FilledRunByRunThroughTheCrossingsThenEdged) {
  const CloudCase cases[] = {
      // δ = partner − cloud = 2, −2, 2, 6. Between bars 0 and 1, f = 2/4: x = 25, y halfway from 80 to 40;
      // between 1 and 2, f = −2/−4: x = 50 on the flat cloud at y = 40.
      {"two crossings",
       {2, 6, 6, 2},
       {4, 4, 8, 8},
       {"path M12.50 60.00 L25.00 60.00 L12.50 80.00 Z " + kGreen,
        "path M25.00 60.00 L37.50 60.00 L50.00 40.00 L37.50 40.00 Z " + kRed,
        "path M50.00 40.00 L62.50 20.00 L87.50 20.00 L87.50 80.00 L62.50 40.00 Z " + kGreen,
        "polyline 12.50,80.00 37.50,40.00 62.50,40.00 87.50,80.00 " + kEdge,
        "polyline 12.50,60.00 37.50,60.00 62.50,20.00 87.50,20.00 #0000ff"}},
      // Equal lines count as the partner at or above: one run, one colour.
      {"equal lines",
       {3, 3, 3, 3},
       {3, 3, 3, 3},
       {"path M12.50 70.00 L37.50 70.00 L62.50 70.00 L87.50 70.00 L87.50 70.00 L62.50 70.00 L37.50 70.00 "
        "L12.50 70.00 Z " + kGreen,
        "polyline 12.50,70.00 37.50,70.00 62.50,70.00 87.50,70.00 " + kEdge,
        "polyline 12.50,70.00 37.50,70.00 62.50,70.00 87.50,70.00 #0000ff"}},
      // A lone valued bar encloses nothing; the gap splits the fill, and the edge, a line, breaks there too.
      // δ = 0 then −1: the crossing sits on bar 2 itself (f = 0), ending a run of no area and starting a
      // triangle to bar 3.
      {"gaps and a touch",
       {2, kNaN, 4, 4},
       {4, 4, 4, 3},
       {"path M62.50 60.00 L62.50 60.00 L62.50 60.00 Z " + kGreen,
        "path M62.50 60.00 L87.50 70.00 L87.50 60.00 Z " + kRed,
        "polyline 62.50,60.00 87.50,60.00 " + kEdge,
        "polyline 12.50,60.00 37.50,60.00 62.50,60.00 87.50,70.00 #0000ff"}},
      // No partner values: the edge alone.
      {"partner without values", {1, 2, 3, 4}, {}, {"polyline 12.50,90.00 37.50,80.00 62.50,70.00 87.50,60.00 " + kEdge}},
  };
  for (const CloudCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(shapes(draw(cloud(c.cloud, c.partner))), c.want);
  }
}

// Far-apart finite values whose difference overflows still cross halfway and land on finite pixels.
TEST(Clouds, OverflowingGapsCrossAtFinitePoints) {
  const double big = std::numeric_limits<double>::max();
  const auto body = draw(cloud({big, -big, kNaN, kNaN}, {-big, big, kNaN, kNaN}));
  ASSERT_EQ(body.size(), 4u);  // two fills, the edge, the partner
  const auto first = primitives::testing::parse_path(body[0].at("d"));
  ASSERT_EQ(first.size(), 4u);  // partner, crossing, cloud, close
  EXPECT_DOUBLE_EQ(first[1].args[0], 25.0);  // halfway between the two bars
  for (const auto& e : body) {
    for (const auto& [name, value] : e.attrs) EXPECT_EQ(value.find("nan"), std::string::npos) << name << value;
  }
}

model::Indicator with_runs(model::VectorStyle style, std::vector<double> values, std::vector<std::uint32_t> runs,
                           bool levels) {
  auto ind = model::Indicator::make("r", "R").add_vector(vec("v", std::move(style), std::move(values)));
  ind.runs = std::move(runs);
  ind.runs_are_levels = levels;
  return ind;
}

struct RunCase {
  const char* name;
  std::vector<double> values;
  std::vector<std::uint32_t> runs;
  bool levels;
  std::vector<std::string> want;
};

TEST(Runs, LinesBreakWhereTheKeyChanges) {
  const RunCase cases[] = {
      {"a flip", {1, 2, 3, 4}, {1, 1, 2, 2}, false,
       {"polyline 12.50,90.00 37.50,80.00 #0000ff", "polyline 62.50,70.00 87.50,60.00 #0000ff"}},
      {"one-bar runs draw nothing", {1, 2, 3, 4}, {1, 2, 2, 1}, false, {"polyline 37.50,80.00 62.50,70.00 #0000ff"}},
      {"a gap ends a run", {1, kNaN, 3, 4}, {1, 1, 1, 1}, false, {"polyline 62.50,70.00 87.50,60.00 #0000ff"}},
      {"keys of another length are ignored", {1, 2, 3, 4}, {1, 2}, false,
       {"polyline 12.50,90.00 37.50,80.00 62.50,70.00 87.50,60.00 #0000ff"}},
      {"levels per period", {5, 5, 7, 7}, {0, 0, 1, 1}, true, {"line 12.50,50.00 37.50,50.00", "line 62.50,30.00 87.50,30.00"}},
      {"equal levels of two periods stay apart", {5, 5, 5, 5}, {0, 0, 1, 1}, true,
       {"line 12.50,50.00 37.50,50.00", "line 62.50,50.00 87.50,50.00"}},
      {"a one-bar period has no segment", {5, 6, 6, 7}, {0, 1, 1, 2}, true, {"line 37.50,40.00 62.50,40.00"}},
      {"a level spans its valued bars", {kNaN, 5, 5, kNaN}, {3, 3, 3, 3}, true, {"line 37.50,50.00 62.50,50.00"}},
      {"a period without values", {kNaN, kNaN, 2, 2}, {0, 0, 1, 1}, true, {"line 62.50,80.00 87.50,80.00"}},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(shapes(draw(with_runs(model::VectorStyle::line("#0000ff", 1), c.values, c.runs, c.levels))), c.want);
  }
}

TEST(Runs, LevelSegmentsKeepTheVectorsStrokeThenTheirNames) {
  const auto body = draw(with_runs(model::VectorStyle::dashed("#ef535080"), {5, 5, 7, 7}, {0, 0, 1, 1}, true));
  ASSERT_EQ(body.size(), 3u);
  for (const auto& e : {body[0], body[1]}) {
    EXPECT_EQ(e.at("stroke"), "rgba(239,83,80,0.5019607843137255)");
    EXPECT_EQ(e.at("stroke-dasharray"), "4.00,4.00");
  }
  // The name stands 2 px right of the last segment's left end and 5 px above its level, opaque.
  const SvgElement& name = body[2];
  EXPECT_EQ(name.tag, "text");
  EXPECT_EQ(name.content, "v");
  EXPECT_EQ(name.number("x"), 62.5 + 2);
  EXPECT_EQ(name.number("y"), 30 - 5);
  EXPECT_EQ(name.at("fill"), "#ef5350");
  EXPECT_EQ(name.at("font-size"), "10.0");
  EXPECT_EQ(name.at("text-anchor"), "start");
  EXPECT_EQ(name.at("dominant-baseline"), "alphabetic");
}

// Each level vector's name goes, after every vector's segments and in vector order, to the last segment that
// vector draws; a vector with no segment, and one without a line, is not named.
TEST(Runs, LevelsNamedAtTheirLastSegment) {
  struct Case {
    const char* name;
    std::vector<double> first, second;
    std::vector<std::uint32_t> runs;
    std::vector<std::string> want;  // elements in order: "line y" or "name@x,y"
  };
  const Case cases[] = {
      {"two levels, two periods", {5, 5, 7, 7}, {2, 2, 3, 3}, {0, 0, 1, 1},
       {"line 50", "line 30", "line 80", "line 70", "A@64.5,25", "B@64.5,65"}},
      {"a last period of one bar names the one before", {5, 5, 6, 7}, {2, 2, 3, 3}, {0, 0, 1, 2},
       {"line 50", "line 80", "A@14.5,45", "B@14.5,75"}},
      {"a vector without a segment has no name", {5, kNaN, 6, kNaN}, {2, 2, 3, 3}, {0, 0, 1, 1},
       {"line 80", "line 70", "B@64.5,65"}},
      {"the last segment may end before the data", {1, 1, 1, kNaN}, {2, 2, 2, 2}, {0, 0, 0, 0},
       {"line 90", "line 80", "A@14.5,85", "B@14.5,75"}},
  };
  for (const Case& c : cases) {
    auto ind = model::Indicator::make("pp", "PP")
                   .add_vector(vec("A", model::VectorStyle::line("#0000ff", 1), c.first))
                   .add_vector(vec("Hidden", model::VectorStyle::hidden(), {1, 1, 1, 1}))
                   .add_vector(vec("B", model::VectorStyle::dashed("#00ff00"), c.second));
    ind.runs = c.runs;
    ind.runs_are_levels = true;
    std::vector<std::string> got;
    for (const SvgElement& e : draw(ind)) {
      std::ostringstream item;
      if (e.tag == "line") item << "line " << e.number("y1");
      if (e.tag == "text") item << e.content << '@' << e.number("x") << ',' << e.number("y");
      got.push_back(item.str());
    }
    EXPECT_EQ(got, c.want) << c.name;
  }
}

TEST(HiddenVectors, DrawNothingAndCountInNoRange) {
  // A trend line with its direction (±1) beside it, as a hidden vector.
  auto trend = model::Indicator::make("st", "ST")
                   .add_vector(vec("Line", model::VectorStyle::line("#0000ff", 2), {100, 101, 102, 101}))
                   .add_vector(vec("Direction", model::VectorStyle::hidden(), {1, 1, -1, -1}));
  trend.runs = {1, 1, 2, 2};
  EXPECT_EQ(shapes(draw(trend)).size(), 2u);  // the line's two runs only

  auto alone = model::Indicator::make("o", "O").add_vector(
      vec("Line", model::VectorStyle::line("#0000ff", 2), {100, 101, 102, 101}));
  const model::BarColumns bars{{0, 100, 103, 99, 101, 1}, {1, 101, 104, 100, 102, 1}};
  const model::Indicator* with_hidden[] = {&trend};
  const model::Indicator* without[] = {&alone};
  EXPECT_EQ(api::price_pane_range(bars, with_hidden), api::price_pane_range(bars, without));

  // In a pane of its own the hidden values are left out of the automatic and symmetric ranges too.
  for (const model::RangeMode mode : {model::RangeMode{model::range::Auto{}}, model::RangeMode{model::range::Symmetric{}}}) {
    trend.placement = alone.placement = model::placement::SubPane{0.2};
    trend.range = alone.range = mode;
    EXPECT_EQ(api::indicator_range(bars, trend), api::indicator_range(bars, alone));
  }
}

}  // namespace
