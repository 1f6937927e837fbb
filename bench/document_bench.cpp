// Whole documents: the renderer's road into a fresh buffer beside a minimal writer of the same bytes.
//
// Usage: bench_document_bench [sizes, default 100000,1000000,4000000] [scenes, default A,B,line,area,ohlc]
//
// The minimal writer formats every per-bar element itself (candles, histogram rectangles, the points of
// lines and paths) with the library's two-decimal writer, into one fresh buffer of the document's size.
// The parts that do not grow with the bars (frame, definitions, element openings and attributes, price
// scales, time axis) it copies from the renderer's document: before timing it writes its per-bar runs
// once, finds each in the renderer's document in order and keeps the text between them, which must stay
// small whatever the number of bars. It then checks that its document equals the renderer's byte for
// byte, and fails loudly when a run is not found, a piece between runs is large or a byte differs.
// When both scene A and its OHLC variant are asked for, the report ends with the time of OHLC bars against
// candles: the median ratio of alternating renders of the two.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "api/indicator_builders.hpp"
#include "api/layout.hpp"
#include "api/palette.hpp"
#include "api/value_range.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/svg_format.hpp"
#include "render/engine/types.hpp"
#include "util/fixed.hpp"
#include "util/huge_pages.hpp"

namespace {

using namespace qc;
using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "document_bench: %s\n", what.c_str());
  std::exit(1);
}

// Minute bars of a random walk, as bench_render.py draws them (its own generator, so not the same numbers).
std::vector<model::Bar> walk(std::size_t n) {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> step(0.0, 0.002), wick(0.0, 0.001);
  std::uniform_real_distribution<double> volume(1e3, 1e5);
  std::vector<model::Bar> bars(n);
  double price = 100.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double o = price, c = std::max(1.0, o * std::exp(step(rng)));
    const double h = std::max(o, c) * (1 + std::abs(wick(rng))), l = std::min(o, c) * (1 - std::abs(wick(rng)));
    bars[i] = {1'600'000'000 + 60 * static_cast<std::int64_t>(i), o, h, l, c, volume(rng)};
    price = c;
  }
  return bars;
}

// Scene A: candles, volume band, SMA(20); B adds RSI(14) and MACD(12, 26, 9); line, area and ohlc are A's
// bars drawn with that series style.
api::Chart make_scene(std::string_view name, std::size_t n) {
  api::Chart chart = api::Chart::make(1000, 500);
  chart.bars = model::BarColumns(walk(n));
  if (name == "line") chart.config.series.series_type = api::SeriesType::Line;
  if (name == "area") chart.config.series.series_type = api::SeriesType::Area;
  if (name == "ohlc") chart.config.series.series_type = api::SeriesType::OhlcBars;
  chart = std::move(chart).indicator(*api::volume_indicator(chart.bars));
  chart = std::move(chart).indicator(*api::sma_indicator(chart.bars, 20, "#2962ff"));
  if (name == "B") {
    chart = std::move(chart).indicator(*api::rsi_indicator(chart.bars, 14));
    chart = std::move(chart).indicator(*api::macd_indicator(chart.bars, 12, 26, 9));
  }
  return chart;
}

// ---- The renderer's road, as the Python binding takes it -------------------------------------------------

std::string render_ours(const api::Chart& chart) { return api::ChartRenderer(chart.config, chart.bars).render_svg(); }

// Fresh C-heap storage grown by realloc and shrunk to the document at the end, as the Python binding
// does with its str.
class HeapStorage final : public util::TextStorage {
 public:
  ~HeapStorage() { std::free(data_); }
  char* grow(std::size_t, std::size_t capacity) override {
    char* p = static_cast<char*>(std::realloc(data_, capacity));
    if (p != nullptr) data_ = p;
    return p;
  }
  char* shrink(std::size_t size) {
    char* p = static_cast<char*>(std::realloc(data_, size + 1));
    if (p != nullptr) data_ = p;
    return data_;
  }

