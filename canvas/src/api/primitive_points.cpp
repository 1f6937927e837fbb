// Completion of the anchors a description leaves to the pane: the box of a one-point callout.
#include "api/primitive_points.hpp"

#include "primitives/catalog/annotations/callout.hpp"
#include "primitives/registry/catalogue.hpp"

namespace qc::api {

std::span<const Point> creation_points(const PrimitiveConfig& description, const coords::PriceMapping& y,
                                       std::array<Point, 2>& scratch) {
  using primitives::catalog::Callout;
  const bool callout = description.type_id == primitives::builtin_metadata(Callout::kType).type_id;
  if (!callout || description.points.size() != 1) return description.points;
  const Point p = description.points[0];
  // Halves added rather than the sum halved: the ends may be large enough for their sum to overflow. The
  // ends are prices, also on a scale that writes other numbers.
  const double lo = y.unscaled(y.min), hi = y.unscaled(y.max);
  const double middle = lo * 0.5 + hi * 0.5;
  const double step = 0.1 * (hi - lo);
  scratch = {p, Point{p.bar + Callout::kBoxBars, p.price > middle ? p.price - step : p.price + step}};
  return scratch;
}

}  // namespace qc::api
