// Dense lines: the short segments' boxes into a coverage mask laid on at once, the long ones stroked.
#include "raster/dense_lines.hpp"

#include <algorithm>
#include <cmath>

namespace qc::raster {

void LinePoints::clear() {
  points_.clear();
  starts_.clear();
  closes_.clear();
  straight_ = true;
}

void LinePoints::move_to(double x, double y) {
  starts_.push_back(points_.size());
  points_.push_back({x, y});
}

void LinePoints::line_to(double x, double y) {
  if (starts_.empty()) starts_.push_back(0);  // cairo starts a path's first line at its own point too
  points_.push_back({x, y});
}

void LinePoints::replay(PathSink& sink) const {
  std::size_t next = 0, close = 0;
  for (std::size_t i = 0; i <= points_.size(); ++i) {
    for (; close < closes_.size() && closes_[close] == i; ++close) sink.close();
    if (i == points_.size()) break;
    const Point& p = points_[i];
    if (next < starts_.size() && starts_[next] == i) {
      sink.move_to(p.x, p.y);
      ++next;
    } else {
      sink.line_to(p.x, p.y);
    }
  }
}

namespace {

using Point = LinePoints::Point;

// Calls f(a, b) for each subpath's points [a, b).
template <class F>
void for_each_subpath(const LinePoints& lines, F&& f) {
  const std::vector<std::size_t>& starts = lines.starts();
  for (std::size_t s = 0; s < starts.size(); ++s) {
    f(starts[s], s + 1 < starts.size() ? starts[s + 1] : lines.points().size());
  }
}

// Segments from a point to the next within one column or into the neighbouring one are boxed.
bool boxed(const std::vector<double>& columns, std::size_t i) { return std::abs(columns[i + 1] - columns[i]) <= 1.0; }

struct Box {
  double x0, y0, x1, y1;
};

// Calls f with boxes, in device pixels, whose union is the stroke of the segment from p to q: the segment
// cut into pieces at most half a pixel across, each piece's box reaching half the width out across the
// segment's direction (a box of those reaches, swept along the segment, is the stroke's band exactly; the
// pieces keep its corners small). None for a segment of no length, whose stroke is nothing.
template <class F>
void segment_boxes(Point p, Point q, double half, F&& f) {
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double length = std::sqrt(dx * dx + dy * dy);  // device pixels: far from overflow
  if (!(length > 0.0)) return;
  const double reach_x = half * std::abs(dy) / length, reach_y = half * std::abs(dx) / length;
  const double pieces = std::max(1.0, std::ceil(2.0 * std::abs(dx)));
  Point a = p;
  for (double k = 1.0; k <= pieces; k += 1.0) {
    const Point b = k == pieces ? q : Point{p.x + dx * (k / pieces), p.y + dy * (k / pieces)};
    f(Box{std::min(a.x, b.x) - reach_x, std::min(a.y, b.y) - reach_y, std::max(a.x, b.x) + reach_x,
          std::max(a.y, b.y) + reach_y});
    a = b;
  }
}

// The share of device pixel [k, k + 1) that [lo, hi) covers.
double cover(double lo, double hi, int k) { return std::min(hi, k + 1.0) - std::max(lo, static_cast<double>(k)); }

// A share of a pixel as a mask's byte.
unsigned char level(double share) { return static_cast<unsigned char>(255.0 * share + 0.5); }

// An A8 mask over device pixels [x0, x0 + width) x [y0, y0 + height), its bytes in `bytes`.
class CoverageMask {
 public:
  CoverageMask(std::vector<unsigned char>& bytes, int x0, int y0, int width, int height)
      : bytes_(bytes), x0_(x0), y0_(y0), width_(width), height_(height),
        stride_(cairo_format_stride_for_width(CAIRO_FORMAT_A8, width)) {
    bytes_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height), 0);
  }

