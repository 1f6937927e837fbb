// FreeShape: the anchor list of the polyline and the path, and their label inside the anchors' box.
#pragma once

#include <optional>
#include <vector>

#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

template <class Derived>
class FreeShape : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 2.0;

  std::vector<Point> anchors;  // any length; set_points replaces the whole list

  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    if (anchors.empty() || label_text(this->data_) == nullptr) return std::nullopt;
    return box_text_anchor(this->data_, chart_box(ctx, anchors));
  }
};

}  // namespace qc::primitives::catalog
