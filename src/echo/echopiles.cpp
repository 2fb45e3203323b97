// Input echo: the pile arrangement (Table D) and the working pile table.
//
// The arrangement rows become the slots of PILE, the cap becomes a short pseudo-pile in the slot after
// the last pile (its head at the cap top, its ground surface the soil surface), and the orientation
// angles go from degrees to radians once and for all.
#include <algorithm>
#include <cmath>
#include <string>

#include "echo/echo.h"
#include "group/group.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::F;
using io::I;
using io::X;

constexpr double kPi = 3.141592653589793;

// The word of a head connection code; a code without one shows its number.
std::string connectionWord(int code) {
    switch (code) {
        case 1: return "PIN";
        case 2: return "FIX";
        case 3: return "RES";
        default: return io::fmtI(3, code);
    }
}

// A curve column: the user curve and "U" when the pile names one, else the generated curve and "G".
struct CurveRef {
    int number;
    const char* letter;
};
CurveRef curveRef(int user, int generated) {
    if (user != 0) return {user, "U"};
    return {generated, "G"};
}

// Moment label of the reports: force, "-", length (LBS-IN, KIP-IN, " KN- M").
std::string momentLabel() { return LABELS.LBLRFORCE + "-" + LABELS.LBLLEN; }

// x of the ground surface: the top of the first soil layer as read, 0 without soil layers.
double groundSurfaceX() { return SOILIN.NLAYIN >= 1 ? SOILIN.XTOPIN(1) : 0.0; }

// The cap as a pseudo-pile in slot NPILES + 1: a vertical pile whose head is the cap top, the
// thickness of the cap above the highest pile head, with the ground surface below it. Sets the slot's
// head, orientation, ground and multiplicity, and the cap top and thickness of CAPIN. In a plane run
// the cap slot has no z, no BETA, THETA or third angle.
void fillCapSlot(double smallestHeadX, bool threeD) {
    const int c = PILE.NPILES + 1;
    const double top = smallestHeadX - CAPIN.CAPTX;
    PILE.HEADX(c) = top;
    PILE.HEADXW(c) = top;
    PILE.HEADY(c) = 0.0;
    PILE.ALPHA(c) = 0.0;
    PILE.GROUND(c) = groundSurfaceX() - top;
    PILE.PMULT(c) = 1.0;
    if (threeD) {
        PILE.HEADZ(c) = 0.0;
        PILE.BETA(c) = kPi / 2.0;
        PILE.THETA(c) = 0.0;
        PILE.ANGLE3(c) = 0.0;
    }
    CAPIN.CAPXTOP = top;
    CAPIN.CAPTHK = CAPIN.CAPTX;
    // The equivalent lateral spring's pseudo-pile: the cap's thickness on a property set of its own.
    CAPIN.CAPSLEN = CAPIN.CAPTX;
    if (CTLIN.CAPOPT > 1 && CAPIN.KCAPSPR == 1) capPseudoPile();
}

void caption(io::Unit& u) {
    u.blankLines(3);
    u.line() << X{5} << "* TABLE D *   ARRANGEMENT OF PILE GROUPS";
}

// ---- Three-dimensional arrangement ----------------------------------------------------------------

// Copies the rows into the pile table (angles still in degrees) and returns the smallest head x.
double copyRows3D() {
    const int n = GRPIN3.NROW;
    PILE.NPILES = n;
    double smallest = n >= 1 ? GRPIN3.GRP3GEO(1, 1) : 0.0;
    for (int i = 1; i <= n; ++i) {
        // p- and y-multipliers: along Y both in effect and kept as the Y direction, along Z kept.
        PILEFAC.PMUL(i) = GRPIN3.GRP3PRP(i, 3);
        PILEFAC.PMULY(i) = GRPIN3.GRP3PRP(i, 3);
        PILEFAC.YMUL(i) = GRPIN3.GRP3PRP(i, 4);
        PILEFAC.YMULY(i) = GRPIN3.GRP3PRP(i, 4);
        PILEFAC.PMULZ(i) = GRPIN3.GRP3PRP(i, 5);
        PILEFAC.YMULZ(i) = GRPIN3.GRP3PRP(i, 6);
        PILE.HEADZ(i) = GRPIN3.GRP3GEO(i, 3);
        PILE.CONNZ(i) = GRPIN3.GRP3INT(i, 1);
        PILE.CONNY(i) = GRPIN3.GRP3INT(i, 2);
        PILE.PSETNO(i) = GRPIN3.GRP3INT(i, 3);
        PILE.PYCRV(i) = GRPIN3.GRP3INT(i, 4);
        PILE.LSCRV(i) = GRPIN3.GRP3INT(i, 5);
        PILE.TRCRV(i) = GRPIN3.GRP3INT(i, 6);
        PILE.SPRZ(i) = GRPIN3.GRP3PRP(i, 1);
        PILE.SPRY(i) = GRPIN3.GRP3PRP(i, 2);
        PILE.RFLSET(i) = GRPIN3.GRP3INT(i, 7);
        PILE.AXFACT(i) = GRPIN3.GRP3PRP(i, 7);
        PILE.HEADY(i) = GRPIN3.GRP3GEO(i, 2);
        PILE.PMULT(i) = 1.0;
        PILE.LSGEN(i) = GRPIN3.GRP3INT(i, 9);
        PILE.TRGEN(i) = GRPIN3.GRP3INT(i, 10);
        PILE.HEADX(i) = GRPIN3.GRP3GEO(i, 1);
        PILE.HEADXW(i) = GRPIN3.GRP3GEO(i, 1);
        PILE.ALPHA(i) = GRPIN3.GRP3GEO(i, 4);
        PILE.BETA(i) = GRPIN3.GRP3GEO(i, 5);
        PILE.THETA(i) = GRPIN3.GRP3GEO(i, 6);
        PILE.GROUND(i) = GRPIN3.GRP3GEO(i, 7);
        smallest = std::min(smallest, PILE.HEADX(i));
    }
    return smallest;
}

