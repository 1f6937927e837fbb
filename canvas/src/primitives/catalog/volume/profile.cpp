// Volume profile measurement (bands, proportional sharing, point of control, value area) and drawing.
#include "primitives/catalog/volume/profile.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "primitives/catalog/common/drawing.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

std::optional<BarSpan> held_bars(std::size_t count, double from, double to) noexcept {
  if (count == 0 || std::isnan(from) || std::isnan(to)) return std::nullopt;
  const double lo = std::round(std::min(from, to));
  const double hi = std::round(std::max(from, to));
  const auto last_held = static_cast<double>(count - 1);
  if (hi < 0.0 || lo > last_held) return std::nullopt;
  return BarSpan{util::saturating_cast<std::size_t>(std::max(lo, 0.0)),
                 util::saturating_cast<std::size_t>(std::min(hi, last_held))};
}

double VolumeProfile::band_bottom(std::size_t i) const noexcept {
  return low + (high - low) * static_cast<double>(i) / static_cast<double>(volume.size());
}

double VolumeProfile::band_top(std::size_t i) const noexcept {
  return i + 1 >= volume.size() ? high : band_bottom(i + 1);
}

namespace {

// The band a price falls in: [bottom, top) but the top band's top included.
std::size_t band_of(const VolumeProfile& p, double price) noexcept {
  const double range = p.high - p.low;
  if (!(range > 0.0)) return 0;
  const double at = std::floor((price - p.low) / range * static_cast<double>(p.volume.size()));
  return std::min(util::saturating_cast<std::size_t>(std::max(at, 0.0)), p.volume.size() - 1);
}

// Where bars' ranges begin or end crossing whole bands: their volume per price unit and their count step up
// or down there. The count tells where none is left, so that the rounding left by the steps is not read as
// volume in a band no bar crosses.
struct CrossingStep {
  double per_price = 0.0;
  std::int64_t bars = 0;
};

// Shares a bar's volume among the bands its range crosses: the part of the range in its lowest and highest
// band goes to them at once, and the bands between are noted as steps, so that a tall bar over many bands
// costs no more than a short one.
void share_volume(VolumeProfile& p, std::vector<CrossingStep>& steps, double low, double high, double volume) {
  const std::size_t bottom = band_of(p, low);
  const std::size_t top = band_of(p, high);
  if (bottom == top) {
    p.volume[bottom] += volume;
    return;
  }
  const double per_price = volume / (high - low);
  p.volume[bottom] += std::max(p.band_top(bottom) - low, 0.0) * per_price;
  p.volume[top] += std::max(high - p.band_bottom(top), 0.0) * per_price;
  if (top - bottom < 2) return;
  steps[bottom + 1].per_price += per_price;
  ++steps[bottom + 1].bars;
  steps[top].per_price -= per_price;
  --steps[top].bars;
}

}  // namespace

std::optional<VolumeProfile> measure_volume_profile(const model::BarsView& bars, BarSpan span, std::size_t rows) {
  if (rows == 0 || span.last >= bars.size()) return std::nullopt;
  VolumeProfile p;
  p.low = std::numeric_limits<double>::infinity();
  p.high = -p.low;
  for (std::size_t k = span.first; k <= span.last; ++k) {
    if (!std::isfinite(bars.low[k]) || !std::isfinite(bars.high[k])) continue;
    p.low = std::min({p.low, bars.low[k], bars.high[k]});
    p.high = std::max({p.high, bars.low[k], bars.high[k]});
  }
  if (!(p.low <= p.high)) return std::nullopt;
  p.volume.assign(rows, 0.0);
  std::vector<CrossingStep> steps(rows);
  double total = 0.0;
  for (std::size_t k = span.first; k <= span.last; ++k) {
    const double v = bars.volume[k];
    if (!std::isfinite(bars.low[k]) || !std::isfinite(bars.high[k]) || !std::isfinite(v) || !(v > 0.0)) continue;
    share_volume(p, steps, std::min(bars.low[k], bars.high[k]), std::max(bars.low[k], bars.high[k]), v);
    total += v;
  }
  if (!(total > 0.0)) return std::nullopt;
  CrossingStep crossing;
  for (std::size_t i = 0; i < rows; ++i) {
    crossing.per_price += steps[i].per_price;
    crossing.bars += steps[i].bars;
    if (crossing.bars == 0) crossing.per_price = 0.0;
    p.volume[i] += crossing.per_price * (p.band_top(i) - p.band_bottom(i));
  }

  for (std::size_t i = 1; i < rows; ++i) {
    if (p.volume[i] > p.volume[p.poc]) p.poc = i;
  }
  // Whole numbers of volume compare exactly against 70 % this way.
  double held = p.volume[p.poc];
  p.area_low = p.area_high = p.poc;
  while (10.0 * held < 7.0 * total) {
    const bool up = p.area_high + 1 < rows;
    const bool down = p.area_low > 0;
    if (!up && !down) break;
    if (up && (!down || p.volume[p.area_high + 1] >= p.volume[p.area_low - 1])) {
      held += p.volume[++p.area_high];
    } else {
      held += p.volume[--p.area_low];
    }
  }
  return p;
}

void draw_volume_profile(RenderContext& ctx, const PrimitiveData& data, const VolumeProfile& profile,
                         const ProfilePlacement& at) {
  const double r = ctx.dpr();
  const PixelSnap s{r};
  const double most = profile.volume[profile.poc];
  const double room = std::max(ctx.chart_width() - at.x, 0.0);
  ctx.set_fill_color(data.color.stroke);
  ctx.set_global_alpha(0.5);
  for (std::size_t i = 0; i < profile.volume.size(); ++i) {
    const double length = std::min(profile.volume[i] / most * at.longest, room);
    if (!(length > 0.0)) continue;
    const double y1 = ctx.price_to_y(profile.band_top(i));
    const double y2 = ctx.price_to_y(profile.band_bottom(i));
    ctx.begin_path();
    ctx.rect(at.x, util::nan_min(y1, y2), length, std::abs(y2 - y1));
    ctx.fill();
  }
  ctx.set_global_alpha(1.0);

  if (at.show_poc) {
    const double y = s(ctx.price_to_y((profile.band_bottom(profile.poc) + profile.band_top(profile.poc)) * 0.5));
    ctx.set_stroke_color("#FFEB3B");
    ctx.set_stroke_width(2.0 * r);
    stroke_segment(ctx, s(at.line_left), y, s(at.line_right), y);
  }
  if (at.show_value_area) {
    const std::array<double, 2> dash = {5.0 * r, 3.0 * r};
    ctx.set_stroke_color(data.color.stroke);
    ctx.set_global_alpha(0.3);
    ctx.set_stroke_width(r);
    ctx.set_line_dash(dash);
    for (const double price : {profile.band_top(profile.area_high), profile.band_bottom(profile.area_low)}) {
      const double y = s(ctx.price_to_y(price));
      stroke_segment(ctx, s(at.line_left), y, s(at.line_right), y);
    }
    ctx.set_global_alpha(1.0);
    ctx.set_line_dash({});
  }
}

}  // namespace qc::primitives::catalog
