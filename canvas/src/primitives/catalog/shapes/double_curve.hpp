// Double curve: one cubic curve from a start to an end anchor, bent in an S by two control anchors.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class DoubleCurve final : public PrimitiveBase<DoubleCurve> {
 public:
  static constexpr BuiltinType kType = BuiltinType::double_curve;
  static constexpr double kDefaultWidth = 2.0;

  double start_bar = 0.0;
  double start_price = 0.0;
  double control1_bar = 0.0;
  double control1_price = 0.0;
  double control2_bar = 0.0;
  double control2_price = 0.0;
  double end_bar = 0.0;
  double end_price = 0.0;

  // Given and read back as start, end, control 1, control 2 (the JSON keys keep the curve's order).
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<DoubleCurve>{&DoubleCurve::start_bar, &DoubleCurve::start_price},
                      AnchorField<DoubleCurve>{&DoubleCurve::end_bar, &DoubleCurve::end_price},
                      AnchorField<DoubleCurve>{&DoubleCurve::control1_bar, &DoubleCurve::control1_price},
                      AnchorField<DoubleCurve>{&DoubleCurve::control2_bar, &DoubleCurve::control2_price}};
  }
  // Missing controls bend away from the chord by 0.3 of its price change: up near the start, down near
  // the end.
  void place(std::span<const Point> points);
  // A new end re-derives both controls at the middle price before given controls replace them.
  void set_points(std::span<const Point> points) override;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  // The curve's own midpoint (t = 0.5), unaligned.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;

 private:
  // Controls at a third and two thirds of the bar span, start_price + rise and end_price - rise.
  void derive_controls(double rise) noexcept;
  void take_controls(std::span<const Point> points) noexcept;
};

}  // namespace qc::primitives::catalog
