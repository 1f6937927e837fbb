// Rows of the Python classes UITheme (the four presets with sixteen read-only text properties) and Theme
// (the legacy two-preset theme with five).
#include "rows.hpp"
#include "theme.hpp"

namespace qcpy {
namespace {

using qc::theme::LegacyTheme;
using qc::theme::Preset;
using qc::theme::UITheme;

// The preset methods share one body; each row carries its preset.
PyObject* ui_preset(Call<UIThemeClass>& c) { return new_object<UIThemeClass>(UITheme::preset(c.data<Preset>())); }

constexpr Preset kDark = Preset::dark;
constexpr Preset kLight = Preset::light;
constexpr Preset kHighContrast = Preset::high_contrast;
constexpr Preset kCyberpunk = Preset::cyberpunk;

constexpr MethodRow<UIThemeClass> kUIMethods[] = {
    {"dark", "Create dark theme", {}, Borrow::none, ui_preset, &kDark},
    {"light", "Create light theme", {}, Borrow::none, ui_preset, &kLight},
    {"high_contrast", "Create high contrast theme (accessibility)", {}, Borrow::none, ui_preset, &kHighContrast},
    {"cyberpunk", "Create cyberpunk/neon theme", {}, Borrow::none, ui_preset, &kCyberpunk},
};

constexpr PropertyRow<UIThemeClass> kUIProperties[] = {
#define QC_THEME_PROPERTY(property, field, argument) {#property, [](const UITheme& t) { return to_py(t.field); }},
#include "theme_properties.def"
};

constexpr LegacyTheme kLegacyDark = LegacyTheme::dark();
constexpr LegacyTheme kLegacyLight = LegacyTheme::light();

PyObject* legacy_preset(Call<ThemeClass>& c) { return new_object<ThemeClass>(c.data<LegacyTheme>()); }

constexpr MethodRow<ThemeClass> kLegacyMethods[] = {
    {"dark", nullptr, {}, Borrow::none, legacy_preset, &kLegacyDark},
    {"light", nullptr, {}, Borrow::none, legacy_preset, &kLegacyLight},
};

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
