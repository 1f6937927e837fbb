// Docstrings from the rows: parameter meanings from meanings.hpp, a study's pane, lines and definition
// from its catalog row.
#include "docstring.hpp"

#include <string_view>
#include <type_traits>
#include <variant>

#include "api/indicator_rows.hpp"
#include "meanings.hpp"
#include "util/numbers.hpp"

namespace qcpy {
namespace {

using qc::api::VectorKind;
using qc::api::VectorSpec;

// A row's pattern as the reader meets it: a placeholder "{color}" names the parameter it stands for.
void append_pattern(std::string& out, std::string_view pattern) {
  for (char ch : pattern) {
    out += ch == '{' || ch == '}' ? '`' : ch;
  }
}

void append_placement(std::string& out, const qc::model::IndicatorPlacement& placement) {
  out += "Draws: ";
  std::visit(
      [&](const auto& p) {
        using P = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<P, qc::model::placement::SubPane>) {
          out += "sub-pane, ";
          qc::util::append_shortest_fixed(out, p.ratio);
          out += " of the plot height";
        } else if constexpr (std::is_same_v<P, qc::model::placement::VolumeBand>) {
          out += "volume band";
        } else {
          out += "price pane";
        }
      },
      placement);
}

const char* kind_text(VectorKind kind) {
  switch (kind) {
    case VectorKind::Line:
    case VectorKind::LineThroughGaps: return "line";
    case VectorKind::Dashed: return "dashed line";
    case VectorKind::Histogram:
    case VectorKind::HistogramColored: return "histogram";
    case VectorKind::Cloud: return "cloud";
    case VectorKind::Dots: return "dots";
    case VectorKind::Hidden: return "hidden";
  }
  return "line";
}

// A shade of the chart's colours: "chart's up", "chart's down at alpha 0x80".
void append_shade(std::string& out, qc::model::style::ChartShade shade) {
  out += shade.up ? "chart's up" : "chart's down";
  if (shade.alpha == 0xff) return;
  constexpr std::string_view kHex = "0123456789abcdef";
  out += " at alpha 0x";
  out += kHex[shade.alpha >> 4];
  out += kHex[shade.alpha & 0xf];
}

// "Name (kind, colour)", a histogram's and a cloud's two colours joined by "/"; a histogram without
// colours of its own names the shades of the chart's colours it takes.
void append_vector(std::string& out, const VectorSpec& v) {
  append_pattern(out, v.name);
  out += " (";
  out += kind_text(v.kind);
  out += ", ";
  if (v.kind == VectorKind::Histogram) {
    append_shade(out, v.up_shade);
    out += '/';
    append_shade(out, v.down_shade);
  } else {
    append_pattern(out, v.color);
    if (v.kind == VectorKind::HistogramColored || v.kind == VectorKind::Cloud) {
      out += '/';
      append_pattern(out, v.color2);
    }
  }
  out += ')';
}

void append_study(std::string& out, const qc::api::IndicatorSpec& row) {
  out += '\n';
  append_placement(out, row.placement);
  out += "\nLines: ";
  bool first = true;
  for (const VectorSpec& v : row.vectors) {
    if (v.kind == VectorKind::Hidden) continue;  // drawn nowhere
    if (!first) out += ", ";
    first = false;
    append_vector(out, v);
  }
  if (!row.definition.empty()) {
    out += "\nDefinition: ";
    out += row.definition;
  }
}

}  // namespace

std::string docstring(const Params& params, const Doc& doc) {
  std::string out = doc.summary != nullptr ? doc.summary : "";
  if (params.empty() && doc.study == nullptr) return out;
  out += '\n';
  if (!params.empty()) {
    out += "\nParameters:";
    for (const Param& p : params.all()) {
      out += "\n    ";
      out += p.name;
      out += ": ";
      const char* meaning = meaning_of(p);
      out += meaning != nullptr ? meaning : "";
    }
  }
  if (doc.study != nullptr) append_study(out, *doc.study);
  return out;
}

}  // namespace qcpy
