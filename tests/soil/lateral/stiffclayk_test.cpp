// Stiff clay without free water with an initial modulus (code 10): the fourth-root curve under static and
// cyclic loading capped by the line k x_e y, the number of cycles (0 or less counts as one), the default
// k and E50, the equivalent depth and the running average strength of a lower layer, and the report
// heading, against values worked out by hand from the curve formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface X = 0, in one layer:
// c = 10 psi, gamma' = 0.03 pci, E50 = 0.005, k = 500 pci. At node 3 (x = x_e = 48 in), ca = c = 10:
//   pu = min((0.03 * 48 + 3 * 10) * 12 + 0.5 * 10 * 48, 9 * 10 * 12) = min(377.28 + 240, 1080) = 617.28,
//   y50 = 2.5 * 0.005 * 12 = 0.15 in, the line k x_e = 500 * 48 = 24000 lb/in2.
class StiffClayK : public PyModel {
protected:
    static constexpr double PU = 617.28, Y50 = 0.15, LINE = 24000.0;

    void build(SoilRow row = {.gamma = 0.03, .c = 10.0, .e50 = 0.005, .k = 500.0}) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(10, 0.0, 600.0, row)});
        layOut(1);
    }
};

TEST_F(StiffClayK, StaticCurveOnEveryBranch) {
    build();
    struct Case {
        double y, p;
    };
    const Case cases[] = {
        {0.001, LINE * 0.001},                                   // the line: 24 < 0.5 pu (0.001 / y50)^0.25 = 88.2
        {Y50, 0.5 * PU},                                         // 0.5 pu at y50 (the line gives 3600)
        {Y50 / 16.0, 0.25 * PU},                                 // (1/16)^0.25 = 1/2
        {16.0 * Y50, PU},                                        // reaches pu at 16 y50
        {5.0, PU},                                               // and stays there
    };
    for (const Case& c : cases) EXPECT_TRUE(near(curve(3, c.y), c.p, 1e-12)) << "y = " << c.y;
    // At zero deflection the slope of the line, whatever the multipliers; the reaction is +0.
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    const Spring sp = at(1, 3, 0.0);
    EXPECT_EQ(sp.Es, LINE);
    EXPECT_EQ(sp.p, 0.0);
    EXPECT_FALSE(std::signbit(sp.p));
}

TEST_F(StiffClayK, CyclicCurveStretchedByTheCycles) {
    build();
    CTLPAR.KSTATIC = 0;
    CTLPAR.NCYCLES = 10.0;
    // One decade of cycles stretches the deflection scale by 1 + 0.6 = 1.6 (single precision).
    const double stretch = 1.0 + s(0.6f);
    EXPECT_TRUE(near(curve(3, stretch * Y50), 0.5 * PU, 1e-12));
    EXPECT_TRUE(near(curve(3, 1.0), 0.5 * PU * std::pow(1.0 / (stretch * Y50), 0.25), 1e-12));
    // pu is reached at 25.6 y50 = 3.84 in, not at 16 y50 = 2.4 in.
    EXPECT_LT(curve(3, 2.4), 0.99 * PU);
    EXPECT_TRUE(near(curve(3, 3.84), PU, 1e-7));
    EXPECT_TRUE(near(curve(3, 10.0), PU));
}

TEST_F(StiffClayK, NoCyclesCountAsOne) {
    // A count of 0 or less is one cycle: the cyclic curve is then the static one, and the case's word is
    // left as it is.
    build();
    CTLPAR.KSTATIC = 0;
    for (double N : {1.0, 0.0, -3.0}) {
        CTLPAR.NCYCLES = N;
        EXPECT_TRUE(near(curve(3, Y50), 0.5 * PU, 1e-12)) << "N = " << N;
        EXPECT_TRUE(near(curve(3, 3.0), PU, 1e-12)) << "N = " << N;
        EXPECT_EQ(CTLPAR.NCYCLES, N);
    }
}

TEST_F(StiffClayK, DefaultModulusAndStrain) {
    // c = 20 psi lies in the band 2 c0 to 4 c0 (1000 psf = 6.944 psi): k = 1000 static, 400 cyclic;
    // E50 = 0.005 for that band. pu = (1.44 + 60) * 12 + 0.5 * 20 * 48 = 1217.28 (< 9 c b = 2160).
    build({.gamma = 0.03, .c = 20.0, .e50 = 0.0, .k = 0.0});
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, 1000.0 * 48.0));
    const double y50 = 2.5 * s(0.005f) * 12.0;
    EXPECT_TRUE(near(curve(3, y50), 0.5 * 1217.28, 1e-12));
    CTLPAR.KSTATIC = 0;
    CTLPAR.NCYCLES = 1.0;
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, 400.0 * 48.0));
}

