// Indicator methods as rows of data: arguments, id and name patterns, placement, range, levels and
// value lines; one builder turns a row and a call's arguments into an indicator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "coords/time_zone.hpp"
#include "model/indicators.hpp"
#include "model/series/bar_columns.hpp"
#include "studies/study.hpp"
#include "util/failure.hpp"

namespace qc::api {

// A list of at most N items held in place, so that whole rows can be constexpr aggregates.
template <class T, std::size_t N>
class FixedList {
 public:
  constexpr FixedList() = default;
  constexpr FixedList(std::initializer_list<T> items) : size_(items.size()) {
    if (items.size() > N) util::broken_invariant("FixedList: too many items");
    std::size_t i = 0;
    for (const T& item : items) items_[i++] = item;
  }
  constexpr const T* begin() const { return items_.data(); }
  constexpr const T* end() const { return items_.data() + size_; }
  constexpr std::size_t size() const { return size_; }
  constexpr bool empty() const { return size_ == 0; }
  constexpr const T& operator[](std::size_t i) const { return items_[i]; }

 private:
  std::array<T, N> items_{};
  std::size_t size_ = 0;
};

// How a method's argument is converted: unsigned 64-bit whole number, 64-bit float, text (a colour), or
// one of the texts the argument lists (a choice).
enum class ArgKind : std::uint8_t { Whole, Real, Text, Choice };

struct ArgSpec {
  std::string_view name;  // the keyword name, and the placeholder "{name}" in the row's patterns
  ArgKind kind;
  std::string_view meaning = {};  // for the docstring; empty: the common meaning of its name
  // A keyword-only argument's default as Python writes it ("9", "0.02", "'floor'", "None"); empty for the
  // required ones that come first. Keyword-only arguments other than colours are the study's settings.
  std::string_view default_text = {};
  FixedList<std::string_view, 5> choices = {};  // what a choice accepts
  bool positive = false;         // a real setting that must be above 0
  std::string_view at_most = {};  // the setting this one may not exceed

