// Soil layers and property profiles of the input echo, and Table F.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "echo/echo.h"
#include "model/blocks.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

// The plane SI fixture with another control record (units, kip option) and other soil layers.
std::string planeWithSoils(int units, int kips, const std::string& layers) {
    std::string t = fixture("plane-si.inp");
    const std::string ctl = "2 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
    const std::size_t c = t.find(ctl);
    EXPECT_NE(c, std::string::npos);
    t.replace(c, ctl.size(),
              std::to_string(units) + " 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 " + std::to_string(kips) + " 0 0 0 0");
    const std::size_t from = t.find("SOIL LAYERS\n") + 12;
    const std::size_t to = t.find("GENERATED AXIAL CURVES");
    t.replace(from, to - from, layers);
    return t;
}

// Runs the soil step on an input, after the piles and sections it reads for the axial estimates, and
// returns what it wrote on the echo file.
// codes, when given, are the criterion codes of the layers, set after reading: the reader refuses a
// code outside 1 to 14, and the echo's handling of such a code is still shown.
std::string tableF(const WorkDir& dir, const std::string& input, int* statusOut = nullptr,
                   const std::vector<int>& codes = {}) {
    EXPECT_EQ(readModel(dir, input), 0);
    for (std::size_t l = 0; l < codes.size(); ++l) SOILIN.LCRITIN(static_cast<int>(l) + 1) = codes[l];
    echoPiles();
    echoSections();
    Capture echo(dir, 32, "case.echo");
    int status = 0;
    echoSoils(status);
    if (statusOut) *statusOut = status;
    return echo.since();
}

// A property row with no marks: 8 blanks, 31-character label, 12-character unit field, the two values
// in their 14-column fields 4 blanks apart, and the closing blank.
std::string row(const std::string& label, const std::string& unit, const std::string& top, const std::string& bottom) {
    EXPECT_EQ(label.size(), 31u) << label;
    EXPECT_EQ(unit.size(), 12u) << unit;
    EXPECT_EQ(top.size(), 14u) << top;
    EXPECT_EQ(bottom.size(), 14u) << bottom;
    return std::string(8, ' ') + label + unit + top + "    " + bottom + " \n";
}

const std::string HEADING = std::string(54, ' ') + " TOP OF LAYER    BOTTOM OF LAYER \n";
const std::string L_X = " X COORDINATE                  ";
const std::string L_GAMMA = " EFFECTIVE UNIT WEIGHT         ";
const std::string L_C = " UNDRAINED COHESION, C         ";
const std::string L_PHI = " FRICTION ANGLE                ";
const std::string L_K = " P-Y SUBGRADE MODULUS          ";
const std::string L_E50 = " STRAIN AT 50% STRESS          ";
const std::string L_SIDE = " ULTIMATE UNIT SIDE FRICTION   ";
const std::string L_TIP = " ULTIMATE UNIT TIP RESISTANCE  ";
const std::string ZERO14 = "       0.00000";
const std::string NOTES =
    "\n"
    "       Notes :  Program estimated values for listed parameters\n"
    "                if zero input values were entered:\n";
const std::string NOTE_P = "                (P) ULTIMATE UNIT SIDE FRICTION for Driven Piles\n";
const std::string NOTE_S = "                (S) ULTIMATE UNIT SIDE FRICTION for Drilled Shafts\n";
const std::string NOTE_R = "                (R) ULTIMATE UNIT TIP RESISTANCE for Driven Piles\n";
const std::string NOTE_T = "                (T) ULTIMATE UNIT TIP RESISTANCE for Drilled Shafts\n";

