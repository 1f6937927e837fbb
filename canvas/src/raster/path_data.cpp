// The path data reader and the arc's conversion from end points to cubics.
#include "raster/path_data.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "raster/svg_values.hpp"

namespace qc::raster {
namespace {

double vector_angle(double ux, double uy, double vx, double vy) {
  return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

}  // namespace

// SVG 1.1's implementation notes F.6.5 (end points to centre) and F.6.6 (radii out of range).
void arc_to(PathSink& sink, double x1, double y1, double rx, double ry, double angle, bool large, bool sweep,
            double x2, double y2) {
  if (x1 == x2 && y1 == y2) return;
  rx = std::fabs(rx), ry = std::fabs(ry);
  if (rx == 0.0 || ry == 0.0) {
    sink.line_to(x2, y2);
    return;
  }
  const double phi = angle * std::numbers::pi / 180.0;
  const double cos_p = std::cos(phi), sin_p = std::sin(phi);
  const double dx = (x1 - x2) / 2, dy = (y1 - y2) / 2;
  const double x1p = cos_p * dx + sin_p * dy, y1p = -sin_p * dx + cos_p * dy;
  const double lambda = (x1p * x1p) / (rx * rx) + (y1p * y1p) / (ry * ry);
  if (lambda > 1.0) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }
  const double num = rx * rx * ry * ry - rx * rx * y1p * y1p - ry * ry * x1p * x1p;
  const double den = rx * rx * y1p * y1p + ry * ry * x1p * x1p;
  double coef = den > 0.0 ? std::sqrt(std::fmax(0.0, num / den)) : 0.0;
  if (large == sweep) coef = -coef;
  const double cxp = coef * rx * y1p / ry, cyp = -coef * ry * x1p / rx;
  const double cx = cos_p * cxp - sin_p * cyp + (x1 + x2) / 2;
  const double cy = sin_p * cxp + cos_p * cyp + (y1 + y2) / 2;
  const double ux = (x1p - cxp) / rx, uy = (y1p - cyp) / ry;
  const double vx = (-x1p - cxp) / rx, vy = (-y1p - cyp) / ry;
  const double theta = vector_angle(1.0, 0.0, ux, uy);
  double delta = vector_angle(ux, uy, vx, vy);
  if (!sweep && delta > 0) delta -= 2 * std::numbers::pi;
  if (sweep && delta < 0) delta += 2 * std::numbers::pi;
  if (!std::isfinite(delta) || !std::isfinite(cx) || !std::isfinite(cy)) {
    sink.line_to(x2, y2);
    return;
  }

  // Pieces of at most a quarter turn, each one cubic on the unit circle mapped onto the ellipse.
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (std::numbers::pi / 2) - 1e-9)));
  const double step = delta / pieces;
  const double t = 4.0 / 3.0 * std::tan(step / 4);
  const auto map_x = [&](double ex, double ey) { return cx + rx * cos_p * ex - ry * sin_p * ey; };
  const auto map_y = [&](double ex, double ey) { return cy + rx * sin_p * ex + ry * cos_p * ey; };
  double a = theta;
  for (int i = 0; i < pieces; ++i) {
    const double b = i + 1 == pieces ? theta + delta : a + step;
    const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    const double c1x = ca - t * sa, c1y = sa + t * ca;
    const double c2x = cb + t * sb, c2y = sb - t * cb;
    const bool last = i + 1 == pieces;
    sink.curve_to(map_x(c1x, c1y), map_y(c1x, c1y), map_x(c2x, c2y), map_y(c2x, c2y),
                  last ? x2 : map_x(cb, sb), last ? y2 : map_y(cb, sb));
    a = b;
  }
}

bool read_path(std::string_view d, PathSink& sink) {
  NumberScanner scan(d);
  char command = 0;
  double x = 0, y = 0;            // the current point
  double start_x = 0, start_y = 0;  // the subpath's first point, where Z returns
  double n[7];
  const auto numbers = [&](int count) {
    for (int i = 0; i < count; ++i) {
      const auto v = scan.number();
      if (!v || !std::isfinite(*v)) return false;
      n[i] = *v;
    }
    return true;
  };
  for (;;) {
    scan.skip_spaces();
    if (scan.at_end()) return true;
    const char c = scan.peek();
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      if (command == 0 && c != 'M') return false;  // a path begins with a move
      command = c;
      scan.advance();
      if (command == 'Z') {
        sink.close();
        x = start_x, y = start_y;
        continue;
      }
    } else if (command == 0 || command == 'Z') {
      return false;
    } else {
      scan.skip_separators();  // a comma may stand between repeated argument groups
    }
    switch (command) {
      case 'M':
        if (!numbers(2)) return false;
        x = start_x = n[0], y = start_y = n[1];
        sink.move_to(x, y);
        command = 'L';  // further pairs are lines
        break;
      case 'L':
        if (!numbers(2)) return false;
        x = n[0], y = n[1];
        sink.line_to(x, y);
        break;
      case 'H':
        if (!numbers(1)) return false;
        x = n[0];
        sink.line_to(x, y);
        break;
      case 'V':
        if (!numbers(1)) return false;
        y = n[0];
        sink.line_to(x, y);
        break;
      case 'h':
        if (!numbers(1)) return false;
        x += n[0];
        sink.line_to(x, y);
        break;
      case 'v':
        if (!numbers(1)) return false;
        y += n[0];
        sink.line_to(x, y);
        break;
      case 'Q': {
        if (!numbers(4)) return false;
        // The cubic through the same control polygon: each control point 2/3 of the way to the quadratic's.
        sink.curve_to(x + 2.0 / 3.0 * (n[0] - x), y + 2.0 / 3.0 * (n[1] - y), n[2] + 2.0 / 3.0 * (n[0] - n[2]),
                      n[3] + 2.0 / 3.0 * (n[1] - n[3]), n[2], n[3]);
        x = n[2], y = n[3];
        break;
      }
      case 'C':
        if (!numbers(6)) return false;
        sink.curve_to(n[0], n[1], n[2], n[3], n[4], n[5]);
        x = n[4], y = n[5];
        break;
      case 'A': {
        if (!numbers(3)) return false;
        const auto large = scan.flag();
        const auto sweep = scan.flag();
        if (!large || !sweep) return false;
        const double rx = n[0], ry = n[1], angle = n[2];
        if (!numbers(2)) return false;
        arc_to(sink, x, y, rx, ry, angle, *large, *sweep, n[0], n[1]);
        x = n[0], y = n[1];
        break;
      }
      default:
        return false;
    }
  }
}

bool read_points(std::string_view points, PathSink& sink) {
  NumberScanner scan(points);
  bool first = true;
  for (;;) {
    const auto x = scan.number();
    if (!x) break;
    const auto y = scan.number();
    if (!y || !std::isfinite(*x) || !std::isfinite(*y)) return false;
    first ? sink.move_to(*x, *y) : sink.line_to(*x, *y);
    first = false;
  }
  scan.skip_spaces();
  return scan.at_end();
}

}  // namespace qc::raster
