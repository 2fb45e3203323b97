// The input echo's frame lines, pile cap options (Table B) and load and control parameters (Table C),
// and the copy of a case's or combination's run parameters into CTLPAR. Expected report lines are
// composed from the layouts: blanks, field widths, unit labels and values worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "echo/echo.h"
#include "loads/loads.h"
#include "model/blocks.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

std::string pad(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// Report lines, each ended.
std::string lines(std::initializer_list<std::string> ls) {
    std::string out;
    for (const std::string& l : ls) out += l + "\n";
    return out;
}

// n lines of text starting with the first line that begins with first.
std::string linesFrom(const std::string& text, const std::string& first, int n) {
    std::size_t at = text.rfind(first, 0) == 0 ? 0 : text.find("\n" + first);
    if (at == std::string::npos) return "<no line beginning \"" + first + "\">";
    if (text[at] == '\n') ++at;
    std::size_t end = at;
    for (int i = 0; i < n && end != std::string::npos; ++i) {
        end = text.find('\n', end);
        if (end != std::string::npos) ++end;
    }
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// The sections after the pile cap with nothing in them: no loads, no piles, no soil.
const std::string kNoLoads = "LOAD CASES\n0 0 0 0 0\nLOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOADS\n0\n";
const std::string kNoModel =
    "PILE GROUPS\n0\nPILE PROPERTIES\n0\nCROSS SECTIONS\n0\nSOIL LAYERS\n0\n"
    "GENERATED AXIAL CURVES\n0\nGENERATED TORQUE CURVES\n0\n";
const std::string kNoFlags = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";

// A whole input: title, control record, cap record(s), the load sections and an empty model.
std::string input(const std::string& control, const std::string& cap, const std::string& loads = kNoLoads) {
    return "Echo of loads\nsecond title line\nCONTROL RECORD\n" + control + "\nPILE CAP\n" + cap + "\n" + loads +
           kNoModel;
}

// One load case: integer run parameters, reals, name, options with the point switch, the print and
// switch record, then its counted lists (concentrated loads, distributed entries, stiffness values and
// the point records) as given.
std::string loadCase(const std::string& par, const std::string& reals, const std::string& name, const std::string& opt,
                     const std::string& rec5, const std::string& lists) {
    return par + "\n" + reals + "\n" + name + "\n" + opt + "\n" + rec5 + "\n0\n" + kNoFlags + lists;
}

const std::string kNoCombinations = "LOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOADS\n0\n";

const std::string kControl3DEnglish = "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
const std::string kControl3DKips = "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0";
const std::string kControlPlaneSI = "2 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
const std::string kNoCap = "0 0 0 0 0 0";

// Runs the three steps on a model read in dir and returns what they wrote.
std::string echoOf(const WorkDir& dir) {
    Capture echo(dir, 32, "case.echo");
    echoFrame();
    echoCapOptions();
    echoLoads();
    return echo.since();
}

// ---------------------------------------------------------------------------------------------------
// Frame lines.

const std::string kCaption = sp(16) + "*****" + sp(5) + "INPUT INFORMATION" + sp(5) + "*****";

TEST(EchoFrame, ThreeDimensionalEnglishRunWithCurveNotes) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    Capture echo(dir, 32, "case.echo");
    echoFrame();
    EXPECT_EQ(echo.since(),
              lines({"", "", "", "", "", "", kCaption, "", "",
                     "     " + pad("Full three-dimensional input: every optional section", 80), "",
                     "     ANALYSIS TYPE = 3D ANALYSIS", "",
                     "     GENERATE LOAD-DISP (AND T-R) CURVES BASED ON SOIL PROFILE", "",
                     "     EXTEND INTERPOLATION FOR L-DP (AND T-R) CURVES", "", "     UNITS SYSTEM  = ENGL"}));
    closeModel();
}

TEST(EchoFrame, PlaneSiRun) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("plane-si.inp")), 0);
    Capture echo(dir, 32, "case.echo");
    echoFrame();
    EXPECT_EQ(echo.since(), lines({"", "", "", "", "", "", kCaption, "", "",
                                   "     " + pad("Plane input in SI units: two rows of three piles", 80), "",
                                   "     ANALYSIS TYPE = 2D ANALYSIS", "", "     UNITS SYSTEM  = METR"}));
    closeModel();
}

TEST(EchoFrame, BatterDepthNoteAndGenericUnits) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, input("3 2 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0", kNoCap)), 0);
    Capture echo(dir, 32, "case.echo");
    echoFrame();
    EXPECT_EQ(linesFrom(echo.since(), "     ANALYSIS TYPE", 5),
              lines({"     ANALYSIS TYPE = 2D ANALYSIS", "", "     ADJUST DEPTH FOR BATTER PILES", "",
                     "     UNITS SYSTEM  = OPEN"}));
    closeModel();
}

