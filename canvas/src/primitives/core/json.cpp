// Compact JSON writer and the common "data" record of every primitive.
#include "primitives/core/json.hpp"

#include <charconv>

#include "util/json_string.hpp"
#include "util/numbers.hpp"

namespace qc::primitives {

void JsonWriter::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (depth_ == 0) return;
  const std::uint64_t bit = std::uint64_t{1} << (depth_ - 1);
  if (filled_ & bit) out_ += ',';
  filled_ |= bit;
}

void JsonWriter::open(char c) {
  before_value();
  out_ += c;
  ++depth_;
  filled_ &= ~(std::uint64_t{1} << (depth_ - 1));
}

void JsonWriter::close(char c) {
  out_ += c;
  --depth_;
}

void JsonWriter::key(std::string_view name) {
  before_value();
  util::append_json_string(out_, name);
  out_ += ':';
  after_key_ = true;
}

void JsonWriter::null() {
  before_value();
  out_ += "null";
}

void JsonWriter::boolean(bool v) {
  before_value();
  out_ += v ? "true" : "false";
}

void JsonWriter::number(double v) {
  before_value();
  util::append_json_number(out_, v);
}

void JsonWriter::number(std::uint64_t v) {
  before_value();
  char buf[24];
  out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void JsonWriter::number(std::int64_t v) {
  before_value();
  char buf[24];
  out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void JsonWriter::string(std::string_view v) {
  before_value();
  util::append_json_string(out_, v);
}

void write_json(JsonWriter& w, bool v) { w.boolean(v); }
void write_json(JsonWriter& w, double v) { w.number(v); }
void write_json(JsonWriter& w, std::string_view v) { w.string(v); }

void write_json(JsonWriter& w, const Point& p) {
  w.begin_array();
  w.number(p.bar);
  w.number(p.price);
  w.end_array();
}

void write_json(JsonWriter& w, const std::pair<std::uint32_t, std::uint32_t>& range) {
  w.begin_array();
  write_json(w, range.first);
  write_json(w, range.second);
  w.end_array();
}

void write_json(JsonWriter& w, const PrimitiveColor& color) {
  w.begin_object();
  json_entry(w, "stroke", color.stroke);
  json_entry(w, "fill", color.fill);
  w.end_object();
}

void write_json(JsonWriter& w, const PrimitiveText& text) {
  w.begin_object();
  json_entry(w, "content", text.content);
  json_entry(w, "font_size", text.font_size);
  json_entry(w, "color", text.color);
  json_entry(w, "bold", text.bold);
  json_entry(w, "italic", text.italic);
  json_entry(w, "v_align", text.v_align);
  json_entry(w, "h_align", text.h_align);
  w.end_object();
}

void write_json(JsonWriter& w, const TimeframeVisibility& tv) {
  w.begin_object();
  json_entry(w, "ticks", tv.ticks);
  json_entry(w, "seconds", tv.seconds);
  json_entry(w, "minutes", tv.minutes);
  json_entry(w, "hours", tv.hours);
  json_entry(w, "days", tv.days);
  json_entry(w, "weeks", tv.weeks);
  json_entry(w, "months", tv.months);
  json_entry(w, "ranges", tv.ranges);
  w.end_object();
}

void write_json(JsonWriter& w, const FibLevelConfig& level) {
  w.begin_object();
  json_entry(w, "level", level.level);
  json_entry(w, "visible", level.visible);
  json_entry(w, "color", level.color);
  json_entry(w, "width", level.width);
  json_entry(w, "style", level.style);
  json_entry(w, "fill_color", level.fill_color);
  json_entry(w, "fill_opacity", level.fill_opacity);
  json_entry(w, "fill_enabled", level.fill_enabled);
  w.end_object();
}

void write_json(JsonWriter& w, const PrimitiveData& data) {
  w.begin_object();
  json_entry(w, "id", data.id);
  json_entry(w, "type_id", data.type_id);
  json_entry(w, "display_name", data.display_name);
  json_entry(w, "color", data.color);
  json_entry(w, "width", data.width);
  json_entry(w, "style", data.style);
  json_entry(w, "text", data.text);
  json_entry(w, "locked", data.locked);
  json_entry(w, "visible", data.visible);
  json_entry(w, "z_order", data.z_order);
  json_entry(w, "timeframe_visibility", data.timeframe_visibility);
  json_entry(w, "sync_mode", data.sync_mode);
  json_entry(w, "pane_id", data.pane_id);
  json_entry(w, "window_id", data.window_id);
  w.end_object();
}

}  // namespace qc::primitives
