// The tip of a pile: its capacity by criterion and pile type, its load-movement curve, and the axial
// rigidity along the pile that the t-z march reads.
#include <cmath>

#include "model/input.h"
#include "model/piles.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/status.h"
#include "services/warning.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace axl {

namespace {

bool cohesionlessTip(int code) {
    return code == 4 || code == 7 || code == 8 || code == 9 || code == 11 || code == 12 || code > 14;
}

// Bearing capacity of a sand tip (codes 4, 7, 8). Driven pile: zt A gamma Nq with the average unit weight
// above the tip, unlimited. Drilled shaft, by friction angle: a nominal 0.1 below 30 degrees, then
// 222.2 or 555.56 psi (1530 or 3830 kPa) over the area.
double bearing(int ptype, double xTip, double zt, double Atip, double phit, int units, int& status) {
    if (ptype == 1) {
        const double nq = bearingNq(sp(57.296f) * phit);
        const double gamma = PRFGAMAV(xTip, status);
        if (status != ST_OK) return 0.0;
        return zt * Atip * gamma * nq;
    }
    if (phit < sp(0.5236f)) return sp(0.1f);
    const bool loose = phit < sp(0.628f);
    if (metric(units)) return (loose ? 1530.0 : 3830.0) * Atip;
    return (loose ? sp(222.2f) : sp(555.56f)) * Atip;
}

void warnTip(const char* text) { writeWarning({text}); }

// Movements of a normalised tip curve (w / D) and its loads (q / Q).
void scaledTip(QwTip& tip, const float (&wr)[QWNPTS], const double (&qr)[QWNPTS], double D, double Q) {
    for (int p = 1; p <= QWNPTS; ++p) {
        tip.QWW(p) = sp(wr[p - 1]) * D;
        tip.QWQ(p) = qr[p - 1] * Q;
    }
}

// Drilled shaft: w / D, and q / Q in sand and in clay.
constexpr float DRILLED_W[QWNPTS] = {0.0f, 0.005f, 0.01f, 0.015f, 0.025f, 0.03f, 0.04f, 0.05f, 0.07f, 0.1f};
constexpr double DRILLED_SAND_Q[QWNPTS] = {0.0,       sp(0.175f), sp(0.345f), sp(0.485f), sp(0.65f),
                                          sp(0.73f), sp(0.88f),  sp(1.015f), sp(1.195f), sp(1.46f)};
constexpr double DRILLED_CLAY_Q[QWNPTS] = {0.0,       sp(0.395f), sp(0.56f), sp(0.70f), sp(0.865f),
                                          sp(0.90f), sp(0.95f),  sp(0.97f), sp(0.98f), sp(0.99f)};
// Driven pile in sand: tip movements, inches.
constexpr float SAND_WIN[QWNPTS] = {0.0f, 0.0001f, 0.005f, 0.01f, 0.05f, 0.1f, 0.2f, 0.4f, 0.8f, 5.0f};
// Driven pile in a layer of user curves: w / D and q / Q.
constexpr float USER_W[QWNPTS] = {0.0f, 0.002f, 0.013f, 0.042f, 0.073f, 0.1f, 0.12f, 0.15f, 0.18f, 0.2f};
constexpr double USER_Q[QWNPTS] = {0.0, 0.25, 0.5, 0.75, 0.9, 1.0, 1.0, 1.0, 1.0, 1.0};

}  // namespace

