// The plane group solution: equilibrium of the rigid cap with all piles of a plane model for one load
// case or combination, by load steps and Newton iteration on the cap displacement at the origin
// (vertical X, horizontal Y, rotation about Z).
//
// It follows the three-dimensional solution step for step (load levels, halving of a failed step, the
// shortening of a Newton step that leaves the cap further out of balance, the failure reasons and their
// case status lines, the partial-load result, the final results pass and the equilibrium check). What
// the plane does its own way: the stiffness is the central difference of six further force vectors, the
// 3 x 3 system is solved by its cofactors, and the convergence floors are fixed. An embedded cap's passive
// resistance (CAPOPT 1) is added to every force vector, so the stiffness holds its derivative as well.
#include <algorithm>
#include <cmath>
#include <string>

#include "capstiff/capstiff.h"
#include "group/group.h"
#include "group/point.h"
#include "group/stepsearch.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/host.h"
#include "services/linalg.h"
#include "services/pending.h"
#include "services/status.h"
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

const double NEAR_ONE = 1e-14;
const double FLOOR = static_cast<double>(1e-10f);  // increments this small have settled
const double SINGULAR = static_cast<double>(1e-14f);
const double GIVE_UP_LEVEL = static_cast<double>(1.1f);
const double ROT_STEP = static_cast<double>(1e-8f);
// The share of the load that may stay out of balance at a converged state before a warning says so
// (as in three dimensions).
const double EQUILIBRIUM_SHARE = 0.01;

const char* const PILES_FAILED = "    6 NO CONVERGENCE ON PILES   ";
const char* const CAP_SINGULAR = "    7 SINGULAR STIFFNESS MATRIX ";
const char* const CAP_NO_STEP = "    3 NO CONVERGENCE ON PILE CAP";
const char* const COMPLETED = "    1 ANALYSIS COMPLETED";

using V3 = std::array<double, 3>;
using M3 = std::array<double, 9>;  // by columns

double translationStep() { return CTLIN.UNITS == 2 ? static_cast<double>(2.54e-7f) : static_cast<double>(1e-5f); }

void norms(const V3& v, double& t, double& r) {
    t = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    r = std::fabs(v[2]);
}
void maxima(const V3& v, double& t, double& r) {
    t = std::max(std::fabs(v[0]), std::fabs(v[1]));
    r = std::fabs(v[2]);
}

void caseStatus(const std::string& text) { U(CASESTAT_UNIT).line() << text; }

// The lever arm by which moments at the origin compare with forces: the farthest pile head, and at
// least the largest pile diameter.
double groupLever() {
    double lever = 0.0;
    for (int p = 1; p <= PILE.NPILES; ++p)
        lever = std::max({lever, std::hypot(PILE.HEADXW(p), PILE.HEADYW(p)), groupPileDiameter(PILE.PSETNO(p))});
    return lever;
}

double loadSize(const V3& v, double lever) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] / (lever * lever));
}

struct Progress {
    int kind;
    int step = 0;
    bool shortForm() const {
        const bool flex = CTLPAR.KMODE >= 1 && CTLPAR.KMODE <= 10;
        return !flex || RUNPOINT.NPOINT == 1 || RUNPOINT.IPOINT == RUNPOINT.NPOINT;
    }
    void iteration(double tcur, int it) const {
        const int n = kind == 1 ? LCBDEF.NCOMB : LCDEF.NLC;
        const std::string first = std::string(kind == 1 ? "- ANALYSIS FOR LOAD COMB " : "- ANALYSIS FOR LOAD CASE ") +
                                  io::fmtI(3, RUNPOINT.CURCASE) + "/" + io::fmtI(3, n) + " (" +
                                  io::fmtI(2, RUNTIME.RUNTHRPEAK) + "/" + io::fmtI(2, RUNTIME.RUNTHRMAX) + " proc.)";
        std::string second;
        if (shortForm())
            second = " STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(10, 4, tcur);
        else if (EQSEST.EQSACT == 1)
            second = " POINT:" + io::fmtI(3, RUNPOINT.IPOINT) + "/" + io::fmtI(3, RUNPOINT.ILOOP) +
                     " STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(9, 3, tcur);
        else
            second = " DOF:" + io::fmtI(3, RUNPOINT.IPOINT) + "/" + io::fmtI(3, RUNPOINT.ILOOP) +
                     " STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(10, 4, tcur);
        progressText({first, second + " ITERATION:" + io::fmtI(5, it), ""});
    }
};

void clearWarningCounts() {
    RUNSTATE.RUNWARNBEAR = 0;
    RUNSTATE.RUNWARNPULL = 0;
    RUNSTATE.RUNWARNTORS = 0;
}

