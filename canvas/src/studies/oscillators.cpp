// Oscillators in fixed ranges.
#include "studies/study.hpp"

namespace qc::studies {

bool adx(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool aroon(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool aroon_oscillator(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool balance_of_power(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool choppiness(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool cmf(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool cmo(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool connors_rsi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool mfi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool schaff_trend_cycle(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool stoch_rsi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool stochastic(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool tsi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool ultimate_oscillator(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool williams_r(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
