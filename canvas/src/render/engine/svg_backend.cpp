// Element templates of the SVG backend, written through one raw cursor per element.
#include "render/engine/svg_backend.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <type_traits>

#include "render/engine/svg_format.hpp"
#include "util/fixed.hpp"

namespace qc::render {
namespace {

using util::kMaxFixedChars;

// Appends through a raw cursor; every piece first checks its room against a cached limit, and the cursor
// goes back to the buffer when the writer ends (Skia's AutoElement, minus the tag bookkeeping).
// Every member is forced inline: a call that received `this` would let the cursor escape to memory,
// and then each character stored through it would force the cursor to be reloaded.
#define QC_INLINE [[gnu::always_inline]] inline

class Writer {
 public:
  // `bounded`: `expected` is the most the writer will write, so no piece needs to check its room.
  explicit Writer(util::TextBuffer& buf, std::size_t expected = 256, bool bounded = false)
      : buf_(buf), bounded_(bounded) {
    p_ = buf_.reserve(expected);
    end_ = buf_.limit();
  }
  ~Writer() { buf_.commit(p_); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  template <std::size_t N>
  QC_INLINE Writer& lit(const char (&s)[N]) {
    room(N - 1);
    p_ = util::put(p_, s);
    return *this;
  }
  // Texts of this system (attribute keywords); callers' texts go through escaped().
  QC_INLINE Writer& str(std::string_view s) {
    room(s.size());
    p_ = util::put(p_, s);
    return *this;
  }
  QC_INLINE Writer& n0(double v) { return fixed(v, util::write_fixed0); }
  QC_INLINE Writer& n1(double v) { return fixed(v, util::write_fixed1); }
  QC_INLINE Writer& n2(double v) { return fixed(v, util::write_fixed2); }
  QC_INLINE Writer& n4(double v) { return fixed(v, util::write_fixed4); }
  QC_INLINE Writer& integer(std::uint64_t v) {
    room(20);
    p_ = std::to_chars(p_, p_ + 20, v).ptr;
    return *this;
  }
  QC_INLINE Writer& color(Color c) {
    room(kMaxCssColorChars);
    p_ = write_css_color(p_, c);
    return *this;
  }
  QC_INLINE Writer& escaped(std::string_view s) {
    buf_.note(s);
    room(s.size() * kMaxEscapeGrowth);
    p_ = write_escaped(p_, s);
    return *this;
  }

  // fill="…", a colour or a gradient's reference.
  QC_INLINE Writer& fill(const SvgBackend::FillRef& f) {
    if (f.gradient) return lit(R"(fill="url(#)").escaped(f.prefix).lit("grad").integer(*f.gradient).lit(")\"");
    return lit(R"(fill=")").color(f.color).lit("\"");
  }

  // stroke="…" stroke-width="…", then the dash, cap and join attributes that apply.
  QC_INLINE Writer& stroke(const StrokeStyle& s) {
    lit(R"(stroke=")").color(s.color).lit(R"(" stroke-width=")");
    s.width == 1.0 ? lit("1.00") : n2(s.width);  // the hairline of candle wicks and frames, written often
    lit("\"");
    if (s.dash && !s.dash->empty()) {
      lit(R"( stroke-dasharray=")");
      for (std::size_t i = 0; i < s.dash->size(); ++i) {
        if (i > 0) lit(",");
        n2((*s.dash)[i]);
      }
      lit("\"");
    }
    if (s.cap != LineCap::Butt) str(svg_attr(s.cap));
    if (s.join != LineJoin::Miter) str(svg_attr(s.join));
    return *this;
  }

  QC_INLINE Writer& transform(const SvgState& s) {
    if (const auto& m = s.transform) {
      lit(R"( transform="matrix()").n4(m->a).lit(",").n4(m->b).lit(",").n4(m->c).lit(",").n4(m->d);
      lit(",").n2(m->e).lit(",").n2(m->f).lit(")\"");
    }
    return *this;
  }
  QC_INLINE Writer& opacity(const SvgState& s) {
    if (s.opacity < 1.0) lit(R"( opacity=")").n2(s.opacity).lit("\"");
    return *this;
  }
  QC_INLINE Writer& state(const SvgState& s) { return transform(s).opacity(s); }

  // The element templates that the backend's single-element calls and its candle share.
  QC_INLINE void line_element(double x1, double y1, double x2, double y2, const StrokeStyle& stroke,
                              const SvgState& s) {
    lit(R"(<line x1=")").n2(x1).lit(R"(" y1=")").n2(y1).lit(R"(" x2=")").n2(x2).lit(R"(" y2=")").n2(y2);
    lit("\" ").stroke(stroke).state(s).lit("/>\n");
  }
  QC_INLINE void fill_rect_element(const Rect& r, Color color, const SvgState& s) {
    lit(R"(<rect x=")").n2(r.x).lit(R"(" y=")").n2(r.y).lit(R"(" width=")").n2(r.width);
    lit(R"(" height=")").n2(r.height).lit(R"(" fill=")").color(color).lit("\"").state(s).lit("/>\n");
  }
  QC_INLINE void stroke_rect_element(const Rect& r, const StrokeStyle& stroke, const SvgState& s) {
    lit(R"(<rect x=")").n2(r.x).lit(R"(" y=")").n2(r.y).lit(R"(" width=")").n2(r.width);
    lit(R"(" height=")").n2(r.height).lit("\" ").stroke(stroke).lit(R"( fill="none")").state(s).lit("/>\n");
  }

  // Subpaths of batched shapes, with the numbers their own elements would write.
  QC_INLINE void rect_piece(const Rect& r) {
    lit("M").n2(r.x).lit(" ").n2(r.y).lit("h").n2(r.width).lit("v").n2(r.height).lit("h").n2(-r.width).lit("Z");
  }
  QC_INLINE void line_piece(double x1, double y1, double x2, double y2) {
    lit("M").n2(x1).lit(" ").n2(y1);
    if (x1 == x2) {
      lit("V").n2(y2);
    } else if (y1 == y2) {
      lit("H").n2(x2);
    } else {
      lit("L").n2(x2).lit(" ").n2(y2);
    }
  }
  // Two half-circle arcs from the leftmost point round through the rightmost and back.
  QC_INLINE void circle_piece(double cx, double cy, double r) {
    lit("M").n2(cx - r).lit(" ").n2(cy).lit("A").n2(r).lit(" ").n2(r).lit(" 0 1 0 ").n2(cx + r).lit(" ").n2(cy);
    lit("A").n2(r).lit(" ").n2(r).lit(" 0 1 0 ").n2(cx - r).lit(" ").n2(cy).lit("Z");
  }
  QC_INLINE void ohlc_piece(const SvgBackend::OhlcBar& b) {
    lit("M").n2(b.x).lit(" ").n2(b.high).lit("V").n2(b.low);
    lit("M").n2(b.left).lit(" ").n2(b.open).lit("H").n2(b.x);
    lit("M").n2(b.x).lit(" ").n2(b.close).lit("H").n2(b.right);
  }

  // SVG path data: one piece per command, separated by single spaces.
  QC_INLINE Writer& path(std::span<const PathCommand> commands) {
    bool first = true;
    for (const PathCommand& command : commands) {
      if (!first) lit(" ");
      first = false;
      std::visit([this](const auto& c) { piece(c); }, command);
    }
    return *this;
  }

 private:
  template <class F>
  QC_INLINE Writer& fixed(double v, F write) {
    room(kMaxFixedChars);
    p_ = write(p_, v);
    return *this;
  }

  QC_INLINE void room(std::size_t n) {
    if (!bounded_ && static_cast<std::size_t>(end_ - p_) < n) [[unlikely]] {
      p_ = refill(buf_, p_, n);
      end_ = buf_.limit();
    }
  }
  // Out of line and without `this`, so the writer's cursor can live in registers.
  [[gnu::noinline]] static char* refill(util::TextBuffer& buf, char* p, std::size_t n) {
    buf.commit(p);
    return buf.reserve(n);
  }

  QC_INLINE void piece(const MoveTo& c) { lit("M").n2(c.x).lit(" ").n2(c.y); }
  QC_INLINE void piece(const LineTo& c) { lit("L").n2(c.x).lit(" ").n2(c.y); }
  QC_INLINE void piece(const QuadTo& c) { lit("Q").n2(c.cx).lit(" ").n2(c.cy).lit(" ").n2(c.x).lit(" ").n2(c.y); }
  QC_INLINE void piece(const CubicTo& c) {
    lit("C").n2(c.c1x).lit(" ").n2(c.c1y).lit(" ").n2(c.c2x).lit(" ").n2(c.c2y);
    lit(" ").n2(c.x).lit(" ").n2(c.y);
  }
  QC_INLINE void piece(const Arc& c) {
    const double x0 = c.cx + c.radius * std::cos(c.start_angle), y0 = c.cy + c.radius * std::sin(c.start_angle);
    const double x1 = c.cx + c.radius * std::cos(c.end_angle), y1 = c.cy + c.radius * std::sin(c.end_angle);
    lit("M").n2(x0).lit(" ").n2(y0).lit(" A").n2(c.radius).lit(" ").n2(c.radius).lit(" 0 ");
    arc_flags(c.start_angle, c.end_angle, c.anticlockwise).n2(x1).lit(" ").n2(y1);
  }
  QC_INLINE void piece(const Ellipse& c) {
    const double cos_r = std::cos(c.rotation), sin_r = std::sin(c.rotation);
    auto at = [&](double t) {
      return PixelPoint{c.cx + cos_r * c.rx * std::cos(t) - sin_r * c.ry * std::sin(t),
                        c.cy + sin_r * c.rx * std::cos(t) + cos_r * c.ry * std::sin(t)};
    };
    const PixelPoint p0 = at(c.start_angle), p1 = at(c.end_angle);
    lit("M").n2(p0.x).lit(" ").n2(p0.y).lit(" A").n2(c.rx).lit(" ").n2(c.ry).lit(" ");
    n2(c.rotation * 57.29577951308232).lit(" ");
    arc_flags(c.start_angle, c.end_angle, c.anticlockwise).n2(p1.x).lit(" ").n2(p1.y);
  }
  QC_INLINE void piece(const Close&) { lit("Z"); }

  // "large sweep " of an elliptical arc.
  QC_INLINE Writer& arc_flags(double start, double end, bool anticlockwise) {
    constexpr double pi = 3.141592653589793;
    return lit(std::fabs(end - start) > pi ? "1 " : "0 ").lit(anticlockwise ? "0 " : "1 ");
  }

  util::TextBuffer& buf_;
  const bool bounded_;
  char* p_;
  char* end_;
};

// The most an element of a fixed number of attributes writes, so that it is written without checks: its
// numbers, one colour, a stroke and the state.
constexpr std::size_t kMaxStateChars = 64 + 7 * kMaxFixedChars;
constexpr std::size_t kMaxShapeChars = 160 + 4 * kMaxFixedChars + kMaxCssColorChars + kMaxStateChars;
constexpr std::size_t max_stroked_chars(std::size_t dashes) {
  return kMaxShapeChars + 128 + kMaxCssColorChars + (1 + dashes) * (kMaxFixedChars + 1);
}
std::size_t max_chars(const StrokeStyle& s) { return max_stroked_chars(s.dash ? s.dash->size() : 0); }
constexpr bool kBounded = true;

// Writes the gradient definition into defs and returns its number.
template <class Gradient>
std::uint32_t write_gradient(util::TextBuffer& defs, std::string_view prefix, std::uint32_t n, const Gradient& g) {
  Writer w(defs);
  if constexpr (std::is_same_v<Gradient, LinearGradient>) {
    w.lit(R"(<linearGradient id=")").escaped(prefix).lit("grad").integer(n).lit(R"(" x1=")").n2(g.x1 * 100).lit(R"(%" y1=")");
    w.n2(g.y1 * 100).lit(R"(%" x2=")").n2(g.x2 * 100).lit(R"(%" y2=")").n2(g.y2 * 100).lit("%\">");
  } else {
    w.lit(R"(<radialGradient id=")").escaped(prefix).lit("grad").integer(n).lit(R"(" cx=")").n2(g.cx * 100).lit(R"(%" cy=")");
    w.n2(g.cy * 100).lit(R"(%" r=")").n2(g.r * 100).lit("%\">");
  }
  for (const GradientStop& stop : g.stops) {
    w.lit(R"(<stop offset=")").n0(stop.offset * 100).lit(R"(%" stop-color=")").color(stop.color).lit("\"/>");
  }
  if constexpr (std::is_same_v<Gradient, LinearGradient>) {
    w.lit("</linearGradient>\n");
  } else {
    w.lit("</radialGradient>\n");
  }
  return n;
}

// Sizes that are NaN or infinite make an element no reader draws and break the document's promise of
// finite numbers, whoever asked for them (a tool's font, an indicator's width, a level's dash), so such an
// element is left out.
bool finite_stroke(const StrokeStyle& s) {
  if (!std::isfinite(s.width)) return false;
  if (!s.dash) return true;
  return std::all_of(s.dash->begin(), s.dash->end(), [](double d) { return std::isfinite(d); });
}

template <class... T>
bool all_finite(T... v) {
  return (std::isfinite(v) && ...);
}
bool finite_rect(const Rect& r) { return all_finite(r.x, r.y, r.width, r.height); }

// A path that can join a batch: it starts a subpath of its own, and every number in it is finite.
bool batchable(std::span<const PathCommand> path) {
  if (path.empty() || !(std::holds_alternative<MoveTo>(path.front()) || std::holds_alternative<Arc>(path.front()) ||
                        std::holds_alternative<Ellipse>(path.front()))) {
    return false;
  }
  return std::all_of(path.begin(), path.end(), [](const PathCommand& c) {
    return std::visit(
        [](const auto& p) {
          using P = std::decay_t<decltype(p)>;
          if constexpr (std::is_same_v<P, MoveTo> || std::is_same_v<P, LineTo>) return all_finite(p.x, p.y);
          if constexpr (std::is_same_v<P, QuadTo>) return all_finite(p.cx, p.cy, p.x, p.y);
          if constexpr (std::is_same_v<P, CubicTo>) return all_finite(p.c1x, p.c1y, p.c2x, p.c2y, p.x, p.y);
          if constexpr (std::is_same_v<P, Arc>) return all_finite(p.cx, p.cy, p.radius, p.start_angle, p.end_angle);
          if constexpr (std::is_same_v<P, Ellipse>) {
            return all_finite(p.cx, p.cy, p.rx, p.ry, p.rotation, p.start_angle, p.end_angle);
          }
          return true;
        },
        c);
  });
}

// More styles than this in one batch write what is gathered and start again, so that a painter of many
// colours costs no search through them per shape; the order of the shapes is kept either way.
constexpr std::size_t kMaxBatchStyles = 64;

}  // namespace

SvgBackend::SvgBackend(double width, double height, double dpr)
    : out_(kBodyCapacity), width_(width), height_(height), dpr_(dpr) {}

SvgBackend::SvgBackend(double width, double height, double dpr, util::TextBuffer&& out, std::string_view between)
    : out_(std::move(out)), width_(width), height_(height), dpr_(dpr) {
  defs_at_ = defs_end_ = out_.size();
  out_.append(between);
  body_at_ = out_.size();
}

constexpr std::uint8_t kBorderLayer = 1;

// The numbers of one batched piece: a handful of coordinates.
constexpr std::size_t kMaxPieceChars = 64 + 12 * kMaxFixedChars;

void SvgBackend::fill_rect(const Rect& r, Color color) {
  if (batching()) {
    if (finite_rect(r)) Writer(path_of_fill(color), kMaxPieceChars, kBounded).rect_piece(r);
    return;
  }
  write_shapes();
  Writer(out_, kMaxShapeChars, kBounded).fill_rect_element(r, color, state_);
}

void SvgBackend::fill_rects(std::span<const FilledRect> rects) {
  if (batching()) {
    for (const FilledRect& r : rects) fill_rect(r.rect, r.color);
    return;
  }
  write_shapes();
  Writer w(out_, rects.size() * kMaxShapeChars, kBounded);
  for (const FilledRect& r : rects) w.fill_rect_element(r.rect, r.color, state_);
}

void SvgBackend::stroke_rect(const Rect& r, const StrokeStyle& stroke) {
  if (!finite_stroke(stroke)) return;
  if (batching()) {
    if (finite_rect(r)) Writer(path_of_stroke(stroke), kMaxPieceChars, kBounded).rect_piece(r);
    return;
  }
  write_shapes();
  Writer(out_, max_chars(stroke), kBounded).stroke_rect_element(r, stroke, state_);
}

// A circle of no size, or of a negative radius, is drawn by no reader; a batched one would be.
void SvgBackend::fill_circle(double cx, double cy, double radius, Color color) {
  if (!std::isfinite(radius)) return;
  if (batching()) {
    if (all_finite(cx, cy) && radius > 0) Writer(path_of_fill(color), kMaxPieceChars, kBounded).circle_piece(cx, cy, radius);
    return;
  }
  write_shapes();
  Writer w(out_, kMaxShapeChars, kBounded);
  w.lit(R"(<circle cx=")").n2(cx).lit(R"(" cy=")").n2(cy).lit(R"(" r=")").n2(radius);
  w.lit(R"(" fill=")").color(color).lit(R"(" stroke="none")").state(state_).lit("/>\n");
}

void SvgBackend::stroke_circle(double cx, double cy, double radius, const StrokeStyle& stroke) {
  if (!std::isfinite(radius) || !finite_stroke(stroke)) return;
  if (batching()) {
    if (all_finite(cx, cy) && radius > 0) {
      Writer(path_of_stroke(stroke), kMaxPieceChars, kBounded).circle_piece(cx, cy, radius);
    }
    return;
  }
  write_shapes();
  Writer w(out_, max_chars(stroke), kBounded);
  w.lit(R"(<circle cx=")").n2(cx).lit(R"(" cy=")").n2(cy).lit(R"(" r=")").n2(radius).lit("\" ");
  w.stroke(stroke).lit(R"( fill="none")").state(state_).lit("/>\n");
}

void SvgBackend::line(double x1, double y1, double x2, double y2, const StrokeStyle& stroke) {
  if (!finite_stroke(stroke)) return;
  if (batching()) {
    if (all_finite(x1, y1, x2, y2)) Writer(path_of_stroke(stroke), kMaxPieceChars, kBounded).line_piece(x1, y1, x2, y2);
    return;
  }
  write_shapes();
  Writer(out_, max_chars(stroke), kBounded).line_element(x1, y1, x2, y2, stroke, state_);
}

void SvgBackend::candle(const Candle& c) {
  if (batching()) {
    if (c.wick) line(c.wick_x, c.wick_top, c.wick_x, c.wick_bottom, StrokeStyle::solid(c.wick_width, c.wick_color));
    fill_rect(c.body, c.body_color);
    if (c.border && finite_rect(c.body)) {
      Writer(path_of_stroke(StrokeStyle::solid(1.0, *c.border), kBorderLayer), kMaxPieceChars, kBounded)
          .rect_piece(c.body);
    }
    return;
  }
  write_shapes();
  Writer w(out_, 3 * max_stroked_chars(0), kBounded);  // wick and border are undashed
  if (c.wick) {
    w.line_element(c.wick_x, c.wick_top, c.wick_x, c.wick_bottom, StrokeStyle::solid(c.wick_width, c.wick_color),
                   state_);
  }
  w.fill_rect_element(c.body, c.body_color, state_);
  if (c.border) w.stroke_rect_element(c.body, StrokeStyle::solid(1.0, *c.border), state_);
}

// Vertical and horizontal moves name one coordinate each, so a bar is seven numbers, fewer than a candle.
void SvgBackend::ohlc_bar(const OhlcBar& b) {
  if (batching()) {
    if (all_finite(b.x, b.high, b.low, b.left, b.open, b.right, b.close) && std::isfinite(b.width)) {
      Writer(path_of_stroke(StrokeStyle::solid(b.width, b.color)), kMaxPieceChars, kBounded).ohlc_piece(b);
    }
    return;
  }
  write_shapes();
  Writer w(out_, max_stroked_chars(0) + 3 * kMaxFixedChars, kBounded);
  w.lit(R"(<path d="M)").n2(b.x).lit(" ").n2(b.high).lit("V").n2(b.low);
  w.lit("M").n2(b.left).lit(" ").n2(b.open).lit("H").n2(b.x);
  w.lit("M").n2(b.x).lit(" ").n2(b.close).lit("H").n2(b.right);
  w.lit("\" ").stroke(StrokeStyle::solid(b.width, b.color)).lit(R"( fill="none")").state(state_).lit("/>\n");
}

void SvgBackend::polyline(std::span<const PixelPoint> points, const StrokeStyle& stroke) {
  begin_polyline();
  line_points(points);
  end_line(stroke);
}

void SvgBackend::begin_polyline() {
  write_shapes();
  line_at_ = out_.size();
  line_points_ = 0;
  line_is_path_ = false;
  Writer(out_).lit(R"(<polyline points=")");
}

void SvgBackend::begin_path() {
  write_shapes();
  line_at_ = out_.size();
  line_points_ = 0;
  line_is_path_ = true;
  Writer(out_).lit(R"(<path d=")");
}

void SvgBackend::begin_filled_path(const FillKind& fill) {
  write_shapes();
  line_fill_ = define_fill(fill);
  begin_path();
}

void SvgBackend::line_points(std::span<const PixelPoint> points) {
  constexpr std::size_t kMaxPointChars = 4 + 2 * kMaxFixedChars;
  Writer w(out_, points.size() * kMaxPointChars, kBounded);
  // The kind is fixed for the whole line and only its first point differs, so neither is asked per point.
  const bool first = line_points_ == 0;
  line_points_ += points.size();
  if (line_is_path_) {
    for (const PixelPoint& p : points) {
      &p == points.data() && first ? w.lit("M") : w.lit(" L");
      w.n2(p.x).lit(" ").n2(p.y);
    }
  } else {
    for (const PixelPoint& p : points) {
      if (&p != points.data() || !first) w.lit(" ");
      w.n2(p.x).lit(",").n2(p.y);
    }
  }
}

void SvgBackend::end_line(const StrokeStyle& stroke) {
  if (line_points_ < (line_is_path_ ? 1u : 2u) || !finite_stroke(stroke)) {
    out_.truncate(line_at_);
    return;
  }
  Writer w(out_);
  w.lit("\" ").stroke(stroke).lit(R"( fill="none")").state(state_).lit("/>\n");
}

void SvgBackend::end_closed_fill() {
  if (line_points_ == 0) {
    out_.truncate(line_at_);
    return;
  }
  Writer w(out_);
  w.lit(" Z\" ").fill(line_fill_).lit(R"( stroke="none")").state(state_).lit("/>\n");
}

void SvgBackend::stroke_path(std::span<const PathCommand> path, const StrokeStyle& stroke) {
  if (!finite_stroke(stroke)) return;
  if (batching() && batchable(path)) {
    Writer(path_of_stroke(stroke)).path(path);
    return;
  }
  write_shapes();
  Writer w(out_);
  w.lit(R"(<path d=")").path(path).lit("\" ").stroke(stroke).lit(R"( fill="none")").state(state_).lit("/>\n");
}

