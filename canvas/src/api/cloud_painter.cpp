// Cloud fills: finite stretches split into runs by which line lies above, joined at the crossing points.
#include "api/cloud_painter.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace qc::api {
namespace {

using render::PixelPoint;

// Where the two lines cross between bars i and i + 1, as a fraction of the way from i. The gaps are taken
// at a quarter so that neither they nor their difference overflow for any finite values; the scaling is
// exact, so the fraction is that of the gaps themselves. The gaps have opposite sign classes, so the
// fraction lies in [0, 1]; gaps that both underflow to 0 give 0.
double crossing_fraction(double cloud_i, double partner_i, double cloud_j, double partner_j) {
  const double gap_i = 0.25 * partner_i - 0.25 * cloud_i;
  const double gap_j = 0.25 * partner_j - 0.25 * cloud_j;
  const double f = gap_i / (gap_i - gap_j);
  return f >= 0.0 && f <= 1.0 ? f : 0.0;
}

class CloudFill {
 public:
  CloudFill(render::SvgBackend& out, std::span<const double> cloud, std::span<const double> partner,
            const CloudColors& colors, const coords::PriceMapping& y, const Layout& layout)
      : out_(out), cloud_(cloud), partner_(partner), colors_(colors), y_(y), layout_(layout) {}

  // Over the drawn bars and the one on either side, so that the fill reaches the plot's edges.
  void draw() {
    const std::size_t size = std::min(cloud_.size(), partner_.size());
    const std::size_t n = layout_.reach_end(size);
    for (std::size_t k = layout_.reach_begin(size); k < n;) {
      if (!valued(k)) {
        ++k;
        continue;
      }
      std::size_t end = k;
      while (end < n && valued(end)) ++end;
      stretch(k, end);
      k = end;
    }
  }

 private:
  bool valued(std::size_t k) const { return std::isfinite(cloud_[k]) && std::isfinite(partner_[k]); }
  // The partner at or above the cloud; the difference keeps its sign even when it overflows.
  bool at_or_above(std::size_t k) const { return partner_[k] - cloud_[k] >= 0.0; }
  double x(std::size_t k) const { return layout_.x(k); }

  // Bars [first, end), all valued: one path per run of one sign class.
  void stretch(std::size_t first, std::size_t end) {
    bool has_start = false;
    PixelPoint start;
    for (std::size_t i = first; i < end; ++i) {
      const bool above = at_or_above(i);
      if (i + 1 < end && at_or_above(i + 1) == above) continue;
      if (i + 1 == end) {
        run(first, i, has_start ? &start : nullptr, nullptr, above);
        break;
      }
      const double f = crossing_fraction(cloud_[i], partner_[i], cloud_[i + 1], partner_[i + 1]);
      const double yi = y_.y(cloud_[i]);
      const PixelPoint cross{x(i) + f * (x(i + 1) - x(i)), yi + f * (y_.y(cloud_[i + 1]) - yi)};
      run(first, i, has_start ? &start : nullptr, &cross, above);
      start = cross;
      has_start = true;
      first = i + 1;
    }
  }

  void run(std::size_t first, std::size_t last, const PixelPoint* start, const PixelPoint* end, bool above) {
    const std::size_t points = 2 * (last - first + 1) + (start ? 1 : 0) + (end ? 1 : 0);
    if (points < 3) return;
    render::LineWriter path(out_, render::FillKind{render::Solid{above ? colors_.partner_at_or_above
                                                                       : colors_.partner_below}});
    if (start) path.add(start->x, start->y);
    for (std::size_t k = first; k <= last; ++k) path.add(x(k), y_.y(partner_[k]));
    if (end) path.add(end->x, end->y);
    for (std::size_t k = last + 1; k-- > first;) path.add(x(k), y_.y(cloud_[k]));
    path.end_closed();
  }

  render::SvgBackend& out_;
  std::span<const double> cloud_;
  std::span<const double> partner_;
  const CloudColors& colors_;
  const coords::PriceMapping& y_;
  const Layout& layout_;
};

}  // namespace

void fill_cloud(render::SvgBackend& out, std::span<const double> cloud, std::span<const double> partner,
                const CloudColors& colors, const coords::PriceMapping& y, const Layout& layout) {
  CloudFill(out, cloud, partner, colors, y, layout).draw();
}

}  // namespace qc::api
