// Parallel channel: a base line between two anchors and a second line shifted by a price offset, with the
// band between them filled.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class ParallelChannel final : public PrimitiveBase<ParallelChannel> {
 public:
  static constexpr BuiltinType kType = BuiltinType::parallel_channel;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 10.0;
  double price2 = 0.0;
  double channel_offset = 0.0;  // price distance of the parallel line; negative puts it below
  bool extend_left = false;     // stored and written; the lines stop at the anchors
  bool extend_right = false;
  bool fill = true;
  double fill_opacity = 0.2;

  // translate moves these two; the offset is a size and stays.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<ParallelChannel>{&ParallelChannel::bar1, &ParallelChannel::price1},
                      AnchorField<ParallelChannel>{&ParallelChannel::bar2, &ParallelChannel::price2}};
  }
  // The base line's anchors, then the parallel line's start.
  std::vector<Point> points() const override;
  // Two points set the base line; a third sets the offset from its price. Fewer than two change nothing.
  void set_points(std::span<const Point> points) override;
  // Missing: the base line runs 10 bars flat and the offset is 5 % of the first price.
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
