// The C interface: a chart read from its JSON text, kept with the buffer of its last document.
#include "api/c_chart.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "api/chart_json.hpp"
#include "api/chart_renderer.hpp"
#include "api/layout.hpp"
#include "api/live_chart.hpp"

struct qc_chart {
  qc::api::Chart chart;
  std::string document;
  std::string pointer_layer;
};

namespace {

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
  *out = new qc_chart{std::move(*chart), {}, {}};
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
  const std::size_t n = chart->chart.bars.size();
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
  chart->document = qc::api::ChartRenderer(chart->chart, at).render_svg();
  *data = chart->document.data();
  *size = chart->document.size();
  return QC_OK;
}

int qc_chart_render_pointer(qc_chart* chart, const double* pointer, const char** data, size_t* size) {
  if (chart == nullptr || pointer == nullptr || data == nullptr || size == nullptr) return QC_BAD_ARGUMENT;
  const qc::api::Pointer at{pointer[0], pointer[1]};
  chart->pointer_layer = qc::api::ChartRenderer(chart->chart, at).render_pointer_layer();
  *data = chart->pointer_layer.data();
  *size = chart->pointer_layer.size();
  return QC_OK;
}

int qc_chart_bar_at(const qc_chart* chart, double x, int64_t* bar) {
  if (chart == nullptr || bar == nullptr) return QC_BAD_ARGUMENT;
  const std::optional<std::size_t> under = qc::api::ChartRenderer(chart->chart.config, chart->chart.bars).bar_under(x);
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

}  // extern "C"