// The bearing and pull-out warnings of the last force evaluation, then 3 lines per counted record
// copied from the warning scratch file. True when there was anything to copy.
bool copyWarnings() {
    const int bear = RUNSTATE.RUNWARNBEAR.load(), pull = RUNSTATE.RUNWARNPULL.load();
    struct Kind {
        int count;
        const char* text;
        const char* line2;
        const char* line3;
    };
    const Kind kinds[] = {
        {bear, "SOME PILES, MAY FAIL IN BEARING!", "AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN",
         "MAXIMUM DISPLACEMENT DEFINED IN LOAD-SETTLEMENT CURVE"},
        {pull, "SOME PILES, MAY FAIL IN PULL OUT!", "AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN",
         "MINIMUM DISPLACEMENT DEFINED IN LOAD-SETTLEMENT CURVE"},
    };
    bool any = false;
    for (const Kind& k : kinds) {
        if (k.count <= 0) continue;
        any = true;
        io::Unit& r = U(RESULTS_UNIT);
        r.endLine();
        r.line() << X{5} << "** WARNING **  " << k.text;
        r.line() << X{5} << X{15} << k.line2;
        r.line() << X{5} << X{15} << k.line3;
        io::Unit& t = U(RUNTIME_UNIT);
        t.endLine();
        t.line() << X{5} << "** WARNING **  " << k.text;
    }
    if (!any) return false;
    io::Unit& w = U(AXWARN_UNIT);
    if (w.open(namesPath(REC_AXWARN), io::Mode::Read)) {
        std::string line;
        for (const Kind& k : kinds) {
            for (int n = 0; n < 3 * k.count; ++n) {
                if (!w.nextLine(line)) break;
                U(RESULTS_UNIT).line() << line;
                U(RUNTIME_UNIT).line() << line;
            }
        }
        w.close();
    }
    return true;
}

// Clears the current results of the piles before the final results pass (a pile that fails there
// stores nothing and must not show an earlier case's values).
void clearCurrentResults() { clearPileTables(RESCUR.RESCURTOP, RESCUR.RESCURLLP, PILE.NPILES); }

// ---- Reports ------------------------------------------------------------------------------------

void row3(int unit, int blanks, int w, int d, const V3& v) {
    io::Unit& u = U(unit);
    WCOLBLNK(u, blanks);
    for (double x : v) WCOLREAL(u, w, d, x);
    WCOLEOL(u);
}

V3 kips(const V3& v) { return {UCVKIPDIV(v[0]), UCVKIPDIV(v[1]), UCVKIPDIV(v[2])}; }

// The cap load and displacement at the origin of the results and summary files.
void originTables(int unit, const V3& P, const V3& u) {
    io::Unit& o = U(unit);
    const UnitLabels& b = LABELS;
    o.blankLines(2);
    o.line() << X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    o.endLine();
    o.line() << X{13} << "VERT. LOAD," << A(4, b.LBLRFORCE4) << X{4} << "HORI. LOAD," << A(4, b.LBLRFORCE4) << X{4}
             << "MOMENT," << A(3, b.LBLRFORCE) << "-" << A(2, b.LBLLEN);
    row3(unit, 10, 18, 5, kips(P));
    o.blankLines(2);
    o.line() << X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT ORIGIN *";
    o.endLine();
    o.line() << X{16} << "VERTICAL," << A(2, b.LBLLEN) << X{6} << "HORIZONTAL," << A(2, b.LBLLEN) << X{5} << "ROTATION,"
             << "RAD";
    row3(unit, 10, 18, 5, u);
}

// The heading of Table L on the results file; a case with values at a point puts its point tables after
// it.
void tableLHeading() {
    io::Unit& r = U(RESULTS_UNIT);
    r.blankLines(3);
    r.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
}

void tableL(const V3& P, const V3& u, int its) {
    io::Unit& r = U(RESULTS_UNIT);
    originTables(RESULTS_UNIT, P, u);
    r.blankLines(2);
    r.line() << X{10} << "NUMBER OF ITERATIONS = " << I(3, its);
    io::Unit& t = U(RUNTIME_UNIT);
    t.endLine();
    t.line() << X{10} << "NUMBER OF GLOBAL ITERATIONS = " << I(4, its);
    t.endLine();

    const UnitLabels& b = LABELS;
    io::Unit& sc = U(SUMCOLL_UNIT);
    sc.endLine();
    sc.line() << X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    sc.line() << X{8} << X{3} << "LOAD X," << A(3, b.LBLRFORCE) << X{2} << X{3} << "LOAD Y," << A(3, b.LBLRFORCE)
              << X{2} << X{1} << " MOM Z," << A(3, b.LBLRFORCE) << "-" << A(2, b.LBLLEN);
    row3(SUMCOLL_UNIT, 7, 15, 5, kips(P));
    sc.endLine();
    sc.line() << X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT ORIGIN *";
    sc.line() << X{8} << X{4} << "DISP X," << A(2, b.LBLLEN) << X{2} << X{4} << "DISP Y," << A(2, b.LBLLEN) << X{2}
              << X{3} << " ROT Z," << "RAD";
    row3(SUMCOLL_UNIT, 7, 15, 5, u);
    if (EQSEST.EQSDOF >= 1 && EQSEST.EQSDOF <= 3) EQSEST.EQSDCMP = u[static_cast<std::size_t>(EQSEST.EQSDOF - 1)];

    io::Unit& s = U(SUMMARY_UNIT);
    s.blankLines(3);
    s.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
    originTables(SUMMARY_UNIT, P, u);

    io::Unit& p = U(PILERES_UNIT);
    p.line() << X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
    p.line() << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    for (double x : P) {
        WCOLREAL(p, 18, 8, x);
        WCOLBLNK(p, 5);
    }
    WCOLEOL(p);
    p.line() << "* DISPLACEMENT OF PILE CAP AT ORIGIN *";
    for (double x : u) {
        WCOLREAL(p, 18, 8, x);
        WCOLBLNK(p, 5);
    }
    WCOLEOL(p);
}

