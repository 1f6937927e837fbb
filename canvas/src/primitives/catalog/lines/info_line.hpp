// Info line: a segment with a boxed caption at its middle giving the price change, percentage and bar count.
#pragma once

#include <string>

#include "primitives/catalog/lines/segment.hpp"

namespace qc::primitives::catalog {

class InfoLine final : public Segment<InfoLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::info_line;
  static constexpr double kDefaultWidth = 2.0;

  bool show_price_diff = true;
  bool show_percent = true;
  bool show_bars = true;

  // The parts the options ask for, joined by one space: "+4.00 (+4.00%) 10 bars"; the change has the
  // decimals of its prices' level (change_decimals), the percentage two.
  std::string caption() const;

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "show_price_diff", show_price_diff);
    json_entry(w, "show_percent", show_percent);
    json_entry(w, "show_bars", show_bars);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
