// Side load-transfer curves along a pile: where they sit, their maximum unit side transfer by pile type
// and soil criterion, their shape, and how they are read at a depth and a movement.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "model/input.h"
#include "model/piles.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/status.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace axl {

namespace {

bool isOneOf(int code, std::initializer_list<int> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Criteria whose side transfer comes from the cohesion alone (codes below 1 act as soft clay).
bool cohesiveSide(int code) { return code < 4 || isOneOf(code, {10, 11, 13, 14}); }

// Adhesion factor of a driven pile in clay from psi = c / (gamma z): 0.5 / psi^0.25 for psi above 1,
// else 0.5 / sqrt(psi); a small factor in weak clay (below 500 psf, 24 kPa) is taken as 1. Without
// cohesion there is no adhesion to speak of: c = 0 gives psi at its floor whatever the overburden, so
// that zero strength under zero overburden yields zero friction rather than 0 / 0.
double adhesion(double c, double z, double gamma, int units) {
    const double ratio = c == 0.0 ? 0.0 : c / z / gamma;
    const double psi = std::max(ratio, TINY);
    double alpha = psi > 1.0 ? 0.5 / std::pow(psi, 0.25) : 0.5 / std::sqrt(psi);
    if (alpha < 0.5 && c < (metric(units) ? 24.0 : sp(3.47f))) alpha = 1.0;
    return alpha;
}

// Skin friction of a driven pile in sand: 0.8 gamma z tan(phi - 5 degrees).
double drivenSand(double z, double gamma, double phi) { return sp(0.8f) * gamma * z * std::tan(phi - sp(0.087f)); }

}  // namespace

bool knownPileType(int M, int& status) {
    const int ptype = PILESET.PTYPE(M);
    if (ptype == 1 || ptype == 2) return true;
    reportFault(status, ST_BADVALUE,
                "PILE TYPE " + std::to_string(ptype) + " OF PILE PROPERTY SET " + std::to_string(M) +
                    " IS NEITHER 1 (DRIVEN PILE) NOR 2 (DRILLED SHAFT): NO LOAD-TRANSFER CURVES");
    return false;
}

double feet(double length, int units) {
    return metric(units) ? length / sp(0.3048f) : length / 12.0;
}

double drivenTmax(int code, double userF, double z, double gamma, double phi, double c, int units) {
    const double alpha = adhesion(c, z, gamma, units);
    if (cohesiveSide(code)) return alpha * c;
    if (code == 6 || code == 9) return sp(0.1f) * c;
    if (code == 4 || code == 8) return drivenSand(z, gamma, phi);
    if (code == 7) return alpha * c + drivenSand(z, gamma, phi);
    return userF;  // 5, 12 and codes above 14: the user's value only
}

double drilledTmax(int code, double userF, double z, double zft, double gamma, double c) {
    const double zf = std::max(zft, sp(1e-7f));
    const double beta = std::max(0.25, std::min(sp(1.2f), 1.5 - sp(0.135f) * std::sqrt(zf)));
    if (cohesiveSide(code)) return sp(0.55f) * c;
    if (code == 6 || code == 9) return sp(0.1f) * c;
    if (code == 4 || code == 8) return gamma * z * beta;
    if (code == 7) return sp(0.55f) * c + gamma * z * beta;
    return userF;
}

double bearingNq(double phi) {
    if (phi <= 20.0) return 8.0;
    if (phi <= 25.0) return 8.0 + 4.0 * (phi - 20.0) / 5.0;
    if (phi <= 30.0) return 12.0 + 8.0 * (phi - 25.0) / 5.0;
    if (phi <= 35.0) return 20.0 + 20.0 * (phi - 30.0) / 5.0;
    if (phi <= 40.0) return 40.0 + 10.0 * (phi - 35.0) / 5.0;
    return 50.0;
}

namespace {

// Maximum unit side transfer at x for the pile type: the user's value when given, else the rule of
// the type and criterion. Every lookup is made whatever is given, so that a point beyond a profile
// stops the build in every case.
double sideTmax(int code, int ptype, double x, double z, double zft, int units, int& status) {
    const double f = PRFFMAX(x, status);
    if (status != ST_OK) return 0.0;
    const double gamma = PRFGAMAV(x, status);
    if (status != ST_OK) return 0.0;
    double tmax = 0.0;
    if (ptype == 1) {
        const double phi = PRFPHIAT(x, status);
        if (status != ST_OK) return 0.0;
        const double c = PRFCAT(x, status);
        if (status != ST_OK) return 0.0;
        // At the ground surface the depth is taken as one length unit.
        tmax = drivenTmax(code, f, z < TINY ? 1.0 : z, gamma, phi, c, units);
    } else {
        const double c = PRFCAT(x, status);
        if (status != ST_OK) return 0.0;
        PRFPHIAT(x, status);
        if (status != ST_OK) return 0.0;
        tmax = drilledTmax(code, f, z, zft, gamma, c);
    }
    return f >= TINY ? f : tmax;
}

// The shape of curve a by pile type and criterion. A code-5 layer under a drilled shaft takes the sand
// shape above 1 degree of friction and the clay shape otherwise; codes above 14 take the shapes of the
// elastic subgrade, whose user-value rule they share.
void drawShape(TzSet& s, int a, int ptype, double D) {
    const int code = s.TZCODE(a);
    const bool sand = isOneOf(code, {4, 7, 8});
    if (ptype == 1) {
        if (sand)
            TZSDRSAND(a, s.TZT, s.TZZ, s.TZTMAX, s.TZPHI);
        else if (code == 5 || code == 12 || code > 14)
            TZSPEAK01(a, D, s.TZT, s.TZZ, s.TZTMAX);
        else
            TZSDRCLAY(a, s.TZT, s.TZZ, s.TZTMAX);
        return;
    }
    if (sand || (code == 5 && s.TZPHI(a) > 1.0))
        TZSDSSAND(a, D, s.TZT, s.TZZ, s.TZTMAX);
    else
        TZSDSCLAY(a, D, s.TZT, s.TZZ, s.TZTMAX);
}

}  // namespace

void fillSideCurve(TzSet& s, int a, int ptype, double D, double z, double zft, bool atGround, int& status) {
    const int units = CTLIN.UNITS;
    const double x = s.TZX(a);
    double tmax = sideTmax(s.TZCODE(a), ptype, x, z, zft, units, status);
    if (status != ST_OK) return;
    // The ground-surface curves carry practically nothing.
    if (atGround) tmax = sp(1e-6f);
    s.TZTMAX(a) = tmax;
    const double phi = PRFPHILIN(x, status);
    if (status != ST_OK) return;
    s.TZPHI(a) = phi * 180.0 / PI_AX;
    s.TZNP(a) = TZNPTS;
    drawShape(s, a, ptype, D);
}

}  // namespace axl

