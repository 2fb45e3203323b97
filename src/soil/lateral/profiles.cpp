// Soil property profiles at a coordinate: the value of one soil property at x, or its average from
// the ground surface down to x, read from the profiles that the input echo builds (two rows per
// layer, linear within a layer, possibly jumping where two layers meet).
//
// These lookups run for every node of every pile on many threads at once: they read SOILPRF, SOILLAY,
// CTLIN and RUNCONST only, and write nothing but the caller's status word (on failure) and whole
// warning records.
#include <cmath>
#include <string>
#include <vector>

#include "io/format.h"
#include "model/input.h"
#include "model/runblocks.h"
#include "model/soils.h"
#include "services/status.h"
#include "services/warning.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

using Column = Arr<double, 1, PRFROWS>;

// A value below this counts as missing when two layers meet at one x.
constexpr double ZERO = 1e-20;

// How a point lookup settles an x exactly at a layer boundary, where the upper layer's bottom value a
// and the lower layer's top value b meet. Lower: b (the soil below), or a when b is missing. Mean:
// the mean of the two, or the one given when the other is missing.
enum class AtBoundary { Lower, Mean };

// Rows of a profile: the coordinate column R(1..n) and the value column V(1..n).
struct Profile {
    int n;
    const Column& r;
    const Column& v;
};

Profile onXP(const Column& v) { return {SOILPRF.NXP, SOILPRF.XP, v}; }

// The value at x by linear interpolation within the row pair that holds x; beyond = true (result 0)
// when x lies below the last row. Row 1 is never the row found, so an x above the first row extends
// rows 1 and 2 upward.
double pointValue(const Profile& p, double x, AtBoundary rule, bool& beyond) {
    beyond = false;
    int i = 2;
    while (i <= p.n && p.r(i) < x) ++i;
    if (i > p.n) {
        beyond = true;
        return 0.0;
    }
    if (x == p.r(p.n)) return p.v(i);
    if (x != p.r(i)) return p.v(i - 1) + (p.v(i) - p.v(i - 1)) / (p.r(i) - p.r(i - 1)) * (x - p.r(i - 1));
    if (p.r(i + 1) != p.r(i)) return p.v(i);
    const double a = p.v(i), b = p.v(i + 1);
    if (rule == AtBoundary::Lower) return b < ZERO ? a : b;
    if (b < ZERO) return a;
    if (a < ZERO) return b;
    return (a + b) / 2.0;
}

// The value at x within the segment whose lower row lies strictly below x, so that x at a layer
// boundary reads the lower layer's top value. beyond = true (result 0) below the last row.
double segmentValue(const Profile& p, double x, bool& beyond) {
    beyond = false;
    if (p.n < 2) {
        beyond = true;
        return 0.0;
    }
    int i = 2;
    while (i <= p.n && p.r(i) <= x) ++i;
    if (i > p.n) {
        if (p.r(p.n) < x) {
            beyond = true;
            return 0.0;
        }
        i = p.n;
    }
    const double d = p.r(i) - p.r(i - 1);
    if (d < RUNCONST.DEPTOL) return (p.v(i - 1) + p.v(i)) / 2.0;
    return p.v(i - 1) + (x - p.r(i - 1)) * (p.v(i) - p.v(i - 1)) / d;
}

// The part of the depth average contributed by the row pair (i-1, i) from its upper row down to x:
// the trapezoid of the linear profile over e = x - R(i-1), divided by the depth D below the ground.
// A pair thinner than the depth tolerance adds nothing.
double partialTerm(const Profile& p, int i, double x, double depth) {
    const double d = p.r(i) - p.r(i - 1);
    if (d < RUNCONST.DEPTOL) return 0.0;
    const double e = x - p.r(i - 1);
    return 0.5 * e * (2.0 * p.v(i - 1) + e * (p.v(i) - p.v(i - 1)) / d) / depth;
}

// The mean of a profile over [R(1), x] divided by the depth of x below the ground surface: whole row
// pairs above x by the trapezoid rule, then the part of the pair that holds x. reachedEnd is set when
// x lies below the last row; the sum then covers every pair down to the last row.
double averageDown(const Profile& p, double x, double depth, bool& reachedEnd) {
    reachedEnd = false;
    double sum = 0.0;
    for (int i = 2; i <= p.n; ++i) {
        if (p.r(i) <= x) {
            sum += 0.5 * (p.v(i) + p.v(i - 1)) * (p.r(i) - p.r(i - 1)) / depth;
            continue;
        }
        return sum + partialTerm(p, i, x, depth);
    }
    reachedEnd = p.n < 1 || p.r(p.n) < x;
    return sum;
}

// "THE VALUE OF X =", x in the given general form, and what follows it on the first warning line.
std::string valueLine(double x, int digits, const char* tail) {
    return "THE VALUE OF X =" + io::fmtG(9, digits, x) + tail;
}

void warnPoint(double x, const char* curve) {
    writeWarning({valueLine(x, 1, " IS BEYOND THE EXTENT OF"), curve});
}

void warnSegment(double x, const char* curve) { writeWarning({valueLine(x, 2, "IS BEYOND THE EXTENT OF"), curve}); }

// A point lookup without a status word: 0 below the profile, silently.
double silentPoint(const Column& v, double x) {
    bool beyond = false;
    return pointValue(onXP(v), x, AtBoundary::Mean, beyond);
}

// The cohesion at x for the lookups that report a profile overrun with the strength warning.
double cohesionAt(double x, bool& beyond) {
    const double c = pointValue(onXP(SOILPRF.CU), x, AtBoundary::Lower, beyond);
    if (beyond) warnPoint(x, "THE INPUT STRENGTH CURVE");
    return c;
}

}  // namespace

