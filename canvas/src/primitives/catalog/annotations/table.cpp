// Table geometry: a tinted background, the header band, the grid lines, then the cell texts.
#include "primitives/catalog/annotations/table.hpp"

#include <algorithm>

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void Table::render(RenderContext& ctx, bool) const {
  constexpr double kCellWidth = 80.0;
  constexpr double kRowHeight = 24.0;
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const std::size_t row_count = rows.size();
  const double w = columns * kCellWidth;
  const double h = static_cast<double>(row_count) * kRowHeight;

  // "E0" appended makes the stroke nearly opaque; a stroke not of the "#rrggbb" form gives no background.
  ctx.set_fill_color(data_.color.stroke + "E0");
  ctx.fill_rect(s(x), s(y), w, h);
  if (show_header && row_count > 0) {
    ctx.set_fill_color(data_.color.stroke);
    ctx.fill_rect(s(x), s(y), w, kRowHeight);
  }

  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(1.0);
  for (std::size_t i = 0; i <= row_count; ++i) {
    const double row_y = s(y + kRowHeight * static_cast<double>(i));
    stroke_segment(ctx, s(x), row_y, s(x + w), row_y);
  }
  for (unsigned j = 0; j <= columns; ++j) {
    const double col_x = s(x + kCellWidth * j);
    stroke_segment(ctx, col_x, s(y), col_x, s(y + h));
  }

  ctx.set_font("11px sans-serif");
  for (std::size_t i = 0; i < row_count; ++i) {
    ctx.set_fill_color(i == 0 && show_header ? "#000000" : "#FFFFFF");
    const auto& cells = rows[i];
    const std::size_t shown = std::min<std::size_t>(cells.size(), columns);
    for (std::size_t j = 0; j < shown; ++j) {
      ctx.fill_text(cells[j], x + kCellWidth * static_cast<double>(j) + 4.0,
                    y + kRowHeight * static_cast<double>(i) + 16.0);
    }
  }
}

std::unique_ptr<Primitive> create_table(std::span<const Point> points, std::string_view color) {
  return Table::create(points, color);
}

}  // namespace qc::primitives::catalog
