// Elastic subgrade (criterion code 12): a linear subgrade of modulus k whose reaction k b y is capped
// by the strength at c b. It has no cap pass, no equivalent depth, no share in the integrated ultimate
// resistance and no small-deflection threshold: at y = 0 the modulus is k b itself.
#include "io/format.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

// Spacing of the default print points of an uncapped subgrade, as a share of the diameter (1/320).
constexpr double UNCAPPED_STEP = s(0.003125f);

class ElasticSubgrade : public Criterion {
public:
    ElasticSubgrade() : Criterion(6) {}

    bool hasCapPass() const override { return false; }
    bool hasCapZoneRule() const override { return false; }
    bool takesCapWidth() const override { return false; }
    bool usesEquivalentDepth() const override { return false; }

    // Strength (the stress the subgrade can transfer) and k as read; the unit weight only for the
    // profile's extent.
    bool lookups(const Call& call, const Node& node) override {
        c_ = PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        k_ = PRFKAT(node.X);
        PRFGAMAV(node.X, call.status);
        return call.status == ST_OK;
    }

    void constants(const Call&, const Node& node) override {
        b_ = node.b;
        yu_ = c_ / k_;
    }

    // The layer builds up no ultimate resistance for the layers below.
    void integrate(const Call&, const Node&, double&) override {}

    double curve(double y) const override {
        if (c_ > 0.0 && y >= yu_) return c_ * b_;
        return k_ * b_ * y;
    }

    // At y = 0 the modulus is the subgrade's own, k b, scaled by the y-multipliers only.
    Spring spring(double y, const Scale& m) const override {
        Spring sp;
        sp.pc = curve(y);
        sp.pprime = m.pmul * sp.pc;
        sp.Es = y != 0.0 ? m.pmul * sp.pc / y / m.ymul : k_ * b_ / m.ymul;
        if (m.depth) sp.Es = sp.Es * m.pmd / m.ymd;
        return sp;
    }

    // Up to 1.6 times the deflection at which the strength is reached (or b / 20 without a strength).
    double defaultPoint(int i) const override {
        const double dy = c_ > 0.0 ? yu_ / 10.0 : UNCAPPED_STEP * b_;
        return (i - 1) * dy;
    }

    void heading(const Call&, const Node& node) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        u.line() << io::X{10} << "DEPTH BELOW GS" << io::X{5} << "DIAM" << io::X{8} << "ST" << io::X{11} << "ES";
        u.line() << io::X{16} << io::A{2, lb.LBLCOORD} << io::X{12} << io::A{2, lb.LBLSECT} << io::X{6}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN} << "**" << "2" << io::X{5}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN} << "**" << "3";
        u.line() << io::X{10} << io::F{10, 2, UCVD12(node.x)} << io::X{5} << io::F{10, 3, UCVM1E3(node.b)}
                 << io::G{11, 2, UCVKIPDIV(c_)} << io::X{3} << io::G{11, 2, UCVKIPDIV(k_)};
        u.blankLines(1);
        u.line() << io::X{38} << "Y" << io::X{19} << "P";
        u.line() << io::X{38} << io::A{2, lb.LBLLEN} << io::X{15} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
        plotNodeX(node.X);
    }

    void plotRecord(double yl, double pl) const override {
        io::unit(PLOT_UNIT).line() << io::X{1} << io::PE{15, 8, yl} << io::X{2} << io::PE{15, 8, pl};
    }

private:
    double c_ = 0.0, k_ = 0.0, b_ = 0.0;
    double yu_ = 0.0;  // deflection at which the reaction reaches the strength c b
};

}  // namespace

void PYELASTIC(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    ElasticSubgrade crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
