// The replay: one pass over the document, each element drawn as it is read. Gradients and clip paths are
// kept as they are defined, ahead of the elements that use them, as the writer puts them.
#include "raster/replay.hpp"

#include <algorithm>
#include <cmath>

#include "raster/bundled_font.hpp"
#include "raster/dense_lines.hpp"
#include "raster/path_data.hpp"

namespace qc::raster {
namespace {

constexpr double kDefaultFontSize = 16.0;
// SVG's miter limit; cairo's own default is 10.
constexpr double kMiterLimit = 4.0;

bool finite(double v) { return std::isfinite(v); }

// The path of an element, straight into cairo's current path.
class CairoPath final : public PathSink {
 public:
  explicit CairoPath(cairo_t* cr) : cr_(cr) {}
  void move_to(double x, double y) override { cairo_move_to(cr_, x, y); }
  void line_to(double x, double y) override { cairo_line_to(cr_, x, y); }
  void curve_to(double x1, double y1, double x2, double y2, double x, double y) override {
    cairo_curve_to(cr_, x1, y1, x2, y2, x, y);
  }
  void close() override { cairo_close_path(cr_); }

 private:
  cairo_t* cr_;
};

// A rectangle as SVG defines it, its corners absolute: cairo_rectangle's relative sides round to other
// fixed-point corners, and its edges' coverage comes out apart from other renderers' by a few 255ths.
void rect_path(PathSink& path, double x, double y, double w, double h) {
  path.move_to(x, y);
  path.line_to(x + w, y);
  path.line_to(x + w, y + h);
  path.line_to(x, y + h);
  path.close();
}


// The element's matrix on cairo for as long as it is drawn.
class Transformed {
 public:
  Transformed(cairo_t* cr, const SvgReplay::Placement& p) : cr_(p.transformed ? cr : nullptr) {
    if (cr_ == nullptr) return;
    cairo_save(cr_);
    cairo_transform(cr_, &p.matrix);
  }
  ~Transformed() {
    if (cr_ != nullptr) cairo_restore(cr_);
  }
  Transformed(const Transformed&) = delete;
  Transformed& operator=(const Transformed&) = delete;

