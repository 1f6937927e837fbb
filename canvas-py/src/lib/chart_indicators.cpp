// Chart's 75 indicator methods: 67 rows read off the indicator catalogue and served by one body, and
// the eight with hand-written bodies (sma, ema, rsi, macd, bollinger, volume, macd_default and overlay).
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "api/indicator_builders.hpp"
#include "api/indicator_catalog.hpp"
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::ArgKind;
using qc::api::IndicatorSpec;

consteval Param param_of(const qc::api::ArgSpec& arg) {
  const auto with_meaning = [&](Param p) { return arg.meaning.empty() ? p : p.means(arg.meaning.data()); };
  switch (arg.kind) {
    case ArgKind::Whole: return with_meaning(u64(arg.name.data()));
    case ArgKind::Real: return with_meaning(f64(arg.name.data()));
    // The catalogue's only texts are the colours its vectors are drawn in.
    case ArgKind::Text:
      if (arg.name != "color") throw "a text argument that is not a colour";
      return with_meaning(color(arg.name.data()));
  }
  throw "unknown argument kind";
}

// A row's texts are string literals, so their views serve as C strings; its docstring is written from it.
consteval ChartRow row_of(const IndicatorSpec& spec, Body<ChartClass> body, const void* data = nullptr) {
  const auto& a = spec.args;
  Params params = a.size() == 0   ? Params{}
                  : a.size() == 1 ? Params{param_of(a[0])}
                  : a.size() == 2 ? Params{param_of(a[0]), param_of(a[1])}
                                  : Params{param_of(a[0]), param_of(a[1]), param_of(a[2])};
  return {spec.method.data(), Doc(spec.doc.data(), &spec), params, Borrow::exclusive, body, data};
}

// Every catalogue study: build the record from the row and its values from the chart's bars.
PyObject* declared_body(ChartCall& c) {
  const IndicatorSpec& spec = c.data<IndicatorSpec>();
  std::array<qc::api::ArgValue, 3> values;
  for (std::size_t i = 0; i < spec.args.size(); ++i) {
    switch (spec.args[i].kind) {
      case ArgKind::Whole: values[i] = c.args.u64(i); break;
      case ArgKind::Real: values[i] = c.args.f64(i); break;
      case ArgKind::Text: values[i] = std::string_view(c.args.text(i)); break;
    }
  }
  with_chart(c, [&](qc::api::Chart&& chart) {
    qc::model::Indicator ind =
        qc::api::computed_indicator(spec, std::span(values.data(), spec.args.size()), chart.bars,
                                     chart.config.time_zone);
    return std::move(chart).indicator(std::move(ind));
  });
  return none();
}

// Computed methods read the bars, so the chart is taken first; a guard that refuses adds nothing.
template <class Compute>
PyObject* append_computed(ChartCall& c, Compute&& compute) {
  with_chart(c, [&](qc::api::Chart&& chart) {
    std::optional<qc::model::Indicator> ind = compute(chart.bars.view());
    if (ind) return std::move(chart).indicator(std::move(*ind));
    return std::move(chart);
  });
  return none();
}

PyObject* append(ChartCall& c, qc::model::Indicator ind) {
  with_chart(c, [&](qc::api::Chart&& chart) { return std::move(chart).indicator(std::move(ind)); });
  return none();
}

constexpr ChartRow kHandWrittenRows[] = {
    row_of(qc::api::kSmaRow,
           [](ChartCall& c) {
             return append_computed(
                 c, [&](auto bars) { return qc::api::sma_indicator(bars, c.args.u64(0), c.args.text(1)); });
           }),
    row_of(qc::api::kEmaRow,
           [](ChartCall& c) {
             return append_computed(
                 c, [&](auto bars) { return qc::api::ema_indicator(bars, c.args.u64(0), c.args.text(1)); });
           }),
    row_of(qc::api::kRsiRow,
           [](ChartCall& c) {
             return append_computed(c, [&](auto bars) { return qc::api::rsi_indicator(bars, c.args.u64(0)); });
           }),
    row_of(qc::api::kMacdRow,
           [](ChartCall& c) {
             return append_computed(c, [&](auto bars) {
               return qc::api::macd_indicator(bars, c.args.u64(0), c.args.u64(1), c.args.u64(2));
             });
           }),
    row_of(qc::api::kMacdDefaultRow,
           [](ChartCall& c) {
             return append_computed(c, [](auto bars) { return std::optional(qc::api::macd_default_indicator(bars)); });
           }),
    row_of(qc::api::kBollingerRow,
           [](ChartCall& c) {
             return append_computed(
                 c, [&](auto bars) { return qc::api::bollinger_indicator(bars, c.args.u64(0), c.args.f64(1)); });
           }),
    row_of(qc::api::kVolumeRow,
           [](ChartCall& c) { return append_computed(c, [](auto bars) { return qc::api::volume_indicator(bars); }); }),
    // Its values are the caller's, so its parameters are not its row's.
    {"overlay", Doc(qc::api::kOverlayRow.doc.data(), &qc::api::kOverlayRow),
     {text("name"), f64_list("values"), color("color")}, Borrow::exclusive,
     [](ChartCall& c) {
       return append(c, qc::api::overlay_indicator(c.args.text(0), std::move(c.args.f64_list(1)), c.args.text(2)));
     }},
};

// The hand-written rows, then one row per catalogue entry.
consteval auto indicator_rows() {
  constexpr std::size_t kHandWritten = std::size(kHandWrittenRows);
  std::array<ChartRow, kHandWritten + qc::api::kDeclaredIndicatorCount> rows{};
  for (std::size_t i = 0; i < kHandWritten; ++i) rows[i] = kHandWrittenRows[i];
  for (std::size_t i = 0; i < qc::api::kDeclaredIndicatorCount; ++i) {
    const IndicatorSpec& spec = qc::api::kDeclaredIndicators[i];
    rows[kHandWritten + i] = row_of(spec, declared_body, &spec);
  }
  return rows;
}

constexpr auto kRows = indicator_rows();
static_assert(kRows.size() == 75);

}  // namespace

MethodGroup chart_indicator_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
