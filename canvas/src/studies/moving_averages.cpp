// Moving averages over the closes.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

// The largest s with s·s ≤ p, exact where the floating square root would round up.
std::size_t whole_sqrt(std::size_t p) {
  auto s = static_cast<std::size_t>(std::sqrt(static_cast<double>(p)));
  while (s > 0 && s > p / s) --s;
  while (s + 1 <= p / (s + 1)) ++s;
  return s;
}

void copy_closes(const Columns& bars, std::span<double> out) {
  std::copy(bars.close.begin(), bars.close.end(), out.begin());
}

}  // namespace

bool sma(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  WindowMean window(bars.close, args.period());
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) line[t] = window.step(t) ? window.mean() : kNaN;
  return true;
}

bool ema(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  ema_series(bars.close, args.period(), out.line(0), out.resume());
  return true;
}

bool wma(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  wma_series(bars.close, args.period(), out.line(0));
  return true;
}

// The weighted mean over √p bars of twice the one over p/2 bars less the one over p, all three fed bar
// by bar; the last √p differences wait in a ring for the outer mean.
bool hma(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  std::span<double> line = out.line(0);
  if (p == 1) {  // the half period would be empty: the average of one close is the close
    copy_closes(bars, line);
    return true;
  }
  const std::size_t half = p / 2, root = whole_sqrt(p);
  const std::span<const double> c = bars.close;
  WindowWeighted fast(half), slow(p), hull(root);
  std::vector<double> ring(root);
  std::size_t at = 0;
  for (std::size_t t = 0; t < c.size(); ++t) {
    const bool f = fast.step(c[t], c[t >= half ? t - half : 0]);
    const bool s = slow.step(c[t], c[t >= p ? t - p : 0]);
    const double d = f && s ? 2.0 * fast.mean() - slow.mean() : kNaN;
    const double old = ring[at];
    ring[at] = d;
    at = at + 1 == root ? 0 : at + 1;
    line[t] = hull.step(d, old) ? hull.mean() : kNaN;
  }
  return true;
}

// The slow WMA's bars, then as many less one as the Hull WMA averages of its differences.
std::size_t hma_reach(const StudyArgs& args) {
  const std::size_t p = args.period();
  return p == 1 ? 1 : p + whole_sqrt(p) - 1;
}

namespace {

template <std::size_t... I>
std::array<Ema, sizeof...(I)> emas_of(std::size_t p, std::index_sequence<I...>) {
  return {(static_cast<void>(I), Ema(p))...};
}

// Chained EMAs fed bar by bar; a warm-up or non-finite value restarts the EMAs after it, so each
// seeds on the first p defined values of its input.
template <std::size_t kDepth, class Combine>
void chained_emas(std::span<const double> x, std::size_t p, std::span<double> out, Resume* resume,
                  Combine combine) {
  std::array<Ema, kDepth> emas = emas_of(p, std::make_index_sequence<kDepth>());
  const double k = emas[0].weight(), pd = static_cast<double>(p);
  std::array<double, kDepth> e{};
  resumable_ranges(resume, x.size(), emas, [&](std::size_t first, std::size_t n) {
    in_stretches(
        first, n,
        [&](std::size_t begin, std::size_t end) {
          // Every average under way: the chains run without a test, in registers. A non-finite value on the
          // way stays in the first average to the stretch's end.
          if (!std::ranges::all_of(emas, &Ema::seeded)) return false;
          std::array<double, kDepth> run{};  // its own: the bar-by-bar values are kept where a stretch fails
          for (std::size_t i = 0; i < kDepth; ++i) run[i] = emas[i].value();
          for (std::size_t t = begin; t < end; ++t) {
            double v = x[t];
            for (std::size_t i = 0; i < kDepth; ++i) v = run[i] = EmaRule::next(run[i], v, k, pd);
            out[t] = combine(run);
          }
          if (!std::ranges::all_of(run, finite)) return false;
          for (std::size_t i = 0; i < kDepth; ++i) emas[i].resume(run[i]);
          return true;
        },
        [&](std::size_t t) {
          double v = x[t];
          for (std::size_t i = 0; i < kDepth; ++i) v = e[i] = emas[i].step(v) ? emas[i].value() : kNaN;
          out[t] = finite(v) ? combine(e) : kNaN;
        });
  });
}

}  // namespace

bool dema(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  chained_emas<2>(bars.close, args.period(), out.line(0), out.resume(),
                  [](const std::array<double, 2>& e) { return 2.0 * e[0] - e[1]; });
  return true;
}

