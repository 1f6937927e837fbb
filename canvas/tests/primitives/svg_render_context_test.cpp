// The SVG drawing context: coordinate mapping, drawing state, the element texts it makes the backend write,
// and the interface's own default operations.
#include "primitives/core/svg_render_context.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "support.hpp"

namespace qc::primitives {
namespace {

using testing::Canvas;
using testing::parse_path;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;

// The six numbers of a transform="matrix(...)" attribute.
std::vector<double> matrix_of(const testing::SvgElement& e) {
  std::string text = e.at("transform");
  EXPECT_TRUE(text.starts_with("matrix(") && text.ends_with(")")) << text;
  std::vector<double> out;
  for (std::size_t i = 7; i < text.size(); ++i) {
    std::size_t end = text.find_first_of(",)", i);
    out.push_back(std::stod(text.substr(i, end - i)));
    i = end;
  }
  EXPECT_EQ(out.size(), 6u) << text;
  return out;
}

void expect_matrix(const testing::SvgElement& e, std::vector<double> expected) {
  const auto m = matrix_of(e);
  ASSERT_EQ(m.size(), expected.size());
  for (std::size_t i = 0; i < m.size(); ++i) EXPECT_NEAR(m[i], expected[i], 1e-9) << e.at("transform");
}

TEST(SvgRenderContext, BarToX) {
  Canvas c;
  struct Case {
    double bar, x;
  };
  const Case cases[] = {{3, 35},  {3.5, 40}, {3.0005, 35}, {-2, 5},    {-0.5, 5},
                        {0, 5},   {kNaN, 5}, {1000, 10005}, {2.25, 27.5}};
  for (const Case& k : cases) EXPECT_DOUBLE_EQ(c.ctx.bar_to_x(k.bar), k.x) << k.bar;
  EXPECT_TRUE(std::isfinite(c.ctx.bar_to_x(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isfinite(c.ctx.bar_to_x(1e300)));
}

TEST(SvgRenderContext, PriceToYInMainPaneAndSubPane) {
  render::SvgBackend backend(800, 600, 1);
  SvgRenderContext main(backend, {10, 100, 200, 0, 400}, 1, 800, 600);
  SvgRenderContext sub(backend, {10, 100, 200, 500, 400}, 1, 800, 600);
  EXPECT_DOUBLE_EQ(main.price_to_y(150), 200);
  EXPECT_DOUBLE_EQ(main.price_to_y(200), 0);
  EXPECT_DOUBLE_EQ(main.price_to_y(100), 400);
  EXPECT_DOUBLE_EQ(sub.price_to_y(150), 700);
  EXPECT_DOUBLE_EQ(sub.price_to_y(250), 300);  // above the pane's range: above its top
}

TEST(SvgRenderContext, SizesAndDefaults) {
  Canvas c(2.0);
  EXPECT_EQ(c.ctx.chart_width(), 800);
  EXPECT_EQ(c.ctx.canvas_height(), 600);
  EXPECT_EQ(c.ctx.width(), 800u);
  EXPECT_EQ(c.ctx.height(), 600u);
  EXPECT_EQ(c.ctx.dpr(), 2.0);
  EXPECT_FALSE(c.ctx.draw_image("x.png", 0, 0, 1, 1));
  render::SvgBackend backend(1, 1, 1);
  SvgRenderContext odd(backend, testing::test_pane(), 1, -5.0, 1e12);
  EXPECT_EQ(odd.width(), 0u);
  EXPECT_EQ(odd.height(), 4294967295u);
}

TEST(SvgRenderContext, StrokeStateAndPathConsumption) {
  Canvas c;
  c.ctx.begin_path();
  c.ctx.move_to(1, 2);
  c.ctx.line_to(3, 4);
  c.ctx.stroke();
  c.ctx.stroke();  // the path was consumed
  c.ctx.set_stroke_color("not a colour");
  c.ctx.set_stroke_width(1.5);
  c.ctx.set_line_style(LineStyle::Dashed);
  c.ctx.rect(0, 0, 10, 5);
  c.ctx.stroke();
  c.ctx.set_line_dash({});
  c.ctx.stroke_rect(1, 1, 2, 2);
  const auto e = c.elements();
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].at("d"), "M1.00 2.00 L3.00 4.00");
  EXPECT_EQ(e[0].at("stroke"), "#2196f3");
  EXPECT_EQ(e[0].at("stroke-width"), "2.00");
  EXPECT_FALSE(e[0].has("stroke-dasharray"));
  EXPECT_EQ(e[0].at("fill"), "none");
  EXPECT_EQ(e[1].at("d"), "");
  EXPECT_EQ(e[2].at("d"), "M0.00 0.00 L10.00 0.00 L10.00 5.00 L0.00 5.00 Z");
  EXPECT_EQ(e[2].at("stroke"), "#ffffff");
  EXPECT_EQ(e[2].at("stroke-width"), "1.50");
  EXPECT_EQ(e[2].at("stroke-dasharray"), "8.00,4.00");
  EXPECT_EQ(e[3].tag, "rect");
  EXPECT_FALSE(e[3].has("stroke-dasharray"));
}

TEST(SvgRenderContext, GlobalAlphaScalesEveryColour) {
  Canvas c;
  c.ctx.set_global_alpha(0.5);
  c.ctx.set_stroke_color("#2196F3");
  c.ctx.begin_path();
  c.ctx.move_to(0, 0);
  c.ctx.stroke();
  c.ctx.set_fill_color_alpha("#ff0000", 7.0);  // clamped to 1, and in force afterwards
  c.ctx.fill_rect(0, 0, 1, 1);
  c.ctx.set_global_alpha(kNaN);
  c.ctx.fill_rect(0, 0, 1, 1);
  c.ctx.reset_alpha();
  c.ctx.set_fill_color("rgba(0,0,255,0.5)");
  c.ctx.set_global_alpha(0.5);
  c.ctx.fill_rect(0, 0, 1, 1);
  const auto e = c.elements();
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].at("stroke"), "rgba(33,150,243,0.4980392156862745)");
  EXPECT_EQ(e[1].at("fill"), "#ff0000");
  EXPECT_EQ(e[2].at("fill"), "rgba(255,0,0,0)");
  EXPECT_EQ(e[3].at("fill"), "rgba(0,0,255,0.24705882352941178)");  // trunc(0.5 * 127) = 63
}

