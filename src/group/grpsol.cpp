// The three-dimensional group solution: equilibrium of the rigid cap with all piles for one load case
// or combination, by load steps and Newton iteration on the cap displacement at the origin.
//
// This file holds GRPSOL alone (with file-local helpers), so that a test binary may supply its own
// GRPSOL in its place at link time.
#include <algorithm>
#include <cmath>
#include <string>

#include "capstiff/capstiff.h"
#include "flexcap/flexcap.h"
#include "group/group.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "report/report.h"
#include "services/host.h"
#include "services/linalg.h"
#include "services/status.h"
#include "services/unitno.h"

namespace kaldo {
namespace {

using io::E;
using io::F;
using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

// Single-precision thresholds as the stepping compares them.
const double TINY_LOAD = 1e-14;                      // pure-torque test (a true double constant)
const double NEAR_ONE = 1e-14;                       // clamp of the last level to 1.0
const double INC_SMALL = static_cast<double>(1e-12f);
const double INC_LATE = static_cast<double>(1e-8f);
const double GIVE_UP_LEVEL = static_cast<double>(1.1f);

bool pureTorque(const Vec6& v) {
    if (std::fabs(v[3]) <= TINY_LOAD) return false;
    for (int i : {0, 1, 2, 4, 5})
        if (std::fabs(v[static_cast<std::size_t>(i)]) > TINY_LOAD) return false;
    return true;
}
void norms(const Vec6& v, double& t, double& r) {
    t = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    r = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
}
void maxima(const Vec6& v, double& t, double& r) {
    t = std::max({std::fabs(v[0]), std::fabs(v[1]), std::fabs(v[2])});
    r = std::max({std::fabs(v[3]), std::fabs(v[4]), std::fabs(v[5])});
}

bool stepFailure(int s) { return grpsolStepFails(s); }

void warningLines(int unit, const std::string& text, bool lead2) {
    io::Unit& u = U(unit);
    if (lead2) u.blankLines(2);
    u.line() << X{5} << "** WARNING **  " << text;
    u.endLine();
}

struct Progress {
    int kind;
    int step = 0;
    // The short forms serve an ordinary case and the total-load loop of a flexibility case.
    bool shortForm() const {
        const bool flex = CTLPAR.KMODE >= 1 && CTLPAR.KMODE <= 10;
        return !flex || RUNPOINT.NPOINT == 1 || RUNPOINT.IPOINT == RUNPOINT.NPOINT;
    }
    std::string first() const {
        const int n = kind == 1 ? LCBDEF.NCOMB : LCDEF.NLC;
        return std::string(kind == 1 ? "- ANALYSIS FOR LOAD COMB " : "- ANALYSIS FOR LOAD CASE ") +
               io::fmtI(3, RUNPOINT.CURCASE) + "/" + io::fmtI(3, n) + " (" + io::fmtI(2, RUNTIME.RUNTHRPEAK) +
               "/" + io::fmtI(2, RUNTIME.RUNTHRMAX) + " proc.)";
    }
    std::string dof() const {
        return " DOF:" + io::fmtI(3, RUNPOINT.IPOINT) + "/" + io::fmtI(3, RUNPOINT.ILOOP);
    }
    void send(const std::string& second) const { progressText({first(), second, ""}); }
    void iteration(double tcur, int it) const {
        if (shortForm())
            send(" STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(10, 4, tcur) + " ITERATION:" + io::fmtI(5, it));
        else
            send(dof() + " STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(9, 3, tcur) + " ITERATION:" +
                 io::fmtI(5, it));
    }
    void stepDone(double tcur) const {
        if (shortForm())
            send(" STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(10, 4, tcur) + " COMPLETED");
        else
            send(dof() + " STEP:" + io::fmtI(5, step) + " TCUR:" + io::fmtF(9, 3, tcur) + " COMPLETED");
    }
    void finished() const {
        if (shortForm())
            send(" STEP:" + io::fmtI(5, step) + " COMPLETED");
        else
            send(dof() + " STEP:" + io::fmtI(5, step) + " COMPLETED");
    }
};

// The multipliers in effect for the direction of the cap movement, before each force evaluation.
void reductionFactors(const Vec6& u, const Vec6& P, int it, bool pt) {
    if (CTLIN.KGRPRF > 0) GRPRFDIR(u, P, it, pt);
}

// The give-up warning of a stepping that could not go on, by the failure reason of its last step.
void giveUpWarning(int reason) {
    const std::string text = grpsolGiveUpText(reason);
    if (text.empty()) return;
    for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) warningLines(unit, text, true);
    U(RUNTIME_UNIT).flush();
}

// The warnings of the last force evaluation: the notices, then 3 lines per counted record copied from
// the warning scratch file. Returns true when there was anything to copy.
bool copyWarnings() {
    const int bear = RUNSTATE.RUNWARNBEAR.load(), pull = RUNSTATE.RUNWARNPULL.load(),
              tors = RUNSTATE.RUNWARNTORS.load();
    const bool atMax = CTLIN.KAXLIM == 1;
    struct Kind {
        int count;
        const char* failText;
        const char* line2;
        const char* line3;
        const char* maxText;
    };
    const Kind kinds[] = {
        {bear, "SOME PILES MAY FAIL IN BEARING!", "AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN",
         "MAXIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE", " IN BEARING!"},
        {pull, "SOME PILES MAY FAIL IN PULL OUT!", "AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN",
         "MINIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE", " IN PULL OUT!"},
        {tors, "SOME PILES MAY FAIL IN TORSION!", "TORSIONAL ROTATION ESTIMATED IS LARGER/SMALLER",
         "THAN MAXIMUM/MINIMUM ROTATION DEFINED IN TORQUE-ROTATION CURVE", " IN TORSION!"},
    };
    bool any = false;
    for (const Kind& k : kinds) {
        if (k.count <= 0) continue;
        any = true;
        io::Unit& r = U(RESULTS_UNIT);
        r.endLine();
        r.line() << X{5} << "** WARNING **  " << k.failText;
        r.line() << X{20} << k.line2;
        r.line() << X{20} << k.line3;
        io::Unit& t = U(RUNTIME_UNIT);
        t.endLine();
        if (atMax)
            t.line() << X{5} << "** WARNING **  " << "SOME PILES REACHED MAXIMUM" << k.maxText;
        else
            t.line() << X{5} << "** WARNING **  " << k.failText;
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

void caseStatus(const std::string& text) { U(CASESTAT_UNIT).line() << text; }

// Clears the current results of piles 1..NPILES before the final results pass. A pile whose solution
// fails on that pass stores nothing, and its rows must not show an earlier case's values as this case's.
void clearCurrentResults() {
    const int n = PILE.NPILES;
    for (int p = 1; p <= n; ++p) {
        for (int r = 1; r <= NTOPROW; ++r) RESCUR.RESCURTOP(p, r) = 0.0;
        for (int q = 1; q <= NLLPQTY; ++q)
            for (int s = 1; s <= NODESLOTS; ++s) RESCUR.RESCURLLP(p, s, q) = 0.0;
    }
}

}  // namespace

void GRPSOL(int kind, int&, int& status, Vec6& POUT, Vec6& UOUT, Vec6& P, Vec6&, Vec6&, Vec6& RSP,
            std::array<int, 6>& KDOF) {
    RUNSTATE.RUNWARNBEAR = 0;
    RUNSTATE.RUNWARNPULL = 0;
    RUNSTATE.RUNWARNTORS = 0;
    RUNSTATE.RUNWARNPRT = 0;
    if (CTLIN.FLXCAP > 0) {
        FCAPRUN(P);
        RUNSTATE.RUNPASS = 0;
        return;
    }
    const bool pointCase = kind == 0 && RUNPOINT.CURCASE >= 1 && RUNPOINT.CURCASE <= MAXLC &&
                           LCSD.SDFLAG(RUNPOINT.CURCASE) > 0;
    const int mode = pointCase ? 1 : 0;
    const Vec6 P0 = P;
    Vec6 u{}, ustart{}, du{}, dU{}, Fg{}, R{};
    Mat6 K{}, Kprint{};
    double tcur = CTLPAR.FINC, dtcur = CTLPAR.FINC, tlast = 0.0;
    int completion = 0;
    Progress prog{kind};
    int it = 0;
    // Why the last step failed (0 when it converged or ran out of iterations) and, apart from it,
    // whether the last force evaluation left warnings to copy.
    int reason = 0;
    double capHy = 0.0, capHz = 0.0, capPos = 0.0;

    U(RUNTIME_UNIT).endLine();
    U(RUNTIME_UNIT).line() << "     GLOBAL ITERATIONS";
    U(RUNTIME_UNIT).flush();
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    PYMODE.PYPRTMODE = 0;
    SMOV.SMFACT = 1.0;
    const bool pt = pureTorque(P0);

    while (dtcur <= 1.0 && tcur <= 1.0) {
        ++prog.step;
        SMOV.SMFACT = tcur;
        U(RUNTIME_UNIT).line() << X{5} << "STEP " << I(5, prog.step) << ", TCUR " << F{10, 4, tcur} << ", DTCUR "
                               << F{10, 4, dtcur};
        U(RUNTIME_UNIT).flush();
        du.fill(0.0);
        dU.fill(0.0);
        bool converged = false;
        reason = 0;
        it = 0;
        for (;;) {
            ++it;
            RUNSTATE.RUNSOLVST = SOLVER_OK;
            RUNSTATE.RUNWARNBEAR = 0;
            RUNSTATE.RUNWARNPULL = 0;
            RUNSTATE.RUNWARNTORS = 0;
            prog.iteration(tcur, it);
            if (stopRequested()) {
                status = ST_STOPPED;
                return;
            }
            reductionFactors(u, P, it, pt);
            io::Unit& w = U(AXWARN_UNIT);
            w.open(namesPath(REC_AXWARN), io::Mode::Write);
            RUNSTATE.RUNWARNPRT = 1;
            FVEC(Fg, u, status);
            w.close();
            RUNSTATE.RUNWARNPRT = 0;
            if (status != 0) return;
            if (stepFailure(RUNSTATE.RUNSOLVST.load())) {
                reason = RUNSTATE.RUNSOLVST.load();
                it = CTLPAR.MAXITG + 1;
                break;
            }
            for (std::size_t i = 0; i < 6; ++i) P[i] = tcur * P0[i];
            const Vec6 ukeep = u;
            STIFF(K, u, du, it, mode, status);
            u = ukeep;
            if (CTLIN.CAPOPT > 0) {
                Vec6 Fc{};
                Mat6 Kc{};
                if (CAPIN.KCAPSPR == 0) {
                    CAPPASS(Fc, u, status);
                    capHy = std::fabs(Fc[1]);
                    capHz = std::fabs(Fc[2]);
                    if (capHy > 0.0)
                        capPos = Fc[5] / Fc[1];
                    else if (capHz > 0.0)
                        capPos = -Fc[4] / Fc[2];
                    else
                        capPos = PILE.HEADX(PILE.NPILES);
                    CAPPSTF(Kc, u, du, it, mode, status);
                } else if (CAPIN.KCAPSPR == 1) {
                    CAPSPRF(Fc, u, status);
                    CAPSPRK(Kc, u, du, it, mode);
                }
                for (std::size_t i = 0; i < 6; ++i) Fg[i] += Fc[i];
                for (std::size_t i = 0; i < 36; ++i) K[i] += Kc[i];
            }
            if (CTLIN.KGRPRF > 0 && it > 10 && !(it > 20 && pt)) {
                Mat6 Kj{};
                CAPJAC(Kj, u, du, P, it, mode, pt, status);
                for (std::size_t i = 0; i < 36; ++i) K[i] += Kj[i];
            }
            for (std::size_t i = 0; i < 6; ++i) R[i] = -(P[i] + Fg[i]);
            if (stepFailure(RUNSTATE.RUNSOLVST.load())) {
                reason = RUNSTATE.RUNSOLVST.load();
                it = CTLPAR.MAXITG + 1;
                break;
            }
            Kprint = K;
            grpsolLogStiffness(it, K);
            if (it == 1) {
                for (std::size_t i = 0; i < 6; ++i)
                    for (std::size_t j = i + 1; j < 6; ++j) {
                        const double m = (K[i + 6 * j] + K[j + 6 * i]) * 0.5;
                        K[i + 6 * j] = K[j + 6 * i] = m;
                    }
            }
            int flag = 0;
            if (pointCase) {
                std::array<double, 144> A{};
                CAPAUGK(A, K, RSP, KDOF);
            } else {
                GJINV2(K, 6, 6, flag);
                if (flag == 0) MATV6(du, K, R, 1);
            }
            if (flag != 0) {
                U(RESULTS_UNIT).line() << X{5} << "** WARNING **  " << "DETERMINANT OF STIFFNESS MATRIX IS ZERO";
                U(RESULTS_UNIT).endLine();
                warningLines(RUNTIME_UNIT, "DETERMINANT OF STIFFNESS MATRIX IS ZERO", true);
                U(RUNTIME_UNIT).flush();
                RUNSTATE.RUNSOLVST = SOLVER_SINGULAR;
                reason = SOLVER_SINGULAR;
                break;
            }
            for (std::size_t i = 0; i < 6; ++i) {
                u[i] += du[i];
                dU[i] += du[i];
            }
            grpsolLogVectors(du, R, dU, u, P, Fg);
            double incD, incR, totD, totR, maxD, maxR;
            norms(du, incD, incR);
            norms(dU, totD, totR);
            maxima(du, maxD, maxR);
            const double errD = totD != 0.0 ? incD / totD : incD;
            const double errR = totR != 0.0 ? incR / totR : incR;
            io::Unit& t = U(RUNTIME_UNIT);
            t.line() << X{5} << "ITERATION " << I(4, it);
            t.flush();
            t.line() << X{5} << "          " << X{4} << "- ErrDsp " << E{13, 5, errD} << ", IncDsp " << E{13, 5, incD}
                     << ", TotDsp " << E{13, 5, totD};
            t.line() << X{5} << "          " << X{4} << "- ErrRot " << E{13, 5, errR} << ", IncRot " << E{13, 5, incR}
                     << ", TotRot " << E{13, 5, totR};
            if (CTLPAR.KALTTOL == 1)
                t.line() << X{5} << "          " << X{4} << "- MaxDsp " << E{13, 5, maxD} << ", MaxRot "
                         << E{13, 5, maxR};
            if (it > 1) {
                const bool alt = CTLPAR.KALTTOL == 1;
                const bool okD = CTLPAR.TOLCAP >= errD || INC_SMALL >= incD || INC_SMALL >= totD ||
                                 (it > 40 && (INC_LATE >= incD || INC_LATE >= totD)) || (alt && CTLPAR.TOLDEFA >= maxD);
                const bool okR = CTLPAR.TOLCAP >= errR || INC_SMALL >= incR || INC_SMALL >= totR ||
                                 (it > 40 && (INC_LATE >= incR || INC_LATE >= totR)) || (alt && CTLPAR.TOLROTA >= maxR);
                if (okD && okR) {
                    converged = true;
                    break;
                }
            }
            if (it > CTLPAR.MAXITG) break;
        }

        if (converged) {
            ustart = u;
            tlast = tcur;
            tcur += dtcur;
            if (tcur > 1.0 && 1.0 - tlast > NEAR_ONE) tcur = 1.0;
            completion = 1;
        } else {
            dtcur *= 0.5;
            u = ustart;
            if (CTLPAR.FINCMIN > dtcur) {
                giveUpWarning(reason);
                tcur = GIVE_UP_LEVEL;
            } else {
                --prog.step;
                tcur -= dtcur;
            }
            completion = -1;
        }
        prog.stepDone(tcur);
    }

    prog.finished();
    const bool warned = copyWarnings();
    if (warned) RUNSTATE.RUNSOLVST = SOLVER_WARNINGS;
    // A stiffness-estimation point counts as failed until it is known to have completed; the state it
    // came with decides whether the equivalent-stiffness pass runs.
    const int eqsState = EQSEST.EQSSTATE;
    if (EQSEST.EQSACT == 1) EQSEST.EQSSTATE = -1;
    const bool flex = RUNPOINT.PKIND == 2;
    const bool noStep = prog.step == 1 && completion == -1;
    auto failed = [&](const char* line) {
        caseStatus(line);
        if (noStep && flex) FLEXREC(RUNPOINT.ILOOP, RUNPOINT.IPOINT, true, P, u);
        if (EQSEST.EQSACT == 1) EQSEST.EQSSTATE = -1;
        RUNSTATE.RUNPASS = 0;
    };
    if (reason == SOLVER_NO_CLOSURE || reason == SOLVER_AXIAL_FAILURE) return failed("    6 NO CONVERGENCE ON PILES   ");
    if (reason == SOLVER_SINGULAR) return failed("    7 SINGULAR STIFFNESS MATRIX ");
    if (noStep) return failed("    3 NO CONVERGENCE ON PILE CAP");
    if (flex) {
        FLEXREC(RUNPOINT.ILOOP, RUNPOINT.IPOINT, false, P, u);
        caseStatus("    1 ANALYSIS COMPLETED");
        RUNSTATE.RUNPASS = 0;
        return;
    }
    if (EQSEST.EQSACT == 1) {
        POUT = P;
        UOUT = u;
        EQSEST.EQSSTATE = eqsState;
        if (EQSEST.EQSSTATE > 0) {
            // The equivalent-stiffness pass of a stiffness-estimation point.
            EQSEST.EQSDCMP = EQSEST.EQSDOF >= 1 && EQSEST.EQSDOF <= 6 ? u[static_cast<std::size_t>(EQSEST.EQSDOF - 1)] : 0.0;
            const double err = std::fabs((EQSEST.EQSDCMP - EQSEST.EQSDTGT) / EQSEST.EQSDTGT);
            io::Unit& t = U(RUNTIME_UNIT);
            if (EQSEST.EQSSTATE == 1) {
                t.endLine();
                t.line() << X{5} << "STIFFNESS ESTIMATION, " << " MAX. ITER. REACHED, " << " COMPUTED DEF.: "
                         << F{11, 4, EQSEST.EQSDCMP} << " TARGET DEF.: " << F{11, 4, EQSEST.EQSDTGT} << " ERROR(%): "
                         << F{11, 4, 100.0 * err};
            } else if (EQSEST.EQSSTATE == 2) {
                t.endLine();
                t.line() << X{5} << "STIFFNESS ESTIMATION, " << " COMPUTED DEF.: " << F{11, 4, EQSEST.EQSDCMP}
                         << " TARGET DEF.: " << F{11, 4, EQSEST.EQSDTGT} << " ERROR(%): " << F{11, 4, 100.0 * err};
                if (err > EQSEST.EQSTOL / 100.0) {
                    caseStatus("    10 ANALYSIS COMPLETED");
                    RUNSTATE.RUNPASS = 0;
                    return;
                }
                EQSEST.EQSSTATE = 0;
            } else if (EQSEST.EQSSTATE == 3) {
                EQSEST.EQSSTATE = 0;
            }
            grpsolEqvMatrix(Kprint);
            io::Unit& s = U(PILESCR_UNIT);
            s.open(namesPath(REC_PILESCR), io::Mode::Write);
            RUNSTATE.RUNPASS = 2;
            FVEC(Fg, u, status);
            s.close();
            ENVCTL.ENVKPRINT = CTLPAR.KPRINT;
            ENVCTL.ENVNPREV = CTLPAR.NPREVRY;
            RUNSTATE.RUNPASS = 0;
            EQSTIFWR();
            caseStatus("    1 ANALYSIS COMPLETED");
            return;
        }
    }

    // The results of the analysis at the last converged level.
    if (CTLIN.KGRPRF > 0) grpsolFactorTable();
    SMOV.SMFACT = tlast;
    for (std::size_t i = 0; i < 6; ++i) P[i] = tlast * P0[i];
    grpsolTableL(P, u, it);
    if (EQSEST.EQSDOF >= 1 && EQSEST.EQSDOF <= 6) EQSEST.EQSDCMP = u[static_cast<std::size_t>(EQSEST.EQSDOF - 1)];
    CAPENV(P, u);
    // The completion line waits for the final results pass, which may still find a pile that fails.
    std::string outcome = "    1 ANALYSIS COMPLETED";
    if (tlast < 1.0 - NEAR_ONE) {
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::Unit& r = U(unit);
            r.endLine();
            r.line() << X{5} << "** WARNING **  " << "  KALDO COULD NOT GET SOLUTION FOR 100% OF THE LOAD";
            r.line() << X{5} << "               " << "  RESULTS ARE FOR " << F{8, 2, 100.0 * tlast}
                     << "% OF THE TOTAL LOAD";
            r.endLine();
        }
        outcome = "    2 SOLUTION AT " + io::fmtF(8, 2, 100.0 * tlast) + " % OF THE TOTAL LOAD";
    }
    RUNSTATE.RUNPASS = 1;
    if (CTLIN.CAPOPT > 0 && CAPIN.KCAPSPR == 0) grpsolPassiveTable(capHy, capHz, capPos);
    if (CTLPAR.KPRINT > 0) grpsolTableM();
    clearCurrentResults();
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    io::Unit& s = U(PILESCR_UNIT);
    s.open(namesPath(REC_PILESCR), io::Mode::Write);
    FVEC(Fg, u, status);
    s.close();
    // The final pass evaluates the piles at the converged displacement itself, which the iterations
    // never did (they stop after adding the last increment): a pile may fail there for the first time.
    const int finalState = RUNSTATE.RUNSOLVST.load();
    if (stepFailure(finalState)) {
        for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) {
            io::Unit& w = U(unit);
            w.blankLines(2);
            w.line() << X{5} << "** WARNING **  " << grpsolGiveUpText(finalState);
            w.line() << X{20} << "IN THE FINAL RESULTS PASS: THE PILE RESULTS ARE INCOMPLETE";
            w.endLine();
        }
        U(RUNTIME_UNIT).flush();
        outcome = "    6 NO CONVERGENCE ON PILES   ";
    }
    caseStatus(outcome);
    ENVCTL.ENVKPRINT = CTLPAR.KPRINT;
    ENVCTL.ENVNPREV = CTLPAR.NPREVRY;
    try {
        ENVEWR(0, 0);
    } catch (...) {
        RUNSTATE.RUNPASS = 0;
        throw;
    }
    if (RUNPOINT.PKIND == 0) ++ENVCTL.ENVSERIES;
    RUNSTATE.RUNPASS = 0;
}

}  // namespace kaldo
