// Curve: a quadratic curve from a start point through the pull of a control point to an end point.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class Curve final : public PrimitiveBase<Curve> {
 public:
  static constexpr BuiltinType kType = BuiltinType::curve;
  static constexpr double kDefaultWidth = 2.0;

  double start_bar = 0.0;
  double start_price = 0.0;
  double control_bar = 0.0;
  double control_price = 0.0;
  double end_bar = 0.0;
  double end_price = 0.0;

  // Read back as start, control, end; given (factory and set_points) as start, end, control.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Curve>{&Curve::start_bar, &Curve::start_price},
                      AnchorField<Curve>{&Curve::control_bar, &Curve::control_price},
                      AnchorField<Curve>{&Curve::end_bar, &Curve::end_price}};
  }
  void place(std::span<const Point> points);
  // The start; a second point is the end and re-derives the control; a third is the control.
  void set_points(std::span<const Point> points) override;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  // The curve's own midpoint (t = 0.5), unaligned.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;

 private:
  // Above the middle of the chord by 0.3 of its price change, so a flat chord gives a straight curve.
  void derive_control() noexcept;
};

}  // namespace qc::primitives::catalog
