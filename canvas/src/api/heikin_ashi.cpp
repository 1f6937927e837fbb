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
  out.time().assign(bars.time.begin(), bars.time.end());
  out.volume().assign(bars.volume.begin(), bars.volume.end());
  std::vector<double>& open = out.open();
  std::vector<double>& high = out.high();
  std::vector<double>& low = out.low();
  std::vector<double>& close = out.close();
  for (std::vector<double>* c : {&open, &high, &low, &close}) c->assign(bars.size(), kNaN);
  bool first = true;
  double prev_open = 0.0, prev_close = 0.0;
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const double o = bars.open[i], h = bars.high[i], l = bars.low[i], c = bars.close[i];
    if (!(std::isfinite(o) && std::isfinite(h) && std::isfinite(l) && std::isfinite(c))) {
      first = true;
      continue;
    }
    close[i] = mean4(o, h, l, c);
    open[i] = first ? mean2(o, c) : mean2(prev_open, prev_close);
    high[i] = std::max({h, open[i], close[i]});
    low[i] = std::min({l, open[i], close[i]});
    prev_open = open[i];
    prev_close = close[i];
    first = false;
  }
  return out;
}

}  // namespace qc::api
