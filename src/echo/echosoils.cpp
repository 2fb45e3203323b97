// Input echo: soil layers and soil property profiles (Table F).
//
// The layers as read become the working layer table SOILLAY and the property profiles SOILPRF (a top
// and a bottom row per layer) that every soil routine reads; Table F then lists them in report units,
// with the k and E50 that the soil routines would estimate where the input gives none, and the unit side
// friction and tip resistance that the axial curves would estimate, marked.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "echo/echo.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/modelinput.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/colwrite.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/axial/axial.h"
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
constexpr std::string_view MARK_SIDE_DRIVEN = " (P)", MARK_SIDE_DRILLED = " (S)", MARK_TIP_DRIVEN = " (R)",
                           MARK_TIP_DRILLED = " (T)";
struct MarksShown {
    bool e50 = false, kStatic = false, kCyclic = false;
    bool sideDriven = false, sideDrilled = false, tipDriven = false, tipDrilled = false;
    bool any() const { return e50 || kStatic || kCyclic || sideDriven || sideDrilled || tipDriven || tipDrilled; }
};

// What the axial estimates of the table depend on, for the whole table: whether some pile has its
// axial curve generated from the soil (only then are the capacities estimated), and whether the piles
// include driven piles and drilled shafts.
struct PileKinds {
    bool estimate = false, driven = false, drilled = false;
};

PileKinds pileKinds() {
    PileKinds k;
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const int type = PILESET.PTYPE(PILE.PSETNO(i));
        k.estimate = k.estimate || PILE.LSCRV(i) == 0;
        k.driven = k.driven || type == 1;
        k.drilled = k.drilled || type == 2;
    }
    return k;
}

// Whether some pile has its tip in layer l, its top and bottom included.
bool tipInLayer(int l) {
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const double tip = PILE.HEADX(i) + PILESET.PLEN(PILE.PSETNO(i));
        if (SOILLAY.XTOP(l) <= tip && tip <= SOILLAY.XBOT(l)) return true;
    }
    return false;
}

