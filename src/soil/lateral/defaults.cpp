// Default soil parameters: the subgrade modulus k and the strain E50 that the soil routines estimate
// where the input gives none (zero or negative), from the soil's strength or friction angle, its unit
// weight, the units system and the loading.
//
// Internal units: English runs lb/in^2 for strength, lb/in^3 for k and unit weight; SI runs kPa,
// kN/m^3. The generic units system computes as English but gets no estimate unless stated. Limits and
// table values are the single-precision constants of the empirical fits, widened to double.
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

constexpr int ENGLISH = 1, SI = 2;
constexpr double PI = 3.141592653589793;

// The widened single-precision value of a decimal constant.
constexpr double s(float v) { return static_cast<double>(v); }

// Undrained strength of 500 and 1000 lb/ft^2 (in psi, or the same in kPa): the lower limits of the
// soft-clay and stiff-clay strength bands.
constexpr double SOFT_LIMIT_EN = 3.472222328186035, SOFT_LIMIT_SI = 23.94013023376465;
constexpr double STIFF_LIMIT_EN = 6.94444465637207, STIFF_LIMIT_SI = 47.8802604675293;

// Unit weight above which a sand or silt counts as lying above the water table (a submerged soil has
// the smaller buoyant weight): 77.76 lb/ft^3 in lb/in^3, or kN/m^3.
constexpr double DRY_GAMMA_EN = 0.04500000178813934, DRY_GAMMA_SI = 12.225000381469727;

// From an English k (lb/in^3) to the SI k (kN/m^3).
constexpr double K_TO_SI = 271.4471435546875;

double dryGammaLimit(int units) { return units == SI ? DRY_GAMMA_SI : DRY_GAMMA_EN; }

// Band 1..n of a strength c against the limits lim, 2 lim, 4 lim, ...: lower limits belong to the
// upper band.
int band(double c, double lim, int bands) {
    int b = 1;
    double upper = lim;
    while (b < bands && c >= upper) {
        ++b;
        upper *= 2.0;
    }
    return b;
}

// E50 of soft clay (5 strength bands) and of stiff clay (4 bands).
constexpr double SOFT_E50[5] = {s(0.020f), s(0.010f), s(0.005f), s(0.005f), s(0.004f)};
constexpr double STIFF_E50[4] = {s(0.011f), s(0.007f), s(0.005f), s(0.004f)};

// Stiff-clay k by strength band (1 to 4): static and cyclic loading, English and SI.
constexpr double CLAY_K_STATIC_EN[4] = {250.0, 500.0, 1000.0, 2000.0};
constexpr double CLAY_K_CYCLIC_EN[4] = {100.0, 200.0, 400.0, 800.0};
constexpr double CLAY_K_STATIC_SI[4] = {67861.78125, 135723.5625, 271447.125, 542894.25};
constexpr double CLAY_K_CYCLIC_SI[4] = {27144.7109375, 54289.421875, 108578.84375, 217157.6875};

// Silt increments by friction-angle band (phi <= 30, 30 < phi <= 36, phi > 36 degrees), above and
// below the water table.
constexpr double SILT_DK_ABOVE_EN[3] = {25.0, 90.0, 225.0};
constexpr double SILT_DK_BELOW_EN[3] = {20.0, 60.0, 125.0};
constexpr double SILT_DK_ABOVE_SI[3] = {6786.18017578125, 24430.240234375, 61075.6015625};
constexpr double SILT_DK_BELOW_SI[3] = {5428.93994140625, 16286.830078125, 33930.8984375};

// Sand k in lb/in^3 from the friction angle in degrees, below or above the water table: a straight
// line from 0 up to the breakpoint, a cubic (below) or quadratic (above) fit up to 45 degrees, and a
// constant beyond.
constexpr double PHI_BREAK = 27.64229965209961;
double sandKEnglish(double phiDeg, bool below) {
    if (below) {
        if (phiDeg < PHI_BREAK) return 10.20672607421875 * phiDeg / PHI_BREAK;
        if (phiDeg <= 45.0)
            return ((0.016599999740719795 * phiDeg - 1.5526200532913208) * phiDeg + 58.42955017089844) * phiDeg -
                   769.1835327148438;
        return 228.76556396484375;
    }
    if (phiDeg < PHI_BREAK) return 10.206787109375 * phiDeg / PHI_BREAK;
    if (phiDeg <= 45.0) return (0.41679999232292175 * phiDeg - 8.125399589538574) * phiDeg - 83.66400146484375;
    return 394.7129821777344;
}

}  // namespace

