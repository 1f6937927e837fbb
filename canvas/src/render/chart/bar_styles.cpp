// Hollow candles, columns and high-low bars: one mark per bar, or per group of bars sharing a device column,
// snapped to the device-pixel grid candles use.
#include "render/chart/bar_styles.hpp"

#include <cmath>
#include <optional>

#include "render/chart/bar_marks.hpp"

namespace qc::render {
namespace {

using namespace bar_marks;

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
  for_each_mark(bars, columns, spacing, grid, candle_width, all_finite<model::Bar>,
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
  for_each_mark(bars, columns, spacing, grid, candle_width, all_finite<model::Bar>,
                [&](const Ohlc& m, const Slot& at, std::size_t, std::size_t) {
                  backend.fill_rect(upright(at.left, at.right, price.y(m.high), price.y(m.low), grid),
                                    m.close >= m.open ? up : down);
                });
}

}  // namespace qc::render
