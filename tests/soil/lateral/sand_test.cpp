// Sand: the four pieces of the curve (initial line, parabola, straight line, ultimate resistance) under
// static and cyclic loading, the cap of the initial line, the factor tables at and beyond their points,
// English and SI units, the listing with its default points and heading, the equivalent depth below
// another layer and the integrated resistance, against values worked out by hand from the formulas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// phi = 30 deg: alpha = 15, beta = 60 deg, tan beta = sqrt 3, tan(beta - phi) = 1/sqrt 3, Ka = 1/3,
// tan phi sin beta = 1/2, K0 = 0.4. The wedge bracket of pst (x_e = x) becomes
//   0.4 x (1/2) / ((1/sqrt3) cos15) + 3 (b + x sqrt3 tan15) + 0.4 x sqrt3 (1/2 - tan15) - b/3
// and the flow psd = (1/3)(81 - 1) b gamma x + 0.4 (1/sqrt3) 9 b gamma x = 28.745 b gamma x.
// A pile of 240 in in 10 increments of 24 in, b = 10 in, head at the ground surface, in sand of
// gamma' = 0.04 pci. At node 2 (x = 24 in): pst = 69.64567300431192 < psd = 275.95, so pc = pst;
// x / b = 2.4 interpolates the tables between 2.0 and 2.5: A = 1.48 - 0.8 * 0.25 = 1.28, B = 1.05 -
// 0.8 * 0.19 = 0.898 (static), A = 0.99, B = 0.78 (cyclic). yu = 3 b / 80 = 0.375, ym = b / 60.
class Sand : public PyModel {
protected:
    static constexpr double PC2 = 69.64567300431192, YU = 0.375, YM = 10.0 / 60.0;

    void build(double k = 100.0) {
        propertySet(1, 240.0, 10, 10.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(4, 0.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = k})});
        layOut(1);
    }
    void listing(int fileMode, int points, int node) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = fileMode;
        PYMODE.NPYPT = points;
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = node;
    }
    struct Case {
        double y, p;
    };
    void expectCurve(int node, const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_TRUE(near(curve(node, c.y), c.p, 1e-8)) << "node " << node << " y " << c.y;
    }
};

TEST_F(Sand, StaticCurveOnEveryPiece) {
    // pu = 1.28 pc = 89.14646277390504, pm = 0.898 pc = 62.54181449071068, slope m = (pu - pm) / (yu -
    // ym) = 127.702, n = pm / (m ym) = 2.93848, C = pm / ym^(1/n) = 115.076, and the parabola meets
    // the initial line 2400 y at yk = (C / 2400)^(n / (n - 1)) = 0.0100052.
    build();
    const double pu = 1.28 * PC2, pm = 0.898 * PC2;
    EXPECT_TRUE(near(pu, 89.14646277390504, 1e-7));
    expectCurve(2, {{0.005, 12.0},                  // initial line k x_e y
                    {0.1, 52.562102111687736},      // parabola C y^(1/n)
                    {YM, 62.54181449071068},        // pm at ym
                    {0.3, 79.56878939195508},       // straight line pm + m (y - ym)
                    {YU, 89.14646277390504},        // pu at yu
                    {1.0, 89.14646277390504}});
    EXPECT_TRUE(near(pm, 62.54181449071068, 1e-7));
}

TEST_F(Sand, InitialLineCapsEveryPiece) {
    // k = 5 pci: k x_e = 120 lb/in2 meets the parabola only beyond ym (yk = 0.938), so the curve is the
    // line up to ym and the smaller of the line and the other pieces beyond.
    build(5.0);
    expectCurve(2, {{0.1, 12.0}, {0.3, 36.0}, {1.0, 89.14646277390504}});
    EXPECT_TRUE(near(at(1, 2, 0.0).Es, 120.0));  // the initial modulus k x_e
}

TEST_F(Sand, CyclicFactors) {
    // A = 0.99, B = 0.78: pu = 68.94921693846169, pm = 54.323623781025724, yk = 0.0130845.
    build();
    CTLPAR.KSTATIC = 0;
    expectCurve(2, {{0.005, 12.0}, {0.1, 48.663788756660715}, {0.3, 63.684003401784736}, {1.0, 68.94921693846169}});
}

// The constants a thread keeps between evaluations of a node serve only the very same inputs: the
// loading changed between two evaluations, or the model reset under the same pile and node numbers,
// gives the curve of the new values.
TEST_F(Sand, KeptConstantsFollowTheLoadingAndTheModel) {
    build();
    expectCurve(2, {{0.1, 52.562102111687736}});
    expectCurve(2, {{0.1, 52.562102111687736}});
    CTLPAR.KSTATIC = 0;
    expectCurve(2, {{0.1, 48.663788756660715}});
    CTLPAR.KSTATIC = 1;
    expectCurve(2, {{0.1, 52.562102111687736}});

    // A new model under the same pile and node numbers, b = 20 in: the wedge bracket gains 3 (20 - 10)
    // - (20 - 10) / 3 = 26.667, so pst = PC2 + 0.96 * 26.667 (psd = 551.9 stays above it); x / b = 1.2
    // reads A = 2.11 + 0.4 (1.76 - 2.11) = 1.97, and beyond yu = 0.75 the curve is pu = A pst.
    resetAllBlocks();
    SetUp();
    propertySet(1, 240.0, 10, 20.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(4, 0.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0})});
    layOut(1);
    const double A = s(2.11f) + 0.4 * (s(1.76f) - s(2.11f));
    EXPECT_TRUE(near(curve(2, 1.0), A * (PC2 + 0.96 * 80.0 / 3.0), 1e-8));
}

