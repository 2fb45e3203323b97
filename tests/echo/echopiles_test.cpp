// Input echo of the pile arrangement (Table D) with the working pile table, and of the multipliers
// (Tables J1, J2, K) with the group reduction factors the echo estimates.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "echo/echo.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/unitlbl.h"
#include "services/unitno.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

constexpr double kPi = 3.141592653589793;

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// Shadowing curves of the reduction factors at 3 pile diameters (single-precision constants).
const double kLead3 = 0.699999988079071 * std::pow(3.0, 0.25999999046325684);     // 0.9314
const double kTrail3 = 0.47999998927116394 * std::pow(3.0, 0.3799999952316284);   // 0.7287
const double kSide3 = 0.6399999856948853 * std::pow(3.0, 0.3400000035762787);     // 0.9298

// A clean model with the report units open in a scratch folder: echo 32, results 16, runtime 10.
class EchoBase : public ::testing::Test {
protected:
    void openUnits(int units, int antype) {
        resetAllBlocks();
        CTLIN.UNITS = units;
        CTLIN.ANTYPE = antype;
        UNITLBL(units == 1 ? 1 : units == 2 ? -1 : 0, 0);
        ASSERT_TRUE(io::unit(ECHO_UNIT).open((dir / "case.echo").string(), io::Mode::Write));
        ASSERT_TRUE(io::unit(RESULTS_UNIT).open((dir / "case.out").string(), io::Mode::Write));
        ASSERT_TRUE(io::unit(RUNTIME_UNIT).open((dir / "case.run").string(), io::Mode::Write));
    }
    void TearDown() override { closeModel(); }

    WorkDir dir;
};

// ---- Table D and the pile table -------------------------------------------------------------------

class EchoPiles : public EchoBase {
protected:
    void row3D(int i, const int (&ints)[10], const double (&props)[7], const double (&geo)[7]) {
        for (int k = 1; k <= 10; ++k) GRPIN3.GRP3INT(i, k) = ints[k - 1];
        for (int k = 1; k <= 7; ++k) GRPIN3.GRP3PRP(i, k) = props[k - 1];
        for (int k = 1; k <= 7; ++k) GRPIN3.GRP3GEO(i, k) = geo[k - 1];
    }
    void rowPlane(int i, const int (&ints)[7], const double (&props)[5], const double (&geo)[4]) {
        for (int k = 1; k <= 7; ++k) GRPIN2.GRP2INT(i, k) = ints[k - 1];
        for (int k = 1; k <= 5; ++k) GRPIN2.GRP2PRP(i, k) = props[k - 1];
        for (int k = 1; k <= 4; ++k) GRPIN2.GRP2GEO(i, k) = geo[k - 1];
    }
    // English units, lengths in inches as converted: heads at x = 0, 24 and 12 under a 36 in cap, the
    // soil surface at x = 0.
    void threePiles3D(int kaxfac) {
        openUnits(1, 3);
        CTLIN.KAXFAC = kaxfac;
        CAPIN.CAPTX = 36.0;
        SOILIN.NLAYIN = 1;
        SOILIN.XTOPIN(1) = 0.0;
        GRPIN3.NROW = 3;
        row3D(1, {1, 2, 1, 0, 0, 0, 0, 0, 4, 1}, {0, 0, 0.8, 1.0, 0.7, 0.9, 1.0}, {0, -36, 0, 0, 90, 0, 0});
        row3D(2, {3, 3, 2, 1, 2, 3, 1, 0, 0, 0}, {5000, 6000, 1, 1, 1, 1, 0.5}, {24, 36, 12, 30, 80, 45, 12});
        row3D(3, {2, 1, 1, 0, 0, 0, 0, 0, 2, 2}, {0, 0, 1, 1, 1, 1, 1.25}, {12, 0, 0, 0, 90, 0, 6});
    }
};

