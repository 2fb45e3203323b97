// The three-dimensional group solution: equilibrium of the rigid cap with all piles for one load case
// or combination, by load steps and Newton iteration on the cap displacement at the origin.
//
// This file holds GRPSOL alone (with file-local helpers), so that a test binary may supply its own
// GRPSOL in its place at link time.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "capstiff/capstiff.h"
#include "flexcap/flexcap.h"
#include "group/group.h"
#include "group/point.h"
#include "group/stepsearch.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "pile/pile.h"
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

// The share of the load by which the forces of the piles (and the embedded cap) on the cap may miss the
// load at a converged state before a warning says so. The convergence test looks at displacement
// increments only; with the cap tolerance TOLCAP of ordinary cases (1e-3 and below) the last accepted
// Newton increment leaves out of balance a small fraction of TOLCAP of the load, and the piles' own
// closure (TOLPIL on their deflections) moves the head forces by far less than one per cent. A gap of
// one per cent is thus no rounding but a state accepted short of equilibrium (a loose tolerance, an
// absolute tolerance met while the forces still change, a nearly flat stiffness), and it is the size
// at which the reported forces begin to matter. It does not grow with TOLCAP, so a loose tolerance
// cannot hide it.
const double EQUILIBRIUM_SHARE = 0.01;

// The cap stiffness is singular when, scaled so that its translations and rotations compare alike, its
// elimination meets a pivot at or below this share of its largest entry. A stiffness whose piles have all
// lost their resistance along one direction is singular in exact arithmetic, but the stiffness of the
// balanced piles leaves round-off of 1e-30 of its other terms there rather than an exact zero; solved as it
// stands, such a stiffness sends the cap 1e48 away and the piles' warnings describe that trial state. A
// group whose stiffness is sound sits many orders above this share (a pile head's own coupling of sway and
// rocking leaves a half).
const double SINGULAR_SHARE = 1e-12;

// The case status lines of a failed solution.
const char* const PILES_FAILED = "    6 NO CONVERGENCE ON PILES   ";
const char* const CAP_SINGULAR = "    7 SINGULAR STIFFNESS MATRIX ";
const char* const CAP_NO_STEP = "    3 NO CONVERGENCE ON PILE CAP";
const char* const COMPLETED = "    1 ANALYSIS COMPLETED";

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
    // The step and, with its level, the load level: the long form names the point and its loop first.
    std::string stepText() const { return (shortForm() ? std::string() : dof()) + " STEP:" + io::fmtI(5, step); }
    std::string levelText(double tcur) const {
        return stepText() + " TCUR:" + (shortForm() ? io::fmtF(10, 4, tcur) : io::fmtF(9, 3, tcur));
    }
    void iteration(double tcur, int it) const { send(levelText(tcur) + " ITERATION:" + io::fmtI(5, it)); }
    void stepDone(double tcur) const { send(levelText(tcur) + " COMPLETED"); }
    void finished() const { send(stepText() + " COMPLETED"); }
};

// The bearing, pull-out and torsion warnings that the piles count during one force evaluation.
void clearWarningCounts() {
    RUNSTATE.RUNWARNBEAR = 0;
    RUNSTATE.RUNWARNPULL = 0;
    RUNSTATE.RUNWARNTORS = 0;
}

// The give-up warning of a stepping that could not go on, by the failure reason of its last step.
void giveUpWarning(int reason) {
    const std::string text = grpsolGiveUpText(reason);
    if (text.empty()) return;
    for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) grpsolWarningLines(unit, text);
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
void clearCurrentResults() { clearPileTables(RESCUR.RESCURTOP, RESCUR.RESCURLLP, PILE.NPILES); }

// The lever arm of the group, by which moments at the cap origin compare with forces: the largest
// distance of a pile head from the origin, and at least the largest pile diameter (piles under the
// origin carry moments by bending over a few diameters).
double groupLever() {
    double lever = 0.0;
    for (int p = 1; p <= PILE.NPILES; ++p) {
        const double r = std::sqrt(PILE.HEADX(p) * PILE.HEADX(p) + PILE.HEADY(p) * PILE.HEADY(p) +
                                   PILE.HEADZ(p) * PILE.HEADZ(p));
        lever = std::max({lever, r, groupPileDiameter(PILE.PSETNO(p))});
    }
    return lever;
}

