// The chart's JSON form in the core: base64 columns, exact round trips of every record kind, and failures
// that name the first bad key path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstddef>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "api/chart_json.hpp"
#include "api/chart_renderer.hpp"
#include "api/value_rules.hpp"
#include "util/base64.hpp"
#include "util/base64_text.hpp"
#include "util/numbers.hpp"

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

// Pseudo-random bytes, so that every six-bit value meets every place in a step of the wide loops.
std::vector<std::byte> noise(std::size_t n) {
  std::vector<std::byte> out(n);
  std::uint32_t x = 2463534242u;
  for (std::byte& b : out) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<std::byte>(x >> 24);
  }
  return out;
}

// The standard's text written bit by bit: six bits a character, zero bits and padding to a whole group.
std::string bit_by_bit(std::span<const std::byte> bytes) {
  static constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t bit = 0; bit < bytes.size() * 8; bit += 6) {
    std::size_t v = 0;
    for (std::size_t k = bit; k < bit + 6; ++k) {
      const bool set = k < bytes.size() * 8 && (std::to_integer<unsigned>(bytes[k / 8]) >> (7 - k % 8) & 1) != 0;
      v = v << 1 | (set ? 1 : 0);
    }
    out += alphabet[v];
  }
  while (out.size() % 4 != 0) out += '=';
  return out;
}

// Lengths on both sides of every step of the wide loops (24 bytes, 32 characters) and the six-byte ones.
TEST(Base64, WideAndPortableLoopsGiveTheStandardsTextAndBytes) {
  for (std::size_t n = 0; n < 100; ++n) {
    SCOPED_TRACE(n);
    const std::vector<std::byte> bytes = noise(n);
    const std::string text = bit_by_bit(bytes);
    std::string wide(util::base64_length(n), '?'), portable(util::base64_length(n), '?');
    util::encode_base64(bytes, wide.data());
    util::encode_base64_portable(bytes, portable.data());
    EXPECT_EQ(wide, text);
    EXPECT_EQ(portable, text);
    ASSERT_EQ(util::base64_size(text), n);
    std::vector<std::byte> back(n), back_portable(n);
    EXPECT_TRUE(util::decode_base64(text, back));
    EXPECT_TRUE(util::decode_base64_portable(text, back_portable));
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(back_portable, bytes);
  }
}

// A character next to each of the alphabet's ranges, at every place of a text that spans several wide steps.
TEST(Base64, WideAndPortableLoopsRefuseACharacterOutsideTheAlphabetAnywhere) {
  const std::string good = bit_by_bit(noise(99));
  for (const char bad : {'@', '[', '`', '{', '*', ',', '.', ':', '-', '_', ' ', '\0', '\x80', '\xff'}) {
    for (std::size_t at = 0; at < good.size(); ++at) {
      std::string text = good;
      text[at] = bad;
      std::vector<std::byte> out(99);
      EXPECT_FALSE(util::decode_base64(text, out)) << static_cast<int>(bad) << " at " << at;
      EXPECT_FALSE(util::decode_base64_portable(text, out)) << static_cast<int>(bad) << " at " << at;
    }
  }
}

// The plain text and the runs in their places, wherever the runs stand: first, last, side by side, kept.
TEST(Base64Text, WritesEachRunInItsPlaceAndSizesTheTextExactly) {
  const std::vector<std::byte> bytes = noise(40);
  const std::span<const std::byte> some(bytes.data(), 7), more(bytes.data() + 7, 33);
  const std::string a = bit_by_bit(some), b = bit_by_bit(more);
  const struct {
    std::vector<std::variant<std::string, std::span<const std::byte>>> pieces;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{"{\"x\":1}"}, "{\"x\":1}"},
      {{some}, a},
      {{"[", some, ",", more, "]"}, "[" + a + "," + b + "]"},
      {{some, more, "}"}, a + b + "}"},
      {{"\xc3\xa9", std::span<const std::byte>()}, "\xc3\xa9"},
  };
  for (const auto& c : cases) {
    util::Base64Text text;
    bool keep = false;
    for (const auto& piece : c.pieces) {
      if (const auto* plain = std::get_if<std::string>(&piece)) {
        text.plain() += *plain;
      } else {
        // Alternately borrowed and kept, the copy made of bytes overwritten at once.
        std::vector<std::byte> copy(std::get<1>(piece).begin(), std::get<1>(piece).end());
        if (keep) {
          text.keep(copy);
        } else {
          text.borrow(std::get<1>(piece));
        }
        std::fill(copy.begin(), copy.end(), std::byte{0});
        keep = !keep;
      }
    }
    EXPECT_EQ(text.size(), c.text.size());
    EXPECT_EQ(text.str(), c.text);
    EXPECT_EQ(text.ascii(), c.text.find('\xc3') == std::string::npos);
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
  ind.range = model::range::Fixed{-1.0, 2.5};
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
  // A column written with escapes is read as the string it spells, the same bytes.
  std::string escaped = text;
  const std::size_t column = escaped.find("\"open\":\"") + 8;
  char escape[7];
  std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(text[column]));
  escaped.replace(column, 1, escape);
  ASSERT_NE(escaped, text);
  const std::optional<Chart> unescaped = chart_from_json(escaped, error);
  ASSERT_TRUE(unescaped) << error;
  EXPECT_EQ(unescaped->bars, c.bars);
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
      {with("\"width\":500", "\"width\":500.5"), "width: invalid value: floating point `500.5`, expected an integer from 0 to 4294967295"},
      {with("\"width\":500", "\"width\":-1.0"), "width: invalid value: floating point `-1.0`, expected an integer from 0 to 4294967295"},
      {with("\"legend\":false", "\"legend\":0"), "legend: invalid type: integer `0`, expected a boolean"},
      {with("\"legend\":", "\"x\":1,\"legend\":"), "x: unknown key"},
      {with("{\"sub_pane\":{\"ratio\":0.25}}", "{\"sub_pane\":{\"ratio\":null}}"),
       "studies[0].placement.sub_pane.ratio: invalid type: null, expected a number"},
      {with("\"part\":\"whole\"", "\"part\":\"middle\""),
       "studies[0].vectors[0].style.histogram.part: invalid value: string \"middle\", expected one of whole, left_half, right_half"},
      {with("\"type\":\"stop_loss\"", "\"type\":\"stop_loss\",\"type\":\"buy\""), "signals[0].type: repeated key"},
      {with("\"pane\":0", "\"pane\":1"), "tools[0].pane: invalid value: sub-pane 1 but the chart has 1 sub-pane"},
      {with("\"background\":", "\"\":1,\"background\":"), "theme[\"\"]: unknown key"},
      {with("\"pane\":0", "\"pane\":-1"),
       "tools[0].pane: invalid value: integer `-1`, expected an integer from 0 to 18446744073709551615"},
      {with("\"points\":[[1.5,10.0],[20.0,-3.0]]", "\"points\":[[1.5,10.0],]"), "tools[0].points: trailing comma at byte "},
      {with("\"open\":\"", "\"open\":\"!" + std::string(31, 'A')), "bars.open: not base64 text"},
      {with("\"open\":\"", "\"open\":\"AA"), "bars.open: not base64 text"},
      {with("\"open\":\"", "\"open\":\"AAAA"), "bars.open: 243 bytes, not a whole number of 8-byte values"},
      {with("\"first\":-10", "\"first\":-9223372036854775809"),
       "view.first: invalid value: floating point `-9.223372036854776e+18`, expected an integer from -9223372036854775808 to 9223372036854775807"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(chart_from_json(c.text, error));
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.text;
  }
}

