// Reading of the piles, sections, soils, curves and requests: which records each section holds under
// which switches, where every value lands, and the faults that stop the reading with the section, the
// line and the offending value.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "input/inputfile.h"
#include "input/readsections.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/unitno.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

struct Outcome {
    std::optional<io::InputError> error;
    long lastLine = 0;  // the last line the reader took from the file
};

// Reads text as the part of the input data file that follows the distributed loads, then runs the
// checks that wait for the whole file, as READIN does.
Outcome readModel(const std::string& text) {
    WorkDir dir;
    dir.write("model.inp", text);
    io::Unit& u = io::unit(INPUT_UNIT);
    Outcome out;
    if (!u.open((dir / "model.inp").string(), io::Mode::Read)) {
        ADD_FAILURE() << "cannot open the test input";
        return out;
    }
    InputFile in(u);
    try {
        readModelSections(in);
        in.runDeferred();
    } catch (const io::InputError& e) {
        out.error = e;
    }
    out.lastLine = u.lineNumber();
    u.close();
    return out;
}

long lineCount(const std::string& text) {
    long n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

std::string join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

class ReadModel : public ::testing::Test {
protected:
    void SetUp() override { resetAllBlocks(); }
    void TearDown() override { resetAllBlocks(); }
};

// Every optional section on, two piles, four cross sections (elastic without and with taper, nonlinear
// with rebars, strands and a third list, nonlinear type 10 with none of them). The line after the curve
// file requests lies beyond the last section and must stay unread.
const char* const FULL_3D = R"(PILE ARRANGEMENT
2
1 2 2 1 1 1 1 7 1 1
0 0 0.8 1.1 0.7 1.2 1.5
0.0 -36.0 12.0 0.0 90.0 0.0 24.0
2 3 1 0 0 0 0 0 2 1
1e6 2e6 1 1 1 1 1
6 36 -12 0 80 45 18
PROPERTY SETS
2
1 2
40 480.0 1
0 240 1
240 480 2
2 2
50 600 2
0 300 3
300 600 4
CROSS SECTIONS
4
1 0 1 0
'Pipe 24 x 0.5'
24 23 0 0 0 0 0 0
11.2e6 36.9 2400 2400 0 4.8e9 5000 300 2.9e7 0 0
0 0 0.0 0 0
'none'
2 0 5 0
'W14X89 tapered'
14.2 0 14.5 14.0 0 0 0.71 0.53
11.2e6 26.1 1070 362 0 1.7e8 4000 250 2.9e7 0 1
12.0 0 12.3 12.0 0 0 0.6 0.45
11.2e6 20.0 800 300 0 1.5e8 3500 200 2.9e7 0
0 0 0.5 1 0
W14X89
3 0 0 1
'Drilled shaft 36'
36 1018 82448 82448 1e10 9e5 5e4 3.6e6
2 0 0 36 0 0 0 0 0 0 0
0 4.0 0 0 0 0 0 0 0 0
none
0 0 0 0 2 0.79 1.0 0 2.9e7 60 0
0 0 0 0 0 0 0 0 0 0
15.0 0.0
-15.0 0.0
0 0 0 0 1 0.5 0.153 0 270 30
0.0 10.0
2 0 0 0.003 0.002
0.25
0.5
0 0 0 0 0 0 0 0 1.5 2.5 3.5
4 0 0 1
'User EI'
30 700 40000 30000 5e9 8e5 4e4 4e6
10 0 0 0 0 0 0 0 0 0 0
0 0 0 0 0 0 0 0 0 0
none
0 0 0 0 0 0 0 0 0 0 0
0 0 0 0 0 0 0 0 0 0
0 0 0 0 0 0 0 0 0 0
0 0 0 0 0
7 0 1 0 0 0 0 0 9.5 0 0
SOIL LAYERS
2
1 1
0.0 120.0
2 6
0.036 5.0 0 0 0 0.01
0.040 6.0 0 0 0 0.008
2 4
120 720
2 3
0.04 0 35
0.05 0 36
P-Y PRINT REQUESTS
2
1 60.0
3
0.1 0.5 1.0
2 120.0
0
USER P-Y CURVES
1
1 2
0.0
3
0 0
100 0.5
200 2.0
240
2
0 0
400 1.0
GENERATED AXIAL CURVES
2
2
1
GENERATED TORQUE CURVES
1
2
USER AXIAL CURVES
1
1 3
-100 -0.5
0 0
100 0.5
USER TORQUE CURVES
1
1 2
0 0
5000 0.01
USER MOMENT-CURVATURE
1
1 2
0.0
0 3
0 0
1e6 1e-4
2e6 5e-4
500
0 2
0 0
3e6 2e-4
SECTION MOMENT-CURVATURE
3
1 0
1 0
2 0
2 0
3 1
0.0
99.9
0 2
0 0
4e6 3e-4
3 1
100.0
0
0 2
0 0
5e6 4e-4
REDUCTION FACTORS
1
1 2
0 0.5 1.0
240 1.0 1.0
SOIL MOVEMENT
2
0 1.0 0.5
120 0 0
CURVE FILE
10 1 1
3
0.1
0.2
0.5
2
1.5
2.5
THIS LINE IS NOT READ
)";

