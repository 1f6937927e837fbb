// Compile-time checks of the indicator rows, and the look-up by method name.
#include "api/indicator_catalog.hpp"

#include <algorithm>

namespace qc::api {
namespace {

constexpr bool methods_unique() {
  for (std::size_t i = 0; i < kDeclaredIndicators.size(); ++i) {
    for (std::size_t j = i + 1; j < kDeclaredIndicators.size(); ++j) {
      if (kDeclaredIndicators[i].method == kDeclaredIndicators[j].method) return false;
    }
  }
  return true;
}

static_assert(std::ranges::all_of(kDeclaredIndicators, spec::well_formed));
static_assert(methods_unique());
static_assert(spec::well_formed(kSmaRow) && spec::well_formed(kEmaRow) && spec::well_formed(kRsiRow) &&
              spec::well_formed(kMacdRow) && spec::well_formed(kMacdDefaultRow) &&
              spec::well_formed(kBollingerRow) && spec::well_formed(kVolumeRow));

}  // namespace

const IndicatorSpec* find_declared_indicator(std::string_view method) {
  const auto* row = std::ranges::find(kDeclaredIndicators, method, &IndicatorSpec::method);
  return row == kDeclaredIndicators.end() ? nullptr : row;
}

}  // namespace qc::api
