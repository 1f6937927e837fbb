// The render pass end to end: document frame, pass order, indicator styles, volume band, sub-panes,
// primitives and the finite-coordinate guarantee. Coordinates are worked out by hand from the layout rules.
#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "api/document_size.hpp"
#include "api/indicator_painter.hpp"
#include "render/engine/svg_format.hpp"
#include "indicator_support.hpp"
#include "chart_support.hpp"
#include "primitives/support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <new>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

using namespace qc;
using primitives::testing::SvgElement;
using qc::testing::body_of;
using qc::testing::elements_of;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 170 x 140: plot 100 x 110; spacing 25 for four bars; lows 1 and highs 21 give the range [0, 22].
api::Chart small_chart() {
  auto c = api::Chart::make(170, 140);
  c.bars = {{0, 6, 21, 1, 16, 100}, {86400, 16, 21, 1, 6, 50}, {172800, kNaN, 21, 1, 10, 100}, {259200, 6, 21, 1, 16, 0}};
  return c;
}

model::IndicatorVector vector_of(model::VectorStyle style, std::vector<double> values) {
  auto v = model::IndicatorVector::make("v", std::move(style));
  v.values.assign(values.begin(), values.end());
  return v;
}

model::Indicator sub_pane(double ratio, model::RangeMode range) {
  auto ind = model::Indicator::make("s", "S");
  ind.placement = model::placement::SubPane{ratio};
  ind.range = range;
  return ind;
}

std::vector<SvgElement> with_tag(const std::vector<SvgElement>& all, std::string_view tag) {
  std::vector<SvgElement> out;
  std::copy_if(all.begin(), all.end(), std::back_inserter(out), [&](const SvgElement& e) { return e.tag == tag; });
  return out;
}

// The elements of one tag whose attribute has the given text.
std::vector<SvgElement> where(const std::vector<SvgElement>& all, std::string_view tag, std::string_view attr,
                              std::string_view value) {
  std::vector<SvgElement> out;
  std::copy_if(all.begin(), all.end(), std::back_inserter(out),
               [&](const SvgElement& e) { return e.tag == tag && e.has(attr) && e.attrs.find(attr)->second == value; });
  return out;
}

model::Indicator volume_band(model::IndicatorVector v) {
  auto band = model::Indicator::make("volume", "Volume").add_vector(std::move(v));
  band.placement = model::placement::VolumeBand{0.2};
  return band;
}

// A vector drawn alone, as the one vector of an indicator.
std::vector<SvgElement> draw_alone(model::IndicatorVector v, const api::palette::UpDown& chart = {}) {
  return api::testing::draw_alone(model::Indicator::make("i", "I").add_vector(std::move(v)), chart);
}

}  // namespace

