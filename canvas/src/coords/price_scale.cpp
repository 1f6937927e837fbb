// Tick steps, tick values and labels of the price scale.
#include "coords/price_scale.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "coords/log_scale.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/contrast.hpp"
#include "util/fixed.hpp"
#include "util/numbers.hpp"

namespace qc::coords {

AxisColors AxisColors::from(const AxisTheme& theme) {
  return {render::css_or(theme.background, render::Color{0x13, 0x17, 0x22, 255}),
          render::css_or(theme.grid_color, render::Color{0x2a, 0x2e, 0x39, 255}),
          render::css_or(theme.text_color, render::Color{0xb4, 0xb4, 0xb4, 255})};
}

double nice_number(double x) {
  if (x <= 0) return 1.0;
  const double base = std::pow(10.0, std::floor(std::log10(x)));
  if (!(x > base)) return base;  // also NaN
  // Candidates 1, 2, 5, 10, 20, 50, … times base: factors cycling 2, 2.5, 2.
  constexpr double kFactors[] = {2.0, 2.5, 2.0};
  double prev = base, last = base;
  for (int k = 0; k < 11 && last < x; ++k) {
    prev = last;
    last *= kFactors[k % 3];
  }
  return prev >= 0.8 * x ? prev : last;
}

namespace {
// As many decimals as it takes for consecutive ticks to read apart, down to steps of 1e-10.
int price_decimals(double step) {
  if (std::isnan(step)) return 5;
  constexpr double kThresholds[] = {1, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9, 1e-10};
  static_assert(std::size(kThresholds) == util::kMaxFixedDecimals + 1);
  int d = 0;
  while (d < util::kMaxFixedDecimals && !(step >= kThresholds[d])) ++d;
  return d;
}

// The tick step for a scale height pixels high: about one label every 30 px, 4 to 20 of them.
double price_step(double lo, double hi, double height) {
  const double count = std::fmin(std::fmax(height / 30, 4.0), 20.0);  // a NaN height counts 4
  return nice_number((hi - lo) / count);
}

}  // namespace

void append_price(std::string& out, double price, double step) { append_price_fixed(out, price, price_decimals(step)); }

// Ticks reached by repeated addition can land a hair below zero; "-0.00" would be a wrong label.
void append_price_fixed(std::string& out, double price, int decimals) {
  util::append_fixed_signed(out, price, decimals);
}

void append_percent(std::string& out, double change, int decimals) {
  const std::size_t at = out.size();
  util::append_fixed_signed(out, change, decimals);
  if (change > 0 && !util::fixed_reads_zero(out.data() + at, out.data() + out.size())) out.insert(at, 1, '+');
  out += '%';
}

NumberUnit number_unit(double m) {
  static constexpr NumberUnit kUnits[] = {{1e12, 'T'}, {1e9, 'B'}, {1e6, 'M'}, {1e3, 'K'}};
  for (const NumberUnit& unit : kUnits) {
    if (m >= unit.size) return unit;
  }
  return {};
}

void append_in_unit(std::string& out, double v, NumberUnit unit, int decimals) {
  char buf[util::kMaxFixedChars];
  const char* begin = buf;
  const char* end = util::write_fixed(buf, v / unit.size, decimals);
  if (util::fixed_reads_zero(begin, end)) {
    out += '0';
    return;
  }
  out.append(begin, end);
  if (unit.suffix != '\0') out += unit.suffix;
}

std::string format_price(double price, double step) {
  std::string s;
  append_price(s, price, step);
  return s;
}

PriceTicks price_ticks(double lo, double hi, double height) {
  PriceTicks t;
  t.step = price_step(lo, hi, height);
  double tick = std::ceil(lo / t.step) * t.step;
  while (tick < hi && t.count < kMaxPriceTicks) {
    t.values[t.count++] = tick;
    const double next = tick + t.step;
    if (next == tick) break;  // the step is below the prices' resolution
    tick = next;
  }
  return t;
}

namespace {

// The decimals of v written in shortest fixed form ("12.3": one), at most the fixed writer's.
int shortest_decimals(double v) {
  std::string text;
  util::append_shortest_fixed(text, v);
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos) return 0;
  return static_cast<int>(std::min<std::size_t>(text.size() - dot - 1, util::kMaxFixedDecimals));
}

}  // namespace

PriceTicks grid_ticks(double lo, double hi, double height, double box) {
  if (!(std::isfinite(box) && box > 0 && std::isfinite(lo) && std::isfinite(hi) && hi > lo && height > 0)) {
    return price_ticks(lo, hi, height);
  }
  const double per_price = height / (hi - lo);
  // k = m·10^e, m = 1, 2, 5: whole numbers, exact as doubles while the ticks mean anything.
  constexpr std::array<double, 3> kMantissas{1, 2, 5};
  double k = 1, decade = 1;
  for (std::size_t i = 0;; ++i) {
    k = kMantissas[i % 3] * decade;
    if (i % 3 == 2) decade *= 10;
    const double step = k * box;
    if (!std::isfinite(step)) return PriceTicks{};
    if (step * per_price >= kGridTickGap && (hi - lo) / step < static_cast<double>(kMaxPriceTicks - 1)) break;
  }
  PriceTicks t;
  t.step = k * box;
  t.decimals = shortest_decimals(box);
  // The first multiple m·k·box at or above lo, settled on the products the ticks are written as.
  double m = std::ceil(lo / t.step);
  while ((m - 1) * k * box >= lo) m -= 1;
  while (m * k * box < lo) m += 1;
  for (double tick = m * k * box; tick < hi && t.count < kMaxPriceTicks; tick = (m * k) * box) {
    if (t.count > 0 && !(tick > t.values[t.count - 1])) break;  // past the doubles' resolution
    t.values[t.count++] = tick;
    m += 1;
  }
  return t;
}

int PriceTicks::label_decimals() const { return decimals >= 0 ? decimals : price_decimals(step); }

double PriceTicks::largest_magnitude() const {
  double m = 0.0;
  for (double t : ticks()) m = std::fmax(m, std::fabs(t));
  return m;
}

int price_label_decimals(double lo, double hi, double height) { return price_decimals(price_step(lo, hi, height)); }

ScaleLabels::ScaleLabels(const PriceTicks& ticks, ScaleNumbers numbers, const PriceFormat* format)
    : unit_(numbers == ScaleNumbers::in_units && ticks.largest_magnitude() >= kUnitsFrom
                ? number_unit(ticks.largest_magnitude())
                : NumberUnit{}),
      decimals_(unit_.suffix == '\0' ? ticks.label_decimals() : price_decimals(ticks.step / unit_.size)),
      percent_(numbers == ScaleNumbers::percent),
      format_(format) {}

void ScaleLabels::append(std::string& out, double value) const {
  if (percent_) {
    append_percent(out, value, format_ != nullptr ? format_->decimals_or(decimals_) : decimals_);
  } else if (unit_.suffix == '\0') {
    append_price_as(out, value, decimals_, format_);
  } else {
    append_affixed(out, format_, [&](std::string& text) { append_in_unit(text, value, unit_, decimals_); });
  }
}

double price_label_font_size(std::size_t longest_label) {
  if (longest_label < 10) return 11.0;
  if (longest_label < 12) return 10.0;
  return 9.0;
}

render::TextStyle price_label_style(render::Color color, std::size_t longest_label) {
  render::TextStyle style;
  style.color = color;
  style.font_size = price_label_font_size(longest_label);
  style.align = render::TextAlign::Start;
  style.baseline = render::TextBaseline::Middle;
  return style;
}

}  // namespace qc::coords
