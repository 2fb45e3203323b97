// Group reduction factors of closely spaced piles: the shadowing of one pile by another, the product
// over all neighbours, plane rows laid out across the plane, the combination of the two directions,
// and the warning for piles that stand at one place.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "group/group.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/unitno.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

// The shadowing curves with their single-precision constants: side by side, leading, trailing.
double side(double s) { return std::min(1.0, 0.6399999856948853 * std::pow(s, 0.3400000035762787)); }
double lead(double s) { return std::min(1.0, 0.699999988079071 * std::pow(s, 0.25999999046325684)); }
double trail(double s) { return std::min(1.0, 0.47999998927116394 * std::pow(s, 0.3799999952316284)); }

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// Three-dimensional piles of 24 in diameter (property set 1) placed at (Y, Z) in inches.
class GroupReduction : public ::testing::Test {
protected:
    void SetUp() override {
        resetAllBlocks();
        CTLIN.ANTYPE = 3;
        SECTTAB.SECTDIAM(1, 1, SectTab::TOP) = 24.0;
    }
    void TearDown() override { closeModel(); }
    void place(const std::vector<std::pair<double, double>>& yz) {
        PILE.NPILES = static_cast<int>(yz.size());
        for (int i = 1; i <= PILE.NPILES; ++i) {
            PILE.HEADY(i) = yz[static_cast<std::size_t>(i - 1)].first;
            PILE.HEADZ(i) = yz[static_cast<std::size_t>(i - 1)].second;
            PILE.PSETNO(i) = 1;
            PILE.PMULT(i) = 1.0;
        }
    }
};

// Pile 2 stands (dy, dz) diameters from pile 1; moving +Y it is ahead of pile 1.
TEST_F(GroupReduction, PairOfPilesByTheirPlacing) {
    struct Case {
        const char* what;
        double dy, dz;
        double rear, front;  // factors of pile 1 and pile 2
    };
    const double r2 = std::sqrt(2.0), c45 = std::sqrt(0.5);
    const double sideSkew = c45 * side(r2);
    const Case cases[] = {
        {"in line at 3 diameters", 3, 0, trail(3), lead(3)},                      // 0.7287, 0.9314
        {"side by side at 3 diameters", 0, 3, side(3), side(3)},                  // 0.9298
        {"skewed at 45 degrees, 1.41 diameters", 1, 1,                            // 0.6396, 0.7434
         std::hypot(sideSkew, c45 * trail(r2)), std::hypot(sideSkew, c45 * lead(r2))},
        {"side by side beyond 5 diameters", 0, 5.5, 1, 1},
        {"in line beyond 8 diameters", 8.5, 0, 1, 1},
        {"skewed beyond 8 diameters", 6, 6, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        place({{0, 0}, {24 * c.dy, 24 * c.dz}});
        GRPRFY(1.0);
        EXPECT_NEAR(PILEFAC.PMUL(1), c.rear, 1e-12);
        EXPECT_NEAR(PILEFAC.PMUL(2), c.front, 1e-12);
        EXPECT_EQ(PILEFAC.YMUL(1), 1.0);
        EXPECT_EQ(PILEFAC.YMUL(2), 1.0);
    }
}

TEST_F(GroupReduction, TheSenseOfMovementDecidesWhichPileLeads) {
    place({{0, 0}, {72, 0}});
    GRPRFY(-1.0);
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(1), lead(3));
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(2), trail(3));
    // Side by side the sense does not matter.
    place({{0, 0}, {0, 72}});
    GRPRFY(-1.0);
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(1), side(3));
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(2), side(3));
}

// Movement along Z exchanges the roles of Y and Z and writes the Z columns only.
TEST_F(GroupReduction, AlongZTheAxesExchange) {
    place({{0, 0}, {0, 72}});
    PILEFAC.PMUL.fill(0.5);
    PILEFAC.YMULZ.fill(0.5);
    GRPRFZ(1.0);
    EXPECT_DOUBLE_EQ(PILEFAC.PMULZ(1), trail(3));
    EXPECT_DOUBLE_EQ(PILEFAC.PMULZ(2), lead(3));
    EXPECT_EQ(PILEFAC.YMULZ(1), 1.0);
    EXPECT_EQ(PILEFAC.PMUL(1), 0.5);
}

// Three piles in line, 3 diameters apart, moving +Y: each factor is the product over both neighbours.
TEST_F(GroupReduction, FactorsOfAllNeighboursMultiply) {
    place({{0, 0}, {72, 0}, {144, 0}});
    GRPRFY(1.0);
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(1), trail(3) * trail(6));  // 0.6911
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(2), lead(3) * trail(3));   // 0.6787
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(3), lead(3) * lead(6));    // 0.9314 (lead(6) is 1)
}