 private:
  cairo_t* cr_;
};

constexpr std::pair<std::string_view, cairo_line_cap_t> kCaps[] = {
    {"butt", CAIRO_LINE_CAP_BUTT}, {"round", CAIRO_LINE_CAP_ROUND}, {"square", CAIRO_LINE_CAP_SQUARE}};
constexpr std::pair<std::string_view, cairo_line_join_t> kJoins[] = {
    {"miter", CAIRO_LINE_JOIN_MITER}, {"round", CAIRO_LINE_JOIN_ROUND}, {"bevel", CAIRO_LINE_JOIN_BEVEL}};

enum class Anchor { start, middle, end };
constexpr std::pair<std::string_view, Anchor> kAnchors[] = {
    {"start", Anchor::start}, {"middle", Anchor::middle}, {"end", Anchor::end}};
enum class Baseline { alphabetic, central, hanging, after_edge };
constexpr std::pair<std::string_view, Baseline> kBaselines[] = {
    {"alphabetic", Baseline::alphabetic}, {"auto", Baseline::alphabetic}, {"central", Baseline::central},
    {"hanging", Baseline::hanging}, {"text-after-edge", Baseline::after_edge}};
constexpr std::pair<std::string_view, bool> kWeights[] = {{"normal", false}, {"bold", true}, {"lighter", false}};

// Where the baseline lies below the text's y, in ems, as the browser engine places it with this font.
double baseline_shift(Baseline b, const BundledFont& font) {
  switch (b) {
    case Baseline::alphabetic: return 0.0;
    case Baseline::central: return (font.ascent() - font.descent()) / 2;
    case Baseline::hanging: return 0.8 * font.ascent();
    case Baseline::after_edge: return -font.descent();
  }
  return 0.0;
}

}  // namespace

SvgReplay::SvgReplay(std::string_view svg) : reader_(svg) {
  stack_.reserve(16);
  read_root();
}

void SvgReplay::read_attributes(std::string_view element, AttrSet allowed) {
  attrs_.present = 0;
  for (const XmlAttribute& at : reader_.attributes()) {
    const auto a = attr_named(at.name);
    if (!a || (allowed & bit(*a)) == 0) {
      notes_.attribute(element, at.name);
      continue;
    }
    attrs_.value[static_cast<std::size_t>(*a)] = at.value;
    attrs_.present |= bit(*a);
  }
}

template <class T, std::size_t N>
T SvgReplay::keyword_of(Attr a, std::string_view element, const std::pair<std::string_view, T> (&table)[N],
                        T fallback) {
  if (!attrs_.has(a)) return fallback;
  for (const auto& [name, v] : table) {
    if (name == attrs_[a]) return v;
  }
  notes_.attribute(element, kAttrNames[static_cast<std::size_t>(a)]);
  return fallback;
}

std::optional<double> SvgReplay::length(Attr a, std::string_view element, double percent_of, double fallback) {
  if (!attrs_.has(a)) return fallback;
  const auto v = length_value(attrs_[a], percent_of);
  if (!v || !finite(*v)) {
    notes_.attribute(element, kAttrNames[static_cast<std::size_t>(a)]);
    return std::nullopt;
  }
  return v;
}

// The root: its size (a view box gives what width and height leave out) and what percentages refer to.
void SvgReplay::read_root() {
  for (;;) {
    switch (reader_.next()) {
      case XmlReader::Token::text: continue;
      case XmlReader::Token::markup: notes_.element(reader_.name()); continue;
      case XmlReader::Token::open: break;
      case XmlReader::Token::malformed: notes_.element("#malformed"); return;
      default: return;
    }
    if (reader_.name() != "svg") {
      notes_.element(reader_.name());
      return;
    }
    read_attributes("svg", allowed_attrs(Element::svg));
    has_view_box_ = read_view_box(view_box_);
    // A percentage of nothing is no size.
    const double nan = std::nan("");
    width_ = length(Attr::width, "svg", nan, has_view_box_ ? view_box_[2] : 0.0).value_or(0.0);
    height_ = length(Attr::height, "svg", nan, has_view_box_ ? view_box_[3] : 0.0).value_or(0.0);
    if (!(width_ > 0.0) || !(height_ > 0.0)) width_ = height_ = 0.0;
    vw_ = has_view_box_ ? view_box_[2] : width_;
    vh_ = has_view_box_ ? view_box_[3] : height_;
    if (!reader_.self_closing()) stack_.push_back({Element::svg, Context::body});
    return;
  }
}

// The element's viewBox: false, with a note, when it has one that does not read as a box.
bool SvgReplay::read_view_box(std::array<double, 4>& box) {
  if (!attrs_.has(Attr::view_box)) return false;
  NumberScanner scan(attrs_[Attr::view_box]);
  bool ok = true;
  for (double& v : box) {
    const auto n = scan.number();
    ok = ok && n && finite(*n);
    v = ok ? *n : 0.0;
  }
  scan.skip_spaces();
  ok = ok && scan.at_end() && box[2] > 0 && box[3] > 0;
  if (!ok) notes_.attribute("svg", "viewBox");
  return ok;
}

namespace {

// preserveAspectRatio's default: the whole box, centred in width x height, scaled alike on both axes.
void fit_view_box(cairo_t* cr, double width, double height, const std::array<double, 4>& box) {
  const double s = std::min(width / box[2], height / box[3]);
  cairo_translate(cr, (width - box[2] * s) / 2 - box[0] * s, (height - box[3] * s) / 2 - box[1] * s);
  cairo_scale(cr, s, s);
}

// What every context a document is drawn on starts from.
void prepare(cairo_t* cr) {
  cairo_set_miter_limit(cr, kMiterLimit);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

bool whole(double v) { return std::isfinite(v) && v == std::floor(v); }

}  // namespace

SvgReplay::~SvgReplay() {
  // A drawing cut short by an exception leaves its nested contexts open, the innermost on top.
  for (auto f = stack_.rbegin(); f != stack_.rend(); ++f) {
    if (f->outer == nullptr) continue;
    cairo_destroy(cr_);
    cr_ = f->outer;
  }
}

void SvgReplay::draw(cairo_t* cr) {
  cr_ = cr;
  if (stack_.empty()) return;
  prepare(cr);
  if (has_view_box_) fit_view_box(cr, width_, height_, view_box_);

  const auto pop = [&] {
    const Frame f = stack_.back();
    stack_.pop_back();
    close(f);
  };
  for (;;) {
    switch (reader_.next()) {
      case XmlReader::Token::open: {
        const std::string_view name = reader_.name();
        const bool empty = reader_.self_closing();
        if (skip_depth_ > 0) {
          skip_depth_ += empty ? 0 : 1;
          break;
        }
        const auto e = element_named(name);
        if (!e || !allowed_in(stack_.back().children, *e)) {
          notes_.element(name);
          skip_depth_ = empty ? 0 : 1;
          break;
        }
        read_attributes(name, allowed_attrs(*e));
        open(*e, name);
        if (empty) pop();
        break;
      }
      case XmlReader::Token::close:
        if (skip_depth_ > 0) {
          --skip_depth_;
          break;
        }
        if (reader_.name() != element_name(stack_.back().element)) {
          notes_.element("#malformed");
          while (!stack_.empty()) pop();
          return;
        }
        pop();
        if (stack_.empty()) return;  // the root is closed; nothing after it is drawn
        break;
      case XmlReader::Token::text:
        if (skip_depth_ == 0 && in_text_) text_raw_.append(reader_.text());
        break;
      case XmlReader::Token::markup:
        notes_.element(reader_.name());
        break;
      case XmlReader::Token::malformed:
        notes_.element("#malformed");
        [[fallthrough]];
      case XmlReader::Token::end:
        in_text_ = false;  // a text cut off by the end is not drawn
        while (!stack_.empty()) pop();
        return;
    }
  }
}

bool SvgReplay::allowed_in(Context c, Element e) const {
  switch (c) {
    case Context::body: return e != Element::stop;
    case Context::defs:
      return e == Element::linear_gradient || e == Element::radial_gradient || e == Element::clip_path;
    case Context::gradient: return e == Element::stop;
    case Context::clip: return e == Element::rect;
    case Context::nothing: return false;
  }
  return false;
}

void SvgReplay::open(Element e, std::string_view name) {
  Frame f{e, Context::nothing};
  switch (e) {
    case Element::svg:
      f.children = Context::body;
      nest(f);
      break;
    case Element::defs: f.children = Context::defs; break;
    case Element::linear_gradient:
    case Element::radial_gradient:
      begin_gradient(e == Element::radial_gradient);
      f.children = Context::gradient;
      break;
    case Element::stop: add_stop(); break;
    case Element::clip_path:
      begin_clip_path();
      f.children = Context::clip;
      break;
    case Element::g:
      f.children = Context::body;
      if (attrs_.has(Attr::clip_path)) f.restore = apply_clip(name);
      break;
    case Element::rect:
      if (stack_.back().children == Context::clip) {
        add_clip_rect();
        break;
      }
      [[fallthrough]];
    case Element::line:
    case Element::polyline:
    case Element::circle:
    case Element::path: shape(e, name); break;
    case Element::text:
      in_text_ = true;
      text_raw_.clear();
      break;
  }
  stack_.push_back(f);
}

void SvgReplay::close(const Frame& f) {
  if (f.element == Element::text && in_text_) {
    in_text_ = false;
    text();
  }
  if (f.restore) cairo_restore(cr_);
  if (f.element != Element::svg) return;
  vw_ = f.outer_vw;
  vh_ = f.outer_vh;
  if (f.outer == nullptr) return;
  const int w = cairo_image_surface_get_width(cairo_get_target(cr_));
  const int h = cairo_image_surface_get_height(cairo_get_target(cr_));
  cairo_destroy(cr_);
  cr_ = f.outer;
  cairo_surface_mark_dirty_rectangle(cairo_get_target(cr_), f.device_x, f.device_y, w, h);
}

namespace {

// Whether the pixels (x, y) to (x + w, y + h) of the context's surface may be drawn on straight: an image
// surface drawn on directly (no group, no offset), holding them all, and no clip but rectangles that hold them.
bool drawable_in_place(cairo_t* cr, int x, int y, int w, int h) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_get_group_target(cr) != target || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32) {
    return false;
  }
  double ox = 0, oy = 0;
  cairo_surface_get_device_offset(target, &ox, &oy);
  if (ox != 0 || oy != 0 || x < 0 || y < 0 || x + w > cairo_image_surface_get_width(target) ||
      y + h > cairo_image_surface_get_height(target)) {
    return false;
  }
  cairo_rectangle_list_t* clips = cairo_copy_clip_rectangle_list(cr);
  bool inside = false;
  if (clips->status == CAIRO_STATUS_SUCCESS) {
    for (int i = 0; i < clips->num_rectangles && !inside; ++i) {
      double x0 = clips->rectangles[i].x, y0 = clips->rectangles[i].y;
      double x1 = x0 + clips->rectangles[i].width, y1 = y0 + clips->rectangles[i].height;
      cairo_user_to_device(cr, &x0, &y0);
      cairo_user_to_device(cr, &x1, &y1);
      inside = std::min(x0, x1) <= x && std::min(y0, y1) <= y && std::max(x0, x1) >= x + w && std::max(y0, y1) >= y + h;
    }
  }
  cairo_rectangle_list_destroy(clips);
  return inside;
}

}  // namespace

