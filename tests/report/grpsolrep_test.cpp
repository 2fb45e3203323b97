// Tables of the three-dimensional group solution that the end-to-end cases do not reach: the heading of
// the reduction factors estimated from a predefined movement, and the passive resistance of an
// embedded cap. Expected lines are built field by field from the layouts (English units, kips).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "group/group.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/unitlbl.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

class GroupTables : public ::testing::Test {
protected:
    WorkDir dir;

    void SetUp() override {
        io::closeAllUnits();
        resetAllBlocks();
        CTLIN.UNITS = 1;
        CTLIN.KKIPS = 1;
        CTLIN.ANTYPE = 3;
        UNITLBL(1, 1);
        for (int u : {14, 16, 18}) io::unit(u).open((dir / name(u)).string(), io::Mode::Write);
    }
    void TearDown() override { io::closeAllUnits(); }

    static std::string name(int u) { return "unit" + std::to_string(u) + ".txt"; }
    std::vector<std::string> file(int u) {
        io::closeAllUnits();
        return lines(dir.read(name(u)));
    }
};

TEST_F(GroupTables, ReductionFactorsHeadingNamesHowTheFactorsWereFound) {
    const std::string title = "       REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS, COMBINED Y AND Z DIRECTIONS";
    const std::string blankPiece(7 + 33, ' ');
    const std::string groupNo = "            GROUP NO     P-FACTOR     Y-FACTOR        ";
    // 12 blanks, I5, 5 blanks, the factors in 12 columns with 4 digits (0.85: 4 decimals), one blank
    // between them, the blank of the line end.
    const std::string row1 = std::string(12, ' ') + "    1" + std::string(5, ' ') + "      0.8500" + " " + "      1.0000 ";
    const std::string row2 = std::string(12, ' ') + "    2" + std::string(5, ' ') + "      0.5000" + " " + "      0.9000 ";
    struct Case {
        int option;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {3, {"", title, "       USING A PREDEFINED MOVEMENT" + blankPiece, groupNo, "", row1, row2}},
        {1,
         {"", title, "       ESTIMATED USING MOVEMENT IN THE DIRECTION OF PILE CAP DISPLACEMENTS", blankPiece, groupNo, "",
          row1, row2}},
    };
    for (const Case& c : cases) {
        SetUp();
        CTLIN.KGRPRF = c.option;
        PILE.NPILES = 2;
        PILEFAC.PMUL(1) = 0.85;
        PILEFAC.YMUL(1) = 1.0;
        PILEFAC.PMUL(2) = 0.5;
        PILEFAC.YMUL(2) = 0.9;
        grpsolFactorTable();
        const auto u16 = file(16);
        EXPECT_EQ(u16, c.expected) << "option " << c.option;
        EXPECT_EQ(lines(dir.read(name(18))), c.expected) << "option " << c.option;
        // Pile results file: I10, 4 blanks, the factors in 18 columns with 8 digits, 4 blanks between.
        EXPECT_EQ(lines(dir.read(name(14))),
                  (std::vector<std::string>{"       *REDUCTION FACTORS FOR CLOSELY-SPACED PILE*",
                                            "         1    " + std::string("        0.85000000") + "    " +
                                                "        1.00000000 ",
                                            "         2    " + std::string("        0.50000000") + "    " +
                                                "        0.90000000 "}))
            << "option " << c.option;
    }
}

TEST_F(GroupTables, PassiveResistanceOfTheEmbeddedCap) {
    // 25000 lb along Y at 36 in below the origin, under a cap 10 ft wide (120 in).
    const std::vector<std::string> u14 = {
        "* PASSIVE RESISTANCE IN PILE CAP *",
        // Internal units, 18 columns with 8 digits: 25000 with 4 decimals, 0, 36 with 7 decimals.
        "        25000.0000" + std::string(5, ' ') + "        0.00000000" + std::string(5, ' ') + "        36.0000000 "};
    for (int level : {0, -1}) {
        SetUp();
        CAPIN.CAPWZ = 120.0;
        CTLPAR.KPRINT = level;
        grpsolPassiveTable(25000.0, 0.0, 36.0);
        const auto u16 = file(16);
        EXPECT_EQ(lines(dir.read(name(14))), u14) << "level " << level;
        if (level < 0) {
            EXPECT_TRUE(u16.empty());
            EXPECT_TRUE(lines(dir.read(name(18))).empty());
            continue;
        }
        // 25 kips, 0 kips, 3 ft and 10 ft in 19 columns with 5 digits after 5 blanks; the diameter
        // label "FT" is right-aligned in its three columns.
        const std::vector<std::string> expected = {
            "", "", "     * PASSIVE RESISTANCE IN PILE CAP *", "",
            "             HOR. LOAD Y,KIP    HOR. LOAD Z,KIP      POSITION, FT      EQ. DIAM, FT",
            "     " + std::string(12, ' ') + "25.0000" + std::string(12, ' ') + "0.00000" + std::string(12, ' ') + "3.00000" +
                std::string(12, ' ') + "10.0000 "};
        EXPECT_EQ(u16, expected);
        EXPECT_EQ(lines(dir.read(name(18))), expected);
    }
}

}  // namespace
}  // namespace kaldo::test
