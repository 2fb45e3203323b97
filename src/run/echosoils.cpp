// Input echo: soil layers and soil property profiles (Table F).
//
// The layers as read become the working layer table SOILLAY and the property profiles SOILPRF (a top
// and a bottom row per layer) that every soil routine reads; Table F then lists them in report units,
// with the k and E50 that the soil routines would estimate where the input gives none, marked.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/modelinput.h"
#include "model/runblocks.h"
#include "model/soils.h"
#include "run/colwrite.h"
#include "run/echo.h"
#include "run/ucv.h"
#include "run/unitno.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

// Value places of a layer row as read.
enum SoilValue { V_GAMMA = 1, V_STRENGTH, V_PHI, V_K, V_ER, V_E50, V_JRQD, V_FMAX, V_QMAX };

// Which of the criterion-specific columns a layer keeps; the others are stored as 0 so that no
// routine picks up a value its criterion does not use.
struct Kept {
    bool cu, phi, e50, kpy, er, jrqd;
};

Kept keptColumns(int code) {
    switch (code) {
        case 1:
        case 3: return {true, false, true, false, false, false};
        case 2:
        case 10: return {true, false, true, true, false, false};
        case 4:
        case 8: return {false, true, false, true, false, false};
        case 5:
        case 11: return {false, false, false, false, false, false};
        case 6: return {true, false, false, false, false, false};
        case 7: return {true, true, true, true, false, false};
        case 9: return {true, false, true, false, true, true};
        case 13: return {true, false, true, false, false, true};
        case 14: return {true, false, true, true, false, true};
        default: return {true, true, true, true, true, true};  // 12, and codes outside 1..14
    }
}

// Strain at 50 % stress of vuggy limestone, whatever the input (single-precision 0.0005).
constexpr double VUGGY_E50 = static_cast<double>(0.0005f);

void buildTables() {
    const int n = SOILIN.NLAYIN;
    SOILLAY.NLAYER = n;
    SOILPRF.NXP = 2 * n;
    SOILPRF.NXG = 2 * n;
    for (int l = 1; l <= n; ++l) {
        const int code = SOILIN.LCRITIN(l);
        SOILLAY.LCRIT(l) = code;
        SOILLAY.XTOP(l) = SOILIN.XTOPIN(l);
        SOILLAY.XBOT(l) = SOILIN.XBOTIN(l);
        const Kept keep = keptColumns(code);
        for (int r = 1; r <= 2; ++r) {
            const int k = 2 * (l - 1) + r;
            auto value = [&](int v) { return SOILIN.SOILVAL(l, r, v); };
            SOILPRF.XP(k) = r == 1 ? SOILLAY.XTOP(l) : SOILLAY.XBOT(l);
            SOILPRF.XG(k) = SOILPRF.XP(k);
            SOILPRF.GAMMA(k) = value(V_GAMMA);
            SOILPRF.FMAX(k) = value(V_FMAX);
            SOILPRF.QMAX(k) = value(V_QMAX);
            SOILPRF.CU(k) = keep.cu ? value(V_STRENGTH) : 0.0;
            SOILPRF.PHI(k) = keep.phi ? value(V_PHI) * RUNCONST.PIWORD / 180.0 : 0.0;
            SOILPRF.E50(k) = code == 6 ? VUGGY_E50 : keep.e50 ? value(V_E50) : 0.0;
            SOILPRF.KPY(k) = keep.kpy ? value(V_K) : 0.0;
            SOILPRF.ER(k) = keep.er ? value(V_ER) : 0.0;
            SOILPRF.JRQD(k) = keep.jrqd ? value(V_JRQD) : 0.0;
        }
    }
}

// ---- Table F ---------------------------------------------------------------------------------------

bool isOneOf(int code, std::initializer_list<int> codes) {
    for (int c : codes)
        if (code == c) return true;
    return false;
}

