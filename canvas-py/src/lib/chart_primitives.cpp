// Chart methods that place drawing tools: one data row per method, one generic body for all of them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;

// One placing method. Its points are its point parameters in order (or its one list of points); a lone
// price is a point at bar 0, a lone bar a point at price 0; a text parameter becomes the description's text.
struct Placement {
  const char* name;
  const char* doc;
  Params params;
  const char* type_id = nullptr;  // the method's name when null
  // The position tools read entry, stop-loss, take-profit from their points; the caller names entry, tp, sl.
  bool entry_sl_tp = false;
};

constexpr Params kOnePoint = {point("position")};
constexpr Params kPointText = {point("position"), text("content")};
constexpr Params kTwoPoints = {point("p1"), point("p2")};
constexpr Params kCenterEdge = {point("center"), point("edge")};
constexpr Params kThreePoints = {point("p1"), point("p2"), point("p3")};
constexpr Params kPosition = {point("entry"), point("tp"), point("sl")};
constexpr Params kPointList = {points("points")};

constexpr Placement kPlacements[] = {
    // one number
    {"horizontal_line", "Horizontal line at price level", {f64("price")}},
    {"vertical_line", "Vertical line at bar index", {bar_position("bar_index")}},
    // one point
    {"cross_line", "Cross line at position", kOnePoint},
    {"arrow_up", "Arrow up", kOnePoint},
    {"arrow_down", "Arrow down", kOnePoint},
    {"price_label", "Price label", kOnePoint},
    {"sign", "Sign", kOnePoint},
    {"flag", "Flag", kOnePoint},
    {"table", "Table", kOnePoint},
    {"anchored_vwap", "Anchored VWAP", kOnePoint},
    // one point and a text
    {"text", "Text annotation", kPointText},
    {"note", "Note", kPointText},
    {"price_note", "Price note", kPointText},
    {"signpost", "Signpost", kPointText},
    {"callout", "Callout", kPointText},
    {"comment", "Comment", kPointText},
    // two points and a text
    {"anchored_text", "Anchored text", {point("p1"), point("p2"), text("content")}},
    // two points
    {"trend_line", "Trend line between two points", {point("start"), point("end")}},
    {"ray", "Ray from p1 through p2", kTwoPoints},
    {"extended_line", "Extended line (infinite in both directions)", kTwoPoints},
    {"info_line", "Info line with measurements", kTwoPoints},
    {"trend_angle", "Trend angle", kTwoPoints},
    {"horizontal_ray", "Horizontal ray", kTwoPoints},
    {"regression_trend", "Regression trend channel", kTwoPoints},
    {"rectangle", "Rectangle", kTwoPoints},
    {"circle", "Circle", kCenterEdge},
    {"ellipse", "Ellipse", kCenterEdge},
    {"fib_retracement", "Fibonacci retracement", kTwoPoints},
    {"fib_time_zones", "Fibonacci time zones", kTwoPoints},
    {"fib_speed_resistance", "Fibonacci speed/resistance", kTwoPoints},
    {"fib_circles", "Fibonacci circles", kTwoPoints},
    {"fib_spiral", "Fibonacci spiral", kTwoPoints},
    {"fib_arcs", "Fibonacci arcs", kTwoPoints},
    {"fib_wedge", "Fibonacci wedge", kTwoPoints},
    {"fib_fan", "Fibonacci fan", kTwoPoints},
    {"gann_box", "Gann Box", kTwoPoints},
    {"gann_square_fixed", "Gann Square Fixed", kTwoPoints},
    {"gann_square", "Gann Square", kTwoPoints},
    {"gann_fan", "Gann Fan", kTwoPoints},
    {"arrow_marker", "Arrow marker", kTwoPoints},
    {"arrow_line", "Arrow line", kTwoPoints},
    {"cycle_lines", "Cycle lines", kTwoPoints},
    {"time_cycles", "Time cycles", kTwoPoints},
    {"sine_wave", "Sine wave", kTwoPoints},
    {"forecast", "Forecast", kTwoPoints},
    {"bars_pattern", "Bars pattern", kTwoPoints},
    {"projection", "Projection", kTwoPoints},
    {"fixed_volume_profile", "Fixed volume profile", kTwoPoints},
    {"anchored_volume_profile", "Anchored volume profile", kTwoPoints},
    {"price_range", "Price range", kTwoPoints},
    {"date_range", "Date range", kTwoPoints},
    {"price_date_range", "Price and date range", kTwoPoints},
    // three points
    {"parallel_channel", "Parallel channel", kThreePoints},
    {"flat_top_bottom", "Flat top/bottom channel", kThreePoints},
    {"triangle", "Triangle", kThreePoints},
    {"arc", "Arc", kThreePoints},
    {"rotated_rectangle", "Rotated rectangle", kThreePoints},
    {"fib_extension", "Fibonacci extension", kThreePoints, "fib_trend_extension"},
    {"fib_channel", "Fibonacci channel", kThreePoints},
    {"fib_trend_time", "Fibonacci trend time", kThreePoints},
    {"pitchfork", "Pitchfork", kThreePoints},
    {"schiff_pitchfork", "Schiff Pitchfork", kThreePoints},
    {"modified_schiff", "Modified Schiff Pitchfork", kThreePoints},
    {"inside_pitchfork", "Inside Pitchfork", kThreePoints},
    {"triangle_pattern", "Triangle Pattern", kThreePoints},
    {"long_position", "Long position", kPosition, nullptr, true},
    {"short_position", "Short position", kPosition, nullptr, true},
    {"price_projection", "Price projection", kThreePoints},
    // a list of points
    {"disjoint_channel", "Disjoint channel", kPointList},
    {"polyline", "Polyline", kPointList},
    {"path", "Path (closed polygon)", kPointList},
    {"curve", "Curve", kPointList},
    {"double_curve", "Double curve", kPointList},
    {"xabcd_pattern", "XABCD Pattern", kPointList},
    {"cypher_pattern", "Cypher Pattern", kPointList},
    {"head_shoulders", "Head and Shoulders", kPointList},
    {"abcd_pattern", "ABCD Pattern", kPointList},
    {"three_drives", "Three Drives", kPointList},
    {"elliott_impulse", "Elliott Impulse Wave", kPointList},
    {"elliott_correction", "Elliott Correction Wave", kPointList},
    {"elliott_triangle", "Elliott Triangle", kPointList},
    {"elliott_double_combo", "Elliott Double Combo", kPointList},
    {"elliott_triple_combo", "Elliott Triple Combo", kPointList},
    {"brush", "Brush", kPointList},
    {"highlighter", "Highlighter", kPointList},
};
static_assert(std::size(kPlacements) == 85);