void connectionTable3D(io::Unit& u) {
    const bool axfac = CTLIN.KAXFAC != 0;
    u.blankLines(1);
    {
        auto head = u.line();
        head << X{3} << "  GROUP  CONN.Z-Z   CONN.Y-Y   PILE PROP "
             << " P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET ";
        if (axfac) head << " FACT.AX.LD";
    }
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const CurveRef ls = curveRef(PILE.LSCRV(i), PILE.LSGEN(i));
        const CurveRef tr = curveRef(PILE.TRCRV(i), PILE.TRGEN(i));
        auto row = u.line();
        row << X{3} << I(5, i) << X{7} << connectionWord(PILE.CONNZ(i)) << X{8}
            << connectionWord(PILE.CONNY(i)) << X{5} << I(5, PILE.PSETNO(i)) << X{6} << I(5, PILE.PYCRV(i))
            << X{6} << I(5, ls.number) << X{1} << ls.letter << X{4} << I(5, tr.number) << X{1} << tr.letter
            << X{4} << I(5, PILE.RFLSET(i));
        if (axfac) row << X{6} << F{10, 4, PILE.AXFACT(i)};
    }
}

void geometryTable3D(io::Unit& u) {
    const std::string& coord = LABELS.LBLCOORD;
    const std::string moment = momentLabel();
    u.blankLines(1);
    u.line() << X{5} << "GROUP" << X{3} << "CorX," << coord << X{4} << "CorY," << coord << X{4} << "CorZ,"
             << coord << X{1} << " ALPHA," << "DEG" << X{1} << "  BETA," << "DEG" << X{1} << " THETA,"
             << "DEG" << X{2} << "GROUND," << coord << X{1} << "SPz," << moment << X{1} << "SPy," << moment;
    for (int i = 1; i <= PILE.NPILES; ++i) {
        WCOLBLNK(u, 4);
        WCOLINT(u, 4, i);
        WCOLBLNK(u, 2);
        const double values[] = {UCVD12(PILE.HEADX(i)), UCVD12(PILE.HEADY(i)), UCVD12(PILE.HEADZ(i)),
                                 PILE.ALPHA(i),         PILE.BETA(i),          PILE.THETA(i),
                                 UCVD12(PILE.GROUND(i)), UCVKIPDIV(PILE.SPRZ(i)), UCVKIPDIV(PILE.SPRY(i))};
        bool first = true;
        for (double v : values) {
            if (!first) WCOLBLNK(u, 1);
            WCOLREAL(u, 10, 3, v);
            first = false;
        }
        WCOLEOL(u);
    }
}

// Degrees to radians; BATTER is the inclination of the axis from the vertical (BETA 90 is vertical).
void anglesToRadians3D() {
    for (int i = 1; i <= PILE.NPILES; ++i) {
        PILE.ALPHA(i) = kPi * PILE.ALPHA(i) / 180.0;
        PILE.BETA(i) = kPi * PILE.BETA(i) / 180.0;
        PILE.BATTER(i) = kPi / 2.0 - PILE.BETA(i);
        PILE.THETA(i) = kPi * PILE.THETA(i) / 180.0;
        PILE.ANGLE3(i) = 0.0;
    }
    RUNCONST.PIWORD = kPi;
}

// ---- Plane arrangement ----------------------------------------------------------------------------