// The layer's soil in words; nothing for a code outside 1..14.
std::string_view soilSentence(int code, bool stressTransfer) {
    switch (code) {
        case 1: return "THE SOIL IS A SOFT CLAY";
        case 2: return "THE SOIL IS A STIFF CLAY WITH FREE WATER";
        case 3: return "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER";
        case 4: return "THE SOIL IS A SAND";
        case 5: return "THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER";
        case 6: return "THE LAYER IS A VUGGY LIMESTONE";
        case 7: return "THE SOIL IS A SILT";
        case 8: return "THE SOIL IS A SAND USING API CRITERIA";
        case 9: return "THE LAYER IS A WEAK ROCK";
        case 10: return "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER, USING INITIAL K VALUE";
        case 11: return "THE SOIL IS A LIQUEFIED SAND";
        case 12:
            return stressTransfer ? "THE SOIL IS AN ELASTIC SUBGRADE WITH MAXIMUM STRESS TRANSFER"
                                  : "THE SOIL IS AN ELASTIC SUBGRADE";
        case 13: return "THE SOIL IS A SOFT CLAY WITH USER DEFINED J";
        case 14: return "THE SOIL IS A MOD. SOFT CLAY WITH INITIAL K VALUE";
        default: return {};
    }
}

// Unit fields of the property rows, 12 characters each: force per depth (D) or per length (L) to a
// power, e.g. "(LBS/FT**3) " or "( KN/ M**2) ".
std::string forcePerDepth(char power) {
    return "(" + io::fmtA(3, LABELS.LBLRFORCE) + "/" + io::fmtA(2, LABELS.LBLCOORD) + "**" + power + ") ";
}
std::string forcePerLength(char power) {
    return "(" + io::fmtA(3, LABELS.LBLRFORCE) + "/" + io::fmtA(2, LABELS.LBLLEN) + "**" + power + ") ";
}
const std::string NO_UNIT(12, ' ');

// Report values of the profile columns.
double perCubicDepth(double v) { return UCVKIPDIV(UCVM1728(v)); }
double perSquareDepth(double v) { return UCVKIPDIV(UCVM144(v)); }

// Marks of values that the soil routines would estimate, and which of them the table has shown.
constexpr std::string_view MARK_E50 = " (E)", MARK_KSTATIC = " (K)", MARK_KCYCLIC = " (C)";
struct MarksShown {
    bool e50 = false, kStatic = false, kCyclic = false;
};

// One property row: 8 blanks, the 31-character label, the unit field, the top value, then the bottom
// value. A mark after the top value takes the place of the 4 blanks before the bottom value; a mark
// after the bottom value ends the line.
void rowStart(io::Unit& u, std::string_view label, const std::string& unitField) {
    u.part() << io::X{8} << label << unitField;
}
void valuePair(io::Unit& u, double top, bool topMarked, double bottom, bool bottomMarked, std::string_view mark) {
    WCOLREAL(u, 14, 5, top);
    if (topMarked)
        u.put(mark);
    else
        WCOLBLNK(u, 4);
    WCOLREAL(u, 14, 5, bottom);
    if (bottomMarked) {
        u.put(mark);
        u.endLine();
    } else {
        WCOLEOL(u);
    }
}
void plainRow(io::Unit& u, std::string_view label, const std::string& unitField, double top, double bottom) {
    rowStart(u, label, unitField);
    valuePair(u, top, false, bottom, false, {});
}

// The E50 row: the estimate of a row whose strain is not given, marked (E).
void e50Row(io::Unit& u, int code, int top, MarksShown& shown) {
    const int units = CTLIN.UNITS;
    double e50[2];
    int est[2];
    for (int r = 0; r < 2; ++r)
        DEFE50LAYER(SOILPRF.CU(top + r), SOILPRF.E50(top + r), e50[r], units, code, est[r]);
    rowStart(u, " STRAIN AT 50% STRESS          ", NO_UNIT);
    if (est[0] == 0 && est[1] == 0) {
        valuePair(u, SOILPRF.E50(top), false, SOILPRF.E50(top + 1), false, {});
        return;
    }
    valuePair(u, e50[0], est[0] == 1, e50[1], est[1] == 1, MARK_E50);
    shown.e50 = true;
}