TEST_F(EchoPiles, ThreeDimensionalTableShowsConnectionsCurvesAndGeometry) {
    threePiles3D(1);
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoPiles();
    auto geo = [](const char* x, const char* y, const char* z, const char* a, const char* b, const char* t,
                  const char* g, const char* s1, const char* s2) {
        return std::string(x) + " " + y + " " + z + " " + a + " " + b + " " + t + " " + g + " " + s1 + " " + s2 +
               " \n";
    };
    const std::string expected =
        "\n\n\n" + sp(5) + "* TABLE D *   ARRANGEMENT OF PILE GROUPS\n" + "\n" + sp(3) +
        "  GROUP  CONN.Z-Z   CONN.Y-Y   PILE PROP " + " P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET " +
        " FACT.AX.LD\n" +
        sp(3) + "    1" + sp(7) + "PIN" + sp(8) + "FIX" + sp(5) + "    1" + sp(6) + "    0" + sp(6) + "    4" +
        " G" + sp(4) + "    1" + " G" + sp(4) + "    0" + sp(6) + "    1.0000\n" +
        sp(3) + "    2" + sp(7) + "RES" + sp(8) + "RES" + sp(5) + "    2" + sp(6) + "    1" + sp(6) + "    2" +
        " U" + sp(4) + "    3" + " U" + sp(4) + "    1" + sp(6) + "    0.5000\n" +
        sp(3) + "    3" + sp(7) + "FIX" + sp(8) + "PIN" + sp(5) + "    1" + sp(6) + "    0" + sp(6) + "    2" +
        " G" + sp(4) + "    2" + " G" + sp(4) + "    0" + sp(6) + "    1.2500\n" +
        "\n" + sp(5) + "GROUP" + sp(3) + "CorX,FT" + sp(4) + "CorY,FT" + sp(4) + "CorZ,FT" + sp(1) +
        " ALPHA,DEG" + sp(1) + "  BETA,DEG" + sp(1) + " THETA,DEG" + sp(2) + "GROUND,FT" + sp(1) +
        "SPz,LBS-IN" + sp(1) + "SPy,LBS-IN\n" +
        sp(4) + "   1" + sp(2) +
        geo("     0.000", "    -3.000", "     0.000", "     0.000", "     90.00", "     0.000", "     0.000",
            "     0.000", "     0.000") +
        sp(4) + "   2" + sp(2) +
        geo("     2.000", "     3.000", "     1.000", "     30.00", "     80.00", "     45.00", "     1.000",
            " 5.000E+03", " 6.000E+03") +
        sp(4) + "   3" + sp(2) +
        geo("     1.000", "     0.000", "     0.000", "     0.000", "     90.00", "     0.000", "     0.500",
            "     0.000", "     0.000");
    EXPECT_EQ(echo.since(), expected);
}

TEST_F(EchoPiles, WithoutAxialFactorsTheLastColumnIsLeftOut) {
    threePiles3D(0);
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoPiles();
    const std::string text = echo.since();
    const std::string heading =
        sp(3) + "  GROUP  CONN.Z-Z   CONN.Y-Y   PILE PROP " + " P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET \n";
    const std::string row1 = sp(3) + "    1" + sp(7) + "PIN" + sp(8) + "FIX" + sp(5) + "    1" + sp(6) + "    0" +
                             sp(6) + "    4" + " G" + sp(4) + "    1" + " G" + sp(4) + "    0\n";
    EXPECT_NE(text.find("\n" + heading + row1), std::string::npos) << text;
}

