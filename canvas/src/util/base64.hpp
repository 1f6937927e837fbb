// Base64 (RFC 4648, standard alphabet, padded) for the byte columns of the chart's JSON form.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qc::util {

// The text's length for `bytes` bytes.
constexpr std::size_t base64_length(std::size_t bytes) { return (bytes + 2) / 3 * 4; }

// Writes the text of `bytes`, base64_length(bytes.size()) characters, from `out` on.
void encode_base64(std::span<const std::byte> bytes, char* out);
void append_base64(std::string& out, std::span<const std::byte> bytes);

// The byte count `text` decodes to; nullopt when it is not padded base64 (length a multiple of 4, padding only
// at the end).
std::optional<std::size_t> base64_size(std::string_view text);

// Decodes `text` into `out`, whose size base64_size gave; false on a byte outside the alphabet or padding bits
// that are not zero (so that every byte string has exactly one text).
bool decode_base64(std::string_view text, std::span<std::byte> out);

// The loops every processor runs; the two above run wider ones where the processor has them, which must give
// the same text, bytes and verdicts.
void encode_base64_portable(std::span<const std::byte> bytes, char* out);
bool decode_base64_portable(std::string_view text, std::span<std::byte> out);

}  // namespace qc::util
