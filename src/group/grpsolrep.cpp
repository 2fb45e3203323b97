// Reports of the three-dimensional group solution: the reduction factors, Table L with the cap loads
// and displacements at the origin, the embedded cap's passive resistance, the Table M headings, the
// iteration log and the equivalent stiffness print matrix.
#include <string>

#include "group/group.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {
namespace {

using io::A;
using io::E;
using io::F;
using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

// b blanks, then the values in fields of w columns with d digits, then the end of the line.
void row(int unit, int b, int w, int d, std::initializer_list<double> values) {
    io::Unit& u = U(unit);
    WCOLBLNK(u, b);
    for (double v : values) WCOLREAL(u, w, d, v);
    WCOLEOL(u);
}

double kd(double v) { return UCVKIPDIV(v); }

// The four headings and value rows of the cap loads and displacement (results and summary files).
void capBlock(int unit, const Vec6& P, const Vec6& u) {
    io::Unit& o = U(unit);
    const std::string& f4 = LABELS.LBLRFORCE4;
    const std::string& f3 = LABELS.LBLRFORCE;
    const std::string& l2 = LABELS.LBLLEN;
    o.blankLines(2);
    o.line() << X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    o.blankLines(2);
    o.line() << X{11} << "VERT. LOAD," << A(4, f4) << X{4} << "HOR. LOAD Y," << A(4, f4) << X{3} << "HOR. LOAD Z,"
             << A(4, f4);
    row(unit, 5, 19, 5, {kd(P[0]), kd(P[1]), kd(P[2])});
    o.endLine();
    o.line() << X{10} << "MOMENT X ," << A(3, f3) << "-" << A(2, l2) << X{4} << "MOMENT Y," << A(3, f3) << "-"
             << A(2, l2) << X{4} << "MOMENT Z," << A(3, f3) << "-" << A(2, l2);
    row(unit, 5, 19, 5, {kd(P[3]), kd(P[4]), kd(P[5])});
    o.blankLines(2);
    o.line() << X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT ORIGIN *";
    o.blankLines(2);
    o.line() << X{10} << "  VERTICAL ," << A(2, l2) << X{6} << "HORIZONTAL Y," << A(2, l2) << X{5} << "HORIZONTAL Z,"
             << A(2, l2);
    row(unit, 5, 19, 5, {u[0], u[1], u[2]});
    o.endLine();
    o.line() << X{10} << "ANGLE ROT. X," << "RAD" << X{4} << "ANGLE ROT. Y," << "RAD" << X{4} << "ANGLE ROT. Z,"
             << "RAD";
    row(unit, 5, 19, 5, {u[3], u[4], u[5]});
}

void pileResLine(const Vec6& v) {
    io::Unit& o = U(PILERES_UNIT);
    for (double x : v) {
        WCOLREAL(o, 18, 8, x);
        WCOLBLNK(o, 5);
    }
    WCOLEOL(o);
}

}  // namespace

void grpsolFactorTable() {
    const bool given = CTLIN.KGRPRF == 3 || CTLIN.KGRPRF == 4;
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& o = U(unit);
        o.endLine();
        o.line() << X{7} << "REDUCTION FACTORS FOR CLOSELY-SPACED PILE" << X{1} << "GROUPS, COMBINED Y AND Z DIRECTIONS";
        if (given) {
            o.line() << X{7} << "USING A PREDEFINED MOVEMENT" << X{7} << "                                 ";
        } else {
            o.line() << X{7} << "ESTIMATED USING MOVEMENT IN" << X{1} << "THE DIRECTION OF PILE CAP DISPLACEMENTS";
            o.line() << X{7} << "                                 ";
        }
        o.line() << X{7} << "     GROUP NO     P-FACTOR     Y-FACTOR        ";
        o.endLine();
    }
    U(PILERES_UNIT).line() << X{7} << "*REDUCTION FACTORS FOR CLOSELY-SPACED PILE*";
    for (int i = 1; i <= PILE.NPILES; ++i) {
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::Unit& o = U(unit);
            WCOLBLNK(o, 12);
            WCOLINT(o, 5, i);
            WCOLBLNK(o, 5);
            WCOLREAL(o, 12, 4, PILEFAC.PMUL(i));
            WCOLBLNK(o, 1);
            WCOLREAL(o, 12, 4, PILEFAC.YMUL(i));
            WCOLEOL(o);
        }
        io::Unit& o = U(PILERES_UNIT);
        WCOLINT(o, 10, i);
        WCOLBLNK(o, 4);
        WCOLREAL(o, 18, 8, PILEFAC.PMUL(i));
        WCOLBLNK(o, 4);
        WCOLREAL(o, 18, 8, PILEFAC.YMUL(i));
        WCOLEOL(o);
    }
}