TEST(ChartRenderer, NoDataDocumentEscapesTheRawBackground) {
  auto c = api::Chart::make(800, 600).background("a&b<\"c\x01>");
  EXPECT_EQ(api::ChartRenderer(c.config, c.bars).render_svg(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"600\">\n"
            "<rect width=\"100%\" height=\"100%\" fill=\"a&amp;b&lt;&quot;c&gt;\"/>\n"
            "<text x=\"50%\" y=\"50%\" text-anchor=\"middle\" fill=\"#787b86\">No data</text>\n"
            "</svg>");
}

// Storage lent by a caller, as the Python binding lends its str; it refuses more than `most` bytes, as a
// process short of address space would.
struct LentStorage final : util::TextStorage {
  std::vector<char> bytes;
  int grows = 0;
  std::size_t most = SIZE_MAX;
  char* grow(std::size_t used, std::size_t capacity) override {
    EXPECT_LE(used, bytes.size());
    if (capacity > most) return nullptr;
    bytes.resize(capacity);
    ++grows;
    return bytes.data();
  }
};

// A document written into lent storage is the document, whether the storage had to grow or not, and it
// says whether every byte is ASCII.
TEST(ChartRenderer, RendersIntoLentStorage) {
  auto signal = [](std::string label) {
    return api::SignalConfig{api::SignalType::Buy, 1, 10, 1, std::nullopt, std::move(label)};
  };
  // Long enough that the fill and line through every close outweigh everything else in the document.
  auto area_of = [](std::size_t n) {
    auto c = api::Chart::make(1000, 500);
    c.config.series.series_type = api::SeriesType::Area;
    for (std::size_t i = 0; i < n; ++i) {
      const double p = 100 + 0.37 * static_cast<double>(i % 97);
      c.bars.push_back({86400 * static_cast<std::int64_t>(i), p, p + 1, p - 1, p + 0.5, 10});
    }
    return c;
  };
  struct Case {
    const char* name;
    api::Chart chart;
    bool grows;
  };
  auto many_signals = [&] {
    // Every label byte escaped to its longest entity, in a colour of the longest text.
    auto c = small_chart();
    for (int i = 0; i < 2000; ++i) {
      auto s = signal(std::string(300, '"'));
      s.color = "rgba(255,255,255,0.0118)";
      c = std::move(c).signal(s);
    }
    return c;
  };
  auto tool_words = [](std::string words) {
    auto d = api::PrimitiveConfig::make("text", {{1, 11}});
    d.text = std::move(words);
    return small_chart().primitive(d);
  };
  const Case cases[] = {
      {"plain", small_chart(), false},
      {"area of many bars", area_of(20'000), false},
      {"non-ASCII label", small_chart().signal(signal("caf\xc3\xa9")), false},
      {"long label that escapes", small_chart().signal(signal(std::string(300'000, '"'))), false},
      {"many signals whose labels escape", many_signals(), false},
      {"tool words beyond the estimate", tool_words(std::string(300'000, '<')), true},
      {"no bars, non-ASCII background", api::Chart::make(80, 60).background("\xe2\x82\xac"), false},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.name);
    const std::string expected = api::ChartRenderer(cs.chart.config, cs.chart.bars).render_svg();
    LentStorage storage;
    const api::DocumentInfo info = api::ChartRenderer(cs.chart.config, cs.chart.bars).render_into(storage);
    ASSERT_EQ(info.size, expected.size());
    EXPECT_EQ(std::string_view(storage.bytes.data(), info.size), expected);
    EXPECT_EQ(info.ascii, std::all_of(expected.begin(), expected.end(), [](char ch) { return ch >= 0; }));
    EXPECT_EQ(storage.grows > 1, cs.grows);
  }
}

// Bars grouped by device column are reckoned by their columns: the storage is reserved once, a few times
// the document at most, where every bar reckoned would reserve fifty times more and over.
TEST(ChartRenderer, GroupedDocumentReservedByItsColumns) {
  auto c = api::Chart::make(1000, 500);
  std::vector<double> closes, volumes;
  for (std::size_t i = 0; i < 200'000; ++i) {
    const double p = 100 + 0.37 * static_cast<double>(i % 97);
    c.bars.push_back({60 * static_cast<std::int64_t>(i), p, p + 1, p - 1, p + 0.5, 10});
    closes.push_back(p);
    volumes.push_back(static_cast<double>(i % 13));
  }
  c.config.indicators.push_back(volume_band(vector_of(model::VectorStyle::histogram(), volumes)));
  c.config.indicators.push_back(
      model::Indicator::make("l", "L").add_vector(vector_of(model::VectorStyle::line("#2962ff", 1), closes)));
  LentStorage grouped;
  const api::DocumentInfo info = api::ChartRenderer(c.config, c.bars).render_into(grouped);
  EXPECT_EQ(grouped.grows, 1);
  EXPECT_LT(grouped.bytes.size(), 8 * info.size);
  c.config.detail = api::Detail::full;
  LentStorage full;
  api::ChartRenderer(c.config, c.bars).render_into(full);
  EXPECT_EQ(full.grows, 1);
  EXPECT_GT(full.bytes.size(), 50 * grouped.bytes.size());
}

// An estimate the storage refuses does not fail the render: the document starts from 64 KiB and grows, and
// only a growth refused fails it.
TEST(ChartRenderer, RefusedEstimateStartsSmallAndGrows) {
  // 300 tools on a pane that does not exist, reckoned at 4 KiB each and drawn as nothing, and a label that
  // takes the document past 64 KiB (20,000 bytes written as 80,000).
  auto c = small_chart().signal(api::SignalConfig{api::SignalType::Buy, 1, 10, 1, std::nullopt, std::string(20'000, '<')});
  for (int i = 0; i < 300; ++i) {
    auto d = api::PrimitiveConfig::make("trend_line", {{0, 5}, {1, 10}});
    d.pane = api::PrimitivePane::sub(3);
    c = std::move(c).primitive(d);
  }
  const std::string expected = api::ChartRenderer(c.config, c.bars).render_svg();
  ASSERT_GT(expected.size(), 80'000u);
  LentStorage storage;
  storage.most = 1 << 20;
  const api::DocumentInfo info = api::ChartRenderer(c.config, c.bars).render_into(storage);
  EXPECT_EQ(std::string_view(storage.bytes.data(), info.size), expected);
  EXPECT_EQ(storage.grows, 2);  // 65,536 bytes, then 131,072

  LentStorage scarce;
  scarce.most = 100'000;
  EXPECT_THROW(api::ChartRenderer(c.config, c.bars).render_into(scarce), std::bad_alloc);
}

// A signal is reckoned at its marker, 45 + 6 x 10 bytes for a triangle's path of ten-character numbers in a
// colour of up to 38 ("rgba(255,255,255,0.011764705882352941)"), so 143; its label's element, 122 + 2 x 10
// + 38 = 180, its backing, 45 + 4 x 10 + 38 = 123; and six bytes per label byte. A drawing tool stays at
// 4 KiB.
TEST(ChartRenderer, DocumentEstimateBySignalElements) {
  auto c = small_chart();
  const std::size_t bare = api::estimated_document_size(c.config, 4);
  for (int i = 0; i < 1000; ++i) {
    c = std::move(c).signal(api::SignalConfig{api::SignalType::Sell, 1, kNaN, 1, std::nullopt,
                                              i % 2 ? std::optional<std::string>("abcd") : std::nullopt});
  }
  EXPECT_EQ(api::estimated_document_size(c.config, 4), bare + 1000 * 143 + 500 * (180 + 123 + 6 * 4));
  c = std::move(c).primitive(api::PrimitiveConfig::make("trend_line", {{0, 5}, {1, 10}}));
  EXPECT_EQ(api::estimated_document_size(c.config, 4), bare + 1000 * 143 + 500 * (180 + 123 + 6 * 4) + 4096);
}

TEST(ChartRenderer, FrameCarriesTheCanvasSize) {
  auto c = small_chart().background("not a colour");
  const std::string text = api::ChartRenderer(c.config, c.bars).render_svg();
  EXPECT_TRUE(text.starts_with(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
      "     xmlns:xlink=\"http://www.w3.org/1999/xlink\"\n"
      "     width=\"170\" height=\"140\" viewBox=\"0 0 170 140\">\n<defs>\n"
      "<clipPath id=\"clip0\"><rect x=\"0.00\" y=\"0.00\" width=\"100.00\" height=\"110.00\"/></clipPath>\n"
      "\n</defs>\n"
      "<rect x=\"0\" y=\"0\" width=\"170\" height=\"140\" fill=\"#131722\"/>\n"));
  EXPECT_TRUE(text.ends_with("</text>\n</svg>\n"));
}

TEST(ChartRenderer, PassesRunInOrder) {
  auto c = small_chart();
  c.config.theme.show_grid = true;
  // The overlay's cloud is filled behind the candles, but edged after the overlay's line, in vector order.
  auto overlay = model::Indicator::make("o", "O")
                     .add_vector(vector_of(model::VectorStyle::line("#0000ff", 1), {5, 6}))
                     .add_vector(vector_of(model::VectorStyle::cloud("#00ffff20", "#ff00ff20", "v"), {4, 5}));
  auto band = volume_band(model::IndicatorVector::make("Volume", model::VectorStyle::histogram()));
  auto sub = sub_pane(0.2, model::range::Fixed{0, 100}).add_vector(vector_of(model::VectorStyle::line("#00ff00", 1), {1, 2}));
  c = std::move(c).indicator(overlay).indicator(band).indicator(sub);
  c = std::move(c).primitive(api::PrimitiveConfig::make("trend_line", {{0, 5}, {1, 10}}));
  c = std::move(c).signal(api::SignalConfig{api::SignalType::Custom, 1, 10, 1, std::nullopt, "L"});
  c.config.title = "T";
  c.config.show_legend = true;
  const auto body = body_of(c);
  ASSERT_FALSE(body.empty());

  // The first element of each pass, recognised by what only that pass draws.
  const auto first = [&](auto pred) {
    return static_cast<std::size_t>(std::find_if(body.begin(), body.end(), pred) - body.begin());
  };
  const std::vector<std::size_t> order{
      first([](const SvgElement& e) { return e.tag == "rect" && e.attrs.at("width") == "170"; }),
      first([](const SvgElement& e) { return e.tag == "line" && e.attrs.at("stroke") == "#1e222d"; }),
      first([](const SvgElement& e) { return e.tag == "rect" && e.attrs.at("width") == "34.00"; }),
      first([](const SvgElement& e) {
        return e.tag == "path" && e.has("fill") && e.attrs.at("fill").starts_with("rgba(0,255,255,");
      }),
      first([](const SvgElement& e) { return e.tag == "rect" && e.attrs.at("width") == "20.00"; }),
      first([](const SvgElement& e) { return e.tag == "polyline" && e.attrs.at("stroke") == "#0000ff"; }),
      first([](const SvgElement& e) {
        return e.tag == "polyline" && e.attrs.at("stroke").starts_with("rgba(255,0,255,");
      }),
      first([](const SvgElement& e) { return e.has("stroke") && e.attrs.at("stroke") == "#2196f3"; }),
      first([](const SvgElement& e) { return e.tag == "circle" && e.attrs.at("fill") == "#9c27b0"; }),
      first([](const SvgElement& e) { return e.tag == "rect" && e.attrs.at("x") == "100.00"; }),
      first([](const SvgElement& e) { return e.tag == "polyline" && e.attrs.at("stroke") == "#00ff00"; }),
      first([](const SvgElement& e) { return e.tag == "rect" && e.attrs.at("y") == "110.00"; }),
      first([](const SvgElement& e) { return e.tag == "text" && e.content == "T"; }),
      first([](const SvgElement& e) { return e.tag == "text" && e.content == "O"; }),
  };
  // The legend ends the document: the overlay's line, then the sub-pane's.
  EXPECT_EQ(body.back().content, "2.00");
  EXPECT_EQ(body[body.size() - 2].content, "S");
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_LT(order[i], body.size()) << "pass " << i << " drew nothing";
    if (i > 0) {
      EXPECT_LT(order[i - 1], order[i]) << "pass " << i;
    }
  }
}

// The elements of `on` that `off` lacks, with their positions in `on`: what a pass drawing only extra
// elements (between others) added.
std::vector<std::pair<std::size_t, SvgElement>> added(const std::vector<SvgElement>& on,
                                                      const std::vector<SvgElement>& off) {
  const auto same = [](const SvgElement& a, const SvgElement& b) {
    return a.tag == b.tag && a.attrs == b.attrs && a.content == b.content;
  };
  std::vector<std::pair<std::size_t, SvgElement>> out;
  for (std::size_t i = 0, j = 0; i < on.size(); ++i) {
    if (j < off.size() && same(on[i], off[j])) {
      ++j;
    } else {
      out.emplace_back(i, on[i]);
    }
  }
  return out;
}

// Grid lines lie where the axes put their tick marks: across each pane at its scale's ticks, down each pane
// at the bars the time axis labels; the main pane's right after the background, a sub-pane's right after
// its separator (under its reference levels). 800 x 600 with a quarter-high sub-pane: plot 730 x 570,
// main pane 427.5 high, the sub-pane from 431.5, 138.5 high.
TEST(ChartRenderer, GridLiesOnTheAxesTicks) {
  auto c = api::Chart::make(800, 600);
  for (std::int64_t i = 0; i < 90; ++i) {
    const double p = 100 + 10 * std::sin(static_cast<double>(i) / 9);
    c.bars.push_back({1704067200 + 86400 * i, p, p + 2, p - 2, p + 1, 1000});
  }
  c = std::move(c).indicator(
      sub_pane(0.25, model::range::Fixed{0, 100}).add_level(model::IndicatorLevel::make("#ff0000", 50)));
  c.config.theme.grid_color = "#123456";
  const auto off = body_of(c);
  c.config.theme.show_grid = true;
  const auto on = body_of(c);
  const auto grid = added(on, off);
  ASSERT_EQ(on.size(), off.size() + grid.size());

  // Tick marks: 4 px to the right of x = 730 on the scales, 4 px below y = 570 on the time axis.
  std::vector<std::string> main_ticks, sub_ticks, time_ticks;
  for (const SvgElement& e : with_tag(off, "line")) {
    if (e.at("x1") == "730.00" && e.at("x2") == "734.00") (e.number("y1") < 430 ? main_ticks : sub_ticks).push_back(e.at("y1"));
    if (e.at("y1") == "570.00" && e.at("y2") == "574.00") time_ticks.push_back(e.at("x1"));
  }
  ASSERT_GE(main_ticks.size(), 4u);
  ASSERT_GE(sub_ticks.size(), 4u);
  ASSERT_GE(time_ticks.size(), 3u);

  const std::size_t separator = static_cast<std::size_t>(
      std::find_if(on.begin(), on.end(), [](const SvgElement& e) { return e.tag == "line" && e.at("y1") == "431.50"; }) -
      on.begin());
  struct Pane {
    const char* name;
    std::size_t first;  // where its grid starts in the document
    const std::vector<std::string>& ticks;
    const char *top, *foot;
  };
  const Pane panes[] = {{"main", 1, main_ticks, "0.00", "427.50"}, {"sub", separator + 1, sub_ticks, "431.50", "570.00"}};
  std::size_t k = 0;
  for (const Pane& pane : panes) {
    SCOPED_TRACE(pane.name);
    ASSERT_LE(k + pane.ticks.size() + time_ticks.size(), grid.size());
    for (std::size_t m = 0; m < pane.ticks.size() + time_ticks.size(); ++m, ++k) {
      const auto& [at, e] = grid[k];
      EXPECT_EQ(at, pane.first + m);
      EXPECT_EQ(e.tag, "line");
      EXPECT_EQ(e.at("stroke"), "#123456");
      EXPECT_EQ(e.at("stroke-width"), "1.00");
      if (m < pane.ticks.size()) {
        EXPECT_EQ(e.at("x1"), "0.00");
        EXPECT_EQ(e.at("x2"), "730.00");
        EXPECT_EQ(e.at("y1"), pane.ticks[m]);
        EXPECT_EQ(e.at("y2"), pane.ticks[m]);
      } else {
        EXPECT_EQ(e.at("x1"), time_ticks[m - pane.ticks.size()]);
        EXPECT_EQ(e.at("x2"), e.at("x1"));
        EXPECT_EQ(e.at("y1"), pane.top);
        EXPECT_EQ(e.at("y2"), pane.foot);
      }
    }
  }
  EXPECT_EQ(k, grid.size());
  EXPECT_EQ(on.at(separator + 1 + sub_ticks.size() + time_ticks.size()).at("stroke"), "#ff0000");  // the level
}

// Lines, solid or dashed, break at values that are not finite, end at the last bar, and a lone value draws
// nothing; a line through gaps (zigzag's pivots) is one polyline however far apart its points lie.
TEST(IndicatorStyles, LinesBreakAtGapsAndNeedTwoPoints) {
  const auto solid = draw_alone(vector_of(model::VectorStyle::line("#ff0000", 2), {1, 2, kNaN, 3}));
  ASSERT_EQ(solid.size(), 1u);
  EXPECT_EQ(solid[0].tag, "polyline");
  EXPECT_EQ(solid[0].at("points"), "12.50,90.00 37.50,80.00");
  EXPECT_EQ(solid[0].at("stroke-width"), "2.00");
  EXPECT_FALSE(solid[0].has("stroke-dasharray"));

  // The fifth value has no bar (the bars were set again with fewer): the line ends at the last bar.
  const auto dashed = draw_alone(vector_of(model::VectorStyle::dashed("nonsense"), {1, INFINITY, 3, 4, 5}));
  ASSERT_EQ(dashed.size(), 1u);
  EXPECT_EQ(dashed[0].at("points"), "62.50,70.00 87.50,60.00");
  EXPECT_EQ(dashed[0].at("stroke-dasharray"), "4.00,4.00");
  EXPECT_EQ(dashed[0].at("stroke"), "#ffffff");

  const auto through = draw_alone(vector_of(model::VectorStyle::line_through_gaps("#ff0000", 2), {1, kNaN, kNaN, 3}));
  ASSERT_EQ(through.size(), 1u);
  EXPECT_EQ(through[0].at("points"), "12.50,90.00 87.50,70.00");

  EXPECT_TRUE(draw_alone(vector_of(model::VectorStyle::line("#ff0000", 2), {kNaN, 3})).empty());
  EXPECT_TRUE(draw_alone(vector_of(model::VectorStyle::cloud("#fff", "#000", "none"), {kNaN, 2, kNaN})).empty());
  EXPECT_TRUE(draw_alone(vector_of(model::VectorStyle::hidden(), {1, 2, 3})).empty());
}

// Steps are one polyline per run of finite values: across to the next bar, then to its value; nothing
// across a gap or for a lone value.
TEST(IndicatorStyles, StepLineDrawsOnePolylinePerRun) {
  const auto steps = draw_alone(vector_of({model::style::StepLine{"#00ff00", 1.5}}, {2, 6, kNaN, 4}));
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].tag, "polyline");
  EXPECT_EQ(steps[0].at("points"), "12.50,80.00 37.50,80.00 37.50,40.00");
}

TEST(IndicatorStyles, HistogramColoursByFlagThenBySign) {
  auto v = vector_of(model::VectorStyle::histogram_colored("#00ff00", "#ff0000"), {2, -2, 2, -2});
  v.up_flags = {false, true};
  const auto bars = draw_alone(v);
  ASSERT_EQ(bars.size(), 4u);
  // Bar width: canvas width / n x 0.8 = 34; tops follow the sign, heights reach the baseline at y = 100.
  // The colour of bar 0 first, each colour's bars in bar order.
  const struct {
    const char* x;
    const char* y;
    const char* fill;
  } want[] = {{"-4.50", "80.00", "#ff0000"}, {"70.50", "100.00", "#ff0000"}, {"20.50", "100.00", "#00ff00"},
              {"45.50", "80.00", "#00ff00"}};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(bars[k].at("x"), want[k].x) << k;
    EXPECT_EQ(bars[k].at("y"), want[k].y) << k;
    EXPECT_EQ(bars[k].at("width"), "34.00");
    EXPECT_EQ(bars[k].at("height"), "20.00");
    EXPECT_EQ(bars[k].at("fill"), want[k].fill) << k;
  }
}

// Two histograms sharing their slots take one half each: w / 2 wide, centred w / 4 left and right of the
// slot (w = 34 at x = 12.5: centres 4 and 21).
TEST(IndicatorStyles, HistogramsShareTheirSlotsSideBySide) {
  using model::style::SlotPart;
  const struct {
    SlotPart part;
    const char* x;
    const char* width;
  } cases[] = {{SlotPart::whole, "-4.50", "34.00"}, {SlotPart::left_half, "-4.50", "17.00"},
               {SlotPart::right_half, "12.50", "17.00"}};
  for (const auto& c : cases) {
    const auto bars = draw_alone(vector_of(model::VectorStyle::histogram_colored("#00ff00", "#ff0000", c.part), {2}));
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].at("x"), c.x) << c.x;
    EXPECT_EQ(bars[0].at("width"), c.width) << c.x;
    EXPECT_EQ(bars[0].at("y"), "80.00");
  }
}

// A histogram without colours of its own takes the chart's up and down colours as drawn, in the shades its
// style names; one with colours keeps them whatever the chart's are. Values 2 then -2: an up bar, a down bar.
TEST(IndicatorStyles, HistogramsWithoutColoursTakeTheChartsShades) {
  using model::style::ChartShade;
  using model::style::SlotPart;
  const api::palette::UpDown chart{{0, 0, 255, 255}, {255, 165, 0, 255}};
  const struct {
    const char* name;
    model::VectorStyle style;
    std::string up, down;
  } cases[] = {
      {"up and down", model::VectorStyle::histogram(), "#0000ff", "#ffa500"},
      {"bulls: up, faded up", model::VectorStyle::histogram(SlotPart::left_half, {true, 0xff}, {true, 0x80}),
       "#0000ff", "rgba(0,0,255,0.5019607843137255)"},
      {"bears: faded down, down", model::VectorStyle::histogram(SlotPart::right_half, {false, 0x80}, {false, 0xff}),
       "rgba(255,165,0,0.5019607843137255)", "#ffa500"},
      {"colours of its own", model::VectorStyle::histogram_colored("#26a69a", "#ef5350"), "#26a69a", "#ef5350"},
      {"one colour given keeps the other", model::VectorStyle::histogram_colored("#00ff00", ""), "#00ff00", "#ef5350"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bars = draw_alone(vector_of(c.style, {2, -2}), chart);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].at("fill"), c.up);
    EXPECT_EQ(bars[1].at("fill"), c.down);
    const auto& style = std::get<model::style::Histogram>(c.style.v);
    const auto legend = [&](std::size_t k) {
      std::string css;
      render::append_css_color(css, *api::value_color(vector_of(c.style, {2, -2}), k, chart));
      return css;
    };
    EXPECT_EQ(legend(0), c.up) << style.up_color;
    EXPECT_EQ(legend(1), c.down) << style.down_color;
  }
}

TEST(IndicatorStyles, DotsFilledAndOutlined) {
  const auto filled = draw_alone(vector_of(model::VectorStyle::dots("#FF9800", 2, true), {5, kNaN}));
  ASSERT_EQ(filled.size(), 1u);
  EXPECT_EQ(filled[0].at("fill"), "#ff9800");
  EXPECT_EQ(filled[0].at("cy"), "50.00");
  EXPECT_EQ(filled[0].at("r"), "2.00");
  const auto outlined = draw_alone(vector_of(model::VectorStyle::dots("#FF9800", 3, false), {5}));
  ASSERT_EQ(outlined.size(), 1u);
  EXPECT_EQ(outlined[0].at("fill"), "none");
  EXPECT_EQ(outlined[0].at("stroke-width"), "1.00");
}

TEST(VolumeBand, BarVolumesScaledToTheBand) {
  auto c = small_chart().indicator(volume_band(model::IndicatorVector::make("Volume", model::VectorStyle::histogram())));
  const auto volume = where(body_of(c), "rect", "width", "34.00");
  // Band height 0.2 x 110 = 22 up from y = 110; the largest volume fills it. The bar with a NaN open is
  // coloured down; the bar with no volume draws nothing.
  ASSERT_EQ(volume.size(), 3u);
  EXPECT_EQ(volume[0].at("x"), "-4.50");
  EXPECT_EQ(volume[0].at("y"), "88.00");
  EXPECT_EQ(volume[0].at("height"), "22.00");
  EXPECT_EQ(volume[0].at("fill"), "rgba(38,166,154,0.5019607843137255)");  // #26a69a at alpha (255 + 1) / 2
  EXPECT_EQ(volume[1].at("y"), "99.00");
  EXPECT_EQ(volume[1].at("height"), "11.00");
  EXPECT_EQ(volume[1].at("fill"), "rgba(239,83,80,0.5019607843137255)");
  EXPECT_EQ(volume[2].at("x"), "45.50");
  EXPECT_EQ(volume[2].at("fill"), "rgba(239,83,80,0.5019607843137255)");

  // Without colours of its own the band follows the chart's, still at half their alpha.
  c.config.theme.up_color = "#0000ff";
  c.config.theme.down_color = "#ffa50080";
  const auto recoloured = where(body_of(c), "rect", "width", "34.00");
  ASSERT_EQ(recoloured.size(), 3u);
  EXPECT_EQ(recoloured[0].at("fill"), "rgba(0,0,255,0.5019607843137255)");
  EXPECT_EQ(recoloured[1].at("fill"), "rgba(255,165,0,0.25098039215686274)");

  std::ranges::fill(c.bars.volume(), 0.0);
  EXPECT_TRUE(where(body_of(c), "rect", "width", "34.00").empty());
}

// The band is 22 px high above y = 110; the rows give the rectangle of the value 20 (the second).
TEST(VolumeBand, OwnValuesStandOnTheFootInProportion) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    std::vector<double> values;
    model::RangeMode range;
    const char* y;
    const char* height;
  };
  const Case cases[] = {
      {{10, 20, kNaN, 30}, model::range::Auto{}, "96.67", "13.33"},   // [0, 33]: 20 is 2/3 of 30's height
      {{10, 20, kInf, 30}, model::range::Auto{}, "96.67", "13.33"},   // infinities are left out
      {{0, 20, -kInf, 30}, model::range::Auto{}, "96.67", "13.33"},
      {{-10, 20, kNaN, 30}, model::range::Auto{}, "94.42", "9.17"},   // a negative value: [-14, 34], baseline 103.58
      {{10, 20, kNaN, 30}, model::range::Fixed{0, 40}, "99.00", "11.00"},
      {{1e308, 20, kNaN, 1e308}, model::range::Auto{}, "110.00", "1.00"},  // [0, 1e308]: 1.1e308 overflows
  };
  for (const Case& c : cases) {
    auto band = volume_band(vector_of(model::VectorStyle::histogram_colored("#0000ff", "#0000ff"), c.values));
    band.range = c.range;
    const auto blue = where(body_of(small_chart().indicator(band)), "rect", "fill", "rgba(0,0,255,0.5019607843137255)");
    ASSERT_GE(blue.size(), 2u) << c.y;
    EXPECT_EQ(blue[1].at("y"), c.y);
    EXPECT_EQ(blue[1].at("height"), c.height);
  }
}

// A band's bars take (a + 1) / 2 of their colour's alpha, 128 -> 64 here; its lines keep their colours,
// and the same histogram in a sub-pane keeps its alpha.
TEST(VolumeBand, BarsAtHalfAlphaLinesAsGiven) {
  const auto bars = model::VectorStyle::histogram_colored("#0000ff80", "#0000ff80");
  auto band = volume_band(vector_of(bars, {10, 20, kNaN, 30}));
  band.vectors.push_back(vector_of(model::VectorStyle::line("#00ff0080", 1), {10, 20, kNaN, 30}));
  const auto sub = sub_pane(0.2, model::range::Auto{}).add_vector(vector_of(bars, {10, 20, kNaN, 30}));
  const auto body = body_of(small_chart().indicator(band).indicator(sub));
  EXPECT_EQ(where(body, "rect", "fill", "rgba(0,0,255,0.25098039215686274)").size(), 3u);
  EXPECT_EQ(where(body, "rect", "fill", "rgba(0,0,255,0.5019607843137255)").size(), 3u);
  EXPECT_EQ(where(body, "polyline", "stroke", "rgba(0,255,0,0.5019607843137255)").size(), 1u);
}

TEST(SubPanes, StackBelowTheMainPane) {
  auto c = api::Chart::make(800, 600);
  c.bars.assign(10, {0, 1, 2, 0, 1, 0});
  auto first = sub_pane(0.25, model::range::Fixed{0, 100}).add_level(model::IndicatorLevel::make("#ff0000", 50).dotted());
  auto second = sub_pane(0.125, model::range::Fixed{0, 100});
  c = std::move(c).indicator(first).indicator(second);
  auto on_second = api::PrimitiveConfig::make("trend_line", {{0, 10}, {5, 90}});
  on_second.pane = api::PrimitivePane::sub(1);
  auto on_third = on_second;
  on_third.pane = api::PrimitivePane::sub(2);
  auto labelled = api::PrimitiveConfig::make("text", {{2, 25}});
  labelled.text = "on the second pane";
  labelled.pane = api::PrimitivePane::sub(1);
  auto unplaced = labelled;
  unplaced.pane = api::PrimitivePane::sub(2);
  c = std::move(c).primitive(on_second).primitive(on_third).primitive(labelled).primitive(unplaced);
  const auto body = body_of(c);
  const auto rects = with_tag(body, "rect");

  // Plot height 570, main height 356.25; panes at 360.25 (138.5 high) and 502.75 (67.25 high).
  const auto pane_box = [&](const char* y, const char* h) {
    return std::count_if(rects.begin(), rects.end(), [&](const SvgElement& e) {
      return e.at("x") == "0.00" && e.at("y") == y && e.at("width") == "730.00" && e.at("height") == h;
    });
  };
  EXPECT_EQ(pane_box("360.25", "138.50"), 1);
  EXPECT_EQ(pane_box("502.75", "67.25"), 1);
  const auto scale_box = [&](const char* y) {
    return std::count_if(rects.begin(), rects.end(), [&](const SvgElement& e) {
      return e.at("x") == "730.00" && e.at("y") == y && e.at("width") == "70.00";
    });
  };
  EXPECT_EQ(scale_box("360.25"), 1);
  EXPECT_EQ(scale_box("502.75"), 1);

  const auto lines = with_tag(body, "line");
  const auto level = std::find_if(lines.begin(), lines.end(), [](const SvgElement& e) { return e.at("stroke") == "#ff0000"; });
  ASSERT_NE(level, lines.end());
  EXPECT_EQ(level->at("y1"), "429.50");
  EXPECT_EQ(level->at("x2"), "730.00");
  EXPECT_EQ(level->at("stroke-dasharray"), "2.00,2.00");
  const auto separators = std::count_if(lines.begin(), lines.end(), [](const SvgElement& e) {
    return e.at("stroke") == "#1e222d" && e.at("x1") == "0.00" && e.at("x2") == "730.00" &&
           (e.at("y1") == "360.25" || e.at("y1") == "502.75");
  });
  EXPECT_EQ(separators, 2);

  // The primitive of sub-pane 1 draws inside the second pane, its words too; there is no sub-pane 2.
  const auto tool = std::count_if(body.begin(), body.end(), [](const SvgElement& e) {
    return e.has("stroke") && e.attrs.at("stroke") == "#2196f3";
  });
  EXPECT_EQ(tool, 1);
  const auto words = where(body, "text", "fill", "#2196f3");
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].content, "on the second pane");
  EXPECT_EQ(words[0].at("x"), "182.50");  // bar 2 of ten 73 px apart
  EXPECT_EQ(words[0].at("y"), "553.19");  // 25 of [0, 100] in the pane from 502.75, 67.25 high
}

// A description's text is drawn by the renderer at the primitive's label anchor, whatever the type.
TEST(Primitives, DescriptionWordsAtTheLabelAnchor) {
  // small_chart: bar b at x = 25b + 12.5, price p at y = 110 - 5p.
  const auto described = [](const char* type, std::vector<api::Point> points, std::optional<std::string> text,
                            const char* color = "#2196F3") {
    auto d = api::PrimitiveConfig::make(type, std::move(points));
    d.text = std::move(text);
    d.color = color;
    return d;
  };
  struct Case {
    const char* name;
    api::PrimitiveConfig description;
    const char* x;  // null: no words
    const char* y;
    const char* align;
    const char* fill;
  };
  const Case cases[] = {
      {"text", described("text", {{1, 11}}, "Hi"), "37.50", "55.00", "middle", "#2196f3"},
      // the box 5 bars on and a tenth of [0, 22] above the point (11 is not above the middle): price 13.2
      {"callout, from the bubble's inner left edge", described("callout", {{1, 11}}, "Hi"), "117.50", "44.00",
       "start", "#ffffff"},
      {"a tool without a text method", described("flag", {{1, 11}}, "Hi"), "27.50", "67.00", "middle", "#2196f3"},
      {"colour that does not parse", described("text", {{1, 11}}, "Hi", "nope"), "37.50", "55.00", "middle",
       "#ffffff"},
      {"empty words", described("text", {{1, 11}}, ""), nullptr, nullptr, nullptr, nullptr},
      {"collapsed note", described("note", {{1, 11}}, "Hi"), nullptr, nullptr, nullptr, nullptr},
      {"no text: the factory's words stay unwritten", described("flag", {{1, 11}}, std::nullopt), nullptr, nullptr,
       nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto words = with_tag(body_of(small_chart().primitive(c.description)), "text");
    const auto at = std::find_if(words.begin(), words.end(), [](const SvgElement& e) { return e.content == "Hi"; });
    if (c.x == nullptr) {
      EXPECT_EQ(std::count_if(words.begin(), words.end(), [](const SvgElement& e) {
                  return e.content.empty() || e.content == "Hi" || e.content == "Flag";
                }),
                0);
      continue;
    }
    ASSERT_NE(at, words.end());
    EXPECT_EQ(at->at("x"), c.x);
    EXPECT_EQ(at->at("y"), c.y);
    EXPECT_EQ(at->at("text-anchor"), c.align);
    EXPECT_EQ(at->at("dominant-baseline"), "central");
    EXPECT_EQ(at->at("fill"), c.fill);
    EXPECT_EQ(at->at("font-size"), "14.0");
    EXPECT_EQ(at->at("font-family"), "sans-serif");
    EXPECT_FALSE(at->has("transform"));
  }

  // A background box centred on the anchor, as wide as the measured words plus the margin on each side.
  const auto anchored = body_of(small_chart().primitive(described("anchored_text", {{1, 11}, {3, 2}}, "Hi")));
  const auto box = std::find_if(anchored.begin(), anchored.end(),
                                [](const SvgElement& e) { return e.tag == "rect" && e.at("x") == "25.10"; });
  ASSERT_NE(box, anchored.end());
  EXPECT_EQ(box->at("y"), "44.00");
  EXPECT_EQ(box->at("width"), "24.80");  // 2 bytes x 14 x 0.6 + 2 x 4
  EXPECT_EQ(box->at("height"), "22.00");
  EXPECT_EQ(box->at("fill"), "rgba(33,150,243,0.25098039215686274)");
  ASSERT_NE(box + 1, anchored.end());
  EXPECT_EQ((box + 1)->content, "Hi");
  EXPECT_EQ((box + 1)->at("x"), "37.50");

  // Words along a line turn with it about their anchor: the matrix leaves the anchor where it is.
  const auto line = where(body_of(small_chart().primitive(described("trend_line", {{0, 0}, {2, 10}}, "Up"))),
                          "text", "fill", "#2196f3");
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].content, "Up");
  double m[6] = {};
  ASSERT_EQ(std::sscanf(line[0].at("transform").c_str(), "matrix(%lf,%lf,%lf,%lf,%lf,%lf)", &m[0], &m[1], &m[2],
                        &m[3], &m[4], &m[5]),
            6);
  EXPECT_NEAR(m[0], std::cos(-std::numbers::pi / 4), 1e-4);
  EXPECT_NEAR(m[1], std::sin(-std::numbers::pi / 4), 1e-4);
  const double x = line[0].number("x");
  const double y = line[0].number("y");
  EXPECT_NEAR(m[0] * x + m[2] * y + m[4], x, 0.02);
  EXPECT_NEAR(m[1] * x + m[3] * y + m[5], y, 0.02);
}

// 1000 x 600 with a quarter-high sub-pane: plot 930 wide, main pane 427.5 high; the sub-pane's scale, like the
// main pane's, is painted over everything right of x = 930.
TEST(Primitives, ContextIsThePlotWideAndThePaneHigh) {
  auto c = api::Chart::make(1000, 600);
  c.bars.assign(200, {0, 3100, 3200, 3000, 3150, 0});
  c = std::move(c).indicator(sub_pane(0.25, model::range::Fixed{0, 100}));
  const auto placed = [](const char* type, std::vector<api::Point> points, const char* color, bool sub = false) {
    auto d = api::PrimitiveConfig::make(type, std::move(points));
    d.color = color;
    if (sub) d.pane = api::PrimitivePane::sub(0);
    return d;
  };
  auto note = placed("price_note", {{150, 3110.0}}, "#ff0000");
  note.text = "Resistance";
  c = std::move(c)
          .primitive(note)
          .primitive(placed("horizontal_line", {{0, 3100.0}}, "#00ff00"))
          .primitive(placed("vertical_line", {{10, 0}}, "#0000ff"))
          .primitive(placed("horizontal_line", {{0, 50.0}}, "#00ffff", true))
          .primitive(placed("vertical_line", {{10, 0}}, "#ffff00", true));
  const auto body = body_of(c);

  // "3110.00 - Resistance": 20 bytes at 14 px measure 168, so the words start at 930 - 168 - 4 and end
  // 4 px inside the plot; the box runs from 8 px before them to the plot's edge (snapped half a pixel on).
  const auto box = where(body, "rect", "fill", "#ff0000");
  ASSERT_EQ(box.size(), 1u);
  EXPECT_EQ(box[0].at("x"), "754.50");
  EXPECT_EQ(box[0].at("width"), "176.00");
  const auto words = where(body, "text", "fill", "#000000");
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].content, "3110.00 - Resistance");
  EXPECT_EQ(words[0].at("x"), "758.00");

  const auto path_of = [&, elements = elements_of(c)](const char* stroke) {
    const auto paths = where(elements, "path", "stroke", stroke);
    return paths.size() == 1 ? paths[0].at("d") : "";
  };
  // Lines run to the plot's edge; vertical ones down the main pane, or the canvas from a sub-pane.
  EXPECT_EQ(path_of("#00ff00"), "M0.00 214.50 L930.00 214.50");  // 3100, the middle of [2990, 3210]: 213.75
  EXPECT_EQ(path_of("#0000ff"), "M49.50 0.00 L49.50 427.50");     // bar 10 of 200, 4.65 apart: 48.825
  EXPECT_EQ(path_of("#00ffff"), "M0.00 501.50 L930.00 501.50");   // 50 of [0, 100] from 431.5, 138.5 high
  EXPECT_EQ(path_of("#ffff00"), "M49.50 0.00 L49.50 600.00");
}

