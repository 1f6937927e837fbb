// The six theme groups, each generated in two forms from its field list: the runtime form that owns its
// texts and the preset form that views constant texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace qc::theme {

// Field kinds of the lists, as held by a runtime record.
struct OwnedValues {
  using Text = std::string;
  using OptText = std::optional<std::string>;
  using F32 = float;
  using F64 = double;
  using U16 = std::uint16_t;
};

// Field kinds of the lists, as held by a preset: texts are views of constants that live for the program.
struct FixedValues {
  using Text = std::string_view;
  using OptText = std::optional<std::string_view>;
  using F32 = float;
  using F64 = double;
  using U16 = std::uint16_t;
};

namespace detail {

inline std::string owned(std::string_view text) { return std::string(text); }

inline std::optional<std::string> owned(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  return std::string(*text);
}

template <class Number>
  requires std::is_arithmetic_v<Number>
constexpr Number owned(Number value) {
  return value;
}

// The Column-th of a list row's preset values, as the field's type.
template <class T, std::size_t Column, class... Values>
constexpr T column(const Values&... values) {
  return T(std::get<Column>(std::tie(values...)));
}

}  // namespace detail

template <class V>
struct UIColorsOf {
  using Self = UIColorsOf;
#define QC_THEME_LIST "core/theme/ui_colors.def"
#include "core/theme/group_body.inc"
};

template <class V>
struct ChartColorsOf {
  using Self = ChartColorsOf;
#define QC_THEME_LIST "core/theme/chart_colors.def"
#include "core/theme/group_body.inc"
};

template <class V>
struct SeriesColorsOf {
  using Self = SeriesColorsOf;
#define QC_THEME_LIST "core/theme/series_colors.def"
#include "core/theme/group_body.inc"
};

template <class V>
struct FontsOf {
  using Self = FontsOf;
#define QC_THEME_LIST "core/theme/fonts.def"
#include "core/theme/group_body.inc"
};

template <class V>
struct EffectsOf {
  using Self = EffectsOf;
#define QC_THEME_LIST "core/theme/effects.def"
#include "core/theme/group_body.inc"
};

// Sizing is the one group whose forms differ in fields: a preset lacks the right and bottom toolbar sizes.
struct RuntimeSizing {
  using Self = RuntimeSizing;
  using V = OwnedValues;
#define QC_THEME_LIST "core/theme/sizing.def"
#include "core/theme/group_body.inc"
};

struct PresetSizing {
  using Self = PresetSizing;
  using V = FixedValues;
#define QC_THEME_SKIP_RUNTIME_FIELDS
#define QC_THEME_LIST "core/theme/sizing.def"
#include "core/theme/group_body.inc"
};

using RuntimeUIColors = UIColorsOf<OwnedValues>;
using RuntimeChartColors = ChartColorsOf<OwnedValues>;
using RuntimeSeriesColors = SeriesColorsOf<OwnedValues>;
using RuntimeFonts = FontsOf<OwnedValues>;
using RuntimeEffects = EffectsOf<OwnedValues>;

using PresetUIColors = UIColorsOf<FixedValues>;
using PresetChartColors = ChartColorsOf<FixedValues>;
using PresetSeriesColors = SeriesColorsOf<FixedValues>;
using PresetFonts = FontsOf<FixedValues>;
using PresetEffects = EffectsOf<FixedValues>;

// Number of fields of a record, in the order its for_each_field walks them.
template <class Record>
constexpr std::size_t field_count() {
  std::size_t n = 0;
  Record::for_each_field([&](std::string_view, auto) { ++n; });
  return n;
}

}  // namespace qc::theme
