// Oscillators about zero.
#include "studies/study.hpp"

namespace qc::studies {

bool accelerator_oscillator(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool awesome_oscillator(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool cci(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool chaikin_oscillator(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool coppock_curve(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool dpo(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool elder_ray(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool eom(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool fisher_transform(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool force_index(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool kst(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool linear_regression_slope(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool momentum(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool pgo(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool qstick(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool roc(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool rvi(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool smi_ergodic(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING
bool trix(const Columns&, const StudyArgs&, StudyOutput&) { return false; }  // PENDING

}  // namespace qc::studies
