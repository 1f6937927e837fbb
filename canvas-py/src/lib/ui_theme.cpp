// Rows of the Python classes UITheme (the four presets with sixteen read-only text properties) and Theme
// (the legacy two-preset theme with five).
#include "rows.hpp"
#include "theme.hpp"

namespace qcpy {
namespace {

using qc::theme::LegacyTheme;
using qc::theme::Preset;
using qc::theme::UITheme;

constexpr PresetMethod<Preset> kUIPresets[] = {
    {"dark", "Create dark theme", {}, Preset::dark},
    {"light", "Create light theme", {}, Preset::light},
    {"high_contrast", "Create high contrast theme (accessibility)", {}, Preset::high_contrast},
    {"cyberpunk", "Create cyberpunk/neon theme", {}, Preset::cyberpunk},
};

PyObject* ui_preset(Call<UIThemeClass>& c) {
  return new_object<UIThemeClass>(UITheme::preset(c.data<PresetMethod<Preset>>().preset));
}

constexpr auto kUIMethods = rows_from<UIThemeClass, kUIPresets>(Borrow::none, ui_preset);

constexpr PropertyRow<UIThemeClass> kUIProperties[] = {
#define QC_THEME_PROPERTY(property, field, argument) {#property, [](const UITheme& t) { return to_py(t.field); }},
#include "theme_properties.def"
};

constexpr PresetMethod<LegacyTheme> kLegacyPresets[] = {
    {"dark", nullptr, {}, LegacyTheme::dark()},
    {"light", nullptr, {}, LegacyTheme::light()},
};

PyObject* legacy_preset(Call<ThemeClass>& c) {
  return new_object<ThemeClass>(c.data<PresetMethod<LegacyTheme>>().preset);
}

constexpr auto kLegacyMethods = rows_from<ThemeClass, kLegacyPresets>(Borrow::none, legacy_preset);

constexpr PropertyRow<ThemeClass> kLegacyProperties[] = {
    {"bg_color", [](const LegacyTheme& t) { return to_py(t.bg_color); }},
    {"text_color", [](const LegacyTheme& t) { return to_py(t.text_color); }},
    {"grid_color", [](const LegacyTheme& t) { return to_py(t.grid_color); }},
    {"candle_up", [](const LegacyTheme& t) { return to_py(t.candle_up); }},
    {"candle_down", [](const LegacyTheme& t) { return to_py(t.candle_down); }},
};

}  // namespace

ClassSpec UIThemeClass::spec() {
  ClassSpec s = class_spec<UIThemeClass>();
  s.methods = {method_defs<kUIMethods>()};
  s.properties = property_defs<kUIProperties>();
  return s;
}

ClassSpec ThemeClass::spec() {
  ClassSpec s = class_spec<ThemeClass>();
  s.methods = {method_defs<kLegacyMethods>()};
  s.properties = property_defs<kLegacyProperties>();
  return s;
}

}  // namespace qcpy
