// Table: a grid of text cells, 80 x 24 px each, whose top-left corner is the anchor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class Table final : public PrimitiveBase<Table> {
 public:
  static constexpr BuiltinType kType = BuiltinType::table;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::vector<std::vector<std::string>> rows = {{"Header1", "Header2"}, {"Value1", "Value2"}};
  std::uint8_t columns = 2;
  bool show_header = true;

  static constexpr auto anchor_fields() { return bar_price_anchor<Table>(); }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "rows", rows);
    json_entry(w, "columns", columns);
    json_entry(w, "show_header", show_header);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
