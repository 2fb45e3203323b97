// Vuggy limestone (code 6): the two lines and the residual reaction, the same at every depth, the modulus
// below the smallest deflection with its multipliers, no cap pass and no integrated resistance, a rock
// without strength, the default points and the report heading, against values worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface, in vuggy limestone
// with qu = 2000 psi (su = 1000) and gamma' = 0.05 pci:
//   yA = 0.0004 b = 0.0048 in, pA = 2000 su yA = 9600 lb/in (0.8 su b),
//   yB = yA + (su b - pA) / (100 su) = 0.0048 + 0.024 = 0.0288 in (0.0024 b),
//   the residual 3.38 b gamma' = 2.028 lb/in.
class VuggyLimestone : public PyModel {
protected:
    const double yA = s(0.0004f) * 12.0, pA = 2000.0 * 1000.0 * yA;
    const double yB = yA + (12000.0 - pA) / 100000.0;
    const double residual = s(3.38f) * 12.0 * 0.05;

    void build(double qu = 2000.0) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(6, 0.0, 600.0, {.gamma = 0.05, .c = qu})});
        layOut(1);
    }
    void listing(int fileMode, int points) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = fileMode;
        PYMODE.NPYPT = points;
        PYMODE.PYPRTREQ = 1;
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    }
};

TEST_F(VuggyLimestone, TwoLinesAndTheResidualAtEveryDepth) {
    build();
    EXPECT_NEAR(yB, 0.0288, 1e-8);
    struct Case {
        double y, p;
    };
    const Case cases[] = {
        {0.0024, 2000.0 * 1000.0 * 0.0024},           // first line: 4800
        {yA, pA},                                      // the lines meet at 9600
        {0.0168, pA + 100000.0 * (0.0168 - yA)},       // second line: 10800
        {0.0287, pA + 100000.0 * (0.0287 - yA)},       // just below yB: nearly su b = 12000
        {yB, residual},                                // from yB on the residual
        {1.0, residual},
    };
    for (const Case& c : cases)
        for (int j : {3, 9}) {
            const Spring sp = at(1, j, c.y);
            EXPECT_TRUE(near(-sp.p, c.p, 1e-12)) << "node " << j << ", y = " << c.y;
            EXPECT_TRUE(near(sp.Es, c.p / c.y, 1e-12)) << "node " << j << ", y = " << c.y;
        }
}

TEST_F(VuggyLimestone, SmallDeflectionModulusTakesTheYMultipliers) {
    // Below YMIN: 2000 su / YMUL, times pm / ym along depth; the reaction carries PMUL and pm.
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    Spring sp = at(1, 3, 0.0);
    EXPECT_EQ(sp.Es, 2e6 / 2.0);
    EXPECT_EQ(sp.p, 0.0);
    // Multipliers along depth, pm = 0.8 and ym = 0.5 over the whole pile.
    CTLIN.KRFDEP = 1;
    PILE.RFLSET(1) = 1;
    RFD.NRFD(1) = 2;
    RFD.RFDX(1, 1) = 0.0;
    RFD.RFDX(1, 2) = 240.0;
    RFD.RFDPM(1, 1) = RFD.RFDPM(1, 2) = 0.8;
    RFD.RFDYM(1, 1) = RFD.RFDYM(1, 2) = 0.5;
    sp = at(1, 3, 0.0);
    EXPECT_TRUE(near(sp.Es, 2e6 / 2.0 * 0.8 / 0.5));
    sp = at(1, 3, 0.0024);
    EXPECT_TRUE(near(sp.p, -0.5 * 0.8 * 4800.0, 1e-12));
    EXPECT_TRUE(near(sp.Es, 0.5 * 4800.0 / 0.0024 / 2.0 * 0.8 / 0.5, 1e-12));
}

