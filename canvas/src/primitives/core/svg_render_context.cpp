// SvgRenderContext: coordinate mapping, drawing state and the path, text and arc operations.
#include "primitives/core/svg_render_context.hpp"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <cmath>
#include <numbers>
#include <optional>
#include <variant>

#include "coords/price_mapping.hpp"
#include "util/parse_double.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives {

namespace {

// A tool whose own arithmetic overflowed (anchors near the ends of the double range) can hand over
// coordinates that are NaN or infinite. Written out they make a shape no SVG reader draws and break the
// document's promise of finite numbers, so such a shape is left out whole.
bool all_finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

struct FiniteCommand {
  bool operator()(const render::MoveTo& c) const { return all_finite({c.x, c.y}); }
  bool operator()(const render::LineTo& c) const { return all_finite({c.x, c.y}); }
  bool operator()(const render::QuadTo& c) const { return all_finite({c.cx, c.cy, c.x, c.y}); }
  bool operator()(const render::CubicTo& c) const { return all_finite({c.c1x, c.c1y, c.c2x, c.c2y, c.x, c.y}); }
  bool operator()(const render::Arc& c) const {
    return all_finite({c.cx, c.cy, c.radius, c.start_angle, c.end_angle});
  }
  bool operator()(const render::Ellipse& c) const {
    return all_finite({c.cx, c.cy, c.rx, c.ry, c.rotation, c.start_angle, c.end_angle});
  }
  bool operator()(const render::Close&) const { return true; }
};

bool finite_path(std::span<const render::PathCommand> commands) {
  return std::all_of(commands.begin(), commands.end(),
                     [](const render::PathCommand& c) { return std::visit(FiniteCommand{}, c); });
}

}  // namespace

bool is_upright(double angle) noexcept { return !(std::abs(angle) >= 0.001 && std::isfinite(angle)); }

std::optional<render::SvgState> rotated_about(const render::SvgState& state, double x, double y,
                                              double angle) noexcept {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const render::Transform rotation{c, s, -s, c, x - c * x + s * y, y - s * x - c * y};
  render::SvgState rotated = state;
  if (state.transform) {
    const render::Transform& t = *state.transform;
    rotated.transform = render::Transform{t.a * rotation.a + t.c * rotation.b, t.b * rotation.a + t.d * rotation.b,
                                          t.a * rotation.c + t.c * rotation.d, t.b * rotation.c + t.d * rotation.d,
                                          t.a * rotation.e + t.c * rotation.f + t.e,
                                          t.b * rotation.e + t.d * rotation.f + t.f};
  } else {
    rotated.transform = rotation;
  }
  const render::Transform& m = *rotated.transform;
  if (!all_finite({m.a, m.b, m.c, m.d, m.e, m.f})) return std::nullopt;
  return rotated;
}

SvgRenderContext::SvgRenderContext(render::SvgBackend& backend, const PaneMapping& pane, double dpr,
                                   double drawing_width, double drawing_height, const ChartInputs& chart)
    : path_(render::PathBuilder::with_capacity(16)),
      backend_(backend),
      pane_(pane),
      chart_(chart),
      dpr_(dpr),
      chart_width_(drawing_width),
      chart_height_(drawing_height),
      stroke_(render::StrokeStyle::solid(2.0, render::kOpaqueWhite)),
      stroke_color_(render::css_or("#2196F3", render::kOpaqueWhite)) {
  text_style_.baseline = render::TextBaseline::Alphabetic;
}

// Whole bars sit at (i - first bar + 0.5) * spacing; fractions below 0.001 are dropped; negative bars and NaN sit at
// bar 0, and bars beyond the last keep the same spacing.
double SvgRenderContext::bar_to_x(double bar) const {
  const double s = pane_.bar_spacing;
  const double floor = std::floor(bar);
  const auto i0 = util::saturating_cast<std::uint64_t>(floor);
  const auto i1 = util::saturating_cast<std::uint64_t>(std::ceil(bar));
  const double origin = pane_.first_bar;
  const double x0 = (static_cast<double>(i0) - origin + 0.5) * s;
  const double fraction = bar - floor;
  if (i0 == i1 || fraction < 0.001) return x0;
  return x0 + fraction * ((static_cast<double>(i1) - origin + 0.5) * s - x0);
}

double SvgRenderContext::price_to_y(double price) const {
  return pane_.prices.y(price);
}

void SvgRenderContext::set_stroke_color(std::string_view css) {
  stroke_color_ = render::css_or(css, render::kOpaqueWhite);
}

void SvgRenderContext::set_fill_color(std::string_view css) { fill_color_ = render::css_or(css, render::kTransparent); }

// An empty dash list stays present but empty, which draws solid and keeps the list's storage.
void SvgRenderContext::set_line_dash(std::span<const double> dash) {
  if (!stroke_.dash) stroke_.dash.emplace();
  stroke_.dash->assign(dash.begin(), dash.end());
}

