// Box building: one walk over the closes per kind, fed to a sink that either counts the boxes or keeps them,
// so that the count a caller checks first and the boxes built after cannot disagree.
#include "model/series/boxes.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <utility>

#include "studies/window.hpp"
#include "util/safe_math.hpp"

namespace qc::model {

namespace {

// Grid indices stay within the integers a double holds exactly, so that k·box is one rounding away from the
// true grid price for every k, and index arithmetic cannot overflow. A box so small against the prices that
// their indices leave that range gives a grid the doubles cannot tell apart: such a grid is refused whole.
constexpr std::int64_t kMaxIndex = std::int64_t{1} << 53;

// Prices base + k·box for whole k, each a single product and sum rather than a running sum of steps, so that
// the millionth box sits where the first one says.
struct Grid {
  double base;
  double box;
  mutable bool overflow = false;  // an index left [-kMaxIndex, kMaxIndex]

  double at(std::int64_t k) const { return base + static_cast<double>(k) * box; }
  // The largest k with at(k) <= v, and the smallest with at(k) >= v. The quotient is rounded; the few steps
  // after it settle on the prices the boxes are written with.
  std::int64_t floor_index(double v) const {
    std::int64_t k = clamp(std::floor((v - base) / box));
    while (k < kMaxIndex && at(k + 1) <= v) ++k;
    while (k > -kMaxIndex && at(k) > v) --k;
    return k;
  }
  std::int64_t ceil_index(double v) const {
    std::int64_t k = clamp(std::ceil((v - base) / box));
    while (k > -kMaxIndex && at(k - 1) >= v) --k;
    while (k < kMaxIndex && at(k) < v) ++k;
    return k;
  }

 private:
  std::int64_t clamp(double q) const {
    if (!(q > static_cast<double>(-kMaxIndex) && q < static_cast<double>(kMaxIndex))) {
      overflow = true;
      return q > 0 ? kMaxIndex : -kMaxIndex;  // NaN cannot come: prices and box are finite, box > 0
    }
    return static_cast<std::int64_t>(q);
  }
};

std::size_t first_finite(std::span<const double> x, std::size_t from) {
  while (from < x.size() && !std::isfinite(x[from])) ++from;
  return from;
}

std::size_t saturating_add(std::size_t a, std::size_t b) {
  std::size_t r = 0;
  return __builtin_add_overflow(a, b, &r) ? std::numeric_limits<std::size_t>::max() : r;
}

// Renko on a grid based at the first close: up boxes while the close reaches the last box's top + box, down
// boxes while it reaches its bottom − box (before the first box, top = bottom = base). A bar may add many.
template <class Sink>
void walk_renko(std::span<const double> close, double box, Sink& sink) {
  const std::size_t f = first_finite(close, 0);
  if (f == close.size()) return;
  const Grid g{close[f], box};
  std::int64_t lo = 0, hi = 0;  // the last box's bottom and top on the grid
  for (std::size_t i = first_finite(close, f + 1); i < close.size(); i = first_finite(close, i + 1)) {
    const std::int64_t up = g.floor_index(close[i]);
    const std::int64_t down = g.ceil_index(close[i]);
    if (g.overflow) {
      sink.too_fine();
      return;
    }
    if (up > hi) {
      sink.steps(i, g, hi, static_cast<std::uint64_t>(up - hi), true);
      lo = up - 1;
      hi = up;
      continue;
    }
    if (down < lo) {
      sink.steps(i, g, lo, static_cast<std::uint64_t>(lo - down), false);
      lo = down;
      hi = down + 1;
    }
  }
}

// Point and figure on the multiples of the box: X columns rise, O columns fall, each a box that grows while the
// closes add grid prices to it and gives way to the other kind after a move of `reversal` boxes.
template <class Sink>
void walk_point_and_figure(std::span<const double> close, double box, std::uint32_t reversal, Sink& sink) {
  const std::size_t f = first_finite(close, 0);
  if (f == close.size()) return;
  const Grid g{0.0, box};
  enum class Column : std::uint8_t { none, x, o };
  Column column = Column::none;
  std::int64_t lo = g.floor_index(close[f]);  // the column's ends; g0 for both before the first column
  std::int64_t hi = lo;
  if (g.overflow) {
    sink.too_fine();
    return;
  }
  const auto rev = static_cast<std::int64_t>(reversal);
  for (std::size_t i = first_finite(close, f + 1); i < close.size(); i = first_finite(close, i + 1)) {
    const std::int64_t top = g.floor_index(close[i]);      // the highest grid price at or below the close
    const std::int64_t bottom = g.ceil_index(close[i]);    // the lowest at or above it
    if (g.overflow) {
      sink.too_fine();
      return;
    }
    switch (column) {
      case Column::none:
        if (top > hi) {
          lo = hi + 1;
          hi = top;
          column = Column::x;
          sink.box(i, g.at(lo), g.at(hi));
        } else if (bottom < lo) {
          hi = lo - 1;
          lo = bottom;
          column = Column::o;
          sink.box(i, g.at(hi), g.at(lo));
        }
        break;
      case Column::x:
        if (top > hi) {
          hi = top;
          sink.amend(i, g.at(lo), g.at(hi));
        } else if (bottom <= hi - rev) {
          hi -= 1;
          lo = bottom;
          column = Column::o;
          sink.box(i, g.at(hi), g.at(lo));
        }
        break;
      case Column::o:
        if (bottom < lo) {
          lo = bottom;
          sink.amend(i, g.at(hi), g.at(lo));
        } else if (top >= lo + rev) {
          lo += 1;
          hi = top;
          column = Column::x;
          sink.box(i, g.at(lo), g.at(hi));
        }
        break;
    }
  }
}

// Highest high and lowest low of the last `lines` lines, by monotonic queues: O(1) a line for any count.
class LastLines {
 public:
  explicit LastLines(std::size_t lines) : lines_(lines) {}

