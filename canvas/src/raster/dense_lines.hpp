// Stroked straight lines whose points crowd the device columns (a long series drawn at many bars per
// pixel): their short segments laid on as one coverage mask of boxes rather than stroked as hundreds of
// long, overlapping slivers.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <vector>

#include "raster/path_data.hpp"

namespace qc::raster {

// The points of a path of straight lines, as its subpaths; `straight` is false once a curve came.
class LinePoints final : public PathSink {
 public:
  struct Point {
    double x, y;
  };
  void clear();
  void move_to(double x, double y) override;
  void line_to(double x, double y) override;
  void curve_to(double, double, double, double, double, double) override { straight_ = false; }
  void close() override { closes_.push_back(points_.size()); }

  bool straight() const { return straight_; }
  bool closed() const { return !closes_.empty(); }
  const std::vector<Point>& points() const { return points_; }
  // Index of each subpath's first point, in order.
  const std::vector<std::size_t>& starts() const { return starts_; }
  // The same path onto another sink.
  void replay(PathSink& sink) const;

 private:
  std::vector<Point> points_;
  std::vector<std::size_t> starts_;
  std::vector<std::size_t> closes_;  // the count of points when each close came
  bool straight_ = true;
};

// What a dense line's drawing reuses from line to line: the points' device columns and the mask's bytes.
struct DenseScratch {
  std::vector<double> columns;
  std::vector<unsigned char> mask;
};

// Whether the lines are one long line crowding the device columns of cairo's current matrix, which must
// scale both ways alike and neither turn nor skew: one subpath of at least kLongLine points, two consecutive
// ones sharing a column. Below that length cairo's own stroke costs little, and the picture stays exactly
// the stroke's; many short subpaths (a batch of wicks or ticks) are left to cairo too.
inline constexpr std::size_t kLongLine = 1024;
bool crowds_columns(cairo_t* cr, const LinePoints& lines, DenseScratch& scratch);

// A fill of such a path is done with cairo's fast antialiasing (its edges' coverage sampled on 4 x 4 points of
// a pixel): its long edges zigzagging up and down each column cost the fine scan converter several times
// as much, for a difference only in the shades of its edge pixels.

// Draws the lines' stroke (butt caps, no dashes, cairo's current source and join) after crowds_columns
// said yes. Each segment within one device column or between two neighbouring ones becomes the box its
// stroke spans, half the width out across its direction; the boxes' coverage of each device pixel (the
// most any box gives it) is laid on through one mask. Longer segments are stroked by cairo, joined where
// they meet.
void stroke_dense_lines(cairo_t* cr, const LinePoints& lines, double width, DenseScratch& scratch);

}  // namespace qc::raster
