// Point-and-figure glyphs, thinned to one per device row, and kagi lines with their three looks.
#include "render/chart/box_styles.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "render/chart/bar_marks.hpp"
#include "render/engine/path.hpp"
#include "util/safe_math.hpp"

namespace qc::render {
namespace {

using namespace bar_marks;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The grid index of a grid price (a product k·box, so the quotient is within rounding of k), held where a
// double keeps whole numbers exact.
std::int64_t grid_index(double price, double box) {
  constexpr std::int64_t kMost = std::int64_t{1} << 53;
  const auto k = util::saturating_cast<std::int64_t>(std::round(price / box));
  return k > kMost ? kMost : (k < -kMost ? -kMost : k);
}

// Calls glyph(k) for the grid indices lo ≤ k ≤ hi in order, at most one per device row (`row(k)`): each
// index while there are few against the rows, else indices spread evenly, one per row the column spans, so
// that a column of a billion grid prices costs what its pixels do.
template <class Row, class Glyph>
void for_each_glyph(std::int64_t lo, std::int64_t hi, Row row, Glyph glyph) {
  double last_row = kNaN;
  const auto once_per_row = [&](std::int64_t k) {
    const double r = row(k);
    if (r == last_row) return;
    last_row = r;
    glyph(k);
  };
  const double rows = std::fabs(row(hi) - row(lo)) + 1.0;
  const double span = static_cast<double>(hi - lo);
  if (span + 1.0 <= 2.0 * rows + 2.0) {
    for (std::int64_t k = lo; k <= hi; ++k) once_per_row(k);
    return;
  }
  const auto steps = util::saturating_cast<std::uint64_t>(rows);
  for (std::uint64_t t = 0; t <= steps; ++t) {
    const double at = std::round(static_cast<double>(t) * span / static_cast<double>(steps));
    once_per_row(lo + util::saturating_cast<std::int64_t>(at));
  }
}

// The three looks of a kagi line.
enum class Look : std::uint8_t { thin_up, thick_up, thin_down };
constexpr std::size_t kLooks = 3;

// The look of the line run after run: the shoulder and waist it is measured against, and its look now.
class KagiTrail {
 public:
  struct Turn {
    Look before;
    double cross;  // where the look changes on the vertical; NaN when it does not
    Look after;
  };

  Turn pass(double open, double close) {
    Turn t{look_, kNaN, look_};
    if (close > open) {
      if (!std::isnan(shoulder_) && close > shoulder_) t.after = Look::thick_up;
      if (t.after != t.before && open < shoulder_) t.cross = shoulder_;
      shoulder_ = close;
    } else {
      if (!std::isnan(waist_) && close < waist_) t.after = Look::thin_down;
      if (t.after != t.before && open > waist_) t.cross = waist_;
      waist_ = close;
    }
    look_ = t.after;
    return t;
  }

 private:
  Look look_ = Look::thin_up;
  double shoulder_ = kNaN;  // the end of the last up run
  double waist_ = kNaN;     // the end of the last down run
};

// The vertical extents each look takes in one device column (or slot), drawn in the order they came.
class LookSpans {
 public:
  void add(Look look, double y_a, double y_b) {
    const auto i = static_cast<std::size_t>(look);
    if (std::isnan(top_[i])) order_[count_++] = look;
    top_[i] = util::nan_min(top_[i], util::nan_min(y_a, y_b));
    bottom_[i] = util::nan_max(bottom_[i], util::nan_max(y_a, y_b));
  }
  template <class Draw>
  void draw(Draw draw) const {
    for (std::size_t j = 0; j < count_; ++j) {
      const auto i = static_cast<std::size_t>(order_[j]);
      draw(order_[j], top_[i], bottom_[i]);
    }
  }

