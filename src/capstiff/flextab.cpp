// The two tables of a solved degree-of-freedom loop of a cap-flexibility case, read back from the
// second flexibility scratch file: the applied load and cap displacements of every point, and the cap
// displacements per unit load (the loop's column of the flexibility matrix at every point).
#include <string>

#include "capstiff/capstiff.h"
#include "capstiff/flexscratch.h"
#include "io/units.h"
#include "model/files.h"
#include "model/labels.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::A;
using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

const char* const ROT = "RAD";

// The second line of the three-dimensional load-displacement heading: the six displacements.
void displacementTitles(io::Unit& o) {
    const std::string& len = LABELS.LBLLEN;
    o.line() << X{5} << "     " << X{5} << "DISP X," << A(2, len) << X{1} << X{5} << "DISP Y," << A(2, len) << X{1}
             << X{5} << "DISP Z," << A(2, len) << X{1} << X{5} << "ROT X," << A(3, ROT) << X{1} << X{5} << "ROT Y,"
             << A(3, ROT) << X{1} << X{5} << "ROT Z," << A(3, ROT);
}

void loadTableHeading(bool plane, bool forceLoop) {
    io::Unit& o = U(RESULTS_UNIT);
    const UnitLabels& b = LABELS;
    o.endLine();
    if (!plane) {
        if (forceLoop)
            o.line() << X{5} << "    N" << X{5} << "FORCE," << b.LBLRFORCE4 << X{1};
        else
            o.line() << X{5} << "    N" << X{2} << "MOMENT," << A(3, b.LBLRFORCE) << "-" << A(2, b.LBLLEN);
        displacementTitles(o);
    } else if (forceLoop) {
        o.line() << X{5} << "    N" << X{7} << "FORCE," << b.LBLRFORCE4 << X{5} << "VERT. DISP," << A(2, b.LBLLEN)
                 << X{4} << "HOR. DISP Y," << A(2, b.LBLLEN) << X{4} << "ROTATION Z," << A(3, ROT);
    } else {
        o.line() << X{5} << "    N" << X{5} << "MOMENT," << A(3, b.LBLRFORCE) << "-" << A(2, b.LBLLEN) << X{3}
                 << "VERT. DISP," << A(2, b.LBLLEN) << X{4} << "HOR. DISP Y," << A(2, b.LBLLEN) << X{4}
                 << "ROTATION Z," << A(3, ROT);
    }
}

// One point of the load-displacement table (results file) and its data line (pile results file, the
// values unconverted). A point without a result has a negative number.
void loadRow(const FlexLine& load, int d, int n, bool plane) {
    io::Unit& o = U(RESULTS_UNIT);
    const int j = load.point;
    const double F = load.v[0];
    if (j > 0 && !plane) {
        WCOLBLNK(o, 5);
        WCOLINT(o, 5, j);
        WCOLREAL(o, 15, 5, UCVKIPDIV(F));
        WCOLEOL(o);
        WCOLBLNK(o, 10);
        for (int k = 1; k <= n; ++k) WCOLREAL(o, 15, 5, load.v[static_cast<std::size_t>(k)]);
        WCOLEOL(o);
    } else if (j > 0) {
        o.part() << X{5} << I(5, j) << X{2};
        WCOLBLNK(o, 5);
        WCOLREAL(o, 14, 5, UCVKIPDIV(F));
        WCOLEOL(o);
        WCOLBLNK(o, 29);
        for (int k = 1; k <= n; ++k) {
            WCOLREAL(o, 14, 5, load.v[static_cast<std::size_t>(k)]);
            WCOLBLNK(o, 4);
        }
        WCOLEOL(o);
    } else {
        o.line() << X{5} << I(5, -j) << X{5} << "NO CONVERGENCE ON PILE CAP";
    }
    io::Unit& p = U(PILERES_UNIT);
    p.part() << X{5} << I(5, j) << X{2};
    WCOLBLNK(p, 2);
    auto value = [&p](double x) {
        WCOLREAL(p, 18, 8, x);
        WCOLBLNK(p, 4);
    };
    value(F);
    value(load.v[static_cast<std::size_t>(d)]);
    for (int k = 1; k <= n; ++k) value(load.v[static_cast<std::size_t>(k)]);
    WCOLEOL(p);
}

