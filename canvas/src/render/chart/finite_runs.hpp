// Runs of consecutive finite values: every line of the chart breaks at a bar without a value.
#pragma once

#include <cmath>
#include <cstddef>

namespace qc::render {

// Calls `run(first, end)` for each maximal stretch [first, end) within [begin, n) of at least two consecutive
// bars whose values are finite and which `joined(k)` (bar k continues bar k - 1's stretch) keeps together. A
// line joining the two sides of a gap would bridge bars no data supports, and a lone valued bar has no line
// to draw.
template <class Value, class Joined, class Run>
void for_each_finite_run(std::size_t begin, std::size_t n, Value value, Joined joined, Run run) {
  for (std::size_t first = begin; first < n;) {
    if (!std::isfinite(value(first))) {
      ++first;
      continue;
    }
    std::size_t end = first + 1;
    while (end < n && std::isfinite(value(end)) && joined(end)) ++end;
    if (end - first >= 2) run(first, end);
    first = end;
  }
}

template <class Value, class Run>
void for_each_finite_run(std::size_t begin, std::size_t n, Value value, Run run) {
  for_each_finite_run(begin, n, value, [](std::size_t) { return true; }, run);
}

}  // namespace qc::render
