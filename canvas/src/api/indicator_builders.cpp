// Hand-written indicator bodies: the guards, and the value series stored into their rows' records.
#include "api/indicator_builders.hpp"

#include <string>
#include <utility>

#include "api/indicator_catalog.hpp"
#include "api/indicator_values.hpp"
#include "util/unicode_case.hpp"

namespace qc::api {
namespace {

std::vector<double> closes_of(std::span<const model::Bar> bars) {
  std::vector<double> closes;
  closes.reserve(bars.size());
  for (const model::Bar& bar : bars) closes.push_back(bar.close);
  return closes;
}

model::Indicator with_values(model::Indicator ind, std::vector<double> v0, std::vector<double> v1 = {},
                             std::vector<double> v2 = {}) {
  std::vector<double>* lists[] = {&v0, &v1, &v2};
  for (std::size_t i = 0; i < ind.vectors.size() && i < 3; ++i) ind.vectors[i].values = std::move(*lists[i]);
  return ind;
}

}  // namespace

std::optional<model::Indicator> sma_indicator(std::span<const model::Bar> bars, std::uint64_t period,
                                              std::string_view color) {
  if (period == 0 || bars.empty()) return std::nullopt;
  const ArgValue args[] = {period, color};
  return with_values(build_indicator(kSmaRow, args), sma_values(closes_of(bars), period));
}

std::optional<model::Indicator> ema_indicator(std::span<const model::Bar> bars, std::uint64_t period,
                                              std::string_view color) {
  if (period == 0 || bars.empty()) return std::nullopt;
  const ArgValue args[] = {period, color};
  return with_values(build_indicator(kEmaRow, args), ema_values(closes_of(bars), period));
}

std::optional<model::Indicator> rsi_indicator(std::span<const model::Bar> bars, std::uint64_t period) {
  if (period == 0 || bars.empty()) return std::nullopt;
  const ArgValue args[] = {period};
  return with_values(build_indicator(kRsiRow, args), rsi_values(closes_of(bars), period));
}

std::optional<model::Indicator> bollinger_indicator(std::span<const model::Bar> bars, std::uint64_t period,
                                                    double multiplier) {
  if (period == 0 || bars.empty()) return std::nullopt;
  const ArgValue args[] = {period, multiplier};
  BandValues bands = bollinger_values(closes_of(bars), period, multiplier);
  return with_values(build_indicator(kBollingerRow, args), std::move(bands.middle), std::move(bands.upper),
                     std::move(bands.lower));
}

std::optional<model::Indicator> macd_indicator(std::span<const model::Bar> bars, std::uint64_t fast,
                                               std::uint64_t slow, std::uint64_t signal) {
  if (bars.empty() || fast == 0 || slow == 0) return std::nullopt;
  MacdValues macd = macd_values(closes_of(bars), fast, slow, signal);
  std::string id = "macd_" + std::to_string(fast) + '_' + std::to_string(slow);
  // The name carries the periods reduced to 32 bits; the values use them in full.
  model::Indicator ind = model::Indicator::macd(id, static_cast<std::uint32_t>(fast),
                                                static_cast<std::uint32_t>(slow), static_cast<std::uint32_t>(signal));
  return with_values(std::move(ind), std::move(macd.line), std::move(macd.signal), std::move(macd.histogram));
}

model::Indicator macd_default_indicator() { return model::Indicator::macd("macd", 12, 26, 9); }

std::optional<model::Indicator> volume_indicator(std::span<const model::Bar> bars) {
  if (bars.empty()) return std::nullopt;
  model::Indicator ind = build_indicator(kVolumeRow, {});
  model::IndicatorVector& vec = ind.vectors[0];
  vec.values.reserve(bars.size());
  vec.up_flags.reserve(bars.size());
  for (const model::Bar& bar : bars) {
    vec.values.push_back(bar.volume);
    vec.up_flags.push_back(bar.close >= bar.open);  // a bar closing at its open counts as up
  }
  return ind;
}

model::Indicator overlay_indicator(std::string_view name, std::vector<double> values, std::string_view color) {
  std::string id = "custom_";
  util::append_lowercase(id, name);
  for (std::size_t i = 7; i < id.size(); ++i) {
    if (id[i] == ' ') id[i] = '_';
  }
  model::Indicator ind = model::Indicator::make(id, name);
  model::IndicatorVector vec = model::IndicatorVector::make(name, model::VectorStyle::line(color, 1.5));
  vec.values = std::move(values);
  return std::move(ind).add_vector(std::move(vec));
}

}  // namespace qc::api
