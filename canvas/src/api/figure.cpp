// Several charts in one document: the cells' layout, the time a figure's charts share, and the nesting of
// each chart's own document at its cell.
#include "api/figure.hpp"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

#include "api/legend_painter.hpp"
#include "coords/price_scale.hpp"
#include "render/engine/svg_backend.hpp"
#include "render/engine/svg_format.hpp"
#include "util/numbers.hpp"

namespace qc::api {
namespace {

// One heap block the charts' documents are rendered into in turn before they are nested: warm after the
// first chart, and never more than the largest of them.
class ScratchStorage final : public util::TextStorage {
 public:
  ScratchStorage() = default;
  ScratchStorage(const ScratchStorage&) = delete;
  ScratchStorage& operator=(const ScratchStorage&) = delete;
  ~ScratchStorage() { std::free(data_); }

  char* grow(std::size_t, std::size_t capacity) override {
    if (capacity <= capacity_) return data_;
    void* p = std::realloc(data_, capacity);
    if (p == nullptr) return nullptr;
    data_ = static_cast<char*>(p);
    capacity_ = capacity;
    return data_;
  }
  std::string_view text(std::size_t size) const { return {data_, size}; }

 private:
  char* data_ = nullptr;
  std::size_t capacity_ = 0;
};

constexpr std::string_view kNested[] = {" id=\"", "\"url(#"};

// The figure's frame up to the cells: XML declaration, root, the first chart's background, the title.
void open_figure(util::TextBuffer& out, const FigureLayout& layout, const ChartConfig& first, std::string_view title) {
  const coords::AxisColors colors =
      coords::AxisColors::from({first.theme.background, first.theme.grid_color, first.theme.text_color});
  std::string s;
  append_document_root(s, layout.width, layout.height);
  append_background(s, layout.width, layout.height, colors.background);
  out.append(s);
  if (title.empty()) return;
  render::SvgBackend band(layout.width, kFigureTitleBand, 1.0);
  draw_title(band, title, LegendColors::make(colors.text, colors.background));
  out.append(band.take_body());
}

}  // namespace

FigureLayout layout_figure(std::span<const Chart* const> charts, const FigureSettings& settings) {
  FigureLayout layout;
  const std::size_t n = charts.size();
  if (n == 0) return layout;
  const std::size_t cols = std::clamp<std::size_t>(settings.cols, 1, n);
  const std::size_t rows = (n + cols - 1) / cols;
  std::vector<double> col_x(cols, 0.0), row_y(rows, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    col_x[i % cols] = std::max(col_x[i % cols], static_cast<double>(charts[i]->config.width));
    row_y[i / cols] = std::max(row_y[i / cols], static_cast<double>(charts[i]->config.height));
  }
  // From the sizes to the places: each column starts where the ones before it and their gaps end.
  double x = 0.0;
  for (double& c : col_x) {
    const double w = c;
    c = x;
    x += w + settings.gap;
  }
  double y = settings.title.empty() ? 0.0 : kFigureTitleBand;
  for (double& r : row_y) {
    const double h = r;
    r = y;
    y += h + settings.gap;
  }
  layout.width = x - settings.gap;
  layout.height = y - settings.gap;
  layout.cells.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    layout.cells.push_back({col_x[i % cols], row_y[i / cols], static_cast<double>(charts[i]->config.width),
                            static_cast<double>(charts[i]->config.height)});
  }
  return layout;
}

SharedView shared_view(const Chart& first, const Chart& other) {
  const std::span<const std::int64_t> lead = first.bars.view().time;
  const auto view = drawn_view(first.config.view, lead.size());
  if (!view) return {};
  const std::span<const std::int64_t> times = other.bars.view().time;
  const auto from = std::lower_bound(times.begin(), times.end(), lead[view->first]);
  const auto to = std::upper_bound(from, times.end(), lead[view->last]);
  if (from == to) return {false, std::nullopt};
  return {true, ViewRequest{from - times.begin(), to - times.begin() - 1}};
}

ChartRenderer figure_renderer(std::span<const Chart* const> charts, std::size_t i, bool share_time) {
  const Chart& chart = *charts[i];
  if (!share_time || i == 0) return ChartRenderer(chart);
  const SharedView shared = shared_view(*charts[0], chart);
  if (!shared.any) return ChartRenderer(chart.config, model::BarsView{});
  return std::move(ChartRenderer(chart).with_view(shared.view));
}

void append_nested(util::TextBuffer& out, std::string_view doc, std::size_t i, double x, double y) {
  if (doc.starts_with("<?xml")) {
    const std::size_t end = doc.find("?>");
    doc.remove_prefix(end == std::string_view::npos ? doc.size() : end + 2);
    if (doc.starts_with('\n')) doc.remove_prefix(1);
  }
  std::string head = "<svg x=\"";
  util::append_shortest(head, x);
  head += "\" y=\"";
  util::append_shortest(head, y);
  head += '"';
  out.append(head);
  if (doc.starts_with("<svg")) doc.remove_prefix(4);
  char mark[24] = {'c'};
  char* mark_end = std::to_chars(mark + 1, mark + sizeof mark - 1, i).ptr;
  *mark_end++ = '-';
  const std::string_view prefix(mark, static_cast<std::size_t>(mark_end - mark));
  // Every id and reference stands in an attribute, after a quote that no text content can hold (the writer
  // escapes quotes there), so one look at each quote finds them all.
  std::size_t from = 0;
  for (std::size_t q = doc.find('"'); q != std::string_view::npos; q = doc.find('"', q + 1)) {
    std::size_t at = std::string_view::npos;
    if (q >= 4 && doc.substr(q - 4, 5) == kNested[0]) at = q + 1;
    if (doc.substr(q, kNested[1].size()) == kNested[1]) at = q + kNested[1].size();
    if (at == std::string_view::npos) continue;
    out.append(doc.substr(from, at - from));
    out.append(prefix);
    from = at;
    q = at - 1;
  }
  out.append(doc.substr(from));
}

DocumentInfo render_figure_into(util::TextStorage& storage, std::span<const Chart* const> charts,
                                const FigureSettings& settings) {
  const FigureLayout layout = layout_figure(charts, settings);
  util::TextBuffer out(&storage, charts.size() * render::SvgBackend::kBodyCapacity, render::SvgBackend::kBodyCapacity);
  if (!charts.empty()) open_figure(out, layout, charts[0]->config, settings.title);
  ScratchStorage scratch;
  for (std::size_t i = 0; i < charts.size(); ++i) {
    const DocumentInfo doc = figure_renderer(charts, i, settings.share_time).render_into(scratch);
    append_nested(out, scratch.text(doc.size), i, layout.cells[i].x, layout.cells[i].y);
  }
  out.append("</svg>\n");
  return {out.size(), out.is_ascii()};
}

std::string render_figure(std::span<const Chart* const> charts, const FigureSettings& settings) {
  ScratchStorage storage;
  const DocumentInfo doc = render_figure_into(storage, charts, settings);
  return std::string(storage.text(doc.size));
}

}  // namespace qc::api
