// Report of generated p-y curves (Table N of the echo report): for each p-y print request either the
// reason why no curve is listed, or the curve of the pile at the requested depth listed by the layer's
// criterion in report mode, on the echo report and the plot output file.
//
// Runs once, on the calling thread, after all analyses. To list a curve it moves the pile's first node to
// the requested depth and gives that node alone to the layer there; the node set-up lays the pile out
// again before any later analysis of it.
#include <algorithm>
#include <cmath>
#include <string>

#include "io/format.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/modelinput.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/pymode.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

// Classification of a request (PYPSTAT).
enum Request : int {
    GENERATE = 0,
    CAP_CURVE = 1,      // the one curve listed at pile-cap level
    CAP_FURTHER = 2,    // a further request at cap level
    ABOVE_GROUND = 3,   // at or above the ground surface of the pile
    BELOW_TIP = 4,      // below the pile tip
    ABOVE_CAP = 5,      // at or above the top of the pile cap
    ABOVE_HEAD = 6,     // at or above the pile head, no cap
};

// A depth of the report: feet or metres, then the depth label.
std::string depthText(double X) {
    return io::fmtF(10, 2, UCVD12(X)) + " " + io::fmtA(2, LABELS.LBLCOORD);
}

const std::string INDENT(9, ' ');

void curveNumber(io::Unit& u, int r) {
    u.blankLines(2);
    u.line() << INDENT << "CURVE NUMBER              =" << io::I{5, r};
}

void pileGroup(io::Unit& u, int J) {
    u.blankLines(1);
    u.line() << INDENT << "PILE GROUP NUMBER         =" << io::I{5, J};
}

void capLevel(io::Unit& u, double X) {
    u.blankLines(1);
    u.line() << INDENT << "AT PILE CAP LEVEL, DEPTH  =" << depthText(X);
}

// Why the curve at X is not generated: the case text and the reference depth R it is measured against.
void notGenerated(io::Unit& u, int r, int J, double X, const char* lead, const char* text, double R) {
    curveNumber(u, r);
    pileGroup(u, J);
    u.blankLines(1);
    u.line() << INDENT << lead << depthText(X) << ",";
    u.line() << INDENT << text << depthText(R);
}

// The request's record on the plot output file: request, pile and the number of listed points.
void plotRecord(int r, int J, int points) {
    io::unit(PLOT_UNIT).line() << io::I{5, r} << io::I{5, J} << io::I{5, points};
}

// Classification of every request, in request order; a later test overrides an earlier one. With an
// embedded cap only the first request inside the cap's thickness lists the cap's curve.
void classify(int requests) {
    const double tol = py::DEPTH_TOL;
    for (int r = 1; r <= requests; ++r) {
        const int J = PYPRT.PYPGRP(r);
        const double X = PYPRT.PYPX(r);
        const double head = PILE.HEADXW(J);
        int st = GENERATE;
        if (X - PILE.GROUND(J) - head <= tol) st = ABOVE_GROUND;
        if (X > head + PILESET.PLEN(PILE.PSETNO(J))) st = BELOW_TIP;
        if (CTLIN.CAPOPT > 0 && X <= head - CAPIN.CAPTX) st = ABOVE_CAP;
        if (CTLIN.CAPOPT <= 0 && X <= head) st = ABOVE_HEAD;
        PYMODE.PYPSTAT(r) = st;
    }
    if (CTLIN.CAPOPT <= 0) return;
    bool listed = false;
    for (int r = 1; r <= requests; ++r) {
        const double X = PYPRT.PYPX(r);
        const double head = PILE.HEADXW(PYPRT.PYPGRP(r));
        if (PYMODE.PYPSTAT(r) != GENERATE || X < head - CAPIN.CAPTX || X > head) continue;
        PYMODE.PYPSTAT(r) = listed ? CAP_FURTHER : CAP_CURVE;
        listed = true;
    }
}

}  // namespace

