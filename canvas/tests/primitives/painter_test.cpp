// Drawing tools in the render pass: registry lookup, pane selection, order and each pane's own mapping.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "api/chart_renderer.hpp"
#include "api/primitive_painter.hpp"
#include "support.hpp"

namespace qc::api {
namespace {

using primitives::testing::parse_body;
using primitives::testing::parse_path;

PrimitiveConfig description(std::string_view type_id, std::vector<Point> points, PrimitivePane pane,
                            std::string_view color = "#2196F3") {
  PrimitiveConfig p = PrimitiveConfig::make(type_id, std::move(points));
  p.pane = pane;
  p.color = std::string(color);
  return p;
}

// The d attributes of the paths stroked in `color`, in document order.
std::vector<std::string> stroked_paths(std::string_view svg, std::string_view color) {
  std::vector<std::string> out;
  const std::string stroke = "stroke=\"" + std::string(color) + "\"";
  for (std::size_t at = svg.find("<path d=\""); at != std::string_view::npos; at = svg.find("<path d=\"", at + 1)) {
    const std::size_t line_end = svg.find('\n', at);
    const std::string_view line = svg.substr(at, line_end - at);
    if (line.find(stroke) == std::string_view::npos) continue;
    const std::size_t start = at + 9;
    out.emplace_back(svg.substr(start, svg.find('"', start) - start));
  }
  return out;
}

TEST(DrawPrimitives, DrawsThePaneDescriptionsInOrderAndSkipsUnknownTypes) {
  const std::vector<PrimitiveConfig> descriptions = {
      description("horizontal_line", {{0, 50}}, PrimitivePane::main()),
      description("no_such_tool", {{1, 1}}, PrimitivePane::main()),
      description("Horizontal_line", {{1, 1}}, PrimitivePane::main()),  // ids are case-sensitive
      description("", {}, PrimitivePane::main()),
      description("horizontal_line", {{0, 150}}, PrimitivePane::sub(0), "#ff0000"),
      description("vertical_line", {{3, 0}}, PrimitivePane::main(), "#00ff00"),
  };
  const primitives::PaneMapping main{10.0, {0.0, 200.0, 0.0, 400.0}};
  const primitives::PaneMapping sub{10.0, {0.0, 200.0, 500.0, 100.0}};
  struct Case {
    PrimitivePane pane;
    const primitives::PaneMapping& mapping;
    std::vector<std::string> paths;
    std::vector<std::string> strokes;
  };
  const Case cases[] = {
      {PrimitivePane::main(), main, {"M0.00 300.50 L800.00 300.50", "M35.50 0.00 L35.50 600.00"}, {"#2196f3", "#00ff00"}},
      {PrimitivePane::sub(0), sub, {"M0.00 525.50 L800.00 525.50"}, {"#ff0000"}},
      {PrimitivePane::sub(1), sub, {}, {}},
  };
  for (const Case& k : cases) {
    render::SvgBackend backend(800, 600, 1);
    draw_primitives(backend, descriptions, k.pane, k.mapping, 1.0, 800, 600);
    const auto elements = parse_body(backend.body());
    ASSERT_EQ(elements.size(), k.paths.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
      EXPECT_EQ(elements[i].at("d"), k.paths[i]);
      EXPECT_EQ(elements[i].at("stroke"), k.strokes[i]);
    }
  }
}

// The render pass draws main-pane tools within the main pane and each sub-pane's tools within that pane.
TEST(DrawPrimitives, RenderPassUsesEachPanesMapping) {
  ChartConfig config;  // 800 x 600: plot height 570
  model::Indicator pane = model::Indicator::make("osc", "Osc");
  pane.placement = model::placement::SubPane{0.25};
  pane.range = model::range::Fixed{0.0, 100.0};
  config.indicators.push_back(std::move(pane));
  config.primitives = {
      description("horizontal_line", {{0, 0.0}}, PrimitivePane::sub(0), "#123456"),
      description("horizontal_line", {{0, 100.0}}, PrimitivePane::sub(0), "#123456"),
      description("horizontal_line", {{0, 50.0}}, PrimitivePane::sub(1), "#123456"),  // no such pane
      description("horizontal_line", {{0, 105.0}}, PrimitivePane::main(), "#654321"),
  };
  std::vector<model::Bar> bars;
  for (int i = 0; i < 10; ++i) bars.push_back({i, 100.0, 110.0, 100.0, 105.0, 1.0});
  const std::string svg = ChartRenderer(config, bars).render_svg();

  const double main_height = 0.75 * 570;
  const double sub_top = main_height + 4;
  const double sub_bottom = sub_top + 0.25 * 570 - 4;
  const auto y_of = [](const std::string& d) { return parse_path(d).at(0).args.at(1); };

  const auto sub_paths = stroked_paths(svg, "#123456");
  ASSERT_EQ(sub_paths.size(), 2u) << svg;
  EXPECT_GE(y_of(sub_paths[0]), sub_top);
  EXPECT_LE(y_of(sub_paths[0]), sub_bottom + 1);
  EXPECT_GE(y_of(sub_paths[1]), sub_top);
  EXPECT_LT(y_of(sub_paths[1]), y_of(sub_paths[0]));  // the larger value higher up

  const auto main_paths = stroked_paths(svg, "#654321");
  ASSERT_EQ(main_paths.size(), 1u);
  EXPECT_GT(y_of(main_paths[0]), 0);
  EXPECT_LT(y_of(main_paths[0]), main_height);
  // Drawn after the main series and before the sub-pane's tools.
  EXPECT_LT(svg.find(main_paths[0]), svg.find(sub_paths[0]));
}

}  // namespace
}  // namespace qc::api
