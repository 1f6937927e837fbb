// Chart records and indicator model: defaults and builder semantics.
#include "api/chart.hpp"
#include "model/indicators.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <variant>

using namespace qc;

TEST(ChartRecords, NewChartDefaults) {
  api::Chart c = api::Chart::make(1000, 500);
  EXPECT_EQ(c.config.width, 1000u);
  EXPECT_EQ(c.config.height, 500u);
  EXPECT_TRUE(c.bars.empty());
  EXPECT_EQ(c.config.series.series_type, api::SeriesType::Candlesticks);
  EXPECT_FALSE(c.config.series.color.has_value());
  EXPECT_EQ(c.config.dpr, 1.0);
  const auto& t = c.config.theme;
  EXPECT_EQ(t.background, "#131722");
  EXPECT_EQ(t.grid_color, "#1e222d");
  EXPECT_EQ(t.up_color, "#26a69a");
  EXPECT_EQ(t.down_color, "#ef5350");
  EXPECT_EQ(t.text_color, "#b2b5be");
  EXPECT_EQ(t.border_color, "#2a2e39");
  EXPECT_FALSE(t.show_grid);
  api::ChartConfig d;
  EXPECT_EQ(d.width, 800u);
  EXPECT_EQ(d.height, 600u);
}

TEST(ChartRecords, ColorsChangeOnlyUpAndDown) {
  api::Chart c = api::Chart::make(10, 10).colors("#000000", "#ffffff").background("");
  EXPECT_EQ(c.config.theme.up_color, "#000000");
  EXPECT_EQ(c.config.theme.down_color, "#ffffff");
  EXPECT_EQ(c.config.theme.background, "");
  EXPECT_EQ(c.config.theme.grid_color, "#1e222d");
  EXPECT_EQ(c.config.theme.text_color, "#b2b5be");
}

TEST(ChartRecords, AppendsKeepOrderAndDuplicates) {
  api::SignalConfig s;
  s.price = 5;
  auto sig = api::SignalConfig(s).with_label("a").with_label("b");
  EXPECT_EQ(sig.label, "b");
  api::Chart c = api::Chart::make(10, 10).signal(s).signal(s).primitive(
      api::PrimitiveConfig::make("no_such_tool", {{1, 2}}));
  EXPECT_EQ(c.config.signals.size(), 2u);
  ASSERT_EQ(c.config.primitives.size(), 1u);
  const auto& p = c.config.primitives[0];
  EXPECT_EQ(p.type_id, "no_such_tool");
  EXPECT_EQ(p.color, "#2196F3");
  EXPECT_EQ(p.width, 1.5);
  EXPECT_TRUE(p.pane.is_main);
  EXPECT_FALSE(p.text.has_value());
}

TEST(IndicatorModel, LevelsAndStyles) {
  auto lvl = model::IndicatorLevel::make("#787b86", 0.0).dotted();
  EXPECT_EQ(lvl.style, "dotted");
  EXPECT_EQ(lvl.width, 1.0);
  EXPECT_FALSE(lvl.label.has_value());
  lvl = std::move(lvl).with_label("x").with_label("y");
  EXPECT_EQ(lvl.label, "y");
  EXPECT_EQ(model::IndicatorLevel::make("c", 1).style, "dashed");

  auto dashed = std::get<model::style::Line>(model::VectorStyle::dashed("#fff").v);
  auto line = std::get<model::style::Line>(model::VectorStyle::line("#fff", 1.0).v);
  EXPECT_EQ(dashed.color, line.color);
  EXPECT_EQ(dashed.width, line.width);
  EXPECT_TRUE(dashed.dashed);
  EXPECT_FALSE(line.dashed);

  auto h = std::get<model::style::Histogram>(model::VectorStyle::histogram().v);
  auto hc = std::get<model::style::Histogram>(model::VectorStyle::histogram_colored("#26a69a", "#ef5350").v);
  // Without colours a histogram takes the chart's (up bars its up colour, the others its down colour);
  // the default pair given is kept as given.
  EXPECT_TRUE(h.takes_chart_colors());
  EXPECT_EQ(h.up_shade, (model::style::ChartShade{true, 0xff}));
  EXPECT_EQ(h.down_shade, (model::style::ChartShade{false, 0xff}));
  EXPECT_FALSE(hc.takes_chart_colors());
  EXPECT_EQ(hc.up_color, "#26a69a");
  EXPECT_EQ(hc.down_color, "#ef5350");
  EXPECT_EQ(h.bar_width_ratio, 0.8);
  EXPECT_EQ(hc.bar_width_ratio, 0.8);
}

TEST(IndicatorModel, NewAndMacd) {
  auto ind = model::Indicator::make("id", "name");
  EXPECT_TRUE(std::holds_alternative<model::placement::Overlay>(ind.placement));
  EXPECT_TRUE(std::holds_alternative<model::range::Auto>(ind.range));
  EXPECT_TRUE(ind.levels.empty());
  EXPECT_TRUE(ind.vectors.empty());

  auto m = model::Indicator::macd("macd", 12, 26, 9);
  EXPECT_EQ(m.name, "MACD (12,26,9)");
  ASSERT_TRUE(std::holds_alternative<model::placement::SubPane>(m.placement));
  EXPECT_EQ(std::get<model::placement::SubPane>(m.placement).ratio, 0.2);
  EXPECT_TRUE(std::holds_alternative<model::range::Symmetric>(m.range));
  ASSERT_EQ(m.levels.size(), 1u);
  EXPECT_EQ(m.levels[0].style, "dotted");
  EXPECT_EQ(m.levels[0].color, "#787b86");
  ASSERT_EQ(m.vectors.size(), 3u);
  EXPECT_EQ(m.vectors[0].name, "MACD");
  EXPECT_EQ(m.vectors[1].name, "Signal");
  EXPECT_EQ(m.vectors[2].name, "Histogram");
  for (const auto& v : m.vectors) EXPECT_TRUE(v.values.empty());
  EXPECT_EQ(std::get<model::style::Line>(m.vectors[1].style.v).color, "#FF9800");
  EXPECT_EQ(model::Indicator::macd("m", 4294967295u, 0, 1).name, "MACD (4294967295,0,1)");
}

TEST(IndicatorModel, StoresValuesAsGiven) {
  auto lvl = model::IndicatorLevel::make("", std::nan(""));
  lvl.width = -3;
  auto ind = model::Indicator::make("", "").add_level(lvl);
  EXPECT_TRUE(std::isnan(ind.levels[0].value));
  EXPECT_EQ(ind.levels[0].width, -3);
  EXPECT_EQ(ind.levels[0].color, "");
}