// ---------------------------------------------------------------------------------------------------
// Table B and the effective cap width.

const std::string kTableB = lines({"", "", "", "     * TABLE B *  PILE CAP OPTIONS", ""});
std::string dims(const std::string& label, const std::string& ly, const std::string& wz, const std::string& tx) {
    return lines({"     LENGTH,YY    ( " + label + " ) = " + ly, "     WIDTH, ZZ    ( " + label + " ) = " + wz,
                  "     THICKNESS,XX ( " + label + " ) = " + tx});
}
const std::string kNotConsidered =
    lines({"", "     * PILE CAP DIMENSIONS ARE NOT CONSIDERED", "       FOR THE PILE GROUP ANALYSIS ", ""});
const std::string kEmbedded = lines({"", "     * PILE CAP IS EMBEDDED AND PASSIVE EARTH",
                                     "       RESISTANCE IN FRONT OF PILE CAP WILL BE CONSIDERED", ""});

struct CapCase {
    const char* name;
    std::string control;
    std::string cap;  // cap record, and the embedded-cap record when the option is 2
    std::string tableB;
    double capwz;  // effective width afterwards, internal units (inches in English runs)
};

TEST(EchoCap, TableBForEachCapOptionAndTheEffectiveWidth) {
    // General numbers, 12 wide with 4 significant digits: 3 ft -> "   3.000    ", 20000 ft -> exponent
    // form with one digit before the point.
    const std::string g3 = "   3.000    ", g4 = "   4.000    ", g1 = "   1.000    ", g0 = "   0.000    ";
    const std::vector<CapCase> cases = {
        {"plane, no option, no dimensions: no table", kControlPlaneSI, "0 0 0 0 0 0", "", 0.0},
        {"plane, no option, dimensions: width kept", kControlPlaneSI, "3 4 1 0 0 0",
         kTableB + dims(" M", g3, g4, g1) + kNotConsidered, 4.0},
        {"plane, embedded with diameter: diameter", "2 2 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "3 4 1 2.5 0 0",
         kTableB + dims(" M", g3, g4, g1) + lines({"     EQ. DIAMETER (  M ) =    2.500    "}) + kEmbedded, 2.5},
        // sqrt(36^2 + 48^2) = 60 inches.
        {"3-D, no option: plan diagonal", kControl3DEnglish, "3 4 1 0 0 0",
         kTableB + dims("FT", g3, g4, g1) + kNotConsidered, 60.0},
        {"3-D, embedded with diameter: diameter replaces the diagonal", "1 3 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
         "3 4 1 2 0 0",
         kTableB + dims("FT", g3, g4, g1) + lines({"     EQ. DIAMETER ( FT ) =    2.000    "}) + kEmbedded, 24.0},
        {"3-D, equivalent spring from soil parameters", "1 3 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
         "3 4 1 0 0 0\n1 1 8 0 0 0",
         kTableB + dims("FT", g3, g4, g1) + kEmbedded +
             lines({"     - USING EQUIVALENT LATERAL SPRING", "       INCREMENTS =     8 ",
                    "     - USE FHD MODEL BASED ON SOIL PARAMETERS"}),
         60.0},
        {"3-D, equivalent load from the soil data", "1 3 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
         "3 4 1 0 0 0\n0 0 8 0 0 0",
         kTableB + dims("FT", g3, g4, g1) + kEmbedded +
             lines({"     - USING EQUIVALENT LATERAL LOAD", "     - USE SOIL MODEL FROM SOIL DATA"}),
         60.0},
        // Width 0: the diagonal is the length, 20000 ft = 240000 in.
        {"3-D, equivalent load with the given model, long cap", "1 3 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
         "20000 0 1 0 0 0\n0 2 0 100 2000 0.5",
         kTableB + dims("FT", "  2.0000E+04", g0, g1) + kEmbedded +
             lines({"     - USING EQUIVALENT LATERAL LOAD", "     - USE FHD MODEL, PARAMETERS:    ",
                    "       K50    (LBS/IN/IN) =    100.0       ", "       F ULT  (LBS/IN)    =    2000.       ",
                    "       Y MAX  (IN)        =   0.5000    "}),
         240000.0},
    };
    for (const CapCase& c : cases) {
        WorkDir dir;
        ASSERT_EQ(readModel(dir, input(c.control, c.cap)), 0) << c.name;
        Capture echo(dir, 32, "case.echo");
        echoCapOptions();
        EXPECT_EQ(echo.since(), c.tableB) << c.name;
        EXPECT_DOUBLE_EQ(CAPIN.CAPWZ, c.capwz) << c.name;
        closeModel();
    }
}

