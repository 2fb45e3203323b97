// Stiff clay with free water: the static and cyclic curves on each of their pieces and under the cap
// of the initial line, wedge and flow resistance, English and SI units, the default E50 and k, the
// average strength of the wedge in the first layer, in a lower layer and in a listed curve, the default
// points, the report heading, the equivalent depth and the integrated resistance, against values worked
// out by hand from the formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface, in stiff clay of
// gamma' = 0.04 pci, c = 10 psi (so ca = 10), E50 = 0.005, k = 1000 pci. At node 2 (x = x_e = 24 in):
//   pct = (0.04 * 24 + 2 * 10) * 12 + 2.83 * 10 * 24 = 930.72 < pcd = 11 * 10 * 12 = 1320: pc = 930.72;
//   x / b = 2: As = 0.55, Ac = 0.30; y50 = 0.005 * 12 = 0.06, As y50 = 0.033; k x_e = 24000;
//   cyclic yp = 4.1 Ac y50 = 0.0738.
class StiffClayWater : public PyModel {
protected:
    static constexpr double PC = 930.7199816894531;  // 2.83 in single precision

    void build(SoilRow row = {.gamma = 0.04, .c = 10.0, .e50 = 0.005, .k = 1000.0}) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(2, 0.0, 600.0, row)});
        layOut(1);
    }
    struct Case {
        double y, p;
    };
    void expectCurve(int node, const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_TRUE(near(curve(node, c.y), c.p, 1e-8)) << "node " << node << " y " << c.y;
    }
    void listing(int fileMode, int points) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = fileMode;
        PYMODE.NPYPT = points;
    }
};

TEST_F(StiffClayWater, StaticCurveOnEveryPiece) {
    build();
    const double As = s(0.55f), yA = As * 0.06;
    expectCurve(2, {
                       {0.001, 24.0},                              // the line k x_e y caps 0.5 pc (y / y50)^0.5
                       {0.02, 0.5 * PC * std::sqrt(0.02 / 0.06)},  // 268.68, square root up to As y50
                       {yA, 0.5 * PC * std::sqrt(As)},             // continuous there
                       {0.1, 476.7168765602786},                   // minus 0.055 pc (y / (As y50) - 1)^1.25
                       {0.5, 170.0534988197561},                   // falling linearly from 6 As y50
                       {1.0, 78.92048813073626},                   // residual beyond 18 As y50
                   });
    // The residual: 0.5 pc sqrt(6 As) - 0.411 pc - 0.75 As pc.
    EXPECT_TRUE(near(curve(2, 2.0), PC * (0.5 * std::sqrt(6.0 * As) - s(0.411f) - 0.75 * As), 1e-8));
}

TEST_F(StiffClayWater, CyclicCurveOnEveryPiece) {
    build();
    CTLPAR.KSTATIC = 0;
    const double Ac = s(0.30f), yp = s(4.1f) * Ac * 0.06;
    expectCurve(2, {
                       {0.001, 20.546678924650415},                    // Ac pc (1 - |y / 0.45 yp - 1|^2.5)
                       {s(0.45f) * yp, Ac * PC},                       // the peak at 0.45 yp
                       {yp, 222.42346994929028},                       // 0.936 Ac pc - 0.085 pc (y - 0.6 yp) / y50
                       {2.0 * yp, 144.5780496711352},                  // 0.936 Ac pc - 0.102 pc yp / y50
                   });
    // At 0.6 yp the first piece gives Ac pc (1 - (1/3)^2.5) = 0.93585 Ac pc, just short of the 0.936 Ac pc
    // at which the second starts.
    EXPECT_TRUE(near(curve(2, s(0.6f) * yp), Ac * PC * (1.0 - std::pow(1.0 / 3.0, 2.5)), 1e-7));
}

TEST_F(StiffClayWater, FlowGovernsAtDepth) {
    // Node 4 (x = 72): pct = 2312.16 > pcd = 1320; x / b = 6 is past the As table: As = 0.60,
    // As y50 = 0.036. At y = 0.02: 0.5 * 1320 * sqrt(1/3).
    build();
    expectCurve(4, {{0.02, 381.05117766515303}});
}