TEST(EchoSoils, Full3dEnglishKipsTableF) {
    WorkDir dir;
    const std::string got = tableF(dir, fixture("full3d.inp"));
    const std::string expected =
        "\n\n\n"
        "     * TABLE F *   SOIL DATA\n"
        "\n\n"
        "     SOILS INFORMATION\n"
        "\n"
        "         GROUND SURFACE          =      0.00000  FT\n"
        "\n"
        "         2 LAYER(S) OF SOIL\n"
        "\n"
        "         LAYER  1\n"
        "         THE SOIL IS A SOFT CLAY\n" +
        HEADING + row(L_X, "       (FT) ", ZERO14, "       20.0000") +
        row(L_GAMMA, "(KIP/FT**3) ", "     0.0600000", "     0.0600000") +
        row(L_C, "(KIP/FT**2) ", "       0.40000", "       0.60000") +
        row(L_E50, "            ", "     0.0200000", "   1.00000E-02") +
        // Pile 1 (driven) has a generated axial curve. The bottom of layer 1 reads the sand below, which
        // has no side friction: estimated, alpha c with c = 600 psf, psi = c / (gamma z) = 0.5.
        "        " + L_SIDE + "(KIP/FT**2) " + "       0.20000" + "    " + "       0.42426" + " (P)\n" +
        row(L_TIP, "(KIP/FT**2) ", ZERO14, ZERO14) +
        "\n"
        "         LAYER  2\n"
        "         THE SOIL IS A SAND\n" +
        HEADING + row(L_X, "       (FT) ", "       20.0000", "       80.0000") +
        row(L_GAMMA, "(KIP/FT**3) ", "     0.0624000", ZERO14) +
        row(L_PHI, "  (DEGREES) ", "       35.0000", ZERO14) +
        // The bottom row has no k: the sand estimate for a friction angle of 0 is 0, marked.
        "        " + L_K + "(KIP/IN**3) " + "     0.0900000" + "    " + ZERO14 + " (K)\n" +
        // Driven pile in sand: 0.8 gamma z tan(phi - 5 deg) (35 degrees at the top, 0 at the bottom) and,
        // the pile tips lying in this layer, gamma z Nq (Nq 40 and 8); gamma averaged from the ground.
        "        " + L_SIDE + "(KIP/FT**2) " + "       0.55460 (P)      -0.21435 (P)\n" + "        " + L_TIP +
        "(KIP/FT**2) " + "       48.0003 (R)       24.5760 (R)\n" + NOTES +
        "                (K) P-Y SUBGRADE MODULUS for Static Loading\n" + NOTE_P + NOTE_R;
    EXPECT_EQ(got, expected);
    closeModel();
}

TEST(EchoSoils, PlaneSiTableFWithEstimatedSandModulus) {
    WorkDir dir;
    const std::string got = tableF(dir, fixture("plane-si.inp"));
    // Sand above the water table (18 and 19 kN/m^3): k = ((0.4168 phi - 8.1254) phi - 83.664) x 271.447 at
    // 32 and 34 degrees (the pile arrangement, built before the soils, leaves pi in double precision for
    // the conversion of the friction angles).
    const std::string expected =
        "\n\n\n"
        "     * TABLE F *   SOIL DATA\n"
        "\n\n"
        "     SOILS INFORMATION\n"
        "\n"
        "         GROUND SURFACE          =      0.00000   M\n"
        "\n"
        "         1 LAYER(S) OF SOIL\n"
        "\n"
        "         LAYER  1\n"
        "         THE SOIL IS A SAND\n" +
        HEADING + row(L_X, "       ( M) ", ZERO14, "       20.0000") +
        row(L_GAMMA, "( KN/ M**3) ", "       18.0000", "       19.0000") +
        row(L_PHI, "  (DEGREES) ", "       32.0000", "       34.0000") + "        " + L_K + "( KN/ M**3) " +
        "       22564.4 (K)       33087.6 (K)\n" +
        // Drilled shafts with generated curves: gamma z beta (at the ground z is taken as 1 m: beta 1.2;
        // at 20 m beta = 1.5 - 0.135 sqrt(65.6 ft) = 0.406 with gamma 18.5), and 1530 kPa for a tip at
        // 30 to 36 degrees (the tips lie at 12.5 m).
        "        " + L_SIDE + "( KN/ M**2) " + "       21.6000 (S)       150.384 (S)\n" + "        " + L_TIP +
        "( KN/ M**2) " + "       1530.00 (T)       1530.00 (T)\n" + NOTES +
        "                (K) P-Y SUBGRADE MODULUS for Static Loading\n" + NOTE_S + NOTE_T;
    EXPECT_EQ(got, expected);
    closeModel();
}

