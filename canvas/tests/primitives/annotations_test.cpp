// The annotation tools: factories, JSON keys, label anchors and their icons as read from the SVG.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "api/primitive_words.hpp"
#include "primitives/catalog/annotations/anchored_text.hpp"
#include "primitives/catalog/annotations/callout.hpp"
#include "primitives/catalog/annotations/comment.hpp"
#include "primitives/catalog/annotations/flag.hpp"
#include "primitives/catalog/annotations/note.hpp"
#include "primitives/catalog/annotations/price_label.hpp"
#include "primitives/catalog/annotations/price_note.hpp"
#include "primitives/catalog/annotations/sign.hpp"
#include "primitives/catalog/annotations/signpost.hpp"
#include "primitives/catalog/annotations/table.hpp"
#include "primitives/catalog/annotations/text.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::of_tag;
using testing::parse_path;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

using Corners = std::vector<std::pair<double, double>>;

// The points a path passes through, in order, whatever its commands.
Corners corners(const SvgElement& e) {
  Corners out;
  for (const auto& step : parse_path(e.at("d"))) {
    for (std::size_t i = 0; i + 1 < step.args.size(); i += 2) out.emplace_back(step.args[i], step.args[i + 1]);
  }
  return out;
}

TEST(AnnotationFactories, AnchorsWidthsAndTexts) {
  struct Case {
    std::unique_ptr<Primitive> p;
    std::vector<Point> points;
    double width;
    const char* text;  // data.text content, or null when absent
  };
  const std::vector<Point> given = {{3, 40}, {7, 80}, {9, 90}};
  Case cases[] = {
      {make<Text>(given), {{3, 40}}, 1.0, "Text"},
      {make<AnchoredText>({}), {{0, 0}}, 1.0, "Anchored Text"},
      {make<Note>(given), {{3, 40}}, 1.0, "Note"},
      {make<Comment>({}), {{0, 0}}, 1.0, "Comment"},
      {make<Callout>({{10, 100}}), {{10, 100}, {15, 110}}, 1.0, "Callout"},
      {make<Callout>({}), {{0, 0}, {5, 10}}, 1.0, "Callout"},
      {make<Callout>(given), {{3, 40}, {7, 80}}, 1.0, "Callout"},
      {make<PriceNote>(given), {{3, 40}}, 1.0, "Price Note"},
      {make<PriceLabel>({}), {{0, 0}}, 1.0, ""},
      {make<Signpost>(given), {{3, 40}}, 1.0, "Signpost"},
      {make<Sign>(given), {{3, 40}}, 2.0, nullptr},
      {make<Flag>({}), {{0, 0}}, 2.0, "Flag"},
      {make<Table>(given), {{3, 40}}, 1.0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.p->type_id()));
    EXPECT_EQ(c.p->points(), c.points);
    EXPECT_EQ(c.p->data().width, c.width);
    EXPECT_EQ(c.p->data().text.has_value(), c.text != nullptr);
    if (c.text != nullptr && c.p->data().text) {
      EXPECT_EQ(c.p->data().text->content, c.text);
    }
  }
}

TEST(AnnotationAnchors, SetPointsAndTranslate) {
  auto callout = make<Callout>({{1, 1}, {2, 2}});
  const std::vector<Point> one = {{9, 9}};
  callout->set_points(one);
  EXPECT_EQ(callout->points(), (std::vector<Point>{{9, 9}, {2, 2}}));
  callout->translate(1, -1);
  EXPECT_EQ(callout->points(), (std::vector<Point>{{10, 8}, {3, 1}}));
  callout->set_points({});
  EXPECT_EQ(callout->points(), (std::vector<Point>{{10, 8}, {3, 1}}));

  auto sign = make<Sign>({{1, 1}});
  sign->translate(2, 3);
  EXPECT_EQ(sign->points(), (std::vector<Point>{{3, 4}}));
  sign->set_points({});
  EXPECT_EQ(sign->points(), (std::vector<Point>{{3, 4}}));
}

