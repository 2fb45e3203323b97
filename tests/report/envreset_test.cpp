// Envelope resets, cap envelopes and the pile geometry records of the curve data file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "echo/echo.h"
#include "group/group.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/results.h"
#include "report/report.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

void fillStores(double v) {
    for (EnvStore* e : {&ENVMIN, &ENVMAX}) {
        for (int k = 1; k <= NCAPENV; ++k) e->ENVCAP(k) = v;
        for (int p = 1; p <= 3; ++p) {
            for (int r = 1; r <= NTOPROW; ++r) e->TOP(p, r) = v;
            for (int s = 1; s <= NODESLOTS; s += 53)
                for (int q = 1; q <= NLLPQTY; ++q) e->LLP(p, s, q) = v;
        }
    }
}

TEST(EnvelopeReset, ThreeDimensionalClearsCapAndThePilesOfTheModel) {
    resetAllBlocks();
    PILE.NPILES = 2;
    fillStores(5.0);
    ENVRESET();
    for (EnvStore* e : {&ENVMIN, &ENVMAX}) {
        for (int k = 1; k <= NCAPENV; ++k) EXPECT_EQ(e->ENVCAP(k), 0.0) << "cap " << k;
        EXPECT_EQ(e->TOP(2, 26), 0.0);
        EXPECT_EQ(e->LLP(1, 107, 25), 0.0);
        EXPECT_EQ(e->TOP(3, 1), 5.0) << "a slot beyond the model keeps its value";
        EXPECT_EQ(e->LLP(3, 1, 1), 5.0);
    }
}

TEST(EnvelopeReset, PlaneClearsEveryEntryThePlaneWriterReads) {
    resetAllBlocks();
    PILE.NPILES = 2;
    fillStores(5.0);
    ENVRST2D();
    for (EnvStore* e : {&ENVMIN, &ENVMAX}) {
        for (int k : {1, 2, 3, 7, 8, 9}) EXPECT_EQ(e->ENVCAP(k), 0.0) << "cap " << k;
        for (int k : {4, 5, 6, 10, 11, 12}) EXPECT_EQ(e->ENVCAP(k), 5.0) << "cap " << k;
        for (int r : {1, 7, 14, 19, 20}) EXPECT_EQ(e->TOP(1, r), 0.0) << "row " << r;
        for (int r : {8, 13, 21, 26}) EXPECT_EQ(e->TOP(1, r), 5.0) << "row " << r;
        // The moments, shears, soil reactions, stresses and ratios of a plane pile too: an earlier
        // series' extremes must not stand in the new envelope.
        for (int q : {8, 9, 12, 15, 18, 19, 20, 22, 24, 25}) EXPECT_EQ(e->LLP(2, 54, q), 0.0) << "quantity " << q;
        EXPECT_EQ(e->LLP(3, 54, 9), 5.0) << "a pile beyond the model keeps its values";
    }
}

TEST(CapEnvelope, FirstOfSeriesSetsBothThenMinAndMaxAndNaNIsIgnored) {
    resetAllBlocks();
    ENVMIN.ENVCAP(1) = -99.0;
    ENVCTL.ENVSERIES = 1;
    CAPENV({10, 1, 1, 1, 1, 1}, {0.5, 0, 0, 0, 0, 0});
    EXPECT_EQ(ENVMIN.ENVCAP(1), 10.0);
    EXPECT_EQ(ENVMAX.ENVCAP(1), 10.0);
    ENVCTL.ENVSERIES = 2;
    CAPENV({-4, std::numeric_limits<double>::quiet_NaN(), 1, 1, 1, 1}, {0.7, 0, 0, 0, 0, 0});
    EXPECT_EQ(ENVMIN.ENVCAP(1), -4.0);
    EXPECT_EQ(ENVMAX.ENVCAP(1), 10.0);
    EXPECT_EQ(ENVMIN.ENVCAP(2), 1.0);
    EXPECT_EQ(ENVMAX.ENVCAP(7), 0.7);
    EXPECT_EQ(ENVMIN.ENVCAP(7), 0.5);
    ENVMIN.ENVCAP(4) = 3.0;
    CAPENV2D({1, 1, 1, -7, 0, 0}, {0, 0, 0, 0, 0, 0});
    EXPECT_EQ(ENVMIN.ENVCAP(4), 3.0) << "the plane leaves slots 4-6 alone";
}

// Pile 1 of the every-section input: vertical, 60 ft = 720 in long, head at (0, -36, 0), ten stations.
TEST(PileGeometryRecords, FormattedRecordsOfAVerticalPile) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    int status = 0;
    ECHOIN(status);
    ASSERT_EQ(status, 0);
    PLOTPILE(1, status);
    closeModel();
    const std::string crv = dir.read("case.crv");
    // Header 3I10; length 10X, 1X, G15.8 (fixed F11.5 and four blanks for 720).
    EXPECT_EQ(crv.substr(0, 31), "         1        10         0\n");
    EXPECT_NE(crv.find("\n             720.00000    \n"), std::string::npos) << crv;
    // Head (0, -36, 0): each field one blank and G15.8 (0 as F11.7, -36 as F11.6, four blanks after
    // each); then the first orientation row (sin 90, ~0, 0).
    EXPECT_NE(crv.find("\n" + std::string(13, ' ') + "0.0000000    " + "  -36.000000    " + "   0.0000000    \n"),
              std::string::npos)
        << crv;
    EXPECT_NE(crv.find("\n             1.0000000    "), std::string::npos) << crv;
    // Station 1 at the middle of the first of ten segments: 36 in below the head.
    EXPECT_NE(crv.find("\n         1   36.0000\n"), std::string::npos) << crv;
}

TEST(PileGeometryRecords, UnformattedHeaderAndNoStations) {
    WorkDir dir;
    std::string input = fixture("full3d.inp");
    input.replace(input.find("1 3 2 0 1 1 1 3 1 1 1 0 0 0 1 0 1 1 1 1 0"), 41, "1 3 2 0 1 1 1 3 1 1 1 0 0 0 1 0 1 1 1 1 1");
    input.replace(input.find("CURVE DATA FILE\n10 1 1"), 22, "CURVE DATA FILE\n1 1 1");
    ASSERT_EQ(readModel(dir, input), 0);
    int status = 0;
    ECHOIN(status);
    OPTCRV.NCRVINC = 0;
    PLOTPILE(2, status);
    closeModel();
    const std::string crv = dir.read("case.crv");
    // Header: 12 bytes of three integers between their length marks; then L, head, three rows.
    ASSERT_GE(crv.size(), size_t(20));
    EXPECT_EQ(crv.substr(0, 16), std::string("\x0c\0\0\0\x02\0\0\0\0\0\0\0\0\0\0\0", 16));
    const size_t expected = 20 + (8 + 8) + (8 + 24) + 3 * (8 + 24);
    EXPECT_EQ(crv.size(), expected);
}

}  // namespace
}  // namespace kaldo::test