TEST_F(Sand, DeepNodeTakesTheFlowAndTheLastFactors) {
    // Node 10, x = 216: psd = 28.745 * 10 * 0.04 * 216 = 2483.5790304046723 < pst; x / b = 21.6 is beyond
    // the tables, whose last segments are flat: A = 0.88, B = 0.50.
    build();
    expectCurve(10, {{0.3, 1845.7959278174708}, {1.0, s(0.88f) * 2483.5790304046723}});
}

TEST_F(Sand, SIUnits) {
    // 6 m pile in 10 increments, b = 0.25 m, gamma' = 9 kN/m3, k = 25000 kN/m3: node 2 (x = 0.6 m) has
    // x / b = 2.4 again; pc = pst = 9.793922766231365 kN/m, yu = 0.009375, ym = 0.0041667 m.
    si();
    propertySet(1, 6.0, 10, 0.25);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(4, 0.0, 15.0, {.gamma = 9.0, .phi = PHI30, .k = 25000.0})});
    layOut(1);
    expectCurve(2, {{0.0001, 1.5}, {0.002, 6.851026356499257}, {0.006, 10.111872752774312}, {0.02, 12.5362213275804}});
}

TEST_F(Sand, DefaultPointsAndTheCurveDataFile) {
    // The file record holds the listed points with the multipliers: y YMUL, p PMUL.
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    listing(1, 0, 2);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 4);
    // yk = 0.0100052 <= ym: the list starts 0, yk / 2, yk, then tenths of ym - yk.
    const double yk = 0.010005225304199923;
    EXPECT_TRUE(near(PYPLOT.PLY(3), 2.0 * yk, 1e-8));
    EXPECT_TRUE(near(PYPLOT.PLP(3), 0.5 * 2400.0 * yk, 1e-8));
    EXPECT_TRUE(near(PYPLOT.PLY(8), 2.0 * (yk + 5.0 * (YM - yk) / 10.0), 1e-8));
    EXPECT_TRUE(near(PYPLOT.PLY(13), 2.0 * YM));
    EXPECT_TRUE(near(PYPLOT.PLP(13), 0.5 * 62.54181449071068, 1e-8));
    EXPECT_TRUE(near(PYPLOT.PLY(15), 2.0 * (2.0 * YU + YM) / 3.0));
    EXPECT_TRUE(near(PYPLOT.PLY(17), 2.0 * s(1.2f) * YU));
    EXPECT_TRUE(near(PYPLOT.PLP(17), 0.5 * 89.14646277390504, 1e-8));
    EXPECT_EQ(text(17), "");  // nothing on the plot output file in file mode

    // yk = 0.938 > ym (k = 5): the list starts from ym / 10.
    SetUp();
    build(5.0);
    listing(1, 0, 2);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYPLOT.PLY(2), YM / 20.0));
    EXPECT_TRUE(near(PYPLOT.PLY(3), YM / 10.0));
    EXPECT_TRUE(near(PYPLOT.PLY(12), YM / 10.0 + 9.0 * (YM - YM / 10.0) / 10.0));
}

TEST_F(Sand, ReportHeading) {
    // Node 2: x = 2 ft, b = 10 in, phi = 30.00, gamma' = 69.12 pcf (G10.2 "   69.    "), A = 1.28, B =
    // 0.898, pst = 69.65 ("   70.    ") and psd = 275.95 ("  0.28E+03").
    build();
    listing(0, -1, 2);
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo =
        "\n"
        "           DEPTH BELOW GS      DIAM      PHI     GAMMA          A         B               PCT       PCD\n"
        "                 FT             IN             LBS/FT**3\n"
        "                2.00          10.00     30.00   69.          1.28      0.90             70.      0.28E+03\n"
        "             EQ. DEPTH =    2.00 FT\n"
        "\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 24.0\n");
}

TEST_F(Sand, LowerLayerMeasuresTheWedgeFromItsEquivalentDepth) {
    // Clay without strength above X = 48: equivalent depth 0, so at node 4 (X = 72) x_e = 24 shapes the
    // wedge, the factors (x_e / b = 2.4) and the initial line (k x_e = 2400), while the overburden takes
    // x = 72: pc = pst = 208.93701901293576 (three times that of node 2), pu = 1.28 pc.
    propertySet(1, 240.0, 10, 10.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 48.0, {.gamma = 0.04}), uniform(4, 48.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0})});
    layOut(1);
    expectCurve(4, {{0.005, 12.0}, {0.3, 238.70636817586524}, {1.0, 267.43938832171517}});

    // A top below the depth where the wedge passes the flow (137 in for b = 10): the true depth.
    SetUp();
    propertySet(1, 240.0, 10, 10.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 144.0, {.gamma = 0.04}), uniform(4, 144.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 144.0);
}

TEST_F(Sand, IntegratedUltimateResistance) {
    // Sand down to X = 30 over clay: node 2 (X = 24) is the last node: h pu + (30 - 24) pu = 30 pu.
    propertySet(1, 240.0, 10, 10.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(4, 0.0, 30.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0}), uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), 30.0 * 89.14646277390504, 1e-8));

    // Head 24 in below the ground surface: the first node starts from the triangle 0.5 * 24 pu1, then
    // adds 24 pu1; the last node adds 24 pu2 + 6 pu2. pu1 = 89.14646 (x = 24), pu2 = 201.00629779160568
    // (x = 48: pst = 227.383, A = 0.90 - 0.02 * 0.8 = 0.884).
    SetUp();
    propertySet(1, 240.0, 10, 10.0);
    pile(1, 1, 0.0, -24.0);
    soil({uniform(4, -24.0, 30.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0}),
          uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), 36.0 * 89.14646277390504 + 30.0 * 201.00629779160568, 1e-8));
}

}  // namespace
}  // namespace kaldo::test
