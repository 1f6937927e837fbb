// Compact JSON writer for primitive records: one growing buffer, commas placed by the writer.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "primitives/core/config.hpp"
#include "primitives/core/traits.hpp"
#include "primitives/core/types.hpp"

namespace qc::primitives {

// Appends one JSON value tree to a caller-owned buffer without spaces or line breaks.
class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) noexcept : out_(out) {}

  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }
  void key(std::string_view name);

  void null();
  void boolean(bool v);
  // Shortest round-trip digits, ".0" on whole numbers, null when not finite.
  void number(double v);
  void number(std::uint64_t v);
  void number(std::int64_t v);
  void string(std::string_view v);

 private:
  void before_value();
  void open(char c);
  void close(char c);

  std::string& out_;
  // Bit d tells whether the open container at depth d holds an item already; records nest a few levels.
  std::uint64_t filled_ = 0;
  unsigned depth_ = 0;
  bool after_key_ = false;
};

void write_json(JsonWriter& w, bool v);
void write_json(JsonWriter& w, double v);
void write_json(JsonWriter& w, std::string_view v);
inline void write_json(JsonWriter& w, const char* v) { write_json(w, std::string_view(v)); }
inline void write_json(JsonWriter& w, const std::string& v) { write_json(w, std::string_view(v)); }
void write_json(JsonWriter& w, const Point& p);
void write_json(JsonWriter& w, const std::pair<std::uint32_t, std::uint32_t>& range);
void write_json(JsonWriter& w, const PrimitiveColor& color);
void write_json(JsonWriter& w, const PrimitiveText& text);
void write_json(JsonWriter& w, const TimeframeVisibility& tv);
void write_json(JsonWriter& w, const FibLevelConfig& level);
void write_json(JsonWriter& w, const PrimitiveData& data);

template <class T>
void write_json(JsonWriter& w, const std::optional<T>& v);
template <class T>
void write_json(JsonWriter& w, std::span<const T> items);
template <class T>
void write_json(JsonWriter& w, const std::vector<T>& items);
template <class T, std::size_t N>
void write_json(JsonWriter& w, const std::array<T, N>& items);

template <std::integral I>
  requires(!std::same_as<I, bool>)
void write_json(JsonWriter& w, I v) {
  if constexpr (std::is_signed_v<I>) {
    w.number(static_cast<std::int64_t>(v));
  } else {
    w.number(static_cast<std::uint64_t>(v));
  }
}

// Enumerations are written as the name their json_name overload gives.
template <class E>
  requires std::is_enum_v<E>
void write_json(JsonWriter& w, E v) {
  w.string(json_name(v));
}

template <class T>
void write_json(JsonWriter& w, const std::optional<T>& v) {
  if (v) {
    write_json(w, *v);
  } else {
    w.null();
  }
}

// Lists (anchors, ratios, levels, rows of texts) are arrays of their items.
template <class T>
void write_json(JsonWriter& w, std::span<const T> items) {
  w.begin_array();
  for (const T& item : items) write_json(w, item);
  w.end_array();
}

template <class T>
void write_json(JsonWriter& w, const std::vector<T>& items) {
  write_json(w, std::span<const T>(items));
}

template <class T, std::size_t N>
void write_json(JsonWriter& w, const std::array<T, N>& items) {
  write_json(w, std::span<const T>(items));
}

// One "key": value entry of the object being written.
template <class T>
void json_entry(JsonWriter& w, std::string_view key, const T& value) {
  w.key(key);
  write_json(w, value);
}

// A primitive's whole record: {"data":{...}, then the entries the callback writes}.
template <class WriteOwnKeys>
std::string primitive_json(const PrimitiveData& data, WriteOwnKeys&& write_own_keys) {
  std::string out;
  out.reserve(512);
  JsonWriter w(out);
  w.begin_object();
  json_entry(w, "data", data);
  std::forward<WriteOwnKeys>(write_own_keys)(w);
  w.end_object();
  return out;
}

}  // namespace qc::primitives
