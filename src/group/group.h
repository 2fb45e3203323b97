// Pile-group solution: the routines that other subsystems call.
#pragma once

#include <array>
#include <span>

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

}  // namespace kaldo
