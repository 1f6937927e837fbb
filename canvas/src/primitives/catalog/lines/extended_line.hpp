// Extended line: the line through two anchors across the whole chart width.
#pragma once

#include "primitives/catalog/lines/segment.hpp"

namespace qc::primitives::catalog {

class ExtendedLine final : public Segment<ExtendedLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::extended_line;
  static constexpr double kDefaultWidth = 2.0;

  void write_fields(JsonWriter& w) const { write_anchor_fields(w); }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
