// The built-in catalogue generated from builtins.def: factory declarations, type codes and metadata rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "primitives/registry/metadata.hpp"

namespace qc::primitives {

namespace catalog {
#define QC_BUILTIN(id, name, kind, flag_a, has_levels, is_pattern) \
  std::unique_ptr<Primitive> create_##id(std::span<const Point> points, std::string_view color);
#include "primitives/registry/builtins.def"
}  // namespace catalog

// One code per built-in type, in registration order; a type's class names its own code.
enum class BuiltinType : std::uint8_t {
#define QC_PRIMITIVE(id, name, kind, flag_a, has_levels, is_pattern) id,
#include "primitives/registry/builtins.def"
};

// Every built-in type in registration order; types not built yet carry no factory.
inline constexpr PrimitiveMetadata kBuiltinCatalogue[] = {
#define QC_BUILTIN(id, name, kind, flag_a, has_levels, is_pattern) \
  {#id, name, &catalog::create_##id, PrimitiveKind::kind, flag_a, has_levels, is_pattern},
#define QC_PENDING(id, name, kind, flag_a, has_levels, is_pattern) \
  {#id, name, nullptr, PrimitiveKind::kind, flag_a, has_levels, is_pattern},
#include "primitives/registry/builtins.def"
};

constexpr const PrimitiveMetadata& builtin_metadata(BuiltinType type) noexcept {
  return kBuiltinCatalogue[static_cast<std::size_t>(type)];
}

}  // namespace qc::primitives
