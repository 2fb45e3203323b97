// Reports of a case with values given at a point: the point tables of the results and summary files
// (the point, the loads and the displacement there) and the iteration log rows of the bordered system.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>

#include "group/point.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {
namespace {

using io::A;
using io::E;
using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

void row(int unit, int blanks, int w, int d, std::initializer_list<double> values) {
    io::Unit& u = U(unit);
    WCOLBLNK(u, blanks);
    for (double v : values) WCOLREAL(u, w, d, v);
    WCOLEOL(u);
}

double kd(double v) { return UCVKIPDIV(v); }

// The marker of component i, or nothing where the table has none.
std::string_view mark(const std::string& M, std::size_t i, bool marked) {
    return marked ? std::string_view(M).substr(i, 1) : std::string_view();
}

void pointTables3D(int unit, bool marked, const Vec6& r, const Vec6& PP, const Vec6& UP, const std::string& M1,
                   const std::string& M2) {
    io::Unit& o = U(unit);
    const std::string& f4 = LABELS.LBLRFORCE4;
    const std::string& f3 = LABELS.LBLRFORCE;
    const std::string& l2 = LABELS.LBLLEN;
    const std::string& ft = LABELS.LBLCOORD;
    // A marked label is one character longer: the blanks after it are one fewer.
    const int gap = marked ? 0 : 1;

    o.blankLines(2);
    o.line() << X{5} << "* POINT OF DEFINITION" << " DISPLACEMENT/LOADS *";
    o.blankLines(2);
    o.line() << X{10} << "  COORD. X ," << A(2, ft) << X{6} << "   COORD. Y ," << A(2, ft) << X{5} << "   COORD. Z ,"
             << A(2, ft);
    row(unit, 5, 19, 5, {UCVD12(r[0]), UCVD12(r[1]), UCVD12(r[2])});

    o.blankLines(2);
    o.line() << X{5} << "* CONCENTRATED LOAD" << " AT SPECIFIED POINT *";
    o.blankLines(2);
    o.line() << X{11} << "VERT. LOAD," << A(4, f4) << mark(M1, 0, marked) << X{3 + gap} << "HOR. LOAD Y," << A(4, f4)
             << mark(M1, 1, marked) << X{2 + gap} << "HOR. LOAD Z," << A(4, f4) << mark(M1, 2, marked);
    row(unit, 5, 19, 5, {kd(PP[0]), kd(PP[1]), kd(PP[2])});
    o.endLine();
    o.line() << X{10} << "MOMENT X ," << A(3, f3) << "-" << A(2, l2) << mark(M1, 3, marked) << X{3 + gap}
             << "MOMENT Y," << A(3, f3) << "-" << A(2, l2) << mark(M1, 4, marked) << X{3 + gap} << "MOMENT Z,"
             << A(3, f3) << "-" << A(2, l2) << mark(M1, 5, marked);
    row(unit, 5, 19, 5, {kd(PP[3]), kd(PP[4]), kd(PP[5])});

    o.blankLines(2);
    o.line() << X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT SPECIFIED POINT *";
    o.blankLines(2);
    o.line() << X{10} << "  VERTICAL ," << A(2, l2) << mark(M2, 0, marked) << X{5 + gap} << "HORIZONTAL Y,"
             << A(2, l2) << mark(M2, 1, marked) << X{4 + gap} << "HORIZONTAL Z," << A(2, l2) << mark(M2, 2, marked);
    row(unit, 5, 19, 5, {UP[0], UP[1], UP[2]});
    o.endLine();
    o.line() << X{10} << "ANGLE ROT. X," << "RAD" << mark(M2, 3, marked) << X{3 + gap} << "ANGLE ROT. Y," << "RAD"
             << mark(M2, 4, marked) << X{3 + gap} << "ANGLE ROT. Z," << "RAD" << mark(M2, 5, marked);
    row(unit, 5, 19, 5, {UP[3], UP[4], UP[5]});
}

void pointTables2D(int unit, const Vec6& r, const Vec3& PP, const Vec3& UP, const std::string& M1,
                   const std::string& M2) {
    io::Unit& o = U(unit);
    const std::string& f4 = LABELS.LBLRFORCE4;
    const std::string& f3 = LABELS.LBLRFORCE;
    const std::string& l2 = LABELS.LBLLEN;
    const std::string& ft = LABELS.LBLCOORD;

    o.blankLines(2);
    o.line() << X{5} << "* POINT OF DEFINITION" << " DISPLACEMENT/LOADS *";
    o.blankLines(2);
    o.line() << X{10} << "  COORD. X ," << A(2, ft) << X{6} << "   COORD. Y ," << A(2, ft);
    row(unit, 5, 19, 5, {UCVD12(r[0]), UCVD12(r[1])});

    o.blankLines(2);
    o.line() << X{5} << "* CONCENTRATED LOAD" << " AT SPECIFIED POINT *";
    o.endLine();
    o.line() << X{13} << "VERT. LOAD," << A(4, f4) << mark(M1, 0, true) << X{3} << "HORI. LOAD," << A(4, f4) << mark(M1, 1, true)
             << X{3} << "MOMENT," << A(3, f3) << "-" << A(2, l2) << mark(M1, 2, true);
    row(unit, 10, 18, 5, {kd(PP[0]), kd(PP[1]), kd(PP[2])});

    o.blankLines(2);
    o.line() << X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT SPECIFIED POINT *";
    o.endLine();
    o.line() << X{16} << "VERTICAL," << A(2, l2) << mark(M2, 0, true) << X{5} << "HORIZONTAL," << A(2, l2) << mark(M2, 1, true)
             << X{4} << "ROTATION," << "RAD" << mark(M2, 2, true);
    row(unit, 10, 18, 5, {UP[0], UP[1], UP[2]});
}

// A five-character label and the values of a vector, each in an exponent field.
template <class V>
void logVector(const char* label, const V& v, int w, int d) {
    auto l = U(ITERLOG_UNIT).line();
    l << label;
    for (double x : v) l << E{w, d, x};
}

// The rows of the n x n bordered matrix A (by columns): the label, the row number in iw columns, then
// the row in exponent fields.
void logRows(std::span<const double> A, int n, const char* label, int iw, int w, int d) {
    for (int i = 1; i <= n; ++i) {
        auto l = U(ITERLOG_UNIT).line();
        l << label << I(iw, i);
        for (int j = 1; j <= n; ++j) l << E{w, d, A[static_cast<std::size_t>((i - 1) + (j - 1) * n)]};
    }
}

// The vectors of one bordered solve; the fifth is the sum of the right-hand side and the force copy
// times sign.
template <class V>
void logSolve(const V& x, const V& b, const V& dU, const V& u, const V& g, double sign, int w, int d) {
    V sum{};
    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] = sign * (b[i] + g[i]);
    logVector("DDUV ", x, w, d);
    logVector("DFUV ", b, w, d);
    logVector("UDUV ", dU, w, d);
    logVector("DUV  ", u, w, d);
    logVector("FFUV ", sum, w, d);
    logVector("RUV  ", g, w, d);
}

}  // namespace