TEST_F(GroupReduction, ASinglePileIsNotReducedAndItsHeadYIsCopied) {
    place({{30, 0}});
    PILEFAC.PMUL(1) = 0.5;
    GRPRFY(1.0);
    EXPECT_EQ(PILEFAC.PMUL(1), 1.0);
    EXPECT_EQ(PILE.HEADYW(1), 30.0);
}

// A plane row stands for its piles laid out across the plane; its factor is their mean.
TEST_F(GroupReduction, PlaneRowsSpreadTheirPilesAcrossThePlane) {
    struct Case {
        const char* what;
        int count;
        double spacing, expected;
    };
    const double f3 = side(3);
    const Case cases[] = {
        // Offsets 0, +3, -3 diameters: the middle pile has two neighbours at 3, the outer ones one at 3
        // and one at 6 (no shadow).
        {"3 piles at 3 diameters", 3, 72, (f3 * f3 + 2 * f3) / 3},  // 0.9081
        // Offsets +1/2 and -1/2 spacing: one diameter apart.
        {"2 piles at 1 diameter", 2, 24, 0.6399999856948853},
        {"1 pile", 1, 24, 1.0},
    };
    CTLIN.ANTYPE = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PILE.NPILES = 1;
        PILE.PSETNO(1) = 1;
        PILE.PMULT(1) = c.count;
        PILE.SPACING(1) = c.spacing;
        GRPRFY(1.0);
        EXPECT_NEAR(PILEFAC.PMUL(1), c.expected, 1e-15);
    }
}

// Pile 2 has a 48 in diameter: the spacing ratio uses pile 1's 24 in, or the mean of 36 in.
TEST_F(GroupReduction, AverageDiameterOfEachPair) {
    place({{0, 0}, {0, 72}});
    PILE.PSETNO(2) = 2;
    SECTTAB.SECTDIAM(2, 1, SectTab::TOP) = 48.0;
    GRPRFY(1.0);
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(2), side(3));
    CTLIN.KAVGDIA = 1;
    GRPRFY(1.0);
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(1), side(2));  // 0.8101
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(2), side(2));
}

// The direction columns kept from the echo (options 2 and 4) weighed by the direction of movement.
TEST_F(GroupReduction, DirectionCombinesTheKeptColumns) {
    using V = std::array<double, 6>;
    struct Case {
        const char* what;
        int option;
        V u, p;
        int it;
        bool pureTorque;
        double pmul, ymul;
    };
    const double half = std::sqrt(0.5);
    const Case cases[] = {
        {"cap moving along Y", 2, {0, 2, 0, 0, 0, 0}, {}, 1, false, 0.6, 1.0},
        {"cap moving at 45 degrees", 2, {0, 2, -2, 0, 0, 0}, {}, 1, false,
         std::sqrt((0.36 + 0.64) / 2), std::sqrt((1.0 + 0.25) / 2)},
        {"cap at rest, load along Z", 2, {}, {0, 0, 5, 0, 0, 0}, 1, false, 0.8, 0.5},
        {"cap at rest, no horizontal load", 2, {}, {}, 1, false, 0.6, 1.0},
        {"pure torque after 20 iterations", 2, {0, 2, 0, 0, 0, 0}, {}, 21, true, half, std::sqrt(0.625)},
        {"pure torque before", 2, {0, 2, 0, 0, 0, 0}, {}, 20, true, 0.6, 1.0},
        {"given movement (3, 4)", 4, {0, 2, 0, 0, 0, 0}, {}, 1, false,
         std::sqrt(0.36 * 0.36 + 0.64 * 0.64), std::sqrt(0.36 + 0.16)},
    };
    place({{0, 0}, {72, 0}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTLIN.KGRPRF = c.option;
        CTLIN.RFMOVY = 3.0;
        CTLIN.RFMOVZ = 4.0;
        PILEFAC.PMULY.fill(0.6);
        PILEFAC.PMULZ.fill(0.8);
        PILEFAC.YMULY.fill(1.0);
        PILEFAC.YMULZ.fill(0.5);
        GRPRFDIR(c.u, c.p, c.it, c.pureTorque);
        EXPECT_NEAR(PILEFAC.PMUL(1), c.pmul, 1e-12);
        EXPECT_NEAR(PILEFAC.YMUL(1), c.ymul, 1e-12);
        EXPECT_EQ(PILEFAC.PMULY(1), 0.6);  // kept, not recomputed
    }
}

// The one direction mix of GRPRFDIR and the input echo's Table K: each pile's Y and Z factors weighted
// by the direction cosines of the movement, whatever its signs; no movement weighs them equally.
TEST_F(GroupReduction, DirectionMixWeighsByTheCosinesOfTheMovement) {
    struct Case {
        const char* what;
        double aY, aZ;
        double pmul1, ymul1, pmul2;
    };
    // Pile 1: Y factors 0.6 and 1.0, Z factors 0.8 and 0.5; pile 2: p-factors 1.0 along Y, 0.5 along Z.
    const double p1 = std::sqrt((0.36 + 0.64) / 2), y1 = std::sqrt((1.0 + 0.25) / 2), p2 = std::sqrt((1.0 + 0.25) / 2);
    const Case cases[] = {
        {"along Y, negative sense", -2.0, 0.0, 0.6, 1.0, 1.0},
        {"along Z", 0.0, 3.0, 0.8, 0.5, 0.5},
        {"at 45 degrees", 1.5, -1.5, p1, y1, p2},
        {"no movement", 0.0, 0.0, p1, y1, p2},
    };
    place({{0, 0}, {72, 0}});
    PILEFAC.PMULY(1) = 0.6;
    PILEFAC.YMULY(1) = 1.0;
    PILEFAC.PMULZ(1) = 0.8;
    PILEFAC.YMULZ(1) = 0.5;
    PILEFAC.PMULY(2) = 1.0;
    PILEFAC.YMULY(2) = 1.0;
    PILEFAC.PMULZ(2) = 0.5;
    PILEFAC.YMULZ(2) = 1.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mixDirectionFactors(c.aY, c.aZ);
        EXPECT_NEAR(PILEFAC.PMUL(1), c.pmul1, 1e-15);
        EXPECT_NEAR(PILEFAC.YMUL(1), c.ymul1, 1e-15);
        EXPECT_NEAR(PILEFAC.PMUL(2), c.pmul2, 1e-15);
        EXPECT_NEAR(PILEFAC.YMUL(2), 1.0, 1e-15);
    }
}

