// The XML pull reader: one scan over the text, views into it, no copies.
#include "raster/xml_reader.hpp"

#include <charconv>
#include <cstdint>

namespace qc::raster {
namespace {

bool is_space(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }
bool ends_name(char c) { return is_space(c) || c == '/' || c == '>' || c == '='; }

// The character an entity body ("amp", "#38", "#x26") stands for, or nothing.
bool entity_char(std::string_view body, std::string& out) {
  if (body == "amp") return out += '&', true;
  if (body == "lt") return out += '<', true;
  if (body == "gt") return out += '>', true;
  if (body == "quot") return out += '"', true;
  if (body == "apos") return out += '\'', true;
  if (body.size() < 2 || body[0] != '#') return false;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  std::uint32_t cp = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return false;
  append_utf8(out, static_cast<char32_t>(cp));
  return true;
}

}  // namespace

void append_utf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

XmlReader::Token XmlReader::next() {
  while (at_ < doc_.size()) {
    if (doc_[at_] != '<') {
      const std::size_t lt = doc_.find('<', at_);
      text_ = doc_.substr(at_, lt == std::string_view::npos ? std::string_view::npos : lt - at_);
      at_ = lt == std::string_view::npos ? doc_.size() : lt;
      return Token::text;
    }
    const std::string_view rest = doc_.substr(at_);
    if (rest.starts_with("<?")) {
      if (const Token t = skip_past("?>"); t != Token::text) return t;
    } else if (rest.starts_with("<!--")) {
      if (const Token t = skip_past("-->"); t != Token::text) return t;
    } else if (rest.starts_with("<![CDATA[")) {
      name_ = "![CDATA[";
      const Token t = skip_past("]]>");
      return t == Token::text ? Token::markup : t;
    } else if (rest.starts_with("<!")) {
      std::size_t n = 1;
      while (n < rest.size() && !ends_name(rest[n])) ++n;
      name_ = rest.substr(1, n - 1);
      const Token t = skip_past(">");
      return t == Token::text ? Token::markup : t;
    } else if (rest.starts_with("</")) {
      return close_tag();
    } else {
      return open_tag();
    }
  }
  return Token::end;
}

// Moves past the terminator; Token::text stands for "done, go on".
XmlReader::Token XmlReader::skip_past(std::string_view terminator) {
  const std::size_t found = doc_.find(terminator, at_ + 2);
  if (found == std::string_view::npos) {
    at_ = doc_.size();
    return Token::malformed;
  }
  at_ = found + terminator.size();
  return Token::text;
}

XmlReader::Token XmlReader::close_tag() {
  std::size_t i = at_ + 2;
  const std::size_t start = i;
  while (i < doc_.size() && !ends_name(doc_[i])) ++i;
  name_ = doc_.substr(start, i - start);
  while (i < doc_.size() && is_space(doc_[i])) ++i;
  if (name_.empty() || i >= doc_.size() || doc_[i] != '>') {
    at_ = doc_.size();
    return Token::malformed;
  }
  at_ = i + 1;
  return Token::close;
}

XmlReader::Token XmlReader::open_tag() {
  const std::size_t n = doc_.size();
  std::size_t i = at_ + 1;
  const std::size_t start = i;
  while (i < n && !ends_name(doc_[i])) ++i;
  name_ = doc_.substr(start, i - start);
  attributes_.clear();
  self_closing_ = false;
  const auto fail = [&] {
    at_ = n;
    return Token::malformed;
  };
  if (name_.empty()) return fail();
  for (;;) {
    const std::size_t before = i;
    while (i < n && is_space(doc_[i])) ++i;
    if (i >= n) return fail();
    if (doc_[i] == '>') break;
    if (doc_[i] == '/') {
      if (i + 1 >= n || doc_[i + 1] != '>') return fail();
      self_closing_ = true;
      ++i;
      break;
    }
    if (i == before) return fail();  // attributes are separated by white space
    const std::size_t name_at = i;
    while (i < n && !ends_name(doc_[i])) ++i;
    const std::string_view attr = doc_.substr(name_at, i - name_at);
    while (i < n && is_space(doc_[i])) ++i;
    if (attr.empty() || i >= n || doc_[i] != '=') return fail();
    ++i;
    while (i < n && is_space(doc_[i])) ++i;
    if (i >= n || (doc_[i] != '"' && doc_[i] != '\'')) return fail();
    const char quote = doc_[i++];
    const std::size_t close = doc_.find(quote, i);
    if (close == std::string_view::npos) return fail();
    attributes_.push_back({attr, doc_.substr(i, close - i)});
    i = close + 1;
  }
  at_ = i + 1;
  return Token::open;
}

void decode_text(std::string_view raw, std::string& out) {
  while (!raw.empty()) {
    const std::size_t amp = raw.find('&');
    out.append(raw.substr(0, amp));
    if (amp == std::string_view::npos) return;
    raw.remove_prefix(amp);
    const std::size_t semi = raw.find(';');
    if (semi != std::string_view::npos && entity_char(raw.substr(1, semi - 1), out)) {
      raw.remove_prefix(semi + 1);
    } else {
      out += '&';
      raw.remove_prefix(1);
    }
  }
}

}  // namespace qc::raster
