// What a chart keeps beside each record so that the record follows bars appended and updated: the study
// that computes it again, or the bars the caller's own values were given for.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "api/indicator_rows.hpp"
#include "model/indicators.hpp"
#include "studies/resume.hpp"
#include "studies/study.hpp"

namespace qc::api {

struct LiveStudy;
// The record `ind` of `study` over `bars`, whose bars before `from` are those its values were computed on.
void follow_study(LiveStudy& study, model::Indicator& ind, model::BarsView bars, std::size_t from,
                  const coords::TimeZone& zone);

// One argument of a study's call as the chart keeps it: an ArgValue whose text it owns.
using CallArg = std::variant<std::uint64_t, double, std::string>;

// The call's arguments as the rows take them, their texts those of `call`.
struct CallView {
  std::array<ArgValue, kMaxArgs> values;
  std::size_t size = 0;

  explicit CallView(std::span<const CallArg> call) : size(std::min(call.size(), kMaxArgs)) {
    for (std::size_t i = 0; i < size; ++i) {
      values[i] = std::visit(
          [](const auto& v) -> ArgValue {
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(v)>, std::string>) {
              return std::string_view(v);
            } else {
              return v;
            }
          },
          call[i]);
    }
  }
  std::span<const ArgValue> span() const { return {values.data(), size}; }
};

// A study's record as its call made it, kept current.
struct LiveStudy {
  // How the record follows the bars: called through this pointer, set where a study is made, so that a program
  // that makes none (the page, whose charts are read from JSON) does not carry the studies' code.
  void (*follow)(LiveStudy&, model::Indicator&, model::BarsView, std::size_t, const coords::TimeZone&) = follow_study;
  const IndicatorSpec* row = nullptr;
  std::vector<CallArg> call;  // the call's arguments, one per argument of the row: what the chart's JSON keeps
  // The study's arguments over n bars, as its call takes them; none where it gives no values at n.
  std::optional<studies::StudyArgs> (*args_at)(const IndicatorSpec& row, std::span<const CallArg> call,
                                               std::size_t n) = nullptr;
  // Without arguments for the bars, the record holds NaN at every bar (the hand-written methods) rather
  // than no values (the catalogue's).
  bool blank_when_idle = false;
  // Values taken bar by bar from the bars alone, for records without a study (the volumes): bars from … n − 1.
  void (*per_bar)(model::BarsView bars, std::size_t from, model::Indicator& ind) = nullptr;

  std::optional<studies::StudyArgs> args;  // those of the values held; none before the first follow
  studies::Resume resume;                  // a recursion's state after the bars its values cover
  model::Indicator tail;                   // a window study's values over the bars it computes again
};

struct LiveRecord {
  std::optional<LiveStudy> study;  // none: values the caller gave
  // The caller's values: the bars (or boxes) they were given for, set when bars first come after them.
  std::optional<std::size_t> given;
};

}  // namespace qc::api
