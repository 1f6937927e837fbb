// The sticker's pictogram table and its replay through the drawing context.
#include "primitives/catalog/icons/pictograms.hpp"

#include <cmath>
#include <numbers>

namespace qc::primitives::catalog {
namespace {

using Step = PictogramStep;
using Op = Step::Op;

constexpr double kPi = std::numbers::pi;
constexpr double kFifthPi = 0.6283185307179586;

constexpr Step B{Op::Begin};
constexpr Step Z{Op::Close};
constexpr Step F{Op::Fill};
constexpr Step K{Op::Stroke};
constexpr Step kStar{Op::Star};
constexpr Step M(double a, double b) { return {Op::Move, {a, b}}; }
constexpr Step L(double a, double b) { return {Op::Line, {a, b}}; }
constexpr Step Q(double ca, double cb, double ea, double eb) { return {Op::Quad, {ca, cb, ea, eb}}; }
constexpr Step C(double c1a, double c1b, double c2a, double c2b, double ea, double eb) {
  return {Op::Cubic, {c1a, c1b, c2a, c2b, ea, eb}};
}
constexpr Step E(double a, double b, double p, double q) { return {Op::Ellipse, {a, b, p, q}}; }
constexpr Step R(double a, double b, double w, double h) { return {Op::Rect, {a, b, w, h}}; }
constexpr Step A(double a, double b, double r, double start, double end) { return {Op::Arc, {a, b, r, start, end}}; }
constexpr Step W(double w) { return {Op::Width, {w}}; }
// nullptr: back to the sticker's own colour.
constexpr Step FC(const char* color) { return {Op::FillColor, {}, color}; }
constexpr Step SC(const char* color) { return {Op::StrokeColor, {}, color}; }

constexpr Step kTarget[] = {B, E(0, 0, 0.9, 0.9), K, B, E(0, 0, 0.5, 0.5), K, B, E(0, 0, 0.15, 0.15), F,
                            B, M(-1, 0), L(-0.5, 0), M(0.5, 0), L(1, 0), M(0, -1), L(0, -0.5), M(0, 0.5), L(0, 1), K};
constexpr Step kFlag[] = {B, M(-0.5, 1), L(-0.5, -1), K, B, M(-0.5, -1), L(0.7, -0.5), L(-0.5, 0), Z, F};
constexpr Step kCheck[] = {W(3.0), B, M(-0.6, 0), L(-0.1, 0.5), L(0.7, -0.5), K};
constexpr Step kCross[] = {W(3.0), B, M(-0.5, -0.5), L(0.5, 0.5), M(0.5, -0.5), L(-0.5, 0.5), K};
constexpr Step kWarning[] = {B, M(0, -0.8), L(0.8, 0.6), L(-0.8, 0.6), Z, K, B, M(0, -0.3), L(0, 0.15), K,
                             B, E(0, 0.35, 0.1, 0.1), F};
constexpr Step kDollar[] = {W(2.5), B, M(0, -0.9), L(0, 0.9), K, B, M(0.5, -0.5), C(-0.6, -0.5, -0.6, 0, 0, 0),
                            C(0.6, 0, 0.6, 0.5, -0.5, 0.5), K};
constexpr Step kLightning[] = {B, M(0.1, -0.9), L(-0.5, 0), L(0, 0), L(-0.1, 0.9), L(0.5, -0.1), L(0, -0.1), Z, F};
constexpr Step kLock[] = {B, R(-0.5, 0, 1, 0.7), F, W(2.5), B, A(0, 0, 0.35, kPi, 0), K};
constexpr Step kUnlock[] = {B, R(-0.5, 0, 1, 0.7), F, W(2.5), B, A(0, 0, 0.35, kPi, kFifthPi), K};
constexpr Step kBell[] = {B, M(-0.6, 0.4), Q(-0.6, -0.6, 0, -0.8), Q(0.6, -0.6, 0.6, 0.4), L(-0.6, 0.4), F,
                          B, E(0, 0.4, 0.7, 0.15), F, B, E(0, 0.7, 0.15, 0.15), F};
constexpr Step kEye[] = {B, M(-0.9, 0), Q(0, -0.7, 0.9, 0), Q(0, 0.7, -0.9, 0), K, B, E(0, 0, 0.3, 0.35), F};
constexpr Step kClock[] = {B, E(0, 0, 0.8, 0.8), K, W(2.5), B, M(0, 0), L(0, -0.5), M(0, 0), L(0.35, 0.2), K};
constexpr Step kStarShape[] = {B, kStar, F};
constexpr Step kHeart[] = {B, M(0, 0.7), C(-0.8, 0.2, -0.8, -0.5, 0, -0.2), C(0.8, -0.5, 0.8, 0.2, 0, 0.7), F};
constexpr Step kCircle[] = {B, E(0, 0, 0.8, 0.8), F};
constexpr Step kDiamond[] = {B, M(0, -0.9), L(0.7, 0), L(0, 0.9), L(-0.7, 0), Z, F};
constexpr Step kSquare[] = {B, R(-0.7, -0.7, 1.4, 1.4), F};
constexpr Step kTriangle[] = {B, M(0, -0.8), L(0.8, 0.7), L(-0.8, 0.7), Z, F};
constexpr Step kPlus[] = {W(3.0), B, M(0, -0.7), L(0, 0.7), M(-0.7, 0), L(0.7, 0), K};
constexpr Step kMinus[] = {W(3.0), B, M(-0.7, 0), L(0.7, 0), K};
constexpr Step kQuestion[] = {B, E(0, 0, 0.8, 0.8), K, W(2.5), B, A(0, -0.25, 0.25, kPi, 0), L(0.25, 0),
                              Q(0.25, 0.15, 0, 0.15), K, B, E(0, 0.4, 0.1, 0.1), F};
constexpr Step kInfo[] = {B, E(0, 0, 0.8, 0.8), K, B, E(0, -0.4, 0.12, 0.12), F, W(2.5), B, M(0, -0.15), L(0, 0.5), K};
constexpr Step kThumbsUp[] = {B, M(-0.1, -0.8), L(0.3, -0.8), Q(0.5, -0.8, 0.5, -0.5), L(0.5, 0.1), L(-0.3, 0.1),
                              L(-0.3, -0.3), Z, F, B, R(-0.6, 0.1, 0.8, 0.6), F};
constexpr Step kThumbsDown[] = {B, M(-0.1, 0.8), L(0.3, 0.8), Q(0.5, 0.8, 0.5, 0.5), L(0.5, -0.1), L(-0.3, -0.1),
                                L(-0.3, 0.3), Z, F, B, R(-0.6, -0.7, 0.8, 0.6), F};
constexpr Step kFire[] = {
    FC("#FF6B35"), B, M(0, 0.9), C(-0.7, 0.6, -0.8, -0.1, -0.4, -0.5), C(-0.2, -0.2, -0.1, -0.4, 0, -0.9),
    C(0.1, -0.4, 0.2, -0.2, 0.4, -0.5), C(0.8, -0.1, 0.7, 0.6, 0, 0.9), F,
    FC("#FFD93D"), B, M(0, 0.85), C(-0.4, 0.5, -0.35, 0.1, -0.15, -0.2), C(-0.05, 0, 0, -0.1, 0, -0.5),
    C(0, -0.1, 0.05, 0, 0.15, -0.2), C(0.35, 0.1, 0.4, 0.5, 0, 0.85), F, FC(nullptr)};
constexpr Step kRocket[] = {B, M(0, -0.9), Q(0.4, -0.5, 0.3, 0.3), L(-0.3, 0.3), Q(-0.4, -0.5, 0, -0.9), F,
                            B, M(-0.3, 0.1), L(-0.6, 0.5), L(-0.3, 0.3), F,
                            B, M(0.3, 0.1), L(0.6, 0.5), L(0.3, 0.3), F,
                            B, M(-0.2, 0.3), L(0, 0.9), L(0.2, 0.3), F};
constexpr Step kSkull[] = {B, E(0, -0.15, 0.7, 0.6), F,
                           FC("#000000"), B, E(-0.25, -0.2, 0.15, 0.15), E(0.25, -0.2, 0.15, 0.15), F,
                           FC(nullptr), B, R(-0.4, 0.3, 0.8, 0.4), F,
                           SC("#000000"), W(1.5), B, M(-0.3, 0.3), L(-0.3, 0.7), M(-0.1, 0.3), L(-0.1, 0.7),
                           M(0.1, 0.3), L(0.1, 0.7), M(0.3, 0.3), L(0.3, 0.7), K, SC(nullptr)};
constexpr Step kCrown[] = {B, M(-0.8, 0.6), L(-0.8, -0.2), L(-0.4, 0.1), L(0, -0.7), L(0.4, 0.1), L(0.8, -0.2),
                           L(0.8, 0.6), Z, F};
constexpr Step kGem[] = {B, M(-0.7, -0.3), L(-0.3, -0.8), L(0.3, -0.8), L(0.7, -0.3), Z, F,
                         B, M(-0.7, -0.3), L(0.7, -0.3), L(0, 0.9), Z, F,
                         W(1.5), B, M(-0.3, -0.8), L(-0.2, -0.3), L(0, 0.9), M(0.3, -0.8), L(0.2, -0.3), L(0, 0.9), K};
constexpr Step kPoop[] = {B, M(0, -0.8), C(0.3, -0.8, 0.4, -0.5, 0.2, -0.4), C(0.5, -0.3, 0.6, 0, 0.4, 0.2),
                          C(0.7, 0.3, 0.8, 0.7, 0, 0.9), C(-0.8, 0.7, -0.7, 0.3, -0.4, 0.2),
                          C(-0.6, 0, -0.5, -0.3, -0.2, -0.4), C(-0.4, -0.5, -0.3, -0.8, 0, -0.8), F,
                          FC("#FFFFFF"), B, E(-0.2, 0.1, 0.1, 0.1), E(0.2, 0.1, 0.1, 0.1), F, FC(nullptr)};
constexpr Step kFrogger[] = {FC("#6B8E23"), B, E(0, 0.1, 0.9, 0.7), F,
                             B, E(-0.4, -0.3, 0.35, 0.3), E(0.4, -0.3, 0.35, 0.3), F,
                             FC("#FFFFFF"), B, E(-0.4, -0.3, 0.25, 0.2), E(0.4, -0.3, 0.25, 0.2), F,
                             FC("#000000"), B, E(-0.35, -0.3, 0.1, 0.1), E(0.35, -0.3, 0.1, 0.1), F,
                             SC("#4a6b1a"), W(2.0), B, M(-0.5, 0.3), Q(0, 0.6, 0.5, 0.3), K,
                             FC("#ff9999"), B, E(-0.65, 0.15, 0.15, 0.1), E(0.65, 0.15, 0.15, 0.1), F,
                             FC(nullptr), SC(nullptr)};
constexpr Step kFrog[] = {FC("#629632"), B, M(0, -0.5), C(0.6, -0.5, 0.95, 0, 0.85, 0.55),
                          C(0.75, 0.95, -0.75, 0.95, -0.85, 0.55), C(-0.95, 0, -0.6, -0.5, 0, -0.5), Z, F,
                          FC("#FFFFFF"), B, E(-0.32, -0.05, 0.38, 0.38), E(0.32, -0.05, 0.38, 0.38), F,
                          FC("#629632"), B, E(-0.32, -0.25, 0.4, 0.22), E(0.32, -0.25, 0.4, 0.22), F,
                          FC("#000000"), B, E(-0.22, 0.02, 0.14, 0.18), E(0.22, 0.02, 0.14, 0.18), F,
                          FC("#4a7a2a"), B, M(-0.6, 0.5), Q(0, 0.8, 0.6, 0.5), Q(0, 0.65, -0.6, 0.5), Z, F,
                          FC("#1a1a1a"), B, E(0, -0.45, 0.7, 0.12), F, B, R(-0.4, -0.95, 0.8, 0.5), F,
                          B, E(0, -0.95, 0.4, 0.1), F, FC(nullptr), SC(nullptr)};
constexpr Step kArrowUp[] = {B, M(0, -0.8), L(-0.5, 0), L(-0.2, 0), L(-0.2, 0.8), L(0.2, 0.8), L(0.2, 0), L(0.5, 0), Z, F};
constexpr Step kArrowDown[] = {B, M(0, 0.8), L(-0.5, 0), L(-0.2, 0), L(-0.2, -0.8), L(0.2, -0.8), L(0.2, 0), L(0.5, 0), Z, F};
constexpr Step kArrowLeft[] = {B, M(-0.8, 0), L(0, -0.5), L(0, -0.2), L(0.8, -0.2), L(0.8, 0.2), L(0, 0.2), L(0, 0.5), Z, F};
constexpr Step kArrowRight[] = {B, M(0.8, 0), L(0, -0.5), L(0, -0.2), L(-0.8, -0.2), L(-0.8, 0.2), L(0, 0.2), L(0, 0.5), Z, F};

struct Entry {
  std::string_view name;
  std::span<const Step> steps;
};

// In EmojiType order.
constexpr Entry kPictograms[kEmojiTypeCount] = {
    {"Target", kTarget},       {"Flag", kFlag},         {"Check", kCheck},           {"Cross", kCross},
    {"Warning", kWarning},     {"Dollar", kDollar},     {"Lightning", kLightning},   {"Lock", kLock},
    {"Unlock", kUnlock},       {"Bell", kBell},         {"Eye", kEye},               {"Clock", kClock},
    {"Star", kStarShape},      {"Heart", kHeart},       {"Circle", kCircle},         {"Diamond", kDiamond},
    {"Square", kSquare},       {"Triangle", kTriangle}, {"Plus", kPlus},             {"Minus", kMinus},
    {"Question", kQuestion},   {"Info", kInfo},         {"ThumbsUp", kThumbsUp},     {"ThumbsDown", kThumbsDown},
    {"Fire", kFire},           {"Rocket", kRocket},     {"Skull", kSkull},           {"Crown", kCrown},
    {"Gem", kGem},             {"Poop", kPoop},         {"Frogger", kFrogger},       {"Frog", kFrog},
    {"ArrowUp", kArrowUp},     {"ArrowDown", kArrowDown}, {"ArrowLeft", kArrowLeft}, {"ArrowRight", kArrowRight},
};

const Entry& entry(EmojiType type) noexcept {
  const auto i = static_cast<std::size_t>(type);
  return kPictograms[i < kEmojiTypeCount ? i : 0];
}

}  // namespace

std::string_view json_name(EmojiType type) noexcept { return entry(type).name; }

std::span<const PictogramStep> pictogram(EmojiType type) noexcept { return entry(type).steps; }

void draw_pictogram(RenderContext& ctx, std::span<const PictogramStep> steps, const PixelFrame& f,
                    std::string_view own_color) {
  const auto x = [&](double a) { return f.cx + a * f.rx; };
  const auto y = [&](double b) { return f.cy + b * f.ry; };
  for (const PictogramStep& s : steps) {
    const auto& v = s.v;
    switch (s.op) {
      case Op::Begin: ctx.begin_path(); break;
      case Op::Move: ctx.move_to(x(v[0]), y(v[1])); break;
      case Op::Line: ctx.line_to(x(v[0]), y(v[1])); break;
      case Op::Quad: ctx.quadratic_curve_to(x(v[0]), y(v[1]), x(v[2]), y(v[3])); break;
      case Op::Cubic: ctx.bezier_curve_to(x(v[0]), y(v[1]), x(v[2]), y(v[3]), x(v[4]), y(v[5])); break;
      case Op::Close: ctx.close_path(); break;
      case Op::Ellipse:
        ctx.ellipse(x(v[0]), y(v[1]), v[2] * f.rx, v[3] * f.ry, 0.0, 0.0, 2.0 * std::numbers::pi);
        break;
      case Op::Rect: ctx.rect(x(v[0]), y(v[1]), v[2] * f.rx, v[3] * f.ry); break;
      case Op::Arc: ctx.arc(x(v[0]), y(v[1]), v[2] * f.rx, v[3], v[4]); break;
      case Op::Fill: ctx.fill(); break;
      case Op::Stroke: ctx.stroke(); break;
      case Op::Width: ctx.set_stroke_width(v[0]); break;
      case Op::FillColor: ctx.set_fill_color(s.color != nullptr ? std::string_view(s.color) : own_color); break;
      case Op::StrokeColor: ctx.set_stroke_color(s.color != nullptr ? std::string_view(s.color) : own_color); break;
      case Op::Star:
        // Outer corners (factor 1) alternate with inner ones (0.4), starting straight up.
        for (int k = 0; k < 10; ++k) {
          const double t = k * std::numbers::pi / 5.0 + std::numbers::pi / 2.0;
          const double r = k % 2 == 0 ? 1.0 : 0.4;
          const double px = x(r * std::cos(t));
          const double py = y(-r * std::sin(t));
          if (k == 0) {
            ctx.move_to(px, py);
          } else {
            ctx.line_to(px, py);
          }
        }
        ctx.close_path();
        break;
    }
  }
}

}  // namespace qc::primitives::catalog