TEST(EchoSoils, NoLayers) {
    WorkDir dir;
    const std::string got = tableF(dir, planeWithSoils(2, 0, "0\n"));
    EXPECT_EQ(got, "\n\n\n     * TABLE F *   SOIL DATA\n\n       NO SOIL LAYERS DEFINED\n");
    EXPECT_EQ(SOILLAY.NLAYER, 0);
    EXPECT_EQ(SOILPRF.NXP, 0);
    EXPECT_EQ(SOILPRF.NXG, 0);
    closeModel();
}

// Stiff clay with free water, English units in pounds: the top row has neither k nor E50. Strength
// 1500 psf = 10.42 psi lies in the second stiff-clay band (1000 to 2000 psf): static k 500, cyclic k
// 200 lb/in^3, E50 0.007.
TEST(EchoSoils, ClayEstimatesMarkedWithCyclicLine) {
    WorkDir dir;
    const std::string got = tableF(dir, planeWithSoils(1, 0,
                                                       "1\n"
                                                       "1 2\n"
                                                       "0.0 10.0\n"
                                                       "2 6\n"
                                                       "120.0 1500.0 0.0 0.0 0.0 0.0\n"
                                                       "120.0 1500.0 0.0 1000.0 0.0 0.005\n"));
    const std::string layer = got.substr(got.find("         LAYER  1\n"));
    const std::string expected =
        "         LAYER  1\n"
        "         THE SOIL IS A STIFF CLAY WITH FREE WATER\n" +
        HEADING + row(L_X, "       (FT) ", ZERO14, "       10.0000") +
        row(L_GAMMA, "(LBS/FT**3) ", "       120.000", "       120.000") +
        row(L_C, "(LBS/FT**2) ", "       1500.00", "       1500.00") + "        " + L_K + "(LBS/IN**3) " +
        "       500.000 (K)       1000.00 \n" + std::string(51, ' ') + "       200.000 (C) \n" + "        " + L_E50 +
        "            " + "   7.00000E-03 (E)   5.00000E-03 \n" +
        // The drilled shafts' side friction 0.55 c; their tips (12.5 ft) lie below the layer.
        "        " + L_SIDE + "(LBS/FT**2) " + "       825.000 (S)       825.000 (S)\n" +
        row(L_TIP, "(LBS/FT**2) ", ZERO14, ZERO14) + NOTES +
        "                (E) STRAIN AT 50% STRESS\n"
        "                (K) P-Y SUBGRADE MODULUS for Static Loading\n"
        "                (C) P-Y SUBGRADE MODULUS for Cyclic Loading\n" +
        NOTE_S;
    EXPECT_EQ(layer, expected);
    closeModel();
}

// One layer of every criterion code (1 to 14, and the codes 0 and 15 outside the range), each with
// every value given: top row 1..9, bottom row 11..19 (SI, so stored as read).
struct CodeCase {
    int code;
    bool cu, phi, e50, kpy, er, jrqd;  // columns the criterion keeps
    const char* sentence;
    std::vector<std::string> rows;     // rows between the unit weight and the side friction
};

