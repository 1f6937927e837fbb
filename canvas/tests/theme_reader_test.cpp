// Theme JSON reader: round trips, accepted document variants, number kinds and widths, and the refusals
// with their messages.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "core/theme/theme.hpp"

namespace qc::theme {
namespace {

const std::string& dark_json() {
  static const std::string json = RuntimeTheme::from_preset("dark").to_json();
  return json;
}

// `doc` with the first `from` replaced by `to`.
std::string with(std::string doc, std::string_view from, std::string_view to) {
  const std::size_t at = doc.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) doc.replace(at, from.size(), to);
  return doc;
}

// The value text of top-level member `key` in a compact document written by the writer.
std::string group_text(const std::string& doc, std::string_view key) {
  const std::string start = "\"" + std::string(key) + "\":{";
  const std::size_t from = doc.find(start) + start.size() - 1;
  return doc.substr(from, doc.find('}', from) + 1 - from);
}

// The dark document in array form at the top level, its groups as objects.
std::string dark_as_array() {
  const std::string& doc = dark_json();
  std::string out = "[\"Dark\"";
  for (auto key : {"colors", "chart", "series", "fonts", "sizing", "effects"}) out += "," + group_text(doc, key);
  return out + "]";
}

struct Read {
  std::optional<RuntimeTheme> theme;
  std::string error;
};

Read read(std::string_view text) {
  Read r;
  r.theme = RuntimeTheme::from_json(text, &r.error);
  return r;
}

TEST(ThemeReader, PresetsRoundTripInBothForms) {
  for (auto key : preset_keys) {
    const RuntimeTheme t = RuntimeTheme::from_preset(key);
    EXPECT_EQ(RuntimeTheme::from_json(t.to_json()), t) << key;
    EXPECT_EQ(RuntimeTheme::from_json(t.to_json_pretty()), t) << key;
  }
}

TEST(ThemeReader, AwkwardValuesRoundTrip) {
  RuntimeTheme t = RuntimeTheme::from_preset("cyberpunk");
  std::string controls;
  for (char c = 0; c < 0x20; ++c) controls += c;
  t.name = controls + "\"\\/\x7f";
  t.colors.accent = "\xc3\xa9\xe2\x82\xac\xf0\x9f\x93\x88";
  t.chart.background = "";
  t.chart.grid_line_vert = "";
  t.series.candle_up_border = std::string("a\0b", 3);
  t.series.line_width = -0.0;
  t.fonts.size_small = 5e-324;
  t.fonts.size_large = 1.7976931348623157e308;
  t.fonts.weight_light = 0;
  t.fonts.weight_bold = 65535;
  t.sizing.border_radius = std::numeric_limits<float>::denorm_min();
  t.sizing.button_height = std::numeric_limits<float>::max();
  t.colors.button_rounding = -0.0f;
  t.effects.hover_scale = 0.1 + 0.2;
  for (const std::string& text : {t.to_json(), t.to_json_pretty()}) {
    const auto back = RuntimeTheme::from_json(text);
    ASSERT_TRUE(back) << text;
    EXPECT_EQ(*back, t);
    EXPECT_TRUE(std::signbit(back->series.line_width));
    EXPECT_TRUE(std::signbit(back->colors.button_rounding));
    EXPECT_EQ(back->to_json(), t.to_json());
  }
}

TEST(ThemeReader, AcceptedVariantsReadAsTheDarkPreset) {
  const RuntimeTheme dark = RuntimeTheme::from_preset("dark");
  const std::string& doc = dark_json();
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const std::string variants[] = {
      " \t\r\n" + doc + "\n\r\t ",
      dark.to_json_pretty(),
      dark_as_array(),
      with(doc, R"({"name")", R"({"zzz":{"a":[1,-2.5e-3,{"b":null,"c":[true,false,"\u00e9"]}]},"zzz":1,"name")"),
      with(doc, R"("scale_bg")", R"("unknown":[[],{}],"Background":"x","scale_bg")"),
      with(doc, R"("scale_bg")", "\"deep\":" + deep + ",\"scale_bg\""),
      with(doc, R"("name")", R"("n\u0061m\u0065")"),
      with(doc, R"("grid_line")", R"("grid_line_horz":null,"grid_line_vert":null,"grid_line")"),
      with(doc, R"("candle_down_wick")", R"("candle_down_border":null,"candle_down_wick")"),
      with(doc, R"("size_normal":13.0)", R"("size_normal":13)"),
      with(doc, R"("size_normal":13.0)", R"("size_normal":1.3e1)"),
      with(doc, R"("size_normal":13.0)", R"("size_normal":130E-1)"),
      with(doc, R"("line_width":2.0)", R"("line_width":20e-1)"),
      with(doc, R"("button_rounding":4.0)", R"("button_rounding":4)"),
      with(doc, R"("button_rounding":4.0)", R"("button_rounding":4e0)"),
      with(doc, group_text(doc, "sizing"),
           R"({"dropdown_min_width":160,"border_radius":4,"button_padding_y":6,"button_padding_x":12,)"
           R"("button_height":28,"bottom_toolbar_height":32,"right_toolbar_width":48,"left_toolbar_width":50,)"
           R"("top_toolbar_height":40})"),
      with(doc, group_text(doc, "sizing"), "[40, 50, 48, 32, 28, 12, 6, 4, 160]"),
      with(doc, group_text(doc, "effects"),
           R"j(["0.15s","0 8px 24px rgba(0,0,0,0.4)","0 4px 12px rgba(0,0,0,0.3)",0.97])j"),
      with(doc, group_text(doc, "effects"),
           R"j({"hover_scale":0.97,"shadow_floating":"0 4px 12px rgba(0,0,0,0.3)",)j"
           R"j("shadow_dropdown":"0 8px 24px rgba(0,0,0,0.4)","transition_duration":"0.15s"})j"),
  };
  for (const auto& text : variants) {
    const Read r = read(text);
    EXPECT_TRUE(r.theme) << r.error << "\n" << text.substr(0, 300);
    if (r.theme) {
      EXPECT_EQ(*r.theme, dark) << text.substr(0, 300);
    }
  }
}

TEST(ThemeReader, OptionalTextsAndEscapes) {
  const std::string& doc = dark_json();
  const auto t = RuntimeTheme::from_json(
      with(with(doc, R"("scale_bg")", R"("grid_line_vert":"","scale_bg")"), R"("name":"Dark")",
           R"("name":"a\"\\\/\b\f\n\r\t\u0000\u00e9\u20ac\ud83d\udcc8\uD83D\uDCC8")"));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->name, std::string("a\"\\/\b\f\n\r\t\0\xc3\xa9\xe2\x82\xac\xf0\x9f\x93\x88\xf0\x9f\x93\x88", 23));
  EXPECT_EQ(t->chart.grid_line_vert, "");
  EXPECT_FALSE(t->chart.grid_line_horz);
}