void grpsolTableLHeadings() {
    io::Unit& sc = U(SUMCOLL_UNIT);
    sc.endLine();
    sc.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
    io::Unit& r = U(RESULTS_UNIT);
    r.blankLines(3);
    r.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
}

void grpsolTableL(const Vec6& P, const Vec6& u, int its) {
    io::Unit& sc = U(SUMCOLL_UNIT);
    io::Unit& r = U(RESULTS_UNIT);
    capBlock(RESULTS_UNIT, P, u);
    r.blankLines(2);
    r.line() << X{10} << "NUMBER OF GLOBAL ITERATIONS = " << I(4, its);
    io::Unit& t = U(RUNTIME_UNIT);
    t.endLine();
    t.line() << X{10} << "NUMBER OF GLOBAL ITERATIONS = " << I(4, its);
    t.endLine();
    t.flush();

    const std::string& f3 = LABELS.LBLRFORCE;
    const std::string& l2 = LABELS.LBLLEN;
    sc.endLine();
    sc.line() << X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    sc.line() << X{8} << X{3} << "LOAD X," << A(3, f3) << X{2} << X{3} << "LOAD Y," << A(3, f3) << X{2} << X{3}
              << "LOAD Z," << A(3, f3) << X{2} << X{1} << " MOM X," << A(3, f3) << "-" << A(2, l2) << X{1} << X{1}
              << " MOM Y," << A(3, f3) << "-" << A(2, l2) << X{1} << X{1} << " MOM Z," << A(3, f3) << "-" << A(2, l2);
    row(SUMCOLL_UNIT, 7, 15, 5, {kd(P[0]), kd(P[1]), kd(P[2]), kd(P[3]), kd(P[4]), kd(P[5])});
    sc.endLine();
    sc.line() << X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT ORIGIN *";
    sc.line() << X{8} << X{4} << "DISP X," << A(2, l2) << X{2} << X{4} << "DISP Y," << A(2, l2) << X{2} << X{4}
              << "DISP Z," << A(2, l2) << X{2} << X{3} << " ROT X," << "RAD" << X{2} << X{3} << " ROT Y," << "RAD"
              << X{2} << X{3} << " ROT Z," << "RAD";
    row(SUMCOLL_UNIT, 7, 15, 5, {u[0], u[1], u[2], u[3], u[4], u[5]});

    io::Unit& s = U(SUMMARY_UNIT);
    s.blankLines(3);
    s.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
    capBlock(SUMMARY_UNIT, P, u);

    io::Unit& p = U(PILERES_UNIT);
    p.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
    p.line() << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    pileResLine(P);
    p.line() << "* DISPLACEMENT OF PILE CAP AT ORIGIN *";
    pileResLine(u);
}

