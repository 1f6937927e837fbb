// Shared whole-series building blocks over the window machinery.
#include "studies/series.hpp"

#include "studies/window.hpp"

namespace qc::studies {
namespace {

template <class Window, class Value>
void slide(Window window, std::size_t n, std::span<double> out, Value value) {
  for (std::size_t t = 0; t < n; ++t) out[t] = window.step(t) ? value(window) : kNaN;
}

template <class Average>
void smooth(std::span<const double> x, std::size_t p, std::span<double> out) {
  Average avg(p);
  for (std::size_t t = 0; t < x.size(); ++t) out[t] = avg.step(x[t]) ? avg.value() : kNaN;
}

}  // namespace

void sum_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  slide(WindowSum(x, p), x.size(), out, [](const WindowSum& w) { return w.sum(); });
}

void sma_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  slide(WindowSum(x, p), x.size(), out, [](const WindowSum& w) { return w.mean(); });
}

void wma_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  const double pd = static_cast<double>(p);
  const double divisor = pd * (pd + 1.0) / 2.0;
  double sum = 0.0;       // Σ x over the window
  double weighted = 0.0;  // Σ i·x, i = 1 for the oldest
  std::size_t run = 0;
  for (std::size_t t = 0; t < x.size(); ++t) {
    const double v = x[t];
    if (!finite(v)) {
      sum = weighted = 0.0;
      run = 0;
      out[t] = kNaN;
      continue;
    }
    if (run < p) {
      ++run;
      weighted += static_cast<double>(run) * v;
      sum += v;
    } else {
      weighted += pd * v - sum;
      sum += v - x[t - p];
    }
    out[t] = run == p ? weighted / divisor : kNaN;
  }
}

void ema_series(std::span<const double> x, std::size_t p, std::span<double> out) { smooth<Ema>(x, p, out); }

void wilder_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  smooth<Wilder>(x, p, out);
}

void true_range_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                       std::span<double> out) {
  if (close.empty()) return;
  out[0] = kNaN;
  for (std::size_t t = 1; t < close.size(); ++t) out[t] = true_range(high[t], low[t], close[t - 1]);
}

void atr_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                std::size_t p, std::span<double> scratch, std::span<double> out) {
  true_range_series(high, low, close, scratch);
  wilder_series(scratch, p, out);
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
  for (std::size_t t = 0; t < x.size(); ++t) {
    if (t < n) {
      out[t] = kNaN;
      continue;
    }
    const double base = x[t - n];
    const double v = x[t];
    if (!finite(base) || !finite(v)) {
      out[t] = kNaN;
    } else {
      out[t] = base == 0.0 ? 0.0 : 100.0 * (v / base - 1.0);
    }
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
    const double range = h - l;
    // A select rather than a branch, and a divisor that is never 0.
    const double flow = ((c - l) - (h - c)) / (range > 0.0 ? range : 1.0) * v;
    ad += range > 0.0 ? flow : 0.0;
    out[t] = ad;
  }
}

}  // namespace qc::studies