// A gradient's definition goes in ahead of the element that uses it, so that only the text written since
// the definitions (never this element's points) moves to make room for it.
SvgBackend::FillRef SvgBackend::define_fill(const FillKind& fill) {
  if (const Solid* solid = std::get_if<Solid>(&fill)) return {solid->color, std::nullopt};
  const std::uint32_t n = gradient_counter_++;
  util::TextBuffer definition;
  std::visit([&](const auto& g) {
    if constexpr (!std::is_same_v<std::decay_t<decltype(g)>, Solid>) write_gradient(definition, id_prefix_, n, g);
  }, fill);
  out_.insert(defs_end_, definition.view());
  defs_end_ += definition.size();
  body_at_ += definition.size();
  return {Color{}, n, id_prefix_};
}

void SvgBackend::fill_path(std::span<const PathCommand> path, const FillKind& fill) {
  if (const Solid* solid = std::get_if<Solid>(&fill); solid && batching() && batchable(path)) {
    Writer(path_of_fill(solid->color)).path(path);
    return;
  }
  write_shapes();
  const FillRef ref = define_fill(fill);
  Writer w(out_);
  w.lit(R"(<path d=")").path(path).lit("\" ").fill(ref).lit(R"( stroke="none")").state(state_).lit("/>\n");
}

