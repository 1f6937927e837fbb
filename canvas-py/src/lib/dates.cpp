// Date objects and texts into date queries; dates into bar indices with the errors that name the bar.
#include "dates.hpp"

#include <datetime.h>

#include <string_view>

#include "coords/civil_calendar.hpp"
#include "time_scale.hpp"

namespace qcpy {
namespace {

using qc::coords::DatePlace;
using qc::coords::first_day_of;
using qc::coords::kSecondsPerDay;

std::string utf8(PyObject* str) {
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(str, &size);
  if (data == nullptr) throw PyErrorPending{};
  return {data, static_cast<std::size_t>(size)};
}

bool datetime_api() {
  static const bool ready = [] {
    PyDateTime_IMPORT;
    return PyDateTimeAPI != nullptr;
  }();
  if (!ready) throw_pending();
  return ready;
}

// A type whose name or module cannot be read is simply not the one asked for.
bool named(PyTypeObject* type, const char* module, const char* name) {
  PyObject* type_name = PyType_GetName(type);
  if (type_name == nullptr) {
    PyErr_Clear();
    return false;
  }
  const bool same_name = PyUnicode_CompareWithASCIIString(type_name, name) == 0;
  Py_DECREF(type_name);
  if (!same_name) return false;
  PyObject* module_name = PyObject_GetAttrString(reinterpret_cast<PyObject*>(type), "__module__");
  if (module_name == nullptr) {
    PyErr_Clear();
    return false;
  }
  Py_ssize_t size = 0;
  const char* text = PyUnicode_Check(module_name) ? PyUnicode_AsUTF8AndSize(module_name, &size) : nullptr;
  const bool same_module = text != nullptr && std::string_view(text, static_cast<std::size_t>(size)).starts_with(module);
  Py_DECREF(module_name);
  PyErr_Clear();
  return same_module;
}

// Seconds of a datetime's fields on its own clock (naive: the clock it was written on).
std::int64_t clock_seconds(PyObject* o) {
  const std::int64_t days =
      first_day_of(PyDateTime_GET_YEAR(o), PyDateTime_GET_MONTH(o)) + PyDateTime_GET_DAY(o) - 1;
  return days * kSecondsPerDay + PyDateTime_DATE_GET_HOUR(o) * 3'600 + PyDateTime_DATE_GET_MINUTE(o) * 60 +
         PyDateTime_DATE_GET_SECOND(o);
}

// A datetime with an offset is its instant; without one, a Timestamp is a UTC instant and any other
// datetime is on the chart's clock.
DateQuery datetime_query(PyObject* o, bool naive_is_utc) {
  const std::int64_t clock = clock_seconds(o);
  Ref offset = Ref::steal(PyObject_CallMethod(o, "utcoffset", nullptr));
  if (offset.get() == Py_None) {
    return {naive_is_utc ? DateQuery::Form::instant : DateQuery::Form::local, clock};
  }
  if (!PyDelta_Check(offset.get())) throw_pending();
  const std::int64_t east = std::int64_t{PyDateTime_DELTA_GET_DAYS(offset.get())} * kSecondsPerDay +
                            PyDateTime_DELTA_GET_SECONDS(offset.get());
  return {DateQuery::Form::instant, clock - east};
}

// A numpy.datetime64: its integer in its dtype's unit, floored to seconds as timestamp columns are; units
// of a day or more (years and months cast to days first) give a day.
DateQuery datetime64_query(PyObject* o, const char* name) {
  Ref value = Ref::borrow(o);
  Ref dtype = Ref::steal(PyObject_GetAttrString(o, "dtype"));
  std::string text = utf8(Ref::steal(PyObject_GetAttrString(dtype.get(), "str")).get());
  std::optional<TimeScale> scale = TimeScale::of_datetime64(text);
  if (!scale) {
    value = Ref::steal(PyObject_CallMethod(o, "astype", "s", "M8[D]"));
    dtype = Ref::steal(PyObject_GetAttrString(value.get(), "dtype"));
    text = utf8(Ref::steal(PyObject_GetAttrString(dtype.get(), "str")).get());
    scale = TimeScale::of_datetime64(text);
    if (!scale) value_error(name, "a datetime64 of dtype '" + text + "' is not a date");
  }
  Ref integer = Ref::steal(PyObject_CallMethod(value.get(), "astype", "s", "i8"));
  std::int64_t seconds = PyLong_AsLongLong(integer.get());
  if (seconds == -1 && PyErr_Occurred()) throw PyErrorPending{};
  scale->apply(&seconds, 0, 1, name);
  const char unit = text[text.size() - 2];
  const bool day = unit == 'D' || unit == 'W';
  return day ? DateQuery{DateQuery::Form::day, qc::coords::floor_div(seconds, kSecondsPerDay)}
             : DateQuery{DateQuery::Form::instant, seconds};
}

}  // namespace

void value_error(const char* name, const std::string& what) {
  PyErr_Format(PyExc_ValueError, "argument '%s': %s", name, what.c_str());
  throw PyErrorPending{};
}

bool type_is(PyTypeObject* type, const char* module, const char* name) {
  PyObject* mro = type->tp_mro;
  if (mro == nullptr || !PyTuple_Check(mro)) return named(type, module, name);
  for (Py_ssize_t i = 0; i < PyTuple_GET_SIZE(mro); ++i) {
    if (named(reinterpret_cast<PyTypeObject*>(PyTuple_GET_ITEM(mro, i)), module, name)) return true;
  }
  return false;
}

std::optional<DateQuery> date_query(PyObject* o, const char* name) {
  if (PyUnicode_Check(o)) {
    const std::string text = utf8(o);
    if (std::optional<DateQuery> date = qc::coords::parse_iso_date(text)) return date;
    PyErr_Format(PyExc_ValueError,
                 "argument '%s': %R is not a date (use \"2024-03-01\", \"2024-03-01 14:30\", "
                 "\"2024-03-01T14:30:00Z\" or \"2024-03-01T14:30+01:00\")",
                 name, o);
    throw PyErrorPending{};
  }
  if (PyFloat_Check(o) || PyBool_Check(o)) return std::nullopt;
  datetime_api();
  if (PyDateTime_Check(o)) {
    if (type_is(Py_TYPE(o), "pandas", "NaTType")) value_error(name, "NaT is not a date");  // its fields are no date
    return datetime_query(o, type_is(Py_TYPE(o), "pandas", "Timestamp"));
  }
  if (PyDate_Check(o)) {
    return DateQuery{DateQuery::Form::day,
                     first_day_of(PyDateTime_GET_YEAR(o), PyDateTime_GET_MONTH(o)) + PyDateTime_GET_DAY(o) - 1};
  }
  if (type_is(Py_TYPE(o), "numpy", "datetime64")) return datetime64_query(o, name);
  return std::nullopt;
}

std::string date_given(PyObject* o) {
  if (PyUnicode_Check(o)) return utf8(o);
  if (PyObject_HasAttrString(o, "isoformat")) return utf8(Ref::steal(PyObject_CallMethod(o, "isoformat", nullptr)).get());
  return utf8(Ref::steal(PyObject_Str(o)).get());
}

double place_date(PyObject* o, const DateQuery& date, const BarClock* clock, const char* name, DateRole role) {
  if (clock == nullptr || clock->times.empty() || (clock->boxes && clock->boxes->empty())) {
    value_error(name, date_given(o) + " cannot be placed on a chart without bars");
  }
  const DatePlace place = qc::coords::place_date(*clock, date, role);
  switch (place.outcome) {
    case DatePlace::Outcome::found: return place.index;
    case DatePlace::Outcome::before_first:
      value_error(name, date_given(o) + " is before the first bar, " + qc::coords::bar_time_text(*clock, 0));
    case DatePlace::Outcome::after_last:
      value_error(name, date_given(o) + " is after the last bar, " +
                            qc::coords::bar_time_text(*clock, qc::coords::last_placed_bar(*clock)));
  }
  throw_pending();
}

}  // namespace qcpy
