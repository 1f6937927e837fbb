// save_pdf: one PDF of a page per chart or figure, each at its own size, written whole before it replaces
// the file at its path.
#include <string>
#include <vector>

#include "chart.hpp"
#include "figure.hpp"
#include "module_functions.hpp"
#include "output.hpp"

namespace qcpy {
namespace {

using namespace param;

bool is_chart(PyObject* item) { return PyObject_TypeCheck(item, type_object<ChartClass>()); }

// The item's document, or only its size (`svg` null).
void item_document(PyObject* item, std::string* svg, double& width, double& height) {
  if (is_chart(item)) {
    const ReadChart read = read_chart(item);
    width = read.chart->config.width;
    height = read.chart->config.height;
    if (svg != nullptr) *svg = qc::api::ChartRenderer(*read.chart).render_svg();
    return;
  }
  const BorrowGuard guard = borrow<FigureClass>(item, Borrow::shared);
  const FigureValue& figure = object_of<FigureClass>(item)->value;
  const ReadCharts read(figure);
  const qc::api::FigureLayout layout = qc::api::layout_figure(read.charts(), figure.settings());
  width = layout.width;
  height = layout.height;
  if (svg != nullptr) *svg = qc::api::render_figure(read.charts(), figure.settings());
}

PyObject* save_pdf(Call<ModuleFunctions>& c) {
  const SavePath path = file_path(c.args.object(0));
  constexpr ItemsRule kItems{"items", "Chart or Figure", "a Chart or a Figure",
                             "save_pdf needs at least one Chart or Figure", [](PyObject* o) {
                               return is_chart(o) || PyObject_TypeCheck(o, type_object<FigureClass>()) != 0;
                             }};
  const std::vector<Ref> items = items_of(c.args.object(1), kItems);
  // Every page's size is checked before any is drawn.
  for (const Ref& item : items) {
    double width = 0, height = 0;
    item_document(item.get(), nullptr, width, height);
    check_pdf_page(width, height);
  }
  std::string svg;
  const std::string pdf = pdf_of_pages(items.size(), [&](std::size_t i) -> std::string_view {
    double width = 0, height = 0;
    item_document(items[i].get(), &svg, width, height);
    return svg;
  });
  write_whole(path, pdf);
  return none();
}

constexpr MethodRow<ModuleFunctions> kRows[] = {
    {"save_pdf",
     "Write a PDF of one page per item, each at its item's size in points (at most 14,400 a side); the file is "
     "replaced only once it is written whole",
     {path("path").means("where to write: anything open() takes"),
      object("items").means("the pages: a sequence of Chart and Figure objects, in order")},
     Borrow::none, save_pdf},
};

}  // namespace

MethodGroup save_pdf_functions() { return method_defs<kRows>(); }

}  // namespace qcpy