// The family goes through the escaper like the content: written raw, a quote in it would end the attribute
// and leave the document ill-formed.
void SvgBackend::text(std::string_view content, const TextStyle& style, double x, double y) {
  write_shapes();
  if (!std::isfinite(style.font_size)) return;
  Writer w(out_);
  w.lit(R"(<text x=")").n2(x).lit(R"(" y=")").n2(y).lit(R"(" fill=")").color(style.color);
  w.lit(R"(" font-family=")").escaped(style.font_family).lit(R"(" font-size=")").n1(style.font_size);
  w.lit(R"(" text-anchor=")").str(svg_text(style.align));
  w.lit(R"(" dominant-baseline=")").str(svg_text(style.baseline)).lit("\"");
  w.str(svg_attr(style.weight)).state(state_).lit(">").escaped(content).lit("</text>\n");
}

util::TextBuffer& SvgBackend::path_of_fill(Color color) {
  if (last_fill_ < paths_used_) {
    const ShapeStyle& last = paths_[last_fill_].style;
    if (!last.stroked && last.fill == color && last.state == state_) return paths_[last_fill_].d;
  }
  ShapeStyle style;
  style.fill = color;
  style.state = state_;
  return path_of(style);
}

util::TextBuffer& SvgBackend::path_of_stroke(const StrokeStyle& stroke, std::uint8_t layer) {
  if (last_stroke_ < paths_used_) {
    const ShapeStyle& last = paths_[last_stroke_].style;
    if (last.stroked && last.layer == layer && last.stroke == stroke && last.state == state_) {
      return paths_[last_stroke_].d;
    }
  }
  ShapeStyle style;
  style.stroked = true;
  style.stroke = stroke;
  style.state = state_;
  style.layer = layer;
  return path_of(style);
}

