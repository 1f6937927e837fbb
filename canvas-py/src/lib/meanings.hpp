// What each parameter means, for the docstrings: one text per parameter name, shared by every row that
// takes a parameter of that name; a row whose parameter means something else says so with `Param::means`.
#pragma once

#include <string_view>
#include <utility>

#include "params.hpp"

namespace qcpy {

inline constexpr std::pair<std::string_view, std::string_view> kMeanings[] = {
    // studies
    {"period", "number of bars in the window"},
    {"color", "colour of the line, a CSS colour text such as \"#2962ff\""},
    {"multiplier", "distance of the bands (or the stop) from the middle, in ATRs or standard deviations"},
    {"fast", "period of the fast EMA"},
    {"slow", "period of the slow EMA"},
    {"signal", "period of the signal line's EMA"},
    {"deviation", "least reversal, in per cent, that makes a new pivot"},
    {"percent", "distance of the bands from the middle, in per cent of it"},
    {"k", "number of bars of the %K high-low range"},
    {"d", "number of %K values in the %D average"},
    {"r", "period of the first EMA of the close changes"},
    {"s", "period of the second EMA, of the first"},
    {"name", "the line's name in the legend"},
    {"values", "one value per bar, NaN where the line has none"},
    {"colors", "per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud"},
    {"pane", "True: volume in a sub-pane of its own; False: the band behind the candles"},
    // signals and drawing tools
    {"bar_index", "the bar: its index (0 for the first) or a date"},
    {"price", "price level"},
    {"label", "text beside the marker; None for none"},
    {"position", "where it stands: (bar index or date, price)"},
    {"content", "the text it shows"},
    {"p1", "first anchor: (bar index or date, price)"},
    {"p2", "second anchor: (bar index or date, price)"},
    {"p3", "third anchor: (bar index or date, price)"},
    {"start", "where the line starts: (bar index or date, price)"},
    {"end", "where the line ends: (bar index or date, price)"},
    {"center", "the centre: (bar index or date, price)"},
    {"edge", "a point on the edge: (bar index or date, price)"},
    {"entry", "the entry: (bar index or date, price)"},
    {"tp", "the take-profit target: (bar index or date, price)"},
    {"sl", "the stop-loss: (bar index or date, price)"},
    {"points", "the anchors, a sequence of (bar index or date, price)"},
    // chart settings and data
    {"up", "colour of rising bars (close at or above open)"},
    {"down", "colour of falling bars"},
    {"show", "True to show, False to hide"},
    {"on", "True to turn it on, False to turn it off"},
    {"scale", "the PNG's size in times the document's, 0.1 to 8 (each side at most 32,767 pixels); None: the "
              "chart's dpr up to 8, less where a side would pass 32,767 pixels"},
    {"path", "where to write: anything open() takes; its suffix (.svg, .png, .pdf or .html) chooses the kind"},
    {"text", "the title; an empty text removes it"},
    {"dpr", "device pixel ratio: 2 draws every length twice as large, for high-DPI screens"},
    {"bars", "the bars, oldest first"},
    {"timestamps", "bar times: integers in `unit` since 1970-01-01 UTC, or datetime64 values"},
    {"unit", "the integer timestamps' unit: 's', 'ms', 'us' or 'ns'"},
    {"open", "opening prices, one per bar"},
    {"high", "highest prices, one per bar"},
    {"low", "lowest prices, one per bar"},
    {"close", "closing prices, one per bar"},
    {"volume", "volumes, one per bar; None gives every bar 0.0"},
    {"memo", "the deepcopy memo (unused: a chart holds no Python objects)"},
    {"count", "number of bars"},
    {"json", "a theme document as to_json() writes it"},
    {"t", "a Theme, UITheme or RuntimeTheme whose background, grid, text, up and down colours the chart takes"},
};

// The parameter's own meaning, else the common one of its name, else null.
constexpr const char* meaning_of(const Param& p) {
  if (p.meaning != nullptr) return p.meaning;
  for (const auto& [name, meaning] : kMeanings) {
    if (name == p.name) return meaning.data();
  }
  return nullptr;
}

// Every parameter of the list has a meaning (checked for every method row when it is compiled).
constexpr bool all_meant(const Params& params) {
  for (const Param& p : params.all()) {
    if (meaning_of(p) == nullptr) return false;
  }
  return true;
}

}  // namespace qcpy
