// Disjoint channel: two independent lines, each between its own two anchors, with the band between them
// filled.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class DisjointChannel final : public PrimitiveBase<DisjointChannel> {
 public:
  static constexpr BuiltinType kType = BuiltinType::disjoint_channel;
  static constexpr double kDefaultWidth = 2.0;

  double line1_bar1 = 0.0;
  double line1_price1 = 0.0;
  double line1_bar2 = 0.0;
  double line1_price2 = 0.0;
  double line2_bar1 = 0.0;
  double line2_price1 = 0.0;
  double line2_bar2 = 0.0;
  double line2_price2 = 0.0;
  bool fill = true;
  double fill_opacity = 0.2;
  bool extend_right = false;  // stored and written; the lines stop at the anchors

  using D = DisjointChannel;
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<D>{&D::line1_bar1, &D::line1_price1}, AnchorField<D>{&D::line1_bar2, &D::line1_price2},
                      AnchorField<D>{&D::line2_bar1, &D::line2_price1}, AnchorField<D>{&D::line2_bar2, &D::line2_price2}};
  }

  void place(std::span<const Point> points);
  // As many as given; with exactly three, line 2 runs from the third point parallel to line 1 up to line
  // 1's end bar.
  void set_points(std::span<const Point> points) override;
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