void grpsolImbalanceWarning(const Vec6& unbalanced, double share, bool ofLoad) {
    const std::string& f3 = LABELS.LBLRFORCE;
    const std::string& l2 = LABELS.LBLLEN;
    for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) {
        io::Unit& o = U(unit);
        o.endLine();
        o.line() << X{5} << "** WARNING **  " << "THE PILE FORCES DO NOT BALANCE THE LOAD ON THE CAP";
        o.part() << X{20} << "UNBALANCED FORCES  X, Y, Z, " << A(3, f3) << X{3};
        for (std::size_t k = 0; k < 3; ++k) WCOLREAL(o, 13, 5, kd(unbalanced[k]));
        WCOLEOL(o);
        o.part() << X{20} << "UNBALANCED MOMENTS X, Y, Z, " << A(3, f3) << "-" << A(2, l2);
        for (std::size_t k = 3; k < 6; ++k) WCOLREAL(o, 13, 5, kd(unbalanced[k]));
        WCOLEOL(o);
        o.line() << X{20} << "THE UNBALANCE IS " << F{8, 2, 100.0 * share}
                 << (ofLoad ? " % OF THE LOAD" : " % OF THE FORCES AT THE PILE HEADS");
        o.endLine();
    }
    U(RUNTIME_UNIT).flush();
}

void grpsolPassiveTable(double Hy, double Hz, double position) {
    if (CTLPAR.KPRINT >= 0) {
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            U(unit).blankLines(2);
            U(unit).line() << X{5} << "* PASSIVE RESISTANCE IN PILE CAP *";
        }
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::Unit& o = U(unit);
            o.endLine();
            o.line() << X{5} << X{8} << "HOR. LOAD Y," << A(3, LABELS.LBLRFORCE) << X{4} << "HOR. LOAD Z,"
                     << A(3, LABELS.LBLRFORCE) << X{6} << "POSITION," << A(3, LABELS.LBLCOORDL) << X{6} << "EQ. DIAM,"
                     << A(3, LABELS.LBLCOORD);
        }
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT})
            row(unit, 5, 19, 5, {kd(Hy), kd(Hz), UCVD12(position), UCVD12(CAPIN.CAPWZ)});
    }
    io::Unit& p = U(PILERES_UNIT);
    p.line() << "* PASSIVE RESISTANCE IN PILE CAP *";
    WCOLREAL(p, 18, 8, Hy);
    WCOLBLNK(p, 5);
    WCOLREAL(p, 18, 8, Hz);
    WCOLBLNK(p, 5);
    WCOLREAL(p, 18, 8, position);
    WCOLEOL(p);
}

void grpsolTableM() {
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(unit).blankLines(3);
        U(unit).line() << X{5} << "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";
    }
    U(SUMCOLL_UNIT).endLine();
    U(SUMCOLL_UNIT).line() << X{5} << "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";
}

void grpsolLogStiffness(int it, const Mat6& K) {
    io::Unit& o = U(ITERLOG_UNIT);
    { o.free(); }
    { o.free() << it; }
    for (int i = 1; i <= 6; ++i) {
        auto l = o.line();
        l << "SS  " << I(1, i);
        for (int j = 1; j <= 6; ++j) l << E{13, 5, K[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]};
    }
}

void grpsolLogVectors(const Vec6& du, const Vec6& R, const Vec6& dU, const Vec6& u, const Vec6& P, const Vec6& F) {
    io::Unit& o = U(ITERLOG_UNIT);
    const std::pair<const char*, const Vec6*> lines[] = {
        {"DDV  ", &du}, {"DFV  ", &R}, {"UDV  ", &dU}, {"DV   ", &u}, {"FV   ", &P}, {"RV   ", &F}};
    for (const auto& [label, v] : lines) {
        auto l = o.line();
        l << label;
        for (double x : *v) l << E{13, 5, x};
    }
}

void grpsolEqvMatrix(const Mat6& K) {
    io::Unit& o = U(EQSTIFF_UNIT);
    o.line() << X{5} << "* EQV. STIFFNESS MATRIX AT ORIGIN *";
    for (int i = 0; i < 6; ++i) {
        row(EQSTIFF_UNIT, 5, 19, 5,
            {K[static_cast<std::size_t>(i)], K[static_cast<std::size_t>(i + 6)], K[static_cast<std::size_t>(i + 12)],
             K[static_cast<std::size_t>(i + 18)], K[static_cast<std::size_t>(i + 24)], K[static_cast<std::size_t>(i + 30)]});
    }
}

}  // namespace kaldo
