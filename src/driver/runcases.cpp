// The analysis driver: every load case, then every combination. For each it writes the headings,
// honours the skip flag, copies the run parameters, assembles the loads at the cap origin and on the
// pile nodes, and solves the group once per analysis point: once for an ordinary case, per load
// increment of every degree of freedom and once for the total load in the cap-flexibility mode, per
// level (and per iteration towards a target deflection) and once for the total load in the stiffness
// estimation. Between cases it reports progress and times and polls the stop request.
#include <cmath>
#include <string>

#include "capstiff/capstiff.h"
#include "driver/curvefile.h"
#include "driver/driver.h"
#include "group/group.h"
#include "io/clock.h"
#include "io/units.h"
#include "loads/loads.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "pile/pile.h"
#include "report/report.h"
#include "services/host.h"
#include "services/status.h"
#include "services/timerep.h"
#include "services/unitno.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

using io::F;
using io::G;
using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

// The driver's own state for one case: the loads handed to the solver and what it hands back.
struct CaseState {
    int ndof = 6;
    bool plane = false;
    Vec6 base{};           // assembled load at the origin (plane: moment Z moved to place 3)
    Vec6 point{};          // load of the current solution
    SpecPoint given{};     // values given at a point, as handed to the solver
    Vec6 dispCopy{};       // copy of the given displacements, restored at every total-load point
    Flags6 kdofCopy{};
    Vec6 pout{}, uout{};  // loads at the origin and cap displacement of the last solution
    Mat6 stiffness{};
    int unit12open = 0;  // 1 while the second flexibility scratch file is open
    int work = 0;
};

// Solver layout of an assembled load: a plane run passes force X, force Y and moment Z in places 1 to 3.
void toSolverLayout(CaseState& cs, const Vec6& assembled) {
    cs.base = assembled;
    if (cs.plane) cs.base[2] = assembled[5];
}

// The load of load case c at the origin as the solver takes it: its concentrated loads, or the values
// given at a point, plus what the caller's step adds (the axial parts of the distributed loads lumped at
// the heads at a total-load point). The given displacements are kept for every later point.
void takeCaseLoad(CaseState& cs, const Vec6& load) {
    toSolverLayout(cs, load);
    if (cs.plane) {
        cs.given.disps[2] = cs.given.disps[5];
        cs.given.kdof[2] = cs.given.kdof[5];
    }
    cs.dispCopy = cs.given.disps;
    cs.kdofCopy = cs.given.kdof;
}

// The concentrated loads of load case c at the origin, or the values given at a point.
Vec6 caseLoad(CaseState& cs, int c) {
    Vec6 load{};
    EQLOADC(c, load);
    if (LCSD.SDFLAG(c) == 1) SPECDOF(c, load, cs.given);
    return load;
}

// Assembles the load of load case c at the origin. The distributed loads are assembled by the caller.
void assembleCase(CaseState& cs, int c) { takeCaseLoad(cs, caseLoad(cs, c)); }

// The total-load point of a case: the case's loads reassembled, with the distributed loads at the nodes
// and their axial parts lumped at the heads; the point's load and given displacements start from them.
void assembleTotalLoad(CaseState& cs, int c) {
    Vec6 load = caseLoad(cs, c);
    DLCASE(c);
    DLAXHEAD(load);
    takeCaseLoad(cs, load);
    cs.point = cs.base;
    cs.given.disps = cs.dispCopy;
    cs.given.kdof = cs.kdofCopy;
}

void closeUnit12(CaseState& cs) {
    if (cs.unit12open) U(FLEX2_UNIT).close();
    cs.unit12open = 0;
}

