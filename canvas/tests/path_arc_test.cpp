// PathBuilder::arc: the command it records, its bounds and the current point it leaves.
#include "render/engine/path.hpp"

#include <gtest/gtest.h>

#include <numbers>

namespace qc::render {
namespace {

TEST(PathBuilderArc, RecordsTheArcAndEndsAtItsEndPoint) {
  PathBuilder b;
  b.arc(10, 20, 5, 0, std::numbers::pi / 2, false);
  ASSERT_EQ(b.commands().size(), 1u);
  EXPECT_EQ(std::get<Arc>(b.commands()[0]), (Arc{10, 20, 5, 0, std::numbers::pi / 2, false}));
  EXPECT_NEAR(b.current_point().x, 10, 1e-12);
  EXPECT_NEAR(b.current_point().y, 25, 1e-12);
  b.close();  // back to the arc's start
  EXPECT_NEAR(b.current_point().x, 15, 1e-12);
  EXPECT_NEAR(b.current_point().y, 20, 1e-12);
  const Path p = b.build();
  EXPECT_EQ(p.bounds, (Rect{5, 15, 10, 10}));
}

}  // namespace
}  // namespace qc::render