// A document nested in this one: drawn in its own box at (x, y), clipped to that box, with percentages of
// its own size (or view box) until it closes. On pixels, a box that starts on a whole device pixel is drawn
// as a surface of its own over those very pixels, its origin at the box's corner, as the document alone
// would be: gradients and antialiasing depend on where a shape lies on its surface, and a nested chart must
// look as it does alone.
void SvgReplay::nest(Frame& f) {
  f.outer_vw = vw_;
  f.outer_vh = vh_;
  const double x = x_length(Attr::x, "svg"), y = y_length(Attr::y, "svg");
  const double w = length(Attr::width, "svg", vw_, vw_).value_or(0.0);
  const double h = length(Attr::height, "svg", vh_, vh_).value_or(0.0);
  std::array<double, 4> box{};
  const bool boxed = read_view_box(box);
  vw_ = boxed ? box[2] : w;
  vh_ = boxed ? box[3] : h;
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  double dx = x, dy = y;
  cairo_user_to_device(cr_, &dx, &dy);
  const double pw = std::floor(w * m.xx + 0.5), ph = std::floor(h * m.yy + 0.5);
  if (m.xy == 0 && m.yx == 0 && m.xx > 0 && m.yy > 0 && whole(dx) && whole(dy) && pw >= 1 && ph >= 1 &&
      pw <= 32767 && ph <= 32767 && dx <= 32767 && dy <= 32767 &&
      drawable_in_place(cr_, static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(pw), static_cast<int>(ph))) {
    cairo_surface_t* target = cairo_get_target(cr_);
    cairo_surface_flush(target);
    const int stride = cairo_image_surface_get_stride(target);
    unsigned char* corner = cairo_image_surface_get_data(target) + static_cast<std::ptrdiff_t>(dy) * stride +
                            static_cast<std::ptrdiff_t>(dx) * 4;
    cairo_surface_t* cell = cairo_image_surface_create_for_data(corner, CAIRO_FORMAT_ARGB32, static_cast<int>(pw),
                                                                static_cast<int>(ph), stride);
    cairo_t* inner = cairo_create(cell);
    cairo_surface_destroy(cell);  // the context holds it
    if (cairo_status(inner) == CAIRO_STATUS_SUCCESS) {
      f.outer = cr_;
      f.device_x = static_cast<int>(dx);
      f.device_y = static_cast<int>(dy);
      cr_ = inner;
      prepare(cr_);
      cairo_scale(cr_, m.xx, m.yy);
      if (boxed) fit_view_box(cr_, w, h, box);
      return;
    }
    cairo_destroy(inner);
  }
  cairo_save(cr_);
  f.restore = true;
  cairo_translate(cr_, x, y);
  cairo_new_path(cr_);
  CairoPath path(cr_);
  if (w > 0 && h > 0) rect_path(path, 0, 0, w, h);
  cairo_clip(cr_);  // no size: nothing shows
  if (boxed && w > 0 && h > 0) fit_view_box(cr_, w, h, box);
}