TEST_F(StiffClayK, StaticCurveInSIUnits) {
    // 6 m pile in 10 increments, b = 0.3 m; c = 50 kPa, gamma' = 8 kN/m3, E50 = 0.005, k = 1e5 kN/m3. At
    // node 3 (x = 1.2 m): pu = min((8 * 1.2 + 150) * 0.3 + 0.5 * 50 * 1.2, 9 * 50 * 0.3) = 77.88 kN/m,
    // y50 = 0.00375 m; the line 1e5 * 1.2 * y.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(10, 0.0, 15.0, {.gamma = 8.0, .c = 50.0, .e50 = 0.005, .k = 1e5})});
    layOut(1);
    EXPECT_TRUE(near(curve(3, 1e-5), 1.2e5 * 1e-5, 1e-12));
    EXPECT_TRUE(near(curve(3, 0.00375), 38.94, 1e-12));
    EXPECT_TRUE(near(curve(3, 0.1), 77.88, 1e-12));
}

// Soft clay over stiff clay: soft clay 0..60 in (c = 5 psi, gamma' = 0.03, E50 = 0.01), then code 10 from
// 60 in with c growing from 10 psi at its top by 0.1 psi per inch (gamma' = 0.03, E50 = 0.005, k = 500).
// The soft clay's nodes 2 and 3 (x = 24, 48; pu = 248.64 and 317.28, softclay_test) build up
// F = 24 * (248.64 + 317.28). At node 4 (X = 72, c = ca = 11.2) the crossing test fails
// (9 c b = 1209.6 > (0.36 + 5.6) * 72 + 36 * 11.2 = 832.32), and F stays below the resistance down to the
// transition depth, so the equivalent depth is the root of a X^2 + d X = F with a = 0.25 c + 0.5 gamma' b
// = 2.98 and d = 3 c b = 403.2: about 27.9 in.
TEST_F(StiffClayK, LowerLayerEquivalentDepthAndRunningAverageStrength) {
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 60.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01}),
          {10, 60.0, 600.0, {.gamma = 0.03, .c = 10.0, .e50 = 0.005, .k = 500.0},
           {.gamma = 0.03, .c = 64.0, .e50 = 0.005, .k = 500.0}}});
    layOut(1);
    const double F = 24.0 * (248.64 + 317.28);
    const double eq = (std::sqrt(403.2 * 403.2 + 4.0 * 2.98 * F) - 403.2) * 0.5 / 2.98;
    EXPECT_TRUE(near(curve(4, 3.0), (2.16 + 33.6) * 12.0 + 0.5 * 11.2 * (eq + 12.0), 1e-12));
    EXPECT_TRUE(near(PYDRV.EQDEP(1, 2), eq, 1e-12));
    EXPECT_NEAR(eq, 27.92, 0.01);
    // Node 5 (X = 96, c = 13.6): ca is the trapezoid average over the layer's nodes, (11.2 + 13.6) / 2.
    EXPECT_TRUE(near(curve(5, 3.0), (2.88 + 3.0 * 12.4) * 12.0 + 0.5 * 12.4 * (eq + 36.0), 1e-12));
    // Node 6 (X = 120, c = 16): ((11.2 + 13.6) / 2 * 24 + (13.6 + 16) / 2 * 24) / 48 = 13.6.
    EXPECT_TRUE(near(curve(6, 3.0), (3.6 + 3.0 * 13.6) * 12.0 + 0.5 * 13.6 * (eq + 60.0), 1e-12));

    // A listing of node 5 alone takes ca as the mean of the strengths at the layer top and at the node,
    // (10 + 13.6) / 2 = 11.8, and the stored equivalent depth.
    fileListing(2, 5, {3.0});
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 10);
    EXPECT_TRUE(near(PYPLOT.PLP(1), (2.88 + 3.0 * 11.8) * 12.0 + 0.5 * 11.8 * (eq + 36.0), 1e-12));
}

TEST_F(StiffClayK, DefaultPointsAndBeyondTheStrengthProfile) {
    build();
    fileListing(1, 3, {});
    ASSERT_EQ(evaluate(1), 0);
    // 17 fractions of ym = 16 y50 = 2.4 in.
    EXPECT_EQ(PYPLOT.PLY(1), 0.0);
    EXPECT_TRUE(near(PYPLOT.PLY(16), 2.4));
    EXPECT_TRUE(near(PYPLOT.PLY(17), s(1.2f) * 2.4));
    EXPECT_TRUE(near(PYPLOT.PLP(16), PU));

    // A node below the end of the strength profile stops the generator with status 23.
    SetUp();
    build();
    SOILPRF.XP(2) = 30.0;
    y(3) = 0.1;
    EXPECT_EQ(evaluate(1), 23);
    EXPECT_NE(text(10).find("THE INPUT STRENGTH CURVE"), std::string::npos);
}

TEST_F(StiffClayK, ReportHeading) {
    // Node 3: x = 4 ft, b = 12 in, c = ca = 10 psi = 1440 psf, gamma' = 0.03 pci = 51.84 pcf, E50 = 0.005;
    // one point at y50: p = 308.64 lb/in.
    build();
    CTLIN.KPYOP = 1;
    PYMODE.PYPRTMODE = 1;
    PYMODE.NPYPT = 1;
    PYMODE.PYPRTREQ = 1;
    PYPRT.PYPRTDEF(1, 1) = Y50;
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
        "                                  0.15000             308.640 \n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 48.0\n  1.50000000E-01  3.08640000E+02\n");
}

}  // namespace
}  // namespace kaldo::test
