// Window machinery every study is built from: sliding sums and weighted means, windowed extremes, seeded
// smoothing, true range, sliding variance and least squares. Each holds O(1) state (the extremes a few
// thousand bars of buffers), so a study over n bars is O(n) for any period.
//
// A non-finite input empties a window, which fills again from the bars after it; a recursion started
// after such a value starts as at bar 0. So a value is never computed from a window that holds NaN.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace qc::studies {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline bool finite(double x) { return std::isfinite(x); }
// Whether all are finite, in one test: x − x is 0 for a finite x and NaN otherwise.
template <class... D>
bool finite_all(D... x) {
  return ((x - x) + ...) == 0.0;
}

// Bars a loop takes at a time where it runs without a test a bar: a stretch's values and sums stay in the
// first level of cache, and a stretch that meets a gap goes again with the tests.
inline constexpr std::size_t kStretch = 512;

// Bars first … n − 1 a stretch at a time, for recursions that can run a stretch without a test a bar once
// under way: attempt(begin, end) tries one so and says whether it held; where it did not, or was not tried,
// each(t) takes the stretch's bars one by one. A failed attempt leaves the recursions as they were.
template <class Attempt, class Each>
void in_stretches(std::size_t first, std::size_t n, Attempt&& attempt, Each&& each) {
  for (std::size_t begin = first; begin < n; begin += kStretch) {
    const std::size_t end = n - begin < kStretch ? n : begin + kStretch;
    if (attempt(begin, end)) continue;
    for (std::size_t t = begin; t < end; ++t) each(t);
  }
}

// max(H, previous close) − min(L, previous close); NaN when any of them is not finite.
inline double true_range(double high, double low, double prev_close) {
  if (!finite(high) || !finite(low) || !finite(prev_close)) return kNaN;
  return (high > prev_close ? high : prev_close) - (low < prev_close ? low : prev_close);
}

// Sum of the last p values of x. step(t) is called for t = 0, 1, 2, … in turn. A window holding only
// zeros sums to exactly 0: the rounding left by values that slid out would otherwise read as a small
// flow or move on a quiet stretch, and ratios of two such residues are arbitrary.
class WindowSum {
 public:
  WindowSum(std::span<const double> x, std::size_t p) : x_(x), p_(p) {}

  // Takes x[t] in; true when the p values ending at t are all finite (sum() is then theirs).
  bool step(std::size_t t) {
    const double v = x_[t];
    if (!finite(v)) {
      sum_ = 0.0;
      run_ = 0;
      nonzero_ = 0;
      return false;
    }
    // Counted, not branched on: on flows that are zero every other bar, a branch would mispredict.
    nonzero_ += static_cast<std::size_t>(v != 0.0);
    double old = 0.0;
    if (run_ == p_) {
      old = x_[t - p_];
      nonzero_ -= static_cast<std::size_t>(old != 0.0);
    } else {
      ++run_;
    }
    // One addition from one bar's sum to the next: that chain sets the pace.
    sum_ += v - old;
    if (nonzero_ == 0) sum_ = 0.0;
    return run_ == p_;
  }
  // Steps bars t … t + m − 1, writing each sum to out (NaN where the window is not full). Where every
  // window is full of values other than 0, a first try slides with no test a bar: a non-finite value stays
  // in the sum to the end, and a 0 is noted, either of which sends the stretch through step() instead.
  void sums(std::size_t t, std::size_t m, double* out) {
    if (run_ == p_ && nonzero_ == p_) {
      double sum = sum_;
      bool zero = false;
      for (std::size_t i = t; i < t + m; ++i) {
        zero |= x_[i] == 0.0;
        sum += x_[i] - x_[i - p_];
        out[i - t] = sum;
      }
      if (finite(sum) && !zero) {
        sum_ = sum;
        return;
      }
    }
    for (std::size_t i = t; i < t + m; ++i) out[i - t] = step(i) ? sum_ : kNaN;
  }
  double sum() const { return sum_; }
  double mean() const { return sum_ / static_cast<double>(p_); }

 private:
  std::span<const double> x_;
  std::size_t p_;
  double sum_ = 0.0;
  std::size_t run_ = 0;      // finite values in the window so far, at most p
  std::size_t nonzero_ = 0;  // values in the window other than 0
};