// ---- gradients and clip paths --------------------------------------------------------------------------

void SvgReplay::begin_gradient(bool radial) {
  const std::string_view name = radial ? "radialGradient" : "linearGradient";
  Gradient g;
  g.radial = radial;
  // Fractions of the bounding box; a percentage is one of 1.
  const Attr keys[2][4] = {{Attr::x1, Attr::y1, Attr::x2, Attr::y2}, {Attr::cx, Attr::cy, Attr::r, Attr::count}};
  const double defaults[2][4] = {{0.0, 0.0, 1.0, 0.0}, {0.5, 0.5, 0.5, 0.0}};
  for (int i = 0; i < (radial ? 3 : 4); ++i) {
    g.a[i] = length(keys[radial][i], name, 1.0, defaults[radial][i]).value_or(defaults[radial][i]);
  }
  building_ = gradients_.size();
  gradients_.push_back(std::move(g));
  if (attrs_.has(Attr::id)) gradient_ids_[attrs_[Attr::id]] = building_;
}

void SvgReplay::add_stop() {
  if (building_ >= gradients_.size()) return;
  std::vector<Stop>& stops = gradients_[building_].stops;
  double offset = 0.0;
  if (attrs_.has(Attr::offset)) {
    const auto v = offset_value(attrs_[Attr::offset]);
    if (!v) notes_.attribute("stop", "offset");
    offset = v.value_or(0.0);
  }
  // Offsets never go back: a stop before the one ahead of it stands at that one's offset.
  if (!stops.empty()) offset = std::max(offset, stops.back().offset);
  render::Color color = render::kOpaqueBlack;
  if (attrs_.has(Attr::stop_color)) {
    const auto c = render::Color::from_css(attrs_[Attr::stop_color]);
    if (!c) notes_.attribute("stop", "stop-color");
    color = c.value_or(render::kOpaqueBlack);
  }
  stops.push_back({offset, color});
}