  void push(double high, double low) {
    while (!highs_.empty() && highs_.back().second <= high) highs_.pop_back();
    while (!lows_.empty() && lows_.back().second >= low) lows_.pop_back();
    highs_.emplace_back(added_, high);
    lows_.emplace_back(added_, low);
    ++added_;
    drop_old(highs_);
    drop_old(lows_);
  }
  double high() const { return highs_.front().second; }
  double low() const { return lows_.front().second; }

 private:
  using Queue = std::deque<std::pair<std::size_t, double>>;
  void drop_old(Queue& q) const {
    while (added_ - q.front().first > lines_) q.pop_front();
  }

  std::size_t lines_;
  std::size_t added_ = 0;
  Queue highs_, lows_;
};

// Line break: the first line from the first close to the first other close; then a line up when a close tops
// the last `lines` lines, or down when it undercuts them, from the previous line's high or low.
template <class Sink>
void walk_line_break(std::span<const double> close, std::uint32_t lines, Sink& sink) {
  const std::size_t f = first_finite(close, 0);
  if (f == close.size()) return;
  LastLines last(lines);
  double prev_high = 0, prev_low = 0;
  bool started = false;
  for (std::size_t i = first_finite(close, f + 1); i < close.size(); i = first_finite(close, i + 1)) {
    const double c = close[i];
    double open = 0;
    if (!started) {
      if (c == close[f]) continue;
      open = close[f];
      started = true;
    } else if (c > last.high()) {
      open = prev_high;
    } else if (c < last.low()) {
      open = prev_low;
    } else {
      continue;
    }
    prev_high = open > c ? open : c;
    prev_low = open < c ? open : c;
    last.push(prev_high, prev_low);
    sink.box(i, open, c);
  }
}

// Kagi: runs from the first close towards the first other one, extended by every close beyond the end and
// turned by a close `reversal` (or that percent of the end) back from it. Every finite bar up to the next
// run's first belongs to the run.
template <class Sink>
void walk_kagi(std::span<const double> close, double reversal, bool percent, Sink& sink) {
  const std::size_t f = first_finite(close, 0);
  if (f == close.size()) return;
  double start = close[f], end = close[f];
  bool started = false, up = false;
  for (std::size_t i = first_finite(close, f + 1); i < close.size(); i = first_finite(close, i + 1)) {
    const double c = close[i];
    if (!started) {
      if (c == start) continue;
      started = true;
      up = c > start;
      end = c;
      sink.box(i, start, end);
      continue;
    }
    const double turn = percent ? std::fabs(end) * reversal / 100.0 : reversal;
    if (up ? c > end : c < end) {
      end = c;
    } else if (c != end && (up ? end - c : c - end) >= turn) {
      start = end;
      end = c;
      up = !up;
      sink.box(i, start, end);
      continue;
    }
    sink.amend(i, start, end);
  }
}

template <class Sink>
void walk(BarsView bars, const BoxSettings& s, Sink& sink) {
  switch (s.kind) {
    case BoxKind::renko:
      walk_renko(bars.close, s.size, sink);
      return;
    case BoxKind::point_and_figure:
      walk_point_and_figure(bars.close, s.size, s.count, sink);
      return;
    case BoxKind::line_break:
      walk_line_break(bars.close, s.count, sink);
      return;
    case BoxKind::kagi:
      walk_kagi(bars.close, s.size, s.percent, sink);
      return;
  }
}

struct CountSink {
  std::size_t n = 0;
  void box(std::size_t, double, double) { n = saturating_add(n, 1); }
  void amend(std::size_t, double, double) {}
  void steps(std::size_t, const Grid&, std::int64_t, std::uint64_t k, bool) {
    n = saturating_add(n, static_cast<std::size_t>(k));
  }
  // More boxes than any limit: the grid cannot be drawn.
  void too_fine() { n = std::numeric_limits<std::size_t>::max(); }
};

// Keeps each box's prices and last bar; times and volumes are filled once all are known.
struct BuildSink {
  Boxes& out;