// ---------------------------------------------------------------------------------------------------
// Table C: load cases.

TEST(EchoLoads, ThreeDimensionalConcentratedLoadAndItsEquivalentAtTheOrigin) {
    // One load in kips: X 10, Y 3, Z 4, own moments X 5, Y 6, Z 7 kip-in (stored Z, Y, X) at
    // (1, 2, 3) ft = (12, 24, 36) in; scale 2. At the origin, in lb and in:
    //   MX = 5000 + 24*4000 - 36*3000 = -7000, MY = 6000 + 36*10000 - 12*4000 = 318000,
    //   MZ = 7000 + 12*3000 - 24*10000 = -197000; all forces and moments times 2.
    const std::string loads = "LOAD CASES\n1 0 0 0 0\n" +
                              loadCase("0 0 0 1 0 100 100", "1.0E-5 1.0E-5 0.1 0.01", "Cap load", "2 0 0 0 0 0 0 0",
                                       "0 1 2.0 0 0 0 0 0 0",
                                       "1\n10000 3000 7000 4000 6000 5000 1 2 3\n0\n0\n") +
                              kNoCombinations;
    WorkDir dir;
    ASSERT_EQ(readModel(dir, input(kControl3DKips, kNoCap, loads)), 0);
    const std::string out = echoOf(dir);
    EXPECT_EQ(linesFrom(out, "     LOAD CASE    :", 20),
              lines({"     LOAD CASE    :     1 ", "     CASE NAME    : " + pad("Cap load", 80),
                     "     LOAD TYPE    : " + pad("Seismic, EQ", 32), "     SCALE FACTOR :       2.0000 ", "",
                     "     * CONCENTRATED LOADS *", "",
                     "    NL  VERT.LOAD HR.LOAD Y HR.LOAD Z  MOMENT X  MOMENT Y  MOMENT Z"
                     "   COORD X   COORD Y   COORD Z",
                     sp(11) + "KIP" + sp(7) + "KIP" + sp(7) + "KIP" + sp(6) + "KIP-IN" + sp(4) + "KIP-IN" + sp(4) +
                         "KIP-IN" + sp(6) + "FT" + sp(8) + "FT" + sp(8) + "FT",
                     "     1 " "      10.0      3.00      4.00      5.00      6.00      7.00      1.00      2.00"
                     "      3.00 ",
                     "", "", "     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *", "",
                     sp(11) + " VER.LOAD X,KIPHOR.LOAD Y,KIPHOR.LOAD Z,KIP",
                     sp(8) + sp(11) + "20.0000" + sp(11) + "6.00000" + sp(11) + "8.00000 ", "",
                     sp(11) + " MOMENT X,KIP-IN MOMENT Y,KIP-IN MOMENT Z,KIP-IN",
                     sp(8) + sp(10) + "-14.0000" + sp(11) + "636.000" + sp(10) + "-394.000 ", ""}));
    closeModel();
}

TEST(EchoLoads, PlaneConcentratedLoadAndItsEquivalentAtTheOrigin) {
    // Vertical 500 kN, horizontal 50 kN, moment 10 kN-m at X 0, Y 0.5 m: MZ = 10 - 0.5*500 = -240.
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("plane-si.inp")), 0);
    const std::string out = echoOf(dir);
    EXPECT_EQ(linesFrom(out, "     * CONCENTRATED LOADS *", 11),
              lines({"     * CONCENTRATED LOADS *", "",
                     "       NL     VERT.LOAD     HOR.LOAD      MOMENT      COORD X      COORD Y",
                     sp(17) + " KN" + sp(10) + " KN" + sp(9) + " KN- M" + sp(10) + " M" + sp(10) + " M",
                     "        1       500.000      50.0000      10.0000      0.00000      0.50000 ", "", "",
                     "     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *", "",
                     sp(13) + " VER.LOAD X, KN HOR.LOAD Y, KN MOMENT, KN- M",
                     sp(8) + sp(11) + "500.000" + sp(11) + "50.0000" + sp(10) + "-240.000 "}));
    closeModel();
}