using namespace axl;

void buildSideCurves(int M, int ip, bool groundCurves, TzSet& s, int& status) {
    if (!knownPileType(M, status)) return;
    const int ptype = PILESET.PTYPE(M);
    // Curves sit just inside each layer, d0 from its top and bottom, and midway between.
    const double d0 = metric(CTLIN.UNITS) ? sp(0.00254f) : sp(0.1f);
    const double ground = PILE.HEADXW(ip) + PILE.GROUND(ip);
    int a = 0;
    auto place = [&](double x, int code) {
        ++a;
        s.TZX(a) = x;
        s.TZCODE(a) = code;
    };
    if (groundCurves) {
        place(ground, SOILLAY.LCRIT(1));
        place(ground, SOILLAY.LCRIT(1));
    }
    for (int k = 1; k <= SOILLAY.NLAYER; ++k) {
        const double top = (k == 1 ? ground : SOILLAY.XTOP(k)) + d0;
        const int code = SOILLAY.LCRIT(k);
        place(top, code);
        place((top + SOILLAY.XBOT(k)) / 2.0, code);
        place(SOILLAY.XBOT(k) - d0, code);
    }
    s.NPTS = a;

    const double D = SECTTAB.SECTDIAM(M, 1, SectTab::TOP);
    for (int c = 1; c <= s.NPTS; ++c) {
        const double z = s.TZX(c) - PILE.GROUND(ip) - PILE.HEADXW(ip);
        const double zft = feet(s.TZX(c) - s.TZX(1), CTLIN.UNITS);
        fillSideCurve(s, c, ptype, D, z, zft, groundCurves && c <= 2, status);
        if (status != ST_OK) return;
    }
}

double curveTransfer(const TzSet& s, int a, double z) {
    // A movement that is not a number mobilises no known transfer. At or before the first point (the
    // origin of every shape) the curve gives that point's transfer: the lookup never reads before it.
    if (std::isnan(z)) return z;
    if (!(z > s.TZZ(a, 1))) return s.TZT(a, 1);
    int j = 1;
    while (z - s.TZZ(a, j) > 0.0 && j < TZNPTS) ++j;
    // At a point, and at or beyond the last point, the curve gives that point's transfer: the soil's
    // friction stays at its residual value however far the pile slips.
    if (z >= s.TZZ(a, j)) return s.TZT(a, j);
    // Inside a segment, the last one included, the friction grows (or softens) linearly between the
    // points: a movement just past the ninth point mobilises about the ninth point's friction, not the
    // tenth's, so the curve has no jump where the pile's load-settlement march crosses it.
    const double z0 = s.TZZ(a, j - 1), t0 = s.TZT(a, j - 1);
    return t0 + (s.TZT(a, j) - t0) * (z - z0) / (s.TZZ(a, j) - z0);
}

double sideTransfer(const TzSet& s, double x, double z) {
    if (std::isnan(x) || std::isnan(z)) return std::numeric_limits<double>::quiet_NaN();
    if (s.NPTS < 1) return 0.0;
    int a = 1;
    while (x - s.TZX(a) > 0.0 && a < s.NPTS) ++a;
    if (x == s.TZX(a) || (a == s.NPTS && x > s.TZX(a))) return curveTransfer(s, a, z);
    // Above the first curve (above the ground surface) the soil gives nothing.
    if (a == 1) return 0.0;
    const double x0 = s.TZX(a - 1);
    const double t0 = curveTransfer(s, a - 1, z);
    return t0 + (curveTransfer(s, a, z) - t0) * (x - x0) / (s.TZX(a) - x0);
}

}  // namespace kaldo
