// Builds an indicator record from a method row and the call's converted arguments.
#include "api/indicator_rows.hpp"

#include <charconv>
#include <stdexcept>
#include <string>

#include "studies/columns.hpp"
#include "studies/window.hpp"
#include "util/numbers.hpp"

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
    case ArgKind::Text: return std::holds_alternative<std::string_view>(value);
  }
  return false;
}

model::VectorStyle style_of(const VectorSpec& v, const IndicatorSpec& row, std::span<const ArgValue> args) {
  using model::VectorStyle;
  const auto color = [&](std::string_view pattern) { return expand(pattern, row, args, Field::Color); };
  switch (v.kind) {
    case VectorKind::Line: return VectorStyle::line(color(v.color), v.size);
    case VectorKind::LineThroughGaps: return VectorStyle::line_through_gaps(color(v.color), v.size);
    case VectorKind::Dashed: return VectorStyle::dashed(color(v.color));
    case VectorKind::Histogram: return VectorStyle::histogram();
    case VectorKind::HistogramColored: return VectorStyle::histogram_colored(color(v.color), color(v.color2), v.part);
    case VectorKind::Cloud: return VectorStyle::cloud(color(v.color), color(v.color2), v.partner, v.size);
    case VectorKind::Dots: return VectorStyle::dots(color(v.color), v.size, true);
    case VectorKind::Hidden: return VectorStyle::hidden();
  }
  return VectorStyle::hidden();
}

}  // namespace

model::Indicator build_indicator(const IndicatorSpec& row, std::span<const ArgValue> args) {
  bool matches = args.size() == row.args.size();
  for (std::size_t i = 0; matches && i < args.size(); ++i) matches = kind_matches(row.args[i].kind, args[i]);
  if (!matches) throw std::invalid_argument("indicator arguments do not match the method's parameters");

  model::Indicator ind =
      model::Indicator::make(expand(row.id, row, args, Field::Id), expand(row.name, row, args, Field::Name));
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

model::Indicator computed_indicator(const IndicatorSpec& row, std::span<const ArgValue> args,
                                    model::BarsView bars, const coords::TimeZone& zone) {
  model::Indicator ind = build_indicator(row, args);
  if (row.compute == nullptr || bars.empty()) return ind;
  studies::StudyArgs study_args;
  for (std::size_t i = 0; i < args.size() && i < study_args.whole.size(); ++i) {
    if (const auto* whole = std::get_if<std::uint64_t>(&args[i])) {
      if (*whole == 0 || *whole > bars.size() || *whole < row.min_period) return ind;
      study_args.whole[i] = *whole;
    } else if (const auto* real = std::get_if<double>(&args[i])) {
      study_args.real[i] = *real;
    }
  }
  run_study(row, study_args, bars, ind, zone);
  return ind;
}

void fill_with_nan(model::Indicator& ind, std::size_t bars) {
  for (model::IndicatorVector& v : ind.vectors) v.values.assign(bars, studies::kNaN);
}

bool run_study(const IndicatorSpec& row, const studies::StudyArgs& args, model::BarsView bars,
               model::Indicator& ind, const coords::TimeZone& zone) {
  fill_with_nan(ind, bars.size());
  studies::StudyOutput out(ind);
  if (row.compute(studies::Columns{bars, &zone}, args, out)) return true;
  for (model::IndicatorVector& v : ind.vectors) {
    v.values.clear();
    v.up_flags.clear();
  }
  ind.runs.clear();
  return false;
}

}  // namespace qc::api