TEST_F(ReadModel, ThreeDimensionalInputWithEveryOptionalSection) {
    CTLIN.ANTYPE = 3;
    CTLIN.KUSERPY = CTLIN.KUSERLS = CTLIN.KUSERTQ = CTLIN.KMPHI = CTLIN.KPYOP = 1;
    CTLIN.KRFDEP = CTLIN.KSMOV = CTLIN.KCRVOUT = 1;
    // Left-overs that the zero-fill of the cross sections must clear.
    SECTIN.SECTSR(3, 2) = 99.0;
    SECTIN.SECTREBAR(3, 3, 1) = 99.0;
    SECTIN.SECTLIST3(4, 1) = 99.0;

    const Outcome out = readModel(FULL_3D);
    ASSERT_FALSE(out.error) << out.error->what();
    EXPECT_EQ(out.lastLine, lineCount(FULL_3D) - 1) << "the reading must stop after the curve file requests";

    // Arrangement.
    ASSERT_EQ(GRPIN3.NROW, 2);
    const int int1[] = {1, 2, 2, 1, 1, 1, 1, 7, 1, 1};
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(GRPIN3.GRP3INT(1, k), int1[k - 1]) << "item " << k;
    EXPECT_EQ(GRPIN3.GRP3INT(2, 9), 2);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3PRP(1, 3), 0.8);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3PRP(1, 7), 1.5);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3PRP(2, 2), 2e6);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3GEO(1, 2), -36.0);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3GEO(2, 5), 80.0);
    EXPECT_DOUBLE_EQ(GRPIN3.GRP3GEO(2, 7), 18.0);

    // Property sets.
    ASSERT_EQ(PILESETIN.NPROP, 2);
    EXPECT_EQ(PILESETIN.NSECT(1), 2);
    EXPECT_EQ(PILESETIN.NINC(2), 50);
    EXPECT_DOUBLE_EQ(PILESETIN.PLEN(2), 600.0);
    EXPECT_EQ(PILESETIN.PTYPE(2), 2);
    EXPECT_DOUBLE_EQ(PILESETIN.PSFROM(1, 2), 240.0);
    EXPECT_DOUBLE_EQ(PILESETIN.PSTO(1, 2), 480.0);
    EXPECT_EQ(PILESETIN.PSSECT(2, 2), 4);

    // Elastic, no taper: the bottom values are the top values.
    ASSERT_EQ(SECTIN.NSEC, 4);
    EXPECT_EQ(SECTIN.ESHAPE(1), 1);
    EXPECT_EQ(SECTIN.SECTNAME(1), "Pipe 24 x 0.5");
    EXPECT_EQ(SECTIN.STAPER(1), 0);
    for (int k = 1; k <= 18; ++k) EXPECT_EQ(SECTIN.SECTSR(1, k + 18), SECTIN.SECTSR(1, k)) << "item " << k;
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 20), 23.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 35), 2.9e7);
    EXPECT_EQ(SECTIN.AISCNAME(1), "none");

    // Elastic, tapered: the bottom values come from their own records.
    EXPECT_EQ(SECTIN.STAPER(2), 1);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 1), 14.2);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 19), 12.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 26), 0.45);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 28), 20.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 29), 800.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 36), 0.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(2, 37), 0.5);
    EXPECT_EQ(SECTIN.AISCFAM(2), 0);
    EXPECT_EQ(SECTIN.AISCEXT(2), 1);
    EXPECT_EQ(SECTIN.AISCNAME(2), "W14X89");

    // Nonlinear with rebars, a strand and a third list.
    EXPECT_EQ(SECTIN.NLFLAG(3), 1);
    EXPECT_EQ(SECTIN.SECTNAME(3), "Drilled shaft 36");
    const int top[] = {1, 10, 11, 12, 14, 15, 16, 17};
    const double topValue[] = {36, 1018, 82448, 82448, 1e10, 9e5, 5e4, 3.6e6};
    for (int n = 0; n < 8; ++n) {
        EXPECT_DOUBLE_EQ(SECTIN.SECTSR(3, top[n]), topValue[n]) << "item " << top[n];
        EXPECT_DOUBLE_EQ(SECTIN.SECTSR(3, top[n] + 18), topValue[n]) << "item " << top[n] + 18;
    }
    EXPECT_EQ(SECTIN.SECTSR(3, 2), 0.0);
    EXPECT_EQ(SECTIN.SECTNI(3, 1), 2);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 3), 36.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 12), 4.0);
    EXPECT_EQ(SECTIN.NLAISCNAME(3), "none");
    EXPECT_EQ(SECTIN.SECTNI(3, 10), 2);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 17), 0.79);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 21), 60.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTREBAR(3, 1, 1), 15.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTREBAR(3, 2, 1), -15.0);
    EXPECT_EQ(SECTIN.SECTREBAR(3, 3, 1), 0.0);
    EXPECT_EQ(SECTIN.SECTNI(3, 22), 1);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 27), 0.153);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 30), 30.0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTSTRAND(3, 1, 2), 10.0);
    EXPECT_EQ(SECTIN.SECTNI(3, 23), 2);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 32), 0.002);
    EXPECT_DOUBLE_EQ(SECTIN.SECTLIST3(3, 2), 0.5);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(3, 35), 3.5);

    // Nonlinear type 10 without rebars, strands or list: records 8, 10, 12 and 14 follow one another.
    EXPECT_EQ(SECTIN.SECTNI(4, 1), 10);
    EXPECT_EQ(SECTIN.SECTNI(4, 26), 7);
    EXPECT_EQ(SECTIN.SECTNI(4, 28), 1);  // moment-curvature set for Iz
    EXPECT_EQ(SECTIN.SECTNI(4, 29), 0);
    EXPECT_DOUBLE_EQ(SECTIN.SECTNR(4, 33), 9.5);
    EXPECT_EQ(SECTIN.SECTLIST3(4, 1), 0.0);

    // Soil layers: values beyond the given count stay 0.
    ASSERT_EQ(SOILIN.NLAYIN, 2);
    EXPECT_EQ(SOILIN.LCRITIN(2), 4);
    EXPECT_DOUBLE_EQ(SOILIN.XTOPIN(2), 120.0);
    EXPECT_DOUBLE_EQ(SOILIN.XBOTIN(2), 720.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 1, 6), 0.01);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 2, 2), 6.0);
    EXPECT_EQ(SOILIN.SOILVAL(1, 2, 7), 0.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(2, 2, 3), 36.0);

    // p-y print requests.
    ASSERT_EQ(PYPRT.NPYPRT, 2);
    EXPECT_EQ(PYPRT.PYPGRP(2), 2);
    EXPECT_DOUBLE_EQ(PYPRT.PYPX(2), 120.0);
    EXPECT_EQ(PYPRT.PYPNPT(1), 3);
    EXPECT_DOUBLE_EQ(PYPRT.PYPRTDEF(1, 3), 1.0);
    EXPECT_EQ(PYPRT.PYPNPT(2), 0);

    // User p-y curves.
    ASSERT_EQ(PYUSRIN.NPYSETIN, 1);
    EXPECT_EQ(PYUSRIN.PYNCRVIN(1), 2);
    EXPECT_EQ(PYUSRIN.PYNPTIN(1, 1), 3);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYXIN(1, 2), 240.0);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYPIN(1, 1, 2), 100.0);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYYIN(1, 1, 3), 2.0);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYPIN(1, 2, 2), 400.0);

    // Generated curve lists and user axial and torque curves.
    EXPECT_EQ(GENLISTS.NLSGENIN, 2);
    EXPECT_EQ(GENLISTS.LSGENPILE(1), 2);
    EXPECT_EQ(GENLISTS.LSGENPILE(2), 1);
    EXPECT_EQ(GENLISTS.NTQGENIN, 1);
    EXPECT_EQ(GENLISTS.TQGENPILE(1), 2);
    ASSERT_EQ(TZUSRIN.NTZIN, 1);
    EXPECT_EQ(TZUSRIN.TZNPTIN(1), 3);
    EXPECT_DOUBLE_EQ(TZUSRIN.TZFIN(1, 1), -100.0);
    EXPECT_DOUBLE_EQ(TZUSRIN.TZWIN(1, 3), 0.5);
    ASSERT_EQ(TQUSRIN.NTQIN, 1);
    EXPECT_EQ(TQUSRIN.TQNPTIN(1), 2);
    EXPECT_DOUBLE_EQ(TQUSRIN.TQTIN(1, 2), 5000.0);
    EXPECT_DOUBLE_EQ(TQUSRIN.TQRIN(1, 2), 0.01);

    // Moment-curvature sets of the user and of the cross sections (two families each in 3-D).
    ASSERT_EQ(MPHIIN.NUMPHI, 1);
    EXPECT_EQ(MPHIIN.MPNCRVIN(1), 2);
    EXPECT_DOUBLE_EQ(MPHIIN.MPAXLIN(1, 2), 500.0);
    EXPECT_EQ(MPHIIN.MPNPTIN(1, 1), 3);
    EXPECT_EQ(MPHIIN.MPNPTIN(1, 2), 2);
    EXPECT_DOUBLE_EQ(MPHIIN.MPMOMIN(1, 1, 3), 2e6);
    EXPECT_DOUBLE_EQ(MPHIIN.MPPHIIN(1, 2, 2), 2e-4);
    ASSERT_EQ(MPHIGENIN.NGMPHI, 3);
    EXPECT_EQ(MPHIGENIN.MGNCRV(1, 1), 0);
    EXPECT_EQ(MPHIGENIN.MGNCRV(2, 2), 0);
    EXPECT_EQ(MPHIGENIN.MGNCRV(3, 1), 1);
    EXPECT_EQ(MPHIGENIN.MGNCRV(3, 2), 1);
    EXPECT_DOUBLE_EQ(MPHIGENIN.MGAXL(3, 2, 1), 100.0);
    EXPECT_EQ(MPHIGENIN.MGNPT(3, 1, 1), 2);
    EXPECT_DOUBLE_EQ(MPHIGENIN.MGPHI(3, 1, 1, 2), 3e-4);
    EXPECT_DOUBLE_EQ(MPHIGENIN.MGMOM(3, 2, 1, 2), 5e6);

    // Reduction factors, soil movement (current and input copies), curve file requests.
    ASSERT_EQ(RFD.NRFSET, 1);
    EXPECT_EQ(RFD.NRFD(1), 2);
    EXPECT_DOUBLE_EQ(RFD.RFDX(1, 2), 240.0);
    EXPECT_DOUBLE_EQ(RFD.RFDPM(1, 1), 0.5);
    EXPECT_DOUBLE_EQ(RFD.RFDYM(1, 1), 1.0);
    ASSERT_EQ(SMOV.NSMOV, 2);
    EXPECT_DOUBLE_EQ(SMOV.SMX(2), 120.0);
    EXPECT_DOUBLE_EQ(SMOV.SMY(1), 1.0);
    EXPECT_DOUBLE_EQ(SMOV.SMYIN(1), 1.0);
    EXPECT_DOUBLE_EQ(SMOV.SMZ(1), 0.5);
    EXPECT_DOUBLE_EQ(SMOV.SMZIN(1), 0.5);
    EXPECT_EQ(OPTCRV.NCRVINC, 10);
    EXPECT_EQ(OPTCRV.KCRVPYL, 1);
    ASSERT_EQ(OPTCRV.NCRVPY, 3);
    EXPECT_DOUBLE_EQ(OPTCRV.CRVPYDEF(3), 0.5);
    EXPECT_EQ(OPTCRV.KCRVLS2, 1);
    ASSERT_EQ(OPTCRV.NCRVLS2, 2);
    EXPECT_DOUBLE_EQ(OPTCRV.CRVLS2(1), 1.5);
    EXPECT_DOUBLE_EQ(OPTCRV.CRVLS2(2), 2.5);
}

