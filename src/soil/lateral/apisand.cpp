// API sand (criterion code 8): a cohesionless sand whose ultimate resistance is the wedge resistance
// down to the crossing depth and the flow resistance below it, as the API recommended practice gives
// them, and whose curve is the hyperbolic tangent p = A pu tanh(k x_e y / (A pu)) with the empirical
// factor A of static or cyclic loading.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

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

constexpr double PI = 3.141592653589793;
constexpr double K0 = 0.4;                  // earth pressure at rest (an exact constant of this criterion)
constexpr double PHI_ZERO = 1e-10;          // a friction angle below this is no sand at all
constexpr double XE_ZERO = s(1e-10f);       // a wedge depth below this resists nothing
constexpr double A_DEEP = s(0.9f);          // A at depth, and under cyclic loading everywhere
constexpr double A_SLOPE = s(0.8f);         // static A = 3 - 0.8 x_e / b near the surface
constexpr double BURIED_HEAD = s(1e-5f);    // a head this far below the ground counts as buried
// Multiples of the reference deflection at which tanh reaches about 0.95, 0.99 and 0.9999: the
// anchors of the default print points.
constexpr double TANH95 = 1.8317806720733643, TANH99 = 2.646652936935425, TANH9999 = 4.951635837554932;

// The stop of a layer that claims to be sand without a friction angle: the note goes to the runtime
// file and then the echo report, written whole.
void zeroFrictionNote() {
    writeRecordTo({RUNTIME_UNIT, ECHO_UNIT},
                  {"", "       --------------------WARNING----------------------",
                   "       THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT",
                   "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
}

class ApiSand final : public SandFamily<UnscaledFileCriterion> {
public:
    ApiSand() : SandFamily(8, K0) {}

    // Unit weight, strength (only for the extent of its profile), friction angle and k (or the sand
    // default from phi and gamma); then the wedge coefficients, which depend on phi alone.
    bool lookups(const Call& call, const Node& node) override {
        if (!soilValues(call, node, true)) return false;
        // A zero friction angle passes at the layer's first node only (it then resists nothing).
        if (!node.first && phi_ < PHI_ZERO) {
            zeroFrictionNote();
            call.status = ST_SAND_NO_FRICTION;
            return false;
        }
        k_ = PRFKAT(node.X);
        if (k_ <= 0.0) PYKPHI(phi_, gamma_, k_, CTLIN.UNITS);

        takeWedge();
        C1_ = tb_ * (T_ * std::tan(alpha_) +
                    K0 * (std::tan(phi_) * std::sin(beta_) * (1.0 / std::cos(alpha_) + 1.0) - std::tan(alpha_)));
        C2_ = T_ - Ka_;
        C3_ = T_ * T_ * (T_ + K0 * std::tan(phi_)) - Ka_;
        return true;
    }

    void constants(const Call&, const Node& node) override {
        b_ = node.b;
        xe_ = node.xe;
        pst_ = wedge(node.x, xe_, b_);
        psd_ = flow(node.x, b_);
        // Wedge down to the crossing depth xt = (C3 - C2) b / C1, flow below it (both give C3 b gamma x
        // there). Without friction C1 = 0 and both are 0.
        const bool wedgeGoverns = C1_ != 0.0 && xe_ <= (C3_ - C2_) * b_ / C1_;
        const double pu = wedgeGoverns ? pst_ : psd_;
        A_ = CTLPAR.KSTATIC == 1 ? std::max(A_DEEP, 3.0 - A_SLOPE * xe_ / b_) : A_DEEP;
        pm_ = A_ * pu;
        // No wedge, or no friction (accepted at the layer's first node): the node resists nothing.
        none_ = xe_ < XE_ZERO || phi_ < PHI_ZERO;
        kx_ = k_ * xe_;
        // Without a subgrade modulus the curve never rises: an infinite reference deflection.
        if (none_)
            yk_ = 0.0;
        else
            yk_ = kx_ != 0.0 ? pm_ / kx_ : std::numeric_limits<double>::infinity();
    }

    void integrate(const Call& call, const Node& node, double& S) override {
        if (call.layer > 1 && node.first) return;
        const double h = incrementBelow(call, call.first);
        const double ground = PILE.GROUND(call.pile);
        double sum = S;
        // A buried head: the resistance between the ground surface and the head as a triangle up to the
        // curve's value at 3 b / 80.
        if (call.layer == 1 && ground <= 0.0 && sum <= 0.0) sum = -0.5 * ground * curve(3.0 * b_ / 80.0);
        sum += h * pm_;
        if (node.last) sum += (SOILLAY.XBOT(call.layer) - node.X) * pm_;
        // With the head well below the ground surface the first layer counts as a triangle of depth
        // XBOT - XTOP, whatever the nodes.
        if (call.layer == 1 && ground < -BURIED_HEAD) sum = 0.5 * pm_ * (SOILLAY.XBOT(1) - SOILLAY.XTOP(1));
        S = sum;
    }

    // p = A pu tanh(y / yk), yk = A pu / (k x_e): straight off with slope k x_e, flattening at A pu.
    double curve(double y) const override {
        if (none_ || pm_ == 0.0) return 0.0;
        return pm_ * std::tanh(y / yk_);
    }

    // The slope of A pu tanh(y / yk): (A pu / yk) (1 - tanh^2), tanh = pc / (A pu).
    bool curveSlope(double, double pc, double& dp) const override {
        if (none_ || pm_ == 0.0) {
            dp = 0.0;
            return true;
        }
        const double t = pc / pm_;
        dp = pm_ / yk_ * (1.0 - t * t);
        return true;
    }

    bool initialModulus(double& E0) const override {
        E0 = kx_;
        return true;
    }

    // Up to 0.95 of A pu in tenths, then to 0.99, 0.9999 and a little beyond.
    double defaultPoint(int i) const override {
        const double yc = TANH95 * yk_, yb = TANH99 * yk_, ya = TANH9999 * yk_;
        if (i <= 11) return (i - 1) * yc / 10.0;
        switch (i) {
            case 12: return (yb + yc) / 2.0;
            case 13: return yb;
            case 14: return (ya + 2.0 * yb) / 3.0;
            case 15: return (2.0 * ya + yb) / 3.0;
            case 16: return ya;
            default: return s(1.2f) * ya;
        }
    }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(2);
        u.line() << io::X{5} << "DEPTH" << io::X{6} << "DIAM" << io::X{6} << "PHI" << io::X{2} << "GAMMA AVG"
                 << io::X{8} << "A" << io::X{9} << "B" << io::X{5} << "PCT" << io::X{7} << "PCD";
        u.line() << io::X{7} << io::A{2, lb.LBLCOORD} << io::X{8} << io::A{2, lb.LBLSECT} << io::X{12}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "3";
        u.line() << io::F{10, 2, UCVD12(node.x)} << io::F{10, 2, UCVM1E3(b_)} << io::F{10, 1, phi_ * 180.0 / PI}
                 << io::G{10, 3, UCVKIPDIV(UCVM1728(gamma_))} << io::F{10, 2, A_} << io::F{10, 2, 0.0}
                 << io::G{10, 3, UCVKIPDIV(pst_)} << io::G{10, 3, UCVKIPDIV(psd_)};
        eqDepthLine(xe_);
        u.blankLines(1);
        u.line() << io::X{37} << "Y" << io::X{19} << "P";
        u.line() << io::X{37} << io::A{2, lb.LBLLEN} << io::X{16} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
    }

private:
    // Wedge resistance of API sand: overburden on the true depth x, wedge geometry on x_e.
    double wedge(double x, double xe, double b) const override { return gamma_ * x * (C1_ * xe + C2_ * b); }
    // Flow resistance of the sand flowing round the pile at depth.
    double flow(double x, double b) const override { return C3_ * b * gamma_ * x; }

    double C1_ = 0.0, C2_ = 0.0, C3_ = 0.0;                                  // wedge coefficients
    double b_ = 0.0, xe_ = 0.0, pst_ = 0.0, psd_ = 0.0;                      // diameter, wedge depth, resistances
    double A_ = 0.0, pm_ = 0.0, kx_ = 0.0, yk_ = 0.0;                        // curve constants
    bool none_ = true;                                                       // no wedge: no resistance
};

}  // namespace

void PYAPISAND(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    ApiSand crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
