// The chart as one self-contained HTML page (to_html, save's .html, interactive): the page's template and
// script taken in when the module is built, filled with the WebAssembly core and the chart's JSON.
#include "page.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "api/chart_json.hpp"
#include "api/figure.hpp"
#include "chart.hpp"
#include "embed.hpp"
#include "output.hpp"
#include "util/base64.hpp"
#include "util/json_string.hpp"
#include "util/numbers.hpp"
#include "wasm_core.hpp"

QC_EMBED(qc_page_template, QC_PAGE_TEMPLATE);
QC_EMBEDDED(qc_page_template)
QC_EMBED(qc_page_script, QC_PAGE_SCRIPT);
QC_EMBEDDED(qc_page_script)

namespace qcpy {
namespace {

using namespace param;

// Past this much JSON a notebook's output grows heavy: interactive() warns.
constexpr std::size_t kNotebookWarnBytes = 20'000'000;

std::string_view embedded(const unsigned char* begin, const unsigned char* end) {
  return {reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin)};
}

// Text safe in an element's content and in a double-quoted attribute.
void append_html_escaped(std::string& out, std::string_view text) {
  for (const char ch : text) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += ch;
    }
  }
}

// The core in base 85, a fifth denser than base 64 (the page weighs what its core's text weighs): each 4 bytes,
// read big-endian, as 5 digits, most significant first; the last n < 4 bytes as their first n + 1 digits of
// the group padded with zero bytes. The digits are the characters '(' to '~' less '<' and '>', so that no
// markup can open or close inside the script element that holds them; page.js decodes them.
void append_base85(std::string& out, std::span<const unsigned char> bytes) {
  static constexpr std::string_view kDigits =
      "()*+,-./0123456789:;=?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
  static_assert(kDigits.size() == 85);
  for (std::size_t at = 0; at < bytes.size(); at += 4) {
    const std::size_t n = std::min<std::size_t>(4, bytes.size() - at);
    std::uint32_t group = 0;
    for (std::size_t i = 0; i < 4; ++i) group = group << 8 | (i < n ? bytes[at + i] : 0u);
    char digits[5];
    for (int i = 4; i >= 0; --i, group /= 85) digits[i] = kDigits[group % 85];
    out.append(digits, n + 1);
  }
}

// JSON that no "</script" or "<!--" can end or confuse inside a script element: a '<' is only ever in a
// string there, where \u003c reads as the same character.
void append_script_json(std::string& out, std::string_view json) {
  for (std::size_t from = 0; from < json.size();) {
    const std::size_t lt = json.find('<', from);
    out.append(json.substr(from, lt - from));
    if (lt == std::string_view::npos) break;
    out += "\\u003c";
    from = lt + 1;
  }
}

// The page: the template with its parts filled in, `data` writing the page's data scripts. `data_size` is what
// they take, about.
template <class Data>
std::string page_of(std::string_view title, std::size_t data_size, Data&& data) {
  const std::span<const unsigned char> core = wasm_core_gz();
  const std::string_view page = embedded(qc_page_template, qc_page_template_end);
  const std::string_view script = embedded(qc_page_script, qc_page_script_end);
  std::string out;
  out.reserve(page.size() + (core.size() + 3) / 4 * 5 + data_size + data_size / 64 + script.size());
  // Each @NAME@ of the template is filled in; the rest is copied as it is.
  for (std::size_t from = 0; from < page.size();) {
    const std::size_t at = page.find('@', from);
    const std::size_t end = at == std::string_view::npos ? at : page.find('@', at + 1);
    if (end == std::string_view::npos) {
      out.append(page.substr(from));
      break;
    }
    out.append(page.substr(from, at - from));
    const std::string_view name = page.substr(at + 1, end - at - 1);
    if (name == "TITLE") {
      append_html_escaped(out, title);
    } else if (name == "CORE") {
      append_base85(out, core);
    } else if (name == "DATA") {
      data(out);
    } else if (name == "SCRIPT") {
      out.append(script);
    } else {
      throw Panic("the page's template names an unknown part");
    }
    from = end + 1;
  }
  return out;
}

std::string chart_page(const qc::api::Chart& chart, std::string_view json) {
  const std::string_view title = chart.config.title.empty() ? std::string_view("Chart") : chart.config.title;
  return page_of(title, json.size(), [&](std::string& out) {
    out += R"(<script id="quorvel-chart" type="application/json">)";
    append_script_json(out, json);
    out += "</script>";
  });
}

// The frame as HTML, and beside it the chart's PNG in base64 as notebooks keep pictures, so that a notebook
// saved and opened where the frame cannot run still shows the chart. The front end picks from them itself.
PyObject* mime_bundle(Call<InteractiveChartClass>& c) {
  const InteractivePage& page = c.value();
  Ref bundle = Ref::steal(PyDict_New());
  Ref html = Ref::steal(to_py(std::string_view(page.frame)));
  if (PyDict_SetItemString(bundle.get(), "text/html", html.get()) < 0) throw PyErrorPending{};
  if (page.png) {
    Ref png = Ref::steal(to_py(std::string_view(*page.png)));
    if (PyDict_SetItemString(bundle.get(), "image/png", png.get()) < 0) throw PyErrorPending{};
  }
  return bundle.release();
}