const std::vector<CodeCase>& codeCases() {
    static const std::vector<CodeCase> cases = {
        {1, 1, 0, 1, 0, 0, 0, "THE SOIL IS A SOFT CLAY", {"UNDRAINED COHESION, C", "STRAIN AT 50% STRESS"}},
        {2, 1, 0, 1, 1, 0, 0, "THE SOIL IS A STIFF CLAY WITH FREE WATER",
         {"UNDRAINED COHESION, C", "P-Y SUBGRADE MODULUS", "STRAIN AT 50% STRESS"}},
        {3, 1, 0, 1, 0, 0, 0, "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER",
         {"UNDRAINED COHESION, C", "STRAIN AT 50% STRESS"}},
        {4, 0, 1, 0, 1, 0, 0, "THE SOIL IS A SAND", {"FRICTION ANGLE", "P-Y SUBGRADE MODULUS"}},
        {5, 0, 0, 0, 0, 0, 0, "THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER", {}},
        {6, 1, 0, 0, 0, 0, 0, "THE LAYER IS A VUGGY LIMESTONE", {"UNIAXIAL COMPRESSIVE STRENGTH"}},
        {7, 1, 1, 1, 1, 0, 0, "THE SOIL IS A SILT",
         {"UNDRAINED COHESION, C", "FRICTION ANGLE", "P-Y SUBGRADE MODULUS", "STRAIN AT 50% STRESS"}},
        {8, 0, 1, 0, 1, 0, 0, "THE SOIL IS A SAND USING API CRITERIA", {"FRICTION ANGLE", "P-Y SUBGRADE MODULUS"}},
        {9, 1, 0, 1, 0, 1, 1, "THE LAYER IS A WEAK ROCK",
         {"UNIAXIAL COMPRESSIVE STRENGTH", "YOUNG MODULUS,ER", "KRM", "RQD"}},
        {10, 1, 0, 1, 1, 0, 0, "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER, USING INITIAL K VALUE",
         {"UNDRAINED COHESION, C", "P-Y SUBGRADE MODULUS", "STRAIN AT 50% STRESS"}},
        {11, 0, 0, 0, 0, 0, 0, "THE SOIL IS A LIQUEFIED SAND", {}},
        {12, 1, 1, 1, 1, 1, 1, "THE SOIL IS AN ELASTIC SUBGRADE WITH MAXIMUM STRESS TRANSFER",
         {"MAXIMUM STRESS TRANSFER", "ELASTIC SUBGRADE MODULUS"}},
        {13, 1, 0, 1, 0, 0, 1, "THE SOIL IS A SOFT CLAY WITH USER DEFINED J",
         {"UNDRAINED COHESION, C", "STRAIN AT 50% STRESS", "J FACTOR"}},
        {14, 1, 0, 1, 1, 0, 1, "THE SOIL IS A MOD. SOFT CLAY WITH INITIAL K VALUE",
         {"UNDRAINED COHESION, C", "P-Y SUBGRADE MODULUS", "STRAIN AT 50% STRESS", "J FACTOR"}},
        {0, 1, 1, 1, 1, 1, 1, nullptr, {}},
        {15, 1, 1, 1, 1, 1, 1, nullptr, {}},
    };
    return cases;
}

std::vector<int> everyCode() {
    std::vector<int> codes;
    for (const CodeCase& c : codeCases()) codes.push_back(c.code);
    return codes;
}

std::string everyCodeInput() {
    std::ostringstream s;
    s << codeCases().size() << "\n";
    int l = 0;
    for (const CodeCase& c : codeCases()) {
        s << l + 1 << " " << (c.code >= 1 && c.code <= 14 ? c.code : 1) << "\n" << l << ".0 " << l + 1 << ".0\n2 10\n";
        s << "1 2 3 4 5 6 7 8 9 10\n11 12 13 14 15 16 17 18 19 20\n";
        ++l;
    }
    return s.str();
}

