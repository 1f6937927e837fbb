// Gann fan: nine lines from the first anchor at fixed multiples of the slope the two anchors set (the 1x1
// line runs through the second).
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "primitives/catalog/gann/two_anchor.hpp"

namespace qc::primitives::catalog {

struct GannAngle {
  double multiple;  // of the 1x1 slope
  std::string_view name;
};

// Steepest first; the names are part of the table, the drawing uses the multiples.
inline constexpr std::array<GannAngle, 9> kGannAngles = {{{8.0, "8x1"},
                                                          {4.0, "4x1"},
                                                          {3.0, "3x1"},
                                                          {2.0, "2x1"},
                                                          {1.0, "1x1"},
                                                          {0.5, "1x2"},
                                                          {0.333, "1x3"},
                                                          {0.25, "1x4"},
                                                          {0.125, "1x8"}}};

class GannFan final : public GannTwoAnchor<GannFan> {
 public:
  static constexpr BuiltinType kType = BuiltinType::gann_fan;
  static constexpr Point kSecondOffset = {20.0, 20.0};

  bool extend = true;  // lines run on for the extension reach
  bool upward = true;  // false mirrors the fan about the horizontal through the origin

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
