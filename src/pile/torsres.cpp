// Torsional pile-head response: the torque of a pile head for its twist about the pile axis, read from
// the pile's torque-rotation curve. Twists beyond the ends of the curve are treated as axial movements
// beyond the load-settlement curve: torque 0 (or the end's torque with KAXLIM = 1) and a warning record
// on the axial warning scratch file.
//
// Runs inside the parallel pile loops: it writes only its arguments, the atomic torsion counter and
// whole warning records.
#include <algorithm>

#include "model/curves.h"
#include "model/input.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "pile/pile.h"

namespace kaldo {

namespace {

// The pile's torque-rotation curve: user curve c > 0 or generated curve -c; a number outside the
// tables gives a curve without points.
HeadCurve torsionCurve(int p) {
    HeadCurve c;
    const int k = PILE.TRCRV(p);
    const TqCrv& t = TQCRV;
    if (k > 0 && k <= MAXUSRCRV) {
        c.n = std::clamp(t.TQNPT(k), 0, MAXCRVPT);
        for (int i = 1; i <= c.n; ++i) {
            c.x[static_cast<std::size_t>(i - 1)] = t.TQR(k, i);
            c.f[static_cast<std::size_t>(i - 1)] = t.TQT(k, i);
        }
    } else if (k < 0 && -k <= MAXTQGEN) {
        const int g = -k;
        c.n = std::clamp(t.TQGNPT(g), 0, MAXCRVPT);
        for (int i = 1; i <= c.n; ++i) {
            c.x[static_cast<std::size_t>(i - 1)] = t.TQGR(g, i);
            c.f[static_cast<std::size_t>(i - 1)] = t.TQGT(g, i);
        }
    }
    return c;
}

}  // namespace

void TORSRES(int p, double& torque, const Vec6& u) {
    const double theta = u[3];
    const bool keepEnd = CTLIN.KAXLIM == 1;
    const CurveRead r = readHeadCurve(torsionCurve(p), theta, keepEnd);
    torque = r.force;
    if (r.reach == CurveReach::Inside || !headCurveWarnings()) return;
    const char* text = keepEnd ? "MAXIMUM MOMENT REACHED IN TORSION " : "APPARENT FAILURE IN TORSION     ";
    writeHeadWarning(text, p, "ROTATION =", theta, r.end, "T. MOMENT=", torque);
    ++RUNSTATE.RUNWARNTORS;
}

}  // namespace kaldo
