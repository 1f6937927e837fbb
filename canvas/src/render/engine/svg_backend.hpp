// The SVG backend: every drawing operation appends one element to the body text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "render/engine/backend.hpp"
#include "render/engine/path.hpp"
#include "render/engine/types.hpp"
#include "util/text_buffer.hpp"

namespace qc::render {

// An affine matrix (a, b, c, d, e, f) as in SVG's matrix().
struct Transform {
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;
  friend bool operator==(const Transform&, const Transform&) = default;
};

// Written into every element as its transform and opacity attributes.
struct SvgState {
  std::optional<Transform> transform;
  double opacity = 1.0;
};

class SvgBackend {
 public:
  static constexpr std::size_t kBodyCapacity = 65536;

  SvgBackend(double width, double height, double dpr);

  // The drawing operations; coordinates are pixels with y growing downwards. An element whose stroke width,
  // dash length, radius or font size is NaN or infinite is not written.
  void fill_rect(const Rect& rect, Color color);
  void stroke_rect(const Rect& rect, const StrokeStyle& stroke);
  void fill_circle(double cx, double cy, double radius, Color color);
  void stroke_circle(double cx, double cy, double radius, const StrokeStyle& stroke);
  void line(double x1, double y1, double x2, double y2, const StrokeStyle& stroke);
  void polyline(std::span<const PixelPoint> points, const StrokeStyle& stroke);  // < 2 points: nothing
  void stroke_path(std::span<const PathCommand> path, const StrokeStyle& stroke);
  void fill_path(std::span<const PathCommand> path, const FillKind& fill);  // gradients also go to defs
  void text(std::string_view content, const TextStyle& style, double x, double y);

  // The attribute texts the elements are made of, for callers that write their own markup.
  static std::string color_to_css(Color color);
  static std::string line_style_attrs(const StrokeStyle& stroke);
  static std::string path_to_d(std::span<const PathCommand> path);
  std::string transform_attr() const;
  std::string opacity_attr() const;

  const SvgState& state() const { return state_; }
  void set_state(const SvgState& state) { state_ = state; }

  double width() const { return width_; }
  double height() const { return height_; }
  double dpr() const { return dpr_; }
  std::uint32_t gradient_counter() const { return gradient_counter_; }

  std::string_view body() const { return body_.view(); }
  std::string_view defs() const { return defs_.view(); }
  // For markup that is not one of the element templates (the document's own background, say).
  util::TextBuffer& body_buffer() { return body_; }
  std::string take_body() { return body_.take(); }
  // The body without a copy; the backend's body is empty afterwards.
  util::TextBuffer take_body_buffer() { return std::exchange(body_, util::TextBuffer()); }
  std::string take_defs() { return defs_.take(); }

 private:
  SvgState state_;
  util::TextBuffer body_;
  util::TextBuffer defs_;
  double width_;
  double height_;
  double dpr_;
  std::uint32_t gradient_counter_ = 0;
};

static_assert(RenderBackend<SvgBackend>);

}  // namespace qc::render
