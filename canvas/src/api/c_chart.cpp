// The C interface: a chart read from its JSON text, kept with the buffer of its last document.
#include "api/c_chart.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "api/chart_json.hpp"
#include "api/chart_renderer.hpp"
#include "api/figure.hpp"
#include "api/layout.hpp"
#include "api/live_chart.hpp"

struct qc_chart {
  qc::api::Chart chart;
  std::string document;
  std::string pointer_layer;
  std::optional<qc::api::Nesting> nesting;  // in a figure's page
  bool blank = false;                        // sharing a time where none of its bars falls
};

namespace {

// The renderer of the chart as the page shows it.
qc::api::ChartRenderer renderer(const qc_chart& c, std::optional<qc::api::Pointer> pointer = std::nullopt) {
  qc::api::ChartRenderer r = c.blank ? qc::api::ChartRenderer(c.chart.config, qc::model::BarsView{}, pointer)
                                     : qc::api::ChartRenderer(c.chart, pointer);
  if (c.nesting) r.nested(*c.nesting);
  return r;
}

std::string& last_error() {
  static std::string text;
  return text;
}

// The chart grown by one bar as Python's append (update: its update) grows it, or QC_REFUSED with the text
// of Python's refusal in last_error().
int grow(qc_chart* chart, const qc::model::Bar& bar, bool update) {
  if (chart == nullptr) return QC_BAD_ARGUMENT;
  const qc::model::BarColumns one{bar};
  if (auto refusal = qc::api::grow_refusal(chart->chart, one, update, "bar")) {
    last_error() = std::move(*refusal);
    return QC_REFUSED;
  }
  qc::api::grow_chart(chart->chart, one, update);
  return QC_OK;
}

}  // namespace

