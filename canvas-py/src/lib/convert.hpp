// Argument conversion: one converter per parameter kind and the "argument '<name>': " prefix rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coords/bar_dates.hpp"
#include "match.hpp"
#include "model/values.hpp"
#include "params.hpp"
#include "py.hpp"

namespace qcpy {

// Each converter returns the value or throws PyErrorPending with the interpreter's or the binding
// layer's own error set (texts as the converters' comments in convert.cpp give them).
double to_f64(PyObject* o);
std::uint32_t to_u32(PyObject* o);
std::uint64_t to_u64(PyObject* o);
std::int64_t to_i64(PyObject* o);
std::string to_text(PyObject* o);
bool to_flag(PyObject* o);
// numpy's boolean scalar type, recognised by name so that numpy is not needed.
bool looks_like_numpy_bool(PyTypeObject* type);
// A tuple (bar, price): the bar a number or a date (placed as a tool's point, named `name` in errors).
Point to_point(PyObject* o, const qc::coords::BarClock* clock, const char* name);
// Numbers from a buffer (or `__array__`'s) of integers or floats, or from a sequence of floats.
std::vector<double> to_f64_list(PyObject* o, const char* name);
// The same, as a line's values: a column of a million is read straight into the storage it is drawn from.
qc::model::Values to_f64_column(PyObject* o, const char* name);

// A str that is a colour, as qc::api::color_text stores it; else ValueError "argument '<name>': 'x' is not a colour
// (...)".
std::string to_color(PyObject* o, const char* name);

// Converts one argument for the parameter (whose name the kinds that raise ValueError give). The kinds
// that take a bar place dates on the bars of `clock` (none: an object without bars).
Converted convert(const Param& p, PyObject* o, const qc::coords::BarClock* clock = nullptr);

// The value of a parameter that was not given, read from its default text.
Converted default_value(const Param& p);

// Converts `o` for the parameter `p`; a TypeError (exactly, not a subclass) becomes a new TypeError
// "argument '<name>': <message>" that takes over the old one's cause (a colour list names its own entries).
Converted convert_argument(const Param& p, PyObject* o, const qc::coords::BarClock* clock = nullptr);

// With a TypeError (exactly) pending: replaces it by "argument '<name>': <message>", which takes over its
// cause. Any other pending exception stays as it is.
void prefix_type_error(const char* name);

// Converts every matched argument in parameter order into `args`; the first failure ends it.
void convert_all(const Params& params, const Slots& slots, Args& args, const qc::coords::BarClock* clock = nullptr);

// "expected <what the argument should be>, got '<type qualname>'" as a pending TypeError.
[[noreturn]] void throw_not_convertible(PyObject* o, const char* expected);
// The name of the object's type as errors give it: "int", "Chart".
std::string type_name(PyObject* o);

}  // namespace qcpy
