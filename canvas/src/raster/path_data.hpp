// Path data of the SVG subset (absolute M L H V Q C A Z) and polyline points, read into a sink of
// move, line, cubic and close commands: quadratics are raised to cubics and arcs split into cubics.
#pragma once

#include <string_view>

namespace qc::raster {

class PathSink {
 public:
  virtual void move_to(double x, double y) = 0;
  virtual void line_to(double x, double y) = 0;
  virtual void curve_to(double x1, double y1, double x2, double y2, double x, double y) = 0;
  virtual void close() = 0;

 protected:
  ~PathSink() = default;
};

// False when the data holds anything else (relative commands included); what came before it has been
// passed on, as SVG draws a path up to its first error.
bool read_path(std::string_view d, PathSink& sink);

// A polyline's "x,y x,y ...": false for an odd count or other text, after passing on the whole pairs.
bool read_points(std::string_view points, PathSink& sink);

// The elliptical arc from (x1, y1) to (x2, y2) as SVG defines it (radii enlarged when too small, a
// straight line when one is zero), as cubics into the sink; `angle` in degrees.
void arc_to(PathSink& sink, double x1, double y1, double rx, double ry, double angle, bool large, bool sweep,
            double x2, double y2);

}  // namespace qc::raster
