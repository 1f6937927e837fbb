// Type objects of the binding classes: built once from a PyType_Spec on first use, cached for the process.
#pragma once

#include <span>
#include <vector>

#include "object.hpp"
#include "params.hpp"
#include "py.hpp"

namespace qcpy {

// The module's name: the classes' `__module__`, so that pickle and copy find them by name.
inline constexpr const char* kModuleName = "quorvel_canvas";

// What the stubs read of a method row: its name, parameters, whether it is static, its return type and
// its docstring.
struct MethodInfo {
  const char* name;
  const Params* params;
  bool is_static;
  const char* returns;
  const char* doc;
};

// One method table of a class: the interpreter's entries and, in the same order, their rows' infos.
struct MethodGroup {
  std::span<const PyMethodDef> defs;
  std::span<const MethodInfo> infos;
};

// What the stubs read of a property row: name, type, and the setter's parameter (null: read-only).
struct PropertyInfo {
  const char* name;
  const char* type;
  const Param* setter;
};

// A property table: the null-terminated getset table and the rows' infos.
struct PropertyGroup {
  const PyGetSetDef* defs = nullptr;
  std::span<const PropertyInfo> infos;
};

// Everything a class's type object is made of; each class fills one in its `spec()` (see rows.hpp for
// the helpers that turn row tables into these pieces).
struct ClassSpec {
  const char* name = nullptr;             // "Bar"; the type's full name is "quorvel_canvas.Bar"
  const char* doc = nullptr;              // the class's doc text, or null
  Py_ssize_t basicsize = 0;
  destructor dealloc = nullptr;
  newfunc constructor = nullptr;          // null: calling the class raises "No constructor defined for ..."
  const Params* constructor_params = nullptr;  // for the class's text signature
  reprfunc repr = nullptr;
  std::vector<MethodGroup> methods;  // method groups, concatenated in order
  PropertyGroup properties;          // no table: no properties
};

// A new type object (a new reference), or throws PyErrorPending.
PyTypeObject* make_type(const ClassSpec& spec);

// The class's type object, made on first use. `Cls` provides `name`, `doc`, `Value` and `spec()`.
template <class Cls>
PyTypeObject* type_object() {
  static PyTypeObject* type = nullptr;  // never released: class objects live as long as the process
  if (type == nullptr) type = make_type(Cls::spec());
  return type;
}

// The fields every class spec starts from.
template <class Cls>
ClassSpec class_spec() {
  ClassSpec s;
  s.name = Cls::name;
  s.doc = Cls::doc;
  s.basicsize = static_cast<Py_ssize_t>(sizeof(ObjectOf<Cls>));
  s.dealloc = deallocate<Cls>;
  return s;
}

// A new object of the class holding `value` (static methods that return objects use this).
template <class Cls>
PyObject* new_object(typename Cls::Value value) {
  PyTypeObject* type = nullptr;
  try {
    type = type_object<Cls>();
  } catch (const PyErrorPending&) {
    PyErr_Clear();
    throw Panic(std::string("failed to create type object for ") + Cls::name);
  }
  return allocate<Cls>(type, std::move(value));
}

}  // namespace qcpy