// The p-y subgrade modulus row: the static estimate of a row whose k is not given, marked (K), and for
// the clays and the silt a second line with the cyclic estimate, marked (C).
void kRow(io::Unit& u, int code, int top, MarksShown& shown) {
    const int units = CTLIN.UNITS;
    double kStatic[2], kCyclic[2];
    int est[2], twoValues = 0;
    for (int r = 0; r < 2; ++r)
        DEFKLAYER(SOILPRF.CU(top + r), SOILPRF.PHI(top + r), SOILPRF.GAMMA(top + r), SOILPRF.KPY(top + r),
                  kStatic[r], kCyclic[r], units, code, est[r], twoValues);
    rowStart(u, " P-Y SUBGRADE MODULUS          ", forcePerLength('3'));
    if (est[0] == 0 && est[1] == 0) {
        valuePair(u, UCVKIPDIV(SOILPRF.KPY(top)), false, UCVKIPDIV(SOILPRF.KPY(top + 1)), false, {});
        return;
    }
    valuePair(u, UCVKIPDIV(kStatic[0]), est[0] == 1, UCVKIPDIV(kStatic[1]), est[1] == 1, MARK_KSTATIC);
    shown.kStatic = true;
    if (!isOneOf(code, {2, 7, 10, 14})) return;
    WCOLBLNK(u, 51);
    if (est[0] == 1) {
        WCOLREAL(u, 14, 5, UCVKIPDIV(kCyclic[0]));
        u.put(MARK_KCYCLIC);
    } else {
        WCOLBLNK(u, 14 + 4);
    }
    if (est[1] == 1) {
        WCOLREAL(u, 14, 5, UCVKIPDIV(kCyclic[1]));
        u.put(MARK_KCYCLIC);
        u.endLine();
    } else {
        WCOLEOL(u);
    }
    shown.kCyclic = true;
}

