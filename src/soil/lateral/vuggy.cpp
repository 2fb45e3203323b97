// Vuggy limestone (criterion code 6): a rock described by its uniaxial compressive strength qu (the
// strength column of the profile), whose curve does not depend on depth: a line of slope 2000 su up to
// 0.0004 b, a line of slope 100 su up to the deflection at which the reaction reaches su b (about
// 0.0024 b), then a residual reaction 3.38 b times the average unit weight.
//
// One pass over the layer's nodes with the section diameter: no cap pass, no cap width, and no part in
// the equivalent-depth bookkeeping (the layer's integrated resistance stays 0).
#include "io/format.h"
#include "io/units.h"
#include "model/labels.h"
#include "model/runblocks.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "services/warning.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using namespace py;

constexpr double FIRST_REACH = s(0.0004f);  // the first line ends at 0.0004 b
constexpr double FIRST_SLOPE = 2000.0;      // slopes of the two lines, times su
constexpr double SECOND_SLOPE = 100.0;
constexpr double RESIDUAL = s(3.38f);       // residual reaction, times b and the average unit weight

class VuggyLimestone : public Criterion {
public:
    VuggyLimestone() : Criterion(6) {}

    bool hasCapPass() const override { return false; }
    bool takesCapWidth() const override { return false; }
    bool usesEquivalentDepth() const override { return false; }

    // Strength and average unit weight. A rock without strength has no curve (the end of the second
    // line is not defined): the run stops with the layer named.
    bool lookups(const Call& call, const Node& node) override {
        const double qu = PRFCAT(node.X, call.status);
        if (call.status != ST_OK) return false;
        su_ = qu / 2.0;
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        if (su_ <= 0.0) {
            writeWarning({"VUGGY LIMESTONE OF LAYER" + io::fmtI(3, call.layer) + " HAS NO STRENGTH AT X =" +
                              io::fmtG(11, 4, node.X) + ",",
                          "SO THAT ITS P-Y CURVE CANNOT BE FORMED."});
            call.status = ST_BADVALUE;
            return false;
        }
        return true;
    }

    void constants(const Call&, const Node& node) override {
        b_ = node.b;
        x_ = node.x;
        yA_ = FIRST_REACH * b_;
        pA_ = FIRST_SLOPE * su_ * yA_;
        yB_ = yA_ + (b_ * su_ - pA_) / (SECOND_SLOPE * su_);
    }

    // The layer builds up no ultimate resistance for the layers below.
    void integrate(const Call&, const Node&, double&) override {}

    double curve(double y) const override {
        if (y < yA_) return FIRST_SLOPE * su_ * y;
        if (y < yB_) return pA_ + SECOND_SLOPE * su_ * (y - yA_);
        return RESIDUAL * b_ * gamma_;
    }

    // Below the smallest deflection the slope of the first line stands, with the y-multipliers but not
    // the p-multiplier.
    Spring spring(double y, const Scale& m) const override {
        if (y >= RUNCONST.YMIN) return Criterion::spring(y, m);
        Spring sp;
        sp.small = true;
        sp.pc = curve(y);
        sp.pprime = m.pmul * sp.pc;
        sp.Es = FIRST_SLOPE * su_ / m.ymul;
        if (m.depth) sp.Es = sp.Es * m.pmd / m.ymd;
        return sp;
    }

    // Up to 16/15 of the end of the second line.
    double defaultPoint(int i) const override { return (i - 1) * yB_ / 15.0; }

    void heading(const Call&, const Node&) const override {
        const UnitLabels& lb = LABELS;
        io::Unit& u = io::unit(ECHO_UNIT);
        u.blankLines(1);
        u.line() << io::X{10} << "DEPTH BELOW GS" << io::X{5} << "DIAM" << io::X{8} << "C";
        u.line() << io::X{16} << io::A{2, lb.LBLCOORD} << io::X{12} << io::A{2, lb.LBLSECT} << io::X{5}
                 << io::A{3, lb.LBLRFORCE} << "/" << io::A{2, lb.LBLLEN} << "**" << "2";
        u.line() << io::X{10} << io::F{10, 2, UCVD12(x_)} << io::X{5} << io::F{10, 3, UCVM1E3(b_)}
                 << io::G{10, 1, UCVKIPDIV(su_)};
        u.line() << io::X{38} << "Y" << io::X{19} << "P";
        u.line() << io::X{38} << io::A{2, lb.LBLLEN} << io::X{15} << io::A{3, lb.LBLRFORCE} << "/"
                 << io::A{2, lb.LBLLEN};
    }

    // The node's X on the plot output file whenever curves are listed, for the report and for the curve
    // data file alike.
    void beforePoints(const Call& call, const Node& node) const override {
        if (call.kpyop != 0) plotNodeX(node.X);
    }

    void plotRecord(double yl, double pl) const override {
        io::unit(PLOT_UNIT).line() << io::X{1} << io::PE{15, 8, yl} << io::X{2} << io::PE{15, 8, pl};
    }

private:
    double su_ = 0.0, gamma_ = 0.0;  // half the compressive strength, average unit weight
    double b_ = 0.0, x_ = 0.0;
    double yA_ = 0.0, pA_ = 0.0, yB_ = 0.0;  // ends of the two lines
};

}  // namespace

void PYVUGGY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
             const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    VuggyLimestone crit;
    py::generate(crit, pset, layer, status, pile, fidx, y, Es, smov1, smov2, esy, p);
}

}  // namespace kaldo
