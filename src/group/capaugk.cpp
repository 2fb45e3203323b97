// The bordered system of a three-dimensional case with values given at a point, the transfer of the
// cap's displacement and loads to the point, and the coupling limit of a first iteration (shared with
// the plane).
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "group/point.h"

namespace kaldo {
namespace {

// Element (i, j), 1-based, of an n x n matrix by columns.
double& at(std::span<double> A, int n, int i, int j) {
    return A[static_cast<std::size_t>((i - 1) + (j - 1) * n)];
}
double& at(Mat12& A, int i, int j) { return A[static_cast<std::size_t>((i - 1) + (j - 1) * 12)]; }

// Sets A(i, j) and A(j, i) to v.
void both(Mat12& A, int i, int j, double v) {
    at(A, i, j) = v;
    at(A, j, i) = v;
}

std::size_t ix(int i) { return static_cast<std::size_t>(i - 1); }

// The displacement of P in component i (1..6) for the cap displacement u at the origin.
double pointDisplacement(const Vec6& u, const Vec6& r, int i) {
    const double x = r[0], y = r[1], z = r[2];
    switch (i) {
        case 1: return u[0] + z * u[4] - y * u[5];
        case 2: return u[1] - z * u[3] + x * u[5];
        case 3: return u[2] + y * u[3] - x * u[4];
        default: return u[ix(i)];
    }
}

}  // namespace

void limitCoupling(std::span<double> K, int n) {
    for (int i = 1; i <= n; ++i) {
        const double c = 0.5 * std::fabs(at(K, n, i, i));
        for (int j = 1; j <= n; ++j) {
            if (j == i || !(std::fabs(at(K, n, i, j)) > c)) continue;
            const double v = std::copysign(c, at(K, n, i, j));
            at(K, n, i, j) = v;
            at(K, n, j, i) = v;
        }
    }
}

void CAPAUGK(Mat12& A, const Mat6& K, const Vec6& RSP, const Flags6& KDOF) {
    A.fill(0.0);
    for (int j = 1; j <= 6; ++j)
        for (int i = 1; i <= 6; ++i) at(A, i, j) = K[static_cast<std::size_t>((i - 1) + (j - 1) * 6)];
    const double x = RSP[0], y = RSP[1], z = RSP[2];
    for (int i = 1; i <= 6; ++i) {
        const int c = 6 + i;  // the row and column of component i's reaction
        if (KDOF[ix(i)] != 0) {
            at(A, c, c) = 1.0;
            continue;
        }
        both(A, c, i, 1.0);
        // A translation of P takes the rotations times the offset: the row is P's displacement.
        switch (i) {
            case 1:
                both(A, c, 5, z);
                both(A, c, 6, -y);
                break;
            case 2:
                both(A, c, 4, -z);
                both(A, c, 6, x);
                break;
            case 3:
                both(A, c, 4, y);
                both(A, c, 5, -x);
                break;
            default: break;
        }
    }
}

void CAPAUGR(Vec12& b, Vec12& g, const Vec6& R, const Vec6& F, const Vec6& USP, const Vec6& u, const Vec6& RSP,
             const Flags6& KDOF) {
    b.fill(0.0);
    g.fill(0.0);
    for (std::size_t i = 0; i < 6; ++i) {
        b[i] = R[i];
        g[i] = F[i];
    }
    for (int i = 1; i <= 6; ++i) {
        if (KDOF[ix(i)] != 0) continue;
        g[ix(6 + i)] = USP[ix(i)];
        b[ix(6 + i)] = USP[ix(i)] - pointDisplacement(u, RSP, i);
    }
}

void MATV12(std::span<double> y, const Mat12& A, std::span<const double> x, int N) {
    if (N <= 0) return;
    const std::size_t n = static_cast<std::size_t>(N) * 12;
    if (y.size() < n || x.size() < n) throw std::length_error("MATV12: vector list shorter than 12 N");
    for (std::size_t k = 0; k < n; k += 12) {
        Vec12 v{};
        for (std::size_t j = 0; j < 12; ++j) v[j] = x[k + j];
        for (std::size_t i = 0; i < 12; ++i) {
            double s = 0.0;
            for (std::size_t j = 0; j < 12; ++j) s += A[i + 12 * j] * v[j];
            y[k + i] = s;
        }
    }
}

void XFERPT(const Vec6& u, Vec6& P, const Vec6& RSP, Vec6& UP, Vec6& PP, const Vec6& PSPs, const Flags6& KDOF,
            int& FLAG) {
    const double x = RSP[0], y = RSP[1], z = RSP[2];
    if (x == 0.0 && y == 0.0 && z == 0.0) {
        FLAG = 0;
        return;
    }
    FLAG = 1;
    for (int i = 1; i <= 6; ++i) UP[ix(i)] = pointDisplacement(u, RSP, i);
    // The moments at P take the forces at the origin as they came, before a given force replaces one.
    const double F1 = P[0], F2 = P[1], F3 = P[2];
    for (std::size_t i = 0; i < 3; ++i) {
        if (KDOF[i] == 1) {
            PP[i] = PSPs[i];
            P[i] = PSPs[i];
        } else {
            PP[i] = P[i];
        }
    }
    const double moment[3] = {P[3] - y * F3 + z * F2, P[4] + x * F3 - z * F1, P[5] - x * F2 + y * F1};
    for (std::size_t i = 3; i < 6; ++i) PP[i] = KDOF[i] == 1 ? PSPs[i] : moment[i - 3];
}

void NEGV6(const Vec6& src, Vec6& dst) {
    for (std::size_t i = 0; i < 6; ++i) dst[i] = -src[i];
}

void DOFMARK(const Flags6& KDOF, std::string& M1, std::string& M2) {
    M1.assign(6, ' ');
    M2.assign(6, ' ');
    for (std::size_t i = 0; i < 6; ++i) (KDOF[i] == 0 ? M2 : M1)[i] = '*';
}

}  // namespace kaldo