std::string trimmed(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

TEST(EchoSoils, ProfileColumnsKeptOrZeroedByCriterion) {
    WorkDir dir;
    tableF(dir, planeWithSoils(2, 0, everyCodeInput()), nullptr, everyCode());
    const auto& cases = codeCases();
    ASSERT_EQ(SOILLAY.NLAYER, static_cast<int>(cases.size()));
    EXPECT_EQ(SOILPRF.NXP, 2 * SOILLAY.NLAYER);
    EXPECT_EQ(SOILPRF.NXG, 2 * SOILLAY.NLAYER);
    for (int l = 1; l <= SOILLAY.NLAYER; ++l) {
        const CodeCase& c = cases[l - 1];
        SCOPED_TRACE("layer " + std::to_string(l) + ", code " + std::to_string(c.code));
        EXPECT_EQ(SOILLAY.LCRIT(l), c.code);
        EXPECT_EQ(SOILLAY.XTOP(l), l - 1.0);
        EXPECT_EQ(SOILLAY.XBOT(l), l);
        for (int r = 0; r < 2; ++r) {
            const int k = 2 * l - 1 + r;
            const double base = 10.0 * r;  // the bottom row's values are the top row's plus 10
            auto kept = [&](bool keep, double v) { return keep ? base + v : 0.0; };
            EXPECT_EQ(SOILPRF.XP(k), l - 1.0 + r);
            EXPECT_EQ(SOILPRF.XG(k), l - 1.0 + r);
            EXPECT_EQ(SOILPRF.GAMMA(k), base + 1);
            EXPECT_EQ(SOILPRF.CU(k), kept(c.cu, 2));
            EXPECT_EQ(SOILPRF.PHI(k), c.phi ? (base + 3) * RUNCONST.PIWORD / 180.0 : 0.0);
            EXPECT_EQ(SOILPRF.KPY(k), kept(c.kpy, 4));
            EXPECT_EQ(SOILPRF.ER(k), kept(c.er, 5));
            // Vuggy limestone always takes the single-precision 0.0005.
            EXPECT_EQ(SOILPRF.E50(k), c.code == 6 ? 0.0005000000237487257 : kept(c.e50, 6));
            EXPECT_EQ(SOILPRF.JRQD(k), kept(c.jrqd, 7));
            EXPECT_EQ(SOILPRF.FMAX(k), base + 8);
            EXPECT_EQ(SOILPRF.QMAX(k), base + 9);
        }
    }
    closeModel();
}

TEST(EchoSoils, RowsAndSentenceOfEachCriterion) {
    WorkDir dir;
    const std::string got = tableF(dir, planeWithSoils(2, 0, everyCodeInput()), nullptr, everyCode());
    // 16 layers do not fit the one-character count field.
    EXPECT_NE(got.find("\n         * LAYER(S) OF SOIL\n"), std::string::npos);
    // Split the table into layers: after each "LAYER  n" line, the sentence (if any), the column
    // heading, then the property rows (labels in columns 9 to 39, two values after them).
    std::istringstream in(got);
    std::string line;
    std::vector<std::string> sentences;
    std::vector<std::vector<std::string>> rows;
    bool afterLayer = false;
    while (std::getline(in, line)) {
        if (line.rfind("         LAYER", 0) == 0) {
            rows.emplace_back();
            sentences.emplace_back();
            afterLayer = true;
            continue;
        }
        if (rows.empty()) continue;
        if (afterLayer && line.rfind("         THE ", 0) == 0) sentences.back() = line.substr(9);
        afterLayer = false;
        if (line.size() >= 83 && !trimmed(line.substr(8, 31)).empty())
            rows.back().push_back(trimmed(line.substr(8, 31)));
    }
    const auto& cases = codeCases();
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t l = 0; l < cases.size(); ++l) {
        const CodeCase& c = cases[l];
        SCOPED_TRACE("code " + std::to_string(c.code));
        EXPECT_EQ(sentences[l], c.sentence ? c.sentence : "");
        std::vector<std::string> want = {"X COORDINATE", "EFFECTIVE UNIT WEIGHT"};
        want.insert(want.end(), c.rows.begin(), c.rows.end());
        want.push_back("ULTIMATE UNIT SIDE FRICTION");
        want.push_back("ULTIMATE UNIT TIP RESISTANCE");
        EXPECT_EQ(rows[l], want);
    }
    // Every value is given, so nothing is estimated and no note follows.
    EXPECT_EQ(got.find("Notes"), std::string::npos);
    closeModel();
}

