// The Python class Figure: charts laid out in one document, the charts held as they are (not copied).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "api/figure.hpp"
#include "class.hpp"
#include "rows.hpp"

namespace qcpy {

struct FigureValue {
  std::vector<Ref> charts;  // Chart objects, in the order of their cells
  std::uint32_t cols = 1;
  double gap = 8.0;
  std::string title;
  bool share_time = false;

  qc::api::FigureSettings settings() const { return {cols, gap, title, share_time}; }
};

struct FigureClass {
  using Value = FigureValue;
  static constexpr const char* name = "Figure";
  static constexpr const char* doc =
      "Charts laid out in one document, left to right in rows of `cols`, each at its own size, with an "
      "optional title on top.\n"
      "The figure holds the charts themselves: a chart changed after the figure is made shows changed.\n"
      "\n"
      "Example:\n"
      "    >>> import quorvel_canvas as qc\n"
      "    >>> charts = [qc.Chart(400, 300), qc.Chart(400, 300)]\n"
      "    >>> figure = qc.Figure(charts, cols=2, title=\"Two charts\")\n"
      "    >>> figure.render_svg().count(\"<svg\")\n"
      "    3";
  static ClassSpec spec();
  // The figure's settings and its charts' JSON texts, for pickling and copying; and a figure of new charts
  // from them (ValueError when it does not read).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

using FigureCall = Call<FigureClass>;

// The charts of a figure, each borrowed for reading as long as this lives.
class ReadCharts {
 public:
  explicit ReadCharts(const FigureValue& figure);
  std::span<const qc::api::Chart* const> charts() const { return charts_; }

 private:
  std::vector<BorrowGuard> guards_;
  std::vector<const qc::api::Chart*> charts_;
};

// A sequence argument's items, each of some classes: TypeError "<name> must be a sequence of <plural>, not T"
// (also for one item given alone) or "<name>[i] must be <one>, not T", ValueError `empty` for no item.
struct ItemsRule {
  const char* name;
  const char* plural;
  const char* one;
  const char* empty;
  bool (*accepts)(PyObject*);
};
std::vector<Ref> items_of(PyObject* sequence, const ItemsRule& rule);

// The chart an object of class Chart holds, for reading while `guard` lives.
struct ReadChart {
  BorrowGuard guard;
  const qc::api::Chart* chart;
};
ReadChart read_chart(PyObject* chart);

// The module function save_pdf (figure_pdf.cpp).
MethodGroup module_function_methods();

}  // namespace qcpy
