// Arrow up: an event marker pointing up.
#pragma once

#include "primitives/catalog/arrows/vertical_arrow.hpp"

namespace qc::primitives::catalog {

class ArrowUp final : public VerticalArrow<ArrowUp, ArrowDirection::Up> {
 public:
  static constexpr BuiltinType kType = BuiltinType::arrow_up;
};

}  // namespace qc::primitives::catalog
