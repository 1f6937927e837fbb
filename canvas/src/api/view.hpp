// Which bars a chart draws: the indices a caller asked for, resolved against the bars held at each render.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace qc::api {

// Bar indices as given: a negative one counts from the end.
struct ViewRequest {
  std::int64_t first = 0;
  std::int64_t last = -1;
};

// Bars first..last of the full series, both inclusive.
struct BarView {
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t count() const { return last - first + 1; }
};

// An index resolved against n > 0 bars: n + i for a negative one, then held within 0 ... n - 1.
inline std::size_t resolve_bar_index(std::int64_t i, std::size_t n) {
  const auto count = static_cast<std::int64_t>(std::min<std::uint64_t>(n, INT64_MAX));
  const std::int64_t k = i < 0 ? count + i : i;  // no overflow: count > 0 > i
  return static_cast<std::size_t>(std::clamp<std::int64_t>(k, 0, count - 1));
}

// The bars the request selects among n > 0, or none when they are empty (first after last).
inline std::optional<BarView> resolve_view(const ViewRequest& request, std::size_t n) {
  const BarView v{resolve_bar_index(request.first, n), resolve_bar_index(request.last, n)};
  if (v.first > v.last) return std::nullopt;
  return v;
}

// The bars a render draws: a view that selects some but not all of them, else none (all bars drawn).
inline std::optional<BarView> drawn_view(const std::optional<ViewRequest>& request, std::size_t n) {
  if (!request || n == 0) return std::nullopt;
  const auto v = resolve_view(*request, n);
  if (!v || v->count() == n) return std::nullopt;
  return v;
}

}  // namespace qc::api
