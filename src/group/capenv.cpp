// Cap envelopes: the running minimum and maximum of the cap loads at the origin and of the cap
// displacement over the current series of analyses.
#include <cmath>

#include "group/group.h"
#include "model/blocks.h"
#include "model/results.h"

namespace kaldo {

namespace {

// One value into its slot of both stores; the first analysis of a series sets both, and a value that
// is not a number never enters, not even in the first analysis: the slot then keeps what it held (the
// cleared value of the series' reset), as the piles' envelopes do.
void update(int slot, double v) {
    if (std::isnan(v)) return;
    if (ENVCTL.ENVSERIES == 1) {
        ENVMIN.ENVCAP(slot) = v;
        ENVMAX.ENVCAP(slot) = v;
    }
    if (v < ENVMIN.ENVCAP(slot)) ENVMIN.ENVCAP(slot) = v;
    if (v > ENVMAX.ENVCAP(slot)) ENVMAX.ENVCAP(slot) = v;
}

}  // namespace

void CAPENV(const Vec6& P, const Vec6& u) {
    for (int k = 0; k < 6; ++k) {
        update(k + 1, P[k]);
        update(k + 7, u[k]);
    }
}

void CAPENV2D(const Vec6& P, const Vec6& u) {
    for (int k = 0; k < 3; ++k) {
        update(k + 1, P[k]);
        update(k + 7, u[k]);
    }
}

}  // namespace kaldo
