// Studies that restart with each calendar period.
#include "studies/study.hpp"

namespace qc::studies {

bool vwap(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool pivot_points(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