// Plane rows, no p-y print requests before the user p-y curves (KPYOP 0), no torque-rotation list
// before the user axial curves, a layer given by its top row only, and the second moment-curvature
// family of a section left empty.
const char* const PLANE = R"(PILE ROWS
2
2 3 1 1 0 0 1
0 36 0.9 1.0 1.0
0 0 14.04 12
1 1 1 -1 1 0 1
1e5 48 1 1 0.5
0 48 0 12
PROPERTY SETS
1
1 1
30 360.0 2
0 360 1
CROSS SECTIONS
1
1 0 0 0
Shaft
36 0 0 0 0 0 0 0
0 1018 82448 82448 0 0 0 0 3.6e6 0 0
0 0 0 0 0
none
SOIL LAYERS
1
1 8
0 600
1 4
0.06 0 38 90
USER P-Y CURVES
1
1 2
0
2
0 0
50 1
400
2
0 0
90 1
GENERATED AXIAL CURVES
1
1
USER AXIAL CURVES
1
1 2
0 0
300 0.4
SECTION MOMENT-CURVATURE
1
1 0
THIS LINE IS NOT READ
)";

TEST_F(ReadModel, PlaneInputWithUserPyCurvesAndNoPrintRequests) {
    CTLIN.ANTYPE = 2;
    CTLIN.KPYOP = 0;
    CTLIN.KUSERPY = CTLIN.KUSERLS = 1;
    MPHIGENIN.MGNCRV(1, 2) = 7;

    const Outcome out = readModel(PLANE);
    ASSERT_FALSE(out.error) << out.error->what();
    EXPECT_EQ(out.lastLine, lineCount(PLANE) - 1);

    ASSERT_EQ(GRPIN2.NROW, 2);
    const int int1[] = {2, 3, 1, 1, 0, 0, 1};
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(GRPIN2.GRP2INT(1, k), int1[k - 1]) << "item " << k;
    EXPECT_EQ(GRPIN2.GRP2INT(2, 4), -1);  // a user p-y set named with a sign is accepted
    EXPECT_DOUBLE_EQ(GRPIN2.GRP2PRP(1, 2), 36.0);
    EXPECT_DOUBLE_EQ(GRPIN2.GRP2PRP(2, 5), 0.5);
    EXPECT_DOUBLE_EQ(GRPIN2.GRP2GEO(1, 3), 14.04);
    EXPECT_DOUBLE_EQ(GRPIN2.GRP2GEO(2, 2), 48.0);
    EXPECT_EQ(GRPIN3.NROW, 0);

    EXPECT_EQ(SECTIN.SECTNAME(1), "Shaft");
    EXPECT_DOUBLE_EQ(SECTIN.SECTSR(1, 29), 82448.0);

    EXPECT_EQ(SOILIN.LCRITIN(1), 8);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 1, 3), 38.0);
    EXPECT_DOUBLE_EQ(SOILIN.SOILVAL(1, 1, 4), 90.0);
    for (int k = 1; k <= SOILVALS; ++k) EXPECT_EQ(SOILIN.SOILVAL(1, 2, k), 0.0) << "bottom value " << k;

    EXPECT_EQ(PYPRT.NPYPRT, 0);
    ASSERT_EQ(PYUSRIN.NPYSETIN, 1);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYXIN(1, 2), 400.0);
    EXPECT_DOUBLE_EQ(PYUSRIN.PYPIN(1, 2, 2), 90.0);
    EXPECT_EQ(GENLISTS.NLSGENIN, 1);
    EXPECT_EQ(GENLISTS.NTQGENIN, 0);
    ASSERT_EQ(TZUSRIN.NTZIN, 1);
    EXPECT_DOUBLE_EQ(TZUSRIN.TZFIN(1, 2), 300.0);
    EXPECT_DOUBLE_EQ(TZUSRIN.TZWIN(1, 2), 0.4);
    EXPECT_EQ(MPHIGENIN.NGMPHI, 1);
    EXPECT_EQ(MPHIGENIN.MGNCRV(1, 2), 0);
}