 private:
  char* data_ = nullptr;
};

// One render into fresh storage, dropped afterwards; returns a byte of it so that nothing is optimised away.
unsigned ours_once(const api::Chart& chart) {
  HeapStorage storage;
  const api::DocumentInfo doc = api::ChartRenderer(chart.config, chart.bars).render_into(storage);
  if (!doc.ascii) fail("document is not ASCII");
  return static_cast<unsigned char>(storage.shrink(doc.size)[doc.size / 2]);
}

// ---- The minimal writer ------------------------------------------------------------------------------------

constexpr std::size_t kSlack = util::kMaxFixedChars + 2 * render::kMaxCssColorChars;

template <std::size_t N>
inline char* lit(char* p, const char (&s)[N]) {
  std::memcpy(p, s, N - 1);
  return p + N - 1;
}
inline char* str(char* p, std::string_view s) {
  std::memcpy(p, s.data(), s.size());
  return p + s.size();
}
inline char* n2(char* p, double v) { return util::write_fixed2(p, v); }

std::string css(render::Color c) {
  char buf[render::kMaxCssColorChars];
  return {buf, render::write_css_color(buf, c)};
}

// Candles: the wick line and the body rectangle of each bar.
struct Candles {
  model::BarsView bars;
  coords::PriceMapping y;
  double spacing, candle_width, dpr;
  std::string up, down;

  char* write(char* p) const {
    const double r = dpr, pixel = 1.0 / r, half = 0.5 / r;
    auto snap = [r](double v) { return std::floor(v * r) / r; };
    const double body_width = std::max(std::round(candle_width * r) / r, pixel);
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const model::Bar b = bars[i];
      if (std::isnan(b.open) || std::isnan(b.high) || std::isnan(b.low) || std::isnan(b.close)) continue;
      const double xc = coords::bar_x(i, spacing), x = snap(xc) + half;
      p = lit(p, "<line x1=\"");
      p = n2(p, x);
      p = lit(p, "\" y1=\"");
      p = n2(p, snap(y.y(b.high)) + half);
      p = lit(p, "\" x2=\"");
      p = n2(p, x);
      p = lit(p, "\" y2=\"");
      p = n2(p, snap(y.y(b.low)) + half);
      p = lit(p, "\" stroke=\"");
      p = str(p, b.close >= b.open ? up : down);
      p = lit(p, "\" stroke-width=\"1.00\"/>\n<rect x=\"");
      const double yo = y.y(b.open), yc = y.y(b.close);
      const double top = std::min(yo, yc), h = std::max(std::max(yo, yc) - top, pixel);
      const double left = xc - body_width / 2;
      const double x0 = snap(left), y0 = snap(top), x1 = snap(left + body_width), y1 = snap(top + h);
      p = n2(p, x0);
      p = lit(p, "\" y=\"");
      p = n2(p, y0);
      p = lit(p, "\" width=\"");
      p = n2(p, std::max(x1 - x0, pixel));
      p = lit(p, "\" height=\"");
      p = n2(p, std::max(y1 - y0, pixel));
      p = lit(p, "\" fill=\"");
      p = str(p, b.close < b.open ? down : up);
      p = lit(p, "\"/>\n");
    }
    return p;
  }
};

// OHLC bars: one path of three hairlines per bar, snapped as the candles are.
struct Ohlc {
  model::BarsView bars;
  coords::PriceMapping y;
  double spacing, candle_width, dpr;
  std::string up, down;

