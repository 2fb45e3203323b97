// The laterally loaded pile of a three-dimensional group: one pile for a given head movement, as two
// beam-columns (the pile's local y and z planes) on the nonlinear soil springs of the p-y curves, which
// couple the planes only through the soil modulus, taken at the resultant deflection. The iteration
// solves both planes with the current secant moduli, takes new moduli at the new deflections and stops
// when no deflection moves by more than the closure tolerance. After closure it returns the head shears
// and moments, and on the two passes after the group has converged it stores the pile's equivalent
// stiffnesses or its results and envelopes.
//
// It runs on the pile loops' threads, one call per pile: the working arrays (some 40 KB) are the
// calling thread's own, and it writes nothing shared but pile p's entries of EQSSOL, SMPROF and the
// result stores, the solver state (only ever raised) and whole warning records.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

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
    // After a Newton closure each plane's reaction is the one its last pass solved with: Es for the
    // first plane and EsZ for the second (twoModuli).
    SlotArray EsZ{};
    bool twoModuli = false;
    // The thread's last solve wrote loads, soil movement, reactions or user curves' arrays (initSolve).
    bool written = true;

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
// moving soil puts on the pile, Es times the free-field movement. Given slopes (a Newton pass), the
// slopes dEs/dr of the moduli at the deflections are read in the same walk (a node that no layer holds
// keeps a slope of 0). False when a soil lookup failed.
bool newModuli(Solve& w, int& status, NodeArray* slopes = nullptr) {
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
    if (slopes != nullptr) {
        for (int j = 1; j <= n + 1; ++j) (*slopes)(j) = 0.0;
        PYLAYERSSLOPE(w.pset, st, w.p, w.yNode, w.esNode, w.ysNode, w.zsNode, w.esyNode, w.rNode, *slopes);
    } else {
        PYLAYERS(w.pset, st, w.p, w.p, w.yNode, w.esNode, w.ysNode, w.zsNode, w.esyNode, w.rNode);
    }
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
        e(218 + s, p) = std::fabs(w.pz.y(s)) > TINY ? w.pz.p(s) / w.pz.y(s) : (w.twoModuli ? w.EsZ(s) : w.Es(s));
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

// The calling thread's working data of a solve. initSolve clears what a solve may read before it writes
// it; the rest (the recursions, slopes, forces, stiffness, axial force and moduli along the pile, most
// of it) is written first by every solve, so it is not cleared from one solve to the next. The thread's
// own data is fetched through functions kept out of line: inlined, the compiler would look the thread's
// storage up again after every call the solve makes.
[[gnu::noinline]] Solve& threadSolve() {
    thread_local Solve w;
    return w;
}

void initSolve(Solve& w, int p, double P) {
    w.p = p;
    w.pset = PILE.PSETNO(p);
    w.n = std::clamp(PILESET.NINC(w.pset), 1, MAXINC);
    w.h = PILESET.PLEN(w.pset) / w.n;
    w.P = P;
    w.userCurves = CTLIN.KUSERPY == 1 && PILE.PYCRV(p) > 0;
    w.moving = SMOV.NSMOV > 0;
    // The moduli of nodes that no layer holds, with moment-curvature curves the deflections the first
    // stiffness is formed from; slots 1 and 2 take no equation: their recursion stays 0.
    w.esNode.fill(0.0);
    for (beamcol::Plane* pl : {&w.py, &w.pz}) {
        if (CTLIN.KMPHI >= 1) pl->y.fill(0.0);
        for (int s = 1; s <= 2; ++s) pl->a(s) = pl->b(s) = pl->c(s) = 0.0;
    }
    // The loads along the pile, the soil movement and the reactions along it, and the user curves'
    // arrays: 0 unless a solve of this thread (this one included) writes them.
    const bool writes = w.moving || w.userCurves || WRKNODE.DLNNODE(p) != 0;
    if (w.written || writes) {
        for (beamcol::Plane* pl : {&w.py, &w.pz}) {
            pl->W.fill(0.0);
            pl->DL.fill(0.0);
        }
        for (NodeArray* a : {&w.ysNode, &w.zsNode, &w.esyNode, &w.rNode}) a->fill(0.0);
        for (SlotArray* a : {&w.ySlot, &w.ysSlot, &w.zsSlot, &w.esySlot, &w.rSlot}) a->fill(0.0);
    }
    w.written = writes;
    w.twoModuli = false;
}

// ---- Newton iteration on the tangents of the p-y curves --------------------------------------------
// The pile is in balance when every equation of both planes holds with the soil reaction of the curves,
//     A y + p(y) = W,   p_y = Es(r) y, p_z = Es(r) z at the resultant r of (y, z),
// where A is the beam-column operator of the plane (its head rows and free tip included). The secant
// iteration solves A y + Es(r_old) y = W again and again: each pass closes only a share of the gap, and
// that share shrinks where a curve flattens (a node near the ultimate resistance barely moves a pass).
// Newton takes the curves' slopes instead: with the tangent springs k of the current state,
//     (A + k) y_new = W + (k - Es) y,
// which is the secant pass with a spring k and the load (k - Es) y added; at the balance both iterations
// stand still, so they close on the same deflections. The slope of each curve comes in closed form from
// its criterion (a criterion without one reads the curve a second time at r (1 + 1e-4)), taken on the
// loading side at the kinks of the curves; in each plane
// k_y = Es + S' y^2 / r, k_z = Es + S' z^2 / r with S' = dEs/dr, never below 0 (a softening curve would
// otherwise make the system indefinite). The coupling S' y z / r of the two planes stays out of the pass
// (it vanishes for a load along one plane; otherwise the pass converges a little slower).
// Near zero deflection a curve that rises like a cube root has a tangent a third of its secant, and a
// Newton pass there swings the node through zero to twice its deflection, pass after pass: a node that
// the pass would swing through zero, or unload to less than a quarter of its deflection, takes its
// secant modulus instead (the secant iteration's own step, which settles such a node at once) and the
// pass is solved again. The closure test is the secant iteration's (no deflection moved by the closure
// tolerance in a pass), and one more pass follows it. The reaction returned is the one the last pass
// solved with, Es y0 + k (y - y0) per plane, so that the head shear balances the moments of the
// deflections solved, as the secant iteration's Es y does. Every solve starts from the secant iteration's first solution on the starting
// moduli, which never closes the pile, and not from the pile's last closed shape: a pile closes within
// its tolerance of the balance, and a start from the last shape would carry that shape's error into
// the next forces, so that the forces at one displacement would depend on the evaluations before them.
// Where the tolerance is loose against the deflections that noise is percents of the head shear and
// leads the cap's Newton iteration astray; from one start the forces follow the displacement smoothly.
// When Newton has not closed after 200 passes, the secant iteration runs from the start, so a pile
// closes wherever it closed before.
constexpr int NEWTON_PASSES = 200;  // passes before the secant iteration takes over

struct NewtonWork {
    SlotArray ky{}, kz{}, kyz{};  // tangent springs of each plane and their coupling, per slot
    SlotArray kyT{}, kzT{};       // the tangent springs of the last pass before any node took its secant
    SlotArray Ly{}, Lz{};         // the loads of the Newton pass
    SlotArray y0{}, z0{};         // the deflections before the pass (every slot)
    NodeArray dEs{};              // the slopes dEs/dr of the secant moduli at the deflections
    beamcol::Band by{}, bz{};     // each plane's band (its stiffness and axial force stay through a solve)
};

[[gnu::noinline]] NewtonWork& threadNewtonWork() {
    thread_local NewtonWork t;
    return t;
}

// Whether the pile's own iteration runs as Newton: every pile but those on their own user curves, in
// moving soil or with moment-curvature stiffness (their springs or stiffness follow other rules).
bool newtonCovered(const Solve& w) { return !w.userCurves && !w.moving && CTLIN.KMPHI < 1; }

EnvironmentSwitch pileNewton{"KALDO_PILE_NEWTON", true};



// The tangent springs at the deflections yNode from the secant moduli esNode there and their slopes.
void tangentFromSlopes(Solve& w, NewtonWork& t) {
    for (int j = 1; j <= w.n + 1; ++j) {
        const int s = j + 3;
        const double r = w.yNode(j), slope = t.dEs(j);
        const double Es = w.esNode(j);
        if (r > 0.0 && std::isfinite(slope)) {
            const double y = w.py.y(s), z = w.pz.y(s);
            t.ky(s) = std::max(0.0, Es + slope * y * y / r);
            t.kz(s) = std::max(0.0, Es + slope * z * z / r);
            t.kyz(s) = slope * y * z / r;
        } else {
            t.ky(s) = t.kz(s) = Es;
            t.kyz(s) = 0.0;
        }
    }
}

// The moduli of a Newton pass at the current deflections (newModuli), and with slopes the tangent
// springs there, both in one walk of the nodes. False when a soil lookup failed.
bool newtonModuli(Solve& w, NewtonWork& t, bool slopes, int& status) {
    if (!slopes) return newModuli(w, status);
    if (!newModuli(w, status, &t.dEs)) return false;
    tangentFromSlopes(w, t);
    return true;
}

enum class NewtonEnd { Closed, SoilFailed, GaveUp };

// Newton from the first solution on the starting moduli (set up as for the secant iteration).
NewtonEnd newtonIterate(Solve& w, NewtonWork& t, int& status) {
    const int n = w.n, last = n + 6;
    beamcol::Plane& py = w.py;
    beamcol::Plane& pz = w.pz;
    beamcol::band(py, w.Q, n, w.h, t.by);
    beamcol::band(pz, w.Q, n, w.h, t.bz);
    // The secant iteration's first solution, on the starting moduli: it never closes the pile.
    beamcol::solvePair(py, t.by, w.Es, py.W, pz, t.bz, w.Es, pz.W, w.Q, n, w.h);
    const int limit = std::min(CTLPAR.MAXITP, NEWTON_PASSES);
    bool polished = false;
    for (int it = 2; it <= limit; ++it) {
        // The pass after the closure test keeps the springs of the pass before: the deflections moved by
        // less than the tolerance since, and the error that pass leaves is far below what it corrects.
        if (!newtonModuli(w, t, !polished, status)) return NewtonEnd::SoilFailed;
        if (!polished) {
            t.kyT = t.ky;
            t.kzT = t.kz;
        }
        for (int s = 1; s <= last; ++s) {
            t.y0(s) = py.y(s);
            t.z0(s) = pz.y(s);
        }
        // A node the tangent pass would swing through zero deflection, or unload to less than a quarter
        // of its deflection, takes its secant modulus and the pass is solved again: the slots above the
        // first such node keep their sweep.
        int from = 4;
        for (int round = 0;; ++round) {
            for (int s = from; s <= n + 4; ++s) {
                t.Ly(s) = py.W(s) + (t.ky(s) - w.Es(s)) * t.y0(s);
                t.Lz(s) = pz.W(s) + (t.kz(s) - w.Es(s)) * t.z0(s);
            }
            beamcol::solvePair(py, t.by, t.ky, t.Ly, pz, t.bz, t.kz, t.Lz, w.Q, n, w.h, from);
            int first = 0;
            for (int s = 5; s <= n + 4; ++s) {
                if (t.ky(s) == w.Es(s) && t.kz(s) == w.Es(s)) continue;
                const double y0 = t.y0(s), z0 = t.z0(s), y1 = py.y(s), z1 = pz.y(s);
                const double before = y0 * y0 + z0 * z0, after = y1 * y1 + z1 * z1;
                if (y0 * y1 + z0 * z1 < 0.0 || 16.0 * after < before) {
                    t.ky(s) = t.kz(s) = w.Es(s);
                    if (first == 0) first = s;
                }
            }
            if (first == 0 || round == 3) break;
            from = first;
        }
        bool closed = true;
        for (int s = 4; s <= n + 4 && closed; ++s)
            closed = std::fabs(py.y(s) - t.y0(s)) < CTLPAR.TOLPIL && std::fabs(pz.y(s) - t.z0(s)) < CTLPAR.TOLPIL;
        // One more pass after the closure test passes: Newton halves the digits of its error each pass,
        // so the forces returned are those of the balanced pile and not of where a loose tolerance
        // stopped, and they follow the head movement smoothly, as the cap's iteration needs.
        if (closed && !polished) {
            polished = true;
            closed = false;
        }
        if (closed) {
            // The soil reaction of each plane is the one the closing pass solved with,
            //     p = Es y0 + k (y - y0),
            // so that the head shear (the reaction less the loads along the pile) balances the moments of
            // the deflections solved, as the secant iteration's reaction Es y does. Kept as a modulus
            // per plane; a node at exactly zero deflection keeps its secant.
            for (int s = 4; s <= n + 4; ++s) {
                const double Es = w.Es(s), y = py.y(s), z = pz.y(s);
                const double ry = Es * t.y0(s) + t.ky(s) * (y - t.y0(s));
                const double rz = Es * t.z0(s) + t.kz(s) * (z - t.z0(s));
                w.Es(s) = y != 0.0 ? ry / y : Es;
                w.EsZ(s) = z != 0.0 ? rz / z : Es;
            }
            w.twoModuli = true;
            return NewtonEnd::Closed;
        }
    }
    return NewtonEnd::GaveUp;
}

// The set-up of one solve: loads along the pile, starting soil modulus, bending stiffness, axial force,
// head rows.
void setUp(Solve& w, double yt, double sy, double zt, double sz, const SlotArray& axforce) {
    const int p = w.p;
    loadsAlongPile(w);
    startingModulus(w);
    stiffnessAndAxialForce(w, axforce);
    beamcol::headRows(w.py, PILE.CONNZ(p), yt, sy, PILE.SPRZ(p), w.h);
    beamcol::headRows(w.pz, PILE.CONNY(p), zt, sz, PILE.SPRY(p), w.h);
}

// The set-up and the iteration of one solve; false when the pile did not close or a soil lookup failed
// (the warning written, status or the solver state set). newton tells whether the pile closed by Newton
// (its tangent springs are then those of the converged state's neighbourhood).
bool converge(Solve& w, double yt, double sy, double zt, double sz, const SlotArray& axforce, int& status,
              bool* newton = nullptr) {
    if (newton != nullptr) *newton = false;
    setUp(w, yt, sy, zt, sz, axforce);
    if (pileNewtonOn() && newtonCovered(w)) {
        switch (newtonIterate(w, threadNewtonWork(), status)) {
            case NewtonEnd::Closed:
                if (newton != nullptr) *newton = true;
                return true;
            case NewtonEnd::SoilFailed:
                return false;
            case NewtonEnd::GaveUp:
                // The secant iteration from the start.
                setUp(w, yt, sy, zt, sz, axforce);
                break;
        }
    }
    // Iteration on the soil moduli; the first solution is never accepted.
    return beamcol::iterate(
               w.p, {&w.py, &w.pz}, w.Q, w.Es, w.n, w.h, [&w] { updateBendingStiffness(w); },
               [&w, &status] { return newModuli(w, status); }) == beamcol::Closure::Closed;
}

// ---- The head stiffness of the converged pile ------------------------------------------------------
// The change of the head forces with the head inputs (yt, sy, zt, sz, then the axial force P) is that
// of the balanced pile: with the tangent springs k at the converged deflections,
//     (A + k) dy = dW,
// dW the head rows' share of a unit input (and for P the axial force's share, -dA/dP y); the planes meet
// through the coupling springs, taken by alternating the planes until the change is round-off. One
// factorisation of each plane serves every input: the static condensation of the pile on its head.
constexpr int NIN = 5;  // head deflection and slope of each plane, then the axial force

struct Condensation {
    beamcol::Plane f[2];    // each plane's recursion with its tangent springs
    SlotArray beta[2], g[2];  // and its sweep terms beta and 1 / G
    SlotArray a{}, a2{}, F{};  // recursion terms of two solves side by side and the coupling load
    SlotArray dy[2][NIN];   // the derivatives of each plane's deflections, per input
    SlotArray prev{};
};

[[gnu::noinline]] Condensation& threadCondensation() {
    thread_local Condensation c;
    return c;
}

// One solve of a plane's tangent system: for head inputs (dyt, ds), the load per length c.F and, with
// axial, the axial force's unit share, on the factorised plane c.f[plane] (its recursion b, c and sweep
// terms); a holds the recursion terms of the load, dy receives the solution.
struct TangentJob {
    int plane;
    double dyt, ds;
    bool axial;
    SlotArray* a;
    SlotArray* dy;
};

// N solves side by side (each slot of a solve waits for the slot before it: two independent solves
// interleaved take little longer than one), each as it would run alone.
template <std::size_t N>
void tangentSolves(const Solve& w, Condensation& c, const std::array<TangentJob, N>& jobs) {
    const int n = w.n, t = n + 4, p = w.p;
    const double h = w.h, h2 = h * h, h4 = h2 * h2;
    // The two terms above each slot carried in registers.
    double above[N], twoAbove[N];
    for (std::size_t j = 0; j < N; ++j) {
        const TangentJob& job = jobs[j];
        const beamcol::Plane& pl = job.plane == 0 ? w.py : w.pz;
        const int code = job.plane == 0 ? PILE.CONNZ(p) : PILE.CONNY(p);
        const double spring = job.plane == 0 ? PILE.SPRZ(p) : PILE.SPRY(p);
        double ay = 0.0, as = 0.0, c3 = 0.0;
        beamcol::headRowCoefficients(code, pl.R(4), spring, h, ay, as, c3);
        SlotArray& a = *job.a;
        a(1) = a(2) = 0.0;
        a(3) = ay * job.dyt + as * job.ds;
        a(4) = job.dyt;
        above[j] = a(4);
        twoAbove[j] = a(3);
    }
    for (int i = 5; i <= t; ++i) {
        for (std::size_t j = 0; j < N; ++j) {
            const TangentJob& job = jobs[j];
            const beamcol::Plane& pl = job.plane == 0 ? w.py : w.pz;
            double Fi = c.F(i) * h4;
            if (job.axial) Fi -= h2 * (pl.y(i - 1) - 2.0 * pl.y(i) + pl.y(i + 1));
            const double ai = -(pl.R(i - 1) * twoAbove[j] + c.beta[job.plane](i) * above[j] - Fi) * c.g[job.plane](i);
            (*job.a)(i) = ai;
            twoAbove[j] = above[j];
            above[j] = ai;
        }
    }
    // The free tip, as the pass solves it, with the axial force's share in the shear condition.
    double u[N], v[N];
    for (std::size_t j = 0; j < N; ++j) {
        const TangentJob& job = jobs[j];
        const beamcol::Plane& pl = job.plane == 0 ? w.py : w.pz;
        const beamcol::Plane& f = c.f[job.plane];
        const SlotArray& a = *job.a;
        const double R = pl.R(t);
        const double gt = (w.Q(t) * h2 - 2.0 * R) / R;
        const double b0 = f.b(t), c0 = f.c(t), b1 = f.b(t - 1), c1 = f.c(t - 1), b2 = f.b(t - 2), c2 = f.c(t - 2);
        const double K2 = b0 * c2 + (b2 + gt) * (c1 + b1 * b0) - gt;
        const double K3 = c0 * (c2 + (b2 + gt) * b1) - 1.0;
        const double K4 = c1 + 1.0 + b0 * (b1 - 2.0);
        const double K6 = c0 * (b1 - 2.0);
        const double det = K4 * K3 - K6 * K2;
        const double a0 = a(t), a1 = a(t - 1), a2 = a(t - 2);
        double K1 = a2 + (b2 + gt) * a1 + (c2 + (b2 + gt) * b1) * a0;
        if (job.axial) K1 -= h2 / R * (pl.y(t + 1) - pl.y(t - 1));
        const double K5 = a1 + a0 * (b1 - 2.0);
        u[j] = v[j] = 0.0;
        if (det != 0.0) {
            u[j] = (K6 * K1 - K5 * K3) / det;
            v[j] = (K2 * K5 - K4 * K1) / det;
        }
        SlotArray& dy = *job.dy;
        dy(t + 1) = u[j];
        dy(t + 2) = v[j];
        dy(t + 3) = 0.0;
    }
    for (int s = t; s >= 1; --s) {
        for (std::size_t j = 0; j < N; ++j) {
            const beamcol::Plane& f = c.f[jobs[j].plane];
            const double d = (*jobs[j].a)(s) + f.b(s) * u[j] + f.c(s) * v[j];
            (*jobs[j].dy)(s) = d;
            v[j] = u[j];
            u[j] = d;
        }
    }
}

// The changes of the head shears and moments (Hy, Hz, My, Mz) with the inputs at the converged state:
// the shear is the trapezoid sum of the soil reaction less the loads, the moment -EI y'' at the head.
// For a pile that Newton closed (t holds its last pass's springs). False when a value is not finite.
bool condense(Solve& w, NewtonWork& t, double D[4][5]) {
    // The tangent of the last pass: it was taken one pass before the closed deflections, which the pass
    // after the closure test moved by far less than the tolerance.
    const SlotArray& ky = t.kyT;
    const SlotArray& kz = t.kzT;
    Condensation& c = threadCondensation();
    const int n = w.n, tip = n + 4, last = n + 6;
    // The planes are coupled where a node moves in both: a movement along one plane leaves round-off in
    // the other, whose coupling (below 1e-8 of the springs) changes nothing a double can hold.
    bool coupled = false;
    for (int s = 4; s <= tip && !coupled; ++s)
        coupled = std::fabs(t.kyz(s)) > 1e-8 * (std::fabs(ky(s)) + std::fabs(kz(s)));
    // Factorise each plane with its tangent springs (the recursion does not depend on the load).
    for (int plane = 0; plane < 2; ++plane) {
        const beamcol::Plane& pl = plane == 0 ? w.py : w.pz;
        beamcol::Plane& f = c.f[plane];
        f.b(3) = pl.b(3);
        f.c(3) = pl.c(3);
        f.b(4) = f.c(4) = 0.0;
        beamcol::factorise(f, plane == 0 ? t.by : t.bz, plane == 0 ? ky : kz, w.n, w.h, c.beta[plane], c.g[plane]);
    }
    if (!coupled) {
        // Each plane alone: an input of the other plane leaves it at rest (a solve writes every slot
        // that is read). The two inputs of each plane side by side, then the axial force's share in both.
        c.F.fill(0.0);
        for (int plane = 0; plane < 2; ++plane) {
            const int k = 2 * plane;
            tangentSolves<2>(w, c, {TangentJob{plane, 1.0, 0.0, false, &c.a, &c.dy[plane][k]},
                                    TangentJob{plane, 0.0, 1.0, false, &c.a2, &c.dy[plane][k + 1]}});
            c.dy[1 - plane][k].fill(0.0);
            c.dy[1 - plane][k + 1].fill(0.0);
        }
        tangentSolves<2>(w, c, {TangentJob{0, 0.0, 0.0, true, &c.a, &c.dy[0][4]},
                                TangentJob{1, 0.0, 0.0, true, &c.a2, &c.dy[1][4]}});
    }
    for (int k = 0; k < NIN && coupled; ++k) {
        const bool axial = k == 4;
        double in[2][2] = {{0.0, 0.0}, {0.0, 0.0}};  // (deflection, slope) of each plane
        if (k < 4) in[k / 2][k % 2] = 1.0;
        SlotArray& dy = c.dy[0][k];
        SlotArray& dz = c.dy[1][k];
        dz.fill(0.0);
        for (int sweep = 0; sweep < 50; ++sweep) {
            for (int s = 4; s <= tip; ++s) c.F(s) = -t.kyz(s) * dz(s);
            c.prev = dy;
            tangentSolves<1>(w, c, {TangentJob{0, in[0][0], in[0][1], axial, &c.a, &dy}});
            for (int s = 4; s <= tip; ++s) c.F(s) = -t.kyz(s) * dy(s);
            tangentSolves<1>(w, c, {TangentJob{1, in[1][0], in[1][1], axial, &c.a, &dz}});
            if (sweep == 0) continue;  // the first sweep has nothing to compare with
            double change = 0.0, size = 0.0;
            for (int s = 1; s <= last; ++s) {
                change = std::max(change, std::fabs(dy(s) - c.prev(s)));
                size = std::max(size, std::fabs(dy(s)) + std::fabs(dz(s)));
            }
            if (!(change > 1e-10 * size)) break;
        }
    }
    const double h = w.h, h2 = h * h;
    for (int k = 0; k < NIN; ++k) {
        const SlotArray& dy = c.dy[0][k];
        const SlotArray& dz = c.dy[1][k];
        double Hy = 0.0, Hz = 0.0;
        for (int s = 4; s <= tip; ++s) {
            const double wt = (s == 4 || s == tip) ? 0.5 : 1.0;
            Hy += wt * (ky(s) * dy(s) + t.kyz(s) * dz(s)) * h;
            Hz += wt * (t.kyz(s) * dy(s) + kz(s) * dz(s)) * h;
        }
        D[0][k] = Hy;
        D[1][k] = Hz;
        D[2][k] = -w.py.R(4) * (dy(3) - 2.0 * dy(4) + dy(5)) / h2;
        D[3][k] = -w.pz.R(4) * (dz(3) - 2.0 * dz(4) + dz(5)) / h2;
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
    Hz = beamcol::internalForces(w.pz, w.Q, w.twoModuli ? w.EsZ : w.Es, w.n, w.h);
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
    Solve& w = threadSolve();
    initSolve(w, p, P);
    if (!converge(w, yt, sy, zt, sz, axforce, status)) return;
    headForcesAndStores(w, T, Hy, Hz, My, Mz, u, rot, axdisp, axforce);
}

bool pileNewtonOn() { return pileNewton.on(); }

void setPileNewton(bool on) { pileNewton.set(on); }

bool lateralTangentCovered(int p) {
    const bool userCurves = CTLIN.KUSERPY == 1 && PILE.PYCRV(p) > 0;
    const bool alongPile = CTLPAR.KAXVAR == 1 && PILE.LSCRV(p) <= 0;
    return !userCurves && SMOV.NSMOV <= 0 && CTLIN.KMPHI < 1 && !alongPile;
}

void LLPILETAN(int p, double yt, double sy, double zt, double sz, double P, double T, double& Hy, double& Hz,
               double& My, double& Mz, int& status, const Vec6& u, const Mat6& rot, const SlotArray& axdisp,
               const SlotArray& axforce, double D[4][5], bool& linear) {
    linear = false;
    Solve& w = threadSolve();
    initSolve(w, p, P);
    bool newton = false;
    if (!converge(w, yt, sy, zt, sz, axforce, status, &newton)) return;
    headForcesAndStores(w, T, Hy, Hz, My, Mz, u, rot, axdisp, axforce);
    if (status != ST_OK || !newton || !lateralTangentCovered(p)) return;
    linear = condense(w, threadNewtonWork(), D);
}

}  // namespace kaldo
