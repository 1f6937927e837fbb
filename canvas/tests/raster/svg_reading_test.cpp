// Reading the SVG subset: the XML tokens, entity decoding, attribute values and path data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "raster/path_data.hpp"
#include "raster/svg_values.hpp"
#include "raster/xml_reader.hpp"

namespace qc::raster {
namespace {

// The tokens of a document as one line of text: "<name a=v>", "</name>", "'text'", markup by its name, "END", "BAD".
std::string tokens(std::string_view doc) {
  XmlReader r(doc);
  std::string out;
  for (;;) {
    switch (r.next()) {
      case XmlReader::Token::open:
        out += "<" + std::string(r.name());
        for (const XmlAttribute& a : r.attributes()) out += " " + std::string(a.name) + "=" + std::string(a.value);
        out += r.self_closing() ? "/>" : ">";
        break;
      case XmlReader::Token::close: out += "</" + std::string(r.name()) + ">"; break;
      case XmlReader::Token::text: out += "'" + std::string(r.text()) + "'"; break;
      case XmlReader::Token::markup: out += std::string(r.name()); break;
      case XmlReader::Token::end: return out + "END";
      case XmlReader::Token::malformed: return out + "BAD";
    }
  }
}

TEST(XmlReader, Tokens) {
  const struct {
    const char* doc;
    const char* expected;
  } cases[] = {
      {"<?xml version=\"1.0\"?>\n<svg a=\"1\" b='2'>\n<rect/></svg>", "'\n'<svg a=1 b=2>'\n'<rect/></svg>END"},
      {"<g><!-- <rect/> --><text x=\"1\" >A &amp; B</text ></g>", "<g><text x=1>'A &amp; B'</text></g>END"},
      {"<!DOCTYPE svg><svg/>", "!DOCTYPE<svg/>END"},
      {"<svg><![CDATA[x<y]]></svg>", "<svg>![CDATA[</svg>END"},
      {"<a x=\"1\"y=\"2\"/>", "BAD"},  // attributes need white space between them
      {"<a x=1/>", "BAD"},
      {"<a x=\"1/>", "BAD"},
      {"<a></", "<a>BAD"},
      {"<!-- unended", "BAD"},
  };
  for (const auto& c : cases) EXPECT_EQ(tokens(c.doc), c.expected) << c.doc;
}

TEST(XmlReader, DecodesEntities) {
  const struct {
    const char* raw;
    const char* decoded;
  } cases[] = {
      {"a &lt;b&gt; &amp; &quot;c&quot; &apos;", "a <b> & \"c\" '"},
      {"&#65;&#x42;&#x20AC;&#x1F600;", "AB\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"&#xD800;&#x110000;", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // no characters: U+FFFD
      {"&unknown; & &#xZZ; &", "&unknown; & &#xZZ; &"},
  };
  for (const auto& c : cases) {
    std::string out;
    decode_text(c.raw, out);
    EXPECT_EQ(out, c.decoded) << c.raw;
  }
}

TEST(SvgValues, NumbersLengthsAndOffsets) {
  EXPECT_EQ(number_value(" -1.5e2 "), -150.0);
  EXPECT_EQ(number_value("+.5"), 0.5);
  for (const char* bad : {"", "1 2", "nan", "inf", "1e", "1.5x", "--1"}) EXPECT_FALSE(number_value(bad)) << bad;
  EXPECT_TRUE(std::isnan(*number_value("1e999")));  // beyond the double range: refused by every caller
  EXPECT_EQ(length_value("50%", 300.0), 150.0);
  EXPECT_EQ(length_value("12px", 300.0), 12.0);
  EXPECT_EQ(offset_value("40%"), 0.4);
  EXPECT_EQ(offset_value("1.5"), 1.0);
  EXPECT_EQ(offset_value("-3%"), 0.0);
}

TEST(SvgValues, PaintsMatricesAndDashes) {
  const auto gradient = paint_value("url(#grad3)");
  ASSERT_TRUE(gradient);
  EXPECT_EQ(gradient->kind, Paint::Kind::url);
  EXPECT_EQ(gradient->id, "grad3");
  EXPECT_EQ(paint_value("none")->kind, Paint::Kind::none);
  EXPECT_EQ(paint_value("rgba(1,2,3,0.5019607843137255)")->color, (render::Color{1, 2, 3, 128}));
  EXPECT_EQ(paint_value("#a0b1c2")->color, (render::Color{0xa0, 0xb1, 0xc2, 255}));
  EXPECT_FALSE(paint_value("currentColor"));

  EXPECT_EQ(matrix_value("matrix(1.0000,0.0000,0.0000,-1.0000,2.50,-3)"),
            (std::array<double, 6>{1, 0, 0, -1, 2.5, -3}));
  EXPECT_EQ(matrix_value("matrix(1 0 0 1 5 6)"), (std::array<double, 6>{1, 0, 0, 1, 5, 6}));
  for (const char* bad : {"matrix(1,0,0,1,5)", "matrix(1,0,0,1,5,6,7)", "rotate(45)", "matrix(1,0,0,1,5,6"}) {
    EXPECT_FALSE(matrix_value(bad)) << bad;
  }

  std::vector<double> dashes;
  EXPECT_TRUE(dash_value("4.00,2.00", dashes));
  EXPECT_EQ(dashes, (std::vector<double>{4, 2}));
  EXPECT_TRUE(dash_value("none", dashes));
  EXPECT_TRUE(dashes.empty());
  for (const char* bad : {"4,-2", "", "4,x"}) EXPECT_FALSE(dash_value(bad, dashes)) << bad;
}

// The commands a sink receives, as text with coordinates to two decimals.
class Recorder final : public PathSink {
 public:
  void move_to(double x, double y) override { add("M", {x, y}); }
  void line_to(double x, double y) override { add("L", {x, y}); }
  void curve_to(double x1, double y1, double x2, double y2, double x, double y) override {
    add("C", {x1, y1, x2, y2, x, y});
  }
  void close() override { add("Z", {}); }
  std::string text;
  std::vector<double> last;  // the last point received

 private:
  void add(const char* command, std::vector<double> v) {
    text += text.empty() ? command : std::string(" ") + command;
    for (std::size_t i = 0; i < v.size(); ++i) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%s%.2f", i == 0 ? "" : ",", v[i] + 0.0);
      text += buf;
    }
    if (!v.empty()) last = {v[v.size() - 2], v.back()};
  }
};

TEST(PathData, ReadsTheWritersCommands) {
  const struct {
    const char* d;
    bool ok;
    const char* commands;
  } cases[] = {
      {"M1 2 L3 4 Z", true, "M1.00,2.00 L3.00,4.00 Z"},
      {"M12.50 100.00V120.00M10.00 105.00H12.50", true, "M12.50,100.00 L12.50,120.00 M10.00,105.00 L12.50,105.00"},
      {"M0 0 1 1,2 2", true, "M0.00,0.00 L1.00,1.00 L2.00,2.00"},  // pairs after a move are lines
      {"M0 0 Q3 0 3 3", true, "M0.00,0.00 C2.00,0.00,3.00,1.00,3.00,3.00"},  // raised to a cubic
      {"M0 0 C1 2 3 4 5 6 Z L1 1", true, "M0.00,0.00 C1.00,2.00,3.00,4.00,5.00,6.00 Z L1.00,1.00"},
      {"M0 0 L-1-2", true, "M0.00,0.00 L-1.00,-2.00"},
      // A batched rectangle: relative moves from the current point, then back to the subpath's start.
      {"M1.00 2.00h3.00v4.00h-3.00ZM5 5v-1h-2", true,
       "M1.00,2.00 L4.00,2.00 L4.00,6.00 L1.00,6.00 Z M5.00,5.00 L5.00,4.00 L3.00,4.00"},
      {"M0 0 A0 5 0 0 1 4 4", true, "M0.00,0.00 L4.00,4.00"},  // a radius of 0: a line
      {"M0 0 A5 5 0 0 1 0 0", true, "M0.00,0.00"},                // to where it is: nothing
      {"M0 0 l1 1", false, "M0.00,0.00"},  // relative commands are not written, so not read
      {"L1 1", false, ""},                 // a path begins with a move
      {"M0 0 L1", false, "M0.00,0.00"},
      {"M0 0 Z 1 1", false, "M0.00,0.00 Z"},
      {"M0 0 L1e999 1", false, "M0.00,0.00"},
  };
  for (const auto& c : cases) {
    Recorder r;
    EXPECT_EQ(read_path(c.d, r), c.ok) << c.d;
    EXPECT_EQ(r.text, c.commands) << c.d;
  }
}

TEST(PathData, ArcsAreCubicsOnTheEllipse) {
  // A half circle of radius 10 around (10, 0), through (10, 10) when it sweeps clockwise (y down).
  Recorder r;
  ASSERT_TRUE(read_path("M0 0 A10 10 0 0 1 20 0", r));
  EXPECT_EQ(r.text.substr(0, 10), "M0.00,0.00");
  EXPECT_EQ(std::count(r.text.begin(), r.text.end(), 'C'), 2);  // quarter turns
  EXPECT_EQ(r.last, (std::vector<double>{20, 0}));              // ends exactly where asked
  EXPECT_NE(r.text.find("10.00,-10.00 C"), std::string::npos) << r.text;  // the middle point, sweep flag 1

  // Radii too small for the end points grow until they reach: a half circle again.
  Recorder small;
  ASSERT_TRUE(read_path("M0 0 A1 1 0 0 0 20 0", small));
  EXPECT_NE(small.text.find("10.00,10.00 C"), std::string::npos) << small.text;

  Recorder points;
  EXPECT_TRUE(read_points("1,2 3,4 5,6", points));
  EXPECT_EQ(points.text, "M1.00,2.00 L3.00,4.00 L5.00,6.00");
  Recorder odd;
  EXPECT_FALSE(read_points("1,2 3,4 5", odd));
  EXPECT_EQ(odd.text, "M1.00,2.00 L3.00,4.00");
}

}  // namespace
}  // namespace qc::raster