TEST_F(StiffClayWater, SIUnits) {
    // 6 m pile in 10 increments, b = 0.3 m, gamma' = 9 kN/m3, c = 60 kPa, E50 = 0.005, k = 300000 kN/m3.
    // Node 2 (x = 0.6 m): pct = (5.4 + 120) * 0.3 + 2.83 * 60 * 0.6 = 139.5 < pcd = 198; y50 = 0.0015 m.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(2, 0.0, 15.0, {.gamma = 9.0, .c = 60.0, .e50 = 0.005, .k = 300000.0})});
    layOut(1);
    expectCurve(2, {{0.0005, 40.27018048310646},
                    {0.002, 68.60276808271588},
                    {0.01, 40.01954166528445},
                    {0.02, 11.828915349482145}});
}

TEST_F(StiffClayWater, DefaultStrainAndSubgradeModulus) {
    // E50 and k given as 0 with c = 10 psi (1440 psf, the band 1000 to 2000 psf): E50 = 0.007, k = 500
    // static and 200 cyclic.
    build({.gamma = 0.04, .c = 10.0});
    EXPECT_TRUE(near(at(1, 2, 0.0).Es, 500.0 * 24.0));
    // y50 = 0.007 * 12 = 0.084: 0.5 pc sqrt(0.02 / 0.084) = 227.07 < 12000 * 0.02.
    expectCurve(2, {{0.02, 227.07242100186158}});
    CTLPAR.KSTATIC = 0;
    EXPECT_TRUE(near(at(1, 2, 0.0).Es, 200.0 * 24.0));
}

TEST_F(StiffClayWater, AverageStrengthOfTheWedge) {
    // b = 36 in, so that the wedge term governs deeper down; at y = 0.05 < As y50 the reaction is
    // 0.5 pct sqrt(0.05 / 0.18).
    // First layer, c = 10 + 0.05 X psi: ca is the average from the ground surface. Node 3 (X = 48):
    // c = 12.4, ca = 11.2, pct = (1.92 + 22.4) * 36 + 2.83 * 11.2 * 48 = 2396.93 < pcd = 4910.4.
    propertySet(1, 240.0, 10, 36.0);
    pile(1, 1, 0.0, 0.0);
    soil({{2, 0.0, 600.0, {.gamma = 0.04, .c = 10.0, .e50 = 0.005, .k = 1000.0},
           {.gamma = 0.04, .c = 40.0, .e50 = 0.005, .k = 1000.0}}});
    layOut(1);
    expectCurve(3, {{0.05, 631.6459781441065}});

    // A lower layer from X = 30, c = 10 + 0.05 (X - 30), under clay without strength (equivalent depth
    // 0, so x_e = X - 30). Its first node is node 3 (X = 48, c = 10.9). At node 4 (X = 72, c = 12.1,
    // x_e = 42, As at x_e / b = 1.1667 = 0.475):
    // - while the load cases run, ca is the running mean over the layer's nodes: (10.9 + 12.1) / 2 = 11.5,
    //   pct = (2.88 + 23) * 36 + 2.83 * 11.5 * 42 = 2298.57;
    // - a listed curve takes the mean of c at the node and at the layer top: (12.1 + 10) / 2 = 11.05,
    //   pct = (2.88 + 22.1) * 36 + 2.83 * 11.05 * 42 = 2212.68.
    SetUp();
    propertySet(1, 240.0, 10, 36.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 30.0, {.gamma = 0.04}),
          {2, 30.0, 600.0, {.gamma = 0.04, .c = 10.0, .e50 = 0.005, .k = 1000.0},
           {.gamma = 0.04, .c = 38.5, .e50 = 0.005, .k = 1000.0}}});
    layOut(1);
    expectCurve(4, {{0.05, 605.7263704002814}});
    EXPECT_NEAR(PYDRV.EQDEP(1, 2), 0.0, 1e-12);

    listing(1, 1);
    OPTCRV.CRVPYDEF(1) = 0.05;
    PYDRV.LNFIRST(1, 1) = 0;
    PYDRV.LNFIRST(1, 2) = PYDRV.LNLAST(1, 2) = 4;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYPLOT.PLP(1), 583.0931589970301, 1e-8));
}