// One group solution of load case c (kind 0). The equivalent stiffness scratch file is opened anew
// before and closed after it. Returns false when the solution failed or the host asked to stop.
bool solveCase(CaseState& cs, int c, int& status) {
    io::Unit& eq = U(EQSTIFF_UNIT);
    openListedFile(EQSTIFF_UNIT, REC_EQSTIFF, io::Mode::Write);
    eq.line() << "LOAD CASE : " << I(5, c);
    status = ST_OK;
    if (cs.plane) {
        GRPSOL2D(0, cs.work, status, cs.pout, cs.uout, cs.point, cs.given.loads, cs.given.disps, cs.given.coords,
                 cs.given.kdof);
        U(RUNTIME_UNIT).flush();
    } else {
        GRPSOL(0, cs.work, status, cs.pout, cs.uout, cs.point, cs.given.loads, cs.given.disps, cs.given.coords,
               cs.given.kdof);
    }
    eq.close();
    if (status == ST_OK) return true;
    closeUnit12(cs);
    U(STIFFLOG_UNIT).close();
    return false;
}

void totalLoadLines(bool afterPoints) {
    if (afterPoints) {
        U(RUNTIME_UNIT).endLine();
        U(RUNTIME_UNIT).line() << X{5} << "ANALYSIS DUE TO TOTAL LOAD";
        U(RUNTIME_UNIT).flush();
    }
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
        if (!afterPoints) break;
        U(u).endLine();
        U(u).line() << X{5} << "* ANALYSIS DUE TO TOTAL LOAD *";
        U(u).endLine();
    }
}

void caseStatusTotalLoad() { U(CASESTAT_UNIT).line() << X{6} << "ANALYSIS DUE TO TOTAL LOAD"; }

// Degree-of-freedom points of a cap-flexibility case: the load is zero but for component d, which
// steps through the case's levels times the total load's component d.
bool flexibilityPoint(CaseState& cs, int c, int d, int& status) {
    DLCLEAR();
    const int increments = LCCNT(c, 3);
    RUNPOINT.PKIND = 2;
    int skip = 0;
    FLEXDOFHD(RUNPOINT.PKIND, d, CTLIN.ANTYPE, increments, cs.ndof, cs.base, skip);
    if (skip == 1) return true;
    openListedFile(FLEX2_UNIT, REC_FLEX2, io::Mode::Write);
    cs.unit12open = 1;
    for (int i = 1; i <= increments; ++i) {
        RUNPOINT.ILOOP = i;
        cs.point.fill(0.0);
        cs.point[d - 1] = RUNPOINT.FSDC(i) * cs.base[d - 1];
        U(RUNTIME_UNIT).line() << X{5} << "DOF : " << I(5, d) << " POINT : " << I(5, i);
        U(RUNTIME_UNIT).flush();
        U(CASESTAT_UNIT).line() << X{6} << "DOF : " << I(5, d) << " POINT : " << I(5, i);
        if (!solveCase(cs, c, status)) return false;
    }
    // The table of the point; for a total-load point the table routine has nothing to do, so it is called
    // for the degree-of-freedom points only.
    FLEXTAB(RUNPOINT.PKIND, d, increments, CTLIN.ANTYPE, cs.ndof, cs.unit12open);
    return true;
}

// The load of a stiffness-estimation solution: the prepared load with every component, or only the
// controlled one, times factor f.
Vec6 scaled(const Vec6& load, double f, int single, int d) {
    Vec6 out = load;
    if (single == 0) {
        for (double& v : out) v *= f;
    } else if (d >= 1 && d <= 6) {
        out[d - 1] *= f;
    }
    return out;
}

// Two solutions of a target-deflection point that bracket the target gave the same displacement: no
// factor can be interpolated between them. The point keeps the newest solution, solved once more with
// the equivalent-stiffness pass.
void flatHistory(int g) {
    for (int unit : {RUNTIME_UNIT, RESULTS_UNIT}) {
        U(unit).endLine();
        U(unit).line() << X{5} << "** WARNING **  " << "STIFFNESS ESTIMATION, POINT " << I(4, g)
                       << ": TWO SOLUTIONS GAVE THE SAME DISPLACEMENT, THE TARGET CANNOT BE INTERPOLATED";
        U(unit).line() << X{5} << "               " << "THE LAST SOLUTION (FACTOR " << F{12, 5, EQSEST.EQSFAC}
                       << ") IS KEPT";
    }
    U(RUNTIME_UNIT).flush();
}