// Weak rock in English units: strength and rock modulus stay in psi (F/L2), shown in kips with the
// kip option; krm and RQD as given.
TEST(EchoSoils, WeakRockRowsInKipsPerSquareInch) {
    WorkDir dir;
    const std::string got = tableF(dir, planeWithSoils(1, 1,
                                                       "1\n"
                                                       "1 9\n"
                                                       "0.0 10.0\n"
                                                       "2 7\n"
                                                       "140.0 2500.0 0.0 0.0 400000.0 0.0005 60.0\n"
                                                       "140.0 3000.0 0.0 0.0 500000.0 0.0005 80.0\n"));
    const std::string layer = got.substr(got.find("         THE LAYER IS A WEAK ROCK\n"));
    const std::string KIP_IN2 = "(KIP/IN**2) ", KIP_FT2 = "(KIP/FT**2) ";
    const std::string expected =
        "         THE LAYER IS A WEAK ROCK\n" + HEADING + row(L_X, "       (FT) ", ZERO14, "       10.0000") +
        row(L_GAMMA, "(KIP/FT**3) ", "       0.14000", "       0.14000") +
        row(" UNIAXIAL COMPRESSIVE STRENGTH ", KIP_IN2, "       2.50000", "       3.00000") +
        row(" YOUNG MODULUS,ER              ", KIP_IN2, "       400.000", "       500.000") +
        row(" KRM                           ", "            ", "   5.00000E-04", "   5.00000E-04") +
        row(" RQD                           ", "        (%) ", "       60.0000", "       80.0000") +
        // Drilled shafts: a tenth of the rock strength, 250 and 300 psi.
        "        " + L_SIDE + KIP_FT2 + "       36.0000 (S)       43.2000 (S)\n" + row(L_TIP, KIP_FT2, ZERO14, ZERO14) +
        NOTES + NOTE_S;
    EXPECT_EQ(layer, expected);
    closeModel();
}

// An elastic subgrade without strength: the short sentence and no stress-transfer row. Its side friction
// is the user's value only: the estimate shown for the drilled shafts is that value, 0.
TEST(EchoSoils, ElasticSubgradeWithoutStrength) {
    WorkDir dir;
    const std::string got = tableF(dir, planeWithSoils(2, 0,
                                                       "1\n"
                                                       "1 12\n"
                                                       "0.0 10.0\n"
                                                       "2 4\n"
                                                       "18.0 0.0 0.0 5000.0\n"
                                                       "18.0 0.0 0.0 7000.0\n"));
    const std::string layer = got.substr(got.find("         LAYER  1\n"));
    const std::string expected =
        "         LAYER  1\n         THE SOIL IS AN ELASTIC SUBGRADE\n" + HEADING +
        row(L_X, "       ( M) ", ZERO14, "       10.0000") +
        row(L_GAMMA, "( KN/ M**3) ", "       18.0000", "       18.0000") +
        row(" ELASTIC SUBGRADE MODULUS      ", "( KN/ M**3) ", "       5000.00", "       7000.00") +
        "        " + L_SIDE + "( KN/ M**2) " + ZERO14 + " (S)" + ZERO14 + " (S)\n" +
        row(L_TIP, "( KN/ M**2) ", ZERO14, ZERO14) + NOTES + NOTE_S;
    EXPECT_EQ(layer, expected);
    closeModel();
}

// ---- Unit side friction and tip resistance estimated for the axial curves ------------------------

// Two piles asking for generated axial curves, 30 ft long: pile 1 driven (set 1), pile 2 a drilled
// shaft (set 2). Soft clay with no ultimate values given (120 pcf, E50 0.01): layer 1 0 to 20 ft at
// 1000 psf, layer 2 20 to 60 ft from 1000 to 1500 psf. English, pounds.
std::string twoPileTypes(const std::string& layers) {
    return "Two pile types\nsecond title line\nCONTROL RECORD\n1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
           "PILE CAP\n0.0 0.0 0.0 0.0 0.0 0\nLOAD CASES\n0 0 0 0 0\nLOAD COMBINATIONS\n0 0 0 0 0\n"
           "DISTRIBUTED LOADS\n0\nPILE GROUPS\n2\n"
           "2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 -3.0 0.0 0.0 90.0 0.0 0.0\n"
           "2 2 2 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 3.0 0.0 0.0 90.0 0.0 0.0\n"
           "PILE PROPERTIES\n2\n1 1\n10 30.0 1\n0.0 30.0 1\n2 1\n10 30.0 2\n0.0 30.0 1\n"
           "CROSS SECTIONS\n1\n1 0 0 0\n'Pile'\n24.0 0 0 0 0 0 0 0\n"
           "1.0e6 36.0 2549.0 2549.0 0.0 5.0e10 0.0 0.0 29.0e6 0.0 0\n0 0 0.0 0 0\nnone\n"
           "SOIL LAYERS\n" +
           layers +
           "GENERATED AXIAL CURVES\n1\n1\nGENERATED TORQUE CURVES\n1\n1\n"
           "SECTION MOMENT CURVATURE\n1\n1 0\n1 0\n";
}

