// The bundled font files (DejaVu Sans regular and bold), compiled into the program.
#pragma once

#include <span>

namespace qc::raster {

std::span<const unsigned char> font_file(bool bold);

}  // namespace qc::raster