// The multipliers of the plane rows, to the results, summary and pile results files.
void factorTable() {
    const bool given = CTLIN.KGRPRF == 3 || CTLIN.KGRPRF == 4;
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& o = U(unit);
        o.endLine();
        o.line() << X{7} << "REDUCTION FACTORS FOR CLOSELY-SPACED PILE" << X{1} << "GROUPS";
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

void imbalanceWarning(const V3& unbalanced, double share, bool ofLoad) {
    const UnitLabels& b = LABELS;
    for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) {
        io::Unit& o = U(unit);
        o.endLine();
        o.line() << X{5} << "** WARNING **  " << "THE PILE FORCES DO NOT BALANCE THE LOAD ON THE CAP";
        o.part() << X{20} << "UNBALANCED FORCES  X, Y, " << A(3, b.LBLRFORCE) << X{3};
        WCOLREAL(o, 13, 5, UCVKIPDIV(unbalanced[0]));
        WCOLREAL(o, 13, 5, UCVKIPDIV(unbalanced[1]));
        WCOLEOL(o);
        o.part() << X{20} << "UNBALANCED MOMENT  Z,    " << A(3, b.LBLRFORCE) << "-" << A(2, b.LBLLEN);
        WCOLREAL(o, 13, 5, UCVKIPDIV(unbalanced[2]));
        WCOLEOL(o);
        o.line() << X{20} << "THE UNBALANCE IS " << F{8, 2, 100.0 * share}
                 << (ofLoad ? " % OF THE LOAD" : " % OF THE FORCES AT THE PILE HEADS");
        o.endLine();
    }
    U(RUNTIME_UNIT).flush();
}

// The embedded cap's passive resistance: its horizontal force Hs (signed as the cap's force on the soil)
// and the position xp of its resultant, to the results and summary files (unless KPRINT < 0) and the
// pile results file.
void passiveTable(double Hs, double xp) {
    const UnitLabels& b = LABELS;
    if (CTLPAR.KPRINT >= 0) {
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::Unit& o = U(unit);
            o.blankLines(2);
            o.line() << X{5} << "* PASSIVE RESISTANCE IN PILE CAP *";
            o.endLine();
            o.line() << X{5} << X{9} << "HORI. LOAD," << A(3, b.LBLRFORCE) << X{6} << "POSITION," << A(3, b.LBLCOORDL)
                     << X{6} << "EQ. DIAM," << A(3, b.LBLCOORD);
            row3(unit, 10, 18, 5, {UCVKIPDIV(Hs), UCVD12(xp), UCVD12(CAPIN.CAPWZ)});
        }
    }
    io::Unit& p = U(PILERES_UNIT);
    p.line() << "* PASSIVE RESISTANCE IN PILE CAP *";
    WCOLREAL(p, 18, 8, Hs);
    WCOLBLNK(p, 5);
    WCOLREAL(p, 18, 8, xp);
    WCOLEOL(p);
}

void logStiffness(int it, const M3& K) {
    io::Unit& o = U(ITERLOG_UNIT);
    { o.free(); }
    { o.free() << it; }
    for (int i = 0; i < 3; ++i) {
        auto l = o.line();
        l << "SS  " << I(1, i + 1);
        for (int j = 0; j < 3; ++j) l << E{18, 10, K[static_cast<std::size_t>(i + 3 * j)]};
    }
}

void logVectors(const V3& du, const V3& R, const V3& dU, const V3& u, const V3& P, const V3& F) {
    io::Unit& o = U(ITERLOG_UNIT);
    const std::pair<const char*, const V3*> lines[] = {
        {"DDV  ", &du}, {"DFV  ", &R}, {"UDV  ", &dU}, {"DV   ", &u}, {"FV   ", &P}, {"RV   ", &F}};
    for (const auto& [label, v] : lines) {
        auto l = o.line();
        l << label;
        for (double x : *v) l << E{18, 10, x};
    }
}

enum class StepEnd { Converged, Failed, Abandoned };

// One solution of the plane cap on its piles.
class PlaneCapSolution {
public:
    PlaneCapSolution(int kind, int& status, const Vec6& P, const Vec6& PSP, const Vec6& USP, const Vec6& RSP,
                     const Flags6& KDOF)
        : status(status), pointCase(kind == 0 && givenAtPoint()), PSP(PSP), USP(USP), RSP(RSP), KDOF(KDOF),
          prog{kind} {
        for (std::size_t i = 0; i < 3; ++i) P0[i] = P[i];
    }

