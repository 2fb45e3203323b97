// Stiff clay with free water (criterion code 2): the ultimate resistance is the smaller of a wedge term
// on the average strength above the node and the flow term 11 c b. Under static loading the curve
// rises with the square root of y / y50, softens past As y50 and drops to a residual beyond 18 As y50;
// under cyclic loading it peaks at Ac pc and falls to a residual beyond 1.8 yp. As and Ac come from
// depth tables; every piece is capped by the initial line k x_e y.
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/pydrv.h"
#include "model/soils.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

constexpr double WEDGE = s(2.83f);      // the wedge term's factor on ca x_e
constexpr double SOFTEN = s(0.055f);    // static softening past As y50
constexpr double RESIDUAL = s(0.411f);  // static loss of resistance past 6 As y50, as a share of pc
constexpr double YP = s(4.1f);          // cyclic: yp = 4.1 Ac y50
constexpr double PEAK = s(0.45f);       // cyclic peak at 0.45 yp
constexpr double BEND = s(0.6f);        // the cyclic curve turns straight at 0.6 yp
constexpr double FLAT = s(1.8f);        // and flat at 1.8 yp
constexpr double CYC_TOP = s(0.936f);   // cyclic resistance at 0.6 yp as a share of Ac pc
constexpr double CYC_DROP = s(0.085f);  // cyclic slope after 0.6 yp, in pc per y50
constexpr double CYC_RES = s(0.102f);   // cyclic loss at 1.8 yp, in pc per y50 times yp
constexpr double STAT_F = s(1.225f);    // static residual share 1.225 sqrt(As) - 0.411 - 0.75 As
constexpr double CYC_F = s(0.418f);     // cyclic share 0.936 Ac - 0.418 As

class StiffClayWater : public Criterion {
public:
    StiffClayWater() : Criterion(2) {}

    // Strength, the average strength of the wedge, unit weight, E50 and k (or the stiff-clay defaults).
    bool lookups(const Call& call, const Node& node) override {
        c_ = PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        if (call.layer == 1) {
            ca_ = PRFCAVG(node.X, call.status);
        } else if (call.mode == Mode::Evaluate) {
            // Below the first layer: the running mean of c over the layer's nodes walked so far.
            if (node.first) {
                sumC_ = 0.0;
                xFirst_ = node.X;
                ca_ = c_;
            } else {
                sumC_ += 0.5 * (cPrev_ + c_) * (node.X - xPrev_);
                ca_ = sumC_ / (node.X - xFirst_);
            }
            cPrev_ = c_;
            xPrev_ = node.X;
        } else {
            // A listed curve has one node: the mean of c at the layer top and at the node.
            ca_ = 0.5 * (c_ + PRFCAT(SOILLAY.XTOP(call.layer), call.status));
        }
        if (call.status != ST_OK) return false;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        e50_ = PRFE50AT(node.X);
        if (e50_ <= 0.0) PYE50STIFF(c_, e50_, CTLIN.UNITS);
        k_ = PRFKAT(node.X);
        if (k_ <= 0.0) PYKCLAY(c_, k_, CTLIN.UNITS, CTLPAR.KSTATIC);
        return true;
    }

    // Where the wedge term at the layer top, measured from the true depth, already exceeds the flow
    // term, the layers above do not matter.
    bool crossesAtTop(const Call&, const Node& node) const override {
        return wedge(node.x, node.x, node.b) > 11.0 * c_ * node.b;
    }

    bool equivalentDepth(const Call& call, const Node& node) const override {
        return PYEQDEPTH(call.pile, call.layer, call.pset, node.b, c_, ca_, gamma_, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
                         node.x, 0.0, SAND_XB);
    }

    void constants(const Call& call, const Node& node) override {
        b_ = node.b;
        xe_ = node.xe;
        pc_ = std::min(wedge(node.x, xe_, b_), 11.0 * c_ * b_);
        // The factors at x_e / b_s, b_s the section diameter at depth x_e.
        const double X = PYDRV.GSURFP(call.pile) + xe_;
        As_ = CFASTAT(call.pile, call.pset, X);
        Ac_ = CFACYC(call.pile, call.pset, X);
        y50_ = e50_ * b_;
        yp_ = YP * Ac_ * y50_;
        kx_ = k_ * xe_;
        static_ = CTLPAR.KSTATIC == 1;
    }

    // The trapezoids of pc between the nodes, at the residual share of the loading.
    void integrate(const Call& call, const Node& node, double& S) override {
        if (!(call.layer > 1 && node.first)) {
            const double h = incrementBelow(call, call.first);
            const double F = static_ ? STAT_F * std::sqrt(As_) - RESIDUAL - 0.75 * As_ : CYC_TOP * Ac_ - CYC_F * As_;
            S += 0.5 * h * (pcPrev_ + pc_) * F;
        }
        pcPrev_ = pc_;
    }

