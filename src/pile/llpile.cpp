// The laterally loaded pile of a three-dimensional group: one pile for a given head movement, as two
// beam-columns (the pile's local y and z planes) on the nonlinear soil springs of the p-y curves, which
// couple the planes only through the soil modulus, taken at the resultant deflection. The iteration
// solves both planes with the current secant moduli, takes new moduli at the new deflections and stops
// when no deflection moves by more than the closure tolerance. After closure it returns the head shears
// and moments, and on the two passes after the group has converged it stores the pile's equivalent
// stiffnesses or its results and envelopes.
//
// It runs on the pile loops' threads, one call per pile: all working arrays are locals of the call
// (some 40 KB), and it writes nothing shared but pile p's entries of EQSSOL, SMPROF and the result
// stores, the solver state (only ever raised) and whole warning records.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "io/format.h"
#include "model/ctlpar.h"
#include "model/eqssol.h"
#include "model/input.h"
#include "model/modelinput.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/results.h"
#include "model/runblocks.h"
#include "model/runpoint.h"
#include "model/sections.h"
#include "model/wrknode.h"
#include "pile/beamcol.h"
#include "pile/pile.h"
#include "services/linalg.h"
#include "services/psec.h"
#include "services/status.h"
#include "services/warning.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

// A movement, a deflection or a capacity at most this large counts as zero (single-precision 1e-14).
constexpr double TINY = static_cast<double>(1e-14f);
// Components below this are dropped from a resultant.
constexpr double HYPOT_ZERO = 1e-24;
double HYPOTZ(double a, double b) {
    if (std::fabs(a) < HYPOT_ZERO) a = 0.0;
    if (std::fabs(b) < HYPOT_ZERO) b = 0.0;
    return std::sqrt(a * a + b * b);
}

// The working data of one solve.
struct Solve {
    int p = 0, pset = 0, n = 0;
    double h = 0.0;
    double P = 0.0;          // head axial force
    bool userCurves = false;  // the pile has its own user p-y curves
    bool moving = false;      // free-field soil movement is on

    beamcol::Plane py, pz;  // first plane (local y, EIz) and second plane (local z, EIy)
    SlotArray Q{};           // axial force per slot
    SlotArray Es{};          // soil secant modulus per slot, shared by both planes

    // Node arrays of the p-y routines (node j at j): resultant deflection, soil modulus, soil movement
    // along y and z, Es times the movement, soil reaction.
    NodeArray yNode{}, esNode{}, ysNode{}, zsNode{}, esyNode{}, rNode{};
    // The same by slot, for the pile's own user p-y curves.
    SlotArray ySlot{}, ysSlot{}, zsSlot{}, esySlot{}, rSlot{};
};

// Set-up steps 2 and 3: the soil movement and the distributed loads at the nodes.
void loadsAlongPile(Solve& w) {
    const int n = w.n;
    if (w.moving) {
        SOILMOVP(w.p);
        NODEZERO1(w.p, w.rNode);
        NODEZERO3(w.p, w.ysNode);
        NODEZERO2(w.p, w.zsNode);
        SOILMOVX(w.p, w.ysNode);
        SOILMOVY(w.p, w.zsNode);
        for (int j = 1; j <= n + 1; ++j) {
            w.ysSlot(j + 3) = w.ysNode(j);
            w.zsSlot(j + 3) = w.zsNode(j);
        }
    }
    if (WRKNODE.DLNNODE(w.p) != 0) {
        NodeArray qy{}, qz{};
        DLODNODY(w.p, qy);
        DLODNODZ(w.p, qz);
        for (int j = 1; j <= n + 1; ++j) {
            w.py.DL(j + 3) = w.py.W(j + 3) = qy(j);
            w.pz.DL(j + 3) = w.pz.W(j + 3) = qz(j);
        }
    }
}

