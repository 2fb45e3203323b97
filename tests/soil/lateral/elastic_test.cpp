// Elastic subgrade: the straight line k b y capped at c b, its modulus at zero deflection, the
// multipliers, no cap pass and no share in the integrated resistance, its default print points and its
// report heading.
#include <gtest/gtest.h>

#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// b = 12 in, k = 100 pci, strength c = 5 psi: k b = 1200 lb/in2, the cap c b = 60 lb/in is reached at
// yu = c / k = 0.05 in. Node 3 lies at x = 48 in.
class ElasticSubgrade : public PyModel {
protected:
    void build(double c = 5.0) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(12, 0.0, 600.0, {.gamma = 0.03, .c = c, .k = 100.0})});
        layOut(1);
    }
    void listing(int mode, int points) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = mode;
        PYMODE.NPYPT = points;
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    }
};

TEST_F(ElasticSubgrade, LineCappedAtTheStrength) {
    build();
    struct Case {
        double y, p, Es;
    };
    const Case cases[] = {{0.02, 24.0, 1200.0}, {0.05, 60.0, 1200.0}, {0.1, 60.0, 600.0}, {0.0, 0.0, 1200.0}};
    for (const Case& c : cases) {
        const Spring sp = at(1, 3, c.y);
        EXPECT_TRUE(near(-sp.p, c.p)) << "y = " << c.y;
        EXPECT_TRUE(near(sp.Es, c.Es)) << "y = " << c.y;
    }
    // Without strength the line goes on.
    build(0.0);
    EXPECT_TRUE(near(at(1, 3, 1.0).p, -1200.0));
}

TEST_F(ElasticSubgrade, MultipliersAndTheFirstIteration) {
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    Spring sp = at(1, 3, 0.02);
    EXPECT_TRUE(near(sp.p, -12.0));               // the p-multiplier once
    EXPECT_TRUE(near(sp.Es, 0.5 * 24.0 / 0.02 / 2.0));
    sp = at(1, 3, 0.0);
    EXPECT_TRUE(near(sp.Es, 1200.0 / 2.0));       // k b / YMUL, no p-multiplier
}

TEST_F(ElasticSubgrade, NoCapPassNoIntegratedResistance) {
    build();
    CTLIN.CAPOPT = 1;
    CAPIN.CAPTX = 24.0;
    CAPIN.CAPWZ = 100.0;
    PYDRV.PCAPLV(1) = 777.0;
    PYDRV.PUINT(1, 1) = 777.0;
    const Spring sp = at(1, 1, 0.02);
    EXPECT_EQ(PYDRV.PCAPLV(1), 777.0);
    EXPECT_EQ(PYDRV.PUINT(1, 1), 0.0);
    EXPECT_TRUE(near(sp.Es, 1200.0));  // the head on the ground surface has the subgrade's k b
    EXPECT_TRUE(near(at(1, 3, 0.02).p, -24.0));  // the section diameter, not the cap width
}

TEST_F(ElasticSubgrade, DefaultPointsReachOnePointSixTimesYu) {
    build();
    listing(1, 0);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 6);
    EXPECT_TRUE(near(PYPLOT.PLY(2), 0.005));
    EXPECT_TRUE(near(PYPLOT.PLP(2), 6.0));
    EXPECT_TRUE(near(PYPLOT.PLY(17), 0.08));
    EXPECT_TRUE(near(PYPLOT.PLP(17), 60.0));
    // Without strength: steps of b / 320 (single precision), up to 0.05 b.
    build(0.0);
    listing(1, 0);
    ASSERT_EQ(evaluate(1), 0);
    const double y17 = 16.0 * static_cast<double>(0.003125f) * 12.0;
    EXPECT_TRUE(near(PYPLOT.PLY(17), y17));
    EXPECT_NEAR(y17, 0.6, 1e-7);
    EXPECT_TRUE(near(PYPLOT.PLP(17), 1200.0 * y17));
}

TEST_F(ElasticSubgrade, ReportHeadingAndPoints) {
    build();
    listing(0, 1);
    PYMODE.PYPRTREQ = 1;
    PYPRT.PYPRTDEF(1, 1) = 0.02;
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo =
        "\n"
        "          DEPTH BELOW GS     DIAM        ST           ES\n"
        "                FT            IN      LBS/IN**2     LBS/IN**3\n"
        "                4.00         12.000    5.0          0.10E+03\n"
        "\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n"
        "                                0.0200000             24.0000 \n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 48.0\n  2.00000000E-02   2.40000000E+01\n");
}

}  // namespace
}  // namespace kaldo::test
