// Sand (criterion code 4): a cohesionless sand whose curve is built of four pieces, an initial straight
// line of slope k x_e, a parabola, a straight line and the ultimate resistance, with the empirical
// factors A (at 3 b / 80) and B (at b / 60) of static or cyclic loading read against the depth over
// the diameter. The resistance is the smaller of the wedge and the flow resistance of the sand.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>

#include "io/format.h"
#include "io/units.h"
#include "model/ctlpar.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/soils.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

constexpr double PI = 3.141592653589793;
constexpr double K0 = s(0.4f);  // earth pressure at rest

// The curve constants of a node depend on its depths, diameter and soil values alone, yet a pile
// analysis asks for them at every pass of its iteration, and the group stiffness analyses each pile
// thirteen times over: only the deflection changes. Each thread keeps the constants it computed last
// for each node number, with every value they were computed from; they are reused only when all of
// those are the same again, so the curve is exactly the one a fresh computation gives.
struct ConstantsKey {
    double x, xe, b, ground, phi, gamma, k;
    int kstatic, pile, pset;
    unsigned run;
    // Bit for bit: -0 and +0 are different inputs here, as they may give differently signed results.
    bool operator==(const ConstantsKey& o) const {
        const auto same = [](double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); };
        return same(x, o.x) && same(xe, o.xe) && same(b, o.b) && same(ground, o.ground) && same(phi, o.phi) &&
               same(gamma, o.gamma) && same(k, o.k) && kstatic == o.kstatic && pile == o.pile && pset == o.pset &&
               run == o.run;
    }
};

struct KeptConstants {
    bool valid = false;
    ConstantsKey key{};
    double pst, psd, A, B, pu, pm, yu, ym, kx, m, n, C, yk;
    bool flat;
};

constexpr std::size_t KEPT_NODES = MAXNODE + 2;
thread_local KeptConstants keptConstants[KEPT_NODES];

class Sand final : public SandFamily<Criterion> {
public:
    Sand() : SandFamily(4, K0) {}

    // Unit weight, friction angle and k (or the sand default from phi and gamma); then the wedge angles.
    bool lookups(const Call& call, const Node& node) override {
        if (!soilValues(call, node, false)) return false;
        k_ = PRFKAT(node.X);
        if (k_ <= 0.0) PYKPHI(phi_, gamma_, k_, CTLIN.UNITS);
        takeWedge();
        return true;
    }

    void constants(const Call& call, const Node& node) override {
        b_ = node.b;
        xe_ = node.xe;
        const double ground = PYDRV.GSURFP(call.pile);
        const double X = ground + xe_;
        const ConstantsKey key{node.x, xe_, b_, ground, phi_, gamma_, k_, CTLPAR.KSTATIC,
                               call.pile, call.pset, RUNGENERATION.load(std::memory_order_relaxed)};
        Kept& kept = kept_[static_cast<std::size_t>(node.j) % KEPT_NODES];
        if (kept.valid && kept.key == key) {
            restore(kept);
            return;
        }
        pst_ = wedge(node.x, xe_, b_);
        psd_ = flow(node.x, b_);
        const double pc = std::min(pst_, psd_);
        // The factors at x_e / b_s, b_s the section diameter at depth x_e (never the cap width).
        const bool stat = CTLPAR.KSTATIC == 1;
        A_ = CFTAB10(call.pile, call.pset, X, stat ? SAND_A_STATIC : SAND_A_CYCLIC, SAND_XB);
        B_ = CFTAB10(call.pile, call.pset, X, stat ? SAND_B_STATIC : SAND_B_CYCLIC, SAND_XB);
        pu_ = A_ * pc;
        pm_ = B_ * pc;
        yu_ = 3.0 * b_ / 80.0;
        ym_ = b_ / 60.0;
        kx_ = k_ * xe_;
        // Without friction the sand resists nothing and the parabola has no exponent.
        flat_ = !(pm_ > 0.0);
        if (xe_ > 0.0 && !flat_) {
            // Straight line from (ym, pm) to (yu, pu); the parabola C y^(1/n) through (ym, pm) with the
            // line's slope there; it meets the initial line k x_e y at yk.
            m_ = (pu_ - pm_) / (yu_ - ym_);
            n_ = pm_ / (m_ * ym_);
            C_ = pm_ / std::pow(ym_, 1.0 / n_);
            yk_ = kx_ != 0.0 ? std::pow(C_ / kx_, n_ / (n_ - 1.0)) : std::numeric_limits<double>::infinity();
        } else {
            yk_ = 2.0 * b_;
        }
        keep(kept, key);
    }

    void integrate(const Call& call, const Node& node, double& S) override {
        if (call.layer > 1 && node.first) return;
        const double h = incrementBelow(call, call.first);
        const double ground = PILE.GROUND(call.pile);
        // A buried head: the resistance between the ground surface and the head as a triangle.
        if (call.layer == 1 && ground <= 0.0 && S <= 0.0) S = -0.5 * pu_ * ground;
        S += h * pu_;
        if (node.last) S += (SOILLAY.XBOT(call.layer) - node.X) * pu_;
    }

