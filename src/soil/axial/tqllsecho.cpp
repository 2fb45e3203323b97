// The generated torque-rotation curve of a pile property set: the pile is twisted instead of pushed.
// The wall at radius R moves R theta when a section turns by theta, and the side transfer t at that
// movement acts at radius R. For nine assumed tip rotations the pile is marched up from the tip, which
// takes no torque, adding the torque taken by side shear and the twist of each segment under its torque.
#include <cmath>
#include <string>

#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/piles.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/status.h"
#include "services/unitno.h"
#include "services/warning.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

using namespace axl;

namespace {

std::string num(int v) { return std::to_string(v); }

// A torsional rigidity at or below this is no rigidity at all.
constexpr double GJ_ZERO = 1e-6;

void listTorsionCurves(io::Unit& u, const TzSet& s, int curve, double R) {
    u.blankLines(2);
    u.line() << io::X{5} << "T-q CURVES, PILE PROPERTY:" << io::I(3, curve);
    u.blankLines(1);
    u.line() << io::X{10} << "CURVE" << io::X{3} << "N. POINTS" << io::X{5} << "DEPTH" << io::X{11} << "T Value"
             << io::X{9} << "q Value";
    u.line() << io::X{10 + 5 + 3 + 9 + 5} << "(" << io::A{3, LABELS.LBLLEN} << ")" << io::X{10} << "("
             << io::A{3, LABELS.LBLFORCE} << "/" << io::A{3, LABELS.LBLLEN} << ")" << io::X{9} << "(RAD)";
    for (int a = 1; a <= s.NPTS; ++a) {
        u.line() << io::X{8} << io::I(5, a) << io::I(11, s.TZNP(a)) << io::G{16, 4, s.TZX(a)};
        for (int p = 1; p <= s.TZNP(a); ++p)
            u.line() << io::X{40} << io::G{17, 4, s.TZT(a, p) * R} << io::G{16, 4, s.TZZ(a, p) / R};
    }
}

void buildTorsionalRigidity(int M, TqGjTab& tab) {
    const int n = PILESET.NSECT(M);
    tab.NGJ = 2 * n;
    tab.GJDEP(0) = 0.0;
    for (int i = 1; i <= n; ++i) {
        tab.GJDEP(2 * i - 1) = SECTTAB.SECTBOT(M, i);
        if (i < n) tab.GJDEP(2 * i) = SECTTAB.SECTBOT(M, i);
        tab.GJVAL(2 * i - 2) = SECTTAB.SECTGJ(M, i, SectTab::TOP);
        tab.GJVAL(2 * i - 1) = SECTTAB.SECTGJ(M, i, SectTab::BOT);
    }
}

// Reports every section of set M without torsional rigidity on the results and runtime files; true when
// there is one. The march would divide by it, so the caller stops.
bool zeroRigidity(int M) {
    bool any = false;
    for (int i = 1; i <= PILESET.NSECT(M); ++i) {
        if (SECTTAB.SECTGJ(M, i, SectTab::TOP) > GJ_ZERO) continue;
        any = true;
        for (int unit : {RESULTS_UNIT, RUNTIME_UNIT}) {
            io::Unit& u = io::unit(unit);
            u.blankLines(2);
            u.line() << "       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO";
            u.blankLines(2);
        }
    }
    return any;
}

// Tip check of a driven pile in a cohesive tip layer (codes below 4, 6, 10, 13, 14): the curve needs E50
// and a tip capacity there. Sets ST_TQCURVE_NO_E50 or ST_TQCURVE_NO_COHESION with its warning, or a
// lookup's status.
void checkTip(int M, int ip, bool uplift, int& status) {
    const double L = PILESET.PLEN(M);
    const double Lv = CTLIN.KBATDEP == 1 ? L * std::cos(PILE.BATTER(ip)) : L;
    const double xTip = PILE.HEADXW(ip) + Lv;
    int layer = 1;
    while (layer < SOILLAY.NLAYER && !(xTip < SOILLAY.XBOT(layer))) ++layer;
    const int code = SOILLAY.LCRIT(layer);
    double e50 = PRFE50AT(xTip);
    const double c = PRFCAT(xTip, status);
    if (status != ST_OK) return;
    if (e50 <= 0.0) DEFE50AX(c, e50, code, CTLIN.UNITS);
    const int last = PILESET.NSECT(M);
    const double Atip = uplift ? sp(0.0001f) : SECTTAB.SECTAREA(M, last, SectTab::BOT);
    double Q = 0.0;
    if (code < 4 || code == 10 || code == 13 || code == 14) {
        Q = 9.0 * c * Atip;
    } else {
        PRFPHIAT(xTip, status);
        if (status != ST_OK) return;
        PRFGAMAV(xTip, status);
        if (status != ST_OK) return;
        if (code == 6 || code == 9) {
            Q = PRFQMAX(xTip, status) * Atip;
            if (status != ST_OK) return;
            if (Q < TINY) Q = 9.0 * c * Atip;
        }
    }
    const bool cohesive = code < 4 || code == 6 || code == 10 || code == 13 || code == 14;
    if (PILESET.PTYPE(M) != 1 || !cohesive) return;
    if (std::fabs(e50) < sp(1e-14f)) {
        writeWarning({"THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE"});
        status = ST_TQCURVE_NO_E50;
    } else if (std::fabs(Q) < sp(1e-14f)) {
        writeWarning({"THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE"});
        status = ST_TQCURVE_NO_COHESION;
    }
}

}  // namespace