render::Color SvgRenderContext::effective(render::Color color) const noexcept {
  color.a = util::saturating_cast<std::uint8_t>(std::clamp(global_alpha_, 0.0, 1.0) * color.a);
  return color;
}

void SvgRenderContext::stroke() {
  stroke_.color = effective(stroke_color_);
  if (finite_path(path_.commands())) backend_.stroke_path(path_.commands(), stroke_);
  path_.clear();
}

void SvgRenderContext::fill() {
  if (finite_path(path_.commands())) backend_.fill_path(path_.commands(), render::Solid{effective(fill_color_)});
  path_.clear();
}

void SvgRenderContext::stroke_rect(double x, double y, double w, double h) {
  stroke_.color = effective(stroke_color_);
  if (all_finite({x, y, w, h})) backend_.stroke_rect({x, y, w, h}, stroke_);
}

void SvgRenderContext::fill_rect(double x, double y, double w, double h) {
  if (all_finite({x, y, w, h})) backend_.fill_rect({x, y, w, h}, effective(fill_color_));
}

// A whole closed ellipse of four cubic curves; rotation and angles are not drawn.
void SvgRenderContext::ellipse(double cx, double cy, double rx, double ry, double, double, double) {
  constexpr double k = 0.5522847498;
  path_.move_to(cx - rx, cy);
  path_.cubic_to(cx - rx, cy - k * ry, cx - k * rx, cy - ry, cx, cy - ry);
  path_.cubic_to(cx + k * rx, cy - ry, cx + rx, cy - k * ry, cx + rx, cy);
  path_.cubic_to(cx + rx, cy + k * ry, cx + k * rx, cy + ry, cx, cy + ry);
  path_.cubic_to(cx - k * rx, cy + ry, cx - rx, cy + k * ry, cx - rx, cy);
  path_.close();
}

// Clockwise (increasing angle, y downwards) from start to end. A sweep of a whole turn or more is the
// whole circle, written as two half arcs because one SVG arc cannot start and end at the same point.
void SvgRenderContext::arc(double cx, double cy, double radius, double start_angle, double end_angle) {
  constexpr double kTurn = 2.0 * std::numbers::pi;
  double sweep = end_angle - start_angle;
  if (sweep < kTurn) {
    sweep = std::fmod(sweep, kTurn);
    if (sweep < 0.0) sweep += kTurn;
  }
  if (sweep >= kTurn) {
    path_.arc(cx, cy, radius, start_angle, start_angle + std::numbers::pi, false);
    path_.arc(cx, cy, radius, start_angle + std::numbers::pi, start_angle + kTurn, false);
    return;
  }
  path_.arc(cx, cy, radius, start_angle, start_angle + sweep, false);
}

// The number before the first "px" becomes the font size ("14px sans-serif", " 9.5 px"); a text whose
// head is not a plain number ("bold 12px Arial") leaves the size as it was.
void SvgRenderContext::set_font(std::string_view font) {
  std::string_view head = font.substr(0, font.find("px"));
  constexpr std::string_view kSpace = " \t\n\r\f\v";
  const auto first = head.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return;
  head = head.substr(first, head.find_last_not_of(kSpace) - first + 1);
  if (head.front() == '+') head.remove_prefix(1);
  double size = 0.0;
  const auto [end, ec] = util::parse_double(head.data(), head.data() + head.size(), size);
  if (ec == std::errc() && end == head.data() + head.size()) text_style_.font_size = size;
}

// Text is drawn in the current fill colour, like the canvas it imitates, from its start on the alphabetic
// baseline: every caption places its y there (boxes of 1.4 x the size around y hold text at y + 0.3 x size).
void SvgRenderContext::fill_text(std::string_view text, double x, double y) {
  text_style_.color = effective(fill_color_);
  if (all_finite({x, y})) backend_.text(text, text_style_, x, y);
}

void SvgRenderContext::fill_text_central(std::string_view text, double x, double middle_y, double) {
  text_style_.baseline = render::TextBaseline::Middle;
  fill_text(text, x, middle_y);
  text_style_.baseline = render::TextBaseline::Alphabetic;
}

double SvgRenderContext::measure_text(std::string_view text) const {
  return render::estimated_text_width(text, text_style_.font_size);
}

// The text at (x, y) under a rotation about that point, carried by the backend's transform state.
void SvgRenderContext::fill_text_rotated(std::string_view text, double x, double y, double angle) {
  if (is_upright(angle)) {
    fill_text(text, x, y);
    return;
  }
  const render::SvgState saved = backend_.state();
  const auto rotated = rotated_about(saved, x, y, angle);
  if (!rotated) return;
  backend_.set_state(*rotated);
  fill_text(text, x, y);
  backend_.set_state(saved);
}

void SvgRenderContext::rect(double x, double y, double w, double h) {
  path_.move_to(x, y).line_to(x + w, y).line_to(x + w, y + h).line_to(x, y + h).close();
}

void SvgRenderContext::set_global_alpha(double alpha) { global_alpha_ = std::clamp(alpha, 0.0, 1.0); }

}  // namespace qc::primitives