TEST_F(EchoPiles, ThreeDimensionalPileTableAndCapSlot) {
    threePiles3D(1);
    RUNCONST.PIWORD = 3.141590118408203;
    echoPiles();
    ASSERT_EQ(PILE.NPILES, 3);
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE("pile " + std::to_string(i));
        EXPECT_EQ(PILE.PMULT(i), 1.0);
        EXPECT_EQ(PILE.HEADXW(i), PILE.HEADX(i));
        EXPECT_EQ(PILE.ANGLE3(i), 0.0);
    }
    EXPECT_EQ(PILE.HEADX(2), 24.0);
    EXPECT_EQ(PILE.HEADY(2), 36.0);
    EXPECT_EQ(PILE.HEADZ(2), 12.0);
    EXPECT_EQ(PILE.GROUND(2), 12.0);
    EXPECT_EQ(PILE.CONNZ(2), 3);
    EXPECT_EQ(PILE.SPRY(2), 6000.0);
    EXPECT_EQ(PILE.LSCRV(2), 2);
    EXPECT_EQ(PILE.TRCRV(2), 3);
    EXPECT_EQ(PILE.LSGEN(1), 4);
    EXPECT_EQ(PILE.RFLSET(2), 1);
    EXPECT_EQ(PILE.AXFACT(3), 1.25);
    // Angles in radians; a pile with BETA 90 is vertical, BETA 80 leans 10 degrees.
    EXPECT_NEAR(PILE.BATTER(1), 0.0, 1e-15);
    EXPECT_NEAR(PILE.BATTER(2), 10.0 * kPi / 180.0, 1e-15);
    EXPECT_NEAR(PILE.ALPHA(2), kPi / 6.0, 1e-15);
    EXPECT_NEAR(PILE.THETA(2), kPi / 4.0, 1e-15);
    EXPECT_EQ(RUNCONST.PIWORD, kPi);
    // Multipliers: along Y in effect and kept as the Y direction, along Z kept.
    EXPECT_EQ(PILEFAC.PMUL(1), 0.8);
    EXPECT_EQ(PILEFAC.PMULY(1), 0.8);
    EXPECT_EQ(PILEFAC.YMUL(1), 1.0);
    EXPECT_EQ(PILEFAC.YMULY(1), 1.0);
    EXPECT_EQ(PILEFAC.PMULZ(1), 0.7);
    EXPECT_EQ(PILEFAC.YMULZ(1), 0.9);
    // The cap: 36 in thick above the highest head (x = 0), so its top is at -36, 36 above the soil.
    EXPECT_EQ(CAPIN.CAPXTOP, -36.0);
    EXPECT_EQ(CAPIN.CAPTHK, 36.0);
    EXPECT_EQ(PILE.HEADX(4), -36.0);
    EXPECT_EQ(PILE.HEADXW(4), -36.0);
    EXPECT_EQ(PILE.GROUND(4), 36.0);
    EXPECT_EQ(PILE.BETA(4), kPi / 2.0);
    EXPECT_EQ(PILE.PMULT(4), 1.0);
    EXPECT_EQ(PILE.HEADY(4), 0.0);
}

