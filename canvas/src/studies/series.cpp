// Shared whole-series building blocks over the window machinery.
#include "studies/series.hpp"

#include <limits>
#include <vector>

#include "studies/window.hpp"

namespace qc::studies {

void range_series(std::span<const double> high, std::span<const double> low, std::size_t p,
                  std::span<double> highest, std::span<double> lowest) {
  // The windows settle ahead of the bar they are read at and look back from there: a column written over
  // as it goes is read from a copy.
  Scratch copy;
  if (highest.data() == high.data() || lowest.data() == low.data()) {
    copy.assign(high.begin(), high.end());
    copy.insert(copy.end(), low.begin(), low.end());
    high = std::span<const double>(copy).first(high.size());
    low = std::span<const double>(copy).subspan(high.size());
  }
  each_range(high, low, p, [&](std::size_t t, double top, double bottom) {
    highest[t] = top;
    lowest[t] = bottom;
  });
}

void sum_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  slide_sums<1>(
      x.size(), {p}, [&](std::size_t t) { return std::array{x[t]}; },
      [&](std::size_t t, bool full, const std::array<double, 1>& sum) { out[t] = full ? sum[0] : kNaN; });
}

void sma_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  const double pd = static_cast<double>(p);
  slide_sums<1>(
      x.size(), {p}, [&](std::size_t t) { return std::array{x[t]}; },
      [&](std::size_t t, bool full, const std::array<double, 1>& sum) { out[t] = full ? sum[0] / pd : kNaN; });
}

void wma_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  WindowWeighted w(p);
  for (std::size_t t = 0; t < x.size(); ++t) out[t] = w.step(x[t], x[t >= p ? t - p : 0]) ? w.mean() : kNaN;
}

void ema_series(std::span<const double> x, std::size_t p, std::span<double> out, Resume* resume) {
  Ema avg(p);
  resumable(resume, x.size(), avg, [&](std::size_t t) { out[t] = avg.step(x[t]) ? avg.value() : kNaN; });
}

void rsi_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  Rsi rsi(p);
  if (!x.empty()) out[0] = kNaN;
  for (std::size_t t = 1; t < x.size(); ++t) out[t] = rsi.step(x[t] - x[t - 1]) ? rsi.value() : kNaN;
}

void roc_series(std::span<const double> x, std::size_t n, std::span<double> out) {
  RateOfChange rate(x, n);
  for (std::size_t t = 0; t < x.size(); ++t) out[t] = rate.step(t);
}

void stochastic_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                       std::size_t k, std::span<double> out) {
  each_range(high, low, k, [&](std::size_t t, double top, double bottom) {
    const double c = close[t];
    out[t] = !finite(top) || !finite(bottom) || !finite(c) ? kNaN
             : negligible_range(top, bottom)                ? 0.0
                                                            : 100.0 * (c - bottom) / (top - bottom);
  });
}

void ad_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
               std::span<const double> volume, std::span<double> out, Resume* resume) {
  double ad = 0.0;
  resumable(resume, close.size(), ad, [&](std::size_t t) {
    const double h = high[t], l = low[t], c = close[t], v = volume[t];
    if (!finite_all(h, l, c, v)) {
      ad = 0.0;
      out[t] = kNaN;
      return;
    }
    ad += ad_flow(h, l, c, v);
    out[t] = ad;
  });
}

}  // namespace qc::studies
