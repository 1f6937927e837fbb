// Highlighter: a broad free-hand stroke in a translucent version of the primitive's colour.
#pragma once

#include <string>
#include <string_view>

#include "primitives/catalog/brushes/freehand.hpp"

namespace qc::primitives::catalog {

// The colour text rewritten with the opacity as its alpha: "#rrggbb" and "#rgb" become "rgba(r, g, b, o)",
// an "rgba(...)" has its alpha replaced, an "rgb(...)" gains one; any other text comes back unchanged.
std::string translucent_color(std::string_view color, double opacity);

class Highlighter final : public Freehand<Highlighter> {
 public:
  static constexpr BuiltinType kType = BuiltinType::highlighter;
  static constexpr double kDefaultWidth = 20.0;

  double opacity = 0.4;

  void write_fields(JsonWriter& w) const {
    write_freehand_fields(w);
    json_entry(w, "opacity", opacity);
  }
  void render(RenderContext& ctx, bool) const override;
};

}  // namespace qc::primitives::catalog
