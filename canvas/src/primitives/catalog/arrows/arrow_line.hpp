// Arrow line: a straight line between two anchors with filled heads at either or both ends.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/lines/segment.hpp"

namespace qc::primitives::catalog {

class ArrowLine final : public Segment<ArrowLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::arrow_line;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr SetRule kSetRule = SetRule::AsManyAsGiven;

  bool arrow_start = false;
  bool arrow_end = true;
  double arrow_size = 12.0;  // head length in pixels

  // A missing second anchor lies 10 bars right of the first.
  void place(std::span<const Point> points) {
    const Point a = point_or(points, 0, {});
    const Point b = point_or(points, 1, {a.bar + 10.0, a.price});
    set_points(std::array{a, b});
  }

  void write_fields(JsonWriter& w) const {
    this->write_anchor_fields(w);
    json_entry(w, "arrow_start", arrow_start);
    json_entry(w, "arrow_end", arrow_end);
    json_entry(w, "arrow_size", arrow_size);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
