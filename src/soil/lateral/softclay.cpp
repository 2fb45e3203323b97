// Soft clay criteria: the p-y curve of soft clay, whose reaction grows with the cube root of the
// deflection up to the ultimate resistance, in its static and cyclic forms. Three generators share it:
// soft clay with the empirical factor J = 0.5 (code 1, and every code outside 1..14), soft clay with J
// from the soil profile (code 13), and modified soft clay whose curve is capped by an initial straight
// line of slope k x_e (code 14).
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/piles.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

constexpr double CUBE_ROOT = s(1.0f / 3.0f);    // exponent of the curve
constexpr double TWO_THIRDS = s(2.0f / 3.0f);   // exponent of the secant at YMIN
constexpr double CYCLIC = s(0.72f);             // cyclic resistance as a share of pu
constexpr double XR_MIN = 1e-6;                 // a transition depth below this is replaced by b

// Default print points: fractions of 8 y50, the deflection at which the static curve reaches pu.
constexpr double DEFAULT_FRACTIONS[17] = {0.0,      s(0.00025f), s(0.0025f), s(0.0075f), s(0.02f), s(0.04f),
                                          s(0.06f), s(0.10f),    s(0.15f),   s(0.225f),  s(0.30f), s(0.40f),
                                          s(0.50f), s(0.65f),    s(0.80f),   1.0,        s(1.2f)};

class SoftClay final : public Criterion {
public:
    // code: 1, 13 or 14.
    explicit SoftClay(int code) : Criterion(1), code_(code) {}

    // Strength, unit weight, E50 (or its soft-clay default), then J and the modified clay's k.
    bool lookups(const Call& call, const Node& node) override {
        c_ = PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        e50_ = PRFE50AT(node.X);
        if (e50_ <= 0.0) PYE50SOFT(c_, e50_, CTLIN.UNITS);
        J_ = code_ == 1 ? 0.5 : PRFCOL7B(node.X);
        if (code_ == 14) {
            k_ = PRFKAT(node.X);
            if (k_ <= 0.0) PYKCLAY(c_, k_, CTLIN.UNITS, CTLPAR.KSTATIC);
        }
        return true;
    }

    // Below the transition depth the flow resistance governs from the layer top down: the wedge of the
    // layers above no longer matters.
    bool crossesAtTop(const Call&, const Node& node) const override {
        return node.x > transitionDepth(node.b);
    }

    bool equivalentDepth(const Call& call, const Node& node) const override {
        return PYEQDEPTH(call.pile, call.layer, call.pset, node.b, c_, 0.0, gamma_, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
                         node.x, J_, SAND_XB);
    }

    void constants(const Call&, const Node& node) override {
        b_ = node.b;
        xe_ = node.xe;
        // Bearing factor: the wedge term on the wedge depth, the overburden term on the true depth.
        const double Np = c_ > 0.0 ? J_ * xe_ / b_ + 3.0 + gamma_ * node.x / c_ : 0.0;
        pu_ = Np <= 9.0 ? Np * c_ * b_ : 9.0 * c_ * b_;
        y50_ = 2.5 * e50_ * b_;
        const double xr = transitionDepth(b_);
        xrDiv_ = xr >= XR_MIN ? xr : b_;
        pc_ = CYCLIC * pu_;
        pr_ = pc_ * xe_ / xrDiv_;
        kstatic_ = CTLPAR.KSTATIC;
        // The initial modulus depends on the node alone: formed once here, not at every point.
        e0_ = code_ == 14 ? k_ * xe_ : 0.5 * pu_ * std::pow(y50_ / RUNCONST.YMIN, TWO_THIRDS) / y50_;
    }

    void integrate(const Call& call, const Node& node, double& S) override {
        if (call.layer > 1 && node.first) return;
        const double h = incrementBelow(call, call.first);
        // A head below the ground surface: the resistance between the ground and the head as a triangle.
        const double ground = PILE.GROUND(call.pile);
        if (call.layer == 1 && ground <= 0.0 && S <= 0.0) S = -0.5 * pu_ * ground;
        if (kstatic_ == 1)
            S = S + h * pu_;
        else if (kstatic_ == 0)
            S = S + h * CYCLIC * pu_;
    }

    double curve(double y) const override {
        const double p = curveBelowCap(y);
        return code_ == 14 ? std::min(p, k_ * xe_ * y) : p;
    }

    // The curve without modified soft clay's initial line.
    double curveBelowCap(double y) const {
        double p;
        if (y <= 3.0 * y50_ || (kstatic_ == 1 && y <= 8.0 * y50_))
            p = 0.5 * pu_ * std::pow(y / y50_, CUBE_ROOT);
        else if (kstatic_ == 1)
            p = pu_;
        else if (xrDiv_ - xe_ <= 0.0)
            p = pc_;  // at or below the transition depth the cyclic curve stays at 0.72 pu
        else if (y <= 15.0 * y50_)
            p = pc_ + (y - 3.0 * y50_) * (pr_ - pc_) / (15.0 * y50_ - 3.0 * y50_);
        else
            p = pr_;
        return p;
    }

