// Pile result stores and envelopes: the update rule (the first analysis of a series sets both extremes,
// later ones widen them, a value that is not a number never enters), the rows of the three-dimensional
// and plane pile tops, the slots the along-pile store takes, and the local-to-global turn of a pile.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "pile/pilemodel.h"
#include "services/linalg.h"

namespace kaldo::test {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

class ResultStores : public PileModel {
protected:
    // Stores v in every row of pile p's top (all six-vectors v) in analysis `series`.
    static void top(int p, double v, int series) {
        ENVCTL.ENVSERIES = series;
        const Vec6 x{v, v, v, v, v, v};
        ENVTOP(p, v, x, x, x, x);
    }
};

TEST_F(ResultStores, EnvelopeUpdateRule) {
    struct Step {
        int series;
        double v;
        double cur, min, max;  // what the stores hold afterwards
    };
    struct Case {
        const char* name;
        double before;  // what both envelopes held before the series
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"the first analysis sets both, whatever they held", 7.0, {{1, 3.0, 3.0, 3.0, 3.0}, {2, 5.0, 5.0, 3.0, 5.0},
                                                                  {3, -1.0, -1.0, -1.0, 5.0}, {4, 2.0, 2.0, -1.0, 5.0}}},
        {"signed extremes: the maximum may be negative", 0.0, {{1, -3.0, -3.0, -3.0, -3.0}, {2, -5.0, -5.0, -5.0, -3.0}}},
        {"outside a series the stored zeros take part", 0.0, {{0, 4.0, 4.0, 0.0, 4.0}, {0, -2.0, -2.0, -2.0, 4.0}}},
        {"not a number never enters", 0.0, {{1, 2.0, 2.0, 2.0, 2.0}, {2, NaN, NaN, 2.0, 2.0}, {3, 1.0, 1.0, 1.0, 2.0}}},
        {"not even in the first analysis", 6.0, {{1, NaN, NaN, 6.0, 6.0}, {2, 8.0, 8.0, 6.0, 8.0}}},
    };
    for (const Case& c : cases) {
        for (int r = 1; r <= NTOPROW; ++r) ENVMIN.TOP(3, r) = ENVMAX.TOP(3, r) = c.before;
        int k = 0;
        for (const Step& s : c.steps) {
            ++k;
            top(3, s.v, s.series);
            for (int r : {1, 13, 26}) {
                const double cur = RESCUR.RESCURTOP(3, r);
                EXPECT_TRUE(std::isnan(s.cur) ? std::isnan(cur) : cur == s.cur) << c.name << ", step " << k;
                EXPECT_EQ(ENVMIN.TOP(3, r), s.min) << c.name << ", step " << k << ", row " << r;
                EXPECT_EQ(ENVMAX.TOP(3, r), s.max) << c.name << ", step " << k << ", row " << r;
            }
        }
    }
    EXPECT_EQ(RESCUR.RESCURTOP(2, 1), 0.0) << "other piles untouched";
}

TEST_F(ResultStores, PileTopRows) {
    ENVCTL.ENVSERIES = 1;
    const Vec6 UG{1, 2, 3, 4, 5, 6}, FG{7, 8, 9, 10, 11, 12}, UL{14, 15, 16, 17, 18, 19},
        FL{20, 21, 22, 23, 24, 25};
    ENVTOP(1, 13.0, UG, UL, FG, FL);
    for (int r = 1; r <= 25; ++r) EXPECT_EQ(RESCUR.RESCURTOP(1, r), r) << "row " << r;
    EXPECT_EQ(RESCUR.RESCURTOP(1, 26), 13.0);

    // The plane pile top: its arguments by row name, the stress in rows 7 and 20, rows 8-13 and 21-26
    // left as they were.
    for (int r = 1; r <= NTOPROW; ++r) RESCUR.RESCURTOP(2, r) = -1.0;
    PTENV2D(2, 1, 2, 3, 14, 15, 16, 4, 5, 6, 17, 18, 19, 7);
    for (int r = 1; r <= 7; ++r) EXPECT_EQ(RESCUR.RESCURTOP(2, r), r) << "row " << r;
    for (int r = 14; r <= 19; ++r) EXPECT_EQ(RESCUR.RESCURTOP(2, r), r) << "row " << r;
    EXPECT_EQ(RESCUR.RESCURTOP(2, 20), 7.0);
    for (int r : {8, 13, 21, 26}) EXPECT_EQ(RESCUR.RESCURTOP(2, r), -1.0) << "row " << r;
    EXPECT_EQ(ENVMAX.TOP(2, 20), 7.0);
}

