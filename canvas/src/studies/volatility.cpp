// Volatility studies.
#include "studies/study.hpp"

namespace qc::studies {

bool atr(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool historical_volatility(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool mass_index(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool stddev(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool ulcer_index(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool vortex(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