// Weighted mean of the last p values fed, the newest weighted p and the oldest 1. Fed values rather than
// bars, so that it can also average a series made on the fly. The mean is taken by a multiplication:
// several of them in one study would otherwise queue on the divider.
class WindowWeighted {
 public:
  explicit WindowWeighted(std::size_t p)
      : p_(p), pd_(static_cast<double>(p)), scale_(2.0 / (pd_ * (pd_ + 1.0))) {}

  // Feeds v; `old` is the value fed p steps before, read only once p finite values are in. True when they
  // are (mean() is then theirs); a non-finite v empties the window.
  bool step(double v, double old) {
    if (!finite(v)) {
      sum_ = weighted_ = 0.0;
      run_ = 0;
      return false;
    }
    if (run_ < p_) {
      ++run_;
      weighted_ += static_cast<double>(run_) * v;
      sum_ += v;
    } else {
      weighted_ += pd_ * v - sum_;
      sum_ += v - old;
    }
    return run_ == p_;
  }
  double mean() const { return weighted_ * scale_; }

 private:
  std::size_t p_;
  double pd_;
  double scale_;           // 1 over the sum of the weights
  double sum_ = 0.0;       // Σ x over the window
  double weighted_ = 0.0;  // Σ i·x, i = 1 for the oldest
  std::size_t run_ = 0;
};

// True when each of the m values is finite (and, with kNonzero, none is 0): a block of them then takes no
// test a bar. Each test is 0 < |v| ≤ the largest double (or the second half alone), false for NaN.
template <bool kNonzero>
bool all_finite_scalar(const double* v, std::size_t m) {
  bool ok = true;
  for (std::size_t i = 0; i < m; ++i) {
    ok &= std::abs(v[i]) <= std::numeric_limits<double>::max() && (!kNonzero || v[i] != 0.0);
  }
  return ok;
}
#if defined(__x86_64__) && defined(__GNUC__)
// Eight at a time where the processor has the instructions: compilers leave the loop above scalar.
template <bool kNonzero>
[[gnu::target("avx2")]] bool all_finite_wide(const double* v, std::size_t m) {
  const __m256d largest = _mm256_set1_pd(std::numeric_limits<double>::max());
  const __m256d sign = _mm256_set1_pd(-0.0);
  const __m256d ones = _mm256_castsi256_pd(_mm256_set1_epi32(-1));
  __m256d all_a = ones, all_b = ones;
  std::size_t i = 0;
  for (; i + 8 <= m; i += 8) {
    const __m256d a = _mm256_andnot_pd(sign, _mm256_loadu_pd(v + i));
    const __m256d b = _mm256_andnot_pd(sign, _mm256_loadu_pd(v + i + 4));
    __m256d good_a = _mm256_cmp_pd(a, largest, _CMP_LE_OQ), good_b = _mm256_cmp_pd(b, largest, _CMP_LE_OQ);
    if constexpr (kNonzero) {
      good_a = _mm256_and_pd(good_a, _mm256_cmp_pd(a, _mm256_setzero_pd(), _CMP_GT_OQ));
      good_b = _mm256_and_pd(good_b, _mm256_cmp_pd(b, _mm256_setzero_pd(), _CMP_GT_OQ));
    }
    all_a = _mm256_and_pd(all_a, good_a);
    all_b = _mm256_and_pd(all_b, good_b);
  }
  return _mm256_movemask_pd(_mm256_and_pd(all_a, all_b)) == 15 && all_finite_scalar<kNonzero>(v + i, m - i);
}
#endif
template <bool kNonzero>
bool all_finite(const double* v, std::size_t m) {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) return all_finite_wide<kNonzero>(v, m);
#endif
  return all_finite_scalar<kNonzero>(v, m);
}