bool tema(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  chained_emas<3>(bars.close, args.period(), out.line(0), out.resume(),
                  [](const std::array<double, 3>& e) { return 3.0 * e[0] - 3.0 * e[1] + e[2]; });
  return true;
}

// Kaufman's average: the smoothing moves between 2/31 and 2/3 with the efficiency ratio, the net change
// over p bars against the path travelled. It starts from the close before its first value.
bool kama(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  std::span<double> line = out.line(0);
  if (p == 1) {  // the published average gives the closes for one bar
    copy_closes(bars, line);
    return true;
  }
  constexpr double kFast = 2.0 / 3.0, kSlow = 2.0 / 31.0;
  const std::span<const double> c = bars.close;
  bool started = false;
  double k = 0.0;
  // The path: Σ |ΔC| over the last p changes, exactly 0 when none moved.
  slide_sums<1>(
      c.size(), {p}, [&](std::size_t t) { return std::array{t > 0 ? std::abs(c[t] - c[t - 1]) : kNaN}; },
      [&](std::size_t t, bool full, const std::array<double, 1>& path) {
        if (!full) {
          started = false;
          line[t] = kNaN;
          return;
        }
        if (!started) k = c[t - 1];  // the close before the first value, not drawn
        started = true;
        const double net = std::abs(c[t] - c[t - p]);
        const double er = path[0] == 0.0 ? 1.0 : net / path[0];
        const double sc = (er * (kFast - kSlow) + kSlow) * (er * (kFast - kSlow) + kSlow);
        k += sc * (c[t] - k);
        line[t] = k;
      });
  return true;
}

// The mean over `second` bars of the means over `first` bars, taken as the sum of the inner sums over
// first·second in one pass: each inner sum waits in the outer window's ring until it drops out.
bool trima(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::size_t first = p % 2 == 1 ? (p + 1) / 2 : p / 2;
  const std::size_t second = p % 2 == 1 ? first : p / 2 + 1;
  const double scale = 1.0 / (static_cast<double>(first) * static_cast<double>(second));
  std::span<double> line = out.line(0);
  WindowSum inner(bars.close, first);
  slide_block_sums<1>(
      line.size(), {second},
      [&](std::size_t begin, std::size_t m, const std::array<double*, 1>& sums) { inner.sums(begin, m, sums[0]); },
      [&](std::size_t t, bool full, const std::array<double, 1>& outer) { line[t] = full ? outer[0] * scale : kNaN; });
  return true;
}

// An EMA of the closes pushed ahead by their change over half the period, to take out the lag.
bool zlema(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::size_t lag = (p - 1) / 2;
  const std::span<const double> c = bars.close;
  std::span<double> line = out.line(0);
  Ema ema(p);
  resumable(out.resume(), c.size(), ema, [&](std::size_t t) {
    // No close `lag` bars back before bar `lag`.
    line[t] = t >= lag && ema.step(2.0 * c[t] - c[t - lag]) ? ema.value() : kNaN;
  });
  return true;
}

// McGinley's dynamic: a mean that speeds up when prices run away from it, seeded with the first
// window's mean. Its ratio to the close is only meaningful for positive prices, so a close or a value
// at or below 0 ends the line for good. The step md += (C − md)/(p·(C/md)⁴) is taken as
// md + (C − md)/p·(md·(1/C))⁴: the divisions then wait on the close only, not on the chain from one
// value to the next, and the ratio keeps the powers in range whatever the prices' scale.
bool mcginley(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const double inv_p = 1.0 / static_cast<double>(p);
  const std::span<const double> c = bars.close;
  std::span<double> line = out.line(0);
  WindowSum seed(c, p);  // stepped only while the line has not (re)started
  bool started = false;
  double md = 0.0;
  std::size_t t = 0;
  for (; t < c.size(); ++t) {
    const double v = c[t];
    if (v <= 0.0) break;  // the line ends for good
    if (!started || !finite(v)) {
      const bool window = seed.step(t);
      started = window && finite(v);
      if (!started) {
        line[t] = kNaN;
        continue;
      }
      md = seed.mean();
    } else {
      const double u = md * (1.0 / v);
      const double u2 = u * u;
      md += (v - md) * inv_p * (u2 * u2);
    }
    if (!(md > 0.0)) break;
    line[t] = md;
  }
  std::fill(line.begin() + static_cast<std::ptrdiff_t>(t), line.end(), kNaN);  // past its end, if any
  return true;
}

bool linear_regression(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  WindowLine fit(bars.close, args.period());
  std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) line[t] = fit.step(t) ? fit.last() : kNaN;
  return true;
}

}  // namespace qc::studies