    double curve(double y) const override {
        return std::min(static_ ? staticCurve(y) : cyclicCurve(y), kx_ * y);
    }

    bool initialModulus(double& E0) const override {
        E0 = kx_;
        return true;
    }

    // Static: steps of As y50 / 2 to 6 As y50, of 4 As y50 to 18 As y50, then 26 As y50. Cyclic: steps of
    // 0.05 yp to 0.6 yp, of 0.4 yp to 1.8 yp, then 10 yp.
    double defaultPoint(int i) const override {
        if (!static_ && i == 17) return 10.0 * yp_;
        const double fine = static_ ? 0.5 * As_ * y50_ : s(0.05f) * yp_;
        const double coarse = static_ ? 4.0 * As_ * y50_ : s(0.4f) * yp_;
        double y = 0.0;
        for (int k = 2; k <= i; ++k) y += k <= 13 ? fine : k <= 16 ? coarse : 2.0 * coarse;
        return y;
    }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        u.line() << io::X{9} << "DEPTH BELOW GS" << io::X{6} << "DIAM" << io::X{8} << "C" << io::X{9} << "CAVG"
                 << io::X{6} << "GAMMA" << io::X{8} << "E50";
        {
            io::LineOut line = u.line();
            line << io::X{15} << io::A{2, lb.LBLCOORD} << io::X{13} << io::A{2, lb.LBLSECT} << io::X{5};
            for (int k = 0; k < 2; ++k)
                line << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "2" << io::X{2};
            line << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "3";
        }
        u.line() << io::X{9} << io::F{10, 2, UCVD12(node.x)} << io::X{5} << io::F{10, 3, UCVM1E3(b_)} << io::X{1}
                 << io::G{10, 2, UCVKIPDIV(UCVM144(c_))} << io::X{1} << io::G{10, 2, UCVKIPDIV(UCVM144(ca_))}
                 << io::X{1} << io::G{10, 2, UCVKIPDIV(UCVM1728(gamma_))} << io::G{12, 4, e50_};
        u.line() << io::X{9} << "AS =" << io::F{5, 2, As_} << "," << io::X{4} << "AC =" << io::F{5, 2, Ac_} << ","
                 << io::X{4} << "EQ. DEPTH =" << io::F{8, 2, UCVD12(xe_)} << io::X{1} << io::A{2, lb.LBLCOORD};
        u.blankLines(1);
        u.line() << io::X{37} << "Y," << io::A{2, lb.LBLLEN} << io::X{13} << "P," << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
        plotNodeX(node.X);
    }

private:
    // Wedge term: overburden on the true depth x, the 2.83 ca term on the wedge depth xe.
    double wedge(double x, double xe, double b) const { return (gamma_ * x + 2.0 * ca_) * b + WEDGE * ca_ * xe; }

    double staticCurve(double y) const {
        const double yA = As_ * y50_;
        if (y <= yA) return 0.5 * pc_ * std::sqrt(y / y50_);
        if (y <= 6.0 * yA) return 0.5 * pc_ * std::sqrt(y / y50_) - SOFTEN * pc_ * std::pow(y / yA - 1.0, 1.25);
        const double atSix = 0.5 * pc_ * std::sqrt(6.0 * As_) - RESIDUAL * pc_;
        if (y <= 18.0 * yA) return atSix - 0.0625 * pc_ * (y - 6.0 * yA) / y50_;
        return atSix - 0.75 * As_ * pc_;
    }

    double cyclicCurve(double y) const {
        if (y <= BEND * yp_) return Ac_ * pc_ * (1.0 - std::pow(std::fabs((y - PEAK * yp_) / (PEAK * yp_)), 2.5));
        if (y <= FLAT * yp_) return CYC_TOP * Ac_ * pc_ - CYC_DROP * pc_ * (y - BEND * yp_) / y50_;
        return CYC_TOP * Ac_ * pc_ - CYC_RES * pc_ * yp_ / y50_;
    }

    double c_ = 0.0, ca_ = 0.0, gamma_ = 0.0, e50_ = 0.0, k_ = 0.0;  // soil values at the node
    double sumC_ = 0.0, xFirst_ = 0.0, cPrev_ = 0.0, xPrev_ = 0.0;  // running mean strength of the layer
    double b_ = 0.0, xe_ = 0.0, pc_ = 0.0, As_ = 0.0, Ac_ = 0.0;    // diameter, wedge depth, resistance
    double y50_ = 0.0, yp_ = 0.0, kx_ = 0.0;                        // curve constants
    bool static_ = true;
    double pcPrev_ = 0.0;  // resistance of the node evaluated before, for the trapezoids
};

}  // namespace

void PYSTCLAYW(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    StiffClayWater crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