// The size of forces (places 1-3) and moments (4-6) taken together, the moments over the lever arm.
double loadSize(const Vec6& v, double lever) {
    const double f = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    const double m = v[3] * v[3] + v[4] * v[4] + v[5] * v[5];
    return std::sqrt(f + m / (lever * lever));
}

// The forces the piles carry at their heads (global reactions of the final results pass), summed by
// size: the scale of a cap that carries no load of its own (piles loaded along their length only).
double pileHeadForces(double lever) {
    double sum = 0.0;
    for (int p = 1; p <= PILE.NPILES; ++p) {
        Vec6 r{};
        for (int k = 0; k < 6; ++k) r[static_cast<std::size_t>(k)] = RESCUR.RESCURTOP(p, 7 + k);
        sum += loadSize(r, lever);
    }
    return sum;
}

// The first iteration of a step solves with the symmetric part of the stiffness.
void symmetrize(Mat6& K) {
    for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t j = i + 1; j < 6; ++j) {
            const double m = (K[i + 6 * j] + K[j + 6 * i]) * 0.5;
            K[i + 6 * j] = K[j + 6 * i] = m;
        }
}

// The envelopes are written at the print level and node step of the case.
void envelopePrintLevel() {
    ENVCTL.ENVKPRINT = CTLPAR.KPRINT;
    ENVCTL.ENVNPREV = CTLPAR.NPREVRY;
}

// The size of one Newton increment against the displacement gathered over the step: translations
// (D) and rotations (R), as Euclidean norms of the increment and of the total, their ratio, and the
// largest single component of the increment.
struct IncrementSize {
    double incD, incR, totD, totR, maxD, maxR, errD, errR;
};

IncrementSize incrementSize(const Vec6& du, const Vec6& dU) {
    IncrementSize m{};
    norms(du, m.incD, m.incR);
    norms(dU, m.totD, m.totR);
    maxima(du, m.maxD, m.maxR);
    m.errD = m.totD != 0.0 ? m.incD / m.totD : m.incD;
    m.errR = m.totR != 0.0 ? m.incR / m.totR : m.incR;
    return m;
}

// How an iteration at one load level ended.
enum class StepEnd {
    Converged,  // the cap is in equilibrium at the level
    Failed,     // a pile failed, the stiffness is singular or the iterations ran out: retry smaller
    Abandoned,  // a stop request or a fault ends the solution with its status
};

// One solution of the rigid cap on its piles: the load levels, the cap displacement at the origin and
// the Newton iteration at the current level.
class CapSolution {
public:
    CapSolution(int kind, int& status, Vec6& P, const Vec6& PSP, Vec6& USP, const Vec6& RSP, const Flags6& KDOF)
        : status(status), P(P), USP(USP), RSP(RSP), KDOF(KDOF), pointCase(kind == 0 && givenAtPoint()), P0(P),
          PSP0(PSP), USP0(USP), prog{kind} {}

    void startSolution();
    bool levelsRemain() const { return dtcur <= 1.0 && tcur <= 1.0; }
    void startStep();
    StepEnd iterateToEquilibrium();
    void advanceLevel();
    void retryOrGiveUp();
    void endStepping();
    void holdEstimationState();
    const char* failure() const;
    void failCase(const char* line);
    bool flexibilityPoint() const { return RUNPOINT.PKIND == 2; }
    bool estimationPoint() const { return EQSEST.EQSACT == 1; }
    void recordFlexibilityPoint();
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
    bool noStep() const { return prog.step == 1 && lastStepFailed; }
    bool startIteration();
    bool pileForces();
    StepEnd shortenIncrement();
    bool pilesFailed();
    void applyLevel();
    void assembleStiffness();
    void addEmbeddedCap();
    Vec6 embeddedCapForce(int& st, bool listed) const;
    void keepPassiveResistance(const Vec6& Fc);
    void addFollowingFactors();
    void residual();
    void recordStiffness();
    bool solveIncrement();
    void applyIncrement();
    bool converged();
    bool targetDeflectionMissed();
    void equivalentStiffnessPass();
    void scratchPass();
    void scalePointValues(double level);
    bool solveBordered();
    void reportAtPoint();

