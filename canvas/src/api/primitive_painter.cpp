// Drawing tools of one pane: registry lookup, one drawing context per primitive, nothing kept afterwards.
#include "api/primitive_painter.hpp"

#include <memory>

#include "primitives/registry/registry.hpp"

namespace qc::api {

void draw_primitives(render::SvgBackend& out, std::span<const PrimitiveConfig> descriptions, PrimitivePane pane,
                     const primitives::PaneMapping& mapping, double dpr, double canvas_width, double canvas_height) {
  const auto registry = primitives::PrimitiveRegistry::global().read();
  for (const PrimitiveConfig& description : descriptions) {
    if (description.pane != pane) continue;
    const std::unique_ptr<primitives::Primitive> primitive =
        registry->create(description.type_id, description.points, description.color);
    if (!primitive) continue;
    // A fresh context per primitive, so that no stroke, dash, alpha or font setting reaches the next one.
    primitives::SvgRenderContext context(out, mapping, dpr, canvas_width, canvas_height);
    primitive->render(context, false);
  }
}

}  // namespace qc::api
