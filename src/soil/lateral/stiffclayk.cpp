// Stiff clay without free water with an initial modulus (criterion code 10): stiff clay above the water
// table, whose reaction grows with the fourth root of the deflection up to the ultimate resistance,
// stretched along the deflection by the number of load cycles under cyclic loading, and capped by an
// initial straight line of slope k x_e.
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/piles.h"
#include "model/soils.h"
#include "run/ucv.h"
#include "run/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

constexpr double QUARTER = 0.25;        // exponent of the curve
constexpr double REACH = 16.0;          // the static curve reaches pu at 16 y50 (0.5 * 16^0.25 = 1)
constexpr double STRETCH = s(0.6f);     // cyclic stretch of the deflection scale per decade of cycles
constexpr double REACH_CYCLIC = s(9.6f);  // 16 times STRETCH: the cyclic reach per decade of cycles

// Default print points: fractions of ym, the deflection at which the curve reaches pu.
constexpr double DEFAULT_FRACTIONS[17] = {0.0,      s(0.00025f), s(0.0025f), s(0.0075f), s(0.02f), s(0.04f),
                                          s(0.06f), s(0.10f),    s(0.15f),   s(0.225f),  s(0.30f), s(0.40f),
                                          s(0.50f), s(0.65f),    s(0.80f),   1.0,        s(1.2f)};

class StiffClayK : public Criterion {
public:
    StiffClayK() : Criterion(10) {}

    // Strength, average strength, unit weight, E50 and k (the stiff-clay defaults where the input has
    // none).
    bool lookups(const Call& call, const Node& node) override {
        c_ = PRFCAT(node.X, call.status);
        if (call.status != 0) return false;
        if (!averageStrength(call, node)) return false;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != 0) return false;
        e50_ = PRFE50AT(node.X);
        if (e50_ <= 0.0) PYE50STIFF(c_, e50_, CTLIN.UNITS);
        k_ = PRFKAT(node.X);
        if (k_ <= 0.0) PYKCLAY(c_, k_, CTLIN.UNITS, CTLPAR.KSTATIC);
        return true;
    }

    // The flow resistance 9 c b already governs at the layer top: the wedge of the layers above no
    // longer matters.
    bool crossesAtTop(const Call&, const Node& node) const override {
        return 9.0 * c_ * node.b < (gamma_ * node.b + 0.5 * ca_) * node.x + 3.0 * node.b * ca_;
    }

    bool equivalentDepth(const Call& call, const Node& node) const override {
        return PYEQDEPTH(call.pile, call.layer, call.pset, node.b, c_, ca_, gamma_, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
                         node.x, 0.0, SAND_XB);
    }

    void constants(const Call&, const Node& node) override {
        xe_ = node.xe;
        // The overburden term on the true depth, the wedge term on the wedge depth.
        pu_ = std::min((gamma_ * node.x + 3.0 * ca_) * node.b + 0.5 * ca_ * xe_, 9.0 * c_ * node.b);
        y50_ = 2.5 * e50_ * node.b;
        kstatic_ = CTLPAR.KSTATIC;
        // The number of cycles of the case, a count of 0 or less taken as one cycle (a local copy: the
        // case's word is shared by every pile).
        const double N = CTLPAR.NCYCLES > 0.0 ? CTLPAR.NCYCLES : 1.0;
        const double decades = std::log10(N);
        stretch_ = 1.0 + STRETCH * decades;
        ym_ = kstatic_ == 0 ? (REACH + REACH_CYCLIC * decades) * y50_ : REACH * y50_;
    }

    // h pu per node with h the pile's first increment, under both loadings.
    void integrate(const Call& call, const Node& node, double& S) override {
        if (call.layer > 1 && node.first) return;
        const double h = incrementBelow(call, 1);
        // A head below the ground surface: the resistance between the ground and the head as a triangle.
        const double ground = PILE.GROUND(call.pile);
        if (call.layer == 1 && ground <= 0.0 && S <= 0.0) S = -0.5 * pu_ * ground;
        S = S + h * pu_;
    }

    double curve(double y) const override {
        double p;
        if (kstatic_ == 0)
            p = std::min(rootBranch(y, stretch_), pu_);
        else
            p = y <= REACH * y50_ ? rootBranch(y, 1.0) : pu_;
        return std::min(p, k_ * xe_ * y);
    }

    bool initialModulus(double& E0) const override {
        E0 = k_ * xe_;
        return true;
    }

    double defaultPoint(int i) const override { return DEFAULT_FRACTIONS[i - 1] * ym_; }

    void heading(const Call&, const Node& node) const override {
        stiffClayHeading(node, c_, ca_, gamma_, e50_, xe_);
    }

private:
    // 0.5 pu (y / (stretch y50))^(1/4); without a y50 (no E50 and no default for it) the curve is at pu
    // at once.
    double rootBranch(double y, double stretch) const {
        if (y50_ <= 0.0) return pu_;
        return 0.5 * pu_ * std::pow(y / (stretch * y50_), QUARTER);
    }

    // The average strength ca of the near-surface resistance: from the ground surface in the first
    // layer; below it, over the layer itself: while the load cases run the running trapezoid average
    // over the layer's nodes so far, in a listing (which sees one node) the mean of the strengths at the
    // layer top and at the node.
    bool averageStrength(const Call& call, const Node& node) {
        if (call.layer == 1) {
            ca_ = PRFCAVG(node.X, call.status);
            return call.status == 0;
        }
        if (call.mode != Mode::Evaluate) {
            const double top = PRFCAT(SOILLAY.XTOP(call.layer), call.status);
            if (call.status != 0) return false;
            ca_ = (top + c_) / 2.0;
            return true;
        }
        if (node.first || !walking_) {
            walking_ = true;
            firstX_ = node.X;
            integral_ = 0.0;
            ca_ = c_;
        } else {
            integral_ = integral_ + (prevC_ + c_) / 2.0 * (node.X - prevX_);
            ca_ = integral_ / (node.X - firstX_);
        }
        prevC_ = c_;
        prevX_ = node.X;
        return true;
    }

    int kstatic_ = 0;
    double c_ = 0.0, ca_ = 0.0, gamma_ = 0.0, e50_ = 0.0, k_ = 0.0;  // soil values at the node
    double xe_ = 0.0;                                                  // wedge depth
    double pu_ = 0.0, y50_ = 0.0, stretch_ = 1.0, ym_ = 0.0;           // curve constants
    // The running strength average over the layer's nodes.
    bool walking_ = false;
    double firstX_ = 0.0, prevX_ = 0.0, prevC_ = 0.0, integral_ = 0.0;
};

}  // namespace

void PYSTCLAYK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    StiffClayK crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
