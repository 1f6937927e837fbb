// What a chart keeps beside each record so that the record follows bars appended and updated: the study
// that computes it again, or the bars the caller's own values were given for.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "api/indicator_rows.hpp"
#include "model/indicators.hpp"
#include "studies/resume.hpp"
#include "studies/study.hpp"

namespace qc::api {

struct LiveStudy;
// The record `ind` of `study` over `bars`, whose bars before `from` are those its values were computed on.
void follow_study(LiveStudy& study, model::Indicator& ind, model::BarsView bars, std::size_t from,
                  const coords::TimeZone& zone);

// A study's record as its call made it, kept current.
struct LiveStudy {
  // How the record follows the bars: called through this pointer, set where a study is made, so that a program
  // that makes none (the page, whose charts are read from JSON) does not carry the studies' code.
  void (*follow)(LiveStudy&, model::Indicator&, model::BarsView, std::size_t, const coords::TimeZone&) = follow_study;
  const IndicatorSpec* row = nullptr;
  // The study's arguments over n bars, as its call takes them; none where it gives no values at n.
  std::function<std::optional<studies::StudyArgs>(std::size_t)> args_at;
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
