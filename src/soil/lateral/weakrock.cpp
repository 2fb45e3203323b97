// Weak rock (criterion code 9): a straight line of the rock's initial modulus up to a transition
// deflection, then a reaction that grows with the fourth root of the deflection up to the ultimate
// resistance. The rock is described by its uniaxial compressive strength qu (the strength column of the
// profile), its RQD (the J / RQD column), the strain factor krm (the E50 column) and its initial modulus
// Er (the rock-modulus column).
//
// One pass over the layer's nodes with the section diameter: no cap pass, no cap width, no equivalent
// depth. The straight line plays the part of a small-deflection modulus.
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
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

// The strength under which the rock counts as having none.
constexpr double NO_STRENGTH = 1e-10;

constexpr double DEPTH_SHIFT = s(1e-8f);        // keeps the resistance depth x' off zero at the ground line
constexpr double RQD_SCALE = s(1.0f / 150.0f);  // strength reduction 1 - RQD / 150
constexpr double WEDGE_SLOPE = s(1.4f);         // near-surface resistance 2 ar qa (b + 1.4 x')
constexpr double DEEP = s(10.4f);               // deep resistance 10.4 ar qa b (5.2 ar qu b)
constexpr double QUARTER = 0.25;                // exponent of the curve beyond the line
constexpr double FOUR_THIRDS = 4.0 / 3.0;       // exponent of the transition deflection (exact)

// Default print points: fractions of yrm = krm b.
constexpr double DEFAULT_FRACTIONS[17] = {s(0.0005f), s(0.001f), s(0.003f), s(0.006f), s(0.009f), s(0.02f),
                                          s(0.04f),   s(0.06f),  s(0.08f),  s(0.10f),  s(0.25f),  s(0.5f),
                                          s(0.75f),   1.0,       4.0,       8.0,       12.0};

