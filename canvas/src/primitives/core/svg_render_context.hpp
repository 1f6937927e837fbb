// SvgRenderContext: the drawing context that writes a primitive's drawing into the SVG backend of a render.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "primitives/core/render.hpp"
#include "render/engine/path.hpp"
#include "render/engine/svg_backend.hpp"
#include "render/engine/types.hpp"

namespace qc::primitives {

// How one pane maps chart units to pixels: bar i sits at (i - first_bar + 0.5) * bar_spacing; a price at the
// y of the pane's own price mapping (linear or logarithmic). The main pane has top 0.
struct PaneMapping {
  double bar_spacing = 1.0;
  coords::PriceMapping prices;
  double first_bar = 0.0;  // the bar in the first slot: a view's first
};

// What the chart lends the tools drawn on it besides the mapping: its bars and its background colour,
// both borrowed for the context's lifetime.
struct ChartInputs {
  model::BarsView bars;
  std::string_view background;
};

// Whether a rotation is too small, infinite or not a number to draw as one: the text is drawn upright.
bool is_upright(double angle) noexcept;

// The state with a rotation by angle radians about (x, y) applied on top of its own transform; none when
// the resulting matrix is not finite (a point near the ends of the double range), so that no NaN or
// infinity is ever written into a transform.
std::optional<render::SvgState> rotated_about(const render::SvgState& state, double x, double y,
                                              double angle) noexcept;

// Made fresh for each primitive drawn and dropped afterwards, so nothing one primitive sets reaches the
// next. Starts with an empty path, no dash, stroke #2196F3 at width 2, a transparent fill, alpha 1 and
// font size 12. The drawing width and height are what the context reports as the chart's size: the extent
// of the area a tool's edges, extensions and right-aligned labels are measured against.
class SvgRenderContext final : public RenderContext {
 public:
  SvgRenderContext(render::SvgBackend& backend, const PaneMapping& pane, double dpr, double drawing_width,
                   double drawing_height, const ChartInputs& chart = {});

  double chart_width() const override { return chart_width_; }
  double chart_height() const override { return chart_height_; }
  double bar_to_x(double bar) const override;
  double price_to_y(double price) const override;
  void set_stroke_color(std::string_view css) override;
  void set_stroke_width(double width) override { stroke_.width = width; }
  void set_line_dash(std::span<const double> dash) override;
  void set_fill_color(std::string_view css) override;
  void begin_path() override { path_.clear(); }
  void move_to(double x, double y) override { path_.move_to(x, y); }
  void line_to(double x, double y) override { path_.line_to(x, y); }
  void close_path() override { path_.close(); }
  void stroke() override;
  void fill() override;
  void stroke_rect(double x, double y, double w, double h) override;
  void fill_rect(double x, double y, double w, double h) override;
  void ellipse(double cx, double cy, double rx, double ry, double rotation, double start_angle,
               double end_angle) override;
  void arc(double cx, double cy, double radius, double start_angle, double end_angle) override;
  void quadratic_curve_to(double cx, double cy, double x, double y) override { path_.quad_to(cx, cy, x, y); }
  void bezier_curve_to(double c1x, double c1y, double c2x, double c2y, double x, double y) override {
    path_.cubic_to(c1x, c1y, c2x, c2y, x, y);
  }
  void set_font(std::string_view font) override;
  void set_text_align(std::uint8_t) override {}
  void set_text_baseline(std::uint8_t) override {}
  void fill_text(std::string_view text, double x, double y) override;
  void fill_text_central(std::string_view text, double x, double middle_y, double font_size) override;
  void stroke_text(std::string_view, double, double) override {}
  double measure_text(std::string_view text) const override;
  void fill_text_rotated(std::string_view text, double x, double y, double angle) override;
  double dpr() const override { return dpr_; }
  // The SVG output has no clip or canvas transform stack: these do nothing.
  void save() override {}
  void restore() override {}
  void clip() override {}
  void translate(double, double) override {}
  void rotate(double) override {}
  void scale(double, double) override {}
  void rect(double x, double y, double w, double h) override;
  void set_global_alpha(double alpha) override;
  void set_line_cap(std::string_view) override {}
  void set_line_join(std::string_view) override {}
  model::BarsView bars() const override { return chart_.bars; }
  std::string_view background_color() const override { return chart_.background; }

  double font_size() const noexcept { return text_style_.font_size; }
  double global_alpha() const noexcept { return global_alpha_; }

 private:
  // A colour with its alpha scaled by the global alpha.
  render::Color effective(render::Color color) const noexcept;

  render::PathBuilder path_;
  render::SvgBackend& backend_;
  PaneMapping pane_;
  ChartInputs chart_;
  double dpr_;
  double chart_width_;
  double chart_height_;
  double global_alpha_ = 1.0;
  // The current stroke and text styles, updated in place so that drawing allocates nothing per element.
  render::StrokeStyle stroke_;
  render::Color stroke_color_;
  render::Color fill_color_ = render::kTransparent;
  render::TextStyle text_style_;
};

}  // namespace qc::primitives
