// The sticker's 36 pictograms, each one list of drawing steps in fractions of the sticker's pixel radii.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "primitives/catalog/common/radial.hpp"
#include "primitives/core/render.hpp"

namespace qc::primitives::catalog {

enum class EmojiType : std::uint8_t {
  Target, Flag, Check, Cross, Warning, Dollar, Lightning, Lock, Unlock, Bell, Eye, Clock,
  Star, Heart, Circle, Diamond, Square, Triangle, Plus, Minus, Question, Info, ThumbsUp, ThumbsDown,
  Fire, Rocket, Skull, Crown, Gem, Poop, Frogger, Frog, ArrowUp, ArrowDown, ArrowLeft, ArrowRight,
};
inline constexpr std::size_t kEmojiTypeCount = 36;

// The variant's PascalCase name, as the JSON record writes it.
std::string_view json_name(EmojiType type) noexcept;

// One drawing step. Coordinates are fractions of the radii: (a, b) is (cx + a * rx, cy + b * ry).
struct PictogramStep {
  enum class Op : std::uint8_t {
    Begin, Move, Line, Quad, Cubic, Close, Ellipse, Rect, Arc, Fill, Stroke,
    Width,        // v[0] is the stroke width in pixels
    FillColor,    // colour, or the sticker's own colour when null
    StrokeColor,  // colour, or the sticker's own colour when null
    Star,         // the ten corners of a five-pointed star, radii 1 and 0.4
  };
  Op op;
  std::array<double, 6> v{};
  const char* color = nullptr;
};

// The steps of one pictogram, in drawing order.
std::span<const PictogramStep> pictogram(EmojiType type) noexcept;

// Replays the steps of a pictogram; own_color stands for the sticker's colour in the colour steps.
void draw_pictogram(RenderContext& ctx, std::span<const PictogramStep> steps, const PixelFrame& frame,
                    std::string_view own_color);

}  // namespace qc::primitives::catalog
