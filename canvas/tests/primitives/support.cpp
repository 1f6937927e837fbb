// Strict little readers for the SVG elements and JSON texts the primitives write.
#include "support.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <span>
#include <cstdlib>

namespace qc::primitives::testing {
namespace {

bool unescape(std::string_view raw, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '<' || c == '>' || c == '"') return false;
    if (c != '&') {
      out += c;
      continue;
    }
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    bool known = false;
    for (const auto& [entity, ch] : kEntities) {
      if (raw.substr(i, entity.size()) == entity) {
        out += ch;
        i += entity.size() - 1;
        known = true;
        break;
      }
    }
    if (!known) return false;
  }
  return true;
}

bool parse_line(std::string_view line, SvgElement& e) {
  if (line.size() < 3 || line.front() != '<') return false;
  std::size_t i = 1;
  while (i < line.size() && std::isalpha(static_cast<unsigned char>(line[i]))) ++i;
  e.tag = std::string(line.substr(1, i - 1));
  if (e.tag.empty()) return false;
  for (;;) {
    if (line.substr(i) == "/>") return e.tag != "text";
    if (i < line.size() && line[i] == '>') {
      const std::string close = "</" + e.tag + ">";
      if (e.tag != "text" || !line.ends_with(close)) return false;
      const std::string_view raw = line.substr(i + 1, line.size() - i - 1 - close.size());
      return unescape(raw, e.content);
    }
    if (i >= line.size() || line[i] != ' ') return false;
    const std::size_t name_start = ++i;
    while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '-' || line[i] == ':')) ++i;
    const std::string name(line.substr(name_start, i - name_start));
    if (name.empty() || line.substr(i, 2) != "=\"") return false;
    i += 2;
    const std::size_t close_quote = line.find('"', i);
    if (close_quote == std::string_view::npos) return false;
    std::string value;
    if (!unescape(line.substr(i, close_quote - i), value)) return false;
    if (!e.attrs.emplace(name, std::move(value)).second) return false;  // duplicate attribute
    i = close_quote + 1;
  }
}

}  // namespace

const std::string& SvgElement::at(std::string_view name) const {
  static const std::string kMissing;
  auto it = attrs.find(name);
  if (it == attrs.end()) {
    ADD_FAILURE() << "<" << tag << "> has no attribute " << name;
    return kMissing;
  }
  return it->second;
}

double SvgElement::number(std::string_view name) const {
  const std::string& text = at(name);
  double v = 0.0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) ADD_FAILURE() << name << "=\"" << text << "\"";
  return v;
}

std::vector<SvgElement> parse_body(std::string_view body) {
  std::vector<SvgElement> out;
  while (!body.empty()) {
    const std::size_t nl = body.find('\n');
    if (nl == std::string_view::npos) {
      ADD_FAILURE() << "element without its line feed: " << body;
      return out;
    }
    SvgElement e;
    if (!parse_line(body.substr(0, nl), e)) {
      ADD_FAILURE() << "not a well-formed element: " << body.substr(0, nl);
      return out;
    }
    out.push_back(std::move(e));
    body.remove_prefix(nl + 1);
  }
  return out;
}

