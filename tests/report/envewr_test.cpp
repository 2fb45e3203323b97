// The three-dimensional results writer, its along-pile rows and column selection, and the summary
// tables, on two piles whose results are filled by hand.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "io/units.h"
#include "model/blocks.h"
#include "model/results.h"
#include "model/runpoint.h"
#include "model/sections.h"
#include "report/report.h"
#include "services/unitlbl.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

bool has(const std::vector<std::string>& ls, const std::string& l) {
    for (const std::string& x : ls)
        if (x == l) return true;
    return false;
}

int countStarting(const std::vector<std::string>& ls, const std::string& prefix) {
    int n = 0;
    for (const std::string& x : ls)
        if (x.rfind(prefix, 0) == 0) ++n;
    return n;
}

// Two piles of 4 increments of 24 in (English units, forces in kips on the reports).
//   pile-top: global disp. 0.1 p, 0.2, 0.3, 0.001, 0.002, 0.003; global reactions 5000 p, 1000 (pile 1)
//   or -1000 (pile 2), -2000, 30000, 40000, 50000; stress 700 p; local values = global values + 0 (same).
//   along the pile: deflection y 0.5, 0.25, 0.1, 0, -0.01; moment z (1000, -3000, 2000, -3000, 500) p.
class ResultsWriter : public ::testing::Test {
protected:
    WorkDir dir;

    void SetUp() override {
        io::closeAllUnits();
        resetAllBlocks();
        CTLIN.UNITS = 1;
        CTLIN.KKIPS = 1;
        CTLIN.ANTYPE = 3;
        UNITLBL(1, 1);
        COLHEAD(3);
        FILENAMES.RECORD(REC_PILESCR) = (dir / "scr.txt").string();
        for (int u : {14, 16, 18, 19, 30}) io::unit(u).open((dir / name(u)).string(), io::Mode::Write);

        PILE.NPILES = 2;
        for (int p = 1; p <= 2; ++p) {
            PILE.PSETNO(p) = 1;
            PILE.LSCRV(p) = -p;  // generated curves
        }
        PILESET.NINC(1) = 4;
        PILESET.HINC(1) = 24.0;
        for (PileTopTable* t : {&RESCUR.RESCURTOP, &ENVMIN.TOP, &ENVMAX.TOP})
            for (int p = 1; p <= 2; ++p) {
                const double g[13] = {0.1 * p, 0.2,     0.3,     0.001,   0.002,   0.003, 5000.0 * p,
                                      p == 1 ? 1000.0 : -1000.0, -2000.0, 30000.0, 40000.0, 50000.0, 700.0 * p};
                for (int r = 1; r <= 13; ++r) (*t)(p, r) = g[r - 1];
                for (int r = 1; r <= 12; ++r) (*t)(p, 13 + r) = g[r - 1];
            }
        const double defl[5] = {0.5, 0.25, 0.1, 0.0, -0.01};
        const double mom[5] = {1000.0, -3000.0, 2000.0, -3000.0, 500.0};
        for (AlongPileTable* t : {&RESCUR.RESCURLLP, &ENVMIN.LLP, &ENVMAX.LLP})
            for (int p = 1; p <= 2; ++p)
                for (int k = 0; k <= 4; ++k) {
                    (*t)(p, k + 4, 2) = defl[k];
                    (*t)(p, k + 4, 9) = mom[k] * p;
                }
        for (EnvStore* e : {&ENVMIN, &ENVMAX})
            for (int k = 1; k <= NCAPENV; ++k) e->ENVCAP(k) = k <= 6 ? 12000.0 : 0.5;

        // Load case 1: columns deflection y, moment and the moment ratio (not shown for a case).
        RUNPOINT.CURCASE = 1;
        RUNPOINT.CURCOMB = 0;
        LCCNT(1, 11 + 2) = 1;
        LCCNT(1, 11 + 9) = 1;
        LCCNT(1, 11 + 24) = 1;
        ENVCTL.ENVKPRINT = 2;
        ENVCTL.ENVNPREV = 2;
    }
    void TearDown() override { io::closeAllUnits(); }

