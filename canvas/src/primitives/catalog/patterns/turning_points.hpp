// Shared shape of the turning-point patterns: a fixed array of anchors drawn as one polyline with dashed
// guides and a letter beside each point, and the label placed in the box the anchors span.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/pixel_paths.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

// How one pattern type draws its turning points.
struct PatternLook {
  std::span<const std::string_view> labels;                   // one per anchor
  std::span<const std::array<std::size_t, 2>> guides;         // dashed lines between two anchors
  std::string_view font;
  double label_dx;
  double label_dy_even;  // for anchors 0, 2, 4, ...
  double label_dy_odd;
};

// The pattern line in the record's stroke and style, the guides dashed [4, 4], then the labels at the
// anchors' unsnapped pixels when asked. px and look.labels have the same length.
void draw_turning_points(RenderContext& ctx, const PrimitiveData& data, std::span<const PixelPoint> px,
                         const PatternLook& look, bool show_labels);

// The record's label in the pixel box spanned by the anchors (see box_text_anchor); none without text.
std::optional<TextAnchor> pattern_text_anchor(const PrimitiveData& data, const RenderContext& ctx,
                                              std::span<const Point> anchors);

// The record of the harmonic patterns: N anchors in pattern order, missing ones at (0, 0).
template <class Derived, std::size_t N>
class HarmonicPattern : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 2.0;

  std::array<Point, N> anchors{};
  bool show_labels = true;
  bool show_ratios = true;  // stored and written; no ratio is drawn

  void write_fields(JsonWriter& w) const {
    json_entry(w, "points", anchors);
    json_entry(w, "show_labels", show_labels);
    json_entry(w, "show_ratios", show_ratios);
  }
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return pattern_text_anchor(this->data_, ctx, anchors);
  }

 protected:
  void draw(RenderContext& ctx, const PatternLook& look) const {
    draw_turning_points(ctx, this->data_, map_points(ctx, anchors), look, show_labels);
  }
};

}  // namespace qc::primitives::catalog