TEST(AnnotationJson, OwnKeysAfterData) {
  auto table = make<Table>({{1, 2}});
  EXPECT_EQ(table->to_json(),
            R"({"data":{"id":0,"type_id":"table","display_name":"Table","color":{"stroke":"#2196F3",)"
            R"("fill":null},"width":1.0,"style":"solid","text":null,"locked":false,"visible":true,"z_order":0,)"
            R"("timeframe_visibility":null,"sync_mode":"None","pane_id":null,"window_id":null},)"
            R"("bar":1.0,"price":2.0,"rows":[["Header1","Header2"],["Value1","Value2"]],"columns":2,)"
            R"("show_header":true})");
  struct Case {
    std::unique_ptr<Primitive> p;
    const char* tail;
  };
  Case cases[] = {
      {make<Text>({{1, 2}}), R"("bar":1.0,"price":2.0,"text":"","font_size":14.0,"bold":false,"italic":false})"},
      {make<AnchoredText>({}), R"("bar":0.0,"price":0.0,"text":"","font_size":14.0,"background":true})"},
      {make<Note>({}), R"("bar":0.0,"price":0.0,"title":"","content":"","expanded":false})"},
      {make<Comment>({}), R"("bar":0.0,"price":0.0,"text":"","author":"","timestamp":0})"},
      {make<Callout>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":5.0,"price2":10.0,"text":"","bubble_width":100.0,"bubble_height":50.0})"},
      {make<PriceNote>({{1, 2}}), R"("bar":1.0,"price":2.0,"text":"","show_price":true})"},
      {make<PriceLabel>({}), R"("bar":0.0,"price":0.0,"custom_text":null,"show_line":true})"},
      {make<Signpost>({}), R"("bar":0.0,"price":0.0,"text":"","direction":"Right"})"},
      {make<Sign>({}), R"("bar":0.0,"price":0.0,"sign_type":"Circle","size":20.0})"},
      {make<Flag>({}), R"("bar":0.0,"price":0.0,"text":"","flag_color":"#F44336"})"},
  };
  for (const Case& c : cases) {
    const std::string json = c.p->to_json();
    EXPECT_TRUE(json.ends_with(c.tail)) << json;
    EXPECT_TRUE(testing::is_valid_json(json)) << json;
  }
  EXPECT_NE(make<Note>({})->to_json().find(R"("text":{"content":"Note",)"), std::string::npos);
}

TEST(AnnotationJson, CallerWordsReplaceTheDefaultTextAndFillTheOwnField) {
  struct Case {
    std::unique_ptr<Primitive> p;
    const char* own;  // the type's own entries after set_text, or null when it keeps no words of its own
  };
  Case cases[] = {
      {make<Text>({}), R"("text":"say \"hi\"\n","font_size")"},
      {make<AnchoredText>({}), R"("text":"say \"hi\"\n","font_size")"},
      {make<Note>({}), R"("title":"","content":"say \"hi\"\n","expanded")"},
      {make<Comment>({}), R"("text":"say \"hi\"\n","author")"},
      {make<Callout>({}), R"("text":"say \"hi\"\n","bubble_width")"},
      {make<PriceNote>({}), R"("text":"say \"hi\"\n","show_price")"},
      {make<Signpost>({}), R"("text":"say \"hi\"\n","direction")"},
      {make<Flag>({}), R"("text":"say \"hi\"\n","flag_color")"},
      {make<PriceLabel>({}), nullptr},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(std::string(c.p->type_id()));
    const std::string before = c.p->to_json();
    c.p->set_text("say \"hi\"\n");
    const std::string json = c.p->to_json();
    EXPECT_NE(json.find(R"("text":{"content":"say \"hi\"\n","font_size":14.0,"color":null,"bold":false,)"
                        R"("italic":false,"v_align":"Start","h_align":"Center"})"),
              std::string::npos)
        << json;
    const auto own = [](const std::string& j) { return j.substr(j.find(R"(},"bar)")); };
    if (c.own != nullptr) {
      EXPECT_NE(json.find(c.own), std::string::npos) << json;
    } else {
      EXPECT_EQ(own(json), own(before));
    }
    c.p->set_text("");  // empty words are still a text
    ASSERT_TRUE(c.p->data().text);
    EXPECT_EQ(c.p->data().text->content, "");
  }
}

TEST(TextAndAnchoredText, DrawNothingAndPlaceTheirLabelAtTheAnchor) {
  testing::Canvas canvas;
  auto text = make<Text>({{4, 150}});  // (45, 100)
  auto anchored = make<AnchoredText>({{4, 150}});
  EXPECT_TRUE(draw(*text).empty());
  EXPECT_TRUE(draw(*anchored).empty());
  text->data_mut().text->content.clear();  // an empty content still places a label
  const auto a = text->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->x, 45);
  EXPECT_EQ(a->y, 100);
  EXPECT_FALSE(a->background);

  const auto b = anchored->text_anchor(canvas.ctx);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->background, "#2196F340");
  EXPECT_EQ(b->margin, 4.0);
  anchored->background = false;
  EXPECT_FALSE(anchored->text_anchor(canvas.ctx)->background);
  anchored->data_mut().text.reset();
  EXPECT_FALSE(anchored->text_anchor(canvas.ctx));
}

