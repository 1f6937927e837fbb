// Level labels of the Fibonacci retracement and extension.
#include "primitives/catalog/fibonacci/level_labels.hpp"

#include "primitives/catalog/common/labels.hpp"
#include "util/fixed.hpp"
#include "util/numbers.hpp"

namespace qc::primitives::catalog::fibonacci {

void write_level_label(std::string& out, double ratio, double price, LevelLabelParts parts) {
  out.clear();
  if (parts.ratio) util::append_shortest_fixed(out, ratio);
  if (!parts.price) return;
  if (parts.ratio) out += ' ';
  out += '(';
  util::append_fixed2(out, price);
  out += ')';
}

void draw_level_label(RenderContext& ctx, std::string_view text, std::string_view color, double left, double level_y) {
  if (text.empty()) return;
  constexpr double kSize = 10.0;
  ctx.set_font("10px sans-serif");
  fill_caption(ctx, text, color, left + 4.0, level_y - 8.0, kSize);
}

}  // namespace qc::primitives::catalog::fibonacci
