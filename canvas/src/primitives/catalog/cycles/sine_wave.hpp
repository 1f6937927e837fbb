// Sine wave: a fixed-amplitude pixel sine between two anchors' x positions, around their mean height.
#pragma once

#include <optional>
#include <span>

#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog {

class SineWave final : public TwoPoint<SineWave> {
 public:
  static constexpr BuiltinType kType = BuiltinType::sine_wave;
  static constexpr double kDefaultWidth = 2.0;

  double amplitude = 10.0;  // half-height in pixels
  double cycles = 2.0;      // full periods between the anchors

  // Without points the wave starts at (0, 100); a lone anchor starts a wave 40 bars long at its own price.
  void place(std::span<const Point> points) { place_two(points, {0.0, 100.0}, {40.0, 0.0}); }

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "amplitude", amplitude);
    json_entry(w, "cycles", cycles);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