TEST(EchoLoads, SpecifiedDisplacementsAndLoadsInThreeDimensions) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    // Case 2 gives loads on every degree of freedom except the rotation about Z (0.5 rad). Distinct
    // values on the stored components X, Y, rotation Z, Z, rotation Y, rotation X show which one each
    // line reads; X becomes a given displacement.
    LCSD.KDOF(2, 1) = 0;
    LCSD.SDV(2, 1) = 0.25;
    LCSD.SDV(2, 8) = 4000.0;   // load Z
    LCSD.SDV(2, 10) = 5000.0;  // moment Y
    LCSD.SDV(2, 12) = 3000.0;  // moment X
    const std::string out = echoOf(dir);
    const std::string dof = "     - DOF ";
    EXPECT_EQ(linesFrom(out, "     * SPECIFIED DISPLACEMENTS/LOADS *", 11),
              lines({"     * SPECIFIED DISPLACEMENTS/LOADS *", "",
                     dof + "1 ," + sp(6) + "VERT. DISP, IN" + sp(10) + "      0.25000 ",
                     dof + "2 ," + sp(6) + "HOR.LOAD Y,KIP" + sp(10) + "      2.00000 ",
                     dof + "3 ," + sp(6) + "HOR.LOAD Z,KIP" + sp(10) + "      4.00000 ",
                     dof + "4 ," + sp(6) + "  MOMENT X,KIP-IN" + sp(4) + "      3.00000 ",
                     dof + "5 ," + sp(6) + "  MOMENT Y,KIP-IN" + sp(4) + "      5.00000 ",
                     dof + "6 ," + sp(6) + "ROTATION Z,RAD" + sp(10) + "      0.50000 ",
                     "     - LOCATION       COORD. X, FT" + sp(10) + "      0.00000 ",
                     "     - LOCATION       COORD. Y, FT" + sp(10) + "      3.00000 ",
                     "     - LOCATION       COORD. Z, FT" + sp(10) + "      4.00000 "}));
    closeModel();
}

TEST(EchoLoads, SpecifiedDisplacementsAndLoadsInThePlane) {
    // Displacement X 0.25 m, load Y 25 kN, rotation 0.5 rad at (1.5, -2.0) m.
    const std::string loads = "LOAD CASES\n1 0 0 0 0\n" +
                              loadCase("0 0 0 1 0 100 100", "1.0E-5 1.0E-5 0.1 0.01", "Pushed point", "0 0 0 0 0 0 0 1",
                                       "0 1 1.0 0 0 0 0 0 0",
                                       "0\n0\n0\n0 1 0 0 0 0\n0.25 0 0 25.0 0.5 0\n0 0 0 0 0 0\n1.5 -2.0 0\n") +
                              kNoCombinations;
    WorkDir dir;
    ASSERT_EQ(readModel(dir, input(kControlPlaneSI, kNoCap, loads)), 0);
    const std::string out = echoOf(dir);
    EXPECT_EQ(linesFrom(out, "     * SPECIFIED DISPLACEMENTS/LOADS *", 8),
              lines({"     * SPECIFIED DISPLACEMENTS/LOADS *", "",
                     "     - DOF 1 ,      VERT. DISP,  M" + sp(10) + "      0.25000 ",
                     "     - DOF 2 ,      HOR. LOAD , KN" + sp(10) + "      25.0000 ",
                     "     - DOF 3 ,       ROTATION, RAD" + sp(10) + "      0.50000 ",
                     "     - LOCATION       COORD. X,  M" + sp(10) + "      1.50000 ",
                     "     - LOCATION       COORD. Y,  M" + sp(10) + "     -2.00000 ", ""}));
    closeModel();
}

TEST(EchoLoads, DistributedLoadEntriesAndTheGlobalAxisNote) {
    const std::string note =
        "     NOTE: FOR GLOBAL LOADING, AXIAL COMPONENT IS CONSIDERED AS CONCENTRATED LOAD AT PILE HEAD";
    struct Variant {
        int axis, kdlaxhd;
        const char* axes;
        std::string after;  // the line after the empty line that follows the entries
    };
    for (const Variant& v : {Variant{1, 0, "GLOBAL", ""}, Variant{1, 1, "GLOBAL", note}, Variant{2, 1, "LOCAL ", ""}}) {
        WorkDir dir;
        ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
        // Case 1: piles 1 to 2 step 1, set 1 with factor 1.0 along y, no set along z.
        LCDL.DLAXIS(1, 1) = v.axis;
        LCOPT(1, 7) = v.kdlaxhd;
        const std::string out = echoOf(dir);
        EXPECT_EQ(linesFrom(out, "     * DISTRIBUTED LOADS *", 6),
                  lines({"     * DISTRIBUTED LOADS *", "",
                         "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y     SET_Z    FACTOR_Z",
                         sp(5) + "   1" + sp(3) + v.axes + "       1" + sp(2) + "       2" + sp(2) + "       1" +
                             sp(2) + sp(6) + "       1" + "        1.0000" + "       0" + "        0.0000" + " ",
                         "", v.after}))
            << "axis " << v.axis << ", KDLAXHD " << v.kdlaxhd;
        closeModel();
    }
}

