// Weak rock (code 9): the straight line of the initial modulus and the fourth-root branch up to the
// ultimate resistance, near the surface and at depth, the multipliers, a layer whose resistance is zero
// (the initial modulus stands at zero deflection instead of 0/0), the strength failure (status 21), the
// running average strength of a lower layer, the default points and the report heading.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface, in one layer of
// weak rock: qu = 1000 psi (q = 500), RQD = 50 %, krm = 0.0005, Er = 1e5 psi, gamma' = 0.04 pci.
//   ar = 1 - 50 / 150 = 2/3 (1/150 single precision), qa = q = 500 (uniform), yrm = krm b = 0.006 in.
// Node 3 (x' = 48 > 3 b): pur = 10.4 ar qa b = 41600 lb/in, Mir = 500 Er = 5e7 lb/in2,
//   ya = (0.5 pur / yrm^0.25 / Mir)^(4/3) = 1.71e-4 in.
// Node 2 (x' = 24 <= 3 b): pur = 2 ar qa (b + 1.4 x') = 30400, Mir = (100 + 400/3 * 2) Er = 3.667e7.
class WeakRock : public PyModel {
protected:
    const double ar = 1.0 - 50.0 * s(1.0f / 150.0f);
    const double PUR3 = s(10.4f) * ar * 500.0 * 12.0, MIR3 = 5e7;
    const double PUR2 = 2.0 * ar * 500.0 * (12.0 + s(1.4f) * (24.0 + s(1e-8f)));
    const double MIR2 = (100.0 + (400.0 / 3.0) * (24.0 + s(1e-8f)) / 12.0) * 1e5;

    // The rock modulus has no column in the test rows: set per profile row.
    static void rockModulus(double top, double bottom, int layer = 1) {
        SOILPRF.ER(2 * layer - 1) = top;
        SOILPRF.ER(2 * layer) = bottom;
    }
    void build(double qu = 1000.0) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(9, 0.0, 600.0, {.gamma = 0.04, .c = qu, .e50 = 0.0005, .j = 50.0})});
        rockModulus(1e5, 1e5);
        layOut(1);
    }
    double curve(int j, double yv) { return -at(1, j, yv).p; }
};

TEST_F(WeakRock, CurveOnEveryBranchNearTheSurfaceAndAtDepth) {
    build();
    const double ya = std::pow(0.5 * PUR3 / std::pow(0.006, 0.25) / MIR3, 4.0 / 3.0);
    EXPECT_NEAR(ya, 1.71e-4, 0.01e-4);
    struct Case {
        int j;
        double y, p, Es;
    };
    const Case cases[] = {
        {3, 1e-4, MIR3 * 1e-4, MIR3},                       // on the line
        {3, 0.006, 0.5 * PUR3, 0.5 * PUR3 / 0.006},         // 0.5 pur (y / yrm)^0.25 at yrm
        {3, 0.096, PUR3, PUR3 / 0.096},                     // pur from 16 yrm
        {3, 1.0, PUR3, PUR3},
        {2, 1e-4, MIR2 * 1e-4, MIR2},
        {2, 0.006, 0.5 * PUR2, 0.5 * PUR2 / 0.006},
        {2, 0.5, PUR2, PUR2 / 0.5},
    };
    for (const Case& c : cases) {
        const Spring sp = at(1, c.j, c.y);
        EXPECT_TRUE(near(-sp.p, c.p, 1e-12)) << "node " << c.j << ", y = " << c.y;
        EXPECT_TRUE(near(sp.Es, c.Es, 1e-12)) << "node " << c.j << ", y = " << c.y;
    }
    EXPECT_NEAR(PUR3, 41600.0, 0.01);
    EXPECT_NEAR(PUR2, 30400.0, 0.01);
}

TEST_F(WeakRock, MultipliersSpareTheLine) {
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    Spring sp = at(1, 3, 1e-4);
    EXPECT_TRUE(near(sp.Es, MIR3));
    EXPECT_TRUE(near(sp.p, -0.5 * MIR3 * 1e-4));
    sp = at(1, 3, 0.006);
    EXPECT_TRUE(near(sp.Es, 0.5 * 0.5 * PUR3 / 0.006 / 2.0, 1e-12));
    EXPECT_TRUE(near(sp.p, -0.5 * 0.5 * PUR3, 1e-12));
}

