// Shared whole-series building blocks over the window machinery.
#include "studies/series.hpp"

#include <limits>
#include <vector>

#include "studies/window.hpp"

namespace qc::studies {
namespace {

template <class Window, class Value>
void slide(Window window, std::size_t n, std::span<double> out, Value value) {
  for (std::size_t t = 0; t < n; ++t) out[t] = window.step(t) ? value(window) : kNaN;
}

double higher(double a, double b) { return a > b ? a : b; }  // b for a NaN a
double lower(double a, double b) { return a < b ? a : b; }

}  // namespace

// The windows' extremes of whole series, for studies that keep every window's: the bars are cut into
// blocks of p from bar 0, and a window's extreme is the better of its first block's part (from the
// window's first bar to the block's end, kept from the block before) and its last block's (from the
// block's start to the window's last bar, running). Nothing per bar is stored but the result, the passes
// over a block never branch on the data, and the highs and lows go side by side, so that their chains
// overlap.
void range_series(std::span<const double> high, std::span<const double> low, std::size_t p,
                  std::span<double> highest, std::span<double> lowest) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const std::size_t n = high.size();
  // tail_*[j]: the extreme of the previous block from its j-th bar on; [p] stands for no bar at all (a
  // window that is exactly one block). next_* are this block's, taken before the results, which may
  // overwrite the input, are written.
  std::vector<double> tail_hi(p + 1, -kInf), next_hi(p + 1, -kInf), tail_lo(p + 1, kInf), next_lo(p + 1, kInf);
  std::size_t hi_from = p - 1, lo_from = p - 1;  // the first bars whose windows can hold p finite values
  for (std::size_t b = 0; b < n; b += p) {
    const std::size_t e = p < n - b ? b + p : n;
    double back_hi = -kInf, back_lo = kInf;
    for (std::size_t i = e; i-- > b;) {
      back_hi = higher(high[i], back_hi);
      back_lo = lower(low[i], back_lo);
      next_hi[i - b] = back_hi;
      next_lo[i - b] = back_lo;
    }
    double head_hi = -kInf, head_lo = kInf;
    for (std::size_t i = b; i < e; ++i) {
      const double h = high[i], l = low[i];
      head_hi = higher(h, head_hi);
      head_lo = lower(l, head_lo);
      hi_from = finite(h) ? hi_from : i + p;
      lo_from = finite(l) ? lo_from : i + p;
      const double top = higher(tail_hi[i - b + 1], head_hi), bottom = lower(tail_lo[i - b + 1], head_lo);
      highest[i] = i >= hi_from ? top : kNaN;
      lowest[i] = i >= lo_from ? bottom : kNaN;
    }
    tail_hi.swap(next_hi);
    tail_lo.swap(next_lo);
  }
}

void sum_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  slide(WindowSum(x, p), x.size(), out, [](const WindowSum& w) { return w.sum(); });
}

void sma_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  slide(WindowSum(x, p), x.size(), out, [](const WindowSum& w) { return w.mean(); });
}

void wma_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  WindowWeighted w(p);
  for (std::size_t t = 0; t < x.size(); ++t) out[t] = w.step(x[t], x[t >= p ? t - p : 0]) ? w.mean() : kNaN;
}

void ema_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  Ema avg(p);
  for (std::size_t t = 0; t < x.size(); ++t) out[t] = avg.step(x[t]) ? avg.value() : kNaN;
}

void rsi_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  Rsi rsi(p);
  if (!x.empty()) out[0] = kNaN;
  for (std::size_t t = 1; t < x.size(); ++t) out[t] = rsi.step(x[t] - x[t - 1]) ? rsi.value() : kNaN;
}

void tsi_series(std::span<const double> x, std::size_t r, std::size_t s, std::span<double> out) {
  Ema move_r(r), move_s(s), size_r(r), size_s(s);
  if (!x.empty()) out[0] = kNaN;
  for (std::size_t t = 1; t < x.size(); ++t) {
    const double d = x[t] - x[t - 1];
    const double a = d < 0 ? -d : d;
    // The outer smoothings are fed NaN while the inner ones warm up, so after a gap they restart too.
    const bool inner = move_r.step(d);
    size_r.step(a);
    const bool outer = move_s.step(inner ? move_r.value() : kNaN);
    size_s.step(inner ? size_r.value() : kNaN);
    if (!outer) {
      out[t] = kNaN;
    } else {
      const double den = size_s.value();
      out[t] = den == 0.0 ? 0.0 : 100.0 * move_s.value() / den;
    }
  }
}

void roc_series(std::span<const double> x, std::size_t n, std::span<double> out) {
  std::size_t run = 0;  // finite values in a row ending at t
  for (std::size_t t = 0; t < x.size(); ++t) {
    run = finite(x[t]) ? run + 1 : 0;
    if (run <= n) {  // the n + 1 bars from the base to t are not all finite
      out[t] = kNaN;
      continue;
    }
    const double base = x[t - n];
    out[t] = base == 0.0 ? 0.0 : 100.0 * (x[t] / base - 1.0);
  }
}

void stochastic_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                       std::size_t k, std::span<double> out) {
  WindowMax hi(high, k);
  WindowMin lo(low, k);
  for (std::size_t t = 0; t < close.size(); ++t) {
    const bool h = hi.step(t);
    const bool l = lo.step(t);
    if (!h || !l || !finite(close[t])) {
      out[t] = kNaN;
      continue;
    }
    const double top = hi.value(), bottom = lo.value();
    out[t] = negligible_range(top, bottom) ? 0.0 : 100.0 * (close[t] - bottom) / (top - bottom);
  }
}

void ad_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
               std::span<const double> volume, std::span<double> out) {
  double ad = 0.0;
  for (std::size_t t = 0; t < close.size(); ++t) {
    const double h = high[t], l = low[t], c = close[t], v = volume[t];
    if (!finite(h) || !finite(l) || !finite(c) || !finite(v)) {
      ad = 0.0;
      out[t] = kNaN;
      continue;
    }
    ad += ad_flow(h, l, c, v);
    out[t] = ad;
  }
}

}  // namespace qc::studies