// Driven estimates marked (P) and (R) on the row, drilled-shaft ones (S) and (T) on a second line.
// Side: alpha c (alpha = 0.5 / psi^0.25 with psi = c / (gamma z) = 100 at the surface, where z is
// taken as 1 inch; 0.5 / sqrt(psi) below) and 0.55 c; the bottom of layer 1 reads the soil below it.
// Tip (layer 2 only, which holds the tips): 9 c for both.
TEST(EchoSoils, AxialCapacityEstimatesForDrivenPilesAndDrilledShafts) {
    WorkDir dir;
    int status = 0;
    const std::string got = tableF(dir,
                                            twoPileTypes("2\n"
                                                         "1 1\n0.0 20.0\n2 6\n"
                                                         "120.0 1000.0 0.0 0.0 0.0 0.01\n"
                                                         "120.0 1000.0 0.0 0.0 0.0 0.01\n"
                                                         "2 1\n20.0 60.0\n2 6\n"
                                                         "120.0 1000.0 0.0 0.0 0.0 0.01\n"
                                                         "120.0 1500.0 0.0 0.0 0.0 0.01\n"),
                                            &status);
    ASSERT_EQ(status, 0);
    const std::string P = " (P)", S = " (S)", R = " (R)", T = " (T)", B51(51, ' ');
    const std::string PSF = "(LBS/FT**2) ";
    const std::string layer1 = "        " + L_SIDE + PSF + "       158.114" + P + "       774.597" + P + "\n" + B51 +
                               "       550.000" + S + "       550.000" + S + "\n" + row(L_TIP, PSF, ZERO14, ZERO14);
    const std::string layer2 = "        " + L_SIDE + PSF + "       774.597" + P + "       1643.17" + P + "\n" + B51 +
                               "       550.000" + S + "       825.000" + S + "\n" + "        " + L_TIP + PSF +
                               "       9000.00" + R + "       13500.0" + R + "\n" + B51 + "       9000.00" + T +
                               "       13500.0" + T + "\n";
    EXPECT_NE(got.find(layer1 + "\n         LAYER  2\n"), std::string::npos) << got;
    const std::string notes = NOTES + NOTE_P + NOTE_S + NOTE_R + NOTE_T;
    EXPECT_NE(got.find(layer2 + notes), std::string::npos) << got;
    EXPECT_EQ(got.substr(got.size() - notes.size()), notes);
    closeModel();
}

// Layers out of order put the bottom of layer 1 below the last row of the profiles: its side friction
// lookup fails (status 25) and the table ends before the row.
TEST(EchoSoils, AxialEstimateBeyondTheProfileStopsTheTable) {
    WorkDir dir;
    int status = 0;
    const std::string got = tableF(dir,
                                            twoPileTypes("2\n"
                                                         "1 1\n0.0 100.0\n2 6\n"
                                                         "120.0 1000.0 0.0 0.0 0.0 0.01\n"
                                                         "120.0 1000.0 0.0 0.0 0.0 0.01\n"
                                                         "2 1\n20.0 50.0\n2 6\n"
                                                         "120.0 1000.0 0.0 0.0 0.0 0.01\n"
                                                         "120.0 1500.0 0.0 0.0 0.0 0.01\n"),
                                            &status);
    EXPECT_EQ(status, 25);
    const std::string last = row(L_E50, "            ", "   1.00000E-02", "   1.00000E-02");
    EXPECT_EQ(got.substr(got.size() - last.size()), last);
    EXPECT_EQ(got.find("LAYER  2"), std::string::npos);
    closeModel();
}

}  // namespace
}  // namespace kaldo::test
