// Computed indicator arithmetic, in the published order of operations.
#include "api/indicator_values.hpp"

#include <cmath>
#include <limits>

namespace qc::api {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> nan_series(std::size_t n) { return std::vector<double>(n, kNaN); }

// Sum of values[first, last), oldest first.
double window_sum(std::span<const double> values, std::size_t first, std::size_t last) {
  double sum = values[first];
  for (std::size_t j = first + 1; j < last; ++j) sum += values[j];
  return sum;
}

// Windows are independent, so a block of them is summed side by side: each sum keeps its own
// oldest-first order while the additions of neighbouring windows overlap in the pipeline.
constexpr std::size_t kLanes = 8;

// Mean of each window of p values, stored at the window's last index.
void window_means(std::span<const double> x, std::size_t p, double divisor, std::span<double> out) {
  const std::size_t windows = x.size() - p + 1;
  std::size_t w = 0;
  for (; w + kLanes <= windows; w += kLanes) {
    double sum[kLanes];
    for (std::size_t k = 0; k < kLanes; ++k) sum[k] = x[w + k];
    for (std::size_t j = 1; j < p; ++j) {
      for (std::size_t k = 0; k < kLanes; ++k) sum[k] += x[w + k + j];
    }
    for (std::size_t k = 0; k < kLanes; ++k) out[w + k + p - 1] = sum[k] / divisor;
  }
  for (; w < windows; ++w) out[w + p - 1] = window_sum(x, w, w + p) / divisor;
}

// Whether a window of `period` values fits into n; false for 0, which has no window.
bool fits(std::uint64_t period, std::size_t n) { return period != 0 && period <= n; }

}  // namespace

std::vector<double> sma_values(std::span<const double> closes, std::uint64_t period) {
  const std::size_t n = closes.size();
  std::vector<double> out = nan_series(n);
  if (!fits(period, n)) return out;
  window_means(closes, static_cast<std::size_t>(period), static_cast<double>(period), out);
  return out;
}

std::vector<double> ema_values(std::span<const double> closes, std::uint64_t period) {
  const std::size_t n = closes.size();
  std::vector<double> out = nan_series(n);
  if (!fits(period, n)) return out;
  const auto p = static_cast<std::size_t>(period);
  double e = window_sum(closes, 0, p) / static_cast<double>(period);
  out[p - 1] = e;
  const double k = 2.0 / (static_cast<double>(period) + 1.0);
  for (std::size_t i = p; i < n; ++i) {
    e = e + (closes[i] - e) * k;
    out[i] = e;
  }
  return out;
}

std::vector<double> rsi_values(std::span<const double> closes, std::uint64_t period) {
  const std::size_t n = closes.size();
  std::vector<double> out = nan_series(n);
  // Needs period + 1 closes; compared as period < n, since period + 1 overflows at 2**64 - 1.
  if (period == 0 || period >= n) return out;
  const auto p = static_cast<std::size_t>(period);
  const auto divisor = static_cast<double>(period);
  const double carry = divisor - 1.0;
  // Change j is the move from close j to close j + 1, split into a gain and a loss.
  const auto gain = [&](std::size_t j) {
    const double d = closes[j + 1] - closes[j];
    return d > 0 ? d : 0.0;
  };
  const auto loss = [&](std::size_t j) {
    const double d = closes[j + 1] - closes[j];
    return d > 0 ? 0.0 : -d;
  };
  const auto rsi = [](double avg_gain, double avg_loss) {
    return avg_loss == 0 ? 100.0 : 100.0 - 100.0 / (avg_gain / avg_loss + 1.0);
  };
  double gain_sum = gain(0);
  double loss_sum = loss(0);
  for (std::size_t j = 1; j < p; ++j) {
    gain_sum += gain(j);
    loss_sum += loss(j);
  }
  double avg_gain = gain_sum / divisor;
  double avg_loss = loss_sum / divisor;
  out[p] = rsi(avg_gain, avg_loss);
  for (std::size_t j = p; j + 1 < n; ++j) {
    avg_gain = (avg_gain * carry + gain(j)) / divisor;
    avg_loss = (avg_loss * carry + loss(j)) / divisor;
    out[j + 1] = rsi(avg_gain, avg_loss);
  }
  return out;
}

