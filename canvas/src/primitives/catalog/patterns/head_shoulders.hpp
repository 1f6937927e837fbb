// Head and shoulders: seven turning points, the shoulders and head labelled, and a dashed neckline
// through the two troughs carried on past the right one.
#pragma once

#include <array>
#include <optional>

#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

class HeadShoulders final : public PrimitiveBase<HeadShoulders> {
 public:
  static constexpr BuiltinType kType = BuiltinType::head_shoulders;
  static constexpr double kDefaultWidth = 2.0;

  // start, left shoulder, left trough, head, right trough, right shoulder, end
  std::array<Point, 7> anchors{};
  bool show_neckline = true;
  bool inverted = false;  // stored and written; the drawing is the same either way

  void write_fields(JsonWriter& w) const {
    json_entry(w, "points", anchors);
    json_entry(w, "show_neckline", show_neckline);
    json_entry(w, "inverted", inverted);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return pattern_text_anchor(data_, ctx, anchors);
  }
};

}  // namespace qc::primitives::catalog
