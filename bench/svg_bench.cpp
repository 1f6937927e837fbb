// Micro-bench of the SVG writer: ns per candle (wick and body) and per number, beside std::to_chars.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "coords/price_mapping.hpp"
#include "model/series/data.hpp"
#include "model/series/options.hpp"
#include "render/chart/series.hpp"
#include "render/engine/batch.hpp"
#include "render/engine/svg_backend.hpp"
#include "util/fixed.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using qc::render::Color;
using qc::render::Rect;
using qc::render::StrokeStyle;

struct Candle {
  double x, high_y, low_y;
  Rect body;
  Color color;
};

std::vector<Candle> make_candles(std::size_t n) {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> y(0.0, 470.0), h(0.5, 40.0);
  std::vector<Candle> out(n);
  const double spacing = 930.0 / static_cast<double>(n) * 1000.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double top = y(rng), height = h(rng);
    const double x = std::floor((static_cast<double>(i % 1000) + 0.5) * spacing) + 0.5;
    out[i] = {x, top - h(rng), top + height + h(rng), {x - 3.5, top, 7.0, height},
              i % 3 ? Color{0x26, 0xa6, 0x9a, 255} : Color{0xef, 0x53, 0x50, 255}};
  }
  return out;
}

double ns_since(Clock::time_point start, std::size_t items) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / static_cast<double>(items);
}

// The element texts written the plain way: std::string appends and std::to_chars(fixed, 2) per number.
void append_n2(std::string& out, double v) {
  char buf[400];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2).ptr);
}

void baseline_candle(std::string& out, const Candle& c, const std::string& wick_css, const std::string& body_css) {
  out += "<line x1=\"";
  append_n2(out, c.x);
  out += "\" y1=\"";
  append_n2(out, c.high_y);
  out += "\" x2=\"";
  append_n2(out, c.x);
  out += "\" y2=\"";
  append_n2(out, c.low_y);
  out += "\" stroke=\"";
  out += wick_css;
  out += "\" stroke-width=\"";
  append_n2(out, 1.0);
  out += "\"/>\n<rect x=\"";
  append_n2(out, c.body.x);
  out += "\" y=\"";
  append_n2(out, c.body.y);
  out += "\" width=\"";
  append_n2(out, c.body.width);
  out += "\" height=\"";
  append_n2(out, c.body.height);
  out += "\" fill=\"";
  out += body_css;
  out += "\"/>\n";
}

// Best time per item over many short rounds: the minimum filters out the other work on a shared machine.
template <class F>
double best_ns(int rounds, std::size_t items, F&& run) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    run();
    best = std::min(best, ns_since(start, items));
  }
  return best;
}

}  // namespace

int main() {
  constexpr std::size_t kChart = 10'000;  // candles per warm round
  constexpr std::size_t kBigChart = 100'000;
  const std::vector<Candle> candles = make_candles(kBigChart);
  const std::span<const Candle> chart(candles.data(), kChart);
  std::size_t sink = 0;

  auto write_candles = [&](qc::render::SvgBackend& backend, std::span<const Candle> cs) {
    for (const Candle& c : cs) {
      backend.line(c.x, c.high_y, c.x, c.low_y, StrokeStyle::solid(1.0, c.color));
      backend.fill_rect(c.body, c.color);
    }
    sink += backend.body().size();
  };

  // The writer itself: one backend whose buffer is emptied, not freed, between rounds.
  qc::render::SvgBackend warm(1000, 500, 1);
  const double warm_ns = best_ns(300, kChart, [&] {
    warm.body_buffer().clear();
    write_candles(warm, chart);
  });

  // The same texts with std::string appends and std::to_chars(fixed, 2), into a reused string.
  std::string plain;
  plain.reserve(warm.body().size());
  const std::string css_up = qc::render::SvgBackend::color_to_css(candles[1].color);
  const std::string css_down = qc::render::SvgBackend::color_to_css(candles[0].color);
  const double plain_ns = best_ns(100, kChart, [&] {
    plain.clear();
    for (const Candle& c : chart) {
      const std::string& css = c.color == candles[0].color ? css_down : css_up;
      baseline_candle(plain, c, css, css);
    }
    sink += plain.size();
  });
  if (plain != warm.body()) {
    std::fprintf(stderr, "baseline text differs from the backend's\n");
    return 1;
  }

  // A fresh backend per chart of 100k candles: adds the buffer's growth and the first touch of its pages.
  const double cold_ns = best_ns(10, kBigChart, [&] {
    qc::render::SvgBackend backend(1000, 500, 1);
    write_candles(backend, candles);
  });

  // Single numbers: the fast path against std::to_chars on the same coordinates.
  std::vector<double> numbers;
  for (const Candle& c : chart) numbers.insert(numbers.end(), {c.x, c.high_y, c.low_y, c.body.y, c.body.height});
  char buf[qc::util::kMaxFixedChars];
  const double fast_ns = best_ns(300, numbers.size(), [&] {
    for (double v : numbers) sink += static_cast<std::size_t>(qc::util::write_fixed2(buf, v) - buf);
  });
  const double to_chars_ns = best_ns(100, numbers.size(), [&] {
    for (double v : numbers) {
      sink += static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2).ptr - buf);
    }
  });

  // The whole main-series road: candle records into a batch, replayed onto a fresh backend.
  std::vector<qc::model::CandlestickData> data(kChart);
  std::mt19937_64 rng(2);
  std::uniform_real_distribution<double> price(90.0, 110.0);
  for (auto& d : data) {
    const double a = price(rng), b = price(rng);
    d.open = a, d.close = b, d.high = std::max(a, b) + 0.5, d.low = std::min(a, b) - 0.5;
  }
  qc::model::CandlestickStyleOptions style;
  style.body_up_color = style.border_up_color = style.wick_up_color = "#26a69a";
  style.body_down_color = style.border_down_color = style.wick_down_color = "#ef5350";
  const double spacing = 930.0 / kChart;
  const double series_ns = best_ns(100, kChart, [&] {
    qc::render::RenderBatch batch;
    qc::render::render_candlesticks(batch, data, style, spacing, {89, 111, 0, 470}, std::max(0.8 * spacing, 1.0), 1);
    qc::render::SvgBackend backend(1000, 500, 1);
    qc::render::replay(batch, backend);
    sink += backend.body().size();
  });

  std::printf("SVG writer: best round, ns per candle or per number\n");
  std::printf("  %-58s %7.1f   | std::to_chars + std::string appends: %7.1f\n",
              "candle, wick line + body rect, 10k candles, warm buffer:", warm_ns, plain_ns);
  std::printf("  %-58s %7.1f\n", "candle, fresh backend per 100k-candle chart (growth, faults):", cold_ns);
  std::printf("  %-58s %7.1f   | std::to_chars(v, fixed, 2):          %7.1f\n", "number, two decimals:", fast_ns,
              to_chars_ns);
  std::printf("  %-58s %7.1f\n", "candle via render_candlesticks, batch, replay (10k):", series_ns);
  std::printf("  (checksum %zu)\n", sink);
  return 0;
}
