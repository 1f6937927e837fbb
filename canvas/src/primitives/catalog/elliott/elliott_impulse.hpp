// Elliott impulse wave: five waves through six points labelled 0 to 5.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "primitives/catalog/elliott/wave.hpp"
#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

enum class WaveDegree : std::uint8_t { Intermediate, Primary, Cycle, Supercycle, Minor, Minute, Minuette };
std::string_view json_name(WaveDegree degree) noexcept;

class ElliottImpulse final : public ElliottWave<ElliottImpulse, 6> {
 public:
  static constexpr BuiltinType kType = BuiltinType::elliott_impulse;

  WaveDegree degree = WaveDegree::Intermediate;  // stored and written; the drawing ignores it

  void write_fields(JsonWriter& w) const {
    write_wave_fields(w);
    json_entry(w, "degree", degree);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return pattern_text_anchor(data_, ctx, anchors);
  }
};

}  // namespace qc::primitives::catalog
