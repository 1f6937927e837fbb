// Which bars a chart draws: the indices a caller asked for, resolved against the bars held at each render.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// An index among n > 0 bars: n + i for a negative one, not yet held within them (below 0: before the first
// bar; n or more: after the last).
inline std::int64_t bar_index_among(std::int64_t i, std::size_t n) {
  const auto count = static_cast<std::int64_t>(std::min<std::uint64_t>(n, INT64_MAX));
  return i < 0 ? count + i : i;  // no overflow: count > 0 > i
}

// An index resolved against n > 0 bars, then held within 0 ... n - 1.
inline std::size_t resolve_bar_index(std::int64_t i, std::size_t n) {
  const auto count = static_cast<std::int64_t>(std::min<std::uint64_t>(n, INT64_MAX));
  return static_cast<std::size_t>(std::clamp<std::int64_t>(bar_index_among(i, n), 0, count - 1));
}

// Why a request selects none of n > 0 bars: it starts after the last, ends before the first, or its first
// bar comes after its last. A request that reaches past the bars on one side only is cut to them.
enum class ViewFault : std::uint8_t { none, first_after_last_bar, last_before_first_bar, reversed };

inline ViewFault view_fault(const ViewRequest& request, std::size_t n) {
  if (bar_index_among(request.first, n) >= static_cast<std::int64_t>(std::min<std::uint64_t>(n, INT64_MAX))) {
    return ViewFault::first_after_last_bar;
  }
  if (bar_index_among(request.last, n) < 0) return ViewFault::last_before_first_bar;
  if (resolve_bar_index(request.first, n) > resolve_bar_index(request.last, n)) return ViewFault::reversed;
  return ViewFault::none;
}

// A refused request's words: the argument at fault ("first", "last", or empty when both together are) and
// what is wrong with it ("100 is after the last bar, 29").
struct ViewRefusal {
  std::string_view argument;
  std::string text;
};
ViewRefusal view_refusal(const ViewRequest& request, std::size_t n, ViewFault fault);

// The bars the request selects among n > 0, or none when it selects none (view_fault).
inline std::optional<BarView> resolve_view(const ViewRequest& request, std::size_t n) {
  if (view_fault(request, n) != ViewFault::none) return std::nullopt;
  return BarView{resolve_bar_index(request.first, n), resolve_bar_index(request.last, n)};
}

// The bars a render draws: a view that selects some but not all of them, else none (all bars drawn).
inline std::optional<BarView> drawn_view(const std::optional<ViewRequest>& request, std::size_t n) {
  if (!request || n == 0) return std::nullopt;
  const auto v = resolve_view(*request, n);
  if (!v || v->count() == n) return std::nullopt;
  return v;
}

}  // namespace qc::api
