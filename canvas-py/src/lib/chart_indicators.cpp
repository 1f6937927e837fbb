// Chart's 75 indicator methods: 67 rows read off the indicator catalogue and served by one body, and
// the eight with hand-written bodies (sma, ema, rsi, macd, bollinger, volume, macd_default and overlay).
// Every study without a colour argument of its own takes keyword-only colours, and every sub-pane study a
// height, after its row's arguments.
#include <array>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <utility>
#include <variant>
#include <vector>

#include "api/indicator_builders.hpp"
#include "api/indicator_catalog.hpp"
#include "api/indicator_style.hpp"
#include "api/live_chart.hpp"
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

// A colour of its own: a line's colour given by position (the averages), not a setting's colours.
constexpr bool has_color_argument(const IndicatorSpec& spec) {
  for (const qc::api::ArgSpec& arg : spec.args) {
    if (arg.kind == ArgKind::Text && !arg.keyword_only()) return true;
  }
  return false;
}

// The row's arguments (its settings keyword-only), then the keyword-only looks: a sub-pane's height, and colours unless the row
// takes a colour of its own.
consteval Params params_of(const IndicatorSpec& spec) {
  std::array<Param, kMaxParams + 1> list{};
  std::size_t n = 0;
  bool starred = false;
  for (const qc::api::ArgSpec& arg : spec.args) {
    if (arg.keyword_only() && !starred) list[n++] = star;
    starred = starred || arg.keyword_only();
    list[n++] = param_of(arg);
  }
  const bool sub_pane = std::holds_alternative<qc::model::placement::SubPane>(spec.placement);
  const bool colors = !has_color_argument(spec);
  if ((sub_pane || colors) && !starred) list[n++] = star;
  if (sub_pane) list[n++] = pane_height("height");
  if (colors) {
    list[n++] = opt_color("color").means("colour of the first drawn line; None keeps its own");
    list[n++] = color_list("colors");
  }
  return Params(std::span<const Param>(list.data(), n));
}

// A row's texts are string literals, so their views serve as C strings; its docstring is written from it.
// `*` goes before the first keyword-only argument.
consteval ChartRow row_of(const IndicatorSpec& spec, Body<ChartClass> body, const void* data = nullptr) {
  return {spec.method.data(), Doc(spec.doc.data(), &spec), params_of(spec), Borrow::exclusive, body, data};
}

// The row with defaults for some of its positional parameters, as Python writes them; a colour given the
// default "None" takes None (the body then picks its colour).
consteval ChartRow with_defaults(ChartRow row, std::initializer_list<std::pair<const char*, const char*>> defaults) {
  std::array<Param, kMaxParams + 1> list{};
  std::size_t n = 0;
  bool starred = false;
  for (const Param& p : row.params.all()) {
    if (p.keyword_only && !starred) list[n++] = star;
    starred = starred || p.keyword_only;
    Param q = p;
    q.keyword_only = false;
    for (const auto& [name, text] : defaults) {
      if (std::string_view(name) != p.name) continue;
      q.default_text = text;
      if (q.kind == Kind::color && std::string_view(text) == "None") q.kind = Kind::opt_color;
    }
    list[n++] = q;
  }
  row.params = Params(std::span<const Param>(list.data(), n));
  return row;
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

// The index of the parameter named `name`, if the row has one.
std::optional<std::size_t> param_index(const Params& params, std::string_view name) {
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (params[i].name == name) return i;
  }
  return std::nullopt;
}

[[noreturn]] void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw PyErrorPending{};
}

// A call's height and colours for the study of `spec`, checked against the vectors the row draws before
// the chart is touched: one colour list entry per drawn vector, pairs only for histograms and clouds, and
// one colour given to either serving for both of its colours.
struct StudyLooks {
  std::optional<double> height;
  std::vector<qc::api::VectorColors> colors;  // empty: the row's

