// Report of generated p-y curves (Table N): the classification of the print requests, the records of
// the requests that are not generated, a generated soft clay curve with its heading and points on the
// echo report and the plot output file, the curve at the level of an embedded cap, and the note of a
// listed deflection below the smallest one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

std::string lines(const std::vector<std::string>& ls) {
    std::string out;
    for (const std::string& l : ls) out += l + "\n";
    return out;
}
std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

void request(int r, int pile, double X, std::vector<double> deflections = {}) {
    PYPRT.NPYPRT = std::max(PYPRT.NPYPRT, r);
    PYPRT.PYPGRP(r) = pile;
    PYPRT.PYPX(r) = X;
    PYPRT.PYPNPT(r) = static_cast<int>(deflections.size());
    for (std::size_t i = 0; i < deflections.size(); ++i) PYPRT.PYPRTDEF(r, static_cast<int>(i) + 1) = deflections[i];
}

// English units, no cap. Pile 1: head 2 ft above the ground surface (head X = -24, ground at X = 0),
// 240 in long in 10 increments, b = 12 in. Pile 2: head at X = 0 on user p-y curve set 1. Layers: soft
// clay 0..120 (c = 5 psi, gamma' = 0.03 pci, E50 = 0.01), user curves (code 5) 120..180, elastic
// subgrade 180..600.
class PyReport : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        CTLIN.KPYOP = 1;
        CTLIN.KUSERPY = 1;
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, -24.0, 24.0);
        pile(2, 1, 0.0, 0.0);
        PILE.PYCRV(2) = 1;
        soil({uniform(1, 0.0, 120.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01}),
              uniform(5, 120.0, 180.0, {.gamma = 0.03}),
              uniform(12, 180.0, 600.0, {.gamma = 0.03, .c = 5.0, .k = 100.0})});
        layOut(1);
        layOut(2);
    }
};

TEST_F(PyReport, TableNForASmallInput) {
    request(1, 1, 0.0);               // at the ground surface
    request(2, 1, 48.0, {0.3, 3.0});  // soft clay, 4 ft deep
    request(3, 1, 150.0);             // in the layer of user curves
    request(4, 1, -30.0);             // above the pile head
    request(5, 2, 48.0);              // a pile on its own user curves
    int status = 0;
    PYREPORT(status);
    EXPECT_EQ(status, 0);

    const std::string curveNo = blanks(9) + "CURVE NUMBER              =    ";
    const std::string pileNo = blanks(9) + "PILE GROUP NUMBER         =    ";
    const std::string since = blanks(9) + "CURVE NOT GENERATED SINCE REQUIRED DEPTH,";
    const std::string echo = lines({
        "", "", "     * GENERATED P-Y CURVES *", "", "     NUMBER OF CURVES  :    5",
        // Request 1: at the ground surface of pile 1 (X = 0).
        "", "", curveNo + "1", "", pileNo + "1", "",
        since + blanks(8) + "0.00 FT,",
        blanks(9) + "IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE," + blanks(7) + "0.00 FT",
        // Request 2: generated.
        "", "", curveNo + "2", "", pileNo + "1", "",
        blanks(9) + "DEPTH BELOW ORIGIN        =      4.00 FT", "",
        blanks(9) + "NUMBER OF POINTS ON CURVE =    2", "",
        blanks(9) + "P-Y CURVE COMPUTED USING SOFT CLAY CRITERIA",
        // The soft clay heading: x = 4 ft, b = 12 in, c = 720 psf, gamma' = 51.84 pcf, E50 = 0.01.
        "",
        blanks(9) + "DEPTH BELOW GS" + blanks(6) + "DIAM" + blanks(9) + "C" + blanks(9) + "GAMMA" + blanks(9) + "E50",
        blanks(15) + "FT" + blanks(13) + "IN" + blanks(7) + "LBS/FT**2" + blanks(4) + "LBS/FT**3",
        blanks(14) + "4.00" + blanks(10) + "12.000" + blanks(5) + "720.0" + blanks(8) + "51.84" + blanks(7) +
            "0.1000E-01",
        blanks(13) + "EQ. DEPTH =    4.00 FT",
        "",
        blanks(37) + "Y,IN" + blanks(13) + "P,LBS/IN",
        // y = y50: pu / 2 = 158.64; y = 10 y50: pu = 317.28.
        blanks(34) + "0.30000" + blanks(13) + "158.640 ",
        blanks(34) + "3.00000" + blanks(13) + "317.280 ",
        // Request 3: in layer 2, of user curves.
        "", "", curveNo + "3", "", pileNo + "1", "",
        since + blanks(10) + "12.50 FT,",
        blanks(9) + "IS WITHIN LAYER   2, WHICH IS SET AS USER DEFINED P-Y CURVES",
        // Request 4: above the head of pile 1 (X = -24), no cap.
        "", "", curveNo + "4", "", pileNo + "1", "",
        since + blanks(7) + "-2.50 FT,",
        blanks(9) + "IS ABOVE TOP OF REQUIRED PILE," + blanks(6) + "-2.00 FT",
        // Request 5: pile 2 has its own user curves.
        "", "", curveNo + "5", "", pileNo + "2", "",
        blanks(9) + "CURVE NOT GENERATED SINCE A USER DEFINED P-Y CURVE",
        blanks(9) + "IS SET FOR THIS PILE (  1)",
    });
    EXPECT_EQ(text(32), echo);

    const std::string plot = lines({
        "     * GENERATED P-Y CURVES *",
        "         5",
        "    1    1    0",
        "    2    1    2",
        " 48.0",
        "  3.00000000E-01  1.58640000E+02",
        "  3.00000000E+00  3.17280000E+02",
        "    3    1    0",
        "    4    1    0",
        "    5    2    0",
    });
    EXPECT_EQ(text(17), plot);

    // The classification is kept; the listed pile keeps its moved node and layer table.
    const int expected[] = {3, 0, 0, 6, 0};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(PYMODE.PYPSTAT(r), expected[r - 1]) << r;
    EXPECT_EQ(PYMODE.PYPRTMODE, 1);
    EXPECT_EQ(NODES.NODEX(1, 1), -30.0);
    EXPECT_EQ(NODES.NODEX(1, 2), -6.0);
    EXPECT_EQ(PYDRV.LNFIRST(1, 1), 1);
    EXPECT_EQ(PYDRV.LNLAST(1, 1), 1);
    EXPECT_EQ(PYDRV.LNFIRST(1, 3), 0);
    EXPECT_EQ(PYDRV.LNLAST(1, 3), 1);
}