    void startSolution() {
        U(RUNTIME_UNIT).endLine();
        U(RUNTIME_UNIT).line() << "     GLOBAL ITERATIONS";
        U(RUNTIME_UNIT).flush();
        RUNSTATE.RUNSOLVST = SOLVER_OK;
        PYMODE.PYPRTMODE = 0;
        SMOV.SMFACT = 1.0;
    }
    bool levelsRemain() const { return dtcur <= 1.0 && tcur <= 1.0; }
    void startStep() {
        ++prog.step;
        SMOV.SMFACT = tcur;
        U(RUNTIME_UNIT).line() << X{5} << "STEP " << I(5, prog.step) << ", TCUR " << F{10, 4, tcur} << ", DTCUR "
                               << F{10, 4, dtcur};
        U(RUNTIME_UNIT).flush();
        du.fill(0.0);
        dU.fill(0.0);
        bordered.startStep();
        reason = SOLVER_OK;
        it = 0;
        if (CTLIN.CAPOPT == 1) PYDRV.GSURFP.fill(0.0);
    }
    StepEnd iterateToEquilibrium();
    void advanceLevel() {
        ustart = u;
        bordered.stepConverged();
        tlast = tcur;
        tcur += dtcur;
        clamped = tcur > 1.0 && 1.0 - tlast > NEAR_ONE;
        if (clamped) tcur = 1.0;
        lastStepFailed = false;
    }
    void retryOrGiveUp();
    void endStepping() {
        if (copyWarnings()) RUNSTATE.RUNSOLVST = SOLVER_WARNINGS;
    }
    const char* failure() const {
        if (reason == SOLVER_NO_CLOSURE || reason == SOLVER_AXIAL_FAILURE) return PILES_FAILED;
        if (reason == SOLVER_SINGULAR) return CAP_SINGULAR;
        if (prog.step == 1 && lastStepFailed) return CAP_NO_STEP;
        return nullptr;
    }
    // A failed solution reports no results; a flexibility point is recorded as failed, whether or not
    // some levels converged first.
    void failCase(const char* line) {
        caseStatus(line);
        if (flexibilityPoint()) FLEXREC(RUNPOINT.ILOOP, RUNPOINT.IPOINT, true, {}, {});
        if (estimationPoint()) EQSEST.EQSSTATE = EST_FAILED;
        RUNSTATE.RUNPASS = PASS_ITERATING;
    }
    bool flexibilityPoint() const { return RUNPOINT.PKIND == 2; }
    // A flexibility point keeps the displacement and the load of its last converged level.
    void recordFlexibilityPoint() {
        FLEXREC(RUNPOINT.ILOOP, RUNPOINT.IPOINT, false, {tlast * P0[0], tlast * P0[1], tlast * P0[2], 0, 0, 0},
                {u[0], u[1], u[2], 0, 0, 0});
        // A point that reached only part of its level says so, as an ordinary case does.
        caseStatus(tlast < 1.0 - NEAR_ONE
                       ? "    2 SOLUTION AT " + io::fmtF(8, 2, 100.0 * tlast) + " % OF THE TOTAL LOAD"
                       : std::string(COMPLETED));
        RUNSTATE.RUNPASS = PASS_ITERATING;
    }
    // A stiffness-estimation point counts as failed until it is known to have completed; the state it
    // came with decides whether the equivalent-stiffness pass runs.
    bool estimationPoint() const { return EQSEST.EQSACT == 1; }
    void holdEstimationState() {
        eqsState = EQSEST.EQSSTATE;
        if (estimationPoint()) EQSEST.EQSSTATE = EST_FAILED;
    }
    bool estimationPass(Vec6& POUT, Vec6& UOUT);
    void reportLastLevel();
    void warnPartialLoad();
    void finalResultsPass();
    void checkEquilibrium();
    void closeCase();

private:
    static bool givenAtPoint() {
        return RUNPOINT.CURCASE >= 1 && RUNPOINT.CURCASE <= MAXLC && LCSD.SDFLAG(RUNPOINT.CURCASE) > 0;
    }
    bool startIteration();
    bool forces(V3& F, const V3& at, bool warnings);
    bool pilesFailed();
    StepEnd shortenIncrement();
    bool stiffness();
    bool solveIncrement();
    bool solveBordered();
    bool singular();
    void applyIncrement();
    bool converged();
    void reportAtPoint();
    void equivalentStiffnessPass();

    int& status;
    // A load case with values given at a point solves the bordered system. Its given loads grow with
    // the load level (PSPs at the current one); its given displacements hold in full at every level.
    const bool pointCase;
    const Vec6 PSP, USP, RSP;
    const Flags6 KDOF;
    Vec6 PSPs{};
    BorderedUnknowns<6> bordered;
    V3 P0{};
    Progress prog;
    V3 u{}, ustart{}, du{}, dU{}, Fg{}, Pw{}, R{};
    M3 K{};
    M3 Kprint{};  // the stiffness as assembled, for the equivalent stiffness print
    int eqsState = EST_ACCEPTED;
    double tcur = CTLPAR.FINC, dtcur = CTLPAR.FINC, tlast = 0.0;
    bool clamped = false, lastStepFailed = false;
    int it = 0;
    int reason = SOLVER_OK;
    double lastImbalance = 0.0;
    const double lever = groupLever();
    std::string outcome = COMPLETED;
    // The embedded cap's passive resistance at the last iterate: its horizontal force and position.
    double capHs = 0.0, capPos = 0.0;
};