// One level point of a stiffness estimation: one solution on the total-load basis; on the
// target-deflection basis repeated solutions, each with a load factor interpolated from the history of
// (computed displacement, factor) pairs, until the target is met or the iterations run out.
bool stiffnessPoint(CaseState& cs, int c, int levels, int basis, int axial, int& status) {
    const int g = RUNPOINT.IPOINT;
    const Arr<double, 1, MAXFSD>& v = RUNPOINT.FSDC;
    if (g == 1) {
        EQSEST.EQSACT = 0;
        CAPSTFHDR(basis, CTLIN.ANTYPE);
    }
    EQSEST.EQSACT = 1;
    int iterations = 1;
    EQSEST.EQSTOL = 1.0;
    if (basis == 1) {
        iterations = static_cast<int>(v(levels + 10));
        EQSEST.EQSTOL = v(levels + 9);
    }
    if (g == 1) {
        EQSEST.EQSNH = 0;
    } else {
        EQSEST.EQSNH = 1;
        EQSEST.EQSHD(1) = EQSEST.EQSD1;
        EQSEST.EQSHF(1) = EQSEST.EQSF1;
    }
    int d = static_cast<int>(v(levels + 2));
    if (cs.plane && d == 6) d = 3;
    EQSEST.EQSDOF = d;
    EQSEST.EQSSINGLE = basis == 0 ? 0 : static_cast<int>(v(levels + 12));
    const double f = v(g);
    // A plane run's rotation takes its target from the slot the input echo shows for it (the sixth).
    EQSEST.EQSDTGT = d > 0 ? v(levels + 2 + targetSlot(d, cs.plane)) * f : 0.0;
    EQSEST.EQSFAC = f;
    const Vec6 prepared = scaled(cs.base, f, EQSEST.EQSSINGLE, d);

    io::Unit& rt = U(RUNTIME_UNIT);
    rt.endLine();
    rt.line() << X{5} << "STIFFNESS ESTIMATION, " << "POINT : " << I(4, g) << "/" << I(4, RUNPOINT.NPOINT - 1)
              << " FACTOR : " << F{12, 5, f};
    rt.flush();
    U(CASESTAT_UNIT).line() << X{6} << "STIFFNESS ESTIMATION, " << "POINT : " << I(4, g) << "/"
                            << I(4, RUNPOINT.NPOINT - 1) << " FACTOR : " << F{12, 5, f};
    U(RESULTS_UNIT).endLine();
    U(RESULTS_UNIT).line() << X{4} << "   N:" << I(5, g) << "  FACTOR :" << F{10, 4, f};

    bool keep = false;  // the interpolation found no slope: the last solution is solved once more and kept
    for (int k = 1; k <= iterations; ++k) {
        RUNPOINT.ILOOP = k;
        cs.point = prepared;
        if (basis == 1) {
            EQSEST.EQSFAC = 1.0;
            EQSEST.EQSFLAT = 0;
            if (EQSEST.EQSNH != 1) {
                TGTFACT();
                cs.point = scaled(prepared, EQSEST.EQSFAC, EQSEST.EQSSINGLE, d);
            }
            keep = EQSEST.EQSFLAT == 1;
            if (keep) flatHistory(g);
            rt.endLine();
            rt.line() << X{5} << "STIFFNESS ESTIMATION, " << "ITER : " << I(5, EQSEST.EQSNH) << " FACTOR : "
                      << F{12, 5, EQSEST.EQSFAC};
            rt.endLine();
            {
                io::LineOut line = rt.line();
                line << X{5} << "LOAD : ";
                for (double p : cs.point) line << G{13, 5, p};
            }
            rt.flush();
            U(ITERLOG_UNIT).line() << X{5} << "STIFFNESS ESTIMATION, " << "ITER : " << I(5, EQSEST.EQSNH)
                                   << " FACTOR : " << F{12, 5, EQSEST.EQSFAC};
            U(ITERLOG_UNIT).flush();
        }
        U(CASESTAT_UNIT).line() << X{6} << "STIFFNESS ESTIMATION, " << "ITER : " << I(5, EQSEST.EQSNH)
                                << " FACTOR : " << F{12, 5, EQSEST.EQSFAC};
        if (iterations <= 1 || keep)
            EQSEST.EQSSTATE = basis == 0 || keep ? EST_LEVEL : EST_ACCEPTED;
        else
            EQSEST.EQSSTATE = k < iterations ? EST_TEST : EST_LAST;
        if (!solveCase(cs, c, status)) return false;
        if (EQSEST.EQSSTATE <= EST_ACCEPTED) break;
        if (EQSEST.EQSNH == 0) {
            EQSEST.EQSD1 = EQSEST.EQSDCMP;
            EQSEST.EQSF1 = EQSEST.EQSFAC;
        }
        // The input admits no more iterations than the history holds; the bound guards it regardless.
        if (EQSEST.EQSNH >= EQSHIST) break;
        ++EQSEST.EQSNH;
        EQSEST.EQSHD(EQSEST.EQSNH) = EQSEST.EQSDCMP;
        EQSEST.EQSHF(EQSEST.EQSNH) = EQSEST.EQSFAC;
    }

    // An accepted point gives the equivalent stiffness matrix at the origin; a failed one a marker line.
    if (EQSEST.EQSSTATE == EST_FAILED) {
        U(PILERES_UNIT).line() << X{4} << "   -1" << "   N:" << I(5, g) << "  FACTOR :" << F{10, 4, v(g)};
        return true;
    }
    openListedFile(EQSTIFF_UNIT, REC_EQSTIFF, io::Mode::ReadCreate);
    EQSTIFRD();
    U(EQSTIFF_UNIT).close();
    U(CAPTRACE_UNIT).line() << X{5} << "POINT=" << I(5, g);
    CAPTSTF(status, axial, levels, g, v(g), cs.pout, cs.uout, cs.stiffness);
    return status == ST_OK;
}

