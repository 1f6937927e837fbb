// A caller's colours and pane height in place of a study row's.
#include "api/indicator_style.hpp"

#include <type_traits>
#include <variant>

namespace qc::api {
namespace {

void take(std::string& color, const std::optional<std::string>& given) {
  if (given) color = *given;
}

}  // namespace

void recolor(model::Indicator& ind, std::span<const VectorColors> colors) {
  std::size_t next = 0;
  for (model::IndicatorVector& vector : ind.vectors) {
    if (vector.style.is_hidden()) continue;
    if (next == colors.size()) return;
    const VectorColors& given = colors[next++];
    std::visit(
        [&](auto& s) {
          using S = std::decay_t<decltype(s)>;
          if constexpr (std::is_same_v<S, model::style::Histogram>) {
            take(s.up_color, given.first);
            take(s.down_color, given.second);
          } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
            take(s.upper_color, given.first);
            take(s.lower_color, given.second);
          } else if constexpr (!std::is_same_v<S, model::style::Hidden>) {
            take(s.color, given.first);
          }
        },
        vector.style.v);
  }
}

DefaultColors default_lines(const IndicatorSpec& row, std::span<const VectorColors> colors) {
  DefaultColors lines = kNoneDefault;
  std::size_t drawn = 0;
  for (std::size_t i = 0; i < row.vectors.size(); ++i) {
    const VectorSpec& v = row.vectors[i];
    if (!is_drawn(v)) continue;
    const bool given = drawn < colors.size() && (colors[drawn].first || colors[drawn].second);
    ++drawn;
    const bool line = v.kind == VectorKind::Line || v.kind == VectorKind::LineThroughGaps ||
                      v.kind == VectorKind::Dashed || v.kind == VectorKind::Dots;
    if (line && !given && !v.color.starts_with('{')) lines |= DefaultColors{1} << i;
  }
  return lines;
}

void set_pane_height(model::Indicator& ind, double height) {
  if (auto* pane = std::get_if<model::placement::SubPane>(&ind.placement)) pane->ratio = height;
  if (auto* band = std::get_if<model::placement::VolumeBand>(&ind.placement)) band->ratio = height;
}

}  // namespace qc::api
