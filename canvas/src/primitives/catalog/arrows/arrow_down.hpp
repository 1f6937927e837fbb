// Arrow down: an event marker pointing down.
#pragma once

#include "primitives/catalog/arrows/vertical_arrow.hpp"

namespace qc::primitives::catalog {

class ArrowDown final : public VerticalArrow<ArrowDown, ArrowDirection::Down> {
 public:
  static constexpr BuiltinType kType = BuiltinType::arrow_down;
};

}  // namespace qc::primitives::catalog