// Only a stiffness-estimation point sets the estimation's state: every case and combination starts
// without one, so nothing of an earlier estimation reaches an ordinary analysis.
void clearEstimation() {
    EQSEST.EQSACT = 0;
    EQSEST.EQSSTATE = EST_ACCEPTED;
    EQSEST.EQSDOF = 0;
    EQSEST.EQSDTGT = 0.0;
    EQSEST.EQSFLAT = 0;
}

// Progress at the start or the end of a case or combination.
void progress(const char* what, int n, int count, const char* when) {
    std::string line = std::string(what) + io::fmtI(3, n) + "/" + io::fmtI(3, count) + when;
    progressText({line, "", ""});
}

// A stop request between cases (ST_STOPPED), or a file of the run that could not be written (a full
// disk: ST_WRITEFAIL); the files the loop holds open are closed.
bool stopped(CaseState& cs, int& status, bool duringCases) {
    if (!writeFailureStops(status)) {
        if (!stopRequested()) return false;
        status = ST_STOPPED;
    }
    if (duringCases) U(STIFFLOG_UNIT).close();
    closeUnit12(cs);
    return true;
}

// Time of the case or combination that finished: the wall clock is read once for both uses.
void caseTime() {
    const double elapsed = io::wallClock() - RUNTIME.RUNT0;
    RUNTIME.RUNTCASE = elapsed - RUNTIME.RUNTMARK;
    TIMEREP2();
    RUNTIME.RUNTMARK = elapsed;
    RUNTIME.RUNTPAR = RUNTIME.RUNTSER = RUNTIME.RUNTPRT = 0.0;
}

void banner(const char* title) {
    U(SUMCOLL_UNIT).blankLines(2);
    U(SUMCOLL_UNIT).line() << X{17} << "*****" << X{5} << title << X{5} << "*****";
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(u).blankLines(4);
        U(u).line() << X{17} << "*****" << X{5} << title << X{5} << "*****";
    }
    for (int u : {PILERES_UNIT, CASESTAT_UNIT}) U(u).line() << title;
    ENVCTL.ENVSERIES = 1;
    if (CTLIN.ANTYPE == 2)
        ENVRST2D();
    else
        ENVRESET();
}

void skipLines(const char* note) {
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT, RUNTIME_UNIT}) U(u).line() << X{5} << note;
    U(CASESTAT_UNIT).line() << "       ANALYSIS TO NOT RUN   ";
    U(CASESTAT_UNIT).line() << "     9 ANALYSIS NOT PERFORMED";
}

