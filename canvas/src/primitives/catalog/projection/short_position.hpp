// Short position: a trade plan with the stop above and the target below the entry by default.
#pragma once

#include "primitives/catalog/projection/position.hpp"

namespace qc::primitives::catalog {

class ShortPosition final : public PositionTool<ShortPosition> {
 public:
  static constexpr BuiltinType kType = BuiltinType::short_position;
  static constexpr double kStopOffset = 5.0;
  static constexpr double kTargetOffset = -10.0;
};

}  // namespace qc::primitives::catalog
