// Argument matching and its TypeError texts.
#include "match.hpp"

#include <string>

#include "errors.hpp"

namespace qcpy {
namespace {

// A module function's class is empty: "save_pdf()".
std::string full_name(FunctionName name) {
  std::string s = name.cls;
  if (!s.empty()) s += '.';
  s += name.func;
  s += "()";
  return s;
}

[[noreturn]] void too_many_positional(const Params& params, FunctionName name, Py_ssize_t given) {
  std::string msg = full_name(name);
  if (params.required() != params.positional()) {
    msg += " takes from " + std::to_string(params.required()) + " to " + std::to_string(params.positional());
  } else {
    msg += " takes " + std::to_string(params.positional());
  }
  msg += " positional arguments but " + std::to_string(given) + (given == 1 ? " was given" : " were given");
  throw_type_error(msg);
}

// The name may be any str (even one that cannot be encoded), so the text is formatted by the interpreter.
[[noreturn]] void keyword_error(FunctionName name, const char* what, PyObject* keyword) {
  PyErr_Format(PyExc_TypeError, PyUnicode_Check(keyword) ? "%s %s '%U'" : "%s %s '%S'", full_name(name).c_str(),
               what, keyword);
  throw PyErrorPending{};
}

// 'a'; 'a' and 'b'; 'a', 'b', and 'c'
[[noreturn]] void missing_required(const Params& params, FunctionName name, const Slots& slots) {
  std::string list;
  std::size_t missing = 0;
  std::size_t total = 0;
  for (std::size_t i = 0; i < params.required(); ++i) total += slots[i] == nullptr ? 1 : 0;
  for (std::size_t i = 0; i < params.required(); ++i) {
    if (slots[i] != nullptr) continue;
    if (missing != 0) {
      if (total > 2) list += ',';
      list += missing + 1 == total ? " and " : " ";
    }
    list += '\'';
    list += params[i].name;
    list += '\'';
    ++missing;
  }
  throw_type_error(full_name(name) + " missing " + std::to_string(total) + " required positional " +
                   (total == 1 ? "argument" : "arguments") + ": " + list);
}

void place_keyword(const Params& params, FunctionName name, PyObject* keyword, PyObject* value, Slots& slots) {
  if (PyUnicode_Check(keyword)) {
    for (std::size_t i = 0; i < params.size(); ++i) {
      if (PyUnicode_CompareWithASCIIString(keyword, params[i].name) != 0) continue;
      if (!slots.fill(i, value)) keyword_error(name, "got multiple values for argument", keyword);
      return;
    }
  }
  keyword_error(name, "got an unexpected keyword argument", keyword);
}

}  // namespace

void match(const Params& params, FunctionName name, PyObject* const* args, Py_ssize_t nargs,
           const KeywordArgs& keywords, Slots& slots) {
  const auto npos = static_cast<Py_ssize_t>(params.positional());
  if (nargs > npos) too_many_positional(params, name, nargs);
  for (Py_ssize_t i = 0; i < nargs; ++i) slots.fill(static_cast<std::size_t>(i), args[i]);

  if (keywords.names != nullptr) {
    const Py_ssize_t n = PyTuple_GET_SIZE(keywords.names);
    for (Py_ssize_t i = 0; i < n; ++i) {
      place_keyword(params, name, PyTuple_GET_ITEM(keywords.names, i), keywords.values[i], slots);
    }
  }
  if (keywords.dict != nullptr) {
    Py_ssize_t pos = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(keywords.dict, &pos, &key, &value)) place_keyword(params, name, key, value, slots);
  }

  for (std::size_t i = static_cast<std::size_t>(nargs); i < params.required(); ++i) {
    if (slots[i] == nullptr) missing_required(params, name, slots);
  }
}

}  // namespace qcpy