// A three-dimensional English case in the stiffness estimation mode (KMODE 11) with the stiffness list
// given, and a combination of it; every run parameter has its own value.
std::string estimationInput(const std::string& control, const std::string& stiffness) {
    return input(control, kNoCap,
                 "LOAD CASES\n1 0 0 0 0\n" +
                     loadCase("0 0 3 1 7 40 60", "1.0E-4 2.0E-4 0.2 0.02", "Stiffness estimation", "5 11 0 0 0 0 0 0",
                              "2 4 1.5 1 0.003 0.004 1 0 1", "0\n0\n" + stiffness) +
                     "LOAD COMBINATIONS\n1 0 0 0 0\n0 0 2 2 9 30 70\n3.0E-4 4.0E-4 0.3 0.03\nFactored estimation\n"
                     "0.85 0.7 1\n1 3 1 0.005 0.006 2 0 3\n0\n" +
                     kNoFlags + "1\n1 1.5\nDISTRIBUTED LOADS\n0\n");
}

TEST(EchoLoads, DefaultStiffnessLevelsAreStoredAndEchoed) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, estimationInput(kControl3DEnglish, "0\n")), 0);
    const std::string out = echoOf(dir);
    // Ten levels: 0.1 in single precision, then log10(2) ... log10(10).
    ASSERT_EQ(LCCNT(1, 3), 10);
    EXPECT_EQ(FSDDAT.FSDV(1, 1), 0.10000000149011612);
    const double log10k[] = {0.30102999566398120, 0.47712125471966244, 0.60205999132796240, 0.69897000433601886,
                             0.77815125038364363, 0.84509804001425684, 0.90308998699194354, 0.95424250943932487};
    for (int k = 2; k <= 9; ++k) EXPECT_NEAR(FSDDAT.FSDV(1, k), log10k[k - 2], 1e-15) << "level " << k;
    EXPECT_EQ(FSDDAT.FSDV(1, 10), 1.0);
    auto row = [](const char* n, const char* v) { return std::string("     ") + n + sp(4) + v + " "; };
    EXPECT_EQ(linesFrom(out, "     * DATA FOR FOUNDATION STIFFNESS *", 17),
              lines({"     * DATA FOR FOUNDATION STIFFNESS *",
                     "     COMPUTED FOR EQUIVALENT      CONCENTRATED LOAD AT ORIGIN",
                     "", "", "     * FOUNDATION STIFFNESS LOAD LEVELS *", "", "       NL       LOAD LEVEL",
                     row("   1", "      0.10000"), row("   2", "      0.30103"), row("   3", "      0.47712"),
                     row("   4", "      0.60206"), row("   5", "      0.69897"), row("   6", "      0.77815"),
                     row("   7", "      0.84510"), row("   8", "      0.90309"), row("   9", "      0.95424"),
                     row("  10", "      1.00000")}));
    closeModel();
}