util::TextBuffer& SvgBackend::path_of(const ShapeStyle& style) {
  for (std::size_t i = 0; i < paths_used_; ++i) {
    const ShapeStyle& s = paths_[i].style;
    if (s.stroked == style.stroked && s.layer == style.layer && s.state == style.state &&
        (style.stroked ? s.stroke == style.stroke : s.fill == style.fill)) {
      (style.stroked ? last_stroke_ : last_fill_) = i;
      return paths_[i].d;
    }
  }
  if (paths_used_ == kMaxBatchStyles) write_paths();
  if (paths_used_ == paths_.size()) paths_.emplace_back();
  StyledPath& p = paths_[paths_used_];
  p.style = style;
  p.d.clear();
  (style.stroked ? last_stroke_ : last_fill_) = paths_used_++;
  return p.d;
}

void SvgBackend::write_paths() {
  for (std::size_t i = 0; i < paths_used_; ++i) {
    const StyledPath& p = paths_[i];
    Writer w(out_, p.d.size() + max_chars(p.style.stroke) + kMaxShapeChars, kBounded);
    w.lit(R"(<path d=")").str(p.d.view()).lit("\" ");
    if (p.style.stroked) {
      w.stroke(p.style.stroke).lit(R"( fill="none")");
    } else {
      w.lit(R"(fill=")").color(p.style.fill).lit(R"(" stroke="none")");
    }
    w.state(p.style.state).lit("/>\n");
  }
  paths_used_ = 0;
}

namespace {
template <class Write>
std::string write_to_string(Write write) {
  util::TextBuffer buf;
  {
    Writer w(buf, 64);
    write(w);
  }
  return buf.take();
}
}  // namespace

std::string SvgBackend::color_to_css(Color color) {
  return write_to_string([&](Writer& w) { w.color(color); });
}

std::string SvgBackend::line_style_attrs(const StrokeStyle& stroke) {
  return write_to_string([&](Writer& w) { w.stroke(stroke); });
}

std::string SvgBackend::path_to_d(std::span<const PathCommand> path) {
  return write_to_string([&](Writer& w) { w.path(path); });
}

std::string SvgBackend::transform_attr() const {
  return write_to_string([&](Writer& w) { w.transform(state_); });
}

std::string SvgBackend::opacity_attr() const {
  return write_to_string([&](Writer& w) { w.opacity(state_); });
}

}  // namespace qc::render

#undef QC_INLINE
