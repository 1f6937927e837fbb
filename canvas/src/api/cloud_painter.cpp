// Cloud fills: finite stretches split into runs by which line lies above, joined at the crossing points.
#include "api/cloud_painter.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "render/chart/device_columns.hpp"
#include "render/chart/finite_runs.hpp"

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

// The cloud line: the values given, or one level at every bar (no values given).
struct CloudLine {
  std::span<const double> values;
  double level = 0.0;
  double operator[](std::size_t k) const { return values.empty() ? level : values[k]; }
};

// The runs fill the area between the lines, or, given a stroke, draw the partner's line piece of each run in
// the run's colour.
class CloudFill {
 public:
  CloudFill(render::SvgBackend& out, CloudLine cloud, std::span<const double> partner, const CloudColors& colors,
            const coords::PriceMapping& y, const Layout& layout, const render::StrokeStyle* stroke = nullptr)
      : out_(out), cloud_(cloud), partner_(partner), colors_(colors), y_(y), layout_(layout), stroke_(stroke) {}

  // Over the drawn bars and the one on either side, so that the fill reaches the plot's edges.
  void draw() {
    const std::size_t size = cloud_.values.empty() ? partner_.size() : std::min(cloud_.values.size(), partner_.size());
    const std::size_t n = layout_.reach_end(size);
    for (std::size_t k = layout_.reach_begin(size); k < n;) {
      if (!valued(k)) {
        ++k;
        continue;
      }
      const std::size_t end = render::first_failing(k, n, [&](std::size_t j) { return valued(j); });
      stretch(k, end);
      k = end;
    }
  }

 private:
  bool valued(std::size_t k) const {
    return util::all_true(util::finite_value(cloud_[k]), util::finite_value(partner_[k]));
  }
  // The partner at or above the cloud; the difference keeps its sign even when it overflows.
  bool at_or_above(std::size_t k) const { return partner_[k] - cloud_[k] >= 0.0; }
  double x(std::size_t k) const { return layout_.x(k); }

  // Bars [first, end), all valued: the bars both edges keep at the layout's detail, then one path per run of
  // them of one sign class.
  void stretch(std::size_t first, std::size_t end) {
    kept_.clear();
    const auto keep = [&](std::size_t k) { kept_.push_back(k); };
    const auto partner = [&](std::size_t k) { return partner_[k]; };
    if (cloud_.values.empty()) {
      // A level's lowest and highest bar are the stretch's first, which the partner's points keep anyway.
      render::for_each_kept_point(layout_.columns(), first, end, keep, partner);
    } else {
      render::for_each_kept_point(
          layout_.columns(), first, end, keep, [&](std::size_t k) { return cloud_.values[k]; }, partner);
    }
    const std::size_t count = kept_.size();
    bool has_start = false;
    PixelPoint start;
    std::size_t from = 0;  // the run's first kept bar, by its place in kept_
    for (std::size_t p = 0; p < count; ++p) {
      const std::size_t i = kept_[p];
      const bool above = at_or_above(i);
      if (p + 1 < count && at_or_above(kept_[p + 1]) == above) continue;
      if (p + 1 == count) {
        run(from, p, has_start ? &start : nullptr, nullptr, above);
        break;
      }
      const std::size_t j = kept_[p + 1];
      // The lines are straight in pixels between bars: on a log scale they cross where their pixels do.
      const double f = y_.log ? crossing_fraction(y_.y(cloud_[i]), y_.y(partner_[i]), y_.y(cloud_[j]), y_.y(partner_[j]))
                              : crossing_fraction(cloud_[i], partner_[i], cloud_[j], partner_[j]);
      const double yi = y_.y(cloud_[i]);
      const PixelPoint cross{x(i) + f * (x(j) - x(i)), yi + f * (y_.y(cloud_[j]) - yi)};
      run(from, p, has_start ? &start : nullptr, &cross, above);
      start = cross;
      has_start = true;
      from = p + 1;
    }
  }

  // Kept bars kept_[first..last].
  void run(std::size_t first, std::size_t last, const PixelPoint* start, const PixelPoint* end, bool above) {
    if (stroke_) {
      line(first, last, start, end, above);
      return;
    }
    const std::size_t points = 2 * (last - first + 1) + (start ? 1 : 0) + (end ? 1 : 0);
    if (points < 3) return;
    render::LineWriter path(out_, render::FillKind{render::Solid{above ? colors_.partner_at_or_above
                                                                       : colors_.partner_below}});
    if (start) path.add(start->x, start->y);
    for (std::size_t p = first; p <= last; ++p) path.add(x(kept_[p]), y_.y(partner_[kept_[p]]));
    if (end) path.add(end->x, end->y);
    for (std::size_t p = last + 1; p-- > first;) path.add(x(kept_[p]), y_.y(cloud_[kept_[p]]));
    path.end_closed();
  }

  void line(std::size_t first, std::size_t last, const PixelPoint* start, const PixelPoint* end, bool above) {
    if (last - first + (start ? 1 : 0) + (end ? 1 : 0) < 1) return;  // a lone point
    render::StrokeStyle stroke = *stroke_;
    stroke.color = above ? colors_.partner_at_or_above : colors_.partner_below;
    render::LineWriter path(out_, render::LineWriter::Kind::path);
    if (start) path.add(start->x, start->y);
    for (std::size_t p = first; p <= last; ++p) path.add(x(kept_[p]), y_.y(partner_[kept_[p]]));
    if (end) path.add(end->x, end->y);
    path.end(stroke);
  }

  render::SvgBackend& out_;
  CloudLine cloud_;
  std::span<const double> partner_;
  const CloudColors& colors_;
  const coords::PriceMapping& y_;
  const Layout& layout_;
  const render::StrokeStyle* stroke_;
  std::vector<std::size_t> kept_;  // the stretch's bars the fill passes, reused from stretch to stretch
};

}  // namespace

void fill_cloud(render::SvgBackend& out, std::span<const double> cloud, std::span<const double> partner,
                const CloudColors& colors, const coords::PriceMapping& y, const Layout& layout) {
  CloudFill(out, CloudLine{cloud}, partner, colors, y, layout).draw();
}

void fill_to_level(render::SvgBackend& out, double level, std::span<const double> values, const CloudColors& colors,
                   const coords::PriceMapping& y, const Layout& layout) {
  CloudFill(out, CloudLine{{}, level}, values, colors, y, layout).draw();
}

void stroke_split_at_level(render::SvgBackend& out, double level, std::span<const double> values,
                           const CloudColors& colors, const render::StrokeStyle& stroke,
                           const coords::PriceMapping& y, const Layout& layout) {
  CloudFill(out, CloudLine{{}, level}, values, colors, y, layout, &stroke).draw();
}

}  // namespace qc::api
