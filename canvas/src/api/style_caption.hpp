// The legend's caption of a main series whose style has a setting worth naming: the box styles and the baseline.
#pragma once

#include <optional>
#include <string>

#include "api/config.hpp"

namespace qc::api {

// The style and its settled setting, without values ("Renko 25", "P&F ATR(14) 110.3 x 3", "Kagi 2%",
// "Baseline 2850.00"): `atr` when the box was asked for as the ATR box, `baseline` the baseline style's level
// written with `decimals`. None for the other styles, and for a baseline without a level.
std::optional<std::string> style_caption(const SeriesConfig& series, bool atr, std::optional<double> baseline,
                                         int decimals);

}  // namespace qc::api
