// Preset selection by key, conversion of presets into runtime themes, and the shape of the field lists.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <type_traits>

#include "core/theme/legacy_theme.hpp"
#include "core/theme/theme.hpp"

namespace qc::theme {
namespace {

TEST(ThemeFields, CountsPerRecord) {
  EXPECT_EQ(field_count<RuntimeUIColors>(), 22u);
  EXPECT_EQ(field_count<RuntimeChartColors>(), 26u);
  EXPECT_EQ(field_count<RuntimeSeriesColors>(), 25u);
  EXPECT_EQ(field_count<RuntimeFonts>(), 23u);
  EXPECT_EQ(field_count<RuntimeSizing>(), 9u);
  EXPECT_EQ(field_count<RuntimeEffects>(), 4u);
  EXPECT_EQ(field_count<RuntimeTheme>(), 7u);
}

TEST(ThemeFields, PresetSizingLacksTheTwoToolbarSizes) {
  PresetSizing s = UITheme::preset(Preset::light).sizing;
  EXPECT_EQ(s.top_toolbar_height, 44.0f);
  EXPECT_EQ(s.left_toolbar_width, 48.0f);
  EXPECT_EQ(s.dropdown_min_width, 160.0f);
  static_assert(sizeof(PresetSizing) == 7 * sizeof(float));
}

TEST(ThemePresets, KeySelectsPresetByExactBytes) {
  struct Case {
    std::string key;
    const char* name;
  };
  const Case cases[] = {
      {"dark", "Dark"},
      {"light", "Light"},
      {"high_contrast", "High Contrast"},
      {"cyberpunk", "Cyberpunk"},
      {"", "Dark"},
      {"Dark", "Dark"},
      {"Light", "Dark"},
      {"LIGHT", "Dark"},
      {" light", "Dark"},
      {"light ", "Dark"},
      {"high-contrast", "Dark"},
      {"High Contrast", "Dark"},
      {"high_contrasT", "Dark"},
      {"cyberpunK", "Dark"},
      {"xyberpunk", "Dark"},
      {std::string("light\0", 6), "Dark"},
      {"anything else", "Dark"},
  };
  for (const auto& c : cases) EXPECT_EQ(RuntimeTheme::from_preset(c.key).name, c.name) << '"' << c.key << '"';
}

TEST(ThemePresets, UnknownKeysGiveTheWholeDarkTheme) {
  const RuntimeTheme dark = RuntimeTheme::from_preset("dark");
  EXPECT_EQ(RuntimeTheme::from_preset(""), dark);
  EXPECT_EQ(RuntimeTheme::from_preset("Cyberpunk"), dark);
  EXPECT_NE(RuntimeTheme::from_preset("light"), dark);
  // A theme's display name is never a key.
  for (auto key : preset_keys) EXPECT_EQ(RuntimeTheme::from_preset(RuntimeTheme::from_preset(key).name), dark);
}

TEST(ThemePresets, KeyListInPresetOrder) {
  ASSERT_EQ(preset_keys.size(), 4u);
  EXPECT_EQ(preset_keys[0], "dark");
  EXPECT_EQ(preset_keys[1], "light");
  EXPECT_EQ(preset_keys[2], "high_contrast");
  EXPECT_EQ(preset_keys[3], "cyberpunk");
  for (std::size_t i = 0; i < preset_keys.size(); ++i) {
    EXPECT_EQ(RuntimeTheme::from_preset(preset_keys[i]), RuntimeTheme::from(UITheme::preset(static_cast<Preset>(i))));
  }
}

bool same(const std::string& a, std::string_view b) { return a == b; }
bool same(const std::optional<std::string>& a, std::optional<std::string_view> b) {
  return a.has_value() == b.has_value() && (!a || *a == *b);
}
template <class Number>
  requires std::is_arithmetic_v<Number>
bool same(Number a, Number b) {
  return a == b;
}
template <class A, class B>
bool same(const A&, const B&) {
  return false;
}

// Compares the fields of a runtime group with the preset group's fields of the same key; returns how
// many keys the two share.
template <class Runtime, class PresetGroup>
std::size_t expect_same_values(const Runtime& runtime, const PresetGroup& preset) {
  std::size_t shared = 0;
  PresetGroup::for_each_field([&](std::string_view key, auto preset_member) {
    Runtime::for_each_field([&](std::string_view runtime_key, auto runtime_member) {
      if (key != runtime_key) return;
      ++shared;
      EXPECT_TRUE(same(runtime.*runtime_member, preset.*preset_member)) << key;
    });
  });
  return shared;
}

// Every value of the runtime theme equals the preset's, key by key, besides the two toolbar sizes that
// the conversion adds.
TEST(ThemePresets, ConversionCopiesEveryPresetValue) {
  for (std::size_t p = 0; p < preset_keys.size(); ++p) {
    const UITheme& preset = UITheme::preset(static_cast<Preset>(p));
    const RuntimeTheme t = RuntimeTheme::from(preset);
    SCOPED_TRACE(preset_keys[p]);
    EXPECT_EQ(t.name, preset.name);
    std::size_t shared = expect_same_values(t.colors, preset.colors) + expect_same_values(t.chart, preset.chart) +
                         expect_same_values(t.series, preset.series) + expect_same_values(t.fonts, preset.fonts) +
                         expect_same_values(t.sizing, preset.sizing) + expect_same_values(t.effects, preset.effects);
    EXPECT_EQ(shared, 107u);  // every value but the name and the two sizes that presets lack
    EXPECT_EQ(t.sizing.right_toolbar_width, 48.0f);
    EXPECT_EQ(t.sizing.bottom_toolbar_height, 32.0f);
    EXPECT_FALSE(t.chart.grid_line_horz);
    EXPECT_FALSE(t.chart.grid_line_vert);
    EXPECT_FALSE(t.series.candle_up_border);
    EXPECT_FALSE(t.series.candle_down_border);
  }
}

TEST(ThemePresets, SpotValuesFromEachGroup) {
  const RuntimeTheme dark = RuntimeTheme::from_preset("dark");
  const RuntimeTheme light = RuntimeTheme::from_preset("light");
  const RuntimeTheme contrast = RuntimeTheme::from_preset("high_contrast");
  const RuntimeTheme cyber = RuntimeTheme::from_preset("cyberpunk");
  EXPECT_EQ(dark.chart.grid_line, "#2a2e3999");
  EXPECT_EQ(light.chart.grid_line, "#0000000f");
  EXPECT_EQ(cyber.chart.grid_line, "#e9456026");
  EXPECT_EQ(contrast.chart.watermark_text, "rgba(255, 255, 255, 0.1)");
  EXPECT_EQ(cyber.colors.success, "#0f3460");
  EXPECT_EQ(light.series.baseline_line, "#9598a1");
  EXPECT_EQ(dark.series.baseline_line, "#758696");
  EXPECT_EQ(cyber.series.area_top, "rgba(0, 255, 245, 0.28)");
  EXPECT_EQ(contrast.fonts.family, "-apple-system, sans-serif");
  EXPECT_EQ(light.fonts.size_normal, 12.0);
  EXPECT_EQ(contrast.fonts.weight_bold, 700);
  EXPECT_EQ(cyber.fonts.watermark_weight, 400);
  EXPECT_EQ(cyber.sizing.border_radius, 0.0f);
  EXPECT_EQ(contrast.sizing.dropdown_min_width, 180.0f);
  EXPECT_EQ(light.effects.shadow_dropdown, "0 8px 24px rgba(0,0,0,0.15)");
  EXPECT_EQ(dark.effects.hover_scale, 0.97);
  EXPECT_EQ(cyber.effects.hover_scale, 1.02);
  EXPECT_EQ(contrast.effects.transition_duration, "0s");
}

TEST(ThemePresets, RuntimeThemesShareNothing) {
  RuntimeTheme a = RuntimeTheme::from_preset("dark");
  const RuntimeTheme b = a;
  a.colors.accent = "#000000";
  a.chart.background.clear();
  EXPECT_EQ(b.colors.accent, "#2962ff");
  EXPECT_EQ(RuntimeTheme::from_preset("dark").colors.accent, "#2962ff");
  EXPECT_EQ(RuntimeTheme::from_preset("dark").chart.background, "#131722");
  // Fields that hold equal texts stay separate fields.
  EXPECT_EQ(a.colors.button_bg_active, "#2962ff");
}

TEST(LegacyTheme, TwoPresets) {
  constexpr LegacyTheme dark = LegacyTheme::dark();
  constexpr LegacyTheme light = LegacyTheme::light();
  EXPECT_EQ(dark.bg_color, "#131722");
  EXPECT_EQ(dark.text_color, "#b2b5be");
  EXPECT_EQ(dark.grid_color, "#2a2e3999");
  EXPECT_EQ(light.bg_color, "#ffffff");
  EXPECT_EQ(light.text_color, "#434651");
  EXPECT_EQ(light.grid_color, "#0000000f");
  EXPECT_EQ(dark.candle_up, light.candle_up);
  EXPECT_EQ(dark.candle_down, "#ef5350");
}

}  // namespace
}  // namespace qc::theme
