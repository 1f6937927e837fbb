// The four built-in presets as constants, and the conversion of a preset into a runtime theme.
#include <cstddef>

#include "core/theme/theme.hpp"

namespace qc::theme {
namespace {

constexpr std::array<std::string_view, 4> display_names = {
#define QC_THEME_PRESET(id, key, display_name) display_name,
#include "core/theme/presets.def"
};

template <std::size_t Column>
constexpr UITheme make_preset() {
  return {
      .name = display_names[Column],
      .colors = PresetUIColors::preset_column<Column>(),
      .chart = PresetChartColors::preset_column<Column>(),
      .series = PresetSeriesColors::preset_column<Column>(),
      .fonts = PresetFonts::preset_column<Column>(),
      .sizing = PresetSizing::preset_column<Column>(),
      .effects = PresetEffects::preset_column<Column>(),
  };
}

constexpr UITheme presets[] = {make_preset<0>(), make_preset<1>(), make_preset<2>(), make_preset<3>()};
static_assert(std::size(presets) == preset_keys.size());

}  // namespace

const UITheme& UITheme::preset(Preset which) { return presets[static_cast<std::size_t>(which)]; }

RuntimeTheme RuntimeTheme::from_preset(std::string_view key) {
  Preset which = Preset::dark;
  for (std::size_t i = 0; i < preset_keys.size(); ++i) {
    if (preset_keys[i] == key) which = static_cast<Preset>(i);
  }
  return from(UITheme::preset(which));
}

RuntimeTheme RuntimeTheme::from(const UITheme& preset) {
  return {
      .name = std::string(preset.name),
      .colors = RuntimeUIColors::from(preset.colors),
      .chart = RuntimeChartColors::from(preset.chart),
      .series = RuntimeSeriesColors::from(preset.series),
      .fonts = RuntimeFonts::from(preset.fonts),
      .sizing = RuntimeSizing::from(preset.sizing),
      .effects = RuntimeEffects::from(preset.effects),
  };
}

}  // namespace qc::theme
