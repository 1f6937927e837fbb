// Hand-written indicator bodies: the guards, and the value series stored into their rows' records.
#include "api/indicator_builders.hpp"

#include <string>
#include <type_traits>
#include <variant>
#include <utility>

#include "api/indicator_catalog.hpp"
#include "api/user_series.hpp"
#include "util/numbers.hpp"
#include "util/unicode_case.hpp"

namespace qc::api {
namespace {

// The row's record for `args`, one value per bar in every vector: its study's for `study` where `runs`,
// else NaN (the hand-written methods add a line of NaN where their period is longer than the bars).
model::Indicator studied(const IndicatorSpec& row, std::span<const ArgValue> args, const studies::StudyArgs& study,
                         model::BarsView bars, bool runs) {
  model::Indicator ind = build_indicator(row, args);
  if (runs) {
    run_study(row, study, bars, ind);
  } else {
    fill_with_nan(ind, bars.size());
  }
  return ind;
}

// The arguments of a study over one period, with a real argument in the second slot.
studies::StudyArgs period_args(std::uint64_t period, double real) {
  studies::StudyArgs study;
  study.whole[0] = period;
  study.real[1] = real;
  return study;
}

// A study over one period: values from as many bars as the period, NaN before.
std::optional<model::Indicator> one_period(const IndicatorSpec& row, std::span<const ArgValue> args,
                                           model::BarsView bars, std::uint64_t period,
                                           double real = 0.0) {
  if (period == 0 || bars.empty()) return std::nullopt;
  return studied(row, args, period_args(period, real), bars, period <= bars.size());
}

// Each bar's volume, up where it closes at or above its open, for bars from … n − 1.
void volume_values(model::BarsView bars, std::size_t from, model::Indicator& ind) {
  model::IndicatorVector& vec = ind.vectors[0];
  vec.values.resize(bars.size());
  vec.up_flags.resize(bars.size());
  for (std::size_t t = from; t < bars.size(); ++t) {
    vec.values[t] = bars.volume[t];
    vec.up_flags[t] = bars.close[t] >= bars.open[t];  // a bar closing at its open counts as up
  }
}

// MACD's study takes any periods: those longer than the bars leave its lines blank.
studies::StudyArgs macd_periods(std::uint64_t fast, std::uint64_t slow, std::uint64_t signal) {
  studies::StudyArgs study;
  study.whole = {fast, slow, signal};
  return study;
}

// The arguments of a catalogue study over n bars.
std::optional<studies::StudyArgs> declared_args(const IndicatorSpec& row, std::span<const CallArg> call, std::size_t n) {
  return study_args(row, CallView(call).span(), n);
}

// sma, ema, rsi and bollinger over n bars: one period, bollinger's multiplier beside it; as one_period guards
// them, none for a period of 0 or above the bars.
std::optional<studies::StudyArgs> one_period_args(const IndicatorSpec& row, std::span<const CallArg> call,
                                                  std::size_t n) {
  const std::uint64_t period = std::get<std::uint64_t>(call[0]);
  const double real = row.args.size() > 1 && row.args[1].kind == ArgKind::Real ? std::get<double>(call[1]) : 0.0;
  if (period == 0 || period > n) return std::nullopt;
  return period_args(period, real);
}

// macd's periods as given, macd_default's its own; as macd_indicator guards them, none for a fast or slow
// period of 0.
std::optional<studies::StudyArgs> macd_args(const IndicatorSpec&, std::span<const CallArg> call, std::size_t) {
  if (call.empty()) return macd_periods(12, 26, 9);
  const std::uint64_t fast = std::get<std::uint64_t>(call[0]), slow = std::get<std::uint64_t>(call[1]);
  if (fast == 0 || slow == 0) return std::nullopt;
  return macd_periods(fast, slow, std::get<std::uint64_t>(call[2]));
}

}  // namespace

std::optional<model::Indicator> sma_indicator(model::BarsView bars, std::uint64_t period,
                                              std::string_view color) {
  const ArgValue args[] = {period, color};
  return one_period(kSmaRow, args, bars, period);
}

std::optional<model::Indicator> ema_indicator(model::BarsView bars, std::uint64_t period,
                                              std::string_view color) {
  const ArgValue args[] = {period, color};
  return one_period(kEmaRow, args, bars, period);
}

std::optional<model::Indicator> rsi_indicator(model::BarsView bars, std::uint64_t period) {
  const ArgValue args[] = {period};
  return one_period(kRsiRow, args, bars, period);
}

std::optional<model::Indicator> bollinger_indicator(model::BarsView bars, std::uint64_t period,
                                                    double multiplier) {
  const ArgValue args[] = {period, multiplier};
  std::optional<model::Indicator> ind = one_period(kBollingerRow, args, bars, period, multiplier);
  // As the filled bands name theirs: a reader takes bands without a multiplier for 2 deviations.
  if (ind && multiplier != 2.0) {
    ind->name += " (";
    util::append_shortest_fixed(ind->name, multiplier);
    ind->name += ')';
  }
  return ind;
}

std::optional<model::Indicator> macd_indicator(model::BarsView bars, std::uint64_t fast,
                                               std::uint64_t slow, std::uint64_t signal) {
  if (bars.empty() || fast == 0 || slow == 0) return std::nullopt;
  const ArgValue args[] = {fast, slow, signal};
  return studied(kMacdRow, args, macd_periods(fast, slow, signal), bars, true);
}

model::Indicator macd_default_indicator(model::BarsView bars) {
  if (bars.empty()) return build_indicator(kMacdDefaultRow, {});
  return studied(kMacdDefaultRow, {}, macd_periods(12, 26, 9), bars, true);
}

std::optional<model::Indicator> volume_indicator(model::BarsView bars, bool pane) {
  if (bars.empty()) return std::nullopt;
  model::Indicator ind = build_indicator(kVolumeRow, {});
  if (pane) {
    ind.placement = model::placement::SubPane{kVolumePaneRatio};
    ind.range = model::range::FromZero{};
  }
  volume_values(bars, 0, ind);
  return ind;
}

LiveStudy live_study(const IndicatorSpec& row, std::span<const ArgValue> args) {
  LiveStudy s;
  s.row = &row;
  s.call.reserve(args.size());
  for (const ArgValue& arg : args) {
    std::visit(
        [&](const auto& v) {
          using V = std::remove_cvref_t<decltype(v)>;
          if constexpr (std::is_same_v<V, std::string_view>) {
            s.call.emplace_back(std::string(v));
          } else {
            s.call.emplace_back(v);
          }
        },
        arg);
  }
  if (&row == &kVolumeRow) {
    s.per_bar = volume_values;
  } else if (&row == &kMacdRow || &row == &kMacdDefaultRow) {
    s.args_at = macd_args;
  } else if (&row == &kSmaRow || &row == &kEmaRow || &row == &kRsiRow || &row == &kBollingerRow) {
    s.args_at = one_period_args;
    s.blank_when_idle = true;
  } else {
    s.args_at = declared_args;
  }
  return s;
}

model::Indicator overlay_indicator(std::string_view name, model::Values values, std::string_view color) {
  SeriesLooks looks;
  looks.color = std::string(color);
  looks.width = kOverlayRow.vectors[0].size;
  return user_series(name, std::move(values), PaneTarget::main(), looks);
}

}  // namespace qc::api