// Sums of the last p[k] of K values made a bar: make(begin, m, values) writes the K values of bars begin …
// begin + m − 1 to values[k][0 … m − 1], a block at a time, and take(t, full, sums) is handed their sums, for
// t = 0, 1, 2, … in turn (full when every window is full). A study sums values it makes on the way without
// writing them out as whole series, whose pages alone would cost more than the sums.
//
// Each value's sum is a WindowSum's, bit for bit: a window holding only zeros sums to exactly 0, and a bar
// holding a non-finite value empties every window. The block goes into a small buffer holding the windows'
// older values before it. A block of finite values other than 0, once every window is full, then slides
// with one subtraction and one addition a value; others take the tests bar by bar. All the values of a
// block are made before the first of its sums is handed on.
template <std::size_t K, class Make, class Take>
void slide_block_sums(std::size_t n, const std::array<std::size_t, K>& p, Make&& make, Take&& take) {
  const std::size_t longest = *std::max_element(p.begin(), p.end());
  const std::size_t block = longest > kStretch ? longest : kStretch;
  // Each value's buffer: `longest` older values, then the block's. Placed so that the block starts half
  // way through a 4 kB page: loads of it then never share the low address bits of the line stores just
  // made (a line starts on a page or 16 bytes into one), which the processor would take for a store to
  // wait on.
  constexpr std::size_t kPage = 512;  // doubles
  const std::size_t stride = (longest + block + kPage - 1) / kPage * kPage;
  std::vector<double> storage(K * stride + 2 * kPage);
  const std::size_t at = reinterpret_cast<std::uintptr_t>(storage.data() + longest) / sizeof(double) % kPage;
  double* const first = storage.data() + (kPage + kPage / 2 - at) % kPage;
  std::array<double*, K> fresh{}, older{};  // each value's block, and the values p[k] before it
  for (std::size_t k = 0; k < K; ++k) {
    fresh[k] = first + k * stride + longest;
    older[k] = fresh[k] - p[k];
  }

  std::array<double, K> sum{};
  std::array<std::size_t, K> zeros{};  // values equal to 0 at the end of each window
  std::size_t run = 0;                 // bars of finite values since the last start
  for (std::size_t begin = 0; begin < n; begin += block) {
    const std::size_t m = n - begin < block ? n - begin : block;
    make(begin, m, std::as_const(fresh));
    bool clean = run >= longest;
    for (std::size_t k = 0; k < K && clean; ++k) clean = all_finite<true>(fresh[k], m);
    if (clean) {
      for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t k = 0; k < K; ++k) sum[k] += fresh[k][i] - older[k][i];
        take(begin + i, true, sum);
      }
      run += m;
      zeros.fill(0);
    } else {
      for (std::size_t i = 0; i < m; ++i) {
        bool finite_set = true;
        for (std::size_t k = 0; k < K; ++k) finite_set &= finite(fresh[k][i]);
        if (!finite_set) {
          sum.fill(0.0);
          zeros.fill(0);
          run = 0;
          take(begin + i, false, sum);
          continue;
        }
        for (std::size_t k = 0; k < K; ++k) {
          const double v = fresh[k][i];
          sum[k] += v - (run >= p[k] ? older[k][i] : 0.0);
          // Counted by a mask, not a branch: on flows that are zero every other bar, a branch mispredicts.
          zeros[k] = (zeros[k] + 1) & (std::size_t{0} - static_cast<std::size_t>(v == 0.0));
          sum[k] = zeros[k] >= p[k] ? 0.0 : sum[k];
        }
        ++run;
        take(begin + i, run >= longest, sum);
      }
    }
    // The newest values become the next block's older ones.
    for (std::size_t k = 0; k < K; ++k) {
      std::memmove(fresh[k] - longest, fresh[k] + m - longest, longest * sizeof(double));
    }
  }
}

// The same, with value(t) giving the K values of bar t.
template <std::size_t K, class Value, class Take>
void slide_sums(std::size_t n, const std::array<std::size_t, K>& p, Value&& value, Take&& take) {
  slide_block_sums<K>(
      n, p,
      [&](std::size_t begin, std::size_t m, const std::array<double*, K>& values) {
        for (std::size_t i = 0; i < m; ++i) {
          const std::array<double, K> v = value(begin + i);
          for (std::size_t k = 0; k < K; ++k) values[k][i] = v[k];
        }
      },
      take);
}