// The embedded cap's passive resistance in the plane, from the cap-level values that the force evaluation
// at the displacement at has just left: the diagram's resultant H along the horizontal and its moment,
// in the sign of the plane force vector (the forces the cap puts on piles and soil), growing with the
// sense of the horizontal movement (a movement of exactly 0 counts as positive). Hs and xp receive the
// force and the resultant's position for the table.
V3 planePassiveForce(const V3& at, double& Hs, double& xp) {
    capPassiveMeans();
    const PassiveDiagram d = passiveDiagram(PYMODE.CAPGMEAN, PYMODE.CAPPMEAN, CAPIN.CAPTX, PILE.HEADXW(PILE.NPILES));
    const double s = at[1] < 0.0 ? -1.0 : 1.0;
    Hs = s * d.force;
    xp = d.position;
    return {0.0, s * d.force, -s * d.moment};
}

bool PlaneCapSolution::startIteration() {
    ++it;
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    clearWarningCounts();
    prog.iteration(tcur, it);
    if (stopRequested()) {
        status = ST_STOPPED;
        return false;
    }
    return true;
}

// The forces that the cap puts on the piles at the displacement at; with warnings the piles' axial
// warnings of this evaluation go to the warning scratch file. False on a fault that ends the solution.
bool PlaneCapSolution::forces(V3& F, const V3& at, bool warnings) {
    const Vec6 U6{at[0], at[1], at[2], 0.0, 0.0, 0.0};
    Vec6 F6{};
    // The piles' user p-y curves read the cap-level reaction at the cap's own horizontal movement.
    const bool passive = CTLIN.CAPOPT == 1;
    if (passive) PYMODE.CAPHDISP = std::fabs(at[1]);
    if (warnings) {
        io::Unit& w = U(AXWARN_UNIT);
        w.open(namesPath(REC_AXWARN), io::Mode::Write);
        RUNSTATE.RUNWARNPRT = 1;
        FVEC2D(F6, U6, status);
        w.close();
        RUNSTATE.RUNWARNPRT = 0;
    } else {
        FVEC2D(F6, U6, status);
    }
    F = {F6[0], F6[1], F6[2]};
    if (status != ST_OK) return false;
    // The embedded cap's passive resistance is part of every force vector, so that the stiffness, the
    // shortening of a step and the equilibrium check all see it. The iterate's own evaluation (with
    // warnings) keeps it for the table.
    if (passive) {
        double Hs = 0.0, xp = 0.0;
        const V3 Q = planePassiveForce(at, Hs, xp);
        for (std::size_t i = 0; i < 3; ++i) F[i] += Q[i];
        if (warnings) {
            capHs = Hs;
            capPos = xp;
        }
    }
    return true;
}

bool PlaneCapSolution::pilesFailed() {
    if (!grpsolStepFails(RUNSTATE.RUNSOLVST.load())) return false;
    reason = RUNSTATE.RUNSOLVST.load();
    it = CTLPAR.MAXITG + 1;
    return true;
}

StepEnd PlaneCapSolution::iterateToEquilibrium() {
    for (;;) {
        if (!startIteration()) return StepEnd::Abandoned;
        if (!forces(Fg, u, true)) return StepEnd::Abandoned;
        if (pilesFailed()) return StepEnd::Failed;
        for (std::size_t i = 0; i < 3; ++i) Pw[i] = tcur * P0[i];
        for (std::size_t i = 0; i < 6; ++i) PSPs[i] = tcur * PSP[i];
        const StepEnd s = shortenIncrement();
        if (s != StepEnd::Converged) return s;
        for (std::size_t i = 0; i < 3; ++i) R[i] = Pw[i] - Fg[i];
        if (!stiffness()) return status == ST_OK ? StepEnd::Failed : StepEnd::Abandoned;
        logStiffness(it, K);
        Kprint = K;
        if (it == 1) {
            for (std::size_t i = 0; i < 3; ++i)
                for (std::size_t j = i + 1; j < 3; ++j) K[i + 3 * j] = K[j + 3 * i] = 0.5 * (K[i + 3 * j] + K[j + 3 * i]);
        }
        if (!solveIncrement()) return StepEnd::Failed;
        applyIncrement();
        if (converged()) return StepEnd::Converged;
        if (it > CTLPAR.MAXITG) return StepEnd::Failed;
    }
}

// As in three dimensions: a Newton step that leaves the cap further out of balance than the last
// iteration is shortened (group/stepsearch.h).
StepEnd PlaneCapSolution::shortenIncrement() {
    auto imbalance = [&] {
        V3 r{};
        for (std::size_t i = 0; i < 3; ++i) r[i] = Pw[i] - Fg[i];
        return loadSize(r, lever);
    };
    auto evaluate = [&] {
        RUNSTATE.RUNSOLVST = SOLVER_OK;
        clearWarningCounts();
        if (!forces(Fg, u, true)) return group::Evaluation::Abandoned;
        if (pilesFailed()) return group::Evaluation::Failed;
        return group::Evaluation::Done;
    };
    double size = imbalance();
    // A point held in place takes reactions that the imbalance of the loads does not see.
    if (it > 1 && lever > 0.0 && !pointCase) {
        const group::Evaluation e = group::shortenStep(u, du, dU, size, lastImbalance, imbalance, evaluate);
        if (e == group::Evaluation::Abandoned) return StepEnd::Abandoned;
        if (e == group::Evaluation::Failed) return StepEnd::Failed;
    }
    lastImbalance = size;
    return StepEnd::Converged;
}

