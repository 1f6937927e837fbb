// Splitting bars into columns, and growing the columns together.
#include "model/series/bar_columns.hpp"

namespace qc::model {

BarColumns::BarColumns(std::span<const Bar> bars)
    : time_(bars.size()), open_(bars.size()), high_(bars.size()), low_(bars.size()), close_(bars.size()),
      volume_(bars.size()) {
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const Bar& b = bars[i];
    time_[i] = b.timestamp;
    open_[i] = b.open;
    high_[i] = b.high;
    low_[i] = b.low;
    close_[i] = b.close;
    volume_[i] = b.volume;
  }
}

void BarColumns::push_back(const Bar& b) {
  time_.push_back(b.timestamp);
  open_.push_back(b.open);
  high_.push_back(b.high);
  low_.push_back(b.low);
  close_.push_back(b.close);
  volume_.push_back(b.volume);
}

void BarColumns::resize(std::size_t n) {
  time_.resize(n);
  for (std::vector<double>* c : {&open_, &high_, &low_, &close_, &volume_}) c->resize(n);
}

void BarColumns::assign(std::size_t n, const Bar& b) {
  time_.assign(n, b.timestamp);
  open_.assign(n, b.open);
  high_.assign(n, b.high);
  low_.assign(n, b.low);
  close_.assign(n, b.close);
  volume_.assign(n, b.volume);
}

}  // namespace qc::model
