// Axial pile-head response: the axial force of a pile head for its axial movement, from the pile's
// load-settlement curve, or by the t-z method along the pile when the load case asks for the variation
// of axial force with depth. Movements beyond the ends of the curve are not errors: the force is set to
// zero (or held at the end's force) and a warning record goes to the axial warning scratch file, which
// the group solution copies into the reports after the solve.
//
// Runs inside the parallel pile loops: it writes only the caller's arguments, the atomic warning
// counters and whole warning records.
#include <algorithm>

#include "io/units.h"
#include "model/ctlpar.h"
#include "model/curves.h"
#include "model/input.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "model/tzset.h"
#include "pile/pile.h"
#include "services/status.h"
#include "services/unitno.h"
#include "services/warning.h"
#include "soil/axial/axial.h"

namespace kaldo {

namespace {

// The pile's load-settlement curve: user curve c > 0 or generated curve -c. A number outside the
// tables gives a curve without points.
HeadCurve axialCurve(int p) {
    HeadCurve c;
    const int k = PILE.LSCRV(p);
    const TzCrv& t = TZCRV;
    if (k > 0 && k <= MAXUSRCRV) {
        c.n = std::clamp(t.TZNPT(k), 0, MAXCRVPT);
        for (int i = 1; i <= c.n; ++i) {
            c.x[static_cast<std::size_t>(i - 1)] = t.TZW(k, i);
            c.f[static_cast<std::size_t>(i - 1)] = t.TZF(k, i);
        }
    } else if (k < 0 && -k <= MAXTZGEN) {
        const int g = -k;
        c.n = std::clamp(t.TZGNPT(g), 0, MAXCRVPT);
        for (int i = 1; i <= c.n; ++i) {
            c.x[static_cast<std::size_t>(i - 1)] = t.TZGW(g, i);
            c.f[static_cast<std::size_t>(i - 1)] = t.TZGF(g, i);
        }
    }
    return c;
}

}  // namespace

CurveRead readHeadCurve(const HeadCurve& c, double v, bool keepEnd) {
    CurveRead r;
    if (c.n < 1) return r;
    auto x = [&](int k) { return c.x[static_cast<std::size_t>(k - 1)]; };
    auto f = [&](int k) { return c.f[static_cast<std::size_t>(k - 1)]; };
    int k = 2;
    while (k <= c.n && x(k) < v) ++k;
    if (k > c.n) {
        // Past the last point (a one-point curve has no segment and always lands here).
        r.reach = CurveReach::BeyondLast;
        r.end = x(c.n);
        r.force = keepEnd ? f(c.n) : 0.0;
        return r;
    }
    if (v < x(1)) {
        r.reach = CurveReach::BeforeFirst;
        r.end = x(1);
        r.force = keepEnd ? f(1) : 0.0;
        return r;
    }
    const double dx = x(k) - x(k - 1);
    if (v == x(k) || dx == 0.0)
        r.force = f(k);
    else
        r.force = f(k - 1) + (f(k) - f(k - 1)) * (v - x(k - 1)) / dx;
    return r;
}

void writeHeadWarning(const std::string& text, int pile, const std::string& moveLabel, double move, double end,
                      const std::string& forceLabel, double force) {
    const std::string head = "     ** WARNING **  " + text + "  PILE GROUP" + io::fmtI(5, pile);
    const std::string values = std::string(20, ' ') + moveLabel + io::fmtE(12, 4, move) + " > " +
                               io::fmtE(12, 4, end) + std::string(5, ' ') + forceLabel + io::fmtE(12, 4, force);
    writeRecordTo({AXWARN_UNIT}, {"", head, values});
}

namespace {

// The warning texts of one analysis type: apparent failure and end force kept, in bearing and pull-out.
struct AxialTexts {
    const char* failBearing;
    const char* failPull;
    const char* maxBearing;
    const char* maxPull;
};
constexpr AxialTexts SPACE_TEXTS{"APPARENT FAILURE IN BEARING    ,", "APPARENT FAILURE IN PULL OUT    ",
                                 "REACHED MAXIMUM LOAD IN BEARING  ", "REACHED MAXIMUM LOAD IN PULLOUT  "};
constexpr AxialTexts PLANE_TEXTS{"APPARENT FAILURE IN BEARING     ", "APPARENT FAILURE IN PULL OUT    ",
                                 "MAXIMUM LOAD REACHED IN BEARING  ", "MAXIMUM LOAD REACHED IN PULLOUT  "};

void axialHead(int p, double& force, double w, SlotArray& axdisp, SlotArray& axforce, int& status,
               const AxialTexts& texts) {
    force = 0.0;
    axdisp.fill(0.0);
    axforce.fill(0.0);
    if (w == 0.0) return;

    const bool keepEnd = CTLIN.KAXLIM == 1;
    const HeadCurve curve = axialCurve(p);
    const CurveRead r = readHeadCurve(curve, w, keepEnd);
    force = r.force;
    if (r.reach != CurveReach::Inside) {
        const bool bearing = r.reach == CurveReach::BeyondLast;
        if (headCurveWarnings()) {
            const char* text = bearing ? (keepEnd ? texts.maxBearing : texts.failBearing)
                                       : (keepEnd ? texts.maxPull : texts.failPull);
            writeHeadWarning(text, p, "AX. DISP.=", w, r.end, "AX. FORCE=", force);
            ++(bearing ? RUNSTATE.RUNWARNBEAR : RUNSTATE.RUNWARNPULL);
        }
        // Without the keep-maximum option a pile beyond its curve carries nothing, along the pile too.
        if (!keepEnd) return;
    }

    // The axial force along the pile by the t-z method, for piles on generated curves only.
    if (CTLPAR.KAXVAR != 1 || PILE.LSCRV(p) > 0) return;
    const int M = PILE.PSETNO(p);
    TzSet set{};
    AxAeTab ae{};
    QwTip tip{};
    // The t-z routines get their own copy of the head movement; u stays the displacement that the
    // lateral solver and the result stores use.
    const double E = w;
    if (status == ST_OK) AXLTZPILE(p, M, E, status, set, ae);
    if (status == ST_OK) AXLQWTIP(p, M, E, status, set, tip);
    if (status == ST_OK) AXLSOLVE(p, M, E, status, curve.n, axdisp, axforce, set, ae, tip);
    // The solution's head force is the force at the head slot (which the solver fills with the head
    // node's value); it is returned before the axial load factor, which the caller applies.
    force = axforce(4);
    const double factor = PILE.AXFACT(p);
    for (int s = 1; s <= NODESLOTS; ++s) axforce(s) *= factor;
}

}  // namespace

namespace {
thread_local int quietHeadCurves = 0;
}  // namespace

bool headCurveWarnings() { return RUNSTATE.RUNWARNPRT == 1 && quietHeadCurves == 0; }
QuietHeadCurves::QuietHeadCurves() { ++quietHeadCurves; }
QuietHeadCurves::~QuietHeadCurves() { --quietHeadCurves; }

void AXIALRES(int p, double& force, const Vec6& u, SlotArray& axdisp, SlotArray& axforce, int& status) {
    axialHead(p, force, u[0], axdisp, axforce, status, SPACE_TEXTS);
}

void AXIAL2D(int p, double& force, const Vec3& u, SlotArray& axdisp, SlotArray& axforce, int& status) {
    axialHead(p, force, u[0], axdisp, axforce, status, PLANE_TEXTS);
}

}  // namespace kaldo
