// Chart.markers: many signals in one call, from a mask, bar indices or dates, each bar getting what the
// signal method of the kind would add.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bar_values.hpp"
#include "buffers.hpp"
#include "by_instant.hpp"
#include "chart.hpp"
#include "columns.hpp"
#include "coords/civil_calendar.hpp"
#include "dates.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::SignalConfig;
using qc::api::SignalType;
using qc::model::BarsView;

using Field = std::span<const double> BarsView::*;

// A kind's name, its signal, and the bar's price it stands at when given none.
struct MarkKind {
  std::string_view name;
  SignalType type;
  Field field;
};
constexpr MarkKind kKinds[] = {
    {"buy", SignalType::Buy, &BarsView::low},          {"sell", SignalType::Sell, &BarsView::high},
    {"entry", SignalType::Entry, &BarsView::low},      {"exit", SignalType::Exit, &BarsView::high},
    {"take_profit", SignalType::TakeProfit, &BarsView::close}, {"stop_loss", SignalType::StopLoss, &BarsView::close},
    {"custom", SignalType::Custom, &BarsView::close},
};

struct NamedField {
  std::string_view name;
  Field field;
};
constexpr NamedField kFields[] = {{"low", &BarsView::low}, {"high", &BarsView::high}, {"close", &BarsView::close}};

template <class Table>
std::string names_of(const Table& table) {
  std::string names;
  for (const auto& entry : table) names += (names.empty() ? "'" : ", '") + std::string(entry.name) + "'";
  return names;
}

template <class Table>
const auto& choice(const Table& table, const std::string& given, const char* name) {
  for (const auto& entry : table) {
    if (entry.name == given) return entry;
  }
  Ref text = Ref::steal(PyUnicode_FromStringAndSize(given.data(), static_cast<Py_ssize_t>(given.size())));
  PyErr_Format(PyExc_ValueError, "argument '%s': %R is not one of %s", name, text.get(), names_of(table).c_str());
  throw PyErrorPending{};
}

// The marked bars, one flag per bar, from any form `where` takes.
class Marks {
 public:
  Marks(const qc::api::Chart& chart, const BarClock& clock) : chart_(chart), clock_(clock), marked_(size()) {}

  std::vector<std::uint8_t> read(PyObject* where) && {
    // The instants of a pandas object's true entries are dates, placed as every date is: on the bar holding them.
    if (has_time_index(where)) {
      const IndexedValues indexed = indexed_values(where, kName);
      Ref index = Ref::steal(PyObject_GetAttrString(where, "index"));
      for (std::size_t i = 0; i < indexed.values.size(); ++i) {
        const double v = indexed.values[i];
        if (v != 0.0 && !std::isnan(v)) place(index.get(), i, {DateQuery::Form::instant, indexed.instants[i]});
      }
      return std::move(marked_);
    }
    // A masked array's masked entries mark nothing: bar indices and dates among them are left out, mask
    // entries are False.
    Ref plain;
    if (is_masked(where)) {
      const char kind = dtype_kind(where);
      const bool listed = kind == 'i' || kind == 'u' || kind == 'M';
      plain = listed ? Ref::steal(PyObject_CallMethod(where, "compressed", nullptr)) : unmasked(where);
      if (plain) where = plain.get();
    }
    if (dtype_kind(where) == 'M') {
      read_datetimes(where);
      return std::move(marked_);
    }
    Buffer buffer;
    Ref array;
    if (column_buffer(where, buffer, array)) {
      read_buffer(buffer);
    } else {
      read_items(array ? array.get() : where);
    }
    return std::move(marked_);
  }

 private:
  static constexpr const char* kName = "where";

  std::size_t size() const { return chart_.bars.size(); }

  void mark(std::int64_t bar) {
    if (bar < 0 || static_cast<std::uint64_t>(bar) >= size()) {
      value_error(kName, "bar " + std::to_string(bar) + " is not among the " + std::to_string(size()) +
                             (chart_.boxed() ? " boxes" : " bars"));
    }
    marked_[static_cast<std::size_t>(bar)] = 1;
  }

  void check_mask(std::size_t entries) const {
    if (!fits_slots(entries, chart_)) {
      value_error(kName, "a mask of " + std::to_string(entries) + " entries for " + slots_text(chart_));
    }
  }

