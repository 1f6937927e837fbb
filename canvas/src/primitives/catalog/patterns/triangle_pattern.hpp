// Triangle pattern: an upper and a lower boundary between two bars, dashed edges, a light fill and a
// short label naming the triangle's type.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

// Selects only the label; the geometry always comes from the four prices.
enum class TriangleType : std::uint8_t { Symmetrical, Ascending, Descending, Expanding };
std::string_view json_name(TriangleType type) noexcept;

class TrianglePattern final : public PrimitiveBase<TrianglePattern> {
 public:
  static constexpr BuiltinType kType = BuiltinType::triangle_pattern;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1_top = 100.0;
  double price1_bottom = 90.0;
  double bar2 = 20.0;
  double price2_top = 97.0;
  double price2_bottom = 93.0;
  TriangleType triangle_type = TriangleType::Symmetrical;
  bool show_labels = true;

  // The bottom anchors take only a price: their bar is the edge's bar.
  static constexpr auto anchor_fields() {
    using F = AnchorField<TrianglePattern>;
    return std::array{F{&TrianglePattern::bar1, &TrianglePattern::price1_top},
                      F{nullptr, &TrianglePattern::price1_bottom},
                      F{&TrianglePattern::bar2, &TrianglePattern::price2_top},
                      F{nullptr, &TrianglePattern::price2_bottom}};
  }
  std::vector<Point> points() const override {
    return {{bar1, price1_top}, {bar1, price1_bottom}, {bar2, price2_top}, {bar2, price2_bottom}};
  }
  // Missing points keep the fixed default prices; the right edge defaults to 20 bars after the left. Three
  // points leave the lower right price to the pattern: the lower line mirrors the upper one (a symmetrical
  // triangle), so it ends beside the given prices instead of at a fixed default far off any real chart.
  void place(std::span<const Point> given);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