void layerTable(io::Unit& u, int l, MarksShown& shown) {
    const int code = SOILLAY.LCRIT(l);
    const int top = 2 * l - 1, bot = 2 * l;
    auto values = [&](const Arr<double, 1, PRFROWS>& col, double (*show)(double)) {
        return std::pair<double, double>{show(col(top)), show(col(bot))};
    };
    auto row = [&](std::string_view label, const std::string& unitField, std::pair<double, double> v) {
        plainRow(u, label, unitField, v.first, v.second);
    };
    auto asStored = [](double v) { return v; };
    auto degrees = [](double v) { return v * 180.0 / RUNCONST.PIWORD; };
    const bool stressTransfer = code == 12 && (SOILPRF.CU(top) > 0.0 || SOILPRF.CU(bot) > 0.0);

    u.blankLines(1);
    u.line() << io::X{9} << "LAYER" << io::I(3, l);
    const std::string_view sentence = soilSentence(code, stressTransfer);
    if (!sentence.empty()) u.line() << io::X{9} << sentence;
    u.line() << io::X{9 + 30 + 15} << " TOP OF LAYER    BOTTOM OF LAYER ";

    const std::string depthUnit = std::string(7, ' ') + "(" + io::fmtA(2, LABELS.LBLCOORD) + ") ";
    row(" X COORDINATE                  ", depthUnit, values(SOILPRF.XP, UCVD12));
    row(" EFFECTIVE UNIT WEIGHT         ", forcePerDepth('3'), values(SOILPRF.GAMMA, perCubicDepth));
    if (isOneOf(code, {1, 2, 3, 7, 10, 13, 14}))
        row(" UNDRAINED COHESION, C         ", forcePerDepth('2'), values(SOILPRF.CU, perSquareDepth));
    if (isOneOf(code, {6, 9}))
        row(" UNIAXIAL COMPRESSIVE STRENGTH ", forcePerLength('2'), values(SOILPRF.CU, UCVKIPDIV));
    if (isOneOf(code, {4, 7, 8}))
        row(" FRICTION ANGLE                ", "  (DEGREES) ", values(SOILPRF.PHI, degrees));
    if (isOneOf(code, {2, 4, 7, 8, 10, 14})) kRow(u, code, top, shown);
    if (isOneOf(code, {1, 2, 3, 7, 10, 13, 14})) e50Row(u, code, top, shown);
    if (code == 9) {
        row(" YOUNG MODULUS,ER              ", forcePerLength('2'), values(SOILPRF.ER, UCVKIPDIV));
        row(" KRM                           ", NO_UNIT, values(SOILPRF.E50, asStored));
        row(" RQD                           ", std::string(8, ' ') + "(%) ", values(SOILPRF.JRQD, asStored));
    }
    if (stressTransfer)
        row(" MAXIMUM STRESS TRANSFER       ", forcePerDepth('2'), values(SOILPRF.CU, perSquareDepth));
    if (code == 12) row(" ELASTIC SUBGRADE MODULUS      ", forcePerLength('3'), values(SOILPRF.KPY, UCVKIPDIV));
    if (isOneOf(code, {13, 14})) row(" J FACTOR                      ", NO_UNIT, values(SOILPRF.JRQD, asStored));
    // The stored user values; the unit capacities that the axial routines estimate where these are 0
    // (marks P, S, R, T) belong to these two rows.
    row(" ULTIMATE UNIT SIDE FRICTION   ", forcePerDepth('2'), values(SOILPRF.FMAX, perSquareDepth));
    row(" ULTIMATE UNIT TIP RESISTANCE  ", forcePerDepth('2'), values(SOILPRF.QMAX, perSquareDepth));
}

void notes(io::Unit& u, const MarksShown& shown) {
    if (!shown.e50 && !shown.kStatic && !shown.kCyclic) return;
    u.blankLines(1);
    u.line() << io::X{5} << "  Notes :  Program estimated values for listed parameters";
    u.line() << io::X{5} << "           if zero input values were entered:";
    if (shown.e50) u.line() << io::X{5} << "           (E) STRAIN AT 50% STRESS";
    if (shown.kStatic) u.line() << io::X{5} << "           (K) P-Y SUBGRADE MODULUS for Static Loading";
    if (shown.kCyclic) u.line() << io::X{5} << "           (C) P-Y SUBGRADE MODULUS for Cyclic Loading";
}

void tableF() {
    io::Unit& u = io::unit(ECHO_UNIT);
    u.blankLines(3);
    u.line() << io::X{5} << "* TABLE F *   SOIL DATA";
    if (SOILLAY.NLAYER == 0) {
        u.blankLines(1);
        u.line() << io::X{5} << "  NO SOIL LAYERS DEFINED";
        return;
    }
    u.blankLines(2);
    u.line() << io::X{5} << "SOILS INFORMATION";
    u.blankLines(1);
    u.part() << io::X{8} << " GROUND SURFACE          =";
    WCOLREAL(u, 13, 5, UCVD12(SOILLAY.XTOP(1)));
    u.line() << io::X{1} << io::A{3, LABELS.LBLCOORDL};
    u.blankLines(1);
    u.line() << io::X{9} << io::I(1, SOILLAY.NLAYER) << " LAYER(S) OF SOIL";
    MarksShown shown;
    for (int l = 1; l <= SOILLAY.NLAYER; ++l) layerTable(u, l, shown);
    notes(u, shown);
}

}  // namespace

// The status word is set only by the axial unit-capacity estimates of the side friction and tip
// resistance rows, which this table does not show yet.
void echoSoils(int&) {
    buildTables();
    tableF();
}

}  // namespace kaldo
