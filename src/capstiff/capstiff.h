// Pile-cap stiffness estimation and cap flexibility: the routines the analysis driver calls.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/vectors.h"

namespace kaldo {

// Heading of a stiffness-estimation case (basis 1 target deflection, else load levels).
void CAPSTFHDR(int basis, int antype);
// The equivalent stiffness matrix at the origin of an accepted point, from the springs read back by
// EQSTIFRD; written to the stiffness log, the results and the summary.
void CAPTSTF(int& status, int axial, int nlev, int point, double level, Vec6& loads, Vec6& disp, Mat6& stiffness);
// Heading of a cap-flexibility degree-of-freedom point; skip comes back 1 when the base load's
// component d is zero and the point is not solved.
void FLEXDOFHD(int pkind, int dof, int antype, int increments, int ndof, Vec6& base, int& skip);
// The cap stiffness matrices from the flexibility rows, when the first option is 1.
void FLEXSTIF(int option1, int option2, int increments, int ndof, int six, Arr<double, 1, MAXFSD>& fsdc);
// The table of a degree-of-freedom point; re-opens the second flexibility scratch file (mark out).
void FLEXTAB(int pkind, int dof, int increments, int antype, int ndof, int& unit12open);
// Reads the equivalent stiffness scratch file back.
void EQSTIFRD();
// The load factor of the next target-deflection solution from the history.
void TGTFACT();

// The equivalent stiffness tables of a stiffness-estimation point, after the equivalent-stiffness pass.
void EQSTIFWR();
// The flexibility scratch lines of a cap-flexibility point: point p, driven component k, final load P
// and cap displacement u; failed marks a point where no load step converged.
void FLEXREC(int p, int k, bool failed, const Vec6& P, const Vec6& u);

// The plane twin of EQSTIFWR: the pile tables of every pile (one stiffness per node, no torsion).
void EQSTF2D();
// The test of a solution whose controlled displacement is computed, by the state of the point: a level
// point and a tested solution within the tolerance are accepted (EQSSTATE 0), the last allowed solution
// stays at 1, a tested solution outside the tolerance returns true (the point goes on). The line of the
// test goes to the runtime file; a target of zero cannot be tested and keeps the solution, with a
// warning.
bool targetMissed(double computed);
// The target slot of controlled degree of freedom d: a plane run's rotation (3, or 6 as given) reads the
// sixth target, the one the input echo shows for it.
inline int targetSlot(int d, bool plane) { return plane && (d == 3 || d == 6) ? 6 : d; }

}  // namespace kaldo