  void box(std::size_t bar, double open, double close) {
    out.bars.push_back({0, open, open > close ? open : close, open < close ? open : close, close, 0.0});
    out.last_bar.push_back(bar);
  }
  void amend(std::size_t bar, double open, double close) {
    out.bars.open().back() = open;
    out.bars.high().back() = open > close ? open : close;
    out.bars.low().back() = open < close ? open : close;
    out.bars.close().back() = close;
    out.last_bar.back() = bar;
  }
  void too_fine() { out = Boxes{}; }
  // k boxes from grid line `from`, up or down.
  void steps(std::size_t bar, const Grid& g, std::int64_t from, std::uint64_t k, bool up) {
    const std::int64_t dir = up ? 1 : -1;
    for (std::uint64_t j = 0; j < k; ++j) {
      const auto a = from + dir * static_cast<std::int64_t>(j);
      box(bar, g.at(a), g.at(a + dir));
    }
  }
};

// Each box's time is its last bar's; a bar completing k boxes gives each 1/k of the volume of the bars after
// the previous box-completing bar through itself (from bar 0 for the first), a NaN volume counting 0.
void settle_times_and_volumes(BarsView bars, Boxes& boxes) {
  auto& time = boxes.bars.time();
  auto& volume = boxes.bars.volume();
  std::size_t from = 0;  // the first bar not yet given to a box
  for (std::size_t j = 0; j < boxes.last_bar.size();) {
    const std::size_t last = boxes.last_bar[j];
    std::size_t k = j;
    while (k < boxes.last_bar.size() && boxes.last_bar[k] == last) ++k;
    double sum = 0.0;
    for (std::size_t b = from; b <= last; ++b) {
      if (!std::isnan(bars.volume[b])) sum += bars.volume[b];
    }
    const double share = sum / static_cast<double>(k - j);
    for (; j < k; ++j) {
      time[j] = bars.time[last];
      volume[j] = share;
    }
    from = last + 1;
  }
}

// v rounded to `digits` significant decimal digits, as the double nearest that decimal: the scale is applied
// by dividing or multiplying by an exact power of ten, never by a power below one.
double round_significant(double v, int digits) {
  const int e = static_cast<int>(std::floor(std::log10(v)));
  const int shift = digits - 1 - e;
  if (shift >= 0) {
    const double p = std::pow(10.0, shift);
    return std::round(v * p) / p;
  }
  const double p = std::pow(10.0, -shift);
  return std::round(v / p) * p;
}

}  // namespace

bool usable(const BoxSettings& s) {
  const bool size_ok = std::isfinite(s.size) && s.size > 0;
  switch (s.kind) {
    case BoxKind::renko:
      return size_ok;
    case BoxKind::point_and_figure:
      return size_ok && s.count >= 1;
    case BoxKind::line_break:
      return s.count >= 1;
    case BoxKind::kagi:
      return size_ok && (!s.percent || s.size < 100);
  }
  return false;
}

bool below_resolution(BarsView bars, const BoxSettings& s) {
  constexpr double kResolution = 0x1p52;  // grid prices a double tells apart between 0 and a price
  if (s.kind == BoxKind::line_break || !usable(s)) return false;
  if (s.kind == BoxKind::kagi && s.percent) return 100.0 / s.size > kResolution;
  double largest = 0.0;
  for (const double c : bars.close) {
    if (std::isfinite(c)) largest = std::max(largest, std::fabs(c));
  }
  return largest / s.size > kResolution;
}

std::optional<double> atr_box(BarsView bars) {
  constexpr std::size_t kPeriod = 14;
  if (bars.size() < kPeriod + 1) return std::nullopt;
  studies::AverageTrueRange atr(bars.high, bars.low, bars.close, kPeriod);
  bool defined = false;
  for (std::size_t t = 0; t < bars.size(); ++t) defined = atr.step(t);
  if (!defined || !std::isfinite(atr.value()) || atr.value() <= 0) return std::nullopt;
  const double rounded = round_significant(atr.value(), 4);
  if (!std::isfinite(rounded) || rounded <= 0) return std::nullopt;
  return rounded;
}

std::size_t count_boxes(BarsView bars, const BoxSettings& s) {
  if (!usable(s)) return 0;
  CountSink sink;
  walk(bars, s, sink);
  return sink.n;
}

Boxes make_boxes(BarsView bars, const BoxSettings& s) {
  Boxes out;
  if (!usable(s)) return out;
  const std::size_t n = count_boxes(bars, s);
  if (n == std::numeric_limits<std::size_t>::max()) return out;  // a grid too fine to draw
  out.bars.time().reserve(n);
  out.bars.open().reserve(n);
  out.bars.high().reserve(n);
  out.bars.low().reserve(n);
  out.bars.close().reserve(n);
  out.bars.volume().reserve(n);
  out.last_bar.reserve(n);
  BuildSink sink{out};
  walk(bars, s, sink);
  settle_times_and_volumes(bars, out);
  return out;
}

}  // namespace qc::model