TEST_F(StiffClayWater, DefaultPointsInTheCurveDataFile) {
    // Static: steps of As y50 / 2 to 6 As y50 (point 13), steps of 4 As y50 to 18 As y50, then 26 As y50.
    // Cyclic: steps of 0.05 yp to 0.6 yp, steps of 0.4 yp to 1.8 yp, then 10 yp. The file takes the
    // listed points with the multipliers (YMUL 2, PMUL 0.5). Reactions (0 where not checked): at 10 As y50
    // pc (0.5 sqrt(6 As) - 0.411 - 0.0625 * 4 As) = 334.868; the static and cyclic residuals.
    struct Case {
        int kstatic, point;
        double y, p;
    };
    const double yA = s(0.55f) * 0.06, yp = s(4.1f) * s(0.30f) * 0.06;
    const Case cases[] = {{1, 2, 0.5 * yA, 0.0},
                          {1, 13, 6.0 * yA, 0.0},
                          {1, 14, 10.0 * yA, 334.86848864285923},
                          {1, 16, 18.0 * yA, 0.0},
                          {1, 17, 26.0 * yA, 78.92048813073626},
                          {0, 2, s(0.05f) * yp, 0.0},
                          {0, 13, s(0.6f) * yp, 0.0},
                          {0, 16, s(1.8f) * yp, 0.0},
                          {0, 17, 10.0 * yp, 144.5780496711352}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kstatic " << c.kstatic << " point " << c.point);
        SetUp();
        build();
        CTLPAR.KSTATIC = c.kstatic;
        PILEFAC.PMUL(1) = 0.5;
        PILEFAC.YMUL(1) = 2.0;
        listing(1, 0);
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 2;
        ASSERT_EQ(evaluate(1), 0);
        EXPECT_EQ(PYPLOT.PLTYPE, 2);
        EXPECT_TRUE(near(PYPLOT.PLY(c.point), 2.0 * c.y, 1e-7));
        if (c.p != 0.0) {
            EXPECT_TRUE(near(PYPLOT.PLP(c.point), 0.5 * c.p, 1e-7));
        }
    }
}

TEST_F(StiffClayWater, ReportHeading) {
    // Node 2: x = 2 ft, b = 12 in, c = ca = 1440 psf (G10.2 "  0.14E+04"), gamma' = 69.12 pcf
    // ("   69.    "), E50 = 0.005 (G12.4 "  0.5000E-02"), As = 0.55, Ac = 0.30.
    build();
    listing(0, -1);
    PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 2;
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo = "\n"
                             "         DEPTH BELOW GS      DIAM        C         CAVG      GAMMA        E50\n"
                             "               FT             IN     LBS/FT**2  LBS/FT**2  LBS/FT**3\n"
                             "               2.00         12.000   0.14E+04   0.14E+04    69.      0.5000E-02\n"
                             "         AS = 0.55,    AC = 0.30,    EQ. DEPTH =    2.00 FT\n"
                             "\n"
                             "                                     Y,IN             P,LBS/IN\n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 24.0\n");
}

TEST_F(StiffClayWater, CrossingTestTakesTheTrueDepthOfTheTop) {
    // Below clay without strength, a top at X = 48: pct with x = 48 is (1.92 + 20) * 12 + 2.83 * 10 * 48 =
    // 1621.44 > pcd = 1320, so the equivalent depth is the true depth of the top.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 48.0, {.gamma = 0.04}),
          uniform(2, 48.0, 600.0, {.gamma = 0.04, .c = 10.0, .e50 = 0.005, .k = 1000.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 48.0);
}

TEST_F(StiffClayWater, IntegratedUltimateResistance) {
    // Stiff clay down to X = 30 over soft clay: node 1 lies at the ground surface and is skipped, node 2
    // adds the trapezoid 0.5 h (0 + pc) F with h = 24 and no end term; F is the residual share at
    // As = 0.55, Ac = 0.30: static 1.225 sqrt(As) - 0.411 - 0.75 As = 0.0849843,
    // cyclic 0.936 Ac - 0.418 As = 0.0509.
    for (int kstatic : {1, 0}) {
        SCOPED_TRACE(kstatic);
        SetUp();
        CTLPAR.KSTATIC = kstatic;
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(2, 0.0, 30.0, {.gamma = 0.04, .c = 10.0, .e50 = 0.005, .k = 1000.0}),
              uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
        layOut(1);
        ASSERT_EQ(evaluate(1), 0);
        EXPECT_TRUE(near(PYDRV.PUINT(1, 1), kstatic == 1 ? 949.1592559805308 : 568.4837210126702, 1e-7));
    }
}

}  // namespace
}  // namespace kaldo::test
