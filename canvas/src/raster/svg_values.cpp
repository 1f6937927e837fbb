// Attribute value parsers of the SVG subset.
#include "raster/svg_values.hpp"

#include <algorithm>
#include <charconv>
#include <limits>

namespace qc::raster {
namespace {

bool is_space(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

void NumberScanner::skip_spaces() {
  while (i_ < s_.size() && is_space(s_[i_])) ++i_;
}

void NumberScanner::skip_separators() {
  skip_spaces();
  if (i_ < s_.size() && s_[i_] == ',') {
    ++i_;
    skip_spaces();
  }
}

// SVG's number: [sign] (digits [. digits] | . digits) [e [sign] digits]. from_chars reads the rest; a
// leading "+" and the words inf and nan are SVG's business, not its.
std::optional<double> NumberScanner::number() {
  const std::size_t start = i_;
  skip_separators();
  std::size_t j = i_;
  bool negative = false;
  if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) negative = s_[j++] == '-';
  if (j >= s_.size() || !((s_[j] >= '0' && s_[j] <= '9') || s_[j] == '.')) {
    i_ = start;
    return std::nullopt;
  }
  double v = 0.0;
  const auto [end, ec] = std::from_chars(s_.data() + j, s_.data() + s_.size(), v);
  if (ec == std::errc::invalid_argument) {
    i_ = start;
    return std::nullopt;
  }
  // Out of the double's range: NaN, which every caller refuses as it refuses any non-finite value.
  if (ec == std::errc::result_out_of_range) v = std::numeric_limits<double>::quiet_NaN();
  i_ = static_cast<std::size_t>(end - s_.data());
  return negative ? -v : v;
}

std::optional<bool> NumberScanner::flag() {
  skip_separators();
  if (i_ < s_.size() && (s_[i_] == '0' || s_[i_] == '1')) return s_[i_++] == '1';
  return std::nullopt;
}

std::optional<double> number_value(std::string_view s) {
  NumberScanner scan(trim(s));
  const auto v = scan.number();
  if (!v || !scan.at_end()) return std::nullopt;
  return v;
}

std::optional<double> length_value(std::string_view s, double percent_of) {
  s = trim(s);
  double factor = 1.0;
  if (s.ends_with('%')) {
    s.remove_suffix(1);
    factor = percent_of / 100.0;
  } else if (s.ends_with("px")) {
    s.remove_suffix(2);
  }
  const auto v = number_value(s);
  if (!v) return std::nullopt;
  return *v * factor;
}

std::optional<double> offset_value(std::string_view s) {
  s = trim(s);
  const bool percent = s.ends_with('%');
  if (percent) s.remove_suffix(1);
  const auto v = number_value(s);
  if (!v || !(*v == *v)) return std::nullopt;
  return std::clamp(percent ? *v / 100.0 : *v, 0.0, 1.0);
}

std::optional<Paint> paint_value(std::string_view s) {
  s = trim(s);
  if (s == "none") return Paint{};
  if (s.starts_with("url(#") && s.ends_with(')')) {
    Paint p;
    p.kind = Paint::Kind::url;
    p.id = trim(s.substr(5, s.size() - 6));
    return p;
  }
  const auto color = render::Color::from_css(s);
  if (!color) return std::nullopt;
  Paint p;
  p.kind = Paint::Kind::color;
  p.color = *color;
  return p;
}

std::optional<std::array<double, 6>> matrix_value(std::string_view s) {
  s = trim(s);
  if (!s.starts_with("matrix") || !s.ends_with(')')) return std::nullopt;
  s.remove_prefix(6);
  s = trim(s);
  if (!s.starts_with('(')) return std::nullopt;
  NumberScanner scan(s.substr(1, s.size() - 2));
  std::array<double, 6> m{};
  for (double& v : m) {
    const auto n = scan.number();
    if (!n) return std::nullopt;
    v = *n;
  }
  scan.skip_spaces();
  if (!scan.at_end()) return std::nullopt;
  return m;
}

bool dash_value(std::string_view s, std::vector<double>& out) {
  s = trim(s);
  out.clear();
  if (s == "none") return true;
  NumberScanner scan(s);
  while (const auto v = scan.number()) {
    if (!(*v >= 0.0)) return false;
    out.push_back(*v);
  }
  scan.skip_spaces();
  return scan.at_end() && !out.empty();
}

}  // namespace qc::raster
