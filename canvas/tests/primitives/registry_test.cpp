// The registry mechanism, the built-in catalogue table and the registration generated from it.
#include "primitives/registry/registry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "primitives/registry/catalogue.hpp"

namespace qc::primitives {
namespace {

std::vector<std::string_view> catalogue_ids(PrimitiveKind kind) {
  std::vector<std::string_view> ids;
  for (const auto& m : kBuiltinCatalogue) {
    if (m.kind == kind) ids.push_back(m.type_id);
  }
  return ids;
}

TEST(PrimitiveRegistry, EmptyRegistryCreatesNothing) {
  PrimitiveRegistry registry;
  EXPECT_EQ(registry.create("ray", {}, "#fff"), nullptr);
  EXPECT_TRUE(registry.by_kind(PrimitiveKind::Line).empty());
}

TEST(PrimitiveRegistry, LookupIsExactAndCaseSensitive) {
  PrimitiveRegistry registry;
  PrimitiveRegistry::register_builtins(registry);
  EXPECT_EQ(registry.create("", {}, "#fff"), nullptr);
  EXPECT_EQ(registry.create("Ray", {}, "#fff"), nullptr);
  EXPECT_EQ(registry.create("ray ", {}, "#fff"), nullptr);
  EXPECT_EQ(registry.create("no_such_tool", {}, "#fff"), nullptr);
  auto ray = registry.create("ray", {}, "#fff");
  ASSERT_NE(ray, nullptr);
  EXPECT_EQ(ray->type_id(), "ray");
}

TEST(PrimitiveRegistry, ReRegisteringReplacesRecordAndListsIdAgain) {
  PrimitiveRegistry registry;
  registry.register_primitive({"tool", "First", &catalog::create_ray, PrimitiveKind::Line, true, false, false});
  registry.register_primitive({"tool", "Second", &catalog::create_cross_line, PrimitiveKind::Shape, false, true, true});
  ASSERT_EQ(registry.size(), 1u);
  const PrimitiveMetadata* m = registry.find("tool");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->display_name, "Second");
  EXPECT_EQ(m->kind, PrimitiveKind::Shape);
  EXPECT_FALSE(m->flag_a);
  EXPECT_TRUE(m->has_levels && m->is_pattern);
  EXPECT_EQ(registry.create("tool", {}, "#fff")->type_id(), "cross_line");
  EXPECT_EQ(std::vector<std::string_view>(registry.by_kind(PrimitiveKind::Line).begin(),
                                          registry.by_kind(PrimitiveKind::Line).end()),
            std::vector<std::string_view>{"tool"});
  EXPECT_EQ(registry.by_kind(PrimitiveKind::Shape).size(), 1u);
}

TEST(PrimitiveRegistry, FactoryReceivesPointsAndColourUnchanged) {
  PrimitiveRegistry registry;
  PrimitiveRegistry::register_builtins(registry);
  const Point points[] = {{3.0, 101.5}, {9.0, 99.0}, {12.0, 1.0}};
  auto p = registry.create("ray", points, "not a colour");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->data().color.stroke, "not a colour");
  EXPECT_EQ(p->points(), (std::vector<Point>{{3.0, 101.5}, {9.0, 99.0}}));
}

TEST(BuiltinCatalogue, NinetySixDistinctTypesInRegistrationOrder) {
  ASSERT_EQ(std::size(kBuiltinCatalogue), 96u);
  std::set<std::string_view> ids;
  for (const auto& m : kBuiltinCatalogue) ids.insert(m.type_id);
  EXPECT_EQ(ids.size(), 96u);
  EXPECT_EQ(kBuiltinCatalogue[0].type_id, "trend_line");
  EXPECT_EQ(kBuiltinCatalogue[23].type_id, "fib_retracement");
  EXPECT_EQ(kBuiltinCatalogue[95].type_id, "custom_event");
  EXPECT_EQ(builtin_metadata(BuiltinType::cross_line).type_id, "cross_line");
  EXPECT_EQ(static_cast<int>(BuiltinType::emoji), 86);
}

