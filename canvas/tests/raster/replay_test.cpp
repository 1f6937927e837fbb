// The replay: what it reports as not understood, the document's size, and the SVG rules it keeps where
// cairo's differ (zero sizes, the miter limit, clipping, gradients in the bounding box, group opacity).
#include "raster/replay.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qc::raster {
namespace {

// A document's picture at 1:1 on a transparent surface, read back a pixel at a time.
class Picture {
 public:
  explicit Picture(const std::string& body, int w = 40, int h = 40) {
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(w) +
                            "\" height=\"" + std::to_string(h) + "\">" + body + "</svg>";
    SvgReplay doc(svg);
    surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    cairo_t* cr = cairo_create(surface_.get());
    doc.draw(cr);
    EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
    cairo_destroy(cr);
    cairo_surface_flush(surface_.get());
    notes = doc.notes().list();
  }
  // Premultiplied 0xAARRGGBB.
  std::uint32_t at(int x, int y) const {
    const unsigned char* row =
        cairo_image_surface_get_data(surface_.get()) + y * cairo_image_surface_get_stride(surface_.get());
    return reinterpret_cast<const std::uint32_t*>(row)[x];
  }
  int alpha(int x, int y) const { return static_cast<int>(at(x, y) >> 24); }
  bool blank() const {
    for (int y = 0; y < cairo_image_surface_get_height(surface_.get()); ++y) {
      for (int x = 0; x < cairo_image_surface_get_width(surface_.get()); ++x) {
        if (at(x, y) != 0) return false;
      }
    }
    return true;
  }
  std::vector<std::string> notes;