TEST_F(EchoPiles, PlaneTableShowsRowsWithTheirSlopeAsARatio) {
    openUnits(2, 2);
    CTLIN.KAXFAC = 1;
    CAPIN.CAPTX = 1.0;
    SOILIN.NLAYIN = 1;
    SOILIN.XTOPIN(1) = 2.0;
    PILEFAC.PMULY.fill(7.0);
    GRPIN2.NROW = 2;
    rowPlane(1, {2, 3, 1, 0, 2, 0, 1}, {0, 1.2, 0.9, 0.95, 1.0}, {0.5, -1.0, 45, 0});
    rowPlane(2, {3, 1, 1, 2, 0, 1, 3}, {250, 0, 1, 1, 0.8}, {0.2, 1.0, 0, 1.5});
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoPiles();
    const std::string expected =
        "\n\n\n" + sp(5) + "* TABLE D *   ARRANGEMENT OF PILE GROUPS\n" + "\n" + sp(7) +
        "GROUP   CONNECT   NO OF PILE   PILE PROP " + "   P-Y CURVE    L-S CURVE    R-F-L SET" + "   " +
        "FACT. AXIAL LOAD\n" +
        sp(5) + "    1" + sp(7) + "FIX" + sp(5) + "    3" + sp(8) + "    1" + sp(7) + "    0" + sp(7) + "    2" +
        " U" + sp(7) + "    0" + sp(6) + "    1.0000\n" +
        sp(5) + "    2" + sp(7) + "RES" + sp(5) + "    1" + sp(8) + "    1" + sp(7) + "    2" + sp(7) + "    3" +
        " G" + sp(7) + "    1" + sp(6) + "    0.8000\n" +
        "\n" + sp(7) + "GROUP" + sp(5) + "VERT, M" + sp(7) + "HOR, M" + sp(4) + "SLOPE, M/ M" + sp(3) +
        "GROUND, M" + sp(2) + "SPRING, KN- M" + sp(2) + "SPACING, M\n" +
        sp(5) + "    1" + sp(3) + "      0.50000" + "     -1.00000" + "      1.00000" + "      0.00000" +
        "      0.00000" + "      1.20000" + " \n" +
        sp(5) + "    2" + sp(3) + "      0.20000" + "      1.00000" + "      0.00000" + "      1.50000" +
        "      250.000" + "      0.00000" + " \n";
    EXPECT_EQ(echo.since(), expected);

    // A row of 3 piles is one slot standing for 3; the slope of 45 degrees is 1, stored in radians.
    ASSERT_EQ(PILE.NPILES, 2);
    EXPECT_EQ(PILE.PMULT(1), 3.0);
    EXPECT_DOUBLE_EQ(PILE.ALPHA(1), 0.7853981633974483);
    EXPECT_EQ(PILE.BATTER(1), PILE.ALPHA(1));
    EXPECT_EQ(PILE.HEADXW(2), 0.2);
    EXPECT_EQ(PILE.HEADYW(1), -1.0);
    EXPECT_EQ(PILE.SPACING(1), 1.2);
    EXPECT_EQ(PILEFAC.PMUL(1), 0.9);
    EXPECT_EQ(PILEFAC.YMUL(1), 0.95);
    EXPECT_EQ(PILEFAC.PMULY(1), 7.0);  // the direction columns are three-dimensional only
    EXPECT_EQ(RUNCONST.PIWORD, kPi);
    // The highest head is the second row's (x = 0.2): cap top at -0.8, 2.8 above the soil at x = 2.
    EXPECT_DOUBLE_EQ(CAPIN.CAPXTOP, -0.8);
    EXPECT_DOUBLE_EQ(PILE.HEADX(3), -0.8);
    EXPECT_DOUBLE_EQ(PILE.GROUND(3), 2.8);
    EXPECT_EQ(PILE.PMULT(3), 1.0);
}

TEST_F(EchoPiles, WithoutPilesTheCapTakesSlotOne) {
    for (int antype : {3, 2}) {
        SCOPED_TRACE("analysis type " + std::to_string(antype));
        openUnits(1, antype);
        CAPIN.CAPTX = 36.0;
        RUNCONST.PIWORD = 3.141590118408203;
        echoPiles();
        EXPECT_EQ(PILE.NPILES, 0);
        EXPECT_EQ(PILE.HEADX(1), -36.0);
        EXPECT_EQ(PILE.HEADXW(1), -36.0);
        EXPECT_EQ(PILE.GROUND(1), 36.0);  // no soil layer: the ground surface is at x = 0
        EXPECT_EQ(PILE.PMULT(1), 1.0);
        // A plane run converts no angle, so it keeps the reader's value of pi.
        EXPECT_EQ(RUNCONST.PIWORD, antype == 3 ? kPi : 3.141590118408203);
        io::closeAllUnits();
    }
}

TEST_F(EchoPiles, PlaneFixtureRowsStandForTheirPiles) {
    ASSERT_EQ(readModel(dir, fixture("plane-si.inp")), 0);
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoPiles();
    const std::string text = echo.since();
    const std::string row1 = sp(5) + "    1" + sp(7) + "PIN" + sp(5) + "    3" + sp(8) + "    1" + sp(7) + "    0" +
                             sp(7) + "    1" + " G" + sp(7) + "    0\n";
    const std::string geo2 = sp(5) + "    2" + sp(3) + "      0.50000" + "      1.00000" + "      0.17633" +
                             "      0.00000" + "      0.00000" + "      1.20000" + " \n";
    EXPECT_NE(text.find(row1), std::string::npos) << text;
    EXPECT_NE(text.find(geo2), std::string::npos) << text;
    EXPECT_EQ(PILE.PMULT(2), 3.0);
    EXPECT_EQ(CAPIN.CAPXTOP, -0.5);
    EXPECT_EQ(PILE.GROUND(3), 0.5);
}

