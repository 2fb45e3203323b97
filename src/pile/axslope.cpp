// Initial stiffness of a pile head's axial load-settlement and torque-rotation curves: the slope of the
// curve's segment that holds zero movement. The lateral solver takes it as the equivalent axial or
// torsional stiffness of a head that has not moved. Reads the curve tables only.
#include "model/curves.h"
#include "model/piles.h"
#include "pile/pile.h"

namespace kaldo {

namespace {

// The slope at zero of a curve of npt points (abscissa xs(k), ordinate fs(k), by increasing abscissa):
// the first segment whose upper end lies at or right of zero, the last segment when none does.
template <class X, class F>
double slopeAtZero(int npt, const X& xs, const F& fs) {
    if (npt < 2) return 0.0;
    int k = 2;
    while (k < npt && xs(k) < 0.0) ++k;
    const double dx = xs(k) - xs(k - 1);
    return dx != 0.0 ? (fs(k) - fs(k - 1)) / dx : 0.0;
}

}  // namespace

void AXSLOPE(int pile, int, double& slope) {
    const int c = PILE.LSCRV(pile);
    const TzCrv& t = TZCRV;
    slope = 0.0;
    if (c > 0 && c <= MAXUSRCRV) {
        const int n = t.TZNPT(c) < MAXCRVPT ? t.TZNPT(c) : MAXCRVPT;
        slope = slopeAtZero(n, [&](int k) { return t.TZW(c, k); }, [&](int k) { return t.TZF(c, k); });
    } else if (c < 0 && -c <= MAXTZGEN) {
        const int g = -c;
        const int n = t.TZGNPT(g) < MAXCRVPT ? t.TZGNPT(g) : MAXCRVPT;
        slope = slopeAtZero(n, [&](int k) { return t.TZGW(g, k); }, [&](int k) { return t.TZGF(g, k); });
    }
}

void TQSLOPE(int pile, int, double& slope) {
    const int c = PILE.TRCRV(pile);
    const TqCrv& t = TQCRV;
    slope = 0.0;
    if (c > 0 && c <= MAXUSRCRV) {
        const int n = t.TQNPT(c) < MAXCRVPT ? t.TQNPT(c) : MAXCRVPT;
        slope = slopeAtZero(n, [&](int k) { return t.TQR(c, k); }, [&](int k) { return t.TQT(c, k); });
    } else if (c < 0 && -c <= MAXTQGEN) {
        const int g = -c;
        const int n = t.TQGNPT(g) < MAXCRVPT ? t.TQGNPT(g) : MAXCRVPT;
        slope = slopeAtZero(n, [&](int k) { return t.TQGR(g, k); }, [&](int k) { return t.TQGT(g, k); });
    }
}

}  // namespace kaldo
