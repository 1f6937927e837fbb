// The module's type stub (PEP 561), written from the same class specs and rows as the classes themselves.
#pragma once

#include <string>
#include <string_view>

#include "class.hpp"

namespace qcpy {

// The stub's opening: the module's docstring, imports and the aliases the parameter annotations name, then
// `__all__` and the module functions as given.
std::string stub_header(const char* module_doc, const std::string& all_names, const std::string& functions);

// A docstring literal, each line but empty ones at `indent`, that a parser reads back as `doc` after the
// usual clean-up of indentation.
void append_docstring(std::string& out, std::string_view doc, std::string_view indent);

// The body of a stub function after its ":": its docstring on the next lines, or " ..." without one.
void append_body(std::string& out, const char* doc, std::string_view indent);

// One class: its constructor, properties and methods, in table order.
void append_class_stub(std::string& out, const ClassSpec& spec);
// A module function's stub, from its row.
void append_function_stub(std::string& out, const MethodInfo& f);

}  // namespace qcpy