// ---- Tables J1, J2 and K --------------------------------------------------------------------------

class EchoMultipliers : public EchoBase {
protected:
    // Two piles 72 in apart along Y (3 diameters of 24 in), with input multipliers that the estimate
    // replaces; load case 1 a horizontal load (Y, Z) and a moment about Z.
    void twoPilesAlongY(int units, int antype, int option, double unit) {
        openUnits(units, antype);
        CTLIN.KGRPRF = option;
        PILE.NPILES = 2;
        for (int i = 1; i <= 2; ++i) {
            PILE.PSETNO(i) = 1;
            PILE.PMULT(i) = 1.0;
        }
        PILE.HEADY(1) = -36.0 * unit;
        PILE.HEADY(2) = 36.0 * unit;
        SECTTAB.SECTDIAM(1, 1, SectTab::TOP) = 24.0 * unit;
        PILEFAC.PMUL.fill(0.5);
        PILEFAC.YMUL.fill(0.5);
        PILEFAC.PMULY.fill(0.5);
        PILEFAC.YMULY.fill(0.5);
        PILEFAC.PMULZ.fill(0.5);
        PILEFAC.YMULZ.fill(0.5);
    }
    void caseOne(double loadY, double loadZ, double momentZ) {
        LCDEF.NLC = 1;
        LCCNT(1, 1) = 1;
        LCREAL(1, 5) = 1.0;
        LCCL.CLOAD(1, 1, 2) = loadY;
        LCCL.CLOAD(1, 1, 3) = momentZ;
        LCCL.CLOAD(1, 1, 4) = loadZ;
    }
    // The rows of two piles: p-factors in 12 columns with 4 digits, y-factors 1.
    static std::string rows(const std::string& p1, const std::string& p2) {
        return sp(12) + "    1" + sp(5) + p1 + " " + "      1.0000" + " \n" + sp(12) + "    2" + sp(5) + p2 + " " +
               "      1.0000" + " \n";
    }
    static std::string factorHead() {
        return sp(40) + "\n" + sp(7) + "     GROUP NO     P-FACTOR     Y-FACTOR        \n" + "\n";
    }
    static std::string caption() { return "\n\n\n" + sp(5) + "* TABLE K *   REDUCTION FACTORS        \n"; }
    static std::string along(const char* axis) {
        return "\n" + sp(7) + "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS" + " " + "ALONG " + axis +
               "-DIRECTION\n";
    }
};

TEST_F(EchoMultipliers, ThreeDOption1TakesTheSenseOfCaseOnesLoad) {
    twoPilesAlongY(1, 3, 1, 1.0);
    caseOne(-100.0, 0.0, 0.0);
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    // Moving -Y, pile 1 (at -36) leads and pile 2 trails; side by side along Z both get the side factor.
    const std::string expected =
        caption() + "\n" + sp(7) + "PILE DIAMETER = " + "    24.000" + " " + " IN\n" + along("Y") + sp(7) +
        "ESTIMATED ASSUMING MOVEMENT IN" + " " + "THE DIRECTION OF Y-FORCE " + "(-)\n" + factorHead() +
        rows("      0.9314", "      0.7287") + along("Z") + sp(7) + "ESTIMATED ASSUMING MOVEMENT IN" + " " +
        "THE DIRECTION OF Z-FORCE " + "(+)\n" + factorHead() + rows("      0.9298", "      0.9298");
    EXPECT_EQ(echo.since(), expected);
    // The load is along Y alone: the Y factors are in effect.
    EXPECT_DOUBLE_EQ(PILEFAC.PMULY(1), kLead3);
    EXPECT_DOUBLE_EQ(PILEFAC.PMULY(2), kTrail3);
    EXPECT_DOUBLE_EQ(PILEFAC.PMULZ(1), kSide3);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(PILEFAC.PMUL(i), PILEFAC.PMULY(i));
        EXPECT_EQ(PILEFAC.YMUL(i), 1.0);
        EXPECT_EQ(PILEFAC.YMULY(i), 1.0);
        EXPECT_EQ(PILEFAC.YMULZ(i), 1.0);
    }
}

