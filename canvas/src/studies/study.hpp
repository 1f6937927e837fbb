// The shape every study shares: the bars as columns and the call's arguments in, the indicator's
// value lines out. The indicator catalog names each method's study next to its row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/indicators.hpp"
#include "studies/columns.hpp"
#include "studies/resume.hpp"

namespace qc::studies {

// The most arguments a method takes.
inline constexpr std::size_t kMaxStudyArgs = 4;

// The call's arguments by position: whole numbers (periods, never 0 nor above the bar count when a study
// runs, except where a study says so; settings at most one past it), reals (multipliers, percents) and
// choices (the index of the text among those the argument accepts), each in the slot of its parameter.
struct StudyArgs {
  std::array<std::uint64_t, kMaxStudyArgs> whole{};
  std::array<double, kMaxStudyArgs> real{};
  std::array<std::uint8_t, kMaxStudyArgs> choice{};

  std::size_t period(std::size_t i = 0) const { return static_cast<std::size_t>(whole[i]); }
  friend bool operator==(const StudyArgs&, const StudyArgs&) = default;
};

// Where a study writes: the indicator's vectors in row order, each n long and unwritten. A study writes every
// bar of every line, NaN where it has no value; a recursion that runs through resume() (where given) writes
// the bars from where it resumes, the others holding the values of the computation before.
class StudyOutput {
 public:
  explicit StudyOutput(model::Indicator& indicator, Resume* resume = nullptr) : ind_(indicator), resume_(resume) {}

  Resume* resume() const { return resume_; }

  std::span<double> line(std::size_t i) { return ind_.vectors[i].values; }
  // Per-bar colour flags of a histogram (true: drawn in the up colour), n long.
  std::vector<std::uint8_t>& up_flags(std::size_t i) {
    ind_.vectors[i].up_flags.assign(ind_.vectors[i].values.size(), 1);
    return ind_.vectors[i].up_flags;
  }
  // One key per bar; lines are not joined where the key changes. `levels`: each run draws as one
  // horizontal segment at its level.
  std::vector<std::uint32_t>& runs(bool levels) {
    ind_.runs_are_levels = levels;
    ind_.runs.assign(ind_.vectors.empty() ? 0 : ind_.vectors[0].values.size(), 0);
    return ind_.runs;
  }

 private:
  model::Indicator& ind_;
  Resume* resume_;
};

// The choices of the studies over calendar periods, in the order their rows list the texts.
enum class CalendarPeriod : std::uint8_t { automatic, day, week, month, year };
enum class PivotKind : std::uint8_t { floor, fibonacci, camarilla, woodie };

// A study: false when its arguments give no values (the vectors are then left empty).
using StudyFn = bool (*)(const Columns&, const StudyArgs&, StudyOutput&);

// How many bars a window study's value reads, its own and those before it: new or changed bars then change
// the values from there on alone, which the study gives again from the bars that far back.
using StudyReach = std::size_t (*)(const StudyArgs&);
inline std::size_t period_bars(const StudyArgs& args) { return args.period(); }
// A change over the period: the bar `period` back and those after it.
inline std::size_t period_bars_and_one(const StudyArgs& args) { return args.period() + 1; }
inline std::size_t one_bar(const StudyArgs&) { return 1; }
// A mean over the period of values each made over the period.
inline std::size_t period_of_periods(const StudyArgs& args) { return 2 * args.period() - 1; }

#define QC_STUDY(name) bool name(const Columns& bars, const StudyArgs& args, StudyOutput& out);
// A window study's reach beside it, where none of the shapes above says it.
#define QC_REACH(name) std::size_t name##_reach(const StudyArgs& args);

// Price overlays: moving averages (moving_averages.cpp), channels and bands (channels.cpp), trend
// followers (trend.cpp), studies over calendar periods (periods.cpp).
QC_STUDY(sma)
QC_STUDY(ema)
QC_STUDY(bollinger)
QC_STUDY(hma)
QC_STUDY(wma)
QC_STUDY(dema)
QC_STUDY(tema)
QC_STUDY(kama)
QC_STUDY(trima)
QC_STUDY(zlema)
QC_STUDY(mcginley)
QC_STUDY(linear_regression)
QC_STUDY(keltner)
QC_STUDY(atr_bands)
QC_STUDY(bollinger_filled)
QC_STUDY(envelopes)
QC_STUDY(donchian)
QC_STUDY(price_channel)
QC_STUDY(supertrend)
QC_STUDY(zigzag)
QC_STUDY(psar)
QC_STUDY(vwap)
QC_STUDY(ichimoku)
QC_STUDY(pivot_points)
QC_STUDY(chande_kroll_stop)

// Oscillators in fixed ranges (oscillators.cpp).
QC_STUDY(rsi)
QC_STUDY(adx)
QC_STUDY(aroon)
QC_STUDY(aroon_oscillator)
QC_STUDY(balance_of_power)
QC_STUDY(choppiness)
QC_STUDY(cmf)
QC_STUDY(cmo)
QC_STUDY(connors_rsi)
QC_STUDY(mfi)
QC_STUDY(schaff_trend_cycle)
QC_STUDY(stoch_rsi)
QC_STUDY(stochastic)
QC_STUDY(tsi)
QC_STUDY(ultimate_oscillator)
QC_STUDY(williams_r)

// Oscillators about zero (momentum.cpp).
QC_STUDY(macd)
QC_STUDY(accelerator_oscillator)
QC_STUDY(awesome_oscillator)
QC_STUDY(cci)
QC_STUDY(chaikin_oscillator)
QC_STUDY(coppock_curve)
QC_STUDY(dpo)
QC_STUDY(elder_ray)
QC_STUDY(eom)
QC_STUDY(fisher_transform)
QC_STUDY(force_index)
QC_STUDY(kst)
QC_STUDY(linear_regression_slope)
QC_STUDY(momentum)
QC_STUDY(pgo)
QC_STUDY(qstick)
QC_STUDY(roc)
QC_STUDY(rvi)
QC_STUDY(smi_ergodic)
QC_STUDY(trix)

// Volume flows (volume_flow.cpp) and volatility (volatility.cpp), in automatic ranges.
QC_STUDY(ad_line)
QC_STUDY(atr)
QC_STUDY(historical_volatility)
QC_STUDY(mass_index)
QC_STUDY(nvi)
QC_STUDY(obv)
QC_STUDY(pvi)
QC_STUDY(stddev)
QC_STUDY(ulcer_index)
QC_STUDY(vortex)
QC_STUDY(vpt)

// The reaches of window studies made of windows over windows, written beside their studies.
QC_REACH(hma)
QC_REACH(stochastic)
QC_REACH(ultimate_oscillator)
QC_REACH(accelerator_oscillator)
QC_REACH(awesome_oscillator)
QC_REACH(coppock_curve)
QC_REACH(dpo)
QC_REACH(kst)
QC_REACH(rvi)

#undef QC_STUDY
#undef QC_REACH

}  // namespace qc::studies