TEST_F(WeakRock, SIUnitsAtDepth) {
    // b = 0.3 m, qu = 5000 kPa, RQD 0 (ar = 1), krm = 0.0005, Er = 1e6 kPa. Node 8 (x' = 4.2 m > 0.9 m):
    // pur = 10.4 * 2500 * 0.3 = 7800 kN/m, Mir = 5e8 kN/m2, yrm = 1.5e-4 m.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(9, 0.0, 15.0, {.gamma = 10.0, .c = 5000.0, .e50 = 0.0005})});
    rockModulus(1e6, 1e6);
    layOut(1);
    const double pur = s(10.4f) * 2500.0 * 0.3;
    EXPECT_TRUE(near(curve(8, 1e-7), 5e8 * 1e-7, 1e-12));
    EXPECT_TRUE(near(curve(8, 1.5e-4), 0.5 * pur, 1e-12));
    EXPECT_TRUE(near(curve(8, 0.01), pur, 1e-12));
}

// An elastic subgrade without strength down to X = 72 in, then weak rock whose strength grows from 0 at
// its top (X = 72, node 4) to qu = 2112 psi at X = 600 (RQD 0, krm = 0.0005, Er = 1e5 psi). The first
// node of the rock has q = qa = 0: pur = 0, so the line ends at y = 0 and the initial modulus
// 500 Er = 5e7 stands there. Node 5 (X = 96): qu = 96, q = 48, qa = (0 + 48) / 2 = 24 (the running
// average over the layer's nodes), pur = 10.4 * 24 * 12.
TEST_F(WeakRock, ZeroResistanceKeepsTheInitialModulusAtZeroDeflection) {
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(12, 0.0, 72.0, {.gamma = 0.04, .k = 100.0}),
          {9, 72.0, 600.0, {.gamma = 0.04, .c = 0.0, .e50 = 0.0005}, {.gamma = 0.04, .c = 2112.0, .e50 = 0.0005}}});
    rockModulus(1e5, 1e5, 2);
    layOut(1);
    Spring sp = at(1, 4, 0.0);
    EXPECT_EQ(sp.Es, 5e7);
    EXPECT_EQ(sp.p, 0.0);
    sp = at(1, 4, 0.01);
    EXPECT_EQ(sp.Es, 0.0);
    EXPECT_EQ(sp.p, 0.0);
    EXPECT_TRUE(near(curve(5, 1.0), s(10.4f) * 24.0 * 12.0, 1e-12));
}

TEST_F(WeakRock, NoStrengthBelowTheFirstNodeStopsTheRun) {
    build(0.0);
    Es(3) = 123.0;
    y(3) = 0.01;
    EXPECT_EQ(evaluate(1), 21);
    EXPECT_EQ(Es(3), 123.0) << "the generator returns at the node that fails";
    const std::string record = "\n"
                               "       --------------------WARNING----------------------\n"
                               "       THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK \n"
                               "       ACCORDING TO THE INPUT DATA.\n"
                               "       PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n";
    EXPECT_EQ(text(32), record);
    EXPECT_EQ(text(10), record);
}

TEST_F(WeakRock, DefaultPointsRunToTwelveTimesYrm) {
    build();
    CTLIN.KPYOP = 1;
    PYMODE.PYPRTMODE = 1;
    PYMODE.PYFILEMODE = 1;
    PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 9);
    EXPECT_TRUE(near(PYPLOT.PLY(1), s(0.0005f) * 0.006));
    EXPECT_TRUE(near(PYPLOT.PLY(14), 0.006));
    EXPECT_TRUE(near(PYPLOT.PLP(14), 0.5 * PUR3, 1e-12));
    EXPECT_TRUE(near(PYPLOT.PLY(17), 12.0 * 0.006));
    EXPECT_TRUE(near(PYPLOT.PLP(17), 0.5 * PUR3 * std::pow(12.0, 0.25), 1e-12));  // short of pur
}

TEST_F(WeakRock, ReportHeading) {
    // Node 3: x = 4 ft, b = 12 in, q = 500 psi, pur = 41600 lb/in, gamma' = 0.04 pci = 69.12 pcf,
    // krm = 0.0005; one point on the line, y = 1e-4 in: p = 5e7 * 1e-4 = 5000 lb/in.
    build();
    CTLIN.KPYOP = 1;
    PYMODE.PYPRTMODE = 1;
    PYMODE.NPYPT = 1;
    PYMODE.PYPRTREQ = 1;
    PYPRT.PYPRTDEF(1, 1) = 1e-4;
    PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo =
        "\n"
        "\n"
        "              DEPTH     DIAM       C         PU    GAMMA AVG      KRM\n"
        "                FT       IN    LBS/IN**2 LBS/IN    LBS/FT**3\n"
        "                4.00    12.000  0.50E+03  0.42E+05   69.       0.500E-03\n"
        "                                     Y                   P\n"
        "                                     IN                LBS/IN\n"
        "                                0.100E-03           0.500E+04\n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 48.0\n   1.00000000E-04   5.00000000E+03\n");
}

}  // namespace
}  // namespace kaldo::test
