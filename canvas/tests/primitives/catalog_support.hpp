// Helpers for the catalog tool tests: a tool from points, and the path data of what it drew.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support.hpp"

namespace qc::primitives::testing {

// The tool T from its factory, with the default stroke colour unless given one.
template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

// The d attribute of each element, in drawing order.
inline std::vector<std::string> paths(const std::vector<SvgElement>& elements) {
  std::vector<std::string> out;
  out.reserve(elements.size());
  for (const SvgElement& e : elements) out.push_back(e.at("d"));
  return out;
}

}  // namespace qc::primitives::testing
