// Moving averages over the closes.
#include "studies/study.hpp"

namespace qc::studies {

bool hma(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool wma(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool dema(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool tema(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool kama(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool trima(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool zlema(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool mcginley(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool linear_regression(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
