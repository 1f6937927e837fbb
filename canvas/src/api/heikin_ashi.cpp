// Heikin-Ashi bars from the bars, in one pass.
#include "api/heikin_ashi.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qc::api {
namespace {

// Means of finite prices stay finite: when the plain sum overflows, the parts are scaled before adding.
double mean2(double a, double b) {
  const double m = (a + b) / 2;
  return std::isfinite(m) ? m : a / 2 + b / 2;
}

double mean4(double o, double h, double l, double c) {
  const double m = (o + h + l + c) / 4;
  return std::isfinite(m) ? m : o / 4 + h / 4 + l / 4 + c / 4;
}

}  // namespace

model::BarColumns heikin_ashi_bars(model::BarsView bars) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  model::BarColumns out;
  out.reserve(bars.size());
  bool first = true;
  double prev_open = 0.0, prev_close = 0.0;
  for (const model::Bar b : bars) {
    model::Bar ha{b.timestamp, kNaN, kNaN, kNaN, kNaN, b.volume};
    if (std::isfinite(b.open) && std::isfinite(b.high) && std::isfinite(b.low) && std::isfinite(b.close)) {
      ha.close = mean4(b.open, b.high, b.low, b.close);
      ha.open = first ? mean2(b.open, b.close) : mean2(prev_open, prev_close);
      ha.high = std::max({b.high, ha.open, ha.close});
      ha.low = std::min({b.low, ha.open, ha.close});
      prev_open = ha.open;
      prev_close = ha.close;
      first = false;
    } else {
      first = true;
    }
    out.push_back(ha);
  }
  return out;
}

}  // namespace qc::api