// Largest (or smallest) of the last p values; on request also the index of the newest bar holding it.
//
// Windows are settled a chunk of about kChunkBars bars at a time, so that the buffers stay small and warm
// however many bars there are, by passes that never branch on the data (a deque of candidates pops at
// unpredictable times, several times slower). Short periods double: the extreme of 2w bars ending at i is
// the better of those of w bars ending at i − w and at i, so about log2 p passes that the compiler turns into
// vector compares settle every window. Long ones cut the bars into blocks of p from bar 0: a window ends in
// one block and starts in the same or the one before, so its extreme is the better of two partial ones, from
// the start of the newest bar's block up to that bar and from the window's first bar to the end of its block,
// at three passes whatever p is. Among equal values the later bar wins.
template <bool kMax>
class WindowExtreme {
 public:
  WindowExtreme(std::span<const double> x, std::size_t p, bool with_index = false)
      : x_(x), p_(p), chunk_(chunk_for(x.size(), p)), best_(chunk_), tail_(chunk_ + p),
        best_at_(with_index ? chunk_ : 0), tail_at_(with_index ? chunk_ + p : 0),
        spare_(p <= kDoublingMax && !with_index ? chunk_ + p : 0) {}

  // Takes x[t] in (t = 0, 1, 2, … in turn); true when the p values ending at t are all finite, and value()
  // and index() are then theirs.
  bool step(std::size_t t) {
    if (t == next_) advance(t);
    t_ = t - first_;
    if (!finite(x_[t])) {
      run_ = 0;
      return false;
    }
    return run_ == p_ || ++run_ == p_;
  }
  double value() const { return best_[t_]; }
  std::size_t index() const { return best_at_[t_]; }  // set up with_index

  // For a caller that takes a chunk at a time rather than stepping bar by bar (t = 0, then each time the
  // bar after the span it was last handed): the extremes of the windows ending at t up to the end of t's
  // chunk, NaN where a window is not p finite values.
  std::span<const double> settled(std::size_t t) {
    advance(t);
    const std::size_t end = next_ < x_.size() ? next_ : x_.size();
    if (all_finite<false>(x_.data() + t, end - t)) {
      // Only the windows still filling after a start are short.
      const std::size_t filling = run_ + 1 < p_ ? p_ - run_ - 1 : 0;
      std::fill_n(best_.begin(), std::min(filling, end - t), kNaN);
      run_ = std::min(run_ + (end - t), p_);
    } else {
      for (std::size_t i = t; i < end; ++i) {
        run_ = !finite(x_[i]) ? 0 : run_ < p_ ? run_ + 1 : p_;
        if (run_ < p_) best_[i - t] = kNaN;
      }
    }
    return {best_.data(), end - t};
  }

 private:
  static constexpr std::size_t kChunkBars = 2048;
  // Up to here log2 p doubling passes cost less than the three block passes, two of them a serial chain.
  // (With indices the doubling's selects do not vectorize, and the block passes are kept.)
  static constexpr std::size_t kDoublingMax = 64;

  // Whole blocks of about kChunkBars bars, no more than the bars need.
  static std::size_t chunk_for(std::size_t n, std::size_t p) {
    const std::size_t blocks = p < kChunkBars ? kChunkBars / p : 1;
    const std::size_t needed = n / p + 1;
    return p * (blocks < needed ? blocks : needed);
  }
  static bool better(double a, double b) { return kMax ? a > b : a < b; }

  // Out of line, so that step() stays small enough to sit in the study's loop.
  [[gnu::noinline]] void advance(std::size_t t) {
    first_ = t;
    next_ = t + chunk_;
    if (!best_at_.empty()) {
      settle<true>();
    } else if (p_ <= kDoublingMax) {
      settle_doubling();
    } else {
      settle<false>();
    }
  }

  // One doubling pass over n slots: the better of the extremes ending s slots apart, from `late` (and
  // `late − s`) into out. The buffers never overlap.
  [[gnu::always_inline]] static void double_pass_loop(const double* __restrict late, std::size_t s, std::size_t n,
                                                      double* __restrict out) {
    const double* early = late - s;
    for (std::size_t i = 0; i < n; ++i) out[i] = better(early[i], late[i]) ? early[i] : late[i];
  }
#if defined(__x86_64__) && defined(__GNUC__)
  // Four slots at a time where the processor has the instructions. Written out, since compilers at the
  // build's optimisation level leave the loop above scalar. max(a, b) and min(a, b) are a > b ? a : b and
  // a < b ? a : b exactly: the same extremes.
  [[gnu::target("avx2")]] static void double_pass_wide(const double* late, std::size_t s, std::size_t n,
                                                       double* out) {
    const double* early = late - s;
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      const __m256d a = _mm256_loadu_pd(early + i);
      const __m256d b = _mm256_loadu_pd(late + i);
      _mm256_storeu_pd(out + i, kMax ? _mm256_max_pd(a, b) : _mm256_min_pd(a, b));
    }
    double_pass_loop(late + i, s, n - i, out + i);
  }