 private:
  struct Free {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  };
  std::unique_ptr<cairo_surface_t, Free> surface_;
};

TEST(SvgReplay, ReportsWhatItDoesNotUnderstand) {
  const struct {
    const char* body;
    std::vector<std::string> notes;
  } cases[] = {
      {"<rect x=\"1\" y=\"1\" width=\"2\" height=\"2\" fill=\"#000000\"/><line x1=\"0\" y1=\"0\" x2=\"5\" y2=\"5\" "
       "stroke=\"rgba(0,0,0,0.5)\" stroke-width=\"1.00\" stroke-dasharray=\"2.00,1.00\" stroke-linecap=\"round\" "
       "stroke-linejoin=\"bevel\" opacity=\"0.50\" transform=\"matrix(1.0000,0.0000,0.0000,1.0000,0.00,0.00)\"/>",
       {}},
      {"<rect width=\"2\" height=\"2\" rx=\"1\"/><foo><rect/></foo><path d=\"M0 0 l1 1\"/>",
       {"foo", "path@d", "rect@rx"}},
      {"<text x=\"1\" y=\"2\" font-stretch=\"wide\">a<tspan>b</tspan></text><text dominant-baseline=\"middle\">c</text>",
       {"text@dominant-baseline", "text@font-stretch", "tspan"}},
      {"<rect width=\"5\" height=\"5\" fill=\"red\" stroke=\"url(#nowhere)\" stroke-linecap=\"flat\"/>",
       {"rect@fill", "rect@stroke", "rect@stroke-linecap"}},
      {"<g clip-path=\"url(#none)\"/><linearGradient id=\"g\"><rect/></linearGradient><!DOCTYPE x>",
       {"!DOCTYPE", "g@clip-path", "rect"}},
      {"<rect width=\"5\" height=\"5\"></g>", {"#malformed"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Picture(c.body).notes, c.notes) << c.body;
}

// A batched rectangle's relative sides draw the rectangle their absolute forms draw, and a layer's class
// is understood (it draws nothing of its own).
TEST(SvgReplay, RelativeSidesAndLayerClasses) {
  const Picture relative("<g class=\"pointer\"><path d=\"M10 10h20v15h-20ZM2 2v4h3\" fill=\"#ff0000\"/></g>");
  const Picture absolute("<g><path d=\"M10 10H30V25H10ZM2 2V6H5\" fill=\"#ff0000\"/></g>");
  EXPECT_TRUE(relative.notes.empty());
  EXPECT_EQ(relative.at(20, 20), 0xFFFF0000u);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(relative.at(x, y), absolute.at(x, y)) << x << ", " << y;
  }
}

TEST(SvgReplay, SizeFromTheRootOrItsViewBox) {
  const struct {
    const char* svg;
    double width, height;
  } cases[] = {
      {"<svg width=\"1200\" height=\"800\" viewBox=\"0 0 1200 800\"/>", 1200, 800},
      {"<?xml version=\"1.0\"?>\n<svg viewBox=\"0 0 30 20\"></svg>", 30, 20},
      {"<svg width=\"50%\" height=\"10\"/>", 0, 0},
      {"<svg width=\"10\"/>", 0, 0},
      {"<rect/>", 0, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    SvgReplay doc(c.svg);
    EXPECT_EQ(doc.has_size(), c.width > 0) << c.svg;
    EXPECT_EQ(doc.width(), c.width) << c.svg;
    EXPECT_EQ(doc.height(), c.height) << c.svg;
  }
}

TEST(SvgReplay, NothingOfZeroSizeIsDrawn) {
  // Cairo would stroke the outline of an empty rectangle and put round caps on a circle of no radius.
  EXPECT_TRUE(Picture("<rect x=\"10\" y=\"10\" width=\"0\" height=\"20\" fill=\"#ff0000\" stroke=\"#000000\" "
                      "stroke-width=\"4\"/><circle cx=\"20\" cy=\"20\" r=\"0\" fill=\"#ff0000\" stroke=\"#000000\" "
                      "stroke-width=\"4\" stroke-linecap=\"round\"/><rect width=\"-5\" height=\"5\"/>")
                  .blank());
  EXPECT_FALSE(Picture("<circle cx=\"20\" cy=\"20\" r=\"1\" stroke=\"#000000\"/>").blank());
}

TEST(SvgReplay, MiterLimitIsSvgs) {
  // A corner of about 11 degrees: its miter is 10.2 widths long, past SVG's limit of 4 (within cairo's 10.5).
  const Picture p("<polyline points=\"2,10 38,17 2,24\" fill=\"none\" stroke=\"#000000\" stroke-width=\"2\"/>");
  EXPECT_GT(p.alpha(37, 17), 128);
  EXPECT_EQ(p.alpha(39, 17), 0);  // a miter would reach x = 48
}

TEST(SvgReplay, ClipPathsGradientsAndGroupOpacity) {
  const Picture clipped("<defs><clipPath id=\"c\"><rect x=\"0\" y=\"0\" width=\"20\" height=\"40\"/></clipPath></defs>"
                        "<g clip-path=\"url(#c)\"><rect width=\"40\" height=\"40\" fill=\"#ff0000\"/></g>"
                        "<rect x=\"30\" y=\"0\" width=\"10\" height=\"10\" fill=\"#0000ff\"/>");
  EXPECT_EQ(clipped.at(10, 20), 0xFFFF0000u);
  EXPECT_EQ(clipped.at(25, 20), 0u);
  EXPECT_EQ(clipped.at(35, 5), 0xFF0000FFu);  // the clip ends with its group

  // The gradient spans the rectangle (its bounding box), not the canvas.
  const Picture gradient("<defs><linearGradient id=\"grad0\" x1=\"0.00%\" y1=\"0.00%\" x2=\"100.00%\" y2=\"0.00%\">"
                         "<stop offset=\"0%\" stop-color=\"#ff0000\"/><stop offset=\"100%\" stop-color=\"#0000ff\"/>"
                         "</linearGradient></defs><rect x=\"10\" y=\"0\" width=\"20\" height=\"10\" "
                         "fill=\"url(#grad0)\"/>");
  EXPECT_GT(gradient.at(10, 5) >> 16 & 0xFF, 0xE0u);
  EXPECT_LT(gradient.at(10, 5) & 0xFF, 0x20u);
  EXPECT_GT(gradient.at(29, 5) & 0xFF, 0xE0u);
  EXPECT_EQ(gradient.at(5, 5), 0u);

  // Fill and stroke of a translucent element are laid on together: where they overlap it is no darker.
  const Picture group("<rect x=\"10\" y=\"10\" width=\"20\" height=\"20\" fill=\"#000000\" stroke=\"#000000\" "
                      "stroke-width=\"4\" opacity=\"0.5\"/>");
  EXPECT_EQ(group.alpha(11, 20), group.alpha(20, 20));
  EXPECT_NEAR(group.alpha(20, 20), 128, 1);

  const Picture moved("<rect width=\"10\" height=\"10\" fill=\"#000000\" "
                      "transform=\"matrix(1.0000,0.0000,0.0000,1.0000,20.00,0.00)\"/>");
  EXPECT_EQ(moved.alpha(5, 5), 0);
  EXPECT_EQ(moved.alpha(25, 5), 255);
  EXPECT_TRUE(Picture("<rect width=\"10\" height=\"10\" transform=\"matrix(1,0,2,0,0,0)\"/>").blank());
}

// A nested document is drawn at its x and y, clipped to its box, with percentages of its own size; the
// drawing after it is back in the outer document's space.
TEST(SvgReplay, NestedDocumentsTranslateAndClip) {
  const Picture p(
      "<svg x=\"10\" y=\"20\" width=\"8\" height=\"6\" viewBox=\"0 0 8 6\">"
      "<rect x=\"-5\" y=\"-5\" width=\"100%\" height=\"100\" fill=\"#ff0000\"/></svg>"
      "<rect x=\"0\" y=\"0\" width=\"2\" height=\"2\" fill=\"#0000ff\"/>");
  EXPECT_TRUE(p.notes.empty());
  EXPECT_EQ(p.at(10, 20), 0xFFFF0000u);  // the rectangle's part inside the box
  EXPECT_EQ(p.at(12, 25), 0xFFFF0000u);
  EXPECT_EQ(p.alpha(13, 20), 0);  // past 100% of the nested width less the rectangle's offset
  EXPECT_EQ(p.alpha(10, 26), 0);  // clipped at the box's bottom
  EXPECT_EQ(p.alpha(9, 20), 0);   // and left
  EXPECT_EQ(p.at(1, 1), 0xFF0000FFu);
  EXPECT_EQ(p.alpha(5, 5), 0);
}

}  // namespace
}  // namespace qc::raster

namespace qc::raster {
namespace {

// A zigzag of n points, four to a column, up and down the picture, from point `from`.
std::string zigzag(int from, int n) {
  std::string points;
  for (int k = from; k < from + n; ++k) {
    points += std::to_string(2.0 + k * 0.25) + "," + std::to_string(k % 2 == 0 ? 5.0 + k % 7 : 60.0 - k % 5) + " ";
  }
  return points;
}

// A line of kLongLine points or more crowding the columns is laid on as boxes; the same line in two halves
// is stroked by cairo. Each covers the other's pixels within a pixel, and a translucent one is laid on once:
// no pixel takes more than its colour's alpha.
TEST(SvgReplay, LongCrowdedLinesDrawAsTheirStroke) {
  constexpr int kPoints = 1600, kWidth = 420, kHeight = 70;
  for (const char* color : {"#000000", "rgba(0,0,0,0.5)"}) {
    const std::string tail = std::string("\" stroke=\"") + color + "\" stroke-width=\"1.00\" fill=\"none\"/>";
    const Picture whole("<polyline points=\"" + zigzag(0, kPoints) + tail, kWidth, kHeight);
    const Picture halves("<polyline points=\"" + zigzag(0, kPoints / 2 + 1) + tail + "<polyline points=\"" +
                             zigzag(kPoints / 2, kPoints / 2) + tail,
                         kWidth, kHeight);
    const auto drawn = [](const Picture& p, int x, int y) { return p.alpha(x, y) > 48; };
    const auto near = [&](const Picture& p, int x, int y) {
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int u = x + dx, v = y + dy;
          if (u >= 0 && v >= 0 && u < kWidth && v < kHeight && drawn(p, u, v)) return true;
        }
      }
      return false;
    };
    int most = 0, alone = 0, drawn_pixels = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        most = std::max(most, whole.alpha(x, y));
        drawn_pixels += drawn(whole, x, y);
        alone += (drawn(whole, x, y) && !near(halves, x, y)) + (drawn(halves, x, y) && !near(whole, x, y));
      }
    }
    EXPECT_GT(drawn_pixels, 1000) << color;
    EXPECT_EQ(alone, 0) << color;
    EXPECT_LE(most, color[0] == '#' ? 255 : 128) << color;
  }
}

}  // namespace
}  // namespace qc::raster
