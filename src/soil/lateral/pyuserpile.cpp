// User p-y curves along a pile: the springs of a pile whose arrangement row names a set of user p-y
// curves, by interpolation in the curves, along each curve in deflection and between the two curves
// whose X bracket the node.
//
// Runs on the pile loops' threads for every such pile at every iteration: it reads the curve tables,
// writes the caller's arrays and the pile's own GSURFP and PCAPLV, and on failure raises RUNSOLVST and
// writes one whole record. No allocation, no file work on the way through.
#include <cmath>
#include <cstdlib>
#include <string>

#include "io/format.h"
#include "model/curves.h"
#include "model/input.h"
#include "model/modelinput.h"
#include "model/pilefac.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/pymode.h"
#include "model/runblocks.h"
#include "model/sections.h"
#include "services/warning.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

// The cap level at which the cap's reaction is read off the curves, as a share of the head X.
constexpr double CAP_LEVEL = py::s(0.99f);

// The curves of set s and the forward-only pointer c to the deeper curve of the bracketing pair.
class Bracket {
public:
    explicit Bracket(int set) : s_(set), n_(PYUSR.PYNCRV(set) < MAXPYCRV ? PYUSR.PYNCRV(set) : MAXPYCRV) {}

    // Moves the pointer down to the first curve at or below X; false when the set's curves end above X.
    bool reach(double X) {
        while (PYUSR.PYX(s_, c_) < X) {
            if (++c_ > n_) return false;
        }
        return true;
    }
    // The node lies exactly on curve c: that curve alone gives its spring.
    bool single(double X) const { return X == PYUSR.PYX(s_, c_); }
    int deeper() const { return c_; }
    // A value at X between curve c - 1 (value above) and curve c (value vc), linear in X.
    double between(double vc, double above, double X) const {
        return vc - (vc - above) * (PYUSR.PYX(s_, c_) - X) / (PYUSR.PYX(s_, c_) - PYUSR.PYX(s_, c_ - 1));
    }

    // Curve j's reaction at deflection y.
    double value(int j, double y) const { return py::userCurveReaction(s_, j, y); }

private:
    int s_;
    int n_;
    int c_ = 2;
};

void curvesTooShort(int pile) {
    const std::string text = "  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE";
    writeRecordWhole({"", "", text + ", PILE GROUP = " + io::fmtI(5, pile)});
    raiseSolverState(SOLVER_CURVES_SHORT);
}

}  // namespace

void PYUSERPILE(int pile, const SlotArray& y, SlotArray& Es, const SlotArray& smov1, const SlotArray& smov2,
                SlotArray& esy, SlotArray& p) {
    const int kpyop = CTLIN.KPYOP;
    const double headX = PILE.HEADXW(pile);
    if (kpyop == 0 || kpyop == 1) PYDRV.GSURFP(pile) = headX + PILE.GROUND(pile);
    Bracket curves(std::abs(PILE.PYCRV(pile)));

    // The cap pass of a passive-resistance cap: the curves' own reaction at the cap level for the cap's
    // displacement, without any multiplier.
    if (CTLIN.CAPOPT == 1) {
        const double X = CAP_LEVEL * headX;
        const double yr = PYMODE.CAPHDISP;
        if (!curves.reach(X)) {
            curvesTooShort(pile);
            return;
        }
        const int c = curves.deeper();
        const double pc = curves.value(c, yr);
        PYDRV.PCAPLV(pile) = curves.single(X) ? pc : curves.between(pc, curves.value(c - 1, yr), X);
    }

    const int set = PILE.PSETNO(pile);
    const int n = PILESET.NINC(set) < MAXINC ? PILESET.NINC(set) : MAXINC;
    const double h = PILESET.HINC(set);
    const double pmul = PILEFAC.PMUL(pile), ymul = PILEFAC.YMUL(pile);
    for (int i = 0; i <= n; ++i) {
        const int k = i + 4;
        // Multipliers along depth, by the node's distance below the pile head.
        int mset = 0;
        double pm = 1.0, ym = 1.0;
        if (CTLIN.KRFDEP == 1) PYMULT(pile, mset, i * h, pm, ym);

        const double X = headX + i * h;
        if (X < 0.0) {
            Es(k) = 0.0;
            continue;
        }
        double D = 0.0;
        if (SMOV.NSMOV > 0) D = std::sqrt(smov1(k) * smov1(k) + smov2(k) * smov2(k));
        double yr = std::fabs(y(k) - D);
        if (yr < RUNCONST.YMIN) yr = RUNCONST.YMIN;

        if (!curves.reach(X)) {
            curvesTooShort(pile);
            return;
        }
        const int c = curves.deeper();
        auto secant = [&](double pj) {
            double e = pmul * pj / (yr * ymul);
            if (mset > 0) e = e * pm / ym;
            return e;
        };
        const double pc = curves.value(c, yr);
        const double Esc = secant(pc);
        Es(k) = curves.single(X) ? Esc : curves.between(Esc, secant(curves.value(c - 1, yr)), X);
        if (kpyop == 0 && SMOV.NSMOV > 0) esy(k) = Es(k) * D;
        // The reaction is the deeper curve's, opposing the deflection relative to the soil.
        double pk = y(k) > D ? -pmul * pc : pmul * pc;
        if (mset > 0) pk *= pm;
        p(k) = pk;
    }
}

}  // namespace kaldo
