// The transfer matrices of one pile between the cap origin, the pile head in global axes and the pile's
// own axes.
#include <cmath>

#include "model/piles.h"
#include "pile/pile.h"

namespace kaldo {

namespace {

// Element (i, j) of a 6 x 6 matrix stored by columns.
double& at(Mat6& m, int i, int j) { return m[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]; }

}  // namespace

void PILETRAN(int p, Mat6& TF, Mat6& TD, Mat6& TL, Mat6& TG) {
    const double x = PILE.HEADX(p), y = PILE.HEADY(p), z = PILE.HEADZ(p);
    const double sa = std::sin(PILE.ALPHA(p)), ca = std::cos(PILE.ALPHA(p));
    const double sb = std::sin(PILE.BETA(p)), cb = std::cos(PILE.BETA(p));
    const double st = std::sin(PILE.THETA(p)), ct = std::cos(PILE.THETA(p));

    // Column j of R is local axis j in global axes; axis 1 runs along the pile.
    const double R[3][3] = {
        {sb, -cb * ct, cb * st},
        {ca * cb, ca * sb * ct - sa * st, -(ca * sb * st + sa * ct)},
        {sa * cb, ca * st + sa * sb * ct, ca * ct - sa * sb * st},
    };

    TF.fill(0.0);
    TD.fill(0.0);
    TL.fill(0.0);
    TG.fill(0.0);
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            const double r = R[i - 1][j - 1];
            at(TL, i, j) = at(TL, i + 3, j + 3) = r;
            at(TG, j, i) = at(TG, j + 3, i + 3) = r;
        }
    }

    // The head translation is the cap translation plus the cap rotation crossed with the head position;
    // the moment at the origin is the head moment plus the head position crossed with the head force.
    const double C[3][3] = {{0.0, z, -y}, {-z, 0.0, x}, {y, -x, 0.0}};
    for (int i = 1; i <= 6; ++i) at(TD, i, i) = at(TF, i, i) = 1.0;
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            at(TD, i, j + 3) = C[i - 1][j - 1];
            at(TF, j + 3, i) = C[i - 1][j - 1];
        }
    }
}

}  // namespace kaldo
