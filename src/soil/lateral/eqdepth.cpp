// Equivalent depth in layered soil, and the depth-factor tables it shares with the sand, silt and
// stiff clay criteria.
//
// Below a layer change the failure wedge of the lower soil is measured from an equivalent depth: the
// depth at which the lower layer's own soil, reaching up to the ground surface, would have built up the
// same integrated ultimate resistance F as the layers above really do. The clay rules solve the
// resistance integral in closed form; the stiff clay with free water and the sand rules step it down
// until it passes F and interpolate in the last step, or extend it linearly below the crossing depth.
#include <algorithm>
#include <cmath>
#include <limits>

#include "model/ctlpar.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/soils.h"
#include "services/psec.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

using py::s;

constexpr double NOT_FOUND = std::numeric_limits<double>::quiet_NaN();
constexpr double CYCLIC = s(0.72f);  // cyclic clay resistance as a share of the static one
constexpr double DEEP_SAND = s(0.88f);  // factor A of sand at depth

// The factors As (static) and Ac (cyclic) of stiff clay with free water against the depth-to-diameter
// ratio.
constexpr double AS_RATIOS[6] = {0.0, 1.0, 2.0, 3.0, 4.0, 5.0};
constexpr double AS_STATIC[6] = {s(0.223f), s(0.46f), s(0.55f), s(0.59f), s(0.60f), s(0.60f)};
constexpr double AC_RATIOS[4] = {0.0, 1.0, 2.0, 3.0};
constexpr double AC_CYCLIC[4] = {s(0.20f), s(0.29f), s(0.30f), s(0.30f)};

// A divisor the rule can use: finite and not zero. A rule whose divisor fails gives no depth.
bool usable(double d) { return std::isfinite(d) && d != 0.0; }

// The positive root of a X^2 + d X = F: the depth at which the resistance a x + d, integrated from the
// ground surface, reaches F.
double root(double a, double d, double F) {
    if (!usable(a)) return NOT_FOUND;
    return (std::sqrt(d * d + 4.0 * a * F) - d) * 0.5 / a;
}

// Linear interpolation of a table of n values against its ratios: the first segment whose upper ratio
// exceeds r, the first segment below the table, the last segment beyond it.
double tableAt(const double* values, const double* ratios, int n, double r) {
    int k = 1;
    while (k < n - 1 && !(ratios[k] > r)) ++k;
    return values[k - 1] + (values[k] - values[k - 1]) * (r - ratios[k - 1]) / (ratios[k] - ratios[k - 1]);
}

// The depth-to-diameter ratio of the vertical coordinate X of a pile: its depth below the ground
// surface over the section diameter there.
double depthRatio(int pile, int pset, double X) {
    return (X - PYDRV.GSURFP(pile)) / PSECDIAM(pile, pset, X);
}

// Sums the resistance increments of steps 1..n down to the depth span, increment(i, dx, xi) giving step
// i's increment and its depth xi. When the sum passes F: the depth within that step at which it equals
// F (true). Otherwise S holds the sum over all steps (false).
template <class Increment>
bool march(double span, int n, double F, Increment increment, double& S, double& depth) {
    const double dx = span / n;
    S = 0.0;
    for (int i = 1; i <= n; ++i) {
        double xi = 0.0;
        const double next = S + increment(i, dx, xi);
        if (next > F) {
            const double step = next - S;
            depth = usable(step) ? xi - dx * (next - F) / step : NOT_FOUND;
            return true;
        }
        S = next;
    }
    return false;
}

// Soft clay (code 1 and every code without a rule of its own): wedge resistance 3 c b + (0.5 c + g b) x
// up to the transition depth, 9 c b below (both 0.72 of that under cyclic loading).
double softClay(double b, double c, double g, double F, int kstatic) {
    const double den = 0.5 * c + g * b;
    if (!usable(den)) return NOT_FOUND;
    const double xr = 6.0 * c * b / den;
    double pmax = 9.0 * c * b;
    const double a = 0.25 * c + 0.5 * g * b;
    const double d = 3.0 * c * b;
    double Fr = (a * xr + d) * xr;
    if (kstatic == 0) {
        pmax *= CYCLIC;
        Fr *= CYCLIC;
    }
    if (F > Fr) return usable(pmax) ? xr + (F - Fr) / pmax : NOT_FOUND;
    return root(a, d, F);
}