  constexpr bool keyword_only() const { return !default_text.empty(); }
  constexpr bool setting() const { return keyword_only() && kind != ArgKind::Text; }
};

// One converted argument; its alternative follows the ArgSpec kind in the same position (texts for both
// colours and choices; an empty colour is None).
using ArgValue = std::variant<std::uint64_t, double, std::string_view>;

// The value of a keyword-only argument not given, read from its default text: whole numbers as digits,
// reals as digits with a decimal point (an exact integer over a power of ten: correctly rounded), a
// choice quoted, a colour "None". Reaches a broken invariant, failing a constant evaluation, on any other text.
constexpr ArgValue default_of(const ArgSpec& arg) {
  const std::string_view t = arg.default_text;
  switch (arg.kind) {
    case ArgKind::Text:
      if (t != "None") util::broken_invariant("a colour's default other than None");
      return std::string_view{};
    case ArgKind::Choice:
      if (t.size() < 2 || t.front() != '\'' || t.back() != '\'') util::broken_invariant("an unquoted choice");
      return t.substr(1, t.size() - 2);
    case ArgKind::Whole:
    case ArgKind::Real: break;
  }
  std::uint64_t digits = 0, scale = 1;
  bool point = false;
  for (const char ch : t) {
    if (ch == '.' && arg.kind == ArgKind::Real && !point) {
      point = true;
    } else if (ch >= '0' && ch <= '9' && digits < 100'000'000'000'000ULL) {
      digits = digits * 10 + static_cast<std::uint64_t>(ch - '0');
      if (point) scale *= 10;
    } else {
      util::broken_invariant("an unreadable default");
    }
  }
  if (t.empty() || (arg.kind == ArgKind::Real && !point)) util::broken_invariant("an unreadable default");
  if (arg.kind == ArgKind::Whole) return digits;
  return static_cast<double>(digits) / static_cast<double>(scale);
}

// The place of `text` among the choices of `arg`.
constexpr std::optional<std::size_t> choice_index(const ArgSpec& arg, std::string_view text) {
  for (std::size_t i = 0; i < arg.choices.size(); ++i) {
    if (arg.choices[i] == text) return i;
  }
  return std::nullopt;
}

// What is wrong with a call's settings: a whole one below 1, a real one not finite, a positive one not
// above 0, one above the setting it may not exceed (`limit`), or a text that is none of the choices.
enum class SettingFault : std::uint8_t { none, below_one, not_finite, not_positive, above_limit, unknown_choice };
struct SettingCheck {
  SettingFault fault = SettingFault::none;
  std::size_t index = 0;  // the argument at fault
  std::size_t limit = 0;  // for above_limit: the argument it exceeds
};

enum class LevelStyle : std::uint8_t { Dashed, Dotted, Solid };

struct LevelSpec {
  double value = 0.0;
  LevelStyle style = LevelStyle::Dashed;
  std::string_view color;
  double width = 1.0;
  std::optional<std::string_view> label;
};

enum class VectorKind : std::uint8_t {
  Line,
  LineThroughGaps,
  Dashed,
  Histogram,
  HistogramColored,
  Cloud,
  Dots,
  Hidden
};

struct VectorSpec {
  std::string_view name;
  VectorKind kind = VectorKind::Line;
  std::string_view color;   // line, dots, histogram up or cloud upper colour; may be the pattern "{color}"
  std::string_view color2;  // histogram down or cloud lower colour
  double size = 1.0;        // line width or dot radius
  std::string_view partner;  // a cloud's partner: the vector it is filled against
  model::style::SlotPart part = model::style::SlotPart::whole;  // the share of its slot a histogram fills
  // A line's colours for its runs of up and down direction (its up flags), patterns of colour arguments whose
  // None keeps `color`.
  std::string_view up_color = {};
  std::string_view down_color = {};
  // A histogram's shades of the chart's colours (it has no colours of its own).
  model::style::ChartShade up_shade = {true, 0xff};
  model::style::ChartShade down_shade = {false, 0xff};
};

// A method's parameters; supertrend's period, multiplier and two colours are the most.
inline constexpr std::size_t kMaxArgs = studies::kMaxStudyArgs;
using ArgList = FixedList<ArgSpec, kMaxArgs>;

// One indicator method. All texts are string literals (NUL-terminated), so they can serve as C strings.
// Patterns: "{arg}" stands for an argument's value; whole numbers are written in full in ids and
// reduced to 32 bits in names, floats (names only) in their shortest fixed text, texts as given.
struct IndicatorSpec {
  std::string_view method;
  std::string_view doc;
  ArgList args;
  std::string_view id;
  std::string_view name;
  model::IndicatorPlacement placement = model::placement::Overlay{};
  model::RangeMode range = model::range::Auto{};
  FixedList<LevelSpec, 3> levels;
  FixedList<VectorSpec, 7> vectors;
  studies::StudyFn compute = nullptr;  // the values, from the bars at the call
  std::uint64_t min_period = 1;        // whole arguments below this give no values
  std::string_view definition = {};    // one sentence for the docstring, naming the reference it follows
  // For a window study, the bars a value reads (new bars change the values from there on alone); none for a
  // recursion, which resumes from its state where it keeps one and runs from bar 0 otherwise.
  studies::StudyReach reach = nullptr;

  // The row with its study; `min_period` 2 where a period of 1 has no meaning (a one-bar deviation, range
  // or slope).
  constexpr IndicatorSpec computed_by(studies::StudyFn fn, std::uint64_t least = 1) const {
    IndicatorSpec row = *this;
    row.compute = fn;
    row.min_period = least;
    return row;
  }

  // The row of a window study, its values reading `bars` bars.
  constexpr IndicatorSpec reaching(studies::StudyReach bars) const {
    IndicatorSpec row = *this;
    row.reach = bars;
    return row;
  }