  static StudyLooks of(ChartCall& c, const IndicatorSpec& spec) {
    StudyLooks looks;
    const Params& params = c.params();
    if (const auto i = param_index(params, "height")) looks.height = c.args.opt_f64(*i);
    const auto color_at = param_index(params, "color");
    const auto colors_at = param_index(params, "colors");
    if (!color_at || !colors_at) return looks;
    std::optional<std::string>& color = c.args.opt_text(*color_at);
    ColorList& list = c.args.color_list(*colors_at);
    if (color && list) raise(PyExc_TypeError, "arguments 'color' and 'colors' cannot both be given");
    std::vector<const qc::api::VectorSpec*> drawn;
    for (const qc::api::VectorSpec& v : spec.vectors) {
      if (qc::api::is_drawn(v)) drawn.push_back(&v);
    }
    if (color) {
      looks.colors.push_back({std::move(color), std::nullopt});
      if (qc::api::takes_two_colors(*drawn.front())) looks.colors[0].second = looks.colors[0].first;
      return looks;
    }
    if (!list) return looks;
    if (list->size() != drawn.size()) {
      raise(PyExc_ValueError, "argument 'colors': expected " + std::to_string(drawn.size()) +
                                  (drawn.size() == 1 ? " entry, got " : " entries, got ") +
                                  std::to_string(list->size()));
    }
    looks.colors.resize(drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      ColorEntry& entry = (*list)[i];
      qc::api::VectorColors& out = looks.colors[i];
      const bool two = qc::api::takes_two_colors(*drawn[i]);
      if (entry.pair && !two) {
        raise(PyExc_TypeError, "argument 'colors[" + std::to_string(i) +
                                   "]': a pair of colours is for a histogram or a cloud, not for '" +
                                   std::string(drawn[i]->name) + "'");
      }
      out.first = std::move(entry.first);
      out.second = entry.pair ? std::move(entry.second) : two ? out.first : std::nullopt;
    }
    return looks;
  }

  void apply(qc::model::Indicator& ind) const {
    if (height) qc::api::set_pane_height(ind, *height);
    qc::api::recolor(ind, colors);
  }
  // The lines of the study's record left in the row's colours.
  qc::api::DefaultColors defaults(const IndicatorSpec& spec) const { return qc::api::default_lines(spec, colors); }
};

// Every catalogue study: build the record from the row and its values from the chart's bars.
PyObject* declared_body(ChartCall& c) {
  const IndicatorSpec& spec = c.data<IndicatorSpec>();
  const StudyLooks looks = StudyLooks::of(c, spec);
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
    looks.apply(ind);
    return qc::api::add_live_study(std::move(chart), std::move(ind), qc::api::live_study(spec, given),
                                   looks.defaults(spec));
  });
  return none();
}

// Computed methods read the bars, so the chart is taken first; a guard that refuses adds nothing. The
// looks the call gives for the row are read before; `live` says how the record follows new bars;
// `unnamed` the lines drawn in an argument's colour that took its default (None).
template <class Compute>
PyObject* append_computed(ChartCall& c, const IndicatorSpec& spec, Compute&& compute, qc::api::LiveStudy live,
                          qc::api::DefaultColors unnamed = qc::api::kNoneDefault) {
  const StudyLooks looks = StudyLooks::of(c, spec);
  with_chart(c, [&](qc::api::Chart&& chart) {
    std::optional<qc::model::Indicator> ind = compute(qc::model::BarsView(chart.bars));
    if (!ind) return std::move(chart);
    looks.apply(*ind);
    return qc::api::add_live_study(std::move(chart), std::move(*ind), std::move(live), looks.defaults(spec) | unnamed);
  });
  return none();
}

// How a hand-written row's record follows new bars, for the call's arguments as its builder takes them.
template <class... Arg>
qc::api::LiveStudy live_of(const IndicatorSpec& row, Arg... args) {
  const std::array<qc::api::ArgValue, sizeof...(Arg)> values{qc::api::ArgValue(args)...};
  return qc::api::live_study(row, values);
}

// The averages' colours when given none.
constexpr std::string_view kSmaColor = "#2962ff";
constexpr std::string_view kEmaColor = "#ff9800";

// An average's colour: the caller's, else its own.
std::string_view average_color(ChartCall& c, std::string_view own) {
  const std::optional<std::string>& given = c.args.opt_text(1);
  return given ? std::string_view(*given) : own;
}

// An average's line when its colour argument is None.
qc::api::DefaultColors line_unless_colored(ChartCall& c) {
  return c.args.opt_text(1) ? qc::api::kNoneDefault : qc::api::DefaultColors{1};
}

