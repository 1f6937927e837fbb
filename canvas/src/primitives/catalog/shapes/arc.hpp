// Arc: an open circular arc about a centre, its radius in bars, between two angles in degrees.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class Arc final : public PrimitiveBase<Arc> {
 public:
  static constexpr BuiltinType kType = BuiltinType::arc;
  static constexpr double kDefaultWidth = 2.0;

  double center_bar = 0.0;
  double center_price = 100.0;
  double radius_bars = 10.0;  // the pixel radius follows the bar axis alone
  double start_angle = 0.0;
  double end_angle = 180.0;   // 0..360 when derived from a point

  // Only the centre moves with translate.
  static constexpr auto anchor_fields() { return std::array{AnchorField<Arc>{&Arc::center_bar, &Arc::center_price}}; }

  // The centre, then the ends' bars at the centre's price.
  std::vector<Point> points() const override;
  // The centre; a second point the radius (start angle back to 0); a third the end angle by direction.
  void set_points(std::span<const Point> points) override;
  void place(std::span<const Point> points) { set_points(points); }

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  // At the centre.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