#endif
  static void double_pass(const double* late, std::size_t s, std::size_t n, double* out) {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) return double_pass_wide(late, s, n, out);
#endif
    double_pass_loop(late, s, n, out);
  }

  // Settles the windows ending in the chunk from first_ by doubling: `from` holds, for the bars from p − 1
  // before the chunk on, the extreme of the w bars ending at each, first the bars themselves, then tail_ and
  // spare_ in turn. Slots before bar 0 repeat it, which only windows that are never full read.
  void settle_doubling() {
    const std::size_t begin = first_;
    const std::size_t end = next_ < x_.size() ? next_ : x_.size();
    const std::size_t lead = p_ - 1;
    const std::size_t m = end - begin + lead;
    const double* from = nullptr;
    if (begin >= lead) {
      from = x_.data() + (begin - lead);
    } else {
      const std::size_t before = lead - begin;  // slots before bar 0
      std::fill(tail_.data(), tail_.data() + before, x_[0]);
      std::copy(x_.data(), x_.data() + end, tail_.data() + before);
      from = tail_.data();
    }
    if (p_ == 1) std::copy(from, from + m, best_.begin());
    double* to = from == tail_.data() ? spare_.data() : tail_.data();
    for (std::size_t w = 1; w < p_;) {
      const std::size_t s = 2 * w <= p_ ? w : p_ - w;
      w += s;
      // The last pass writes the windows of p, those ending in the chunk, straight into best_.
      if (w == p_) {
        double_pass(from + lead, s, m - lead, best_.data());
      } else {
        double_pass(from + s, s, m - s, to + s);
        from = to;
        to = to == tail_.data() ? spare_.data() : tail_.data();
      }
    }
  }

  // Settles the windows ending in the chunk from first_ by blocks. tail_[p + i − first_] holds the extreme
  // from bar i to the end of its block, for i from one block before the chunk; best_ the extreme from the
  // start of bar i's block to i, then of the window ending at i.
  template <bool kIndex>
  void settle() {
    const std::size_t begin = first_;
    const std::size_t end = next_ < x_.size() ? next_ : x_.size();
    for (std::size_t b = begin; b < end; b += p_) {
      const std::size_t e = p_ < end - b ? b + p_ : end;
      double head = x_[b];
      std::size_t head_at = b;
      for (std::size_t i = b; i < e; ++i) {
        const bool take = !better(head, x_[i]);
        head = take ? x_[i] : head;
        best_[i - begin] = head;
        if constexpr (kIndex) {
          head_at = take ? i : head_at;
          best_at_[i - begin] = head_at;
        }
      }
      double back = x_[e - 1];
      std::size_t back_at = e - 1;
      for (std::size_t i = e; i-- > b;) {
        const bool take = better(x_[i], back);
        back = take ? x_[i] : back;
        tail_[p_ + i - begin] = back;
        if constexpr (kIndex) {
          back_at = take ? i : back_at;
          tail_at_[p_ + i - begin] = back_at;
        }
      }
    }
    // The window ending at t starts at t + 1 − p: tail_ index t + 1 − begin.
    for (std::size_t t = begin > p_ - 1 ? begin : p_ - 1; t < end; ++t) {
      const std::size_t k = t - begin;
      const bool older = better(tail_[k + 1], best_[k]);
      best_[k] = older ? tail_[k + 1] : best_[k];
      if constexpr (kIndex) best_at_[k] = older ? tail_at_[k + 1] : best_at_[k];
    }
    // The chunk's last block, where the next chunk's first windows start.
    if (end - begin == chunk_) {
      std::copy(tail_.end() - static_cast<std::ptrdiff_t>(p_), tail_.end(), tail_.begin());
      if constexpr (kIndex) {
        std::copy(tail_at_.end() - static_cast<std::ptrdiff_t>(p_), tail_at_.end(), tail_at_.begin());
      }
    }
  }

  std::span<const double> x_;
  std::size_t p_;
  std::size_t chunk_;  // bars settled at a time, whole blocks
  std::vector<double> best_;
  std::vector<double> tail_;
  std::vector<std::size_t> best_at_;
  std::vector<std::size_t> tail_at_;
  std::vector<double> spare_;  // the second buffer of the doubling passes
  std::size_t first_ = 0;  // the chunk's first bar
  std::size_t next_ = 0;   // the next chunk's first bar
  std::size_t t_ = 0;      // the newest bar, from first_
  std::size_t run_ = 0;    // finite values in the window so far, at most p
};
using WindowMax = WindowExtreme<true>;
using WindowMin = WindowExtreme<false>;