// Soft clay with the J of the profile (codes 13 and 14): the transition depth and the resistance down
// to it with J; above it the same root as soft clay.
double softClayJ(double b, double c, double g, double J, double F, int kstatic) {
    const double den = J * c + g * b;
    if (!usable(den)) return NOT_FOUND;
    const double xr = 6.0 * c * b / den;
    double pmax = 9.0 * c * b;
    double Fr = ((J * b * g + 0.25 * c) * xr + 3.0 * c * b) * xr;
    if (kstatic == 0) {
        pmax *= CYCLIC;
        Fr *= CYCLIC;
    }
    if (F > Fr) return usable(pmax) ? xr + (F - Fr) / pmax : NOT_FOUND;
    return root(0.25 * c + 0.5 * g * b, 3.0 * c * b, F);
}

// Stiff clay without free water (codes 3 and 10).
double stiffClay(double b, double c, double ca, double g, double F) {
    const double den = 0.5 * c + g * b;
    if (!usable(den)) return NOT_FOUND;
    const double xr = (9.0 * c - 3.0 * ca) * b / den;
    const double a = 0.25 * c + 0.5 * g * b;
    const double d = 3.0 * c * b;
    const double Fr = (a * xr + d) * xr;
    if (F > Fr) {
        const double pmax = 9.0 * c * b;
        return usable(pmax) ? xr + (F - Fr) / pmax : NOT_FOUND;
    }
    return root(a, d, F);
}

// Stiff clay with free water (code 2): 40 steps down to the transition depth with the residual share of
// the static or cyclic curve, then the flow resistance 11 c b at that share.
double stiffClayWater(int pile, int pset, double b, double c, double ca, double g, double F, int kstatic) {
    const double den = g * b + s(2.83f) * ca;
    if (!usable(den)) return NOT_FOUND;
    const double xr = (11.0 * c - 2.0 * ca) * b / den;
    const double ground = PYDRV.GSURFP(pile);
    double fac = 0.0;
    auto increment = [&](int i, double dx, double& xi) {
        const double X = ground + i * dx;
        xi = X - ground;
        const double As = CFASTAT(pile, pset, X);
        const double Ac = CFACYC(pile, pset, X);
        if (kstatic == 1)
            fac = s(1.225f) * std::sqrt(As) - s(0.411f) - 0.75 * As;
        else if (kstatic == 0)
            fac = s(0.936f) * Ac - s(0.418f) * As;
        return dx * fac * ((g * b + s(2.83f) * ca) * xi + 2.0 * ca * b);
    };
    double S = 0.0, depth = 0.0;
    if (march(xr, 40, F, increment, S, depth)) return depth;
    const double deep = 11.0 * c * fac * b;
    return usable(deep) ? xr + (F - S) / deep : NOT_FOUND;
}

// The sand rules (codes 4, 7, 8): wedge coefficients, 50 steps down to the depth xt where the wedge
// and the flow resistance meet, then the flow resistance below it.
struct Wedge {
    double C1, C2, C3, xt;
};

Wedge sandWedge(double b, double phi, double alpha, double beta, double K0, double Ka, double T) {
    Wedge w{};
    w.C1 = std::tan(beta) * (T * std::tan(alpha) +
                             K0 * (std::sin(beta) * (1.0 / std::cos(alpha) + 1.0) * std::tan(phi) - std::tan(alpha)));
    w.C2 = T - Ka;
    w.C3 = T * T * (T + K0 * std::tan(phi)) - Ka;
    w.xt = usable(w.C1) ? (w.C3 - w.C2) * b / w.C1 : NOT_FOUND;
    return w;
}

double apiSand(double b, double g, double x, const Wedge& w, double F, int kstatic) {
    if (!usable(b)) return NOT_FOUND;
    auto increment = [&](int i, double dx, double& xi) {
        xi = i * dx;
        const double A = kstatic == 1 ? std::max(s(0.9f), 3.0 - s(0.8f) * xi / b) : s(0.9f);
        const double r = xi / b;
        return A * g * (b * b) * dx * (w.C2 * r + w.C1 * (r * r));
    };
    double S = 0.0, depth = 0.0;
    if (march(w.xt, 50, F, increment, S, depth)) return depth;
    const double deep = DEEP_SAND * x * w.C3 * g * b;
    return usable(deep) ? w.xt + (F - S) / deep : NOT_FOUND;
}

// The factor A of sand at the vertical coordinate X of a pile, static or cyclic by the loading.
double sandA(int pile, int pset, double X, int kstatic, const double (&XB)[10]) {
    return CFTAB10(pile, pset, X, kstatic == 1 ? py::SAND_A_STATIC : py::SAND_A_CYCLIC, XB);
}

