// Conversion of the input to internal units, once, right after reading. English (and generic) input
// gives coordinates and depths in feet, unit weights in pounds per cubic foot and stresses in pounds
// per square foot; the engine works in inches and pounds. SI input gives coordinates in metres but the
// cross-section dimensions in millimetres; the engine works in metres and kilonewtons. Every value not
// named here (forces, moments, moduli, curve points, multipliers) is taken as read.
#include <algorithm>

#include "input/readin.h"
#include "model/blocks.h"
#include "services/ucv.h"

namespace kaldo {

namespace {

// The entries 1..n of a table of the given capacity. The reader has already refused counts beyond a
// capacity; the bound here only guarantees that no conversion ever reaches past a table.
int upTo(int n, int capacity) { return std::clamp(n, 0, capacity); }

void toInches(double& x) { x = UCVM12(x); }

bool planeRun() { return CTLIN.ANTYPE == 2; }

void convertCap() {
    toInches(CAPIN.CAPLY);
    toInches(CAPIN.CAPWZ);
    toInches(CAPIN.CAPTX);
    toInches(CAPIN.CAPDEQ);
    CAPIN.CAPWGIVEN = CAPIN.CAPWZ;
    toInches(CAPFLX.CENTY);
    toInches(CAPFLX.CENTZ);
}

// Points of application of the concentrated loads and the point of specified values: X and Y in the
// plane, X, Y and Z in three dimensions.
void convertLoadPoints() {
    const int axes = planeRun() ? 2 : 3;
    for (int c = 1; c <= upTo(LCDEF.NLC, MAXLC); ++c) {
        for (int j = 1; j <= upTo(LCCNT(c, 1), MAXCL); ++j)
            for (int a = 1; a <= axes; ++a) toInches(LCCL.CLOAD(c, j, 6 + a));
        if (LCSD.SDFLAG(c) > 0)
            for (int a = 1; a <= axes; ++a) toInches(LCSD.SDLOC(c, a));
    }
}

void convertDistributedSets() {
    for (int s = 1; s <= upTo(DLS.NSETS, MAXDLSET); ++s)
        for (int p = 1; p <= upTo(DLS.NPTS(s), MAXDLPT); ++p) toInches(DLS.DLSDEP(s, p));
}

// Head positions, the ground surface below each head and the plane row spacing; the working pile
// table gets one entry per arrangement row.
void convertArrangement() {
    if (planeRun()) {
        for (int r = 1; r <= upTo(GRPIN2.NROW, MAXPILE); ++r) {
            toInches(GRPIN2.GRP2PRP(r, 2));  // spacing of the piles across the plane
            toInches(GRPIN2.GRP2GEO(r, 1));  // head X
            toInches(GRPIN2.GRP2GEO(r, 2));  // head Y
            toInches(GRPIN2.GRP2GEO(r, 4));  // ground surface
        }
        PILE.NPILES = GRPIN2.NROW;
    } else {
        for (int r = 1; r <= upTo(GRPIN3.NROW, MAXPILE); ++r) {
            toInches(GRPIN3.GRP3GEO(r, 1));  // head X
            toInches(GRPIN3.GRP3GEO(r, 2));  // head Y
            toInches(GRPIN3.GRP3GEO(r, 3));  // head Z
            toInches(GRPIN3.GRP3GEO(r, 7));  // ground surface
        }
        PILE.NPILES = GRPIN3.NROW;
    }
}

void convertPropertySets() {
    const int sets = upTo(PILESETIN.NPROP, MAXPROP);
    for (int s = 1; s <= sets; ++s) toInches(PILESETIN.PLEN(s));
    for (int s = 1; s <= sets; ++s)
        for (int k = 1; k <= upTo(PILESETIN.NSECT(s), MAXPSECT); ++k) {
            toInches(PILESETIN.PSFROM(s, k));
            toInches(PILESETIN.PSTO(s, k));
        }
}

// SI cross sections are given in millimetres: dimensions to metres, areas to square metres, moments
// of inertia to metres to the fourth. English sections are already in inches.
void convertSections() {
    auto sr = [](int t, int i) -> double& { return SECTIN.SECTSR(t, i); };
    auto nr = [](int t, int i) -> double& { return SECTIN.SECTNR(t, i); };
    for (int t = 1; t <= upTo(SECTIN.NSEC, MAXSEC); ++t) {
        // Dimensions of the top (1-8) and of the bottom (19-26).
        for (int i = 1; i <= 8; ++i) {
            sr(t, i) = UCVD1E3(sr(t, i));
            sr(t, 18 + i) = UCVD1E3(sr(t, 18 + i));
        }
        // The wall thickness of a designated pipe (millimetres) as well: only the echo reads it, and the
        // echo converts it back like every other section dimension.
        sr(t, 37) = UCVD1E3(sr(t, 37));
        // Areas and moments of inertia, top and bottom. A plane section bends about one axis only: the
        // second moment of inertia (12 and 30) is left as read.
        for (int top : {0, 18}) {
            sr(t, top + 10) = UCVD1E6(sr(t, top + 10));
            sr(t, top + 11) = UCVD1E12(sr(t, top + 11));
            if (!planeRun()) sr(t, top + 12) = UCVD1E12(sr(t, top + 12));
        }
        // The nonlinear section's dimensions, areas of reinforcement and cover lengths.
        for (int i = 1; i <= 11; ++i) nr(t, i) = UCVD1E3(nr(t, i));
        nr(t, 17) = UCVD1E6(nr(t, 17));
        nr(t, 18) = UCVD1E3(nr(t, 18));
        nr(t, 19) = UCVD1E3(nr(t, 19));
        nr(t, 22) = UCVD1E6(nr(t, 22));
        nr(t, 23) = UCVD1E3(nr(t, 23));
        nr(t, 24) = UCVD1E3(nr(t, 24));
        // Strand diameter (millimetres) and strand area (square millimetres): converted like every other
        // dimension and area, so that the echo, which converts them back, shows them as given.
        nr(t, 26) = UCVD1E3(nr(t, 26));
        nr(t, 27) = UCVD1E6(nr(t, 27));
        nr(t, 28) = UCVD1E3(nr(t, 28));
        // Positions of the rebars and strands.
        for (int e = 1; e <= MAXSECLIST; ++e)
            for (int k = 1; k <= 2; ++k) {
                SECTIN.SECTREBAR(t, e, k) = UCVD1E3(SECTIN.SECTREBAR(t, e, k));
                SECTIN.SECTSTRAND(t, e, k) = UCVD1E3(SECTIN.SECTSTRAND(t, e, k));
            }
    }
}

// Layer limits in feet; unit weight per cubic foot; strength, unit side friction and unit tip
// resistance per square foot. The rock criteria, vuggy limestone (code 6) and weak rock (code 9), take
// their uniaxial compressive strength as given, in internal units.
void convertSoils() {
    for (int l = 1; l <= upTo(SOILIN.NLAYIN, MAXLAYER); ++l) {
        toInches(SOILIN.XTOPIN(l));
        toInches(SOILIN.XBOTIN(l));
        const int code = SOILIN.LCRITIN(l);
        for (int row = 1; row <= 2; ++row) {
            double& gamma = SOILIN.SOILVAL(l, row, 1);
            double& strength = SOILIN.SOILVAL(l, row, 2);
            double& fmax = SOILIN.SOILVAL(l, row, 8);
            double& qmax = SOILIN.SOILVAL(l, row, 9);
            gamma = UCVD1728(gamma);
            if (code != 6 && code != 9) strength = UCVD144(strength);
            fmax = UCVD144(fmax);
            qmax = UCVD144(qmax);
        }
    }
}

void convertRequestsAndCurves() {
    if (CTLIN.KPYOP == 1)
        for (int i = 1; i <= upTo(PYPRT.NPYPRT, MAXPYPRT); ++i) toInches(PYPRT.PYPX(i));
    if (CTLIN.KUSERPY == 1) {
        PYUSR.NPYSET = PYUSRIN.NPYSETIN;
        for (int s = 1; s <= upTo(PYUSRIN.NPYSETIN, MAXPYSET); ++s)
            for (int c = 1; c <= upTo(PYUSRIN.PYNCRVIN(s), MAXPYCRV); ++c) toInches(PYUSRIN.PYXIN(s, c));
    }
    if (CTLIN.KRFDEP == 1)
        for (int s = 1; s <= upTo(RFD.NRFSET, MAXRFSET); ++s)
            for (int p = 1; p <= upTo(RFD.NRFD(s), MAXRFPT); ++p) toInches(RFD.RFDX(s, p));
    if (CTLIN.KSMOV == 1)
        for (int m = 1; m <= upTo(SMOV.NSMOV, MAXSMOV); ++m) toInches(SMOV.SMX(m));
}

}  // namespace

void CONVIN() {
    convertCap();
    convertLoadPoints();
    convertDistributedSets();
    convertArrangement();
    convertPropertySets();
    convertSections();
    convertSoils();
    convertRequestsAndCurves();
}

}  // namespace kaldo