void TQLLSECHO(int M, int branch, int curve, int ip, int& status, int& n, BranchPoints& torques,
               BranchPoints& rotations) {
    const bool uplift = branch == 1;
    io::Unit& runtime = io::unit(RUNTIME_UNIT);
    runtime.flush();
    TzSet set{};
    buildSideCurves(M, ip, false, set, status);
    if (status != ST_OK) return;
    const double D = SECTTAB.SECTDIAM(M, 1, SectTab::TOP);
    const double R = D / 2.0;
    io::Unit& listing = io::unit(AXTORS_UNIT);
    if (uplift) listTorsionCurves(listing, set, curve, R);

    // The march reads the curves by depth below the pile head.
    for (int a = 1; a <= set.NPTS; ++a) set.TZX(a) -= PILE.HEADXW(ip);

    TqGjTab gj{};
    buildTorsionalRigidity(M, gj);
    const bool noRigidity = zeroRigidity(M);
    runtime.flush();
    if (noRigidity) {
        reportFault(status, ST_ZEROGJ,
                    "PILE PROPERTY SET " + num(M) + " HAS A SECTION WITHOUT TORSIONAL RIGIDITY (GJ): NO TORQUE-"
                    "ROTATION CURVE " + num(curve));
        return;
    }
    checkTip(M, ip, uplift, status);
    if (status != ST_OK) return;

    const int ninc = PILESET.NINC(M);
    const double L = PILESET.PLEN(M);
    const double h = L / ninc;
    const BranchPoints wt = tipMovements(2.0, CTLIN.UNITS);
    BranchPoints headT{}, headRot{}, tipRot{};
    TipUpValues T{}, theta{};
    for (int k = 1; k <= NLSPT; ++k) {
        theta(1) = wt(k) / R;
        T(1) = 0.0;
        for (int j = 2; j <= ninc + 1; ++j) {
            const double dm = L - (j - 1.5) * h;
            const double rigidity = rigidityAt(gj.NGJ, gj.GJDEP, gj.GJVAL, dm);
            if (!(rigidity > GJ_ZERO)) {
                reportFault(status, ST_ZEROGJ,
                            "PILE PROPERTY SET " + num(M) + ": TORSIONAL RIGIDITY (GJ) OF " +
                                std::to_string(rigidity) + " AT SEGMENT " + num(j - 1) + " FROM THE TIP");
                return;
            }
            double thetaMid = theta(j - 1);
            bool settled = false;
            for (int it = 1; it <= MAXSEGITER && !settled; ++it) {
                const double dT = sideTransfer(set, dm, R * thetaMid) * PI_AX * D * R * h;
                T(j) = T(j - 1) + dT;
                theta(j) = theta(j - 1) + (T(j - 1) + 0.5 * dT) * h / rigidity;
                const double next = theta(j - 1) + (T(j - 1) + 0.5 * (T(j - 1) + T(j))) * 0.25 * h / rigidity;
                settled = std::fabs(next - thetaMid) <= MIDTOL;
                thetaMid = next;
            }
            if (!settled) {
                reportFault(status, ST_NOCONVERGE,
                            "GENERATED TORQUE-ROTATION CURVE " + num(curve) + ", PILE PROPERTY " + num(M) +
                                ", BRANCH " + num(branch) + ": THE ROTATION OF SEGMENT " + num(j - 1) +
                                " (FROM THE TIP) DID NOT SETTLE IN " + num(MAXSEGITER) + " ITERATIONS");
                return;
            }
        }
        headT(k) = T(ninc + 1);
        headRot(k) = theta(ninc + 1);
        tipRot(k) = theta(1);
    }

    const double sign = uplift ? -1.0 : 1.0;
    const std::string& force = LABELS.LBLFORCE;
    const std::string& length = LABELS.LBLLEN;
    listing.blankLines(3);
    listing.line() << io::X{8} << "TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT" << io::X{5} << "TIP  MOM.";
    listing.line() << io::X{9} << io::A{3, force} << "-" << io::A{3, length} << io::X{11} << "RAD" << io::X{14}
                   << "RAD" << io::X{9} << io::A{3, length} << "-" << io::A{3, force};
    for (int k = 1; k <= NLSPT; ++k)
        listing.line() << io::G{17, 4, sign * headT(k)} << io::G{16, 4, sign * headRot(k)}
                       << io::G{16, 4, sign * tipRot(k)} << io::G{16, 4, sign * 0.0};
    n = NLSPT;
    torques = headT;
    rotations = headRot;
}

}  // namespace kaldo