TEST(SvgRenderContext, FillsStartTransparentAndFallBackToTransparent) {
  Canvas c;
  c.ctx.fill_rect(0, 0, 10, 5);
  c.ctx.set_fill_color("#0f0");
  c.ctx.rect(0, 0, 1, 1);
  c.ctx.fill();
  c.ctx.set_fill_color("transparent");
  c.ctx.fill_rect(0, 0, 10, 5);
  const auto e = c.elements();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("fill"), "rgba(0,0,0,0)");
  EXPECT_EQ(e[1].tag, "path");
  EXPECT_EQ(e[1].at("fill"), "#00ff00");
  EXPECT_EQ(e[1].at("stroke"), "none");
  EXPECT_EQ(e[2].at("fill"), "rgba(0,0,0,0)");
}

TEST(SvgRenderContext, FontSizeFromTheNumberBeforePx) {
  struct Case {
    const char* font;
    double size;
  };
  const Case cases[] = {{"14px sans-serif", 14},  {" 9.5 px", 9.5},    {"bold 12px Arial", 3},
                        {"sans-serif", 3},        {"", 3},             {"px", 3},
                        {"+16px", 16},            {"12.5px 10px", 12.5}, {"1e1px", 10}};
  for (const Case& k : cases) {
    Canvas c;
    c.ctx.set_font("3px");
    c.ctx.set_font(k.font);
    EXPECT_EQ(c.ctx.font_size(), k.size) << k.font;
  }
  Canvas c;
  EXPECT_EQ(c.ctx.measure_text("hello"), 36.0);
  EXPECT_EQ(c.ctx.measure_text("\xC3\xA9"), 2 * 12 * 0.6);  // bytes, not characters
}