TEST_F(EchoMultipliers, ThreeDOption1WithAPureMomentAboutZUsesTheYFactors) {
    twoPilesAlongY(1, 3, 1, 1.0);
    caseOne(0.0, 0.0, 500.0);
    echoMultipliers();
    EXPECT_DOUBLE_EQ(PILEFAC.PMULY(2), kLead3);  // no load: the sense is +Y
    for (int i = 1; i <= 2; ++i) EXPECT_EQ(PILEFAC.PMUL(i), PILEFAC.PMULY(i)) << "pile " << i;
}

TEST_F(EchoMultipliers, ThreeDOption3WeighsByTheGivenMovementInSIUnits) {
    twoPilesAlongY(2, 3, 3, 0.025);  // 0.6 m piles, 1.8 m apart
    CTLIN.RFMOVY = 3.0;
    CTLIN.RFMOVZ = 4.0;
    caseOne(-100.0, -100.0, 0.0);  // the load plays no part
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    const std::string expected =
        caption() + "\n" + sp(7) + "PILE DIAMETER = " + "     0.600" + " " + "  M\n" + along("Y") + sp(7) +
        "ESTIMATED BASED ON DEFINED MOVEMENT IN" + " " + "THE Y-DIRECTION OF " + "(+)\n" + factorHead() +
        rows("      0.7287", "      0.9314") + along("Z") + sp(7) + "ESTIMATED BASED ON DEFINED MOVEMENT IN" + " " +
        "THE Z-DIRECTION OF " + "(+)\n" + factorHead() + rows("      0.9298", "      0.9298");
    EXPECT_EQ(echo.since(), expected);
    // Direction cosines 0.6 and 0.8.
    EXPECT_NEAR(PILEFAC.PMUL(1), std::sqrt(std::pow(kTrail3 * 0.6, 2) + std::pow(kSide3 * 0.8, 2)), 1e-12);
    EXPECT_NEAR(PILEFAC.PMUL(2), std::sqrt(std::pow(kLead3 * 0.6, 2) + std::pow(kSide3 * 0.8, 2)), 1e-12);
    EXPECT_NEAR(PILEFAC.YMUL(1), 1.0, 1e-15);
}

// Options 2 and 4 estimate the direction factors here too (the analysis keeps them) and list them.
TEST_F(EchoMultipliers, ThreeDOptions2And4ListTheDirectionFactorsTheRunKeeps) {
    struct Case {
        int option;
        double loadY, moveY;
    };
    for (const Case& c : {Case{2, -100.0, 1.0}, Case{4, 100.0, -1.0}}) {
        SCOPED_TRACE("option " + std::to_string(c.option));
        twoPilesAlongY(1, 3, c.option, 1.0);
        caseOne(c.loadY, 0.0, 0.0);
        CTLIN.RFMOVY = c.moveY;
        Capture echo(dir, ECHO_UNIT, "case.echo");
        echoMultipliers();
        // Both move -Y: pile 1 leads.
        const std::string expected = caption() + along("Y") + factorHead() + rows("      0.9314", "      0.7287") +
                                     along("Z") + factorHead() + rows("      0.9298", "      0.9298");
        EXPECT_EQ(echo.since(), expected);
        EXPECT_DOUBLE_EQ(PILEFAC.PMULY(1), kLead3);
        EXPECT_DOUBLE_EQ(PILEFAC.PMULZ(2), kSide3);
        EXPECT_EQ(PILEFAC.YMULY(1), 1.0);
        EXPECT_EQ(PILEFAC.YMULZ(1), 1.0);
        closeModel();
    }
}

TEST_F(EchoMultipliers, ThreeDOption0LeavesTheInputMultipliers) {
    twoPilesAlongY(1, 3, 0, 1.0);
    caseOne(-100.0, 0.0, 0.0);
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    EXPECT_EQ(echo.since(), "");
    EXPECT_EQ(PILEFAC.PMUL(1), 0.5);
    EXPECT_EQ(PILEFAC.PMULY(1), 0.5);
    EXPECT_EQ(PILEFAC.PMULZ(1), 0.5);
}

