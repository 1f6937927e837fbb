// The primitive JSON record: the "data" object's exact text and the encodings of every value kind.
#include "primitives/core/json.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace qc::primitives {
namespace {

template <class T>
std::string json_of(const T& value) {
  std::string out;
  JsonWriter w(out);
  write_json(w, value);
  return out;
}

constexpr const char* kDefaultData =
    R"({"id":0,"type_id":"","display_name":"","color":{"stroke":"#2196F3","fill":null},"width":2.0,)"
    R"("style":"solid","text":null,"locked":false,"visible":true,"z_order":0,"timeframe_visibility":null,)"
    R"("sync_mode":"None","pane_id":null,"window_id":null})";

TEST(PrimitiveDataJson, DefaultRecord) { EXPECT_EQ(json_of(PrimitiveData{}), kDefaultData); }

TEST(PrimitiveDataJson, FieldEncodings) {
  struct Case {
    const char* name;
    void (*edit)(PrimitiveData&);
    const char* fragment;
  };
  const Case cases[] = {
      {"nan width", [](PrimitiveData& d) { d.width = std::numeric_limits<double>::quiet_NaN(); }, R"("width":null)"},
      {"inf width", [](PrimitiveData& d) { d.width = std::numeric_limits<double>::infinity(); }, R"("width":null)"},
      {"fractional width", [](PrimitiveData& d) { d.width = 1.5; }, R"("width":1.5)"},
      {"negative z", [](PrimitiveData& d) { d.z_order = -3; }, R"("z_order":-3)"},
      {"pane id", [](PrimitiveData& d) { d.pane_id = 7; }, R"("pane_id":7,"window_id":null)"},
      {"largest id", [](PrimitiveData& d) { d.id = 18446744073709551615u; }, R"("id":18446744073709551615,)"},
      {"fill", [](PrimitiveData& d) { d.color.fill = "#ff000080"; }, R"("fill":"#ff000080")"},
      {"style", [](PrimitiveData& d) { d.style = LineStyle::SparseDotted; }, R"("style":"sparsedotted")"},
      {"sync", [](PrimitiveData& d) { d.sync_mode = SyncMode::SameSymbol; }, R"("sync_mode":"SameSymbol")"},
      {"text without colour",
       [](PrimitiveData& d) { d.text = PrimitiveText::make("Hi"); },
       R"("text":{"content":"Hi","font_size":14.0,"color":null,"bold":false,"italic":false,)"
       R"("v_align":"Start","h_align":"Center"})"},
      {"text alignments",
       [](PrimitiveData& d) {
         d.text = PrimitiveText::make("");
         d.text->v_align = PrimitiveTextAlign::End;
         d.text->h_align = PrimitiveTextAlign::Start;
         d.text->color = "#fff";
         d.text->bold = true;
       },
       R"("text":{"content":"","font_size":14.0,"color":"#fff","bold":true,"italic":false,)"
       R"("v_align":"End","h_align":"Start"})"},
      {"hours only",
       [](PrimitiveData& d) {
         d.timeframe_visibility = TimeframeVisibility{};
         d.timeframe_visibility->hours = std::pair<std::uint32_t, std::uint32_t>{1, 4};
       },
       R"("timeframe_visibility":{"ticks":false,"seconds":null,"minutes":null,"hours":[1,4],"days":null,)"
       R"("weeks":null,"months":null,"ranges":false})"},
  };
  for (const Case& c : cases) {
    PrimitiveData d;
    c.edit(d);
    EXPECT_NE(json_of(d).find(c.fragment), std::string::npos) << c.name << ": " << json_of(d);
  }
}

TEST(JsonWriter, StringEscapes) {
  EXPECT_EQ(json_of(std::string_view("a\"b\\c")), R"("a\"b\\c")");
  EXPECT_EQ(json_of(std::string_view("\n\r\t\b\f")), R"("\n\r\t\b\f")");
  EXPECT_EQ(json_of(std::string_view("\x01\x1f", 2)), R"("\u0001\u001f")");
  EXPECT_EQ(json_of(std::string_view("\0x", 2)), R"("\u0000x")");
  EXPECT_EQ(json_of(std::string_view("Head & Shoulders / é")), R"("Head & Shoulders / é")");
  EXPECT_EQ(json_of(std::string_view("\x1b[0m\x7f")), "\"\\u001b[0m\x7f\"");
  EXPECT_EQ(json_of(std::string_view("")), R"("")");
}

TEST(JsonWriter, ListsAndNesting) {
  const std::vector<Point> points = {{0.0, 100.0}, {2.5, std::numeric_limits<double>::quiet_NaN()}};
  EXPECT_EQ(json_of(points), "[[0.0,100.0],[2.5,null]]");
  EXPECT_EQ(json_of(std::vector<Point>{}), "[]");
  EXPECT_EQ(json_of(std::vector<double>{0.236, 1.0, 1e16}), "[0.236,1.0,1e+16]");
  const std::vector<std::vector<std::string>> rows = {{"Header1", "Header2"}, {}, {"Value1"}};
  EXPECT_EQ(json_of(rows), R"([["Header1","Header2"],[],["Value1"]])");
  EXPECT_EQ(json_of(std::optional<double>{}), "null");
  EXPECT_EQ(json_of(std::uint8_t{255}), "255");
  EXPECT_EQ(json_of(std::int32_t{-2147483647 - 1}), "-2147483648");
}

TEST(JsonWriter, LevelConfigs) {
  FibLevelConfig styled = FibLevelConfig::make(0.618);
  styled.color = "#ff0000";
  styled.width = 2.0;
  styled.style = "dashed";
  styled.fill_enabled = true;
  EXPECT_EQ(json_of(std::vector<FibLevelConfig>{FibLevelConfig::make(0.5), styled}),
            R"([{"level":0.5,"visible":true,"color":null,"width":null,"style":"solid","fill_color":null,)"
            R"("fill_opacity":0.1,"fill_enabled":false},)"
            R"({"level":0.618,"visible":true,"color":"#ff0000","width":2.0,"style":"dashed","fill_color":null,)"
            R"("fill_opacity":0.1,"fill_enabled":true}])");
}

TEST(JsonWriter, RecordStartsWithData) {
  const std::string json = primitive_json(PrimitiveData{}, [](JsonWriter& w) {
    json_entry(w, "bar", 3.0);
    json_entry(w, "type", "support_break");
    json_entry(w, "show", true);
  });
  EXPECT_EQ(json, std::string(R"({"data":)") + kDefaultData + R"(,"bar":3.0,"type":"support_break","show":true})");
  EXPECT_EQ(primitive_json(PrimitiveData{}, [](JsonWriter&) {}), std::string(R"({"data":)") + kDefaultData + "}");
}

}  // namespace
}  // namespace qc::primitives
