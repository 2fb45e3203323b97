// Small dense linear algebra of the group solution, the pile-head transformations and the stiffness
// estimation.
#pragma once

#include <array>
#include <span>

namespace kaldo {

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

// True when the N x N matrix held in A (leading dimension NP) is singular whatever the units its rows
// are in. UNIT(i) (1 to N values, 0-based classes) names the unit of row and column i: rows of one class
// share their units (the translations of a cap stiffness, say, and its rotations), so their terms compare
// directly, while each class is scaled by the square root of its largest diagonal magnitude so that
// classes compare like with like. The matrix is singular when a class has no stiffness or a value is not
// finite, or when elimination of the scaled matrix with full pivoting meets a pivot of at most RTOL times
// its largest entry. A stays as it was; up to 50 unknowns, as GJINV.
bool nearlySingular(std::span<const double> A, int N, int NP, std::span<const int> UNIT, double RTOL);

// Y(:, k) = A X(:, k) for the N 6-vectors of X (one after the other) with the 6 x 6 matrix A. Each
// vector is read whole before its product is written, so Y may be X itself. N <= 0 does nothing; lists
// shorter than 6 N throw std::length_error. MATV6N is the same product under its callers' name.
void MATV6(std::span<double> Y, std::span<const double, 36> A, std::span<const double> X, int N);
void MATV6N(std::span<double> Y, std::span<const double, 36> A, std::span<const double> X, int N);

// C = A B for 6 x 6 matrices stored by columns. One definition for every caller, so a product formed
// in two places (the pile loop's kept head stiffness and the stiffness loop's own) is the same bit for
// bit.
std::array<double, 36> product6(const std::array<double, 36>& A, const std::array<double, 36>& B);

}  // namespace kaldo
