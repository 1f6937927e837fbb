// TZif (version 2 and later) and its footer's daylight-saving rule, read into offsets from UTC.
#include "coords/time_zone.hpp"

#include <algorithm>
#include <limits>

#include "coords/civil_calendar.hpp"
#include "coords/text_cursor.hpp"

namespace qc::coords {
namespace {

// Big-endian fields, read only after has() said they are there.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool has(std::uint64_t n) const { return n <= bytes_.size() - pos_; }
  std::string_view take(std::size_t n) {
    const std::string_view s = bytes_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  std::uint64_t be(std::size_t n) {
    std::uint64_t v = 0;
    for (const char c : take(n)) v = v << 8 | static_cast<unsigned char>(c);
    return v;
  }
  std::string_view rest() const { return bytes_.substr(pos_); }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

struct Header {
  unsigned char version = 0;
  std::uint32_t isut = 0, isstd = 0, leap = 0, time = 0, type = 0, chars = 0;

  // The bytes of the data block that follows, with transition times of time_size bytes.
  std::uint64_t block_size(std::uint64_t time_size) const {
    return time * (time_size + 1) + type * std::uint64_t{6} + chars + leap * (time_size + 4) + isstd + isut;
  }
};

std::optional<Header> read_header(ByteReader& r) {
  if (!r.has(44) || r.take(4) != "TZif") return std::nullopt;
  Header h;
  h.version = static_cast<unsigned char>(r.take(1)[0]);
  r.take(15);
  for (std::uint32_t* count : {&h.isut, &h.isstd, &h.leap, &h.time, &h.type, &h.chars}) {
    *count = static_cast<std::uint32_t>(r.be(4));
  }
  if (h.version < '2') return std::nullopt;  // 32-bit data only
  return h;
}

bool is_leap(std::int64_t year) { return first_day_of(year, 3) - first_day_of(year, 2) == 29; }

// A footer's text, read left to right; every reader returns nullopt (or false) on text it does not expect.
class RuleText : public TextCursor {
 public:
  using TextCursor::TextCursor;

  // A zone abbreviation: three or more letters, or "<…>" around three or more letters, digits, '+' and '-'.
  bool name() {
    const bool quoted = eat('<');
    const std::size_t from = i_;
    while (i_ < s_.size() && (is_alpha(s_[i_]) || (quoted && (is_digit(s_[i_]) || s_[i_] == '+' || s_[i_] == '-')))) {
      ++i_;
    }
    return i_ - from >= 3 && (!quoted || eat('>'));
  }

  // A whole number of 1 … max_digits digits, at most max.
  std::optional<int> number(int max_digits, int max) {
    int v = 0, digits = 0;
    while (digits < max_digits && i_ < s_.size() && is_digit(s_[i_])) {
      v = v * 10 + (s_[i_++] - '0');
      ++digits;
    }
    if (digits == 0 || v > max) return std::nullopt;
    return v;
  }

  // [+|-]hh[:mm[:ss]] in seconds, hours at most max_hours.
  std::optional<std::int64_t> clock(int max_hours) {
    const bool negative = eat('-');
    if (!negative) eat('+');
    const std::optional<int> h = number(3, max_hours);
    if (!h) return std::nullopt;
    std::int64_t seconds = std::int64_t{*h} * 3'600;
    for (const std::int64_t unit : {60, 1}) {
      if (!eat(':')) break;
      const std::optional<int> part = number(2, 59);
      if (!part) return std::nullopt;
      seconds += *part * unit;
    }
    return negative ? -seconds : seconds;
  }

  // Jn, n or Mm.w.d, then an optional /time (2:00 by default).
  std::optional<RuleDay> day() {
    RuleDay d;
    std::optional<int> n;
    if (eat('J')) {
      d.form = RuleDay::Form::Julian;
      n = number(3, 365);
      if (n == 0) return std::nullopt;
    } else if (eat('M')) {
      d.form = RuleDay::Form::Month;
      n = number(2, 12);
      d.week = eat('.') ? number(1, 5).value_or(0) : 0;
      d.weekday = eat('.') ? number(1, 6).value_or(-1) : -1;
      if (n == 0 || d.week == 0 || d.weekday < 0) return std::nullopt;
    } else {
      n = number(3, 365);
    }
    if (!n) return std::nullopt;
    d.n = *n;
    if (eat('/')) {
      const std::optional<std::int64_t> time = clock(167);  // hours beyond 24 (and negative ones): version 3
      if (!time) return std::nullopt;
      d.time = *time;
    }
    return d;
  }

 private:
  static bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool is_digit(char c) { return c >= '0' && c <= '9'; }
};

}  // namespace

std::int64_t RuleDay::day_in(std::int64_t year) const {
  const std::int64_t jan1 = first_day_of(year, 1);
  switch (form) {
    case Form::Julian: return jan1 + n - 1 + (n >= 60 && is_leap(year) ? 1 : 0);
    case Form::Zero: return jan1 + n;
    case Form::Month: break;
  }
  const std::int64_t first = first_day_of(year, n);
  const std::int64_t next = n == 12 ? first_day_of(year + 1, 1) : first_day_of(year, n + 1);
  const std::int64_t first_weekday = first + 4 - floor_div(first + 4, 7) * 7;  // 1970-01-01 was a Thursday (4)
  const std::int64_t day = first + (weekday - first_weekday + 7) % 7 + (week - 1) * 7;
  return day >= next ? day - 7 : day;  // week 5 is the last such weekday, which may be the fourth
}

std::optional<ZoneRule> ZoneRule::parse(std::string_view text) {
  RuleText t(text);
  ZoneRule rule;
  const auto west = [](std::optional<std::int64_t> v) { return v ? std::optional<std::int64_t>(-*v) : v; };
  if (!t.name()) return std::nullopt;
  const std::optional<std::int64_t> std_offset = west(t.clock(24));
  if (!std_offset) return std::nullopt;
  rule.std_offset = *std_offset;
  if (t.done()) return rule;
  if (!t.name()) return std::nullopt;
  rule.dst_offset = rule.std_offset + 3'600;  // an hour ahead of standard time unless given
  if (!t.next_is(',')) {
    rule.dst_offset = west(t.clock(24));
    if (!rule.dst_offset) return std::nullopt;
  }
  // A daylight-saving time without the days it starts and ends is not a rule this reader takes.
  const std::optional<RuleDay> start = t.eat(',') ? t.day() : std::nullopt;
  const std::optional<RuleDay> end = start && t.eat(',') ? t.day() : std::nullopt;
  if (!end || !t.done()) return std::nullopt;
  rule.start = *start;
  rule.end = *end;
  return rule;
}

// The state at ts is that of the latest change at or before it. The changes of the years around ts's
// own are placed against its day, so that no instant is formed near the 64-bit ends: two years back is
// always early enough (a change may lie up to 167 hours past its day, into the next year), one ahead may
// already have begun (up to 167 hours before its day). Of two changes at one instant the later in the
// rule's order wins, so a rule that ends one year where it starts the next stays in daylight-saving time.
std::int64_t ZoneRule::offset(std::int64_t ts) const {
  if (!dst_offset) return std_offset;
  const std::int64_t rem = ts % kSecondsPerDay;
  const std::int64_t sec = rem < 0 ? rem + kSecondsPerDay : rem;
  const std::int64_t day = floor_div(ts, kSecondsPerDay);
  const std::int64_t year = civil_date(day).year;
  std::int64_t latest = std::numeric_limits<std::int64_t>::min();
  bool dst = false;
  for (std::int64_t y = year - 2; y <= year + 1; ++y) {
    for (const bool starts : {true, false}) {
      const std::int64_t at = change(y, starts, day);
      if (at <= sec && at >= latest) {
        latest = at;
        dst = starts;
      }
    }
  }
  return dst ? *dst_offset : std_offset;
}

// The change is read on the clock in force before it.
std::int64_t ZoneRule::change(std::int64_t year, bool starts, std::int64_t from) const {
  const RuleDay& day = starts ? start : end;
  return (day.day_in(year) - from) * kSecondsPerDay + day.time - (starts ? std_offset : dst_offset.value_or(0));
}

std::optional<TimeZone> TimeZone::parse(std::string_view bytes) {
  ByteReader r(bytes);
  const std::optional<Header> v1 = read_header(r);
  if (!v1 || !r.has(v1->block_size(4))) return std::nullopt;
  r.take(static_cast<std::size_t>(v1->block_size(4)));
  const std::optional<Header> h = read_header(r);
  if (!h || h->type == 0 || h->chars == 0 || (h->isut != 0 && h->isut != h->type) ||
      (h->isstd != 0 && h->isstd != h->type) || !r.has(h->block_size(8))) {
    return std::nullopt;
  }
  TimeZone zone;
  zone.times_.resize(h->time);
  for (std::size_t i = 0; i < zone.times_.size(); ++i) {
    zone.times_[i] = static_cast<std::int64_t>(r.be(8));
    if (i > 0 && zone.times_[i] <= zone.times_[i - 1]) return std::nullopt;
  }
  const std::string_view types = r.take(h->time);
  std::vector<std::int64_t> offsets(h->type);
  for (std::int64_t& offset : offsets) {
    offset = static_cast<std::int32_t>(r.be(4));  // two's complement
    const std::uint64_t is_dst = r.be(1), designation = r.be(1);
    if (offset == std::numeric_limits<std::int32_t>::min() || is_dst > 1 || designation >= h->chars) {
      return std::nullopt;
    }
  }
  zone.offsets_.reserve(h->time);
  for (const char type : types) {
    const auto k = static_cast<unsigned char>(type);
    if (k >= offsets.size()) return std::nullopt;
    zone.offsets_.push_back(offsets[k]);
  }
  zone.before_ = offsets[0];
  r.take(static_cast<std::size_t>(h->chars + h->leap * std::uint64_t{12} + h->isstd + h->isut));
  // The footer: the rule between two newlines, and nothing after it.
  const std::string_view footer = r.rest();
  if (footer.size() < 2 || footer.front() != '\n' || footer.back() != '\n') return std::nullopt;
  const std::string_view text = footer.substr(1, footer.size() - 2);
  if (text.find('\n') != std::string_view::npos) return std::nullopt;
  if (!text.empty()) {
    zone.rule_ = ZoneRule::parse(text);
    if (!zone.rule_) return std::nullopt;
  }
  zone.rule_after_ = zone.times_.empty() ? 0 : zone.times_.back();
  zone.expand_rule();
  return zone;
}

// Files may stop their transitions early (a slim file at 2007) and leave the years after to the rule. Its
// changes over the next two centuries are written into the table, each with the rule's own offset, so that
// bars of those years cost a search instead of a calendar reckoning; later instants still ask the rule. A
// last transition far from any calendar in use (beyond ±2^56 s) is left to the rule alone.
void TimeZone::expand_rule() {
  constexpr std::int64_t kYears = 200, kReach = std::int64_t{1} << 56;
  if (!rule_ || !rule_->dst_offset || times_.empty() || times_.back() <= -kReach || times_.back() >= kReach) {
    return;
  }
  const std::int64_t last = times_.back();
  const std::int64_t year = civil_date(floor_div(last, kSecondsPerDay)).year;
  std::vector<std::int64_t> changes;
  changes.reserve(2 * (kYears + 3) + 1);
  for (std::int64_t y = year - 2; y <= year + kYears; ++y) {
    changes.push_back(rule_->change(y, true));
    changes.push_back(rule_->change(y, false));
  }
  std::sort(changes.begin(), changes.end());
  // The rule holds from just after the last transition, where it may already differ from it.
  changes.insert(std::upper_bound(changes.begin(), changes.end(), last), last + 1);
  for (const std::int64_t at : changes) {
    const std::int64_t offset = rule_->offset(at);
    if (at > times_.back() && offset != offsets_.back()) {
      times_.push_back(at);
      offsets_.push_back(offset);
    }
  }
  // Every change before the last year listed is in the list: a year's changes come at the earliest a week
  // before it begins.
  rule_after_ = first_day_of(year + kYears, 1) * kSecondsPerDay;
}

std::int64_t TimeZone::offset(std::int64_t ts) const {
  if (times_.empty()) return rule_ ? rule_->offset(ts) : before_;
  if (ts < times_.front()) return before_;
  if (rule_ && ts > rule_after_) return rule_->offset(ts);
  const auto next = std::upper_bound(times_.begin(), times_.end(), ts);
  return offsets_[static_cast<std::size_t>(next - times_.begin()) - 1];
}

}  // namespace qc::coords