// ---- Faults ----------------------------------------------------------------------------------------

// The smallest three-dimensional input: one pile, one set with one elastic section, one soil layer,
// one generated curve of each kind. Faults are made by editing its lines.
const std::vector<std::string> BASE = {
    "PILES",                                    // 1
    "1",                                        // 2
    "1 1 1 0 0 0 0 0 1 1",                      // 3
    "0 0 1 1 1 1 1",                            // 4
    "0 0 0 90 90 0 0",                          // 5
    "PROPS",                                    // 6
    "1",                                        // 7
    "1 1",                                      // 8
    "20 30.0 1",                                // 9
    "0.0 30.0 1",                               // 10
    "SECTIONS",                                 // 11
    "1",                                        // 12
    "1 0 0 0",                                  // 13
    "'PIPE 24'",                                // 14
    "24 0 0 0 0 0 0 0",                         // 15
    "0 100 5000 5000 0 1e9 0 0 2.9e7 0 0",      // 16
    "0 0 0.0 0 0",                              // 17
    "'NONE'",                                   // 18
    "SOILS",                                    // 19
    "1",                                        // 20
    "1 4",                                      // 21
    "0.0 100.0",                                // 22
    "2 10",                                     // 23
    "0.04 0 30 0 0 0 0 0 0 0",                  // 24
    "0.04 0 30 0 0 0 0 0 0 0",                  // 25
    "AXIAL GEN",                                // 26
    "1",                                        // 27
    "1",                                        // 28
    "TORQUE GEN",                               // 29
    "1",                                        // 30
    "1",                                        // 31
    "MPHI GEN",                                 // 32
    "0",                                        // 33
};

