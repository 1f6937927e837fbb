// Volume flows: running sums of volume by price change.
#include "studies/study.hpp"

namespace qc::studies {

bool ad_line(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool nvi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool obv(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool pvi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool vpt(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