void SvgReplay::begin_clip_path() {
  building_ = clips_.size();
  clips_.emplace_back();
  if (attrs_.has(Attr::id)) clip_ids_[attrs_[Attr::id]] = building_;
}

void SvgReplay::add_clip_rect() {
  if (attrs_.has(Attr::transform)) notes_.attribute("rect", "transform");
  const ClipRect r{x_length(Attr::x, "rect"), y_length(Attr::y, "rect"), x_length(Attr::width, "rect"),
                   y_length(Attr::height, "rect")};
  if (building_ < clips_.size()) clips_[building_].push_back(r);
}

// The clip path's rectangles in the group's user space; an unknown reference clips nothing.
bool SvgReplay::apply_clip(std::string_view element) {
  const auto paint = paint_value(attrs_[Attr::clip_path]);
  const auto found = paint && paint->kind == Paint::Kind::url ? clip_ids_.find(paint->id) : clip_ids_.end();
  if (found == clip_ids_.end()) {
    notes_.attribute(element, "clip-path");
    return false;
  }
  cairo_save(cr_);
  cairo_new_path(cr_);
  CairoPath path(cr_);
  for (const ClipRect& r : clips_[found->second]) {
    if (r.width > 0 && r.height > 0) rect_path(path, r.x, r.y, r.width, r.height);
  }
  cairo_clip(cr_);  // no rectangle: nothing shows
  return true;
}

// ---- shapes --------------------------------------------------------------------------------------------