  // The row with the definition its method's docstring gives.
  constexpr IndicatorSpec defined(std::string_view text) const {
    IndicatorSpec row = *this;
    row.definition = text;
    return row;
  }
};

// The first fault of the settings among `args` (one per ArgSpec, in order, of the row's kinds).
SettingCheck check_settings(const IndicatorSpec& spec, std::span<const ArgValue> args);

// The record of `spec` for the converted `args` (one per ArgSpec, in order; the keyword-only ones at the end
// may be left out for their defaults), with empty value lists. Its name gains " (" and every setting, joined
// by ", ", ")" when any setting differs from its default. Throws std::invalid_argument when the arguments do
// not match the row's kinds: a caller's defect.
model::Indicator build_indicator(const IndicatorSpec& spec, std::span<const ArgValue> args);

// The record of `spec` with its study's values over `bars`, calendar periods read in `zone`: one value per
// bar in every vector, or none when there are no bars, a whole argument is 0, above the bar count or below
// the row's least period, a setting is at fault, or the study refuses its arguments. Settings above the bar
// count only lengthen the warm-up.
model::Indicator computed_indicator(const IndicatorSpec& spec, std::span<const ArgValue> args,
                                    model::BarsView bars, const coords::TimeZone& zone);

// The study's arguments for `args` over `bars` bars; none where computed_indicator gives no values.
std::optional<studies::StudyArgs> study_args(const IndicatorSpec& spec, std::span<const ArgValue> args,
                                             std::size_t bars);

// One NaN per bar in every vector of `ind`.
void fill_with_nan(model::Indicator& ind, std::size_t bars);

// The values of `spec`'s study for `args` over `bars` in every vector of `ind`, one per bar (the whole
// arguments as the study accepts them). False, the vectors emptied, when the study refuses them. With
// `resume`, a recursion keeps its state and starts where resume->start_at asked, the values before left.
bool run_study(const IndicatorSpec& spec, const studies::StudyArgs& args, model::BarsView bars,
               model::Indicator& ind, const coords::TimeZone& zone = coords::kUtc,
               studies::Resume* resume = nullptr);

// Row-writing helpers, so that tables read like the method list they encode.
namespace spec {

inline constexpr ArgSpec kPeriod{"period", ArgKind::Whole};
inline constexpr ArgSpec kColor{"color", ArgKind::Text};
inline constexpr ArgSpec kMultiplier{"multiplier", ArgKind::Real};
inline constexpr std::string_view kCallerColor = "{color}";

// Keyword-only arguments: settings with their defaults as Python writes them, and colours that default to None.
constexpr ArgSpec whole_setting(std::string_view name, std::string_view def, std::string_view meaning,
                                std::string_view at_most = {}) {
  return {name, ArgKind::Whole, meaning, def, {}, false, at_most};
}
constexpr ArgSpec real_setting(std::string_view name, std::string_view def, std::string_view meaning = {},
                               bool positive = false, std::string_view at_most = {}) {
  return {name, ArgKind::Real, meaning, def, {}, positive, at_most};
}
constexpr ArgSpec choice_setting(std::string_view name, std::string_view def, FixedList<std::string_view, 5> choices,
                                 std::string_view meaning) {
  return {name, ArgKind::Choice, meaning, def, choices};
}
constexpr ArgSpec color_option(std::string_view name, std::string_view meaning) {
  return {name, ArgKind::Text, meaning, "None"};
}

constexpr VectorSpec line(std::string_view name, std::string_view color, double width = 1.0) {
  return {name, VectorKind::Line, color, {}, width, {}};
}
// A line drawn run by run in the colours of the arguments its patterns name, as each run's direction says.
constexpr VectorSpec directed_line(std::string_view name, std::string_view color, double width,
                                   std::string_view up_color, std::string_view down_color) {
  return {name, VectorKind::Line, color, {}, width, {}, model::style::SlotPart::whole, up_color, down_color};
}
// A line whose values are the points of one path with nothing between them (pivots): not broken at the gaps.
constexpr VectorSpec line_through_gaps(std::string_view name, std::string_view color, double width = 1.0) {
  return {name, VectorKind::LineThroughGaps, color, {}, width, {}};
}
constexpr VectorSpec dashed(std::string_view name, std::string_view color) {
  return {name, VectorKind::Dashed, color, {}, 1.0, {}};
}
// In the chart's up and down colours, or in the shades of them given.
constexpr VectorSpec histogram(std::string_view name, model::style::SlotPart part = model::style::SlotPart::whole,
                               model::style::ChartShade up = {true, 0xff}, model::style::ChartShade down = {false, 0xff}) {
  return {name, VectorKind::Histogram, {}, {}, 1.0, {}, part, {}, {}, up, down};
}
constexpr VectorSpec histogram(std::string_view name, std::string_view up, std::string_view down,
                               model::style::SlotPart part = model::style::SlotPart::whole) {
  return {name, VectorKind::HistogramColored, up, down, 1.0, {}, part};
}
// Two histograms side by side in each slot, the first in vector order on the left.
inline constexpr model::style::SlotPart kLeftHalf = model::style::SlotPart::left_half;
inline constexpr model::style::SlotPart kRightHalf = model::style::SlotPart::right_half;
// A cloud filled against its partner vector of the same row: in `upper` where the partner lies at or above
// it, in `lower` where below.
constexpr VectorSpec cloud(std::string_view name, std::string_view upper, std::string_view lower,
                           std::string_view partner) {
  return {name, VectorKind::Cloud, upper, lower, 1.0, partner};
}
constexpr VectorSpec dots(std::string_view name, std::string_view color, double radius) {
  return {name, VectorKind::Dots, color, {}, radius, {}};
}
constexpr VectorSpec hidden(std::string_view name) { return {name, VectorKind::Hidden, {}, {}, 1.0, {}}; }

constexpr LevelSpec dashed_level(double value, std::string_view color,
                                 std::optional<std::string_view> label = std::nullopt) {
  return {value, LevelStyle::Dashed, color, 1.0, label};
}
constexpr LevelSpec dotted_level(double value, std::string_view color,
                                 std::optional<std::string_view> label = std::nullopt) {
  return {value, LevelStyle::Dotted, color, 1.0, label};
}
constexpr LevelSpec solid_level(double value, std::string_view color, double width,
                                std::optional<std::string_view> label = std::nullopt) {
  return {value, LevelStyle::Solid, color, width, label};
}
// The zero line that most oscillators carry after their other levels.
inline constexpr LevelSpec kZero = dotted_level(0.0, "#787b86");

constexpr model::IndicatorPlacement sub_pane(double ratio) { return model::placement::SubPane{ratio}; }
constexpr model::RangeMode fixed(double min, double max) { return model::range::Fixed{min, max}; }
inline constexpr model::RangeMode kAuto = model::range::Auto{};
inline constexpr model::RangeMode kSymmetric = model::range::Symmetric{};
inline constexpr model::RangeMode kPrice = model::range::Price{};

// Every placeholder names an argument of the row, of a kind its field can write: whole numbers in ids,
// numbers in names, texts in colours. Checked over every table at compile time.
constexpr bool placeholders_valid(const IndicatorSpec& row, std::string_view pattern, bool whole, bool real,
                                  bool text) {
  for (std::size_t open = pattern.find('{'); open != std::string_view::npos; open = pattern.find('{', open + 1)) {
    const std::size_t close = pattern.find('}', open);
    if (close == std::string_view::npos) return false;
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    bool found = false;
    for (const ArgSpec& arg : row.args) {
      if (arg.name != name) continue;
      found = (arg.kind == ArgKind::Whole && whole) || (arg.kind == ArgKind::Real && real) ||
              (arg.kind == ArgKind::Text && text);
    }
    if (!found) return false;
  }
  return true;
}

// A cloud is filled against another vector of its own row.
constexpr bool names_partner(const IndicatorSpec& row, const VectorSpec& cloud_vector) {
  for (const VectorSpec& v : row.vectors) {
    if (v.name == cloud_vector.partner && v.name != cloud_vector.name) return true;
  }
  return false;
}

// Keyword-only arguments come last, their defaults read (default_of throws otherwise) and are sound
// settings: choices among their own, limits naming a later setting of the same kind.
constexpr bool arguments_sound(const IndicatorSpec& row) {
  bool keyword_only = false;
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    const ArgSpec& arg = row.args[i];
    if (keyword_only && !arg.keyword_only()) return false;
    keyword_only = arg.keyword_only();
    if (arg.kind == ArgKind::Choice && !keyword_only) return false;
    if (!keyword_only) continue;
    const ArgValue def = default_of(arg);
    if (arg.kind == ArgKind::Choice && !choice_index(arg, std::get<std::string_view>(def))) return false;
    if (arg.at_most.empty()) continue;
    bool found = false;
    for (std::size_t j = i + 1; j < row.args.size(); ++j) found = found || (row.args[j].name == arg.at_most &&
                                                                             row.args[j].kind == arg.kind);
    if (!found) return false;
  }
  return true;
}

constexpr bool well_formed(const IndicatorSpec& row) {
  if (row.method.empty() || row.id.empty() || row.name.empty() || row.vectors.empty()) return false;
  if (row.definition.empty() || !arguments_sound(row)) return false;
  if (!placeholders_valid(row, row.id, true, false, false)) return false;
  if (!placeholders_valid(row, row.name, true, true, false)) return false;
  for (const VectorSpec& v : row.vectors) {
    if (!placeholders_valid(row, v.color, false, false, true)) return false;
    if (!placeholders_valid(row, v.color2, false, false, true)) return false;
    if (!placeholders_valid(row, v.up_color, false, false, true)) return false;
    if (!placeholders_valid(row, v.down_color, false, false, true)) return false;
    if (v.kind == VectorKind::Cloud && !names_partner(row, v)) return false;
  }
  return true;
}

}  // namespace spec
}  // namespace qc::api