// Set-up step 4: the starting soil modulus. User curves at zero deflection; otherwise the default
// modulus gradient times the depth below the ground surface (0 above it).
void startingModulus(Solve& w) {
    if (w.userCurves) {
        PYUSERPILE(w.p, w.ySlot, w.Es, w.ysSlot, w.zsSlot, w.esySlot, w.rSlot);
        return;
    }
    const double head = PILE.HEADX(w.p), ground = PILE.GROUND(w.p);
    for (int j = 1; j <= w.n + 1; ++j) {
        const double X = NODES.NODEX(w.p, j);
        const double d = X - ground - head;
        w.Es(j + 3) = d >= 0.0 ? PRFKDEF(X) * d : 0.0;
    }
}

// Set-up steps 5 and 6: bending stiffness of the sections (the fictitious slots take the head and tip
// sections) and the axial force along the pile.
void stiffnessAndAxialForce(Solve& w, const SlotArray& axforce) {
    const int n = w.n;
    for (int s = 3; s <= n + 6; ++s) {
        const double x = NODES.NODEAX(w.p, std::clamp(s - 3, 1, n + 1));
        w.py.R(s) = PSECEIZ(w.p, w.pset, x);
        w.pz.R(s) = PSECEIY(w.p, w.pset, x);
    }
    if (CTLIN.KMPHI >= 1) {
        EIMPHIY(w.p, w.P, w.py.R, w.py.y);
        EIMPHIZ(w.p, w.P, w.pz.R, w.pz.y);
    }
    // The t-z solution gives the axial force node by node; the fictitious slots take the end values
    // (they enter no equation).
    const bool alongPile = CTLPAR.KAXVAR == 1 && PILE.LSCRV(w.p) <= 0;
    for (int s = 3; s <= n + 6; ++s) w.Q(s) = alongPile ? axforce(std::clamp(s, 4, n + 4)) : w.P;
}

void updateBendingStiffness(Solve& w) {
    EIMPHIY(w.p, w.P, w.py.R, w.py.y);
    EIMPHIZ(w.p, w.P, w.pz.R, w.pz.y);
}

// Iteration step 9: new secant moduli at the resultant deflections, and with soil movement the load the
// moving soil puts on the pile, Es times the free-field movement. False when a soil lookup failed.
bool newModuli(Solve& w, int& status) {
    const int n = w.n;
    for (int s = 4; s <= n + 4; ++s) {
        const double r = std::sqrt(w.py.y(s) * w.py.y(s) + w.pz.y(s) * w.pz.y(s));
        w.ySlot(s) = r;
        w.yNode(s - 3) = r;
    }
    if (w.userCurves) {
        PYUSERPILE(w.p, w.ySlot, w.Es, w.ysSlot, w.zsSlot, w.esySlot, w.rSlot);
        return true;
    }
    int st = ST_OK;
    PYLAYERS(w.pset, st, w.p, w.p, w.yNode, w.esNode, w.ysNode, w.zsNode, w.esyNode, w.rNode);
    if (st != ST_OK) {
        status = st;
        return false;
    }
    for (int j = 1; j <= n + 1; ++j) w.Es(j + 3) = w.esNode(j);
    if (w.moving) {
        for (int j = 1; j <= n + 1; ++j) {
            const int s = j + 3;
            w.py.W(s) = w.Es(s) * w.ysNode(j) + w.py.DL(s);
            w.pz.W(s) = w.Es(s) * w.zsNode(j) + w.pz.DL(s);
        }
    }
    return true;
}

// A term a / b of the stresses and ratios: a section without area, inertia or capacity adds nothing.
double over(double a, double b) { return b != 0.0 ? a / b : 0.0; }

