// The p-y print requests and the curve tables of the input echo (Tables G, H, I), the generated curves
// on the plot output file, and the listings of the generated curves on units 20 and 27.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "echo/echo.h"
#include "model/blocks.h"
#include "model/files.h"
#include "services/status.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

// Reads an input and runs the echo steps that build the piles, sections and soils.
void buildModel(const WorkDir& dir, const std::string& input) {
    ASSERT_EQ(readModel(dir, input), 0);
    echoPiles();
    echoSections();
    int status = 0;
    echoSoils(status);
    ASSERT_EQ(status, 0);
}

// A point row of Tables G, H and I: 10 blanks, the two 12-column values 9 blanks apart, the closing
// blank.
std::string pointRow(const std::string& a, const std::string& b) {
    EXPECT_EQ(a.size(), 12u) << a;
    EXPECT_EQ(b.size(), 12u) << b;
    return std::string(10, ' ') + a + std::string(9, ' ') + b + " \n";
}

const std::string ZERO12 = "     0.00000";

class EchoCurves : public ::testing::Test {
protected:
    void TearDown() override { closeModel(); }
    WorkDir dir;
};

// Full input, English with kips: one print request, one user p-y set of two curves, one user axial
// curve, one user torque curve; pile 1 asks for the generated curves, pile 2 has the user ones.
TEST_F(EchoCurves, Full3dRequestsUserCurvesAndGeneratedBlocks) {
    buildModel(dir, fixture("full3d.inp"));
    Capture echo(dir, 32, "case.echo");
    int status = 0;
    echoCurveTables(status);
    ASSERT_EQ(status, 0);
    const std::string got = echo.since();

    const std::string gHeading = "            POINT             P LBS                 Y IN\n";
    const std::string expectedHead =
        "\n\n"
        "     * DATA TO PRINT GENERATED P-Y CURVES *\n"
        "\n"
        "      NUMBER OF CURVES TO PRINT :     1\n"
        "\n"
        "       CURVE NUMBER     PILE GROUP         DEPTH (FT)   \n"
        "            1               1                 10.0000 \n"
        "\n\n\n"
        "     * TABLE G *   INPUT P-Y CURVES\n"
        "\n"
        "       NUM OF SETS :  1\n"
        "\n\n"
        "       SET  1          NUM OF CURVES  2\n"
        "\n"
        "\n"
        "        CURVE       1      DISTANCE FROM ORIGIN (X-COORD.)      5.00000 FT \n" +
        gHeading + "          " + "    1" + "           " + ZERO12 + "         " + ZERO12 + " \n" +
        "          " + "    2" + "           " + "     100.000" + "         " + "     0.50000" + " \n" +
        "          " + "    3" + "           " + "     150.000" + "         " + "     2.00000" + " \n" +
        "\n"
        "        CURVE       2      DISTANCE FROM ORIGIN (X-COORD.)      15.0000 FT \n" +
        gHeading + "          " + "    1" + "           " + ZERO12 + "         " + ZERO12 + " \n" +
        "          " + "    2" + "           " + "     200.000" + "         " + "     1.00000" + " \n" +
        "\n\n\n"
        "     * TABLE H *   AXIAL LOAD VS DISPLACEMENT \n"
        "\n"
        "     USER DEFINED AXIAL LOAD-DISPLACEMENT CURVES\n"
        "\n"
        "       NUM OF CURVES  1\n"
        "\n"
        "        CURVE  1          NUM OF POINTS  3\n"
        "\n"
        "       DISPLACEMENT, IN       AXIAL LOAD,KIP\n" +
        pointRow(ZERO12, ZERO12) + pointRow("     0.50000", "     100.000") + pointRow("     2.00000", "     150.000") +
        "\n"
        "     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY \n"
        "\n"
        "       NUM OF CURVES  1\n"
        "\n"
        "        CURVE  1          NUM OF POINTS 19\n"
        "\n"
        "       DISPLACEMENT, IN       AXIAL LOAD,KIP\n";
    ASSERT_EQ(got.substr(0, expectedHead.size()), expectedHead);

    // 19 points, the origin in the middle; then Table I.
    const std::vector<std::string> rest = lines(got.substr(expectedHead.size()));
    ASSERT_GT(rest.size(), 19u);
    EXPECT_EQ(rest[9] + "\n", pointRow(ZERO12, ZERO12));
    const std::string expectedTableI =
        "\n\n\n"
        "     * TABLE I *   TORS. MOM. VS ANGLE ROT. \n"
        "\n"
        "     USER DEFINED TORQUE-ROTATION CURVE\n"
        "\n"
        "       NUM OF CURVES  1\n"
        "\n"
        "        CURVE  1          NUM OF POINTS  2\n"
        "\n"
        "         ROT. ANGLE,Rad.     TORS.MOMEN,KIP-IN\n" +
        pointRow(ZERO12, ZERO12) + pointRow(" 1.00000E-02", "     50.0000") +
        "\n"
        "     TORQUE-ROTATION CURVES GENERATED INTERNALLY \n"
        "\n"
        "       NUM OF CURVES  1\n"
        "\n"
        "        CURVE  1          NUM OF POINTS 19\n"
        "\n"
        "         ROT. ANGLE,Rad.     TORS.MOMEN,KIP-IN\n";
    const std::size_t at = got.find("\n\n\n     * TABLE I *");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(got.substr(at, expectedTableI.size()), expectedTableI);
    EXPECT_EQ(lines(got.substr(at + expectedTableI.size())).size(), 19u);

    // The tables: user curves as given, the generated curve made of the stored branches, and the piles
    // pointed at their curves.
    EXPECT_EQ(PYUSR.NPYSET, 1);
    EXPECT_EQ(PYUSR.PYNCRV(1), 2);
    EXPECT_EQ(PYUSR.PYNPT(1, 1), 3);
    EXPECT_EQ(PYUSR.PYP(1, 1, 3), 150.0);
    EXPECT_EQ(PYUSR.PYY(1, 1, 3), 2.0);
    EXPECT_EQ(PYUSR.PYX(1, 2), 180.0);
    EXPECT_EQ(TZCRV.NTZUSR, 1);
    EXPECT_EQ(TZCRV.TZNPT(1), 3);
    EXPECT_EQ(TZCRV.TZF(1, 2), 100000.0);
    EXPECT_EQ(TZCRV.TZW(1, 3), 2.0);
    EXPECT_EQ(TQCRV.NTQUSR, 1);
    EXPECT_EQ(TQCRV.TQT(1, 2), 50000.0);
    EXPECT_EQ(TZCRV.NTZGEN, 1);
    EXPECT_EQ(TZCRV.TZGPILE(1), 1);
    EXPECT_EQ(TZCRV.TZGNPT(1), 19);
    for (int r = 1; r <= 19; ++r) {
        EXPECT_EQ(TZCRV.TZGW(1, r), AXLSTAB.LSWHEAD(1, r)) << r;
        EXPECT_EQ(TZCRV.TZGF(1, r), AXLSTAB.LSPHEAD(1, r)) << r;
    }
    EXPECT_LT(TZCRV.TZGF(1, 1), 0.0);
    EXPECT_GT(TZCRV.TZGF(1, 19), 0.0);
    EXPECT_EQ(TQCRV.NTQGEN, 1);
    EXPECT_EQ(TQCRV.TQGNPT(1), 19);
    // Both branches of a torque curve are alike: the curve is symmetric about the origin.
    for (int p = 1; p <= 9; ++p) {
        EXPECT_EQ(TQCRV.TQGT(1, p), -TQCRV.TQGT(1, 20 - p)) << p;
        EXPECT_EQ(TQCRV.TQGR(1, p), -TQCRV.TQGR(1, 20 - p)) << p;
    }
    EXPECT_EQ(PILE.LSCRV(1), -1);
    EXPECT_EQ(PILE.TRCRV(1), -1);
    EXPECT_EQ(PILE.LSCRV(2), 1);
    EXPECT_EQ(PILE.TRCRV(2), 1);
}