using Lines = std::vector<std::string>;

void setLine(Lines& l, int n, const std::string& text) { l.at(n - 1) = text; }
void insertAfter(Lines& l, int n, const Lines& more) { l.insert(l.begin() + n, more.begin(), more.end()); }

// Makes cross section 1 of BASE nonlinear (lines 13 to 23): record 7 and record 14 as given, no rebar,
// strand or list value unless record 7 asks for rebars.
void nonlinearSection(Lines& l, int type, const std::string& rec7, const std::string& rec14) {
    setLine(l, 13, "1 0 0 1");
    setLine(l, 15, "24 100 5000 5000 1e9 0 0 2.9e7");
    setLine(l, 16, std::to_string(type) + " 0 0 24 0 0 0 0 0 0 0");
    setLine(l, 17, "0 4 0 0 0 0 0 0 0 0");
    setLine(l, 18, "none");
    insertAfter(l, 18, {rec7, "0 0 0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0 0 0", "0 0 0 0 0", rec14});
}

struct Switches {
    int kuserpy = 0, kpyop = 0, kmphi = 0, krfdep = 0, ksmov = 0, kcrvout = 0;
};

void setSwitches(const Switches& s) {
    CTLIN.ANTYPE = 3;
    CTLIN.KUSERPY = s.kuserpy;
    CTLIN.KPYOP = s.kpyop;
    CTLIN.KMPHI = s.kmphi;
    CTLIN.KRFDEP = s.krfdep;
    CTLIN.KSMOV = s.ksmov;
    CTLIN.KCRVOUT = s.kcrvout;
}

