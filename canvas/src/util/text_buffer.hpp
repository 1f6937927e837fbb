// A growing text written through a raw cursor: one capacity check per element, no per-piece appends.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace qc::util {

// The bytes live in one std::string whose size runs ahead of the written length, so writers copy into
// already-initialised storage; take() trims it to the written text.
class TextBuffer {
 public:
  explicit TextBuffer(std::size_t capacity = 0) { data_.resize(capacity); }

  // Returns a cursor with room for at least n bytes; hand the advanced cursor back to commit().
  char* reserve(std::size_t n) {
    if (data_.size() - len_ < n) grow(n);
    return data_.data() + len_;
  }
  void commit(const char* end) { len_ = static_cast<std::size_t>(end - data_.data()); }
  // End of the room behind the cursor that reserve() returned.
  char* limit() { return data_.data() + data_.size(); }

  void append(std::string_view s) {
    char* p = reserve(s.size());
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    len_ += s.size();
  }

  std::string_view view() const { return {data_.data(), len_}; }
  std::size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }

  // Hands over the written text and leaves the buffer empty.
  std::string take() {
    data_.resize(len_);
    len_ = 0;
    return std::move(data_);
  }

 private:
  void grow(std::size_t n) {
    std::size_t want = data_.size() < 64 ? 64 : data_.size() * 2;
    if (want - len_ < n) want = len_ + n;
    data_.resize(want);
  }

  std::string data_;
  std::size_t len_ = 0;
};

// Copies a string literal (without its terminator) to p; the length is a compile-time constant.
template <std::size_t N>
inline char* put(char* p, const char (&lit)[N]) {
  std::memcpy(p, lit, N - 1);
  return p + N - 1;
}

inline char* put(char* p, std::string_view s) {
  if (!s.empty()) std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

}  // namespace qc::util