// Equivalent-stiffness pass: the secant stiffnesses of the head and of every node. A node that has not
// moved in a plane takes the soil modulus the pile's own iteration used there (the curve's secant at
// the smallest deflection), as the head takes its curves' initial slopes: a pile that carries no lateral
// load still has the lateral stiffness of its soil.
void storeEquivalentStiffness(const Solve& w, double T, const Vec6& u) {
    auto& e = EQSSOL;
    const int p = w.p;
    e(1, p) = w.P;
    double slope = 0.0;
    if (std::fabs(u[0]) > TINY) {
        e(2, p) = w.P / u[0];
    } else {
        AXSLOPE(p, 1, slope);
        e(2, p) = slope;
    }
    if (std::fabs(u[3]) > TINY) {
        e(3, p) = T / u[3];
    } else {
        TQSLOPE(p, 1, slope);
        e(3, p) = slope;
    }
    e(4, p) = w.h;
    for (int s = 4; s <= w.n + 4; ++s) {
        e(4 + s, p) = (s - 4) * w.h;
        e(111 + s, p) = std::fabs(w.py.y(s)) > TINY ? w.py.p(s) / w.py.y(s) : w.Es(s);
        e(218 + s, p) = std::fabs(w.pz.y(s)) > TINY ? w.pz.p(s) / w.pz.y(s) : w.Es(s);
    }
}

// Results pass: the pile top and the 25 along-pile quantities into the result stores.
void storeResults(Solve& w, double T, double Hy, double Hz, const Vec6& u, const Mat6& rot,
                  const SlotArray& axdisp, const SlotArray& axforce) {
    const int p = w.p, n = w.n;
    beamcol::Plane& py = w.py;
    beamcol::Plane& pz = w.pz;

    // Total stress (bending about both axes of a round section plus the axial stress) and the
    // demand/capacity ratios of moment and shear; a load case reports no ratios.
    SlotArray stress{}, mratio{}, vratio{};
    const bool combination = RUNPOINT.CURCOMB != 0;
    for (int s = 4; s <= n + 4; ++s) {
        const double x = NODES.NODEAX(p, s - 3);
        const double D = PSECDIAM(p, w.pset, x);
        const double bz = over(py.M(s) * D, 2.0 * PSECIZ(p, w.pset, x));
        const double by = over(pz.M(s) * D, 2.0 * PSECIY(p, w.pset, x));
        stress(s) = std::sqrt(bz * bz + by * by) + over(std::fabs(w.Q(s)), PSECAREA(p, w.pset, x));
        if (!combination) continue;
        const double mcap = PSECMCAP(p, w.pset, x), vcap = PSECVCAP(p, w.pset, x);
        if (mcap > TINY) mratio(s) = std::hypot(py.M(s), pz.M(s)) / mcap / CTLPAR.RFBEND;
        if (vcap > TINY) vratio(s) = std::hypot(py.V(s), pz.V(s)) / vcap / CTLPAR.RFSHEAR;
    }

    // The pile top in local and global axes.
    const Vec6 FL{w.P, Hy, Hz, T, -pz.M(4), py.M(4)};
    Vec6 UG{}, FG{};
    MATV6(UG, rot, u, 1);
    MATV6(FG, rot, FL, 1);
    ENVTOP(p, stress(4), UG, u, FG, FL);

    // Along the pile the moments are reported as EI y''. With soil movement the soil reaction is the
    // one the p-y curve gives for the deflection relative to the soil, along the movement.
    SlotArray yres{}, mres{}, vres{}, pres{};
    for (int s = 4; s <= n + 4; ++s) {
        py.M(s) = -py.M(s);
        pz.M(s) = -pz.M(s);
        const int j = s - 3;
        const double ys = w.ysNode(j), zs = w.zsNode(j);
        if (w.moving && (ys != 0.0 || zs != 0.0)) {
            const double r = w.userCurves ? w.rSlot(s) : w.rNode(j);
            const double m = std::sqrt(ys * ys + zs * zs);
            py.p(s) = r * ys / m;
            pz.p(s) = r * zs / m;
            pres(s) = r;
        } else {
            pres(s) = HYPOTZ(py.p(s), pz.p(s));
        }
        yres(s) = HYPOTZ(py.y(s), pz.y(s));
        mres(s) = HYPOTZ(py.M(s), pz.M(s));
        vres(s) = HYPOTZ(py.V(s), pz.V(s));
    }

    // Axial displacement and force: the t-z solution's, or no displacement and the head force throughout.
    SlotArray axd{}, axf{};
    if (CTLPAR.KAXVAR != 0 && PILE.LSCRV(p) <= 0) {
        axd = axdisp;
        axf = axforce;
    } else {
        axf.fill(w.P);
    }

    SlotArray gX{}, gY{}, gZ{}, gYZ{};
    for (int s = 4; s <= n + 4; ++s) {
        PILEROT(p, axd(s), py.y(s), pz.y(s), gX(s), gY(s), gZ(s));
        gYZ(s) = std::sqrt(gY(s) * gY(s) + gZ(s) * gZ(s));
    }

    AlongPileRecord record{};
    PACKLLP(record, {&axd, &py.y, &pz.y, &yres, &gX, &gY, &gZ, &gYZ, &py.M, &pz.M, &mres, &py.V, &pz.V, &vres,
                     &py.p, &pz.p, &pres, &axf, &stress, &py.R, &pz.R, &py.DL, &pz.DL, &mratio, &vratio});
    ENVLLP(p, n + 4, record);
}

}  // namespace

