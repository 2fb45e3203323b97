// User p-y curves within a layer (criterion code 5): inside a layer of this criterion the soil
// resistance comes from the pile's own set of user p-y curves, interpolated between the two curves whose
// X bracket the node (along each curve in deflection). Unlike the user curves along a whole pile it
// serves only the nodes of its layer. It serves the analysis only: it lists no curve.
#include <cmath>
#include <cstdlib>
#include <string>

#include "io/format.h"
#include "model/curves.h"
#include "model/input.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/pymode.h"
#include "model/runblocks.h"
#include "model/sections.h"
#include "services/status.h"
#include "services/unitno.h"
#include "services/warning.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

// The cap level at which an embedded cap's reaction is read off the curves, as a share of the head X.
constexpr double CAP_LEVEL = s(0.99f);

class UserLayer : public Criterion {
public:
    UserLayer() : Criterion(0) {}

    bool lists() const override { return false; }
    bool takesCapWidth() const override { return false; }
    bool usesEquivalentDepth() const override { return false; }

    // The pile's curve set (a negative set number counts by its absolute value). On the cap pass of a
    // passive-resistance cap, the cap's reaction: the curves' own value at the cap level for the cap's
    // displacement, without any multiplier.
    bool lookups(const Call& call, const Node& node) override {
        if (set_ == 0 && !chooseSet(call)) return false;
        if (node.capPass && CTLIN.CAPOPT == 1) {
            bracket(CAP_LEVEL * PILE.HEADXW(call.pile));
            const double yr = PYMODE.CAPHDISP;
            const double pc = value(deep_, yr);
            PYDRV.PCAPLV(call.pile) = single_ ? pc : between(pc, value(deep_ - 1, yr));
        }
        return true;
    }

    void constants(const Call& call, const Node& node) override {
        bracket(node.X);
        h_ = PILESET.HINC(call.pset);
    }

    // The resistance the layer builds up: each node's ultimate value (the last point of its curves,
    // interpolated in depth) over the pile's increment length.
    void integrate(const Call&, const Node&, double& S) override {
        const double uc = ultimate(deep_);
        const double u = single_ ? uc : between(uc, ultimate(deep_ - 1));
        S = S + u * h_;
    }

    // The reaction of the deeper curve at deflection y (at least YMIN).
    double curve(double y) const override { return value(deep_, atLeastYmin(y)); }

    // The secant moduli of the two curves interpolated in depth; the reaction is the deeper curve's.
    Spring spring(double y, const Scale& m) const override {
        const double Q = atLeastYmin(y);
        auto secant = [&](double pj) {
            double e = m.pmul * pj / (Q * m.ymul);
            if (m.depth) e = e * m.pmd / m.ymd;
            return e;
        };
        Spring sp;
        sp.capValue = false;  // the cap's own reaction is set from the curves at the cap level
        sp.pc = value(deep_, Q);
        sp.pprime = m.pmul * sp.pc;
        const double Es = secant(sp.pc);
        sp.Es = single_ ? Es : between(Es, secant(value(deep_ - 1, Q)));
        return sp;
    }

    double defaultPoint(int) const override { return 0.0; }

private:
    static double atLeastYmin(double y) { return y > RUNCONST.YMIN ? y : RUNCONST.YMIN; }

    // The set of the pile, or false (with the run stopped) when the pile names none: the layer has no
    // curves for it.
    bool chooseSet(const Call& call) {
        const int s = std::abs(PILE.PYCRV(call.pile));
        if (s >= 1 && s <= MAXPYSET && PYUSR.PYNCRV(s) >= 1) {
            set_ = s;
            n_ = PYUSR.PYNCRV(s) < MAXPYCRV ? PYUSR.PYNCRV(s) : MAXPYCRV;
            c_ = n_ < 2 ? n_ : 2;
            return true;
        }
        writeWarning({"LAYER" + io::fmtI(3, call.layer) + " TAKES ITS P-Y CURVES FROM THE USER CURVES OF THE PILE,",
                      "BUT PILE" + io::fmtI(6, call.pile) + " HAS NO USER P-Y CURVE SET (" +
                          io::fmtI(4, PILE.PYCRV(call.pile)) + ")."});
        call.status = ST_BADVALUE;
        return false;
    }

    // The curves that bracket X: the pointer c to the deeper one only moves down, from curve 2, over the
    // whole call. X on a curve takes that curve alone; X above the first curve extends curves 1 and 2.
    // Below the deepest curve the deepest curve alone stands in, and the solver is told that the curves
    // do not reach the pile's depth (once per call).
    void bracket(double X) {
        X_ = X;
        while (c_ <= n_ && PYUSR.PYX(set_, c_) < X) ++c_;
        if (c_ > n_) {
            c_ = n_ + 1;
            deep_ = n_;
            single_ = true;
            if (!tooShort_) {
                tooShort_ = true;
                writeRecordTo({ECHO_UNIT}, {"", "", "     P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE"});
                raiseSolverState(SOLVER_CURVES_SHORT);
            }
            return;
        }
        deep_ = c_;
        // A single curve in the set, or two curves at the same X, give no depth interpolation.
        single_ = c_ == 1 || X == PYUSR.PYX(set_, c_) || PYUSR.PYX(set_, c_) == PYUSR.PYX(set_, c_ - 1);
    }

    // A value at X between curve deep - 1 (value above) and the deeper curve (value vc), linear in X.
    double between(double vc, double above) const {
        const double xc = PYUSR.PYX(set_, deep_), xa = PYUSR.PYX(set_, deep_ - 1);
        return vc - (vc - above) * (xc - X_) / (xc - xa);
    }

    int points(int j) const { return userCurvePoints(set_, j); }
    double value(int j, double y) const { return userCurveReaction(set_, j, y); }

    // The ultimate value of curve j: the reaction of its last point.
    double ultimate(int j) const {
        const int last = points(j);
        return PYUSR.PYP(set_, j, last < 1 ? 1 : last);
    }

    int set_ = 0, n_ = 0;
    int c_ = 2;              // the forward-only pointer to the deeper bracketing curve
    int deep_ = 1;           // the deeper curve of the node (or its single curve)
    bool single_ = true;     // the node takes one curve alone
    bool tooShort_ = false;  // the curves' end has been reported in this call
    double X_ = 0.0;         // the X at which the bracket was taken
    double h_ = 0.0;         // increment length of the pile
};

}  // namespace

namespace py {

int userCurvePoints(int s, int j) { return PYUSR.PYNPT(s, j) < MAXCRVPT ? PYUSR.PYNPT(s, j) : MAXCRVPT; }

double userCurveReaction(int s, int j, double y) {
    const int last = userCurvePoints(s, j);
    int k = 2;
    while (k <= last && PYUSR.PYY(s, j, k) < y) ++k;
    if (k > last) return PYUSR.PYP(s, j, last < 1 ? 1 : last);
    const double yk = PYUSR.PYY(s, j, k), pk = PYUSR.PYP(s, j, k);
    if (yk == y) return pk;
    // Read from the segment's lower point: near it (the curve read at 1e-14 for the modulus at zero
    // deflection) a reading back from the upper point would be lost in cancellation.
    const double ya = PYUSR.PYY(s, j, k - 1), pa = PYUSR.PYP(s, j, k - 1);
    return pa + (pk - pa) * (y - ya) / (yk - ya);
}

}  // namespace py

void PYUSERLAY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    UserLayer crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
