// Stiff clay without free water (criterion codes 3 and 10): stiff clay above the water table, whose
// reaction grows with the fourth root of the deflection, scaled by y50, up to the ultimate resistance;
// cyclic loading stretches the deflection scale by the logarithm of the number of load cycles.
// Code 3 has no subgrade modulus: below the smallest deflection the secant of the static curve stands
// in. Code 10 adds an initial straight line of slope k x_e that caps the curve and is its initial
// modulus.
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/piles.h"
#include "model/soils.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "services/warning.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

constexpr double QUARTER = 0.25;          // exponent of the curve
constexpr double THREE_QUARTERS = 0.75;   // exponent of the secant at YMIN
constexpr double REACH = 16.0;            // the static curve reaches pu at 16 y50 (0.5 * 16^0.25 = 1)
constexpr double STRETCH = s(0.6f);       // cyclic stretch of the deflection scale per decade of cycles
constexpr double REACH_CYCLIC = s(9.6f);  // 16 times STRETCH: the cyclic reach per decade of cycles

// Default print points: fractions of ym, the deflection at which the curve reaches pu.
constexpr double DEFAULT_FRACTIONS[17] = {0.0,      s(0.00025f), s(0.0025f), s(0.0075f), s(0.02f), s(0.04f),
                                          s(0.06f), s(0.10f),    s(0.15f),   s(0.225f),  s(0.30f), s(0.40f),
                                          s(0.50f), s(0.65f),    s(0.80f),   1.0,        s(1.2f)};

// The report heading of a node: depth, diameter, strength at the node and its average, unit weight and
// E50, the equivalent depth, the column titles.
void nodeHeading(const Node& node, double c, double ca, double gamma, double e50, double xe) {
    const UnitLabels& lb = LABELS;
    plotNodeX(node.X);
    io::Unit& u = io::unit(ECHO_UNIT);
    u.blankLines(1);
    u.line() << io::X{10} << "DEPTH BELOW GS" << io::X{5} << "DIAM" << io::X{8} << "C" << io::X{7} << "CAVG"
             << io::X{6} << "GAMMA" << io::X{7} << "E50";
    {
        io::LineOut line = u.line();
        line << io::X{16} << io::A{2, lb.LBLCOORD} << io::X{12} << io::A{2, lb.LBLSECT} << io::X{5};
        const char* powers[3] = {"2", "2", "3"};
        for (int i = 0; i < 3; ++i) {
            line << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << powers[i];
            if (i < 2) line << io::X{1};
        }
    }
    u.line() << io::X{10} << io::F{10, 2, UCVD12(node.x)} << io::X{5} << io::F{10, 3, UCVM1E3(node.b)}
             << io::G{10, 2, UCVKIPDIV(UCVM144(c))} << io::G{10, 2, UCVKIPDIV(UCVM144(ca))}
             << io::G{10, 2, UCVKIPDIV(UCVM1728(gamma))} << io::G{12, 4, e50};
    eqDepthLine(xe);
    u.blankLines(1);
    u.line() << io::X{38} << "Y" << io::X{19} << "P";
    u.line() << io::X{38} << io::A{2, lb.LBLLEN} << io::X{15} << io::A{3, lb.LBLRFORCE} << "/"
             << io::A{2, lb.LBLLEN};
}

class StiffClay : public Criterion {
public:
    // initialK: code 10, with the initial line k x_e; otherwise code 3.
    explicit StiffClay(bool initialK) : Criterion(initialK ? 10 : 3), initialK_(initialK) {}

    // Strength, average strength, unit weight, E50 (the stiff-clay default where the input has none) and,
    // for code 10, k (likewise). Code 3 without any E50 (the generic units system has no default) has no
    // deflection scale at all: the run stops rather than take a step curve of infinite initial
    // stiffness; code 10 keeps its initial line and reaches pu at once.
    bool lookups(const Call& call, const Node& node) override {
        c_ = PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        if (!averageStrength(call, node)) return false;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        e50_ = PRFE50AT(node.X);
        if (e50_ <= 0.0) PYE50STIFF(c_, e50_, CTLIN.UNITS);
        if (initialK_) {
            k_ = PRFKAT(node.X);
            if (k_ <= 0.0) PYKCLAY(c_, k_, CTLIN.UNITS, CTLPAR.KSTATIC);
            return true;
        }
        if (e50_ <= 0.0) {
            writeWarning({"STIFF CLAY WITHOUT FREE WATER OF LAYER" + io::fmtI(3, call.layer) + " HAS NO E50 AT X =" +
                              io::fmtG(11, 4, node.X) + ",",
                          "AND THE UNITS SYSTEM GIVES NO DEFAULT FOR IT: THE P-Y CURVE CANNOT BE FORMED."});
            call.status = ST_BADVALUE;
            return false;
        }
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
        // The number of cycles under cyclic loading, a count of 0 or less taken as one cycle (a local
        // copy: the case's word is shared by every pile); static loading is one cycle.
        const double N = kstatic_ == 0 && CTLPAR.NCYCLES > 0.0 ? CTLPAR.NCYCLES : 1.0;
        const double decades = std::log10(N);
        stretch_ = 1.0 + STRETCH * decades;
        ym_ = kstatic_ == 0 ? (REACH + REACH_CYCLIC * decades) * y50_ : REACH * y50_;
    }

