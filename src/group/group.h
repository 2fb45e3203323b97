// Pile-group solution: the routines that other subsystems call.
#pragma once

#include <exception>
#include <span>
#include <string>
#include <vector>

#include "model/vectors.h"

namespace kaldo {

// The group solution of one analysis point: the equilibrium of the cap with all piles under the load P
// at the cap origin, in load steps. kind 0 load case, 1 combination; work is the caller's (the plane
// solution stores the p-y print switch in it); PSP, USP, RSP and KDOF are the values given at a point
// (load cases only). Reads the run position RUNPOINT and the stiffness-estimation state EQSEST; sets
// status on a failure or a stop. A flexible cap (FLXCAP) goes to FCAPRUN instead.
// Writes (of its arguments and the shared blocks):
//   P            the load of the level last iterated; the load of the last converged level once the
//                results are reported
//   POUT, UOUT   the load and cap displacement of a stiffness-estimation point (EQSACT 1) only
//   RUNSTATE     RUNWARNBEAR, RUNWARNPULL, RUNWARNTORS cleared for every force evaluation, RUNWARNPRT 1
//                during it; RUNSOLVST cleared for every iteration and the final pass, SOLVER_SINGULAR,
//                SOLVER_WARNINGS; RUNPASS 2 or 1 for the passes of the piles, 0 on every way out
//   PYMODE       PYPRTMODE 0
//   SMOV         SMFACT, the load level: the soil movement grows with the load
//   EQSEST       EQSSTATE (-1 until a point completes, 0 once accepted) and EQSDCMP
//   RESCUR       the current results of piles 1..NPILES, cleared before the final results pass
//   ENVCTL       ENVKPRINT and ENVNPREV for the envelope reports; ENVSERIES carried on after a
//                total-load analysis
//   through GRPRFDIR the multipliers PILEFAC and PILE.HEADYW; through FVEC and STIFF the times
//   RUNTPAR and RUNTPRT, in the final pass the piles' results and envelopes (RESCUR, ENVMIN, ENVMAX),
//   in the equivalent-stiffness pass EQSSOL; through CAPENV the cap envelopes; and what ENVEWR,
//   EQSTIFWR and FLEXREC write.
// Units written: runtime (iteration trace, warnings), results, summary, summary collection and pile
// results (Table L, the factors, the passive resistance, Table M, partial-load, final-pass and
// equilibrium warnings; the runtime file also receives the last two), case status (one line per analysis point), iteration log, the axial warning scratch file
// (by the piles, read back after the stepping), the pile result scratch file (open during the passes),
// the equivalent stiffness file (its print matrix), and the host's progress record.
void GRPSOL(int kind, int& work, int& status, Vec6& POUT, Vec6& UOUT, Vec6& P, Vec6& PSP, Vec6& USP, Vec6& RSP,
            Flags6& KDOF);
// The plane twin: three degrees of freedom (force X, force Y, moment Z) in places 1 to 3.
void GRPSOL2D(int kind, int& work, int& status, Vec6& POUT, Vec6& UOUT, Vec6& P, Vec6& PSP, Vec6& USP, Vec6& RSP,
              Flags6& KDOF);

// The cap envelopes: the reported loads at the origin P and cap displacement u of an analysis enter the
// running minimum and maximum of the series (three-dimensional; the plane uses places 1 to 3).
void CAPENV(const Vec6& P, const Vec6& u);
void CAPENV2D(const Vec6& P, const Vec6& u);

// Group reduction factors of closely spaced piles (p-multipliers). Each pile's lateral soil resistance
// is reduced by the piles ahead of it, behind it and beside it, by their spacing in pile diameters and
// by whether it leads or trails them in the sense of movement S (+1 or -1).
//
// GRPRFY: movement along Y. Writes PILEFAC.PMUL of piles 1..NPILES and sets their YMUL to 1; a plane
// row's factor is the mean over its piles, laid out across the plane at the row's spacing.
void GRPRFY(double S);
// GRPRFZ: the same for movement along Z; writes PMULZ and sets YMULZ to 1.
void GRPRFZ(double S);
// The direction factors anew for a movement (or load) with components vY along Y and vZ along Z: the
// sense of each component (zero counts as positive) sets the factors of its direction. Y goes to PMUL and
// YMUL and is kept in PMULY and YMULY, Z to PMULZ and YMULZ. GRPRFDIR and the input echo's Table K both
// estimate the factors by it.
void directionFactors(double vY, double vZ);

// The multipliers in effect for the current direction of cap movement: the Y and Z direction factors
// combined by the weights of the option KGRPRF (the cap displacement U for options 1 and 2, the given
// movement for options 3 and 4). P is the applied cap load, IT the iteration number, PT true when the
// case is a pure torque (whose direction is frozen after iteration 20). Options 1 and 3 recompute the
// direction factors first; 2 and 4 keep those of the input echo.
void GRPRFDIR(const Vec6& U, const Vec6& P, int IT, bool PT);
// The direction mix of the reduction factors for a movement with components aY along Y and aZ along Z
// (their signs do not matter; no movement at all weighs Y and Z equally): the Y and Z direction factors
// (PMULY, YMULY and PMULZ, YMULZ) weighted by the direction cosines of the movement and combined as the
// root of the sum of their squares, into PMUL and YMUL of piles 1..NPILES. A movement along Y keeps the
// Y factors, one along Z the Z factors. GRPRFDIR and the input echo's Table K both mix by it.
void mixDirectionFactors(double aY, double aZ);

// The pile diameter the reduction factors use for property set s: the diameter at the top of the
// set's first section (0 for a set that does not exist).
double groupPileDiameter(int s);

// Writes a warning (results file, then runtime file) for every pair of piles that stand at the same
// place in plan: their reduction factor is 0, which removes their lateral soil resistance entirely.
// The input echo calls it once when reduction factors are requested.
void warnCoincidentPiles();

// ---- Group force vector and stiffness, parallel over the piles -----------------------------------
// The force vector F of all piles on the cap at the origin, for the cap displacement U (piles 1 ..
// NPILES, in parallel with NTHRUSR's thread count). A pile that fails adds nothing; status takes the
// first failure in pile order (a status already set on entry makes every pile add nothing). The sum is
// formed in pile order after the loop, so it is the same for any thread count. Time: RUNTPAR.
// What one pile's analysis in a parallel pile loop ended with: its own status word and the fault it
// threw, if any.
struct PileOutcome {
    int status = 0;
    std::exception_ptr fault;
};
// Hands the first failure in pile order to the caller's status word (which keeps a code it already
// holds). A thrown fault is reported with its text on the calling thread, outside the parallel region.
void settlePileOutcomes(int& status, const std::vector<PileOutcome>& outcome);

void FVEC(Vec6& F, const Vec6& U, int& status);
// The group stiffness K at the cap origin for the cap displacement U: every pile's head stiffness
// (PILESTF with DU, IT, MODE) moved to the origin, TF K TD, summed in pile order whatever the status.
// Time: RUNTPAR while iterating, RUNTPRT in the result passes (RUNPASS not 0).
void STIFF(Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status);
// The plane force vector: places 1 to 3 of F (force X, force Y, moment Z) are the forces that the cap
// puts on all piles for the cap displacement U (places 1 to 3: X, Y, rotation about Z), each pile's head
// forces moved to the origin and times PMULT; places 4 to 6 are 0. Each pile: AXIAL2D, NODE2D, LLPILE2D
// in its own axes. Failures, pile-order sums and status as FVEC. Time: RUNTPAR while iterating, RUNTPRT
// in the result passes.
void FVEC2D(Vec6& F, const Vec6& U, int& status);
// The matrix from the axes of plane pile p (along the axis, across it, rotation) to the plane's at the
// cap origin (X, Y, rotation about Z), by columns; its transpose moves the cap displacement to the head.
Mat3 planePileMatrix(int p);

// ---- The embedded cap ------------------------------------------------------------------------------
// A cap embedded in the soil resists horizontal movement, by passive pressure on its face (CAPOPT 1, or
// CAPOPT 2 with KCAPSPR 0) or as an equivalent lateral spring (CAPOPT 2 with KCAPSPR 1). Forces are
// those of the cap's soil on the cap at the origin, in the sign of the group force vector (they oppose
// the movement); matrices their derivative with respect to the cap displacement.

// The passive pressure diagram on the cap's face: triangular from the mean ground surface down to the
// pile heads, or a trapezoid over the cap thickness when the ground stands above the cap top. groundMean
// is the ground surface measured down from the pile heads (negative: the heads are embedded), capLevel
// the soil reaction per length at the pile heads, thickness the cap thickness, headX the X of the pile
// heads (the cap's underside).
struct PassiveDiagram {
    double force = 0.0;     // resultant of the pressure (per unit of the cap reaction)
    double moment = 0.0;    // minus its first moment about X = 0
    double height = 0.0;    // height of the loaded face
    double top = 0.0;       // pressure at the top of the loaded face (0 for a triangle)
    double position = 0.0;  // X of the resultant (headX without pressure)
};
PassiveDiagram passiveDiagram(double groundMean, double capLevel, double thickness, double headX);
// The means over the piles of the ground surface below the heads and of the cap-level reaction that
// the piles' last analyses left, into PYMODE.CAPGMEAN and CAPPMEAN.
void capPassiveMeans();
// The passive resistance at the origin for the cap displacement U from those means: the diagram's
// resultant opposing the horizontal movement, shared between Y and Z by |U2| : |U3|, with its moment.
// Nothing without horizontal movement.
void capPassiveForce(Vec6& F, const Vec6& U);
// The passive resistance F at the cap displacement U: the piles analysed at U (FVEC, its forces unused)
// leave the cap-level values, then capPassiveMeans and capPassiveForce. Sets PYMODE.CAPHDISP to the
// horizontal movement first, at which the piles' user p-y curves read the cap-level reaction.
void CAPPASS(Vec6& F, const Vec6& U, int& status);
// Its derivative by central differences over twelve displaced states (PILESTF's steps from DU, IT, MODE).
void CAPPSTF(Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status);

// The pseudo-pile of the equivalent lateral spring in slot NPILES + 1: property set CAPPSET of one
// section of the effective cap width over CAPSLEN in INCREMENTS increments, vertical, on the layers.
void capPseudoPile();
// The soil reactions R2, R3 (forces) and M3, M2 (moments about local axes 3 and 2) at the pseudo-pile's
// top for its top deflections Y0, Z0 and rotations RZ, RY, from the p-y springs of the layers at its
// nodes with the cap width, lumped over the nodes. listed writes the node listing "REACTIONS CAP" to the
// results file. A failing soil lookup sets status and leaves the outputs alone.
void CAPPYRES(double Y0, double RZ, double Z0, double RY, double& R2, double& R3, double& M3, double& M2,
              int& status, bool listed);
// The pseudo-pile's reaction FC at its top in global axes for the displacement UH of its top; lays out
// its nodes first (a cap below the deepest layer sets ST_NODE with the fatal message). FC is 0 on failure.
void CAPSPR1(Vec6& FC, const Vec6& UH, int& status, bool listed);
// The spring's reaction F at the origin for the cap displacement U (0 on failure, which sets status).
void capSpringForce(Vec6& F, const Vec6& U, int& status, bool listed);
// The same, listed: the group solution's evaluation.
void CAPSPRF(Vec6& F, const Vec6& U, int& status);
// The difference steps of the spring's stiffness, adjusted to the Newton increment DU: unchanged for
// MODE 1; after the second iteration the translation step H shrinks by 1e-4 when the translation
// increment is below 100 H and the rotation step HR by 0.01 likewise; before, H alone shrinks by 1e-4.
void STEPADJ(const Vec6& DU, double& H, double& HR, int MODE, int IT);
// The spring's stiffness by central differences over twelve displaced states; a failure there keeps
// to a status of its own.
void CAPSPRK(Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE);

// ---- Branches of the group solution that other parts of the engine supply ------------------------
// The derivative K of the group force vector at the cap displacement U with the reduction factors
// following the movement: central differences over twelve displaced states, each with the multipliers
// of its own direction (GRPRFDIR with P, IT and PT) before its force vector (FVEC). The steps follow
// PILESTF's rule (DU the latest Newton increment, IT the iteration, MODE 1 for a case with displacements
// given at a point). All twelve run whatever status becomes. Writes through GRPRFDIR the multipliers
// PILEFAC (and PILE.HEADYW), which stay those of the last state, U less the rotation step about Z; through
// FVEC the time RUNTPAR.
void CAPJAC(Mat6& K, const Vec6& U, const Vec6& DU, const Vec6& P, int IT, int MODE, bool PT, int& status);
// The pile failures that fail a load step of the group solution, by the solver state the piles raised:
// no lateral closure (1), an axial solution that gave up (4), p-y curves shorter than the pile (5).
// Warnings to copy (3) never fail a step, and a singular stiffness (2) is the solution's own finding.
bool grpsolStepFails(int state);
// The warning text of a stepping given up after a step failed for reason (empty for a singular
// stiffness, whose warning is written where it is found; the iteration limit for any other reason).
std::string grpsolGiveUpText(int reason);
// A warning of the group solutions: two blank lines, then the warning line, on one report unit.
void grpsolWarningLines(int unit, const std::string& text);
// The warning of a cap stiffness that cannot be inverted, on the results file and then the runtime file;
// raises the solver state to a singular stiffness.
void grpsolWarnSingular();

// ---- Reports of the three-dimensional group solution ---------------------------------------------
// Multipliers in effect, to the results, summary and pile results files.
void grpsolFactorTable();
// Table L: its headings on the summary collection and results files (a case with values at a point puts
// its point tables after them); then the reported cap loads P and displacement u at the origin, to the
// summary collection, results, summary and pile results files; its the number of the last group iteration.
void grpsolTableLHeadings();
void grpsolTableL(const Vec6& P, const Vec6& u, int its);
// The warning of a converged state out of equilibrium, to the results and runtime files: the unbalanced
// load at the origin (the load plus the forces of the piles and the embedded cap on the cap; forces X,
// Y, Z, then moments) and its size as a share of the load, or, when ofLoad is false (a cap without load),
// of the forces the piles carry at their heads.
void grpsolImbalanceWarning(const Vec6& unbalanced, double share, bool ofLoad);
// The embedded cap's passive resistance: the magnitudes of its Y and Z forces and their position.
void grpsolPassiveTable(double Hy, double Hz, double position);
// The Table M headings before the final results pass.
void grpsolTableM();
// Iteration log: the complete stiffness K of iteration it, then the vectors of the iteration.
void grpsolLogStiffness(int it, const Mat6& K);
void grpsolLogVectors(const Vec6& du, const Vec6& R, const Vec6& dU, const Vec6& u, const Vec6& P, const Vec6& F);
// The equivalent stiffness print matrix K (by columns) on the equivalent stiffness scratch file.
void grpsolEqvMatrix(const Mat6& K);

}  // namespace kaldo