// The stiffness by central differences of six force vectors about u, in the order -e1, -e2, -e3, +e1,
// +e2, +e3; u returns exactly to its value after each. False when a pile failed (the step fails) or on
// a fault.
bool PlaneCapSolution::stiffness() {
    const double d[3] = {translationStep(), translationStep(), ROT_STEP};
    V3 minus[3]{}, plus[3]{};
    for (int sign : {-1, 1}) {
        for (std::size_t j = 0; j < 3; ++j) {
            V3 at = u;
            at[j] += sign * d[j];
            if (!forces(sign < 0 ? minus[j] : plus[j], at, false)) return false;
            if (grpsolStepFails(RUNSTATE.RUNSOLVST.load())) {
                pilesFailed();
                return false;
            }
        }
    }
    for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t i = 0; i < 3; ++i) K[i + 3 * j] = (plus[j][i] - minus[j][i]) * 0.5 / d[j];
    return true;
}

// A singular system fails the step with its warning.
bool PlaneCapSolution::singular() {
    grpsolWarnSingular();
    reason = SOLVER_SINGULAR;
    return false;
}

// The increment of a case with values at a point: the bordered 6 x 6 system, whose first three
// unknowns are the cap's increment.
bool PlaneCapSolution::solveBordered() {
    if (it == 1) limitCoupling(K, 3);
    Mat6 A{};
    MIXSYS2D(A, K, RSP, KDOF);
    grpsol2dLogBordered(A);
    int flag = 0;
    GJINV3(A, 6, 6, flag);
    if (flag != 0) return singular();
    MIXRES2D(bordered.b, bordered.g, R, Fg, USP, u, RSP, KDOF);
    MATV6N(bordered.x, A, bordered.b, 1);
    for (std::size_t i = 0; i < 3; ++i) du[i] = bordered.x[i];
    return true;
}

void PlaneCapSolution::applyIncrement() {
    for (std::size_t i = 0; i < 3; ++i) {
        u[i] += du[i];
        dU[i] += du[i];
    }
    if (pointCase) {
        bordered.addIncrement();
        grpsol2dLogPointVectors(bordered.x, bordered.b, bordered.step, bordered.total, bordered.g);
    } else {
        logVectors(du, R, dU, u, Pw, Fg);
    }
}

// The increment by the cofactors of K; a determinant of at most 1e-14 is a singular stiffness.
bool PlaneCapSolution::solveIncrement() {
    if (pointCase) return solveBordered();
    auto k = [&](int i, int j) { return K[static_cast<std::size_t>((i - 1) + 3 * (j - 1))]; };
    const double c11 = k(2, 2) * k(3, 3) - k(2, 3) * k(3, 2);
    const double c12 = k(2, 3) * k(3, 1) - k(2, 1) * k(3, 3);
    const double c13 = k(2, 1) * k(3, 2) - k(2, 2) * k(3, 1);
    const double det = k(1, 1) * c11 + k(1, 2) * c12 + k(1, 3) * c13;
    if (!(std::fabs(det) > SINGULAR)) return singular();
    // The inverse is the adjugate (the transposed cofactors) over the determinant.
    const double c21 = k(1, 3) * k(3, 2) - k(1, 2) * k(3, 3);
    const double c22 = k(1, 1) * k(3, 3) - k(1, 3) * k(3, 1);
    const double c23 = k(1, 2) * k(3, 1) - k(1, 1) * k(3, 2);
    const double c31 = k(1, 2) * k(2, 3) - k(1, 3) * k(2, 2);
    const double c32 = k(1, 3) * k(2, 1) - k(1, 1) * k(2, 3);
    const double c33 = k(1, 1) * k(2, 2) - k(1, 2) * k(2, 1);
    du[0] = (c11 * R[0] + c21 * R[1] + c31 * R[2]) / det;
    du[1] = (c12 * R[0] + c22 * R[1] + c32 * R[2]) / det;
    du[2] = (c13 * R[0] + c23 * R[1] + c33 * R[2]) / det;
    return true;
}