// Plane SI input without user curves or print requests: Table H with the generated curve only, no
// Table I; the generated curve also goes to the plot output file.
TEST_F(EchoCurves, PlaneSiGeneratedAxialCurveOnTheEchoAndThePlotFile) {
    buildModel(dir, fixture("plane-si.inp"));
    Capture echo(dir, 32, "case.echo");
    Capture plot(dir, 17, WorkDir::recordName("case", REC_PLOT));
    int status = 0;
    echoCurveTables(status);
    ASSERT_EQ(status, 0);
    const std::string got = echo.since();
    const std::string expectedHead =
        "\n\n\n"
        "     * TABLE H *   AXIAL LOAD VS DISPLACEMENT \n"
        "\n"
        "     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY \n"
        "\n"
        "       NUM OF CURVES  1\n"
        "\n"
        "        CURVE  1          NUM OF POINTS 19\n"
        "\n"
        "       DISPLACEMENT,  M       AXIAL LOAD, KN\n";
    ASSERT_EQ(got.substr(0, expectedHead.size()), expectedHead);
    EXPECT_EQ(lines(got.substr(expectedHead.size())).size(), 19u);
    EXPECT_EQ(PILE.LSCRV(1), -1);
    EXPECT_EQ(PILE.LSCRV(2), -1);
    EXPECT_EQ(TQCRV.NTQGEN, 0);

    // Plot file: caption, count, the curve line, then per point 10 blanks, the number, 11 blanks, load
    // and displacement in 15 columns with 8 digits, 9 blanks apart.
    const std::vector<std::string> p = lines(plot.since());
    ASSERT_EQ(p.size(), 3u + 19u);
    EXPECT_EQ(p[0], "     * AXIAL LOAD-DISPLACEMENT CURVES *");
    EXPECT_EQ(p[1], "         1");
    EXPECT_EQ(p[2], "     " "    1" "    1" "   19");
    const std::string zero15 = "     0.00000000";
    EXPECT_EQ(p[3 + 9],
              std::string(10, ' ') + "   10" + std::string(11, ' ') + zero15 + std::string(9, ' ') + zero15 + " ");
    for (const std::string& row : std::vector<std::string>(p.begin() + 3, p.end())) EXPECT_EQ(row.size(), 66u) << row;
}