TEST(Note, FoldedPageAroundTheAnchor) {
  auto note = make<Note>({{9.52, 175}});  // (100.2, 50)
  const auto e = draw(*note);
  ASSERT_EQ(e.size(), 3u);  // the filled page, its outline and the fold
  EXPECT_EQ(corners(e[0]), (Corners{{92.5, 38.5}, {106.5, 38.5}, {108.5, 42.5}, {108.5, 62.5}, {92.5, 62.5}}));
  EXPECT_EQ(e[0].at("fill"), "#2196f3");
  EXPECT_EQ(corners(e[1]), corners(e[0]));
  EXPECT_EQ(e[1].at("stroke-width"), "1.00");
  EXPECT_EQ(corners(e[2]), (Corners{{106.5, 38.5}, {106.5, 42.5}, {108.5, 42.5}}));

  testing::Canvas canvas;
  EXPECT_FALSE(note->text_anchor(canvas.ctx));  // collapsed
  note->expanded = true;
  const auto a = note->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->y, 70);
}

TEST(Comment, BubbleTailAndThreeBlackLines) {
  auto comment = make<Comment>({{10, 100}});  // (105, 200)
  const auto e = draw(*comment);
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].at("fill"), "#2196f3");  // the bubble
  EXPECT_EQ(corners(e[1]), (Corners{{102.5, 208.5}, {97.5, 216.5}, {107.5, 208.5}}));
  const double rows[] = {197.5, 200.5, 203.5};
  for (int i = 0; i < 3; ++i) {
    const SvgElement& line = e[2 + i];
    EXPECT_EQ(line.at("stroke"), "#000000");
    EXPECT_EQ(line.at("stroke-width"), "1.00");
    EXPECT_EQ(corners(line), (Corners{{100.5, rows[i]}, {110.5, rows[i]}}));
  }
  testing::Canvas canvas;
  EXPECT_DOUBLE_EQ(comment->text_anchor(canvas.ctx)->y, 220);
}

TEST(Callout, LeaderLineAndBoxOnTheSecondAnchor) {
  auto callout = make<Callout>({{10, 150}, {29.5, 100}});  // (105, 100) and (300, 200)
  const auto e = draw(*callout);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(corners(e[0]), (Corners{{105.5, 100.5}, {300.5, 200.5}}));
  for (const SvgElement* box : {&e[1], &e[2]}) {
    EXPECT_EQ(box->tag, "rect");
    EXPECT_EQ(box->number("x"), 250.5);
    EXPECT_EQ(box->number("y"), 175.5);
    EXPECT_EQ(box->number("width"), 100);
    EXPECT_EQ(box->number("height"), 50);
  }
  EXPECT_EQ(e[1].at("fill"), "rgba(33,150,243,0.8)");
  EXPECT_EQ(e[2].at("fill"), "none");
  testing::Canvas canvas;
  const auto a = callout->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->color, "#FFFFFF");
  EXPECT_DOUBLE_EQ(a->x, 255);
  EXPECT_DOUBLE_EQ(a->y, 200);
  EXPECT_EQ(a->align, PrimitiveTextAlign::Start);
}

TEST(PriceNote, DashedLineAndLabelFlushWithTheRightEdge) {
  auto note = make<PriceNote>({{10, 101.5}});  // (105, 197)
  auto e = draw(*note);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("d"), "M105.50 197.50 L800.50 197.50");
  EXPECT_EQ(e[0].at("stroke-dasharray"), "4.00,4.00");
  const std::string label = "101.50 - Price Note";
  const double tw = static_cast<double>(label.size()) * 14 * 0.6;
  EXPECT_EQ(e[2].content, label);
  EXPECT_EQ(e[2].at("font-size"), "14.0");
  EXPECT_NEAR(e[2].number("x"), 800 - tw - 4, 0.01);
  EXPECT_NEAR(e[1].number("width"), tw + 8, 0.01);
  EXPECT_NEAR(e[1].number("x") + e[1].number("width"), 800, 0.5);  // flush with the edge, as snapped

  struct Case {
    bool has_data_text;
    bool show_price;
    const char* own;
    const char* label;
    const char* font_size;
  };
  const Case cases[] = {
      {true, false, "", "Price Note", "14.0"},
      {false, false, "", "Price Note", "12.0"},
      {false, false, "Stop", "Stop", "12.0"},
      {false, true, "", "101.50 - Price Note", "12.0"},
      {false, true, "Stop", "101.50 - Stop", "12.0"},
  };
  for (const Case& c : cases) {
    if (!c.has_data_text) note->data_mut().text.reset();
    note->show_price = c.show_price;
    note->text = c.own;
    e = draw(*note);
    EXPECT_EQ(e.back().content, c.label);
    EXPECT_EQ(e.back().at("font-size"), c.font_size);
  }
  note->price = 0.000301;  // a penny stock's price keeps its digits: 7 decimals at this level
  EXPECT_EQ(draw(*note).back().content, "0.0003010 - Stop");
}

