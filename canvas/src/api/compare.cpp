// Compared closes and the bases of relative scales.
#include "api/compare.hpp"

#include <cmath>
#include <utility>

#include "api/indicator_catalog.hpp"

namespace qc::api {

model::Indicator compare_indicator(std::string_view name, model::Values closes, std::string_view color) {
  model::Indicator ind = model::Indicator::make("compare", name);
  ind.own_base = true;
  // Drawn as the caller's own overlays are.
  model::IndicatorVector vec =
      model::IndicatorVector::make(name, model::VectorStyle::line(color, kOverlayRow.vectors[0].size));
  vec.values = std::move(closes);
  return std::move(ind).add_vector(std::move(vec));
}

std::optional<std::size_t> main_base_index(model::BarsView drawn, std::size_t first) {
  const auto closes = drawn.close;
  for (std::size_t k = 0; k < closes.size(); ++k) {
    if (std::isfinite(closes[k])) {
      if (closes[k] == 0) return std::nullopt;
      return first + k;
    }
  }
  return std::nullopt;
}

std::optional<double> own_base(const model::Indicator& line, ValueIndices at) {
  if (line.vectors.empty()) return std::nullopt;
  for (const double v : at.of(line.vectors[0].values)) {
    if (std::isfinite(v)) return v != 0 ? std::optional(v) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace qc::api
