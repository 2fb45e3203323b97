// Distributed loads at the pile nodes: the depth-load sets of a case's entries, interpolated at every
// node of the loaded piles and resolved onto the pile's local lateral axes. Entries given in global
// axes lose their component along the pile, or have it lumped as an axial force at the pile head.
#include <algorithm>
#include <cmath>

#include "loads/loads.h"
#include "model/blocks.h"

namespace kaldo {

namespace {

constexpr double PI = 3.141592653589793;
constexpr double HALFPI = 1.5707963267948966;
// Depth tolerance for the ends of a set (single-precision 1e-8).
constexpr double ENDTOL = 9.99999993922529e-9;

// Only a pile that a load entry reached holds node loads (its load point count is then set): the
// others are still zero from the start of the run, and a large group is spared writing, and touching
// for the first time, the node load table of every pile at every case.
void clearNodeLoads() {
    for (int p = 1; p <= PILE.NPILES; ++p) {
        WRKNODE.PAXHEAD(p) = 0.0;
        if (WRKNODE.DLNNODE(p) == 0) continue;
        WRKNODE.DLNNODE(p) = 0;
        for (int l = 0; l <= MAXINC + 1; ++l) {
            WRKNODE.DLNODEY(l, p) = 0.0;
            WRKNODE.DLNODEZ(l, p) = 0.0;
        }
    }
}

// Load per length of set k at depth d below the head: linear between the set's points, 0 outside them
// and for a set of fewer than two points.
double setValue(int k, double d) {
    if (k < 1 || k > DLS.NSETS || DLS.NPTS(k) < 2) return 0.0;
    const int n = DLS.NPTS(k);
    if (std::abs(d - DLS.DLSDEP(k, 1)) < ENDTOL) return DLS.DLSVAL(k, 1);
    if (std::abs(d - DLS.DLSDEP(k, n)) < ENDTOL) return DLS.DLSVAL(k, n);
    if (d < DLS.DLSDEP(k, 1) || d > DLS.DLSDEP(k, n)) return 0.0;
    int m = 2;
    while (m < n && DLS.DLSDEP(k, m) <= d) ++m;
    const double d0 = DLS.DLSDEP(k, m - 1), d1 = DLS.DLSDEP(k, m);
    const double v0 = DLS.DLSVAL(k, m - 1), v1 = DLS.DLSVAL(k, m);
    if (d1 == d0) return v1;
    return v0 + (d - d0) * (v1 - v0) / (d1 - d0);
}

// Adds entry e of case c, scaled by s, to pile p.
void loadPile(int c, int e, double s, int p) {
    const int set = PILE.PSETNO(p);
    const int ninc = PILESET.NINC(set);
    const double h = PILESET.PLEN(set) / ninc;
    const bool global = LCDL.DLAXIS(c, e) != 0;
    const bool plane = CTLIN.ANTYPE == 2;
    const bool lump = global && LCOPT(c, 7) == 1;
    const double fy = LCDL.DLFACY(c, e) * s, fz = LCDL.DLFACZ(c, e) * s;
    WRKNODE.DLNNODE(p) = ninc + 1;
    double axialAbove = 0.0;
    for (int l = 1; l <= ninc + 1; ++l) {
        const double d = (l - 1) * h;
        const double qy = setValue(LCDL.DLSETY(c, e), d) * fy;
        const double qz = plane ? 0.0 : setValue(LCDL.DLSETZ(c, e), d) * fz;
        WRKNODE.DLNDEPTH(l, p) = d;
        double axial = 0.0;
        if (!global) {
            WRKNODE.DLNODEY(l, p) += qy;
            WRKNODE.DLNODEZ(l, p) += qz;
        } else if (!plane) {
            // Global Y and Z loads resolved onto the pile's local axes through its three angles.
            const double a = PILE.ALPHA(p), b = PILE.BETA(p), t = PILE.THETA(p);
            const double w1 = std::sin(b) * (std::cos(a) * qy + std::sin(a) * qz);
            const double w2 = std::cos(a) * qz - std::sin(a) * qy;
            WRKNODE.DLNODEY(l, p) += std::cos(t) * w1 + std::sin(t) * w2;
            WRKNODE.DLNODEZ(l, p) += -std::sin(t) * w1 + std::cos(t) * w2;
            axial = std::cos(b) * (std::cos(a) * qy + std::sin(a) * qz);
        } else {
            const double phi = HALFPI - PILE.BATTER(p);
            WRKNODE.DLNODEY(l, p) += qy * std::sin(phi);
            axial = qy * std::cos(phi);
        }
        // The axial part over each increment, by the trapezoid rule, goes to the pile head.
        if (lump && l > 1) {
            WRKNODE.DLAXFLAG = 1;
            WRKNODE.PAXHEAD(p) += (axialAbove + axial) * h / 2.0;
        }
        axialAbove = axial;
    }
}

}  // namespace

void DLPILE(int c, double s) {
    RUNCONST.PIWORD = PI;
    for (int e = 1; e <= LCCNT(c, 2); ++e) {
        const int a = LCDL.DLPIL1(c, e);
        const int b = LCDL.DLPIL2(c, e) == 0 ? a : LCDL.DLPIL2(c, e);
        const int first = std::min(a, b), last = std::max(a, b);
        int step = LCDL.DLPINC(c, e);
        if (step == 0) step = last - first;
        if (step == 0) step = 1;
        for (int p = first; p <= last; p += step) {
            if (p <= 0) break;
            loadPile(c, e, s, p);
        }
    }
}

void DLCASE(int c) {
    WRKNODE.DLAXFLAG = 0;
    clearNodeLoads();
    DLPILE(c, LCREAL(c, 5));
}

void DLCOMB(int m) {
    WRKNODE.DLAXFLAG = 0;
    clearNodeLoads();
    for (int t = 1; t <= LCBCNT(m, 1); ++t) {
        const int c = LCBLST.LCBCASE(m, t);
        DLPILE(c, LCREAL(c, 5) * LCBLST.LCBFAC(m, t));
    }
}

void DLCLEAR() { clearNodeLoads(); }

}  // namespace kaldo
