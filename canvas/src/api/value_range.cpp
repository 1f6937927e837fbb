// Value ranges: finite-only spans, padding, the degenerate-range rule and the five range modes.
#include "api/value_range.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <type_traits>
#include <variant>

namespace qc::api {
namespace {

// The values drawn, the drawn stretch of one vector at a time: a hidden vector's (a trend's direction, say)
// would stretch a range it is not drawn in.
template <class F>
void for_each_column(std::span<const model::Indicator* const> records, ValueIndices at, F&& f) {
  for (const model::Indicator* indicator : records) {
    for (const auto& vec : indicator->vectors) {
      if (!vec.style.is_hidden()) f(at.of(vec.values));
    }
  }
}

// The drawn values and a sub-pane's own levels, which count among its values so that they are drawn inside
// the pane even when the vectors hold nothing or only small values.
FiniteSpan values_and_levels(std::span<const model::Indicator* const> records, ValueIndices at) {
  FiniteSpan span;
  for_each_column(records, at, [&](std::span<const double> values) { span.add_all(values); });
  for (const model::Indicator* indicator : records) {
    if (!std::holds_alternative<model::placement::SubPane>(indicator->placement) &&
        !std::holds_alternative<model::placement::Joins>(indicator->placement)) {
      continue;
    }
    for (const auto& level : indicator->levels) span.add(level.value);
  }
  return span;
}

ValueRange auto_range(std::span<const model::Indicator* const> records, ValueIndices at) {
  const auto ends = values_and_levels(records, at).ends();
  if (!ends || !(ends->hi - ends->lo > 0)) return kEmptyRange;
  return padded(*ends, 0.1);
}

// The largest magnitude is that of one end.
ValueRange symmetric_range(std::span<const model::Indicator* const> records, ValueIndices at) {
  double m = 0.0;
  if (const auto ends = values_and_levels(records, at).ends()) {
    m = std::max({m, std::abs(ends->lo), std::abs(ends->hi)});
  }
  const double e = m + 0.1 * m;
  return {-e, e};
}

std::optional<ValueRange> bar_price_ends(model::BarsView bars, FiniteSpan& span) {
  span.add_lows(bars.low);
  span.add_highs(bars.high);
  return span.ends();
}

ValueRange padded_price_range(const std::optional<ValueRange>& ends) {
  return ends ? padded(*ends, 0.05) : kEmptyRange;
}

}  // namespace

std::optional<ValueRange> from_zero_range(std::span<const model::Indicator* const> records, ValueIndices at) {
  double largest = 0.0;
  bool negative = false;
  for_each_column(records, at, [&](std::span<const double> values) {
    util::Extremes e;
    if (!finite_extremes(values, e)) return;
    negative = negative || e.low < 0;
    largest = std::max(largest, e.high);
  });
  if (negative || !(largest > 0)) return std::nullopt;
  const double hi = 1.1 * largest;
  return ValueRange{0.0, std::isfinite(hi) ? hi : largest};
}

bool finite_extremes(std::span<const double> values, util::Extremes& out) {
  const auto at = [&](std::size_t k) { return values[k]; };
  return util::extremes(0, values.size(), at, at, [&](std::size_t k) { return util::finite_value(values[k]); }, out);
}

void FiniteSpan::add_all(std::span<const double> values) {
  util::Extremes e;
  if (!finite_extremes(values, e)) return;
  add_low(e.low);
  add_high(e.high);
}

void FiniteSpan::add_lows(std::span<const double> values) {
  util::Extremes e;
  if (finite_extremes(values, e)) add_low(e.low);
}

void FiniteSpan::add_highs(std::span<const double> values) {
  util::Extremes e;
  if (finite_extremes(values, e)) add_high(e.high);
}

std::optional<ValueRange> FiniteSpan::ends() const {
  if (!has_lo_ && !has_hi_) return std::nullopt;
  return ValueRange{has_lo_ ? lo_ : hi_, has_hi_ ? hi_ : lo_};
}

ValueRange padded(ValueRange r, double fraction) {
  const double pad = (r.hi - r.lo) * fraction;
  return {r.lo - pad, r.hi + pad};
}

ValueRange drawable(ValueRange r) {
  if (!std::isfinite(r.lo) || !std::isfinite(r.hi)) return kEmptyRange;
  if (r.lo != r.hi) return r;
  double d = 0.05 * std::abs(r.lo);
  if (!(d >= DBL_MIN)) d = 1.0;
  return {r.lo - d, r.hi + d};
}

std::optional<ValueRange> price_pane_ends(model::BarsView bars,
                                          std::span<const model::Indicator* const> overlays, ValueIndices at,
                                          std::optional<double> level) {
  FiniteSpan span;
  for_each_column(overlays, at, [&](std::span<const double> values) { span.add_all(values); });
  if (level) span.add(*level);
  return bar_price_ends(bars, span);
}

ValueRange price_pane_range(const std::optional<ValueRange>& ends) { return drawable(padded_price_range(ends)); }

ValueRange pane_range(model::BarsView bars, std::span<const model::Indicator* const> records, ValueIndices at) {
  if (records.empty()) return kEmptyRange;
  const ValueRange r = std::visit(
      [&](const auto& mode) -> ValueRange {
        using M = std::decay_t<decltype(mode)>;
        if constexpr (std::is_same_v<M, model::range::Auto>) {
          return auto_range(records, at);
        } else if constexpr (std::is_same_v<M, model::range::Fixed>) {
          return {mode.min, mode.max};
        } else if constexpr (std::is_same_v<M, model::range::Symmetric>) {
          return symmetric_range(records, at);
        } else if constexpr (std::is_same_v<M, model::range::FromZero>) {
          const std::optional<ValueRange> from_zero = from_zero_range(records, at);
          return from_zero ? *from_zero : auto_range(records, at);
        } else {
          FiniteSpan span;
          return padded_price_range(bar_price_ends(bars, span));
        }
      },
      records.front()->range);
  return drawable(r);
}

}  // namespace qc::api
