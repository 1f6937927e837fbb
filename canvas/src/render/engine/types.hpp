// Colours, text styles and the stroke and fill records that the SVG backend turns into attributes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qc::render {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;

  // Parses "#rgb", "#rrggbb", "#rrggbbaa", "rgb(r,g,b)" and "rgba(r,g,b,alpha)"; no colour names.
  // Returns nothing for any other text; each caller chooses its own fallback.
  static std::optional<Color> from_css(std::string_view text);

  // The colour as one word 0xAABBGGRR (r in the lowest byte).
  static constexpr Color from_word(std::uint32_t w) {
    return {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
            static_cast<std::uint8_t>(w >> 16), static_cast<std::uint8_t>(w >> 24)};
  }
  constexpr std::uint32_t word() const {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b) << 16 | static_cast<std::uint32_t>(a) << 24;
  }
  constexpr bool is_opaque() const { return a == 255; }

  friend constexpr bool operator==(Color, Color) = default;
};

inline constexpr Color kOpaqueBlack{0, 0, 0, 255};
inline constexpr Color kOpaqueWhite{255, 255, 255, 255};
inline constexpr Color kTransparent{0, 0, 0, 0};

// The text without the Unicode White_Space characters around it, as the colour readers take it.
std::string_view trim_white_space(std::string_view text);

// Parses text, or gives the fallback when it does not parse.
inline Color css_or(std::string_view text, Color fallback) {
  return Color::from_css(text).value_or(fallback);
}

enum class FontWeight : std::uint8_t { Normal, Bold, Lighter };
enum class TextAlign : std::uint8_t { Start, Middle, End };
enum class TextBaseline : std::uint8_t { Top, Middle, Bottom, Alphabetic };
enum class LineCap : std::uint8_t { Butt, Round, Square };
enum class LineJoin : std::uint8_t { Miter, Round, Bevel };

// What the SVG backend writes for each code: attribute values for align and baseline, whole attributes
// (with a leading space, empty for the default) for weight, cap and join.
std::string_view svg_text(TextAlign align);
std::string_view svg_text(TextBaseline baseline);
std::string_view svg_attr(FontWeight weight);
std::string_view svg_attr(LineCap cap);
std::string_view svg_attr(LineJoin join);

struct TextStyle {
  std::string font_family = "sans-serif";
  double font_size = 12.0;
  Color color = kOpaqueWhite;
  FontWeight weight = FontWeight::Normal;
  TextAlign align = TextAlign::Start;
  TextBaseline baseline = TextBaseline::Middle;

  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// Texts are never measured: where a text's width decides its place, each byte is reckoned at 0.6 of the
// font size.
inline double estimated_text_width(std::size_t bytes, double font_size) {
  return 0.6 * font_size * static_cast<double>(bytes);
}
// The bytes of a text that its element keeps: those a document cannot hold are dropped as it is written (see
// write_escaped), so a width reckoned from them is the drawn text's.
std::size_t drawn_text_bytes(std::string_view text) noexcept;
inline double estimated_text_width(std::string_view text, double font_size) {
  return estimated_text_width(drawn_text_bytes(text), font_size);
}

struct StrokeStyle {
  std::optional<std::vector<double>> dash;  // absent or empty: solid
  double width = 1.0;
  Color color = kOpaqueBlack;
  LineCap cap = LineCap::Butt;
  LineJoin join = LineJoin::Miter;

  // A solid stroke with cap Butt and join Miter, the only kind this system builds.
  static StrokeStyle solid(double width, Color color) { return {std::nullopt, width, color}; }
  static StrokeStyle dashed(std::vector<double> dash, double width, Color color) {
    return {std::move(dash), width, color};
  }

  friend bool operator==(const StrokeStyle&, const StrokeStyle&) = default;
};

struct GradientStop {
  double offset = 0.0;  // 0..1
  Color color;

  friend bool operator==(const GradientStop&, const GradientStop&) = default;
};

struct Solid {
  Color color;

  friend bool operator==(const Solid&, const Solid&) = default;
};

// Gradient coordinates are fractions 0..1 of the painted element's bounding box.
struct LinearGradient {
  std::vector<GradientStop> stops;
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;

  friend bool operator==(const LinearGradient&, const LinearGradient&) = default;
};

struct RadialGradient {
  std::vector<GradientStop> stops;
  double cx = 0.0;
  double cy = 0.0;
  double r = 0.0;

  friend bool operator==(const RadialGradient&, const RadialGradient&) = default;
};

using FillKind = std::variant<Solid, LinearGradient, RadialGradient>;

// Pixels, y growing downwards.
struct Rect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;

  friend bool operator==(const Rect&, const Rect&) = default;
};

struct PixelPoint {
  double x = 0.0;
  double y = 0.0;

  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

}  // namespace qc::render
