// Equivalent loads at the cap origin: each concentrated load's own moments plus the moment r x F of
// its force about the origin.
#include "model/blocks.h"
#include "run/loads.h"

namespace kaldo {

namespace {

// Resultant of the concentrated loads of case c. A load record lists X, Y, moment Z, Z, moment Y,
// moment X, then the point x, y, z; a plane run ignores force Z and the moments about X and Y.
LoadVec resultant(int c) {
    LoadVec r{};
    const bool plane = CTLIN.ANTYPE == 2;
    for (int j = 1; j <= LCCNT(c, 1); ++j) {
        const double fx = LCCL.CLOAD(c, j, 1), fy = LCCL.CLOAD(c, j, 2), mz = LCCL.CLOAD(c, j, 3);
        const double fz = LCCL.CLOAD(c, j, 4), my = LCCL.CLOAD(c, j, 5), mx = LCCL.CLOAD(c, j, 6);
        const double x = LCCL.CLOAD(c, j, 7), y = LCCL.CLOAD(c, j, 8), z = LCCL.CLOAD(c, j, 9);
        r[0] += fx;
        r[1] += fy;
        r[5] += mz + x * fy - y * fx;
        if (plane) continue;
        r[2] += fz;
        r[3] += mx + y * fz - z * fy;
        r[4] += my + z * fx - x * fz;
    }
    return r;
}

}  // namespace

void EQLOADC(int c, LoadVec& load) {
    load.fill(0.0);
    if (LCSD.SDFLAG(c) == 1) return;
    const LoadVec r = resultant(c);
    for (int k = 0; k < 6; ++k) load[k] = r[k] * LCREAL(c, 5);
}

void EQLOADC2(int c, LoadVec& load) { EQLOADC(c, load); }

void EQLOADM(int m, LoadVec& load) {
    load.fill(0.0);
    for (int t = 1; t <= LCBCNT(m, 1); ++t) {
        const int c = LCBLST.LCBCASE(m, t);
        if (LCSD.SDFLAG(c) == 1) continue;
        const LoadVec r = resultant(c);
        const double f = LCREAL(c, 5) * LCBLST.LCBFAC(m, t);
        for (int k = 0; k < 6; ++k) load[k] += r[k] * f;
    }
}

}  // namespace kaldo
