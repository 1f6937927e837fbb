// Runs of consecutive finite values: every line of the chart breaks at a bar without a value.
#pragma once

#include <cmath>
#include <cstddef>

#include "util/extremes.hpp"

namespace qc::render {

// The first k of [from, n) where ok(k) fails, n when it holds for all: checked a block of bars at a time,
// without a branch per bar.
template <class Ok>
std::size_t first_failing(std::size_t from, std::size_t n, Ok ok) {
  constexpr std::size_t kBlock = 16;
  std::size_t k = from;
  for (; k < n && n - k >= kBlock; k += kBlock) {
    unsigned all = 1;
    for (std::size_t i = 0; i < kBlock; ++i) all &= static_cast<unsigned>(ok(k + i));
    if (all == 0) break;
  }
  while (k < n && ok(k)) ++k;
  return k;
}

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
    const std::size_t end =
        first_failing(first + 1, n, [&](std::size_t k) { return util::all_true(util::finite_value(value(k)), joined(k)); });
    if (end - first >= 2) run(first, end);
    first = end;
  }
}

template <class Value, class Run>
void for_each_finite_run(std::size_t begin, std::size_t n, Value value, Run run) {
  for_each_finite_run(begin, n, value, [](std::size_t) { return true; }, run);
}

}  // namespace qc::render
