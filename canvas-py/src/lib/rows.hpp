// Declarative rows (methods, constructors, properties) and the entry functions generated from them.
//
// A class keeps its rows in constexpr tables; method_defs<Table>() instantiates one entry function per
// row and yields the PyMethodDef group, property_defs<Table>() the getset table, constructor_slot<Row>()
// the tp_new slot. Every entry runs the same steps: match, borrow, convert, body, inside boundary().
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "class.hpp"
#include "convert.hpp"
#include "docstring.hpp"
#include "errors.hpp"
#include "match.hpp"
#include "meanings.hpp"
#include "object.hpp"
#include "params.hpp"
#include "signature.hpp"

namespace qcpy {

// What a method body sees: the object (borrowed as its row says), the converted arguments, and the
// row's descriptor for data-driven groups.
template <class Cls>
class Call {
 public:
  Call(PyObject* self, Args& converted, const void* data, const Params& params)
      : args(converted), self_(self), data_(data), params_(&params) {}

  typename Cls::Value& value() const {
    if (self_ == nullptr) throw Panic("a static method has no object");
    return object_of<Cls>(self_)->value;
  }
  PyObject* self() const { return self_; }
  // The descriptor a group's row carries (see MethodRow::data).
  template <class D>
  const D& data() const {
    if (data_ == nullptr) throw Panic("row without a descriptor");
    return *static_cast<const D*>(data_);
  }
  // The row's parameters (for bodies that name an argument in an error of their own).
  const Params& params() const { return *params_; }

  Args& args;

 private:
  PyObject* self_;
  const void* data_;
  const Params* params_;
};

// A body returns a new reference (none() for builder methods) or throws.
template <class Cls>
using Body = PyObject* (*)(Call<Cls>&);

// One method: name, doc (its one-line summary, and its study for an indicator method), parameters, borrow
// mode (none = static method), body, an optional descriptor so that one generic body can serve a whole
// group of rows, and the type of what the body returns as the stubs write it ("Self" is the class).
template <class Cls>
struct MethodRow {
  using Class = Cls;
  const char* name;
  Doc doc;
  Params params;
  Borrow borrow;
  Body<Cls> body;
  const void* data = nullptr;
  const char* returns = "None";
};

// The constructor: its parameters (the class's text signature) and the value it makes.
template <class Cls>
struct Constructor {
  using Class = Cls;
  Params params;
  typename Cls::Value (*make)(Args&);
};

// A property: its type as the stubs write it, the getter (under a shared borrow) and, for writable ones,
// the setter's argument (its name is the one conversion errors give) and the setter (under an exclusive
// borrow).
template <class Cls>
struct PropertyRow {
  using Class = Cls;
  using Value = typename Cls::Value;
  const char* name;
  const char* type;
  PyObject* (*get)(const Value&);
  Param setter_param = {};
  void (*set)(Value&, Args&) = nullptr;
  const char* doc = "";
};

// ---- data-driven groups --------------------------------------------------------------------------------

template <class Cls, const auto& Descs, std::size_t... I>
constexpr auto rows_from(Borrow borrow, Body<Cls> body, const char* returns, std::index_sequence<I...>) {
  return std::array<MethodRow<Cls>, sizeof...(I)>{
      MethodRow<Cls>{Descs[I].name, Descs[I].doc, Descs[I].params, borrow, body, &Descs[I], returns}...};
}

// One row per descriptor of a constexpr table whose entries have `name`, `doc` and `params`: all rows
// share `body`, which reads its own descriptor with call.data<Descriptor>(), and its return type.
template <class Cls, const auto& Descs>
constexpr auto rows_from(Borrow borrow, Body<Cls> body, const char* returns = "None") {
  return rows_from<Cls, Descs>(borrow, body, returns, std::make_index_sequence<std::size(Descs)>());
}

// ---- entry functions ---------------------------------------------------------------------------------

// The bars that dates are placed on: those of a class that has them (`Cls::bar_clock(value)`), none for
// any other class.
template <class Cls>
std::optional<qc::coords::BarClock> bar_clock(PyObject* self) {
  if constexpr (requires(const typename Cls::Value& v) { Cls::bar_clock(v); }) {
    return Cls::bar_clock(object_of<Cls>(self)->value);
  } else {
    return std::nullopt;
  }
}

template <class Cls>
PyObject* invoke(const MethodRow<Cls>& row, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                 PyObject* kwnames) {
  return boundary([&]() -> PyObject* {
    Slots slots;
    match(row.params, {Cls::name, row.name}, args, nargs, KeywordArgs::fastcall(kwnames, args, nargs), slots);
    BorrowGuard guard = row.borrow == Borrow::none ? BorrowGuard() : borrow<Cls>(self, row.borrow);
    Args converted;
    const std::optional<qc::coords::BarClock> clock =
        row.borrow == Borrow::none ? std::nullopt : bar_clock<Cls>(self);
    convert_all(row.params, slots, converted, clock ? &*clock : nullptr);
    Call<Cls> call(row.borrow == Borrow::none ? nullptr : self, converted, row.data, row.params);
    return row.body(call);
  });
}

template <const auto& Rows, std::size_t I>
PyObject* fastcall_entry(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return invoke(Rows[I], self, args, nargs, kwnames);
}

template <const auto& Rows, std::size_t I>
PyObject* noargs_entry(PyObject* self, PyObject*) {
  return invoke(Rows[I], self, nullptr, 0, nullptr);
}

// The interpreter stores every method as a PyCFunction; the flags say which signature it really has.
template <class F>
PyCFunction as_cfunction(F* fn) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(fn));
}

