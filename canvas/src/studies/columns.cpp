// Splitting bars into columns.
#include "studies/columns.hpp"

namespace qc::studies {

ColumnStore::ColumnStore(std::span<const model::Bar> bars)
    : time_(bars.size()), open_(bars.size()), high_(bars.size()), low_(bars.size()), close_(bars.size()),
      volume_(bars.size()) {
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const model::Bar& b = bars[i];
    time_[i] = b.timestamp;
    open_[i] = b.open;
    high_[i] = b.high;
    low_[i] = b.low;
    close_[i] = b.close;
    volume_[i] = b.volume;
  }
}

}  // namespace qc::studies
