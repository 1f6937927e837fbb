// The stub text of classes: what a type checker needs of each row, and the docstrings a reader sees.
#include "stub.hpp"

#include <cstddef>

namespace qcpy {
namespace {

constexpr const char* kComment =
    "# Type stubs of quorvel_canvas, written from its binding rows by scripts/gen_stubs.py: do not edit.\n";

constexpr const char* kHeader = R"(import datetime
from collections.abc import Buffer, Callable, Sequence
from os import PathLike
from typing import Any, Literal, NoReturn, Protocol, Self, SupportsFloat, SupportsIndex, TypeAlias, final, type_check_only

import numpy

# A real number: what float() accepts, numpy scalars included.
_Real: TypeAlias = SupportsFloat | SupportsIndex
# A date: a datetime or date (pandas.Timestamp is one), a numpy.datetime64, or an ISO 8601 text.
_Date: TypeAlias = datetime.date | numpy.datetime64 | str
# (bar index or date, price)
_Point: TypeAlias = tuple[_Real | _Date, _Real]

@type_check_only
class _SupportsArray(Protocol):
    def __array__(self) -> Any: ...

# numpy arrays, array.array and memoryview (buffers); pandas Series and Index (__array__); sequences.
_NumberColumn: TypeAlias = Buffer | _SupportsArray | Sequence[_Real]
_TimeColumn: TypeAlias = Buffer | _SupportsArray | Sequence[SupportsIndex]
_TimeUnit: TypeAlias = Literal["s", "ms", "us", "ns"]
# The bars markers() marks: a mask, bar indices or dates (a pandas object with a datetime index: by instant).
_Marks: TypeAlias = Buffer | _SupportsArray | Sequence[bool] | Sequence[SupportsIndex | _Date]
# Where markers stand: the kind's own price (None), a bar field, one price, or one price per bar.
_MarkPrice: TypeAlias = Literal["low", "high", "close"] | _Real | _NumberColumn | None
# A study line's colour, or a histogram's (up, down) or a cloud's (first, second); None keeps the row's.
_ColorEntry: TypeAlias = str | tuple[str | None, str | None] | list[str | None] | None
# A file's path: text, bytes or a path object.
_Path: TypeAlias = str | bytes | PathLike[str] | PathLike[bytes]
)";

void append_parameters(std::string& out, const Params& params, const char* first) {
  out += '(';
  out += first;
  bool keyword_only = false;
  for (const Param& p : params.all()) {
    if (out.back() != '(') out += ", ";
    if (p.keyword_only && !keyword_only) out += "*, ";
    keyword_only = p.keyword_only;
    out += p.name;
    out += ": ";
    out += annotation(p.kind);
    if (p.default_text != nullptr) {
      out += " = ";
      out += p.default_text;
    }
  }
  out += ')';
}

void append_def(std::string& out, const MethodInfo& m, std::string_view indent, const char* first) {
  out += indent;
  out += "def ";
  out += m.name;
  append_parameters(out, *m.params, first);
  out += " -> ";
  out += m.returns;
  out += ":";
  append_body(out, m.doc, std::string(indent) + "    ");
}

void append_method(std::string& out, const MethodInfo& m) {
  if (m.is_static) out += "    @staticmethod\n";
  append_def(out, m, "    ", m.is_static ? "" : "self");
}

void append_property(std::string& out, const PropertyInfo& p) {
  out += "    @property\n    def ";
  out += p.name;
  out += "(self) -> ";
  out += p.type;
  out += ": ...\n";
  if (p.setter == nullptr) return;
  out += "    @";
  out += p.name;
  out += ".setter\n    def ";
  out += p.name;
  out += "(self, ";
  out += p.setter->name;
  out += ": ";
  out += annotation(p.setter->kind);
  out += ") -> None: ...\n";
}

}  // namespace

void append_docstring(std::string& out, std::string_view doc, std::string_view indent) {
  out += indent;
  out += R"(""")";
  bool line_start = false;
  for (std::size_t i = 0; i < doc.size(); ++i) {
    const char ch = doc[i];
    if (line_start && ch != '\n') out += indent;
    line_start = ch == '\n';
    // No run of three quotes and no quote before the closing ones; backslashes stand for themselves.
    if (ch == '\\' || (ch == '"' && (i + 1 == doc.size() || doc[i + 1] == '"'))) out += '\\';
    out += ch;
  }
  if (doc.find('\n') != std::string_view::npos) {
    out += '\n';
    out += indent;
  }
  out += R"(""")";
  out += '\n';
}

void append_body(std::string& out, const char* doc, std::string_view indent) {
  if (doc == nullptr || *doc == '\0') {
    out += " ...\n";
    return;
  }
  out += '\n';
  append_docstring(out, doc, indent);
}

std::string stub_header(const char* module_doc, const std::string& all_names, const std::string& functions) {
  std::string out = kComment;
  append_docstring(out, module_doc, "");
  out += kHeader;
  out += "\n__all__ = [" + all_names + "]\n\n" + functions;
  return out;
}

void append_function_stub(std::string& out, const MethodInfo& f) { append_def(out, f, "", ""); }

void append_class_stub(std::string& out, const ClassSpec& spec) {
  // No class of the module can be subclassed.
  out += "\n@final\nclass ";
  out += spec.name;
  out += ":\n";
  if (spec.doc != nullptr && *spec.doc != '\0') append_docstring(out, spec.doc, "    ");
  if (spec.constructor_params != nullptr) {
    // The constructor is the type's __new__; its __init__ is object's.
    out += "    def __new__";
    append_parameters(out, *spec.constructor_params, "cls");
    out += " -> Self: ...\n";
  }
  for (const PropertyInfo& p : spec.properties.infos) append_property(out, p);
  for (const MethodGroup& g : spec.methods) {
    for (const MethodInfo& m : g.infos) append_method(out, m);
  }
  if (spec.constructor_params == nullptr && spec.properties.infos.empty() && spec.methods.empty()) out += "    ...\n";
}

}  // namespace qcpy
