// Document size from element counts: a bound per element times the number of such elements.
#include "api/document_size.hpp"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "render/engine/svg_format.hpp"

namespace qc::api {
namespace {

// Element texts with numbers of at most ten characters ("-999999.99") and "#rrggbb" colours. Volume band
// bars, and signals in a colour of their own, may be translucent: "rgba(255,255,255," + an alpha text of
// at most 20 characters + ")".
constexpr std::size_t kNumber = 10;
constexpr std::size_t kColor = 7;
constexpr std::size_t kAnyColor = 17 + 20 + 1;
constexpr std::size_t kStroke = 26 + kColor + kNumber;                    // stroke="…" stroke-width="…"
constexpr std::size_t kRect = 45 + 4 * kNumber + kColor;                  // filled rectangle
constexpr std::size_t kBandRect = kRect - kColor + kAnyColor;             // a volume band's bar
constexpr std::size_t kStrokedRect = 59 + 4 * kNumber + kStroke;          // outlined rectangle
constexpr std::size_t kLine = 33 + 4 * kNumber + kStroke;                 // line
constexpr std::size_t kOhlcBar = 36 + 7 * kNumber + kStroke;              // path of three hairlines
constexpr std::size_t kCircle = 49 + 3 * kNumber + kColor;                // filled circle
constexpr std::size_t kPoint = 2 + 2 * kNumber;                           // "x,y " of a polyline
constexpr std::size_t kPathPoint = 3 + 2 * kNumber;                       // " Lx y" of a path
constexpr std::size_t kPathFrame = 36 + kAnyColor;                        // a filled path's markup
// A signal's marker, a filled triangle's path or a filled circle, and its label's text element without
// the label (also the size of the title's and the legend's text elements; each of their lines, and each
// signal's label, has a translucent backing, kBandRect).
constexpr std::size_t kMarker = std::max(45 + 6 * kNumber, 49 + 3 * kNumber) + kAnyColor;
constexpr std::size_t kLabel = 122 + 2 * kNumber + kAnyColor;
// Frame, background, grid, price scales, time axis; the elements and words of a drawing tool.
constexpr std::size_t kFixed = 64 * 1024;
constexpr std::size_t kPerDrawing = 4 * 1024;

// How many of a style's marks a device column holds at most when bars are grouped by column: a line's four
// points per run (a cloud's fill passes six bars: the first, last, lowest and highest of two lines), a
// histogram's two bars, dots' two.
std::size_t per_column(const model::VectorStyle& style) {
  return std::visit(
      [](const auto& s) -> std::size_t {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Cloud>) {
          return 6;
        } else if constexpr (std::is_same_v<S, model::style::Histogram> || std::is_same_v<S, model::style::Dots>) {
          return 2;
        } else {
          return 4;
        }
      },
      style.v);
}

std::size_t per_value(const model::VectorStyle& style, bool band) {
  return std::visit(
      [band](const auto& s) -> std::size_t {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Line>) {
          return kPoint + (s.area ? kPathPoint : 0);  // an area's tint goes through every point too
        } else if constexpr (std::is_same_v<S, model::style::SolidLine>) {
          return kPoint;
        } else if constexpr (std::is_same_v<S, model::style::Histogram>) {
          return band ? kBandRect : kRect;
        } else if constexpr (std::is_same_v<S, model::style::Dots>) {
          return kCircle + kStroke;  // room for the outlined kind too
        } else if constexpr (std::is_same_v<S, model::style::StepLine>) {
          return 2 * kLine;
        } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
          // The fill passes each bar twice (partner and cloud) and may cross between any two bars, opening a
          // new path there; then the edge line.
          return 3 * kPathPoint + kPathFrame + kPoint;
        } else {
          return 0;
        }
      },
      style.v);
}

}  // namespace

std::size_t estimated_document_size(const ChartConfig& config, std::size_t n, std::size_t values_cap,
                                    std::size_t columns) {
  // Of `count` marks, those `per` a column leave when bars are grouped (the view's two reach bars stand alone).
  const auto grouped = [columns](std::size_t count, std::size_t per) {
    return columns == 0 ? count : std::min(count, per * columns + 2);
  };
  std::size_t size = kFixed + kPerDrawing * config.primitives.size();
  // A level's line, and its label on a backing.
  for (const PaneLevel& level : config.levels) {
    size += kLine + (level.level.label ? kBandRect + kLabel + render::kMaxEscapeGrowth * level.level.label->size() : 0);
  }
  // Every stored signal, drawn or not: its label's bytes may each become a six-byte entity.
  for (const SignalConfig& s : config.signals) {
    size += kMarker + (s.label ? kBandRect + kLabel + render::kMaxEscapeGrowth * s.label->size() : 0);
  }
  if (!config.title.empty()) size += kBandRect + kLabel + render::kMaxEscapeGrowth * config.title.size();
  const SeriesType type = config.series.series_type;
  if (type == SeriesType::Line || type == SeriesType::Area) {
    // An area's fill goes through every point too.
    size += grouped(n, 4) * kPathPoint * (type == SeriesType::Area ? 2 : 1);
  } else if (type == SeriesType::OhlcBars) {
    size += grouped(n, 1) * kOhlcBar;
  } else {
    size += grouped(n, 1) * (kLine + kRect + (static_cast<std::uint8_t>(type) == kBorderedCandles ? kStrokedRect : 0));
  }
  for (const model::Indicator& ind : config.indicators) {
    size += kFixed / 4;  // pane frame, levels, scale
    const bool band = std::holds_alternative<model::placement::VolumeBand>(ind.placement);
    std::size_t values = 0;
    for (const model::IndicatorVector& vec : ind.vectors) {
      const std::size_t drawn = std::min(vec.values.size(), values_cap);
      values += drawn;
      size += grouped(drawn, per_column(vec.style)) * per_value(vec.style, band);
    }
    if (band && values == 0) size += grouped(n, 1) * kBandRect;  // the bars' own volumes
    if (config.show_legend) {
      size += kBandRect + kLabel + render::kMaxEscapeGrowth * ind.name.size() +
              ind.vectors.size() * (kLabel + kNumber);
    }
  }
  return size;
}

}  // namespace qc::api
