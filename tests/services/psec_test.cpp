// Section properties at a depth below the pile head: the linear rule between the ends of a section, the
// choice of section at a bottom depth, in a gap, above the first and below the last section, the
// stepwise rule up to the sentinel 20 % below the tip, the diameter fallback, and lookups that only
// read the table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "model/blocks.h"
#include "services/psec.h"

namespace kaldo {
namespace {

constexpr int TOP = SectTab::TOP, BOT = SectTab::BOT;

// Property set 1, 30 long: section 1 from 0 to 10, a gap, section 2 from 12 to 20, section 3 from 20
// to 30. Diameters 30 -> 20, 16 -> 12, 10 -> 0; areas 100 -> 80, 60 -> 60, 50 -> 40; moduli 1, 2, 3;
// moment-curvature sets 11/21, 12/22, 13/23; type codes 7, 8, 9. Pile 1 has its head at x = -5,
// pile 2 at x = 7, both of set 1.
class SectionLookup : public ::testing::Test {
protected:
    void SetUp() override {
        resetAllBlocks();
        PILESET.NSECT(1) = 3;
        PILESET.PLEN(1) = 30.0;
        const double top[] = {0, 12, 20}, bot[] = {10, 20, 30};
        const double d[][2] = {{30, 20}, {16, 12}, {10, 0}};
        const double a[][2] = {{100, 80}, {60, 60}, {50, 40}};
        auto& t = SECTTAB;
        for (int j = 1; j <= 3; ++j) {
            t.SECTTOP(1, j) = top[j - 1];
            t.SECTBOT(1, j) = bot[j - 1];
            t.SECTDIAM(1, j, TOP) = d[j - 1][0];
            t.SECTDIAM(1, j, BOT) = d[j - 1][1];
            t.SECTAREA(1, j, TOP) = a[j - 1][0];
            t.SECTAREA(1, j, BOT) = a[j - 1][1];
            t.SECTE(1, j, TOP) = j;
            t.SECTMPZ(1, j) = 10 + j;
            t.SECTMPY(1, j) = 20 + j;
            t.SECTTYPE(1, j) = 6 + j;
        }
        setDepthSentinel(1);
        PILE.HEADXW(1) = -5.0;
        PILE.HEADXW(2) = 7.0;
    }
    void TearDown() override { resetAllBlocks(); }