MacdValues macd_values(std::span<const double> closes, std::uint64_t fast, std::uint64_t slow,
                       std::uint64_t signal) {
  const std::size_t n = closes.size();
  const std::vector<double> f = ema_values(closes, fast);
  const std::vector<double> s = ema_values(closes, slow);
  const auto difference = [](double a, double b) { return std::isnan(a) || std::isnan(b) ? kNaN : a - b; };

  MacdValues out{nan_series(n), nan_series(n), nan_series(n)};
  std::size_t first = n;
  for (std::size_t i = 0; i < n; ++i) {
    out.line[i] = difference(f[i], s[i]);
    if (first == n && !std::isnan(out.line[i])) first = i;
  }
  if (signal != 0 && signal <= n - first) {
    const auto q = static_cast<std::size_t>(signal);
    double seed = -0.0;  // the additive identity, as in window_sum: a lone -0 keeps its sign
    for (std::size_t i = first; i < first + q; ++i) {
      if (!std::isnan(out.line[i])) seed += out.line[i];
    }
    out.signal[first + q - 1] = seed / static_cast<double>(signal);
    const double k = 2.0 / (static_cast<double>(signal) + 1.0);
    for (std::size_t i = first + q; i < n; ++i) {
      const double prev = out.signal[i - 1];
      if (!std::isnan(out.line[i]) && !std::isnan(prev)) out.signal[i] = (out.line[i] - prev) * k + prev;
    }
  }
  for (std::size_t i = 0; i < n; ++i) out.histogram[i] = difference(out.line[i], out.signal[i]);
  return out;
}

BandValues bollinger_values(std::span<const double> closes, std::uint64_t period, double multiplier) {
  const std::size_t n = closes.size();
  BandValues out{nan_series(n), nan_series(n), nan_series(n)};
  bollinger_values(closes, period, multiplier, BandLines{out.middle, out.upper, out.lower});
  return out;
}

void bollinger_values(std::span<const double> closes, std::uint64_t period, double multiplier, BandLines out) {
  const std::size_t n = closes.size();
  if (!fits(period, n)) return;
  const auto p = static_cast<std::size_t>(period);
  const auto divisor = static_cast<double>(period);
  window_means(closes, p, divisor, out.middle);
  const std::size_t windows = n - p + 1;
  const auto deviation = [&](std::size_t w, double squares) {
    const double mean = out.middle[w + p - 1];
    const double sd = std::sqrt(squares / divisor);
    out.upper[w + p - 1] = mean + sd * multiplier;
    out.lower[w + p - 1] = mean - sd * multiplier;
  };
  std::size_t w = 0;
  for (; w + kLanes <= windows; w += kLanes) {
    double mean[kLanes];
    double squares[kLanes];
    for (std::size_t k = 0; k < kLanes; ++k) {
      mean[k] = out.middle[w + k + p - 1];
      squares[k] = 0.0;
    }
    for (std::size_t j = 0; j < p; ++j) {
      for (std::size_t k = 0; k < kLanes; ++k) {
        const double d = closes[w + k + j] - mean[k];
        squares[k] += d * d;
      }
    }
    for (std::size_t k = 0; k < kLanes; ++k) deviation(w + k, squares[k]);
  }
  for (; w < windows; ++w) {
    const double mean = out.middle[w + p - 1];
    double squares = 0.0;
    for (std::size_t j = w; j < w + p; ++j) {
      const double d = closes[j] - mean;
      squares += d * d;
    }
    deviation(w, squares);
  }
}

}  // namespace qc::api
