// Small dense linear algebra of the cap solvers and the pile solver: the in-place inverse of a small
// matrix by Gauss-Jordan elimination with full pivoting, and 6 x 6 matrix-times-vector products.
// Nothing here allocates or keeps state, so the kernels run on any thread.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

#include "services/linalg.h"

namespace kaldo {

namespace {

// Unknowns the elimination can book-keep: the largest system of the engine has 12.
constexpr int MAXGJ = 50;

// The N x N matrix in the leading block of a column-stored array of leading dimension NP.
class Square {
public:
    Square(std::span<double> a, int np) : a_(a), np_(static_cast<std::size_t>(np)) {}
    double& operator()(int i, int j) {
        return a_[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * np_];
    }

private:
    std::span<double> a_;
    std::size_t np_;
};

void checkShape(std::size_t size, int N, int NP) {
    if (N > MAXGJ)
        throw std::length_error("GJINV: " + std::to_string(N) + " unknowns, at most " + std::to_string(MAXGJ));
    const std::size_t need = static_cast<std::size_t>(NP) * static_cast<std::size_t>(N - 1) +
                             static_cast<std::size_t>(N);
    if (NP < N || size < need)
        throw std::length_error("GJINV: a " + std::to_string(N) + " x " + std::to_string(N) +
                                " matrix does not fit an array of " + std::to_string(size) +
                                " values with leading dimension " + std::to_string(NP));
}

// The Gauss-Jordan inverse with full pivoting; a pivot of magnitude at most minPivot (0: only an exact
// zero) flags the matrix as singular.
void invert(std::span<double> A, int N, int NP, int& FLAG, double minPivot) {
    FLAG = 0;
    if (N <= 0) return;
    checkShape(A.size(), N, NP);
    Square a(A, NP);

    // used(k): times column k has been the pivot column; row(s), col(s): the pivot of step s.
    std::array<int, MAXGJ + 1> used{}, row{}, col{};
    for (int s = 1; s <= N; ++s) {
        // The largest remaining element among the rows and columns not yet pivoted; among equal
        // magnitudes the last one met wins, so a block of zeros still offers a (zero) candidate.
        double big = 0.0;
        int ir = 0, ic = 0;
        for (int j = 1; j <= N; ++j) {
            if (used[j] == 1) continue;
            for (int k = 1; k <= N; ++k) {
                if (used[k] == 0) {
                    const double m = std::fabs(a(j, k));
                    if (big <= m) {
                        big = m;
                        ir = j;
                        ic = k;
                    }
                } else if (used[k] > 1) {
                    FLAG = 1;
                    return;
                }
            }
        }
        // Nothing but not-a-number entries left: no pivot can be taken.
        if (ic == 0) {
            FLAG = 1;
            return;
        }
        ++used[ic];
        // The pivot is brought onto the diagonal by a row exchange; the column exchanges that undo it
        // on the inverse follow at the end.
        if (ir != ic)
            for (int l = 1; l <= N; ++l) std::swap(a(ir, l), a(ic, l));
        row[s] = ir;
        col[s] = ic;
        const int c = ic;
        if (a(c, c) == 0.0 || std::fabs(a(c, c)) <= minPivot) {
            FLAG = 1;
            return;
        }
        const double q = 1.0 / a(c, c);
        a(c, c) = 1.0;
        for (int l = 1; l <= N; ++l) a(c, l) *= q;
        for (int r = 1; r <= N; ++r) {
            if (r == c) continue;
            const double d = a(r, c);
            a(r, c) = 0.0;
            for (int l = 1; l <= N; ++l) a(r, l) -= d * a(c, l);
        }
    }
    for (int s = N; s >= 1; --s) {
        if (row[s] == col[s]) continue;
        for (int k = 1; k <= N; ++k) std::swap(a(k, row[s]), a(k, col[s]));
    }
}

}  // namespace

void GJINV(std::span<double> A, int N, int NP, int& FLAG) { invert(A, N, NP, FLAG, 0.0); }

void GJINV2(std::span<double> A, int N, int NP, int& FLAG) { GJINV(A, N, NP, FLAG); }

void GJINV3(std::span<double> A, int N, int NP, int& FLAG) { GJINV(A, N, NP, FLAG); }

bool nearlySingular(std::span<const double> A, int N, int NP, std::span<const int> UNIT, double RTOL) {
    if (N <= 0) return false;
    checkShape(A.size(), N, NP);
    if (UNIT.size() < static_cast<std::size_t>(N))
        throw std::length_error("nearlySingular: " + std::to_string(UNIT.size()) + " unit classes for " +
                                std::to_string(N) + " rows");
    const auto at = [&](int i, int j) {
        return A[static_cast<std::size_t>(i) + static_cast<std::size_t>(j) * static_cast<std::size_t>(NP)];
    };
    const auto cls = [&](int i) { return static_cast<std::size_t>(UNIT[static_cast<std::size_t>(i)]); };
    for (int i = 0; i < N; ++i) {
        if (cls(i) >= static_cast<std::size_t>(MAXGJ)) throw std::length_error("nearlySingular: unit class out of range");
        for (int j = 0; j < N; ++j)
            if (!std::isfinite(at(i, j))) return true;
    }
    std::array<double, MAXGJ> classBig{};
    for (int i = 0; i < N; ++i) classBig[cls(i)] = std::max(classBig[cls(i)], std::fabs(at(i, i)));
    std::array<double, MAXGJ> s{};
    for (int i = 0; i < N; ++i) {
        if (!(classBig[cls(i)] > 0.0)) return true;
        s[static_cast<std::size_t>(i)] = 1.0 / std::sqrt(classBig[cls(i)]);
    }
    // The scaled copy (leading dimension N), inverted with the pivot bound; the inverse itself is not used.
    std::array<double, MAXGJ * MAXGJ> b{};
    double top = 0.0;
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) {
            const double v = s[static_cast<std::size_t>(i)] * at(i, j) * s[static_cast<std::size_t>(j)];
            b[static_cast<std::size_t>(i + j * N)] = v;
            top = std::max(top, std::fabs(v));
        }
    int flag = 0;
    invert(std::span<double>(b.data(), static_cast<std::size_t>(N * N)), N, N, flag, RTOL * top);
    return flag != 0;
}

