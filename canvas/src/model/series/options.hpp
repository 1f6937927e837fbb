// Main-series kinds and their one-byte codes.
#pragma once

#include <cstdint>

namespace qc::model {

enum class SeriesType : std::uint8_t {
  Candlesticks = 0,
  Line = 5,
  Area = 8,
};

}  // namespace qc::model
