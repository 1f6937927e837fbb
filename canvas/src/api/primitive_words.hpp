// The caller's words of a drawing tool, written at the place the tool names for its label.
#pragma once

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Writes the primitive's words (data.text) at its text anchor: sans-serif at the text's font size, in the
// anchor's colour, with the start, middle or end the anchor names at its x, over the anchor's background box
// when it has one (around the words, margin wide) and turned by its rotation when that is finite. Nothing
// is written without an anchor, for empty words, or where the anchor or the size is not finite.
void draw_primitive_words(render::SvgBackend& out, const primitives::Primitive& primitive,
                          const primitives::RenderContext& ctx);

}  // namespace qc::api
