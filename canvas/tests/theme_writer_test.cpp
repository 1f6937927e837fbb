// Theme JSON writer: golden fragments of the dark preset, member order, escapes and number forms by width.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/theme/theme.hpp"

namespace qc::theme {
namespace {

bool starts_with(const std::string& s, std::string_view prefix) { return std::string_view(s).starts_with(prefix); }
bool ends_with(const std::string& s, std::string_view suffix) { return std::string_view(s).ends_with(suffix); }
bool contains(const std::string& s, std::string_view part) { return s.find(part) != std::string::npos; }

// The text with every space, tab and line feed outside strings removed.
std::string strip_layout(const std::string& json) {
  std::string out;
  bool in_string = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (in_string) {
      out += c;
      if (c == '\\') out += json[++i];
      else if (c == '"') in_string = false;
    } else if (c == '"') {
      in_string = true;
      out += c;
    } else if (c != ' ' && c != '\n' && c != '\t' && c != '\r') {
      out += c;
    }
  }
  return out;
}

TEST(ThemeWriter, DarkCompactGoldenFragments) {
  const std::string json = RuntimeTheme::from_preset("dark").to_json();
  EXPECT_TRUE(starts_with(
      json,
      R"({"name":"Dark","colors":{"toolbar_bg":"#131722","button_bg":"#1e222d","button_bg_hover":"#2a2e39",)"
      R"("button_bg_active":"#2962ff","dropdown_bg":"#1e222d","button_hover_stroke":"transparent",)"
      R"("button_active_stroke":"transparent","button_rounding":4.0,"status_bar_bg":"#131722",)"));
  EXPECT_TRUE(contains(
      json, R"("warning":"#ff9800"},"chart":{"background":"#131722","grid_line":"#2a2e3999","scale_bg":"#1e222d",)"));
  EXPECT_TRUE(ends_with(json,
                        R"j("effects":{"transition_duration":"0.15s","shadow_dropdown":"0 8px 24px rgba(0,0,0,0.4)",)j"
                        R"j("shadow_floating":"0 4px 12px rgba(0,0,0,0.3)","hover_scale":0.97}})j"));
  EXPECT_TRUE(contains(json, R"("size_large":14.0,"weight_light":300)"));
  EXPECT_TRUE(contains(json, R"("sizing":{"top_toolbar_height":40.0,"left_toolbar_width":50.0,)"
                             R"("right_toolbar_width":48.0,"bottom_toolbar_height":32.0,)"));
}

TEST(ThemeWriter, DarkPrettyGoldenFragments) {
  const std::string json = RuntimeTheme::from_preset("dark").to_json_pretty();
  EXPECT_TRUE(starts_with(json,
                          "{\n"
                          "  \"name\": \"Dark\",\n"
                          "  \"colors\": {\n"
                          "    \"toolbar_bg\": \"#131722\",\n"
                          "    \"button_bg\": \"#1e222d\",\n"
                          "    \"button_bg_hover\": \"#2a2e39\",\n"
                          "    \"button_bg_active\": \"#2962ff\",\n"
                          "    \"dropdown_bg\": \"#1e222d\",\n"
                          "    \"button_hover_stroke\": \"transparent\",\n"
                          "    \"button_active_stroke\": \"transparent\",\n"
                          "    \"button_rounding\": 4.0,\n"
                          "    \"status_bar_bg\": \"#131722\",\n"));
  EXPECT_TRUE(contains(json,
                       "    \"warning\": \"#ff9800\"\n"
                       "  },\n"
                       "  \"chart\": {\n"
                       "    \"background\": \"#131722\",\n"
                       "    \"grid_line\": \"#2a2e3999\",\n"
                       "    \"scale_bg\": \"#1e222d\",\n"));
  EXPECT_TRUE(ends_with(json,
                        "  \"effects\": {\n"
                        "    \"transition_duration\": \"0.15s\",\n"
                        "    \"shadow_dropdown\": \"0 8px 24px rgba(0,0,0,0.4)\",\n"
                        "    \"shadow_floating\": \"0 4px 12px rgba(0,0,0,0.3)\",\n"
                        "    \"hover_scale\": 0.97\n"
                        "  }\n"
                        "}"));
}

TEST(ThemeWriter, PresetsLeaveAbsentOptionalTextsOut) {
  for (auto key : preset_keys) {
    const RuntimeTheme t = RuntimeTheme::from_preset(key);
    const std::string json = t.to_json();
    SCOPED_TRACE(key);
    EXPECT_TRUE(contains(json, "\"grid_line\":\"" + t.chart.grid_line + "\",\"scale_bg\":"));
    EXPECT_TRUE(contains(json, "\"candle_up_wick\":\"" + t.series.candle_up_wick + "\",\"candle_down_body\":"));
    EXPECT_TRUE(contains(json, "\"candle_down_wick\":\"" + t.series.candle_down_wick + "\",\"line_color\":"));
    EXPECT_FALSE(contains(json, "null"));
    EXPECT_EQ(strip_layout(t.to_json_pretty()), json);
    EXPECT_EQ(strip_layout(json), json);
  }
}

TEST(ThemeWriter, PresentOptionalTextsFollowTheirPlaceInTheFieldList) {
  RuntimeTheme t = RuntimeTheme::from_preset("dark");
  t.chart.grid_line_vert = "";
  t.chart.grid_line_horz = "#333333";
  t.series.candle_down_border = "#000000";
  const std::string json = t.to_json();
  EXPECT_TRUE(contains(json, R"("grid_line":"#2a2e3999","grid_line_horz":"#333333","grid_line_vert":"","scale_bg")"));
  EXPECT_TRUE(contains(json, R"("candle_down_wick":"#ef5350","candle_down_border":"#000000","line_color")"));
  EXPECT_TRUE(contains(json, R"("candle_up_wick":"#26a69a","candle_down_body")"));
}

TEST(ThemeWriter, TextsAreEscaped) {
  RuntimeTheme t = RuntimeTheme::from_preset("light");
  t.name = "q\"b\\t\t\x01/\xc3\xa9\x7f";
  t.colors.accent = "";
  t.fonts.family = std::string("nul\0end", 7);
  const std::string json = t.to_json();
  EXPECT_TRUE(starts_with(json, "{\"name\":\"q\\\"b\\\\t\\t\\u0001/\xc3\xa9\x7f\",\"colors\":"));
  EXPECT_TRUE(contains(json, R"("accent":"",)"));
  EXPECT_TRUE(contains(json, R"("family":"nul\u0000end",)"));
  EXPECT_EQ(strip_layout(t.to_json_pretty()), json);
}

TEST(ThemeWriter, NumbersAtTheirOwnWidth) {
  struct Case {
    void (*set)(RuntimeTheme&);
    const char* member;
  };
  constexpr double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {[](RuntimeTheme& t) { t.effects.hover_scale = 1e-6; }, R"("hover_scale":1e-6})"},
      {[](RuntimeTheme& t) { t.sizing.border_radius = 1e-6f; }, R"("border_radius":0.000001,)"},
      {[](RuntimeTheme& t) { t.colors.button_rounding = 0.1f; }, R"("button_rounding":0.1,)"},
      {[](RuntimeTheme& t) { t.sizing.button_height = 1e12f; }, R"("button_height":1000000000000.0,)"},
      {[](RuntimeTheme& t) { t.sizing.button_height = 1e13f; }, R"("button_height":1e+13,)"},
      {[](RuntimeTheme& t) { t.sizing.button_height = 1e-7f; }, R"("button_height":1e-7,)"},
      {[](RuntimeTheme& t) { t.series.line_width = 1e15; }, R"("line_width":1000000000000000.0,)"},
      {[](RuntimeTheme& t) { t.series.line_width = 1.5e16; }, R"("line_width":1.5e+16,)"},
      {[](RuntimeTheme& t) { t.series.line_width = -0.0; }, R"("line_width":-0.0,)"},
      {[](RuntimeTheme& t) { t.fonts.size_small = 13.5; }, R"("size_small":13.5,)"},
      {[](RuntimeTheme& t) { t.fonts.size_small = std::nan(""); }, R"("size_small":null,)"},
      {[](RuntimeTheme& t) { t.sizing.top_toolbar_height = static_cast<float>(-inf); }, R"("top_toolbar_height":null,)"},
      {[](RuntimeTheme& t) { t.effects.hover_scale = inf; }, R"("hover_scale":null})"},
      {[](RuntimeTheme& t) { t.fonts.weight_light = 0; }, R"("weight_light":0,)"},
      {[](RuntimeTheme& t) { t.fonts.status_bar_weight = 65535; }, R"("status_bar_weight":65535})"},
  };
  for (const auto& c : cases) {
    RuntimeTheme t = RuntimeTheme::from_preset("dark");
    c.set(t);
    EXPECT_TRUE(contains(t.to_json(), c.member)) << c.member;
  }
}

TEST(ThemeWriter, RepeatedCallsGiveTheSameText) {
  const RuntimeTheme t = RuntimeTheme::from_preset("cyberpunk");
  EXPECT_EQ(t.to_json(), t.to_json());
  const std::string pretty = t.to_json_pretty();
  EXPECT_EQ(pretty, t.to_json_pretty());
  EXPECT_NE(pretty.back(), '\n');
}

}  // namespace
}  // namespace qc::theme