  // A mask of one entry per bar or per box, each read by `entry(i)`.
  template <class Entry>
  void read_mask(std::size_t entries, Entry&& entry) {
    check_mask(entries);
    std::vector<std::uint8_t> mask(entries);
    for (std::size_t i = 0; i < entries; ++i) mask[i] = entry(i);
    marked_ = on_slots(std::move(mask), chart_);
  }

  // A mask of booleans (one byte each), or bar indices of an integer format.
  void read_buffer(const Buffer& b) {
    const Py_buffer& v = b.view();
    const std::string_view format = v.format != nullptr ? v.format : "B";
    if (v.ndim == 1 && v.itemsize == 1 && (format == "?" || format == "=?" || format == "<?" || format == ">?")) {
      const char* base = static_cast<const char*>(v.buf);
      read_mask(static_cast<std::size_t>(b.size()), [&](std::size_t i) {
        return static_cast<std::uint8_t>(base[static_cast<Py_ssize_t>(i) * b.stride()] != 0);
      });
      return;
    }
    const std::optional<Format> f = number_format(v);
    if (!f || f->sort == Sort::floating) {
      PyErr_Format(PyExc_TypeError, "argument '%s': expected a mask, bar indices or dates, got a column of format '%s'",
                   kName, format_text(v).c_str());
      throw PyErrorPending{};
    }
    std::vector<std::int64_t> bars(static_cast<std::size_t>(b.size()));
    read_integers(b, *f, 0, b.size(), {reinterpret_cast<char*>(bars.data()), sizeof(std::int64_t)}, kName);
    for (const std::int64_t bar : bars) mark(bar);
  }

  // datetime64 values: days for a unit of a day or more, instants otherwise (naive ones in UTC).
  void read_datetimes(PyObject* where) {
    const std::vector<std::int64_t> instants = time_column(where, kName);
    Ref dtype = Ref::steal(PyObject_GetAttrString(where, "dtype"));
    Ref text = Ref::steal(PyObject_Str(dtype.get()));
    const char* dtype_text = PyUnicode_AsUTF8(text.get());
    if (dtype_text == nullptr) throw PyErrorPending{};
    const std::string_view unit = dtype_text;
    const bool days = unit.ends_with("[D]") || unit.ends_with("[W]") || unit.ends_with("[M]") || unit.ends_with("[Y]");
    for (std::size_t i = 0; i < instants.size(); ++i) {
      const std::int64_t t = instants[i];
      const DateQuery date = days ? DateQuery{DateQuery::Form::day, qc::coords::floor_div(t, qc::coords::kSecondsPerDay)}
                                  : DateQuery{DateQuery::Form::instant, t};
      place(where, i, date);
    }
  }

  // Marks the bar holding item i of `dates`, the date it stands for.
  void place(PyObject* dates, std::size_t i, const DateQuery& date) {
    const qc::coords::DatePlace placed = qc::coords::place_date(clock_, date, DateRole::bar);
    if (placed.outcome != qc::coords::DatePlace::Outcome::found) {
      Ref item = Ref::steal(PySequence_GetItem(dates, static_cast<Py_ssize_t>(i)));
      place_date(item.get(), date, &clock_, kName, DateRole::bar);  // raises, naming the date and the bar
    }
    marked_[static_cast<std::size_t>(placed.index)] = 1;
  }

  // A sequence: all booleans (numpy's too) make a mask, else each item is a bar index or a date.
  void read_items(PyObject* where) {
    if (PyUnicode_Check(where) || !PySequence_Check(where)) {
      PyErr_Format(PyExc_TypeError, "argument '%s': expected a mask, bar indices or dates, got '%s'", kName,
                   Py_TYPE(where)->tp_name);
      throw PyErrorPending{};
    }
    // A tuple of the items: the conversions below may run the caller's code, which must not move them.
    Ref items = Ref::steal(PySequence_Tuple(where));
    const Py_ssize_t n = PyTuple_GET_SIZE(items.get());
    PyObject** item = &PyTuple_GET_ITEM(items.get(), 0);
    bool mask = true;
    for (Py_ssize_t i = 0; i < n && mask; ++i) mask = PyBool_Check(item[i]) || looks_like_numpy_bool(Py_TYPE(item[i]));
    if (mask && n > 0) {
      read_mask(static_cast<std::size_t>(n), [&](std::size_t i) { return static_cast<std::uint8_t>(to_flag(item[i])); });
      return;
    }
    for (Py_ssize_t i = 0; i < n; ++i) {
      try {
        mark(bar_index(item[i], &clock_, kName, DateRole::bar, to_i64));
      } catch (const PyErrorPending&) {
        prefix_type_error(kName);
        throw;
      }
    }
  }