TEST_F(ResultStores, AlongPileRecordAndItsSlots) {
    // Quantity q at slot s holds 1000 q + s; the store takes slots 4 to the tip c alone.
    std::array<SlotArray, NLLPQTY> arrays{};
    std::array<const SlotArray*, NLLPQTY> list{};
    for (int q = 1; q <= NLLPQTY; ++q) {
        for (int s = 1; s <= NODESLOTS; ++s) arrays[static_cast<std::size_t>(q - 1)](s) = 1000.0 * q + s;
        list[static_cast<std::size_t>(q - 1)] = &arrays[static_cast<std::size_t>(q - 1)];
    }
    AlongPileRecord record{};
    PACKLLP(record, list);
    EXPECT_EQ(record(107, 25), 25107.0);
    EXPECT_EQ(record(1, 1), 1001.0);

    ENVCTL.ENVSERIES = 1;
    const int tip = 100 + 4;  // n = 100: the last node at slot 104
    ENVLLP(5, tip, record);
    for (int q : {1, 13, 25}) {
        EXPECT_EQ(RESCUR.RESCURLLP(5, 3, q), 0.0) << "the fictitious slot above the head";
        for (int s : {4, 50, tip}) {
            EXPECT_EQ(RESCUR.RESCURLLP(5, s, q), 1000.0 * q + s);
            EXPECT_EQ(ENVMIN.LLP(5, s, q), 1000.0 * q + s);
            EXPECT_EQ(ENVMAX.LLP(5, s, q), 1000.0 * q + s);
        }
        EXPECT_EQ(RESCUR.RESCURLLP(5, tip + 1, q), 0.0) << "past the tip";
        EXPECT_EQ(ENVMAX.LLP(5, 107, q), 0.0);
    }
    ENVLLP(6, 3, record);
    EXPECT_EQ(RESCUR.RESCURLLP(6, 4, 1), 0.0) << "no node, nothing stored";
}

TEST_F(ResultStores, PileRotationMatchesTheRotationMatrix) {
    // Local axis j of a pile in global axes is column j of R (columns from the pile-head transformation
    // of the group solution): with MATV6 on R the same turn as PILEROT.
    const double a = 0.4, b = 1.1, t = -0.7;
    PILE.ALPHA(1) = a;
    PILE.BETA(1) = b;
    PILE.THETA(1) = t;
    const double sa = std::sin(a), ca = std::cos(a), sb = std::sin(b), cb = std::cos(b), st = std::sin(t),
                 ct = std::cos(t);
    const double R[3][3] = {{sb, -cb * ct, cb * st},
                            {ca * cb, ca * sb * ct - sa * st, -(ca * sb * st + sa * ct)},
                            {sa * cb, ca * st + sa * sb * ct, ca * ct - sa * sb * st}};
    Mat6 TL{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            TL[static_cast<std::size_t>(i + 6 * j)] = R[i][j];
            TL[static_cast<std::size_t>(i + 3 + 6 * (j + 3))] = R[i][j];
        }
    const Vec6 local{0.3, -1.2, 2.5, 0.1, 0.2, 0.3};
    Vec6 global{};
    MATV6(global, TL, local, 1);
    double X = 0, Y = 0, Z = 0;
    PILEROT(1, local[0], local[1], local[2], X, Y, Z);
    EXPECT_NEAR(X, global[0], 1e-14);
    EXPECT_NEAR(Y, global[1], 1e-14);
    EXPECT_NEAR(Z, global[2], 1e-14);
    // A vertical pile: local and global agree.
    vertical(2);
    PILEROT(2, 0.3, -1.2, 2.5, X, Y, Z);
    EXPECT_NEAR(X, 0.3, 1e-15);
    EXPECT_EQ(Y, -1.2);
    EXPECT_EQ(Z, 2.5);
}

}  // namespace
}  // namespace kaldo::test