// Every value is held to the rule its builder applies, the bounds taken from the builders' own constants: a
// value at a bound reads, one just past it is refused with its key path.
TEST(ChartJson, HoldsEveryValueToItsBuildersRule) {
  const std::string good = chart_to_json(sample());
  const auto number = [](double v) { return util::shortest(v); };
  const double below_least_height = std::nextafter(kLeastPaneHeight, 0.0);
  const double above_most_width = std::nextafter(kMostSeriesWidth, 10.0);
  const struct {
    const char* from;
    std::string accepted, refused, error;
  } rules[] = {
      {"\"ratio\":0.25", "\"ratio\":" + number(kLeastPaneHeight), "\"ratio\":" + number(below_least_height),
       "studies[0].placement.sub_pane.ratio: invalid value: " + number(below_least_height) + ", expected a share from"},
      {"\"width\":1.0}]", "\"width\":" + number(kMostSeriesWidth) + "}]", "\"width\":" + number(above_most_width) + "}]",
       "studies[0].levels[0].width: invalid value: " + number(above_most_width) + ", expected 0.5 to 5"},
      {"\"style\":\"dotted\"", "\"style\":\"" + std::string(kLevelStyles.back()) + "\"", "\"style\":\"wavy\"",
       "studies[0].levels[0].style: invalid value: string \"wavy\", expected one of solid, dashed, dotted"},
      {"\"value\":50.0", "\"value\":-50.0", "\"value\":\"NaN\"",
       "studies[0].levels[0].value: invalid value: NaN, expected a finite number"},
      {"\"max\":2.5", "\"max\":-0.5", "\"max\":-1.0", "studies[0].range.fixed.max: invalid value: -1, expected above min -1"},
      {"\"up\":\"#26a69a\"", "\"up\":\"rgba(1,2,3,0.5)\"", "\"up\":\"#12345\"",
       "theme.up: invalid value: \"#12345\" is not a colour"},
      {"\"color\":\"#000\"", "\"color\":\"#abcdef80\"", "\"color\":\"\"", "signals[0].color: invalid value: \"\" is not a colour"},
      {"\"size\":2.0", "\"size\":0.5", "\"size\":\"Infinity\"", "signals[0].size: invalid value: Infinity, expected a finite number"},
  };
  for (const auto& r : rules) {
    SCOPED_TRACE(r.from);
    std::string text = good;
    const std::size_t at = text.find(r.from);
    ASSERT_NE(at, std::string::npos);
    std::string error;
    EXPECT_TRUE(chart_from_json(std::string(text).replace(at, std::strlen(r.from), r.accepted), error)) << error;
    EXPECT_FALSE(chart_from_json(text.replace(at, std::strlen(r.from), r.refused), error));
    EXPECT_EQ(error.substr(0, r.error.size()), r.error);
  }
}

// A column of another length than most is named by its own key; a study's up flags and run keys are one per
// value or none.
TEST(ChartJson, NamesTheColumnThatDiffers) {
  Chart c = sample();
  c.bars.volume().push_back(1.0);
  std::string error;
  EXPECT_FALSE(chart_from_json(chart_to_json(c), error));
  EXPECT_EQ(error, "bars.volume: 31 values for 30 bars");
  c = sample();
  c.config.indicators[0].vectors[0].up_flags.pop_back();
  EXPECT_FALSE(chart_from_json(chart_to_json(c), error));
  EXPECT_EQ(error, "studies[0].vectors[0].up_flags: 29 flags for 30 values");
}

}  // namespace
}  // namespace qc::api