TEST(ThemeReader, NumbersReadByKindAndWidth) {
  const std::string& doc = dark_json();
  struct FloatCase {
    const char* text;
    float value;
  };
  constexpr float inf = std::numeric_limits<float>::infinity();
  const FloatCase floats[] = {
      {"0.1", 0.1f},
      {"-2.5", -2.5f},
      {"1e39", inf},
      {"-1e39", -inf},
      {"3.4028235677973362e38", std::numeric_limits<float>::max()},
      {"3.4028235677973366e38", inf},
      {"-0", -0.0f},
      {"1e-50", 0.0f},
      // An integer is rounded once, straight to 32 bits; the same number written as a float goes by way of
      // its 64-bit value and rounds twice.
      {"1152921573326323713", 0x1.000002p60f},
      {"1152921573326323713.0", 0x1p60f},
      {"-1152921573326323713", -0x1.000002p60f},
      {"18446744073709551615", 0x1p64f},
      {"18446744073709551616", 0x1p64f},
  };
  for (const auto& c : floats) {
    const Read r = read(with(doc, R"("border_radius":4.0)", std::string(R"("border_radius":)") + c.text));
    ASSERT_TRUE(r.theme) << c.text << ": " << r.error;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r.theme->sizing.border_radius), std::bit_cast<std::uint32_t>(c.value))
        << c.text;
  }
  struct DoubleCase {
    const char* text;
    double value;
  };
  const DoubleCase doubles[] = {
      {"13", 13.0},
      {"-0", -0.0},
      {"-0.0", -0.0},
      {"0", 0.0},
      {"-9223372036854775808", -9223372036854775808.0},
      {"-9223372036854775809", -9223372036854775809.0},
      {"1e-400", 0.0},
      {"-1e-400", -0.0},
      {"0.000000000000000000000000000000000000001e-300", 0.0},
      {"2.4703282292062328e-324", 5e-324},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
  };
  for (const auto& c : doubles) {
    const Read r = read(with(doc, R"("hover_scale":0.97)", std::string(R"("hover_scale":)") + c.text));
    ASSERT_TRUE(r.theme) << c.text << ": " << r.error;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(r.theme->effects.hover_scale), std::bit_cast<std::uint64_t>(c.value))
        << c.text;
  }
  for (const auto& [text, value] : {std::pair{"0", 0}, {"65535", 65535}, {"400", 400}}) {
    const Read r = read(with(doc, R"("weight_light":300)", std::string(R"("weight_light":)") + text));
    ASSERT_TRUE(r.theme) << text << ": " << r.error;
    EXPECT_EQ(r.theme->fonts.weight_light, value);
  }
}