    double curve(double y) const override {
        if (flat_) return 0.0;
        const double line = kx_ * y;
        if (y >= ym_) return std::min(y >= yu_ ? pu_ : pm_ + m_ * (y - ym_), line);
        if (y > yk_) return std::min(C_ * std::pow(y, 1.0 / n_), line);
        return line;
    }

    // The slope of the piece that holds y and the points just above it, the smaller of two where the
    // initial line meets another piece: the ultimate resistance 0, the straight line m, the parabola
    // C y^(1/n) its value over n y.
    bool curveSlope(double y, double pc, double& dp) const override {
        if (flat_) {
            dp = 0.0;
            return true;
        }
        const double line = kx_ * y;
        double p, slope;
        if (y >= yu_) {
            p = pu_, slope = 0.0;
        } else if (y >= ym_) {
            p = pm_ + m_ * (y - ym_), slope = m_;
        } else if (y >= yk_) {
            p = pc < line ? pc : C_ * std::pow(y, 1.0 / n_);
            slope = p / (n_ * y);
        } else {
            dp = kx_;
            return true;
        }
        dp = line < p ? kx_ : (line == p ? std::min(slope, kx_) : slope);
        return true;
    }

    bool initialModulus(double& E0) const override {
        E0 = kx_;
        return true;
    }

    Spring spring(double y, const Scale& m) const override { return commonSpring(*this, y, m); }

    // Through the initial line (or the first tenth of ym when the line reaches past ym), the parabola
    // in tenths, the straight line in thirds and beyond the ultimate resistance.
    double defaultPoint(int i) const override {
        const double y1 = yk_ > ym_ ? ym_ / 10.0 : yk_;
        switch (i) {
            case 1: return 0.0;
            case 2: return 0.5 * y1;
            case 3: return y1;
            case 13: return ym_;
            case 14: return (yu_ + 2.0 * ym_) / 3.0;
            case 15: return (2.0 * yu_ + ym_) / 3.0;
            case 16: return yu_;
            case 17: return s(1.2f) * yu_;
            default: return y1 + (i - 3) * (ym_ - y1) / 10.0;
        }
    }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        u.line() << io::X{11} << "DEPTH BELOW GS" << io::X{6} << "DIAM" << io::X{6} << "PHI" << io::X{5} << "GAMMA"
                 << io::X{10} << "A" << io::X{9} << "B" << io::X{15} << "PCT" << io::X{7} << "PCD";
        u.line() << io::X{17} << io::A{2, lb.LBLCOORD} << io::X{13} << io::A{2, lb.LBLSECT} << io::X{13}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLCOORD} << "**" << "3";
        u.line() << io::X{10} << io::F{10, 2, UCVD12(node.x)} << io::X{5} << io::F{10, 2, UCVM1E3(b_)}
                 << io::F{10, 2, phi_ * 180.0 / PI} << io::G{10, 2, UCVKIPDIV(UCVM1728(gamma_))}
                 << io::F{10, 2, A_} << io::F{10, 2, B_} << io::X{10} << io::G{10, 2, UCVKIPDIV(pst_)}
                 << io::G{10, 2, UCVKIPDIV(psd_)};
        eqDepthLine(xe_);
        u.blankLines(1);
        u.line() << io::X{38} << "Y" << io::X{19} << "P";
        u.line() << io::X{38} << io::A{2, lb.LBLLEN} << io::X{15} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
        plotNodeX(node.X);
    }

    int keptValues() const override { return 12; }
    void keepTo(double* v) const override { keepValues(v, b_, xe_, pu_, pm_, yu_, ym_, kx_, m_, n_, C_, yk_, flat_); }
    void takeFrom(const double* v) override { takeValues(v, b_, xe_, pu_, pm_, yu_, ym_, kx_, m_, n_, C_, yk_, flat_); }

private:
    KeptConstants* kept_ = keptConstants;  // this thread's constants by node number
    using Kept = KeptConstants;

    void keep(Kept& c, const ConstantsKey& key) const {
        c = Kept{true, key, pst_, psd_, A_, B_, pu_, pm_, yu_, ym_, kx_, m_, n_, C_, yk_, flat_};
    }
    void restore(const Kept& c) {
        pst_ = c.pst, psd_ = c.psd, A_ = c.A, B_ = c.B, pu_ = c.pu, pm_ = c.pm, yu_ = c.yu, ym_ = c.ym;
        kx_ = c.kx, m_ = c.m, n_ = c.n, C_ = c.C, yk_ = c.yk, flat_ = c.flat;
    }

    double b_ = 0.0, xe_ = 0.0, pst_ = 0.0, psd_ = 0.0, A_ = 0.0, B_ = 0.0;
    double pu_ = 0.0, pm_ = 0.0, yu_ = 0.0, ym_ = 0.0, kx_ = 0.0;      // the ends of the straight line
    double m_ = 0.0, n_ = 1.0, C_ = 0.0, yk_ = 0.0;                    // line slope, parabola, yk
    bool flat_ = true;                                                 // no resistance at all
};

}  // namespace

void PYSAND(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
            const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    Sand crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