// Builds the whole description from the converted arguments, then appends it to the chart, so that an
// argument error never reaches the chart and a missing chart never sees a description.
PyObject* place(ChartCall& c) {
  const Placement& row = c.data<Placement>();
  std::vector<Point> points;
  std::optional<std::string> text;
  for (std::size_t i = 0; i < row.params.size(); ++i) {
    switch (row.params[i].kind) {
      case Kind::f64: points.push_back({0.0, c.args.f64(i)}); break;
      case Kind::bar_position: points.push_back({c.args.f64(i), 0.0}); break;
      case Kind::point: points.push_back(c.args.point(i)); break;
      case Kind::points: points = std::move(c.args.points(i)); break;
      case Kind::text: text = std::move(c.args.text(i)); break;
      default: throw Panic("placing method with an unexpected parameter kind");
    }
  }
  if (row.entry_sl_tp) std::swap(points.at(1), points.at(2));
  qc::api::PrimitiveConfig description =
      qc::api::PrimitiveConfig::make(row.type_id != nullptr ? row.type_id : row.name, std::move(points));
  description.text = std::move(text);
  with_chart(c, [&](qc::api::Chart&& chart) { return std::move(chart).primitive(std::move(description)); });
  return none();
}

constexpr auto kRows = rows_from<ChartClass, kPlacements>(Borrow::exclusive, place);

}  // namespace

MethodGroup chart_primitive_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