struct Refusal {
  std::string text;
  std::string message;  // the whole message, or empty where only the failure matters
};

void expect_refused(const Refusal& c) {
  const Read r = read(c.text);
  EXPECT_FALSE(r.theme) << c.text.substr(0, 300);
  EXPECT_FALSE(r.error.empty());
  if (!c.message.empty()) {
    EXPECT_EQ(r.error, c.message) << c.text.substr(0, 300);
  }
}

TEST(ThemeReader, RefusesWhatIsNoDocument) {
  const std::string& doc = dark_json();
  const Refusal cases[] = {
      {"", ""},
      {" \n\t\r ", ""},
      {"\xef\xbb\xbf" + doc, ""},
      {"\f" + doc, ""},
      {"\v" + doc, ""},
      {doc + "x", ""},
      {doc + "{}", ""},
      {doc + " // comment", ""},
      {doc + doc, ""},
      {doc.substr(0, doc.size() - 1), ""},
      {doc.substr(0, doc.size() / 2), ""},
      {"null", "invalid type: null, expected struct RuntimeTheme"},
      {"true", "invalid type: boolean `true`, expected struct RuntimeTheme"},
      {"false", "invalid type: boolean `false`, expected struct RuntimeTheme"},
      {"12", "invalid type: integer `12`, expected struct RuntimeTheme"},
      {"-1.5", "invalid type: floating point `-1.5`, expected struct RuntimeTheme"},
      {R"("Dark")", R"(invalid type: string "Dark", expected struct RuntimeTheme)"},
      {"{}", "missing field `name`"},
      {"[]", "invalid length 0, expected struct RuntimeTheme with 7 elements"},
      {with(dark_as_array(), R"j(,{"transition_duration")j", R"j(]j)j"), ""},
      {"nul", ""},
      {"tru", ""},
  };
  for (const auto& c : cases) expect_refused(c);
  // A 6-element array: the effects group removed.
  std::string six = dark_as_array();
  six = six.substr(0, six.rfind(",{\"transition_duration\"")) + "]";
  expect_refused({six, "invalid length 6, expected struct RuntimeTheme with 7 elements"});
  expect_refused({with(dark_as_array(), "}]", "},null]"), ""});
  expect_refused({with(dark_as_array(), "}]", "},]"), ""});
}

