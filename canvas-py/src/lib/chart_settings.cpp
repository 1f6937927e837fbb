// Chart methods for the series style, colours, grid, device-pixel ratio, bars and rendering.
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;

constexpr ChartRow kRows[] = {
    {"bars", "Set OHLCV bar data", {bar_list("bars")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](qc::api::Chart&& chart) {
         chart.bars = std::move(c.args.bar_list(0));
         return std::move(chart);
       });
       return none();
     }},
};

}  // namespace

std::span<const PyMethodDef> chart_settings_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