bool PlaneCapSolution::converged() {
    double incD, incR, totD, totR, maxD, maxR;
    norms(du, incD, incR);
    norms(dU, totD, totR);
    maxima(du, maxD, maxR);
    const double errD = totD != 0.0 ? incD / totD : incD;
    const double errR = totR != 0.0 ? incR / totR : incR;
    io::Unit& t = U(RUNTIME_UNIT);
    t.line() << X{5} << "ITERATION " << I(4, it);
    t.line() << X{5} << "          " << X{4} << "- ErrDsp " << E{13, 5, errD} << ", IncDsp " << E{13, 5, incD}
             << ", TotDsp " << E{13, 5, totD};
    t.line() << X{5} << "          " << X{4} << "- ErrRot " << E{13, 5, errR} << ", IncRot " << E{13, 5, incR}
             << ", TotRot " << E{13, 5, totR};
    const bool alt = CTLPAR.KALTTOL == 1;
    if (alt) t.line() << X{5} << "          " << X{4} << "- MaxDsp " << E{13, 5, maxD} << ", MaxRot " << E{13, 5, maxR};
    t.flush();
    if (it <= 1) return false;
    const bool okD = CTLPAR.TOLCAP >= errD || FLOOR >= incD || FLOOR >= totD || (alt && CTLPAR.TOLDEFA >= maxD);
    const bool okR = CTLPAR.TOLCAP >= errR || FLOOR >= incR || FLOOR >= totR || (alt && CTLPAR.TOLROTA >= maxR);
    return okD && okR;
}

void PlaneCapSolution::retryOrGiveUp() {
    dtcur = 0.5 * (clamped ? tcur - tlast : dtcur);
    clamped = false;
    u = ustart;
    bordered.stepFailed();
    if (CTLPAR.FINCMIN > dtcur) {
        const std::string text = grpsolGiveUpText(reason);
        if (!text.empty()) {
            for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) grpsolWarningLines(unit, text);
            U(RUNTIME_UNIT).flush();
        }
        tcur = GIVE_UP_LEVEL;
    } else {
        --prog.step;
        tcur -= dtcur;
    }
    lastStepFailed = true;
}

// A stiffness-estimation point hands its converged load and displacement to the estimation and takes
// back its state. A point still under estimation ends here, with the equivalent-stiffness pass unless
// the test of its target deflection missed; true when the point ended.
bool PlaneCapSolution::estimationPass(Vec6& POUT, Vec6& UOUT) {
    POUT.fill(0.0);
    UOUT.fill(0.0);
    for (std::size_t i = 0; i < 3; ++i) {
        POUT[i] = tlast * P0[i];
        UOUT[i] = u[i];
    }
    EQSEST.EQSSTATE = eqsState;
    if (EQSEST.EQSSTATE <= EST_ACCEPTED) return false;
    const int d = EQSEST.EQSDOF;
    if (targetMissed(d >= 1 && d <= 3 ? u[static_cast<std::size_t>(d - 1)] : 0.0)) {
        caseStatus("    10 ANALYSIS COMPLETED");
        RUNSTATE.RUNPASS = PASS_ITERATING;
        return true;
    }
    equivalentStiffnessPass();
    return true;
}

// The cap's stiffness matrix heads the scratch file; the piles' secant stiffnesses at the converged
// displacement follow it.
void PlaneCapSolution::equivalentStiffnessPass() {
    io::Unit& q = U(EQSTIFF_UNIT);
    q.line() << X{5} << "* EQV. STIFFNESS MATRIX AT ORIGIN *";
    for (std::size_t i = 0; i < 3; ++i) {
        WCOLBLNK(q, 5);
        for (std::size_t j = 0; j < 3; ++j) WCOLREAL(q, 19, 5, Kprint[i + 3 * j]);
        WCOLEOL(q);
    }
    RUNSTATE.RUNPASS = PASS_STIFFNESS;
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    io::Unit& s = U(PILESCR_UNIT);
    s.open(namesPath(REC_PILESCR), io::Mode::Write);
    forces(Fg, u, false);
    s.close();
    if (status != ST_OK) {
        RUNSTATE.RUNPASS = PASS_ITERATING;
        return;
    }
    ENVCTL.ENVKPRINT = CTLPAR.KPRINT;
    ENVCTL.ENVNPREV = CTLPAR.NPREVRY;
    RUNSTATE.RUNPASS = PASS_ITERATING;
    EQSTF2D();
    caseStatus(COMPLETED);
}

void PlaneCapSolution::reportLastLevel() {
    if (CTLIN.KGRPRF > 0) factorTable();
    SMOV.SMFACT = tlast;
    for (std::size_t i = 0; i < 3; ++i) Pw[i] = tlast * P0[i];
    tableLHeading();
    if (pointCase) reportAtPoint();
    tableL(Pw, u, it);
    CAPENV2D({Pw[0], Pw[1], Pw[2], 0, 0, 0}, {u[0], u[1], u[2], 0, 0, 0});
}

// The load of a case with values at a point is the force copy of the last converged level's last solve:
// what the piles carry, the reactions that hold the point included (the plane's force vector is the
// load itself). Moved to the point with the cap displacement, it makes the point tables; a given force
// stands in the load for its component.
void PlaneCapSolution::reportAtPoint() {
    for (std::size_t i = 0; i < 6; ++i) PSPs[i] = tlast * PSP[i];
    COPY3(std::span<const double, 3>(bordered.gConverged.data(), 3), Pw);
    V3 UP{}, PP{};
    int flag = 0;
    TRPT2D(u, Pw, RSP, UP, PP, PSPs, KDOF, flag);
    std::string M1, M2;
    DOFLBL2D(KDOF, M1, M2);
    if (flag == 1) grpsol2dPointTables(RSP, PP, UP, M1, M2);
}

