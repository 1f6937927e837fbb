// The render pass: layout, background, grid, volume bands, the overlays' cloud fills, main series, overlays,
// primitives, signals, scales, time axis, title, legend, what the pointer draws and the document frame, in that
// order, into one SVG backend.
#include "api/chart_renderer.hpp"
#include "render/chart/axes.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <variant>
#include <vector>

#include "api/box_styles.hpp"
#include "api/crosshair.hpp"
#include "api/document_size.hpp"
#include "api/heikin_ashi.hpp"
#include "api/last_price.hpp"
#include "api/indicator_painter.hpp"
#include "api/layout.hpp"
#include "api/legend_painter.hpp"
#include "api/main_scale.hpp"
#include "api/palette.hpp"
#include "api/primitive_points.hpp"
#include "api/primitive_words.hpp"
#include "api/signal_painter.hpp"
#include "api/simple_styles.hpp"
#include "api/user_series.hpp"
#include "api/style_caption.hpp"
#include "coords/bar_dates.hpp"
#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"
#include "primitives/core/svg_render_context.hpp"
#include "primitives/registry/registry.hpp"
#include "render/chart/series.hpp"
#include "render/engine/svg_format.hpp"
#include "util/fixed.hpp"
#include "util/numbers.hpp"
#include "util/safe_math.hpp"

namespace qc::api {
namespace {

using render::css_or;
using render::StrokeStyle;

constexpr std::string_view kSvgNs = "http://www.w3.org/2000/svg";
constexpr std::string_view kXlinkNs = "http://www.w3.org/1999/xlink";

// One pane below the main pane: the record that made it (a study's, the volume pane's, one made for the
// user's series), its height ratio, and the records drawn in it, that one first and those that joined it
// after, in call order.
struct SubPaneRecords {
  double ratio = 0.0;
  std::vector<const model::Indicator*> records;

  const model::Indicator& owner() const { return *records.front(); }
  std::span<const model::Indicator* const> joined() const { return std::span(records).subspan(1); }
};

// Indicators by placement, each list in stored order.
struct IndicatorLists {
  std::vector<const model::Indicator*> overlays;
  std::vector<std::pair<const model::Indicator*, double>> bands;  // with the band's height ratio
  std::vector<SubPaneRecords> sub_panes;                          // top to bottom
  double sub_pane_ratio_sum = 0.0;

  // The share of the main pane's height the tallest band stands on.
  double band_ratio() const {
    double most = 0.0;
    for (const auto& band : bands) most = std::max(most, band.second);
    return most;
  }

  explicit IndicatorLists(const std::vector<model::Indicator>& indicators) {
    for (const auto& ind : indicators) {
      std::visit(
          [&](const auto& p) {
            using P = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<P, model::placement::Overlay>) {
              overlays.push_back(&ind);
            } else if constexpr (std::is_same_v<P, model::placement::VolumeBand>) {
              bands.emplace_back(&ind, p.ratio);
            } else if constexpr (std::is_same_v<P, model::placement::SubPane>) {
              sub_panes.push_back({p.ratio, {&ind}});
              sub_pane_ratio_sum += p.ratio;
            } else if (p.sub_pane < sub_panes.size()) {  // a pane made later, or none, is no place to join
              sub_panes[static_cast<std::size_t>(p.sub_pane)].records.push_back(&ind);
            }
          },
          ind.placement);
    }
  }
};

}  // namespace

namespace {

// The document's start up to its namespace: the XML declaration and the root's name, or a nested root's
// name and place.
void append_root_start(std::string& out, const Nesting* nesting) {
  if (nesting == nullptr) {
    out += R"(<?xml version="1.0" encoding="UTF-8"?>)" "\n" R"(<svg xmlns=")";
  } else {
    out += R"(<svg x=")";
    util::append_shortest(out, nesting->x);
    out += R"(" y=")";
    util::append_shortest(out, nesting->y);
    out += R"(" xmlns=")";
  }
  out += kSvgNs;
}

}  // namespace

void append_document_root(std::string& out, double width, double height, const Nesting* nesting) {
  append_root_start(out, nesting);
  out += "\"\n     " R"(xmlns:xlink=")";
  out += kXlinkNs;
  out += "\"\n     " R"(width=")";
  util::append_shortest(out, width);
  out += R"(" height=")";
  util::append_shortest(out, height);
  out += R"(" viewBox="0 0 )";
  util::append_shortest(out, width);
  out += ' ';
  util::append_shortest(out, height);
  out += "\">\n";
}