    int& status;
    Vec6& P;  // the load at the origin: that of the current level
    Vec6& USP;  // displacements given at the point: those of the current level
    const Vec6& RSP;
    const Flags6& KDOF;
    // A load case with values given at a point solves the bordered system, and its piles' stiffness
    // takes fixed difference steps (mode 1).
    const bool pointCase;
    const int mode = pointCase ? 1 : 0;
    const Vec6 P0;  // the full load
    // The full loads and displacements given at the point, and the loads of the current level.
    const Vec6 PSP0, USP0;
    Vec6 PSPs{};
    BorderedUnknowns<12> bordered;
    const bool pt = pureTorque(P0);
    Progress prog;

    Vec6 u{};       // cap displacement
    Vec6 ustart{};  // cap displacement at the last converged level
    Vec6 du{};      // Newton increment
    Vec6 dU{};      // displacement gathered over the current step
    Vec6 Fg{};      // forces of the piles (and the embedded cap) on the cap
    Vec6 Fcap{};    // the embedded cap's resistance at u
    Vec6 R{};       // residual load
    Mat6 K{};       // stiffness of the iteration, inverted in place
    Mat6 Kprint{};  // the stiffness as assembled, for the equivalent stiffness print
    double tcur = CTLPAR.FINC;   // load level of the step, a fraction of the full load
    double dtcur = CTLPAR.FINC;  // load step
    double tlast = 0.0;          // last converged level
    // The level of the step was cut back to the full load, so the step tried less than dtcur.
    bool clamped = false;
    bool lastStepFailed = false;
    int it = 0;
    // Size of the out-of-balance load of the last iteration (forces and moments over the group's lever).
    double lastImbalance = 0.0;
    const double lever = groupLever();
    // Why the last step failed (SOLVER_OK when it converged or ran out of iterations).
    int reason = SOLVER_OK;
    int eqsState = EST_ACCEPTED;  // the stiffness-estimation state the point came with
    double capHy = 0.0, capHz = 0.0, capPos = 0.0;  // the embedded cap's passive resistance
    std::string outcome = COMPLETED;
};

// The heading of the iteration trace, and a clean state for the first level: no failure, the
// analysis springs, the soil movement in full.
void CapSolution::startSolution() {
    U(RUNTIME_UNIT).endLine();
    U(RUNTIME_UNIT).line() << "     GLOBAL ITERATIONS";
    U(RUNTIME_UNIT).flush();
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    PYMODE.PYPRTMODE = 0;
    SMOV.SMFACT = 1.0;
}

// A new load step: the soil movement follows the load level, and the step gathers its own increments.
void CapSolution::startStep() {
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
}

// Newton iteration of the cap at the current level: at most MAXITG + 1 force evaluations, the first
// never accepted.
StepEnd CapSolution::iterateToEquilibrium() {
    for (;;) {
        if (!startIteration()) return StepEnd::Abandoned;
        if (CTLIN.KGRPRF > 0) GRPRFDIR(u, P, it, pt);
        if (!pileForces()) return StepEnd::Abandoned;
        if (pilesFailed()) return StepEnd::Failed;
        applyLevel();
        switch (shortenIncrement()) {
            case StepEnd::Abandoned: return StepEnd::Abandoned;
            case StepEnd::Failed: return StepEnd::Failed;
            default: break;
        }
        assembleStiffness();
        residual();
        if (pilesFailed()) return StepEnd::Failed;
        recordStiffness();
        if (!solveIncrement()) return StepEnd::Failed;
        applyIncrement();
        if (converged()) return StepEnd::Converged;
        if (it > CTLPAR.MAXITG) return StepEnd::Failed;
    }
}

