// Chart methods for the texts of the time axis and of a pane's prices, as the user writes them.
#include <optional>
#include <string>
#include <utility>

#include "chart.hpp"
#include "dates.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::Chart;

PyObject* time_format_body(ChartCall& c) {
  // fmt, *, year, month, day, time, tag
  const char* names[] = {"fmt", "year", "month", "day", "time", "tag"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    const std::optional<std::string>& format = c.args.opt_text(i);
    if (!format) continue;
    if (const auto unknown = qc::coords::unknown_time_directive(*format)) {
      value_error(names[i], "unknown directive '" + std::string(*unknown) + "'");
    }
  }
  std::optional<std::string>& all = c.args.opt_text(0);
  const auto kind = [&](std::size_t i) { return c.args.opt_text(i) ? std::move(c.args.opt_text(i)) : all; };
  qc::coords::TimeFormat format;
  format.year = kind(1);
  format.month = kind(2);
  format.day = kind(3);
  format.time = kind(4);
  format.tag = std::move(c.args.opt_text(5));
  with_chart(c, [&](Chart&& chart) {
    chart.config.time_format = std::move(format);
    return std::move(chart);
  });
  return none();
}

PyObject* price_format_body(ChartCall& c) {
  // decimals, *, prefix, suffix, thousands, pane
  qc::coords::PriceFormat format;
  if (const std::optional<std::int64_t> decimals = c.args.opt_i64(0)) {
    if (*decimals < 0 || *decimals > qc::coords::kMostPriceDecimals) {
      value_error("decimals", "expected 0 to " + std::to_string(qc::coords::kMostPriceDecimals) + ", got " +
                                  std::to_string(*decimals));
    }
    format.decimals = static_cast<std::uint32_t>(*decimals);
  }
  const char* affixes[] = {"prefix", "suffix"};
  for (std::size_t i = 1; i <= 2; ++i) {
    if (const auto fault = qc::coords::affix_fault(c.args.text(i))) value_error(affixes[i - 1], *fault);
  }
  format.prefix = std::move(c.args.text(1));
  format.suffix = std::move(c.args.text(2));
  format.thousands = c.args.flag(3);
  const qc::api::PaneTarget target = pane_target(c.args.slot(4), chart_of(c).config, false, "a format");
  const qc::api::PrimitivePane pane = target.kind == qc::api::PaneTarget::Kind::main
                                          ? qc::api::PrimitivePane::main()
                                          : qc::api::PrimitivePane::sub(target.sub);
  with_chart(c, [&](Chart&& chart) {
    auto& formats = chart.config.price_formats;
    std::erase_if(formats, [&](const qc::api::PaneFormat& f) { return f.pane == pane; });
    if (!(format == qc::coords::PriceFormat{})) formats.push_back({pane, std::move(format)});
    return std::move(chart);
  });
  return none();
}

constexpr ChartRow kRows[] = {
    {"time_format",
     "Write the time axis' labels and the crosshair's time tag with strftime directives (%Y %y %m %b %B %d %e %H "
     "%I %M %S %p %a %A %j %%, English names, in the chart's time zone); time_format() alone restores the "
     "axis' own texts",
     {opt_text("fmt").means("the format of every axis label; None: the axis' own text"), star,
      opt_text("year").means("the format of a label at a new year; None: fmt's"),
      opt_text("month").means("the format of a label at a new month; None: fmt's"),
      opt_text("day").means("the format of a label at a new day; None: fmt's"),
      opt_text("time").means("the format of a label at a time of day; None: fmt's"),
      opt_text("tag").means("the format of the crosshair's time tag; None: the date, with the time for bars "
                            "less than a day apart")},
     Borrow::exclusive, time_format_body},
    {"price_format",
     "Write a pane's scale labels, last-price and crosshair tags and legend values with the decimals, prefix, "
     "suffix and thousands separators given; price_format() alone restores the pane's own texts",
     {opt_i64("decimals").means("digits after the point, 0 to 10; None: as many as the scale's step needs"), star,
      text("prefix", "''").means("text before each price, at most 8 characters (not on a per cent or indexed scale)"),
      text("suffix", "''").means("text after each price, at most 8 characters (not on a per cent or indexed scale)"),
      flag("thousands", "False").means("',' between thousands (\"3,245.50\")"),
      pane("pane", "0").means("0 the main pane, k the k-th sub-pane from the top, -1 the lowest")},
     Borrow::exclusive, price_format_body},
};

}  // namespace

MethodGroup chart_format_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
