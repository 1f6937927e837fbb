// The SVG backend: every drawing operation appends one element to the body text, or, while a shape batch is
// open, one subpath to the path of its style.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/engine/backend.hpp"
#include "render/engine/path.hpp"
#include "render/engine/types.hpp"
#include "util/text_buffer.hpp"

namespace qc::render {

// An affine matrix (a, b, c, d, e, f) as in SVG's matrix().
struct Transform {
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;
  friend bool operator==(const Transform&, const Transform&) = default;
};

// Written into every element as its transform and opacity attributes.
struct SvgState {
  std::optional<Transform> transform;
  double opacity = 1.0;

  friend bool operator==(const SvgState&, const SvgState&) = default;
};

class SvgBackend {
 public:
  static constexpr std::size_t kBodyCapacity = 65536;

  SvgBackend(const SvgBackend&) = delete;
  SvgBackend& operator=(const SvgBackend&) = delete;

  SvgBackend(double width, double height, double dpr);
  // Writes into `out` behind the text it already holds, which ends where gradient definitions go; `between`
  // (the text that separates the definitions from the elements) is written at once. The definitions are
  // inserted there as they come, so the document is never copied to put them ahead of its body.
  SvgBackend(double width, double height, double dpr, util::TextBuffer&& out, std::string_view between);

  // The drawing operations; coordinates are pixels with y growing downwards. An element whose stroke width,
  // dash length, radius or font size is NaN or infinite is not written.
  void fill_rect(const Rect& rect, Color color);
  void stroke_rect(const Rect& rect, const StrokeStyle& stroke);
  void fill_circle(double cx, double cy, double radius, Color color);
  void stroke_circle(double cx, double cy, double radius, const StrokeStyle& stroke);
  void line(double x1, double y1, double x2, double y2, const StrokeStyle& stroke);
  void polyline(std::span<const PixelPoint> points, const StrokeStyle& stroke);  // < 2 points: nothing
  void stroke_path(std::span<const PathCommand> path, const StrokeStyle& stroke);
  void fill_path(std::span<const PathCommand> path, const FillKind& fill);  // gradients also go to defs
  void text(std::string_view content, const TextStyle& style, double x, double y);

  // A candle as line(), fill_rect() and stroke_rect() write it: the wick from (x, top) to (x, bottom)
  // when there is one, the body, and the body's hairline border when it has a colour. One reservation and
  // one call for the chart's most numerous elements.
  struct Candle {
    bool wick = false;
    double wick_width = 1.0;
    double wick_x = 0.0, wick_top = 0.0, wick_bottom = 0.0;
    Color wick_color;
    Rect body;
    Color body_color;
    std::optional<Color> border;
  };
  void candle(const Candle& c);

  // An OHLC bar as one stroked path of three lines of the given width: the stroke from (x, high) down to
  // (x, low), the open's tick from (left, open) to x and the close's tick from (x, close) to right.
  struct OhlcBar {
    double x, high, low;
    double left, open;
    double right, close;
    double width;
    Color color;
  };
  void ohlc_bar(const OhlcBar& b);

  // Rectangles as fill_rect() writes them, in one reservation.
  struct FilledRect {
    Rect rect;
    Color color;
  };
  void fill_rects(std::span<const FilledRect> rects);

  // A long line written a few points at a time rather than gathered first: begin, hand over the points in
  // order, then end with the stroke. A polyline of fewer than two points, or a path of none, leaves
  // nothing, as polyline() does; the path is a MoveTo to the first point and a LineTo to each further one.
  void begin_polyline();
  void begin_path();
  void line_points(std::span<const PixelPoint> points);
  void end_line(const StrokeStyle& stroke);
  // The same for a closed path filled like fill_path() and not stroked. A gradient's definition is
  // written when the path begins, so a path begun should be given its points.
  void begin_filled_path(const FillKind& fill);
  void end_closed_fill();

  // How an element names its fill: a colour, or the number of a gradient already defined.
  struct FillRef {
    Color color;
    std::optional<std::uint32_t> gradient;
    std::string_view prefix = {};  // the gradient's id prefix
  };

  // Shapes of one look, one element: while a batch is open (see ShapeBatch), fill_rect(s), stroke_rect, line,
  // the circles, candle, ohlc_bar, a solid fill_path and a stroke_path add their shape as subpaths of one
  // <path> per style (fill, stroke, state), each subpath with the coordinates the shape's own element would
  // have. The paths are written in the order of their styles' first shapes when the outermost batch closes,
  // or at once before any other element or markup, so that nothing drawn after a shape ends up beneath it.
  // A shape with a number that is not finite is left out, as no reader would draw it and it would spoil
  // its whole path.
  void begin_shapes() { ++batch_depth_; }
  // `write` false: the batch is left while an exception unwinds, and what it held is dropped.
  void end_shapes(bool write = true) {
    if (--batch_depth_ > 0) return;
    if (write) {
      write_shapes();
    } else {
      paths_used_ = 0;
    }
  }

  // The attribute texts the elements are made of, for callers that write their own markup.
  static std::string color_to_css(Color color);
  static std::string line_style_attrs(const StrokeStyle& stroke);
  static std::string path_to_d(std::span<const PathCommand> path);
  std::string transform_attr() const;
  std::string opacity_attr() const;

  const SvgState& state() const { return state_; }
  void set_state(const SvgState& state) { state_ = state; }

