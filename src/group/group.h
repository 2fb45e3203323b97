// Pile-group solution: the routines that other subsystems call.
#pragma once

#include <array>
#include <span>
#include <string>

namespace kaldo {

// The group solution of one analysis point: the equilibrium of the cap with all piles under the load P
// at the cap origin, in load steps. kind 0 load case, 1 combination; work is the caller's (the plane
// solution stores the p-y print switch in it); POUT and UOUT receive the loads at the origin and the
// cap displacement; PSP, USP, RSP and KDOF are the values given at a point (load cases only). Reads the
// run position RUNPOINT and the stiffness-estimation state EQSEST; sets status on a failure or a stop.
void GRPSOL(int kind, int& work, int& status, std::array<double, 6>& POUT, std::array<double, 6>& UOUT,
            std::array<double, 6>& P, std::array<double, 6>& PSP, std::array<double, 6>& USP,
            std::array<double, 6>& RSP, std::array<int, 6>& KDOF);
// The plane twin: three degrees of freedom (force X, force Y, moment Z) in places 1 to 3.
void GRPSOL2D(int kind, int& work, int& status, std::array<double, 6>& POUT, std::array<double, 6>& UOUT,
              std::array<double, 6>& P, std::array<double, 6>& PSP, std::array<double, 6>& USP,
              std::array<double, 6>& RSP, std::array<int, 6>& KDOF);

// The cap envelopes: the reported loads at the origin P and cap displacement u of an analysis enter the
// running minimum and maximum of the series (three-dimensional; the plane uses places 1 to 3).
void CAPENV(const std::array<double, 6>& P, const std::array<double, 6>& u);
void CAPENV2D(const std::array<double, 6>& P, const std::array<double, 6>& u);

// Group reduction factors of closely spaced piles (p-multipliers). Each pile's lateral soil resistance
// is reduced by the piles ahead of it, behind it and beside it, by their spacing in pile diameters and
// by whether it leads or trails them in the sense of movement S (+1 or -1).
//
// GRPRFY: movement along Y. Writes PILEFAC.PMUL of piles 1..NPILES and sets their YMUL to 1; a plane
// row's factor is the mean over its piles, laid out across the plane at the row's spacing.
void GRPRFY(double S);
// GRPRFZ: the same for movement along Z; writes PMULZ and sets YMULZ to 1.
void GRPRFZ(double S);

// The multipliers in effect for the current direction of cap movement: the Y and Z direction factors
// combined by the weights of the option KGRPRF (the cap displacement U for options 1 and 2, the given
// movement for options 3 and 4). P is the applied cap load, IT the iteration number, PT true when the
// case is a pure torque (whose direction is frozen after iteration 20). Options 1 and 3 recompute the
// direction factors first; 2 and 4 keep those of the input echo.
void GRPRFDIR(const std::array<double, 6>& U, const std::array<double, 6>& P, int IT, bool PT);

// The pile diameter the reduction factors use for property set s: the diameter at the top of the
// set's first section (0 for a set that does not exist).
double groupPileDiameter(int s);

// Writes a warning (results file, then runtime file) for every pair of piles that stand at the same
// place in plan: their reduction factor is 0, which removes their lateral soil resistance entirely.
// The input echo calls it once when reduction factors are requested.
void warnCoincidentPiles();

// ---- Small dense linear algebra -----------------------------------------------------------------
// Matrices are 64-bit reals stored by columns (first index fastest), element (i, j) of a matrix held
// with leading dimension NP at A[(i - 1) + (j - 1) * NP].

// Inverts the N x N matrix held in A (leading dimension NP) in place, by Gauss-Jordan elimination with
// full pivoting. FLAG 0 on success; 1 when the matrix is singular (a zero pivot, or no usable pivot
// left), and A then holds no inverse. N <= 0 leaves A alone with FLAG 0. Rows and columns past N are
// not touched. The bookkeeping lives on the call's own stack (up to 50 unknowns), so any thread may
// call it; an N above 50, an NP below N or an array too short for N columns throws std::length_error
// rather than write past a table. GJINV2 and GJINV3 are the same inversion under the names their
// callers use.
void GJINV(std::span<double> A, int N, int NP, int& FLAG);
void GJINV2(std::span<double> A, int N, int NP, int& FLAG);
void GJINV3(std::span<double> A, int N, int NP, int& FLAG);

// Y(:, k) = A X(:, k) for the N 6-vectors of X (one after the other) with the 6 x 6 matrix A. Each
// vector is read whole before its product is written, so Y may be X itself. N <= 0 does nothing; lists
// shorter than 6 N throw std::length_error. MATV6N is the same product under its callers' name.
void MATV6(std::span<double> Y, std::span<const double, 36> A, std::span<const double> X, int N);
void MATV6N(std::span<double> Y, std::span<const double, 36> A, std::span<const double> X, int N);

// ---- Pile-head forces and stiffness (three-dimensional) ------------------------------------------
// Six-component vectors: translations X (vertical, positive downward), Y, Z, then rotations about X, Y,
// Z (forces and moments in the same order); 6 x 6 matrices stored by columns. A pile's own axes: 1 along
// the pile, 2 and 3 across it.

// The four matrices of pile p (1 .. NPILES + 1, the last the embedded cap's pseudo-pile): TL the
// rotation from the pile's axes to global axes (the 3 x 3 rotation R on both diagonal blocks), TG its
// transpose, TD the cap-origin displacement to the head displacement (head translation = cap
// translation + cap rotation x head position) and TF, the transpose of TD, the head force to the force
// at the cap origin. Every other element is 0.
void PILETRAN(int p, std::array<double, 36>& TF, std::array<double, 36>& TD, std::array<double, 36>& TL,
              std::array<double, 36>& TG);

// The forces F of pile p on the cap at its head, in global axes, for the head displacement U in global
// axes: the axial, torsional and lateral analyses of the pile in the pile's own axes, times PMULT. A
// head pinned in either plane carries no torque. F is 0 when status is not 0 after the lateral analysis
// (status is the pile's status word: the routines only set it).
void PILEFRC(int p, std::array<double, 6>& F, const std::array<double, 6>& U, int& status);

// The 6 x 6 head stiffness K(i, j) = dF(i)/dU(j) of pile p at the head displacement U, by central
// differences over thirteen force evaluations (U first, then U plus and minus each step). The steps are
// about 1e-7 inch of translation (smaller while the Newton increment DU is small, or fixed for MODE 1,
// a case with displacements given at a point); IT is the Newton iteration. All thirteen evaluations run
// whatever status becomes. K is not symmetrised.
void PILESTF(int p, std::array<double, 36>& K, const std::array<double, 6>& U, const std::array<double, 6>& DU,
             int IT, int MODE, int& status);

// ---- Group force vector and stiffness, parallel over the piles -----------------------------------
// The thread-count rule of every parallel region: for the request 0, the processor count less 2 above 3
// processors, less 1 for 2 or 3, the count itself for 1; otherwise the request, at most the processor
// count. Then at most the pile count, and at most 2 for the writers. A negative request or a model
// without piles gives a count below 1 (the regions then run on the calling thread).
int threadCount(int request, int processors, int piles, bool writer);
// The rule for the next region with the processors the OpenMP runtime reports: raises both peak
// counters RUNTHRPEAK and RUNTHRPEAK2 to the count, and returns the count to run with (at least 1).
int regionThreads(int request, int piles, bool writer);

// The force vector F of all piles on the cap at the origin, for the cap displacement U (piles 1 ..
// NPILES, in parallel with NTHRUSR's thread count). A pile that fails adds nothing; status takes the
// first failure in pile order (a status already set on entry makes every pile add nothing). The sum is
// formed in pile order after the loop, so it is the same for any thread count. Time: RUNTPAR.
void FVEC(std::array<double, 6>& F, const std::array<double, 6>& U, int& status);
// The group stiffness K at the cap origin for the cap displacement U: every pile's head stiffness
// (PILESTF with DU, IT, MODE) moved to the origin, TF K TD, summed in pile order whatever the status.
// Time: RUNTPAR while iterating, RUNTPRT in the result passes (RUNPASS not 0).
void STIFF(std::array<double, 36>& K, const std::array<double, 6>& U, const std::array<double, 6>& DU, int IT,
           int MODE, int& status);

// ---- Branches of the group solution that other parts of the engine supply ------------------------
// The flexible cap: the plate analysis of the cap on the piles under the load P replaces the solution.
void FCAPRUN(std::array<double, 6>& P);
// The embedded cap's resistance at the cap displacement U: passive resistance (CAPPASS, CAPPSTF) or the
// equivalent lateral spring (CAPSPRF, CAPSPRK); forces at the origin and their 6 x 6 stiffness.
void CAPPASS(std::array<double, 6>& Fc, const std::array<double, 6>& U, int& status);
void CAPPSTF(std::array<double, 36>& K, const std::array<double, 6>& U, const std::array<double, 6>& DU, int IT,
             int MODE, int& status);
void CAPSPRF(std::array<double, 6>& Fc, const std::array<double, 6>& U, int& status);
void CAPSPRK(std::array<double, 36>& K, const std::array<double, 6>& U, const std::array<double, 6>& DU, int IT,
             int MODE);
// The derivative of the group force vector with the reduction factors following the movement.
void CAPJAC(std::array<double, 36>& K, const std::array<double, 6>& U, const std::array<double, 6>& DU,
            const std::array<double, 6>& P, int IT, int MODE, bool PT, int& status);
// The bordered 12 x 12 system of a case with displacements given at a point, from the stiffness K.
void CAPAUGK(std::array<double, 144>& A, const std::array<double, 36>& K, const std::array<double, 6>& RSP,
             const std::array<int, 6>& KDOF);
// The equivalent stiffness tables of a stiffness-estimation point, after the equivalent-stiffness pass.
void EQSTIFWR();
// The flexibility scratch lines of a cap-flexibility point: point p, driven component k, final load P
// and cap displacement u; failed marks a point where no load step converged.
void FLEXREC(int p, int k, bool failed, const std::array<double, 6>& P, const std::array<double, 6>& u);

// The pile failures that fail a load step of the group solution, by the solver state the piles raised:
// no lateral closure (1), an axial solution that gave up (4), p-y curves shorter than the pile (5).
// Warnings to copy (3) never fail a step, and a singular stiffness (2) is the solution's own finding.
bool grpsolStepFails(int state);
// The warning text of a stepping given up after a step failed for reason (empty for a singular
// stiffness, whose warning is written where it is found; the iteration limit for any other reason).
std::string grpsolGiveUpText(int reason);

// ---- Reports of the three-dimensional group solution ---------------------------------------------
// Multipliers in effect, to the results, summary and pile results files.
void grpsolFactorTable();
// Table L: the reported cap loads P and displacement u at the origin, to the summary collection, results,
// summary and pile results files; its the number of the last group iteration.
void grpsolTableL(const std::array<double, 6>& P, const std::array<double, 6>& u, int its);
// The embedded cap's passive resistance: the magnitudes of its Y and Z forces and their position.
void grpsolPassiveTable(double Hy, double Hz, double position);
// The Table M headings before the final results pass.
void grpsolTableM();
// Iteration log: the complete stiffness K of iteration it, then the vectors of the iteration.
void grpsolLogStiffness(int it, const std::array<double, 36>& K);
void grpsolLogVectors(const std::array<double, 6>& du, const std::array<double, 6>& R, const std::array<double, 6>& dU,
                      const std::array<double, 6>& u, const std::array<double, 6>& P, const std::array<double, 6>& F);
// The equivalent stiffness print matrix K (by columns) on the equivalent stiffness scratch file.
void grpsolEqvMatrix(const std::array<double, 36>& K);

}  // namespace kaldo
