// The load factor of the next solution of a target-deflection point, by linear interpolation in the
// history of (computed displacement, load factor) pairs. Two bracketing pairs at the same displacement
// give no slope to interpolate along: the factor then stays the newest pair's and EQSFLAT tells the
// driver to keep that solution rather than divide by zero.
#include <cmath>

#include "capstiff/capstiff.h"
#include "model/blocks.h"

namespace kaldo {

void TGTFACT() {
    EqsEst& e = EQSEST;
    const int n = e.EQSNH;
    e.EQSFLAT = 0;
    if (n <= 0) {
        e.EQSFAC = 0.0;
        return;
    }
    if (n == 1) {
        e.EQSFAC = 1.0;
        return;
    }
    // The newest pair is sorted in by its factor, after any older pair of the same factor.
    const double newestD = e.EQSHD(n), newestF = e.EQSHF(n);
    for (int i = 1; i <= n - 1; ++i) {
        if (e.EQSHF(i) > newestF) {
            for (int k = n; k > i; --k) {
                e.EQSHD(k) = e.EQSHD(k - 1);
                e.EQSHF(k) = e.EQSHF(k - 1);
            }
            e.EQSHD(i) = newestD;
            e.EQSHF(i) = newestF;
            break;
        }
    }
    const double t = e.EQSDTGT;
    int lo = 1, hi = 2;
    if (e.EQSHD(1) >= t) {
        lo = 1;
    } else if (t >= e.EQSHD(n)) {
        lo = n - 1;
    } else {
        for (int c = 2; c <= n; ++c) {
            if (e.EQSHD(c) >= t) {
                lo = c - 1;
                break;
            }
        }
    }
    hi = lo + 1;
    const double dd = e.EQSHD(hi) - e.EQSHD(lo);
    const double f = dd != 0.0 ? e.EQSHF(lo) + (t - e.EQSHD(lo)) * (e.EQSHF(hi) - e.EQSHF(lo)) / dd : 0.0;
    if (dd == 0.0 || !std::isfinite(f)) {
        // No slope to follow: the newest pair's factor again, and the iteration is told to stop there.
        e.EQSFAC = newestF;
        e.EQSFLAT = 1;
        return;
    }
    e.EQSFAC = f;
}

}  // namespace kaldo