template <const auto& Rows, std::size_t I>
PyMethodDef method_def() {
  constexpr const auto& row = Rows[I];
  static_assert(row.doc.summary != nullptr && row.doc.summary[0] != '\0', "a method without a summary");
  static_assert(all_meant(row.params), "a parameter without a meaning: add one to kMeanings (meanings.hpp)");
  const int binding = row.borrow == Borrow::none ? METH_STATIC : 0;
  const char* doc = method_doc(row.name, row.params, row.borrow != Borrow::none, row.doc);
  if constexpr (row.params.empty()) {
    return {row.name, as_cfunction(&noargs_entry<Rows, I>), METH_NOARGS | binding, doc};
  } else {
    return {row.name, as_cfunction(&fastcall_entry<Rows, I>), METH_FASTCALL | METH_KEYWORDS | binding, doc};
  }
}

template <const auto& Rows, std::size_t... I>
MethodGroup method_defs(std::index_sequence<I...>) {
  static const PyMethodDef defs[] = {method_def<Rows, I>()...};
  static const MethodInfo infos[] = {
      {Rows[I].name, &Rows[I].params, Rows[I].borrow == Borrow::none, Rows[I].returns, doc_body(defs[I].ml_doc)}...};
  return {defs, infos};
}

// The PyMethodDef group of a constexpr MethodRow table, one entry function per row, with what the stubs
// read of each row.
template <const auto& Rows>
MethodGroup method_defs() {
  return method_defs<Rows>(std::make_index_sequence<std::size(Rows)>());
}

// ---- constructors ------------------------------------------------------------------------------------

template <const auto& Ctor>
PyObject* constructor_entry(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  using Cls = typename std::remove_cvref_t<decltype(Ctor)>::Class;
  return boundary([&]() -> PyObject* {
    Slots slots;
    PyObject* const* items = reinterpret_cast<PyTupleObject*>(args)->ob_item;
    match(Ctor.params, {Cls::name, "__new__"}, items, PyTuple_GET_SIZE(args), KeywordArgs::from_dict(kwargs), slots);
    Args converted;
    convert_all(Ctor.params, slots, converted);
    return allocate<Cls>(type, Ctor.make(converted));
  });
}

template <const auto& Ctor>
void set_constructor(ClassSpec& spec) {
  spec.constructor = constructor_entry<Ctor>;
  spec.constructor_params = &Ctor.params;
}

// ---- properties --------------------------------------------------------------------------------------

template <class Cls>
PyObject* property_get(PyObject* self, void* closure) {
  const auto& row = *static_cast<const PropertyRow<Cls>*>(closure);
  return boundary([&]() -> PyObject* {
    BorrowGuard guard = borrow<Cls>(self, Borrow::shared);
    return row.get(object_of<Cls>(self)->value);
  });
}

// Converts before borrowing, so a conversion that reads the object does not conflict.
template <class Cls>
int property_set(PyObject* self, PyObject* value, void* closure) {
  const auto& row = *static_cast<const PropertyRow<Cls>*>(closure);
  return boundary<int>(-1, [&] {
    if (value == nullptr) {
      PyErr_SetString(PyExc_AttributeError, "can't delete attribute");
      throw PyErrorPending{};
    }
    Args converted;
    converted.slot(0) = convert_argument(row.setter_param, value);
    BorrowGuard guard = borrow<Cls>(self, Borrow::exclusive);
    row.set(object_of<Cls>(self)->value, converted);
    return 0;
  });
}

template <const auto& Rows, std::size_t... I>
PropertyGroup property_defs(std::index_sequence<I...>) {
  using Cls = typename std::remove_cvref_t<decltype(Rows[0])>::Class;
  static const PyGetSetDef defs[] = {
      {Rows[I].name, property_get<Cls>, Rows[I].set != nullptr ? property_set<Cls> : nullptr, Rows[I].doc,
       const_cast<void*>(static_cast<const void*>(&Rows[I]))}...,
      {nullptr, nullptr, nullptr, nullptr, nullptr}};
  static constexpr PropertyInfo infos[] = {
      {Rows[I].name, Rows[I].type, Rows[I].set != nullptr ? &Rows[I].setter_param : nullptr}...};
  return {defs, infos};
}

// The null-terminated getset table of a constexpr PropertyRow table, with what the stubs read of each row.
template <const auto& Rows>
PropertyGroup property_defs() {
  return property_defs<Rows>(std::make_index_sequence<std::size(Rows)>());
}

// ---- representation ----------------------------------------------------------------------------------

template <class Cls, std::string (*Text)(const typename Cls::Value&)>
PyObject* repr_entry(PyObject* self) {
  return boundary([&]() -> PyObject* {
    BorrowGuard guard = borrow<Cls>(self, Borrow::shared);
    return to_py(Text(object_of<Cls>(self)->value));
  });
}

}  // namespace qcpy