    // h pu per node with h the pile's first increment.
    void integrate(const Call& call, const Node& node, double& S) override {
        if (call.layer > 1 && node.first) return;
        const double h = incrementBelow(call, 1);
        // A head below the ground surface: the resistance between the ground and the head as a triangle.
        const double ground = PILE.GROUND(call.pile);
        if (call.layer == 1 && ground <= 0.0 && S <= 0.0) S = -0.5 * pu_ * ground;
        S = S + h * pu_;
    }

    double curve(double y) const override {
        const double p = kstatic_ == 0 ? std::min(rootBranch(y, stretch_), pu_)
                                       : (y <= REACH * y50_ ? rootBranch(y, 1.0) : pu_);
        return initialK_ ? std::min(p, k_ * xe_ * y) : p;
    }

    // The slope of the piece that holds y and the points just above it: the fourth root r has the slope
    // r / (4 y), the ultimate resistance 0; code 10's initial line where it lies below (the smaller
    // slope where they meet).
    bool curveSlope(double y, double, double& dp) const override {
        double p, slope;
        const bool cyclic = kstatic_ == 0;
        const double stretch = cyclic ? stretch_ : 1.0;
        const double root = rootBranch(y, stretch);
        if (y50_ <= 0.0 || (cyclic ? !(root < pu_) : !(y < REACH * y50_))) {
            p = cyclic ? std::min(root, pu_) : (y <= REACH * y50_ ? root : pu_);
            slope = 0.0;
        } else {
            p = root;
            slope = QUARTER * root / y;
        }
        dp = slope;
        if (initialK_) {
            const double kx = k_ * xe_, line = kx * y;
            dp = line < p ? kx : (line == p ? std::min(slope, kx) : slope);
        }
        return true;
    }

    // Code 10: the initial line. Code 3: the secant of the static curve at YMIN, under both loadings.
    bool initialModulus(double& E0) const override {
        E0 = initialK_ ? k_ * xe_ : 0.5 * pu_ * std::pow(y50_ / RUNCONST.YMIN, THREE_QUARTERS) / y50_;
        return true;
    }

    double defaultPoint(int i) const override { return DEFAULT_FRACTIONS[i - 1] * ym_; }

    void heading(const Call&, const Node& node) const override {
        nodeHeading(node, c_, ca_, gamma_, e50_, xe_);
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
            return call.status == ST_OK;
        }
        if (call.mode != Mode::Evaluate) {
            const double top = PRFCAT(SOILLAY.XTOP(call.layer), call.status);
            if (call.status != ST_OK) return false;
            ca_ = (c_ + top) / 2.0;
            return true;
        }
        if (node.first || !walking_) {
            walking_ = true;
            firstX_ = node.X;
            integral_ = 0.0;
            ca_ = c_;
        } else {
            integral_ = integral_ + 0.5 * (prevC_ + c_) * (node.X - prevX_);
            ca_ = integral_ / (node.X - firstX_);
        }
        prevC_ = c_;
        prevX_ = node.X;
        return true;
    }

    bool initialK_;
    int kstatic_ = 0;
    double c_ = 0.0, ca_ = 0.0, gamma_ = 0.0, e50_ = 0.0, k_ = 0.0;  // soil values at the node
    double xe_ = 0.0;                                                  // wedge depth
    double pu_ = 0.0, y50_ = 0.0, stretch_ = 1.0, ym_ = 0.0;           // curve constants
    // The running strength average over the layer's nodes.
    bool walking_ = false;
    double firstX_ = 0.0, prevX_ = 0.0, prevC_ = 0.0, integral_ = 0.0;
};

}  // namespace

void PYSTCLAY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
              const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    StiffClay crit(false);
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

void PYSTCLAYK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    StiffClay crit(true);
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}


}  // namespace kaldo