    static double x1(double depth) { return depth - 5.0; }  // x of a depth below the head of pile 1
};

TEST_F(SectionLookup, LinearRuleChoosesTheSectionByItsBottom) {
    struct Case {
        double depth, diameter, area;
    };
    const Case cases[] = {
        {-1.0, 30.0, 100.0},  // above the first section: its top value
        {0.0, 30.0, 100.0},
        {4.0, 26.0, 92.0},
        {10.0, 20.0, 80.0},   // exactly at a bottom: that section, not the next one's line (17)
        {11.0, 16.5, 60.0},   // in the gap: the next section's line extended upward
        {16.0, 14.0, 60.0},
        {20.0, 12.0, 60.0},   // the bottom of section 2 is the top of section 3
        {25.0, 5.0, 45.0},
        {31.0, 10.0, 40.0},   // below the last section: its bottom (diameter 0 -> fallback)
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(PSECAREA(1, 1, x1(c.depth)), c.area) << "depth " << c.depth;
        EXPECT_DOUBLE_EQ(PSECDIAM(1, 1, x1(c.depth)), c.diameter) << "depth " << c.depth;
    }
}

TEST_F(SectionLookup, DiameterBelowTheLimitTakesTheTopOfTheLastSection) {
    // Section 3 runs from 10 to 0: 1e-5 above its bottom the diameter is 1e-5, just above the limit (1e-5
    // in single precision, 9.99999975e-6); at the bottom it is 0 and 1e-7 above it 1e-7, both replaced
    // by the top diameter of section 3.
    EXPECT_NEAR(PSECDIAM(1, 1, x1(29.99999)), 1e-5, 1e-9);
    EXPECT_DOUBLE_EQ(PSECDIAM(1, 1, x1(30.0)), 10.0);
    EXPECT_DOUBLE_EQ(PSECDIAM(1, 1, x1(29.9999999)), 10.0);
}

TEST_F(SectionLookup, StepwiseRuleRunsToTheNextTopAndTheSentinel) {
    struct Case {
        double depth;
        int section;  // 0: none (the empty slot after the last section)
    };
    // The sentinel is 1.2 (single precision) x 30 = 36.0000014: a depth of exactly 36 still lies above it.
    const Case cases[] = {{-1.0, 1}, {10.0, 1}, {11.9, 1}, {12.0, 2}, {19.0, 2}, {20.0, 3},
                          {31.0, 3}, {36.0, 3}, {36.00001, 0}, {50.0, 0}};
    for (const Case& c : cases) {
        const double x = x1(c.depth);
        EXPECT_EQ(PSECEMOD(1, 1, x), double(c.section)) << "depth " << c.depth;
        EXPECT_EQ(PSECMPHZ(1, 1, x), c.section ? 10 + c.section : 0) << "depth " << c.depth;
        EXPECT_EQ(PSECMPHY(1, 1, x), c.section ? 20 + c.section : 0) << "depth " << c.depth;
    }
}

TEST_F(SectionLookup, PerSectionRuleTakesTheValueOfTheChosenSection) {
    const struct {
        double depth;
        int type;
    } cases[] = {{-1.0, 7}, {10.0, 7}, {11.0, 8}, {25.0, 9}, {40.0, 9}};
    for (const auto& c : cases) EXPECT_EQ(PSECTYPE(1, 1, x1(c.depth)), c.type) << "depth " << c.depth;
    // No phase fills the bending-stress dimensions.
    EXPECT_EQ(PSECDEPY(1, 1, x1(4.0)), 0.0);
    EXPECT_EQ(PSECDEPZ(1, 1, x1(4.0)), 0.0);
}

TEST_F(SectionLookup, PilesOfOneSetAgreeAtTheSameDepthBelowTheirHeads) {
    for (double depth : {-2.0, 4.0, 11.0, 25.0, 33.0}) {
        EXPECT_EQ(PSECDIAM(1, 1, depth - 5.0), PSECDIAM(2, 1, depth + 7.0)) << "depth " << depth;
        EXPECT_EQ(PSECAREA(1, 1, depth - 5.0), PSECAREA(2, 1, depth + 7.0)) << "depth " << depth;
        EXPECT_EQ(PSECMPHZ(1, 1, depth - 5.0), PSECMPHZ(2, 1, depth + 7.0)) << "depth " << depth;
    }
    EXPECT_DOUBLE_EQ(PSECDIAM(2, 1, 11.0), 26.0);  // 4 below the head of pile 2
}

TEST_F(SectionLookup, EveryLinearLookupReadsItsOwnField) {
    auto& t = SECTTAB;
    t.SECTIZ(1, 2, TOP) = 1.0;
    t.SECTIY(1, 2, TOP) = 2.0;
    t.SECTGJ(1, 2, TOP) = 3.0;
    t.SECTMN(1, 2, TOP) = 4.0;
    t.SECTVN(1, 2, TOP) = 5.0;
    t.SECTEIZ(1, 2, TOP) = 6.0;
    t.SECTEIY(1, 2, TOP) = 7.0;
    // Half way down section 2: half the top value.
    const double x = x1(16.0);
    EXPECT_DOUBLE_EQ(PSECIZ(1, 1, x), 0.5);
    EXPECT_DOUBLE_EQ(PSECIY(1, 1, x), 1.0);
    EXPECT_DOUBLE_EQ(PSECGJ(1, 1, x), 1.5);
    EXPECT_DOUBLE_EQ(PSECMCAP(1, 1, x), 2.0);
    EXPECT_DOUBLE_EQ(PSECVCAP(1, 1, x), 2.5);
    EXPECT_DOUBLE_EQ(PSECEIZ(1, 1, x), 3.0);
    EXPECT_DOUBLE_EQ(PSECEIY(1, 1, x), 3.5);
}

TEST_F(SectionLookup, LookupsOnlyReadTheTable) {
    // The pile threads call the lookups at once: none of them may write the table (the sentinel
    // included, which is written once with the table). With the length changed after the table was
    // built, a lookup that stored the sentinel again would leave 60 instead of 36 behind it.
    PILESET.PLEN(1) = 50.0;
    std::vector<unsigned char> before(sizeof(SectTab));
    std::memcpy(before.data(), &SECTTAB, sizeof(SectTab));
    for (double depth : {-1.0, 10.0, 11.0, 31.0, 40.0}) {
        const double x = x1(depth);
        PSECDIAM(1, 1, x);
        PSECEIZ(1, 1, x);
        PSECEMOD(1, 1, x);
        PSECMPHY(1, 1, x);
        PSECTYPE(1, 1, x);
        PSECAREA(1, 2, x);  // a set without sections
    }
    EXPECT_EQ(std::memcmp(before.data(), &SECTTAB, sizeof(SectTab)), 0);
}

TEST_F(SectionLookup, ZeroLengthSectionGivesItsTopValue) {
    // The reader refuses such a section; the lookup still never divides by its length.
    PILESET.NSECT(2) = 1;
    PILESET.PLEN(2) = 10.0;
    SECTTAB.SECTTOP(2, 1) = SECTTAB.SECTBOT(2, 1) = 5.0;
    SECTTAB.SECTDIAM(2, 1, TOP) = 10.0;
    SECTTAB.SECTDIAM(2, 1, BOT) = 20.0;
    setDepthSentinel(2);
    EXPECT_EQ(PSECDIAM(1, 2, x1(5.0)), 10.0);
    EXPECT_EQ(PSECDIAM(1, 2, x1(6.0)), 20.0);
    EXPECT_EQ(PSECDIAM(1, 2, x1(4.0)), 10.0);
}

TEST_F(SectionLookup, SetWithoutSectionsGivesZero) {
    EXPECT_EQ(PSECAREA(1, 5, 3.0), 0.0);
    EXPECT_EQ(PSECDIAM(1, 5, 3.0), 0.0);
    EXPECT_EQ(PSECEMOD(1, 5, 3.0), 0.0);
    EXPECT_EQ(PSECMPHZ(1, 5, 3.0), 0);
}

TEST_F(SectionLookup, SentinelOfTwentySectionsHasASlotOfItsOwn) {
    // With 20 sections the sentinel goes to the spare 21st slot; the first slot of the next set (and of
    // every other field) keeps its value.
    PILESET.NSECT(4) = 20;
    PILESET.PLEN(4) = 100.0;
    SECTTAB.SECTTOP(5, 1) = 77.0;
    setDepthSentinel(4);
    EXPECT_EQ(SECTTAB.SECTTOP(4, 21), 1.2000000476837158 * 100.0);
    EXPECT_EQ(SECTTAB.SECTTOP(5, 1), 77.0);
}

// Far beyond both ends the end values hold; at a NaN depth the linear rule gives NaN and the stepwise
// rule the empty slot after the last section, both without leaving the set's slots.
TEST_F(SectionLookup, FarBeyondTheEndsAndAtNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PSECAREA(1, 1, -1e308), 100.0);
    EXPECT_EQ(PSECAREA(1, 1, 1e308), 40.0);
    EXPECT_EQ(PSECEMOD(1, 1, -1e308), 1.0);
    EXPECT_EQ(PSECEMOD(1, 1, 1e308), 0.0);
    EXPECT_TRUE(std::isnan(PSECAREA(1, 1, nan)));
    EXPECT_TRUE(std::isnan(PSECDIAM(1, 1, nan)));
    EXPECT_EQ(PSECEMOD(1, 1, nan), 0.0);
    EXPECT_EQ(PSECMPHZ(1, 1, nan), 0);
}

}  // namespace
}  // namespace kaldo