// Option 1 re-estimates both directions in the sense of the cap's movement first.
TEST_F(GroupReduction, Option1FollowsTheSenseOfTheCapMovement) {
    place({{0, 0}, {72, 0}});
    CTLIN.KGRPRF = 1;
    const std::array<double, 6> u{0, -2, 0, 0, 0, 0}, p{};
    GRPRFDIR(u, p, 5, true);
    EXPECT_DOUBLE_EQ(PILEFAC.PMULY(1), lead(3));
    EXPECT_DOUBLE_EQ(PILEFAC.PMUL(1), lead(3));  // all along Y
    EXPECT_DOUBLE_EQ(PILEFAC.PMULZ(1), side(3));
    // A pure torque after 20 iterations: senses +1 and equal weights.
    GRPRFDIR(u, p, 21, true);
    EXPECT_DOUBLE_EQ(PILEFAC.PMULY(1), trail(3));
    EXPECT_NEAR(PILEFAC.PMUL(1), std::sqrt((trail(3) * trail(3) + side(3) * side(3)) / 2), 1e-15);
    EXPECT_NEAR(PILEFAC.YMUL(1), 1.0, 1e-15);
}

// Two piles at one place shadow each other completely: the rule gives them a factor of 0, and the
// user is told which piles they are.
TEST_F(GroupReduction, PilesAtOnePlaceLoseTheirResistanceWithAWarning) {
    WorkDir dir;
    ASSERT_TRUE(io::unit(RESULTS_UNIT).open((dir / "case.out").string(), io::Mode::Write));
    ASSERT_TRUE(io::unit(RUNTIME_UNIT).open((dir / "case.run").string(), io::Mode::Write));
    place({{0, 0}, {0, 0}, {500, 0}});
    GRPRFY(1.0);
    EXPECT_EQ(PILEFAC.PMUL(1), 0.0);
    EXPECT_EQ(PILEFAC.PMUL(2), 0.0);
    EXPECT_EQ(PILEFAC.PMUL(3), 1.0);

    Capture results(dir, RESULTS_UNIT, "case.out");
    Capture runtime(dir, RUNTIME_UNIT, "case.run");
    warnCoincidentPiles();
    const std::string record = "\n" + sp(29) + "**** WARNING ****\n" + sp(5) +
                               "PILES     1 AND     2 STAND AT THE SAME POSITION IN PLAN:\n" + sp(5) +
                               "THEIR GROUP REDUCTION FACTOR IS 0: NO LATERAL SOIL RESISTANCE\n";
    EXPECT_EQ(results.since(), record);
    EXPECT_EQ(runtime.since(), record);

    // A plane row of two piles without spacing; distinct piles give no warning.
    CTLIN.ANTYPE = 2;
    PILE.NPILES = 1;
    PILE.PMULT(1) = 2.0;
    PILE.SPACING(1) = 0.0;
    results.mark();
    warnCoincidentPiles();
    EXPECT_NE(results.since().find(sp(5) + "PILES OF ROW     1 STAND AT THE SAME POSITION IN PLAN:\n"),
              std::string::npos);
    PILE.SPACING(1) = 24.0;
    results.mark();
    warnCoincidentPiles();
    EXPECT_EQ(results.since(), "");
}

}  // namespace
}  // namespace kaldo::test
