// Liquefied sand (criterion code 11): fully liquefied sand, whose resistance per length is an empirical
// power law of the deflection with coefficients that grow with depth, scaled by a diameter factor and
// capped. The law is written in metres, millimetres and kilonewtons per metre; an English run converts
// depth, diameter and deflection to those units and the resistance back to pounds per inch (every other
// units system takes its internal values as they stand).
//
// No equivalent depth, no cap-level reaction and no small-deflection modulus: at zero deflection the
// spring is the secant at the first default point.
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/soils.h"
#include "services/colwrite.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

// The power law q(ymm) = A (B ymm)^C in kN/m with A = 3e-7 zm^6.05, B = 2.80 zm^0.11 and
// C = 2.85 zm^-0.41, zm the depth in metres plus one.
constexpr double A0 = s(3e-7f), A_EXP = s(6.05f);
constexpr double B0 = s(2.80f), B_EXP = s(0.11f);
constexpr double C0 = s(2.85f), C_EXP = s(0.41f);
// Diameter factor: b / 0.3 below 0.3 m, 3.81 ln b + 5.6 from there on (b in metres).
constexpr double PD_DIAM = s(0.3f), PD_SLOPE = s(3.81f), PD_CONST = s(5.6f);
constexpr double CAP_Y_MM = 150.0;  // the law stops growing at 150 mm
constexpr double CAP_P = 15.0;      // and never exceeds 15 kN/m (times the diameter factor)
// English conversions: inch to metre, half a diameter in inches to millimetres, inch to millimetre,
// kN/m to lb/in.
constexpr double M_PER_IN = s(0.0254f), HALF_MM_PER_IN = s(12.7f), MM_PER_IN = s(25.4f);
constexpr double LB_IN_PER_KN_M = s(5.7143f);

// Default print points: fractions of ymax, the smaller of 150 mm and the deflection at which the law
// reaches 15 kN/m.
constexpr double DEFAULT_FRACTIONS[17] = {s(0.0001f), s(0.02f), s(0.04f), s(0.08f), s(0.10f), s(0.15f),
                                          s(0.20f),   s(0.25f), s(0.30f), s(0.40f), s(0.50f), s(0.60f),
                                          s(0.70f),   s(0.80f), s(0.90f), 1.0,      s(1.1f)};

class LiquefiedSand : public Criterion {
public:
    LiquefiedSand() : Criterion(11) {}

    bool usesEquivalentDepth() const override { return false; }

    // The strength is read for the profile's extent only; the unit weight is shown in the heading.
    bool lookups(const Call& call, const Node& node) override {
        PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        evaluating_ = call.mode == Mode::Evaluate;
        return true;
    }

    void constants(const Call&, const Node& node) override {
        english_ = CTLIN.UNITS == 1;
        b_ = node.b;
        const double zm = english_ ? M_PER_IN * node.x + 1.0 : node.x + 1.0;
        const double bm = english_ ? M_PER_IN * b_ : b_;
        A_ = A0 * std::pow(zm, A_EXP);
        B_ = B0 * std::pow(zm, B_EXP);
        C_ = C0 * std::pow(zm, -C_EXP);
        Pd_ = bm < PD_DIAM ? bm / PD_DIAM : PD_SLOPE * std::log(bm) + PD_CONST;
        p150_ = law(CAP_Y_MM);
        const double halfDiameter = law(english_ ? HALF_MM_PER_IN * b_ : 500.0 * b_);
        pu_ = scaled(std::min({p150_, CAP_P, halfDiameter}));
        ymax_ = std::min(CAP_Y_MM, std::pow(CAP_P / A_, 1.0 / C_) / B_) / 1000.0;
    }

    // Trapezoids of h between the nodes of the layer (h the pile's first increment), and the rest of the
    // layer below its last node at the last node's resistance.
    void integrate(const Call& call, const Node& node, double& S) override {
        if (!node.first) S = S + 0.5 * (prevPu_ + pu_) * incrementBelow(call, 1);
        if (node.last) S = S + (SOILLAY.XBOT(call.layer) - node.X) * pu_;
        prevPu_ = pu_;
    }

