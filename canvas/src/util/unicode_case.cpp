// Lower-casing over generated Unicode tables, with the final-sigma context.
#include "util/unicode_case.hpp"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace qc::util {
namespace {

struct LowerRun {
  char32_t first;
  char32_t last;
  std::uint8_t stride;
  std::int32_t delta;
};

struct CodeRange {
  char32_t first;
  char32_t last;
};

#include "util/unicode_case_tables.inc"

constexpr char32_t kCapitalSigma = 0x3A3;
constexpr char32_t kSmallSigma = 0x3C3;
constexpr char32_t kFinalSigma = 0x3C2;
constexpr char32_t kCapitalIWithDot = 0x130;
constexpr char32_t kCombiningDot = 0x307;
// Decoded units above the code space stand for a byte that is not valid UTF-8: 0x110000 + the byte.
constexpr char32_t kRawByte = 0x110000;

bool in_ranges(std::span<const CodeRange> ranges, char32_t c) {
  const auto it = std::upper_bound(ranges.begin(), ranges.end(), c,
                                   [](char32_t v, const CodeRange& r) { return v < r.first; });
  return it != ranges.begin() && c <= std::prev(it)->last;
}

char32_t lower_single(char32_t c) {
  const std::span<const LowerRun> runs(kLowerRuns);
  const auto it =
      std::upper_bound(runs.begin(), runs.end(), c, [](char32_t v, const LowerRun& r) { return v < r.first; });
  if (it == runs.begin()) return c;
  const LowerRun& run = *std::prev(it);
  if (c > run.last || (c - run.first) % run.stride != 0) return c;
  return static_cast<char32_t>(static_cast<std::int64_t>(c) + run.delta);
}

std::size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes one well-formed sequence at text[pos], or yields the raw byte.
char32_t decode(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  const std::size_t len = sequence_length(lead);
  if (len == 1) {
    ++pos;
    return lead;
  }
  if (len == 0 || pos + len > text.size()) return kRawByte + byte(pos++);
  char32_t c = lead & (0x7F >> len);
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return kRawByte + byte(pos++);
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  // Reject overlong forms, surrogates and values past U+10FFFF.
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return kRawByte + byte(pos++);
  pos += len;
  return c;
}

void encode(std::string& out, char32_t c) {
  if (c >= kRawByte) {
    out += static_cast<char>(c - kRawByte);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool ignorable(char32_t c) { return c < kRawByte && in_ranges(kCaseIgnorable, c); }
bool cased(char32_t c) { return c < kRawByte && in_ranges(kCased, c); }

// A capital sigma is final when a cased character precedes it and none follows it, case-ignorable
// characters skipped on both sides.
bool final_sigma(std::span<const char32_t> units, std::size_t i) {
  std::size_t j = i;
  while (j > 0 && ignorable(units[j - 1])) --j;
  if (j == 0 || !cased(units[j - 1])) return false;
  j = i + 1;
  while (j < units.size() && ignorable(units[j])) ++j;
  return j == units.size() || !cased(units[j]);
}

}  // namespace

void append_lowercase(std::string& out, std::string_view text) {
  if (std::all_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; })) {
    for (char ch : text) out += ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    return;
  }
  std::vector<char32_t> units;
  units.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) units.push_back(decode(text, pos));
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t c = units[i];
    if (c == kCapitalSigma) {
      encode(out, final_sigma(units, i) ? kFinalSigma : kSmallSigma);
    } else if (c == kCapitalIWithDot) {
      out += 'i';
      encode(out, kCombiningDot);
    } else {
      encode(out, c >= kRawByte ? c : lower_single(c));
    }
  }
}

}  // namespace qc::util