// False when the element paints nothing.
bool SvgReplay::read_style(std::string_view element, Style& s) {
  const auto paint = [&](Attr a, Paint fallback) {
    if (!attrs_.has(a)) return fallback;
    const auto p = paint_value(attrs_[a]);
    if (!p) notes_.attribute(element, kAttrNames[static_cast<std::size_t>(a)]);
    return p.value_or(fallback);
  };
  Paint black;
  black.kind = Paint::Kind::color;
  black.color = render::kOpaqueBlack;
  s.fill = paint(Attr::fill, black);
  s.stroke = paint(Attr::stroke, Paint{});

  const double diagonal = std::sqrt((vw_ * vw_ + vh_ * vh_) / 2);
  const auto width = length(Attr::stroke_width, element, diagonal, 1.0);
  s.width = width && *width >= 0.0 ? *width : 1.0;
  if (width && *width < 0.0) notes_.attribute(element, "stroke-width");

  s.dashed = false;
  if (attrs_.has(Attr::stroke_dasharray)) {
    if (!dash_value(attrs_[Attr::stroke_dasharray], dashes_)) {
      notes_.attribute(element, "stroke-dasharray");
    } else {
      double sum = 0.0;
      for (double d : dashes_) sum += d;
      s.dashed = sum > 0.0 && finite(sum);  // dashes of no length draw the line solid
    }
  }
  s.cap = keyword_of(Attr::stroke_linecap, element, kCaps, CAIRO_LINE_CAP_BUTT);
  s.join = keyword_of(Attr::stroke_linejoin, element, kJoins, CAIRO_LINE_JOIN_MITER);

  if (!read_placement(element, s.placement)) return false;
  const bool fills = s.fill.kind != Paint::Kind::none;
  const bool strokes = s.stroke.kind != Paint::Kind::none && s.width > 0.0;
  if (!strokes) s.stroke.kind = Paint::Kind::none;
  return fills || strokes;
}

// False when the element shows nothing: no opacity, or a matrix without an inverse, which flattens it
// (and would stop cairo).
bool SvgReplay::read_placement(std::string_view element, Placement& p) {
  p.opacity = 1.0;
  if (attrs_.has(Attr::opacity)) {
    const auto v = number_value(attrs_[Attr::opacity]);
    if (!v || !finite(*v)) notes_.attribute(element, "opacity");
    p.opacity = std::clamp(v && finite(*v) ? *v : 1.0, 0.0, 1.0);
  }
  p.transformed = false;
  if (attrs_.has(Attr::transform)) {
    const auto m = matrix_value(attrs_[Attr::transform]);
    if (!m) {
      notes_.attribute(element, "transform");
    } else {
      const auto& v = *m;
      const double det = v[0] * v[3] - v[1] * v[2];
      if (!std::all_of(v.begin(), v.end(), finite) || !(std::fabs(det) > 1e-12) || !finite(det)) return false;
      cairo_matrix_init(&p.matrix, v[0], v[1], v[2], v[3], v[4], v[5]);
      p.transformed = true;
    }
  }
  return p.opacity > 0.0;
}

void SvgReplay::shape(Element e, std::string_view name) {
  Style s;
  if (e == Element::line) attrs_.present &= ~bit(Attr::fill);  // a line has no inside to fill
  if (!read_style(name, s)) return;
  if (e == Element::line) s.fill.kind = Paint::Kind::none;
  const Transformed transformed(cr_, s.placement);
  cairo_new_path(cr_);
  CairoPath path(cr_);
  bool draws = true, fast_fill = false;
  switch (e) {
    case Element::rect: {
      const double x = x_length(Attr::x, name), y = y_length(Attr::y, name);
      const double w = x_length(Attr::width, name), h = y_length(Attr::height, name);
      // No width or no height: nothing at all, its stroke included (cairo would stroke a hairline).
      draws = w > 0 && h > 0;
      if (draws) rect_path(path, x, y, w, h);
      break;
    }
    case Element::circle: {
      const double cx = x_length(Attr::cx, name), cy = y_length(Attr::cy, name);
      const double r = length(Attr::r, name, std::sqrt((vw_ * vw_ + vh_ * vh_) / 2), 0.0).value_or(0.0);
      draws = r > 0;
      if (draws) {
        // Four quarter arcs from the rightmost point, clockwise, as SVG builds a circle.
        path.move_to(cx + r, cy);
        arc_to(path, cx + r, cy, r, r, 0, false, true, cx, cy + r);
        arc_to(path, cx, cy + r, r, r, 0, false, true, cx - r, cy);
        arc_to(path, cx - r, cy, r, r, 0, false, true, cx, cy - r);
        arc_to(path, cx, cy - r, r, r, 0, false, true, cx + r, cy);
        path.close();
      }
      break;
    }
    case Element::line:
      path.move_to(x_length(Attr::x1, name), y_length(Attr::y1, name));
      path.line_to(x_length(Attr::x2, name), y_length(Attr::y2, name));
      break;
    case Element::polyline:
    case Element::path: {
      const bool points = e == Element::polyline;
      const auto read = [&](PathSink& sink) {
        return points ? read_points(attrs_[Attr::points], sink) : read_path(attrs_[Attr::d], sink);
      };
      const char* attribute = points ? "points" : "d";
      const bool stroke_alone = dense_candidate(s), fill_alone = dense_fill_candidate(s);
      if (!stroke_alone && !fill_alone) {
        if (!read(path)) notes_.attribute(name, attribute);
        break;
      }
      lines_.clear();
      const bool read_whole = read(lines_);
      if (!lines_.straight() || (stroke_alone && lines_.closed())) {  // drawn as it is, read again into cairo
        if (!read(path)) notes_.attribute(name, attribute);
        break;
      }
      if (!read_whole) notes_.attribute(name, attribute);
      const bool crowded = crowds_columns(cr_, lines_, dense_);
      if (crowded && stroke_alone) {
        stroke_dense(s, name);
        draws = false;
      } else {
        lines_.replay(path);
        fast_fill = crowded;
      }
      break;
    }
    default: draws = false;
  }
  if (draws) {
    const cairo_antialias_t antialias = cairo_get_antialias(cr_);
    if (fast_fill) cairo_set_antialias(cr_, CAIRO_ANTIALIAS_FAST);
    paint_shape(s, name);
    cairo_set_antialias(cr_, antialias);
  }
  cairo_new_path(cr_);
}

