// Builds an indicator record from a method row and the call's converted arguments.
#include "api/indicator_rows.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "studies/columns.hpp"
#include "studies/window.hpp"
#include "util/numbers.hpp"
#include "util/failure.hpp"

namespace qc::api {
namespace {

enum class Field : std::uint8_t { Id, Name, Color };

void append_whole(std::string& out, std::uint64_t v) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

// Writes one argument as its field wants it: ids carry whole numbers in full, names reduce them to
// their low 32 bits.
void append_arg(std::string& out, const ArgValue& value, Field field) {
  if (const auto* whole = std::get_if<std::uint64_t>(&value)) {
    append_whole(out, field == Field::Name ? static_cast<std::uint32_t>(*whole) : *whole);
  } else if (const auto* real = std::get_if<double>(&value)) {
    util::append_shortest_fixed(out, *real);
  } else {
    out += std::get<std::string_view>(value);
  }
}

// Replaces each "{name}" of the pattern by the argument of that name; rows are checked at compile time,
// so an unknown placeholder cannot occur and would be copied as it stands.
std::string expand(std::string_view pattern, const IndicatorSpec& row, std::span<const ArgValue> args,
                   Field field) {
  std::string out;
  out.reserve(pattern.size() + 16);
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const std::size_t open = pattern.find('{', pos);
    const std::size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
    if (close == std::string_view::npos) break;
    out.append(pattern.substr(pos, open - pos));
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    std::size_t index = 0;
    while (index < row.args.size() && row.args[index].name != name) ++index;
    if (index < row.args.size()) {
      append_arg(out, args[index], field);
    } else {
      out.append(pattern.substr(open, close - open + 1));
    }
    pos = close + 1;
  }
  if (pos < pattern.size()) out.append(pattern.substr(pos));
  return out;
}

bool kind_matches(ArgKind kind, const ArgValue& value) {
  switch (kind) {
    case ArgKind::Whole: return std::holds_alternative<std::uint64_t>(value);
    case ArgKind::Real: return std::holds_alternative<double>(value);
    case ArgKind::Text:
    case ArgKind::Choice: return std::holds_alternative<std::string_view>(value);
  }
  return false;
}

// The call's arguments with the keyword-only ones it leaves out at their defaults.
struct FullArgs {
  std::array<ArgValue, kMaxArgs> values;
  std::size_t size = 0;
  std::span<const ArgValue> span() const { return {values.data(), size}; }
};

FullArgs with_defaults(const IndicatorSpec& row, std::span<const ArgValue> args) {
  bool matches = args.size() <= row.args.size();
  FullArgs full;
  for (std::size_t i = 0; matches && i < row.args.size(); ++i) {
    if (i < args.size()) {
      matches = kind_matches(row.args[i].kind, args[i]);
      full.values[i] = args[i];
    } else {
      matches = row.args[i].keyword_only();
      if (matches) full.values[i] = default_of(row.args[i]);
    }
  }
  if (!matches) util::broken_invariant("indicator arguments do not match the method's parameters");
  full.size = row.args.size();
  return full;
}

// " (" and every setting, as names write them, when any differs from its default; nothing otherwise.
std::string settings_suffix(const IndicatorSpec& row, std::span<const ArgValue> args) {
  bool differs = false;
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    if (row.args[i].setting()) differs = differs || args[i] != default_of(row.args[i]);
  }
  if (!differs) return {};
  std::string out = " (";
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    if (!row.args[i].setting()) continue;
    if (out.size() > 2) out += ", ";
    append_arg(out, args[i], Field::Name);
  }
  return out + ")";
}

model::VectorStyle style_of(const VectorSpec& v, const IndicatorSpec& row, std::span<const ArgValue> args) {
  using model::VectorStyle;
  const auto color = [&](std::string_view pattern) { return expand(pattern, row, args, Field::Color); };
  switch (v.kind) {
    case VectorKind::Line: {
      VectorStyle style = VectorStyle::line(color(v.color), v.size);
      auto& line = std::get<model::style::Line>(style.v);
      line.up_color = color(v.up_color);
      line.down_color = color(v.down_color);
      return style;
    }
    case VectorKind::LineThroughGaps: return VectorStyle::line_through_gaps(color(v.color), v.size);
    case VectorKind::Dashed: return VectorStyle::dashed(color(v.color));
    case VectorKind::Histogram: return VectorStyle::histogram(v.part, v.up_shade, v.down_shade);
    case VectorKind::HistogramColored: return VectorStyle::histogram_colored(color(v.color), color(v.color2), v.part);
    case VectorKind::Cloud: return VectorStyle::cloud(color(v.color), color(v.color2), v.partner, v.size);
    case VectorKind::Dots: return VectorStyle::dots(color(v.color), v.size, true);
    case VectorKind::Hidden: return VectorStyle::hidden();
  }
  return VectorStyle::hidden();
}

}  // namespace