// Plane runs estimate along Y only: options 1 and 2 in the sense of case 1's horizontal load, 3 and 4
// in that of the given movement; only 1 and 3 show the diameter.
TEST_F(EchoMultipliers, PlaneTableFollowsTheOptionsSense) {
    struct Case {
        int option;
        const char *p1, *p2;
    };
    for (const Case& c : {Case{1, "      0.9314", "      0.7287"}, Case{2, "      0.9314", "      0.7287"},
                          Case{3, "      0.7287", "      0.9314"}, Case{4, "      0.7287", "      0.9314"}}) {
        SCOPED_TRACE("option " + std::to_string(c.option));
        twoPilesAlongY(1, 2, c.option, 1.0);
        caseOne(-100.0, 0.0, 0.0);
        CTLIN.RFMOVY = 2.0;
        Capture echo(dir, ECHO_UNIT, "case.echo");
        echoMultipliers();
        const std::string diameter =
            c.option == 1 || c.option == 3 ? "\n" + sp(7) + "PILE DIAMETER = " + "    24.000" + " " + " IN\n" : "";
        const std::string expected = caption() + diameter + "\n" + sp(7) +
                                     "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS\n" + factorHead() +
                                     rows(c.p1, c.p2);
        EXPECT_EQ(echo.since(), expected);
        closeModel();
    }
}

