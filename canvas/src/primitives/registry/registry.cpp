// Registration, lookup and creation of primitives, and the one-time initialisation of the global registry.
#include "primitives/registry/registry.hpp"

#include "primitives/registry/catalogue.hpp"

namespace qc::primitives {

void PrimitiveRegistry::register_primitive(const PrimitiveMetadata& metadata) {
  primitives_.insert_or_assign(metadata.type_id, metadata);
  by_kind_[static_cast<std::size_t>(metadata.kind)].push_back(metadata.type_id);
}

std::unique_ptr<Primitive> PrimitiveRegistry::create(std::string_view type_id, std::span<const Point> points,
                                                     std::string_view color) const {
  const PrimitiveMetadata* metadata = find(type_id);
  if (metadata == nullptr || metadata->factory == nullptr) return nullptr;
  return metadata->factory(points, color);
}

const PrimitiveMetadata* PrimitiveRegistry::find(std::string_view type_id) const {
  auto it = primitives_.find(type_id);
  return it == primitives_.end() ? nullptr : &it->second;
}

std::span<const std::string_view> PrimitiveRegistry::by_kind(PrimitiveKind kind) const noexcept {
  const auto index = static_cast<std::size_t>(kind);
  if (index >= by_kind_.size()) return {};
  return by_kind_[index];
}

void PrimitiveRegistry::register_builtins(PrimitiveRegistry& registry) {
  for (const PrimitiveMetadata& metadata : kBuiltinCatalogue) {
    if (metadata.factory != nullptr) registry.register_primitive(metadata);
  }
}

const PrimitiveRegistry::Shared& PrimitiveRegistry::global() {
  // A function-local static is initialised exactly once; a thread that races to it waits for completion.
  static const Shared instance = [] {
    PrimitiveRegistry registry;
    register_builtins(registry);
    return Shared(std::move(registry));
  }();
  return instance;
}

}  // namespace qc::primitives