std::string Nesting::id_prefix() const {
  std::string s(1, 'c');
  s += std::to_string(index);
  s += '-';
  return s;
}

namespace {

// A rectangle of `color` over the whole document.
void append_background(std::string& out, double width, double height, render::Color color) {
  out += R"(<rect x="0" y="0" width=")";
  util::append_shortest(out, width);
  out += R"(" height=")";
  util::append_shortest(out, height);
  out += R"(" fill=")";
  render::append_css_color(out, color);
  out += "\"/>\n";
}

// Pixel lengths that must be whole numbers: the plot width clamped to the u32 range and truncated.
double whole_pixels(double v) { return std::trunc(std::clamp(v, 0.0, 4294967295.0)); }

std::string no_data_document(const ChartConfig& config, const Nesting* nesting) {
  std::string s;
  s.reserve(256 + config.theme.background.size() * render::kMaxEscapeGrowth);
  append_root_start(s, nesting);
  s += R"(" width=")";
  s += std::to_string(config.width);
  s += R"(" height=")";
  s += std::to_string(config.height);
  s += "\">\n" R"(<rect width="100%" height="100%" fill=")";
  render::append_escaped(s, config.theme.background);
  s += "\"/>\n" R"(<text x="50%" y="50%" text-anchor="middle" fill="#787b86">No data</text>)" "\n</svg>";
  return s;
}

// Each sub-pane with its place: f(j, pane, top, height) for sub-pane j, top to bottom.
template <class F>
void for_each_sub_pane(const Layout& layout, const IndicatorLists& lists, F&& f) {
  double cursor = layout.main_height + kSubPaneGap;
  std::size_t j = 0;
  for (const SubPaneRecords& pane : lists.sub_panes) {
    const double h = std::max(layout.sub_pane_ratio(pane.ratio) * layout.plot_height - kSubPaneGap, 0.0);
    f(j++, pane, cursor, h);
    cursor += h + kSubPaneGap;
  }
}

// Each pane's plot is clipped to its rectangle: the bars on either side of a view, a series beyond its pane's
// fixed range, and what tools and level segments reach beyond stay off the scales and the other panes. Clip
// path K is the main pane's for K = 0, sub-pane K - 1's after.
void append_clip_path(std::string& s, std::string_view prefix, std::size_t k, double top, double width,
                      double height) {
  s += R"(<clipPath id=")";
  s += prefix;
  s += "clip";
  s += std::to_string(k);
  s += R"("><rect x="0.00" y=")";
  util::append_fixed2(s, top);
  s += R"(" width=")";
  util::append_fixed2(s, width);
  s += R"(" height=")";
  util::append_fixed2(s, height);
  s += R"("/></clipPath>)" "\n";
}

