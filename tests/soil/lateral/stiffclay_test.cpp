// Stiff clay without free water (code 3): the fourth-root curve under static and cyclic loading, the
// number of cycles (0 or less counts as one instead of giving infinities), the small-deflection secant,
// the crossing test of a lower layer and its running average strength, the listing's average strength,
// the default points, a missing E50 and the report heading, against values worked out by hand from the
// curve formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface X = 0, in one layer:
// c = 10 psi, gamma' = 0.03 pci, E50 = 0.005. At node 3 (x = x_e = 48 in), ca = c = 10:
//   pu = min((0.03 * 48 + 3 * 10) * 12 + 0.5 * 10 * 48, 9 * 10 * 12) = 617.28, y50 = 0.15 in.
class StiffClay : public PyModel {
protected:
    static constexpr double PU = 617.28, Y50 = 0.15;

    void build(SoilRow row = {.gamma = 0.03, .c = 10.0, .e50 = 0.005}) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(3, 0.0, 600.0, row)});
        layOut(1);
    }
};

TEST_F(StiffClay, StaticCurveOnEveryBranch) {
    build();
    struct Case {
        double y, p;
    };
    const Case cases[] = {
        {Y50 / 16.0, 0.25 * PU},  // 0.5 pu (1/16)^0.25
        {Y50, 0.5 * PU},
        {16.0 * Y50, PU},         // 0.5 * 16^0.25 = 1
        {5.0, PU},
    };
    for (const Case& c : cases) EXPECT_TRUE(near(curve(3, c.y), c.p, 1e-12)) << "y = " << c.y;
    // Below YMIN the secant of the static curve at 1e-14, with no multiplier; the reaction is +0.
    PILEFAC.PMUL(1) = 0.5;
    const double E0 = 0.5 * PU * std::pow(Y50 / 1e-14, 0.75) / Y50;
    const Spring sp = at(1, 3, 0.0);
    EXPECT_TRUE(near(sp.Es, E0, 1e-12));
    EXPECT_EQ(sp.p, 0.0);
    EXPECT_FALSE(std::signbit(sp.p));
}

TEST_F(StiffClay, CyclicCurveAndTheNumberOfCycles) {
    build();
    CTLPAR.KSTATIC = 0;
    CTLPAR.NCYCLES = 10.0;
    // One decade stretches the deflection scale by 1.6: 0.5 pu at 1.6 y50, pu from 25.6 y50 = 3.84 in.
    const double stretch = 1.0 + s(0.6f);
    EXPECT_TRUE(near(curve(3, stretch * Y50), 0.5 * PU, 1e-12));
    EXPECT_TRUE(near(curve(3, 3.0), 0.5 * PU * std::pow(12.5, 0.25), 1e-7));  // 3 / 0.24 = 12.5
    EXPECT_TRUE(near(curve(3, 3.84), PU, 1e-7));
    EXPECT_TRUE(near(curve(3, 10.0), PU));
    // The small-deflection secant stays that of the static curve.
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, 0.5 * PU * std::pow(Y50 / 1e-14, 0.75) / Y50, 1e-12));

    // 0 or fewer cycles count as one: the cyclic curve is the static one, with finite values, and the
    // case's word is left as it is.
    for (double N : {1.0, 0.0, -2.0}) {
        CTLPAR.NCYCLES = N;
        EXPECT_TRUE(near(curve(3, Y50), 0.5 * PU, 1e-12)) << "N = " << N;
        EXPECT_TRUE(near(curve(3, 3.0), PU, 1e-12)) << "N = " << N;
        EXPECT_EQ(CTLPAR.NCYCLES, N);
    }
    // The default points reach 1.2 ym with ym = 16 y50 for one cycle.
    CTLPAR.NCYCLES = 0.0;
    fileListing(1, 3, {});
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 3);
    EXPECT_TRUE(near(PYPLOT.PLY(16), 16.0 * Y50));
    EXPECT_TRUE(near(PYPLOT.PLY(17), s(1.2f) * 16.0 * Y50));
    EXPECT_TRUE(near(PYPLOT.PLP(16), PU));
    EXPECT_TRUE(std::isfinite(PYPLOT.PLP(2)));
}

TEST_F(StiffClay, DefaultPointsUnderTenCycles) {
    build();
    CTLPAR.KSTATIC = 0;
    CTLPAR.NCYCLES = 10.0;
    fileListing(1, 3, {});
    ASSERT_EQ(evaluate(1), 0);
    // ym = (16 + 9.6) y50 = 3.84 in.
    const double ym = (16.0 + s(9.6f)) * Y50;
    EXPECT_TRUE(near(PYPLOT.PLY(16), ym));
    EXPECT_TRUE(near(PYPLOT.PLP(16), PU, 1e-7));
}

