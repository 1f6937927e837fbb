// Chart methods for the box styles (renko, point and figure, line break, kagi), and the rules that keep
// everything on a chart drawn as boxes placed on them: the order of calls and new bars made into boxes.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "api/box_chart.hpp"
#include "api/series_names.hpp"
#include "chart.hpp"
#include "dates.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::BoxFault;
using qc::api::BoxRequest;
using qc::api::Chart;
using qc::api::SettledBoxes;
using qc::model::BoxKind;

[[noreturn]] void raise_float(const char* name, const char* expected, double given) {
  Ref number = Ref::steal(PyFloat_FromDouble(given));
  PyErr_Format(PyExc_ValueError, "argument '%s': expected %s, got %R", name, expected, number.get());
  throw PyErrorPending{};
}

// A box or an amount of price: finite and above 0.
double positive_amount(double v, const char* name) {
  if (!(std::isfinite(v) && v > 0.0)) raise_float(name, "a finite number above 0", v);
  return v;
}

// A count (a reversal in boxes, a number of lines): from 1 to what the settings hold.
std::uint32_t count_of(std::int64_t v, const char* name) {
  if (v < 1) value_error(name, std::to_string(v) + " is below 1");
  if (v > INT64_C(0xffffffff)) value_error(name, std::to_string(v) + " is above 4294967295");
  return static_cast<std::uint32_t>(v);
}

// The box of renko and point and figure: a number, or None for the ATR box.
BoxRequest box_request(BoxKind kind, std::optional<double> box, std::uint32_t count) {
  BoxRequest r{{kind, 0.0, count, false}, !box.has_value()};
  if (box) r.settings.size = positive_amount(*box, "box");
  return r;
}

BoxRequest renko_request(ChartCall& c) { return box_request(BoxKind::renko, c.args.opt_f64(0), 0); }

BoxRequest point_and_figure_request(ChartCall& c) {
  return box_request(BoxKind::point_and_figure, c.args.opt_f64(0), count_of(c.args.i64(1), "reversal"));
}

BoxRequest line_break_request(ChartCall& c) {
  return {{BoxKind::line_break, 0.0, count_of(c.args.i64(0), "lines"), false}, false};
}

BoxRequest kagi_request(ChartCall& c) {
  const std::optional<double> reversal = c.args.opt_f64(0);
  const bool percent = c.args.flag(1);
  if (!reversal && percent) value_error("reversal", "None with percent=True: give the percent");
  BoxRequest r{{BoxKind::kagi, 0.0, 0, percent}, !reversal.has_value()};
  if (!reversal) return r;
  r.settings.size = positive_amount(*reversal, "reversal");
  if (percent && r.settings.size >= 100.0) raise_float("reversal", "a percent below 100", r.settings.size);
  return r;
}

// The refusal of settings that `bars` bars settled to `settled`, after `prefix`; `atr` when the amount was
// asked for as None.
[[noreturn]] void raise_fault(const std::string& prefix, const SettledBoxes& settled, bool atr, std::size_t bars) {
  if (settled.fault == BoxFault::none) throw Panic("a box refusal without a fault");
  PyErr_SetString(PyExc_ValueError, (prefix + qc::api::box_refusal(settled, atr, bars)).c_str());
  throw PyErrorPending{};
}

[[noreturn]] void raise_order_error(qc::api::SeriesType called) {
  PyErr_SetString(PyExc_ValueError, qc::api::order_error(called).c_str());
  throw PyErrorPending{};
}

struct BoxStyleDesc {
  const char* name;
  const char* doc;
  Params params;
  BoxRequest (*request)(ChartCall&);
};

// The settings are checked and settled on the chart's bars before it is taken, so a refusal leaves it as
// it was.
PyObject* set_box_style(ChartCall& c) {
  const BoxRequest request = c.data<BoxStyleDesc>().request(c);
  const Chart& held = chart_of(c);
  if (qc::api::has_placed_items(held.config)) raise_order_error(qc::api::series_type_of(request.settings.kind));
  const qc::model::BarsView bars = held.user_bars();
  const SettledBoxes settled = qc::api::settle_boxes(bars, request);
  if (settled.fault != BoxFault::none) raise_fault("", settled, request.atr, bars.size());
  with_chart(c, [&](Chart&& chart) { return qc::api::draw_boxes(std::move(chart), settled.settings, request.atr); });
  return none();
}

constexpr Param kBox = opt_f64("box").means(
    "the box in price; None: the Wilder ATR(14) of the bars at the last bar, to 4 significant digits");

constexpr BoxStyleDesc kBoxStyles[] = {
    {"renko",
     "Renko chart: a box of a fixed size stacked up or down each time the close moves a box beyond the last (two "
     "to turn), drawn as bodies without wicks",
     {kBox}, renko_request},
    {"point_and_figure",
     "Point and figure chart: columns of X (rising) and O (falling) on a grid of boxes, a new column when the close "
     "turns by `reversal` boxes",
     {kBox, Param{"reversal", Kind::i64, "3"}.means("the boxes the close must turn by to start a new column")},
     point_and_figure_request},
    {"line_break",
     "Line break chart: a new line each time the close passes the highest or lowest of the last `lines` lines, "
     "drawn as bodies without wicks",
     {Param{"lines", Kind::i64, "3"}.means("the lines whose extreme a close must pass to turn")},
     line_break_request},
    {"kagi",
     "Kagi chart: a line that follows the close and turns when it moves back by the reversal, thick above the last "
     "shoulder and thin below the last waist",
     {opt_f64("reversal").means("the move that turns the line: an amount of price, or a percent with percent=True; "
                                "None: the ATR box"),
      flag("percent", "False").means("read the reversal as a percent of the run's end")},
     kagi_request},
};

constexpr auto kRows = rows_from<ChartClass, kBoxStyles>(Borrow::exclusive, set_box_style);

}  // namespace

void set_bar_style(ChartCall& c, qc::api::SeriesConfig series) {
  const Chart& held = chart_of(c);
  if (held.boxed() && qc::api::has_placed_items(held.config)) raise_order_error(series.series_type);
  with_chart(c, [&](Chart&& chart) { return qc::api::draw_bars(std::move(chart), std::move(series)); });
}

void set_user_bars(ChartCall& c, qc::model::BarColumns bars) {
  const Chart& held = chart_of(c);
  qc::model::BoxSettings settings = held.config.series.boxes;
  if (held.boxed()) {
    const SettledBoxes settled = qc::api::settle_boxes(bars, {settings, held.source.atr});
    if (settled.fault != BoxFault::none) {
      raise_fault(std::string(qc::api::series_name(held.config.series.series_type)) + "() refuses these bars: ",
                  settled, held.source.atr, bars.size());
    }
    settings = settled.settings;
  }
  with_chart(c, [&](Chart&& chart) { return qc::api::replace_bars(std::move(chart), std::move(bars), settings); });
}

MethodGroup chart_box_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
