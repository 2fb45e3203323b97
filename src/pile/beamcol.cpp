// The finite-difference beam-column of one lateral plane of a pile (see beamcol.h).
#include "pile/beamcol.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "io/format.h"
#include "model/runblocks.h"
#include "services/warning.h"

namespace kaldo::beamcol {

void headRowCoefficients(int code, double R, double spring, double h, double& ay, double& as, double& c3) {
    const double den = 2.0 * R + h * spring;
    if (code == 2) {
        // Fixed: the central-difference slope at the head is -s.
        ay = 0.0;
        as = 2.0 * h;
        c3 = 1.0;
    } else if (code == 1 || den == 0.0) {
        // Pinned: no curvature at the head. A spring of no stiffness on a section of no stiffness has
        // no row of its own; it takes the pinned row, the limit of a vanishing spring.
        ay = 2.0;
        as = 0.0;
        c3 = -1.0;
    } else {
        // Rotational spring: R (y3 - 2 y4 + y5) / h^2 + S (y3 - y5) / 2h = S s.
        ay = 4.0 * R / den;
        as = 2.0 * h * h * spring / den;
        c3 = (h * spring - 2.0 * R) / den;
    }
}

void headRows(Plane& pl, int code, double yt, double s, double spring, double h) {
    const double R = pl.R(4);
    pl.a(4) = yt;
    pl.b(4) = pl.c(4) = 0.0;
    pl.b(3) = 0.0;
    const double den = 2.0 * R + h * spring;
    if (code == 2) {
        pl.a(3) = 2.0 * h * s;
        pl.c(3) = 1.0;
    } else if (code == 1 || den == 0.0) {
        pl.a(3) = 2.0 * yt;
        pl.c(3) = -1.0;
    } else {
        pl.a(3) = (4.0 * R * yt + 2.0 * h * h * spring * s) / den;
        pl.c(3) = (h * spring - 2.0 * R) / den;
    }
}

namespace {

// Forward sweep over the equations of slots 5 to n + 4. The equation at slot i, times h^4:
//   R(i-1) y(i-2) + (-2R(i-1) - 2R(i) + Q h^2) y(i-1) + (R(i-1) + 4R(i) + R(i+1) + Es h^4 - 2Q h^2) y(i)
//   + (-2R(i) - 2R(i+1) + Q h^2) y(i+1) + R(i+1) y(i+2) = W h^4.
void sweep(Plane& pl, const SlotArray& Q, const SlotArray& Es, const SlotArray& load, int n, double h) {
    const double h2 = h * h, h4 = h2 * h2;
    for (int i = 5; i <= n + 4; ++i) {
        const double qh2 = Q(i) * h2;
        const double A = pl.R(i - 1);
        const double B = -2.0 * pl.R(i - 1) - 2.0 * pl.R(i) + qh2;
        const double C = pl.R(i - 1) + 4.0 * pl.R(i) + pl.R(i + 1) + Es(i) * h4 - 2.0 * qh2;
        const double D = -2.0 * pl.R(i) - 2.0 * pl.R(i + 1) + qh2;
        const double E = pl.R(i + 1);
        const double F = load(i) * h4;
        const double beta = B + A * pl.b(i - 2);
        const double G = C + A * pl.c(i - 2) + beta * pl.b(i - 1);
        // A vanishing diagonal leaves the slot without recursion (all three coefficients 0).
        const double g = G != 0.0 ? 1.0 / G : 0.0;
        pl.a(i) = -(A * pl.a(i - 2) + beta * pl.a(i - 1) - F) * g;
        pl.b(i) = -(D + beta * pl.c(i - 1)) * g;
        pl.c(i) = -E * g;
    }
}

// The free tip t = n + 4: no moment, y(t-1) - 2 y(t) + y(t+1) = 0, and no shear with the axial load,
// y(t+2) - y(t-2) + g (y(t+1) - y(t-1)) = 0 with g = (Q h^2 - 2R) / R. Written through the recursions of
// slots t, t - 1 and t - 2 they give the two fictitious deflections u = y(t+1), v = y(t+2).
void tip(Plane& pl, const SlotArray& Q, int n, double h) {
    const int t = n + 4;
    const double R = pl.R(t);
    const double g = (Q(t) * h * h - 2.0 * R) / R;
    const double a0 = pl.a(t), b0 = pl.b(t), c0 = pl.c(t);
    const double a1 = pl.a(t - 1), b1 = pl.b(t - 1), c1 = pl.c(t - 1);
    const double a2 = pl.a(t - 2), b2 = pl.b(t - 2), c2 = pl.c(t - 2);
    const double K1 = a2 + (b2 + g) * a1 + (c2 + (b2 + g) * b1) * a0;
    const double K2 = b0 * c2 + (b2 + g) * (c1 + b1 * b0) - g;
    const double K3 = c0 * (c2 + (b2 + g) * b1) - 1.0;
    const double K4 = c1 + 1.0 + b0 * (b1 - 2.0);
    const double K5 = a1 + a0 * (b1 - 2.0);
    const double K6 = c0 * (b1 - 2.0);
    const double det = K4 * K3 - K6 * K2;
    double u = 0.0, v = 0.0;
    if (det != 0.0) {
        u = (K6 * K1 - K5 * K3) / det;
        v = (K2 * K5 - K4 * K1) / det;
    }
    pl.y(t + 1) = u;
    pl.y(t + 2) = v;
    pl.y(t + 3) = 0.0;
}

}  // namespace

void solve(Plane& pl, const SlotArray& Q, const SlotArray& Es, int n, double h) { solve(pl, Q, Es, pl.W, n, h); }

void solve(Plane& pl, const SlotArray& Q, const SlotArray& K, const SlotArray& load, int n, double h) {
    for (int s = 4; s <= n + 4; ++s) pl.yprev(s) = pl.y(s);
    sweep(pl, Q, K, load, n, h);
    tip(pl, Q, n, h);
    for (int s = n + 4; s >= 1; --s) pl.y(s) = pl.a(s) + pl.b(s) * pl.y(s + 1) + pl.c(s) * pl.y(s + 2);
}

void band(const Plane& pl, const SlotArray& Q, int n, double h, Band& b) {
    // The terms of sweep(), each formed as it forms it.
    const double h2 = h * h;
    for (int i = 5; i <= n + 4; ++i) {
        const double qh2 = Q(i) * h2;
        b.A(i) = pl.R(i - 1);
        b.B(i) = -2.0 * pl.R(i - 1) - 2.0 * pl.R(i) + qh2;
        b.C(i) = pl.R(i - 1) + 4.0 * pl.R(i) + pl.R(i + 1);
        b.Q2(i) = 2.0 * qh2;
        b.D(i) = -2.0 * pl.R(i) - 2.0 * pl.R(i + 1) + qh2;
        b.E(i) = pl.R(i + 1);
    }
}

namespace {

// The recursion of the two slots above the one being swept, carried in registers from slot to slot
// (each slot waits for them: read back from the arrays they would cost a store and a load more).
struct Carry {
    double a1, a2, b1, b2, c1, c2;  // slot i - 1, slot i - 2
};

Carry carryAt(const Plane& pl, int i) {
    return {pl.a(i - 1), pl.a(i - 2), pl.b(i - 1), pl.b(i - 2), pl.c(i - 1), pl.c(i - 2)};
}

// One slot of sweep() from the band: C = R(i-1) + 4R(i) + R(i+1) + K h^4 - 2Q h^2 in the same order.
inline void sweepSlot(Plane& pl, const Band& bd, double K, double load, double h4, int i, Carry& r) {
    const double A = bd.A(i);
    const double C = bd.C(i) + K * h4 - bd.Q2(i);
    const double F = load * h4;
    const double beta = bd.B(i) + A * r.b2;
    const double G = C + A * r.c2 + beta * r.b1;
    const double g = G != 0.0 ? 1.0 / G : 0.0;
    const double a = -(A * r.a2 + beta * r.a1 - F) * g;
    const double b = -(bd.D(i) + beta * r.c1) * g;
    const double c = -bd.E(i) * g;
    pl.a(i) = a;
    pl.b(i) = b;
    pl.c(i) = c;
    r = {a, r.a1, b, r.b1, c, r.c1};
}

// Back-substitution of both planes from the tip, the two deflections below each slot carried in
// registers.
void substitutePair(Plane& py, Plane& pz, int n) {
    double y1 = py.y(n + 5), y2 = py.y(n + 6), z1 = pz.y(n + 5), z2 = pz.y(n + 6);
    for (int s = n + 4; s >= 1; --s) {
        const double y = py.a(s) + py.b(s) * y1 + py.c(s) * y2;
        const double z = pz.a(s) + pz.b(s) * z1 + pz.c(s) * z2;
        py.y(s) = y;
        pz.y(s) = z;
        y2 = y1, y1 = y, z2 = z1, z1 = z;
    }
}

}  // namespace

void factorise(Plane& f, const Band& bd, const SlotArray& K, int n, double h, SlotArray& beta, SlotArray& g) {
    const double h2 = h * h, h4 = h2 * h2;
    double b1 = f.b(4), b2 = f.b(3), c1 = f.c(4), c2 = f.c(3);
    for (int i = 5; i <= n + 4; ++i) {
        const double A = bd.A(i);
        const double C = bd.C(i) + K(i) * h4 - bd.Q2(i);
        const double be = bd.B(i) + A * b2;
        const double G = C + A * c2 + be * b1;
        const double gi = G != 0.0 ? 1.0 / G : 0.0;
        const double b = -(bd.D(i) + be * c1) * gi;
        const double c = -bd.E(i) * gi;
        beta(i) = be;
        g(i) = gi;
        f.b(i) = b;
        f.c(i) = c;
        b2 = b1, b1 = b, c2 = c1, c1 = c;
    }
}

void solvePair(Plane& py, const Band& by, const SlotArray& Ky, const SlotArray& Ly, Plane& pz, const Band& bz,
               const SlotArray& Kz, const SlotArray& Lz, const SlotArray& Q, int n, double h, int from) {
    for (int s = 4; s <= n + 4; ++s) {
        py.yprev(s) = py.y(s);
        pz.yprev(s) = pz.y(s);
    }
    const double h2 = h * h, h4 = h2 * h2;
    const int first = std::max(from, 5);
    Carry ry = carryAt(py, first), rz = carryAt(pz, first);
    for (int i = first; i <= n + 4; ++i) {
        sweepSlot(py, by, Ky(i), Ly(i), h4, i, ry);
        sweepSlot(pz, bz, Kz(i), Lz(i), h4, i, rz);
    }
    tip(py, Q, n, h);
    tip(pz, Q, n, h);
    substitutePair(py, pz, n);
}

bool closedWithin(const Plane& pl, int n, double tol) {
    for (int s = 4; s <= n + 4; ++s)
        if (!(std::fabs(pl.y(s) - pl.yprev(s)) < tol)) return false;
    return true;
}

double internalForces(Plane& pl, const SlotArray& Q, const SlotArray& Es, int n, double h) {
    const double h2 = h * h;
    for (int s = 4; s <= n + 5; ++s) {
        pl.S(s) = (pl.y(s + 1) - pl.y(s - 1)) / (2.0 * h);
        pl.M(s) = -pl.R(s) * (pl.y(s - 1) - 2.0 * pl.y(s) + pl.y(s + 1)) / h2;
    }
    // Shear: the axial force's share along the slope less the moment gradient (one-sided at the head).
    pl.V(4) = Q(4) * pl.S(4) - (pl.M(5) - pl.M(4)) / h;
    for (int s = 5; s <= n + 4; ++s) pl.V(s) = Q(s) * pl.S(s) - (pl.M(s + 1) - pl.M(s - 1)) / (2.0 * h);
    // Head shear: what the soil takes less what is put on the pile, along the whole pile by the
    // trapezoid rule. The head and tip nodes stand for half an increment each, for the load as for the
    // reaction: the difference equations carry no more of either, so a load that the soil answers in
    // place (a distributed load q with y = q / Es, soil movement with y equal to it) gives the cap nothing.
    double H = 0.0;
    for (int s = 4; s <= n + 4; ++s) {
        pl.p(s) = Es(s) * pl.y(s);
        const double w = (s == 4 || s == n + 4) ? 0.5 : 1.0;
        H += w * (pl.p(s) - pl.W(s)) * h;
    }
    return H;
}

void warnNoClosure(int p) {
    const std::string line = "     ** WARNING **  NO CLOSURE OF A LLP AFTER " + io::fmtI(5, CTLPAR.MAXITP) +
                             "  ITERATIONS" + std::string(10, ' ') + "PILE GROUP" + io::fmtI(5, p);
    writeRecordWhole({"", "", line});
    raiseSolverState(SOLVER_NO_CLOSURE);
}

}  // namespace kaldo::beamcol
