// Highlighter: the translucent colour text and the factory.
#include "primitives/catalog/brushes/highlighter.hpp"

#include <algorithm>
#include <cmath>

#include "util/numbers.hpp"

namespace qc::primitives::catalog {
namespace {

int hex_digit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Two characters as an unsigned base-16 number ("+f" reads as a sign and one digit); unreadable gives 0.
int hex_pair(char a, char b) noexcept {
  const int low = hex_digit(b);
  if (low < 0) return 0;
  if (a == '+') return low;
  const int high = hex_digit(a);
  return high < 0 ? 0 : high * 16 + low;
}

// ", o)" with the opacity in plain shortest decimals. A NaN opacity reads as 0 and an infinite one is
// clamped to 0 or 1, so the colour text always parses.
void append_alpha(std::string& out, double opacity) {
  if (std::isnan(opacity)) opacity = 0.0;
  if (std::isinf(opacity)) opacity = std::clamp(opacity, 0.0, 1.0);
  out += ", ";
  util::append_shortest_fixed(out, opacity);
  out += ')';
}

std::string rgba(int r, int g, int b, double opacity) {
  std::string out = "rgba(" + std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b);
  append_alpha(out, opacity);
  return out;
}

}  // namespace

std::string translucent_color(std::string_view s, double opacity) {
  if (s.empty()) return {};
  if (s.front() == '#') {
    if (s.size() == 7) return rgba(hex_pair(s[1], s[2]), hex_pair(s[3], s[4]), hex_pair(s[5], s[6]), opacity);
    if (s.size() == 4) {
      const auto channel = [](char c) { return std::max(hex_digit(c), 0) * 17; };
      return rgba(channel(s[1]), channel(s[2]), channel(s[3]), opacity);
    }
    return std::string(s);
  }
  if (s.starts_with("rgba(")) {
    const auto close = s.rfind(')');
    const auto comma = close == std::string_view::npos ? close : s.rfind(',', close);
    if (comma == std::string_view::npos) return std::string(s);
    std::string out(s.substr(0, comma));
    append_alpha(out, opacity);
    return out;
  }
  if (s.starts_with("rgb(") && s.size() > 4 && s.back() == ')') {
    std::string out = "rgba(";
    out.append(s.substr(4, s.size() - 5));
    append_alpha(out, opacity);
    return out;
  }
  return std::string(s);
}

void Highlighter::render(RenderContext& ctx, bool) const {
  if (anchors.empty()) return;
  draw_freehand(ctx, anchors, translucent_color(data_.color.stroke, opacity), data_.width);
}

std::unique_ptr<Primitive> create_highlighter(std::span<const Point> points, std::string_view color) {
  return Highlighter::create(points, color);
}

}  // namespace qc::primitives::catalog
