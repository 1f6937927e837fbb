// Pattern match: pattern names and directions, and the tag with its fixed-size white glyph.
#include "primitives/catalog/events/pattern_match.hpp"

namespace qc::primitives::catalog {

namespace {

constexpr std::array<std::string_view, 41> kPatternNames = {
    "head_and_shoulders", "inverse_head_and_shoulders", "double_top", "double_bottom", "triple_top",
    "triple_bottom", "ascending_triangle", "descending_triangle", "symmetrical_triangle", "bull_flag",
    "bear_flag", "bull_pennant", "bear_pennant", "rectangle", "wedge", "gartley", "butterfly", "bat", "crab",
    "shark", "cypher", "doji", "hammer", "inverted_hammer", "shooting_star", "hanging_man", "marubozu",
    "spinning_top", "engulfing", "harami", "morning_star", "evening_star", "three_white_soldiers",
    "three_black_crows", "piercing", "dark_cloud_cover", "tweezer_top", "tweezer_bottom", "impulse_wave",
    "corrective_wave", "custom",
};

}  // namespace

std::string_view json_name(PatternType v) noexcept { return variant_name(v, kPatternNames); }

PatternDirection direction_of(PatternType v) noexcept {
  using enum PatternType;
  switch (v) {
    case InverseHeadAndShoulders: case DoubleBottom: case TripleBottom: case AscendingTriangle: case BullFlag:
    case BullPennant: case Hammer: case InvertedHammer: case MorningStar: case ThreeWhiteSoldiers: case Piercing:
    case TweezerBottom:
      return PatternDirection::Bullish;
    case HeadAndShoulders: case DoubleTop: case TripleTop: case DescendingTriangle: case BearFlag:
    case BearPennant: case ShootingStar: case HangingMan: case EveningStar: case ThreeBlackCrows:
    case DarkCloudCover: case TweezerTop:
      return PatternDirection::Bearish;
    default:
      return PatternDirection::Neutral;
  }
}

void PatternMatch::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  paint_in_stroke_color(ctx, data_);
  ctx.set_global_alpha(confidence * 0.5 + 0.5);
  ctx.fill_rect(snap(x - 0.75 * size), snap(y - 0.5 * size), 1.5 * size, size);

  ctx.set_fill_color("#FFFFFF");
  ctx.set_global_alpha(1.0);
  switch (direction_of(pattern_type)) {
    case PatternDirection::Bullish:
      triangle_path(ctx, snap, {x, y - 4.0}, {x - 4.0, y + 2.0}, {x + 4.0, y + 2.0});
      break;
    case PatternDirection::Bearish:
      triangle_path(ctx, snap, {x, y + 4.0}, {x - 4.0, y - 2.0}, {x + 4.0, y - 2.0});
      break;
    case PatternDirection::Neutral:
      circle_path(ctx, snap, {x, y}, 3.0);
      break;
  }
  ctx.fill();
}

// Below the tag for a bullish pattern, above it otherwise.
std::optional<TextAnchor> PatternMatch::text_anchor(const RenderContext& ctx) const {
  return marker_text_anchor(data_, ctx, {bar, price}, [this](const PrimitiveText& text) {
    const double offset = text.font_size * 0.5 + size;
    return direction_of(pattern_type) == PatternDirection::Bullish ? offset : -offset;
  });
}

std::unique_ptr<Primitive> create_pattern_match(std::span<const Point> points, std::string_view color) {
  return PatternMatch::create(points, color);
}

}  // namespace qc::primitives::catalog
