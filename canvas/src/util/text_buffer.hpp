// A growing text written through a raw cursor: one capacity check per piece, no per-piece appends.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "util/failure.hpp"
#include "util/huge_pages.hpp"

namespace qc::util {

// Storage a caller lends to a text, so that the text is written once, straight into its final home.
class TextStorage {
 public:
  // Room for at least `capacity` bytes starting with the first `used` bytes written so far (the storage may
  // move them); null when no room can be had, the storage then left as it was and usable: its writer may
  // ask again for less.
  virtual char* grow(std::size_t used, std::size_t capacity) = 0;

 protected:
  ~TextStorage() = default;
};

// Plain malloc'd storage grown by realloc, or the caller's storage: nothing is zero-filled ahead of the
// writers, and large blocks grow by remapping pages instead of copying them, so only the pages actually
// written are touched.
class TextBuffer {
 public:
  explicit TextBuffer(std::size_t capacity = 0) {
    if (capacity > 0) grow_to(capacity);
  }
  TextBuffer(TextStorage& storage, std::size_t capacity) : storage_(&storage) { grow_to(capacity); }
  // Room for `capacity` bytes in the storage (null: the C heap), or for `fallback` when that much is
  // refused: a capacity that is only an estimate must not fail a text that would fit, which then grows
  // as it is written.
  TextBuffer(TextStorage* storage, std::size_t capacity, std::size_t fallback) : storage_(storage) {
    if (!try_grow_to(capacity)) grow_to(fallback);
  }
  ~TextBuffer() {
    if (storage_ == nullptr) std::free(data_);
  }
  TextBuffer(TextBuffer&& other) noexcept
      : storage_(std::exchange(other.storage_, nullptr)),
        data_(std::exchange(other.data_, nullptr)),
        len_(std::exchange(other.len_, 0)),
        cap_(std::exchange(other.cap_, 0)),
        high_bits_(std::exchange(other.high_bits_, 0)) {}
  TextBuffer& operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
      if (storage_ == nullptr) std::free(data_);
      storage_ = std::exchange(other.storage_, nullptr);
      data_ = std::exchange(other.data_, nullptr);
      len_ = std::exchange(other.len_, 0);
      cap_ = std::exchange(other.cap_, 0);
      high_bits_ = std::exchange(other.high_bits_, 0);
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

  // Text that may hold bytes beyond ASCII goes through here or note(); everything else written is ASCII.
  void append(std::string_view s) {
    note(s);
    char* p = reserve(s.size());
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    len_ += s.size();
  }
  // Inserts s at byte `at`, moving the text behind it.
  void insert(std::size_t at, std::string_view s) {
    note(s);
    reserve(s.size());
    std::memmove(data_ + at + s.size(), data_ + at, len_ - at);
    if (!s.empty()) std::memcpy(data_ + at, s.data(), s.size());
    len_ += s.size();
  }
  void note(std::string_view s) {
    for (char c : s) high_bits_ |= static_cast<unsigned char>(c);
  }
  // Whether every byte noted or appended was ASCII.
  bool is_ascii() const { return high_bits_ < 0x80; }

  std::string_view view() const { return {data_, len_}; }
  std::size_t size() const { return len_; }
  std::size_t capacity() const { return cap_; }
  bool empty() const { return len_ == 0; }

  // Forgets the written text but keeps the storage, so the next text is written into warm memory.
  void clear() { truncate(0); }
  void truncate(std::size_t n) { len_ = n < len_ ? n : len_; }

  // Copies out the written text from byte `from` on and leaves the buffer that long (its storage kept).
  std::string take(std::size_t from = 0) {
    std::string s(view().substr(from));
    truncate(from);
    return s;
  }

 private:
  // From kHugePagesFrom on, a new block is asked to come in 2 MiB pages: a document of many megabytes then
  // costs few page faults. The advice stays on every such block although a fresh process's first large
  // document may meet cold 2 MiB pages (a virtual machine that hands free blocks back to its host faults each
  // one in again there, several times slower than a warm one): without it every render is about 1.6x slower,
  // and withholding it from the first render only moves the stall to the second.

  void grow_to(std::size_t need) {
    if (!try_grow_to(need)) out_of_memory();
  }
  // False, with the text untouched, when the room is refused.
  bool try_grow_to(std::size_t need) {
    std::size_t cap = cap_ < 64 ? 64 : cap_ * 2;
    if (cap < need) cap = need;
    char* p = storage_ != nullptr ? storage_->grow(len_, cap) : static_cast<char*>(std::realloc(data_, cap));
    if (p == nullptr) return false;
    data_ = p;
    cap_ = cap;
    if (cap >= kHugePagesFrom) advise_huge_pages(data_ + len_, cap - len_);
    return true;
  }

  TextStorage* storage_ = nullptr;  // null: the C heap, owned here
  char* data_ = nullptr;
  std::size_t len_ = 0;
  std::size_t cap_ = 0;
  unsigned char high_bits_ = 0;  // every noted byte or'ed together
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