// Text takes the fill colour: a primitive sets the fill colour for its labels, and the text shows it.
TEST(SvgRenderContext, FillTextDrawsInTheFillColour) {
  Canvas c;
  c.ctx.fill_text("hidden", 1, 2);
  c.ctx.set_fill_color("#ff0000");
  c.ctx.set_font("16px sans-serif");
  c.ctx.fill_text("a & \"b\" <c>", 10, 20);
  c.ctx.set_global_alpha(0.5);
  c.ctx.fill_text("faint", 0, 0);
  const auto e = c.elements();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("fill"), "rgba(0,0,0,0)");
  EXPECT_EQ(e[1].tag, "text");
  EXPECT_EQ(e[1].content, "a & \"b\" <c>");
  EXPECT_EQ(e[1].at("fill"), "#ff0000");
  EXPECT_EQ(e[1].at("x"), "10.00");
  EXPECT_EQ(e[1].at("y"), "20.00");
  EXPECT_EQ(e[1].at("font-size"), "16.0");
  EXPECT_EQ(e[1].at("font-family"), "sans-serif");
  EXPECT_EQ(e[1].at("text-anchor"), "start");
  EXPECT_EQ(e[1].at("dominant-baseline"), "alphabetic");
  EXPECT_EQ(e[2].at("fill"), "rgba(255,0,0,0.4980392156862745)");
}

// Rotated text stays at (x, y), turned about that point; the state is restored for what follows. An angle
// that is tiny, NaN or infinite draws upright; a turn whose matrix overflows (a point near the end of the
// double range) leaves the text out rather than write NaN or infinity into its transform.
TEST(SvgRenderContext, FillTextRotatedTurnsAboutItsPosition) {
  Canvas c;
  c.ctx.set_fill_color("#000");
  c.ctx.fill_text_rotated("turned", 100, 50, kPi / 2);
  c.ctx.fill_text_rotated("almost flat", 100, 50, 0.0005);
  c.ctx.fill_text_rotated("no angle", 100, 50, kNaN);
  c.ctx.fill_text_rotated("endless angle", 100, 50, kInf);
  c.ctx.fill_text_rotated("overflowing", 1.7e308, 50, kPi);  // e = x - cos(pi) x overflows
  c.ctx.fill_rect(0, 0, 1, 1);
  const auto e = c.elements();
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].at("x"), "100.00");
  EXPECT_EQ(e[0].at("y"), "50.00");
  // A quarter turn about (100, 50): x' = -y + 150, y' = x - 50.
  expect_matrix(e[0], {0, 1, -1, 0, 150, -50});
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(e[i].has("transform")) << i;
  EXPECT_EQ(e[1].at("x"), "100.00");
  EXPECT_EQ(e[2].at("y"), "50.00");
  EXPECT_EQ(e[3].content, "endless angle");
  EXPECT_EQ(e[4].tag, "rect");
}

TEST(SvgRenderContext, FillTextRotatedComposesWithAnOuterTransform) {
  Canvas c;
  c.backend.set_state({render::Transform{2, 0, 0, 2, 10, 0}, 1.0});  // scale 2, then shift 10 right
  c.ctx.fill_text_rotated("t", 5, 0, kPi);
  const auto e = c.elements();
  ASSERT_EQ(e.size(), 1u);
  // Half a turn about (5, 0) maps (x, y) to (10 - x, -y); the outer scale and shift follow.
  expect_matrix(e[0], {-2, 0, 0, -2, 30, 0});
  EXPECT_EQ(c.backend.state().transform, (render::Transform{2, 0, 0, 2, 10, 0}));
}