    static std::string name(int u) { return "unit" + std::to_string(u) + ".txt"; }
    // Closes the units and returns what unit u holds.
    std::vector<std::string> file(int u) {
        io::closeAllUnits();
        return lines(dir.read(u == 13 ? "scr.txt" : name(u)));
    }
};

TEST_F(ResultsWriter, CurrentSolveWritesThePileFilesAndNoEnvelopeLines) {
    ENVEWR(0, 0);
    io::closeAllUnits();
    const auto u14 = lines(dir.read(name(14)));
    const auto u16 = lines(dir.read(name(16)));
    const auto u13 = lines(dir.read("scr.txt"));
    EXPECT_TRUE(dir.read(name(19)).empty());

    ASSERT_GE(u14.size(), 3u);
    EXPECT_EQ(u14[0], "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE");
    EXPECT_EQ(u14[1], "* PILE GROUP *     1");
    EXPECT_EQ(u14[2], "       * PILE TOP DISP. AND REACT. GLOBAL");
    // Unit 14 keeps pounds: 5000 lb as F15.5.
    EXPECT_NE(u14[3].find("     5000.00000"), std::string::npos) << u14[3];
    // Flags: 1 and 5-8, 18 off (no axial variation), 24-25 off (a load case).
    std::string flags = "        25    0    1    1    1    0    0    0    0";
    for (int q = 9; q <= 25; ++q) flags += (q == 18 || q >= 24) ? "    0" : "    1";
    EXPECT_TRUE(has(u14, flags));
    // Node 1 of pile 1: depth 24 in, deflection 0.25 in (1P G16.8, internal units).
    EXPECT_EQ(countStarting(u14, "         24.000000      0.25000000    "), 2);

    // Scratch file: eight lines per pile; line 2 holds the reactions in kips.
    ASSERT_EQ(u13.size(), 16u);
    EXPECT_EQ(u13[1].substr(0, 45), "          1        5.0000        1.0000      ");
    EXPECT_EQ(u13[9].substr(0, 17), "          2      ");
    // Line 5: the moment minimum -3000 lb-in = -3 kip-in at 24 in (2 ft; the tie at 72 in keeps 2 ft).
    EXPECT_EQ(u13[4].substr(11 + 14 * 8, 14), "  -0.30000E+01");
    EXPECT_EQ(u13[5].substr(0, 11), "     x(FT) ");
    EXPECT_EQ(u13[5].substr(11 + 14 * 8, 14), "        2.0000");
    EXPECT_EQ(u13[7].substr(11 + 14 * 8, 14), "        4.0000");  // maximum 2000 at 48 in

    // Output results file: the pile-top rows in kips, the node lines of every second node.
    EXPECT_TRUE(has(u16, "          5.0000       1.0000      -2.0000       30.000       40.000       50.000 "));
    EXPECT_TRUE(has(u16, "          0.7000 "));
    EXPECT_TRUE(has(u16, "       4.0000  1.0000E-01      2.0000"));  // node 2: 4 ft, 0.1 in, 2 kip-in
    EXPECT_TRUE(has(u16, "       8.0000 -1.0000E-02      0.5000"));  // node 4, the tip
    EXPECT_EQ(countStarting(u16, "       2.0000"), 0);  // node 1 is skipped by the step of 2
    EXPECT_EQ(countStarting(u16, "       * PILE GROUP *"), 2);
}

