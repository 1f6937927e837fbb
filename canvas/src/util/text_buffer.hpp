// A growing text written through a raw cursor: one capacity check per element, no per-piece appends.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace qc::util {

// The bytes live in one block from the C allocator. Growing it is a realloc, which for large blocks moves
// pages instead of copying them, and the room ahead of the cursor is never written before it is used, so
// a large buffer's untouched capacity costs no resident memory.
class TextBuffer {
 public:
  explicit TextBuffer(std::size_t capacity = 0) {
    if (capacity > 0) grow(capacity);
  }
  TextBuffer(TextBuffer&& o) noexcept
      : data_(std::exchange(o.data_, nullptr)), len_(std::exchange(o.len_, 0)), cap_(std::exchange(o.cap_, 0)) {}
  TextBuffer& operator=(TextBuffer&& o) noexcept {
    std::swap(data_, o.data_);
    std::swap(len_, o.len_);
    std::swap(cap_, o.cap_);
    return *this;
  }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  ~TextBuffer() { std::free(data_); }

  // Returns a cursor with room for at least n bytes; hand the advanced cursor back to commit().
  char* reserve(std::size_t n) {
    if (cap_ - len_ < n) grow(n);
    return data_ + len_;
  }
  void commit(const char* end) { len_ = static_cast<std::size_t>(end - data_); }
  // End of the room behind the cursor that reserve() returned.
  char* limit() { return data_ + cap_; }

  void append(std::string_view s) {
    char* p = reserve(s.size());
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    len_ += s.size();
  }

  std::string_view view() const { return {data_, len_}; }
  std::size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }

  // Hands over a copy of the written text and leaves the buffer empty.
  std::string take() {
    std::string out(view());
    len_ = 0;
    return out;
  }

 private:
  void grow(std::size_t n) {
    std::size_t want = cap_ < 64 ? 64 : cap_ * 2;
    if (want - len_ < n) want = len_ + n;
    void* p = std::realloc(data_, want);
    if (p == nullptr) throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    cap_ = want;
  }

  char* data_ = nullptr;
  std::size_t len_ = 0;
  std::size_t cap_ = 0;
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
