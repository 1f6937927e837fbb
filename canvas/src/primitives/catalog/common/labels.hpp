// Label placement rules shared by the built-in primitives: alignment picks and offsets, line, offset and
// box anchors.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// The record's text when it has non-empty content; labels are placed only then.
const PrimitiveText* label_text(const PrimitiveData& data) noexcept;

// One of three values by alignment: Start, Center, End.
constexpr double pick(PrimitiveTextAlign align, double start, double center, double end) noexcept {
  switch (align) {
    case PrimitiveTextAlign::Start: return start;
    case PrimitiveTextAlign::Center: return center;
    case PrimitiveTextAlign::End: return end;
  }
  return center;
}

// Distance of a label from the thing it labels: half the font size plus 8 px.
constexpr double label_offset(const PrimitiveText& text) noexcept { return text.font_size * 0.5 + 8.0; }

// -offset, 0 or +offset by alignment.
constexpr double align_offset(PrimitiveTextAlign align, double offset) noexcept {
  return pick(align, -offset, 0.0, offset);
}

// Along a two-anchor line: h_align picks the start, middle or end of the segment, v_align moves the label
// across it (Start above a left-to-right line); the rotation follows the line and never reads upside down.
std::optional<TextAnchor> line_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point a, Point b);

// At one anchor, moved by both alignments' offsets.
std::optional<TextAnchor> offset_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point anchor);

struct PixelBox {
  double left, top, right, bottom;
};

// The pixel box of a set of anchors: smallest and largest bar and price (NaN coordinates skipped), mapped
// with the smallest bar at the left and the largest price at the top.
PixelBox chart_box(const RenderContext& ctx, std::span<const Point> points) noexcept;

// Inside a box: 10 px in from the edge the alignment names (plus half the font size vertically), or its
// middle for Center.
std::optional<TextAnchor> box_text_anchor(const PrimitiveData& data, const PixelBox& box);

// The context draws a text from its alphabetic baseline: a text whose middle is to lie at y has its
// baseline 0.3 of the font size below.
constexpr double baseline_below(double middle_y, double font_size) noexcept { return middle_y + 0.3 * font_size; }


// A caption of a tool's level or box: from x (moved left, where the text would pass the plot's right edge,
// to end 4 px inside it), its middle at middle_y on the central baseline, over the chart's text backing, in
// `color` and the current font.
void fill_caption(RenderContext& ctx, std::string_view text, std::string_view color, double x, double middle_y,
                  double font_size);

// Behind a text about to be drawn from its start with its baseline at (x, y) in the current font: a rect in
// the chart's background colour at alpha 0xCC from 2 px before to 2 px after the text's measured width, one
// font size tall plus 2 px above and below, centred on the text. Nothing where the context knows no
// background. Leaves the fill colour to the caller.
void fill_text_backing(RenderContext& ctx, std::string_view text, double x, double y, double font_size);

}  // namespace qc::primitives::catalog
