// Chart's 75 indicator methods: 67 rows read off the indicator catalogue and served by one body, and
// the eight with hand-written bodies (sma, ema, rsi, macd, bollinger, volume, macd_default and overlay).
#include <array>
#include <optional>
#include <span>
#include <string>
#include <variant>
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
  const auto with_meaning = [&](Param p) {
    if (arg.keyword_only()) p.default_text = arg.default_text.data();
    return arg.meaning.empty() ? p : p.means(arg.meaning.data());
  };
  switch (arg.kind) {
    case ArgKind::Whole: return with_meaning(u64(arg.name.data()));
    case ArgKind::Real: return with_meaning(f64(arg.name.data()));
    // The catalogue's only free texts are the colours its vectors are drawn in.
    case ArgKind::Text: return with_meaning(arg.keyword_only() ? opt_color(arg.name.data()) : color(arg.name.data()));
    case ArgKind::Choice: return with_meaning(text(arg.name.data()));
  }
  throw "unknown argument kind";
}

// A row's texts are string literals, so their views serve as C strings; its docstring is written from it.
// `*` goes before the first keyword-only argument.
consteval ChartRow row_of(const IndicatorSpec& spec, Body<ChartClass> body, const void* data = nullptr) {
  std::array<Param, kMaxParams + 1> list{};
  std::size_t count = 0;
  bool starred = false;
  for (const qc::api::ArgSpec& arg : spec.args) {
    if (arg.keyword_only() && !starred) list[count++] = star;
    starred = starred || arg.keyword_only();
    list[count++] = param_of(arg);
  }
  return {spec.method.data(), Doc(spec.doc.data(), &spec), Params(std::span<const Param>(list.data(), count)),
          Borrow::exclusive, body, data};
}

PyObject* to_py_value(const qc::api::ArgValue& value) {
  if (const auto* whole = std::get_if<std::uint64_t>(&value)) return PyLong_FromUnsignedLongLong(*whole);
  if (const auto* real = std::get_if<double>(&value)) return PyFloat_FromDouble(*real);
  const std::string_view text = std::get<std::string_view>(value);
  return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

// ValueError for the first setting at fault: "argument 'kind': 'x' is not one of 'floor', 'fibonacci'".
void raise_setting_fault(const IndicatorSpec& spec, std::span<const qc::api::ArgValue> values) {
  using qc::api::SettingFault;
  const qc::api::SettingCheck check = qc::api::check_settings(spec, values);
  if (check.fault == SettingFault::none) return;
  const qc::api::ArgSpec& arg = spec.args[check.index];
  std::string what;
  switch (check.fault) {
    case SettingFault::below_one: what = "is below 1"; break;
    case SettingFault::not_finite: what = "is not finite"; break;
    case SettingFault::not_positive: what = "is not above 0"; break;
    case SettingFault::above_limit: {
      Ref limit = Ref::steal(to_py_value(values[check.limit]));
      if (!limit) throw PyErrorPending{};
      Ref repr = Ref::steal(PyObject_Repr(limit.get()));
      if (!repr) throw PyErrorPending{};
      what = "is above '" + std::string(spec.args[check.limit].name) + "' (" + PyUnicode_AsUTF8(repr.get()) + ")";
      break;
    }
    case SettingFault::unknown_choice:
      what = "is not one of ";
      for (std::size_t i = 0; i < arg.choices.size(); ++i) {
        what += (i == 0 ? "'" : ", '") + std::string(arg.choices[i]) + "'";
      }
      break;
    case SettingFault::none: return;
  }
  Ref given = Ref::steal(to_py_value(values[check.index]));
  if (!given) throw PyErrorPending{};
  PyErr_Format(PyExc_ValueError, "argument '%s': %R %s", arg.name.data(), given.get(), what.c_str());
  throw PyErrorPending{};
}

// Every catalogue study: build the record from the row and its values from the chart's bars.
PyObject* declared_body(ChartCall& c) {
  const IndicatorSpec& spec = c.data<IndicatorSpec>();
  std::array<qc::api::ArgValue, qc::api::kMaxArgs> values;
  for (std::size_t i = 0; i < spec.args.size(); ++i) {
    switch (spec.args[i].kind) {
      case ArgKind::Whole: values[i] = c.args.u64(i); break;
      case ArgKind::Real: values[i] = c.args.f64(i); break;
      case ArgKind::Text:
        if (spec.args[i].keyword_only()) {
          const std::optional<std::string>& color = c.args.opt_text(i);
          values[i] = color ? std::string_view(*color) : std::string_view();
        } else {
          values[i] = std::string_view(c.args.text(i));
        }
        break;
      case ArgKind::Choice: values[i] = std::string_view(c.args.text(i)); break;
    }
  }
  const std::span<const qc::api::ArgValue> given(values.data(), spec.args.size());
  raise_setting_fault(spec, given);
  with_chart(c, [&](qc::api::Chart&& chart) {
    qc::model::Indicator ind = qc::api::computed_indicator(spec, given, chart.bars, chart.config.time_zone);
    return std::move(chart).indicator(std::move(ind));
  });
  return none();
}

// Computed methods read the bars, so the chart is taken first; a guard that refuses adds nothing.
template <class Compute>
PyObject* append_computed(ChartCall& c, Compute&& compute) {
  with_chart(c, [&](qc::api::Chart&& chart) {
    std::optional<qc::model::Indicator> ind = compute(std::span<const qc::model::Bar>(chart.bars));
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
