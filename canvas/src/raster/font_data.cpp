// The font files, taken byte for byte into read-only data when the module is built: nothing is looked up
// at run time. The build passes their paths (QC_FONT_REGULAR, QC_FONT_BOLD).
#include "raster/font_data.hpp"

#if !defined(QC_FONT_REGULAR) || !defined(QC_FONT_BOLD)
#error "the build names the font files in QC_FONT_REGULAR and QC_FONT_BOLD"
#endif

#define QC_FONT_BLOB(symbol, path)                  \
  ".balign 16\n"                                    \
  ".globl " symbol "\n"                             \
  ".hidden " symbol "\n"                            \
  ".type " symbol ", @object\n" symbol ":\n"        \
  ".incbin \"" path "\"\n"                          \
  ".globl " symbol "_end\n"                         \
  ".hidden " symbol "_end\n" symbol "_end:\n"

asm(".pushsection .rodata\n"
    QC_FONT_BLOB("qc_raster_font_regular", QC_FONT_REGULAR)
    QC_FONT_BLOB("qc_raster_font_bold", QC_FONT_BOLD)
    ".popsection\n");

extern "C" {
extern const unsigned char qc_raster_font_regular[];
extern const unsigned char qc_raster_font_regular_end[];
extern const unsigned char qc_raster_font_bold[];
extern const unsigned char qc_raster_font_bold_end[];
}

namespace qc::raster {

std::span<const unsigned char> font_file(bool bold) {
  if (bold) return {qc_raster_font_bold, qc_raster_font_bold_end};
  return {qc_raster_font_regular, qc_raster_font_regular_end};
}

}  // namespace qc::raster
