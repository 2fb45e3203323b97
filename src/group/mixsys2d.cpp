// The bordered system of a plane case with values given at a point and the transfer of the cap's
// displacement and loads to the point: components vertical X, horizontal Y and rotation about Z.
#include <cstddef>

#include "group/point.h"

namespace kaldo {
namespace {

double& at(Mat6& A, int i, int j) { return A[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]; }

void both(Mat6& A, int i, int j, double v) {
    at(A, i, j) = v;
    at(A, j, i) = v;
}

// The displacement of P in component i (1..3): the rotation about Z moves a point at (x, y) by -y along X
// and by x along Y per radian.
double pointDisplacement(const Vec3& u, const Vec6& r, int i) {
    switch (i) {
        case 1: return u[0] - r[1] * u[2];
        case 2: return u[1] + r[0] * u[2];
        default: return u[2];
    }
}

}  // namespace

void MIXSYS2D(Mat6& A, const Mat3& K, const Vec6& RSP, const Flags6& KDOF) {
    A.fill(0.0);
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) at(A, i, j) = K[static_cast<std::size_t>((i - 1) + (j - 1) * 3)];
    const double x = RSP[0], y = RSP[1];
    for (int i = 1; i <= 3; ++i) {
        const int c = 3 + i;
        if (KDOF[static_cast<std::size_t>(i - 1)] != 0) {
            at(A, c, c) = 1.0;
            continue;
        }
        both(A, c, i, 1.0);
        if (i == 1) both(A, c, 3, -y);
        if (i == 2) both(A, c, 3, x);
    }
}

void MIXRES2D(Vec6& b, Vec6& g, const Vec3& R, const Vec3& F, const Vec6& USP, const Vec3& u, const Vec6& RSP,
              const Flags6& KDOF) {
    b.fill(0.0);
    g.fill(0.0);
    for (std::size_t i = 0; i < 3; ++i) {
        b[i] = R[i];
        g[i] = F[i];
    }
    for (int i = 1; i <= 3; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        if (KDOF[k] != 0) continue;
        g[k + 3] = USP[k];
        b[k + 3] = USP[k] - pointDisplacement(u, RSP, i);
    }
}

void TRPT2D(const Vec3& u, Vec3& P, const Vec6& RSP, Vec3& UP, Vec3& PP, const Vec6& PSPs, const Flags6& KDOF,
            int& FLAG) {
    const double x = RSP[0], y = RSP[1];
    if (x == 0.0 && y == 0.0) {
        FLAG = 0;
        return;
    }
    FLAG = 1;
    for (int i = 1; i <= 3; ++i) UP[static_cast<std::size_t>(i - 1)] = pointDisplacement(u, RSP, i);
    const double F1 = P[0], F2 = P[1];
    for (std::size_t i = 0; i < 2; ++i) {
        if (KDOF[i] == 1) {
            PP[i] = PSPs[i];
            P[i] = PSPs[i];
        } else {
            PP[i] = P[i];
        }
    }
    PP[2] = KDOF[2] == 1 ? PSPs[2] : P[2] - x * F2 + y * F1;
}

void DOFLBL2D(const Flags6& KDOF, std::string& M1, std::string& M2) {
    M1.assign(3, ' ');
    M2.assign(3, ' ');
    for (std::size_t i = 0; i < 3; ++i) (KDOF[i] == 0 ? M2 : M1)[i] = '*';
}

void COPY3(std::span<const double, 3> src, std::span<double, 3> dst) {
    for (std::size_t i = 0; i < 3; ++i) dst[i] = src[i];
}

}  // namespace kaldo
