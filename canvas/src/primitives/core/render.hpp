// RenderContext: the canvas-like drawing interface through which every primitive draws itself.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/series/bar_columns.hpp"
#include "primitives/core/types.hpp"

namespace qc::primitives {

// Coordinates are pixels of the document, y downwards; bar_to_x and price_to_y map chart units to them.
// The operations stand in the order of the interface's dispatch table.
class RenderContext {
 public:
  virtual ~RenderContext() = default;

  virtual double chart_width() const = 0;
  virtual double chart_height() const = 0;
  virtual double bar_to_x(double bar) const = 0;
  virtual double price_to_y(double price) const = 0;
  virtual void set_stroke_color(std::string_view css) = 0;
  virtual void set_stroke_width(double width) = 0;
  virtual void set_line_dash(std::span<const double> dash) = 0;
  virtual void set_fill_color(std::string_view css) = 0;
  virtual void begin_path() = 0;
  virtual void move_to(double x, double y) = 0;
  virtual void line_to(double x, double y) = 0;
  virtual void close_path() = 0;
  virtual void stroke() = 0;
  virtual void fill() = 0;
  virtual void stroke_rect(double x, double y, double w, double h) = 0;
  virtual void fill_rect(double x, double y, double w, double h) = 0;
  virtual void ellipse(double cx, double cy, double rx, double ry, double rotation, double start_angle,
                       double end_angle) = 0;
  virtual void arc(double cx, double cy, double radius, double start_angle, double end_angle) = 0;
  virtual void quadratic_curve_to(double cx, double cy, double x, double y) = 0;
  virtual void bezier_curve_to(double c1x, double c1y, double c2x, double c2y, double x, double y) = 0;
  virtual void set_font(std::string_view font) = 0;
  virtual void set_text_align(std::uint8_t align) = 0;
  virtual void set_text_baseline(std::uint8_t baseline) = 0;
  virtual void fill_text(std::string_view text, double x, double y) = 0;
  virtual void stroke_text(std::string_view text, double x, double y) = 0;
  virtual double measure_text(std::string_view text) const = 0;
  // Draws the text at (x, y) turned by angle radians about that point.
  virtual void fill_text_rotated(std::string_view text, double x, double y, double angle);
  // Draws the text from x with its middle at middle_y, on the central baseline; a context that knows only
  // the alphabetic baseline writes it 0.3 of `font_size` below the middle.
  virtual void fill_text_central(std::string_view text, double x, double middle_y, double font_size);
  virtual double dpr() const = 0;
  virtual void save() = 0;
  virtual void restore() = 0;
  virtual void clip() = 0;
  virtual void translate(double dx, double dy) = 0;
  virtual void rotate(double angle) = 0;
  virtual void scale(double sx, double sy) = 0;
  virtual void rect(double x, double y, double w, double h) = 0;
  virtual double canvas_height() const { return chart_height(); }
  virtual double canvas_width() const { return chart_width(); }
  virtual std::uint32_t width() const;
  virtual std::uint32_t height() const;
  virtual void set_global_alpha(double alpha) = 0;
  virtual void set_line_cap(std::string_view cap) = 0;
  virtual void set_line_join(std::string_view join) = 0;
  // False when the context cannot draw images; the caller then draws its own placeholder.
  virtual bool draw_image(std::string_view source, double x, double y, double w, double h);
  virtual void set_line_style(LineStyle style) { set_line_dash(line_style_dash(style)); }
  // The alpha stays in force for everything drawn afterwards, until reset_alpha.
  virtual void set_fill_color_alpha(std::string_view css, double alpha) {
    set_fill_color(css);
    set_global_alpha(alpha);
  }
  virtual void reset_alpha() { set_global_alpha(1.0); }
  // The chart's bars, read-only, bar i where bar_to_x(i) stands: for the tools that measure them. Empty
  // where the context holds none.
  virtual model::BarsView bars() const { return {}; }
  // The colour the chart is painted on, for backings that keep a text readable over what lies under it;
  // empty where the context does not know it.
  virtual std::string_view background_color() const { return {}; }

 protected:
  RenderContext() = default;
  RenderContext(const RenderContext&) = default;
  RenderContext& operator=(const RenderContext&) = default;
};

}  // namespace qc::primitives
