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
constexpr const IndicatorSpec* kHandWritten[] = {&kSmaRow,         &kEmaRow,      &kRsiRow,   &kMacdRow,
                                                 &kMacdDefaultRow, &kBollingerRow, &kVolumeRow};
static_assert(std::ranges::all_of(kHandWritten, [](const IndicatorSpec* row) { return spec::well_formed(*row); }));

}  // namespace

const IndicatorSpec* find_declared_indicator(std::string_view method) {
  const auto* row = std::ranges::find(kDeclaredIndicators, method, &IndicatorSpec::method);
  return row == kDeclaredIndicators.end() ? nullptr : row;
}

const IndicatorSpec* find_study_row(std::string_view method) {
  for (const IndicatorSpec* row : kHandWritten) {
    if (row->method == method) return row;
  }
  return find_declared_indicator(method);
}

}  // namespace qc::api