TEST_F(ResultsWriter, EnvelopeHeadingsCaseStatusAndCapTable) {
    OPTENV.KPRINTLC = 1;
    OPTENV.NPREVLC = 1;
    ENVEWR(1, 1);
    const auto u19 = file(19);
    EXPECT_EQ(u19, (std::vector<std::string>{"LOAD CASE ENV : 1", "      MINIMUM ENVELOPE",
                                             "    1 CALCULATED AND PRINTED"}));
    const auto u16 = lines(dir.read(name(16)));
    const auto u14 = lines(dir.read(name(14)));
    EXPECT_EQ(u14[0], "LOAD CASE ENV : 1");
    EXPECT_EQ(u14[1], "     * TABLE L *   COMPUTATION ON PILE CAP");
    EXPECT_TRUE(has(u16, "     CASE NAME     : MINIMUM ENVELOPE"));
    EXPECT_TRUE(has(u16, "           VERT. LOAD,KIPS    HOR. LOAD Y,KIPS   HOR. LOAD Z,KIPS"));
    // 12000 lb = 12 kips, F18.4 after eight blanks.
    EXPECT_TRUE(has(u16, "                   12.0000           12.0000           12.0000 "));
    EXPECT_TRUE(has(u16, "          MOMENT X ,KIP-IN    MOMENT Y,KIP-IN    MOMENT Z,KIP-IN"));
    const auto u18 = lines(dir.read(name(18)));
    EXPECT_TRUE(has(u18, std::string(18, ' ') + "12.000" + std::string(13, ' ') + "12.000" + std::string(13, ' ') + "12.000 "));  // 19 columns, 4 digits
    // Level 1 of the case envelopes shows the along-pile table, every node.
    EXPECT_EQ(countStarting(u16, "        * EFFECTS FOR LATERALLY LOADED PILE *"), 2);
    EXPECT_EQ(countStarting(u16, "       2.0000"), 2);
}

TEST_F(ResultsWriter, CombinationEnvelopeShowsTheAlongPileTableFromLevelTwo) {
    struct Case {
        int level;
        int pileTop, alongPile;
    };
    for (const Case c : {Case{0, 0, 0}, Case{1, 2, 0}, Case{2, 2, 2}}) {
        SetUp();
        RUNPOINT.CURCOMB = 3;
        OPTENV.KPRINTCB = c.level;
        ENVEWR(2, 2);
        const auto u16 = file(16);
        EXPECT_TRUE(has(u16, "     LOAD COMB. ENV : 2")) << c.level;
        EXPECT_TRUE(has(u16, "     COMB. NAME     : MAXIMUM ENVELOPE")) << c.level;
        EXPECT_EQ(countStarting(u16, "        * PILE TOP DISPLACEMENTS AND REACTIONS *"), c.pileTop) << c.level;
        EXPECT_EQ(countStarting(u16, "        * EFFECTS FOR LATERALLY LOADED PILE *"), c.alongPile) << c.level;
        EXPECT_EQ(lines(dir.read(name(19)))[0], "LOAD COMB. ENV : 2");
        EXPECT_EQ(lines(dir.read(name(14)))[0], "LOAD COMB. ENV : 2");
    }
}

TEST_F(ResultsWriter, OneAndTwoThreadsWriteTheSameFiles) {
    std::vector<std::string> first;
    for (int threads : {1, 2}) {
        SetUp();
        CTLPAR.NTHRUSR = threads;
        ENVEWR(0, 0);
        io::closeAllUnits();
        std::vector<std::string> all;
        for (const char* f : {"unit14.txt", "unit16.txt", "unit18.txt", "unit30.txt", "scr.txt"})
            all.push_back(dir.read(f));
        if (first.empty())
            first = all;
        else
            EXPECT_EQ(all, first);
    }
}

// A hundred piles, each with values of its own, so that a pile written out of its place, twice or not
// at all changes the files: the writer's threads take the piles as they come free and the summary
// tables split them into runs, yet the files are those of one thread, for current results and an
// envelope alike.
TEST_F(ResultsWriter, ManyPilesWriteTheSameFilesOnAnyNumberOfThreads) {
    constexpr int kPiles = 100;
    std::vector<std::string> first;
    for (int threads : {1, 3, 8}) {
        SetUp();
        PILE.NPILES = kPiles;
        for (int p = 1; p <= kPiles; ++p) {
            PILE.PSETNO(p) = 1;
            PILE.LSCRV(p) = -p;
            const double f = 1.0 + 0.37 * p;
            for (PileTopTable* t : {&RESCUR.RESCURTOP, &ENVMIN.TOP, &ENVMAX.TOP})
                for (int r = 1; r <= 25; ++r) (*t)(p, r) = f * r * (r % 3 == 0 ? -1.0 : 1.0) + (t == &ENVMAX.TOP);
            for (AlongPileTable* t : {&RESCUR.RESCURLLP, &ENVMIN.LLP, &ENVMAX.LLP})
                for (int k = 4; k <= 8; ++k)
                    for (int q = 1; q <= NLLPQTY; ++q) (*t)(p, k, q) = f * (k - 5.5) * q + (t == &ENVMIN.LLP);
        }
        CTLPAR.NTHRUSR = threads;
        ENVEWR(0, 0);
        ENVEWR(0, 1);
        io::closeAllUnits();
        std::vector<std::string> all;
        for (const char* f : {"unit14.txt", "unit16.txt", "unit18.txt", "unit30.txt", "scr.txt"})
            all.push_back(dir.read(f));
        if (first.empty()) {
            first = all;
            // Every pile's summary row is there once, in pile order.
            std::size_t at = 0;
            for (int p = 1; p <= kPiles; ++p) {
                std::ostringstream row;
                row << "     " << std::string(6 - std::to_string(p).size(), ' ') << p << "     ";
                const std::size_t found = all[2].find(row.str(), at);
                ASSERT_NE(found, std::string::npos) << "pile " << p;
                at = found;
            }
        } else {
            for (std::size_t k = 0; k < all.size(); ++k)
                EXPECT_EQ(all[k], first[k]) << "threads " << threads << " file " << k;
        }
    }
}