// Exponential smoothing e += (x − e)·2/(p + 1), as e·(1 − k) + x·k: a multiplication and an addition on
// the chain from one bar's average to the next rather than three steps.
struct EmaRule {
  static double weight(std::size_t p) { return 2.0 / (static_cast<double>(p) + 1.0); }
  static double next(double e, double x, double k, double p) {
    static_cast<void>(p);
    return e * (1.0 - k) + x * k;
  }
};
// Wilder's smoothing e = (e·(p − 1) + x)/p, taken as the same blend with k = 1/p: a division on every
// bar's dependency chain would take twice as long.
struct WilderRule {
  static double weight(std::size_t p) { return 1.0 / static_cast<double>(p); }
  static double next(double e, double x, double k, double p) { return EmaRule::next(e, x, k, p); }
};

// A recursive average seeded with the mean of its first p finite inputs, fed one value at a time. With K
// above 1, K averages of one period fed together (a series' moves and their sizes, say, which are finite on
// the same bars): one test and one count serve them all, and a set holding a non-finite value restarts all.
template <class Rule, std::size_t K = 1>
class Seeded {
 public:
  explicit Seeded(std::size_t p) : p_(p), pd_(static_cast<double>(p)), k_(Rule::weight(p)) {}

  // Feeds x; true when value() holds an average (from the p-th finite input on). A non-finite x
  // restarts the seed.
  bool step(double x)
    requires(K == 1)
  {
    return step({x}, std::make_index_sequence<K>{});
  }
  bool step(const std::array<double, K>& x) { return step(x, std::make_index_sequence<K>{}); }
  double value(std::size_t k = 0) const { return value_[k]; }

  // For a caller that runs a stretch of finite values through Rule::next itself, with no test or count a
  // value, once the seed is done: the weight to blend with, and resume(e…) to hand back the last averages.
  bool seeded() const { return count_ >= p_; }
  double weight() const { return k_; }
  template <class... E>
    requires(sizeof...(E) == K)
  void resume(E... e) {
    value_ = {e...};
  }

 private:
  // Each value's work written out by a fold rather than a loop over k, so that the averages stay in
  // registers from one bar to the next.
  template <std::size_t... k>
  bool step(const std::array<double, K>& x, std::index_sequence<k...>) {
    if (!(finite(x[k]) && ...)) {
      count_ = 0;
      value_.fill(0.0);
      return false;
    }
    if (count_ < p_) {
      ((value_[k] += x[k]), ...);
      if (++count_ < p_) return false;
      ((value_[k] /= pd_), ...);
      return true;
    }
    ((value_[k] = Rule::next(value_[k], x[k], k_, pd_)), ...);
    return true;
  }

  std::size_t p_;
  double pd_;
  double k_;
  std::size_t count_ = 0;
  std::array<double, K> value_{};  // the seeds' running sums until count_ reaches p_
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

// Relative strength of a series' changes, fed one change at a time: Wilder-smoothed gains G and losses L
// seeded with the mean of the first p changes, then 100·G/(G + L) (0 when G + L = 0, unless the caller
// says otherwise). A non-finite change restarts the seed. The smoothing multiplies by 1 − 1/p rather than
// dividing by p, for the same reason as WilderRule.
class Rsi {
 public:
  explicit Rsi(std::size_t p) : p_(p), pd_(static_cast<double>(p)), keep_(1.0 - 1.0 / pd_), k_(1.0 / pd_) {}

