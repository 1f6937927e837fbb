// Channels and bands around the prices.
#include "studies/study.hpp"

namespace qc::studies {

bool keltner(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool atr_bands(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool bollinger_filled(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool envelopes(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool donchian(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool price_channel(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool chande_kroll_stop(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