constexpr MethodRow<InteractiveChartClass> kInteractiveRows[] = {
    {"_repr_html_", "The chart's page in an iframe, for notebook display", {}, Borrow::shared,
     [](Call<InteractiveChartClass>& c) { return to_py(std::string_view(c.value().frame)); }, nullptr, "str"},
    {"_repr_mimebundle_", "The page in an iframe (text/html) and the chart's PNG (image/png), for notebook display",
     {opt_object("include").means("the MIME types asked for; the front end keeps those itself"),
      opt_object("exclude").means("the MIME types not wanted; the front end leaves those out itself")},
     Borrow::shared, mime_bundle, nullptr, "dict[str, str]"},
};

PyObject* interactive(ChartCall& c) {
  const qc::api::Chart& chart = chart_of(c);
  const std::string json = qc::api::chart_to_json(chart);
  return interactive_page(chart_page(chart, json), json.size(), chart.config.width, chart.config.height,
                          [&] { return display_png(chart); });
}

constexpr ChartRow kRows[] = {
    {"to_html",
     "The chart as one self-contained HTML page: the chart core as WebAssembly, the chart's JSON and a small "
     "script that zooms (wheel, + and -), pans (drag, arrow keys) and shows the hovered bar's values; it "
     "requests nothing",
     {}, Borrow::shared, [](ChartCall& c) { return to_py(page_html(chart_of(c))); }, nullptr, "str"},
    {"interactive", "The chart's HTML page for a notebook to show in a frame (see to_html)", {}, Borrow::shared,
     interactive, nullptr, "InteractiveChart"},
};

}  // namespace

std::string page_html(const qc::api::Chart& chart) { return chart_page(chart, qc::api::chart_to_json(chart)); }

std::string figure_page_html(std::span<const qc::api::Chart* const> charts, const qc::api::FigureSettings& settings) {
  std::vector<std::string> jsons;
  jsons.reserve(charts.size());
  std::size_t size = 0;
  for (const qc::api::Chart* chart : charts) size += jsons.emplace_back(qc::api::chart_to_json(*chart)).size();
  const qc::api::FigureLayout layout = qc::api::layout_figure(charts, settings);
  return page_of(settings.title.empty() ? std::string_view("Figure") : settings.title, size, [&](std::string& out) {
    // The frame (background and title), each cell's corner and whether the charts share time; then each chart.
    std::string figure = R"({"frame":)";
    qc::util::append_json_string(figure, qc::api::figure_frame(layout, charts[0]->config, settings.title));
    figure += R"(,"cells":[)";
    for (const qc::api::CellBox& cell : layout.cells) {
      if (figure.back() == ']') figure += ',';
      figure += '[';
      qc::util::append_shortest(figure, cell.x);
      figure += ',';
      qc::util::append_shortest(figure, cell.y);
      figure += ']';
    }
    figure += R"(],"share_time":)";
    figure += settings.share_time ? "true}" : "false}";
    out += R"(<script id="quorvel-figure" type="application/json">)";
    append_script_json(out, figure);
    out += "</script>";
    for (const std::string& json : jsons) {
      out += "\n" R"(<script class="quorvel-chart" type="application/json">)";
      append_script_json(out, json);
      out += "</script>";
    }
  });
}

PyObject* interactive_page(std::string page, std::size_t json_bytes, double width, double height,
                           const std::function<std::optional<std::string>()>& png_of) {
  if (json_bytes > kNotebookWarnBytes) {
    const std::string message = "the chart's JSON is " + std::to_string(json_bytes) +
                                " bytes: the notebook will carry all of it in its output, and in its file once saved";
    if (PyErr_WarnEx(PyExc_UserWarning, message.c_str(), 1) < 0) throw PyErrorPending{};
  }
  std::string frame = "<iframe sandbox=\"allow-scripts\" style=\"border: none\" width=\"" + number_text(width) +
                      "\" height=\"" + number_text(height) + "\" srcdoc=\"";
  frame.reserve(frame.size() + page.size() + page.size() / 16 + 16);
  append_html_escaped(frame, page);
  frame += "\"></iframe>";
  std::optional<std::string> png;
  if (const std::optional<std::string> bytes = png_of()) {
    png.emplace();
    qc::util::append_base64(*png, std::as_bytes(std::span(*bytes)));
  }
  return new_object<InteractiveChartClass>(InteractivePage{std::move(frame), std::move(png)});
}

ClassSpec InteractiveChartClass::spec() {
  ClassSpec s = class_spec<InteractiveChartClass>();
  s.methods = {method_defs<kInteractiveRows>()};
  return s;
}

MethodGroup chart_page_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
