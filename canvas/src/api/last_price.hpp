// The last price on the main scale: a dotted line across the plot at the last close, and the close written
// on a tag over the scale, both in the colour of the last bar's direction; a close beyond the pane's range
// has its tag alone, at the pane's edge.
#pragma once

#include "api/config.hpp"
#include "api/main_scale.hpp"
#include "model/series/data.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// The mark of bar `last` (its own open and close) on the main pane: in the theme's up colour when the close
// is at or above the open, else in its down colour; the close written as the scale writes its mark. Nothing
// for a close whose number on the scale is not finite. The close is written in white, or dark where white would
// not stand out from the tag. Outside the pane's range, no line, and the tag stays whole at the nearer edge.
void draw_last_price(render::SvgBackend& out, const model::Bar& last, const ThemeConfig& theme,
                     const MainScale& scale, double plot_width, double width);

}  // namespace qc::api
