// A rendered SVG document held in the pieces it was written in, so that a caller copies it only once.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "util/text_buffer.hpp"

namespace qc::api {

struct SvgDocument {
  std::string head;       // everything before the body
  util::TextBuffer body;  // the elements, each ending with a line feed
  std::string_view tail;  // static text after the body

  std::size_t size() const { return head.size() + body.size() + tail.size(); }

  // Copies the document to out (size() bytes) and returns the end.
  char* copy_to(char* out) const {
    for (std::string_view piece : {std::string_view(head), body.view(), tail}) {
      if (!piece.empty()) std::memcpy(out, piece.data(), piece.size());
      out += piece.size();
    }
    return out;
  }

  bool is_ascii() const {
    unsigned char any = 0;
    for (std::string_view piece : {std::string_view(head), body.view(), tail}) {
      for (char c : piece) any |= static_cast<unsigned char>(c);
    }
    return any < 0x80;
  }

  // The document as one text.
  std::string text() const {
    std::string out(size(), '\0');
    copy_to(out.data());
    return out;
  }
};

}  // namespace qc::api