std::array<double, 36> product6(const std::array<double, 36>& A, const std::array<double, 36>& B) {
    std::array<double, 36> C{};
    for (std::size_t j = 0; j < 6; ++j)
        for (std::size_t i = 0; i < 6; ++i) {
            double s = 0.0;
            for (std::size_t k = 0; k < 6; ++k) s += A[i + k * 6] * B[k + j * 6];
            C[i + j * 6] = s;
        }
    return C;
}

void MATV6(std::span<double> Y, std::span<const double, 36> A, std::span<const double> X, int N) {
    if (N <= 0) return;
    const std::size_t need = 6 * static_cast<std::size_t>(N);
    if (Y.size() < need || X.size() < need)
        throw std::length_error("MATV6: " + std::to_string(N) + " vectors do not fit lists of " +
                                std::to_string(X.size()) + " and " + std::to_string(Y.size()) + " values");
    double m[36];
    for (std::size_t e = 0; e < 36; ++e) m[e] = A[e];
    for (std::size_t k = 0; k < static_cast<std::size_t>(N); ++k) {
        double x[6];
        for (std::size_t j = 0; j < 6; ++j) x[j] = X[6 * k + j];
        for (std::size_t i = 0; i < 6; ++i) {
            double sum = 0.0;
            for (std::size_t j = 0; j < 6; ++j) sum += m[i + 6 * j] * x[j];
            Y[6 * k + i] = sum;
        }
    }
}

void MATV6N(std::span<double> Y, std::span<const double, 36> A, std::span<const double> X, int N) {
    MATV6(Y, A, X, N);
}

}  // namespace kaldo
