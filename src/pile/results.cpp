// Pile result stores and envelopes: the results pass of the group solution hands each pile's head and
// along-pile results to these routines, which keep the current solve (RESCUR) and the signed extremes
// over the current series of analyses (ENVMIN, ENVMAX).
//
// They run inside the parallel pile loop of the results pass, one pile per call: every write goes to
// pile p's own entries, so no lock is taken. ENVSERIES does not change during the pass.
#include <cmath>

#include "model/piles.h"
#include "model/results.h"
#include "model/runpoint.h"
#include "pile/pile.h"

namespace kaldo {

namespace {

// One stored value: the current solve takes it as it is; the first analysis of a series makes it both
// extremes; then it widens whichever extreme it passes. A value that is not a number is kept in the
// current solve but never enters an envelope.
void store(double& current, double& lowest, double& highest, double v, bool firstOfSeries) {
    if (firstOfSeries && !std::isnan(v)) lowest = highest = v;
    DMAX(highest, v);
    DMIN(lowest, v);
    current = v;
}

void storeTop(int p, int row, double v, bool first) {
    store(RESCUR.RESCURTOP(p, row), ENVMIN.TOP(p, row), ENVMAX.TOP(p, row), v, first);
}

bool firstOfSeries() { return ENVCTL.ENVSERIES == 1; }

}  // namespace

void DMIN(double& a, double b) {
    if (a > b) a = b;
}

void DMAX(double& a, double b) {
    if (b > a) a = b;
}

void ENVTOP(int p, double sigma, const Vec6& UG, const Vec6& UL, const Vec6& FG, const Vec6& FL) {
    const bool first = firstOfSeries();
    for (int i = 1; i <= 6; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        storeTop(p, i, UG[k], first);
        storeTop(p, 6 + i, FG[k], first);
        storeTop(p, 13 + i, UL[k], first);
        storeTop(p, 19 + i, FL[k], first);
    }
    storeTop(p, 13, sigma, first);
    storeTop(p, 26, sigma, first);
}

void PTENV2D(int p, double r1, double r2, double r3, double r14, double r15, double r16, double r4, double r5,
             double r6, double r17, double r18, double r19, double sigma) {
    const bool first = firstOfSeries();
    const double rows[] = {r1, r2, r3, r4, r5, r6, sigma};
    for (int r = 1; r <= 7; ++r) storeTop(p, r, rows[r - 1], first);
    const double local[] = {r14, r15, r16, r17, r18, r19, sigma};
    for (int r = 14; r <= 20; ++r) storeTop(p, r, local[r - 14], first);
}

void PACKLLP(AlongPileRecord& record, const std::array<const SlotArray*, NLLPQTY>& quantities) {
    for (int q = 1; q <= NLLPQTY; ++q) {
        const SlotArray& a = *quantities[static_cast<std::size_t>(q - 1)];
        for (int s = 1; s <= NODESLOTS; ++s) record(s, q) = a(s);
    }
}

void ENVLLP(int p, int c, const AlongPileRecord& record) {
    if (c < 4) return;
    const int last = c < NODESLOTS ? c : NODESLOTS;
    const bool first = firstOfSeries();
    for (int q = 1; q <= NLLPQTY; ++q)
        for (int s = 4; s <= last; ++s)
            store(RESCUR.RESCURLLP(p, s, q), ENVMIN.LLP(p, s, q), ENVMAX.LLP(p, s, q), record(s, q), first);
}

void PILEROT(int p, double x, double y, double z, double& X, double& Y, double& Z) {
    const double t = PILE.THETA(p), b = PILE.BETA(p), a = PILE.ALPHA(p);
    // The twist about the pile axis, then the inclination of the axis, then its direction in plan.
    const double y1 = y * std::cos(t) - z * std::sin(t);
    const double z1 = y * std::sin(t) + z * std::cos(t);
    X = x * std::sin(b) - y1 * std::cos(b);
    const double w = x * std::cos(b) + y1 * std::sin(b);
    Y = w * std::cos(a) - z1 * std::sin(a);
    Z = w * std::sin(a) + z1 * std::cos(a);
}

}  // namespace kaldo