void open_clip_group(render::SvgBackend& out, std::string_view prefix, std::size_t k) {
  std::string s = R"(<g clip-path="url(#)";
  s += prefix;
  s += "clip";
  s += std::to_string(k);
  s += ")\">\n";
  out.body_buffer().append(s);
}

void close_clip_group(render::SvgBackend& out) { out.body_buffer().append("</g>\n"); }

// The frame up to where the gradient definitions go, written first into the document's storage; the panes'
// clip paths open the definitions.
util::TextBuffer open_document(util::TextBuffer&& out, const Layout& layout, const IndicatorLists& lists,
                               const Nesting* nesting, std::string_view prefix) {
  std::string s;
  append_document_root(s, layout.width, layout.height, nesting);
  s += "<defs>\n";
  append_clip_path(s, prefix, 0, 0.0, layout.plot_width, layout.main_height);
  for_each_sub_pane(layout, lists, [&](std::size_t j, const SubPaneRecords&, double top, double h) {
    append_clip_path(s, prefix, j + 1, top, layout.plot_width, h);
  });
  out.append(s);
  return std::move(out);
}

// The time of the bar in slot i (bar first + i of the full series) on the chart's local clock, as the time
// axis reads calendar time; the first slot is weighed against the bar before it, bar 0 against 1970.
struct LocalTimeAt {
  model::BarsView bars;
  const coords::TimeZone& zone;
  std::size_t first = 0;
  std::int64_t operator()(std::size_t i) const { return zone.local(bars[first + i].timestamp); }
  std::int64_t before(std::size_t i) const { return first + i == 0 ? 0 : zone.local(bars[first + i - 1].timestamp); }
};

Layout make_layout(const ChartConfig& config, const std::optional<ViewRequest>& request, std::size_t bars,
                   double sub_pane_ratio_sum) {
  const auto view = drawn_view(request, bars);
  Layout layout = view ? Layout::make(config.width, config.height, view->count(), sub_pane_ratio_sum, view->first,
                                      bars)
                       : Layout::make(config.width, config.height, bars, sub_pane_ratio_sum);
  if (config.detail == Detail::automatic) layout.grouped_at(drawable_dpr(config.dpr));
  return layout;
}

// The chart's up and down colours, read as the candles read them.
palette::UpDown up_down_of(const ThemeConfig& theme) {
  return {css_or(theme.up_color, render::kOpaqueBlack), css_or(theme.down_color, render::kOpaqueBlack)};
}

// Between the gradient definitions and the elements.
constexpr std::string_view kDefsEnd = "\n</defs>\n";

// What a pass writes: the whole document, or the pointer's layer alone.
enum class PassOutput { document, pointer_layer };

class RenderPass {
 public:
  // `storage` null: the document goes to the C heap.
  // A nested document (`nesting`) prefixes its ids with `id_prefix`, which outlives the pass.
  RenderPass(const ChartConfig& config, const std::optional<ViewRequest>& view, model::BarsView bars,
             util::TextStorage* storage, std::optional<Pointer> pointer, MarketBars market,
             PassOutput output = PassOutput::document, const Nesting* nesting = nullptr,
             std::string_view id_prefix = {})
      : config_(config),
        id_prefix_(id_prefix),
        market_(market),
        theme_(config.theme),
        bars_(bars),
        lists_(config.indicators),
        layout_(make_layout(config, view, bars.size(), lists_.sub_pane_ratio_sum)),
        dpr_(drawable_dpr(config.dpr)),
        backend_(output == PassOutput::document
                     ? render::SvgBackend(layout_.width, layout_.height, dpr_,
                                          open_document(document_buffer(storage), layout_, lists_, nesting, id_prefix),
                                          kDefsEnd)
                     : render::SvgBackend(layout_.width, layout_.height, dpr_)),
        heikin_ashi_(config.series.series_type == SeriesType::HeikinAshi ? heikin_ashi_bars(bars)
                                                                           : model::BarColumns()),
        series_bars_(config.series.series_type == SeriesType::HeikinAshi ? heikin_ashi_.view()
                                                                           : bars),
        baseline_(baseline_level(config.series, layout_.drawn_bars(bars))),
        main_scale_(ranged_bars(config.series.series_type, layout_.drawn_bars(series_bars_)), layout_.drawn_bars(bars),
                    lists_.overlays, layout_.main_height, config.price_scale, layout_.drawn(), baseline_,
                    scale_grid(config.series), lists_.band_ratio()),
        main_(main_scale_.mapping()),
        // The pointer's layer draws no axis: a pointer's move need not choose the time labels again.
        labelled_bars_(output == PassOutput::document
                           ? coords::time_label_bars(layout_.plot_width, layout_.spacing, layout_.n, local_time(),
                                                     config.time_format)
                           : std::vector<std::size_t>{}),
        up_down_(up_down_of(config.theme)) {
    main_scale_.set_format(price_format_of(config, PrimitivePane::main()));
    backend_.set_id_prefix(id_prefix_);
    if (pointer && over_plot(layout_, *pointer)) {
      pointer_ = pointer;
      hovered_ = bar_under(layout_, pointer->x);
    }
  }

  util::TextBuffer run() {
    background();
    open_clip_group(backend_, id_prefix_, 0);
    if (theme_.show_grid) grid(main_, main_scale_.ticks());
    // Behind the prices: a band drawn over them would bury the lowest candles.
    for (const auto& [ind, ratio] : lists_.bands) draw_volume_band(backend_, *ind, ratio, bars_, layout_, up_down_);
    // Under the prices too: a tint painted over the candles would change their colours.
    for (const auto* ind : lists_.overlays) {
      if (const auto pane = main_scale_.mapping_of(*ind)) draw_cloud_fills(backend_, *ind, *pane, layout_);
    }
    main_series();
    // Overlay histograms grow from the price 0, as band and sub-pane histograms grow from their value 0.
    for (const auto* ind : lists_.overlays) {
      if (const auto pane = main_scale_.mapping_of(*ind)) {
        draw_indicator(backend_, *ind, *pane, pane->y(0.0), layout_, up_down_, bars_);
      }
    }
    for (const auto* ind : lists_.overlays) draw_series_levels(*ind, main_);
    draw_pane_levels(PrimitivePane::main(), main_);
    draw_primitives(PrimitivePane::main(), main_);
    draw_signals(backend_, config_.signals, layout_, main_, background_color(), main_line_color());
    close_clip_group(backend_);
    main_scale_.render(backend_, axis_theme(config_), layout_.plot_width);
    // The series' last close, whatever bars the view draws.
    if (config_.show_last_price) {
      // The series' last close, whatever bars the view draws. Boxes end at the grid; the market's price is the close of the bar the last drawn box ends at.
      const std::size_t last = bars_.size() - 1;
      draw_last_price(backend_, market_.at_box(last).value_or(bars_[last]), theme_, main_scale_, layout_.plot_width,
                      layout_.width);
    }
    sub_panes(true);
    render::render_time_axis(backend_, axis_theme(config_), layout_.plot_width, layout_.plot_height,
                             layout_.spacing, labelled_bars_, local_time(), config_.time_format);
    if (!config_.title.empty()) draw_title(backend_, config_.title, legend_colors());
    if (config_.show_legend) legend();
    if (hovered_) pointer_layer();
    backend_.body_buffer().append("</svg>\n");
    return backend_.release();
  }

  // The pointer's layer alone, as run() writes it; empty for a pointer off the plot.
  std::string run_pointer_layer() {
    if (!hovered_) return {};
    sub_panes(false);
    pointer_layer();
    return backend_.take_body();
  }

  static coords::AxisTheme axis_theme(const ChartConfig& config) {
    return {config.theme.background, config.theme.grid_color, config.theme.text_color};
  }

 private:
  // Sized up front from the element counts, so that a long document is written without regrowth; when
  // the estimate cannot be had, the document starts from the backend's usual capacity and grows.
  util::TextBuffer document_buffer(util::TextStorage* storage) const {
    const std::size_t values = layout_.has_view() ? layout_.n + 2 : SIZE_MAX;
    // Column c of a bar lies in [0, plot width × ratio], one more than the whole columns.
    const double whole_columns = std::ceil(layout_.plot_width * layout_.column_ratio);
    const std::size_t columns = layout_.column_ratio > 0 ? util::saturating_cast<std::size_t>(whole_columns) + 1 : 0;
    return util::TextBuffer(storage, estimated_document_size(config_, layout_.n, values, columns),
                            render::SvgBackend::kBodyCapacity);
  }

  LocalTimeAt local_time() const { return {bars_, config_.time_zone, layout_.first}; }

  void background() {
    std::string rect;
    append_background(rect, layout_.width, layout_.height, background_color());
    backend_.body_buffer().append(rect);
  }

  // Grid lines lie on what the axes mark: across the pane at its price scale's ticks, down the pane at the
  // bars the time axis labels.
  void grid(const coords::PriceMapping& pane, std::span<const double> ticks) {
    render::ShapeBatch shapes(backend_);
    const StrokeStyle stroke = StrokeStyle::solid(1.0, css_or(theme_.grid_color, palette::kGrid));
    const double right = whole_pixels(layout_.plot_width);
    for (const double t : ticks) {
      const double y = pane.scale_y(t);
      backend_.line(0, y, right, y, stroke);
    }
    for (const std::size_t i : labelled_bars_) {
      const double x = coords::bar_x(i, layout_.spacing);
      backend_.line(x, pane.top, x, pane.bottom, stroke);
    }
  }

  render::Color background_color() const { return css_or(theme_.background, palette::kBackground); }

  // The colour of the main series' line, for the styles drawn as one: what a glyph of its colour is parted from.
  std::optional<render::Color> main_line_color() const {
    const SeriesType type = config_.series.series_type;
    if (type != SeriesType::Line && type != SeriesType::Area && type != SeriesType::StepLine) return std::nullopt;
    return render::Color::from_css(config_.series.color.value_or(theme_.up_color));
  }

  // Titles and legends are written in the colour of the price labels, backed by the chart's background.
  LegendColors legend_colors() const {
    return LegendColors::make(coords::AxisColors::from(axis_theme(config_)).text, background_color(), up_down_);
  }

  // The series goes straight to the backend, in the elements and order a recorded batch would replay.
  // Heikin-Ashi candles are drawn from the bars made for them; everything else on the chart reads the bars.
  void main_series() {
    render::ShapeBatch shapes(backend_);
    const SeriesType type = config_.series.series_type;
    if (is_simple_style(type)) {
      draw_simple_style(backend_, type, theme_, bars_, baseline_, layout_, main_, dpr_);
      return;
    }
    if (is_box_style(type)) {
      draw_box_style(backend_, config_.series, theme_, bars_, layout_, main_, dpr_);
      return;
    }
    if (type == SeriesType::OhlcBars) {
      render::render_ohlc_bars(backend_, layout_.drawn_bars(bars_), theme_.up_color, theme_.down_color,
                               layout_.spacing, main_, layout_.candle_width(), dpr_,
                               layout_.columns().rebased(layout_.first));
      return;
    }
    if (type == SeriesType::Line || type == SeriesType::Area || type == SeriesType::StepLine) {
      model::LineStyleOptions options;
      if (type == SeriesType::StepLine) options.line_type = model::LineType::Stepped;
      options.color = config_.series.color.value_or(theme_.up_color);
      // From the bar before the drawn ones to the bar after, so that the line reaches the plot's edges.
      const std::size_t begin = layout_.reach_begin(bars_.size());
      const auto reach = bars_.subview(begin, layout_.reach_end(bars_.size()) - begin);
      const std::size_t origin = layout_.first - begin;
      const render::DeviceColumns columns = layout_.columns().rebased(begin);
      if (type == SeriesType::Area) {
        render::render_area(backend_, reach, options, layout_.spacing, main_, origin, columns);
      } else {
        render::render_line(backend_, reach, options, layout_.spacing, main_, origin, columns);
      }
      return;
    }
    model::CandlestickStyleOptions style;
    style.body_up_color = style.border_up_color = style.wick_up_color = theme_.up_color;
    style.body_down_color = style.border_down_color = style.wick_down_color = theme_.down_color;
    style.wick_visible = true;
    style.border_visible = static_cast<std::uint8_t>(type) == kBorderedCandles;
    render::render_candlesticks(backend_, layout_.drawn_bars(series_bars_), style, layout_.spacing, main_,
                                layout_.candle_width(), dpr_, layout_.columns().rebased(layout_.first));
  }

  // Each pane: frame and grid; the fills of the records that joined it, before its own record's levels,
  // fills and lines; the joined records' levels and lines; the chart's levels in it, then its tools. The
  // range is the pane's own rule over all its records. Without `paint`, only what the legend and the
  // pointer read of the panes.
  void sub_panes(bool paint) {
    for_each_sub_pane(layout_, lists_, [&](std::size_t j, const SubPaneRecords& pane, double top, double h) {
      const ValueRange r = pane_range(layout_.drawn_bars(bars_), pane.records, layout_.drawn());
      const coords::PriceMapping y{r.lo, r.hi, top, h};
      const coords::PriceTicks ticks = coords::price_ticks(y.min, y.max, y.height);
      if (paint) paint_sub_pane(j, pane, y, ticks);
      // The pane under the pointer is the last one whose top lies above it: a gap goes with the pane over it.
      const bool pointed = pointer_ && pointer_->y >= top;
      if (!config_.show_legend && !pointed) return;
      // Each record quotes its values as it would in a pane of its own: a series of small values that
      // joins a pane of large ones keeps the digits it needs.
      const coords::PriceFormat* format = price_format_of(config_, PrimitivePane::sub(j));
      LegendNumbers numbers = pane_legend_numbers(ticks, r.lo, r.hi, h, coords::ScaleNumbers::in_units);
      numbers.format = format;
      const bool shared = pane.records.size() > 1;
      // The crosshair's tag writes as many decimals as the most of the pane's quoted series, the caller's
      // series at least two.
      LegendNumbers tag{-1, numbers.in_units, format};
      for (std::size_t k = 0; k < pane.records.size(); ++k) {
        const model::Indicator* record = pane.records[k];
        LegendNumbers own = numbers;
        if (shared) {
          const ValueRange alone = indicator_range(layout_.drawn_bars(bars_), *record, layout_.drawn());
          own = pane_legend_numbers(alone.lo, alone.hi, h, coords::ScaleNumbers::in_units);
          own.format = format;
        }
        if (config_.show_legend) sub_pane_legends_.push_back({record, sub_pane_legend_y(top, k), own, j + 1});
        if (std::ranges::any_of(record->vectors, has_value_colors)) {
          tag.decimals = std::max({tag.decimals, own.decimals, is_user_record(*record) ? kUserTagDecimals : 0});
        }
      }
      if (tag.decimals < 0) tag.decimals = numbers.decimals;
      if (pointed) pointer_pane_ = PointerPane{y, tag};
    });
  }

  void paint_sub_pane(std::size_t j, const SubPaneRecords& pane, const coords::PriceMapping& y,
                      const coords::PriceTicks& ticks) {
    const double width = whole_pixels(layout_.plot_width);
    draw_sub_pane_frame(backend_, y, width, theme_.background, theme_.grid_color);
    open_clip_group(backend_, id_prefix_, j + 1);
    if (theme_.show_grid) grid(y, ticks.ticks());
    for (const model::Indicator* ind : pane.joined()) draw_cloud_fills(backend_, *ind, y, layout_);
    draw_reference_levels(backend_, pane.owner(), y, width);
    draw_cloud_fills(backend_, pane.owner(), y, layout_);
    draw_indicator(backend_, pane.owner(), y, y.y(0.0), layout_, up_down_, bars_);
    for (const model::Indicator* ind : pane.joined()) {
      draw_series_levels(*ind, y);
      draw_indicator(backend_, *ind, y, y.y(0.0), layout_, up_down_, bars_);
    }
    draw_pane_levels(PrimitivePane::sub(j), y);
    draw_primitives(PrimitivePane::sub(j), y);
    close_clip_group(backend_);
    render::render_price_scale(backend_, axis_theme(config_), layout_.plot_width, y.top, y.height, y.min, y.max,
                               ticks, coords::ScaleNumbers::in_units, price_format_of(config_, PrimitivePane::sub(j)));
  }

  // The levels of a record drawn in a pane whose range it does not rule (the price pane, a fixed one), where
  // that range holds them.
  void draw_series_levels(const model::Indicator& ind, const coords::PriceMapping& y) {
    draw_levels(ind.levels, [](const model::IndicatorLevel& level) { return &level; }, y);
  }

  // The chart's levels in the pane, in call order; those its range leaves out are not drawn.
  void draw_pane_levels(PrimitivePane pane, const coords::PriceMapping& y) {
    draw_levels(config_.levels, [&](const PaneLevel& level) { return level.pane == pane ? &level.level : nullptr; },
                y);
  }

  // Every line first, then the labels over them, so that no line crosses a label drawn before it.
  template <class Levels, class LevelOf>
  void draw_levels(const Levels& levels, LevelOf level_of, const coords::PriceMapping& y) {
    const double width = whole_pixels(layout_.plot_width);
    {
      render::ShapeBatch shapes(backend_);
      for (const auto& entry : levels) {
        if (const model::IndicatorLevel* level = level_of(entry)) draw_level_line(backend_, *level, y, width);
      }
    }
    LevelLabels labels(y, width, background_color());
    for (const auto& entry : levels) {
      if (const model::IndicatorLevel* level = level_of(entry)) labels.draw(backend_, *level);
    }
  }

  // Each legend line where it stands, in the order they are written: the main pane's (one per overlay study
  // and volume band, in call order, under the title's line when `titled`), then each sub-pane's, their values
  // written as their pane's scale calls for.
  template <class F>
  void for_each_legend_line(bool titled, F&& f) const {
    const LegendNumbers prices = main_scale_.numbers();
    std::size_t k = caption() ? 1 : 0;  // the main series' caption comes first
    for (const model::Indicator& ind : config_.indicators) {
      if (std::holds_alternative<model::placement::SubPane>(ind.placement) ||
          std::holds_alternative<model::placement::Joins>(ind.placement)) {
        continue;
      }
      const bool band = std::holds_alternative<model::placement::VolumeBand>(ind.placement);
      f(PaneLegend{&ind, main_legend_y(titled, k++), band ? kVolumeLegendNumbers : prices, 0,
                   ind.own_base ? main_scale_.own_base(ind) : std::nullopt});
    }
    for (const PaneLegend& line : sub_pane_legends_) f(line);
  }

  // The main series' style with its settings, when it has settings to name: the main pane's first legend line.
  std::optional<std::string> caption() const {
    return style_caption(config_.series, market_.atr, baseline_, main_scale_.numbers().decimals);
  }

  // Over everything else but the pointer's layer.
  void legend() {
    const LegendColors colors = legend_colors();
    const std::size_t quoted = layout_.end(bars_.size());  // values at or before the last bar drawn
    if (const auto line = caption()) draw_caption_line(backend_, *line, main_legend_y(!config_.title.empty(), 0), colors);
    for_each_legend_line(!config_.title.empty(), [&](const PaneLegend& line) {
      draw_legend_line(backend_, *line.indicator, line.y, line.numbers, colors, quoted, line.base);
    });
  }

  // One group over the document: on each pane, one opaque backing over the legend lines the document shows
  // there and those the pointer shows instead, then the hovered bar's prices on the title's line (the legend
  // moved under it) and the legend's values at that bar; then the crosshair.
  void pointer_layer() {
    backend_.body_buffer().append(R"(<g class="pointer">)" "\n");
    const LegendColors colors = legend_colors();
    const std::string_view title = config_.title;
    std::string ohlc;
    append_ohlc(ohlc, bars_[*hovered_], main_scale_.numbers().decimals, main_scale_.numbers().format);
    std::vector<BackingCover> covers(1 + lists_.sub_panes.size());
    covers[0].add(after_title_backing(title, ohlc));
    if (!title.empty()) covers[0].add(title_backing(title));
    std::vector<LegendLine> lines;
    const std::optional<std::string> style_line = config_.show_legend ? caption() : std::nullopt;
    if (style_line) {
      covers[0].add(caption_backing(*style_line, main_legend_y(!title.empty(), 0)));
      covers[0].add(caption_backing(*style_line, main_legend_y(true, 0)));
    }
    if (config_.show_legend) {
      const std::size_t quoted = layout_.end(bars_.size());
      for_each_legend_line(!title.empty(), [&](const PaneLegend& line) {
        covers[line.pane].add(LegendLine(*line.indicator, line.y, line.numbers, colors, quoted, line.base).backing());
      });
      for_each_legend_line(true, [&](const PaneLegend& line) {
        lines.emplace_back(*line.indicator, line.y, line.numbers, colors, quoted, line.base, hovered_);
        covers[line.pane].add(lines.back().backing());
      });
    }
    render::Color backing = background_color();
    backing.a = 255;
    for (const BackingCover& cover : covers) {
      if (cover.box) backend_.fill_rect(*cover.box, backing);
    }
    if (!title.empty()) write_title(backend_, title, colors);
    write_after_title(backend_, title, ohlc, colors);
    if (style_line) write_caption(backend_, *style_line, main_legend_y(true, 0), colors);
    for (const LegendLine& line : lines) line.write_texts(backend_);
    crosshair();
    backend_.body_buffer().append("</g>\n");
  }

  // The value's tag writes as the pane's legend quotes values; the bar's time reads to the minute when the
  // drawn bars come less than a day apart.
  void crosshair() {
    std::string value;
    if (pointer_pane_) {
      append_legend_value(value, value_at(pointer_pane_->mapping, pointer_->y), pointer_pane_->numbers);
    } else {
      main_scale_.append_number(value, value_at(main_, pointer_->y));
    }
    std::string time;
    config_.time_format.append_tag(time, config_.time_zone.local(bars_[*hovered_].timestamp),
                                   intraday_bars(layout_.drawn_bars(bars_)));
    draw_crosshair(backend_, layout_, {layout_.x(*hovered_), pointer_->y, value, time}, legend_colors().text,
                   background_color());
  }

  // The pane's primitive descriptions, in stored order, each turned into a primitive by the registry (the
  // read lock held throughout) and drawn through a context of its own; unknown type ids draw nothing. A
  // description's text is the primitive's words, written after it at the place its label anchor names.
  // The context's chart is the plot width wide, since every pane's price scale is painted over what lies
  // right of it, and the main pane's height high (a sub-pane's context keeps the canvas height).
  void draw_primitives(PrimitivePane pane, const coords::PriceMapping& y) {
    const auto registry = primitives::PrimitiveRegistry::global().read();
    const primitives::PaneMapping mapping{layout_.spacing, y, static_cast<double>(layout_.first)};
    const double chart_height = pane.is_main ? layout_.main_height : layout_.height;
    std::array<Point, 2> completed;
    for (const PrimitiveConfig& description : config_.primitives) {
      const PrimitivePane& p = description.pane;
      if (pane.is_main ? !p.is_main : (p.is_main || p.sub_pane != pane.sub_pane)) continue;
      const auto points = creation_points(description, y, completed);
      const auto primitive = registry->create(description.type_id, points, description.color);
      if (!primitive) continue;
      if (description.text) primitive->set_text(*description.text);
      primitives::SvgRenderContext context(backend_, mapping, dpr_, layout_.plot_width, chart_height,
                                           {bars_, theme_.background});
      primitive->render(context, false);
      if (description.text) draw_primitive_words(backend_, *primitive, context);
    }
  }

  const ChartConfig& config_;
  std::string_view id_prefix_;
  MarketBars market_;
  const ThemeConfig& theme_;
  model::BarsView bars_;
  IndicatorLists lists_;
  Layout layout_;
  double dpr_;
  render::SvgBackend backend_;
  model::BarColumns heikin_ashi_;  // empty unless the series draws them
  model::BarsView series_bars_;
  std::optional<double> baseline_;  // the baseline style's level, when it has one
  MainScale main_scale_;
  coords::PriceMapping main_;  // the scale's mapping
  std::vector<std::size_t> labelled_bars_;  // by the time axis, and the grid's verticals
  palette::UpDown up_down_;

  // A legend line, placed and given its number form; a sub-pane's as the pane is drawn.
  struct PaneLegend {
    const model::Indicator* indicator;
    double y;
    LegendNumbers numbers;
    std::size_t pane;  // 0 the main pane, j + 1 sub-pane j
    std::optional<double> base = std::nullopt;  // a compared line's
  };
  std::vector<PaneLegend> sub_pane_legends_;

  // The sub-pane under the pointer: its mapping and how its tag writes values.
  struct PointerPane {
    coords::PriceMapping mapping;
    LegendNumbers numbers;
  };
  static constexpr int kUserTagDecimals = 2;

  // Set only for a pointer over the plot: the bar it hovers and, over a sub-pane, that pane.
  std::optional<Pointer> pointer_;
  std::optional<std::size_t> hovered_;
  std::optional<PointerPane> pointer_pane_;
};

}  // namespace