  bool step(double d) {
    if (!finite(d)) {
      gain_ = loss_ = 0.0;
      count_ = 0;
      return false;
    }
    // Both as max(·, 0), which compilers emit as a max instruction: which way a close moves is a coin toss,
    // and a branch on it would mispredict every other bar.
    const double down = -d;
    const double g = d > 0.0 ? d : 0.0;
    const double l = down > 0.0 ? down : 0.0;
    if (count_ < p_) {
      gain_ += g;
      loss_ += l;
      if (++count_ < p_) return false;
      gain_ /= pd_;
      loss_ /= pd_;
    } else {
      gain_ = gain_ * keep_ + g * k_;
      loss_ = loss_ * keep_ + l * k_;
    }
    return true;
  }
  // `still`: the value where the window moved neither way (G + L = 0).
  double value(double still = 0.0) const {
    const double total = gain_ + loss_;
    return total == 0.0 ? still : 100.0 * gain_ / total;
  }

 private:
  std::size_t p_;
  double pd_;
  double keep_;
  double k_;
  double gain_ = 0.0;
  double loss_ = 0.0;
  std::size_t count_ = 0;  // changes taken into the seed since the last start
};

// Sum of the p values from w, afresh: four partial sums, since a single one would be a chain of p
// additions.
inline double fresh_sum(const double* w, std::size_t p) {
  double sum[4] = {};
  std::size_t i = 0;
  for (; i + 4 <= p; i += 4) {
    for (std::size_t k = 0; k < 4; ++k) sum[k] += w[i + k];
  }
  for (; i < p; ++i) sum[0] += w[i];
  return (sum[0] + sum[1]) + (sum[2] + sum[3]);
}

// Mean of the last p values of x by a running sum (step(t) for t = 0, 1, 2, … in turn). Each slide leaves
// its rounding in the sum, and over a long series those would add up: the window is summed afresh every p
// slides, at O(1) a bar. A window's first sum, after bar 0 or a non-finite value, runs oldest first.
class WindowMean {
 public:
  WindowMean(std::span<const double> x, std::size_t p) : x_(x), p_(p), pd_(static_cast<double>(p)) {}

  // Takes x[t] in; true when the p values ending at t are all finite (mean() is then theirs).
  bool step(std::size_t t) {
    const double v = x_[t];
    if (!finite(v)) {
      sum_ = 0.0;
      run_ = slid_ = 0;
      return false;
    }
    if (run_ < p_) {
      sum_ += v;
      return ++run_ == p_;
    }
    if (++slid_ == p_) {
      slid_ = 0;
      sum_ = fresh_sum(x_.data() + (t + 1 - p_), p_);
    } else {
      sum_ += v - x_[t - p_];
    }
    return true;
  }
  double mean() const { return sum_ / pd_; }

 private:
  std::span<const double> x_;
  std::size_t p_;
  double pd_;
  double sum_ = 0.0;
  std::size_t run_ = 0;   // finite values in the window so far, at most p
  std::size_t slid_ = 0;  // slides since the window was last summed afresh
};

// Mean and population variance of the last p values fed to it (step(v) for t = 0, 1, 2, … in turn), by a
// sliding Welford update over a ring of p, so that values computed on the way need no whole series. A window
// of p equal values has variance exactly 0: after moving prices, the running update alone would keep a
// rounding residue there.
class FedVariance {
 public:
  explicit FedVariance(std::size_t p)
      : ring_(new double[p]()), p_(p), pd_(static_cast<double>(p)), per_p_(1.0 / pd_),
        per_p_less_1_(p > 1 ? 1.0 / (pd_ - 1.0) : kNaN) {}

