// The embedded pile cap's passive resistance: the soil in front of a cap that stands below the ground
// surface pushes back on it as the cap moves sideways.
//
// The pressure on the cap's face grows linearly with depth below the mean ground surface of the piles
// and reaches, at the level of the pile heads (the cap's underside), the mean soil reaction that the
// lateral soil routines evaluated there with the cap width during each pile's analysis. When the ground
// lies above the cap top the diagram is a trapezoid over the cap thickness, otherwise a triangle from the
// ground down to the pile heads. The resultant opposes the horizontal movement of the cap, shared between
// Y and Z by the ratio of the two movements, and acts at the diagram's centroid.
#include <cmath>

#include "group/centraldiff.h"
#include "group/group.h"
#include "model/blocks.h"
#include "pile/pile.h"

namespace kaldo {

namespace {

// The mean ground surface must stand this far above the pile heads (single precision 1e-6) for any
// pressure to act.
const double GROUND_ABOVE = static_cast<double>(1e-6f);
// A horizontal movement no larger than this (single precision 1e-14) meets no resistance.
const double NO_MOVEMENT = static_cast<double>(1e-14f);

// The ground surface of pile i measured down from its head, as its last analysis left it. The layer
// springs leave that distance itself; a pile on its own user p-y curves leaves the ground's X, from
// which its head X is taken off so that both kinds of pile enter the mean alike.
double groundBelowHead(int i) {
    const double g = PYDRV.GSURFP(i);
    if (CTLIN.KUSERPY == 1 && PILE.PYCRV(i) > 0) return g - PILE.HEADXW(i);
    return g;
}

}  // namespace

PassiveDiagram passiveDiagram(double groundMean, double capLevel, double thickness, double headX) {
    PassiveDiagram d;
    d.position = headX;
    if (!(groundMean < -GROUND_ABOVE)) return d;
    double e = std::fabs(groundMean);
    double f = 0.0;
    if (e > thickness) {
        // The ground stands above the cap top: the pressure there is already f.
        f = (e - thickness) * capLevel / e;
        e = thickness;
    }
    d.height = e;
    d.top = f;
    d.force = (capLevel + f) * 0.5 * e;
    // Minus the first moment of the diagram about the origin: the rectangle of f at half the height above
    // the pile heads, the triangle of capLevel - f at a third of it.
    d.moment = ((0.5 * e - headX) * f + 0.5 * (capLevel - f) * (e / 3.0 - headX)) * e;
    if (d.force != 0.0) d.position = -d.moment / d.force;
    return d;
}

void capPassiveMeans() {
    const int n = PILE.NPILES;
    double g = 0.0, p = 0.0;
    for (int i = 1; i <= n; ++i) {
        g += groundBelowHead(i);
        p += PYDRV.PCAPLV(i);
    }
    PYMODE.CAPGMEAN = n > 0 ? g / n : 0.0;
    PYMODE.CAPPMEAN = n > 0 ? p / n : 0.0;
}

void capPassiveForce(Vec6& F, const Vec6& U) {
    const PassiveDiagram d = passiveDiagram(PYMODE.CAPGMEAN, PYMODE.CAPPMEAN, CAPIN.CAPTX, PILE.HEADX(PILE.NPILES));
    F.fill(0.0);
    const double uy = std::fabs(U[1]), uz = std::fabs(U[2]);
    if (!(std::fabs(std::sqrt(U[1] * U[1] + U[2] * U[2])) > NO_MOVEMENT)) return;
    // The shares of Y and Z follow the ratio of the two movements; each force opposes its movement.
    const double r = uy / (uy + uz);
    const double sY = U[1] >= 0.0 ? -1.0 : 1.0;
    const double sZ = U[2] >= 0.0 ? -1.0 : 1.0;
    F[1] = d.force * r * sY;
    F[2] = d.force * (1.0 - r) * sZ;
    F[4] = d.moment * (1.0 - r) * sZ;
    F[5] = -d.moment * r * sY;
}

void CAPPASS(Vec6& F, const Vec6& U, int& status) {
    // The piles' user p-y curves read the cap's reaction at the cap's own movement: it is set before
    // the piles are analysed, so that the cap-level values belong to U.
    const double d = std::sqrt(U[1] * U[1] + U[2] * U[2]);
    PYMODE.CAPHDISP = d;
    Vec6 scratch{};
    FVEC(scratch, U, status);
    capPassiveMeans();
    capPassiveForce(F, U);
}

void CAPPSTF(Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status) {
    double h = 0.0, hr = 0.0;
    headDifferenceSteps(DU, IT, MODE, h, hr);
    group::centralDifferences(K, U, h, hr, [&](Vec6& F, const Vec6& Uj) { CAPPASS(F, Uj, status); });
}

}  // namespace kaldo
