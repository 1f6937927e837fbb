// Default colours that give way where their pane already draws them, decided once as a record is added, so
// that its JSON, a pickle and the page draw what the chart drew.
#include "api/series_colors.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "render/engine/css_names.hpp"
#include "render/engine/types.hpp"

namespace qc::api {
namespace {

// Colours meet by red, green and blue: a fill at alpha 0x33 draws the colour it tints, and a band at half
// alpha the line it surrounds.
std::optional<std::uint32_t> hue(std::string_view text) {
  const std::optional<render::Color> c = render::Color::from_css(text);
  if (!c) return std::nullopt;
  return c->word() & 0xffffffu;
}

// The palette's colour with `hue`, by place; none for other colours.
std::optional<std::size_t> palette_place(std::uint32_t h) {
  for (std::size_t k = 0; k < kUserSeriesColors.size(); ++k) {
    if (hue(kUserSeriesColors[k]) == h) return k;
  }
  return std::nullopt;
}

// The pane a record is drawn in: 0 the main pane, k + 1 sub-pane k. `made` counts the sub-panes made by the
// records before it, in order.
std::uint64_t pane_of(const model::Indicator& ind, std::uint64_t& made) {
  if (std::holds_alternative<model::placement::SubPane>(ind.placement)) return ++made;
  if (const auto* joins = std::get_if<model::placement::Joins>(&ind.placement)) return joins->sub_pane + 1;
  return 0;
}

// f(text) for each colour text a vector's style holds; empty texts (the chart's own colours) are left out.
template <class Vector, class F>
void each_color_text(Vector& vector, F&& f) {
  const auto each = [&](auto&... texts) { ((texts.empty() ? void() : f(texts)), ...); };
  std::visit(
      [&](auto& s) {
        using S = std::remove_cvref_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Line>) {
          each(s.color, s.up_color, s.down_color);
        } else if constexpr (std::is_same_v<S, model::style::Histogram>) {
          each(s.up_color, s.down_color);
        } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
          each(s.upper_color, s.lower_color);
        } else if constexpr (!std::is_same_v<S, model::style::Hidden>) {
          each(s.color);
        }
      },
      vector.style.v);
}

// f(hue) for each colour a vector draws: a histogram without colours of its own draws the chart's.
template <class F>
void each_drawn_hue(const model::IndicatorVector& vector, const ThemeConfig& theme, F&& f) {
  const auto of = [&](std::string_view text) {
    if (const std::optional<std::uint32_t> h = hue(text)) f(*h);
  };
  const auto* histogram = std::get_if<model::style::Histogram>(&vector.style.v);
  if (histogram != nullptr && histogram->takes_chart_colors()) {
    of(theme.up_color);
    of(theme.down_color);
    return;
  }
  each_color_text(vector, of);
}

bool is_default(DefaultColors defaults, std::size_t i) { return i < 32 && (defaults >> i & 1) != 0; }

using PaletteMask = std::uint32_t;  // bit k: the record draws palette colour k
static_assert(kUserSeriesColors.size() <= 32);

void give_way(const ChartConfig& config, model::Indicator& record, DefaultColors defaults) {
  std::uint64_t made = 0;
  for (const model::Indicator& ind : config.indicators) pane_of(ind, made);
  const std::uint64_t pane = pane_of(record, made);
  made = 0;
  std::vector<std::uint32_t> before;  // the hues the pane's earlier records draw
  std::array<std::size_t, kUserSeriesColors.size()> drawn{};  // the earlier records drawing each palette colour
  for (const model::Indicator& ind : config.indicators) {
    if (pane_of(ind, made) != pane) continue;
    PaletteMask mask = 0;
    for (const model::IndicatorVector& v : ind.vectors) {
      each_drawn_hue(v, config.theme, [&](std::uint32_t h) {
        before.push_back(h);
        if (const auto k = palette_place(h)) mask |= PaletteMask{1} << *k;
      });
    }
    for (std::size_t k = 0; k < drawn.size(); ++k) drawn[k] += mask >> k & 1;
  }
  const auto met = [&](std::uint32_t h) { return std::find(before.begin(), before.end(), h) != before.end(); };
  // What the record draws besides the colours that give way.
  PaletteMask own = 0;
  for (std::size_t i = 0; i < record.vectors.size(); ++i) {
    each_drawn_hue(record.vectors[i], config.theme, [&](std::uint32_t h) {
      const auto k = palette_place(h);
      if (k && !(is_default(defaults, i) && met(h))) own |= PaletteMask{1} << *k;
    });
  }
  std::vector<std::pair<std::uint32_t, std::size_t>> taken;  // a default hue and the palette colour it took
  for (std::size_t i = 0; i < record.vectors.size(); ++i) {
    if (!is_default(defaults, i)) continue;
    each_color_text(record.vectors[i], [&](std::string& text) {
      const std::optional<render::Color> c = render::Color::from_css(text);
      if (!c || !met(c->word() & 0xffffffu)) return;
      const std::uint32_t h = c->word() & 0xffffffu;
      auto at = std::find_if(taken.begin(), taken.end(), [&](const auto& t) { return t.first == h; });
      if (at == taken.end()) {
        std::size_t best = 0;
        const auto count = [&](std::size_t k) { return drawn[k] + (own >> k & 1); };
        for (std::size_t k = 1; k < drawn.size(); ++k) best = count(k) < count(best) ? k : best;
        own |= PaletteMask{1} << best;
        at = taken.insert(taken.end(), {h, best});
      }
      render::Color to = *render::Color::from_css(kUserSeriesColors[at->second]);
      to.a = c->a;
      text = render::css_hex_text(to);
    });
  }
}

}  // namespace

Chart add_record(Chart&& chart, model::Indicator record, DefaultColors defaults) {
  if (defaults != kNoneDefault && !std::holds_alternative<model::placement::SubPane>(record.placement)) {
    give_way(chart.config, record, defaults);
  }
  return std::move(chart).indicator(std::move(record));
}

}  // namespace qc::api
