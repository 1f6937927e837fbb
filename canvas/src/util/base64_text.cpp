// Base64Text: the plain text between the runs copied whole, each run encoded straight into its place.
#include "util/base64_text.hpp"

#include <algorithm>
#include <cstring>

#include "util/base64.hpp"

namespace qc::util {

void Base64Text::keep(std::span<const std::byte> bytes) {
  const std::vector<std::byte>& copy = kept_.emplace_back(bytes.begin(), bytes.end());
  borrow(copy);
}

std::size_t Base64Text::size() const {
  std::size_t size = plain_.size();
  for (const Run& r : runs_) size += base64_length(r.bytes.size());
  return size;
}

bool Base64Text::ascii() const {
  return std::none_of(plain_.begin(), plain_.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

void Base64Text::write(char* out) const {
  std::size_t from = 0;
  for (const Run& r : runs_) {
    std::memcpy(out, plain_.data() + from, r.at - from);
    out += r.at - from;
    from = r.at;
    encode_base64(r.bytes, out);
    out += base64_length(r.bytes.size());
  }
  std::memcpy(out, plain_.data() + from, plain_.size() - from);
}

std::string Base64Text::str() const {
  std::string out(size(), '\0');
  write(out.data());
  return out;
}

}  // namespace qc::util
