// Sliding mean absolute deviation: a direct window sum for short windows, a Fenwick tree over ranks for long.
#include "studies/mean_deviation.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "studies/window.hpp"

namespace qc::studies {
namespace {

// Counts and sums of the values currently in the window, indexed by each value's rank among all the
// finite values of the series, so that those at or below any level are found in O(log n).
class RankedWindow {
 public:
  explicit RankedWindow(std::span<const double> x) : rank_(x.size(), 0) {
    std::vector<std::pair<double, std::size_t>> order;
    order.reserve(x.size());
    for (std::size_t t = 0; t < x.size(); ++t) {
      if (finite(x[t])) order.emplace_back(x[t], t);
    }
    std::sort(order.begin(), order.end());
    sorted_.reserve(order.size());
    for (std::size_t r = 0; r < order.size(); ++r) {
      sorted_.push_back(order[r].first);
      rank_[order[r].second] = r;
    }
    count_.assign(sorted_.size() + 1, 0);
    sum_.assign(sorted_.size() + 1, 0.0);
  }

  void insert(std::size_t t, double v) { update(rank_[t], v, 1); }
  void erase(std::size_t t, double v) { update(rank_[t], -v, -1); }

  // Number and sum of the window's values that are ≤ level.
  std::pair<std::int64_t, double> at_or_below(double level) const {
    std::size_t i = static_cast<std::size_t>(std::upper_bound(sorted_.begin(), sorted_.end(), level) -
                                             sorted_.begin());
    std::int64_t n = 0;
    double s = 0.0;
    for (; i > 0; i &= i - 1) {
      n += count_[i];
      s += sum_[i];
    }
    return {n, s};
  }

 private:
  void update(std::size_t r, double v, std::int64_t dn) {
    for (std::size_t i = r + 1; i < count_.size(); i += i & (~i + 1)) {
      count_[i] += dn;
      sum_[i] += v;
    }
  }

  std::vector<double> sorted_;    // the finite values, ascending
  std::vector<std::size_t> rank_;  // bar → position in sorted_
  std::vector<std::int64_t> count_;
  std::vector<double> sum_;
};

// Running sum with Neumaier's compensation: the mean of a long window taken over thousands of bars
// keeps its last bits.
class CompensatedSum {
 public:
  void add(double v) {
    const double s = sum_ + v;
    carry_ += std::abs(sum_) >= std::abs(v) ? (sum_ - s) + v : (v - s) + sum_;
    sum_ = s;
  }
  void clear() { sum_ = carry_ = 0.0; }
  double value() const { return sum_ + carry_; }

 private:
  double sum_ = 0.0;
  double carry_ = 0.0;
};

void direct(std::span<const double> x, std::size_t p, std::size_t t, double pd, double& mean, double& dev) {
  const std::span<const double> w = x.subspan(t + 1 - p, p);
  double s = 0.0;
  for (const double v : w) s += v;
  mean = s / pd;
  double d = 0.0;
  for (const double v : w) d += std::abs(v - mean);
  dev = d / pd;
}

}  // namespace

void window_mean_deviation(std::span<const double> x, std::size_t p, std::span<double> mean,
                           std::span<double> deviation) {
  const bool ranked = p > kDirectDeviationMax;
  RankedWindow window(ranked ? x : std::span<const double>{});
  CompensatedSum total;
  const double pd = static_cast<double>(p);
  std::size_t run = 0;    // finite values in a row up to t, the window's fill
  std::size_t equal = 0;  // values in a row equal to the newest
  for (std::size_t t = 0; t < x.size(); ++t) {
    const double v = x[t];
    mean[t] = deviation[t] = kNaN;
    if (!finite(v)) {
      if (ranked) {
        for (std::size_t j = t - std::min(run, p); j < t; ++j) window.erase(j, x[j]);
        total.clear();
      }
      run = equal = 0;
      continue;
    }
    equal = run > 0 && v == x[t - 1] ? equal + 1 : 1;
    ++run;
    if (ranked) {
      window.insert(t, v);
      total.add(v);
      if (run > p) {
        window.erase(t - p, x[t - p]);
        total.add(-x[t - p]);
      }
    }
    if (run < p) continue;
    if (equal >= p) {  // rounding must not leave a deviation in a flat window
      mean[t] = v;
      deviation[t] = 0.0;
    } else if (!ranked) {
      direct(x, p, t, pd, mean[t], deviation[t]);
    } else {
      const double m = total.value() / pd;
      const auto [below, below_sum] = window.at_or_below(m);
      const double above = pd - static_cast<double>(below);
      const double above_sum = total.value() - below_sum;
      mean[t] = m;
      deviation[t] = ((above_sum - above * m) + (static_cast<double>(below) * m - below_sum)) / pd;
    }
  }
}

}  // namespace qc::studies
