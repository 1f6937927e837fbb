// Small value types that travel with every drawing primitive: anchors, colours, texts, label anchors, codes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace qc::primitives {

// One anchor in chart units: a (possibly fractional) bar index and a price. Never pixels.
struct Point {
  double bar = 0.0;
  double price = 0.0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Category of a primitive type, shared by Primitive::kind and the registry.
enum class PrimitiveKind : std::uint8_t {
  Line = 0,
  Channel = 1,
  Shape = 2,
  Fibonacci = 3,
  Gann = 4,
  Pattern = 5,
  Annotation = 6,
  Measurement = 7,
  Projection = 8,
  Event = 9,
};
inline constexpr std::size_t kPrimitiveKindCount = 10;

enum class LineStyle : std::uint8_t { Solid = 0, Dotted = 1, Dashed = 2, LargeDashed = 3, SparseDotted = 4 };

enum class PrimitiveTextAlign : std::uint8_t { Start = 0, Center = 1, End = 2 };

enum class SyncMode : std::uint8_t { None = 0, SameSymbol = 1, Everywhere = 2 };

// The names under which the codes above are written to JSON.
std::string_view json_name(LineStyle style) noexcept;
std::string_view json_name(PrimitiveTextAlign align) noexcept;
std::string_view json_name(SyncMode mode) noexcept;

// Dash pattern, in pixels of on and off length, that a line style draws with; empty for solid.
std::span<const double> line_style_dash(LineStyle style) noexcept;

struct PrimitiveColor {
  std::string stroke;
  std::optional<std::string> fill;

  static PrimitiveColor make(std::string_view stroke) { return {std::string(stroke), std::nullopt}; }
};

struct PrimitiveText {
  std::string content;
  double font_size = 14.0;
  std::optional<std::string> color;
  bool bold = false;
  bool italic = false;
  PrimitiveTextAlign v_align = PrimitiveTextAlign::Start;
  PrimitiveTextAlign h_align = PrimitiveTextAlign::Center;

  static PrimitiveText make(std::string_view content) {
    PrimitiveText text;
    text.content = content;
    return text;
  }
};

using TimeframeRange = std::optional<std::pair<std::uint32_t, std::uint32_t>>;

struct TimeframeVisibility {
  bool ticks = false;
  TimeframeRange seconds;
  TimeframeRange minutes;
  TimeframeRange hours;
  TimeframeRange days;
  TimeframeRange weeks;
  TimeframeRange months;
  bool ranges = false;
};

// Where, in pixels, and in which colours a primitive's label goes; the words are the primitive's data.text.
struct TextAnchor {
  std::string color;
  std::optional<std::string> background;
  double x = 0.0;
  double y = 0.0;
  double margin = 0.0;
  double rotation = 0.0;
  // The part of the words that stands at x: their start, their middle or their end. A label beside a
  // figure starts or ends at the anchor so that it runs away from the figure instead of across it.
  PrimitiveTextAlign align = PrimitiveTextAlign::Center;

  static TextAnchor make(std::string_view color, double x, double y) { return with_rotation(color, x, y, 0.0); }
  static TextAnchor with_rotation(std::string_view color, double x, double y, double rotation) {
    return TextAnchor{std::string(color), std::nullopt, x, y, 0.0, rotation, PrimitiveTextAlign::Center};
  }
};

}  // namespace qc::primitives