void PYKPHI(double phi, double gamma, double& k, int units) {
    if (units != ENGLISH && units != SI) return;
    const double phiDeg = phi * 180.0 / PI;
    const bool below = gamma <= dryGammaLimit(units);
    if (units == ENGLISH) {
        k = sandKEnglish(phiDeg, below);
        return;
    }
    // Beyond 45 degrees the SI constants are the single-precision products.
    if (phiDeg > 45.0)
        k = below ? 62097.7578125 : 107143.7109375;
    else
        k = sandKEnglish(phiDeg, below) * K_TO_SI;
}

void PYE50SOFT(double c, double& e50, int units) {
    if (units != ENGLISH && units != SI) {
        e50 = s(0.001f);
        return;
    }
    e50 = SOFT_E50[band(c, units == SI ? SOFT_LIMIT_SI : SOFT_LIMIT_EN, 5) - 1];
}

void PYE50STIFF(double c, double& e50, int units) {
    if (units != ENGLISH && units != SI) return;
    e50 = STIFF_E50[band(c, units == SI ? STIFF_LIMIT_SI : STIFF_LIMIT_EN, 4) - 1];
}

void PYKCLAY(double c, double& k, int units, int kstatic) {
    if ((units != ENGLISH && units != SI) || (kstatic != 0 && kstatic != 1)) return;
    const int b = band(c, units == SI ? STIFF_LIMIT_SI : STIFF_LIMIT_EN, 4) - 1;
    if (units == ENGLISH)
        k = kstatic == 1 ? CLAY_K_STATIC_EN[b] : CLAY_K_CYCLIC_EN[b];
    else
        k = kstatic == 1 ? CLAY_K_STATIC_SI[b] : CLAY_K_CYCLIC_SI[b];
}

void PYKSILT(double gamma, double c, double phi, double& k, int units, int kstatic) {
    if (units != ENGLISH && units != SI) return;
    double clayK = 0.0;
    PYKCLAY(c, clayK, units, kstatic == 1 ? 1 : 0);
    const double phiDeg = phi * 180.0 / PI;
    const int b = phiDeg <= 30.0 ? 0 : phiDeg <= 36.0 ? 1 : 2;
    const bool above = gamma > dryGammaLimit(units);
    double dk = 0.0;
    if (units == ENGLISH)
        dk = above ? SILT_DK_ABOVE_EN[b] : SILT_DK_BELOW_EN[b];
    else
        dk = above ? SILT_DK_ABOVE_SI[b] : SILT_DK_BELOW_SI[b];
    k = clayK + dk;
}

void DEFKLAYER(double c, double phi, double gamma, double kin, double& k1, double& k2, int units, int criterion,
               int& estimated, int& twoValues) {
    k1 = kin;
    k2 = kin;
    twoValues = 0;
    if (kin > 0.0) {
        estimated = 0;
        return;
    }
    estimated = 1;
    switch (criterion) {
        case 2:
        case 10:
        case 14:
            PYKCLAY(c, k1, units, 1);
            PYKCLAY(c, k2, units, 0);
            twoValues = 1;
            break;
        case 4:
        case 8:
            PYKPHI(phi, gamma, k1, units);
            break;
        case 7:
            PYKSILT(gamma, c, phi, k1, units, 1);
            PYKSILT(gamma, c, phi, k2, units, 0);
            twoValues = 1;
            break;
        default:
            break;
    }
}

namespace {

// The E50 estimate of a criterion: soft clays and silt by the soft-clay table, stiff clays by the
// stiff-clay table; other criteria have none (e50 unchanged).
void e50ByCriterion(double c, double& e50, int units, int criterion) {
    switch (criterion) {
        case 1:
        case 7:
        case 13:
        case 14:
            PYE50SOFT(c, e50, units);
            break;
        case 2:
        case 3:
        case 10:
            PYE50STIFF(c, e50, units);
            break;
        default:
            break;
    }
}

}  // namespace

void DEFE50LAYER(double c, double e50in, double& e50out, int units, int criterion, int& estimated) {
    e50out = e50in;
    if (e50in > 0.0) {
        estimated = 0;
        return;
    }
    estimated = 1;
    e50ByCriterion(c, e50out, units, criterion);
}

void DEFE50AX(double c, double& e50, int criterion, int units) { e50ByCriterion(c, e50, units, criterion); }

}  // namespace kaldo
