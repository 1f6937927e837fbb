// Sine wave: anchors, its 101 samples around the anchors' mean height, its own dash table and label box.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "primitives/catalog/cycles/sine_wave.hpp"
#include "tool_support.hpp"

namespace qc::primitives::catalog {
namespace {

using namespace testing;

TEST(SineWave, FactoryAndAnchors) {
  auto wave = make<SineWave>({{5, 50}});
  EXPECT_EQ(wave->points(), (std::vector<Point>{{5, 50}, {45, 50}}));
  EXPECT_EQ(wave->amplitude, 10.0);
  EXPECT_EQ(wave->cycles, 2.0);
  EXPECT_EQ(make<SineWave>({})->points(), (std::vector<Point>{{0, 100}, {40, 100}}));
  const std::vector<Point> one = {{1, 60}};
  wave->set_points(one);  // only the start moves
  EXPECT_EQ(wave->points(), (std::vector<Point>{{1, 60}, {45, 50}}));
  wave->translate(1, -10);
  EXPECT_TRUE(wave->to_json().ends_with(
      R"("bar1":2.0,"price1":50.0,"bar2":46.0,"price2":40.0,"amplitude":10.0,"cycles":2.0})"));
}

TEST(SineWave, SamplesSwingAroundTheMeanHeight) {
  auto wave = make<SineWave>({{5, 40}, {45, 60}});  // x 55..455, mean y 300
  const auto e = draw(*wave);
  ASSERT_EQ(e.size(), 1u);
  const auto v = vertices(e[0]);
  ASSERT_EQ(v.size(), 101u);
  EXPECT_EQ(v.front().x, 55.5);
  EXPECT_EQ(v.back().x, 455.5);
  for (int i : {0, 25, 50, 75, 100}) EXPECT_EQ(v[i].y, 300.5) << i;
  // The first swing is downwards on the screen, the second upwards.
  for (int i : {12, 13}) EXPECT_EQ(v[i].y, 310.5) << i;
  for (int i : {37, 38}) EXPECT_EQ(v[i].y, 290.5) << i;
  for (std::size_t i = 1; i < v.size(); ++i) EXPECT_GE(v[i].x, v[i - 1].x);
}

TEST(SineWave, OwnDashTable) {
  struct Case {
    LineStyle style;
    const char* dash;
  };
  const Case cases[] = {{LineStyle::Dotted, "2.00,3.00"}, {LineStyle::Dashed, "5.00,5.00"},
                        {LineStyle::LargeDashed, "12.00,6.00"}, {LineStyle::SparseDotted, "2.00,8.00"}};
  for (const Case& c : cases) {
    auto wave = make<SineWave>({});
    wave->data_mut().style = c.style;
    EXPECT_EQ(draw(*wave).at(0).at("stroke-dasharray"), c.dash);
  }
  EXPECT_FALSE(draw(*make<SineWave>({})).at(0).has("stroke-dasharray"));
}

TEST(SineWave, LabelInsideTheWaveBox) {
  Canvas canvas;
  auto wave = make<SineWave>({{45, 40}, {5, 60}});  // drawn right to left; left 55, right 455, mid 300
  EXPECT_FALSE(wave->text_anchor(canvas.ctx));
  set_label(*wave, PrimitiveTextAlign::End, PrimitiveTextAlign::Start);
  auto a = wave->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, 445);
  EXPECT_DOUBLE_EQ(a->y, 300 - 10 + 10 + 7);
  set_label(*wave, PrimitiveTextAlign::Start, PrimitiveTextAlign::End);
  a = wave->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 65);
  EXPECT_DOUBLE_EQ(a->y, 300 + 10 - 10 - 7);
}

}  // namespace
}  // namespace qc::primitives::catalog
