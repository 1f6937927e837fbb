// Log scale mapping and ticks: round prices decade by decade, the linear ticks when too few are round.
#include "coords/log_scale.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <utility>

#include "coords/price_scale.hpp"
#include "util/fixed.hpp"

namespace qc::coords {
namespace {

constexpr int kRoundMantissas[] = {5, 2, 1};
constexpr int kAllMantissas[] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
// A scale with fewer round prices than this is ticked more finely.
constexpr std::size_t kFewestTicks = 4;

// The decade of a logarithm, held within the exponents a double reaches (and a little beyond, where the
// prices computed are 0 or infinite and so fall outside every pane).
int decade(double log_value) {
  return static_cast<int>(std::clamp(std::floor(log_value / std::numbers::ln10), -330.0, 310.0));
}

// Calls f(t, decimals) for every price t = m x 10^k of the pane's log range with m among `mantissas`
// (listed from the largest), from the highest price down.
template <class F>
void for_each_round_price(const PriceMapping& pane, std::span<const int> mantissas, F&& f) {
  const int top = decade(pane.log_max) + 1, bottom = decade(pane.log_min) - 1;
  for (int k = top; k >= bottom; --k) {
    // Negative powers divide by the positive one, so that 0.1, 0.2, ... are the doubles nearest them.
    const double power = std::pow(10.0, std::abs(k));
    for (const int m : mantissas) {
      const double t = k >= 0 ? m * power : m / power;
      const double l = std::log(t);
      if (l >= pane.log_min && l < pane.log_max) f(t, std::min(std::max(0, -k), util::kMaxFixedDecimals));
    }
  }
}

std::size_t round_price_count(const PriceMapping& pane, std::span<const int> mantissas) {
  std::size_t n = 0;
  for_each_round_price(pane, mantissas, [&](double, int) { ++n; });
  return n;
}

// Into each gap of more than kLogFillGap pixels between two ticks kept, or between the pane's edge and the tick
// kept nearest it, go the ticks the linear scale takes for the prices between them over the gap's height,
// labelled as it labels them: those strictly between the two, at least kLogTickGap pixels from either and from
// each other going down. The ticks kept all stay.
LabelledTicks with_gaps_filled(const PriceMapping& pane, LabelledTicks&& kept) {
  const std::size_t n = kept.values.size();
  // Stop i is the pane's top for i = 0, its bottom for i = n + 1, else the kept tick i - 1.
  const auto stop = [&](std::size_t i) { return i == 0 ? pane.max : i == n + 1 ? pane.min : kept.values[i - 1]; };
  const auto wide = [&](std::size_t i) { return pane.y(stop(i + 1)) - pane.y(stop(i)) > kLogFillGap; };
  std::size_t gaps = 0;
  for (std::size_t i = 0; i <= n; ++i) gaps += wide(i) ? 1 : 0;
  if (gaps == 0) return std::move(kept);
  LabelledTicks out;
  out.values.reserve(n + gaps * kMaxPriceTicks);
  out.decimals.reserve(n + gaps * kMaxPriceTicks);
  for (std::size_t i = 0; i <= n; ++i) {
    if (i > 0) {
      out.values.push_back(kept.values[i - 1]);
      out.decimals.push_back(kept.decimals[i - 1]);
    }
    if (!wide(i)) continue;
    const double upper = stop(i), lower = stop(i + 1);
    const double top = pane.y(upper), bottom = pane.y(lower), height = bottom - top;
    const PriceTicks linear = price_ticks(lower, upper, height);
    const int decimals = price_label_decimals(lower, upper, height);
    double last = top;
    for (std::size_t j = linear.count; j-- > 0;) {
      const double t = linear.values[j], y = pane.y(t);
      if (!(t > lower && t < upper) || y - last < kLogTickGap || bottom - y < kLogTickGap) continue;
      out.values.push_back(t);
      out.decimals.push_back(decimals);
      last = y;
    }
  }
  return out;
}

}  // namespace

std::optional<PriceMapping> log_price_mapping(double lo, double hi, double top, double height) {
  if (!(lo > 0) || !(hi > lo) || !std::isfinite(hi)) return std::nullopt;
  const double ln_lo = std::log(lo), ln_hi = std::log(hi);
  const double pad = 0.05 * (ln_hi - ln_lo);
  PriceMapping pane{0.0, 0.0, top, height};
  pane.log = true;
  pane.log_min = ln_lo - pad;
  pane.log_max = ln_hi + pad;
  // Neighbouring doubles far from 1 can share a logarithm: nothing to spread over the pane.
  if (!(pane.log_max > pane.log_min)) return std::nullopt;
  pane.min = std::exp(pane.log_min);
  pane.max = std::fmin(std::exp(pane.log_max), DBL_MAX);
  return pane;
}

void LabelledTicks::append_label(std::string& out, std::size_t i, const PriceFormat* format) const {
  append_price_as(out, values[i], decimals[i], format);
}

int LabelledTicks::most_decimals() const {
  return decimals.empty() ? 0 : *std::max_element(decimals.begin(), decimals.end());
}

double LabelledTicks::largest_magnitude() const {
  double m = 0.0;
  for (double t : values) m = std::fmax(m, std::fabs(t));
  return m;
}

LabelledTicks log_price_ticks(const PriceMapping& pane) {
  LabelledTicks out;
  double last_y = 0.0;
  auto keep = [&](double t, int decimals) {
    const double y = pane.y(t);
    if (!out.values.empty() && y - last_y < kLogTickGap) return;
    out.values.push_back(t);
    out.decimals.push_back(decimals);
    last_y = y;
  };

  std::span<const int> mantissas = kRoundMantissas;
  std::size_t count = round_price_count(pane, mantissas);
  if (count < kFewestTicks) {
    mantissas = kAllMantissas;
    count = round_price_count(pane, mantissas);
  }
  if (count >= kFewestTicks) {
    out.values.reserve(count);
    out.decimals.reserve(count);
    for_each_round_price(pane, mantissas, keep);
    return with_gaps_filled(pane, std::move(out));
  }
  const PriceTicks linear = price_ticks(pane.min, pane.max, pane.height);
  const int decimals = price_label_decimals(pane.min, pane.max, pane.height);
  out.values.reserve(linear.count);
  out.decimals.reserve(linear.count);
  for (std::size_t i = linear.count; i-- > 0;) keep(linear.values[i], decimals);
  return with_gaps_filled(pane, std::move(out));
}

}  // namespace qc::coords
