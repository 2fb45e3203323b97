// The reader of the results report that the end-to-end tests check their numbers with.
#include "support/results.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kaldo::test {
namespace {

TEST(TestSupport, ReadsPrintedNumbersInEveryForm) {
    EXPECT_EQ(readNumber("4000.00"), 4000.0);
    EXPECT_EQ(readNumber("-1.88580E-18"), -1.8858e-18);
    EXPECT_EQ(readNumber("0.00000"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("0.1234-100"), 0.1234e-100);
    EXPECT_DOUBLE_EQ(readNumber("-0.5+101"), -0.5e101);
    EXPECT_TRUE(std::isnan(readNumber("*************")));
    EXPECT_TRUE(std::isnan(readNumber("KN")));
}

// The cap table and the pile tables of each case are read; an envelope's tables are not a case.
TEST(TestSupport, ReadsCasesButNotEnvelopes) {
    const std::string report =
        "     LOAD CASE :     1\n"
        "           VERT. LOAD,  KN    HOR. LOAD Y,  KN   HOR. LOAD Z,  KN\n"
        "                 4000.00            0.00000            0.00000 \n"
        "\n"
        "          MOMENT X , KN- M    MOMENT Y, KN- M    MOMENT Z, KN- M\n"
        "                 1.00000            2.00000            3.00000 \n"
        "            VERTICAL , M      HORIZONTAL Y, M     HORIZONTAL Z, M\n"
        "             1.00000E-02       -1.88580E-18            0.00000 \n"
        "          ANGLE ROT. X,RAD    ANGLE ROT. Y,RAD    ANGLE ROT. Z,RAD\n"
        "             9.09128E-37            0.00000        2.34830E-19 \n"
        "       * PILE GROUP *     7\n"
        "      DISP. X, M   DISP. Y, M   DISP. Z, M   ROT. X,RAD   ROT. Y,RAD   ROT. Z,RAD\n"
        "      1.0000E-02          1.0          2.0          3.0          4.0          5.0 \n"
        "      FOR. X, KN   FOR. Y, KN   FOR. Z, KN  MOM X, KN- M MOM Y, KN- M MOM Z, KN- M\n"
        "          1000.0          6.0          7.0          8.0          9.0         10.0 \n"
        "      DISP. x, M   DISP. y, M   DISP. z, M   ROT. x,RAD   ROT. y,RAD   ROT. z,RAD\n"
        "            11.0         12.0         13.0         14.0         15.0         16.0 \n"
        "       AXIAL, KN   LAT. y, KN   LAT. z, KN  MOM x, KN- M MOM y, KN- M MOM z, KN- M\n"
        "            17.0         18.0         19.0         20.0         21.0  *********** \n"
        "     LOAD CASE ENV : 1\n"
        "       * PILE GROUP *     1\n"
        "      FOR. X, KN   FOR. Y, KN   FOR. Z, KN  MOM X, KN- M MOM Y, KN- M MOM Z, KN- M\n"
        "          9999.0          0.0          0.0          0.0          0.0          0.0 \n"
        "     LOAD COMB. :     2\n";
    std::vector<CaseResults> cases = readResults(report);
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases[0].heading, "LOAD CASE :     1");
    EXPECT_EQ(cases[0].capLoad, (Six{4000.0, 0.0, 0.0, 1.0, 2.0, 3.0}));
    EXPECT_EQ(cases[0].capDisp, (Six{1.0e-2, -1.8858e-18, 0.0, 9.09128e-37, 0.0, 2.3483e-19}));
    ASSERT_EQ(cases[0].piles.size(), 1u);
    const PileTop& p = cases[0].piles[0];
    EXPECT_EQ(p.pile, 7);
    EXPECT_EQ(p.globalDisp, (Six{1.0e-2, 1.0, 2.0, 3.0, 4.0, 5.0}));
    EXPECT_EQ(p.globalForce, (Six{1000.0, 6.0, 7.0, 8.0, 9.0, 10.0}));
    EXPECT_EQ(p.localDisp, (Six{11.0, 12.0, 13.0, 14.0, 15.0, 16.0}));
    EXPECT_EQ(p.localForce[4], 21.0);
    EXPECT_TRUE(std::isnan(p.localForce[5]));
    EXPECT_EQ(cases[1].heading, "LOAD COMB. :     2");
    EXPECT_TRUE(cases[1].piles.empty());
}

}  // namespace
}  // namespace kaldo::test