TEST(EchoLoads, StiffnessDataInShortAndLongForm) {
    const std::string head = "     * DATA FOR FOUNDATION STIFFNESS *";
    const std::string level1 = "        1" + sp(4) + "      0.50000 ";
    std::string twelve = "12\n", twelveRows;
    for (int i = 1; i <= 12; ++i) {
        twelve += "0.5\n";
        twelveRows += "       " + std::string(i < 10 ? " " : "") + std::to_string(i) + sp(4) + "      0.50000 \n";
    }
    struct Form {
        const char* name;
        std::string control, stiffness, block;
    };
    const std::vector<Form> forms = {
        {"12 values: short form, 12 load levels", kControl3DEnglish, twelve,
         lines({head, "     COMPUTED FOR EQUIVALENT      CONCENTRATED LOAD AT ORIGIN", "", "",
                "     * FOUNDATION STIFFNESS LOAD LEVELS *", "", "       NL       LOAD LEVEL"}) +
             twelveRows},
        // 13 values: level 0.5; target basis, degree of freedom 2, targets 0 0.25 0 0 0 0, tolerance 5 %,
        // 10 iterations, axial loads, whole load scaled.
        {"13 values, target Y with axial loads", kControl3DEnglish,
         "13\n0.5\n1\n2\n0\n0.25\n0\n0\n0\n0\n5\n10\n1\n0\n",
         lines({head, "", "     - CONSIDER AXIAL LOADS IN PILES", "", "     - BASED ON TARGET DEFLECTION   ", "",
                "       DISPLACEMENT Y =       0.25000 IN ", "       TOLERANCE (%)  =       5.0000 ",
                "       ITERATIONS     =    10 ", "", "     * FOUNDATION STIFFNESS DISPLACEMENT LEVELS *", "",
                "       NL       DISP. LEVEL", level1})},
        // Plane: degree of freedom 3 is the rotation about Z, whose target is the sixth (0.75).
        {"13 values, plane rotation target", kControlPlaneSI, "13\n0.5\n1\n3\n0\n0\n0.125\n0\n0\n0.75\n2\n5\n0\n0\n",
         lines({head, "", "     - BASED ON TARGET DEFLECTION   ", "", "       ROTATION Z     =       0.75000 ",
                "       TOLERANCE (%)  =       2.0000 ", "       ITERATIONS     =     5 ", "",
                "     * FOUNDATION STIFFNESS DISPLACEMENT LEVELS *", "", "       NL       DISP. LEVEL", level1})},
        {"13 values, total load basis", kControl3DEnglish, "13\n0.5\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n",
         lines({head, "", "     - BASED ON TOTAL APPLIED LOAD  ", "", "     * FOUNDATION STIFFNESS LOAD LEVELS *", "",
                "       NL       LOAD LEVEL", level1})},
    };
    for (const Form& f : forms) {
        WorkDir dir;
        ASSERT_EQ(readModel(dir, estimationInput(f.control, f.stiffness)), 0) << f.name;
        const std::string out = echoOf(dir);
        const int n = static_cast<int>(std::count(f.block.begin(), f.block.end(), '\n'));
        EXPECT_EQ(linesFrom(out, head, n + 2), f.block + lines({"", ""})) << f.name;
        closeModel();
    }
}

TEST(EchoLoads, NoStiffnessDataWithoutAStiffnessMode) {
    // Case 2 of the fixture lists two stiffness values but runs as one ordinary analysis.
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    EXPECT_EQ(echoOf(dir).find("FOUNDATION STIFFNESS"), std::string::npos);
    EXPECT_EQ(LCCNT(2, 3), 2);
    closeModel();
}

TEST(EchoLoads, SkippedCaseIsEchoedInFullWithItsNote) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("plane-si.inp")), 0);
    LCCNT(1, 8) = 1;
    const std::string out = echoOf(dir);
    EXPECT_EQ(linesFrom(out, "     SCALE FACTOR", 4),
              lines({"     SCALE FACTOR :       1.0000 ", "     NOTE: LOAD CASE WILL NOT BE ANALYZED", "",
                     "     * CONCENTRATED LOADS *"}));
    closeModel();
}

const std::string kControlHead = "     * CONTROL PARAMETERS *";
std::string param(const std::string& text, int gap, const std::string& value) {
    return sp(9) + text + sp(gap) + " = " + value;
}

TEST(EchoLoads, RunParametersOfACaseAndOfACombination) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, estimationInput(kControl3DEnglish, "0\n")), 0);
    const std::string out = echoOf(dir);
    // Case: static; alternative tolerances, axial variation and EI of the previous iteration on; every
    // fourth node. General numbers 12 wide, 5 significant digits.
    EXPECT_EQ(linesFrom(out, "     * THE LOADING IS STATIC *", 17),
              lines({"     * THE LOADING IS STATIC *", "", "", kControlHead,
                     param("TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT   ", 4, " 1.00000E-04"),
                     param("ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION", 4, " 3.00000E-03 IN"),
                     param("ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION  ", 4, " 4.00000E-03"),
                     param("TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS  ", 4, " 2.00000E-04 IN"),
                     sp(9) + "MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =       40 ",
                     sp(9) + "MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =       60 ",
                     param("FACTOR TO APPLY THE LOAD IN INCREMENTS", 14, " 0.20000    "),
                     param("MINIMUM FACTOR FOR LOAD INCREMENTS    ", 14, " 2.00000E-02"),
                     sp(9) + "INCLUDE VARIATION OF AXIAL LOAD AT PILES",
                     sp(9) + "* NOT FOR USER DEFINED LOAD SETTL. CURVE",
                     sp(9) + "USE EI FROM PREVIOUS ITERATION          ",
                     sp(9) + "PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES",
                     sp(9) + "PRINT RESULTS EVERY     4 NODE(S) "}));
    // Combination, the last item of the table: loading code 2 is neither static nor cyclic.
    EXPECT_EQ(linesFrom(out, "     LOAD COMB. :", 22),
              lines({"     LOAD COMB. :     1 ", "     COMB. NAME : " + pad("Factored estimation", 80),
                     "     BENDING RF :  0.85000    ", "     SHEAR RF   :  0.70000    ", "",
                     "       NL     LOAD NUMBER         LOAD NAME                  LOAD FACTOR",
                     "        1         1" + sp(10) + pad("Stiffness estimation", 26) + sp(5) + "     1.50000 ", "", "",
                     kControlHead, param("TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT   ", 4, " 3.00000E-04"),
                     param("ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION", 4, " 5.00000E-03 IN"),
                     param("ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION  ", 4, " 6.00000E-03"),
                     param("TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS  ", 4, " 4.00000E-04 IN"),
                     sp(9) + "MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =       30 ",
                     sp(9) + "MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =       70 ",
                     param("FACTOR TO APPLY THE LOAD IN INCREMENTS", 14, " 0.30000    "),
                     param("MINIMUM FACTOR FOR LOAD INCREMENTS    ", 14, " 3.00000E-02"),
                     sp(9) + "INCLUDE VARIATION OF AXIAL LOAD AT PILES",
                     sp(9) + "* NOT FOR USER DEFINED LOAD SETTL. CURVE",
                     sp(9) + "USE EI FROM PREVIOUS ITERATION          ",
                     sp(9) + "PRINT RESULTS AT PILE CAP AND PILE HEADS"}));
    closeModel();
}

