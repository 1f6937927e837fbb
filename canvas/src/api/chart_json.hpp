// A chart as one JSON text and back: the records as the chart holds them and the bars as base64 columns.
// Reading computes nothing, so that a chart read from the text of another renders and writes as it does.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "api/chart.hpp"
#include "util/base64_text.hpp"

namespace qc::api {

inline constexpr std::string_view kChartJsonFormat = "quorvel-chart";
inline constexpr std::uint64_t kChartJsonVersion = 1;

std::string chart_to_json(const Chart& chart);
// The same text, to be written where the caller wants it; it reads the chart's columns when written, so the
// chart must outlive it unchanged.
util::Base64Text chart_json(const Chart& chart);

// The chart the text holds, or nullopt with `error` naming the first bad key path in text order
// ("bars.close: 299 values for 300 bars"); a missing key counts at the end of the object that lacks it.
std::optional<Chart> chart_from_json(std::string_view text, std::string& error);

// The form's keys as a Markdown table, one row per key path ("studies[].vectors[].values") with the value it
// holds and the rules the reader holds it to: the README's table.
std::string chart_json_keys();

}  // namespace qc::api
