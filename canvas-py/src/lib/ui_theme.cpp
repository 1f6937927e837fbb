// Rows of the Python classes UITheme (the four presets with sixteen read-only text properties) and Theme
// (the legacy two-preset theme with five).
#include <cstddef>
#include <span>

#include "pickle.hpp"
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

constexpr auto kUIMethods = rows_from<UIThemeClass, kUIPresets>(Borrow::none, ui_preset, "UITheme");

constexpr PropertyRow<UIThemeClass> kUIProperties[] = {
#define QC_THEME_PROPERTY(property, field, argument) {#property, "str", [](const UITheme& t) { return to_py(t.field); }},
#include "theme_properties.def"
};

constexpr PresetMethod<LegacyTheme> kLegacyPresets[] = {
    {"dark", "Create dark theme", {}, LegacyTheme::dark()},
    {"light", "Create light theme", {}, LegacyTheme::light()},
};

PyObject* legacy_preset(Call<ThemeClass>& c) {
  return new_object<ThemeClass>(c.data<PresetMethod<LegacyTheme>>().preset);
}

constexpr auto kLegacyMethods = rows_from<ThemeClass, kLegacyPresets>(Borrow::none, legacy_preset, "Theme");

constexpr PropertyRow<ThemeClass> kLegacyProperties[] = {
    {"bg_color", "str", [](const LegacyTheme& t) { return to_py(t.bg_color); }},
    {"text_color", "str", [](const LegacyTheme& t) { return to_py(t.text_color); }},
    {"grid_color", "str", [](const LegacyTheme& t) { return to_py(t.grid_color); }},
    {"candle_up", "str", [](const LegacyTheme& t) { return to_py(t.candle_up); }},
    {"candle_down", "str", [](const LegacyTheme& t) { return to_py(t.candle_down); }},
};

// Objects of both classes hold one of their presets, so the state is the preset's method name.
template <class Value, class Preset>
std::string preset_name(std::span<const PresetMethod<Preset>> presets, const Value& value, Value (*make)(Preset)) {
  for (const auto& p : presets) {
    if (make(p.preset) == value) return p.name;
  }
  throw Panic("a theme object that holds no preset");
}

template <class Value, class Preset>
Value from_preset_name(std::span<const PresetMethod<Preset>> presets, std::string_view state, Value (*make)(Preset),
                       const char* cls) {
  for (const auto& p : presets) {
    if (state == p.name) return make(p.preset);
  }
  PyErr_Format(PyExc_ValueError, "a pickled %s names no preset", cls);
  throw PyErrorPending{};
}

UITheme ui_theme_of(Preset p) { return UITheme::preset(p); }
LegacyTheme legacy_theme_of(LegacyTheme t) { return t; }

}  // namespace

std::string UIThemeClass::state(const UITheme& t) {
  return preset_name<UITheme, Preset>(kUIPresets, t, ui_theme_of);
}

UITheme UIThemeClass::from_state(std::string_view state) {
  return from_preset_name<UITheme, Preset>(kUIPresets, state, ui_theme_of, name);
}

std::string ThemeClass::state(const LegacyTheme& t) {
  return preset_name<LegacyTheme, LegacyTheme>(kLegacyPresets, t, legacy_theme_of);
}

LegacyTheme ThemeClass::from_state(std::string_view state) {
  return from_preset_name<LegacyTheme, LegacyTheme>(kLegacyPresets, state, legacy_theme_of, name);
}

ClassSpec UIThemeClass::spec() {
  ClassSpec s = class_spec<UIThemeClass>();
  s.methods = {method_defs<kUIMethods>(), pickle_methods<UIThemeClass>()};
  s.properties = property_defs<kUIProperties>();
  return s;
}

ClassSpec ThemeClass::spec() {
  ClassSpec s = class_spec<ThemeClass>();
  s.methods = {method_defs<kLegacyMethods>(), pickle_methods<ThemeClass>()};
  s.properties = property_defs<kLegacyProperties>();
  return s;
}

}  // namespace qcpy