namespace {

// The set-up and the iteration on the soil moduli of one solve; false when the pile did not close or a
// soil lookup failed (the warning written, status or the solver state set).
bool converge(Solve& w, double yt, double sy, double zt, double sz, const SlotArray& axforce, int& status) {
    const int p = w.p;
    // Set-up: loads along the pile, starting soil modulus, bending stiffness, axial force, head rows.
    loadsAlongPile(w);
    startingModulus(w);
    stiffnessAndAxialForce(w, axforce);
    beamcol::headRows(w.py, PILE.CONNZ(p), yt, sy, PILE.SPRZ(p), w.h);
    beamcol::headRows(w.pz, PILE.CONNY(p), zt, sz, PILE.SPRY(p), w.h);

    // Iteration on the soil moduli; the first solution is never accepted.
    return beamcol::iterate(
               p, {&w.py, &w.pz}, w.Q, w.Es, w.n, w.h, [&w] { updateBendingStiffness(w); },
               [&w, &status] { return newModuli(w, status); }) == beamcol::Closure::Closed;
}

void initSolve(Solve& w, int p, double P) {
    w.p = p;
    w.pset = PILE.PSETNO(p);
    w.n = std::clamp(PILESET.NINC(w.pset), 1, MAXINC);
    w.h = PILESET.PLEN(w.pset) / w.n;
    w.P = P;
    w.userCurves = CTLIN.KUSERPY == 1 && PILE.PYCRV(p) > 0;
    w.moving = SMOV.NSMOV > 0;
}

// ---- The derivative of the head forces ------------------------------------------------------------
// The head forces a pile returns are those of its soil-modulus iteration, stopped when no deflection
// moves by the closure tolerance: each pass solves both planes on the secant moduli of the pass before,
// y_k = A(Es_(k-1))^-1 W, and the moduli follow the deflections, Es_k = S(r(y_k)). Their derivative with
// respect to the head inputs (yt, sy, zt, sz, then the axial force P) is carried along the passes:
//     A(Es_(k-1)) dy_k = dW - h^4 dEs_(k-1) y_k - dA/dP y_k,   dEs_k = S'(r_k) (y_k dy_k + z_k dz_k) / r_k,
// with dW the head rows' share and the starting moduli independent of the inputs. Each plane's system is
// the one its pass has just swept, so its recursion coefficients serve the derivatives too; the planes
// meet only through dEs. This is the derivative of the forces the cap balances, also when the pile
// closes loosely; the tangent of the exactly converged pile would not be.
constexpr int NIN = 5;  // head deflection and slope of each plane, then the axial force

struct Derivatives {
    SlotArray dy[2][NIN];   // the derivative of each plane's deflections, per input
    SlotArray a[NIN];       // recursion terms of the derivative system
    NodeArray dEs[NIN];     // the derivative of the moduli of the last pass
    NodeArray slope{};      // S'(r) of the moduli of the last pass
    NodeArray up{}, esUp{}, e1{}, e2{}, e3{}, r1{};
};

Derivatives& threadDerivatives() {
    thread_local Derivatives d;
    return d;
}

// The head-row coefficients of one plane for unit head deflection (ay) and unit slope (as): the row is
// y3 - c y5 = ay yt + as s.
void headRowCoefficients(int code, double R4, double spring, double h, double& ay, double& as) {
    beamcol::Plane pl;
    pl.R(4) = R4;
    beamcol::headRows(pl, code, 1.0, 0.0, spring, h);
    ay = pl.a(3);
    beamcol::headRows(pl, code, 0.0, 1.0, spring, h);
    as = pl.a(3);
}

// The derivative of one plane's pass just solved (its recursion coefficients b and c in place), for
// every input at once.
void differentiatePass(Solve& w, int plane, Derivatives& d) {
    beamcol::Plane& pl = plane == 0 ? w.py : w.pz;
    const int n = w.n, t = n + 4, p = w.p;
    const double h = w.h, h2 = h * h, h4 = h2 * h2;
    const int code = plane == 0 ? PILE.CONNZ(p) : PILE.CONNY(p);
    const double spring = plane == 0 ? PILE.SPRZ(p) : PILE.SPRY(p);
    double ay = 0.0, as = 0.0;
    headRowCoefficients(code, pl.R(4), spring, h, ay, as);
    for (int k = 0; k < NIN; ++k) {
        SlotArray& a = d.a[k];
        a(1) = a(2) = 0.0;
        const bool own = k < 4 && k / 2 == plane;  // this plane's head deflection or slope
        const double dyt = own && k % 2 == 0 ? 1.0 : 0.0, ds = own && k % 2 == 1 ? 1.0 : 0.0;
        a(3) = ay * dyt + as * ds;
        a(4) = dyt;
    }
    // The sweep's elimination, applied to the derivative's right-hand sides.
    for (int i = 5; i <= t; ++i) {
        const double qh2 = w.Q(i) * h2;
        const double A = pl.R(i - 1);
        const double B = -2.0 * pl.R(i - 1) - 2.0 * pl.R(i) + qh2;
        const double C = pl.R(i - 1) + 4.0 * pl.R(i) + pl.R(i + 1) + w.Es(i) * h4 - 2.0 * qh2;
        const double beta = B + A * pl.b(i - 2);
        const double G = C + A * pl.c(i - 2) + beta * pl.b(i - 1);
        const double g = G != 0.0 ? 1.0 / G : 0.0;
        const double bend = -h2 * (pl.y(i - 1) - 2.0 * pl.y(i) + pl.y(i + 1));
        for (int k = 0; k < NIN; ++k) {
            SlotArray& a = d.a[k];
            double F = -h4 * d.dEs[k](i - 3) * pl.y(i);
            if (k == 4) F += bend;
            a(i) = -(A * a(i - 2) + beta * a(i - 1) - F) * g;
        }
    }
    // The free tip: the two fictitious slots below it, as the pass finds them, with the axial force's
    // share in the shear condition.
    const double R = pl.R(t);
    const double gt = (w.Q(t) * h2 - 2.0 * R) / R;
    const double b0 = pl.b(t), c0 = pl.c(t), b1 = pl.b(t - 1), c1 = pl.c(t - 1), b2 = pl.b(t - 2), c2 = pl.c(t - 2);
    const double K2 = b0 * c2 + (b2 + gt) * (c1 + b1 * b0) - gt;
    const double K3 = c0 * (c2 + (b2 + gt) * b1) - 1.0;
    const double K4 = c1 + 1.0 + b0 * (b1 - 2.0);
    const double K6 = c0 * (b1 - 2.0);
    const double det = K4 * K3 - K6 * K2;
    for (int k = 0; k < NIN; ++k) {
        SlotArray& a = d.a[k];
        SlotArray& dy = d.dy[plane][k];
        const double a0 = a(t), a1 = a(t - 1), a2 = a(t - 2);
        double K1 = a2 + (b2 + gt) * a1 + (c2 + (b2 + gt) * b1) * a0;
        if (k == 4) K1 -= h2 / R * (pl.y(t + 1) - pl.y(t - 1));
        const double K5 = a1 + a0 * (b1 - 2.0);
        double u = 0.0, v = 0.0;
        if (det != 0.0) {
            u = (K6 * K1 - K5 * K3) / det;
            v = (K2 * K5 - K4 * K1) / det;
        }
        dy(t + 1) = u;
        dy(t + 2) = v;
        dy(t + 3) = 0.0;
        for (int s = t; s >= 1; --s) dy(s) = a(s) + pl.b(s) * dy(s + 1) + pl.c(s) * dy(s + 2);
    }
}

// After the moduli of a pass are taken at its deflections: their slopes S'(r) from one more reading
// of the curves at r (1 + 1e-4), and their derivatives. The cap's own reading at the head is put back.
// False when the reading fails.
bool differentiateModuli(Solve& w, Derivatives& d) {
    const int n = w.n;
    constexpr double REL = 1e-4;
    for (int j = 1; j <= n + 1; ++j) d.up(j) = w.yNode(j) * (1.0 + REL);
    const double capReading = PYDRV.PCAPLV(w.p);
    int st = ST_OK;
    PYLAYERS(w.pset, st, w.p, w.p, d.up, d.esUp, d.e1, d.e2, d.e3, d.r1);
    PYDRV.PCAPLV(w.p) = capReading;
    if (st != ST_OK) return false;
    for (int j = 1; j <= n + 1; ++j) {
        const double r = w.yNode(j), dr = d.up(j) - r;
        const double slope = dr > 0.0 ? (d.esUp(j) - w.esNode(j)) / dr : 0.0;
        const int s = j + 3;
        for (int k = 0; k < NIN; ++k) {
            const double drk = r > 0.0 ? (w.py.y(s) * d.dy[0][k](s) + w.pz.y(s) * d.dy[1][k](s)) / r : 0.0;
            d.dEs[k](j) = slope * drk;
        }
    }
    return true;
}

// The set-up and the iteration of converge() with the derivatives carried along (the pile covered by
// lateralTangentCovered: no moment-curvature curves, no user curves); the same passes, moduli and
// closure. differentiated is false when a derivative could not be formed.
bool convergeDifferentiated(Solve& w, double yt, double sy, double zt, double sz, const SlotArray& axforce,
                            int& status, Derivatives& d, bool& differentiated) {
    const int p = w.p;
    loadsAlongPile(w);
    startingModulus(w);
    stiffnessAndAxialForce(w, axforce);
    beamcol::headRows(w.py, PILE.CONNZ(p), yt, sy, PILE.SPRZ(p), w.h);
    beamcol::headRows(w.pz, PILE.CONNY(p), zt, sz, PILE.SPRY(p), w.h);
    differentiated = true;
    for (int k = 0; k < NIN; ++k)
        for (int j = 1; j <= w.n + 1; ++j) d.dEs[k](j) = 0.0;
    for (int it = 1;; ++it) {
        beamcol::solve(w.py, w.Q, w.Es, w.n, w.h);
        differentiatePass(w, 0, d);
        beamcol::solve(w.pz, w.Q, w.Es, w.n, w.h);
        differentiatePass(w, 1, d);
        bool closed = it != 1;
        closed = closed && beamcol::closedWithin(w.py, w.n, CTLPAR.TOLPIL);
        closed = closed && beamcol::closedWithin(w.pz, w.n, CTLPAR.TOLPIL);
        if (closed) return true;
        if (it >= CTLPAR.MAXITP) {
            beamcol::warnNoClosure(p);
            return false;
        }
        if (!newModuli(w, status)) return false;
        if (differentiated && !differentiateModuli(w, d)) differentiated = false;
    }
}

// The changes of the head shears and moments (Hy, Hz, My, Mz) with the inputs, from the derivatives of
// the last pass: the shear is the trapezoid sum of Es y less the loads, the moment -EI y'' at the head.
bool headDerivatives(const Solve& w, const Derivatives& d, double D[4][5]) {
    const int t = w.n + 4;
    const double h = w.h, h2 = h * h;
    for (int k = 0; k < NIN; ++k) {
        for (int plane = 0; plane < 2; ++plane) {
            const beamcol::Plane& pl = plane == 0 ? w.py : w.pz;
            const SlotArray& dy = d.dy[plane][k];
            double H = 0.0;
            for (int s = 4; s <= t; ++s) {
                const double wt = (s == 4 || s == t) ? 0.5 : 1.0;
                H += wt * (d.dEs[k](s - 3) * pl.y(s) + w.Es(s) * dy(s)) * h;
            }
            D[plane][k] = H;
            D[2 + plane][k] = -pl.R(4) * (dy(3) - 2.0 * dy(4) + dy(5)) / h2;
        }
    }
    for (int o = 0; o < 4; ++o)
        for (int k = 0; k < NIN; ++k)
            if (!std::isfinite(D[o][k])) return false;
    return true;
}

// After closure: the head forces, and the stores of the pass.
void headForcesAndStores(Solve& w, double T, double& Hy, double& Hz, double& My, double& Mz, const Vec6& u,
                         const Mat6& rot, const SlotArray& axdisp, const SlotArray& axforce) {
    Hy = beamcol::internalForces(w.py, w.Q, w.Es, w.n, w.h);
    Hz = beamcol::internalForces(w.pz, w.Q, w.Es, w.n, w.h);
    My = w.py.M(4);
    Mz = w.pz.M(4);

    switch (RUNSTATE.RUNPASS) {
        case PASS_STIFFNESS:
            storeEquivalentStiffness(w, T, u);
            break;
        case PASS_RESULTS:
            storeResults(w, T, Hy, Hz, u, rot, axdisp, axforce);
            break;
        default:
            break;
    }
}

}  // namespace

