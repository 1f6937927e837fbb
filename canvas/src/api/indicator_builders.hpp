// The indicator methods with hand-written bodies: their guards, and the values of their rows' studies.
// A method whose guard adds nothing returns no indicator.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "api/live_record.hpp"
#include "model/indicators.hpp"
#include "model/series/bar_columns.hpp"

namespace qc::api {

// Nothing when the period is 0 or there are no bars.
std::optional<model::Indicator> sma_indicator(model::BarsView bars, std::uint64_t period,
                                              std::string_view color);
std::optional<model::Indicator> ema_indicator(model::BarsView bars, std::uint64_t period,
                                              std::string_view color);
std::optional<model::Indicator> rsi_indicator(model::BarsView bars, std::uint64_t period);
std::optional<model::Indicator> bollinger_indicator(model::BarsView bars, std::uint64_t period,
                                                    double multiplier);

// Nothing when there are no bars or the fast or slow period is 0.
std::optional<model::Indicator> macd_indicator(model::BarsView bars, std::uint64_t fast,
                                               std::uint64_t slow, std::uint64_t signal);

// MACD (12, 26, 9) as macd_indicator computes it, under its own id; without values when there are no bars.
model::Indicator macd_default_indicator(model::BarsView bars);

// Nothing when there are no bars. The volumes lie in a band under the price series, or in a sub-pane of
// their own (`pane`) whose range starts at 0; a bar is up where it closes at or above its open.
std::optional<model::Indicator> volume_indicator(model::BarsView bars, bool pane = false);

// How the record a call of `row` made with `args` (one per argument of the row, as its builder took them)
// follows new bars: the catalogue's studies, and those above by their rows.
LiveStudy live_study(const IndicatorSpec& row, std::span<const ArgValue> args);

// The caller's values as given, under id "custom_" and the name lower-cased with spaces as "_".
model::Indicator overlay_indicator(std::string_view name, model::Values values, std::string_view color);

}  // namespace qc::api