TEST_F(PyReport, NoRequestGivesTheHeadingsOnly) {
    int status = 0;
    PYREPORT(status);
    EXPECT_EQ(text(32), lines({"", "", "     * GENERATED P-Y CURVES *", "", "     NUMBER OF CURVES  :    0"}));
    EXPECT_EQ(text(17), lines({"     * GENERATED P-Y CURVES *", "         0"}));
}

TEST_F(PyReport, OneCurveAtTheEmbeddedCapLevel) {
    // Pile 1 with its head 2 ft below the ground surface (X = 24) under a cap 2 ft thick (cap zone
    // X = 0 to 24), cap width 36 in. Two requests inside the cap, one above it.
    CTLIN.CAPOPT = 1;
    CAPIN.CAPTX = 24.0;
    CAPIN.CAPWZ = 36.0;
    pile(1, 1, 24.0, -24.0);
    layOut(1);
    request(1, 1, 12.0);
    request(2, 1, 18.0);
    request(3, 1, -6.0);
    int status = 0;
    PYREPORT(status);
    EXPECT_EQ(PYMODE.PYPSTAT(1), 1);
    EXPECT_EQ(PYMODE.PYPSTAT(2), 2);
    EXPECT_EQ(PYMODE.PYPSTAT(3), 5);
    const std::string echo = text(32);
    const std::string capLevel = blanks(9) + "AT PILE CAP LEVEL, DEPTH  =      1.00 FT\n\n" + blanks(9) +
                                 "NUMBER OF POINTS ON CURVE =   17\n";
    EXPECT_NE(echo.find(capLevel), std::string::npos) << echo;
    // Listed once, on the cap pass, with the cap width.
    EXPECT_EQ(echo.find("EQ. DEPTH"), echo.rfind("EQ. DEPTH"));
    EXPECT_NE(echo.find("    36.000"), std::string::npos);
    const std::string further = blanks(9) + "AT PILE CAP LEVEL, DEPTH  =      1.50 FT\n\n" + blanks(9) +
                                "CURVE NOT GENERATED SINCE ONLY ONE CURVE \n" + blanks(9) +
                                "AT PILE CAP LEVEL CAN BE PRINTED \n";
    EXPECT_NE(echo.find(further), std::string::npos);
    EXPECT_NE(echo.find(blanks(9) + "IS ABOVE TOP OF PILE CAP," + blanks(7) + "0.00 FT\n"), std::string::npos);
}

TEST_F(PyReport, NoteAfterAListedDeflectionBelowTheSmallest) {
    // At y = 0 the soft clay takes the secant at 1e-14: 0.5 pu (y50 / 1e-14)^(2/3) / y50 with
    // pu = 317.28, y50 = 0.3, about 5.1055E+11.
    request(1, 1, 48.0, {0.3, 0.0});
    int status = 0;
    PYREPORT(status);
    const std::string note = lines({"", blanks(29) + "**** WARNING ****",
                                    blanks(5) + "DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM",
                                    blanks(5) + "USED A SOIL MODULUS OF   0.5106E+12"});
    const std::string echo = text(32);
    EXPECT_NE(echo.find("0.00000" + blanks(13) + "0.00000 \n" + note), std::string::npos) << echo;
}

TEST_F(PyReport, CurveTakesTheDiameterOfItsOwnSection) {
    // Pile 1 with a second section of 24 in below 120 in along the axis (X = 96). At X = 108 (9 ft
    // below the ground) the soft clay curve takes b = 24 in: pu = (3 + 0.03 * 108 / 5 + 0.5 * 108 / 24)
    // * 5 * 24 = 707.76 lb/in (below 9 c b = 1080), y50 = 2.5 * 0.01 * 24 = 0.6 in, so p = 353.88 at
    // y50 and p = pu at 10 y50. The head's 12 in would give pu = 488.88.
    PILESET.NSECT(1) = 2;
    SECTTAB.SECTBOT(1, 1) = 120.0;
    SECTTAB.SECTTOP(1, 2) = 120.0;
    SECTTAB.SECTBOT(1, 2) = 240.0;
    SECTTAB.SECTDIAM(1, 2, SectTab::TOP) = SECTTAB.SECTDIAM(1, 2, SectTab::BOT) = 24.0;
    setDepthSentinel(1);
    layOut(1);
    request(1, 1, 108.0, {0.6, 6.0});
    int status = 0;
    PYREPORT(status);
    EXPECT_EQ(status, 0);
    const std::string echo = text(32);
    EXPECT_NE(echo.find(blanks(14) + "9.00" + blanks(10) + "24.000"), std::string::npos) << echo;
    EXPECT_NE(echo.find(blanks(34) + "0.60000" + blanks(13) + "353.880 "), std::string::npos) << echo;
    EXPECT_NE(echo.find(blanks(34) + "6.00000" + blanks(13) + "707.760 "), std::string::npos) << echo;
}

}  // namespace
}  // namespace kaldo::test
