// Text signatures and docs in the interpreter's "name(params)\n--\n\ndoc" form, derived from the rows.
#pragma once

#include <string>

#include "docstring.hpp"
#include "params.hpp"

namespace qcpy {

// Keeps a generated text for the life of the process (method tables and types point into it).
const char* keep(std::string text);

// "(a, b=None)", with "$self, " first for instance methods.
std::string parameter_list(const Params& params, bool instance);

// "name($self, a, b=None)\n--\n\n" followed by the docstring written from the row (docstring.hpp).
const char* method_doc(const char* name, const Params& params, bool instance, const Doc& doc);

// The docstring of a text that method_doc made: what follows its signature.
const char* doc_body(const char* method_doc);

// A class with a constructor: "Name(params)\n--\n\n" and the doc; without one: the plain doc or null.
const char* class_doc(const char* name, const Params* constructor, const char* doc);

}  // namespace qcpy