// The heading of a load case or combination on the reports and the runtime file: its number, its name
// and, for a case, its load type (not on the runtime file). label is "LOAD CASE" or "LOAD COMB.",
// nameLabel "CASE NAME" or "COMB. NAME".
void analysisHeading(const char* label, const char* nameLabel, int n, const std::string& name,
                     const std::string* type) {
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT, RUNTIME_UNIT}) {
        U(u).blankLines(3);
        U(u).line() << X{5} << label << " : " << I(5, n);
        U(u).line() << X{5} << nameLabel << " : " << io::A(80, name);
        if (type != nullptr && u != RUNTIME_UNIT) U(u).line() << X{5} << "LOAD TYPE : " << *type;
    }
    U(RUNTIME_UNIT).flush();
    for (int u : {PILERES_UNIT, CASESTAT_UNIT}) U(u).line() << label << " : " << I(5, n);
}

// The analysis points of load case c: its run parameters, the stiffness values of a flexibility or
// stiffness-estimation case, the loads at the origin and the distributed loads at the nodes (an
// ordinary case only). Returns the number of load levels of the case's stiffness values.
int prepareCasePoints(CaseState& cs, int c) {
    CTLPARCASE(c);
    const int nfsd = LCCNT(c, 3);
    RUNPOINT.NFSDC = nfsd;
    const int levels = nfsd <= 12 ? nfsd : nfsd - 12;
    // The case's stiffness values; in the short form (12 or fewer) the control values count as zero,
    // so no earlier case's values may remain in the slots after them.
    if (CTLPAR.KMODE <= 0) {
        RUNPOINT.NPOINT = 1;
    } else {
        for (int k = 1; k <= MAXFSD; ++k) RUNPOINT.FSDC(k) = k <= nfsd ? FSDDAT.FSDV(c, k) : 0.0;
        RUNPOINT.NPOINT = CTLPAR.KMODE <= 10 ? cs.ndof + 1 : levels + 1;
    }

    assembleCase(cs, c);
    if (CTLPAR.KMODE <= 0)
        DLCASE(c);
    else
        DLCLEAR();
    return levels;
}

// A cap-flexibility case announces itself and opens the first flexibility scratch file for its rows.
void startFlexibility() {
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(u).blankLines(2);
        U(u).line() << X{5} << "* PILE CAP FLEXIBILITY ESTIMATION *";
    }
    for (int u : {PILERES_UNIT, RUNTIME_UNIT}) U(u).line() << X{5} << "* PILE CAP FLEXIBILITY ESTIMATION *";
    U(RUNTIME_UNIT).flush();
    openListedFile(FLEX1_UNIT, REC_FLEX1, io::Mode::Write);
}

// Analysis point ip of a cap-flexibility case (or of an ordinary case, whose only point is the total
// load): a degree-of-freedom point, or the total load after the cap stiffness of the points.
bool flexibilityCasePoint(CaseState& cs, int c, int ip, int nfsd, int& status) {
    const bool total = ip == RUNPOINT.NPOINT;
    if (RUNPOINT.NPOINT > 1 && total) FLEXSTIF(LCOPT(c, 3), LCOPT(c, 4), nfsd, cs.ndof, 6, RUNPOINT.FSDC);
    if (!total) return flexibilityPoint(cs, c, ip, status);
    RUNPOINT.PKIND = 0;
    RUNPOINT.ILOOP = 1;
    assembleTotalLoad(cs, c);
    totalLoadLines(ip > 1);
    if (ip > 1) {
        U(ITERLOG_UNIT).line() << X{5} << "ANALYSIS DUE TO TOTAL LOAD";
        U(ITERLOG_UNIT).flush();
    }
    caseStatusTotalLoad();
    return solveCase(cs, c, status);
}

// Analysis point ip of a stiffness-estimation case: a load level or target deflection, or the total
// load after them.
bool estimationCasePoint(CaseState& cs, int c, int ip, int levels, int basis, int axial, int& status) {
    RUNPOINT.PKIND = 0;
    assembleTotalLoad(cs, c);
    if (ip != RUNPOINT.NPOINT) return stiffnessPoint(cs, c, levels, basis, axial, status);
    EQSEST.EQSACT = 0;
    RUNPOINT.ILOOP = 1;
    // The runtime file, the results and the summary are told once.
    totalLoadLines(true);
    caseStatusTotalLoad();
    return solveCase(cs, c, status);
}