// A stroke alone, solid, of butt caps, onto pixels: a line that may crowd the device columns, which
// stroke_dense_lines draws as cheaper cairo work. (A page keeps every stroke as it is.)
bool SvgReplay::dense_candidate(const Style& s) const {
  return s.fill.kind == Paint::Kind::none && s.stroke.kind == Paint::Kind::color && !s.dashed &&
         s.cap == CAIRO_LINE_CAP_BUTT && cairo_surface_get_type(cairo_get_target(cr_)) == CAIRO_SURFACE_TYPE_IMAGE;
}

// A fill alone onto pixels: a shape that may crowd the device columns, filled with fast antialiasing then.
bool SvgReplay::dense_fill_candidate(const Style& s) const {
  return s.fill.kind != Paint::Kind::none && s.stroke.kind == Paint::Kind::none &&
         cairo_surface_get_type(cairo_get_target(cr_)) == CAIRO_SURFACE_TYPE_IMAGE;
}

void SvgReplay::stroke_dense(const Style& s, std::string_view element) {
  if (!set_paint(s.stroke, s.placement.opacity, element, "stroke")) return;
  cairo_set_line_join(cr_, s.join);
  stroke_dense_lines(cr_, lines_, s.width, dense_);
}

// Fill, then stroke. A translucent element that does both is drawn whole and then laid on at its opacity,
// as SVG's group opacity asks; with one paint the opacity goes into the paint.
void SvgReplay::paint_shape(const Style& s, std::string_view element) {
  const bool fills = s.fill.kind != Paint::Kind::none;
  const bool strokes = s.stroke.kind != Paint::Kind::none;
  const double opacity = s.placement.opacity;
  const bool group = opacity < 1.0 && fills && strokes;
  const double alpha = group ? 1.0 : opacity;
  if (group) cairo_push_group(cr_);
  if (fills && set_paint(s.fill, alpha, element, "fill")) strokes ? cairo_fill_preserve(cr_) : cairo_fill(cr_);
  if (strokes) {
    cairo_set_line_width(cr_, s.width);
    cairo_set_line_cap(cr_, s.cap);
    cairo_set_line_join(cr_, s.join);
    if (s.dashed) {
      cairo_set_dash(cr_, dashes_.data(), static_cast<int>(dashes_.size()), 0.0);
    } else {
      cairo_set_dash(cr_, nullptr, 0, 0.0);
    }
    if (set_paint(s.stroke, alpha, element, "stroke")) cairo_stroke(cr_);
  }
  if (group) {
    cairo_pop_group_to_source(cr_);
    cairo_paint_with_alpha(cr_, opacity);
  }
}