double PRFGAMAV(double x, int& status) {
    const Profile p{SOILPRF.NXG, SOILPRF.XG, SOILPRF.GAMMA};
    const double ground = SOILLAY.XTOP(1);
    if (ground > x) return 0.0;
    const double depth = x - ground;
    // At the ground surface the average is the unit weight of the first soil that has one.
    if (depth < RUNCONST.DEPTOL) {
        for (int i = 1; i <= p.n; ++i)
            if (p.v(i) > 0.0) return p.v(i);
        return p.n >= 1 ? p.v(p.n) : 0.0;
    }
    bool beyond = false;
    const double avg = averageDown(p, x, depth, beyond);
    if (!beyond) return avg;
    warnSegment(x, "THE INPUT CURVE FOR UNIT WEIGHT");
    status = ST_BEYOND_UNIT_WEIGHT;
    return 0.0;
}

double PRFCAVG(double x, int& status) {
    const Profile p = onXP(SOILPRF.CU);
    const double ground = SOILLAY.XTOP(1);
    if (ground > x) return 0.0;
    const double depth = x - ground;
    if (depth < RUNCONST.DEPTOL) return PRFCAT(x, status);
    bool beyond = false;
    const double avg = averageDown(p, x, depth, beyond);
    if (!beyond) return avg;
    writeWarning({valueLine(x, 2, "IS BEYOND THE EXTENT OF THE"), "INPUT CURVE FOR STRENGTH"}, WarnUnits::ResultsOnly);
    // Below the last row the last layer's profile is carried on linearly down to x: its last pair
    // counts from its upper row down to x instead of down to its lower row (a pair thinner than the
    // depth tolerance is left as it is).
    if (p.n < 2 || p.r(p.n) - p.r(p.n - 1) < RUNCONST.DEPTOL) return avg;
    const double lastPair = 0.5 * (p.v(p.n) + p.v(p.n - 1)) * (p.r(p.n) - p.r(p.n - 1)) / depth;
    return avg - lastPair + partialTerm(p, p.n, x, depth);
}

double PRFCAT(double x, int& status) {
    bool beyond = false;
    const double c = cohesionAt(x, beyond);
    if (beyond) status = ST_BEYOND_COHESION;
    return c;
}

double PRFPHIAT(double x, int& status) {
    bool beyond = false;
    const double phi = pointValue(onXP(SOILPRF.PHI), x, AtBoundary::Mean, beyond);
    if (beyond) {
        warnPoint(x, "THE INPUT PHI CURVE");
        status = ST_BEYOND_FRICTION;
    }
    return phi;
}

double PRFKAT(double x) { return silentPoint(SOILPRF.KPY, x); }
double PRFK2AT(double x) { return silentPoint(SOILPRF.ER, x); }
double PRFE50AT(double x) { return silentPoint(SOILPRF.E50, x); }
double PRFCOL7(double x) { return silentPoint(SOILPRF.JRQD, x); }
double PRFCOL7B(double x) { return PRFCOL7(x); }

double PRFKDEF(double x) {
    if (x < SOILPRF.XP(1)) return 0.0;
    double k = PRFKAT(x);
    // A modulus of practically zero (below 1e-4 in single precision) asks for the default.
    if (std::fabs(k) > 9.999999747378752e-5) return k;
    bool beyond = false;
    double c = cohesionAt(x, beyond);
    const bool si = CTLIN.UNITS == 2;
    if (si) c /= 6.894999980926514;  // kPa to psi
    // Bands at 500, 1000, 2000 and 4000 lb/ft^2 (in psi); a strength at a limit takes the lower band.
    if (c <= 3.4700000286102295)
        k = 50.0;
    else if (c <= 6.940000057220459)
        k = 100.0;
    else if (c <= 13.899999618530273)
        k = 500.0;
    else if (c <= 27.799999237060547)
        k = 1000.0;
    else
        k = 2000.0;
    if (si) k *= 271.5;  // lb/in^3 to kN/m^3
    return k;
}

double PRFFMAX(double x, int& status) {
    bool beyond = false;
    const double f = segmentValue(onXP(SOILPRF.FMAX), x, beyond);
    if (!beyond) return f;
    const int n = SOILPRF.NXP;
    const double lastX = n >= 1 ? SOILPRF.XP(n) : 0.0;
    const std::string where = " " + io::freeReal(x) + " " + io::freeInt(n) + " " + io::freeReal(lastX);
    writeWarning({valueLine(x, 2, " IS BEYOND THE EXTENT OF"), "THE INPUT MAX. LOAD TRANSFER"},
                 WarnUnits::ResultsAndRuntime, where);
    status = ST_BEYOND_SIDE_FRICTION;
    return 0.0;
}

double PRFQMAX(double x, int& status) {
    bool beyond = false;
    const double q = segmentValue(onXP(SOILPRF.QMAX), x, beyond);
    if (!beyond) return q;
    warnSegment(x, "THE INPUT MAX. LOAD TRANSFER");
    status = ST_BEYOND_TIP_RESISTANCE;
    return 0.0;
}

double PRFPHILIN(double x, int& status) {
    bool beyond = false;
    const double phi = segmentValue(onXP(SOILPRF.PHI), x, beyond);
    if (!beyond) return phi;
    warnSegment(x, "THE INPUT STRENGTH CURVE, BPHI");
    status = ST_BEYOND_FRICTION_SEGMENT;
    return 0.0;
}

}  // namespace kaldo