void PYREPORT(int& status) {
    SOILLAY.NLAYER = SOILIN.NLAYIN;
    PYMODE.PYPRTMODE = 1;
    const int layers = std::clamp(SOILLAY.NLAYER, 0, LAYSLOTS - 1);
    const int deepest = std::max(layers, 1);
    const int requests = std::clamp(PYPRT.NPYPRT, 0, MAXPYPRT);
    classify(requests);

    io::Unit& echo = io::unit(ECHO_UNIT);
    io::Unit& plot = io::unit(PLOT_UNIT);
    echo.blankLines(2);
    echo.line() << io::X{5} << "* GENERATED P-Y CURVES *";
    echo.blankLines(1);
    echo.line() << io::X{5} << "NUMBER OF CURVES  :" << io::I{5, PYPRT.NPYPRT};
    plot.line() << io::X{5} << "* GENERATED P-Y CURVES *";
    plot.line() << io::X{5} << io::I{5, PYPRT.NPYPRT};

    // Scratch node arrays: the listing reads none of their values.
    NodeArray y{}, Es{}, smov1{}, smov2{}, esy{}, p{};

    for (int r = 1; r <= requests; ++r) {
        const int J = PYPRT.PYPGRP(r);
        const double X = PYPRT.PYPX(r);
        const int npt = PYPRT.PYPNPT(r);
        const int shown = npt == 0 ? 17 : npt;
        const double head = PILE.HEADXW(J);
        PYMODE.PYPRTREQ = r;
        PYMODE.NPYPT = npt;

        // The listing node: the pile's first node moved to X, keeping the first increment's length, and
        // to the same place along the axis, where the section's diameter is read.
        NODES.NODEX(J, 2) = X + (NODES.NODEX(J, 2) - NODES.NODEX(J, 1));
        NODES.NODEX(J, 1) = X;
        const double slope = CTLIN.KBATDEP == 1 ? std::cos(PILE.BATTER(J)) : 1.0;
        const double along = head + (X - head) / (slope > 0.0 ? slope : 1.0);
        NODES.NODEAX(J, 2) = along + (NODES.NODEAX(J, 2) - NODES.NODEAX(J, 1));
        NODES.NODEAX(J, 1) = along;
        py::listingNode(J, X, layers);
        // The layer that names the criterion: the first one that holds X (at a boundary the upper one).
        int Lc = layers + 1;
        for (int L = 1; L <= layers; ++L)
            if (SOILLAY.XTOP(L) <= X && X <= SOILLAY.XBOT(L)) {
                Lc = L;
                break;
            }

        const int st = PYMODE.PYPSTAT(r);
        const char* const REQUIRED = "CURVE NOT GENERATED SINCE REQUIRED DEPTH,  ";
        const char* const REQUIRED5 = "CURVE NOT GENERATED SINCE REQUIRED DEPTH,     ";
        bool listed = false;
        if (st == CAP_FURTHER) {
            curveNumber(echo, r);
            capLevel(echo, X);
            echo.blankLines(1);
            echo.line() << INDENT << "CURVE NOT GENERATED SINCE ONLY ONE CURVE ";
            echo.line() << INDENT << "AT PILE CAP LEVEL CAN BE PRINTED ";
        } else if (st == ABOVE_GROUND) {
            notGenerated(echo, r, J, X, REQUIRED, "IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE, ",
                         head + PILE.GROUND(J));
        } else if (st == BELOW_TIP) {
            notGenerated(echo, r, J, X, REQUIRED, "IS BELOW TIP OF REQUIRED PILE, ",
                         head + PILESET.PLEN(PILE.PSETNO(J)));
        } else if (st == ABOVE_CAP) {
            notGenerated(echo, r, J, X, REQUIRED, "IS ABOVE TOP OF PILE CAP, ", head - CAPIN.CAPTX);
        } else if (st == ABOVE_HEAD) {
            notGenerated(echo, r, J, X, REQUIRED, "IS ABOVE TOP OF REQUIRED PILE, ", head);
        } else if (X <= SOILLAY.XTOP(1)) {
            notGenerated(echo, r, J, X, REQUIRED, "IS ABOVE OR EQUAL TO THE DEFINED SOIL TOP, ", SOILLAY.XTOP(1));
        } else if (X >= SOILLAY.XBOT(deepest)) {
            notGenerated(echo, r, J, X, REQUIRED5, "IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM, ",
                         SOILLAY.XBOT(deepest));
        } else if (PILE.PYCRV(J) > 0 && CTLIN.KUSERPY > 0) {
            curveNumber(echo, r);
            pileGroup(echo, J);
            echo.blankLines(1);
            echo.line() << INDENT << "CURVE NOT GENERATED SINCE A USER DEFINED P-Y CURVE";
            echo.line() << INDENT << "IS SET FOR THIS PILE (" << io::I{3, PILE.PYCRV(J)} << ")";
        } else if (SOILLAY.LCRIT(Lc) == 5) {
            curveNumber(echo, r);
            pileGroup(echo, J);
            echo.blankLines(1);
            echo.line() << INDENT << REQUIRED5 << depthText(X) << ",";
            echo.line() << INDENT << "IS WITHIN LAYER " << io::I{3, Lc} << ", WHICH IS SET AS USER DEFINED P-Y CURVES";
        } else {
            listed = true;
        }
        if (!listed) {
            plotRecord(r, J, 0);
            continue;
        }

        curveNumber(echo, r);
        if (st == CAP_CURVE) {
            capLevel(echo, X);
        } else {
            pileGroup(echo, J);
            echo.blankLines(1);
            echo.line() << INDENT << "DEPTH BELOW ORIGIN        =" << depthText(X);
        }
        echo.blankLines(1);
        echo.line() << INDENT << "NUMBER OF POINTS ON CURVE =" << io::I{5, shown};
        plotRecord(r, J, shown);
        const std::string name = py::criterionText(SOILLAY.LCRIT(Lc));
        if (!name.empty()) {
            echo.blankLines(1);
            echo.line() << INDENT << "P-Y CURVE COMPUTED USING " << name;
        }
        // A failing profile lookup leaves its status for the run driver; the other requests go on.
        PYLAYERS(PILE.PSETNO(J), status, J, J, y, Es, smov1, smov2, esy, p);
    }
}

}  // namespace kaldo
