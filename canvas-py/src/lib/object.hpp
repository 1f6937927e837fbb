// Object layout of every class (header, borrow counter, value) and the RAII borrow guard.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>
#include <utility>

#include "errors.hpp"
#include "py.hpp"

namespace qcpy {

// How a method reaches the object's value. `none` is a static method: no object at all.
enum class Borrow : std::uint8_t { none, shared, exclusive };

// 0 = free, n = n shared borrows, all bits set = one exclusive borrow. Atomic updates; it catches
// re-entry from Python code that a conversion runs, not threads.
using BorrowFlag = std::atomic<std::uintptr_t>;
inline constexpr std::uintptr_t kExclusive = ~std::uintptr_t{0};

template <class V>
struct Object {
  PyObject_HEAD
  BorrowFlag borrow;
  V value;
};

// A binding class `Cls` names its value type `Cls::Value`.
template <class Cls>
using ObjectOf = Object<typename Cls::Value>;

template <class Cls>
ObjectOf<Cls>* object_of(PyObject* self) {
  return reinterpret_cast<ObjectOf<Cls>*>(self);
}

// Holds one borrow of an object (and a reference to it) until destroyed.
class BorrowGuard {
 public:
  BorrowGuard() = default;
  BorrowGuard(PyObject* owner, BorrowFlag& flag, Borrow mode) {
    if (mode == Borrow::none) return;
    std::uintptr_t current = mode == Borrow::exclusive ? 0 : flag.load(std::memory_order_relaxed);
    for (;;) {
      if (mode == Borrow::exclusive && current != 0) fail("Already borrowed");
      if (mode == Borrow::shared && current == kExclusive) fail("Already mutably borrowed");
      if (mode == Borrow::shared && current == kExclusive - 1) throw Panic("borrow counter overflow");
      const std::uintptr_t next = mode == Borrow::exclusive ? kExclusive : current + 1;
      if (flag.compare_exchange_weak(current, next, std::memory_order_acquire, std::memory_order_relaxed)) break;
    }
    flag_ = &flag;
    mode_ = mode;
    owner_ = Py_NewRef(owner);
  }
  BorrowGuard(BorrowGuard&& o) noexcept
      : flag_(std::exchange(o.flag_, nullptr)), owner_(std::exchange(o.owner_, nullptr)), mode_(o.mode_) {}
  BorrowGuard(const BorrowGuard&) = delete;
  BorrowGuard& operator=(const BorrowGuard&) = delete;
  BorrowGuard& operator=(BorrowGuard&&) = delete;
  ~BorrowGuard() {
    if (flag_ == nullptr) return;
    if (mode_ == Borrow::exclusive) {
      flag_->store(0, std::memory_order_release);
    } else {
      flag_->fetch_sub(1, std::memory_order_release);
    }
    Py_DECREF(owner_);
  }

 private:
  [[noreturn]] static void fail(const char* message) {
    PyErr_SetString(PyExc_RuntimeError, message);
    throw PyErrorPending{};
  }

  BorrowFlag* flag_ = nullptr;
  PyObject* owner_ = nullptr;
  Borrow mode_ = Borrow::none;
};

template <class Cls>
BorrowGuard borrow(PyObject* self, Borrow mode) {
  return BorrowGuard(self, object_of<Cls>(self)->borrow, mode);
}

// Allocates an object of `type` (the class's type or a subtype) holding `value`, with a free borrow
// counter. On failure the value is dropped and the interpreter's error is pending.
template <class Cls>
PyObject* allocate(PyTypeObject* type, typename Cls::Value&& value) {
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) throw_pending();
  auto* obj = object_of<Cls>(self);
  new (&obj->borrow) BorrowFlag(0);
  new (&obj->value) typename Cls::Value(std::move(value));
  return self;
}

template <class Cls>
void deallocate(PyObject* self) {
  using Value = typename Cls::Value;
  auto* obj = object_of<Cls>(self);
  obj->value.~Value();
  obj->borrow.~BorrowFlag();
  PyTypeObject* type = Py_TYPE(self);
  type->tp_free(self);
  Py_DECREF(type);  // heap types are owned by their instances
}

}  // namespace qcpy
