// Dates as Python gives them (datetime, date, numpy.datetime64, pandas.Timestamp, ISO 8601 texts) read
// into the queries the core places on bars, and the bar index (or place) a date argument selects.
#pragma once

#include <optional>
#include <string>

#include "coords/bar_dates.hpp"
#include "py.hpp"

namespace qcpy {

using qc::coords::BarClock;
using qc::coords::DateQuery;
using qc::coords::DateRole;

// The date `o` holds when it is one of the date forms; none for any other object (an index, say). A text
// that is no date raises ValueError naming the argument. A datetime or date without an offset, or a text
// without one, is on the chart's local clock; a datetime64 or Timestamp without a zone is a UTC instant;
// a datetime64 of a unit of a day or more is a day.
std::optional<DateQuery> date_query(PyObject* o, const char* name);

// The text an error names a date by: a text as given, any other date in ISO 8601.
std::string date_given(PyObject* o);

// The index the date `o` (read as `date`) selects for `role` on the chart's bars; raises ValueError naming
// the argument on a chart without bars (no clock, or no times), and for a bar or a view's end beyond the
// bars, with the bar it passes.
double place_date(PyObject* o, const DateQuery& date, const BarClock* clock, const char* name, DateRole role);

// The index an argument that is an integer or a date selects: the integer as `index` reads it, a date
// placed for `role`.
template <class Index>
auto bar_index(PyObject* o, const BarClock* clock, const char* name, DateRole role, Index index) {
  if (!PyLong_Check(o)) {
    if (const std::optional<DateQuery> date = date_query(o, name)) {
      return static_cast<decltype(index(o))>(place_date(o, *date, clock, name, role));
    }
  }
  return index(o);
}

// Raises ValueError "argument '<name>': <what>".
[[noreturn]] void value_error(const char* name, const std::string& what);

// True when the type, or a type it derives from, is named `name` in a module whose name starts with
// `module` ("numpy", "pandas"): recognises their objects without importing them.
bool type_is(PyTypeObject* type, const char* module, const char* name);

}  // namespace qcpy