TEST(PriceLabel, BoxCentredOnTheAnchorShowingItsPrice) {
  auto label = make<PriceLabel>({{20, 99.999}});  // (205, 200.002)
  auto e = draw(*label);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("d"), "M0.50 200.50 L200.50 200.50");
  EXPECT_EQ(e[2].content, "100.00");
  EXPECT_EQ(e[2].at("font-size"), "14.0");
  const double tw = 6 * 0.65 * 14;
  EXPECT_NEAR(e[1].number("width"), tw, 0.01);
  EXPECT_NEAR(e[2].number("x"), 205 - tw / 2 + 4, 0.01);
  label->price = 0.000301;
  EXPECT_EQ(draw(*label).back().content, "0.0003010");

  label->custom_text = "Entry";
  EXPECT_EQ(draw(*label).back().content, "Entry");
  label->data_mut().text->content = "TP";
  EXPECT_EQ(draw(*label).back().content, "TP");
  label->show_line = false;
  e = draw(*label);
  EXPECT_EQ(e.size(), 2u);  // no lead-in line
  EXPECT_EQ(e[0].tag, "rect");
}

TEST(Signpost, PostPointsInItsDirection) {
  auto post = make<Signpost>({{9.52, 100}});  // (100.2, 200)
  post->direction = SignpostDirection::Up;
  const auto e = draw(*post);
  ASSERT_EQ(e.size(), 2u);
  const Corners up = {{90.5, 200.5}, {90.5, 170.5}, {100.5, 160.5}, {110.5, 170.5}, {110.5, 200.5}};
  EXPECT_EQ(corners(e[0]), up);
  EXPECT_EQ(corners(e[1]), up);
  post->direction = SignpostDirection::Left;
  EXPECT_EQ(corners(draw(*post)[0]),
            (Corners{{100.5, 190.5}, {70.5, 190.5}, {60.5, 200.5}, {70.5, 210.5}, {100.5, 210.5}}));

  // The words run away from the point beside a horizontal post and are centred above or below a vertical one.
  testing::Canvas canvas;
  struct Label {
    SignpostDirection direction;
    double x, y;
    PrimitiveTextAlign align;
  };
  const Label labels[] = {{SignpostDirection::Right, 145.2, 200, PrimitiveTextAlign::Start},
                          {SignpostDirection::Left, 55.2, 200, PrimitiveTextAlign::End},
                          {SignpostDirection::Up, 100.2, 155, PrimitiveTextAlign::Center},
                          {SignpostDirection::Down, 100.2, 245, PrimitiveTextAlign::Center}};
  for (const Label& l : labels) {
    post->direction = l.direction;
    const auto a = post->text_anchor(canvas.ctx);
    ASSERT_TRUE(a);
    EXPECT_NEAR(a->x, l.x, 1e-9);
    EXPECT_NEAR(a->y, l.y, 1e-9);
    EXPECT_EQ(a->align, l.align) << json_name(l.direction);
  }
  EXPECT_NE(post->to_json().find(R"("direction":"Down")"), std::string::npos);
  // The words drawn there end at the anchor, clear of a post pointing left.
  post->direction = SignpostDirection::Left;
  testing::Canvas words;
  api::draw_primitive_words(words.backend, *post, words.ctx);
  const auto w = words.elements();
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0].content, "Signpost");
  EXPECT_EQ(w[0].at("text-anchor"), "end");
  EXPECT_EQ(w[0].at("x"), "55.20");
}

