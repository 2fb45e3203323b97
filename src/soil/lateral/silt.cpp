// Silt (criterion code 7): a soil with cohesion and friction. Its resistance adds a soft-clay term to
// the sand's: the curve rises on the initial line k x_e y, follows a parabola to (b / 60, 1.5 psand +
// pclay), a straight line to (3 b / 80, A psand) and stays there. Where the initial line meets the
// other pieces decides which of three shapes the curve takes.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/piles.h"
#include "model/pydrv.h"
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
constexpr double K0 = s(0.4f);              // earth pressure at rest
constexpr double PHI_ZERO = 1e-10;          // a friction angle below this is no silt at all
constexpr double SIN2_ZERO = s(1e-10f);     // 1 - cos^2 phi below this: no friction within precision
constexpr double BURIED_HEAD = s(1e-5f);    // a head this far below the ground counts as buried


// The notes of a silt layer that the run cannot use, each written whole to the two units in turn.
void zeroFrictionNote() {
    writeRecordTo({ECHO_UNIT, RUNTIME_UNIT},
                  {"", "       --------------------WARNING----------------------",
                   "       THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT",
                   "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
}

// The ground is level here, so a ground slope steeper than the friction angle means no friction.
void slopeNote() {
    writeRecordTo({RUNTIME_UNIT, ECHO_UNIT},
                  {"", "", "       WARNING-------The Angle of the slope can not",
                   "                     be greater than the internal  ",
                   "                     friction angle of the silt.   ", ""});
}

// The three shapes of the curve: 1 the full curve (line, parabola, straight line, ultimate); 2 the
// initial line meets the straight line; 3 the initial line runs into the ultimate resistance.
enum Shape { NO_SHAPE = 0, FULL = 1, LINE_TO_LINE = 2, LINE_TO_ULTIMATE = 3 };

class Silt final : public SandFamily<UnscaledFileCriterion> {
public:
    Silt() : SandFamily(7, K0) {}

    // Unit weight, strength, friction angle (which must not be zero), k or the silt default; then the
    // wedge angles.
    bool lookups(const Call& call, const Node& node) override {
        if (!soilValues(call, node, true)) return false;
        if (!node.first && phi_ < PHI_ZERO) {
            zeroFrictionNote();
            call.status = ST_SILT_NO_FRICTION;
            return false;
        }
        const double cosPhi = std::cos(phi_);
        if (1.0 - cosPhi * cosPhi < SIN2_ZERO) {
            slopeNote();
            call.status = ST_SILT_SLOPE_OVER_FRICTION;
            return false;
        }
        k_ = PRFKAT(node.X);
        if (k_ <= 0.0) PYKSILT(gamma_, c_, phi_, k_, CTLIN.UNITS, CTLPAR.KSTATIC);

        takeWedge();
        return true;
    }

    void constants(const Call& call, const Node& node) override {
        b_ = node.b;
        xe_ = node.xe;
        pst_ = wedge(node.x, xe_, b_);
        psd_ = flow(node.x, b_);
        psand_ = std::min(pst_, psd_);
        // The clay term of soft-clay form, 9 c b at depth (nothing without cohesion).
        pclay_ = 0.0;
        if (c_ != 0.0) {
            const double Np = gamma_ * node.x / c_ + 3.0 + 0.5 * xe_ / b_;
            pclay_ = Np < 9.0 ? Np * c_ * b_ : 9.0 * c_ * b_;
        }
        const bool stat = CTLPAR.KSTATIC == 1;
        const double X = PYDRV.GSURFP(call.pile) + xe_;
        A_ = CFTAB10(call.pile, call.pset, X, stat ? SAND_A_STATIC : SAND_A_CYCLIC, SAND_XB);
        B_ = CFTAB10(call.pile, call.pset, X, stat ? SAND_B_STATIC : SAND_B_CYCLIC, SAND_XB);
        pu_ = A_ * psand_;
        pm_ = 1.5 * psand_ + pclay_;
        yu_ = 3.0 * b_ / 80.0;
        ym_ = b_ / 60.0;
        kx_ = k_ * xe_;
        if (xe_ <= 0.0) {
            // No wedge: the shape of the node before stays for the listing, and nothing resists.
            yk_ = 2.0 * b_;
            return;
        }
        // Parabola C y^(1/n) through (ym, pm) with the straight line's slope there; it meets the initial
        // line at yk. The initial line meets the straight line at yi, the ultimate resistance at yc.
        m_ = (pu_ - pm_) / (yu_ - ym_);
        n_ = pm_ / (std::fabs(m_) * ym_);
        C_ = pm_ / std::pow(ym_, 1.0 / n_);
        yk_ = std::pow(C_ / kx_, n_ / (n_ - 1.0));
        if (0.0 <= yk_ && yk_ < ym_) {
            shape_ = FULL;
            return;
        }
        yi_ = (pm_ - ym_ * m_) / (kx_ - m_);
        if (ym_ <= yi_ && yi_ < yu_) {
            shape_ = LINE_TO_LINE;
            return;
        }
        yc_ = pu_ / kx_;
        shape_ = yc_ >= yu_ ? LINE_TO_ULTIMATE : FULL;
    }

    void integrate(const Call& call, const Node& node, double& S) override {
        const double Q = pu_;
        if (!(call.layer > 1 && node.first)) {
            const double h = incrementBelow(call, call.first);
            const double ground = PILE.GROUND(call.pile);
            double sum = S;
            // A buried head: the resistance between the ground surface and the head as a triangle.
            if (call.layer == 1 && ground <= 0.0 && sum <= 0.0) sum = -0.5 * Q * ground;
            sum += 0.5 * h * (qPrev_ + Q);
            if (node.last) sum += (SOILLAY.XBOT(call.layer) - node.X) * Q;
            // With the head well below the ground surface the first layer counts as a trapezoid from the
            // clay's 3 c b at its top to this node's resistance, over the layer's thickness.
            if (call.layer == 1 && ground < -BURIED_HEAD)
                sum = 0.5 * (3.0 * c_ * b_ + Q) * (SOILLAY.XBOT(1) - SOILLAY.XTOP(1));
            S = sum;
        }
        qPrev_ = Q;
    }

    double curve(double y) const override {
        if (xe_ <= 0.0 || shape_ == NO_SHAPE) return 0.0;
        const double line = kx_ * y;
        switch (shape_) {
            case LINE_TO_LINE:
                if (y <= yi_) return line;
                if (y <= yu_) return std::min(kx_ * yi_ + m_ * (y - yi_), line);
                return std::min(pu_, line);
            case LINE_TO_ULTIMATE: return std::min(line, pu_);
            default:
                if (y <= yk_) return line;
                if (y <= ym_) return std::min(C_ * std::pow(y, 1.0 / n_), line);
                if (y <= yu_) return std::min(pm_ + m_ * (y - ym_), line);
                return std::min(pu_, line);
        }
    }

    bool initialModulus(double& E0) const override {
        E0 = kx_;
        return true;
    }

    double defaultPoint(int i) const override {
        if (shape_ == LINE_TO_LINE) {
            // Through the initial line to yi (listed twice), the straight line in sixths, beyond yu.
            constexpr double ALONG_LINE[9] = {0.0, 0.125, 0.25, 0.375, 0.5, 0.625, 0.875, 1.0, 1.0};
            if (i <= 9) return ALONG_LINE[i - 1] * yi_;
            if (i <= 14) return yi_ + (i - 9) * (yu_ - yi_) / 6.0;
            if (i == 15) return yu_;
            return (i == 16 ? s(1.1f) : s(1.2f)) * yu_;
        }
        if (shape_ == LINE_TO_ULTIMATE) {
            // The initial line in twelfths up to yc, then a little beyond.
            constexpr float BEYOND[4] = {1.05f, 1.1f, 1.15f, 1.2f};
            if (i <= 13) return (i - 1) * yc_ / 12.0;
            return s(BEYOND[i - 14]) * yc_;
        }
        // The full curve: the initial line and the parabola (in sixths when yk is close to ym, else
        // the initial line in halves and the parabola in tenths), then the straight line and beyond.
        switch (i) {
            case 1: return 0.0;
            case 13: return ym_;
            case 14: return (yu_ + 2.0 * ym_) / 3.0;
            case 15: return (2.0 * yu_ + ym_) / 3.0;
            case 16: return yu_;
            case 17: return s(1.2f) * yu_;
            default: break;
        }
        if (yk_ > 0.75 * ym_) {
            if (i <= 7) return (i - 1) * yk_ / 6.0;
            return yk_ + (i - 7) * (ym_ - yk_) / 6.0;
        }
        if (i == 2) return 0.5 * yk_;
        return yk_ + (i - 3) * (ym_ - yk_) / 10.0;
    }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(2);
        u.line() << io::X{5} << "DEPTH" << io::X{6} << "DIAM" << io::X{6} << "PHI" << io::X{2} << "GAMMA AVG"
                 << io::X{8} << "A" << io::X{9} << "B" << io::X{5} << "Puc" << io::X{7} << "Puf";
        u.line() << io::X{7} << io::A{2, lb.LBLCOORD} << io::X{8} << io::A{2, lb.LBLSECT} << io::X{12}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "3" << io::X{22}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLSECT} << io::X{4} << io::A{3, lb.LBLRFORCE}
                 << "/" << io::A{2, lb.LBLSECT};
        u.line() << io::F{10, 2, UCVD12(node.x)} << io::F{10, 2, UCVM1E3(b_)} << io::F{10, 1, phi_ * 180.0 / PI}
                 << io::G{10, 3, UCVKIPDIV(UCVM1728(gamma_))} << io::F{10, 2, A_} << io::F{10, 2, B_}
                 << io::G{10, 3, UCVKIPDIV(pclay_)} << io::G{10, 3, UCVKIPDIV(psand_)};
        eqDepthLine(xe_);
        u.blankLines(1);
        u.line() << io::X{37} << "Y" << io::X{19} << "P";
        u.line() << io::X{37} << io::A{2, lb.LBLLEN} << io::X{16} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
    }

private:
    double b_ = 0.0, xe_ = 0.0, pst_ = 0.0, psd_ = 0.0, psand_ = 0.0, pclay_ = 0.0, A_ = 0.0, B_ = 0.0;
    double pu_ = 0.0, pm_ = 0.0, yu_ = 0.0, ym_ = 0.0, kx_ = 0.0;      // the ends of the straight line
    double m_ = 0.0, n_ = 1.0, C_ = 0.0, yk_ = 0.0, yi_ = 0.0, yc_ = 0.0;
    Shape shape_ = NO_SHAPE;  // kept from node to node: a node without a wedge keeps the one before
    double qPrev_ = 0.0;      // ultimate resistance of the node evaluated before, for the trapezoids
};

}  // namespace

void PYSILT(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
            const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    Silt crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