// The generated curve's listings: side curves, tip curve and head results on the axial-torsion
// listing (unit 20), the load along the pile for each tip movement on the load-transfer curve file
// (unit 27). Full input: pile 60 ft = 720 in in 40 increments of 18 in, driven.
TEST_F(EchoCurves, ListingsOfTheGeneratedAxialCurve) {
    buildModel(dir, fixture("full3d.inp"));
    Capture listing(dir, 20, WorkDir::recordName("case", REC_AXTORS));
    Capture transfer(dir, 27, WorkDir::recordName("case", REC_LTCURVE));
    int status = 0;
    echoCurveTables(status);
    ASSERT_EQ(status, 0);

    const std::string ax = listing.since();
    const std::string sideHead =
        "\n\n"
        "     T-Z CURVES, PILE PROPERTY:  1\n"
        "\n"
        "          CURVE   N. POINTS     DEPTH           T Value         Z Value\n" +
        std::string(32, ' ') + "( IN)" + std::string(11, ' ') + "( PSI )" + std::string(10, ' ') + "( IN)\n";
    ASSERT_EQ(ax.substr(0, sideHead.size()), sideHead);
    const std::vector<std::string> a = lines(ax.substr(sideHead.size()));
    // Curve 1 at the ground, tmax 1e-6 on the driven clay shape: second point 0.18e-6 at 0.01 inch.
    EXPECT_EQ(a[2], std::string(40, ' ') + "       0.1800E-06" + "      0.1000E-01");
    // Curve 3, 0.1 inch below the ground, its depth in feet.
    EXPECT_EQ(a[22], "            3         10      0.8333E-02");
    const std::string tipHead =
        "\n     Q-W CURVE, PILE PROPERTY:  1\n\n         Q Value            W Value\n"
        "          (LBS)              ( IN)\n";
    EXPECT_NE(ax.find(tipHead), std::string::npos);
    const std::string resultHead = "\n\n\n        TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT     TIP  LOAD\n"
                                   "           LBS              IN               IN            LBS\n";
    const std::size_t r1 = ax.find(resultHead);
    ASSERT_NE(r1, std::string::npos);
    // The uplift rows, negated: the first tip movement -0.0001 inch in the third column.
    const std::vector<std::string> up = lines(ax.substr(r1 + resultHead.size()));
    EXPECT_EQ(up[0].substr(5 + 30, 15), " -0.1000000E-03");
    EXPECT_NE(ax.find(resultHead, r1 + 1), std::string::npos);  // and the compression rows

    // Unit 27: the heading record, the list-directed record 9 1 9 NINC h, then per tip movement of
    // either branch the node lines from the tip (720 in) to the head (0).
    const std::vector<std::string> t = lines(transfer.since());
    ASSERT_EQ(t.size(), 4u + 2u * 9u * (3u + 41u));
    EXPECT_EQ(t[0], "");
    EXPECT_EQ(t[1], "     T-Z CURVES, PILE PROPERTY:    1");
    EXPECT_EQ(t[2], "");
    EXPECT_EQ(t[3], " 9 1 9 40 18.0");
    EXPECT_EQ(t[4], "");
    EXPECT_EQ(t[5], "       N    DEPTH      AXIAL LOAD           MOVEMENT");
    EXPECT_EQ(t[6], std::string(13, ' ') + " IN" + std::string(12, ' ') + "LBS" + std::string(16, ' ') + " IN");
    EXPECT_EQ(t[7].substr(0, 18), "       1   720.000");
    EXPECT_EQ(t[7].substr(40), " -0.1000000E-03");  // uplift: the tip movement negated
    EXPECT_EQ(t[7 + 40].substr(0, 18), "      41     0.000");
    const std::size_t compression = 4 + 9 * 44;
    EXPECT_EQ(t[compression + 3].substr(40), "  0.1000000E-03");
}

// A generated curve that cannot be built (driven pile, clay tip without cohesion) stops the echo with
// the curve's status: Table H has its caption only.
TEST_F(EchoCurves, FailingGeneratedCurveStopsTheEcho) {
    std::string input = fixture("plane-si.inp");
    auto replace = [&input](const std::string& from, const std::string& to) {
        const std::size_t at = input.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        input.replace(at, from.size(), to);
    };
    replace("20 12.0 2\n", "20 12.0 1\n");  // driven
    replace("1 4\n0.0 20.0\n", "1 1\n0.0 20.0\n");  // soft clay, no strength given
    buildModel(dir, input);
    Capture echo(dir, 32, "case.echo");
    int status = 0;
    echoCurveTables(status);
    EXPECT_EQ(status, 33);
    EXPECT_EQ(echo.since(), "\n\n\n     * TABLE H *   AXIAL LOAD VS DISPLACEMENT \n");
}

}  // namespace
}  // namespace kaldo::test