// Sets cairo's source; false when the paint draws nothing (an unknown gradient, no stops, a box of no
// width or height, which SVG leaves unpainted).
bool SvgReplay::set_paint(const Paint& p, double alpha, std::string_view element, std::string_view attribute) {
  if (p.kind == Paint::Kind::color) {
    cairo_set_source_rgba(cr_, p.color.r / 255.0, p.color.g / 255.0, p.color.b / 255.0, p.color.a / 255.0 * alpha);
    return true;
  }
  const auto found = gradient_ids_.find(p.id);
  if (found == gradient_ids_.end()) {
    notes_.attribute(element, attribute);
    return false;
  }
  const Gradient& g = gradients_[found->second];
  if (g.stops.empty()) return false;
  const auto stop_rgba = [&](const Stop& st) {
    return std::array<double, 4>{st.color.r / 255.0, st.color.g / 255.0, st.color.b / 255.0,
                                 st.color.a / 255.0 * alpha};
  };
  if (g.stops.size() == 1) {
    const auto c = stop_rgba(g.stops[0]);
    cairo_set_source_rgba(cr_, c[0], c[1], c[2], c[3]);
    return true;
  }
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  cairo_path_extents(cr_, &x1, &y1, &x2, &y2);
  const double w = x2 - x1, h = y2 - y1;
  if (!(w > 0 && h > 0)) return false;
  cairo_pattern_t* pattern = g.radial ? cairo_pattern_create_radial(g.a[0], g.a[1], 0.0, g.a[0], g.a[1], g.a[2])
                                      : cairo_pattern_create_linear(g.a[0], g.a[1], g.a[2], g.a[3]);
  for (const Stop& st : g.stops) {
    const auto c = stop_rgba(st);
    cairo_pattern_add_color_stop_rgba(pattern, st.offset, c[0], c[1], c[2], c[3]);
  }
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  // The gradient's unit square is the bounding box; the pattern's matrix maps user space onto it.
  cairo_matrix_t m;
  cairo_matrix_init(&m, 1 / w, 0, 0, 1 / h, -x1 / w, -y1 / h);
  cairo_pattern_set_matrix(pattern, &m);
  cairo_set_source(cr_, pattern);
  cairo_pattern_destroy(pattern);
  return true;
}

// ---- text ----------------------------------------------------------------------------------------------

void SvgReplay::text() {
  constexpr std::string_view name = "text";
  const bool bold = keyword_of(Attr::font_weight, name, kWeights, false);
  const Anchor anchor = keyword_of(Attr::text_anchor, name, kAnchors, Anchor::start);
  const Baseline baseline = keyword_of(Attr::dominant_baseline, name, kBaselines, Baseline::alphabetic);
  const double size = length(Attr::font_size, name, kDefaultFontSize, kDefaultFontSize).value_or(kDefaultFontSize);
  const double x = x_length(Attr::x, name), y = y_length(Attr::y, name);

  render::Color color = render::kOpaqueBlack;
  if (attrs_.has(Attr::fill)) {
    const auto p = paint_value(attrs_[Attr::fill]);
    if (p && p->kind == Paint::Kind::none) return;
    if (!p || p->kind == Paint::Kind::url) notes_.attribute(name, "fill");
    if (p && p->kind == Paint::Kind::color) color = p->color;
  }
  Placement place;
  if (!read_placement(name, place)) return;
  const BundledFont* font = BundledFont::get(bold);
  if (font == nullptr || !(size > 0.0) || !finite(size) || color.a == 0) return;

  run_.set(text_raw_, *font, size);
  if (run_.empty()) return;
  const double w = run_.width();
  const double x0 = x - (anchor == Anchor::middle ? w / 2 : anchor == Anchor::end ? w : 0.0);
  const double y0 = y + baseline_shift(baseline, *font) * size;

  const Transformed transformed(cr_, place);
  cairo_set_font_face(cr_, font->face());
  cairo_set_font_size(cr_, size);
  cairo_set_source_rgba(cr_, color.r / 255.0, color.g / 255.0, color.b / 255.0, color.a / 255.0 * place.opacity);
  run_.show(cr_, x0, y0);
}

}  // namespace qc::raster
