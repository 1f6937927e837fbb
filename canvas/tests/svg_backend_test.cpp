// Element texts of the SVG backend, character for character.
#include "render/engine/svg_backend.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "render/engine/path.hpp"

namespace qc::render {
namespace {

constexpr Color kRed{255, 0, 0, 255};
constexpr Color kHalfBlack{0, 0, 0, 128};

StrokeStyle fancy_stroke() {
  return {std::vector<double>{4, 2}, 1.5, kHalfBlack, LineCap::Round, LineJoin::Bevel};
}

struct TemplateCase {
  const char* name;
  std::function<void(SvgBackend&)> draw;
  const char* text;
};

class Templates : public testing::TestWithParam<TemplateCase> {};

TEST_P(Templates, WriteExactElementText) {
  SvgBackend backend(800, 600, 1.0);
  GetParam().draw(backend);
  EXPECT_EQ(backend.body(), GetParam().text);
  EXPECT_EQ(backend.defs(), "");
}

const std::vector<PathCommand> kTriangle{MoveTo{10, 20}, LineTo{30, 40}, Close{}};
const PixelPoint kTwoPoints[] = {{10, 20}, {30, 40}};

INSTANTIATE_TEST_SUITE_P(
    Svg, Templates,
    testing::Values(
        TemplateCase{"fill_rect", [](SvgBackend& b) { b.fill_rect({0, 0, 10, 5}, kRed); },
                     "<rect x=\"0.00\" y=\"0.00\" width=\"10.00\" height=\"5.00\" fill=\"#ff0000\"/>\n"},
        TemplateCase{"fill_rect_alpha", [](SvgBackend& b) { b.fill_rect({-1.005, 2.5, 0.125, 1e-9}, kTransparent); },
                     "<rect x=\"-1.00\" y=\"2.50\" width=\"0.12\" height=\"0.00\" fill=\"rgba(0,0,0,0)\"/>\n"},
        TemplateCase{"stroke_rect", [](SvgBackend& b) { b.stroke_rect({1, 2, 3, 4}, StrokeStyle::solid(1, kRed)); },
                     "<rect x=\"1.00\" y=\"2.00\" width=\"3.00\" height=\"4.00\" stroke=\"#ff0000\" "
                     "stroke-width=\"1.00\" fill=\"none\"/>\n"},
        // A candle's wick, body and border in one call; the same elements as line(), fill_rect() and
        // stroke_rect() write.
        TemplateCase{"candle",
                     [](SvgBackend& b) {
                       b.candle({true, 4.0 / 3, 10.5, 1, 9, kRed, {8, 2, 5, 6}, Color{38, 166, 154, 255}, kHalfBlack});
                     },
                     "<line x1=\"10.50\" y1=\"1.00\" x2=\"10.50\" y2=\"9.00\" stroke=\"#ff0000\" "
                     "stroke-width=\"1.33\"/>\n"
                     "<rect x=\"8.00\" y=\"2.00\" width=\"5.00\" height=\"6.00\" fill=\"#26a69a\"/>\n"
                     "<rect x=\"8.00\" y=\"2.00\" width=\"5.00\" height=\"6.00\" "
                     "stroke=\"rgba(0,0,0,0.5019607843137255)\" stroke-width=\"1.00\" fill=\"none\"/>\n"},
        TemplateCase{"candle_body_only",
                     [](SvgBackend& b) { b.candle({false, 1, 10.5, 1, 9, kRed, {8, 2, 5, 6}, kRed, std::nullopt}); },
                     "<rect x=\"8.00\" y=\"2.00\" width=\"5.00\" height=\"6.00\" fill=\"#ff0000\"/>\n"},
        TemplateCase{"fill_circle", [](SvgBackend& b) { b.fill_circle(1, 2, 3, Color{38, 166, 154, 255}); },
                     "<circle cx=\"1.00\" cy=\"2.00\" r=\"3.00\" fill=\"#26a69a\" stroke=\"none\"/>\n"},
        TemplateCase{"stroke_circle", [](SvgBackend& b) { b.stroke_circle(1, 2, 3, fancy_stroke()); },
                     "<circle cx=\"1.00\" cy=\"2.00\" r=\"3.00\" stroke=\"rgba(0,0,0,0.5019607843137255)\" "
                     "stroke-width=\"1.50\" stroke-dasharray=\"4.00,2.00\" stroke-linecap=\"round\" "
                     "stroke-linejoin=\"bevel\" fill=\"none\"/>\n"},
        TemplateCase{"line", [](SvgBackend& b) { b.line(10.5, 0, 10.5, 99.999, StrokeStyle::solid(1, kRed)); },
                     "<line x1=\"10.50\" y1=\"0.00\" x2=\"10.50\" y2=\"100.00\" stroke=\"#ff0000\" "
                     "stroke-width=\"1.00\"/>\n"},
        TemplateCase{"line_empty_dash_is_solid",
                     [](SvgBackend& b) { b.line(0, 0, 1, 1, StrokeStyle::dashed({}, 2, kRed)); },
                     "<line x1=\"0.00\" y1=\"0.00\" x2=\"1.00\" y2=\"1.00\" stroke=\"#ff0000\" "
                     "stroke-width=\"2.00\"/>\n"},
        TemplateCase{"polyline_one_point", [](SvgBackend& b) { b.polyline({kTwoPoints, 1}, StrokeStyle::solid(1, kRed)); },
                     ""},
        TemplateCase{"polyline", [](SvgBackend& b) { b.polyline(kTwoPoints, StrokeStyle::solid(1, kRed)); },
                     "<polyline points=\"10.00,20.00 30.00,40.00\" stroke=\"#ff0000\" stroke-width=\"1.00\" "
                     "fill=\"none\"/>\n"},
        TemplateCase{"stroke_path", [](SvgBackend& b) { b.stroke_path(kTriangle, StrokeStyle::solid(2, kRed)); },
                     "<path d=\"M10.00 20.00 L30.00 40.00 Z\" stroke=\"#ff0000\" stroke-width=\"2.00\" "
                     "fill=\"none\"/>\n"},
        TemplateCase{"fill_path", [](SvgBackend& b) { b.fill_path(kTriangle, Solid{kRed}); },
                     "<path d=\"M10.00 20.00 L30.00 40.00 Z\" fill=\"#ff0000\" stroke=\"none\"/>\n"},
        TemplateCase{"fill_path_empty", [](SvgBackend& b) { b.fill_path({}, Solid{kTransparent}); },
                     "<path d=\"\" fill=\"rgba(0,0,0,0)\" stroke=\"none\"/>\n"},
        TemplateCase{"text",
                     [](SvgBackend& b) {
                       b.text(R"(a & "b" <c> 'd')", TextStyle{}, 5, 6);
                     },
                     "<text x=\"5.00\" y=\"6.00\" fill=\"#ffffff\" font-family=\"sans-serif\" font-size=\"12.0\" "
                     "text-anchor=\"start\" dominant-baseline=\"central\">a &amp; &quot;b&quot; &lt;c&gt; 'd'"
                     "</text>\n"},
        TemplateCase{"text_styled",
                     [](SvgBackend& b) {
                       TextStyle s{"monospace", 10.25, kHalfBlack, FontWeight::Bold, TextAlign::End,
                                   TextBaseline::Bottom};
                       b.text("", s, 0, 0);
                     },
                     "<text x=\"0.00\" y=\"0.00\" fill=\"rgba(0,0,0,0.5019607843137255)\" font-family=\"monospace\" "
                     "font-size=\"10.2\" text-anchor=\"end\" dominant-baseline=\"text-after-edge\" "
                     "font-weight=\"bold\"></text>\n"},
        TemplateCase{"text_lighter_middle_top",
                     [](SvgBackend& b) {
                       TextStyle s;
                       s.weight = FontWeight::Lighter, s.align = TextAlign::Middle, s.baseline = TextBaseline::Top;
                       b.text("x", s, 1, 2);
                       s.baseline = TextBaseline::Alphabetic;
                       b.text("y", s, 1, 2);
                     },
                     "<text x=\"1.00\" y=\"2.00\" fill=\"#ffffff\" font-family=\"sans-serif\" font-size=\"12.0\" "
                     "text-anchor=\"middle\" dominant-baseline=\"hanging\" font-weight=\"lighter\">x</text>\n"
                     "<text x=\"1.00\" y=\"2.00\" fill=\"#ffffff\" font-family=\"sans-serif\" font-size=\"12.0\" "
                     "text-anchor=\"middle\" dominant-baseline=\"alphabetic\" font-weight=\"lighter\">y</text>\n"},
        // A family is an attribute value: written raw, a quote in it would end the attribute.
        TemplateCase{"text_family_escaped",
                     [](SvgBackend& b) {
                       TextStyle s;
                       s.font_family = "A \"B\" & <C>\x01";
                       b.text("x\x02", s, 0, 0);
                     },
                     "<text x=\"0.00\" y=\"0.00\" fill=\"#ffffff\" font-family=\"A &quot;B&quot; &amp; &lt;C&gt;\" "
                     "font-size=\"12.0\" text-anchor=\"start\" dominant-baseline=\"central\">x</text>\n"},
        TemplateCase{"non_finite_coordinates",
                     [](SvgBackend& b) {
                       b.fill_circle(std::nan(""), std::numeric_limits<double>::infinity(), 3, kRed);
                     },
                     "<circle cx=\"NaN\" cy=\"inf\" r=\"3.00\" fill=\"#ff0000\" stroke=\"none\"/>\n"},
        // A size that is not a number leaves its element out, whichever element it is.
        TemplateCase{"non_finite_sizes",
                     [](SvgBackend& b) {
                       constexpr double inf = std::numeric_limits<double>::infinity();
                       const double nan = std::nan("");
                       b.fill_circle(1, 2, -inf, kRed);
                       b.stroke_circle(1, 2, nan, StrokeStyle::solid(1, kRed));
                       b.stroke_circle(1, 2, 3, StrokeStyle::solid(inf, kRed));
                       b.stroke_rect({1, 2, 3, 4}, StrokeStyle::dashed({2, nan}, 1, kRed));
                       b.line(0, 0, 1, 1, StrokeStyle::solid(nan, kRed));
                       b.polyline(kTwoPoints, StrokeStyle::dashed({-inf}, 1, kRed));
                       b.stroke_path(kTriangle, StrokeStyle::solid(-inf, kRed));
                       LineWriter streamed(b, LineWriter::Kind::path);
                       streamed.add(1, 2);
                       streamed.add(3, 4);
                       streamed.end(StrokeStyle::solid(nan, kRed));
                       TextStyle s;
                       s.font_size = nan;
                       b.text("x", s, 0, 0);
                     },
                     ""},
        TemplateCase{"square_cap_round_join",
                     [](SvgBackend& b) {
                       b.line(0, 0, 0, 0, {std::vector<double>{0.5}, 1, kRed, LineCap::Square, LineJoin::Round});
                     },
                     "<line x1=\"0.00\" y1=\"0.00\" x2=\"0.00\" y2=\"0.00\" stroke=\"#ff0000\" stroke-width=\"1.00\" "
                     "stroke-dasharray=\"0.50\" stroke-linecap=\"square\" stroke-linejoin=\"round\"/>\n"}),
    [](const testing::TestParamInfo<TemplateCase>& p) { return p.param.name; });

// Shapes drawn while a batch is open: one path per style, each shape a subpath with its element's numbers,
// the styles in the order of their first shapes, written when the outermost batch closes or before any
// other element.
class Batches : public testing::TestWithParam<TemplateCase> {};

TEST_P(Batches, WriteOnePathPerStyle) {
  SvgBackend backend(800, 600, 1.0);
  {
    ShapeBatch batch(backend);
    GetParam().draw(backend);
  }
  EXPECT_EQ(backend.body(), GetParam().text);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
#define QC_RED_RECT(x) "M" x " 0.00h1.00v1.00h-1.00Z"
#define QC_CIRCLE "M-2.00 2.00A3.00 3.00 0 1 0 4.00 2.00A3.00 3.00 0 1 0 -2.00 2.00Z"

INSTANTIATE_TEST_SUITE_P(
    Svg, Batches,
    testing::Values(
        // Every form: rectangles, a vertical, horizontal and slanted line, an OHLC bar and circles.
        TemplateCase{"forms_in_order_of_first_style",
                     [](SvgBackend& b) {
                       const StrokeStyle hairline = StrokeStyle::solid(1, kRed);
                       const SvgBackend::FilledRect rects[] = {
                           {{0, 0, 1, 1}, kRed}, {{1, 0, 1, 1}, kHalfBlack}, {{2, 0, 1, 1}, kRed}};
                       b.fill_rects(rects);
                       b.stroke_rect({0, 0, 3, 1}, hairline);
                       b.line(1, 2, 1, 7, hairline), b.line(1, 2, 6, 2, hairline), b.line(1, 2, 6, 7, hairline);
                       b.ohlc_bar({10.5, 1, 9, 8, 3, 13, 7, 1, kRed});
                       b.fill_circle(1, 2, 3, kRed), b.stroke_circle(1, 2, 3, hairline);
                     },
                     "<path d=\"" QC_RED_RECT("0.00") QC_RED_RECT("2.00") QC_CIRCLE
                     "\" fill=\"#ff0000\" stroke=\"none\"/>\n"
                     "<path d=\"" QC_RED_RECT("1.00") "\" fill=\"rgba(0,0,0,0.5019607843137255)\" stroke=\"none\"/>\n"
                     "<path d=\"M0.00 0.00h3.00v1.00h-3.00ZM1.00 2.00V7.00M1.00 2.00H6.00M1.00 2.00L6.00 7.00"
                     "M10.50 1.00V9.00M8.00 3.00H10.50M10.50 7.00H13.00" QC_CIRCLE "\" stroke=\"#ff0000\" "
                     "stroke-width=\"1.00\" fill=\"none\"/>\n"},
        // Solid paths join their style.
        TemplateCase{"paths",
                     [](SvgBackend& b) {
                       b.fill_path(kTriangle, Solid{kRed});
                       b.stroke_path(kTriangle, StrokeStyle::solid(2, kRed));
                       b.fill_path(kTriangle, Solid{kRed});
                     },
                     "<path d=\"M10.00 20.00 L30.00 40.00 ZM10.00 20.00 L30.00 40.00 Z\" fill=\"#ff0000\" "
                     "stroke=\"none\"/>\n"
                     "<path d=\"M10.00 20.00 L30.00 40.00 Z\" stroke=\"#ff0000\" stroke-width=\"2.00\" "
                     "fill=\"none\"/>\n"},
        // The state is part of the style.
        TemplateCase{"state",
                     [](SvgBackend& b) {
                       b.fill_rect({0, 0, 1, 1}, kRed), b.set_state({Transform{1, 0, 0, 1, 5, 0}, 0.5});
                       b.fill_rect({1, 0, 1, 1}, kRed), b.set_state({}), b.fill_rect({2, 0, 1, 1}, kRed);
                     },
                     "<path d=\"" QC_RED_RECT("0.00") QC_RED_RECT("2.00") "\" fill=\"#ff0000\" stroke=\"none\"/>\n"
                     "<path d=\"" QC_RED_RECT("1.00") "\" fill=\"#ff0000\" stroke=\"none\" "
                     "transform=\"matrix(1.0000,0.0000,0.0000,1.0000,5.00,0.00)\" opacity=\"0.50\"/>\n"},
        // Nothing drawn later ends up beneath what was drawn before it.
        TemplateCase{"other_elements_write_the_paths_first",
                     [](SvgBackend& b) {
                       b.fill_rect({0, 0, 1, 1}, kRed), b.text("x", TextStyle{}, 0, 0);
                       b.fill_rect({1, 0, 1, 1}, kRed), b.polyline(kTwoPoints, StrokeStyle::solid(1, kRed));
                       b.fill_rect({2, 0, 1, 1}, kRed);
                     },
                     "<path d=\"" QC_RED_RECT("0.00") "\" fill=\"#ff0000\" stroke=\"none\"/>\n"
                     "<text x=\"0.00\" y=\"0.00\" fill=\"#ffffff\" font-family=\"sans-serif\" font-size=\"12.0\" "
                     "text-anchor=\"start\" dominant-baseline=\"central\">x</text>\n"
                     "<path d=\"" QC_RED_RECT("1.00") "\" fill=\"#ff0000\" stroke=\"none\"/>\n"
                     "<polyline points=\"10.00,20.00 30.00,40.00\" stroke=\"#ff0000\" stroke-width=\"1.00\" "
                     "fill=\"none\"/>\n"
                     "<path d=\"" QC_RED_RECT("2.00") "\" fill=\"#ff0000\" stroke=\"none\"/>\n"},
        // A shape with a number that is not finite, or a circle of no size, is left out; the others stay.
        TemplateCase{"unreadable_shapes_left_out",
                     [](SvgBackend& b) {
                       const StrokeStyle hairline = StrokeStyle::solid(1, kRed);
                       b.fill_rect({kNaN, 0, 1, 1}, kRed), b.stroke_rect({0, 0, kInf, 1}, hairline);
                       b.line(0, 0, kInf, 1, hairline), b.ohlc_bar({1, 2, kNaN, 0, 1, 2, 1, 1, kRed});
                       b.fill_circle(kNaN, 0, 1, kRed), b.fill_circle(1, 1, 0, kRed), b.fill_circle(1, 1, -1, kRed);
                       b.stroke_circle(1, 1, 0, hairline), b.fill_rect({1, 0, 1, 1}, kRed);
                     },
                     "<path d=\"" QC_RED_RECT("1.00") "\" fill=\"#ff0000\" stroke=\"none\"/>\n"},
        TemplateCase{"nested_batches_write_once",
                     [](SvgBackend& b) {
                       b.fill_rect({0, 0, 1, 1}, kRed);
                       {
                         ShapeBatch inner(b);
                         b.fill_rect({1, 0, 1, 1}, kRed);
                       }
                       EXPECT_EQ(b.body(), "");
                       b.fill_rect({2, 0, 1, 1}, kRed);
                     },
                     "<path d=\"" QC_RED_RECT("0.00") QC_RED_RECT("1.00") QC_RED_RECT("2.00")
                     "\" fill=\"#ff0000\" stroke=\"none\"/>\n"}),
    [](const testing::TestParamInfo<TemplateCase>& p) { return p.param.name; });

#undef QC_RED_RECT
#undef QC_CIRCLE

// Past 64 styles the paths gathered are written and gathering starts again: a style seen before the break
// comes back as a path of its own, after the ones between.
TEST(SvgBackend, ManyStylesKeepTheOrderOfTheirShapes) {
  SvgBackend b(100, 100, 1.0);
  std::string want;
  {
    ShapeBatch batch(b);
    for (int i = 0; i <= 70; ++i) {
      const Color c{static_cast<std::uint8_t>(i % 70), 0, 0, 255};
      b.fill_rect({static_cast<double>(i), 0, 1, 1}, c);
      want += "<path d=\"M" + std::to_string(i) + ".00 0.00h1.00v1.00h-1.00Z\" fill=\"" + SvgBackend::color_to_css(c) +
              "\" stroke=\"none\"/>\n";
    }
  }
  EXPECT_EQ(b.body(), want);
}

// Rectangles handed over in chunks come out as the same rectangles drawn one by one, however many there
// are against the chunk.
TEST(SvgBackend, RectWriterWritesWhatFillRectWrites) {
  for (const int count : {0, 1, 15, 16, 17, 33}) {
    SvgBackend chunked(100, 100, 1.0), single(100, 100, 1.0);
    RectWriter rects(chunked);
    for (int i = 0; i < count; ++i) {
      const Rect r{i * 1.25, -i * 0.5, 2, i + 0.125};
      const Color c = i % 3 == 0 ? kRed : kHalfBlack;
      rects.add(r, c);
      single.fill_rect(r, c);
    }
    rects.end();
    EXPECT_EQ(chunked.body(), single.body()) << count;
    EXPECT_EQ(std::count(chunked.body().begin(), chunked.body().end(), '\n'), count);
  }
}

// A line streamed in chunks reads as the polyline or path drawn from all its points at once.
TEST(SvgBackend, StreamedLineWritesWhatOneCallWrites) {
  for (const LineWriter::Kind kind : {LineWriter::Kind::polyline, LineWriter::Kind::path}) {
    for (const int count : {1, 2, 128, 129, 300}) {
      SvgBackend streamed(100, 100, 1.0), whole(100, 100, 1.0);
      LineWriter line(streamed, kind);
      std::vector<PixelPoint> points;
      std::vector<PathCommand> path;
      for (int i = 0; i < count; ++i) {
        const PixelPoint p{i * 0.75, 50 - i * 0.125};
        line.add(p.x, p.y);
        points.push_back(p);
        path.push_back(i == 0 ? PathCommand{MoveTo{p.x, p.y}} : PathCommand{LineTo{p.x, p.y}});
      }
      line.end(StrokeStyle::solid(1, kRed));
      kind == LineWriter::Kind::path ? whole.stroke_path(path, StrokeStyle::solid(1, kRed))
                                     : whole.polyline(points, StrokeStyle::solid(1, kRed));
      EXPECT_EQ(streamed.body(), whole.body()) << count;
    }
  }
}

TEST(SvgBackend, TransformAndOpacityAttributesFollowTheState) {
  SvgBackend b(100, 100, 2.0);
  EXPECT_EQ(b.transform_attr(), "");
  EXPECT_EQ(b.opacity_attr(), "");
  b.set_state({Transform{1, 0.123456, -0.00005, 2, 10.005, -3}, 0.5});
  EXPECT_EQ(b.transform_attr(), R"x( transform="matrix(1.0000,0.1235,-0.0001,2.0000,10.01,-3.00)")x");
  EXPECT_EQ(b.opacity_attr(), R"( opacity="0.50")");
  b.fill_rect({0, 0, 1, 1}, kRed);
  EXPECT_EQ(b.body(),
            "<rect x=\"0.00\" y=\"0.00\" width=\"1.00\" height=\"1.00\" fill=\"#ff0000\""
            " transform=\"matrix(1.0000,0.1235,-0.0001,2.0000,10.01,-3.00)\" opacity=\"0.50\"/>\n");

  for (double opacity : {1.0, 1.5, std::nan("")}) {
    b.set_state({std::nullopt, opacity});
    EXPECT_EQ(b.opacity_attr(), "") << opacity;
  }
}

// Alone, the backend holds definitions and body apart; writing into a document it was handed, it inserts
// each definition ahead of the body already written, behind the document's head.
TEST(SvgBackend, GradientFillsAreNumberedAndDefinedAheadOfTheBody) {
  const std::string defs =
      "<linearGradient id=\"grad0\" x1=\"0.00%\" y1=\"12.50%\" x2=\"100.00%\" y2=\"50.00%\">"
      "<stop offset=\"0%\" stop-color=\"#ff0000\"/>"
      "<stop offset=\"50%\" stop-color=\"rgba(0,0,0,0.5019607843137255)\"/></linearGradient>\n"
      "<radialGradient id=\"grad1\" cx=\"50.00%\" cy=\"50.00%\" r=\"75.00%\">"
      "<stop offset=\"100%\" stop-color=\"#ff0000\"/></radialGradient>\n";
  const std::string body =
      "<rect x=\"0.00\" y=\"0.00\" width=\"1.00\" height=\"1.00\" fill=\"#ff0000\"/>\n"
      "<path d=\"M10.00 20.00 L30.00 40.00 Z\" fill=\"url(#grad0)\" stroke=\"none\"/>\n"
      "<path d=\"\" fill=\"url(#grad1)\" stroke=\"none\"/>\n";
  LinearGradient linear{{{0.0, kRed}, {0.505, kHalfBlack}}, 0, 0.125, 1, 0.5};
  RadialGradient radial{{{1.0, kRed}}, 0.5, 0.5, 0.75};
  for (const bool in_document : {false, true}) {
    SCOPED_TRACE(in_document);
    util::TextBuffer head;
    head.append("<svg><defs>");
    SvgBackend b = in_document ? SvgBackend(100, 100, 1.0, std::move(head), "</defs>") : SvgBackend(100, 100, 1.0);
    b.fill_rect({0, 0, 1, 1}, kRed);
    b.fill_path(kTriangle, linear);
    b.fill_path({}, radial);
    EXPECT_EQ(b.gradient_counter(), 2u);
    EXPECT_EQ(b.body(), body);
    EXPECT_EQ(b.defs(), defs);
    EXPECT_EQ(b.release().view(), in_document ? "<svg><defs>" + defs + "</defs>" + body : defs + body);
  }
}

TEST(SvgBackend, PathDataPieces) {
  struct Case {
    std::vector<PathCommand> commands;
    const char* d;
  };
  constexpr double pi = 3.141592653589793;
  const Case cases[] = {
      {{}, ""},
      {{MoveTo{10, 20}, LineTo{30, 40}, Close{}}, "M10.00 20.00 L30.00 40.00 Z"},
      {{QuadTo{1, 2, 3, 4}, CubicTo{1, 2, 3, 4, 5, 6}}, "Q1.00 2.00 3.00 4.00 C1.00 2.00 3.00 4.00 5.00 6.00"},
      // Half a turn is not "large": the flag needs strictly more than pi.
      {{Arc{0, 0, 10, 0, pi, false}}, "M10.00 0.00 A10.00 10.00 0 0 1 -10.00 0.00"},
      {{Arc{0, 0, 10, 0, 4, true}}, "M10.00 0.00 A10.00 10.00 0 1 0 -6.54 -7.57"},
      {{MoveTo{1, 1}, Ellipse{0, 0, 10, 5, pi / 2, 0, pi / 2, false}},
       "M1.00 1.00 M0.00 10.00 A10.00 5.00 90.00 0 1 -5.00 0.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(SvgBackend::path_to_d(c.commands), c.d);
}

TEST(SvgBackend, ColorAndStrokeAttributeTexts) {
  EXPECT_EQ(SvgBackend::color_to_css({38, 166, 154, 255}), "#26a69a");
  EXPECT_EQ(SvgBackend::color_to_css({0, 0, 0, 0}), "rgba(0,0,0,0)");
  EXPECT_EQ(SvgBackend::color_to_css({255, 255, 255, 254}), "rgba(255,255,255,0.996078431372549)");
  EXPECT_EQ(SvgBackend::color_to_css({33, 150, 243, 127}), "rgba(33,150,243,0.4980392156862745)");
  EXPECT_EQ(SvgBackend::color_to_css({9, 99, 100, 1}), "rgba(9,99,100,0.00392156862745098)");
  EXPECT_EQ(SvgBackend::line_style_attrs(fancy_stroke()),
            "stroke=\"rgba(0,0,0,0.5019607843137255)\" stroke-width=\"1.50\" stroke-dasharray=\"4.00,2.00\" "
            "stroke-linecap=\"round\" stroke-linejoin=\"bevel\"");
  EXPECT_EQ(SvgBackend::line_style_attrs(StrokeStyle::dashed({}, 1, kRed)), "stroke=\"#ff0000\" stroke-width=\"1.00\"");
}

TEST(SvgBackend, BodyGrowsBeyondItsInitialRoomAndIsTakenWhole) {
  SvgBackend b(10, 10, 1.0);
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    b.fill_rect({0, 0, 1, 1}, kRed);
    expected += "<rect x=\"0.00\" y=\"0.00\" width=\"1.00\" height=\"1.00\" fill=\"#ff0000\"/>\n";
  }
  b.text(std::string(100000, '&'), TextStyle{}, 0, 0);
  expected += "<text x=\"0.00\" y=\"0.00\" fill=\"#ffffff\" font-family=\"sans-serif\" font-size=\"12.0\" "
              "text-anchor=\"start\" dominant-baseline=\"central\">";
  for (int i = 0; i < 100000; ++i) expected += "&amp;";
  expected += "</text>\n";
  ASSERT_GT(b.body().size(), SvgBackend::kBodyCapacity);
  EXPECT_EQ(b.body(), expected);
  EXPECT_EQ(b.take_body(), expected);
  EXPECT_EQ(b.body(), "");
  b.fill_rect({0, 0, 1, 1}, kRed);
  EXPECT_EQ(b.body(), "<rect x=\"0.00\" y=\"0.00\" width=\"1.00\" height=\"1.00\" fill=\"#ff0000\"/>\n");
}

}  // namespace
}  // namespace qc::render