// Reads the single arc-bearing path back: the subpaths' start points and arc pieces.
struct ArcPiece {
  double x0, y0, r, large, sweep, x1, y1;
};
std::vector<ArcPiece> arcs_of(const std::string& d) {
  std::vector<ArcPiece> out;
  const auto steps = parse_path(d);
  for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
    if (steps[i].op != 'M' || steps[i + 1].op != 'A') continue;
    const auto& m = steps[i].args;
    const auto& a = steps[i + 1].args;
    EXPECT_EQ(a.size(), 7u);
    EXPECT_EQ(a[0], a[1]);  // circular
    out.push_back({m[0], m[1], a[0], a[3], a[4], a[5], a[6]});
  }
  return out;
}

TEST(SvgRenderContext, ArcDrawsACircularArcNotAChord) {
  struct Case {
    const char* name;
    double start, end;
    std::size_t pieces;
    double large;
  };
  const Case cases[] = {
      {"quarter", 0, kPi / 2, 1, 0},       {"three quarters", 0, 1.5 * kPi, 1, 1},
      {"backwards is clockwise the long way", 0, -kPi / 2, 1, 1},
      {"full turn", 0, 2 * kPi, 2, 0},     {"more than a turn", 1, 1 + 7 * kPi, 2, 0},
  };
  for (const Case& k : cases) {
    Canvas c;
    c.ctx.begin_path();
    c.ctx.arc(100, 100, 20, k.start, k.end);
    c.ctx.stroke();
    const auto e = c.elements();
    ASSERT_EQ(e.size(), 1u) << k.name;
    const auto pieces = arcs_of(e[0].at("d"));
    ASSERT_EQ(pieces.size(), k.pieces) << k.name << ": " << e[0].at("d");
    for (const ArcPiece& p : pieces) {
      EXPECT_EQ(p.r, 20) << k.name;
      EXPECT_EQ(p.sweep, 1) << k.name;
      EXPECT_EQ(p.large, k.large) << k.name;
      EXPECT_NEAR(std::hypot(p.x0 - 100, p.y0 - 100), 20, 0.01) << k.name;
      EXPECT_NEAR(std::hypot(p.x1 - 100, p.y1 - 100), 20, 0.01) << k.name;
    }
    if (k.pieces == 2) {
      // Two half turns: opposite ends of a diameter, the second closing back at the first's start.
      EXPECT_NEAR(pieces[0].x0 + pieces[0].x1, 200, 0.011) << k.name;
      EXPECT_NEAR(pieces[1].x1, pieces[0].x0, 0.011) << k.name;
      EXPECT_NEAR(pieces[1].y1, pieces[0].y0, 0.011) << k.name;
    }
  }
}

TEST(SvgRenderContext, EllipseIsAClosedFourCurvePath) {
  Canvas c;
  c.ctx.ellipse(50, 40, 20, 10, 1.0, 0.0, 1.0);  // rotation and angles are not drawn
  c.ctx.stroke();
  const auto steps = parse_path(c.elements().at(0).at("d"));
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_EQ(steps[0].op, 'M');
  EXPECT_EQ(steps[0].args, (std::vector<double>{30, 40}));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(steps[i].op, 'C');
  EXPECT_EQ(steps[2].args[4], 70);  // rightmost point
  EXPECT_EQ(steps[3].args[5], 50);  // lowest point
  EXPECT_EQ(steps[5].op, 'Z');
}

TEST(SvgRenderContext, CurvesAndNonFiniteCoordinates) {
  Canvas c;
  c.ctx.begin_path();
  c.ctx.move_to(kNaN, 1);
  c.ctx.quadratic_curve_to(1, 2, 3, 4);
  c.ctx.bezier_curve_to(1, 2, 3, 4, std::numeric_limits<double>::infinity(), 6);
  c.ctx.stroke();
  // A shape holding a coordinate that is not finite is left out whole; the next one is drawn.
  c.ctx.fill_rect(0, kNaN, 1, 1);
  c.ctx.stroke_rect(std::numeric_limits<double>::infinity(), 0, 1, 1);
  c.ctx.fill_text("x", 1, kNaN);
  c.ctx.begin_path();
  c.ctx.move_to(0, 1);
  c.ctx.quadratic_curve_to(1, 2, 3, 4);
  c.ctx.bezier_curve_to(1, 2, 3, 4, 5, 6);
  c.ctx.stroke();
  ASSERT_EQ(c.elements().size(), 1u);
  EXPECT_EQ(c.elements().at(0).at("d"), "M0.00 1.00 Q1.00 2.00 3.00 4.00 C1.00 2.00 3.00 4.00 5.00 6.00");
}

