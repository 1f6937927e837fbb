// Path bounds, the current point, and how pushed commands widen a batch's bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/engine/batch.hpp"
#include "render/engine/path.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::render {
namespace {

const double kNaN = std::nan("");

TEST(PathBuilder, BoundsCountEveryCoordinateAndIgnoreNaN) {
  struct Case {
    const char* name;
    Path path;
    Rect bounds;
  };
  const Case cases[] = {
      {"only close", PathBuilder::with_capacity(16).close().build(), {0, 0, 0, 0}},
      {"empty", PathBuilder::with_capacity(16).build(), {0, 0, 0, 0}},
      {"quad control point", PathBuilder::with_capacity(16).move_to(0, 0).quad_to(10, -5, 20, 0).build(),
       {0, -5, 20, 5}},
      {"cubic control points",
       PathBuilder::with_capacity(16).move_to(0, 0).cubic_to(-3, 4, 8, -1, 2, 2).build(), {-3, -1, 11, 5}},
      {"NaN x", PathBuilder::with_capacity(16).move_to(5, 5).line_to(kNaN, 7).build(), {5, 5, 0, 2}},
      {"only NaN", PathBuilder::with_capacity(16).move_to(kNaN, kNaN).build(), {0, 0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.path.bounds, c.bounds) << c.name;
}

TEST(PathBuilder, CurrentPointFollowsCommandsAndCloseReturnsToSubpathStart) {
  PathBuilder b = PathBuilder::with_capacity(16);
  b.move_to(1, 2).line_to(3, 4);
  EXPECT_EQ(b.current_point(), (PixelPoint{3, 4}));
  b.cubic_to(0, 0, 0, 0, 7, 8);
  EXPECT_EQ(b.current_point(), (PixelPoint{7, 8}));
  b.close();
  EXPECT_EQ(b.current_point(), (PixelPoint{1, 2}));
  const Path p = b.build();
  EXPECT_EQ(p.commands.size(), 4u);
  EXPECT_TRUE(b.commands().empty());
  EXPECT_EQ(b.current_point(), (PixelPoint{0, 0}));
  EXPECT_EQ(b.move_to(9, 9).build().bounds, (Rect{9, 9, 0, 0}));  // a built builder starts afresh
}

TEST(Path, PolygonIsClosed) {
  const PixelPoint pts[] = {{0, 0}, {4, 0}, {2, 3}};
  const Path p = Path::polygon(pts);
  const std::vector<PathCommand> expected{MoveTo{0, 0}, LineTo{4, 0}, LineTo{2, 3}, Close{}};
  EXPECT_EQ(p.commands, expected);
  EXPECT_EQ(p.bounds, (Rect{0, 0, 4, 3}));
  EXPECT_TRUE(Path::polygon({}).commands.empty());
}

struct Bounds {
  double min_x, min_y, max_x, max_y;
};

void expect_bounds(const RenderBatch& b, Bounds e) {
  ASSERT_TRUE(b.has_bounds());
  EXPECT_EQ(b.min_x(), e.min_x);
  EXPECT_EQ(b.min_y(), e.min_y);
  EXPECT_EQ(b.max_x(), e.max_x);
  EXPECT_EQ(b.max_y(), e.max_y);
}

TEST(RenderBatch, BoundsPerCommand) {
  const StrokeStyle w2 = StrokeStyle::solid(2, kOpaqueBlack);
  Path flat;
  flat.bounds = {10, 10, 20, 0};
  struct Case {
    const char* name;
    RenderCommand command;
    Bounds bounds;
  };
  const Case cases[] = {
      {"stroke path grows by half the width", cmd::StrokePath{flat, w2}, {9, 9, 31, 11}},
      {"fill path", cmd::FillPath{flat, Solid{kOpaqueBlack}}, {10, 10, 30, 10}},
      {"fill rect", cmd::FillRect{{1, 2, 3, 4}, kOpaqueBlack}, {1, 2, 4, 6}},
      {"stroke rect", cmd::StrokeRect{w2, {1, 2, 3, 4}}, {0, 1, 5, 7}},
      {"line reversed", cmd::Line{w2, 10, 8, 4, 2}, {3, 1, 11, 9}},
      {"polyline", cmd::Polyline{{{5, 1}, {2, 9}, {kNaN, 0}}, w2}, {1, -1, 6, 10}},
      {"fill circle", cmd::FillCircle{5, 5, 2, kOpaqueBlack}, {3, 3, 7, 7}},
      {"stroke circle is not grown", cmd::StrokeCircle{w2, 5, 5, 2}, {3, 3, 7, 7}},
      {"fill ellipse", cmd::FillEllipse{5, 5, 2, 1, kOpaqueBlack}, {3, 4, 7, 6}},
      {"stroke ellipse", cmd::StrokeEllipse{w2, 5, 5, 2, 1}, {3, 4, 7, 6}},
      {"stroke arc", cmd::StrokeArc{w2, 5, 5, 2, 0, 1}, {3, 3, 7, 7}},
      {"text is a fixed box", cmd::Text{"whatever its length", TextStyle{}, 50, 40}, {50, 30, 150, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderBatch b;
    b.push(c.command);
    expect_bounds(b, c.bounds);
  }
}

TEST(RenderBatch, EmptyPolylineIsKeptWithoutBounds) {
  RenderBatch b;
  b.push(cmd::Polyline{{}, StrokeStyle::solid(1, kOpaqueBlack)});
  EXPECT_EQ(b.commands().size(), 1u);
  EXPECT_FALSE(b.has_bounds());
  EXPECT_EQ(b.min_x(), std::numeric_limits<double>::infinity());
  b.push(cmd::FillRect{{1, 2, 3, 4}, kOpaqueBlack});
  b.push(cmd::FillRect{{-1, 5, 1, 1}, kOpaqueBlack});
  expect_bounds(b, {-1, 2, 4, 6});
}

TEST(RenderBatch, ReplayCallsTheBackendInPushOrderAndSkipsEllipsesAndArcs) {
  RenderBatch b;
  const StrokeStyle s = StrokeStyle::solid(1, kOpaqueBlack);
  b.push(cmd::FillCircle{1, 1, 1, kOpaqueBlack});
  b.push(cmd::FillEllipse{1, 1, 1, 1, kOpaqueBlack});
  b.push(cmd::StrokeEllipse{s, 1, 1, 1, 1});
  b.push(cmd::StrokeArc{s, 1, 1, 1, 0, 1});
  b.push(cmd::Line{s, 0, 0, 1, 1});
  b.push(cmd::Text{"t", TextStyle{}, 0, 0});
  b.push(cmd::Polyline{{{0, 0}, {1, 1}}, s});
  SvgBackend backend(10, 10, 1);
  replay(b, backend);
  const std::string_view body = backend.body();
  const std::string_view tags[] = {"<circle", "<line", "<text", "<polyline"};
  std::size_t at = 0;
  for (std::string_view tag : tags) {
    EXPECT_EQ(body.substr(at, tag.size()), tag);
    at = body.find('\n', at) + 1;
  }
  EXPECT_EQ(at, body.size());
}

}  // namespace
}  // namespace qc::render