using SummaryTables = ResultsWriter;

TEST_F(SummaryTables, NameThePilesOfTheExtremes) {
    ENVEWR(0, 0);
    const auto u18 = file(18);
    const auto u30 = lines(dir.read(name(30)));
    // Global reactions: pile 1 row as read back from the scratch file.
    EXPECT_TRUE(has(u18, "          1            5.0000       1.0000      -2.0000       30.000       40.000       50.000 "));
    // X: minimum pile 1, maximum pile 2; Y: minimum pile 2; ties keep pile 1.
    const std::string minPiles = "       Pile N.          1            2            1            1            1            1";
    const std::string maxPiles = "       Pile N.          2            1            1            1            1            1";
    EXPECT_TRUE(has(u18, "       MINIMUM         5.0000      -1.0000      -2.0000       30.000       40.000       50.000 "));
    EXPECT_TRUE(has(u18, minPiles));
    EXPECT_TRUE(has(u18, maxPiles));
    EXPECT_TRUE(has(u30, minPiles));
    // Stress: one column, 0.7 and 1.4 kip/in2; its extremes stay off the collection file.
    EXPECT_TRUE(has(u18, "       MINIMUM         0.7000 "));
    EXPECT_TRUE(has(u18, "       MAXIMUM         1.4000 "));
    EXPECT_TRUE(has(u18, "       Pile N.          2"));
    EXPECT_FALSE(has(u30, "       MAXIMUM         1.4000 "));
    EXPECT_EQ(countStarting(u30, "       * PILE TOP "), 4);
    // Along-pile extremes of the selected columns (deflection y, moment): moment minimum -6 kip-in of
    // pile 2, deflection minimum -0.01 of both (pile 1 kept).
    EXPECT_TRUE(has(u18, "      Min. -1.0000E-02     -6.0000 "));
    EXPECT_TRUE(has(u18, "   Pile N.       1           2       "));
    EXPECT_TRUE(has(u30, "      Max.      0.5000      4.0000 "));
    EXPECT_TRUE(has(u18, "     x(FT)      8.0000      2.0000 "));  // depths of the minima of pile 1
}

// The summary reads its values back from the scratch file: a value whose exponent takes three digits
// is written there without its letter and read back whole, not as its mantissa alone (1.5e-120 kip is
// then of negligible size and shows as a zero).
TEST_F(SummaryTables, ReadBackValuesOfThreeDigitExponents) {
    for (PileTopTable* t : {&RESCUR.RESCURTOP, &ENVMIN.TOP, &ENVMAX.TOP})
        for (int r : {8, 13 + 8}) {  // the global and the local reactions
            (*t)(1, r) = 1.5e-117;       // lb: 1.5e-120 kip
            (*t)(1, r + 1) = -2.5e+153;  // lb: -2.5e+150 kip
        }
    ENVEWR(0, 0);
    const auto u18 = file(18);
    std::string row;
    for (const std::string& l : u18)
        if (l.rfind("          1    ", 0) == 0 && l.find("30.000") != std::string::npos) row = l;
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(row, "          1            5.0000       0.0000  -2.5000+150       30.000       40.000       50.000 ");
}

}  // namespace
}  // namespace kaldo::test
