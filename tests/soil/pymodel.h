// Test support for the lateral soil springs: a small model built by hand in the blocks (property sets of
// one constant section, piles, soil layers with their profiles) with the report units open in a
// scratch folder, and the node arrays that PYLAYERS takes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "io/units.h"
#include "model/blocks.h"
#include "pile/pile.h"
#include "services/psec.h"
#include "services/unitlbl.h"
#include "soil/lateral/lateral.h"
#include "support/workdir.h"

namespace kaldo::test {

// The widened single-precision value of a decimal constant, as the curve formulas hold them.
inline constexpr double s(float v) { return static_cast<double>(v); }

// 30 degrees, the friction angle of most sand cases, in radians.
inline constexpr double PHI30 = 0.5235987755982988;

// a and b agree to a relative tolerance (the single-precision constants of the formulas aside).
inline ::testing::AssertionResult near(double a, double b, double rel = 1e-9) {
    const double tol = rel * std::max(std::fabs(a), std::fabs(b));
    if (std::fabs(a - b) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " vs " << b << " (relative tolerance " << rel << ")";
}

// The soil values of one row of a layer (top or bottom), internal units.
struct SoilRow {
    double gamma = 0.0, c = 0.0, phi = 0.0, e50 = 0.0, k = 0.0, j = 0.0;
};

struct LayerSpec {
    int code;
    double top, bot;
    SoilRow atTop, atBot;
};

// A layer whose values do not change with depth.
inline LayerSpec uniform(int code, double top, double bot, SoilRow r) { return {code, top, bot, r, r}; }

class PyModel : public ::testing::Test {
protected:
    WorkDir dir;
    NodeArray y{}, Es{}, sm1{}, sm2{}, esy{}, p{};

    void SetUp() override {
        io::closeAllUnits();
        resetAllBlocks();
        open(10, "r.run");
        open(16, "r.out");
        open(17, "r.plt");
        open(32, "r.echo");
        runWideValues();
    }
    // The run-wide values every case starts from: the smallest deflection and the depth tolerance,
    // English units, no p- or y-multipliers, static loading.
    static void runWideValues() {
        RUNCONST.YMIN = 1e-14;
        RUNCONST.DEPTOL = 1e-6;
        english();
        for (int i = 1; i <= MAXPILE + 1; ++i) PILEFAC.PMUL(i) = PILEFAC.YMUL(i) = 1.0;
        CTLPAR.KSTATIC = 1;
    }
    void TearDown() override {
        io::closeAllUnits();
        resetAllBlocks();
    }

    void open(int unit, const std::string& name) {
        ASSERT_TRUE(io::unit(unit).open((dir / name).string(), io::Mode::Write));
    }
    // What a unit's file holds so far.
    std::string text(int unit) {
        io::unit(unit).flush();
        return WorkDir::readPath(io::unit(unit).path());
    }

    static void english() {
        CTLIN.UNITS = 1;
        UNITLBL(1, 0);
    }
    static void si() {
        CTLIN.UNITS = 2;
        UNITLBL(-1, 0);
    }

    // Property set s: one section of diameter b over the length, n increments.
    static void propertySet(int s, double length, int n, double b) {
        PILESET.NSECT(s) = 1;
        PILESET.NINC(s) = n;
        PILESET.PLEN(s) = length;
        SECTTAB.SECTTOP(s, 1) = 0.0;
        SECTTAB.SECTBOT(s, 1) = length;
        SECTTAB.SECTDIAM(s, 1, SectTab::TOP) = SECTTAB.SECTDIAM(s, 1, SectTab::BOT) = b;
        setDepthSentinel(s);
    }
    // Pile i of set s, head at X = headX, ground surface ground below the head.
    static void pile(int i, int s, double headX, double ground) {
        PILE.NPILES = std::max(PILE.NPILES, i);
        PILE.PSETNO(i) = s;
        PILE.HEADX(i) = PILE.HEADXW(i) = headX;
        PILE.GROUND(i) = ground;
    }
    // The layer table and the profiles (two rows per layer).
    static void soil(const std::vector<LayerSpec>& layers) {
        const int n = static_cast<int>(layers.size());
        SOILLAY.NLAYER = n;
        SOILIN.NLAYIN = n;
        SOILPRF.NXP = SOILPRF.NXG = 2 * n;
        for (int l = 1; l <= n; ++l) {
            const LayerSpec& s = layers[static_cast<std::size_t>(l - 1)];
            SOILLAY.LCRIT(l) = s.code;
            SOILLAY.XTOP(l) = s.top;
            SOILLAY.XBOT(l) = s.bot;
            for (int r = 0; r < 2; ++r) {
                const int row = 2 * l - 1 + r;
                const SoilRow& v = r == 0 ? s.atTop : s.atBot;
                SOILPRF.XP(row) = SOILPRF.XG(row) = r == 0 ? s.top : s.bot;
                SOILPRF.GAMMA(row) = v.gamma;
                SOILPRF.CU(row) = v.c;
                SOILPRF.PHI(row) = v.phi;
                SOILPRF.E50(row) = v.e50;
                SOILPRF.KPY(row) = v.k;
                SOILPRF.JRQD(row) = v.j;
            }
        }
    }
    // The node set-up of pile i (three-dimensional), after the run-wide values are set once.
    static void layOut(int i) {
        prepareNodeTables();
        int status = 0;
        NODE(i, status);
        ASSERT_EQ(status, 0);
    }
    // Evaluates the springs of pile i (its own PILEFAC row) and returns the status.
    int evaluate(int i) {
        int status = 0;
        PYLAYERS(PILE.PSETNO(i), status, i, i, y, Es, sm1, sm2, esy, p);
        return status;
    }
    // Es and p at node j of pile i for the deflection yj there.
    struct Spring {
        double Es, p;
    };
    Spring at(int i, int j, double yj) {
        y(j) = yj;
        EXPECT_EQ(evaluate(i), 0);
        return {Es(j), p(j)};
    }
    // The curve value of pile 1 at node j for the deflection yv: -p with the p-multiplier 1 (positive
    // deflection), checking that the secant handed to the solver is p / y.
    double curve(int j, double yv) {
        const Spring sp = at(1, j, yv);
        EXPECT_TRUE(near(sp.Es, -sp.p / yv)) << "the secant is p / y";
        return -sp.p;
    }
    // Lists node j of layer L of pile 1 alone into the curve record at the deflections given.
    static void fileListing(int L, int j, std::initializer_list<double> ys) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = 1;
        PYMODE.NPYPT = static_cast<int>(ys.size());
        int i = 1;
        for (double v : ys) OPTCRV.CRVPYDEF(i++) = v;
        for (int l = 1; l <= SOILLAY.NLAYER; ++l) PYDRV.LNFIRST(1, l) = PYDRV.LNLAST(1, l) = 0;
        PYDRV.LNFIRST(1, L) = PYDRV.LNLAST(1, L) = j;
    }
};

}  // namespace kaldo::test