// The heading of the flexibility-coefficient table on one unit: "Skd", the displacement in component k
// per unit load in component d, for every k, and the units line.
void coefficientHeading(int unit, int d, int n, bool plane, bool forceLoop) {
    io::Unit& o = U(unit);
    const UnitLabels& b = LABELS;
    const std::string& len = b.LBLLEN;
    const std::string& force = b.LBLRFORCE;
    o.endLine();
    {
        auto title = o.line();
        title << X{5} << "    N";
        const bool wide = plane || unit == SUMMARY_UNIT;
        if (wide) title << X{2};
        for (int k = 1; k <= n; ++k) title << X{9} << "S" << I(1, k) << I(1, d) << X{wide ? 6 : 3};
    }
    auto units = o.line();
    if (!plane && forceLoop) {
        units << X{1} << "       " << X{1};
        for (int k = 0; k < 3; ++k) units << X{7} << A(2, len) << "/" << A(3, force) << X{2};
        units << X{6} << A(3, ROT) << "/" << A(3, force) << X{2} << X{6} << A(3, ROT) << "/" << A(3, force) << X{2}
              << X{6} << A(3, ROT) << "/" << A(3, force);
    } else if (!plane) {
        units << X{1} << "       " << X{1};
        for (int k = 0; k < 3; ++k) units << X{5} << A(2, len) << "/" << A(2, len) << "-" << A(3, force) << X{1};
        for (int k = 0; k < 3; ++k) units << X{5} << A(3, ROT) << "/" << A(2, len) << "-" << A(3, force);
    } else if (forceLoop) {
        units << X{5} << "     " << X{5};
        for (int k = 0; k < 2; ++k) units << X{5} << A(2, len) << "/" << A(3, force) << X{7};
        units << X{4} << A(3, ROT) << "/" << A(3, force) << X{7};
    } else {
        units << X{5} << "     " << X{5} << X{4} << A(2, len) << "/" << A(2, len) << "-" << A(3, force) << X{9}
              << A(2, len) << "/" << A(2, len) << "-" << A(3, force) << X{8} << A(3, ROT) << "/" << A(2, len) << "-"
              << A(3, force) << X{8};
    }
}

// One point of the flexibility-coefficient table on one unit (displacement per kip with the kip option).
void coefficientRow(int unit, const FlexLine& flex, int n, bool plane) {
    io::Unit& o = U(unit);
    const int j = flex.point;
    if (j <= 0) {
        o.line() << X{5} << I(5, -j) << X{5} << "NO CONVERGENCE ON PILE CAP";
        return;
    }
    if (!plane) {
        WCOLBLNK(o, 5);
        WCOLINT(o, 5, j);
        for (int k = 0; k < n; ++k) WCOLREAL(o, 15, 5, UCVKIPMUL(flex.v[static_cast<std::size_t>(k)]));
    } else {
        o.part() << X{5} << I(5, j) << X{2};
        WCOLBLNK(o, 5);
        for (int k = 0; k < n; ++k) {
            WCOLREAL(o, 14, 5, UCVKIPMUL(flex.v[static_cast<std::size_t>(k)]));
            WCOLBLNK(o, 4);
        }
    }
    WCOLEOL(o);
}

}  // namespace

void FLEXTAB(int pkind, int dof, int increments, int antype, int ndof, int& unit12open) {
    if (pkind != 2) return;
    const bool plane = antype == 2;
    const bool forceLoop = dof <= (plane ? 2 : 3);
    io::Unit& scratch = U(FLEX2_UNIT);

    // First pass: the load and the cap displacements of every point.
    scratch.close();
    openFlexForReading(FLEX2_UNIT, REC_FLEX2);
    unit12open = 1;
    loadTableHeading(plane, forceLoop);
    for (int j = 1; j <= increments; ++j) {
        const FlexLine load = readFlexLine(scratch, ndof + 1);
        loadRow(load, dof, ndof, plane);
        readFlexLine(scratch, ndof);
    }
    scratch.close();

    // Second pass: the displacements per unit load.
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) coefficientHeading(unit, dof, ndof, plane, forceLoop);
    openFlexForReading(FLEX2_UNIT, REC_FLEX2);
    for (int j = 1; j <= increments; ++j) {
        readFlexLine(scratch, ndof + 1);
        const FlexLine flex = readFlexLine(scratch, ndof);
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) coefficientRow(unit, flex, ndof, plane);
    }
    scratch.close();
    unit12open = 0;
}

}  // namespace kaldo