TEST_F(VuggyLimestone, SIUnits) {
    // b = 0.3 m, qu = 2000 kPa (su = 1000), gamma' = 20 kN/m3: yA = 1.2e-4 m, pA = 240 kN/m,
    // yB = 1.2e-4 + 60 / 1e5 = 7.2e-4 m, residual 3.38 * 0.3 * 20 = 20.28 kN/m.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(6, 0.0, 15.0, {.gamma = 20.0, .c = 2000.0})});
    layOut(1);
    const double ya = s(0.0004f) * 0.3;
    EXPECT_TRUE(near(-at(1, 3, 6e-5).p, 120.0, 1e-12));
    EXPECT_TRUE(near(-at(1, 3, 4.2e-4).p, 2e6 * ya + 1e5 * (4.2e-4 - ya), 1e-12));
    EXPECT_TRUE(near(-at(1, 3, 1e-3).p, s(3.38f) * 0.3 * 20.0, 1e-12));
}

TEST_F(VuggyLimestone, NoCapPassNoIntegratedResistance) {
    // A head 24 in below the ground surface under an embedded cap: the head node keeps the section
    // diameter and no cap-level value is written; the layer builds up no resistance.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 24.0, -24.0);
    soil({uniform(6, 0.0, 600.0, {.gamma = 0.05, .c = 2000.0})});
    layOut(1);
    CTLIN.CAPOPT = 1;
    CAPIN.CAPTX = 24.0;
    CAPIN.CAPWZ = 100.0;
    PYDRV.PCAPLV(1) = 777.0;
    PYDRV.PUINT(1, 1) = 777.0;
    // On the second line, which depends on b: 9600 + 100000 (0.0168 - 0.0048) with b = 12, not the
    // 2000 su y = 33600 of the first line with the cap width.
    EXPECT_TRUE(near(-at(1, 1, 0.0168).p, pA + 100000.0 * (0.0168 - yA), 1e-12));
    EXPECT_EQ(PYDRV.PCAPLV(1), 777.0);
    EXPECT_EQ(PYDRV.PUINT(1, 1), 0.0);
}

TEST_F(VuggyLimestone, RockWithoutStrengthStopsTheRun) {
    build(0.0);
    y(3) = 0.01;
    EXPECT_EQ(evaluate(1), 115);
    const std::string t = text(10);
    EXPECT_NE(t.find("VUGGY LIMESTONE OF LAYER  1 HAS NO STRENGTH AT X ="), std::string::npos) << t;
    EXPECT_NE(text(16).find("SO THAT ITS P-Y CURVE CANNOT BE FORMED."), std::string::npos);
}

TEST_F(VuggyLimestone, DefaultPointsInFifteenthsOfYB) {
    build();
    listing(1, 0);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 6);
    EXPECT_EQ(PYPLOT.PLY(1), 0.0);
    EXPECT_EQ(PYPLOT.PLP(1), 0.0);
    EXPECT_TRUE(near(PYPLOT.PLY(4), 3.0 * yB / 15.0));
    EXPECT_TRUE(near(PYPLOT.PLP(4), pA + 100000.0 * (3.0 * yB / 15.0 - yA), 1e-12));
    EXPECT_TRUE(near(PYPLOT.PLY(17), 16.0 * yB / 15.0));
    EXPECT_TRUE(near(PYPLOT.PLP(17), residual, 1e-12));
    // The node's X goes to the plot output file for the curve data file too.
    EXPECT_EQ(text(17), " 48.0\n");
}

TEST_F(VuggyLimestone, ReportHeading) {
    // Node 3: x = 4 ft, b = 12 in, su = 1000 psi; one point at y = 0.024 in:
    // p = 2000 su yA + 100 su (0.024 - yA) = 2400 + 1.9e6 yA, with yA = 0.0004 b in single precision
    // (0.00479999987874): 11519.99977 lb/in.
    build();
    listing(0, 1);
    PYPRT.PYPRTDEF(1, 1) = 0.024;
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo =
        "\n"
        "          DEPTH BELOW GS     DIAM        C\n"
        "                FT            IN     LBS/IN**2\n"
        "                4.00         12.000   0.1E+04\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n"
        "                                0.0240000             11520.0 \n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 48.0\n  2.40000000E-02   1.15199998E+04\n");
}

}  // namespace
}  // namespace kaldo::test
