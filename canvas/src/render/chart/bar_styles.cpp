// Hollow candles, columns and high-low bars: one mark per bar, or per group of bars sharing a device column,
// snapped to the device-pixel grid candles use.
#include "render/chart/bar_styles.hpp"

#include <cmath>
#include <optional>

#include "render/chart/bar_marks.hpp"

namespace qc::render {
namespace {

using namespace bar_marks;

// Where a mark stands: its centre and its body's snapped edges.
struct Slot {
  double centre, left, right;
};

// Calls mark(m, slot, a, b) for each bar of `bars` that `priced` keeps, and for each group of bars sharing a
// device column with its aggregate of the bars `priced` keeps, at the slot a candle body takes (a group's:
// its column). Groups where `priced` keeps no bar draw nothing.
template <class Priced, class Mark>
void for_each_mark(model::BarsView bars, const DeviceColumns& columns, double spacing, const DeviceGrid& grid,
                   double candle_width, Priced priced, Mark mark) {
  const double body_width = grid.body_width(candle_width);
  for_each_group(columns, 0, bars.size(), [&](std::size_t a, std::size_t b) {
    if (b - a == 1) {
      const model::Bar bar = bars[a];
      if (!priced(bar)) return;
      const double xc = coords::bar_x(a, spacing);
      const double left = xc - body_width / 2;
      mark(Ohlc{bar.open, bar.high, bar.low, bar.close}, Slot{xc, grid.snap(left), grid.snap(left + body_width)},
           a, b);
    } else if (const std::optional<Ohlc> m = aggregate(bars, a, b, priced)) {
      const double column = columns.column(a);
      mark(*m, Slot{columns.centre(column), columns.left(column), columns.right(column)}, a, b);
    }
  });
}

// The up or down colour of each mark in turn, by its close against the last finite close before it.
class Trend {
 public:
  Trend(const TrendColors& colors, model::BarsView bars)
      : up_(parse_or_black(colors.up)), down_(parse_or_black(colors.down)), before_(colors.close_before),
        bars_(bars) {}

  // The colour of the mark m of bars [a, b); marks are asked for in bar order. The bars no mark stands for
  // (a price missing) still pass on their closes.
  Color of(const Ohlc& m, std::size_t a, std::size_t b) {
    pass(a);
    const bool up = std::isnan(before_) ? m.close >= m.open : m.close >= before_;
    pass(b);
    return up ? up_ : down_;
  }

 private:
  void pass(std::size_t end) {
    for (; next_ < end; ++next_) {
      if (std::isfinite(bars_.close[next_])) before_ = bars_.close[next_];
    }
  }

  Color up_, down_;
  double before_;
  model::BarsView bars_;
  std::size_t next_ = 0;  // the first bar not yet passed
};

bool finite_prices(const model::Bar& b) {
  return std::isfinite(b.open) && std::isfinite(b.high) && std::isfinite(b.low) && std::isfinite(b.close);
}

// A filled rectangle from x0 to x1 between two heights in either order, at least one device pixel each way.
Rect upright(double x0, double x1, double y_a, double y_b, const DeviceGrid& grid) {
  const double top = grid.snap(min_of(y_a, y_b)), bottom = grid.snap(max_of(y_a, y_b));
  return {x0, top, max_of(x1 - x0, grid.pixel), max_of(bottom - top, grid.pixel)};
}

}  // namespace

double finite_close_before(model::BarsView bars, std::size_t end) {
  for (std::size_t k = end; k-- > 0;) {
    if (std::isfinite(bars.close[k])) return bars.close[k];
  }
  return std::nan("");
}

void render_hollow_candles(SvgBackend& backend, model::BarsView bars, const TrendColors& colors, double spacing,
                           const coords::PriceMapping& price, double candle_width, double dpr,
                           const DeviceColumns& columns) {
  const DeviceGrid grid{dpr};
  Trend trend(colors, bars);
  for_each_mark(bars, columns, spacing, grid, candle_width, finite_prices,
                [&](const Ohlc& m, const Slot& at, std::size_t a, std::size_t b) {
                  const Color color = trend.of(m, a, b);
                  const double y_open = price.y(m.open), y_close = price.y(m.close);
                  const double top = min_of(y_open, y_close);
                  const double bottom = top + max_of(max_of(y_open, y_close) - top, grid.pixel);
                  const Rect body = upright(at.left, at.right, top, bottom, grid);
                  const StrokeStyle wick = StrokeStyle::solid(grid.stroke_width, color);
                  const double x = grid.hairline(at.centre);
                  const double high = grid.hairline(price.y(m.high)), low = grid.hairline(price.y(m.low));
                  if (high < body.y) backend.line(x, high, x, body.y, wick);
                  if (low > body.y + body.height) backend.line(x, body.y + body.height, x, low, wick);
                  // A body too small to show a hole is all edge: filled, as its 1 px stroke would cover it.
                  if (m.close >= m.open && body.width > 1.0 && body.height > 1.0) {
                    backend.stroke_rect({body.x + 0.5, body.y + 0.5, body.width - 1.0, body.height - 1.0},
                                        StrokeStyle::solid(1.0, color));
                  } else {
                    backend.fill_rect(body, color);
                  }
                });
}

void render_columns(SvgBackend& backend, model::BarsView bars, const TrendColors& colors, double spacing,
                    const coords::PriceMapping& price, double candle_width, double dpr,
                    const DeviceColumns& columns) {
  const DeviceGrid grid{dpr};
  Trend trend(colors, bars);
  for_each_mark(bars, columns, spacing, grid, candle_width,
                [](const model::Bar& b) { return std::isfinite(b.close); },
                [&](const Ohlc& m, const Slot& at, std::size_t a, std::size_t b) {
                  const Color color = trend.of(m, a, b);
                  backend.fill_rect(upright(at.left, at.right, price.y(m.close), price.bottom, grid), color);
                });
}

void render_high_low(SvgBackend& backend, model::BarsView bars, std::string_view up_color,
                     std::string_view down_color, double spacing, const coords::PriceMapping& price,
                     double candle_width, double dpr, const DeviceColumns& columns) {
  const DeviceGrid grid{dpr};
  const Color up = parse_or_black(up_color), down = parse_or_black(down_color);
  for_each_mark(bars, columns, spacing, grid, candle_width, finite_prices,
                [&](const Ohlc& m, const Slot& at, std::size_t, std::size_t) {
                  backend.fill_rect(upright(at.left, at.right, price.y(m.high), price.y(m.low), grid),
                                    m.close >= m.open ? up : down);
                });
}

}  // namespace qc::render
