// Window machinery every study is built from: sliding sums, windowed extremes, seeded smoothing, true
// range, sliding variance and least squares. Each holds O(1) state (the extremes a ring of indices,
// allocated once), so a study over n bars is O(n) for any period.
//
// A non-finite input empties a window, which fills again from the bars after it; a recursion started
// after such a value starts as at bar 0. So a value is never computed from a window that holds NaN.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <vector>

namespace qc::studies {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline bool finite(double x) { return std::isfinite(x); }

// max(H, previous close) − min(L, previous close); NaN when any of them is not finite.
inline double true_range(double high, double low, double prev_close) {
  if (!finite(high) || !finite(low) || !finite(prev_close)) return kNaN;
  return (high > prev_close ? high : prev_close) - (low < prev_close ? low : prev_close);
}

// Sum of the last p values of x. step(t) is called for t = 0, 1, 2, … in turn.
class WindowSum {
 public:
  WindowSum(std::span<const double> x, std::size_t p) : x_(x), p_(p) {}

  // Takes x[t] in; true when the p values ending at t are all finite (sum() is then theirs).
  bool step(std::size_t t) {
    const double v = x_[t];
    if (!finite(v)) {
      sum_ = 0.0;
      run_ = 0;
      return false;
    }
    sum_ += v;
    if (run_ == p_) {
      sum_ -= x_[t - p_];
    } else {
      ++run_;
    }
    return run_ == p_;
  }
  double sum() const { return sum_; }
  double mean() const { return sum_ / static_cast<double>(p_); }

 private:
  std::span<const double> x_;
  std::size_t p_;
  double sum_ = 0.0;
  std::size_t run_ = 0;  // finite values in the window so far, at most p
};

// Largest (or smallest) of the last p values. Among equal values the latest is kept, so index() names the
// newest bar holding the extreme.
//
// The bars are cut into blocks of p from the start of the current finite run. A window then covers the
// tail of one block and the head of the next: the extreme of the head is kept as the bars arrive, the
// extremes of every tail of the previous block are worked out backwards once when a block is complete.
// That is O(1) per bar for any p, as a monotonic deque is, but with comparisons a processor predicts:
// a deque's pops depend on the data and cost a misprediction nearly every bar.
template <bool kMax>
class WindowExtreme {
 public:
  WindowExtreme(std::span<const double> x, std::size_t p)
      : x_(x), p_(p), tail_(p + 1, kMax ? -kInfinity : kInfinity), tail_index_(p + 1) {}

  // Takes x[t] in; true when the p values ending at t are all finite.
  bool step(std::size_t t) {
    const double v = x_[t];
    if (!finite(v)) {
      run_ = 0;
      return false;
    }
    if (run_ == 0 || t - block_ == p_) start_block(t);
    // Selections rather than branches: which side wins is as good as random on prices.
    const bool take = t == block_ || !beats(head_, v);
    head_ = take ? v : head_;
    head_index_ = take ? t : head_index_;
    if (run_ < p_) ++run_;
    if (run_ < p_) return false;
    // The window [t − p + 1, t] is the head [block_, t] and the tail of the previous block from
    // t − p + 1, in slot t + 1 − block_ of the tail arrays (slot p, past the block, never wins).
    const std::size_t slot = t + 1 - block_;
    const bool tail = beats(tail_[slot], head_);
    value_ = tail ? tail_[slot] : head_;
    index_ = tail ? tail_index_[slot] : head_index_;
    return true;
  }
  double value() const { return value_; }
  std::size_t index() const { return index_; }

 private:
  // Whether a kept value stays ahead of a newer one: strictly larger (smaller), so ties go to the newer.
  static bool beats(double kept, double newer) { return kMax ? kept > newer : kept < newer; }
  static constexpr double kInfinity = std::numeric_limits<double>::infinity();

  // Opens a block at t; the block before it (when the run has one) leaves the extremes of its tails.
  void start_block(std::size_t t) {
    if (run_ > 0) {
      std::size_t i = p_;
      double best = x_[t - 1];
      std::size_t best_index = t - 1;
      while (i-- > 0) {
        const std::size_t j = block_ + i;
        if (beats(x_[j], best)) {
          best = x_[j];
          best_index = j;
        }
        tail_[i] = best;
        tail_index_[i] = best_index;
      }
    }
    block_ = t;
  }

  std::span<const double> x_;
  std::size_t p_;
  std::vector<double> tail_;             // extreme of the previous block from slot i to its end; slot p
                                         // holds a value that never wins
  std::vector<std::size_t> tail_index_;  // and the latest bar holding it
  std::size_t block_ = 0;                // first bar of the current block
  double head_ = 0.0;                    // extreme of the current block so far
  std::size_t head_index_ = 0;
  double value_ = 0.0;
  std::size_t index_ = 0;
  std::size_t run_ = 0;  // finite values so far, at most p
};
using WindowMax = WindowExtreme<true>;
using WindowMin = WindowExtreme<false>;

// Exponential smoothing e += (x − e)·2/(p + 1).
struct EmaRule {
  static double weight(std::size_t p) { return 2.0 / (static_cast<double>(p) + 1.0); }
  static double next(double e, double x, double k, double p) {
    static_cast<void>(p);
    return e + (x - e) * k;
  }
};
// Wilder's smoothing e = (e·(p − 1) + x)/p, written as e += (x − e)/p with 1/p taken once: a division on
// every bar's dependency chain would take twice as long, and a run of equal inputs stays exactly equal.
struct WilderRule {
  static double weight(std::size_t p) { return 1.0 / static_cast<double>(p); }
  static double next(double e, double x, double k, double p) { return EmaRule::next(e, x, k, p); }
};

// A recursive average seeded with the mean of its first p finite inputs, fed one value at a time.
template <class Rule>
class Seeded {
 public:
  explicit Seeded(std::size_t p) : p_(p), pd_(static_cast<double>(p)), k_(Rule::weight(p)) {}

