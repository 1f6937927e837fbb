// The CSS named colours: a sorted table read by binary search, for callers that accept colour names.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "render/engine/types.hpp"

namespace qc::render {

struct NamedColor {
  std::string_view name;  // lower case
  Color color;
};

// The 148 CSS colour names and "transparent", sorted by name.
std::span<const NamedColor> css_named_colors();

// The colour a name stands for: any ASCII case, white space around it trimmed as Color::from_css trims.
// Nothing for a text that is no colour name.
std::optional<Color> css_named_color(std::string_view text);

// "#rrggbb" (lower case) for an opaque colour, "#rrggbbaa" otherwise: the text a name is stored as.
std::string css_hex_text(Color c);

}  // namespace qc::render