  char* write(char* p) const {
    const double r = dpr, half = 0.5 / r;
    auto snap = [r](double v) { return std::floor(v * r) / r; };
    const double tick = std::max(std::round(candle_width * r) / r, 1.0 / r) / 2;
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const model::Bar b = bars[i];
      if (!std::isfinite(b.open) || !std::isfinite(b.high) || !std::isfinite(b.low) || !std::isfinite(b.close)) {
        continue;
      }
      const double xc = coords::bar_x(i, spacing), x = snap(xc) + half;
      p = lit(p, "<path d=\"M");
      p = n2(p, x);
      p = lit(p, " ");
      p = n2(p, snap(y.y(b.high)) + half);
      p = lit(p, "V");
      p = n2(p, snap(y.y(b.low)) + half);
      p = lit(p, "M");
      p = n2(p, snap(xc - tick));
      p = lit(p, " ");
      p = n2(p, snap(y.y(b.open)) + half);
      p = lit(p, "H");
      p = n2(p, x);
      p = lit(p, "M");
      p = n2(p, x);
      p = lit(p, " ");
      p = n2(p, snap(y.y(b.close)) + half);
      p = lit(p, "H");
      p = n2(p, snap(xc + tick));
      p = lit(p, "\" stroke=\"");
      p = str(p, b.close >= b.open ? up : down);
      p = lit(p, "\" stroke-width=\"1.00\" fill=\"none\"/>\n");
    }
    return p;
  }
};

// The coordinates of a line through the values (or the bars' closes): "x,y x,y" for a polyline, "Mx y Lx y"
// for a path; an area's fill path goes on down to the pane's foot under its last point, back under its
// first and closes.
struct Points {
  std::span<const double> values;
  model::BarsView closes;
  coords::PriceMapping y;
  double spacing;
  bool path;
  bool closed = false;

  double value(std::size_t k) const { return values.empty() ? closes.close[k] : values[k]; }

  char* write(char* p) const {
    bool first = true;
    const std::size_t n = values.empty() ? closes.size() : values.size();
    for (std::size_t k = 0; k < n; ++k) {
      const double v = value(k);
      if (std::isnan(v)) continue;
      if (path) {
        p = first ? lit(p, "M") : lit(p, " L");
      } else if (!first) {
        p = lit(p, " ");
      }
      first = false;
      p = n2(p, coords::bar_x(k, spacing));
      p = path ? lit(p, " ") : lit(p, ",");
      p = n2(p, y.y(v));
    }
    if (closed) {
      std::size_t lead = 0, end = n;
      while (lead < n && std::isnan(value(lead))) ++lead;
      while (end > lead && std::isnan(value(end - 1))) --end;
      if (end - lead < 2) fail("an area of fewer than two points has no fill");
      p = lit(p, " L");
      p = n2(p, coords::bar_x(end - 1, spacing));
      p = lit(p, " ");
      p = n2(p, y.bottom);
      p = lit(p, " L");
      p = n2(p, coords::bar_x(lead, spacing));
      p = lit(p, " ");
      p = n2(p, y.bottom);
      p = lit(p, " Z");
    }
    return p;
  }
};

// Histogram rectangles growing from the baseline.
struct Bars {
  const model::IndicatorVector* vector;
  coords::PriceMapping y;
  double spacing, width, baseline;
  std::string up, down;

  char* write(char* p) const {
    const model::Values& values = vector->values;
    for (std::size_t k = 0; k < values.size(); ++k) {
      const double v = values[k];
      if (std::isnan(v)) continue;
      const double yv = y.y(v);
      const bool is_up = k < vector->up_flags.size() ? vector->up_flags[k] : v >= 0;
      p = lit(p, "<rect x=\"");
      p = n2(p, coords::bar_x(k, spacing) - width / 2);
      p = lit(p, "\" y=\"");
      p = n2(p, v >= 0 ? yv : baseline);
      p = lit(p, "\" width=\"");
      p = n2(p, width);
      p = lit(p, "\" height=\"");
      p = n2(p, std::max(std::abs(baseline - yv), 1.0));
      p = lit(p, "\" fill=\"");
      p = str(p, is_up ? up : down);
      p = lit(p, "\"/>\n");
    }
    return p;
  }
};

using Run = std::variant<Candles, Ohlc, Points, Bars>;