// A one-point callout's box sits a tenth of the pane's range from the point, towards the pane's middle.
// Lows 50 and highs 70 padded by 5 %: [49, 71] over 570 px, middle 60, a tenth 2.2.
TEST(Primitives, OnePointCalloutBoxInsideThePane) {
  struct Case {
    double price;
    const char* words_y;
  };
  const Case cases[] = {
      {55.0, "357.55"},  // lower half: the box at 57.2, 570 - 8.2 / 22 x 570 = 357.545
      {65.0, "212.45"},  // upper half: the box at 62.8, 570 - 13.8 / 22 x 570 = 212.455
  };
  for (const Case& k : cases) {
    auto c = api::Chart::make(800, 600);
    c.bars.assign(10, {0, 60, 70, 50, 60, 0});
    auto callout = api::PrimitiveConfig::make("callout", {{2, k.price}});
    callout.text = "Hi";
    c = std::move(c).primitive(callout);
    const auto words = where(body_of(c), "text", "fill", "#ffffff");
    ASSERT_EQ(words.size(), 1u) << k.price;
    EXPECT_EQ(words[0].at("x"), "502.50") << k.price;  // bar 7 of ten 73 apart, less half the box, plus 5
    EXPECT_EQ(words[0].at("y"), k.words_y) << k.price;
  }
}

