// Elliott correction: three waves through four points labelled Start, A, B, C.
#pragma once

#include <cstdint>
#include <string_view>

#include "primitives/catalog/elliott/wave.hpp"

namespace qc::primitives::catalog {

enum class CorrectionType : std::uint8_t { Zigzag, Flat, Expanded, Running };
std::string_view json_name(CorrectionType type) noexcept;

class ElliottCorrection final : public ElliottWave<ElliottCorrection, 4> {
 public:
  static constexpr BuiltinType kType = BuiltinType::elliott_correction;

  CorrectionType correction_type = CorrectionType::Zigzag;  // stored and written; the drawing ignores it

  void write_fields(JsonWriter& w) const {
    write_wave_fields(w);
    json_entry(w, "correction_type", correction_type);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
