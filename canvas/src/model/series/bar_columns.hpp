// The bars as columns, one array per field: the one storage a chart keeps its bars in, read in place by the
// studies and, a Bar at a time, by the renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <vector>

#include "model/series/data.hpp"

namespace qc::model {

// Borrowed columns of equal length; bar i is item i of each.
struct BarsView {
  std::span<const std::int64_t> time;
  std::span<const double> open;
  std::span<const double> high;
  std::span<const double> low;
  std::span<const double> close;
  std::span<const double> volume;

  std::size_t size() const { return close.size(); }
  bool empty() const { return close.empty(); }
  Bar operator[](std::size_t i) const { return {time[i], open[i], high[i], low[i], close[i], volume[i]}; }
  Bar back() const { return (*this)[size() - 1]; }
  // Bars offset .. offset + count - 1, as std::span::subspan takes them.
  BarsView subview(std::size_t offset, std::size_t count) const {
    return {time.subspan(offset, count), open.subspan(offset, count), high.subspan(offset, count),
            low.subspan(offset, count),  close.subspan(offset, count), volume.subspan(offset, count)};
  }

  // Yields each bar by value, so that range-for loops written for a span of bars read the columns unchanged.
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Bar;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    iterator(const BarsView* view, std::size_t i) : view_(view), i_(i) {}
    Bar operator*() const { return (*view_)[i_]; }
    iterator& operator++() {
      ++i_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++i_;
      return before;
    }
    bool operator==(const iterator& other) const { return i_ == other.i_; }

   private:
    const BarsView* view_ = nullptr;
    std::size_t i_ = 0;
  };
  iterator begin() const { return {this, 0}; }
  iterator end() const { return {this, size()}; }
};

// Owns the columns of a run of bars.
class BarColumns {
 public:
  BarColumns() = default;
  explicit BarColumns(std::span<const Bar> bars);
  BarColumns(std::initializer_list<Bar> bars) : BarColumns(std::span<const Bar>(bars.begin(), bars.size())) {}

  BarsView view() const { return {time_, open_, high_, low_, close_, volume_}; }
  operator BarsView() const { return view(); }  // NOLINT(google-explicit-constructor): a view of the same bars

  std::size_t size() const { return close_.size(); }
  bool empty() const { return close_.empty(); }
  Bar operator[](std::size_t i) const { return view()[i]; }

  void push_back(const Bar& b);
  // Every column at `n` items; new bars are all zeros.
  void resize(std::size_t n);
  // `n` copies of one bar.
  void assign(std::size_t n, const Bar& b);

  // The columns to write, for readers that fill them field by field.
  std::vector<std::int64_t>& time() { return time_; }
  std::vector<double>& open() { return open_; }
  std::vector<double>& high() { return high_; }
  std::vector<double>& low() { return low_; }
  std::vector<double>& close() { return close_; }
  std::vector<double>& volume() { return volume_; }

  friend bool operator==(const BarColumns&, const BarColumns&) = default;

 private:
  std::vector<std::int64_t> time_;
  std::vector<double> open_, high_, low_, close_, volume_;
};

}  // namespace qc::model
