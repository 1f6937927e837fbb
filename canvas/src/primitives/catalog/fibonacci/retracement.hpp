// Fib retracement: one horizontal line per level across a price move, optional bands between levels.
#pragma once

#include <optional>
#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibRetracement final : public fibonacci::TwoAnchor<FibRetracement> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_retracement;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr Point kSecondOffset{10.0, 0.0};

  std::vector<FibLevelConfig> levels = default_levels();
  // The parts of each level's label: its price, and its ratio (written as a ratio, not a percentage).
  bool show_prices = true;
  bool show_percentages = true;
  // Stored and written; bands are switched per level.
  bool extend_left = false;
  bool extend_right = true;
  bool show_fill = false;
  double fill_opacity = 0.1;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;

 private:
  static std::vector<FibLevelConfig> default_levels();
};

}  // namespace qc::primitives::catalog
