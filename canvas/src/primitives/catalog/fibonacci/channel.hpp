// Fib channel: lines parallel to a base line P1-P2 at ratios of the offset that reaches P3.
#pragma once

#include <optional>
#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibChannel final : public fibonacci::ThreeAnchor<FibChannel> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_channel;
  static constexpr double kDefaultWidth = 1.0;
  // Missing anchors: P2 20 bars on and 10 up from P1, P3 20 above P1.
  static constexpr Point kSecondOffset{20.0, 10.0};
  static constexpr Point third_from(Point p1, Point) { return fibonacci::offset(p1, {0.0, 20.0}); }

  std::vector<double> levels{0.0, 0.236, 0.382, 0.5, 0.618, 0.786, 1.0};
  bool show_prices = true;  // stored and written; nothing is drawn for it
  bool extend = true;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
