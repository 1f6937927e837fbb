// The bars as columns, the form every study reads: one array per field, taken from the bars once.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "coords/time_zone.hpp"
#include "model/series/data.hpp"

namespace qc::studies {

struct Columns {
  std::span<const std::int64_t> time;
  std::span<const double> open;
  std::span<const double> high;
  std::span<const double> low;
  std::span<const double> close;
  std::span<const double> volume;
  // The clock calendar periods are read on.
  const coords::TimeZone* zone = &coords::kUtc;

  std::size_t size() const { return close.size(); }
};

// Owns the columns of a run of bars.
class ColumnStore {
 public:
  explicit ColumnStore(std::span<const model::Bar> bars);
  Columns view() const { return {time_, open_, high_, low_, close_, volume_}; }

 private:
  std::vector<std::int64_t> time_;
  std::vector<double> open_, high_, low_, close_, volume_;
};

}  // namespace qc::studies
