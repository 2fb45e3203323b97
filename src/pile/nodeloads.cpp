// Distributed loads and free-field soil movement at the nodes of one pile, brought to the nodes at the
// start of every lateral solve.
//
// Frames. The distributed-load profile of a pile (WRKNODE, laid out by the load assembly) gives its
// points by their distance below the head along the pile axis, so a node is placed by its own distance
// along the axis, (j - 1) h. The soil-movement profile is given once for the whole foundation at global
// vertical coordinates X; each pile measures the points from its head (SMPROF) and each node by its own
// vertical distance below the same head, so that every pile, whatever the X of its head, sees at a given
// X the movement given there.
//
// Scaling. The profile keeps the input movement (SMYIN, SMZIN) and the load fraction SMFACT of the
// current step multiplies the interpolated value at the nodes, once.
//
// These routines run on the pile loops' threads: they read the model tables and write the pile's own
// row of SMPROF and the caller's arrays.
#include <algorithm>
#include <cmath>

#include "model/input.h"
#include "model/modelinput.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "model/sections.h"
#include "model/smovpile.h"
#include "model/wrknode.h"
#include "pile/pile.h"

namespace kaldo {

namespace {

// Two soil-movement points closer than this stand for a step: the mean of their values holds between
// them (single-precision 1e-5).
constexpr double SMOV_STEP = static_cast<double>(1e-5f);
constexpr double PI = 3.141592653589793;
constexpr double HALFPI = 1.5707963267948966;

int incrementsOf(int pile) { return std::clamp(PILESET.NINC(PILE.PSETNO(pile)), 1, MAXINC); }

// The points of the pile's distributed-load profile, as far as the profile table holds them.
int loadPoints(int pile) { return std::clamp(WRKNODE.DLNNODE(pile), 0, MAXINC + 1); }

// Value of a profile of np points (position xs(m), value vs(m)) at x: 0 outside the profile; a point's
// own value at the point; between two points closer than step the mean of the two, else linear.
template <class Pos, class Val>
double profileValue(int np, const Pos& xs, const Val& vs, double x, double step) {
    if (np < 1 || x < xs(1) || x > xs(np)) return 0.0;
    if (np == 1) return vs(1);
    int m = 2;
    while (m < np && xs(m) < x) ++m;
    const double x0 = xs(m - 1), x1 = xs(m);
    const double v0 = vs(m - 1), v1 = vs(m);
    if (std::fabs(x1 - x0) < step) return 0.5 * (v0 + v1);
    if (x == x1) return v1;
    return v0 + (x - x0) * (v1 - v0) / (x1 - x0);
}

void nodeLoads(int pile, NodeArray& load, bool alongZ) {
    const int n = incrementsOf(pile);
    const int np = loadPoints(pile);
    const double h = PILESET.PLEN(PILE.PSETNO(pile)) / n;
    const auto depth = [&](int m) { return WRKNODE.DLNDEPTH(m, pile); };
    const auto value = [&](int m) { return alongZ ? WRKNODE.DLNODEZ(m, pile) : WRKNODE.DLNODEY(m, pile); };
    for (int j = 1; j <= n + 1; ++j)
        load(j) = profileValue(np, depth, value, (j - 1) * h, RUNCONST.DLTOL);
}

void nodeMovement(int pile, NodeArray& move, bool alongZ) {
    const int n = incrementsOf(pile);
    const int np = std::clamp(SMOV.NSMOV, 0, MAXSMOV);
    const double head = PILE.HEADX(pile);
    const double ground = PILE.GROUND(pile);
    const auto at = [&](int m) { return SMPROF.SMPX(pile, m); };
    const auto value = [&](int m) { return alongZ ? SMPROF.SMPZ(pile, m) : SMPROF.SMPY(pile, m); };
    for (int j = 1; j <= n + 1; ++j) {
        const double x = NODES.NODEX(pile, j) - head;
        // No free-field movement above the ground surface.
        if (x < ground || np < 1 || x < at(1) || x > at(np)) {
            move(j) = 0.0;
            continue;
        }
        move(j) = profileValue(np, at, value, x, SMOV_STEP) * SMOV.SMFACT;
    }
}

void clearNodes(int pile, NodeArray& a) {
    const int n = incrementsOf(pile);
    for (int j = 1; j <= n + 1; ++j) a(j) = 0.0;
}

}  // namespace

void DLODNODY(int pile, NodeArray& load) { nodeLoads(pile, load, false); }
void DLODNODZ(int pile, NodeArray& load) { nodeLoads(pile, load, true); }

void SOILMOVP(int pile) {
    const int np = std::clamp(SMOV.NSMOV, 0, MAXSMOV);
    SmovPile& sp = SMPROF;
    for (int m = 1; m <= np; ++m) {
        sp.SMPX(pile, m) = SMOV.SMX(m) - PILE.HEADX(pile);
        const double my = SMOV.SMYIN(m), mz = SMOV.SMZIN(m);
        if (CTLIN.ANTYPE == 2) {
            // The plane: the horizontal movement's share across the battered pile.
            sp.SMPY(pile, m) = my * std::sin(HALFPI - PILE.BATTER(pile));
            sp.SMPZ(pile, m) = 0.0;
        } else {
            // The movement (0, Y, Z) in global axes resolved onto the pile's local y and z.
            const double a = PILE.ALPHA(pile), b = PILE.BETA(pile), t = PILE.THETA(pile);
            const double w1 = (std::cos(a) * my + std::sin(a) * mz) * std::sin(b);
            const double w2 = std::cos(a) * mz - std::sin(a) * my;
            sp.SMPY(pile, m) = std::cos(t) * w1 + std::sin(t) * w2;
            sp.SMPZ(pile, m) = std::cos(t) * w2 - std::sin(t) * w1;
        }
    }
}

void NODEZERO1(int pile, NodeArray& a) { clearNodes(pile, a); }
void NODEZERO2(int pile, NodeArray& a) { clearNodes(pile, a); }
void NODEZERO3(int pile, NodeArray& a) { clearNodes(pile, a); }

void SOILMOVX(int pile, NodeArray& move) { nodeMovement(pile, move, false); }
void SOILMOVY(int pile, NodeArray& move) { nodeMovement(pile, move, true); }

void prepareSoilMovement() {
    if (SMOV.NSMOV > 0) RUNCONST.PIWORD = PI;
}

}  // namespace kaldo