double silt(int pile, int pset, double b, double c, double g, double x, const Wedge& w, double F, int kstatic,
            const double (&XB)[10]) {
    if (!usable(b)) return NOT_FOUND;
    const double ground = PYDRV.GSURFP(pile);
    auto increment = [&](int i, double dx, double& xi) {
        xi = i * dx;
        const double A = sandA(pile, pset, ground + xi, kstatic, XB);
        const double r = xi / b;
        return dx * ((3.0 * b + 0.5 * xi) * c + A * g * (b * b) * (w.C1 * (r * r) + w.C2 * r) + g * b * xi);
    };
    double S = 0.0, depth = 0.0;
    if (march(w.xt, 50, F, increment, S, depth)) return depth;
    const double deep = DEEP_SAND * x * w.C3 * g * b + 9.0 * c * b;
    return usable(deep) ? w.xt + (F - S) / deep : NOT_FOUND;
}

double sand(int pile, int pset, double b, double g, double phi, double alpha, double beta, double K0, double Ka,
            double x, const Wedge& w, double F, int kstatic, const double (&XB)[10]) {
    const double tbp = std::tan(beta - phi);
    if (!usable(tbp) || !usable(tbp * std::cos(alpha))) return NOT_FOUND;
    const double ground = PYDRV.GSURFP(pile);
    const double tb = std::tan(beta), ta = std::tan(alpha), tp = std::tan(phi), sb = std::sin(beta);
    auto increment = [&](int i, double dx, double& xi) {
        xi = i * dx;
        const double A = sandA(pile, pset, ground + xi, kstatic, XB);
        // The wedge resistance of sand at depth xi.
        const double wedge = K0 * xi * tp * sb / (tbp * std::cos(alpha)) - Ka * b + (tb / tbp) * (b + xi * tb * ta) +
                             K0 * xi * tb * (tp * sb - ta);
        return A * g * dx * xi * wedge;
    };
    double S = 0.0, depth = 0.0;
    if (march(w.xt, 50, F, increment, S, depth)) return depth;
    const double deep = DEEP_SAND * x * w.C3 * g * b;
    return usable(deep) ? w.xt + (F - S) / deep : NOT_FOUND;
}

}  // namespace

bool PYEQDEPTH(int pile, int L, int pset, double b, double c, double ca, double gamma, double phi, double alpha,
               double beta, double K0, double Ka, double T, double x, double J, const double (&XB)[10]) {
    if (L < 2 || L >= LAYSLOTS) return false;
    double F = 0.0;
    for (int k = 1; k <= L - 1; ++k) F += PYDRV.PUINT(pile, k);

    const int kstatic = CTLPAR.KSTATIC;
    double depth = NOT_FOUND;
    switch (SOILLAY.LCRIT(L)) {
        case 13:
        case 14: depth = softClayJ(b, c, gamma, J, F, kstatic); break;
        case 3:
        case 10: depth = stiffClay(b, c, ca, gamma, F); break;
        case 2: depth = stiffClayWater(pile, pset, b, c, ca, gamma, F, kstatic); break;
        case 8: depth = apiSand(b, gamma, x, sandWedge(b, phi, alpha, beta, K0, Ka, T), F, kstatic); break;
        case 7:
            depth = silt(pile, pset, b, c, gamma, x, sandWedge(b, phi, alpha, beta, K0, Ka, T), F, kstatic, XB);
            break;
        case 4: {
            const Wedge w = sandWedge(b, phi, alpha, beta, K0, Ka, T);
            depth = sand(pile, pset, b, gamma, phi, alpha, beta, K0, Ka, x, w, F, kstatic, XB);
            break;
        }
        default: depth = softClay(b, c, gamma, F, kstatic); break;
    }
    // A depth that cannot be formed is never kept: the caller measures from the layer top instead.
    if (!std::isfinite(depth)) return false;
    PYDRV.EQDEP(pile, L) = depth;
    return true;
}

double CFTAB10(int pile, int pset, double X, const double (&values)[10], const double (&ratios)[10]) {
    return tableAt(values, ratios, 10, depthRatio(pile, pset, X));
}

double CFASTAT(int pile, int pset, double X) { return tableAt(AS_STATIC, AS_RATIOS, 6, depthRatio(pile, pset, X)); }

double CFACYC(int pile, int pset, double X) { return tableAt(AC_CYCLIC, AC_RATIOS, 4, depthRatio(pile, pset, X)); }

}  // namespace kaldo
