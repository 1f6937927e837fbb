// Times written as the user asks: a small strftime of a fixed set of directives, and the formats of the time
// axis' labels and the crosshair's time tag.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qc::coords {

// The directives a format may hold: %Y %y %m %b %B %d %e %H %I %M %S %p %a %A %j and %%.
inline constexpr std::string_view kTimeDirectives = "YymbBdeHIMSpaAj%";

// The first directive of `format` that is not one of kTimeDirectives ("%Q", or "%" at the end, a directive
// letter outside ASCII with its whole character), or none.
std::optional<std::string_view> unknown_time_directive(std::string_view format);

// Seconds on a local clock written as `format` says, English names, as strftime would in the C locale; the
// format's other bytes as they are. A directive outside kTimeDirectives is written as it stands.
void append_time(std::string& out, std::int64_t local_seconds, std::string_view format);

// What a time-axis label marks: the weight of its bar (time_label_weight) says which.
enum class TimeKind : std::uint8_t { year, month, day, time };
TimeKind time_kind(int weight);

// The formats the user set; none for a kind keeps the axis' own text for it.
struct TimeFormat {
  std::optional<std::string> year, month, day, time;
  std::optional<std::string> tag;  // the crosshair's time tag

  const std::optional<std::string>& of(TimeKind kind) const;
  // Whether any axis label has a format of the user's.
  bool labels_set() const { return year || month || day || time; }

  // The label of a bar at ts (local seconds) of the weight given: its kind's format, else the axis' own text.
  void append_label(std::string& out, std::int64_t ts, int weight) const;
  // The crosshair's tag: the tag format, else "YYYY-MM-DD" with " HH:MM" when `with_minutes`.
  void append_tag(std::string& out, std::int64_t ts, bool with_minutes) const;

  friend bool operator==(const TimeFormat&, const TimeFormat&) = default;
};

}  // namespace qc::coords
