// Every registered type, created through the global registry from awkward point lists: it draws
// well-formed SVG, writes well-formed JSON with "data" first, and survives its whole public surface.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "primitives/registry/catalogue.hpp"
#include "primitives/registry/registry.hpp"
#include "support.hpp"

namespace qc::primitives {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct PointSet {
  const char* name;
  std::vector<Point> points;
};

const PointSet kPointSets[] = {
    {"none", {}},
    {"one", {{5, 120}}},
    {"coincident", {{5, 120}, {5, 120}, {5, 120}, {5, 120}, {5, 120}, {5, 120}}},
    {"nan", {{kNaN, kNaN}, {kNaN, 100}, {3, kNaN}}},
    {"infinite", {{kInf, -kInf}, {-kInf, kInf}, {1e308, -1e308}}},
    {"negative and far", {{-50, -1e6}, {1e9, 1e9}, {-0.0, 0}}},
    {"many", {{0, 10}, {3, 90}, {6, 40}, {9, 150}, {12, 70}, {15, 180}, {18, 20}, {21, 100}}},
};

std::vector<std::string_view> registered_ids() {
  std::vector<std::string_view> ids;
  const auto registry = PrimitiveRegistry::global().read();
  for (const auto& m : kBuiltinCatalogue) {
    if (registry->find(m.type_id) != nullptr) ids.push_back(m.type_id);
  }
  return ids;
}

class RegisteredType : public ::testing::TestWithParam<std::string_view> {};

TEST_P(RegisteredType, DrawsAndWritesWellFormedOutputFromAnyPoints) {
  const std::string_view id = GetParam();
  const auto registry = PrimitiveRegistry::global().read();
  for (const PointSet& set : kPointSets) {
    SCOPED_TRACE(set.name);
    auto p = registry->create(id, set.points, "#26a69a");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->type_id(), id);
    EXPECT_EQ(p->data().type_id, id);

    for (double dpr : {1.0, 2.0}) {
      testing::Canvas canvas(dpr);
      p->render(canvas.ctx, false);
      for (const auto& e : canvas.elements()) {
        if (e.has("d")) testing::parse_path(e.at("d"));
      }
    }

    const std::string json = p->to_json();
    EXPECT_TRUE(testing::is_valid_json(json)) << json;
    const std::string head = std::string(R"({"data":{"id":0,"type_id":")") + std::string(id) + "\"";
    EXPECT_EQ(json.rfind(head, 0), 0u) << json;

    // A text label, the clone and the point operations, also with awkward values.
    PrimitiveText text = PrimitiveText::make("lbl \"&<");
    text.font_size = kNaN;
    p->data_mut().text = text;
    testing::Canvas canvas;
    if (auto anchor = p->text_anchor(canvas.ctx)) {
      // The callout's words sit on its filled box, so they are always white.
      EXPECT_EQ(anchor->color, id == "callout" ? "#FFFFFF" : "#26a69a");
    }
    auto copy = p->clone_box();
    EXPECT_EQ(copy->to_json(), p->to_json());
    const std::size_t anchor_count = p->points().size();
    const std::string before = p->to_json();
    p->translate(0, 0);
    EXPECT_EQ(p->to_json(), before) << "translate(0, 0) moved an anchor";
    p->set_points({});
    p->set_points(set.points);
    p->translate(kNaN, kInf);
    p->render(canvas.ctx, true);
    EXPECT_TRUE(testing::is_valid_json(p->to_json()));
    EXPECT_EQ(copy->points().size(), anchor_count);
    // A type that takes a level list also reports one.
    if (p->set_level_configs({FibLevelConfig::make(0.5)})) {
      EXPECT_TRUE(p->level_configs());
    } else {
      EXPECT_FALSE(p->level_configs());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Registry, RegisteredType, ::testing::ValuesIn(registered_ids()),
                         [](const auto& param_info) { return std::string(param_info.param); });

}  // namespace
}  // namespace qc::primitives