SettingCheck check_settings(const IndicatorSpec& row, std::span<const ArgValue> args) {
  for (std::size_t i = 0; i < row.args.size() && i < args.size(); ++i) {
    const ArgSpec& arg = row.args[i];
    if (!arg.setting()) continue;
    const auto* whole = std::get_if<std::uint64_t>(&args[i]);
    const auto* real = std::get_if<double>(&args[i]);
    const auto* text = std::get_if<std::string_view>(&args[i]);
    if (whole && *whole < 1) return {SettingFault::below_one, i};
    if (real && !std::isfinite(*real)) return {SettingFault::not_finite, i};
    if (real && arg.positive && !(*real > 0.0)) return {SettingFault::not_positive, i};
    if (text && !choice_index(arg, *text)) return {SettingFault::unknown_choice, i};
    for (std::size_t j = i + 1; !arg.at_most.empty() && j < row.args.size() && j < args.size(); ++j) {
      if (row.args[j].name != arg.at_most) continue;
      const auto* whole_limit = std::get_if<std::uint64_t>(&args[j]);
      const auto* real_limit = std::get_if<double>(&args[j]);
      if ((whole && whole_limit && *whole > *whole_limit) || (real && real_limit && *real > *real_limit)) {
        return {SettingFault::above_limit, i, j};
      }
    }
  }
  return {};
}

model::Indicator build_indicator(const IndicatorSpec& row, std::span<const ArgValue> given) {
  const FullArgs full = with_defaults(row, given);
  const std::span<const ArgValue> args = full.span();
  model::Indicator ind = model::Indicator::make(expand(row.id, row, args, Field::Id),
                                                expand(row.name, row, args, Field::Name) + settings_suffix(row, args));
  ind.placement = row.placement;
  ind.range = row.range;
  for (const LevelSpec& spec : row.levels) {
    model::IndicatorLevel level = model::IndicatorLevel::make(spec.color, spec.value);
    if (spec.style == LevelStyle::Solid) level = std::move(level).solid();
    if (spec.style == LevelStyle::Dotted) level = std::move(level).dotted();
    level.width = spec.width;
    if (spec.label) level = std::move(level).with_label(*spec.label);
    ind = std::move(ind).add_level(std::move(level));
  }
  for (const VectorSpec& spec : row.vectors) {
    ind = std::move(ind).add_vector(model::IndicatorVector::make(spec.name, style_of(spec, row, args)));
  }
  return ind;
}

std::optional<studies::StudyArgs> study_args(const IndicatorSpec& row, std::span<const ArgValue> given,
                                             std::size_t bars) {
  if (row.compute == nullptr || bars == 0) return std::nullopt;
  const FullArgs full = with_defaults(row, given);
  const std::span<const ArgValue> args = full.span();
  if (check_settings(row, args).fault != SettingFault::none) return std::nullopt;
  studies::StudyArgs study_args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (const auto* whole = std::get_if<std::uint64_t>(&args[i])) {
      // A setting longer than the bars gives a warm-up as long as they are: no window of n + 1 bars fills.
      if (row.args[i].setting()) {
        study_args.whole[i] = std::min<std::uint64_t>(*whole, bars + 1);
        continue;
      }
      if (*whole == 0 || *whole > bars || *whole < row.min_period) return std::nullopt;
      study_args.whole[i] = *whole;
    } else if (const auto* real = std::get_if<double>(&args[i])) {
      study_args.real[i] = *real;
    } else if (row.args[i].kind == ArgKind::Choice) {
      study_args.choice[i] = static_cast<std::uint8_t>(*choice_index(row.args[i], std::get<std::string_view>(args[i])));
    }
  }
  return study_args;
}

model::Indicator computed_indicator(const IndicatorSpec& row, std::span<const ArgValue> given,
                                    model::BarsView bars, const coords::TimeZone& zone) {
  model::Indicator ind = build_indicator(row, given);
  if (const std::optional<studies::StudyArgs> args = study_args(row, given, bars.size())) {
    run_study(row, *args, bars, ind, zone);
  }
  return ind;
}

void fill_with_nan(model::Indicator& ind, std::size_t bars) {
  for (model::IndicatorVector& v : ind.vectors) v.values.assign(bars, studies::kNaN);
}

bool run_study(const IndicatorSpec& row, const studies::StudyArgs& args, model::BarsView bars,
               model::Indicator& ind, const coords::TimeZone& zone, studies::Resume* resume) {
  // Sized, not written: the study writes every bar, or those from where it resumes (at a million bars a NaN
  // pass first would cost as much as many a study).
  for (model::IndicatorVector& v : ind.vectors) v.values.resize(bars.size());
  studies::StudyOutput out(ind, resume);
  if (row.compute(studies::Columns{bars, &zone}, args, out)) return true;
  for (model::IndicatorVector& v : ind.vectors) {
    v.values.clear();
    v.up_flags.clear();
  }
  ind.runs.clear();
  return false;
}

}  // namespace qc::api