// Copies the rows into the pile table (slope still in degrees) and returns the smallest head x.
double copyRowsPlane() {
    const int n = GRPIN2.NROW;
    PILE.NPILES = n;
    double smallest = n >= 1 ? GRPIN2.GRP2GEO(1, 1) : 0.0;
    for (int i = 1; i <= n; ++i) {
        PILE.SPRZ(i) = GRPIN2.GRP2PRP(i, 1);
        PILE.SPACING(i) = GRPIN2.GRP2PRP(i, 2);
        PILE.CONNZ(i) = GRPIN2.GRP2INT(i, 1);
        PILE.PSETNO(i) = GRPIN2.GRP2INT(i, 3);
        PILE.PMULT(i) = static_cast<double>(GRPIN2.GRP2INT(i, 2));
        PILE.PYCRV(i) = GRPIN2.GRP2INT(i, 4);
        PILE.LSCRV(i) = GRPIN2.GRP2INT(i, 5);
        PILE.HEADY(i) = GRPIN2.GRP2GEO(i, 2);
        PILE.RFLSET(i) = GRPIN2.GRP2INT(i, 6);
        PILE.LSGEN(i) = GRPIN2.GRP2INT(i, 7);
        PILEFAC.PMUL(i) = GRPIN2.GRP2PRP(i, 3);
        PILEFAC.YMUL(i) = GRPIN2.GRP2PRP(i, 4);
        PILE.AXFACT(i) = GRPIN2.GRP2PRP(i, 5);
        PILE.HEADX(i) = GRPIN2.GRP2GEO(i, 1);
        PILE.ALPHA(i) = GRPIN2.GRP2GEO(i, 3);
        PILE.GROUND(i) = GRPIN2.GRP2GEO(i, 4);
        smallest = std::min(smallest, PILE.HEADX(i));
    }
    return smallest;
}

void connectionTablePlane(io::Unit& u) {
    const bool axfac = CTLIN.KAXFAC != 0;
    u.blankLines(1);
    {
        auto head = u.line();
        head << X{7} << "GROUP   CONNECT   NO OF PILE   PILE PROP " << "   P-Y CURVE    L-S CURVE    R-F-L SET";
        if (axfac) head << "   " << "FACT. AXIAL LOAD";
    }
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const CurveRef ls = curveRef(PILE.LSCRV(i), PILE.LSGEN(i));
        auto row = u.line();
        row << X{5} << I(5, i) << X{7} << connectionWord(PILE.CONNZ(i)) << X{5}
            << I(5, static_cast<long long>(PILE.PMULT(i))) << X{8} << I(5, PILE.PSETNO(i)) << X{7}
            << I(5, PILE.PYCRV(i)) << X{7} << I(5, ls.number) << X{1} << ls.letter << X{7}
            << I(5, PILE.RFLSET(i));
        if (axfac) row << X{6} << F{10, 4, PILE.AXFACT(i)};
    }
}

// The slope goes to radians as it is printed; the SLOPE column shows it as a ratio (its tangent).
void geometryTablePlane(io::Unit& u) {
    const std::string& coord = LABELS.LBLCOORD;
    const std::string& len = LABELS.LBLLEN;
    u.blankLines(1);
    u.line() << X{7} << "GROUP" << X{5} << "VERT," << coord << X{7} << "HOR," << coord << X{4} << "SLOPE,"
             << len << "/" << len << X{3} << "GROUND," << coord << X{2} << "SPRING," << momentLabel() << X{2}
             << "SPACING," << coord;
    for (int i = 1; i <= PILE.NPILES; ++i) {
        RUNCONST.PIWORD = kPi;
        PILE.ALPHA(i) = kPi * PILE.ALPHA(i) / 180.0;
        PILE.BATTER(i) = PILE.ALPHA(i);
        WCOLBLNK(u, 5);
        WCOLINT(u, 5, i);
        WCOLBLNK(u, 3);
        WCOLREAL(u, 13, 5, UCVD12(PILE.HEADXW(i)));
        WCOLREAL(u, 13, 5, UCVD12(PILE.HEADYW(i)));
        WCOLREAL(u, 13, 5, std::tan(PILE.ALPHA(i)));
        WCOLREAL(u, 13, 5, UCVD12(PILE.GROUND(i)));
        WCOLREAL(u, 13, 5, UCVKIPDIV(PILE.SPRZ(i)));
        WCOLREAL(u, 13, 5, UCVD12(PILE.SPACING(i)));
        WCOLEOL(u);
    }
}

}  // namespace

void echoPiles() {
    io::Unit& u = io::unit(ECHO_UNIT);
    if (CTLIN.ANTYPE == 3) {
        caption(u);
        const double smallest = copyRows3D();
        fillCapSlot(smallest, true);
        RUNCONST.PIWORD = kPi;
        connectionTable3D(u);
        geometryTable3D(u);
        anglesToRadians3D();
    } else if (CTLIN.ANTYPE == 2) {
        caption(u);
        const double smallest = copyRowsPlane();
        fillCapSlot(smallest, false);
        connectionTablePlane(u);
        for (int i = 1; i <= PILE.NPILES; ++i) {
            PILE.HEADXW(i) = PILE.HEADX(i);
            PILE.HEADYW(i) = PILE.HEADY(i);
            PILE.BATTER(i) = PILE.ALPHA(i);
        }
        geometryTablePlane(u);
    }
}

}  // namespace kaldo
