// The five shapes of a side load-transfer curve: unit side transfer t against pile movement z, drawn
// from the curve's maximum tmax. Drilled shafts and the peaked curve of user-curve and elastic-subgrade
// layers scale with the pile diameter; driven piles in clay follow absolute movements, and driven piles
// in sand a hyperbola whose initial stiffness grows with the friction angle.
#include "model/input.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"

namespace kaldo {

namespace {

using axl::sp;

// One normalised shape: points 2 to 10 as (z / D, t / tmax); point 1 is the origin.
struct Shape {
    double zr[TZNPTS];
    double tr[TZNPTS];
};

const Shape DRILLED_SAND = {
    {0.0, sp(0.001f), sp(0.002f), sp(0.003f), sp(0.005f), sp(0.006f), sp(0.008f), sp(0.012f), sp(0.016f), sp(0.1f)},
    {0.0, sp(0.335f), sp(0.58f), sp(0.72f), sp(0.86f), sp(0.91f), sp(0.95f), sp(0.965f), sp(0.96f), sp(0.95f)}};
const Shape DRILLED_CLAY = {
    {0.0, sp(0.001f), sp(0.002f), sp(0.003f), sp(0.005f), sp(0.006f), sp(0.008f), sp(0.012f), sp(0.016f), sp(0.1f)},
    {0.0, sp(0.51f), sp(0.72f), sp(0.90f), sp(0.925f), sp(0.945f), sp(0.955f), sp(0.925f), sp(0.90f), sp(0.835f)}};
// The peak is tmax itself.
const Shape PEAK = {
    {0.0, sp(0.0016f), sp(0.0031f), sp(0.0057f), sp(0.008f), sp(0.01f), sp(0.02f), sp(0.03f), sp(0.05f), sp(0.1f)},
    {0.0, sp(0.3f), sp(0.5f), sp(0.75f), sp(0.9f), 1.0, sp(0.8f), sp(0.8f), sp(0.8f), sp(0.8f)}};

// Driven pile in clay: movements in inches (in metres each is the single-precision inch value times
// 0.0254) and the transfer's fraction of tmax.
constexpr float CLAY_ZIN[TZNPTS] = {0.0f, 0.01f, 0.02f, 0.04f, 0.06f, 0.08f, 0.12f, 0.16f, 0.5f, 10.0f};
constexpr float CLAY_TR[TZNPTS] = {0.0f, 0.18f, 0.38f, 0.79f, 0.97f, 1.0f, 0.97f, 0.93f, 0.93f, 0.93f};
// Driven pile in sand: the movements of the hyperbola's points, inches.
constexpr double SAND_ZIN[TZNPTS] = {0.0, 0.01, 0.02, 0.04, 0.06, 0.08, 0.12, 0.16, 0.5, 2.5};

void scaled(const Shape& s, int i, double D, TzPoints& TZT, TzPoints& TZZ, double tmax) {
    for (int p = 1; p <= TZNPTS; ++p) {
        TZZ(i, p) = s.zr[p - 1] * D;
        TZT(i, p) = s.tr[p - 1] * tmax;
    }
}

// Initial stiffness of the driven-pile sand hyperbola, pounds per square foot per inch, from the
// friction angle in degrees. The three ramps share one slope, so the one from 32 to 34 degrees ends
// near 12667 and the stiffness steps up to 14000 just above 34 degrees.
double sandStiffness(double phi) {
    const double slope = sp(1333.3f);
    if (phi <= 28.0) return 6000.0;
    if (phi <= 31.0) return 6000.0 + slope * (phi - 28.0);
    if (phi <= 32.0) return 10000.0;
    if (phi <= 34.0) return 10000.0 + slope * (phi - 32.0);
    if (phi <= 35.0) return 14000.0;
    if (phi <= 38.0) return 14000.0 + slope * (phi - 35.0);
    return 18000.0;
}

}  // namespace

void TZSDSSAND(int i, double D, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX) {
    scaled(DRILLED_SAND, i, D, TZT, TZZ, TZTMAX(i));
}

void TZSDSCLAY(int i, double D, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX) {
    scaled(DRILLED_CLAY, i, D, TZT, TZZ, TZTMAX(i));
}

void TZSPEAK01(int i, double D, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX) {
    scaled(PEAK, i, D, TZT, TZZ, TZTMAX(i));
}

void TZSDRCLAY(int i, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX) {
    const bool inches = !axl::metric(CTLIN.UNITS);
    for (int p = 1; p <= TZNPTS; ++p) {
        TZZ(i, p) = inches ? sp(CLAY_ZIN[p - 1]) : sp(CLAY_ZIN[p - 1]) * sp(0.0254f);
        TZT(i, p) = sp(CLAY_TR[p - 1]) * TZTMAX(i);
    }
}

void TZSDRSAND(int i, TzPoints& TZT, TzPoints& TZZ, TzValues& TZTMAX, const TzValues& TZPHI) {
    if (TZTMAX(i) <= sp(1e-15f)) TZTMAX(i) = sp(0.001f);
    const double tmax = TZTMAX(i);
    const double k = sandStiffness(TZPHI(i));
    TZZ(i, 1) = 0.0;
    TZT(i, 1) = 0.0;
    if (!axl::metric(CTLIN.UNITS)) {
        // t in psi: the stiffness in psf per inch is k / 144 psi per inch.
        for (int p = 2; p <= TZNPTS; ++p) {
            const double z = SAND_ZIN[p - 1];
            TZZ(i, p) = z;
            TZT(i, p) = z / (z / tmax + 144.0 / k);
        }
        return;
    }
    // Metric: tmax in kPa taken to psf (x 20.88) for the hyperbola and back; the last movement is
    // 0.0635 m (2.5 inch).
    const double toPsf = sp(20.88f);
    for (int p = 2; p <= TZNPTS; ++p) {
        const double zin = SAND_ZIN[p - 1];
        TZT(i, p) = zin / (zin / (toPsf * tmax) + 1.0 / k) / toPsf;
        TZZ(i, p) = p < TZNPTS ? sp(0.0254f) * zin : sp(0.0635f);
    }
}

}  // namespace kaldo