// One load case: heading, its analysis points in order, the closing lines and its time. Returns false
// when the run must end (status set).
bool runCase(CaseState& cs, int c, int& status) {
    const int nlc = LCDEF.NLC;
    RUNPOINT.CURCASE = c;
    progress("- ANALYSIS FOR LOAD CASE ", c, nlc, " STARTED");
    if (stopped(cs, status, true)) return false;
    RUNPOINT.CURCOMB = 0;
    CTLPAR.KMODE = 0;
    clearEstimation();
    if (c == 1) banner("LOAD CASES RESULTS ");

    const std::string type = LOADTYPE(LCOPT(c, 1));
    analysisHeading("LOAD CASE", "CASE NAME", c, LCDEF.LCNAME(c), &type);
    if (LCCNT(c, 8) == 1) {
        skipLines("NOTE: LOAD CASE WILL NOT BE ANALYZED");
        return true;
    }

    U(SUMCOLL_UNIT).endLine();
    U(SUMCOLL_UNIT).line() << X{5} << "LOAD CASE : " << I(5, c);
    U(ITERLOG_UNIT).line() << "LOAD CASE : " << I(5, c);
    const int levels = prepareCasePoints(cs, c);
    if (RUNPOINT.NPOINT > 1 && CTLPAR.KMODE <= 10) startFlexibility();
    const int basis = static_cast<int>(RUNPOINT.FSDC(levels + 1));
    int axial = 0;
    if (CTLPAR.KMODE >= 11) {
        axial = RUNPOINT.FSDC(levels + 11) > 0.0 ? 1 : 0;
        U(CAPTRACE_UNIT).line() << X{5} << "LOAD CASE=" << I(5, c) << X{5} << "NPOINTS=" << I(5, RUNPOINT.NPOINT - 1);
    }

    for (int ip = 1; ip <= RUNPOINT.NPOINT; ++ip) {
        RUNPOINT.IPOINT = ip;
        const bool carried = CTLPAR.KMODE <= 10 ? flexibilityCasePoint(cs, c, ip, LCCNT(c, 3), status)
                                                : estimationCasePoint(cs, c, ip, levels, basis, axial, status);
        if (!carried) return false;
    }

    progress("- ANALYSIS FOR LOAD CASE ", c, nlc, " FINISHED");
    U(RUNTIME_UNIT).line() << "     ANALYSIS FOR LOAD CASE " << I(3, c) << "/" << I(3, nlc) << " FINISHED";
    U(RUNTIME_UNIT).endLine();
    U(RUNTIME_UNIT).flush();
    caseTime();
    return !stopped(cs, status, true);
}

// One load combination: always one analysis under its total load.
bool runCombination(CaseState& cs, int b, int& status) {
    const int ncomb = LCBDEF.NCOMB;
    RUNPOINT.CURCASE = b;
    RUNPOINT.CURCOMB = b;
    progress("- ANALYSIS FOR LOAD COMB. ", b, ncomb, " STARTED");
    if (stopped(cs, status, false)) return false;
    CTLPAR.KMODE = 0;
    clearEstimation();
    if (b == 1) banner("LOAD COMBINATIONS RESULTS ");
    analysisHeading("LOAD COMB.", "COMB. NAME", b, LCBDEF.LCBNAME(b), nullptr);
    if (LCBCNT(b, 6) == 1) {
        skipLines("NOTE: LOAD COMB WILL NOT BE ANALYZED");
        return true;
    }

    U(SUMCOLL_UNIT).endLine();
    U(SUMCOLL_UNIT).line() << X{5} << "LOAD COMB : " << I(5, b);
    CTLPARCOMB(b);
    RUNPOINT.NPOINT = 1;
    RUNPOINT.IPOINT = 1;
    RUNPOINT.ILOOP = 1;
    RUNPOINT.PKIND = 0;
    // Combinations never use values given at a point.
    cs.given = SpecPoint{};
    Vec6 load;
    EQLOADM(b, load);
    DLCOMB(b);
    DLAXHEAD(load);
    toSolverLayout(cs, load);
    cs.point = cs.base;
    caseStatusTotalLoad();
    status = ST_OK;
    if (cs.plane)
        GRPSOL2D(1, cs.work, status, cs.pout, cs.uout, cs.point, cs.given.loads, cs.given.disps, cs.given.coords,
                 cs.given.kdof);
    else
        GRPSOL(1, cs.work, status, cs.pout, cs.uout, cs.point, cs.given.loads, cs.given.disps, cs.given.coords,
               cs.given.kdof);
    if (status != ST_OK) return false;

    progress("- ANALYSIS FOR LOAD COMB. ", b, ncomb, " FINISHED");
    U(RUNTIME_UNIT).line() << "     ANALYSIS FOR LOAD COMB. " << I(3, b) << "/" << I(3, ncomb) << " FINISHED";
    U(RUNTIME_UNIT).endLine();
    U(RUNTIME_UNIT).flush();
    caseTime();
    return !stopped(cs, status, false);
}

