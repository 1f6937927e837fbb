// The Python theme classes: Theme (legacy, two presets), UITheme (the four presets, read-only) and
// RuntimeTheme (modifiable, JSON load and save). None has a constructor; static methods make objects.
#pragma once

#include <string>
#include <string_view>

#include "class.hpp"
#include "params.hpp"
#include "core/theme/legacy_theme.hpp"
#include "core/theme/theme.hpp"

namespace qcpy {

// One static preset method of a theme class: its row's name, doc and (no) parameters, and the preset.
template <class Preset>
struct PresetMethod {
  const char* name;
  const char* doc;
  Params params;
  Preset preset;
};

struct ThemeClass {
  using Value = qc::theme::LegacyTheme;
  static constexpr const char* name = "Theme";
  static constexpr const char* doc = "Legacy simple theme (for backwards compatibility)";
  static ClassSpec spec();
  // The pickled state (see pickle.hpp).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

struct UIThemeClass {
  using Value = qc::theme::UITheme;
  static constexpr const char* name = "UITheme";
  static constexpr const char* doc =
      "Complete UI theme with all styling options (static, compile-time).\nUse RuntimeTheme for modifiable themes.";
  static ClassSpec spec();
  // The pickled state (see pickle.hpp).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

struct RuntimeThemeClass {
  using Value = qc::theme::RuntimeTheme;
  static constexpr const char* name = "RuntimeTheme";
  static constexpr const char* doc =
      "Runtime-modifiable theme with JSON serialization support.\nAll colors are owned strings that can be modified.";
  static ClassSpec spec();
  // The pickled state (see pickle.hpp).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

}  // namespace qcpy
