// Conversion of the input to internal units: which values move from feet, pounds per cubic foot and
// pounds per square foot (English and generic) or from millimetres (SI), which stay as read, and the
// report helpers that convert back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/readin.h"
#include "model/blocks.h"
#include "services/ucv.h"

namespace kaldo {
namespace {

// A small model in input units with every group of converted items, and neighbours that must stay.
void fillModel(int units, int antype) {
    resetAllBlocks();
    CTLIN.UNITS = units;
    CTLIN.ANTYPE = antype;
    CTLIN.KPYOP = 1;
    CTLIN.KUSERPY = 1;
    CTLIN.KRFDEP = 1;
    CTLIN.KSMOV = 1;

    CAPIN.CAPLY = 10.0;
    CAPIN.CAPWZ = 8.0;
    CAPIN.CAPTX = 3.0;
    CAPIN.CAPDEQ = 2.0;
    CAPIN.K50 = 50.0;
    CAPIN.FULT = 7.0;
    CAPIN.YMAX = 0.5;

    // Two cases: the first with two concentrated loads and a point of specified values, the second
    // with none (values beyond the counts are left in the tables to show they are not touched).
    LCDEF.NLC = 2;
    LCCNT(1, 1) = 2;
    const double load1[9] = {1000, 2000, 3000, 4000, 5000, 6000, 1, 2, 3};
    for (int i = 1; i <= 9; ++i) LCCL.CLOAD(1, 1, i) = load1[i - 1];
    LCCL.CLOAD(1, 2, 7) = 4.0;
    LCCL.CLOAD(1, 2, 8) = 5.0;
    LCCL.CLOAD(1, 2, 9) = 6.0;
    LCCL.CLOAD(1, 3, 7) = 9.0;
    LCCL.CLOAD(2, 1, 7) = 9.0;
    LCSD.SDFLAG(1) = 1;
    LCSD.SDLOC(1, 1) = 1.5;
    LCSD.SDLOC(1, 2) = 2.5;
    LCSD.SDLOC(1, 3) = 3.5;
    LCSD.SDV(1, 1) = 0.25;
    LCSD.SDV(1, 2) = 800.0;
    LCSD.SDLOC(2, 1) = 7.0;
    FSDDAT.FSDV(1, 1) = 0.5;

    DLS.NSETS = 2;
    DLS.NPTS(1) = 2;
    DLS.DLSDEP(1, 2) = 10.0;
    DLS.DLSVAL(1, 2) = 30.0;
    DLS.NPTS(2) = 1;
    DLS.DLSDEP(2, 1) = 5.0;

    // Both arrangements are filled; only the one of the analysis type is converted.
    GRPIN3.NROW = 2;
    const double geo3[2][7] = {{-1, 2, 3, 0, 90, 0, 4}, {-1, -2, -3, 10, 80, 5, 4}};
    for (int r = 1; r <= 2; ++r)
        for (int i = 1; i <= 7; ++i) GRPIN3.GRP3GEO(r, i) = geo3[r - 1][i - 1];
    GRPIN3.GRP3PRP(1, 1) = 1e6;
    GRPIN3.GRP3PRP(1, 3) = 0.8;
    GRPIN2.NROW = 3;
    for (int r = 1; r <= 3; ++r) {
        GRPIN2.GRP2PRP(r, 2) = 3.0;
        GRPIN2.GRP2PRP(r, 3) = 0.7;
        GRPIN2.GRP2GEO(r, 1) = -1.0;
        GRPIN2.GRP2GEO(r, 2) = 2.0 * r;
        GRPIN2.GRP2GEO(r, 3) = 10.0;
        GRPIN2.GRP2GEO(r, 4) = 4.0;
    }

    PILESETIN.NPROP = 2;
    PILESETIN.PLEN(1) = 50.0;
    PILESETIN.NSECT(1) = 2;
    PILESETIN.PSTO(1, 1) = 20.0;
    PILESETIN.PSFROM(1, 2) = 20.0;
    PILESETIN.PSTO(1, 2) = 50.0;
    PILESETIN.PLEN(2) = 40.0;
    PILESETIN.NSECT(2) = 1;
    PILESETIN.PSTO(2, 1) = 40.0;

    SECTIN.NSEC = 1;
    for (int i = 1; i <= 37; ++i) SECTIN.SECTSR(1, i) = 5000.0 + i;
    for (int i = 1; i <= 35; ++i) SECTIN.SECTNR(1, i) = 7000.0 + i;
    SECTIN.SECTREBAR(1, 1, 1) = 150.0;
    SECTIN.SECTREBAR(1, 1, 2) = -250.0;
    SECTIN.SECTREBAR(1, 100, 2) = 80.0;
    SECTIN.SECTSTRAND(1, 1, 1) = 120.0;
    SECTIN.SECTSTRAND(1, 100, 2) = 60.0;
    SECTIN.SECTLIST3(1, 1) = 33.0;

    // Soft clay, weak rock and vuggy limestone. Row values: unit weight, strength, friction angle, k,
    // Er, E50, J or RQD, FMAX, QMAX.
    SOILIN.NLAYIN = 3;
    const int codes[3] = {1, 9, 6};
    const double tops[3] = {0, 10, 25}, bottoms[3] = {10, 25, 40};
    const double rows[3][2][9] = {
        {{172.8, 2880, 30, 100, 5, 0.01, 0.5, 1440, 14400}, {345.6, 4320, 0, 0, 0, 0, 0, 0, 0}},
        {{259.2, 1000, 0, 0, 7e4, 5e-4, 60, 288, 0}, {259.2, 1200, 0, 0, 0, 0, 0, 0, 0}},
        {{172.8, 5000, 0, 0, 0, 0, 0, 0, 0}, {172.8, 6000, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (int l = 1; l <= 3; ++l) {
        SOILIN.LCRITIN(l) = codes[l - 1];
        SOILIN.XTOPIN(l) = tops[l - 1];
        SOILIN.XBOTIN(l) = bottoms[l - 1];
        for (int row = 1; row <= 2; ++row)
            for (int i = 1; i <= 9; ++i) SOILIN.SOILVAL(l, row, i) = rows[l - 1][row - 1][i - 1];
    }

    PYPRT.NPYPRT = 1;
    PYPRT.PYPX(1) = 5.0;
    PYPRT.PYPRTDEF(1, 1) = 0.1;

    PYUSRIN.NPYSETIN = 2;
    PYUSRIN.PYNCRVIN(1) = 2;
    PYUSRIN.PYXIN(1, 2) = 4.0;
    PYUSRIN.PYXIN(1, 3) = 7.0;
    PYUSRIN.PYPIN(1, 1, 1) = 100.0;
    PYUSRIN.PYYIN(1, 1, 1) = 0.5;
    PYUSRIN.PYNCRVIN(2) = 1;
    PYUSRIN.PYXIN(2, 1) = 6.0;

    // Reduction factors: a set of 3 points and a set of 5.
    RFD.NRFSET = 2;
    RFD.NRFD(1) = 3;
    RFD.NRFD(2) = 5;
    for (int p = 1; p <= 3; ++p) RFD.RFDX(1, p) = 5.0 * (p - 1);
    for (int p = 1; p <= 5; ++p) RFD.RFDX(2, p) = 2.0 * (p - 1);
    RFD.RFDX(1, 4) = 99.0;
    RFD.RFDPM(1, 2) = 0.6;

    SMOV.NSMOV = 2;
    SMOV.SMX(2) = 10.0;
    SMOV.SMYIN(1) = 0.1;

    MPHIIN.MPMOMIN(1, 1, 2) = 1e6;
    TZUSRIN.TZFIN(1, 2) = 500.0;
}

struct Item {
    std::string what;
    double got, expected;
};

void expectItems(const std::vector<Item>& items, const std::string& run) {
    for (const Item& i : items) EXPECT_DOUBLE_EQ(i.got, i.expected) << run << ": " << i.what;
}

// Values that no units system converts.
std::vector<Item> unconverted() {
    return {
        {"K50", CAPIN.K50, 50.0},
        {"FULT", CAPIN.FULT, 7.0},
        {"YMAX", CAPIN.YMAX, 0.5},
        {"load X", LCCL.CLOAD(1, 1, 1), 1000.0},
        {"moment X", LCCL.CLOAD(1, 1, 6), 6000.0},
        {"point beyond the load count", LCCL.CLOAD(1, 3, 7), 9.0},
        {"point of a case without loads", LCCL.CLOAD(2, 1, 7), 9.0},
        {"specified point of a case without it", LCSD.SDLOC(2, 1), 7.0},
        {"SDV displacement", LCSD.SDV(1, 1), 0.25},
        {"SDV load", LCSD.SDV(1, 2), 800.0},
        {"FSDV", FSDDAT.FSDV(1, 1), 0.5},
        {"distributed load", DLS.DLSVAL(1, 2), 30.0},
        {"head spring", GRPIN3.GRP3PRP(1, 1), 1e6},
        {"p-multiplier", GRPIN3.GRP3PRP(1, 3), 0.8},
        {"ALPHA", GRPIN3.GRP3GEO(2, 4), 10.0},
        {"BETA", GRPIN3.GRP3GEO(2, 5), 80.0},
        {"THETA", GRPIN3.GRP3GEO(2, 6), 5.0},
        {"plane p-multiplier", GRPIN2.GRP2PRP(2, 3), 0.7},
        {"plane slope", GRPIN2.GRP2GEO(2, 3), 10.0},
        {"friction angle", SOILIN.SOILVAL(1, 1, 3), 30.0},
        {"k", SOILIN.SOILVAL(1, 1, 4), 100.0},
        {"Er", SOILIN.SOILVAL(2, 1, 5), 7e4},
        {"E50", SOILIN.SOILVAL(1, 1, 6), 0.01},
        {"RQD", SOILIN.SOILVAL(2, 1, 7), 60.0},
        {"p-y print deflection", PYPRT.PYPRTDEF(1, 1), 0.1},
        {"user p-y curve beyond the curve count", PYUSRIN.PYXIN(1, 3), 7.0},
        {"user p", PYUSRIN.PYPIN(1, 1, 1), 100.0},
        {"user y", PYUSRIN.PYYIN(1, 1, 1), 0.5},
        {"reduction depth beyond the point count", RFD.RFDX(1, 4), 99.0},
        {"p-multiplier along depth", RFD.RFDPM(1, 2), 0.6},
        {"soil movement", SMOV.SMYIN(1), 0.1},
        {"moment-curvature point", MPHIIN.MPMOMIN(1, 1, 2), 1e6},
        {"axial curve point", TZUSRIN.TZFIN(1, 2), 500.0},
        {"third section list", SECTIN.SECTLIST3(1, 1), 33.0},
    };
}

// Feet to inches, pounds per cubic foot and per square foot to per cubic and square inch.
std::vector<Item> englishCommon() {
    return {
        {"CAPLY", CAPIN.CAPLY, 120.0},
        {"CAPWZ", CAPIN.CAPWZ, 96.0},
        {"CAPTX", CAPIN.CAPTX, 36.0},
        {"CAPDEQ", CAPIN.CAPDEQ, 24.0},
        {"load point X", LCCL.CLOAD(1, 1, 7), 12.0},
        {"load point Y", LCCL.CLOAD(1, 1, 8), 24.0},
        {"second load point X", LCCL.CLOAD(1, 2, 7), 48.0},
        {"second load point Y", LCCL.CLOAD(1, 2, 8), 60.0},
        {"specified point X", LCSD.SDLOC(1, 1), 18.0},
        {"specified point Y", LCSD.SDLOC(1, 2), 30.0},
        {"distributed depth, set 1", DLS.DLSDEP(1, 2), 120.0},
        {"distributed depth, set 2", DLS.DLSDEP(2, 1), 60.0},
        {"PLEN 1", PILESETIN.PLEN(1), 600.0},
        {"PLEN 2", PILESETIN.PLEN(2), 480.0},
        {"TO 1-1", PILESETIN.PSTO(1, 1), 240.0},
        {"FROM 1-2", PILESETIN.PSFROM(1, 2), 240.0},
        {"TO 1-2", PILESETIN.PSTO(1, 2), 600.0},
        {"TO 2-1", PILESETIN.PSTO(2, 1), 480.0},
        {"layer 1 bottom", SOILIN.XBOTIN(1), 120.0},
        {"layer 3 top", SOILIN.XTOPIN(3), 300.0},
        {"layer 3 bottom", SOILIN.XBOTIN(3), 480.0},
        {"clay unit weight top", SOILIN.SOILVAL(1, 1, 1), 0.1},
        {"clay unit weight bottom", SOILIN.SOILVAL(1, 2, 1), 0.2},
        {"clay cohesion top", SOILIN.SOILVAL(1, 1, 2), 20.0},
        {"clay cohesion bottom", SOILIN.SOILVAL(1, 2, 2), 30.0},
        {"clay FMAX", SOILIN.SOILVAL(1, 1, 8), 10.0},
        {"clay QMAX", SOILIN.SOILVAL(1, 1, 9), 100.0},
        {"weak rock unit weight", SOILIN.SOILVAL(2, 1, 1), 0.15},
        {"weak rock strength top (as read)", SOILIN.SOILVAL(2, 1, 2), 1000.0},
        {"weak rock strength bottom (as read)", SOILIN.SOILVAL(2, 2, 2), 1200.0},
        {"weak rock FMAX", SOILIN.SOILVAL(2, 1, 8), 2.0},
        {"limestone unit weight", SOILIN.SOILVAL(3, 2, 1), 0.1},
        {"limestone strength (as read)", SOILIN.SOILVAL(3, 1, 2), 5000.0},
        {"p-y print depth", PYPRT.PYPX(1), 60.0},
        {"user p-y depth 1-2", PYUSRIN.PYXIN(1, 2), 48.0},
        {"user p-y depth 2-1", PYUSRIN.PYXIN(2, 1), 72.0},
        {"soil movement depth", SMOV.SMX(2), 120.0},
    };
}

TEST(UnitsConvin, EnglishAndGenericConvertFeetAndPerFootValuesIn3D) {
    for (int units : {1, 3}) {
        const std::string run = "UNITS " + std::to_string(units);
        fillModel(units, 3);
        CONVIN();
        expectItems(englishCommon(), run);
        expectItems(unconverted(), run);
        expectItems({
                        {"load point Z", LCCL.CLOAD(1, 1, 9), 36.0},
                        {"second load point Z", LCCL.CLOAD(1, 2, 9), 72.0},
                        {"specified point Z", LCSD.SDLOC(1, 3), 42.0},
                        {"head X 1", GRPIN3.GRP3GEO(1, 1), -12.0},
                        {"head Y 1", GRPIN3.GRP3GEO(1, 2), 24.0},
                        {"head Z 1", GRPIN3.GRP3GEO(1, 3), 36.0},
                        {"ground 1", GRPIN3.GRP3GEO(1, 7), 48.0},
                        {"head Y 2", GRPIN3.GRP3GEO(2, 2), -24.0},
                        {"head Z 2", GRPIN3.GRP3GEO(2, 3), -36.0},
                        {"plane spacing (not this run)", GRPIN2.GRP2PRP(1, 2), 3.0},
                        {"plane head Y (not this run)", GRPIN2.GRP2GEO(3, 2), 6.0},
                    },
                    run);
        EXPECT_EQ(PILE.NPILES, 2) << run;
        EXPECT_EQ(PYUSR.NPYSET, 2) << run;
        // English sections are given in inches: nothing to convert.
        for (int i = 1; i <= 37; ++i) EXPECT_EQ(SECTIN.SECTSR(1, i), 5000.0 + i) << run << ": SECTSR " << i;
        for (int i = 1; i <= 35; ++i) EXPECT_EQ(SECTIN.SECTNR(1, i), 7000.0 + i) << run << ": SECTNR " << i;
        EXPECT_EQ(SECTIN.SECTREBAR(1, 1, 1), 150.0) << run;
    }
}

TEST(UnitsConvin, PlaneRunConvertsRowsAndOnlyXAndYOfPoints) {
    fillModel(1, 2);
    CONVIN();
    expectItems(englishCommon(), "plane");
    expectItems(unconverted(), "plane");
    expectItems({
                    {"load point Z (plane)", LCCL.CLOAD(1, 1, 9), 3.0},
                    {"specified point Z (plane)", LCSD.SDLOC(1, 3), 3.5},
                    {"spacing 1", GRPIN2.GRP2PRP(1, 2), 36.0},
                    {"spacing 3", GRPIN2.GRP2PRP(3, 2), 36.0},
                    {"head X 2", GRPIN2.GRP2GEO(2, 1), -12.0},
                    {"head Y 3", GRPIN2.GRP2GEO(3, 2), 72.0},
                    {"ground 3", GRPIN2.GRP2GEO(3, 4), 48.0},
                    {"3-D head X (not this run)", GRPIN3.GRP3GEO(1, 1), -1.0},
                    {"3-D ground (not this run)", GRPIN3.GRP3GEO(1, 7), 4.0},
                },
                "plane");
    EXPECT_EQ(PILE.NPILES, 3);
}

TEST(UnitsConvin, ReductionFactorSetsOfThreeAndFivePointsAllMoveToInches) {
    fillModel(1, 3);
    CONVIN();
    const double set1[3] = {0, 60, 120}, set2[5] = {0, 24, 48, 72, 96};
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(RFD.RFDX(1, p), set1[p - 1]) << "set 1 point " << p;
    for (int p = 1; p <= 5; ++p) EXPECT_EQ(RFD.RFDX(2, p), set2[p - 1]) << "set 2 point " << p;
    EXPECT_EQ(RFD.RFDX(1, 4), 99.0) << "beyond the first set's 3 points";
}

TEST(UnitsConvin, SectionsWithoutTheirSwitchesStayAsRead) {
    fillModel(1, 3);
    CTLIN.KPYOP = -1;  // p-y curves only: no print requests to convert
    CTLIN.KUSERPY = 0;
    CTLIN.KRFDEP = 0;
    CTLIN.KSMOV = 0;
    CONVIN();
    EXPECT_EQ(PYPRT.PYPX(1), 5.0);
    EXPECT_EQ(PYUSRIN.PYXIN(1, 2), 4.0);
    EXPECT_EQ(PYUSR.NPYSET, 0);
    EXPECT_EQ(RFD.RFDX(2, 5), 8.0);
    EXPECT_EQ(SMOV.SMX(2), 10.0);
    EXPECT_EQ(CAPIN.CAPLY, 120.0) << "the rest is still converted";
}

// SI factor of SECTSR item i: dimensions from millimetres, areas from square millimetres, moments
// of inertia from millimetres to the fourth; a plane run leaves the second moment of inertia.
double sectsrFactor(int i, bool plane) {
    // Item 37, the wall of a designated pipe, is a dimension too: the echo prints it in millimetres.
    if ((i >= 1 && i <= 8) || (i >= 19 && i <= 26) || i == 37) return 1e-3;
    if (i == 10 || i == 28) return 1e-6;
    if (i == 11 || i == 29) return 1e-12;
    if ((i == 12 || i == 30) && !plane) return 1e-12;
    return 1.0;
}

double sectnrFactor(int i) {
    if (i <= 11 || i == 18 || i == 19 || i == 23 || i == 24 || i == 26 || i == 28) return 1e-3;
    if (i == 17 || i == 22 || i == 27) return 1e-6;
    return 1.0;
}

TEST(UnitsConvin, SIConvertsOnlyTheCrossSectionsFromMillimetres) {
    for (int antype : {3, 2}) {
        const bool plane = antype == 2;
        const std::string run = plane ? "SI plane" : "SI 3-D";
        fillModel(2, antype);
        CONVIN();
        for (int i = 1; i <= 37; ++i)
            EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, i), (5000.0 + i) * sectsrFactor(i, plane)) << run << ": SECTSR " << i;
        for (int i = 1; i <= 35; ++i)
            EXPECT_DOUBLE_EQ(SECTIN.SECTNR(1, i), (7000.0 + i) * sectnrFactor(i)) << run << ": SECTNR " << i;
        expectItems(
            {
                {"rebar y", SECTIN.SECTREBAR(1, 1, 1), 0.15},
                {"rebar z", SECTIN.SECTREBAR(1, 1, 2), -0.25},
                {"rebar 100 z", SECTIN.SECTREBAR(1, 100, 2), 0.08},
                {"strand y", SECTIN.SECTSTRAND(1, 1, 1), 0.12},
                {"strand 100 z", SECTIN.SECTSTRAND(1, 100, 2), 0.06},
                // Metres, kilonewtons and kPa are internal units already.
                {"CAPLY", CAPIN.CAPLY, 10.0},
                {"load point Y", LCCL.CLOAD(1, 1, 8), 2.0},
                {"specified point X", LCSD.SDLOC(1, 1), 1.5},
                {"distributed depth", DLS.DLSDEP(1, 2), 10.0},
                {"PLEN", PILESETIN.PLEN(1), 50.0},
                {"TO 1-2", PILESETIN.PSTO(1, 2), 50.0},
                {"layer bottom", SOILIN.XBOTIN(1), 10.0},
                {"unit weight", SOILIN.SOILVAL(1, 1, 1), 172.8},
                {"cohesion", SOILIN.SOILVAL(1, 1, 2), 2880.0},
                {"QMAX", SOILIN.SOILVAL(1, 1, 9), 14400.0},
                {"p-y print depth", PYPRT.PYPX(1), 5.0},
                {"user p-y depth", PYUSRIN.PYXIN(2, 1), 6.0},
                {"reduction depth", RFD.RFDX(2, 5), 8.0},
                {"soil movement depth", SMOV.SMX(2), 10.0},
                {"head X", plane ? GRPIN2.GRP2GEO(1, 1) : GRPIN3.GRP3GEO(1, 1), -1.0},
            },
            run);
        expectItems(unconverted(), run);
        EXPECT_EQ(PILE.NPILES, plane ? 3 : 2) << run;
        EXPECT_EQ(PYUSR.NPYSET, 2) << run;
    }
}

TEST(UnitsConvin, CapLengthOfTenIsOneHundredTwentyInchesInEnglishOnly) {
    for (const auto& [units, expected] : {std::pair{1, 120.0}, {3, 120.0}, {2, 10.0}}) {
        resetAllBlocks();
        CTLIN.UNITS = units;
        CTLIN.ANTYPE = 3;
        CAPIN.CAPLY = 10.0;
        CONVIN();
        EXPECT_EQ(CAPIN.CAPLY, expected) << "UNITS " << units;
        EXPECT_EQ(PILE.NPILES, 0) << "no arrangement rows";
    }
}

struct UcvCase {
    const char* name;
    double (*f)(double);
    int units, kkips;
    double in, out;
};

TEST(UnitsHelpers, KipsOnlyInTheEnglishSystemWithTheKipOption) {
    const UcvCase cases[] = {
        {"UCVKIPDIV", UCVKIPDIV, 1, 1, 5000.0, 5.0},   {"UCVKIPDIV", UCVKIPDIV, 1, 0, 5000.0, 5000.0},
        {"UCVKIPDIV", UCVKIPDIV, 1, 2, 5000.0, 5000.0}, {"UCVKIPDIV", UCVKIPDIV, 3, 1, 5000.0, 5000.0},
        {"UCVKIPDIV", UCVKIPDIV, 2, 1, 5000.0, 5000.0}, {"UCVKIPMUL", UCVKIPMUL, 1, 1, 5.0, 5000.0},
        {"UCVKIPMUL", UCVKIPMUL, 3, 1, 5.0, 5.0},       {"UCVKIPMUL", UCVKIPMUL, 2, 1, 5.0, 5.0},
    };
    for (const UcvCase& c : cases) {
        CTLIN.UNITS = c.units;
        CTLIN.KKIPS = c.kkips;
        EXPECT_EQ(c.f(c.in), c.out) << c.name << " UNITS " << c.units << " KKIPS " << c.kkips;
    }
}

TEST(UnitsHelpers, LengthFactorsActInTheirSystemOnly) {
    const UcvCase cases[] = {
        {"UCVD12", UCVD12, 1, 0, 120.0, 10.0},          {"UCVD12", UCVD12, 3, 0, 120.0, 10.0},
        {"UCVD12", UCVD12, 2, 0, 120.0, 120.0},         {"UCVM12", UCVM12, 1, 0, 10.0, 120.0},
        {"UCVM12", UCVM12, 2, 0, 10.0, 10.0},           {"UCVM144", UCVM144, 3, 0, 2.0, 288.0},
        {"UCVM144", UCVM144, 2, 0, 2.0, 2.0},           {"UCVD144", UCVD144, 1, 0, 2880.0, 20.0},
        {"UCVD144", UCVD144, 2, 0, 2880.0, 2880.0},     {"UCVM1728", UCVM1728, 1, 0, 0.5, 864.0},
        {"UCVM1728", UCVM1728, 2, 0, 0.5, 0.5},         {"UCVD1728", UCVD1728, 3, 0, 3456.0, 2.0},
        {"UCVD1728", UCVD1728, 2, 0, 3456.0, 3456.0},   {"UCVM1E3", UCVM1E3, 2, 0, 0.5, 500.0},
        {"UCVM1E3", UCVM1E3, 1, 0, 0.5, 0.5},           {"UCVD1E3", UCVD1E3, 2, 0, 500.0, 0.5},
        {"UCVD1E3", UCVD1E3, 3, 0, 500.0, 500.0},       {"UCVM1E6", UCVM1E6, 2, 0, 0.25, 250000.0},
        {"UCVM1E6", UCVM1E6, 1, 0, 0.25, 0.25},         {"UCVD1E6", UCVD1E6, 2, 0, 250000.0, 0.25},
        {"UCVD1E6", UCVD1E6, 1, 0, 250000.0, 250000.0}, {"UCVM1E12", UCVM1E12, 2, 0, 2.0, 2e12},
        {"UCVM1E12", UCVM1E12, 3, 0, 2.0, 2.0},         {"UCVD1E12", UCVD1E12, 2, 0, 2e12, 2.0},
        {"UCVD1E12", UCVD1E12, 1, 0, 2e12, 2e12},
    };
    for (const UcvCase& c : cases) {
        CTLIN.UNITS = c.units;
        CTLIN.KKIPS = c.kkips;
        EXPECT_EQ(c.f(c.in), c.out) << c.name << " UNITS " << c.units;
    }
}

TEST(UnitsHelpers, RepeatedFactorsApplyOneAfterAnother) {
    // 0.1 * 12 rounds to 1.2000000000000002, and that times 12 to 14.400000000000002; a single
    // multiplication by 144 would give 14.4. Likewise 172.8 / 12 / 12 / 12 ends one unit in the last
    // place below 0.1.
    CTLIN.UNITS = 1;
    EXPECT_EQ(UCVM144(0.1), 14.400000000000002);
    EXPECT_EQ(UCVD1728(172.8), 0.09999999999999999);
}

}  // namespace
}  // namespace kaldo
