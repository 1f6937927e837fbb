// Theme records: the modifiable RuntimeTheme, the preset UITheme, the built-in presets and their keys,
// and the theme JSON document.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/theme/groups.hpp"

namespace qc::theme {

enum class Preset : std::uint8_t {
#define QC_THEME_PRESET(id, key, display_name) id,
#include "core/theme/presets.def"
};

// The preset keys in preset order: "dark", "light", "high_contrast", "cyberpunk".
inline constexpr std::array<std::string_view, 4> preset_keys = {
#define QC_THEME_PRESET(id, key, display_name) key,
#include "core/theme/presets.def"
};

// A preset theme: constants only, without the right and bottom toolbar sizes.
struct UITheme {
  std::string_view name;
  PresetUIColors colors;
  PresetChartColors chart;
  PresetSeriesColors series;
  PresetFonts fonts;
  PresetSizing sizing;
  PresetEffects effects;

  static const UITheme& preset(Preset which);

  bool operator==(const UITheme&) const = default;
};

// A modifiable theme that owns every text; written to and read from the theme JSON document.
struct RuntimeTheme {
  std::string name;
  RuntimeUIColors colors;
  RuntimeChartColors chart;
  RuntimeSeriesColors series;
  RuntimeFonts fonts;
  RuntimeSizing sizing;
  RuntimeEffects effects;

  // Calls f(key, pointer to member) for the document's top-level members in key order.
  template <class F>
  static constexpr void for_each_field(F&& f) {
    f(std::string_view{"name"}, &RuntimeTheme::name);
    f(std::string_view{"colors"}, &RuntimeTheme::colors);
    f(std::string_view{"chart"}, &RuntimeTheme::chart);
    f(std::string_view{"series"}, &RuntimeTheme::series);
    f(std::string_view{"fonts"}, &RuntimeTheme::fonts);
    f(std::string_view{"sizing"}, &RuntimeTheme::sizing);
    f(std::string_view{"effects"}, &RuntimeTheme::effects);
  }

  // The preset whose key equals `key` byte for byte; the dark preset for any other text.
  static RuntimeTheme from_preset(std::string_view key);
  static RuntimeTheme from(const UITheme& preset);

  // The document on one line without whitespace outside strings, or indented by two spaces a level.
  std::string to_json() const;
  std::string to_json_pretty() const;

  // The theme of a document in object or array form; none for any text that is not one. When `error` is
  // given it receives the reason of a failure.
  static std::optional<RuntimeTheme> from_json(std::string_view text, std::string* error = nullptr);

  bool operator==(const RuntimeTheme&) const = default;
};

}  // namespace qc::theme
