// Bending stiffness from moment-curvature curves: the secant stiffness M / phi of each node's section at
// the node's current curvature, for sections that have a moment-curvature set. Each set holds curves at
// increasing levels of axial load; the node takes the curves that bracket the head axial force and
// interpolates linearly between them. Reads the model tables only.
#include <algorithm>
#include <cmath>

#include "model/mphi.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/sections.h"
#include "pile/pile.h"
#include "services/psec.h"

namespace kaldo {

namespace {

// A curvature below this counts as a straight pile (single-precision 1e-15).
constexpr double PHI_ZERO = static_cast<double>(1e-15f);

using SetLookup = int (*)(int, int, double);

// The secant stiffness on curve c of set m at curvature phi; current is the node's EI, kept for a
// curve that has no segment.
double secant(int m, int c, double phi, double current) {
    const MphiTable& t = MPHI;
    const int npt = std::clamp(t.MPNPT(m, c), 0, MAXMPPT);
    if (npt < 2) return current;
    // A straight pile takes the initial stiffness, the slope of the first segment.
    if (phi <= t.MPPHI(m, c, 1)) return t.MPMOM(m, c, 2) / t.MPPHI(m, c, 2);
    for (int k = 2; k <= npt; ++k) {
        const double pk = t.MPPHI(m, c, k);
        if (phi <= pk) {
            const double p0 = t.MPPHI(m, c, k - 1), m0 = t.MPMOM(m, c, k - 1), mk = t.MPMOM(m, c, k);
            const double moment = phi == pk ? mk : m0 + (phi - p0) * (mk - m0) / (pk - p0);
            return moment / phi;
        }
    }
    // Past the last point the moment holds at its last value: a plastic plateau.
    return t.MPMOM(m, c, npt) / phi;
}

void eiFromCurves(int p, double P, SlotArray& EI, const SlotArray& y, SetLookup setOf) {
    const int pset = PILE.PSETNO(p);
    const int n = std::clamp(PILESET.NINC(pset), 1, MAXINC);
    const double h = PILESET.PLEN(pset) / n;
    const double h2 = h * h;
    const MphiTable& t = MPHI;
    for (int i = 4; i <= n + 4; ++i) {
        double phi = std::fabs(y(i + 1) - 2.0 * y(i) + y(i - 1)) / h2;
        if (phi < PHI_ZERO) phi = 0.0;
        const int m = setOf(p, pset, NODES.NODEAX(p, i - 3));
        if (m < 1 || m > MAXMPSET) continue;

        // The curve of the axial force: the first curve at or below it, the end curves beyond them.
        const int nc = std::clamp(t.MPNCRV(m), 1, MAXMPCRV);
        int c = 1;
        if (nc == 1 || P <= t.MPAXL(m, 1))
            c = 1;
        else if (P >= t.MPAXL(m, nc))
            c = nc;
        else
            while (c < nc - 1 && !(P < t.MPAXL(m, c + 1))) ++c;

        const double Sc = secant(m, c, phi, EI(i));
        if (c < nc && P > t.MPAXL(m, c)) {
            const double S1 = secant(m, c + 1, phi, EI(i));
            const double P0 = t.MPAXL(m, c), P1 = t.MPAXL(m, c + 1);
            EI(i) = S1 - (P1 - P) * (S1 - Sc) / (P1 - P0);
        } else {
            EI(i) = Sc;
        }
    }
}

}  // namespace

void EIMPHIY(int p, double P, SlotArray& EI, const SlotArray& y) { eiFromCurves(p, P, EI, y, PSECMPHZ); }

void EIMPHIZ(int p, double P, SlotArray& EI, const SlotArray& y) { eiFromCurves(p, P, EI, y, PSECMPHY); }

}  // namespace kaldo