TEST(SubPanes, CrowdedPanesLeaveThePricePaneAQuarter) {
  auto c = api::Chart::make(800, 600);
  c.bars.assign(10, {0, 0.5, 2, 0, 1.5, 0});
  c = std::move(c).indicator(sub_pane(0.5, model::range::Fixed{0, 100})).indicator(sub_pane(0.5, model::range::Fixed{0, 100}));
  const auto body = body_of(c);
  const auto rects = with_tag(body, "rect");
  const auto count = [&](const char* x, const char* y, const char* h) {
    return std::count_if(rects.begin(), rects.end(), [&](const SvgElement& e) {
      return e.at("x") == x && e.at("y") == y && e.at("height") == h;
    });
  };
  // Ratio sum 1: main height 0.25 * 570; each pane 0.375 * 570 - 4 high, the second ending at the axis.
  EXPECT_EQ(count("730.00", "0.00", "142.50"), 1);
  EXPECT_EQ(count("0.00", "146.50", "209.75"), 1);
  EXPECT_EQ(count("0.00", "360.25", "209.75"), 1);
  EXPECT_EQ(count("730.00", "360.25", "209.75"), 1);
  // The candles (green bodies) stay in the price pane.
  const auto bodies = where(body, "rect", "fill", "#26a69a");
  ASSERT_FALSE(bodies.empty());
  for (const auto& e : bodies) EXPECT_LE(std::stod(e.at("y")) + std::stod(e.at("height")), 142.5);
}

