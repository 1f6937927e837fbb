// Timestamps in the caller's unit or a datetime64 unit, turned into seconds with the floor.
#include "time_scale.hpp"

#include <charconv>
#include <limits>
#include <numeric>
#include <string>

#include "coords/time_axis.hpp"
#include "py.hpp"

namespace qcpy {
namespace {

using qc::coords::floor_div;

// numpy's datetime64 units of fixed length, as seconds per unit (a fraction).
struct DatetimeUnit {
  std::string_view code;
  std::int64_t seconds;
  std::int64_t per;
};
constexpr DatetimeUnit kDatetimeUnits[] = {
    {"W", 604'800, 1},   {"D", 86'400, 1},           {"h", 3'600, 1},
    {"m", 60, 1},        {"s", 1, 1},                {"ms", 1, 1'000},
    {"us", 1, 1'000'000}, {"ns", 1, 1'000'000'000},  {"ps", 1, 1'000'000'000'000},
    {"fs", 1, 1'000'000'000'000'000}, {"as", 1, 1'000'000'000'000'000'000},
};

constexpr std::int64_t kFarFromEpoch = 100'000'000'000;  // seconds: over 3,000 years

[[noreturn]] void raise(PyObject* type, const char* name, const std::string& what) {
  PyErr_SetString(type, (std::string("argument '") + name + "': " + what).c_str());
  throw PyErrorPending{};
}

[[noreturn]] void too_far(const char* name, std::int64_t value) {
  raise(PyExc_OverflowError, name, std::to_string(value) + " does not fit a signed 64-bit timestamp in seconds");
}

// Divisors known when compiled become multiplications: the common units cost no division.
template <std::int64_t D>
void divide_all(std::int64_t* times, std::size_t begin, std::size_t end) {
  for (std::size_t i = begin; i < end; ++i) times[i] = floor_div(times[i], D);
}

}  // namespace

std::optional<std::int64_t> units_per_second(std::string_view name) {
  for (const TimeUnit& u : kTimeUnits) {
    if (u.name == name) return u.per_second;
  }
  return std::nullopt;
}

TimeScale TimeScale::of_unit(std::int64_t per_second) {
  TimeScale s;
  s.divide_ = per_second;
  s.check_seconds_ = per_second == 1;
  return s;
}

std::optional<TimeScale> TimeScale::of_datetime64(std::string_view dtype) {
  if (!dtype.empty() && (dtype[0] == '<' || dtype[0] == '>' || dtype[0] == '=' || dtype[0] == '|')) {
    dtype.remove_prefix(1);
  }
  if (!dtype.starts_with("M8[") || !dtype.ends_with(']')) return std::nullopt;
  std::string_view unit = dtype.substr(3, dtype.size() - 4);
  std::int64_t count = 1;  // "[10ms]": ten milliseconds a unit
  if (!unit.empty() && unit[0] >= '0' && unit[0] <= '9') {
    const auto [end, ec] = std::from_chars(unit.data(), unit.data() + unit.size(), count);
    if (ec != std::errc() || count <= 0 || count > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    unit.remove_prefix(static_cast<std::size_t>(end - unit.data()));
  }
  for (const DatetimeUnit& u : kDatetimeUnits) {
    if (u.code != unit) continue;
    TimeScale s;
    s.datetime_ = true;
    s.multiply_ = count * u.seconds;
    s.divide_ = u.per;
    const std::int64_t common = std::gcd(s.multiply_, s.divide_);
    s.multiply_ /= common;
    s.divide_ /= common;
    return s;
  }
  return std::nullopt;
}

void TimeScale::apply(std::int64_t* times, std::size_t begin, std::size_t end, const char* name) const {
  if (datetime_) {
    for (std::size_t i = begin; i < end; ++i) {
      if (times[i] == std::numeric_limits<std::int64_t>::min()) {
        raise(PyExc_ValueError, name, "NaT at index " + std::to_string(i));
      }
    }
  }
  if (check_seconds_) {
    for (std::size_t i = begin; i < end; ++i) {
      const std::int64_t t = times[i];
      if (t >= kFarFromEpoch || t <= -kFarFromEpoch) {
        raise(PyExc_ValueError, name,
              std::to_string(t) + " is not in seconds (over 3,000 years from 1970); pass unit='ms', 'us' or 'ns'");
      }
    }
  }
  if (multiply_ == 1) {
    switch (divide_) {
      case 1: return;
      case 1'000: return divide_all<1'000>(times, begin, end);
      case 1'000'000: return divide_all<1'000'000>(times, begin, end);
      case 1'000'000'000: return divide_all<1'000'000'000>(times, begin, end);
      default:
        for (std::size_t i = begin; i < end; ++i) times[i] = floor_div(times[i], divide_);
        return;
    }
  }
  // t = q d + r with 0 <= r < d, so t m / d = q m + r m / d; overflow only where the seconds cannot fit.
  for (std::size_t i = begin; i < end; ++i) {
    const std::int64_t t = times[i];
    const std::int64_t q = floor_div(t, divide_);
    const std::int64_t r = t % divide_ < 0 ? t % divide_ + divide_ : t % divide_;
    std::int64_t whole = 0;
    std::int64_t part = 0;
    std::int64_t seconds = 0;
    if (__builtin_mul_overflow(q, multiply_, &whole) || __builtin_mul_overflow(r, multiply_, &part) ||
        __builtin_add_overflow(whole, part / divide_, &seconds)) {
      too_far(name, t);
    }
    times[i] = seconds;
  }
}

}  // namespace qcpy