// What a run draws, for the message when the renderer's document no longer holds it.
const char* kind_of(const Run& run) {
  if (std::holds_alternative<Candles>(run)) return "candles";
  if (std::holds_alternative<Ohlc>(run)) return "OHLC bars";
  if (const auto* points = std::get_if<Points>(&run)) {
    if (points->closed) return "the area's fill";
    return points->path ? "the series line" : "an indicator line";
  }
  return "histogram bars (volume band or a sub-pane)";
}

char* write_run(char* p, const Run& run) {
  return std::visit([p](const auto& r) { return r.write(p); }, run);
}

// A volume band from 0 to 10 % above its largest value; the scenes' volumes are automatic and positive.
api::ValueRange band_range(const model::Indicator& ind) {
  if (!std::holds_alternative<model::range::Auto>(ind.range)) fail("the minimal writer covers automatic bands only");
  double largest = 0.0;
  for (const auto& vec : ind.vectors) {
    for (const double v : vec.values) {
      if (!std::isfinite(v)) continue;
      if (v < 0) fail("the minimal writer covers bands of values of at least 0 only");
      largest = std::max(largest, v);
    }
  }
  if (!(largest > 0) || !std::isfinite(1.1 * largest)) fail("the minimal writer covers bands of finite volumes only");
  return {0.0, 1.1 * largest};
}

// The per-bar runs of a chart in document order; charts with other series or vector styles are refused.
std::vector<Run> runs_of(const api::Chart& chart) {
  const api::ChartConfig& cfg = chart.config;
  std::vector<const model::Indicator*> overlays;
  std::vector<std::pair<const model::Indicator*, double>> bands, panes;
  double pane_sum = 0;
  for (const auto& ind : cfg.indicators) {
    if (std::holds_alternative<model::placement::Overlay>(ind.placement)) overlays.push_back(&ind);
    if (const auto* b = std::get_if<model::placement::VolumeBand>(&ind.placement)) bands.emplace_back(&ind, b->ratio);
    if (const auto* s = std::get_if<model::placement::SubPane>(&ind.placement)) {
      panes.emplace_back(&ind, s->ratio);
      pane_sum += s->ratio;
    }
  }
  const api::Layout layout = api::Layout::make(cfg.width, cfg.height, chart.bars.size(), pane_sum);
  const api::ValueRange price = api::price_pane_range(chart.bars, overlays);
  const coords::PriceMapping main{price.lo, price.hi, 0.0, layout.main_height};

  std::vector<Run> runs;
  // A volume band's bars are written at (a + 1) / 2 of their colours' alpha.
  auto vectors = [&](const model::Indicator& ind, const coords::PriceMapping& y, bool band) {
    auto bar_css = [band](render::Color c) {
      if (band) c.a = static_cast<std::uint8_t>((c.a + 1) / 2);
      return css(c);
    };
    for (const auto& vec : ind.vectors) {
      if (const auto* line = std::get_if<model::style::Line>(&vec.style.v); line && !line->dashed) {
        runs.push_back(Points{vec.values, {}, y, layout.spacing, false});
      } else if (const auto* h = std::get_if<model::style::Histogram>(&vec.style.v)) {
        runs.push_back(Bars{&vec, y, layout.spacing, layout.width / static_cast<double>(layout.n) * h->bar_width_ratio,
                            y.y(0.0), bar_css(render::css_or(h->up_color, api::palette::kUp)),
                            bar_css(render::css_or(h->down_color, api::palette::kDown))});
      } else {
        fail("the minimal writer covers solid lines and histograms only");
      }
    }
  };

  // Volume bands lie behind the main series.
  for (const auto& [ind, ratio] : bands) {
    const double band = ratio * layout.main_height, foot = layout.main_height;
    const api::ValueRange r = band_range(*ind);
    vectors(*ind,
            r.hi > r.lo ? coords::PriceMapping{r.lo, r.hi, foot - band, band, foot}
                        : coords::PriceMapping{r.lo, r.hi, foot, 0.0},
            true);
  }
  const api::SeriesType type = cfg.series.series_type;
  if (type == api::SeriesType::Line || type == api::SeriesType::Area) {
    if (type == api::SeriesType::Area) runs.push_back(Points{{}, chart.bars, main, layout.spacing, true, true});
    runs.push_back(Points{{}, chart.bars, main, layout.spacing, true});
  } else if (static_cast<int>(type) == 0) {
    runs.push_back(Candles{chart.bars, main, layout.spacing, layout.candle_width(), api::drawable_dpr(cfg.dpr),
                           css(render::css_or(cfg.theme.up_color, render::kOpaqueBlack)),
                           css(render::css_or(cfg.theme.down_color, render::kOpaqueBlack))});
  } else if (type == api::SeriesType::OhlcBars) {
    runs.push_back(Ohlc{chart.bars, main, layout.spacing, layout.candle_width(), api::drawable_dpr(cfg.dpr),
                        css(render::css_or(cfg.theme.up_color, render::kOpaqueBlack)),
                        css(render::css_or(cfg.theme.down_color, render::kOpaqueBlack))});
  } else {
    fail("the minimal writer covers plain candles, OHLC bars, lines and areas only");
  }
  for (const auto* ind : overlays) vectors(*ind, main, false);
  double cursor = layout.main_height + api::kSubPaneGap;
  for (const auto& [ind, ratio] : panes) {
    const double h = std::max(layout.sub_pane_ratio(ratio) * layout.plot_height - api::kSubPaneGap, 0.0);
    const api::ValueRange r = api::indicator_range(chart.bars, *ind);
    vectors(*ind, {r.lo, r.hi, cursor, h}, false);
    cursor += h + api::kSubPaneGap;
  }
  return runs;
}