// The unit capacities that the axial curves would use at the top and the bottom of a layer.
struct UnitCapacities {
    int sideFlag[2], tipFlag[2];
    double fsDriven[2], fsDrilled[2], qbDriven[2], qbDrilled[2];
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

// A capacity row (side friction or tip resistance) with estimates: the driven-pile estimate where the
// input gives no value, marked, when the table has driven piles, else the drilled-shaft estimate; with
// both kinds of pile a second line shows the drilled-shaft estimates under the first.
struct CapacityRow {
    std::string_view label;
    const Arr<double, 1, PRFROWS>& stored;
    const int* flag;
    const double* driven;
    const double* drilled;
    std::string_view drivenMark, drilledMark;
    bool* drivenShown;
    bool* drilledShown;
};

void capacityRow(io::Unit& u, int top, const PileKinds& kinds, const CapacityRow& r) {
    rowStart(u, r.label, forcePerDepth('2'));
    const bool est[2] = {r.flag[0] == 1, r.flag[1] == 1};
    if (!est[0] && !est[1]) {
        valuePair(u, perSquareDepth(r.stored(top)), false, perSquareDepth(r.stored(top + 1)), false, {});
        return;
    }
    const double* first = kinds.driven ? r.driven : r.drilled;
    double show[2];
    for (int i = 0; i < 2; ++i) show[i] = perSquareDepth(est[i] ? first[i] : r.stored(top + i));
    valuePair(u, show[0], est[0], show[1], est[1], kinds.driven ? r.drivenMark : r.drilledMark);
    *(kinds.driven ? r.drivenShown : r.drilledShown) = true;
    if (!(kinds.driven && kinds.drilled)) return;
    WCOLBLNK(u, 51);
    if (est[0]) {
        WCOLREAL(u, 14, 5, perSquareDepth(r.drilled[0]));
        u.put(r.drilledMark);
    } else {
        WCOLBLNK(u, 14 + 4);
    }
    if (est[1]) {
        WCOLREAL(u, 14, 5, perSquareDepth(r.drilled[1]));
        u.put(r.drilledMark);
        u.endLine();
    } else {
        WCOLEOL(u);
    }
    *r.drilledShown = true;
}

// The side friction and tip resistance rows: the stored user values, and where a value is missing the
// estimate of the axial curves when some pile's curve is generated (the tip only in a layer that holds
// a pile tip). Stops at once, rows unwritten, when a profile lookup sets the status.
void capacityRows(io::Unit& u, int l, const PileKinds& kinds, MarksShown& shown, int& status) {
    const int top = 2 * l - 1;
    UnitCapacities q{};
    if (kinds.estimate) {
        const double x[2] = {SOILLAY.XTOP(l), SOILLAY.XBOT(l)};
        for (int r = 0; r < 2; ++r) {
            AXLUNITQ(SOILLAY.LCRIT(l), x[r], q.sideFlag[r], q.fsDriven[r], q.fsDrilled[r], q.tipFlag[r],
                     q.qbDriven[r], q.qbDrilled[r], status);
            if (status != ST_OK) return;
        }
    }
    capacityRow(u, top, kinds,
                {" ULTIMATE UNIT SIDE FRICTION   ", SOILPRF.FMAX, q.sideFlag, q.fsDriven, q.fsDrilled,
                 MARK_SIDE_DRIVEN, MARK_SIDE_DRILLED, &shown.sideDriven, &shown.sideDrilled});
    const int noTip[2] = {0, 0};
    capacityRow(u, top, kinds,
                {" ULTIMATE UNIT TIP RESISTANCE  ", SOILPRF.QMAX, tipInLayer(l) ? q.tipFlag : noTip, q.qbDriven,
                 q.qbDrilled, MARK_TIP_DRIVEN, MARK_TIP_DRILLED, &shown.tipDriven, &shown.tipDrilled});
}

void layerTable(io::Unit& u, int l, const PileKinds& kinds, MarksShown& shown, int& status) {
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
    capacityRows(u, l, kinds, shown, status);
}

void notes(io::Unit& u, const MarksShown& shown) {
    if (!shown.any()) return;
    u.blankLines(1);
    u.line() << io::X{5} << "  Notes :  Program estimated values for listed parameters";
    u.line() << io::X{5} << "           if zero input values were entered:";
    if (shown.e50) u.line() << io::X{5} << "           (E) STRAIN AT 50% STRESS";
    if (shown.kStatic) u.line() << io::X{5} << "           (K) P-Y SUBGRADE MODULUS for Static Loading";
    if (shown.kCyclic) u.line() << io::X{5} << "           (C) P-Y SUBGRADE MODULUS for Cyclic Loading";
    if (shown.sideDriven) u.line() << io::X{5} << "           (P) ULTIMATE UNIT SIDE FRICTION for " << "Driven Piles";
    if (shown.sideDrilled)
        u.line() << io::X{5} << "           (S) ULTIMATE UNIT SIDE FRICTION for " << "Drilled Shafts";
    if (shown.tipDriven) u.line() << io::X{5} << "           (R) ULTIMATE UNIT TIP RESISTANCE for " << "Driven Piles";
    if (shown.tipDrilled)
        u.line() << io::X{5} << "           (T) ULTIMATE UNIT TIP RESISTANCE for " << "Drilled Shafts";
}

void tableF(int& status) {
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
    const PileKinds kinds = pileKinds();
    MarksShown shown;
    for (int l = 1; l <= SOILLAY.NLAYER; ++l) {
        layerTable(u, l, kinds, shown, status);
        if (status != ST_OK) return;
    }
    notes(u, shown);
}

}  // namespace

// The status word is set only by the axial unit-capacity estimates of the side friction and tip
// resistance rows (a layer boundary beyond a soil profile); the table then ends where it was.
void echoSoils(int& status) {
    buildTables();
    tableF(status);
}

}  // namespace kaldo