void grpsolPointTables(const Vec6& RSP, const Vec6& PP, const Vec6& UP, const std::string& M1,
                       const std::string& M2) {
    pointTables3D(RESULTS_UNIT, true, RSP, PP, UP, M1, M2);
    pointTables3D(SUMMARY_UNIT, false, RSP, PP, UP, M1, M2);
}

void grpsol2dPointTables(const Vec6& RSP, const Vec3& PP, const Vec3& UP, const std::string& M1,
                         const std::string& M2) {
    pointTables2D(RESULTS_UNIT, RSP, PP, UP, M1, M2);
    pointTables2D(SUMMARY_UNIT, RSP, PP, UP, M1, M2);
}

void grpsolLogBordered(const Mat12& A) { logRows(A, 12, "SE ", 2, 13, 5); }

void grpsolLogPointVectors(const Vec12& x, const Vec12& b, const Vec12& dU, const Vec12& u, const Vec12& g) {
    logSolve(x, b, dU, u, g, -1.0, 13, 5);
}

void grpsol2dLogBordered(const Mat6& A) { logRows(A, 6, "SE  ", 1, 18, 10); }

void grpsol2dLogPointVectors(const Vec6& x, const Vec6& b, const Vec6& dU, const Vec6& u, const Vec6& g) {
    logSolve(x, b, dU, u, g, 1.0, 18, 10);
}

}  // namespace kaldo