TEST(Primitives, UnknownTypesAreSkipped) {
  auto c = small_chart();
  c = std::move(c)
          .primitive(api::PrimitiveConfig::make("Trend_Line", {{0, 5}, {1, 10}}))
          .primitive(api::PrimitiveConfig::make("trend_line", {{0, 5}, {3, 10}}))
          .primitive(api::PrimitiveConfig::make("", {}));
  const auto body = body_of(c);
  const auto drawn = std::count_if(body.begin(), body.end(), [](const SvgElement& e) {
    return e.has("stroke") && e.attrs.at("stroke") == "#2196f3";
  });
  EXPECT_EQ(drawn, 1);
}

TEST(ChartRenderer, FiniteInputsGiveFiniteCoordinates) {
  constexpr double kMax = DBL_MAX;
  struct Case {
    const char* name;
    model::BarColumns bars;
    std::vector<model::Indicator> indicators;
    std::uint32_t w = 800, h = 600;
  };
  auto macd_few_bars = model::Indicator::macd("macd", 12, 26, 9);
  for (auto& v : macd_few_bars.vectors) v.values.assign(3, kNaN);
  std::vector<model::Indicator> crowded(7, sub_pane(0.2, model::range::Auto{}));
  const std::vector<Case> cases{
      {"flat chart", {{0, 5, 5, 5, 5, 0}, {60, 5, 5, 5, 5, 0}}, {}},
      {"fixed range of zero width", {{0, 1, 2, 0, 1, 1}}, {sub_pane(0.2, model::range::Fixed{5, 5})}},
      {"symmetric without values", {{0, 1, 2, 0, 1, 1}}, {sub_pane(0.2, model::range::Symmetric{})}},
      {"macd with too few bars", {{0, 1, 2, 0, 1, 1}}, {macd_few_bars}},
      {"extreme prices", {{0, -kMax, kMax, -kMax, kMax, kMax}, {1, kMax, kMax, kMax, kMax, kMax}}, {}},
      {"tiny prices", {{0, 5e-324, 1e-323, 0, 5e-324, 0}}, {}},
      {"canvas smaller than the axes", {{0, 1, 2, 0, 1, 1}}, {sub_pane(0.2, model::range::Auto{})}, 10, 10},
      {"sub-panes taller than the plot", {{0, 1, 2, 0, 1, 1}}, crowded},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.name);
    auto c = api::Chart::make(cs.w, cs.h);
    c.bars = cs.bars;
    c.config.theme.show_grid = true;
    for (const auto& ind : cs.indicators) c = std::move(c).indicator(ind);
    c = std::move(c).signal(api::SignalConfig{api::SignalType::Buy, 0, kMax, 1, std::nullopt, "x"});
    c = std::move(c).primitive(api::PrimitiveConfig::make("trend_line", {{0, -kMax}, {1, kMax}}));
    const std::string svg = api::ChartRenderer(c.config, c.bars).render_svg();
    EXPECT_EQ(svg.find("NaN"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
    EXPECT_FALSE(body_of(c).empty());
  }
}

TEST(ChartRenderer, AnyDevicePixelRatioGivesFiniteCoordinates) {
  for (double dpr : {0.0, -1.0, 1e-300, 1e300, kNaN, std::numeric_limits<double>::infinity()}) {
    auto c = small_chart().primitive(api::PrimitiveConfig::make("trend_line", {{0, 5}, {1, 1e300}}));
    c.config.dpr = dpr;
    const std::string svg = api::ChartRenderer(c.config, c.bars).render_svg();
    EXPECT_EQ(svg.find("NaN"), std::string::npos) << dpr;
    EXPECT_EQ(svg.find("inf"), std::string::npos) << dpr;
  }
  // A usable ratio is kept: at 2, a wick covers two device pixels from the snapped centre 12.5.
  auto c = small_chart();
  c.config.dpr = 2;
  const auto wicks = where(body_of(c), "line", "stroke", "#26a69a");
  ASSERT_FALSE(wicks.empty());
  EXPECT_EQ(wicks[0].at("x1"), "13.00");
}

TEST(ChartRenderer, SeriesCodesOutsideTheBuildersDrawCandles) {
  auto c = small_chart();
  c.config.series.series_type = static_cast<api::SeriesType>(1);
  const auto bordered = body_of(c);
  // Body borders are stroked rectangles over the bodies, in the candle's up or down colour: bars 0 and 3
  // up, then bar 1 down.
  const auto borders = where(bordered, "rect", "fill", "none");
  ASSERT_EQ(borders.size(), 3u);
  EXPECT_EQ(borders[0].at("stroke"), "#26a69a");
  EXPECT_EQ(borders[1].at("stroke"), "#26a69a");
  EXPECT_EQ(borders[2].at("stroke"), "#ef5350");
  EXPECT_LT(borders[0].number("x"), borders[1].number("x"));
  c.config.series.series_type = static_cast<api::SeriesType>(3);
  const auto plain = body_of(c);
  EXPECT_TRUE(where(plain, "rect", "fill", "none").empty());
  EXPECT_EQ(where(plain, "rect", "width", "20.00").size(), 3u);
}
