// The words of a refused view, shared by the builder, the JSON reader and the page's core.
#include "api/view.hpp"

namespace qc::api {

ViewRefusal view_refusal(const ViewRequest& request, std::size_t n, ViewFault fault) {
  const auto count = static_cast<std::int64_t>(std::min<std::uint64_t>(n, INT64_MAX));
  switch (fault) {
    case ViewFault::first_after_last_bar:
      return {"first", std::to_string(request.first) + " is after the last bar, " + std::to_string(count - 1)};
    case ViewFault::last_before_first_bar:
      // Only a negative index ends before the first bar: it is answered in its own counting, from the end.
      return {"last", std::to_string(request.last) + " is before the first bar, " + std::to_string(-count)};
    case ViewFault::reversed:
    case ViewFault::none: break;
  }
  return {"", "selects no bars: of the " + std::to_string(n) + " bars held, first is bar " +
                  std::to_string(resolve_bar_index(request.first, n)) + " and last is bar " +
                  std::to_string(resolve_bar_index(request.last, n))};
}

}  // namespace qc::api
