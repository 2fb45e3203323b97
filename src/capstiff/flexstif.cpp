// The cap stiffness matrices of a cap-flexibility case: at every point (load level) the flexibility
// matrix assembled from the degree-of-freedom loops, column by column, and its inverse.
#include <array>
#include <string>
#include <vector>

#include "capstiff/capstiff.h"
#include "capstiff/flexscratch.h"
#include "io/units.h"
#include "model/files.h"
#include "model/labels.h"
#include "services/colwrite.h"
#include "services/linalg.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::A;
using io::F;
using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

const char* const ROT = "RAD";

// The matrix of one point, held by columns with leading dimension 6 as the inversion takes it.
struct PointMatrix {
    std::array<double, 36> a{};
    double& operator()(int i, int j) { return a[static_cast<std::size_t>((i - 1) + 6 * (j - 1))]; }
};

// Units of the plane table (three components: force X, force Y, moment Z).
void planeUnits(int unit, bool coupled, bool titleOnly) {
    io::Unit& o = U(unit);
    const std::string& f = LABELS.LBLRFORCE;
    const std::string& l = LABELS.LBLLEN;
    if (coupled) {
        {
            auto t = o.line();
            t << X{5} << " DOF " << X{4};
            for (int k = 1; k <= 3; ++k) t << I(9, k) << X{9};
        }
        if (titleOnly) return;
        for (int r = 1; r <= 2; ++r)
            o.line() << X{5} << I(5, r) << X{4} << X{4} << A(3, f) << "/" << A(2, l) << X{12} << A(3, f) << "/"
                     << A(2, l) << X{13} << A(3, f) << "/" << A(3, ROT);
        o.line() << X{5} << I(5, 3) << X{4} << X{6} << A(3, f) << X{15} << A(3, f) << X{11} << A(3, f) << "-"
                 << A(2, l) << "/" << A(3, ROT);
        return;
    }
    {
        auto t = o.line();
        t << X{5} << "     " << X{3};
        for (int k = 1; k <= 3; ++k) t << X{7} << "K" << I(1, k) << I(1, k) << X{8};
    }
    if (titleOnly) return;
    o.line() << X{18} << A(3, f) << "/" << A(2, l) << X{12} << A(3, f) << "/" << A(2, l) << X{10} << A(3, f) << "-"
             << A(2, l) << "/" << A(3, ROT);
}

// Units of the three-dimensional table (six components).
void spaceUnits(int unit, bool coupled, bool titleOnly) {
    io::Unit& o = U(unit);
    const std::string& f = LABELS.LBLRFORCE;
    const std::string& l = LABELS.LBLLEN;
    if (coupled) {
        {
            auto t = o.line();
            t << X{2} << "  DOF";
            for (int k = 1; k <= 6; ++k) t << I(11, k) << X{4};
        }
        if (titleOnly) return;
        for (int r = 1; r <= 3; ++r) {
            auto t = o.line();
            t << X{2} << I(5, r) << X{3} << X{4};
            for (int k = 0; k < 3; ++k) t << A(3, f) << "/" << A(2, l) << X{9};
            t << A(3, f) << "/" << A(3, ROT) << X{8} << A(3, f) << "/" << A(3, ROT) << X{8} << A(3, f) << "/"
              << A(3, ROT);
        }
        for (int r = 4; r <= 6; ++r) {
            auto t = o.line();
            t << X{2} << I(5, r) << X{3} << X{6} << A(3, f) << X{12} << A(3, f) << X{12} << A(3, f) << X{8};
            for (int k = 0; k < 3; ++k) {
                if (k > 0) t << X{5};
                t << A(3, f) << "-" << A(2, l) << "/" << A(3, ROT);
            }
        }
        return;
    }
    {
        auto t = o.line();
        t << X{2} << X{5};
        for (int k = 1; k <= 6; ++k) t << X{9} << "K" << I(1, k) << I(1, k) << X{3};
    }
    if (titleOnly) return;
    auto t = o.line();
    t << X{11} << X{3};
    for (int k = 0; k < 3; ++k) t << A(3, f) << "/" << A(2, l) << X{k < 2 ? 9 : 7};
    for (int k = 0; k < 3; ++k) {
        if (k > 0) t << X{5};
        t << A(3, f) << "-" << A(2, l) << "/" << A(3, ROT);
    }
}

void unitsTable(int n, bool coupled) {
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(unit).endLine();
        U(unit).line() << X{4} << "UNITS";
        if (n == 3)
            planeUnits(unit, coupled, false);
        else
            spaceUnits(unit, coupled, false);
    }
}

// The stiffness matrix of one point on one unit (forces in kips with the kip option).
void stiffnessRows(int unit, PointMatrix& K, int n, bool coupled) {
    io::Unit& o = U(unit);
    if (n == 3)
        planeUnits(unit, coupled, true);
    else
        spaceUnits(unit, coupled, true);
    if (!coupled) {
        if (n == 3) {
            o.part() << X{5} << X{5} << X{2};
            WCOLBLNK(o, 12);
        } else {
            WCOLBLNK(o, 7);
        }
        for (int k = 1; k <= n; ++k) {
            WCOLREAL(o, n == 3 ? 14 : 15, 5, UCVKIPDIV(K(k, k)));
            if (n == 3) WCOLBLNK(o, 4);
        }
        WCOLEOL(o);
        return;
    }
    for (int i = 1; i <= n; ++i) {
        if (n == 3) {
            o.part() << X{5} << I(5, i) << X{2};
            WCOLBLNK(o, 2);
        } else {
            WCOLBLNK(o, 2);
            WCOLINT(o, 5, i);
        }
        for (int j = 1; j <= n; ++j) {
            WCOLREAL(o, n == 3 ? 14 : 15, 5, UCVKIPDIV(K(i, j)));
            if (n == 3) WCOLBLNK(o, 4);
        }
        WCOLEOL(o);
    }
}