TEST(EchoLoads, CyclicLoadingShowsItsCycles) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    EXPECT_EQ(linesFrom(echoOf(dir), "     * THE LOADING IS CYCLIC *", 6),
              lines({"     * THE LOADING IS CYCLIC *", "", "", "     NO. OF CYCLES =        1.", "", ""}));
    closeModel();
}

TEST(EchoLoads, CombinationRowsSkipNoteAndNodeStepLine) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    LCBCNT(1, 6) = 1;
    const std::string out = echoOf(dir);
    // Terms: case 1 times 1.2 and case 2 times 1.6, with the first 26 characters of each case name.
    EXPECT_EQ(linesFrom(out, "     ** LOAD COMBINATIONS **", 13),
              lines({"     ** LOAD COMBINATIONS **", "", "", "     NUMBER OF LOAD COMB. :    1 ", "",
                     "     LOAD COMB. :     1 ", "     COMB. NAME : " + pad("Dead plus wind", 80),
                     "     NOTE: LOAD COMB. WILL NOT BE ANALYZED", "     BENDING RF :  0.90000    ",
                     "     SHEAR RF   :  0.75000    ", "",
                     "       NL     LOAD NUMBER         LOAD NAME                  LOAD FACTOR",
                     "        1         1" + sp(10) + pad("Dead load on the cap", 26) + sp(5) + "     1.20000 "}));
    EXPECT_EQ(linesFrom(out, "        2         2", 1),
              lines({"        2         2          Wind with a displacement g          1.60000 "}));
    // The node step of a combination is followed by "NODE(S)" without a blank; a case's by " NODE(S)".
    const std::size_t comb = out.find("     ** LOAD COMBINATIONS **");
    EXPECT_EQ(linesFrom(out.substr(comb), sp(9) + "PRINT RESULTS EVERY", 1),
              lines({sp(9) + "PRINT RESULTS EVERY     1NODE(S) "}));
    EXPECT_EQ(linesFrom(out, sp(9) + "PRINT RESULTS EVERY", 1), lines({sp(9) + "PRINT RESULTS EVERY     1 NODE(S) "}));
    closeModel();
}

TEST(EchoLoads, EnvelopePrintLevels) {
    const std::string pile = sp(9) + "PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES";
    struct Level {
        int kprint, nprev;
        std::string line, next;
    };
    for (const Level& l : {Level{0, 0, sp(9) + "PRINT RESULTS ONLY AT PILE CAP", ""},
                           Level{1, 0, sp(9) + "PRINT RESULTS AT PILE CAP AND PILE HEADS", ""},
                           Level{2, 5, pile, sp(9) + "PRINT RESULTS EVERY     5 NODE(S) "}, Level{3, 5, pile, ""}}) {
        WorkDir dir;
        ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
        OPTENV.KPRINTLC = l.kprint;
        OPTENV.NPREVLC = l.nprev;
        const std::string out = echoOf(dir);
        EXPECT_EQ(linesFrom(out, "     ** LOAD CASES ENVELOPES **", 4),
                  lines({"     ** LOAD CASES ENVELOPES **", "", l.line, l.next}))
            << "print level " << l.kprint;
        // The combination envelopes of the fixture: pile cap and pile heads.
        EXPECT_EQ(linesFrom(out, "     ** LOAD COMBINATION ENVELOPES **", 4),
                  lines({"     ** LOAD COMBINATION ENVELOPES **", "",
                         sp(9) + "PRINT RESULTS AT PILE CAP AND PILE HEADS", ""}));
        closeModel();
    }
}