std::string ChartRenderer::render_svg() const {
  const Nesting* nesting = nesting_ ? &*nesting_ : nullptr;
  if (bars_.empty()) return no_data_document(config_, nesting);
  return std::string(RenderPass(config_, view_, bars_, nullptr, pointer_, market_, PassOutput::document, nesting,
                                id_prefix_)
                         .run()
                         .view());
}

DocumentInfo ChartRenderer::render_into(util::TextStorage& storage) const {
  const Nesting* nesting = nesting_ ? &*nesting_ : nullptr;
  if (bars_.empty()) {
    const std::string doc = no_data_document(config_, nesting);
    util::TextBuffer out(storage, doc.size());
    out.append(doc);
    return {out.size(), out.is_ascii()};
  }
  const util::TextBuffer out =
      RenderPass(config_, view_, bars_, &storage, pointer_, market_, PassOutput::document, nesting, id_prefix_).run();
  return {out.size(), out.is_ascii()};
}

std::string ChartRenderer::render_pointer_layer() const {
  if (bars_.empty()) return {};
  return RenderPass(config_, view_, bars_, nullptr, pointer_, market_, PassOutput::pointer_layer).run_pointer_layer();
}

std::optional<std::size_t> ChartRenderer::bar_under(double x) const {
  return api::bar_under(make_layout(config_, view_, bars_.size(), 0.0), x);
}

std::optional<double> ChartRenderer::bar_centre(std::size_t bar) const {
  const Layout layout = make_layout(config_, view_, bars_.size(), 0.0);
  if (bar < layout.first || bar - layout.first >= layout.n) return std::nullopt;
  return coords::bar_x(bar, layout.spacing, layout.first);
}

void ChartRenderer::render_price_scale(const ChartConfig& config, render::SvgBackend& backend, double x, double top,
                                       double height, double lo, double hi, coords::ScaleNumbers numbers) {
  render::render_price_scale(backend, RenderPass::axis_theme(config), x, top, height, lo, hi, numbers);
}

}  // namespace qc::api