TEST(BuiltinCatalogue, KindListsFollowTheTable) {
  EXPECT_EQ(catalogue_ids(PrimitiveKind::Event),
            (std::vector<std::string_view>{"arrow_up", "arrow_down", "sign", "crossover", "breakdown", "divergence",
                                           "pattern_match", "zone_event", "volume_event", "trend_event",
                                           "momentum_event", "custom_event"}));
  EXPECT_EQ(catalogue_ids(PrimitiveKind::Measurement),
            (std::vector<std::string_view>{"cycle_lines", "time_cycles", "sine_wave", "anchored_vwap",
                                           "fixed_volume_profile", "anchored_volume_profile", "price_range",
                                           "date_range", "price_date_range"}));
  EXPECT_EQ(catalogue_ids(PrimitiveKind::Channel),
            (std::vector<std::string_view>{"parallel_channel", "regression_trend", "flat_top_bottom",
                                           "disjoint_channel", "pitchfork", "schiff_pitchfork", "modified_schiff",
                                           "inside_pitchfork"}));
}

TEST(BuiltinCatalogue, Flags) {
  std::vector<std::string_view> without_flag_a;
  for (std::size_t i = 0; i < std::size(kBuiltinCatalogue); ++i) {
    const auto& m = kBuiltinCatalogue[i];
    if (!m.flag_a) without_flag_a.push_back(m.type_id);
    EXPECT_EQ(m.has_levels, i >= 23 && i <= 41) << m.type_id;
    EXPECT_EQ(m.is_pattern, i >= 57 && i <= 67) << m.type_id;
  }
  EXPECT_EQ(without_flag_a, (std::vector<std::string_view>{"price_note", "price_label", "sign", "price_range",
                                                            "date_range", "price_date_range"}));
}

TEST(BuiltinCatalogue, DisplayNamesThatAreNotTitleCaseIds) {
  const std::pair<std::string_view, std::string_view> names[] = {
      {"fib_trend_extension", "Fib Extension"}, {"fib_speed_resistance", "Speed Resistance"},
      {"flat_top_bottom", "Flat Top/Bottom"},   {"xabcd_pattern", "XABCD Pattern"},
      {"head_shoulders", "Head & Shoulders"},   {"abcd_pattern", "ABCD Pattern"},
      {"elliott_impulse", "Elliott Impulse Wave"}, {"anchored_vwap", "Anchored VWAP"},
      {"price_date_range", "Price/Date Range"}, {"emoji", "Sticker"},
  };
  for (const auto& [id, name] : names) {
    auto it = std::find_if(std::begin(kBuiltinCatalogue), std::end(kBuiltinCatalogue),
                           [&](const PrimitiveMetadata& m) { return m.type_id == id; });
    ASSERT_NE(it, std::end(kBuiltinCatalogue)) << id;
    EXPECT_EQ(it->display_name, name);
  }
}

TEST(GlobalRegistry, HoldsExactlyTheBuiltTypesInTableOrder) {
  const auto registry = PrimitiveRegistry::global().read();
  std::size_t built = 0;
  for (const auto& m : kBuiltinCatalogue) {
    const PrimitiveMetadata* found = registry->find(m.type_id);
    if (m.factory == nullptr) {
      EXPECT_EQ(found, nullptr) << m.type_id;
      EXPECT_EQ(registry->create(m.type_id, {}, "#fff"), nullptr) << m.type_id;
      continue;
    }
    ++built;
    ASSERT_NE(found, nullptr) << m.type_id;
    EXPECT_EQ(found->display_name, m.display_name);
    auto p = registry->create(m.type_id, {}, "#2196F3");
    ASSERT_NE(p, nullptr) << m.type_id;
    EXPECT_EQ(p->type_id(), m.type_id);
    EXPECT_EQ(p->kind(), m.kind);
  }
  EXPECT_EQ(registry->size(), built);
  EXPECT_GE(built, 7u);
  for (std::size_t k = 0; k < kPrimitiveKindCount; ++k) {
    std::vector<std::string_view> expected;
    for (const auto& m : kBuiltinCatalogue) {
      if (m.factory != nullptr && m.kind == static_cast<PrimitiveKind>(k)) expected.push_back(m.type_id);
    }
    const auto listed = registry->by_kind(static_cast<PrimitiveKind>(k));
    EXPECT_EQ(std::vector<std::string_view>(listed.begin(), listed.end()), expected) << "kind " << k;
  }
}

TEST(GlobalRegistry, IsOneInstanceReadableFromSeveralGuards) {
  const auto& a = PrimitiveRegistry::global();
  const auto& b = PrimitiveRegistry::global();
  EXPECT_EQ(&a, &b);
  const auto first = a.read();
  const auto second = b.read();  // shared: a second reader does not wait for the first
  EXPECT_EQ(&*first, &*second);
}

}  // namespace
}  // namespace qc::primitives
