// The registry from primitive type id to metadata and factory, and its process-wide instance.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>
#include <version>
#if !defined(_LIBCPP_HAS_NO_THREADS)
#include <shared_mutex>
#endif

#include "primitives/core/traits.hpp"
#include "primitives/registry/metadata.hpp"

namespace qc::primitives {

#if defined(_LIBCPP_HAS_NO_THREADS)
// A C++ library built without threads (WebAssembly) has no readers-writer lock, and its one thread needs none.
struct RegistryMutex {};
struct RegistryReadLock {
  explicit RegistryReadLock(RegistryMutex&) noexcept {}
};
#else
using RegistryMutex = std::shared_mutex;
using RegistryReadLock = std::shared_lock<std::shared_mutex>;
#endif

class PrimitiveRegistry {
 public:
  class ReadGuard;
  class Shared;

  // Inserts the record under its type id, replacing a record with the same id, and appends the id to the
  // list of its kind (again, when the id was registered before).
  void register_primitive(const PrimitiveMetadata& metadata);

  // A new primitive from the factory registered under type_id (exact, case-sensitive); none when the id is
  // not registered.
  std::unique_ptr<Primitive> create(std::string_view type_id, std::span<const Point> points,
                                    std::string_view color) const;

  const PrimitiveMetadata* find(std::string_view type_id) const;
  std::size_t size() const noexcept { return primitives_.size(); }
  // Type ids registered under kind, in registration order.
  std::span<const std::string_view> by_kind(PrimitiveKind kind) const noexcept;

  // Registers every built type of the built-in catalogue, in catalogue order.
  static void register_builtins(PrimitiveRegistry& registry);

  // The process-wide registry, filled by register_builtins on first use and only read afterwards.
  static const Shared& global();

 private:
  std::unordered_map<std::string_view, PrimitiveMetadata> primitives_;
  std::array<std::vector<std::string_view>, kPrimitiveKindCount> by_kind_;
};

// Read access to the process-wide registry; holds the read lock for its lifetime.
class PrimitiveRegistry::ReadGuard {
 public:
  const PrimitiveRegistry& operator*() const noexcept { return registry_; }
  const PrimitiveRegistry* operator->() const noexcept { return &registry_; }

 private:
  friend class Shared;
  ReadGuard(RegistryMutex& mutex, const PrimitiveRegistry& registry) : lock_(mutex), registry_(registry) {}

  RegistryReadLock lock_;
  const PrimitiveRegistry& registry_;
};

// A registry behind a readers-writer lock. The process-wide one has no writer after its initialisation.
class PrimitiveRegistry::Shared {
 public:
  explicit Shared(PrimitiveRegistry registry) : registry_(std::move(registry)) {}
  ReadGuard read() const { return ReadGuard(mutex_, registry_); }

 private:
  mutable RegistryMutex mutex_;
  PrimitiveRegistry registry_;
};

}  // namespace qc::primitives
