// The laterally loaded pile of a plane group: one pile for a given head movement, as one beam-column (the
// pile's lateral plane) on the nonlinear soil springs of the p-y curves, taken at the signed deflection.
// The beam-column, its head rows and the soil-modulus iteration are those of the three-dimensional pile
// (pile/beamcol.h); this file holds what the plane does its own way: the start of the iteration, the
// single plane's soil movement and loads, and the stores of the plane results.
//
// It runs on the plane pile loop's threads, one call per pile: every working array is a local of the
// call, and it writes nothing shared but pile p's entries of EQSSOL and of the result stores, the
// solver state (only ever raised) and whole warning records.
#include <algorithm>
#include <cmath>

#include "model/ctlpar.h"
#include "model/eqssol.h"
#include "model/input.h"
#include "model/modelinput.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/results.h"
#include "model/runblocks.h"
#include "model/runpoint.h"
#include "model/sections.h"
#include "model/wrknode.h"
#include "pile/beamcol.h"
#include "pile/pile.h"
#include "services/psec.h"
#include "services/status.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

// A movement, a deflection or a capacity at most this large counts as zero (single-precision 1e-14).
constexpr double TINY = static_cast<double>(1e-14f);

// A term a / b of the stresses and ratios: a section without area, inertia or capacity adds nothing.
double over(double a, double b) { return b != 0.0 ? a / b : 0.0; }

struct Solve2D {
    int p = 0, pset = 0, n = 0;
    double h = 0.0;
    double P = 0.0;
    bool userCurves = false;
    bool moving = false;

    beamcol::Plane pl;
    SlotArray Q{};
    SlotArray Es{};

    // Node arrays of the p-y routines (node j at j): deflection, modulus, soil movement in the plane,
    // an unused second movement, Es times the movement, soil reaction.
    NodeArray yNode{}, esNode{}, ysNode{}, zsNode{}, esyNode{}, rNode{};
    // The same by slot, for the pile's own user p-y curves.
    SlotArray ySlot{}, ysSlot{}, zsSlot{}, esySlot{}, rSlot{};
};

// Soil movement in the plane and the distributed load along the pile's lateral axis.
void loadsAlongPile(Solve2D& w) {
    const int n = w.n;
    if (w.moving) {
        SOILMOVP(w.p);
        NODEZERO1(w.p, w.rNode);
        NODEZERO3(w.p, w.ysNode);
        NODEZERO2(w.p, w.zsNode);
        SOILMOVX(w.p, w.ysNode);
        for (int j = 1; j <= n + 1; ++j) w.ysSlot(j + 3) = w.ysNode(j);
    }
    if (WRKNODE.DLNNODE(w.p) != 0) {
        NodeArray q{};
        DLODNODY(w.p, q);
        for (int j = 1; j <= n + 1; ++j) w.pl.DL(j + 3) = w.pl.W(j + 3) = q(j);
    }
}

// The p-y springs at the node deflections yNode into Es (nodes in no soil layer keep theirs). False
// when a soil lookup failed.
bool springsAtNodes(Solve2D& w, int& status) {
    int st = ST_OK;
    PYLAYERS(w.pset, st, w.p, w.p, w.yNode, w.esNode, w.ysNode, w.zsNode, w.esyNode, w.rNode);
    if (st != ST_OK) {
        status = st;
        return false;
    }
    for (int j = 1; j <= w.n + 1; ++j) w.Es(j + 3) = w.esNode(j);
    return true;
}

// The starting soil modulus: for the pile's own user curves one growing with the distance below the
// head; otherwise the springs at a straight start shape, the head deflection falling to none at the tip.
bool startingModulus(Solve2D& w, double yt, int& status) {
    const int n = w.n;
    if (w.userCurves) {
        for (int k = 0; k <= n; ++k) w.Es(k + 4) = k * w.h;
        return true;
    }
    for (int k = 0; k <= n; ++k) {
        const float ratio = static_cast<float>(k) / static_cast<float>(n);
        w.yNode(k + 1) = yt * (1.0 - static_cast<double>(ratio));
    }
    // PYLAYERS writes only the nodes of its layers: the others keep no modulus.
    w.esNode.fill(0.0);
    return springsAtNodes(w, status);
}