extern "C" {

void* qc_alloc(size_t size) { return std::malloc(size == 0 ? 1 : size); }

void qc_free(void* p) { std::free(p); }

int qc_chart_new(const char* text, size_t size, qc_chart** out) {
  if (out == nullptr) return QC_BAD_ARGUMENT;
  *out = nullptr;
  if (text == nullptr && size > 0) return QC_BAD_ARGUMENT;
  std::optional<qc::api::Chart> chart = qc::api::chart_from_json({text, size}, last_error());
  if (!chart) return QC_BAD_TEXT;
  *out = new qc_chart{std::move(*chart), {}, {}, std::nullopt, false};
  return QC_OK;
}

void qc_chart_free(qc_chart* chart) { delete chart; }

const char* qc_error(size_t* size) {
  if (size != nullptr) *size = last_error().size();
  return last_error().c_str();
}

int qc_chart_set_view(qc_chart* chart, int64_t first, int64_t last) {
  if (chart == nullptr) return QC_BAD_ARGUMENT;
  const qc::api::ViewRequest request{first, last};
  const std::size_t n = chart->chart.bars.size();
  if (n > 0 && qc::api::view_fault(request, n) != qc::api::ViewFault::none) return QC_BAD_ARGUMENT;
  chart->chart.config.view = request;
  return QC_OK;
}

int qc_chart_view(const qc_chart* chart, int64_t* first, int64_t* last) {
  if (chart == nullptr || first == nullptr || last == nullptr) return QC_BAD_ARGUMENT;
  const std::size_t n = chart->blank ? 0 : chart->chart.bars.size();
  *first = *last = -1;
  if (n == 0) return QC_OK;
  const auto view = qc::api::drawn_view(chart->chart.config.view, n);
  *first = view ? static_cast<int64_t>(view->first) : 0;
  *last = static_cast<int64_t>(view ? view->last : n - 1);
  return QC_OK;
}

int qc_chart_bar_count(const qc_chart* chart, int64_t* count) {
  if (chart == nullptr || count == nullptr) return QC_BAD_ARGUMENT;
  *count = static_cast<int64_t>(chart->chart.bars.size());
  return QC_OK;
}

int qc_chart_plot_width(const qc_chart* chart, double* width) {
  if (chart == nullptr || width == nullptr) return QC_BAD_ARGUMENT;
  const qc::api::ChartConfig& config = chart->chart.config;
  *width = qc::api::Layout::make(config.width, config.height, 0, 0.0).plot_width;
  return QC_OK;
}

int qc_chart_render(qc_chart* chart, const double* pointer, const char** data, size_t* size) {
  if (chart == nullptr || data == nullptr || size == nullptr) return QC_BAD_ARGUMENT;
  std::optional<qc::api::Pointer> at;
  if (pointer != nullptr) at = qc::api::Pointer{pointer[0], pointer[1]};
  chart->document = renderer(*chart, at).render_svg();
  *data = chart->document.data();
  *size = chart->document.size();
  return QC_OK;
}

int qc_chart_render_pointer(qc_chart* chart, const double* pointer, const char** data, size_t* size) {
  if (chart == nullptr || pointer == nullptr || data == nullptr || size == nullptr) return QC_BAD_ARGUMENT;
  const qc::api::Pointer at{pointer[0], pointer[1]};
  chart->pointer_layer = renderer(*chart, at).render_pointer_layer();
  *data = chart->pointer_layer.data();
  *size = chart->pointer_layer.size();
  return QC_OK;
}

int qc_chart_bar_at(const qc_chart* chart, double x, int64_t* bar) {
  if (chart == nullptr || bar == nullptr) return QC_BAD_ARGUMENT;
  const std::optional<std::size_t> under = renderer(*chart).bar_under(x);
  if (!under) return QC_OUTSIDE;
  *bar = static_cast<int64_t>(*under);
  return QC_OK;
}

int qc_chart_append(qc_chart* chart, int64_t time, double open, double high, double low, double close,
                    double volume) {
  return grow(chart, {time, open, high, low, close, volume}, false);
}

int qc_chart_update(qc_chart* chart, int64_t time, double open, double high, double low, double close,
                    double volume) {
  return grow(chart, {time, open, high, low, close, volume}, true);
}

int qc_chart_nest(qc_chart* chart, uint32_t index, double x, double y) {
  if (chart == nullptr) return QC_BAD_ARGUMENT;
  chart->nesting = qc::api::Nesting{index, x, y};
  return QC_OK;
}

int qc_chart_share_time(qc_chart* chart, const qc_chart* first) {
  if (chart == nullptr || first == nullptr) return QC_BAD_ARGUMENT;
  const qc::api::SharedView shared = qc::api::shared_view(first->chart, chart->chart);
  chart->blank = !shared.any;
  chart->chart.config.view = shared.view;
  return QC_OK;
}

int qc_chart_bar_time(const qc_chart* chart, int64_t bar, int64_t* time) {
  if (chart == nullptr || time == nullptr) return QC_BAD_ARGUMENT;
  const auto times = chart->chart.bars.view().time;
  if (bar < 0 || static_cast<uint64_t>(bar) >= times.size()) return QC_OUTSIDE;
  *time = times[static_cast<std::size_t>(bar)];
  return QC_OK;
}

int qc_chart_bar_holding(const qc_chart* chart, int64_t time, int64_t* bar) {
  if (chart == nullptr || bar == nullptr) return QC_BAD_ARGUMENT;
  const std::optional<std::size_t> held = qc::api::bar_holding(chart->chart.bars.view().time, time);
  if (!held) return QC_OUTSIDE;
  *bar = static_cast<int64_t>(*held);
  return QC_OK;
}

int qc_chart_bar_x(const qc_chart* chart, int64_t bar, double* x) {
  if (chart == nullptr || x == nullptr) return QC_BAD_ARGUMENT;
  if (bar < 0) return QC_OUTSIDE;
  const std::optional<double> centre = renderer(*chart).bar_centre(static_cast<std::size_t>(bar));
  if (!centre) return QC_OUTSIDE;
  *x = *centre;
  return QC_OK;
}

}  // extern "C"
