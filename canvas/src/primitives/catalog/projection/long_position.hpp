// Long position: a trade plan with the stop below and the target above the entry by default.
#pragma once

#include "primitives/catalog/projection/position.hpp"

namespace qc::primitives::catalog {

class LongPosition final : public PositionTool<LongPosition> {
 public:
  static constexpr BuiltinType kType = BuiltinType::long_position;
  static constexpr double kStopOffset = -5.0;
  static constexpr double kTargetOffset = 10.0;
};

}  // namespace qc::primitives::catalog