void LLPILE(int p, double yt, double sy, double zt, double sz, double P, double T, double& Hy, double& Hz,
            double& My, double& Mz, int& status, const Vec6& u, const Mat6& rot, const SlotArray& axdisp,
            const SlotArray& axforce) {
    Solve w;
    initSolve(w, p, P);
    if (!converge(w, yt, sy, zt, sz, axforce, status)) return;
    headForcesAndStores(w, T, Hy, Hz, My, Mz, u, rot, axdisp, axforce);
}

bool lateralTangentCovered(int p) {
    const bool userCurves = CTLIN.KUSERPY == 1 && PILE.PYCRV(p) > 0;
    const bool alongPile = CTLPAR.KAXVAR == 1 && PILE.LSCRV(p) <= 0;
    return !userCurves && SMOV.NSMOV <= 0 && CTLIN.KMPHI < 1 && !alongPile;
}

void LLPILETAN(int p, double yt, double sy, double zt, double sz, double P, double T, double& Hy, double& Hz,
               double& My, double& Mz, int& status, const Vec6& u, const Mat6& rot, const SlotArray& axdisp,
               const SlotArray& axforce, double D[4][5], bool& linear) {
    linear = false;
    Solve w;
    initSolve(w, p, P);
    if (!lateralTangentCovered(p)) {
        if (!converge(w, yt, sy, zt, sz, axforce, status)) return;
        headForcesAndStores(w, T, Hy, Hz, My, Mz, u, rot, axdisp, axforce);
        return;
    }
    Derivatives& d = threadDerivatives();
    bool differentiated = false;
    if (!convergeDifferentiated(w, yt, sy, zt, sz, axforce, status, d, differentiated)) return;
    headForcesAndStores(w, T, Hy, Hz, My, Mz, u, rot, axdisp, axforce);
    if (status != ST_OK || !differentiated) return;
    linear = headDerivatives(w, d, D);
}

}  // namespace kaldo