TEST_F(StiffClay, MissingStrainTakesTheDefaultOrStopsTheRun) {
    // c = 10 psi lies in the band 1000 to 2000 psf: E50 = 0.007.
    build({.gamma = 0.03, .c = 10.0, .e50 = 0.0});
    EXPECT_TRUE(near(curve(3, 2.5 * s(0.007f) * 12.0), 0.5 * PU, 1e-12));
    // The generic units system has no default: no curve can be formed and the run stops.
    SetUp();
    CTLIN.UNITS = 3;
    build({.gamma = 0.03, .c = 10.0, .e50 = 0.0});
    y(3) = 0.1;
    EXPECT_EQ(evaluate(1), 115);
    for (int unit : {10, 16}) {
        const std::string t = text(unit);
        EXPECT_NE(t.find("STIFF CLAY WITHOUT FREE WATER OF LAYER  1 HAS NO E50 AT X ="), std::string::npos) << t;
    }
}

TEST_F(StiffClay, StaticCurveInSIUnits) {
    // b = 0.3 m; c = 50 kPa, gamma' = 8 kN/m3, E50 = 0.005. At node 3 (x = 1.2 m): pu = 77.88 kN/m,
    // y50 = 0.00375 m (as for the stiff clay with k, without its line).
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(3, 0.0, 15.0, {.gamma = 8.0, .c = 50.0, .e50 = 0.005})});
    layOut(1);
    EXPECT_TRUE(near(curve(3, 0.00375 / 16.0), 0.25 * 77.88, 1e-12));
    EXPECT_TRUE(near(curve(3, 0.00375), 38.94, 1e-12));
    EXPECT_TRUE(near(curve(3, 0.1), 77.88, 1e-12));
}

// Soft clay 0..120 in, then stiff clay from X = 120 with c = 2 psi at its top, growing by 0.1 psi per
// inch (gamma' = 0.03, E50 = 0.005). Node 6 lies on the layer top: there c = ca = 2 and the wedge term
// (0.36 + 1) * 120 + 36 * 2 = 235.2 exceeds 9 c b = 216, so the equivalent depth is the true depth
// 120 in, and pu = 9 c b. Node 7 (X = 144, c = 4.4): ca = (2 + 4.4) / 2 = 3.2, x_e = 144,
//   pu = min((0.03 * 144 + 9.6) * 12 + 0.5 * 3.2 * 144, 9 * 4.4 * 12) = min(167.04 + 230.4, 475.2) = 397.44.
TEST_F(StiffClay, CrossingTestAndRunningAverageStrengthOfALowerLayer) {
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 120.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01}),
          {3, 120.0, 600.0, {.gamma = 0.03, .c = 2.0, .e50 = 0.005}, {.gamma = 0.03, .c = 50.0, .e50 = 0.005}}});
    layOut(1);
    // (On the boundary E50 is the mean of the two layers', 0.0075: pu is reached at 16 y50 = 3.6 in.)
    EXPECT_TRUE(near(curve(6, 5.0), 216.0, 1e-12));
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 120.0);
    EXPECT_TRUE(near(curve(7, 3.0), 397.44, 1e-12));

    // Listed alone, node 9 (X = 192, c = 9.2) takes ca = (c at the layer top + c) / 2 = 5.6 (not its own
    // c, as a running average over one node would) and x_e = 120 + 72:
    //   pu = min((5.76 + 16.8) * 12 + 0.5 * 5.6 * 192, 9 * 9.2 * 12) = min(270.72 + 537.6, 993.6) = 808.32.
    fileListing(2, 9, {5.0});
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYPLOT.PLP(1), 808.32, 1e-12));
}

TEST_F(StiffClay, ReportHeading) {
    // Node 3: x = 4 ft, b = 12 in, c = ca = 1440 psf, gamma' = 51.84 pcf, E50 = 0.005; one point at 16 y50.
    build();
    CTLIN.KPYOP = 1;
    PYMODE.PYPRTMODE = 1;
    PYMODE.NPYPT = 1;
    PYMODE.PYPRTREQ = 1;
    PYPRT.PYPRTDEF(1, 1) = 2.4;
    PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo =
        "\n"
        "          DEPTH BELOW GS     DIAM        C       CAVG      GAMMA       E50\n"
        "                FT            IN     LBS/FT**2 LBS/FT**2 LBS/FT**3\n"
        "                4.00         12.000  0.14E+04  0.14E+04   52.      0.5000E-02\n"
        "             EQ. DEPTH =    4.00 FT\n"
        "\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n"
        "                                  2.40000             617.280 \n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 48.0\n  2.40000000E+00  6.17280000E+02\n");
}

}  // namespace
}  // namespace kaldo::test