TEST_F(EchoMultipliers, SectionUnitsDiameterAndAverageDiameterNote) {
    twoPilesAlongY(2, 2, 1, 0.025);
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    EXPECT_NE(echo.since().find(sp(7) + "PILE DIAMETER = " + "   600.000" + " " + " MM\n"), std::string::npos);
    closeModel();

    twoPilesAlongY(1, 3, 3, 1.0);
    CTLIN.KAVGDIA = 1;
    Capture echo2(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    EXPECT_NE(echo2.since().find(caption() + "\n" + sp(7) + "AVERAGE DIAMETER IS USED TO GET RATIO S/B\n" +
                                 along("Y")),
              std::string::npos);
}

TEST_F(EchoMultipliers, PilesAtOnePlaceAreReportedAsUnresisted) {
    twoPilesAlongY(1, 3, 1, 1.0);
    PILE.HEADY(2) = PILE.HEADY(1);
    Capture results(dir, RESULTS_UNIT, "case.out");
    echoMultipliers();
    EXPECT_EQ(PILEFAC.PMUL(1), 0.0);
    EXPECT_EQ(PILEFAC.PMUL(2), 0.0);
    EXPECT_NE(results.since().find("PILES     1 AND     2 STAND AT THE SAME POSITION IN PLAN:"), std::string::npos);
}

TEST_F(EchoMultipliers, TableJ1ListsEverySetWithItsPoints) {
    openUnits(1, 3);
    CTLIN.KRFDEP = 1;
    RFD.NRFSET = 2;
    const double depth1[] = {0, 120, 240}, pm1[] = {1.0, 0.8, 0.6};
    const double depth2[] = {0, 60, 120, 180, 240}, pm2[] = {1.0, 0.9, 0.8, 0.7, 0.6};
    RFD.NRFD(1) = 3;
    RFD.NRFD(2) = 5;
    for (int p = 1; p <= 5; ++p) {
        if (p <= 3) {
            RFD.RFDX(1, p) = depth1[p - 1];
            RFD.RFDPM(1, p) = pm1[p - 1];
            RFD.RFDYM(1, p) = 1.0;
        }
        RFD.RFDX(2, p) = depth2[p - 1];
        RFD.RFDPM(2, p) = pm2[p - 1];
        RFD.RFDYM(2, p) = 1.0;
    }
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    auto row = [](const char* x, const char* pm) {
        return sp(11) + x + sp(9) + pm + sp(9) + "     1.00000" + " \n";
    };
    const std::string head =
        sp(12) + "     DEPTH," + "FT" + sp(10) + "P-FACTOR   " + sp(10) + "Y-FACTOR   " + "\n";
    const std::string expected =
        "\n\n\n" + sp(5) + "* TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  \n" + "\n" + sp(7) + "NUM OF SETS :" +
        "  2\n" + "\n" + sp(8) + "  SET" + "  1" + sp(10) + "NUM OF POINTS" + "  3\n" + "\n" + head +
        row("     0.00000", "     1.00000") + row("     10.0000", "     0.80000") +
        row("     20.0000", "     0.60000") + "\n" + sp(8) + "  SET" + "  2" + sp(10) + "NUM OF POINTS" + "  5\n" +
        "\n" + head + row("     0.00000", "     1.00000") + row("     5.00000", "     0.90000") +
        row("     10.0000", "     0.80000") + row("     15.0000", "     0.70000") +
        row("     20.0000", "     0.60000");
    EXPECT_EQ(echo.since(), expected);
}

TEST_F(EchoMultipliers, TableJ1WithoutSetsIsItsCaptionOnly) {
    openUnits(1, 3);
    CTLIN.KRFDEP = 1;
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    EXPECT_EQ(echo.since(), "\n\n\n" + sp(5) + "* TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  \n");
}

TEST_F(EchoMultipliers, TableJ2HasAZColumnIn3DOnly) {
    for (int antype : {2, 3}) {
        SCOPED_TRACE("analysis type " + std::to_string(antype));
        openUnits(2, antype);
        CTLIN.KSMOV = 1;
        SMOV.NSMOV = 2;
        SMOV.SMX(1) = 0.0;
        SMOV.SMY(1) = 0.01;
        SMOV.SMZ(1) = 0.5;
        SMOV.SMX(2) = 20.0;
        Capture echo(dir, ECHO_UNIT, "case.echo");
        echoMultipliers();
        const bool z = antype == 3;
        const std::string expected =
            "\n\n\n" + sp(5) + "* TABLE J2 *  SOIL MOVEMENT DATA       \n" + sp(12) + "POINT" + sp(9) + "DEPTH" +
            sp(13) + "MOVE Y-DIR" + (z ? sp(13) + "MOVE Z-DIR" : "") + "\n" + sp(12) + "     " + sp(11) + " M" +
            sp(18) + " M" + (z ? sp(18) + " M" : "") + "\n" + sp(10) + "    1" + sp(11) + "     0.00000" + sp(9) +
            " 1.00000E-02" + (z ? sp(9) + "     0.50000" : "") + " \n" + sp(10) + "    2" + sp(11) +
            "     20.0000" + sp(9) + "     0.00000" + (z ? sp(9) + "     0.00000" : "") + " \n";
        EXPECT_EQ(echo.since(), expected);
        closeModel();
    }
}

// The whole three-dimensional input: Tables J1, J2 and K in order, option 3 with the movement +Y.
TEST_F(EchoMultipliers, FullInputListsJ1J2AndKInOrder) {
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    echoPiles();
    SECTTAB.SECTDIAM(1, 1, SectTab::TOP) = 24.0;  // the 24 in pipe of set 1, as the section table holds it
    Capture echo(dir, ECHO_UNIT, "case.echo");
    echoMultipliers();
    const std::string text = echo.since();
    const auto j1 = text.find("* TABLE J1 *"), j2 = text.find("* TABLE J2 *"), k = text.find("* TABLE K *");
    ASSERT_NE(j1, std::string::npos);
    EXPECT_LT(j1, j2);
    EXPECT_LT(j2, k);
    EXPECT_NE(text.find(sp(11) + "     10.0000" + sp(9) + "     0.80000"), std::string::npos) << text;
    EXPECT_NE(text.find(sp(7) + "PILE DIAMETER = " + "    24.000" + " " + " IN\n"), std::string::npos);
    EXPECT_NE(text.find("THE Z-DIRECTION OF (+)"), std::string::npos);
    // The movement (1, 0) is along Y: pile 2 (at +3 ft) leads and the Y factors are in effect.
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(2), kLead3);
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(1), kTrail3);
}

}  // namespace
}  // namespace kaldo::test
