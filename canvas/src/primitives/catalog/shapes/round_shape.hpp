// RoundShape: the centre-and-radii body of the circle and the ellipse, filled translucent and outlined.
#pragma once

#include <array>
#include <numbers>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/common/radial.hpp"

namespace qc::primitives::catalog {

// Derived supplies kMinPriceRadius (set_points' lower bound of the price radius) and bar_radius(), the
// member holding the radius in bars (the two types name it differently in their records).
template <class Derived>
class RoundShape : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 2.0;

  double center_bar = 0.0;
  double center_price = 0.0;
  double radius_price = 0.0;
  bool fill = true;
  double fill_opacity = 0.2;

  // Only the centre moves with translate; the radii stay.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::center_bar, &Derived::center_price}};
  }

  std::vector<Point> points() const override {
    return centre_and_corner(center_bar, center_price, bar_radius(), radius_price);
  }

  // The centre; a second point sets both radii from its distance to the new centre.
  void set_points(std::span<const Point> points) override {
    if (points.empty()) return;
    center_bar = points[0].bar;
    center_price = points[0].price;
    if (points.size() < 2) return;
    bar_radius() = radius_at_least(points[1].bar - center_bar, 1.0);
    radius_price = radius_at_least(points[1].price - center_price, Derived::kMinPriceRadius);
  }

  void render(RenderContext& ctx, bool) const override {
    constexpr double kTurn = 2.0 * std::numbers::pi;
    const PixelFrame f = frame(ctx);
    if (fill) {
      ctx.set_fill_color(fill_color_with_opacity(this->data_.color.stroke, fill_opacity));
      ctx.begin_path();
      ctx.ellipse(f.cx, f.cy, f.rx, f.ry, 0.0, 0.0, kTurn);
      ctx.fill();
    }
    StrokeScope stroke(ctx, this->data_);
    ctx.begin_path();
    ctx.ellipse(f.cx, f.cy, f.rx, f.ry, 0.0, 0.0, kTurn);
    ctx.stroke();
  }

  // The box rule on the shape's pixel frame.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    if (label_text(this->data_) == nullptr) return std::nullopt;
    const PixelFrame f = frame(ctx);
    return box_text_anchor(this->data_, {f.cx - f.rx, f.cy - f.ry, f.cx + f.rx, f.cy + f.ry});
  }

 protected:
  // The record's keys; the bar radius goes under the type's own key.
  void write_round_fields(JsonWriter& w, std::string_view bar_radius_key) const {
    json_entry(w, "center_bar", center_bar);
    json_entry(w, "center_price", center_price);
    json_entry(w, bar_radius_key, bar_radius());
    json_entry(w, "radius_price", radius_price);
    json_entry(w, "fill", fill);
    json_entry(w, "fill_opacity", fill_opacity);
  }

 private:
  PixelFrame frame(const RenderContext& ctx) const {
    return pixel_frame(ctx, center_bar, center_price, bar_radius(), radius_price);
  }
  double bar_radius() const { return static_cast<const Derived&>(*this).bar_radius(); }
  double& bar_radius() { return static_cast<Derived&>(*this).bar_radius(); }
};

}  // namespace qc::primitives::catalog