// The rock below the first node of a weak-rock layer has no strength: the run cannot go on. The record
// goes whole to the echo report and then the runtime file.
void zeroStrength(int& status) {
    writeRecordTo({ECHO_UNIT, RUNTIME_UNIT}, {"", "       --------------------WARNING----------------------",
                      "       THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK ",
                      "       ACCORDING TO THE INPUT DATA.",
                      "       PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
    status = ST_ROCK_NO_STRENGTH;
}

class WeakRock : public Criterion {
public:
    WeakRock() : Criterion(9) {}

    bool hasCapPass() const override { return false; }
    bool hasCapZoneRule() const override { return false; }
    bool takesCapWidth() const override { return false; }
    bool usesEquivalentDepth() const override { return false; }

    bool lookups(const Call& call, const Node& node) override {
        const double qu = PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        q_ = 0.5 * qu;
        // A first node without strength passes: it may be the layer's top at a boundary.
        if (!node.first && q_ < NO_STRENGTH) {
            zeroStrength(call.status);
            return false;
        }
        rqd_ = PRFCOL7(node.X);
        if (!averageStrength(call, node)) return false;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        krm_ = PRFE50AT(node.X);
        er_ = PRFK2AT(node.X);
        return true;
    }

    void constants(const Call& call, const Node& node) override {
        const double b = node.b;
        // The depth of the resistance formulas, just off the ground line.
        const double xr = node.X + DEPTH_SHIFT - PILE.GROUND(call.pile) - PILE.HEADXW(call.pile);
        const double ar = 1.0 - rqd_ * RQD_SCALE;
        double Kir;
        if (xr <= 3.0 * b) {
            pur_ = 2.0 * ar * qa_ * (b + WEDGE_SLOPE * xr);
            Kir = 100.0 + (400.0 / 3.0) * xr / b;
        } else {
            pur_ = DEEP * ar * qa_ * b;
            Kir = 500.0;
        }
        Mir_ = Kir * er_;
        yrm_ = krm_ * b;
        // The line meets the fourth-root branch at ya. Without resistance the line has no length: it
        // ends at y = 0, where the initial modulus stands.
        ya_ = pur_ > 0.0 ? std::pow(0.5 * pur_ / std::pow(yrm_, QUARTER) / Mir_, FOUR_THIRDS) : 0.0;
        b_ = b;
        x_ = node.x;
    }

    // h pur per node below the layer's first (h the pile's first increment), and the rest of the layer
    // below its last node at the last node's resistance.
    void integrate(const Call& call, const Node& node, double& S) override {
        if (!node.first) S = S + incrementBelow(call, 1) * pur_;
        if (node.last) S = S + (SOILLAY.XBOT(call.layer) - node.X) * pur_;
    }

    double curve(double y) const override {
        if (y <= ya_) return Mir_ * y;
        if (pur_ == 0.0) return 0.0;
        return std::min(0.5 * pur_ * std::pow(y / yrm_, QUARTER), pur_);
    }

    // On the line (up to and including its end) the initial modulus stands without any multiplier;
    // beyond it the secant with the multipliers.
    Spring spring(double y, const Scale& m) const override {
        Spring sp;
        sp.pc = curve(y);
        sp.pprime = m.pmul * sp.pc;
        if (y <= ya_) {
            sp.small = true;
            sp.Es = Mir_;
            return sp;
        }
        sp.Es = sp.pprime / y / m.ymul;
        if (m.depth) sp.Es = sp.Es * m.pmd / m.ymd;
        return sp;
    }

    double defaultPoint(int i) const override { return DEFAULT_FRACTIONS[i - 1] * yrm_; }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        plotNodeX(node.X);
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(2);
        u.line() << io::X{14} << "DEPTH" << io::X{5} << "DIAM" << io::X{7} << "C" << io::X{8} << " PU " << io::X{3}
                 << "GAMMA AVG" << io::X{6} << "KRM";
        u.line() << io::X{16} << io::A{2, lb.LBLCOORD} << io::X{7} << io::A{2, lb.LBLSECT} << io::X{4}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN} << "**" << "2" << io::X{1}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN} << io::X{4} << io::A{3, lb.LBLRFORCE}
                 << "/" << io::A{2, lb.LBLCOORD} << "**" << "3";
        u.line() << io::X{10} << io::F{10, 2, UCVD12(x_)} << io::F{10, 3, UCVM1E3(b_)} << io::G{10, 2, UCVKIPDIV(q_)}
                 << io::G{10, 2, UCVKIPDIV(pur_)} << io::G{10, 2, UCVKIPDIV(UCVM1728(gamma_))}
                 << io::G{12, 3, krm_};
        u.line() << io::X{37} << "Y" << io::X{19} << "P";
        u.line() << io::X{37} << io::A{2, lb.LBLLEN} << io::X{16} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
    }

    void pointLines(const Node&, int, double, double yl, double pl, const Spring&) const override {
        io::unit(ECHO_UNIT).line() << io::X{21} << io::G{20, 3, yl} << io::G{20, 3, UCVKIPDIV(pl)};
        plotRecord(yl, pl);
    }

    void plotRecord(double yl, double pl) const override {
        io::unit(PLOT_UNIT).line() << io::X{2} << io::PE{15, 8, yl} << io::X{2} << io::PE{15, 8, pl};
    }

private:
    // The strength qa of the ultimate resistance, half a strength like q: in the first layer half the
    // average from the ground surface; below it, over the layer itself: while the load cases run the
    // running trapezoid average of q over the layer's nodes so far, in a listing (which sees one node)
    // the mean of q at the layer top and at the node.
    bool averageStrength(const Call& call, const Node& node) {
        if (call.layer == 1) {
            qa_ = 0.5 * PRFCAVG(node.X, call.status);
            return call.status == ST_OK;
        }
        if (call.mode != Mode::Evaluate) {
            const double top = PRFCAT(SOILLAY.XTOP(call.layer), call.status);
            if (call.status != ST_OK) return false;
            qa_ = (q_ + 0.5 * top) / 2.0;
            return true;
        }
        if (node.first || !walking_) {
            walking_ = true;
            firstX_ = node.X;
            integral_ = 0.0;
            qa_ = q_;
        } else {
            integral_ = integral_ + (prevQ_ + q_) / 2.0 * (node.X - prevX_);
            qa_ = integral_ / (node.X - firstX_);
        }
        prevQ_ = q_;
        prevX_ = node.X;
        return true;
    }

    double q_ = 0.0, qa_ = 0.0, rqd_ = 0.0, gamma_ = 0.0, krm_ = 0.0, er_ = 0.0;  // rock values at the node
    double b_ = 0.0, x_ = 0.0;
    double pur_ = 0.0, Mir_ = 0.0, yrm_ = 0.0, ya_ = 0.0;  // curve constants
    // The running strength average over the layer's nodes.
    bool walking_ = false;
    double firstX_ = 0.0, prevX_ = 0.0, prevQ_ = 0.0, integral_ = 0.0;
};

}  // namespace

void PYWROCK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
             const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    WeakRock crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