  // Feeds x; true when value() holds an average (from the p-th finite input on). A non-finite x
  // restarts the seed.
  bool step(double x) {
    if (!finite(x)) {
      count_ = 0;
      value_ = 0.0;
      return false;
    }
    if (count_ < p_) {
      value_ += x;
      if (++count_ < p_) return false;
      value_ /= pd_;
      return true;
    }
    value_ = Rule::next(value_, x, k_, pd_);
    return true;
  }
  double value() const { return value_; }

 private:
  std::size_t p_;
  double pd_;
  double k_;
  std::size_t count_ = 0;
  double value_ = 0.0;  // the seed's running sum until count_ reaches p_
};
using Ema = Seeded<EmaRule>;
using Wilder = Seeded<WilderRule>;

// Wilder-smoothed true range taken bar by bar, without a series of true ranges: first value
// mean(TR_1 … TR_p) at bar p; a non-finite bar restarts it.
class AverageTrueRange {
 public:
  AverageTrueRange(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                   std::size_t p)
      : high_(high), low_(low), close_(close), avg_(p) {}

  bool step(std::size_t t) { return t > 0 && avg_.step(true_range(high_[t], low_[t], close_[t - 1])); }
  double value() const { return avg_.value(); }

 private:
  std::span<const double> high_, low_, close_;
  Wilder avg_;
};

// Mean and population variance of the last p values, by a sliding Welford update. A window of p equal
// values has variance exactly 0: after moving prices, the running update alone would keep a rounding
// residue there.
class WindowVariance {
 public:
  WindowVariance(std::span<const double> x, std::size_t p) : x_(x), p_(p), pd_(static_cast<double>(p)) {}

  bool step(std::size_t t) {
    const double v = x_[t];
    if (!finite(v)) {
      run_ = 0;
      mean_ = m2_ = 0.0;
      equal_ = 0;
      return false;
    }
    equal_ = run_ > 0 && v == x_[t - 1] ? equal_ + 1 : 1;
    if (run_ < p_) {
      ++run_;
      const double d = v - mean_;
      mean_ += d / static_cast<double>(run_);
      m2_ += d * (v - mean_);
    } else {
      const double old = x_[t - p_];
      const double mean = mean_ + (v - old) / pd_;
      m2_ += (v - old) * (v - mean + old - mean_);
      mean_ = mean;
    }
    if (m2_ < 0.0) m2_ = 0.0;
    if (equal_ >= p_) {
      mean_ = v;
      m2_ = 0.0;
    }
    return run_ == p_;
  }
  double mean() const { return mean_; }
  double m2() const { return m2_; }  // sum of squared deviations from the mean
  double variance() const { return m2_ / pd_; }
  double sample_variance() const { return m2_ / (pd_ - 1.0); }

 private:
  std::span<const double> x_;
  std::size_t p_;
  double pd_;
  std::size_t run_ = 0;
  double mean_ = 0.0;
  double m2_ = 0.0;
  std::size_t equal_ = 0;  // trailing values equal to the newest
};

// Least-squares line through the last p values against x = 0 … p − 1 (oldest first), by sliding sums of
// y and x·y.
class WindowLine {
 public:
  WindowLine(std::span<const double> y, std::size_t p)
      : y_(y), p_(p), pd_(static_cast<double>(p)), sum_x_(pd_ * (pd_ - 1.0) / 2.0),
        sum_xx_(pd_ * (pd_ - 1.0) * (2.0 * pd_ - 1.0) / 6.0) {}

  bool step(std::size_t t) {
    const double v = y_[t];
    if (!finite(v)) {
      run_ = 0;
      sum_y_ = sum_xy_ = 0.0;
      return false;
    }
    if (run_ < p_) {
      sum_xy_ += static_cast<double>(run_) * v;
      sum_y_ += v;
      ++run_;
    } else {
      const double out = y_[t - p_];
      sum_xy_ += (pd_ - 1.0) * v - (sum_y_ - out);
      sum_y_ += v - out;
    }
    return run_ == p_;
  }
  double slope() const { return (pd_ * sum_xy_ - sum_x_ * sum_y_) / (pd_ * sum_xx_ - sum_x_ * sum_x_); }
  double intercept() const { return (sum_y_ - slope() * sum_x_) / pd_; }
  // The line's value at the newest bar, x = p − 1.
  double last() const { return intercept() + slope() * (pd_ - 1.0); }

 private:
  std::span<const double> y_;
  std::size_t p_;
  double pd_;
  double sum_x_;
  double sum_xx_;
  std::size_t run_ = 0;
  double sum_y_ = 0.0;
  double sum_xy_ = 0.0;
};

}  // namespace qc::studies
