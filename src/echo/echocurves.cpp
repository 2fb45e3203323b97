// Input echo: the p-y print requests and the curve tables (Tables G, H and I).
//
// The user p-y curves go into PYUSR as given. The axial load-settlement and torque-rotation tables hold
// the user curves as given and the curves generated from the soil profile under the representative
// piles of the input's lists; every pile that asks for a generated curve is pointed at its curve by a
// negated number. The generated curves are listed on the plot output file as well.
#include <string>

#include "echo/echo.h"
#include "io/units.h"
#include "model/curves.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/modelinput.h"
#include "model/piles.h"
#include "model/soils.h"
#include "services/colwrite.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/axial/axial.h"

namespace kaldo {

namespace {

void printRequests(io::Unit& u) {
    u.blankLines(2);
    u.line() << io::X{5} << "* DATA TO PRINT GENERATED P-Y CURVES *";
    if (PYPRT.NPYPRT <= 0) return;
    u.blankLines(1);
    u.line() << io::X{5} << " NUMBER OF CURVES TO PRINT : " << io::I(5, PYPRT.NPYPRT);
    u.blankLines(1);
    u.line() << io::X{5} << "  CURVE NUMBER  " << "   PILE GROUP   " << "      DEPTH (" << io::A{2, LABELS.LBLCOORD}
             << ")   ";
    for (int r = 1; r <= PYPRT.NPYPRT; ++r) {
        u.part() << io::X{5};
        WCOLINT(u, 8, r);
        WCOLBLNK(u, 8);
        WCOLINT(u, 8, PYPRT.PYPGRP(r));
        WCOLBLNK(u, 10);
        WCOLREAL(u, 14, 5, UCVD12(PYPRT.PYPX(r)));
        WCOLEOL(u);
    }
}

// Table G: the user p-y curve sets, copied into PYUSR unchanged (no sorting, no check of the points).
void tableG(io::Unit& u) {
    PYUSR.NPYSET = PYUSRIN.NPYSETIN;
    if (PYUSR.NPYSET <= 0) return;
    for (int s = 1; s <= PYUSR.NPYSET; ++s) {
        PYUSR.PYNCRV(s) = PYUSRIN.PYNCRVIN(s);
        for (int c = 1; c <= PYUSR.PYNCRV(s); ++c) {
            PYUSR.PYNPT(s, c) = PYUSRIN.PYNPTIN(s, c);
            PYUSR.PYX(s, c) = PYUSRIN.PYXIN(s, c);
            for (int p = 1; p <= PYUSR.PYNPT(s, c); ++p) {
                PYUSR.PYY(s, c, p) = PYUSRIN.PYYIN(s, c, p);
                PYUSR.PYP(s, c, p) = PYUSRIN.PYPIN(s, c, p);
            }
        }
    }
    u.blankLines(3);
    u.line() << io::X{5} << "* TABLE G *   INPUT P-Y CURVES";
    u.blankLines(1);
    u.line() << io::X{7} << "NUM OF SETS :" << io::I(3, PYUSR.NPYSET);
    for (int s = 1; s <= PYUSR.NPYSET; ++s) {
        u.blankLines(2);
        u.line() << io::X{7} << "SET" << io::I(3, s) << io::X{10} << "NUM OF CURVES" << io::I(3, PYUSR.PYNCRV(s));
        u.blankLines(1);
        for (int c = 1; c <= PYUSR.PYNCRV(s); ++c) {
            u.blankLines(1);
            u.part() << io::X{8} << "CURVE";
            WCOLINT(u, 8, c);
            u.part() << io::X{6} << "DISTANCE FROM ORIGIN (X-COORD.)" << io::X{3};
            WCOLREAL(u, 10, 5, UCVD12(PYUSR.PYX(s, c)));
            u.put(io::fmtA(3, LABELS.LBLCOORDL));
            WCOLEOL(u);
            u.line() << io::X{12} << "POINT" << io::X{13} << "P" << io::A{4, LABELS.LBLFORCE4} << io::X{17} << "Y"
                     << io::A{3, LABELS.LBLLEN};
            for (int p = 1; p <= PYUSR.PYNPT(s, c); ++p) {
                u.part() << io::X{10};
                WCOLINT(u, 5, p);
                WCOLBLNK(u, 11);
                WCOLREAL(u, 12, 5, PYUSR.PYP(s, c, p));
                WCOLBLNK(u, 9);
                WCOLREAL(u, 12, 5, PYUSR.PYY(s, c, p));
                WCOLEOL(u);
            }
        }
    }
}

// How a curve table reads and prints: the axial table (load against displacement) or the torque table
// (torque against rotation).
struct CurveKind {
    bool axial;
};

// The column heading above the points of a curve of Table H or I.
void pointHeading(io::Unit& u, CurveKind kind) {
    if (kind.axial)
        u.line() << io::X{7} << "DISPLACEMENT," << io::A{3, LABELS.LBLLEN} << io::X{7} << "AXIAL LOAD,"
                 << io::A{3, LABELS.LBLRFORCE};
    else
        u.line() << io::X{9} << "ROT. ANGLE," << "Rad." << io::X{5} << "TORS.MOMEN," << io::A{3, LABELS.LBLRFORCE}
                 << "-" << io::A{2, LABELS.LBLLEN};
}

// One curve of Table H or I: its number and point count, the heading, then per point the movement and
// the force (through the kip divider).
template <class Moves, class Forces>
void curveBlock(io::Unit& u, CurveKind kind, int k, int npt, const Moves& move, const Forces& force) {
    u.blankLines(1);
    u.line() << io::X{8} << "CURVE" << io::I(3, k) << io::X{10} << "NUM OF POINTS" << io::I(3, npt);
    u.blankLines(1);
    pointHeading(u, kind);
    for (int p = 1; p <= npt; ++p) {
        u.part() << io::X{10};
        WCOLREAL(u, 12, 5, move(k, p));
        WCOLBLNK(u, 9);
        WCOLREAL(u, 12, 5, UCVKIPDIV(force(k, p)));
        WCOLEOL(u);
    }
}

void countLine(io::Unit& u, int n) {
    u.blankLines(1);
    u.line() << io::X{7} << "NUM OF CURVES" << io::I(3, n);
}

// A generated curve on the plot output file, in internal units: the curve number twice and its point
// count, then per point the force and the movement.
template <class Moves, class Forces>
void plotCurve(io::Unit& u, int j, int npt, const Moves& move, const Forces& force) {
    u.line() << io::X{5} << io::I(5, j) << io::I(5, j) << io::I(5, npt);
    for (int p = 1; p <= npt; ++p) {
        u.part() << io::X{10};
        WCOLINT(u, 5, p);
        WCOLBLNK(u, 11);
        WCOLREAL(u, 15, 8, force(j, p));
        WCOLBLNK(u, 9);
        WCOLREAL(u, 15, 8, move(j, p));
        WCOLEOL(u);
    }
}

// The two branches of a generated curve as one curve: the uplift branch reversed and negated, the
// origin, then the compression branch.
template <class Table>
void joinBranches(Table& move, Table& force, int j, int n, const BranchPoints& move1, const BranchPoints& force1,
                  const BranchPoints& move2, const BranchPoints& force2) {
    for (int p = 1; p <= n; ++p) {
        move(j, p) = -move1(n + 1 - p);
        force(j, p) = -force1(n + 1 - p);
        move(j, n + 1 + p) = move2(p);
        force(j, n + 1 + p) = force2(p);
    }
    move(j, n + 1) = 0.0;
    force(j, n + 1) = 0.0;
}

bool someSoil() { return SOILIN.NLAYIN >= 1; }

// Table H: the axial load-settlement curves.
void tableH(io::Unit& u, int& status) {
    u.blankLines(3);
    u.line() << io::X{5} << "* TABLE H *   AXIAL LOAD VS DISPLACEMENT ";
    const CurveKind axial{true};
    if (CTLIN.KUSERLS == 1 && TZUSRIN.NTZIN > 0) {
        TZCRV.NTZUSR = TZUSRIN.NTZIN;
        for (int k = 1; k <= TZCRV.NTZUSR; ++k) {
            TZCRV.TZNPT(k) = TZUSRIN.TZNPTIN(k);
            for (int p = 1; p <= TZCRV.TZNPT(k); ++p) {
                TZCRV.TZF(k, p) = TZUSRIN.TZFIN(k, p);
                TZCRV.TZW(k, p) = TZUSRIN.TZWIN(k, p);
            }
        }
        u.blankLines(1);
        u.line() << io::X{5} << "USER DEFINED" << " AXIAL LOAD-DISPLACEMENT CURVES";
        countLine(u, TZCRV.NTZUSR);
        for (int k = 1; k <= TZCRV.NTZUSR; ++k) curveBlock(u, axial, k, TZCRV.TZNPT(k), TZCRV.TZW, TZCRV.TZF);
    }

    bool generated = false;
    for (int i = 1; i <= PILE.NPILES; ++i) generated = generated || PILE.LSCRV(i) == 0;
    if (!someSoil() || !generated) return;
    const int n = GENLISTS.NLSGENIN;
    TZCRV.NTZGEN = n;
    for (int j = 1; j <= n; ++j) TZCRV.TZGPILE(j) = GENLISTS.LSGENPILE(j);
    for (int i = 1; i <= PILE.NPILES; ++i)
        if (PILE.LSCRV(i) == 0) PILE.LSCRV(i) = -PILE.LSGEN(i);
    for (int j = 1; j <= n; ++j) {
        const int pile = TZCRV.TZGPILE(j);
        const int set = PILE.PSETNO(pile);
        BranchPoints move1{}, load1{}, move2{}, load2{};
        int n1 = 0, n2 = 0;
        AXLLSECHO(set, 1, j, pile, status, n1, load1, move1);
        if (status != ST_OK) return;
        AXLLSECHO(set, 2, j, pile, status, n2, load2, move2);
        if (status != ST_OK) return;
        TZCRV.TZGNPT(j) = 2 * n1 + 1;
        joinBranches(TZCRV.TZGW, TZCRV.TZGF, j, n1, move1, load1, move2, load2);
    }

    io::Unit& plot = io::unit(PLOT_UNIT);
    u.blankLines(1);
    u.line() << io::X{5} << "AXIAL LOAD-DISPLACEMENT CURVES" << " GENERATED INTERNALLY ";
    countLine(u, n);
    plot.line() << io::X{5} << "* AXIAL LOAD-DISPLACEMENT CURVES *";
    plot.line() << io::X{5} << io::I(5, n);
    for (int j = 1; j <= n; ++j) {
        curveBlock(u, axial, j, TZCRV.TZGNPT(j), TZCRV.TZGW, TZCRV.TZGF);
        plotCurve(plot, j, TZCRV.TZGNPT(j), TZCRV.TZGW, TZCRV.TZGF);
    }
}

// Table I: the torque-rotation curves (three-dimensional runs).
void tableI(io::Unit& u, int& status) {
    u.blankLines(3);
    u.line() << io::X{5} << "* TABLE I *   TORS. MOM. VS ANGLE ROT. ";
    const CurveKind torque{false};
    if (CTLIN.KUSERTQ == 1 && TQUSRIN.NTQIN > 0) {
        TQCRV.NTQUSR = TQUSRIN.NTQIN;
        for (int k = 1; k <= TQCRV.NTQUSR; ++k) {
            TQCRV.TQNPT(k) = TQUSRIN.TQNPTIN(k);
            for (int p = 1; p <= TQCRV.TQNPT(k); ++p) {
                TQCRV.TQT(k, p) = TQUSRIN.TQTIN(k, p);
                TQCRV.TQR(k, p) = TQUSRIN.TQRIN(k, p);
            }
        }
        u.blankLines(1);
        u.line() << io::X{5} << "USER DEFINED TORQUE-ROTATION CURVE";
        countLine(u, TQCRV.NTQUSR);
        for (int k = 1; k <= TQCRV.NTQUSR; ++k) curveBlock(u, torque, k, TQCRV.TQNPT(k), TQCRV.TQR, TQCRV.TQT);
    }

    bool generated = false;
    for (int i = 1; i <= PILE.NPILES; ++i) generated = generated || PILE.TRCRV(i) == 0;
    if (!someSoil() || !generated) return;
    const int n = GENLISTS.NTQGENIN;
    TQCRV.NTQGEN = n;
    for (int j = 1; j <= n; ++j) TQCRV.TQGPILE(j) = GENLISTS.TQGENPILE(j);
    for (int i = 1; i <= PILE.NPILES; ++i)
        if (PILE.TRCRV(i) == 0) PILE.TRCRV(i) = -PILE.TRGEN(i);
    for (int j = 1; j <= n; ++j) {
        const int pile = TQCRV.TQGPILE(j);
        const int set = PILE.PSETNO(pile);
        BranchPoints rot1{}, torque1{}, rot2{}, torque2{};
        int n1 = 0, n2 = 0;
        io::unit(RUNTIME_UNIT).flush();
        TQLLSECHO(set, 1, j, pile, status, n1, torque1, rot1);
        if (status != ST_OK) return;
        io::unit(RUNTIME_UNIT).flush();
        TQLLSECHO(set, 2, j, pile, status, n2, torque2, rot2);
        if (status != ST_OK) return;
        TQCRV.TQGNPT(j) = 2 * n1 + 1;
        joinBranches(TQCRV.TQGR, TQCRV.TQGT, j, n1, rot1, torque1, rot2, torque2);
    }

    io::Unit& plot = io::unit(PLOT_UNIT);
    u.blankLines(1);
    u.line() << io::X{5} << "TORQUE-ROTATION CURVES" << " GENERATED INTERNALLY ";
    countLine(u, n);
    plot.line() << io::X{5} << "* TORQUE-ROTATION CURVES *";
    plot.line() << io::X{5} << io::I(5, n);
    for (int j = 1; j <= n; ++j) {
        curveBlock(u, torque, j, TQCRV.TQGNPT(j), TQCRV.TQGR, TQCRV.TQGT);
        plotCurve(plot, j, TQCRV.TQGNPT(j), TQCRV.TQGR, TQCRV.TQGT);
    }
}

}  // namespace

void echoCurveTables(int& status) {
    io::Unit& u = io::unit(ECHO_UNIT);
    if (CTLIN.KPYOP == 1) printRequests(u);
    if (CTLIN.KUSERPY == 1) tableG(u);
    tableH(u, status);
    if (status != ST_OK) return;
    if (CTLIN.ANTYPE == 3) tableI(u, status);
}

}  // namespace kaldo