TEST(EchoLoads, SetsOfDistributedLoad) {
    // One set: 10 lb/in at depth 0 and 0 at 20 ft, forces in kips.
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    EXPECT_EQ(linesFrom(echoOf(dir), "     ** SETS OF DISTRIBUTED LOAD **", 10),
              lines({"     ** SETS OF DISTRIBUTED LOAD **", "", "", "     NUMBER OF SETS :    1 ", "",
                     "     DIST. LOAD SET :     1 ", "       NL           DEPTH         LOAD ",
                     sp(20) + "(FT)" + sp(10) + "(KIP)", "        1          0.0000    1.0000E-02 ",
                     "        2          20.000        0.0000 "}));
    closeModel();
}

TEST(EchoLoads, TableCWithoutCasesOrCombinationsIsItsHeadingOnly) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, input(kControlPlaneSI, kNoCap)), 0);
    Capture echo(dir, 32, "case.echo");
    echoLoads();
    EXPECT_EQ(echo.since(), lines({"", "", "", "     * TABLE C *  LOAD AND CONTROL PARAMETERS"}));
    closeModel();
}

// ---------------------------------------------------------------------------------------------------
// The run parameters of a case and of a combination in CTLPAR.

TEST(EchoLoads, CtlparTakesTheColumnsOfACaseOrACombination) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, estimationInput(kControl3DEnglish, "0\n")), 0);
    struct Field {
        const char* name;
        double got, expected;
    };
    auto check = [](const char* what, std::initializer_list<Field> fields) {
        for (const Field& f : fields) EXPECT_EQ(f.got, f.expected) << what << ": " << f.name;
    };
    const CtlPar& p = CTLPAR;
    CTLPARCOMB(1);
    check("combination", {{"TOLCAP", p.TOLCAP, 3.0e-4}, {"TOLPIL", p.TOLPIL, 4.0e-4}, {"FINC", p.FINC, 0.3},
                          {"FINCMIN", p.FINCMIN, 0.03}, {"RFBEND", p.RFBEND, 0.85}, {"RFSHEAR", p.RFSHEAR, 0.7},
                          {"TOLDEFA", p.TOLDEFA, 0.005}, {"TOLROTA", p.TOLROTA, 0.006}, {"NCYCLES", p.NCYCLES, 9.0},
                          {"NTHRUSR", double(p.NTHRUSR), 2}, {"KSTATIC", double(p.KSTATIC), 2},
                          {"MAXITG", double(p.MAXITG), 30}, {"MAXITP", double(p.MAXITP), 70},
                          {"KPRINT", double(p.KPRINT), 1}, {"NPREVRY", double(p.NPREVRY), 3},
                          {"KALTTOL", double(p.KALTTOL), 1}, {"KAXVAR", double(p.KAXVAR), 2},
                          {"KEIPREV", double(p.KEIPREV), 3}, {"KMODE", double(p.KMODE), 0}});
    // A case after a combination: unit resistance factors and the case's own mode.
    CTLPARCASE(1);
    check("case", {{"TOLCAP", p.TOLCAP, 1.0e-4}, {"TOLPIL", p.TOLPIL, 2.0e-4}, {"FINC", p.FINC, 0.2},
                   {"FINCMIN", p.FINCMIN, 0.02}, {"RFBEND", p.RFBEND, 1.0}, {"RFSHEAR", p.RFSHEAR, 1.0},
                   {"TOLDEFA", p.TOLDEFA, 0.003}, {"TOLROTA", p.TOLROTA, 0.004}, {"NCYCLES", p.NCYCLES, 7.0},
                   {"NTHRUSR", double(p.NTHRUSR), 3}, {"KSTATIC", double(p.KSTATIC), 1},
                   {"MAXITG", double(p.MAXITG), 40}, {"MAXITP", double(p.MAXITP), 60},
                   {"KPRINT", double(p.KPRINT), 2}, {"NPREVRY", double(p.NPREVRY), 4},
                   {"KALTTOL", double(p.KALTTOL), 1}, {"KAXVAR", double(p.KAXVAR), 1},
                   {"KEIPREV", double(p.KEIPREV), 1}, {"KMODE", double(p.KMODE), 11}});
    closeModel();
}

}  // namespace
}  // namespace kaldo::test