// The matrix on the pile results file, unconverted: its diagonal, then row by row.
void pileResultsBlock(PointMatrix& K, int n) {
    io::Unit& p = U(PILERES_UNIT);
    auto value = [&p](double x) {
        WCOLREAL(p, 18, 8, x);
        WCOLBLNK(p, 4);
    };
    p.part() << X{5} << X{5} << X{2};
    WCOLBLNK(p, 2);
    for (int k = 1; k <= n; ++k) value(K(k, k));
    WCOLEOL(p);
    for (int i = 1; i <= n; ++i) {
        p.part() << X{5} << I(5, i) << X{2};
        WCOLBLNK(p, 2);
        for (int j = 1; j <= n; ++j) value(K(i, j));
        WCOLEOL(p);
    }
}

// The components without a result at this point, named on the summary and results files.
void missingWarning(const std::vector<int>& flagged) {
    std::string names;
    for (std::size_t k = 0; k < flagged.size(); ++k) {
        const std::string c = std::to_string(flagged[k]);
        names += "K" + c + c + (k + 1 < flagged.size() ? ", " : "  ");
    }
    for (int unit : {SUMMARY_UNIT, RESULTS_UNIT}) {
        io::Unit& o = U(unit);
        o.endLine();
        o.line() << X{5} << "WARNING : STIFFNESS VALUES FOR COMPONENT(S): " << names;
        o.line() << X{5} << "WERE NOT ESTIMATED SINCE THERE WAS " << "NO CONVERGENCE ON PILE CAP "
                 << "OR APPLIED FORCE AT CAP IS ZERO";
        o.line() << X{5} << "VALUE OF 1.0 IS PRINTED FOR THE STIFFNESS(ES)";
        o.endLine();
    }
}

// A flexibility matrix without an inverse has no stiffness matrix: the point says so instead of printing
// what the elimination left behind.
void singularWarning(int g) {
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT, RUNTIME_UNIT}) {
        io::Unit& o = U(unit);
        o.endLine();
        o.line() << X{5} << "** WARNING **  " << "FLEXIBILITY MATRIX OF POINT " << I(3, g) << " IS SINGULAR";
        o.line() << X{20} << "NO STIFFNESS MATRIX IS ESTIMATED FOR THIS POINT";
    }
    U(RUNTIME_UNIT).flush();
}

}  // namespace

// The three-dimensional and the plane form differ only in their table widths and in where the pile
// results block stands: after the point's heading in three dimensions, after the matrix in the plane.
void FLEXSTIF(int option1, int option2, int increments, int ndof, int, Arr<double, 1, MAXFSD>& fsdc) {
    if (option1 != 1) return;
    const int n = ndof == 3 ? 3 : 6;
    const bool coupled = option2 != 1;
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(unit).blankLines(2);
        U(unit).line() << X{5} << "* PILE CAP STIFFNESS ESTIMATION *";
    }
    for (int unit : {PILERES_UNIT, RUNTIME_UNIT}) U(unit).line() << X{5} << "* PILE CAP STIFFNESS ESTIMATION *";
    U(RUNTIME_UNIT).flush();
    U(FLEX1_UNIT).close();
    unitsTable(n, coupled);
    if (increments <= 0) return;

    // The flexibility lines of every loop, loops 1..n one after the other, each with a line per point.
    std::vector<FlexLine> lines;
    io::Unit& scratch = U(FLEX1_UNIT);
    openFlexForReading(FLEX1_UNIT, REC_FLEX1);
    for (int l = 0; l < n * increments; ++l) lines.push_back(readFlexLine(scratch, n));
    scratch.close();

    for (int g = 1; g <= increments; ++g) {
        PointMatrix K;
        std::vector<int> flagged;
        for (int l = 1; l <= n; ++l) {
            const FlexLine& v = lines[static_cast<std::size_t>((l - 1) * increments + (g - 1))];
            // A loop not solved, or a point of it without a result, left the unit vector of its component.
            if (v.v[static_cast<std::size_t>(l - 1)] == 1.0) flagged.push_back(l);
            for (int k = 1; k <= n; ++k)
                if (coupled || k == l) K(k, l) = v.v[static_cast<std::size_t>(k - 1)];
        }
        int singular = 0;
        GJINV3(K.a, n, 6, singular);

        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            U(unit).endLine();
            U(unit).line() << X{4} << "   N:" << I(5, g) << "  FACTOR :" << F{10, 4, fsdc(g)};
        }
        U(PILERES_UNIT).line() << X{4} << "   N:" << I(5, g) << "  FACTOR :" << F{10, 4, fsdc(g)};
        if (singular != 0) {
            singularWarning(g);
            continue;
        }
        if (n == 6) pileResultsBlock(K, n);
        // A component without a result prints 1.0 in the report's force unit.
        if (UCVKIPDIV(1.0) < static_cast<double>(0.1f))
            for (int l : flagged) K(l, l) *= 1000.0;
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) stiffnessRows(unit, K, n, coupled);
        if (!flagged.empty()) missingWarning(flagged);
        if (n == 3) pileResultsBlock(K, n);
    }
}

}  // namespace kaldo
