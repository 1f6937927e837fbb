// Colour texts as the builders keep them.
#include "api/value_rules.hpp"

#include "render/engine/css_names.hpp"

namespace qc::api {

std::optional<std::string> color_text(std::string_view text) {
  if (render::Color::from_css(text)) return std::string(text);
  if (const std::optional<render::Color> named = render::css_named_color(text)) return render::css_hex_text(*named);
  return std::nullopt;
}

}  // namespace qc::api
