// Attribute values of the SVG subset: numbers, lengths, paints, matrices, dash lists, offsets.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "render/engine/types.hpp"

namespace qc::raster {

// Reads numbers one after another, separated by white space and at most one comma (SVG's number lists).
class NumberScanner {
 public:
  explicit NumberScanner(std::string_view s) : s_(s) {}
  // The next number, past the separators before it; nothing (and the scanner where it stood) when there
  // is none.
  std::optional<double> number();
  // An arc's flag: one "0" or "1", which needs no separator after it.
  std::optional<bool> flag();
  void skip_separators();
  void skip_spaces();
  bool at_end() const { return i_ >= s_.size(); }
  char peek() const { return s_[i_]; }
  void advance() { ++i_; }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

// The whole value one number, white space around it allowed.
std::optional<double> number_value(std::string_view s);

// A length: a number, optionally in "px", or a percentage of `percent_of`.
std::optional<double> length_value(std::string_view s, double percent_of);

// A gradient stop's offset: a number or a percentage, clamped to 0..1.
std::optional<double> offset_value(std::string_view s);

struct Paint {
  enum class Kind { none, color, url } kind = Kind::none;
  render::Color color;
  std::string_view id;  // of url(#id)
};
// "none", "url(#id)" or a colour as the core's colour parser reads it.
std::optional<Paint> paint_value(std::string_view s);

// "matrix(a,b,c,d,e,f)", commas or white space between the numbers.
std::optional<std::array<double, 6>> matrix_value(std::string_view s);

// A dash list of non-negative numbers into `out` ("none": empty); false, and `out` unspecified, for any other text.
bool dash_value(std::string_view s, std::vector<double>& out);

}  // namespace qc::raster
