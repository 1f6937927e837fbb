// A text with base64 runs encoded only when the whole text is written, once, into memory of its exact size.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace qc::util {

// A document of large byte columns is then neither grown nor copied on its way to its final home.
class Base64Text {
 public:
  // The plain text so far, appended to by the writer.
  std::string& plain() { return plain_; }

  // A run of the base64 of `bytes` at the end of the text so far. The bytes are borrowed: they are read when
  // the text is written, so they must outlive it.
  void borrow(std::span<const std::byte> bytes) { runs_.push_back({plain_.size(), bytes}); }
  // The same run, of a copy the text keeps.
  void keep(std::span<const std::byte> bytes);

  std::size_t size() const;
  // Whether every character is below 0x80 (the base64 runs are).
  bool ascii() const;
  // Writes the size() characters from `out` on.
  void write(char* out) const;
  std::string str() const;

 private:
  struct Run {
    std::size_t at;  // its place in the plain text
    std::span<const std::byte> bytes;
  };
  std::string plain_;
  std::vector<Run> runs_;
  std::vector<std::vector<std::byte>> kept_;
};

}  // namespace qc::util