 private:
  std::array<double, kLooks> top_{kNaN, kNaN, kNaN}, bottom_{kNaN, kNaN, kNaN};
  std::array<Look, kLooks> order_{};
  std::size_t count_ = 0;
};

}  // namespace

void render_point_and_figure(SvgBackend& backend, model::BarsView columns_of_boxes, double box,
                             std::string_view up_color, std::string_view down_color, double spacing,
                             const coords::PriceMapping& price, double candle_width, double dpr,
                             const DeviceColumns& columns, double close_before) {
  if (!(std::isfinite(box) && box > 0)) return;
  // Columns alternate: a rise starts a box above where a fall ended, a fall a box below where a rise did.
  const model::BarsView& boxes = columns_of_boxes;
  const auto rises = [&](std::size_t k) {
    const double open = boxes.open[k], close = boxes.close[k];
    if (close != open) return close > open;
    const double before = k > 0 ? boxes.close[k - 1] : close_before;
    if (!std::isnan(before)) return open > before;
    return !(k + 1 < boxes.size() && boxes.open[k + 1] > close);
  };
  const DeviceGrid grid{dpr};
  const StrokeStyle x_stroke = StrokeStyle::solid(1.0, parse_or_black(up_color));
  const StrokeStyle o_stroke = StrokeStyle::solid(1.0, parse_or_black(down_color));
  const auto y_of = [&](double k) { return price.y(k * box); };
  const auto row = [&](std::int64_t k) { return std::floor(y_of(static_cast<double>(k)) * dpr); };
  for_each_mark(columns_of_boxes, columns, spacing, grid, candle_width, all_finite<model::Bar>,
                [&](const Ohlc& m, const Slot& at, std::size_t a, std::size_t b) {
                  const bool rising = b - a == 1 ? rises(a) : m.close >= m.open;
                  const double width = at.right - at.left;
                  for_each_glyph(grid_index(m.low, box), grid_index(m.high, box), row, [&](std::int64_t k) {
                    // An X and an O fill the same square on the grid price: a box high and a body wide at
                    // most, so that a column reads as glyphs, not as a lattice of crossed boxes.
                    const auto kd = static_cast<double>(k);
                    const double mid = y_of(kd);
                    const double half = min_of(std::fabs(y_of(kd - 0.5) - y_of(kd + 0.5)), width) / 2;
                    if (rising) {
                      const double left = at.centre - half, right = at.centre + half;
                      const std::array<PathCommand, 4> cross{MoveTo{left, mid + half}, LineTo{right, mid - half},
                                                             MoveTo{left, mid - half}, LineTo{right, mid + half}};
                      backend.stroke_path(cross, x_stroke);
                    } else {
                      backend.stroke_circle(at.centre, mid, half, o_stroke);
                    }
                  });
                });
}

void render_kagi(SvgBackend& backend, model::BarsView runs, std::size_t begin, std::size_t end, std::size_t origin,
                 std::string_view up_color, std::string_view down_color, double spacing,
                 const coords::PriceMapping& price, double dpr, const DeviceColumns& columns) {
  const DeviceGrid grid{dpr};
  const Color up = parse_or_black(up_color), down = parse_or_black(down_color);
  const auto stroke_of = [&](Look look) {
    return StrokeStyle::solid(look == Look::thick_up ? 2.0 : 1.0, look == Look::thin_down ? down : up);
  };
  // Lines on whole device pixels, each end reaching half its width past the line it meets, as a square cap.
  const auto crisp = [&](double v, double width) { return grid.snap(v) + width / 2; };
  const auto finite_run = [&](std::size_t k) { return std::isfinite(runs.open[k]) && std::isfinite(runs.close[k]); };

  KagiTrail trail;
  for (std::size_t k = 0; k < begin && k < runs.size(); ++k) {
    if (finite_run(k)) trail.pass(runs.open[k], runs.close[k]);
  }
  struct Join {
    double x, price;
    Look look;
  };
  std::optional<Join> join;  // from the last run drawn to the next
  for_each_group(columns, begin, end < runs.size() ? end : runs.size(), [&](std::size_t a, std::size_t b) {
    const double x = b - a == 1 ? coords::bar_x(a, spacing, origin) : columns.centre(columns.column(a));
    LookSpans spans;
    for (std::size_t k = a; k < b; ++k) {
      if (!finite_run(k)) {
        join.reset();
        continue;
      }
      const double open = runs.open[k], close = runs.close[k];
      if (join && join->x != x) {
        const StrokeStyle s = stroke_of(join->look);
        const double y = crisp(price.y(join->price), s.width);
        const double half = s.width / 2;
        backend.line(crisp(join->x, 1.0) - half, y, crisp(x, 1.0) + half, y, s);
      }
      const KagiTrail::Turn turn = trail.pass(open, close);
      if (std::isnan(turn.cross)) {
        spans.add(turn.after, price.y(open), price.y(close));
      } else {
        spans.add(turn.before, price.y(open), price.y(turn.cross));
        spans.add(turn.after, price.y(turn.cross), price.y(close));
      }
      join = Join{x, close, turn.after};
    }
    spans.draw([&](Look look, double top, double bottom) {
      const StrokeStyle s = stroke_of(look);
      const double xs = crisp(x, s.width), half = s.width / 2;
      backend.line(xs, top - half, xs, bottom + half, s);
    });
  });
}

}  // namespace qc::render