TEST_F(ReadModel, TheBaseOfTheFaultCasesReadsCleanly) {
    setSwitches({});
    const Outcome out = readModel(join(BASE));
    ASSERT_FALSE(out.error) << out.error->what();
    EXPECT_EQ(out.lastLine, 33);
}

struct FaultCase {
    const char* name;
    Switches switches;
    std::function<void(Lines&)> edit;
    io::InputError::Kind kind;
    const char* section;
    long line;
    const char* text;
};

class ReadModelFaults : public ::testing::Test {
protected:
    void SetUp() override { resetAllBlocks(); }
    void TearDown() override { resetAllBlocks(); }
};

TEST_F(ReadModelFaults, EachFaultNamesItsKindSectionLineAndValue) {
    using K = io::InputError::Kind;
    const std::vector<FaultCase> cases = {
        // Counts above their tables, or negative.
        {"pile rows above 2500", {}, [](Lines& l) { setLine(l, 2, "2501"); }, K::Capacity, "PILES", 2,
         "2501"},
        {"negative pile rows", {}, [](Lines& l) { setLine(l, 2, "-1"); }, K::Capacity, "PILES", 2, "-1"},
        {"property sets above 50", {}, [](Lines& l) { setLine(l, 7, "51"); }, K::Capacity, "PROPS", 7, "51"},
        {"20 sections in a set", {}, [](Lines& l) { setLine(l, 8, "1 20"); }, K::Capacity, "PROPS", 8, "20"},
        {"cross sections above 100", {}, [](Lines& l) { setLine(l, 12, "101"); }, K::Capacity, "SECTIONS", 12,
         "101"},
        {"rebars above 100", {},
         [](Lines& l) { nonlinearSection(l, 2, "0 0 0 0 101 0 0 0 0 0 0", "0 0 0 0 0 0 0 0 0 0 0"); },
         K::Capacity, "SECTIONS", 19, "101"},
        {"soil layers above 20", {}, [](Lines& l) { setLine(l, 20, "21"); }, K::Capacity, "SOILS", 20, "21"},
        {"three rows in a layer", {}, [](Lines& l) { setLine(l, 23, "3 10"); }, K::Capacity, "SOILS", 23,
         "3"},
        {"eleven values in a row", {}, [](Lines& l) { setLine(l, 23, "2 11"); }, K::Capacity, "SOILS", 23,
         "11"},
        {"generated axial curves above 2501", {}, [](Lines& l) { setLine(l, 27, "2502"); }, K::Capacity,
         "AXIAL GEN", 27, "2502"},
        {"generated torque curves above 50", {}, [](Lines& l) { setLine(l, 30, "51"); }, K::Capacity,
         "TORQUE GEN", 30, "51"},
        {"section moment-curvature families above 100", {}, [](Lines& l) { setLine(l, 33, "101"); },
         K::Capacity, "MPHI GEN", 33, "101"},
        {"moment-curvature families short of a nonlinear section", {},
         [](Lines& l) { nonlinearSection(l, 2, "0 0 0 0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0 0 0 0"); },
         K::BadValue, "MPHI GEN", 38, "0"},
        {"user moment-curvature sets above 150", {.kmphi = 1},
         [](Lines& l) { insertAfter(l, 31, {"USER MPHI", "151"}); }, K::Capacity, "USER MPHI", 33, "151"},
        {"p-y print deflections above 25", {.kpyop = 1},
         [](Lines& l) { insertAfter(l, 25, {"PY PRINT", "1", "1 10.0", "26"}); }, K::Capacity, "PY PRINT", 29,
         "26"},
        {"curve file deflections above 25", {.kcrvout = 1},
         [](Lines& l) { insertAfter(l, 33, {"CURVE FILE", "4 1 0", "26"}); }, K::Capacity, "CURVE FILE", 36, "26"},
        {"soil movement points above 25", {.ksmov = 1},
         [](Lines& l) { insertAfter(l, 33, {"MOVEMENT", "26"}); }, K::Capacity, "MOVEMENT", 35, "26"},

        // Values the analysis cannot work with.
        {"no increment", {}, [](Lines& l) { setLine(l, 9, "0 30.0 1"); }, K::BadValue, "PROPS", 9, "0"},
        {"101 increments", {}, [](Lines& l) { setLine(l, 9, "101 30.0 1"); }, K::BadValue, "PROPS", 9, "101"},
        {"zero pile length", {}, [](Lines& l) { setLine(l, 9, "20 0.0 1"); }, K::BadValue, "PROPS", 9, "0"},
        {"set without a section", {}, [](Lines& l) { setLine(l, 8, "1 0"); }, K::BadValue, "PROPS", 8, "0"},
        {"zero-length section", {}, [](Lines& l) { setLine(l, 10, "30.0 30.0 1"); }, K::BadValue, "PROPS", 10,
         "30"},
        {"no curve file increment", {.kcrvout = 1},
         [](Lines& l) { insertAfter(l, 33, {"CURVE FILE", "0 0 0"}); }, K::BadValue, "CURVE FILE", 35, "0"},

        // Numbers pointing outside what the file holds, checked once the whole file is read.
        {"property set of a pile", {}, [](Lines& l) { setLine(l, 3, "1 1 2 0 0 0 0 0 1 1"); }, K::Index,
         "PILES", 3, "2"},
        {"cross section of a set's section", {}, [](Lines& l) { setLine(l, 10, "0.0 30.0 2"); }, K::Index,
         "PROPS", 10, "2"},
        {"user p-y set of a pile", {.kuserpy = 1},
         [](Lines& l) {
             setLine(l, 3, "1 1 1 -1 0 0 0 0 1 1");
             insertAfter(l, 25, {"USER PY", "0"});
         },
         K::Index, "PILES", 3, "-1"},
        {"user axial curve of a pile", {}, [](Lines& l) { setLine(l, 3, "1 1 1 0 1 0 0 0 1 1"); }, K::Index,
         "PILES", 3, "1"},
        {"generated axial curve named directly", {}, [](Lines& l) { setLine(l, 3, "1 1 1 0 -2 0 0 0 1 1"); },
         K::Index, "PILES", 3, "-2"},
        {"generated axial curve of a pile", {}, [](Lines& l) { setLine(l, 3, "1 1 1 0 0 0 0 0 2 1"); },
         K::Index, "PILES", 3, "2"},
        {"generated axial curve 0", {}, [](Lines& l) { setLine(l, 3, "1 1 1 0 0 0 0 0 0 1"); }, K::Index,
         "PILES", 3, "0"},
        {"user torque curve of a pile", {}, [](Lines& l) { setLine(l, 3, "1 1 1 0 0 1 0 0 1 1"); }, K::Index,
         "PILES", 3, "1"},
        {"generated torque curve of a pile", {}, [](Lines& l) { setLine(l, 3, "1 1 1 0 0 0 0 0 1 2"); },
         K::Index, "PILES", 3, "2"},
        {"reduction-factor set of a pile", {.krfdep = 1},
         [](Lines& l) {
             setLine(l, 3, "1 1 1 0 0 0 2 0 1 1");
             insertAfter(l, 33, {"FACTORS", "1", "1 1", "0 1 1"});
         },
         K::Index, "PILES", 3, "2"},
        {"pile of a p-y print request", {.kpyop = 1},
         [](Lines& l) { insertAfter(l, 25, {"PY PRINT", "1", "2 10.0", "0"}); }, K::Index, "PY PRINT", 28,
         "2"},
        {"representative pile of an axial curve", {}, [](Lines& l) { setLine(l, 28, "2"); }, K::Index,
         "AXIAL GEN", 28, "2"},
        {"representative pile of a torque curve", {}, [](Lines& l) { setLine(l, 31, "0"); }, K::Index,
         "TORQUE GEN", 31, "0"},
        {"moment-curvature set for Iz of a type 10 section", {},
         [](Lines& l) { nonlinearSection(l, 10, "0 0 0 0 0 0 0 0 0 0 0", "0 0 1 0 0 0 0 0 0 0 0"); },
         K::Index, "SECTIONS", 23, "1"},
        {"moment-curvature set for Iy of a type 10 section", {},
         [](Lines& l) { nonlinearSection(l, 10, "0 0 0 0 0 0 0 0 0 0 0", "0 0 0 -1 0 0 0 0 0 0 0"); },
         K::Index, "SECTIONS", 23, "-1"},

        // Faults of the free-form records.
        {"malformed number", {}, [](Lines& l) { setLine(l, 9, "20 3O.0 1"); }, K::Malformed, "PROPS", 9,
         "3O.0"},
        {"real for an integer", {}, [](Lines& l) { setLine(l, 12, "1.5"); }, K::RealForInteger, "SECTIONS",
         12, "1.5"},
        {"file ending inside a layer", {}, [](Lines& l) { l.resize(24); }, K::EarlyEnd, "SOILS", 24, ""},
    };

    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        resetAllBlocks();
        setSwitches(c.switches);
        Lines lines = BASE;
        c.edit(lines);
        const Outcome out = readModel(join(lines));
        ASSERT_TRUE(out.error) << "no fault reported";
        const io::InputError& e = *out.error;
        EXPECT_EQ(e.kind, c.kind) << e.what();
        EXPECT_EQ(e.section, c.section) << e.what();
        EXPECT_EQ(e.line, c.line) << e.what();
        EXPECT_EQ(e.text, c.text) << e.what();
        const std::string what = e.what();
        const std::string place = "section \"" + std::string(c.section) + "\", " +
                                  (c.kind == K::EarlyEnd ? "after line " : "line ") + std::to_string(c.line);
        EXPECT_NE(what.find(place), std::string::npos) << what;
    }
}