// A document's size-independent pieces are at most this long each; a longer one means a per-bar run of the
// renderer that the minimal writer does not produce.
constexpr std::size_t kMaxPiece = 256 * 1024;

// The value ranges and pane layout are worked out anew in every timed document, as a writer that starts
// from the bars has to.
struct Reference {
  const api::Chart& chart;
  std::vector<std::string> pieces;  // pieces[i] comes before runs[i]; the last one ends the document
  std::size_t size = 0;

  Reference(const api::Chart& c, std::string_view ours) : chart(c) {
    const std::vector<Run> runs = runs_of(chart);
    std::size_t at = 0;
    std::vector<char> scratch;
    for (std::size_t i = 0; i < runs.size(); ++i) {
      scratch.resize(ours.size() + kSlack);
      const std::string_view run(scratch.data(), static_cast<std::size_t>(write_run(scratch.data(), runs[i]) -
                                                                          scratch.data()));
      const std::size_t found = run.empty() ? at : ours.find(run, at);
      if (found == std::string_view::npos) {
        fail("per-bar run " + std::to_string(i) + " (" + kind_of(runs[i]) +
             ") not found in the renderer's document: its geometry or template changed; update runs_of");
      }
      pieces.emplace_back(ours.substr(at, found - at));
      at = found + run.size();
    }
    pieces.emplace_back(ours.substr(at));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (pieces[i].size() > kMaxPiece) {
        fail("the text before per-bar run " + std::to_string(i) + " holds " + std::to_string(pieces[i].size()) +
             " bytes: the renderer writes a per-bar run the minimal writer does not; add it to runs_of");
      }
    }
    size = ours.size();
  }

  char* write(char* p) const {
    const std::vector<Run> runs = runs_of(chart);
    for (std::size_t i = 0; i < runs.size(); ++i) p = write_run(str(p, pieces[i]), runs[i]);
    return str(p, pieces.back());
  }

  // One document into fresh storage of the document's size, dropped afterwards.
  unsigned once(std::string_view expect = {}) const {
    char* out = static_cast<char*>(std::malloc(size + kSlack));
    if (out == nullptr) fail("out of memory");
    util::advise_huge_pages(out, size + kSlack);
    const char* end = write(out);
    if (static_cast<std::size_t>(end - out) != size) fail("minimal writer's document has another size");
    if (!expect.empty() && std::memcmp(out, expect.data(), size) != 0) {
      const auto diff = std::mismatch(out, out + size, expect.begin()).first - out;
      fail("minimal writer's document differs at byte " + std::to_string(diff));
    }
    const unsigned byte = static_cast<unsigned char>(out[size / 2]);
    std::free(out);
    return byte;
  }
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double seconds(F&& f) {
  const auto start = Clock::now();
  f();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> split(const char* text) {
  std::vector<std::string> out;
  std::string_view s(text);
  while (!s.empty()) {
    const std::size_t comma = s.find(',');
    out.emplace_back(s.substr(0, comma));
    s = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const auto sizes = split(argc > 1 ? argv[1] : "100000,1000000,4000000");
  const auto scenes = split(argc > 2 ? argv[2] : "A,B,line,area,ohlc");
  unsigned sink = 0;
  std::printf("ns per bar, median of alternating renders into fresh storage; bound = minimal writer, same bytes\n");
  std::printf("%-6s %10s %10s %10s %12s %14s %14s %9s\n", "scene", "bars", "ours", "bound", "ours/bound",
              "ours/ours@100k", "bound/b@100k", "bytes/bar");
  for (const auto& scene : scenes) {
    double ours_base = 0, bound_base = 0;
    for (const auto& size_text : sizes) {
      const std::size_t n = std::stoul(size_text);
      const api::Chart chart = make_scene(scene, n);
      const std::string doc = render_ours(chart);
      const Reference reference(chart, doc);
      sink += reference.once(doc);  // checks the bytes
      const int rounds = static_cast<int>(std::clamp<std::size_t>(20'000'000 / n, 5, 40));
      std::vector<double> ours, bound, ratio;
      for (int r = 0; r < rounds; ++r) {
        ours.push_back(seconds([&] { sink += ours_once(chart); }) * 1e9 / static_cast<double>(n));
        bound.push_back(seconds([&] { sink += reference.once(); }) * 1e9 / static_cast<double>(n));
        ratio.push_back(ours.back() / bound.back());
      }
      const double o = median(ours), b = median(bound);
      if (n == 100'000) ours_base = o, bound_base = b;
      auto rel = [&](double v, double base) { return base > 0 ? std::to_string(v / base).substr(0, 4) : "-"; };
      std::printf("%-6s %10zu %10.0f %10.0f %12.2f %14s %14s %9.1f\n", scene.c_str(), n, o, b, median(ratio),
                  rel(o, ours_base).c_str(), rel(b, bound_base).c_str(),
                  static_cast<double>(doc.size()) / static_cast<double>(n));
      std::fflush(stdout);
    }
  }
  const auto asked = [&](std::string_view scene) { return std::find(scenes.begin(), scenes.end(), scene) != scenes.end(); };
  if (asked("A") && asked("ohlc")) {
    for (const auto& size_text : sizes) {
      const std::size_t n = std::stoul(size_text);
      const api::Chart candles = make_scene("A", n), ohlc = make_scene("ohlc", n);
      const int rounds = static_cast<int>(std::clamp<std::size_t>(20'000'000 / n, 5, 40));
      std::vector<double> ratio;
      for (int r = 0; r < rounds; ++r) {
        const double a = seconds([&] { sink += ours_once(candles); });
        ratio.push_back(seconds([&] { sink += ours_once(ohlc); }) / a);
      }
      std::printf("ohlc/A at %zu bars: %.2f (median of %d alternating renders)\n", n, median(ratio), rounds);
    }
  }
  std::printf("(checksum %u)\n", sink);
  return 0;
}