void PlaneCapSolution::warnPartialLoad() {
    if (tlast >= 1.0 - NEAR_ONE) return;
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& r = U(unit);
        r.endLine();
        r.line() << X{5} << "** WARNING **  " << "  KALDO COULD NOT GET SOLUTION FOR 100% OF THE LOAD";
        r.line() << X{5} << "               " << "  RESULTS ARE FOR " << F{8, 2, 100.0 * tlast} << "% OF THE TOTAL LOAD";
        r.endLine();
    }
    outcome = "    2 SOLUTION AT " + io::fmtF(8, 2, 100.0 * tlast) + " % OF THE TOTAL LOAD";
}

// The piles' results and envelopes at the converged displacement; a pile may fail there for the first
// time, which fails the case with its warning.
void PlaneCapSolution::finalResultsPass() {
    RUNSTATE.RUNPASS = PASS_RESULTS;
    if (CTLIN.CAPOPT == 1) passiveTable(capHs, capPos);
    if (CTLPAR.KPRINT > 0) {
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            U(unit).blankLines(3);
            U(unit).line() << X{5} << "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";
        }
    }
    clearCurrentResults();
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    io::Unit& s = U(PILESCR_UNIT);
    s.open(namesPath(REC_PILESCR), io::Mode::Write);
    forces(Fg, u, false);
    s.close();
    const int finalState = RUNSTATE.RUNSOLVST.load();
    if (!grpsolStepFails(finalState)) return;
    for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) {
        io::Unit& w = U(unit);
        w.blankLines(2);
        w.line() << X{5} << "** WARNING **  " << grpsolGiveUpText(finalState);
        w.line() << X{20} << "IN THE FINAL RESULTS PASS: THE PILE RESULTS ARE INCOMPLETE";
        w.endLine();
    }
    U(RUNTIME_UNIT).flush();
    outcome = PILES_FAILED;
}

// The forces the piles carry at the converged displacement against the load of the level.
void PlaneCapSolution::checkEquilibrium() {
    if (status != ST_OK || outcome == PILES_FAILED || !(lever > 0.0) || pointCase) return;
    V3 unbalanced{};
    for (std::size_t i = 0; i < 3; ++i) unbalanced[i] = Pw[i] - Fg[i];
    double reference = loadSize(Pw, lever);
    const bool ofLoad = reference > 0.0;
    if (!ofLoad) {
        for (int p = 1; p <= PILE.NPILES; ++p)
            reference += loadSize({RESCUR.RESCURTOP(p, 4), RESCUR.RESCURTOP(p, 5), RESCUR.RESCURTOP(p, 6)}, lever);
    }
    if (!(reference > 0.0)) return;
    const double share = loadSize(unbalanced, lever) / reference;
    if (!(share <= EQUILIBRIUM_SHARE)) imbalanceWarning(unbalanced, share, ofLoad);
}

void PlaneCapSolution::closeCase() {
    if (status != ST_OK) {
        RUNSTATE.RUNPASS = PASS_ITERATING;
        return;
    }
    caseStatus(outcome);
    ENVCTL.ENVKPRINT = CTLPAR.KPRINT;
    ENVCTL.ENVNPREV = CTLPAR.NPREVRY;
    try {
        ENVEWR2D(0, 0);
    } catch (...) {
        RUNSTATE.RUNPASS = PASS_ITERATING;
        throw;
    }
    if (RUNPOINT.PKIND == 0) ++ENVCTL.ENVSERIES;
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

}  // namespace

void GRPSOL2D(int kind, int& work, int& status, Vec6& POUT, Vec6& UOUT, Vec6& P, Vec6& PSP, Vec6& USP,
              Vec6& RSP, Flags6& KDOF) {
    work = CTLIN.KPYOP;
    CTLIN.KPYOP = 0;
    RUNSTATE.RUNPASS = PASS_ITERATING;
    clearWarningCounts();
    RUNSTATE.RUNWARNPRT = 0;
    // Branches of the plane solution that this version does not have yet.

    PlaneCapSolution cap{kind, status, P, PSP, USP, RSP, KDOF};
    cap.startSolution();
    while (cap.levelsRemain()) {
        cap.startStep();
        const StepEnd end = cap.iterateToEquilibrium();
        if (end == StepEnd::Abandoned) {
            RUNSTATE.RUNPASS = PASS_ITERATING;
            return;
        }
        if (end == StepEnd::Converged)
            cap.advanceLevel();
        else
            cap.retryOrGiveUp();
    }
    cap.endStepping();
    cap.holdEstimationState();
    if (const char* line = cap.failure()) {
        cap.failCase(line);
        return;
    }
    if (cap.flexibilityPoint()) {
        cap.recordFlexibilityPoint();
        return;
    }
    if (cap.estimationPoint() && cap.estimationPass(POUT, UOUT)) return;
    cap.reportLastLevel();
    cap.warnPartialLoad();
    cap.finalResultsPass();
    cap.checkEquilibrium();
    cap.closeCase();
}

}  // namespace kaldo
