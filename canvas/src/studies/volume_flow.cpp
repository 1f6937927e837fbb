// Volume flows: running sums of volume by price change.
#include <functional>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

// A running total over closes and volumes: `first(t)` is its value on a bar that starts it (bar 0, or
// the bar after one with a non-finite close or volume, which has no value), `next(previous, t)` its
// value on every later bar. So a gap in the data restarts the total rather than ending it. It resumes
// from the total it keeps through the output's resume().
template <class First, class Next>
void running_total(const Columns& bars, StudyOutput& output, First first, Next next) {
  const std::span<double> out = output.line(0);
  struct Total {
    bool started = false;
    double total = 0.0;  // carried in a register: read back from out, each bar would wait on its store
  } run;
  resumable(output.resume(), bars.size(), run, [&](std::size_t t) {
    if (!finite(bars.close[t]) || !finite(bars.volume[t])) {
      out[t] = kNaN;
      run.started = false;
      return;
    }
    run.total = run.started ? next(run.total, t) : first(t);
    out[t] = run.total;
    run.started = true;
  });
}

// Volume index from 1000: follows the close's ratio on bars whose volume moved the `Moved` way from the
// bar before (below for the negative index, above for the positive one). A previous close of 0 has no
// ratio, so the index holds.
template <class Moved>
void volume_index(const Columns& bars, StudyOutput& out) {
  const auto c = bars.close;
  const auto v = bars.volume;
  running_total(bars, out, [](std::size_t) { return 1000.0; },
                [&](double prev, std::size_t t) {
                  return Moved{}(v[t], v[t - 1]) && c[t - 1] != 0.0 ? prev * (c[t] / c[t - 1]) : prev;
                });
}

}  // namespace

bool ad_line(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  ad_series(bars.high, bars.low, bars.close, bars.volume, out.line(0), out.resume());
  return true;
}

bool nvi(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  volume_index<std::less<double>>(bars, out);
  return true;
}

bool pvi(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  volume_index<std::greater<double>>(bars, out);
  return true;
}

bool obv(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const auto c = bars.close;
  const auto v = bars.volume;
  running_total(bars, out, [&](std::size_t t) { return v[t]; },
                [&](double prev, std::size_t t) {
                  // The direction as a factor, without a branch on it.
                  const double direction = (c[t] > c[t - 1] ? 1.0 : 0.0) - (c[t] < c[t - 1] ? 1.0 : 0.0);
                  return prev + direction * v[t];
                });
  return true;
}

bool vpt(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const auto c = bars.close;
  const auto v = bars.volume;
  running_total(bars, out, [](std::size_t) { return 0.0; },
                [&](double prev, std::size_t t) {
                  // A previous close of 0 gives no relative change: nothing is added.
                  return c[t - 1] == 0.0 ? prev : prev + v[t] * (c[t] - c[t - 1]) / c[t - 1];
                });
  return true;
}

}  // namespace qc::studies