    double curve(double y) const override {
        const double ymm = english_ ? MM_PER_IN * y : 1000.0 * y;
        return std::min(pu_, scaled(std::min({p150_, CAP_P, law(ymm)})));
    }

    // The secant at every deflection, with the multipliers. A node that moves exactly with the soil is
    // evaluated at the first default point, so that its modulus stays finite; a listed zero deflection
    // lists a zero reaction. The cap pass keeps no cap-level value.
    Spring spring(double y, const Scale& m) const override {
        Spring sp;
        sp.capValue = false;
        if (y == 0.0) {
            if (!evaluating_) return sp;
            y = defaultPoint(1);
        }
        sp.pc = curve(y);
        sp.pprime = m.pmul * sp.pc;
        sp.Es = sp.pprime / y / m.ymul;
        if (m.depth) sp.Es = sp.Es * m.pmd / m.ymd;
        return sp;
    }

    double defaultPoint(int i) const override {
        const double y = DEFAULT_FRACTIONS[i - 1] * ymax_;
        return english_ ? y * 1000.0 / MM_PER_IN : y;
    }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        u.line() << io::X{9} << "Depth below ground surface       = " << io::F{12, 3, UCVD12(node.x)} << io::X{1}
                 << io::A{2, lb.LBLCOORD};
        u.line() << io::X{9} << "Diameter                         = " << io::F{12, 3, UCVM1E3(b_)} << io::X{1}
                 << io::A{2, lb.LBLSECT};
        u.line() << io::X{9} << "Gamma Avg                        = "
                 << io::F{12, 5, UCVKIPDIV(UCVM1728(gamma_))} << io::X{1} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLCOORD} << "**" << "3";
        u.line() << io::X{9} << "Pu                               = " << io::F{12, 3, UCVKIPDIV(pu_)} << io::X{1}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN};
        u.line() << io::X{26} << "         y, " << io::A{2, lb.LBLLEN} << "            p, "
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN};
        u.line() << io::X{30} << "------------       -------------";
        plotNodeX(node.X);
    }

    // Every listed point carries the multipliers, on the cap pass as well.
    void listedPoint(const Node&, Mode, double y, const Spring& sp, const Scale& m, double& yl,
                     double& pl) const override {
        yl = y * m.ymul;
        pl = sp.pprime;
        if (m.depth) {
            yl *= m.ymd;
            pl *= m.pmd;
        }
    }

    void pointLines(const Node&, int, double, double yl, double pl, const Spring&) const override {
        io::Unit& echo = io::unit(ECHO_UNIT);
        WCOLBLNK(echo, 27);
        WCOLREAL(echo, 14, 5, yl);
        WCOLREAL(echo, 20, 5, UCVKIPDIV(pl));
        WCOLEOL(echo);
        plotRecord(yl, pl);
    }

    void plotRecord(double yl, double pl) const override {
        io::unit(PLOT_UNIT).line() << io::X{7} << io::PE{20, 8, yl} << io::PE{20, 8, pl};
    }

private:
    // The law in kN/m at a deflection in millimetres.
    double law(double ymm) const { return A_ * std::pow(B_ * ymm, C_); }
    // A capped value of the law (kN/m) times the diameter factor, in the run's force per length.
    double scaled(double kNm) const { return english_ ? LB_IN_PER_KN_M * Pd_ * kNm : Pd_ * kNm; }

    bool english_ = false;
    bool evaluating_ = true;
    double gamma_ = 0.0, b_ = 0.0;
    double A_ = 0.0, B_ = 0.0, C_ = 0.0, Pd_ = 0.0;  // the law and the diameter factor at the node
    double p150_ = 0.0, pu_ = 0.0, ymax_ = 0.0;      // caps, ultimate resistance, reference deflection (m)
    double prevPu_ = 0.0;                            // the previous node's pu, for the trapezoids
};

}  // namespace

void PYLIQSAND(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    LiquefiedSand crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
