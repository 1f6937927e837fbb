// Regression trend: a dashed centre line between two anchors inside a band of equal width above and
// below, the width derived from the anchors' prices alone.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class RegressionTrend final : public PrimitiveBase<RegressionTrend> {
 public:
  static constexpr BuiltinType kType = BuiltinType::regression_trend;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 20.0;
  double price2 = 0.0;
  double std_dev_mult = 2.0;         // the band's half-width is this / 2 times the base deviation
  bool use_upper_deviation = false;  // stored and written; nothing reads it
  bool show_center = true;
  bool fill = true;
  double fill_opacity = 0.2;
  bool extend_right = false;  // stored and written; the lines stop at the anchors

  static constexpr SetRule kSetRule = SetRule::AllOrNothing;
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<RegressionTrend>{&RegressionTrend::bar1, &RegressionTrend::price1},
                      AnchorField<RegressionTrend>{&RegressionTrend::bar2, &RegressionTrend::price2}};
  }
  // A missing second anchor lies 20 bars right of the first at the same price.
  void place(std::span<const Point> points);
  // Distance of the band's edges from the centre line, in price units.
  double half_width() const noexcept;
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
