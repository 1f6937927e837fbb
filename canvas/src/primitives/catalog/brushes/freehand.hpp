// Freehand: the anchor list, smoothed round-capped stroke and JSON head shared by the brush and highlighter.
#pragma once

#include <string_view>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

// Draws the free-hand stroke through the anchors in the given colour at the record's width: nothing for
// no anchor, a dot for one, a segment for two, a curve smoothed through the midpoints for more.
void draw_freehand(RenderContext& ctx, std::span<const Point> anchors, std::string_view color, double width);

template <class Derived>
class Freehand : public PrimitiveBase<Derived> {
 public:
  std::vector<Point> anchors;  // any length; set_points replaces the whole list
  double brush_size = Derived::kDefaultWidth;  // stored and written; the stroke is drawn at data.width

 protected:
  void write_freehand_fields(JsonWriter& w) const {
    json_entry(w, "points", anchors);
    json_entry(w, "brush_size", brush_size);
  }
};

}  // namespace qc::primitives::catalog
