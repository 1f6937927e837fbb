// A left-to-right cursor over a short text, under the small readers of zone rules and dates.
#pragma once

#include <cstddef>
#include <string_view>

namespace qc::coords {

class TextCursor {
 public:
  explicit TextCursor(std::string_view s) : s_(s) {}

  bool done() const { return i_ == s_.size(); }
  bool next_is(char c) const { return i_ < s_.size() && s_[i_] == c; }
  bool eat(char c) {
    if (!next_is(c)) return false;
    ++i_;
    return true;
  }

 protected:
  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace qc::coords