  // Each pixel keeps the most coverage any box gives it. A box spans a few columns and many rows: the
  // columns' shares are worked out once, and the rows between its first and last are covered whole.
  void add(const Box& box) {
    const double left = std::max(box.x0, static_cast<double>(x0_));
    const double right = std::min(box.x1, static_cast<double>(x0_ + width_));
    const double top = std::max(box.y0, static_cast<double>(y0_));
    const double bottom = std::min(box.y1, static_cast<double>(y0_ + height_));
    if (!(left < right && top < bottom)) return;
    const int i0 = static_cast<int>(std::floor(left)), i1 = static_cast<int>(std::ceil(right));
    const int j0 = static_cast<int>(std::floor(top)), j1 = static_cast<int>(std::ceil(bottom));
    constexpr int kMostColumns = 16;  // a chunk of a wide box's columns at a time
    for (int c0 = i0; c0 < i1; c0 += kMostColumns) {
      const int columns = std::min(i1 - c0, kMostColumns);
      double share[kMostColumns];
      unsigned char whole[kMostColumns];
      for (int i = 0; i < columns; ++i) {
        share[i] = cover(left, right, c0 + i);
        whole[i] = level(share[i]);
      }
      for (int j = j0; j < j1; ++j) {
        unsigned char* row = bytes_.data() + static_cast<std::size_t>(j - y0_) * static_cast<std::size_t>(stride_) +
                             (c0 - x0_);
        const bool edge = j == j0 || j == j1 - 1;
        const double fy = edge ? cover(top, bottom, j) : 1.0;
        for (int i = 0; i < columns; ++i) row[i] = std::max(row[i], edge ? level(fy * share[i]) : whole[i]);
      }
    }
  }

  // Lays cairo's source on through the mask.
  void paint(cairo_t* cr) {
    cairo_surface_t* mask =
        cairo_image_surface_create_for_data(bytes_.data(), CAIRO_FORMAT_A8, width_, height_, stride_);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_mask_surface(cr, mask, x0_, y0_);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
  }

 private:
  std::vector<unsigned char>& bytes_;
  int x0_, y0_, width_, height_, stride_;
};

}  // namespace

bool crowds_columns(cairo_t* cr, const LinePoints& lines, DenseScratch& scratch) {
  const std::vector<Point>& p = lines.points();
  if (p.size() < kLongLine || lines.starts().size() != 1) return false;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (!(m.xy == 0.0 && m.yx == 0.0 && m.xx > 0.0 && m.yy == m.xx)) return false;
  scratch.columns.resize(p.size());
  for (std::size_t i = 0; i < p.size(); ++i) scratch.columns[i] = std::floor(m.xx * p[i].x + m.x0);
  bool shared = false;
  for_each_subpath(lines, [&](std::size_t a, std::size_t b) {
    for (std::size_t i = a; i + 1 < b && !shared; ++i) shared = scratch.columns[i] == scratch.columns[i + 1];
  });
  return shared;
}

void stroke_dense_lines(cairo_t* cr, const LinePoints& lines, double width, DenseScratch& scratch) {
  const std::vector<Point>& p = lines.points();
  const std::vector<double>& columns = scratch.columns;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  const auto device = [&](std::size_t i) { return Point{m.xx * p[i].x + m.x0, m.yy * p[i].y + m.y0}; };
  const double half = width * m.xx / 2;

  // The boxes' bounds, within the clip's.
  const auto for_each_box = [&](auto&& f) {
    for_each_subpath(lines, [&](std::size_t a, std::size_t b) {
      for (std::size_t i = a; i + 1 < b; ++i) {
        if (boxed(columns, i)) segment_boxes(device(i), device(i + 1), half, f);
      }
    });
  };
  Box bounds{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for_each_box([&](const Box& box) {
    bounds = {std::min(bounds.x0, box.x0), std::min(bounds.y0, box.y0), std::max(bounds.x1, box.x1),
              std::max(bounds.y1, box.y1)};
  });
  double cx0 = 0.0, cy0 = 0.0, cx1 = 0.0, cy1 = 0.0;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
  cairo_restore(cr);
  const double x0 = std::floor(std::max(bounds.x0, cx0)), y0 = std::floor(std::max(bounds.y0, cy0));
  const double x1 = std::ceil(std::min(bounds.x1, cx1)), y1 = std::ceil(std::min(bounds.y1, cy1));
  if (x0 < x1 && y0 < y1) {
    CoverageMask mask(scratch.mask, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                      static_cast<int>(y1 - y0));
    for_each_box([&](const Box& box) { mask.add(box); });
    mask.paint(cr);
  }

  cairo_new_path(cr);
  bool longer = false;
  for_each_subpath(lines, [&](std::size_t a, std::size_t b) {
    bool open = false;
    for (std::size_t i = a; i + 1 < b; ++i) {
      if (boxed(columns, i)) {
        open = false;
        continue;
      }
      if (!open) cairo_move_to(cr, p[i].x, p[i].y);
      cairo_line_to(cr, p[i + 1].x, p[i + 1].y);
      open = longer = true;
    }
  });
  if (!longer) return;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_width(cr, width);
  cairo_set_dash(cr, nullptr, 0, 0.0);
  cairo_stroke(cr);
}

}  // namespace qc::raster