// Numbers that lie outside 1..count but have a meaning of their own are not faults.
TEST_F(ReadModelFaults, NumbersWithAMeaningOutsideTheCountedRangeAreAccepted) {
    struct Case {
        const char* name;
        Switches switches;
        std::function<void(Lines&)> edit;
    };
    const std::vector<Case> cases = {
        {"user p-y set taken by its absolute value", {.kuserpy = 1},
         [](Lines& l) {
             setLine(l, 3, "1 1 1 -1 0 0 0 0 1 1");
             insertAfter(l, 25, {"USER PY", "1", "1 0"});
         }},
        {"generated axial curve named directly, built for a pile that asks for one", {},
         [](Lines& l) {
             setLine(l, 2, "2");
             setLine(l, 3, "1 1 1 0 -1 0 0 0 1 1");
             insertAfter(l, 5, {"1 1 1 0 0 0 0 0 1 1", "0 0 1 1 1 1 1", "0 0 0 90 90 0 0"});
         }},
        {"no multipliers along depth for a set below 1", {.krfdep = 1},
         [](Lines& l) {
             setLine(l, 3, "1 1 1 0 0 0 -1 0 1 1");
             insertAfter(l, 33, {"FACTORS", "0"});
         }},
        {"without soil no generated curve is built, so none is looked up", {},
         [](Lines& l) {
             l.erase(l.begin() + 20, l.begin() + 25);
             setLine(l, 20, "0");
             setLine(l, 3, "1 1 1 0 0 0 0 0 7 9");
         }},
        {"constant EI of a type 10 section", {},
         [](Lines& l) { nonlinearSection(l, 10, "0 0 0 0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0 0 0 0"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetAllBlocks();
        setSwitches(c.switches);
        Lines lines = BASE;
        c.edit(lines);
        const Outcome out = readModel(join(lines));
        EXPECT_FALSE(out.error) << out.error->what();
    }
}

}  // namespace
}  // namespace kaldo::test
