// Words at a primitive's text anchor: the optional background box, then the text, both under the anchor's
// rotation.
#include "api/primitive_words.hpp"

#include <cmath>

#include "primitives/core/svg_render_context.hpp"

namespace qc::api {

namespace {

// The text anchor of the words at the anchor's x, and the share of their width that lies before x.
struct Alignment {
  render::TextAlign text;
  double before;
};

Alignment alignment(primitives::PrimitiveTextAlign align) {
  switch (align) {
    case primitives::PrimitiveTextAlign::Start: return {render::TextAlign::Start, 0.0};
    case primitives::PrimitiveTextAlign::Center: return {render::TextAlign::Middle, 0.5};
    case primitives::PrimitiveTextAlign::End: return {render::TextAlign::End, 1.0};
  }
  return {render::TextAlign::Middle, 0.5};
}

}  // namespace

void draw_primitive_words(render::SvgBackend& out, const primitives::Primitive& primitive,
                          const primitives::RenderContext& ctx) {
  const auto& text = primitive.data().text;
  if (!text || text->content.empty()) return;
  const auto anchor = primitive.text_anchor(ctx);
  if (!anchor) return;
  const double size = text->font_size;
  if (!std::isfinite(anchor->x) || !std::isfinite(anchor->y) || !std::isfinite(size)) return;

  const render::SvgState saved = out.state();
  if (!primitives::is_upright(anchor->rotation)) {
    const auto rotated = primitives::rotated_about(saved, anchor->x, anchor->y, anchor->rotation);
    if (!rotated) return;
    out.set_state(*rotated);
  }
  const Alignment align = alignment(anchor->align);
  if (anchor->background) {
    const double w = render::estimated_text_width(text->content, size) + 2.0 * anchor->margin;
    const double h = size + 2.0 * anchor->margin;
    if (std::isfinite(w) && std::isfinite(h)) {
      out.fill_rect({anchor->x - w * align.before, anchor->y - h * 0.5, w, h},
                    render::css_or(*anchor->background, render::kTransparent));
    }
  }
  render::TextStyle style;
  style.font_size = size;
  style.color = render::css_or(anchor->color, render::kOpaqueWhite);
  style.align = align.text;
  style.baseline = render::TextBaseline::Middle;
  out.text(text->content, style, anchor->x, anchor->y);
  out.set_state(saved);
}

}  // namespace qc::api
