// Breakdown: the bar where price broke through a level, as a dashed level segment, a triangle at the
// breaking price and a connector between them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class BreakdownType : std::uint8_t {
  SupportBreak,
  ResistanceBreak,
  TrendLineBreak,
  ChannelBreak,
  RangeBreak,
  MaBreak,
  SwingBreak,
  ConsolidationBreak,
  Custom,
};

constexpr std::string_view json_name(BreakdownType v) noexcept {
  return variant_name(v, std::array<std::string_view, 9>{"support_break", "resistance_break", "trend_line_break",
                                                         "channel_break", "range_break", "ma_break", "swing_break",
                                                         "consolidation_break", "custom"});
}

class Breakdown final : public PrimitiveBase<Breakdown> {
 public:
  static constexpr BuiltinType kType = BuiltinType::breakdown;
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;
  double price = 0.0;
  double level_price = 0.0;  // the broken level; not an anchor, so moving the marker leaves it
  BreakdownType breakdown_type = BreakdownType::SupportBreak;  // not drawn
  double size = 16.0;
  std::string level_name;  // not drawn

  static constexpr auto anchor_fields() { return std::array{AnchorField<Breakdown>{&Breakdown::bar, &Breakdown::price}}; }

  void place(std::span<const Point> points) {
    const Point at = point_or(points, 0, {0.0, 0.0});
    bar = at.bar;
    price = at.price;
    level_price = at.price;
  }
  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "level_price", level_price);
    json_entry(w, "breakdown_type", breakdown_type);
    json_entry(w, "size", size);
    json_entry(w, "level_name", level_name);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