// Bending stiffness of the sections (fictitious slots take the head and tip sections) and the axial
// force along the pile.
void stiffnessAndAxialForce(Solve2D& w, const SlotArray& axforce) {
    const int n = w.n;
    for (int s = 3; s <= n + 6; ++s) w.pl.R(s) = PSECEIZ(w.p, w.pset, NODES.NODEAX(w.p, std::clamp(s - 3, 1, n + 1)));
    if (CTLIN.KMPHI >= 1) EIMPHIY(w.p, w.P, w.pl.R, w.pl.y);
    const bool alongPile = CTLPAR.KAXVAR == 1 && PILE.LSCRV(w.p) <= 0;
    for (int s = 3; s <= n + 6; ++s) w.Q(s) = alongPile ? axforce(std::clamp(s, 4, n + 4)) : w.P;
}

// New secant moduli at the signed deflections; with soil movement the load of the moving soil.
bool newModuli(Solve2D& w, int& status) {
    const int n = w.n;
    for (int s = 4; s <= n + 4; ++s) {
        w.ySlot(s) = w.pl.y(s);
        w.yNode(s - 3) = w.pl.y(s);
    }
    if (w.userCurves) {
        PYUSERPILE(w.p, w.ySlot, w.Es, w.ysSlot, w.zsSlot, w.esySlot, w.rSlot);
        return true;
    }
    if (!springsAtNodes(w, status)) return false;
    if (w.moving)
        for (int j = 1; j <= n + 1; ++j) w.pl.W(j + 3) = w.Es(j + 3) * w.ysNode(j) + w.pl.DL(j + 3);
    return true;
}

// Equivalent-stiffness pass: the head's axial stiffness and every node's secant stiffness. A head that
// has not settled takes its load-settlement curve's initial slope, and a node that has not moved the
// soil modulus the pile's own iteration used there, as in three dimensions: a pile without axial or
// lateral load keeps the stiffness of its soil.
void storeEquivalentStiffness(const Solve2D& w, double u1) {
    auto& e = EQSSOL;
    const int p = w.p;
    e(1, p) = w.P;
    double slope = 0.0;
    if (std::fabs(u1) > TINY) {
        e(2, p) = w.P / u1;
    } else {
        AXSLOPE(p, 1, slope);
        e(2, p) = slope;
    }
    e(3, p) = w.h;
    for (int s = 4; s <= w.n + 4; ++s) {
        e(4 + s, p) = (s - 4) * w.h;
        e(111 + s, p) = std::fabs(w.pl.y(s)) > TINY ? w.pl.p(s) / w.pl.y(s) : w.Es(s);
    }
}