  double width() const { return width_; }
  double height() const { return height_; }
  double dpr() const { return dpr_; }
  std::uint32_t gradient_counter() const { return gradient_counter_; }
  // Ids this backend defines start with `prefix` ("c0-" in a figure's first cell), as do their references;
  // the text must outlive the backend.
  void set_id_prefix(std::string_view prefix) { id_prefix_ = prefix; }

  std::string_view body() const { return out_.view().substr(body_at_); }
  std::string_view defs() const { return out_.view().substr(defs_at_, defs_end_ - defs_at_); }
  // For markup that is not one of the element templates (the document's own background, say).
  util::TextBuffer& body_buffer() {
    write_shapes();
    return out_;
  }
  std::string take_body() {
    write_shapes();
    return out_.take(body_at_);
  }
  // Everything written, from the text the backend was given on; the backend is empty afterwards.
  util::TextBuffer release() {
    write_shapes();
    return std::exchange(out_, util::TextBuffer());
  }

 private:
  SvgState state_;
  util::TextBuffer out_;    // [text given][defs][between][body]
  std::size_t defs_at_ = 0;
  std::size_t defs_end_ = 0;
  std::size_t body_at_ = 0;
  double width_;
  double height_;
  double dpr_;
  std::uint32_t gradient_counter_ = 0;
  std::string_view id_prefix_;
  // The line being written point by point.
  std::size_t line_at_ = 0;
  std::size_t line_points_ = 0;
  bool line_is_path_ = false;
  FillRef line_fill_{};

  FillRef define_fill(const FillKind& fill);

  // The look of a batched shape: filled in a colour, or stroked.
  struct ShapeStyle {
    bool stroked = false;
    Color fill;
    StrokeStyle stroke;
    SvgState state;
    // Shapes that look alike but stack apart: a candle's border goes over its body, so it never joins the
    // wicks of its colour, which go under.
    std::uint8_t layer = 0;
  };
  // One style's path data; the slots and their buffers are kept from batch to batch.
  struct StyledPath {
    ShapeStyle style;
    util::TextBuffer d;
  };
  std::vector<StyledPath> paths_;
  std::size_t paths_used_ = 0;
  // The styles the last filled and the last stroked shape took: the next of each most often takes the same
  // (a candle's body and wick come in turn).
  std::size_t last_fill_ = 0;
  std::size_t last_stroke_ = 0;
  int batch_depth_ = 0;

  bool batching() const { return batch_depth_ > 0; }
  util::TextBuffer& path_of_fill(Color color);
  util::TextBuffer& path_of_stroke(const StrokeStyle& stroke, std::uint8_t layer = 0);
  util::TextBuffer& path_of(const ShapeStyle& style);
  // Writes the batched paths, if any, and forgets them.
  void write_shapes() {
    if (paths_used_ > 0) write_paths();
  }
  void write_paths();
};

static_assert(RenderBackend<SvgBackend>);

// The shapes a painter draws while this lives gather into one <path> per style (SvgBackend::begin_shapes).
class ShapeBatch {
 public:
  explicit ShapeBatch(SvgBackend& out) : out_(out), unwinding_(std::uncaught_exceptions()) { out_.begin_shapes(); }
  // Writing may need memory; a failure then propagates like any other write's, unless the batch is being
  // left because of an exception already.
  ~ShapeBatch() noexcept(false) { out_.end_shapes(std::uncaught_exceptions() == unwinding_); }
  ShapeBatch(const ShapeBatch&) = delete;
  ShapeBatch& operator=(const ShapeBatch&) = delete;

 private:
  SvgBackend& out_;
  int unwinding_;
};

// One long line into the backend, its points handed over in chunks: no list of all the points, and no
// call per point.
class LineWriter {
 public:
  enum class Kind { polyline, path };
  LineWriter(SvgBackend& out, Kind kind) : out_(out) { kind == Kind::path ? out.begin_path() : out.begin_polyline(); }
  // A closed path to be filled.
  LineWriter(SvgBackend& out, const FillKind& fill) : out_(out) { out.begin_filled_path(fill); }
  void add(double x, double y) {
    chunk_[n_++] = {x, y};
    if (n_ == kChunk) flush();
  }
  void end(const StrokeStyle& stroke) {
    flush();
    out_.end_line(stroke);
  }
  void end_closed() {
    flush();
    out_.end_closed_fill();
  }

 private:
  static constexpr std::size_t kChunk = 128;
  void flush() {
    out_.line_points({chunk_, n_});
    n_ = 0;
  }

  SvgBackend& out_;
  PixelPoint chunk_[kChunk];
  std::size_t n_ = 0;
};

// Many filled rectangles into the backend, handed over in chunks: no call per rectangle. end() writes
// what is still held, once the last rectangle is added.
class RectWriter {
 public:
  explicit RectWriter(SvgBackend& out) : out_(out) {}
  void add(const Rect& rect, Color color) {
    chunk_[n_++] = {rect, color};
    if (n_ == kChunk) end();
  }
  void end() {
    out_.fill_rects({chunk_, n_});
    n_ = 0;
  }

 private:
  // Each rectangle reserves room for numbers of any length, so a chunk asks for a few tens of kilobytes.
  static constexpr std::size_t kChunk = 16;
  SvgBackend& out_;
  SvgBackend::FilledRect chunk_[kChunk];
  std::size_t n_ = 0;
};

}  // namespace qc::render