void writeEnvelopes(int kind) {
    for (int env : {1, 2}) {
        if (CTLIN.ANTYPE == 2)
            ENVEWR2D(kind, env);
        else
            ENVEWR(kind, env);
    }
}

}  // namespace

void RUNCASES(int kpyop, int& status) {
    // Values every pile would otherwise write on its own thread (increment lengths, the layer sentinel)
    // are set once here, and the piles' store of their p-y constants is sized to the group.
    prepareNodeTables();
    prepareSpringConstants(PILE.NPILES + 1);
    prepareKeptDerivatives(PILE.NPILES + 1);
    CaseState cs;
    cs.plane = CTLIN.ANTYPE == 2;
    cs.ndof = cs.plane ? 3 : 6;

    U(RUNTIME_UNIT).blankLines(3);
    U(RUNTIME_UNIT).line() << X{5} << "COMPUTATION IS PROCEEDING......";
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(u).blankLines(4);
        U(u).line() << X{17} << "*****" << X{5} << "COMPUTATION RESULTS" << X{5} << "*****";
        U(u).blankLines(3);
        U(u).line() << X{5} << CTLIN.TITLE;
    }
    U(PILERES_UNIT).line() << "** COMPUTATION RESULTS **";
    U(PILERES_UNIT).line() << CTLIN.TITLE;
    U(CASESTAT_UNIT).line() << "COMPUTATION RESULTS";
    U(CASESTAT_UNIT).line() << CTLIN.TITLE;
    ENVCTL.ENVSERIES = 0;
    openListedFile(STIFFLOG_UNIT, REC_STIFFLOG, io::Mode::Write);

    for (int c = 1; c <= LCDEF.NLC; ++c)
        if (!runCase(cs, c, status)) return;
    U(STIFFLOG_UNIT).close();
    if (OPTENV.ENVLC >= 1) writeEnvelopes(1);

    for (int b = 1; b <= LCBDEF.NCOMB; ++b)
        if (!runCombination(cs, b, status)) return;
    if (OPTENV.ENVCB >= 1) {
        // Without combinations there is no combination envelope to write; printing the case envelope under
        // its title would be a wrong result.
        if (LCBDEF.NCOMB >= 1) {
            writeEnvelopes(2);
        } else {
            U(RUNTIME_UNIT).endLine();
            U(RUNTIME_UNIT).line() << X{5} << "NOTE: NO LOAD COMBINATIONS; THE COMBINATION ENVELOPES ARE NOT WRITTEN";
        }
    }

    CTLIN.KPYOP = kpyop;
    if (CTLIN.KPYOP != 0) {
        U(ECHO_UNIT).blankLines(5);
        U(ECHO_UNIT).line() << X{5} << "* TABLE N *   PRINTED P-Y CURVES";
        writeTableN(status);
    }
    if (CTLIN.KCRVOUT == 1) writeCurveDataFile(status);
    if (CTLIN.KPYOP == 1) CTLIN.KPYOP = 0;
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

}  // namespace kaldo