  bool step(double v) {
    if (!finite(v)) {
      run_ = slid_ = 0;
      mean_ = m2_ = 0.0;
      equal_ = 0;
      return false;
    }
    equal_ = run_ > 0 && v == prev_ ? equal_ + 1 : 1;
    prev_ = v;
    const double old = ring_[at_];
    ring_[at_] = v;
    at_ = at_ + 1 == p_ ? 0 : at_ + 1;
    if (run_ < p_) {
      ++run_;
      const double d = v - mean_;
      mean_ += d / static_cast<double>(run_);
      m2_ += d * (v - mean_);
    } else if (++slid_ == p_) {
      // Each sliding step carries the rounding of the steps before it, at the scale of the values'
      // level: where they move little against it, that drift outgrows the window's own spread. Summing
      // the window afresh once every p steps bounds it, at O(1) a bar.
      slid_ = 0;
      const Moments fresh = resum(ring_.get(), p_);
      mean_ = fresh.mean;
      m2_ = fresh.m2;
    } else {
      // A product by 1/p, not a division: the mean is on the chain from one bar to the next.
      const double mean = mean_ + (v - old) * per_p_;
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
  double variance() const { return m2_ * per_p_; }
  double sample_variance() const { return m2_ * per_p_less_1_; }

 private:
  struct Moments {
    double mean;
    double m2;
  };
  // Mean and squared deviations of the p values from w, in two passes. Static and by value: were the
  // object or its members handed to a call, every store into the ring might touch its running values,
  // which would then go through memory from one bar to the next.
  static Moments resum(const double* w, std::size_t p) {
    const double mean = fresh_sum(w, p) / static_cast<double>(p);
    // Four partial sums, as fresh_sum's.
    double m2[4] = {};
    std::size_t i = 0;
    for (; i + 4 <= p; i += 4) {
      for (std::size_t k = 0; k < 4; ++k) m2[k] += (w[i + k] - mean) * (w[i + k] - mean);
    }
    for (; i < p; ++i) m2[0] += (w[i] - mean) * (w[i] - mean);
    return {mean, (m2[0] + m2[1]) + (m2[2] + m2[3])};
  }

  std::unique_ptr<double[]> ring_;
  std::size_t p_;
  double pd_;
  double per_p_;
  double per_p_less_1_;
  std::size_t at_ = 0;  // where the next value goes; once the window is full, where its oldest is
  std::size_t run_ = 0;
  std::size_t slid_ = 0;  // sliding steps since the window was last summed afresh
  double mean_ = 0.0;
  double m2_ = 0.0;
  double prev_ = 0.0;
  std::size_t equal_ = 0;  // trailing values equal to the newest
};

// FedVariance over a series: step(t) takes x[t] in.
class WindowVariance {
 public:
  WindowVariance(std::span<const double> x, std::size_t p) : x_(x), fed_(p) {}

  bool step(std::size_t t) { return fed_.step(x_[t]); }
  double mean() const { return fed_.mean(); }
  double m2() const { return fed_.m2(); }
  double variance() const { return fed_.variance(); }
  double sample_variance() const { return fed_.sample_variance(); }

 private:
  std::span<const double> x_;
  FedVariance fed_;
};

// Least-squares line through the last p values against x = 0 … p − 1 (oldest first), by sliding sums of
// y and x·y.
class WindowLine {
 public:
  WindowLine(std::span<const double> y, std::size_t p)
      : y_(y), p_(p), pd_(static_cast<double>(p)), sum_x_(pd_ * (pd_ - 1.0) / 2.0),
        sum_xx_(pd_ * (pd_ - 1.0) * (2.0 * pd_ - 1.0) / 6.0),
        last_weight_((pd_ - 1.0 - sum_x_ / pd_) / (pd_ * sum_xx_ - sum_x_ * sum_x_)) {}

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
  // The line's value at the newest bar, x = p − 1: intercept + slope·(p − 1) gathered as
  // Σy/p + (p·Σxy − Σx·Σy)·w, with w taken once: a study that draws it on every bar would otherwise
  // wait on a second division a bar.
  double last() const { return sum_y_ / pd_ + (pd_ * sum_xy_ - sum_x_ * sum_y_) * last_weight_; }

 private:
  std::span<const double> y_;
  std::size_t p_;
  double pd_;
  double sum_x_;
  double sum_xx_;
  double last_weight_;  // (p − 1 − Σx/p) over the slope's denominator
  std::size_t run_ = 0;
  double sum_y_ = 0.0;
  double sum_xy_ = 0.0;
};

}  // namespace qc::studies