TEST(Sign, ShapesAroundTheAnchor) {
  auto sign = make<Sign>({{9.5, 175}});  // (100, 50)
  sign->sign_type = SignType::Square;
  auto e = draw(*sign);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].tag, "rect");
  EXPECT_EQ(e[0].number("x"), 90.5);
  EXPECT_EQ(e[0].number("y"), 40.5);
  EXPECT_EQ(e[0].number("width"), 20);

  struct Case {
    SignType type;
    Corners first;
    std::size_t paths;
  };
  const Case cases[] = {
      {SignType::Triangle, {{100.5, 40.5}, {110.5, 60.5}, {90.5, 60.5}}, 1},
      {SignType::Diamond, {{100.5, 40.5}, {110.5, 50.5}, {100.5, 60.5}, {90.5, 50.5}}, 1},
      {SignType::Star, {{100.5, 40.5}, {110.5, 47.5}, {106.5, 58.5}, {94.5, 58.5}, {90.5, 47.5}}, 1},
      {SignType::Cross, {{90.5, 50.5}, {110.5, 50.5}}, 2},
      {SignType::X, {{90.5, 40.5}, {110.5, 60.5}}, 2},
  };
  for (const Case& c : cases) {
    sign->sign_type = c.type;
    e = draw(*sign);
    ASSERT_EQ(e.size(), c.paths) << json_name(c.type);
    EXPECT_EQ(corners(e[0]), c.first) << json_name(c.type);
    // Solid shapes are filled without an outline; line marks are strokes.
    EXPECT_EQ(e[0].at("fill") == "none", c.paths == 2) << json_name(c.type);
  }

  // Halves round away from zero before the half pixel is added: 57.5 and 42.5 go to 58 and 43.
  sign->sign_type = SignType::Check;
  sign->size = 30;
  EXPECT_EQ(corners(draw(*sign).at(0)), (Corners{{85.5, 50.5}, {95.5, 58.5}, {115.5, 43.5}}));
}

TEST(Sign, LabelAboveOrBelowByVerticalAlignment) {
  testing::Canvas canvas;
  auto sign = make<Sign>({{9.5, 175}});
  EXPECT_FALSE(sign->text_anchor(canvas.ctx));
  PrimitiveText text = PrimitiveText::make("Buy");
  sign->data_mut().text = text;
  EXPECT_DOUBLE_EQ(sign->text_anchor(canvas.ctx)->y, 50 - 22);
  sign->data_mut().text->v_align = PrimitiveTextAlign::End;
  EXPECT_DOUBLE_EQ(sign->text_anchor(canvas.ctx)->y, 50 + 22);
  sign->data_mut().text->content.clear();
  EXPECT_FALSE(sign->text_anchor(canvas.ctx));
}

TEST(Flag, PoleAndRedPennant) {
  auto flag = make<Flag>({{10, 100}});  // (105, 200)
  const auto e = draw(*flag);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M105.50 200.50 L105.50 170.50");
  EXPECT_EQ(e[0].at("stroke-width"), "2.00");
  EXPECT_EQ(corners(e[1]), (Corners{{105.5, 170.5}, {130.5, 178.5}, {105.5, 186.5}}));
  EXPECT_EQ(e[1].at("fill"), "#f44336");

  testing::Canvas canvas;
  const auto a = flag->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, 95);
  EXPECT_DOUBLE_EQ(a->y, 212);
  flag->data_mut().text->content.clear();
  EXPECT_FALSE(flag->text_anchor(canvas.ctx));
}

TEST(Table, GridOfCellsFromTheAnchor) {
  auto table = make<Table>({{10, 150}});  // top-left (105, 100)
  auto e = draw(*table);
  const auto rects = of_tag(e, "rect");
  const auto lines = of_tag(e, "path");
  const auto texts = of_tag(e, "text");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].number("width"), 160);
  EXPECT_EQ(rects[0].number("height"), 48);
  EXPECT_EQ(rects[0].at("fill"), "rgba(33,150,243,0.8784313725490196)");
  EXPECT_EQ(rects[1].number("height"), 24);  // the header band
  EXPECT_EQ(lines.size(), 6u);  // three rows of edges, three columns of edges
  EXPECT_EQ(lines[2].at("d"), "M105.50 148.50 L265.50 148.50");
  EXPECT_EQ(lines[5].at("d"), "M265.50 100.50 L265.50 148.50");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].content, "Header1");
  EXPECT_EQ(texts[3].content, "Value2");
  EXPECT_EQ(texts[3].number("x"), 105 + 80 + 4);
  EXPECT_EQ(texts[3].number("y"), 100 + 24 + 16);
  EXPECT_EQ(texts[0].at("font-size"), "11.0");

  table->rows = {{"a", "b", "c"}, {"d"}};  // cells past the column count stay hidden
  table->show_header = false;
  e = draw(*table);
  EXPECT_EQ(of_tag(e, "rect").size(), 1u);
  EXPECT_EQ(of_tag(e, "path").size(), 6u);
  ASSERT_EQ(of_tag(e, "text").size(), 3u);
  EXPECT_EQ(of_tag(e, "text")[2].content, "d");

  table->rows.clear();
  e = draw(*table);
  EXPECT_EQ(of_tag(e, "rect").at(0).number("height"), 0);
  EXPECT_EQ(of_tag(e, "path").size(), 1u + 3u);
  EXPECT_TRUE(of_tag(e, "text").empty());
}

}  // namespace
}  // namespace qc::primitives::catalog