  const qc::api::Chart& chart_;
  const BarClock& clock_;
  std::vector<std::uint8_t> marked_;
};

// Where each marked bar's marker stands: a bar field, one price, or one per bar.
class MarkPrice {
 public:
  MarkPrice(const qc::api::Chart& chart, PyObject* price, Field kind_field) {
    static constexpr const char* kName = "price";
    const BarsView bars = chart.bars.view();
    if (price == nullptr) {
      column_ = bars.*kind_field;
      off_bar_ = kind_field == &BarsView::low || kind_field == &BarsView::high;
    } else if (PyUnicode_Check(price)) {
      column_ = bars.*choice(kFields, to_text(price), kName).field;
    } else if (PyNumber_Check(price) && !PySequence_Check(price)) {
      constant_ = to_f64(price);
    } else {
      own_ = bar_values(price, chart, kName);
      column_ = own_;
    }
  }
  double at(std::size_t bar) const { return constant_ ? *constant_ : column_[bar]; }
  // Whether the price is the kind's own: the bar's low or high stands the glyph off the bar.
  bool off_bar() const { return off_bar_; }

 private:
  std::optional<double> constant_;
  qc::model::Values own_;
  std::span<const double> column_;
  bool off_bar_ = false;
};

// Every argument is read before the chart is taken, so an error leaves it as it was; the records are then
// built in place, in the room reserved for all of them.
PyObject* add_markers(ChartCall& c) {
  const std::optional<qc::api::Chart>& held = c.value();
  if (!held) throw Panic("Chart already consumed");
  const MarkKind& kind = choice(kKinds, c.args.text(1), "kind");
  const std::optional<std::string>& label = c.args.opt_text(3);
  if (kind.type == SignalType::Custom && !label) value_error("label", "a custom marker needs a label");
  const BarClock clock = *ChartClass::bar_clock(held);
  const std::vector<std::uint8_t> marked = Marks(*held, clock).read(c.args.object(0));
  const MarkPrice price(*held, c.args.object(2), kind.field);
  const auto count = static_cast<std::size_t>(std::count(marked.begin(), marked.end(), std::uint8_t{1}));
  with_chart(c, [&](qc::api::Chart&& chart) {
    std::vector<SignalConfig>& signals = chart.config.signals;
    const std::size_t before = signals.size();
    signals.reserve(before + count);
    try {
      for (std::size_t i = 0; i < marked.size(); ++i) {
        if (marked[i]) signals.push_back({kind.type, i, price.at(i), 1.0, std::nullopt, label, price.off_bar()});
      }
    } catch (const std::bad_alloc&) {
      signals.resize(before);  // no label copied for some bars only
      throw;
    }
    return std::move(chart);
  });
  return none();
}

constexpr ChartRow kRows[] = {
    {"markers",
     "Mark many bars in one call: each marked bar gets, in bar order, what the kind's signal method "
     "(buy_signal, ...) adds",
     {marks("where").means("a mask with one entry per bar (True marks; a masked entry does not), bar indices, or "
                           "dates; a pandas object with a datetime index marks the bar each true entry's instant "
                           "falls in, as a date does"),
      star,
      Param{"kind", Kind::text, "'buy'"}.means(
          "'buy', 'sell', 'entry', 'exit', 'take_profit', 'stop_loss' or 'custom' (which needs a label)"),
      mark_price("price").means("None (the low for buy and entry, the high for sell and exit, the glyph standing "
                                "6 px off the bar; else the close), 'low', 'high', 'close', one price, or one "
                                "price per bar"),
      opt_text("label")},
     Borrow::exclusive, add_markers},
};

}  // namespace

MethodGroup chart_marker_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
