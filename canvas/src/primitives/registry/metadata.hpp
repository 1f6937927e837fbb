// What the registry knows of one primitive type: ids, kind, flags and the factory that builds it.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "primitives/core/traits.hpp"
#include "primitives/core/types.hpp"

namespace qc::primitives {

// Builds a primitive from anchor points (possibly fewer or more than the type needs) and a colour text.
// Never fails: a factory makes up the points it is not given.
using PrimitiveFactory = std::unique_ptr<Primitive> (*)(std::span<const Point> points, std::string_view color);

struct PrimitiveMetadata {
  std::string_view type_id;
  std::string_view display_name;
  PrimitiveFactory factory = nullptr;
  PrimitiveKind kind = PrimitiveKind::Line;
  // Stored as registered; nothing in the library reads the three flags.
  bool flag_a = false;
  bool has_levels = false;
  bool is_pattern = false;
};

}  // namespace qc::primitives