    // The slope of the piece that holds y and the points just above it: the cube root c y^(1/3) has the
    // slope p / (3 y). pc is the curve's value at y (for modified soft clay the piece's value is taken
    // afresh, as the initial line may cap it).
    bool curveSlope(double y, double pc, double& dp) const override {
        const double p = code_ == 14 ? curveBelowCap(y) : pc;
        if (y < 3.0 * y50_ || (kstatic_ == 1 && y < 8.0 * y50_))
            dp = CUBE_ROOT * p / y;
        else if (kstatic_ == 1 || xrDiv_ - xe_ <= 0.0 || !(y < 15.0 * y50_))
            dp = 0.0;
        else
            dp = (pr_ - pc_) / (15.0 * y50_ - 3.0 * y50_);
        if (code_ == 14) {
            // The initial line k x_e y caps the curve: its slope where it lies below, the smaller slope
            // where the two meet.
            const double kx = k_ * xe_, line = kx * y;
            if (line < p)
                dp = kx;
            else if (line == p)
                dp = std::min(dp, kx);
        }
        return true;
    }

    // Soft clay: the secant of the curve at YMIN; modified soft clay: the slope of its initial line.
    bool initialModulus(double& E0) const override {
        E0 = e0_;
        return true;
    }

    double smallValue(double y, double E0) const override { return code_ == 14 ? curve(y) : E0 * y; }

    Spring spring(double y, const Scale& m) const override {
        Spring sp = commonSpring(*this, y, m);
        if (code_ == 14 && sp.small) sp.capValue = false;
        return sp;
    }

    double defaultPoint(int i) const override { return DEFAULT_FRACTIONS[i - 1] * (8.0 * y50_); }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        const bool withJ = code_ != 1;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        {
            io::LineOut line = u.line();
            line << io::X{9} << "DEPTH BELOW GS" << io::X{6} << "DIAM" << io::X{9} << "C" << io::X{9} << "GAMMA"
                 << io::X{9} << "E50";
            if (withJ) line << io::X{11} << "J";
        }
        u.line() << io::X{15} << io::A{2, lb.LBLCOORD} << io::X{13} << io::A{2, lb.LBLSECT} << io::X{7}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "2" << io::X{4}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "3";
        {
            io::LineOut line = u.line();
            line << io::X{8} << io::F{10, 2, UCVD12(node.x)} << io::X{6} << io::F{10, 3, UCVM1E3(node.b)}
                 << io::X{3} << io::G{11, 4, UCVKIPDIV(UCVM144(c_))} << io::X{2}
                 << io::G{11, 4, UCVKIPDIV(UCVM1728(gamma_))} << io::X{1} << io::G{12, 4, e50_};
            if (withJ) line << io::G{12, 4, J_};
        }
        eqDepthLine(node.xe);
        u.blankLines(1);
        u.line() << io::X{37} << "Y," << io::A{2, lb.LBLLEN} << io::X{13} << "P," << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
        plotNodeX(node.X);
    }

    // After a listed point below YMIN (not the first), a note of the modulus that stood in for the
    // secant: the deflection evaluated (soft clay) or the listed one (modified soft clay).
    void pointLines(const Node& node, int i, double y, double yl, double pl, const Spring& sp) const override {
        Criterion::pointLines(node, i, y, yl, pl, sp);
        const double shown = code_ == 14 ? yl : y;
        if (i == 1 || !(shown < RUNCONST.YMIN)) return;
        double E0 = 0.0;
        initialModulus(E0);
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        u.line() << io::X{29} << "**** WARNING ****";
        u.line() << io::X{5} << "DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM";
        u.line() << io::X{5} << "USED A SOIL MODULUS OF " << io::G{12, 4, E0};
    }

    int keptValues() const override { return 11; }
    void keepTo(double* v) const override {
        keepValues(v, kstatic_, k_, b_, xe_, pu_, y50_, xrDiv_, pc_, pr_, e0_, J_);
    }
    void takeFrom(const double* v) override { takeValues(v, kstatic_, k_, b_, xe_, pu_, y50_, xrDiv_, pc_, pr_, e0_, J_); }

private:
    // Depth below which the flow resistance 9 c b governs.
    double transitionDepth(double b) const { return 6.0 * c_ * b / (gamma_ * b + J_ * c_); }

    int code_;
    int kstatic_ = 0;
    double c_ = 0.0, gamma_ = 0.0, e50_ = 0.0, J_ = 0.0, k_ = 0.0;  // soil values at the node
    double b_ = 0.0, xe_ = 0.0;                                        // diameter and wedge depth
    double pu_ = 0.0, y50_ = 0.0, xrDiv_ = 0.0, pc_ = 0.0, pr_ = 0.0;  // curve constants
    double e0_ = 0.0;                                                  // initial modulus
};

}  // namespace

void PYSCLAY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
             const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    SoftClay crit(1);
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

void PYSCLAYJ(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
              const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    SoftClay crit(13);
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

void PYSCLAYMK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    SoftClay crit(14);
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
