// The slab elements: Gauss rule, shape functions, Jacobian, rigidities and the stiffness of one element
// (plane-stress membrane, Mindlin plate with transverse shear, and a drilling spring).
#include <cmath>
#include <sstream>

#include "flexcap/slab.h"
#include "io/format.h"
#include "services/status.h"

namespace kaldo::slab {

Gauss SLBGAUSS(int n) {
    Gauss g;
    g.n = n;
    if (n == 1) {
        g.pt[0] = -0.0;
        g.wt[0] = 2.0;
    } else if (n == 2) {
        g.pt[0] = -0.5773502588272095;
        g.wt[0] = 1.0;
    } else if (n == 3) {
        g.pt[0] = -0.7745966911315918;
        g.pt[1] = 0.0;
        g.wt[0] = 0.5555555820465088;
        g.wt[1] = 0.8888888955116272;
    }
    for (int k = 1; k <= n / 2; ++k) {
        g.pt[static_cast<size_t>(n - k)] = -g.pt[static_cast<size_t>(k - 1)];
        g.wt[static_cast<size_t>(n - k)] = g.wt[static_cast<size_t>(k - 1)];
    }
    return g;
}

void SLBSHAPE(double s, double t, int n, Shape& sh) {
    auto& N = sh.N;
    auto& ds = sh.ds;
    auto& dt = sh.dt;
    if (n == 4) {
        const double sm = 1.0 - s, sp = 1.0 + s, tm = 1.0 - t, tp = 1.0 + t;
        N[0] = sm * tm / 4;
        N[1] = sp * tm / 4;
        N[2] = sp * tp / 4;
        N[3] = sm * tp / 4;
        ds[0] = -tm / 4;
        ds[1] = tm / 4;
        ds[2] = tp / 4;
        ds[3] = -tp / 4;
        dt[0] = -sm / 4;
        dt[1] = -sp / 4;
        dt[2] = sp / 4;
        dt[3] = sm / 4;
    } else if (n == 8) {
        const double sm = 1.0 - s, sp = 1.0 + s, tm = 1.0 - t, tp = 1.0 + t;
        const double s2 = 1.0 - s * s, t2 = 1.0 - t * t;
        N[0] = sm * tm * (-s - t - 1) / 4;
        N[1] = sp * tm * (s - t - 1) / 4;
        N[2] = sp * tp * (s + t - 1) / 4;
        N[3] = sm * tp * (-s + t - 1) / 4;
        N[4] = s2 * tm / 2;
        N[5] = sp * t2 / 2;
        N[6] = s2 * tp / 2;
        N[7] = sm * t2 / 2;
        ds[0] = tm * (2 * s + t) / 4;
        ds[1] = tm * (2 * s - t) / 4;
        ds[2] = tp * (2 * s + t) / 4;
        ds[3] = tp * (2 * s - t) / 4;
        ds[4] = -s * tm;
        ds[5] = t2 / 2;
        ds[6] = -s * tp;
        ds[7] = -t2 / 2;
        dt[0] = sm * (s + 2 * t) / 4;
        dt[1] = sp * (2 * t - s) / 4;
        dt[2] = sp * (s + 2 * t) / 4;
        dt[3] = sm * (2 * t - s) / 4;
        dt[4] = -s2 / 2;
        dt[5] = -t * sp;
        dt[6] = s2 / 2;
        dt[7] = -t * sm;
    } else if (n == 9) {
        // Lagrange functions of one variable at -1, 0, +1 and their derivatives.
        const std::array<double, 3> ls{s * (s - 1) / 2, 1 - s * s, s * (s + 1) / 2};
        const std::array<double, 3> lt{t * (t - 1) / 2, 1 - t * t, t * (t + 1) / 2};
        const std::array<double, 3> dls{s - 0.5, -2 * s, s + 0.5};
        const std::array<double, 3> dlt{t - 0.5, -2 * t, t + 0.5};
        // Node k at position (a, b) of the 3 x 3 grid (0 = -1, 1 = 0, 2 = +1).
        constexpr int A[9] = {0, 2, 2, 0, 1, 2, 1, 0, 1};
        constexpr int B[9] = {0, 0, 2, 2, 0, 1, 2, 1, 1};
        for (int k = 0; k < 9; ++k) {
            N[static_cast<size_t>(k)] = ls[A[k]] * lt[B[k]];
            ds[static_cast<size_t>(k)] = dls[A[k]] * lt[B[k]];
            dt[static_cast<size_t>(k)] = ls[A[k]] * dlt[B[k]];
        }
    }
}

ElementXY elementXY(const Model& m, int e) {
    ElementXY xy;
    xy.n = m.c.NNODE;
    for (int I = 1; I <= xy.n; ++I) {
        const int n = m.node(I, e);
        xy.x[static_cast<size_t>(I - 1)] = m.x(std::abs(n));
        xy.y[static_cast<size_t>(I - 1)] = m.y(std::abs(n));
    }
    return xy;
}

Jacobian JACOB2(int e, const ElementXY& xy, const Shape& sh) {
    Jacobian j;
    double J11 = 0, J12 = 0, J21 = 0, J22 = 0;
    for (int n = 0; n < xy.n; ++n) {
        const size_t k = static_cast<size_t>(n);
        j.px += sh.N[k] * xy.x[k];
        j.py += sh.N[k] * xy.y[k];
        J11 += sh.ds[k] * xy.x[k];
        J12 += sh.ds[k] * xy.y[k];
        J21 += sh.dt[k] * xy.x[k];
        J22 += sh.dt[k] * xy.y[k];
    }
    j.det = J11 * J22 - J12 * J21;
    if (!(j.det > 0.0)) {
        throw SlabStop(ST_BADVALUE, "ELEMENT " + std::to_string(e) + " OF THE SLAB HAS A ZERO OR NEGATIVE AREA",
                       {"", "", " PROGRAM HALTED IN SUBROUTINE JACOB2", std::string(11, ' ') + " ZERO OR NEGATIVE AREA",
                        std::string(10, ' ') + " ELEMENT NUMBER " + io::fmtI(5, e)});
    }
    for (int n = 0; n < xy.n; ++n) {
        const size_t k = static_cast<size_t>(n);
        j.dx[k] = (J22 * sh.ds[k] - J12 * sh.dt[k]) / j.det;
        j.dy[k] = (-J21 * sh.ds[k] + J11 * sh.dt[k]) / j.det;
    }
    return j;
}

double sideLength(const ElementXY& xy, int side, const Shape& sh, bool mid) {
    const int n1 = side == 4 ? 4 : side, n2 = side == 4 ? 1 : side + 1, n3 = side == 4 ? 8 : side + 4;
    auto X = [&](int n) { return xy.x[static_cast<size_t>(n - 1)]; };
    auto Y = [&](int n) { return xy.y[static_cast<size_t>(n - 1)]; };
    double xs = X(n1) * sh.ds[0] + X(n2) * sh.ds[1];
    double ys = Y(n1) * sh.ds[0] + Y(n2) * sh.ds[1];
    if (mid) {
        xs += X(n3) * sh.ds[4];
        ys += Y(n3) * sh.ds[4];
    }
    return std::sqrt(xs * xs + ys * ys);
}

Mat3 SLBDMEMB(double E, double nu) {
    const double c = E / (1.0 - nu * nu);
    Mat3 d{};
    d[0][0] = d[1][1] = c;
    d[0][1] = d[1][0] = c * nu;
    d[2][2] = c * (1.0 - nu) / 2.0;
    return d;
}

Mat5 SLBDPLAT(double E, double nu, double h) {
    const double D = E * h * h * h / (12.0 * (1.0 - nu * nu));
    Mat5 d{};
    d[0][0] = d[1][1] = D;
    d[0][1] = d[1][0] = D * nu;
    d[2][2] = D * (1.0 - nu) / 2.0;
    d[3][3] = d[4][4] = E * h / (2.4000000953674316 * (1.0 + nu));
    return d;
}

void elementMatrices(const Model& m, const Gauss& g, int e, ElementMatrices& out) {
    const int nn = m.c.NNODE;
    const int nevab = 6 * nn;
    out.nevab = nevab;
    out.ngp = g.n * g.n;
    out.k.assign(static_cast<size_t>(nevab * nevab), 0.0);
    const ElementXY xy = elementXY(m, e);

    // The element's centre: the reference point of the polar moment.
    Shape sh;
    SLBSHAPE(0.0, 0.0, nn, sh);
    double xc = 0.0, yc = 0.0;
    for (int n = 0; n < nn; ++n) {
        xc += sh.N[static_cast<size_t>(n)] * xy.x[static_cast<size_t>(n)];
        yc += sh.N[static_cast<size_t>(n)] * xy.y[static_cast<size_t>(n)];
    }

    const int mat = m.elmat[static_cast<size_t>(e - 1)];
    const auto& pr = m.mprop[static_cast<size_t>(mat - 1)];
    const double E = pr[0], nu = pr[1], h = pr[2];
    const Mat3 dm = SLBDMEMB(E, nu);
    const Mat5 dp = SLBDPLAT(E, nu, h);

    // Membrane (2 nn) and plate (3 nn) stiffness, accumulated on the upper triangle.
    std::array<double, 18 * 18> km{};
    std::array<double, 27 * 27> kp{};
    const int nm = 2 * nn, np = 3 * nn;
    double polar = 0.0;
    std::array<double, MAXNODE> lumped{};
    int k = 0;
    for (int i = 0; i < g.n; ++i) {
        for (int j = 0; j < g.n; ++j, ++k) {
            SLBSHAPE(g.pt[static_cast<size_t>(i)], g.pt[static_cast<size_t>(j)], nn, sh);
            const Jacobian jac = JACOB2(e, xy, sh);
            const double dV = jac.det * g.wt[static_cast<size_t>(i)] * g.wt[static_cast<size_t>(j)];
            out.gp[static_cast<size_t>(k)] = {jac.px, jac.py};

            // Plate: B rows are the curvatures (1-3) and the transverse shear strains xz, yz (4-5).
            std::array<double, 5 * 27> B{};  // row r, column c at r + 5 c
            for (int n = 0; n < nn; ++n) {
                const double Nx = jac.dx[static_cast<size_t>(n)], Ny = jac.dy[static_cast<size_t>(n)],
                             N = sh.N[static_cast<size_t>(n)];
                const int c = 3 * n;
                B[static_cast<size_t>(0 + 5 * (c + 1))] = -Nx;
                B[static_cast<size_t>(1 + 5 * (c + 2))] = -Ny;
                B[static_cast<size_t>(2 + 5 * (c + 1))] = -Ny;
                B[static_cast<size_t>(2 + 5 * (c + 2))] = -Nx;
                B[static_cast<size_t>(3 + 5 * c)] = Nx;
                B[static_cast<size_t>(3 + 5 * (c + 1))] = -N;
                B[static_cast<size_t>(4 + 5 * c)] = Ny;
                B[static_cast<size_t>(4 + 5 * (c + 2))] = -N;
            }
            auto& DB = out.plate[static_cast<size_t>(k)];
            DB.fill(0.0);
            for (int c = 0; c < np; ++c)
                for (int r = 0; r < 5; ++r) {
                    double s = 0.0;
                    for (int q = 0; q < 5; ++q) s += dp[static_cast<size_t>(r)][static_cast<size_t>(q)] *
                                                     B[static_cast<size_t>(q + 5 * c)];
                    DB[static_cast<size_t>(r + 5 * c)] = s;
                }
            for (int c = 0; c < np; ++c)
                for (int r = 0; r <= c; ++r) {
                    double s = 0.0;
                    for (int q = 0; q < 5; ++q) s += B[static_cast<size_t>(q + 5 * r)] * DB[static_cast<size_t>(q + 5 * c)];
                    kp[static_cast<size_t>(r + 27 * c)] += s * dV;
                }

            // Membrane: plane stress, the thickness in the volume element.
            const double dVm = h != 0.0 ? h * dV : dV;
            std::array<double, 3 * 18> Bm{};
            for (int n = 0; n < nn; ++n) {
                const double Nx = jac.dx[static_cast<size_t>(n)], Ny = jac.dy[static_cast<size_t>(n)];
                const int c = 2 * n;
                Bm[static_cast<size_t>(0 + 3 * c)] = Nx;
                Bm[static_cast<size_t>(1 + 3 * (c + 1))] = Ny;
                Bm[static_cast<size_t>(2 + 3 * c)] = Ny;
                Bm[static_cast<size_t>(2 + 3 * (c + 1))] = Nx;
            }
            auto& DBm = out.memb[static_cast<size_t>(k)];
            DBm.fill(0.0);
            for (int c = 0; c < nm; ++c)
                for (int r = 0; r < 3; ++r) {
                    double s = 0.0;
                    for (int q = 0; q < 3; ++q) s += dm[static_cast<size_t>(r)][static_cast<size_t>(q)] *
                                                     Bm[static_cast<size_t>(q + 3 * c)];
                    DBm[static_cast<size_t>(r + 3 * c)] = s;
                }
            for (int c = 0; c < nm; ++c)
                for (int r = 0; r <= c; ++r) {
                    double s = 0.0;
                    for (int q = 0; q < 3; ++q) s += Bm[static_cast<size_t>(q + 3 * r)] * DBm[static_cast<size_t>(q + 3 * c)];
                    km[static_cast<size_t>(r + 18 * c)] += s * dVm;
                }

            // Polar moment of the area about the centre, and each node's lumped area.
            const double dx = jac.px - xc, dy = jac.py - yc;
            polar += dV * (dx * dx + dy * dy);
            for (int n = 0; n < nn; ++n) lumped[static_cast<size_t>(n)] += sh.N[static_cast<size_t>(n)] * dV;
        }
    }

    // Drilling: the shear modulus times the polar moment over the thickness, shared by the nodes in
    // proportion to the magnitude of their lumped area, so that no node gets a negative spring (the
    // corner functions of an 8-node element integrate to a negative area).
    const double Kd = polar * (E / 2.0) / (1.0 + nu) / h;
    double lumpedSum = 0.0;
    for (int n = 0; n < nn; ++n) lumpedSum += std::abs(lumped[static_cast<size_t>(n)]);

    auto at = [&](int r, int c) -> double& { return out.k[static_cast<size_t>(r + c * nevab)]; };
    for (int I = 0; I < nn; ++I) {
        for (int J = 0; J < nn; ++J) {
            for (int a = 0; a < 2; ++a)
                for (int b = 0; b < 2; ++b) {
                    int r = 2 * I + a, c = 2 * J + b;
                    if (r > c) std::swap(r, c);
                    at(6 * I + a, 6 * J + b) = km[static_cast<size_t>(r + 18 * c)];
                }
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b) {
                    int r = 3 * I + a, c = 3 * J + b;
                    if (r > c) std::swap(r, c);
                    at(6 * I + 2 + a, 6 * J + 2 + b) = kp[static_cast<size_t>(r + 27 * c)];
                }
        }
        at(6 * I + 5, 6 * I + 5) = lumpedSum > 0.0 ? Kd * std::abs(lumped[static_cast<size_t>(I)]) / lumpedSum : 0.0;
    }
}

}  // namespace kaldo::slab