// A new iteration starts with no failure and no warning counted; a stop request ends the case here.
bool CapSolution::startIteration() {
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

// The forces of the piles on the cap at its displacement; the piles' axial and torsional warnings of
// this evaluation go to the warning scratch file. False on a fault that ends the solution.
bool CapSolution::pileForces() {
    io::Unit& w = U(AXWARN_UNIT);
    openListedFile(AXWARN_UNIT, REC_AXWARN, io::Mode::Write);
    RUNSTATE.RUNWARNPRT = 1;
    {
        // The stiffness that follows at this displacement is formed in the same pile loop.
        struct Expected {
            Expected(const Vec6& u, const Vec6& du, int it, int mode) { expectStiffness(u, du, it, mode); }
            ~Expected() { noStiffnessExpected(); }
        } expected(u, du, it, mode);
        FVEC(Fg, u, status);
    }
    w.close();
    RUNSTATE.RUNWARNPRT = 0;
    return status == ST_OK;
}

// A pile failure fails the step: its reason is kept, and the iteration count shows the limit passed.
bool CapSolution::pilesFailed() {
    if (!grpsolStepFails(RUNSTATE.RUNSOLVST.load())) return false;
    reason = RUNSTATE.RUNSOLVST.load();
    // Past the limit, without overflowing the largest limit an input may give.
    it = CTLPAR.MAXITG < std::numeric_limits<int>::max() ? CTLPAR.MAXITG + 1 : CTLPAR.MAXITG;
    return true;
}

// A Newton step that leaves the cap further out of balance than the last iteration is shortened
// (group/stepsearch.h); the shorter step's force evaluation replaces the longer one's, warnings and all.
StepEnd CapSolution::shortenIncrement() {
    // The embedded cap's resistance is part of the balance: it is evaluated with the piles' forces.
    auto capForce = [&] {
        if (CTLIN.CAPOPT > 0) Fcap = embeddedCapForce(status, false);
        return status == ST_OK;
    };
    auto imbalance = [&] {
        Vec6 r{};
        for (std::size_t i = 0; i < 6; ++i) r[i] = P[i] + Fg[i] + Fcap[i];
        return loadSize(r, lever);
    };
    auto evaluate = [&] {
        RUNSTATE.RUNSOLVST = SOLVER_OK;
        clearWarningCounts();
        if (CTLIN.KGRPRF > 0) GRPRFDIR(u, P, it, pt);
        if (!pileForces()) return group::Evaluation::Abandoned;
        if (pilesFailed()) return group::Evaluation::Failed;
        if (!capForce()) return group::Evaluation::Abandoned;
        if (pilesFailed()) return group::Evaluation::Failed;
        return group::Evaluation::Done;
    };
    if (!capForce()) return StepEnd::Abandoned;
    if (pilesFailed()) return StepEnd::Failed;
    double size = imbalance();
    if (it > 1 && !pointCase) {
        const group::Evaluation e = group::shortenStep(u, du, dU, size, lastImbalance, imbalance, evaluate);
        if (e == group::Evaluation::Abandoned) return StepEnd::Abandoned;
        if (e == group::Evaluation::Failed) return StepEnd::Failed;
    }
    lastImbalance = size;
    return StepEnd::Converged;
}

// The load of the current level; the values given at a point grow with it.
void CapSolution::applyLevel() {
    for (std::size_t i = 0; i < 6; ++i) P[i] = tcur * P0[i];
    if (pointCase) scalePointValues(tcur);
}

void CapSolution::scalePointValues(double level) {
    for (std::size_t i = 0; i < 6; ++i) {
        PSPs[i] = level * PSP0[i];
        USP[i] = level * USP0[i];
    }
}

// The tangent stiffness of the cap: the piles', the embedded cap's, and the change of the reduction
// factors as the direction of movement turns.
void CapSolution::assembleStiffness() {
    STIFF(K, u, du, it, mode, status);
    if (CTLIN.CAPOPT > 0) addEmbeddedCap();
    if (CTLIN.KGRPRF > 0 && it > 10 && !(it > 20 && pt)) addFollowingFactors();
}

// The embedded cap resists by passive pressure on its sides or by an equivalent lateral spring.
void CapSolution::addEmbeddedCap() {
    // The passive resistance at u stands from the step's balance; the spring is evaluated once more with
    // its node listing.
    const Vec6 Fc = CAPIN.KCAPSPR == 0 ? Fcap : embeddedCapForce(status, true);
    Mat6 Kc{};
    if (CAPIN.KCAPSPR == 0) {
        keepPassiveResistance(Fc);
        CAPPSTF(Kc, u, du, it, mode, status);
    } else if (CAPIN.KCAPSPR == 1) {
        CAPSPRK(Kc, u, du, it, mode);
    }
    for (std::size_t i = 0; i < 6; ++i) Fg[i] += Fc[i];
    for (std::size_t i = 0; i < 36; ++i) K[i] += Kc[i];
}

// The embedded cap's forces on itself at the cap displacement: passive pressure on its sides
// (KCAPSPR 0) or the equivalent lateral spring (KCAPSPR 1).
Vec6 CapSolution::embeddedCapForce(int& st, bool listed) const {
    Vec6 Fc{};
    if (CAPIN.KCAPSPR == 0)
        CAPPASS(Fc, u, st);
    else if (CAPIN.KCAPSPR == 1)
        capSpringForce(Fc, u, st, listed);
    return Fc;
}

// The passive resistance for its table: the magnitudes of the horizontal forces and the depth of their
// resultant, from the moment it makes about the origin (without horizontal force, the last pile's head).
void CapSolution::keepPassiveResistance(const Vec6& Fc) {
    capHy = std::fabs(Fc[1]);
    capHz = std::fabs(Fc[2]);
    if (capHy > 0.0)
        capPos = Fc[5] / Fc[1];
    else if (capHz > 0.0)
        capPos = -Fc[4] / Fc[2];
    else
        capPos = PILE.HEADX(PILE.NPILES);
}

// Late in a step the reduction factors' dependence on the direction of movement enters the stiffness
// (a pure torque's direction is frozen after 20 iterations, and with it the factors).
void CapSolution::addFollowingFactors() {
    Mat6 Kj{};
    CAPJAC(Kj, u, du, P, it, mode, pt, status);
    for (std::size_t i = 0; i < 36; ++i) K[i] += Kj[i];
}

// The load still out of balance at the current level.
void CapSolution::residual() {
    for (std::size_t i = 0; i < 6; ++i) R[i] = -(P[i] + Fg[i]);
}

// The stiffness as assembled goes to the iteration log and is kept for the equivalent stiffness print.
void CapSolution::recordStiffness() {
    Kprint = K;
    grpsolLogStiffness(it, K);
    if (it == 1) symmetrize(K);
}

// The increment of the cap displacement that balances the residual. False when the stiffness is
// singular, which fails the step with its warning.
bool CapSolution::solveIncrement() {
    int flag = 0;
    if (pointCase) {
        if (solveBordered()) return true;
        flag = 1;
    } else {
        static constexpr std::array<int, 6> TRANSLATIONS_ROTATIONS{0, 0, 0, 1, 1, 1};
        if (nearlySingular(K, 6, 6, TRANSLATIONS_ROTATIONS, SINGULAR_SHARE))
            flag = 1;
        else
            GJINV2(K, 6, 6, flag);
        if (flag == 0) MATV6(du, K, R, 1);
    }
    if (flag == 0) return true;
    grpsolWarnSingular();
    reason = SOLVER_SINGULAR;
    return false;
}

// The increment of a case with values at a point: the bordered system of the stiffness and the
// constraints that hold the point, whose first six unknowns are the cap's increment. False when the
// system is singular.
bool CapSolution::solveBordered() {
    if (it == 1) limitCoupling(K, 6);
    Mat12 A{};
    CAPAUGK(A, K, RSP, KDOF);
    grpsolLogBordered(A);
    int flag = 0;
    GJINV(A, 12, 12, flag);
    if (flag != 0) return false;
    CAPAUGR(bordered.b, bordered.g, R, Fg, USP, u, RSP, KDOF);
    MATV12(bordered.x, A, bordered.b, 1);
    for (std::size_t i = 0; i < 6; ++i) du[i] = bordered.x[i];
    return true;
}

// The cap moves by the increment, which also adds to the displacement of the step.
void CapSolution::applyIncrement() {
    for (std::size_t i = 0; i < 6; ++i) {
        u[i] += du[i];
        dU[i] += du[i];
    }
    if (pointCase) {
        bordered.addIncrement();
        grpsolLogPointVectors(bordered.x, bordered.b, bordered.step, bordered.total, bordered.g);
    } else {
        grpsolLogVectors(du, R, dU, u, P, Fg);
    }
}

// The cap is in equilibrium when, from the second iteration on, both the translations and the
// rotations have settled: the increment small against the step's total (TOLCAP), or tiny outright
// (looser late in the step), or with KALTTOL 1 every component below its own tolerance.
bool CapSolution::converged() {
    const IncrementSize m = incrementSize(du, dU);
    io::Unit& t = U(RUNTIME_UNIT);
    t.line() << X{5} << "ITERATION " << I(4, it);
    t.flush();
    t.line() << X{5} << "          " << X{4} << "- ErrDsp " << E{13, 5, m.errD} << ", IncDsp " << E{13, 5, m.incD}
             << ", TotDsp " << E{13, 5, m.totD};
    t.line() << X{5} << "          " << X{4} << "- ErrRot " << E{13, 5, m.errR} << ", IncRot " << E{13, 5, m.incR}
             << ", TotRot " << E{13, 5, m.totR};
    const bool alt = CTLPAR.KALTTOL == 1;
    if (alt)
        t.line() << X{5} << "          " << X{4} << "- MaxDsp " << E{13, 5, m.maxD} << ", MaxRot "
                 << E{13, 5, m.maxR};
    if (it <= 1) return false;
    const bool late = it > 40;
    const bool okD = CTLPAR.TOLCAP >= m.errD || INC_SMALL >= m.incD || INC_SMALL >= m.totD ||
                     (late && (INC_LATE >= m.incD || INC_LATE >= m.totD)) || (alt && CTLPAR.TOLDEFA >= m.maxD);
    const bool okR = CTLPAR.TOLCAP >= m.errR || INC_SMALL >= m.incR || INC_SMALL >= m.totR ||
                     (late && (INC_LATE >= m.incR || INC_LATE >= m.totR)) || (alt && CTLPAR.TOLROTA >= m.maxR);
    return okD && okR;
}

// A converged level is kept and the load goes up by the step, the last level landing on the full load.
void CapSolution::advanceLevel() {
    ustart = u;
    bordered.stepConverged();
    tlast = tcur;
    tcur += dtcur;
    clamped = tcur > 1.0 && 1.0 - tlast > NEAR_ONE;
    if (clamped) tcur = 1.0;
    lastStepFailed = false;
    prog.stepDone(tcur);
}

// A failed level is retried from the last converged displacement, half-way between the last converged
// level and the failed one: the step is half of what the failed step tried. A step cut back to the full
// load tried less than dtcur (0.9 to 1.0 with steps of 0.3), and its retry must not fall below a level
// already reached. Below the smallest step the stepping gives up with a warning.
void CapSolution::retryOrGiveUp() {
    dtcur = 0.5 * (clamped ? tcur - tlast : dtcur);
    clamped = false;
    u = ustart;
    bordered.stepFailed();
    if (CTLPAR.FINCMIN > dtcur) {
        giveUpWarning(reason);
        tcur = GIVE_UP_LEVEL;
    } else {
        --prog.step;
        tcur -= dtcur;
    }
    lastStepFailed = true;
    prog.stepDone(tcur);
}

// The stepping is over: the last force evaluation's warnings reach the reports.
void CapSolution::endStepping() {
    prog.finished();
    if (copyWarnings()) RUNSTATE.RUNSOLVST = SOLVER_WARNINGS;
}

// A stiffness-estimation point counts as failed until it is known to have completed; the state it
// came with decides whether the equivalent-stiffness pass runs.
void CapSolution::holdEstimationState() {
    eqsState = EQSEST.EQSSTATE;
    if (estimationPoint()) EQSEST.EQSSTATE = EST_FAILED;
}

// The case status line of a solution that failed: its piles, its stiffness, or no level at all.
const char* CapSolution::failure() const {
    if (reason == SOLVER_NO_CLOSURE || reason == SOLVER_AXIAL_FAILURE) return PILES_FAILED;
    if (reason == SOLVER_SINGULAR) return CAP_SINGULAR;
    if (noStep()) return CAP_NO_STEP;
    return nullptr;
}

// A failed solution reports no results; a flexibility point is recorded as failed (also when some
// levels converged before its piles failed or its stiffness turned singular: the readers of the
// flexibility files take one record per point), and a stiffness-estimation point stays failed.
void CapSolution::failCase(const char* line) {
    caseStatus(line);
    if (flexibilityPoint()) FLEXREC(RUNPOINT.ILOOP, RUNPOINT.IPOINT, true, P, u);
    if (estimationPoint()) EQSEST.EQSSTATE = EST_FAILED;
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

// A point of the cap flexibility keeps its load and displacement for the flexibility tables: the
// displacement of the last converged level and the load of that same level, so that a point solved
// only in part still divides a displacement by the load that caused it.
void CapSolution::recordFlexibilityPoint() {
    Vec6 load{};
    for (std::size_t i = 0; i < 6; ++i) load[i] = tlast * P0[i];
    FLEXREC(RUNPOINT.ILOOP, RUNPOINT.IPOINT, false, load, u);
    // A point that reached only part of its level says so, as an ordinary case does.
    caseStatus(tlast < 1.0 - NEAR_ONE ? "    2 SOLUTION AT " + io::fmtF(8, 2, 100.0 * tlast) + " % OF THE TOTAL LOAD"
                                      : std::string(COMPLETED));
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

// A stiffness-estimation point hands its load and displacement to the estimation and takes back its
// state. A point still under estimation ends here, with the equivalent-stiffness pass unless a test
// missed its target; true when the point ended.
bool CapSolution::estimationPass(Vec6& POUT, Vec6& UOUT) {
    // The load that the converged displacement balances: the last converged level's.
    for (std::size_t i = 0; i < 6; ++i) POUT[i] = tlast * P0[i];
    UOUT = u;
    EQSEST.EQSSTATE = eqsState;
    if (EQSEST.EQSSTATE <= EST_ACCEPTED) return false;
    if (!targetDeflectionMissed()) equivalentStiffnessPass();
    return true;
}

// The controlled displacement against its target, on the runtime file. A test outside the tolerance
// ends the point without results; the last solution and a level point go on to the pass.
bool CapSolution::targetDeflectionMissed() {
    const double computed =
        EQSEST.EQSDOF >= 1 && EQSEST.EQSDOF <= 6 ? u[static_cast<std::size_t>(EQSEST.EQSDOF - 1)] : 0.0;
    if (!targetMissed(computed)) return false;
    caseStatus("    10 ANALYSIS COMPLETED");
    RUNSTATE.RUNPASS = PASS_ITERATING;
    return true;
}

// The piles' secant stiffnesses at the converged displacement, and the cap's equivalent stiffness.
void CapSolution::equivalentStiffnessPass() {
    grpsolEqvMatrix(Kprint);
    RUNSTATE.RUNPASS = PASS_STIFFNESS;
    scratchPass();
    envelopePrintLevel();
    RUNSTATE.RUNPASS = PASS_ITERATING;
    EQSTIFWR();
    caseStatus(COMPLETED);
}

// The piles once more at the cap displacement itself, with the pile result scratch file open.
void CapSolution::scratchPass() {
    io::Unit& s = U(PILESCR_UNIT);
    openListedFile(PILESCR_UNIT, REC_PILESCR, io::Mode::Write);
    FVEC(Fg, u, status);
    s.close();
}

// The cap at the last converged level: its factors, its load and displacement (Table L), the
// controlled displacement of an estimation, and the cap envelopes.
void CapSolution::reportLastLevel() {
    if (CTLIN.KGRPRF > 0) grpsolFactorTable();
    SMOV.SMFACT = tlast;
    for (std::size_t i = 0; i < 6; ++i) P[i] = tlast * P0[i];
    grpsolTableLHeadings();
    if (pointCase) {
        scalePointValues(tlast);
        reportAtPoint();
    }
    grpsolTableL(P, u, it);
    if (EQSEST.EQSDOF >= 1 && EQSEST.EQSDOF <= 6) EQSEST.EQSDCMP = u[static_cast<std::size_t>(EQSEST.EQSDOF - 1)];
    CAPENV(P, u);
}

// The load of a case with values at a point is what the piles carry at the last converged level, with
// the constraint reactions that hold the point: the force copy of that level's last solve, negated to a
// load on the cap. Moved to the point, it and the cap displacement make the point tables; a given force
// stands in the load for its component.
void CapSolution::reportAtPoint() {
    Vec6 F{};
    for (std::size_t i = 0; i < 6; ++i) F[i] = bordered.gConverged[i];
    NEGV6(F, P);
    Vec6 UP{}, PP{};
    int flag = 0;
    XFERPT(u, P, RSP, UP, PP, PSPs, KDOF, flag);
    std::string M1, M2;
    DOFMARK(KDOF, M1, M2);
    if (flag == 1) grpsolPointTables(RSP, PP, UP, M1, M2);
}

// A solution short of the full load reports its share; the completion line waits for the final results
// pass, which may still find a pile that fails.
void CapSolution::warnPartialLoad() {
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
}

// The piles' results and envelopes at the converged displacement. The iterations never evaluated the
// piles there (they stop after adding the last increment): a pile may fail for the first time.
void CapSolution::finalResultsPass() {
    RUNSTATE.RUNPASS = PASS_RESULTS;
    if (CTLIN.CAPOPT > 0 && CAPIN.KCAPSPR == 0) grpsolPassiveTable(capHy, capHz, capPos);
    if (CTLPAR.KPRINT > 0) grpsolTableM();
    clearCurrentResults();
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    if (CTLIN.CAPOPT > 0) PYMODE.CAPHDISP = std::sqrt(u[1] * u[1] + u[2] * u[2]);
    scratchPass();
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

// The reported state against the load: the final results pass has evaluated the piles at the converged
// displacement itself, and their forces on the cap (with the embedded cap's resistance there) must
// balance the load of the level. A gap above EQUILIBRIUM_SHARE of the load is a warning on the results
// and runtime files; the case keeps its outcome. Not checked: a case with values given at a point,
// whose point takes constraint reactions besides, and a final pass with a failed pile, whose forces
// are incomplete and already reported so.
void CapSolution::checkEquilibrium() {
    if (pointCase || outcome == PILES_FAILED) return;
    const double lever = groupLever();
    if (!(lever > 0.0)) return;
    Vec6 resisting = Fg;
    if (CTLIN.CAPOPT > 0) {
        // The final pass has just analysed the piles at u: their cap-level values stand for the passive
        // resistance there. The piles are not analysed again (that would store their results twice), and
        // the spring is evaluated without its node listing.
        int capStatus = ST_OK;
        Vec6 Fc{};
        if (CAPIN.KCAPSPR == 0) {
            capPassiveMeans();
            capPassiveForce(Fc, u);
        } else {
            capSpringForce(Fc, u, capStatus, false);
        }
        if (capStatus != ST_OK) return;
        for (std::size_t i = 0; i < 6; ++i) resisting[i] += Fc[i];
    }
    Vec6 unbalanced{};
    for (std::size_t i = 0; i < 6; ++i) unbalanced[i] = P[i] + resisting[i];
    double reference = loadSize(P, lever);
    const bool ofLoad = reference > 0.0;
    if (!ofLoad) reference = pileHeadForces(lever);
    if (!(reference > 0.0)) return;
    const double share = loadSize(unbalanced, lever) / reference;
    // A share that is not a number (forces that are not) is no equilibrium either.
    if (!(share <= EQUILIBRIUM_SHARE)) grpsolImbalanceWarning(unbalanced, share, ofLoad);
}

// The case status line and the envelope reports; a total-load analysis carries its envelope series on.
void CapSolution::closeCase() {
    caseStatus(outcome);
    envelopePrintLevel();
    try {
        ENVEWR(0, 0);
    } catch (...) {
        RUNSTATE.RUNPASS = PASS_ITERATING;
        throw;
    }
    if (RUNPOINT.PKIND == 0) ++ENVCTL.ENVSERIES;
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

}  // namespace

void GRPSOL(int kind, int&, int& status, Vec6& POUT, Vec6& UOUT, Vec6& P, Vec6& PSP, Vec6& USP, Vec6& RSP,
            Flags6& KDOF) {
    clearWarningCounts();
    RUNSTATE.RUNWARNPRT = 0;
    // A flexible cap is a plate on its piles, with a solution of its own.
    if (CTLIN.FLXCAP > 0) {
        FCAPRUN(P, status);
        RUNSTATE.RUNPASS = PASS_ITERATING;
        return;
    }

    CapSolution cap{kind, status, P, PSP, USP, RSP, KDOF};
    cap.startSolution();
    // Load levels from FINC up to the full load; a level that fails is retried at half the step.
    while (cap.levelsRemain()) {
        cap.startStep();
        const StepEnd end = cap.iterateToEquilibrium();
        if (end == StepEnd::Abandoned) return;
        if (end == StepEnd::Converged)
            cap.advanceLevel();
        else
            cap.retryOrGiveUp();
    }
    cap.endStepping();
    cap.holdEstimationState();

    // A solution without a result, a flexibility point and a stiffness-estimation point end here.
    if (const char* line = cap.failure()) {
        cap.failCase(line);
        return;
    }
    if (cap.flexibilityPoint()) {
        cap.recordFlexibilityPoint();
        return;
    }
    if (cap.estimationPoint() && cap.estimationPass(POUT, UOUT)) return;

    // The results at the last converged level.
    cap.reportLastLevel();
    cap.warnPartialLoad();
    cap.finalResultsPass();
    cap.checkEquilibrium();
    cap.closeCase();
}

}  // namespace kaldo