TEST(ThemeReader, RefusesBadMembers) {
  const std::string& doc = dark_json();
  const Refusal cases[] = {
      {with(doc, R"("name":"Dark")", R"("name":"Dark","name":"Dark")"), "duplicate field `name`"},
      {with(doc, R"("name":"Dark")", R"("Name":"Dark")"), "missing field `name`"},
      {with(doc, R"("colors")", R"("COLORS")"), "missing field `colors`"},
      {with(doc, R"("name":"Dark")", R"("name":null)"), "invalid type: null, expected a string"},
      {with(doc, R"("toolbar_bg":"#131722",)", ""), "missing field `toolbar_bg`"},
      {with(with(doc, R"("toolbar_bg":"#131722",)", ""), R"(,"warning":"#ff9800")", ""), "missing field `toolbar_bg`"},
      {with(doc, R"(,"warning":"#ff9800")", ""), "missing field `warning`"},
      {with(doc, R"("button_rounding":4.0,)", ""), "missing field `button_rounding`"},
      {with(doc, R"("toolbar_bg":"#131722")", R"("toolbar_bg":null)"), "invalid type: null, expected a string"},
      {with(doc, group_text(doc, "colors"), "null"), "invalid type: null, expected struct RuntimeUIColors"},
      {with(doc, group_text(doc, "colors"), "7"), "invalid type: integer `7`, expected struct RuntimeUIColors"},
      {with(doc, group_text(doc, "colors"), R"("x")"), R"(invalid type: string "x", expected struct RuntimeUIColors)"},
      {with(doc, group_text(doc, "colors"), "{}"), "missing field `toolbar_bg`"},
      {with(doc, R"("button_rounding":4.0)", R"("button_rounding":"4")"),
       R"(invalid type: string "4", expected f32)"},
      {with(doc, R"("button_rounding":4.0)", R"("button_rounding":true)"), "invalid type: boolean `true`, expected f32"},
      {with(doc, R"("button_rounding":4.0)", R"("button_rounding":{})"), "invalid type: map, expected f32"},
      {with(doc, R"("background":"#131722")", R"("background":"a","background":"a")"), "duplicate field `background`"},
      {with(doc, R"("scale_bg")", R"("grid_line_vert":null,"grid_line_vert":"#000000","scale_bg")"),
       "duplicate field `grid_line_vert`"},
      {with(doc, R"("background":"#131722",)", R"("Background":"#131722",)"), "missing field `background`"},
      {with(with(doc, R"("background":"#131722",)", ""), R"(,"frame_border":"#2a2e39")", ""),
       "missing field `background`"},
      {with(doc, R"("scale_bg")", R"("grid_line_horz":7,"scale_bg")"), "invalid type: integer `7`, expected a string"},
      {with(doc, group_text(doc, "chart"), "true"), "invalid type: boolean `true`, expected struct RuntimeChartColors"},
      {with(doc, R"("ma_fast":"#2962ff")", R"("ma_fast":"#2962ff","ma_fast":"#2962ff")"), "duplicate field `ma_fast`"},
      {with(doc, R"("line_width":2.0)", R"("line_width":"2")"), R"(invalid type: string "2", expected f64)"},
      {with(doc, R"("line_width":2.0)", R"("line_width":null)"), "invalid type: null, expected f64"},
      {with(doc, R"("line_width":2.0)", R"("Line_width":2.0)"), "missing field `line_width`"},
      {with(doc, R"("candle_up_body":"#26a69a",)", ""), "missing field `candle_up_body`"},
      {with(doc, group_text(doc, "series"), "[]"), "invalid length 0, expected struct RuntimeSeriesColors with 25 elements"},
      {with(doc, R"("size_normal":13.0)", R"("size_normal":"13")"), R"(invalid type: string "13", expected f64)"},
      {with(doc, R"("weight_light":300)", R"("weight_light":400.0)"), "invalid type: floating point `400.0`, expected u16"},
      {with(doc, R"("weight_light":300)", R"("weight_light":4e2)"), "invalid type: floating point `400.0`, expected u16"},
      {with(doc, R"("weight_light":300)", R"("weight_light":-0)"), "invalid type: floating point `-0.0`, expected u16"},
      {with(doc, R"("weight_light":300)", R"("weight_light":65536)"), "invalid value: integer `65536`, expected u16"},
      {with(doc, R"("weight_light":300)", R"("weight_light":-1)"), "invalid value: integer `-1`, expected u16"},
      {with(doc, R"("weight_light":300)", R"("weight_light":18446744073709551616)"),
       "invalid type: floating point `1.8446744073709552e+19`, expected u16"},
      {with(doc, R"("weight_light":300)", R"("weight_light":"300")"), R"(invalid type: string "300", expected u16)"},
      {with(doc, R"("weight_light":300)", R"("weight_light":null)"), "invalid type: null, expected u16"},
      {with(doc, R"(,"status_bar_weight":400)", ""), "missing field `status_bar_weight`"},
      {with(with(doc, R"("family":"-apple)", R"("x":"-apple)"), R"(,"status_bar_weight":400)", ""),
       "missing field `family`"},
      {with(doc, group_text(doc, "fonts"), "\"x\""), R"(invalid type: string "x", expected struct RuntimeFonts)"},
      {with(doc, group_text(doc, "sizing"), "null"), "invalid type: null, expected struct RuntimeSizing"},
      {with(doc, group_text(doc, "sizing"), "[40,50,48,32,28,12,6,4]"),
       "invalid length 8, expected struct RuntimeSizing with 9 elements"},
      {with(doc, group_text(doc, "sizing"), "[40,50,48,32,28,12,6,4,160,1]"), ""},
      {with(doc, group_text(doc, "sizing"), "[40,50,48,32,28,12,6,4,160,]"), ""},
      {with(doc, group_text(doc, "sizing"), "[40,50,48,32,28,12,6,4,,160]"), ""},
      {with(doc, R"("border_radius":4.0)", R"("border_radius":null)"), "invalid type: null, expected f32"},
      {with(doc, group_text(doc, "effects"), "[]"), "invalid length 0, expected struct RuntimeEffects with 4 elements"},
      {with(doc, group_text(doc, "effects"), R"(["a","b","c","d"])"), R"(invalid type: string "d", expected f64)"},
      {with(doc, group_text(doc, "effects"), "12"), "invalid type: integer `12`, expected struct RuntimeEffects"},
      {with(doc, R"("hover_scale":0.97)", R"("hover_scale":0.97,"hover_scale":0.97)"), "duplicate field `hover_scale`"},
      {with(doc, R"j("shadow_floating":"0 4px 12px rgba(0,0,0,0.3)",)j", R"("hover_scale":1,)"),
       "duplicate field `hover_scale`"},
      {with(doc, R"j("shadow_floating":"0 4px 12px rgba(0,0,0,0.3)","hover_scale":0.97)j", R"("x":1)"),
       "missing field `shadow_floating`"},
      {with(doc, R"("transition_duration":"0.15s")", R"("transition_duration":null)"),
       "invalid type: null, expected a string"},
      {with(doc, R"("size_small":11.0)", R"("size_small":1e400)"), ""},
      {with(doc, R"("weight_light":300)", R"("weight_light":-1e400)"), ""},
  };
  for (const auto& c : cases) expect_refused(c);
}

TEST(ThemeReader, RefusesArrayFormsOfTheWrongLengthOrType) {
  const std::string& doc = dark_json();
  const auto array_of = [](int n, const char* value) {
    std::string out = "[";
    for (int i = 0; i < n; ++i) out += (i ? "," : "") + std::string(value);
    return out + "]";
  };
  const auto texts_number_texts = [&](int before, const char* number, int after) {
    std::string out = array_of(before, R"("t")");
    out.pop_back();
    return out + "," + number + "," + array_of(after, R"("t")").substr(1);
  };
  std::string colors21 = texts_number_texts(7, "4", 13);
  std::string colors23 = texts_number_texts(7, "4", 15);
  std::string colors_text8 = array_of(22, R"("#000000")");
  std::string colors_number1 = "[4.0," + array_of(21, R"("#000000")").substr(1);
  const Refusal cases[] = {
      {with(doc, group_text(doc, "colors"), colors21), "invalid length 21, expected struct RuntimeUIColors with 22 elements"},
      {with(doc, group_text(doc, "colors"), colors23), ""},
      {with(doc, group_text(doc, "colors"), colors_text8), R"(invalid type: string "#000000", expected f32)"},
      {with(doc, group_text(doc, "colors"), colors_number1), "invalid type: floating point `4.0`, expected a string"},
      {with(doc, group_text(doc, "chart"), array_of(25, "null")), "invalid type: null, expected a string"},
      {with(doc, group_text(doc, "chart"), array_of(25, R"("")")),
       "invalid length 25, expected struct RuntimeChartColors with 26 elements"},
      {with(doc, group_text(doc, "chart"), array_of(27, R"("")")), ""},
      {with(doc, group_text(doc, "series"), texts_number_texts(7, "2", 16)),
       "invalid length 24, expected struct RuntimeSeriesColors with 25 elements"},
      {with(doc, group_text(doc, "series"), array_of(25, R"("")")), R"(invalid type: string "", expected f64)"},
      {with(doc, group_text(doc, "fonts"), "[1]"), "invalid type: integer `1`, expected a string"},
      {with(doc, group_text(doc, "fonts"), R"(["a","b","c",1,2,3,400.5])"),
       "invalid type: floating point `400.5`, expected u16"},
  };
  for (const auto& c : cases) expect_refused(c);
  // Complete arrays of the right kinds read: optional texts as null, the number where its field stands.
  const std::string chart = R"(["c","c",null,null,)" + array_of(22, R"("c")").substr(1);
  const std::string series = R"(["a","b",null,"d","e",null,"g",2,)" + array_of(17, R"("x")").substr(1);
  const Read r = read(with(with(doc, group_text(doc, "chart"), chart), group_text(doc, "series"), series));
  ASSERT_TRUE(r.theme) << r.error;
  EXPECT_FALSE(r.theme->chart.grid_line_horz);
  EXPECT_EQ(r.theme->chart.frame_border, "c");
  EXPECT_EQ(r.theme->series.candle_down_wick, "e");
  EXPECT_EQ(r.theme->series.line_width, 2.0);
  EXPECT_EQ(r.theme->series.volume_down, "x");
}

TEST(ThemeReader, RefusesBadSyntax) {
  const std::string& doc = dark_json();
  const std::string malformed_values[] = {
      "[1,2,}",  "{\"a\" 1}", "{\"a\":1,}", "[1 2]", "{1:2}",   "'x'",  "NaN",    "Infinity", "-Infinity",
      "+1",      "01",        "1.",        ".5",    "-",       "1e",   "1e+",    "0x10",     "tru",
      "nulll",   "[",         "{",         "\"x",   "\"\\x\"", "\"\\u12\"", "\"\\ud800\"", "\"\\udc00\"",
      "\"\\ud800\\u0041\"", "\"\t\"", "\"\x01\"", "\"\xff\"", "\"\xc0\xaf\"", "\"\xed\xa0\x80\"", "/* */1",
  };
  for (const auto& v : malformed_values) {
    expect_refused({with(doc, R"("scale_bg")", "\"unknown\":" + v + ",\"scale_bg\""), ""});
    expect_refused({with(doc, R"("name":"Dark")", "\"name\":" + v), ""});
  }
  expect_refused({with(doc, R"("scale_bg")", R"("deep":)" + std::string(50000, '[') + ",\"scale_bg\""), ""});
  expect_refused({with(doc, R"("name":"Dark",)", R"("name":"Dark",,)"), ""});
  expect_refused({with(doc, "}}", "},}"), ""});
  expect_refused({with(doc, R"("name":"Dark")", "\"name\":\"Da\nrk\""), ""});
  expect_refused({with(doc, R"("name":"Dark")", "\"name\"\"Dark\""), ""});
}

TEST(ThemeReader, EveryProperPrefixIsRefused) {
  for (const std::string& doc : {dark_json(), RuntimeTheme::from_preset("light").to_json_pretty()}) {
    for (std::size_t n = 0; n < doc.size(); ++n) {
      EXPECT_FALSE(RuntimeTheme::from_json(std::string_view(doc).substr(0, n))) << n;
    }
  }
}

// Random byte edits of valid documents: the reader must neither crash nor read past the text (the
// sanitizer build runs this too), and what it accepts must read back the same from its own output.
TEST(ThemeReader, RandomEditsGiveNoneOrAThemeThatRoundTrips) {
  std::mt19937 rng(2024);
  const std::string bases[] = {dark_json(), RuntimeTheme::from_preset("cyberpunk").to_json_pretty(), dark_as_array()};
  const std::string_view inserts[] = {"{", "}", "[", "]", ",", ":", "\"", "\\", "null", "-0", "1e39", "1e400",
                                      "65536", "\"\\ud800\"", "\"\\u00e9\"", " ", "\xef\xbb\xbf", "\xc3",
                                      std::string_view("\0", 1), "{\"z\":[[]]}"};
  std::size_t accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text = bases[rng() % std::size(bases)];
    for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits) {
      const std::size_t at = rng() % (text.size() + 1);
      switch (rng() % 4) {
        case 0: text.erase(at, 1 + rng() % 8); break;
        case 1: text.insert(at, inserts[rng() % std::size(inserts)]); break;
        case 2: text.insert(at, text.substr(at, 1 + rng() % 32)); break;
        default:
          if (at < text.size()) text[at] = static_cast<char>(rng() % 256);
      }
    }
    const auto theme = RuntimeTheme::from_json(text);
    if (!theme) continue;
    ++accepted;
    const std::string written = theme->to_json();
    if (written.find("null") == std::string::npos) {
      EXPECT_EQ(RuntimeTheme::from_json(written), theme) << text;
      EXPECT_EQ(RuntimeTheme::from_json(theme->to_json_pretty()), theme) << text;
    }
  }
  EXPECT_GT(accepted, 0u);  // the edits also reach documents that still read
}

}  // namespace
}  // namespace qc::theme