// The body of an average's row: its line in the caller's colour, else in its own.
template <const IndicatorSpec& Row, auto Make, const std::string_view& Own>
PyObject* average(ChartCall& c) {
  const std::uint64_t period = c.args.u64(0);
  return append_computed(
      c, Row, [&](auto bars) { return Make(bars, period, average_color(c, Own)); },
      live_of(Row, period, average_color(c, Own)), line_unless_colored(c));
}

constexpr ChartRow kHandWrittenRows[] = {
    with_defaults(row_of(qc::api::kSmaRow, average<qc::api::kSmaRow, qc::api::sma_indicator, kSmaColor>),
                  {{"color", "None"}}),
    with_defaults(row_of(qc::api::kEmaRow, average<qc::api::kEmaRow, qc::api::ema_indicator, kEmaColor>),
                  {{"color", "None"}}),
    row_of(qc::api::kRsiRow,
           [](ChartCall& c) {
             return append_computed(
                 c, qc::api::kRsiRow, [&](auto bars) { return qc::api::rsi_indicator(bars, c.args.u64(0)); },
                 live_of(qc::api::kRsiRow, c.args.u64(0)));
           }),
    with_defaults(row_of(qc::api::kMacdRow,
                         [](ChartCall& c) {
                           return append_computed(
                               c, qc::api::kMacdRow,
                               [&](auto bars) {
                                 return qc::api::macd_indicator(bars, c.args.u64(0), c.args.u64(1), c.args.u64(2));
                               },
                               live_of(qc::api::kMacdRow, c.args.u64(0), c.args.u64(1), c.args.u64(2)));
                         }),
                  {{"fast", "12"}, {"slow", "26"}, {"signal", "9"}}),
    row_of(qc::api::kMacdDefaultRow,
           [](ChartCall& c) {
             return append_computed(
                 c, qc::api::kMacdDefaultRow,
                 [](auto bars) { return std::optional(qc::api::macd_default_indicator(bars)); },
                 live_of(qc::api::kMacdDefaultRow));
           }),
    with_defaults(row_of(qc::api::kBollingerRow,
                         [](ChartCall& c) {
                           return append_computed(
                               c, qc::api::kBollingerRow,
                               [&](auto bars) {
                                 return qc::api::bollinger_indicator(bars, c.args.u64(0), c.args.f64(1));
                               },
                               live_of(qc::api::kBollingerRow, c.args.u64(0), c.args.f64(1)));
                         }),
                  {{"multiplier", "2.0"}}),
    {qc::api::kVolumeRow.method.data(), Doc(qc::api::kVolumeRow.doc.data(), &qc::api::kVolumeRow),
     {star, flag("pane", "False"), pane_height("height"),
      opt_color("color").means("one colour for every bar, rising or falling; None: the up and down colours"),
      color_list("colors")},
     Borrow::exclusive,
     [](ChartCall& c) {
       return append_computed(
           c, qc::api::kVolumeRow, [&](auto bars) { return qc::api::volume_indicator(bars, c.args.flag(0)); },
           live_of(qc::api::kVolumeRow));
     }},
    // Its values are the caller's, so its parameters are not its row's.
    {"overlay", Doc(qc::api::kOverlayRow.doc.data(), &qc::api::kOverlayRow),
     {text("name"), number_column("values"),
      opt_color("color").means("colour of the line, the dots or a histogram's bars; None: the next of the palette"),
      star, pane("pane", "'price'").means("'price' the main pane, 'new' a sub-pane of its own below the others, or a "
                                          "number: 0 the main pane, k the k-th sub-pane from the top, -1 the lowest"),
      text("style", "'line'").means("'line', 'dashed', 'dotted', 'step', 'histogram', 'dots' or 'area'"),
      f64("width", "1.5").means("the line's width, 0.5 to 5"),
      color_list("colors").means("(up, down): a histogram's colours by sign; None: the chart's up and down colours"),
      opt_f64_list("levels").means("values marked by dotted lines across the series' pane"),
      value_range("range").means("(lo, hi): a new pane's fixed value range; None: automatic"),
      pane_height("height")},
     Borrow::exclusive, overlay_body},
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
