// A growing text written through a raw cursor: one capacity check per piece, no per-piece appends.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace qc::util {

// Plain malloc'd storage grown by realloc: nothing is zero-filled ahead of the writers, and large blocks
// grow by remapping pages instead of copying them, so only the pages actually written are touched.
class TextBuffer {
 public:
  explicit TextBuffer(std::size_t capacity = 0) {
    if (capacity > 0) grow_to(capacity);
  }
  ~TextBuffer() { std::free(data_); }
  TextBuffer(TextBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        len_(std::exchange(other.len_, 0)),
        cap_(std::exchange(other.cap_, 0)) {}
  TextBuffer& operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
      std::free(data_);
      data_ = std::exchange(other.data_, nullptr);
      len_ = std::exchange(other.len_, 0);
      cap_ = std::exchange(other.cap_, 0);
    }
    return *this;
  }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  // Returns a cursor with room for at least n bytes up to limit(); hand the advanced cursor to commit().
  char* reserve(std::size_t n) {
    if (cap_ - len_ < n) grow_to(len_ + n);
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
  std::size_t capacity() const { return cap_; }
  bool empty() const { return len_ == 0; }

  // Forgets the written text but keeps the storage, so the next text is written into warm memory.
  void clear() { len_ = 0; }

  // Copies out the written text and leaves the buffer empty (its storage kept).
  std::string take() {
    std::string s(data_ == nullptr ? "" : data_, len_);
    len_ = 0;
    return s;
  }

 private:
  void grow_to(std::size_t need) {
    std::size_t cap = cap_ < 64 ? 64 : cap_ * 2;
    if (cap < need) cap = need;
    void* p = std::realloc(data_, cap);
    if (p == nullptr) throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    cap_ = cap;
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
