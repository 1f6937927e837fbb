// The chart's JSON form in the core: base64 columns, exact round trips of every record kind, and failures
// that name the first bad key path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "api/chart_json.hpp"
#include "api/chart_renderer.hpp"
#include "util/base64.hpp"

namespace qc::api {
namespace {

std::string encode(std::string_view bytes) {
  std::string out;
  util::append_base64(out, std::as_bytes(std::span(bytes.data(), bytes.size())));
  return out;
}

TEST(Base64, EncodesTheVectorsOfTheStandardAndDecodesThemBack) {
  const struct {
    std::string_view bytes, text;
  } cases[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {std::string_view("\xff\xfe\x00", 3), "//4A"}};
  for (const auto& c : cases) {
    EXPECT_EQ(encode(c.bytes), c.text);
    const auto size = util::base64_size(c.text);
    ASSERT_TRUE(size) << c.text;
    std::string back(*size, '\0');
    ASSERT_TRUE(util::decode_base64(c.text, std::as_writable_bytes(std::span(back.data(), back.size()))));
    EXPECT_EQ(back, c.bytes);
  }
}

TEST(Base64, RefusesTextsThatAreNotTheOneSpellingOfTheirBytes) {
  for (std::string_view text : {"Zg=", "Zg", "Z===", "Zh==", "Zm9=", "Zm9v!A==", "Zm 9", "====", "Zg==Zg=="}) {
    const auto size = util::base64_size(text);
    if (!size) continue;
    std::string back(*size, '\0');
    EXPECT_FALSE(util::decode_base64(text, std::as_writable_bytes(std::span(back.data(), back.size())))) << text;
  }
}

Chart sample() {
  Chart c = Chart::make(500, 300);
  for (int i = 0; i < 30; ++i) {
    c.bars.push_back({86'400LL * i, 10.0 + i, 12.0 + i, 9.0 + i, 11.0 + i, 1e3 * i});
  }
  model::IndicatorVector hist = model::IndicatorVector::make("H", model::VectorStyle::histogram_colored("", ""));
  hist.values.assign(30, -0.0);
  hist.values[3] = std::numeric_limits<double>::quiet_NaN();
  hist.up_flags.assign(30, 1);
  model::Indicator ind = model::Indicator::make("x_1", "X 1");
  ind.placement = model::placement::SubPane{0.25};
  ind.range = model::range::Fixed{-1.0, std::numeric_limits<double>::infinity()};
  ind.runs.assign(30, 7);
  c = std::move(c).indicator(std::move(ind).add_vector(std::move(hist)).add_level(
      model::IndicatorLevel::make("#fff", 50.0).dotted().with_label("mid")));
  PrimitiveConfig tool = PrimitiveConfig::make("trend_line", {{1.5, 10.0}, {20.0, -3.0}});
  tool.pane = PrimitivePane::sub(0);
  tool.levels.push_back({"a", "b", 0.5, 1.0});
  c = std::move(c).primitive(std::move(tool));
  c = std::move(c).signal(SignalConfig{SignalType::StopLoss, 5, 10.5, 2.0, "#000", std::nullopt}.with_label("\"sl\""));
  c.config.view = ViewRequest{-10, -1};
  c.config.title = "t\u00e9\n";
  return c;
}

TEST(ChartJson, GivesBackTheSameTextAndDocument) {
  const Chart c = sample();
  const std::string text = chart_to_json(c);
  std::string error;
  const std::optional<Chart> back = chart_from_json(text, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(chart_to_json(*back), text);
  EXPECT_EQ(ChartRenderer(back->config, back->bars).render_svg(), ChartRenderer(c.config, c.bars).render_svg());
  EXPECT_TRUE(std::signbit(back->config.indicators[0].vectors[0].values[0]));
  EXPECT_EQ(back->config.indicators[0].runs, c.config.indicators[0].runs);
  EXPECT_EQ(back->bars, c.bars);
}

TEST(ChartJson, NamesTheFirstBadKeyPath) {
  const std::string good = chart_to_json(sample());
  const auto with = [&](std::string_view from, std::string_view to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {with("\"width\":500", "\"width\":5e2"), "width: invalid value: floating point `500.0`, expected an integer from 0 to 4294967295"},
      {with("\"legend\":false", "\"legend\":0"), "legend: invalid type: integer `0`, expected a boolean"},
      {with("\"legend\":", "\"x\":1,\"legend\":"), "x: unknown key"},
      {with("{\"sub_pane\":{\"ratio\":0.25}}", "{\"sub_pane\":{\"ratio\":null}}"),
       "studies[0].placement.sub_pane.ratio: invalid type: null, expected a number"},
      {with("\"part\":\"whole\"", "\"part\":\"middle\""),
       "studies[0].vectors[0].style.histogram.part: invalid value: string \"middle\", expected one of whole, left_half, right_half"},
      {with("\"type\":\"stop_loss\"", "\"type\":\"stop_loss\",\"type\":\"buy\""), "signals[0].type: repeated key"},
      {with("\"pane\":0", "\"pane\":-1"),
       "tools[0].pane: invalid value: integer `-1`, expected an integer from 0 to 18446744073709551615"},
      {with("\"points\":[[1.5,10.0],[20.0,-3.0]]", "\"points\":[[1.5,10.0],]"), "tools[0].points: trailing comma at byte "},
      {with("\"first\":-10", "\"first\":-9223372036854775809"),
       "view.first: invalid value: floating point `-9.223372036854776e+18`, expected an integer from -9223372036854775808 to 9223372036854775807"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(chart_from_json(c.text, error));
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.text;
  }
}

}  // namespace
}  // namespace qc::api
