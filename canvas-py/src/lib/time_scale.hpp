// How the integers of a timestamps column become seconds since the epoch: in the unit the caller names,
// or in a datetime64 column's own unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>


namespace qcpy {

// The units `bars_from_columns` takes for integer timestamps, in the order its message lists them.
struct TimeUnit {
  std::string_view name;
  std::int64_t per_second;
};
inline constexpr TimeUnit kTimeUnits[] = {{"s", 1}, {"ms", 1'000}, {"us", 1'000'000}, {"ns", 1'000'000'000}};

// The units per second of a unit's name; none for another name.
std::optional<std::int64_t> units_per_second(std::string_view name);

class TimeScale {
 public:
  TimeScale() = default;
  // Integers in a unit of kTimeUnits. In seconds a value 10^11 or further from 0 is refused: it is over
  // 3,000 years from 1970, almost surely a timestamp in a finer unit.
  static TimeScale of_unit(std::int64_t per_second);
  // The values of a datetime64 array whose dtype's text is `dtype` ("<M8[ns]", ">M8[10ms]"), with NaT
  // refused; none for a unit of no fixed length (years, months, or none), which the caller casts to days.
  static std::optional<TimeScale> of_datetime64(std::string_view dtype);

  // Turns the timestamps of bars [begin, end) from this scale's unit into seconds, rounding toward the
  // past; raises (PyErrorPending) at the first that cannot be seconds, naming the argument.
  void apply(std::int64_t* times, std::size_t begin, std::size_t end, const char* name) const;

 private:
  // seconds = floor(value x multiply / divide), the fraction in lowest terms.
  std::int64_t multiply_ = 1;
  std::int64_t divide_ = 1;
  bool datetime_ = false;       // INT64_MIN is NaT
  bool check_seconds_ = false;  // the caller's seconds, checked for a finer unit
};

}  // namespace qcpy