// Records the calls the interface's default operations make.
class Recorder final : public RenderContext {
 public:
  std::vector<std::string> calls;
  double chart_width() const override { return 640.5; }
  double chart_height() const override { return -1.0; }
  double bar_to_x(double) const override { return 0; }
  double price_to_y(double) const override { return 0; }
  void set_stroke_color(std::string_view) override {}
  void set_stroke_width(double) override {}
  void set_line_dash(std::span<const double> dash) override {
    std::string s = "dash";
    for (double v : dash) s += " " + std::to_string(static_cast<int>(v));
    calls.push_back(s);
  }
  void set_fill_color(std::string_view css) override { calls.push_back("fill " + std::string(css)); }
  void begin_path() override {}
  void move_to(double, double) override {}
  void line_to(double, double) override {}
  void close_path() override {}
  void stroke() override {}
  void fill() override {}
  void stroke_rect(double, double, double, double) override {}
  void fill_rect(double, double, double, double) override {}
  void ellipse(double, double, double, double, double, double, double) override {}
  void arc(double, double, double, double, double) override {}
  void quadratic_curve_to(double, double, double, double) override {}
  void bezier_curve_to(double, double, double, double, double, double) override {}
  void set_font(std::string_view) override {}
  void set_text_align(std::uint8_t) override {}
  void set_text_baseline(std::uint8_t) override {}
  void fill_text(std::string_view t, double x, double y) override {
    calls.push_back("text " + std::string(t) + " " + std::to_string(static_cast<int>(x)) + "," +
                    std::to_string(static_cast<int>(y)));
  }
  void stroke_text(std::string_view, double, double) override {}
  double measure_text(std::string_view) const override { return 0; }
  double dpr() const override { return 1; }
  void save() override { calls.push_back("save"); }
  void restore() override { calls.push_back("restore"); }
  void clip() override {}
  void translate(double dx, double dy) override {
    calls.push_back("translate " + std::to_string(static_cast<int>(dx)) + "," + std::to_string(static_cast<int>(dy)));
  }
  void rotate(double) override { calls.push_back("rotate"); }
  void scale(double, double) override {}
  void rect(double, double, double, double) override {}
  void set_global_alpha(double a) override { calls.push_back("alpha " + std::to_string(a)); }
  void set_line_cap(std::string_view) override {}
  void set_line_join(std::string_view) override {}
};

TEST(RenderContextDefaults, ExpressedThroughTheOtherOperations) {
  Recorder r;
  r.fill_text_rotated("a", 7, 9, 0.0);
  r.fill_text_rotated("b", 7, 9, 1.0);
  r.set_line_style(LineStyle::Solid);
  r.set_line_style(LineStyle::Dotted);
  r.set_line_style(LineStyle::LargeDashed);
  r.set_line_style(LineStyle::SparseDotted);
  r.set_fill_color_alpha("#abc", 0.25);
  r.reset_alpha();
  EXPECT_EQ(r.calls, (std::vector<std::string>{"text a 7,9", "save", "translate 7,9", "rotate", "text b 0,0",
                                               "restore", "dash", "dash 2 2", "dash 12 6", "dash 2 8", "fill #abc",
                                               "alpha 0.250000", "alpha 1.000000"}));
  EXPECT_EQ(r.canvas_width(), 640.5);
  EXPECT_EQ(r.width(), 640u);
  EXPECT_EQ(r.height(), 0u);
  EXPECT_FALSE(r.draw_image("", 0, 0, 0, 0));
}

}  // namespace
}  // namespace qc::primitives
