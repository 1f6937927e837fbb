// Trend followers drawn over the prices.
#include "studies/study.hpp"

namespace qc::studies {

bool supertrend(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool zigzag(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool psar(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool ichimoku(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
