// A pull reader of the XML the chart writer produces: tags with their attributes and character data. The
// declaration and comments are passed over; entities are decoded by decode_text, where text is wanted.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qc::raster {

struct XmlAttribute {
  std::string_view name;
  std::string_view value;  // as written, between the quotes
};

class XmlReader {
 public:
  enum class Token {
    open,       // a start tag, or an empty-element tag (self_closing())
    close,      // an end tag
    text,       // character data between tags
    markup,     // a declaration or section this reader does not read (<!DOCTYPE, <![CDATA[): name() says which
    end,        // the end of the input
    malformed,  // input that is no XML; reading stops there
  };

  explicit XmlReader(std::string_view doc) : doc_(doc) { attributes_.reserve(16); }

  Token next();
  std::string_view name() const { return name_; }
  std::span<const XmlAttribute> attributes() const { return attributes_; }
  bool self_closing() const { return self_closing_; }
  std::string_view text() const { return text_; }

 private:
  Token open_tag();
  Token close_tag();
  Token skip_past(std::string_view terminator);

  std::string_view doc_;
  std::size_t at_ = 0;
  std::string_view name_;
  std::string_view text_;
  bool self_closing_ = false;
  std::vector<XmlAttribute> attributes_;
};

// Appends raw character data with its entities (the five named ones and numeric references) decoded; an
// unknown entity stays as written.
void decode_text(std::string_view raw, std::string& out);

// Appends a code point as UTF-8; a surrogate or a value past U+10FFFF is U+FFFD.
void append_utf8(std::string& out, char32_t cp);

}  // namespace qc::raster
