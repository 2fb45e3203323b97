// Equivalent loads at the cap origin: each concentrated load's own moments plus the moment r x F of
// its force about the origin.
#include <cmath>

#include "loads/loads.h"
#include "model/blocks.h"

namespace kaldo {

namespace {

// Resultant of the concentrated loads of case c. A load record lists X, Y, moment Z, Z, moment Y,
// moment X, then the point x, y, z; a plane run ignores force Z and the moments about X and Y.
Vec6 resultant(int c) {
    Vec6 r{};
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

void EQLOADC(int c, Vec6& load) {
    load.fill(0.0);
    if (LCSD.SDFLAG(c) == 1) return;
    const Vec6 r = resultant(c);
    for (int k = 0; k < 6; ++k) load[k] = r[k] * LCREAL(c, 5);
}

void EQLOADC2(int c, Vec6& load) { EQLOADC(c, load); }

void EQLOADM(int m, Vec6& load) {
    load.fill(0.0);
    for (int t = 1; t <= LCBCNT(m, 1); ++t) {
        const int c = LCBLST.LCBCASE(m, t);
        if (LCSD.SDFLAG(c) == 1) continue;
        const Vec6 r = resultant(c);
        const double f = LCREAL(c, 5) * LCBLST.LCBFAC(m, t);
        for (int k = 0; k < 6; ++k) load[k] += r[k] * f;
    }
}

// The pair (displacement, load) of each degree of freedom is read in the input's order X, Y, rotation Z,
// Z, rotation Y, rotation X; its flag says which of the two is given (0 displacement, 1 load; any other
// value keeps both).
void SPECDOF(int c, Vec6& load, SpecPoint& point) {
    load.fill(0.0);
    point.loads.fill(0.0);
    point.disps.fill(0.0);
    point.coords.fill(0.0);
    if (LCSD.SDFLAG(c) != 1) return;

    double disp[7], force[7];
    int flag[7];
    for (int k = 1; k <= 6; ++k) {
        flag[k] = LCSD.KDOF(c, k);
        disp[k] = LCSD.SDV(c, 2 * k - 1);
        force[k] = LCSD.SDV(c, 2 * k);
        if (flag[k] == 0) force[k] = 0.0;
        if (flag[k] == 1) disp[k] = 0.0;
    }
    const double x = LCSD.SDLOC(c, 1), y = LCSD.SDLOC(c, 2), z = LCSD.SDLOC(c, 3);
    const double fx = force[1], fy = force[2], mz = force[3], fz = force[4], my = force[5], mx = force[6];
    if (CTLIN.ANTYPE == 2) {
        point.loads = {fx, fy, mz, 0.0, 0.0, 0.0};
        point.disps[0] = disp[1];
        point.disps[1] = disp[2];
        point.disps[5] = disp[3];
        point.kdof[0] = flag[1];
        point.kdof[1] = flag[2];
        point.kdof[5] = flag[3];
        point.coords = {x, y, 0.0, 0.0, 0.0, 0.0};
        load = {fx, fy, 0.0, 0.0, 0.0, mz + x * fy - y * fx};
    } else {
        point.loads = {fx, fy, fz, mx, my, mz};
        point.disps = {disp[1], disp[2], disp[4], disp[6], disp[5], disp[3]};
        point.kdof = {flag[1], flag[2], flag[4], flag[6], flag[5], flag[3]};
        point.coords = {x, y, z, 0.0, 0.0, 0.0};
        load = {fx, fy, fz, mx + y * fz - z * fy, my + z * fx - x * fz, mz + x * fy - y * fx};
    }
    const double scale = LCREAL(c, 5);
    for (int k = 0; k < 6; ++k) {
        load[k] *= scale;
        point.loads[k] *= scale;
        point.disps[k] *= scale;
    }
}

// The lumped axial force of each pile acts along the pile's axis at its head.
void DLAXHEAD(Vec6& load) {
    RUNCONST.PIWORD = 3.141592653589793;
    if (WRKNODE.DLAXFLAG < 1 || PILE.NPILES < 1) return;
    for (int p = 1; p <= PILE.NPILES; ++p) {
        const double P = WRKNODE.PAXHEAD(p);
        const double x = PILE.HEADX(p), y = PILE.HEADY(p);
        if (CTLIN.ANTYPE == 2) {
            const double phi = 1.5707963267948966 - PILE.BATTER(p);
            const double fx = P * std::sin(phi), fy = P * std::cos(phi);
            load[0] += fx;
            load[1] += fy;
            load[5] += x * fy - y * fx;
        } else {
            const double a = PILE.ALPHA(p), b = PILE.BETA(p), z = PILE.HEADZ(p);
            const double fx = P * std::sin(b), fy = P * std::cos(b) * std::cos(a), fz = P * std::cos(b) * std::sin(a);
            load[0] += fx;
            load[1] += fy;
            load[2] += fz;
            load[3] += y * fz - z * fy;
            load[4] += z * fx - x * fz;
            load[5] += x * fy - y * fx;
        }
    }
}

}  // namespace kaldo
