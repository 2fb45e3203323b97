// Axial force along one pile of the group by the t-z method: the pile's side and tip curves, and the
// tip movement whose march up the pile reproduces the head movement that the group solution imposes.
//
// These routines run on the pile loops' threads, one pile per call: they read the shared model tables,
// write only the caller's curves and node arrays, and raise the shared solver state on failure.
#include <algorithm>
#include <cmath>
#include <string>

#include "model/input.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "model/sections.h"
#include "model/tzset.h"
#include "services/status.h"
#include "services/warning.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"

namespace kaldo {

using namespace axl;

namespace {

// Evaluations of the head movement after the first estimate; one more fails the pile.
constexpr int MAXSOLVE = 25;
// Half the step of the central difference on the tip movement.
constexpr double DWSTEP = sp(1e-6f);
// Convergence of the head movement: relative, loosened after ten evaluations; absolute near zero.
constexpr double HEADTOL = sp(0.0001f);
constexpr double HEADTOL_LATE = sp(0.001f);
constexpr double ZEROHEAD = sp(1e-14f);

// Two points (head movement, tip movement) around the imposed head movement: the low one below it.
struct Bracket {
    double Hlo = 0.0, wlo = 0.0, Hhi = 0.0, whi = 0.0;
};

double secant(const Bracket& b, double E, double fallback) {
    const double span = b.Hhi - b.Hlo;
    if (span == 0.0) return fallback;
    return b.wlo + (E - b.Hlo) * (b.whi - b.wlo) / span;
}

// First estimate of the tip movement from the generated load-settlement points of property set M
// (head and tip movements of the uplift points, the origin and the compression points). Returns false
// when E lies beyond either end of the curve: the estimate is then that end's tip movement.
bool firstEstimate(int M, double E, double& wt, Bracket& b) {
    const AxlStab& t = AXLSTAB;
    if (E < t.LSWHEAD(M, 1)) {
        wt = t.LSWTIP(M, 1);
        return false;
    }
    if (E > t.LSWHEAD(M, NLSROWS)) {
        wt = t.LSWTIP(M, NLSROWS);
        return false;
    }
    int l = 2;
    while (l < NLSROWS && !(t.LSWHEAD(M, l) > E)) ++l;
    b = {t.LSWHEAD(M, l - 1), t.LSWTIP(M, l - 1), t.LSWHEAD(M, l), t.LSWTIP(M, l)};
    wt = secant(b, E, b.whi);
    return true;
}

// The pile as the march sees it: property set M placed by pile ip, its curves, its increments along
// the axis and in depth (with the batter adjustment), and the perimeter of its top diameter.
AxialPile marchedPile(int ip, int M, const TzSet& set, const AxAeTab& ae, const QwTip& tip) {
    const int ninc = PILESET.NINC(M);
    const double L = PILESET.PLEN(M);
    const double Lv = CTLIN.KBATDEP == 1 ? L * std::cos(PILE.BATTER(ip)) : L;
    const double D = SECTTAB.SECTDIAM(M, 1, SectTab::TOP);
    return AxialPile{set, tip, ae, ninc, L / ninc, Lv / ninc, Lv, PILE.HEADXW(ip), PI_AX * D};
}

}  // namespace

void AXLTZPILE(int ip, int M, double /*E*/, int& status, TzSet& set, AxAeTab& ae) {
    // The side curves need a known pile type. The fault record goes out whole, as many piles may meet
    // the same property set at once.
    const int ptype = PILESET.PTYPE(M);
    if (ptype != 1 && ptype != 2) {
        writeRecordWhole({"    **** KALDO ERROR " + std::to_string(ST_BADVALUE) + " ****",
                          "    PILE TYPE " + std::to_string(ptype) + " OF PILE PROPERTY SET " + std::to_string(M) +
                              " (PILE " + std::to_string(ip) +
                              ") IS NEITHER 1 (DRIVEN PILE) NOR 2 (DRILLED SHAFT): NO LOAD-TRANSFER CURVES"});
        if (status == ST_OK) status = ST_BADVALUE;
        return;
    }
    buildSideCurves(M, ip, true, set, status);
    if (status != ST_OK) return;
    buildAxialRigidity(M, ae);
}

void AXLQWTIP(int ip, int M, double E, int& status, const TzSet& set, QwTip& tip) {
    buildTipCurve(M, ip, E < 0.0, TipRule::Group, set, tip, status);
}

void AXLSOLVE(int ip, int M, double E, int& /*status*/, int /*count*/, SlotArray& R, SlotArray& S,
              const TzSet& set, const AxAeTab& ae, const QwTip& tip) {
    const AxialPile pile = marchedPile(ip, M, set, ae, tip);
    const int ninc = pile.ninc;

    double wt = 0.0;
    Bracket b;
    const bool inside = firstEstimate(M, E, wt, b);
    // The direction of the head movement, for the Newton step on the tip movement's magnitude.
    const double sigma = E < 0.0 ? -1.0 : 1.0;

    TipUpValues P{}, W{};
    for (int i = 0; i <= MAXSOLVE; ++i) {
        // The march runs with the magnitude of the tip movement; uplift is written negated.
        const double aw = std::fabs(wt);
        const double dw = aw < DWSTEP ? 0.5 * aw : DWSTEP;
        const double sign = wt <= 0.0 ? -1.0 : 1.0;
        double head[3] = {0.0, 0.0, 0.0};
        const double K[3] = {aw - dw, aw + dw, aw};
        for (int m = 0; m < 3; ++m) {
            if (marchAxial(pile, K[m], P, W) < ninc) {
                // A segment whose midpoint movement does not settle: the pile cannot be solved at this
                // head movement. R and S keep the last complete march.
                raiseSolverState(SOLVER_AXIAL_FAILURE);
                return;
            }
            head[m] = sign * W(ninc + 1);
        }
        // Node k of the march (1 at the tip) is node NINC + 2 - k from the head, at slot NINC + 5 - k.
        for (int k = 1; k <= ninc + 1; ++k) {
            R(ninc + 5 - k) = sign * W(k);
            S(ninc + 5 - k) = sign * P(k);
        }
        if (!inside) return;

        const double H = head[2];
        const double diff = E - H;
        if (std::fabs(E) < ZEROHEAD) {
            if (std::fabs(diff) <= HEADTOL) return;
        } else {
            const double rel = std::fabs(diff / E);
            if (rel <= HEADTOL || (i > 10 && rel <= HEADTOL_LATE)) return;
        }
        if (i == MAXSOLVE) break;

        // Narrow the bracket with this evaluation and take the secant estimate within it; a Newton
        // step from this evaluation, on the slope of the central difference, replaces it when it stays
        // inside the bracket.
        if (H > E) {
            b.Hhi = H;
            b.whi = wt;
        } else {
            b.Hlo = H;
            b.wlo = wt;
        }
        const double slopeSpan = head[1] - head[0];
        wt = secant(b, E, wt);
        if (slopeSpan != 0.0) {
            const double wn = sigma * (2.0 * dw / slopeSpan * diff + aw);
            if (wn >= std::min(b.wlo, b.whi) && wn <= std::max(b.wlo, b.whi)) wt = wn;
        }
    }
    // The head movement was not matched within the evaluations allowed.
    raiseSolverState(SOLVER_AXIAL_FAILURE);
}

}  // namespace kaldo
