// Replays an SVG document of the chart writer's subset onto a cairo context. It knows SVG, not charts.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "raster/dense_lines.hpp"
#include "raster/notes.hpp"
#include "raster/svg_names.hpp"
#include "raster/svg_values.hpp"
#include "raster/text_run.hpp"
#include "raster/xml_reader.hpp"

namespace qc::raster {

class SvgReplay {
 public:
  // Reads the document up to its root element, whose size is then known.
  explicit SvgReplay(std::string_view svg);
  ~SvgReplay();
  SvgReplay(const SvgReplay&) = delete;
  SvgReplay& operator=(const SvgReplay&) = delete;

  // The root's width and height in user units; both finite and positive, or has_size() is false.
  bool has_size() const { return width_ > 0.0 && height_ > 0.0; }
  double width() const { return width_; }
  double height() const { return height_; }

  // Draws the rest of the document onto `cr`, whose user space is the document's pixels.
  void draw(cairo_t* cr);
  const Notes& notes() const { return notes_; }

  // An element's opacity and matrix.
  struct Placement {
    double opacity = 1.0;
    bool transformed = false;
    cairo_matrix_t matrix{};
  };

 private:
  // The attributes of the element being read, by name.
  struct Attrs {
    std::array<std::string_view, kAttrCount> value;
    AttrSet present = 0;
    bool has(Attr a) const { return (present & bit(a)) != 0; }
    std::string_view operator[](Attr a) const { return value[static_cast<std::size_t>(a)]; }
  };
  // What may stand inside an element.
  enum class Context : std::uint8_t { body, defs, gradient, clip, nothing };
  struct Frame {
    Element element;
    Context children;
    bool restore = false;  // the element saved cairo's state
    double outer_vw = 0.0, outer_vh = 0.0;  // a nested document's: what percentages referred to outside it
    // A nested document drawn on a surface of its own over the outer one's pixels: the context it goes back
    // to, and the pixel its corner lies on.
    cairo_t* outer = nullptr;
    int device_x = 0, device_y = 0;
  };
  struct Stop {
    double offset;
    render::Color color;
  };
  struct Gradient {
    bool radial = false;
    double a[4] = {};  // x1 y1 x2 y2, or cx cy r: fractions of the bounding box
    std::vector<Stop> stops;
  };
  struct ClipRect {
    double x, y, width, height;
  };
  // A shape's painting attributes.
  struct Style {
    Paint fill, stroke;
    double width = 1.0;
    bool dashed = false;
    cairo_line_cap_t cap = CAIRO_LINE_CAP_BUTT;
    cairo_line_join_t join = CAIRO_LINE_JOIN_MITER;
    Placement placement;
  };

  void read_root();
  bool read_view_box(std::array<double, 4>& box);
  void nest(Frame& f);
  bool read_placement(std::string_view element, Placement& p);
  void read_attributes(std::string_view element, AttrSet allowed);
  void open(Element e, std::string_view name);
  void close(const Frame& f);
  bool allowed_in(Context c, Element e) const;

  // A keyword attribute by its table; the fallback when it is absent or not in the table.
  template <class T, std::size_t N>
  T keyword_of(Attr a, std::string_view element, const std::pair<std::string_view, T> (&table)[N], T fallback);
  std::optional<double> length(Attr a, std::string_view element, double percent_of, double fallback);
  double x_length(Attr a, std::string_view element) { return length(a, element, vw_, 0.0).value_or(0.0); }
  double y_length(Attr a, std::string_view element) { return length(a, element, vh_, 0.0).value_or(0.0); }
  bool read_style(std::string_view element, Style& s);
  void shape(Element e, std::string_view name);
  void paint_shape(const Style& s, std::string_view element);
  bool dense_candidate(const Style& s) const;
  bool dense_fill_candidate(const Style& s) const;
  void stroke_dense(const Style& s, std::string_view element);
  bool set_paint(const Paint& p, double alpha, std::string_view element, std::string_view attribute);
  void begin_gradient(bool radial);
  void add_stop();
  void begin_clip_path();
  void add_clip_rect();
  bool apply_clip(std::string_view element);
  void text();

  XmlReader reader_;
  Notes notes_;
  cairo_t* cr_ = nullptr;
  double width_ = 0.0, height_ = 0.0;
  double vw_ = 0.0, vh_ = 0.0;  // the view box's size: what percentages refer to
  std::array<double, 4> view_box_{};
  bool has_view_box_ = false;

  // The element being read; a text's stay while its content is gathered, since nothing may stand inside it.
  Attrs attrs_;
  std::string text_raw_;
  bool in_text_ = false;
  std::vector<Frame> stack_;
  std::size_t skip_depth_ = 0;  // inside an element not understood

  std::vector<Gradient> gradients_;
  std::vector<std::vector<ClipRect>> clips_;
  std::unordered_map<std::string_view, std::size_t> gradient_ids_, clip_ids_;
  std::size_t building_ = 0;  // the gradient or clip path being read

  std::vector<double> dashes_;
  LinePoints lines_;     // a line's points, kept between elements
  DenseScratch dense_;
  TextRun run_;
};

}  // namespace qc::raster