void tipCurveAt(int ptype, double D, double xTip, double zt, int code, double Dtip, double Atip, double phiDeg,
                TipRule rule, QwTip& tip, int& status) {
    const int units = CTLIN.UNITS;
    double e50 = PRFE50AT(xTip);
    const double c = PRFCAT(xTip, status);
    if (status != ST_OK) return;
    if (e50 <= 0.0) DEFE50AX(c, e50, code, units);
    const double phit = PRFPHIAT(xTip, status);
    if (status != ST_OK) return;
    // Cohesion without friction at the tip: a stiff clay tip whatever the layer says.
    if (c > sp(0.1f) && phit < sp(0.0001f)) code = 3;
    const double qUser = PRFQMAX(xTip, status);
    if (status != ST_OK) return;

    // Tip capacity, a force.
    double Q = qUser * Atip;
    const double cohesion = 9.0 * c * Atip;
    if (code < 4 || code == 10 || code == 13 || code == 14) {
        if (Q < TINY) Q = cohesion;
    } else if (code == 4 || code == 8 || code == 7) {
        if (Q < TINY) {
            Q = bearing(ptype, xTip, zt, Atip, phit, units, status);
            if (status != ST_OK) return;
            if (code == 7 && rule == TipRule::Echo) Q += cohesion;
        }
    } else if (code == 5 || code == 6 || code == 9 || code == 11) {
        if (Q < TINY) Q = cohesion;
    } else if (rule == TipRule::Group && Q < TINY) {
        Q = bearing(ptype, xTip, zt, Atip, phit, units, status);
        if (status != ST_OK) return;
    }
    tip.QTIP = Q;

    // Tip curve.
    if (ptype == 2) {
        scaledTip(tip, DRILLED_W, cohesionlessTip(code) ? DRILLED_SAND_Q : DRILLED_CLAY_Q, D, Q);
        return;
    }
    if (cohesionlessTip(code)) {
        // Driven pile in sand: q = Q (w / wc)^e with wc = 5 % of the diameter; the loads go on rising
        // past Q.
        const double wc = sp(0.05f) * D;
        const double e = phiDeg <= 31.0 ? 0.5 : phiDeg <= 38.0 ? sp(0.333f) : 0.25;
        tip.QWW(1) = 0.0;
        tip.QWQ(1) = 0.0;
        for (int p = 2; p <= QWNPTS; ++p) {
            const double w = metric(units) ? sp(SAND_WIN[p - 1]) * sp(0.0254f) : sp(SAND_WIN[p - 1]);
            tip.QWW(p) = w;
            tip.QWQ(p) = Q * std::pow(w / wc, e);
        }
        return;
    }
    if (code == 5) {
        scaledTip(tip, USER_W, USER_Q, D, Q);
        return;
    }
    // Driven pile in clay: q = a sqrt(w), reaching Q at wf = 8 e50 Dtip, then constant to 10 wf.
    if (std::fabs(e50) < sp(1e-14f)) {
        warnTip("THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
        status = ST_LSCURVE_NO_E50;
        return;
    }
    if (std::fabs(Q) < sp(1e-14f)) {
        warnTip("THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
        status = ST_LSCURVE_NO_COHESION;
        return;
    }
    const double a = 0.5 * Q / std::sqrt(2.0 * e50 * Dtip);
    const double wf = (Q / a) * (Q / a);
    tip.QWW(1) = 0.0;
    tip.QWQ(1) = 0.0;
    for (int j = 2; j <= 8; ++j) {
        tip.QWW(j) = (j - 1) * wf / 8.0;
        tip.QWQ(j) = a * std::sqrt(tip.QWW(j));
    }
    tip.QWW(9) = wf;
    tip.QWW(10) = 10.0 * wf;
    tip.QWQ(9) = Q;
    tip.QWQ(10) = Q;
}

double rigidityAt(int n, const Arr<double, 0, RIGSLOTS>& dep, const Arr<double, 0, RIGSLOTS>& val, double d) {
    int m = 1;
    if (n >= 2 && d > dep(1)) {
        m = 2;
        while (m < n && dep(m) < d) ++m;
        if (m >= n) m = n - 1;
    }
    const double span = dep(m) - dep(m - 1);
    if (span == 0.0) return val(m);
    return val(m - 1) + (val(m) - val(m - 1)) * (d - dep(m - 1)) / span;
}

}  // namespace axl

using namespace axl;

void buildTipCurve(int M, int ip, bool uplift, TipRule rule, const TzSet& set, QwTip& tip, int& status) {
    const double L = PILESET.PLEN(M);
    const double Lv = CTLIN.KBATDEP == 1 ? L * std::cos(PILE.BATTER(ip)) : L;
    const double xTip = PILE.HEADXW(ip) + Lv;
    const double zt = Lv - PILE.GROUND(ip);
    // The layer that holds the tip: the first whose bottom lies below it, else the last.
    int layer = 1;
    while (layer < SOILLAY.NLAYER && !(xTip < SOILLAY.XBOT(layer))) ++layer;
    const int last = PILESET.NSECT(M);
    const double D = SECTTAB.SECTDIAM(M, 1, SectTab::TOP);
    const double Dtip = SECTTAB.SECTDIAM(M, last, SectTab::TOP);
    const double Atip = uplift ? sp(0.0001f) : SECTTAB.SECTAREA(M, last, SectTab::BOT);
    tipCurveAt(PILESET.PTYPE(M), D, xTip, zt, SOILLAY.LCRIT(layer), Dtip, Atip, set.TZPHI(set.NPTS), rule, tip,
               status);
}

double tipLoad(const QwTip& tip, double w) {
    // No movement (or the tip moving away from its soil) mobilises nothing; an unknown movement gives
    // an unknown load rather than a value read off a segment.
    if (std::isnan(w)) return w;
    if (!(w > tip.QWW(1))) return tip.QWQ(1);
    int j = 2;
    while (j < QWNPTS && tip.QWW(j) < w) ++j;
    const double w0 = tip.QWW(j - 1);
    if (tip.QWW(j) == w0) return tip.QWQ(j);
    return tip.QWQ(j - 1) + (tip.QWQ(j) - tip.QWQ(j - 1)) * (w - w0) / (tip.QWW(j) - w0);
}

void buildAxialRigidity(int M, AxAeTab& tab) {
    const int n = PILESET.NSECT(M);
    tab.NAE = 2 * n;
    tab.AEDEP(0) = 0.0;
    for (int i = 1; i <= n; ++i) {
        tab.AEDEP(2 * i - 1) = SECTTAB.SECTBOT(M, i);
        if (i < n) tab.AEDEP(2 * i) = SECTTAB.SECTBOT(M, i);
        // The section's top modulus holds over the whole section.
        const double E = SECTTAB.SECTE(M, i, SectTab::TOP);
        tab.AEVAL(2 * i - 2) = SECTTAB.SECTAREA(M, i, SectTab::TOP) * E;
        tab.AEVAL(2 * i - 1) = SECTTAB.SECTAREA(M, i, SectTab::BOT) * E;
    }
}

double axialRigidity(const AxAeTab& tab, double d) { return rigidityAt(tab.NAE, tab.AEDEP, tab.AEVAL, d); }

}  // namespace kaldo
