// Several charts in one document: the cells' layout, the time a figure's charts share, and the nesting of
// each chart's own document at its cell.
#include "api/figure.hpp"

#include <algorithm>
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

// A heap block, for the figure's document as a std::string.
class HeapStorage final : public util::TextStorage {
 public:
  HeapStorage() = default;
  HeapStorage(const HeapStorage&) = delete;
  HeapStorage& operator=(const HeapStorage&) = delete;
  ~HeapStorage() { std::free(data_); }

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

// The storage behind what is written so far, lent to the next writer: each part of the figure (its frame,
// each chart's document) is written straight after the one before, and nothing is copied.
class StorageFrom final : public util::TextStorage {
 public:
  StorageFrom(util::TextStorage& storage, std::size_t offset) : storage_(storage), offset_(offset) {}
  char* grow(std::size_t used, std::size_t capacity) override {
    char* p = storage_.grow(offset_ + used, offset_ + capacity);
    return p == nullptr ? nullptr : p + offset_;
  }

 private:
  util::TextStorage& storage_;
  std::size_t offset_;
};

// Appends `text` at `at` in the storage; the end of what is written then.
std::size_t append_at(util::TextStorage& storage, std::size_t& at, std::string_view text, bool& ascii) {
  StorageFrom from(storage, at);
  util::TextBuffer out(from, text.size());
  out.append(text);
  ascii = ascii && out.is_ascii();
  return at += out.size();
}

}  // namespace

std::string figure_frame(const FigureLayout& layout, const ChartConfig& first, std::string_view title) {
  const coords::AxisColors colors =
      coords::AxisColors::from({first.theme.background, first.theme.grid_color, first.theme.text_color});
  std::string s;
  append_document_root(s, layout.width, layout.height);
  // The background around the cells only: each chart paints its own, and pixels painted twice cost a PNG
  // as much as a chart's own. Each cell is a hole, wound against the whole.
  s += R"(<path d="M0 0H)";
  util::append_shortest(s, layout.width);
  s += 'V';
  util::append_shortest(s, layout.height);
  s += "H0Z";
  for (const CellBox& c : layout.cells) {
    s += 'M';
    util::append_shortest(s, c.x);
    s += ' ';
    util::append_shortest(s, c.y);
    s += 'V';
    util::append_shortest(s, c.y + c.height);
    s += 'H';
    util::append_shortest(s, c.x + c.width);
    s += 'V';
    util::append_shortest(s, c.y);
    s += 'Z';
  }
  s += R"(" fill=")";
  render::append_css_color(s, colors.background);
  s += "\"/>\n";
  if (title.empty()) return s;
  render::SvgBackend band(layout.width, kFigureTitleBand, 1.0);
  draw_title(band, title, LegendColors::make(colors.text, colors.background));
  s += band.take_body();
  return s;
}

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

std::optional<std::size_t> bar_holding(std::span<const std::int64_t> times, std::int64_t t) {
  const auto after = std::upper_bound(times.begin(), times.end(), t);
  if (after == times.begin()) return std::nullopt;
  const auto i = static_cast<std::size_t>(after - times.begin()) - 1;
  if (after != times.end()) return i;
  // Differences of sorted times, exact as unsigned whatever their size.
  const auto gap = [](std::int64_t later, std::int64_t earlier) {
    return static_cast<std::uint64_t>(later) - static_cast<std::uint64_t>(earlier);
  };
  const std::uint64_t span = i == 0 ? 0 : gap(times[i], times[i - 1]);
  const std::uint64_t into = gap(t, times[i]);
  if (span > 0 ? into < span : into == 0) return i;
  return std::nullopt;
}

ChartRenderer figure_renderer(std::span<const Chart* const> charts, std::size_t i, bool share_time) {
  const Chart& chart = *charts[i];
  if (!share_time || i == 0) return ChartRenderer(chart);
  const SharedView shared = shared_view(*charts[0], chart);
  if (!shared.any) return ChartRenderer(chart.config, model::BarsView{});
  return std::move(ChartRenderer(chart).with_view(shared.view));
}

DocumentInfo render_figure_into(util::TextStorage& storage, std::span<const Chart* const> charts,
                                const FigureSettings& settings) {
  const FigureLayout layout = layout_figure(charts, settings);
  std::size_t at = 0;
  bool ascii = true;
  if (!charts.empty()) append_at(storage, at, figure_frame(layout, charts[0]->config, settings.title), ascii);
  for (std::size_t i = 0; i < charts.size(); ++i) {
    StorageFrom from(storage, at);
    const DocumentInfo doc = figure_renderer(charts, i, settings.share_time)
                                 .nested({i, layout.cells[i].x, layout.cells[i].y})
                                 .render_into(from);
    at += doc.size;
    ascii = ascii && doc.ascii;
  }
  append_at(storage, at, "</svg>\n", ascii);
  return {at, ascii};
}

std::string render_figure(std::span<const Chart* const> charts, const FigureSettings& settings) {
  HeapStorage storage;
  const DocumentInfo doc = render_figure_into(storage, charts, settings);
  return std::string(storage.text(doc.size));
}

}  // namespace qc::api