std::vector<PathStep> parse_path(std::string_view d) {
  std::vector<PathStep> steps;
  std::size_t i = 0;
  while (i < d.size()) {
    if (d[i] == ' ') {
      ++i;
      continue;
    }
    if (std::isalpha(static_cast<unsigned char>(d[i])) && d.substr(i, 3) != "NaN" && d.substr(i, 3) != "inf") {
      steps.push_back({d[i], {}});
      ++i;
      continue;
    }
    if (steps.empty()) {
      ADD_FAILURE() << "path data starts with a number: " << d;
      return steps;
    }
    // A number ends at a space or at the next command's letter; NaN and inf are numbers.
    std::size_t end = i;
    for (const std::string_view word : {"NaN", "inf", "-inf"}) {
      if (d.substr(i, word.size()) == word) end = i + word.size();
    }
    while (end < d.size() && d[end] != ' ' && !std::isalpha(static_cast<unsigned char>(d[end]))) ++end;
    const std::string_view token = d.substr(i, end - i);
    double v = 0.0;
    if (token == "NaN") {
      v = std::numeric_limits<double>::quiet_NaN();
    } else if (token == "inf" || token == "-inf") {
      v = token[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    } else {
      const auto res = std::from_chars(token.data(), token.data() + token.size(), v);
      if (res.ec != std::errc() || res.ptr != token.data() + token.size()) ADD_FAILURE() << "bad number " << token;
    }
    steps.back().args.push_back(v);
    i = end;
  }
  return steps;
}

namespace {

std::string fixed2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// The subpath as a shape's own element, when it is one of the batched shapes' forms.
std::optional<SvgElement> shape_of(std::span<const PathStep> sub) {
  const auto ops = [&](std::string_view want) {
    if (sub.size() != want.size()) return false;
    for (std::size_t i = 0; i < want.size(); ++i) {
      if (sub[i].op != want[i]) return false;
    }
    return true;
  };
  SvgElement e;
  if (ops("MhvhZ") && sub[1].args.size() == 1 && sub[3].args.size() == 1 && sub[3].args[0] == -sub[1].args[0]) {
    e.tag = "rect";
    e.attrs = {{"x", fixed2(sub[0].args[0])}, {"y", fixed2(sub[0].args[1])}, {"width", fixed2(sub[1].args[0])},
               {"height", fixed2(sub[2].args[0])}};
    return e;
  }
  if (ops("MV") || ops("MH") || ops("ML")) {
    const double x1 = sub[0].args[0], y1 = sub[0].args[1];
    const double x2 = sub[1].op == 'V' ? x1 : sub[1].args[0];
    const double y2 = sub[1].op == 'V' ? sub[1].args[0] : (sub[1].op == 'H' ? y1 : sub[1].args[1]);
    e.tag = "line";
    e.attrs = {{"x1", fixed2(x1)}, {"y1", fixed2(y1)}, {"x2", fixed2(x2)}, {"y2", fixed2(y2)}};
    return e;
  }
  if (ops("MAAZ") && sub[1].args.size() == 7) {
    const double left = sub[0].args[0], right = sub[1].args[5];
    e.tag = "circle";
    e.attrs = {{"cx", fixed2((left + right) / 2)}, {"cy", fixed2(sub[0].args[1])}, {"r", fixed2(sub[1].args[0])}};
    return e;
  }
  return std::nullopt;
}

// A subpath written back as the backend writes path data.
std::string path_text(std::span<const PathStep> sub) {
  std::string d;
  for (const PathStep& step : sub) {
    if (!d.empty()) d += ' ';
    d += step.op;
    for (std::size_t i = 0; i < step.args.size(); ++i) {
      if (i > 0) d += ' ';
      d += fixed2(step.args[i]);
    }
  }
  return d;
}

}  // namespace

std::vector<SvgElement> as_shapes(const std::vector<SvgElement>& elements) {
  std::vector<SvgElement> out;
  for (const SvgElement& e : elements) {
    if (e.tag != "path") {
      out.push_back(e);
      continue;
    }
    const std::vector<PathStep> steps = parse_path(e.at("d"));
    std::size_t a = 0;
    while (a < steps.size()) {
      std::size_t b = a + 1;
      while (b < steps.size() && steps[b].op != 'M') ++b;
      const std::span<const PathStep> sub(steps.data() + a, b - a);
      SvgElement shape = shape_of(sub).value_or(SvgElement{"path", {{"d", path_text(sub)}}, {}});
      for (const auto& [name, value] : e.attrs) {
        if (name != "d") shape.attrs.emplace(name, value);
      }
      out.push_back(std::move(shape));
      a = b;
    }
  }
  return out;
}

std::vector<SvgElement> of_tag(const std::vector<SvgElement>& all, std::string_view tag) {
  std::vector<SvgElement> out;
  for (const auto& e : all) {
    if (e.tag == tag) out.push_back(e);
  }
  return out;
}

PaneMapping test_pane() { return PaneMapping{10.0, {0.0, 200.0, 0.0, 400.0}}; }

Canvas::Canvas(double dpr, PaneMapping pane, const ChartInputs& chart)
    : backend(kCanvasWidth, kCanvasHeight, dpr), ctx(backend, pane, dpr, kCanvasWidth, kCanvasHeight, chart) {}

std::vector<SvgElement> draw(const Primitive& primitive, double dpr) { return draw_on(primitive, {}, dpr); }

std::vector<SvgElement> draw_on(const Primitive& primitive, const ChartInputs& chart, double dpr) {
  Canvas canvas(dpr, test_pane(), chart);
  primitive.render(canvas.ctx, false);
  return canvas.elements();
}

namespace {

struct JsonReader {
  std::string_view s;
  std::size_t i = 0;
  int depth = 0;

  bool literal(std::string_view word) {
    if (s.substr(i, word.size()) != word) return false;
    i += word.size();
    return true;
  }
  bool string() {
    if (i >= s.size() || s[i] != '"') return false;
    for (++i; i < s.size(); ++i) {
      const auto c = static_cast<unsigned char>(s[i]);
      if (c == '"') {
        ++i;
        return true;
      }
      if (c < 0x20) return false;
      if (c == '\\') {
        if (++i >= s.size()) return false;
        const char e = s[i];
        if (e == 'u') {
          for (int k = 0; k < 4; ++k) {
            if (++i >= s.size() || !std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
          }
        } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
          return false;
        }
      }
    }
    return false;
  }
  bool number() {
    const std::size_t start = i;
    if (i < s.size() && s[i] == '-') ++i;
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    if (s[i] == '0') {
      ++i;
    } else {
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i < s.size() && s[i] == '.') {
      if (++i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
      ++i;
      if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
      if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    return i > start;
  }
  bool value() {
    if (i >= s.size() || ++depth > 64) return false;
    bool ok = false;
    switch (s[i]) {
      case '{': ok = container('}', true); break;
      case '[': ok = container(']', false); break;
      case '"': ok = string(); break;
      case 't': ok = literal("true"); break;
      case 'f': ok = literal("false"); break;
      case 'n': ok = literal("null"); break;
      default: ok = number();
    }
    --depth;
    return ok;
  }
  bool container(char close, bool object) {
    ++i;
    if (i < s.size() && s[i] == close) {
      ++i;
      return true;
    }
    for (;;) {
      if (object && !(string() && i < s.size() && s[i++] == ':')) return false;
      if (!value()) return false;
      if (i >= s.size()) return false;
      if (s[i] == close) {
        ++i;
        return true;
      }
      if (s[i++] != ',') return false;
    }
  }
};

}  // namespace

bool is_valid_json(std::string_view text) {
  JsonReader r{text};
  return r.value() && r.i == text.size();
}

}  // namespace qc::primitives::testing