// Results pass: the pile top and the along-pile quantities of the plane into the result stores.
void storeResults(Solve2D& w, double yt, double theta, double V, double M, const Vec3& u, const Mat3& A,
                  const SlotArray& axdisp, const SlotArray& axforce) {
    const int p = w.p, n = w.n;
    beamcol::Plane& pl = w.pl;

    SlotArray stress{}, mratio{}, vratio{};
    const bool combination = RUNPOINT.CURCOMB != 0;
    for (int s = 4; s <= n + 4; ++s) {
        const double x = NODES.NODEAX(p, s - 3);
        (void)PSECTYPE(p, w.pset, x);
        stress(s) = over(std::fabs(pl.M(s)) * PSECDIAM(p, w.pset, x), 2.0 * PSECIZ(p, w.pset, x)) +
                    over(std::fabs(w.Q(s)), PSECAREA(p, w.pset, x));
        if (!combination) continue;
        const double mcap = PSECMCAP(p, w.pset, x), vcap = PSECVCAP(p, w.pset, x);
        if (mcap > TINY) mratio(s) = std::fabs(pl.M(s)) / mcap / CTLPAR.RFBEND;
        if (vcap > TINY) vratio(s) = std::fabs(pl.V(s)) / vcap / CTLPAR.RFSHEAR;
    }

    // The pile top: displacements and head forces in plane and in the pile's own axes.
    const double b = PILE.BATTER(p), cb = std::cos(b), sb = std::sin(b);
    const double u1 = u[0];
    const double FX = A[0] * w.P + A[3] * V + A[6] * M;
    const double FY = A[1] * w.P + A[4] * V + A[7] * M;
    PTENV2D(p, u1 * cb - yt * sb, u1 * sb + yt * cb, theta, u1, yt, theta, FX, FY, M, w.P, V, M, stress(4));

    // Along the pile the moments are reported as EI y''. With soil movement the soil reaction is the
    // one the p-y curve gives for the deflection relative to the soil, and the load is the plain
    // distributed load.
    for (int s = 4; s <= n + 4; ++s) {
        pl.M(s) = -pl.M(s);
        if (w.moving) {
            pl.p(s) = w.userCurves ? w.rSlot(s) : w.rNode(s - 3);
            pl.W(s) = pl.DL(s);
        }
    }

    SlotArray axd{}, axf{};
    if (CTLPAR.KAXVAR != 0 && PILE.LSCRV(p) <= 0) {
        axd = axdisp;
        axf = axforce;
    } else {
        axf.fill(w.P);
    }
    SlotArray gX{}, gY{};
    for (int s = 4; s <= n + 4; ++s) {
        gX(s) = axd(s) * cb - pl.y(s) * sb;
        gY(s) = axd(s) * sb + pl.y(s) * cb;
    }

    const SlotArray none{};
    AlongPileRecord record{};
    PACKLLP(record, {&axd, &pl.y, &none, &none, &gX, &gY, &none, &none, &pl.M, &none, &none, &pl.V, &none, &none,
                     &pl.p, &none, &none, &axf, &stress, &pl.R, &none, &pl.DL, &none, &mratio, &vratio});
    ENVLLP(p, n + 4, record);
}

}  // namespace

void LLPILE2D(int p, double yt, double theta, double P, double& V, double& M, int& status, const Vec3& u, const Mat3& A,
              const SlotArray& axdisp, const SlotArray& axforce) {
    Solve2D w;
    w.p = p;
    w.pset = PILE.PSETNO(p);
    w.n = std::clamp(PILESET.NINC(w.pset), 1, MAXINC);
    w.h = PILESET.PLEN(w.pset) / w.n;
    w.P = P;
    w.userCurves = CTLIN.KUSERPY == 1 && PILE.PYCRV(p) > 0;
    w.moving = SMOV.NSMOV > 0;

    loadsAlongPile(w);
    if (!startingModulus(w, yt, status)) return;
    stiffnessAndAxialForce(w, axforce);
    // The head slope is the rotation: the shared head rows take it negated.
    beamcol::headRows(w.pl, PILE.CONNZ(p), yt, -theta, PILE.SPRZ(p), w.h);

    const beamcol::Closure end = beamcol::iterate(
        p, {&w.pl}, w.Q, w.Es, w.n, w.h, [&w] { EIMPHIY(w.p, w.P, w.pl.R, w.pl.y); },
        [&w, &status] { return newModuli(w, status); });
    if (end != beamcol::Closure::Closed) return;

    V = beamcol::internalForces(w.pl, w.Q, w.Es, w.n, w.h);
    M = w.pl.M(4);

    switch (RUNSTATE.RUNPASS) {
        case PASS_STIFFNESS:
            storeEquivalentStiffness(w, u[0]);
            break;
        case PASS_RESULTS:
            storeResults(w, yt, theta, V, M, u, A, axdisp, axforce);
            break;
        default:
            break;
    }
}

}  // namespace kaldo
