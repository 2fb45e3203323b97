// The forces of one pile on the cap for a head displacement, and the pile-head stiffness by central
// differences of them.
#include <cmath>

#include "model/input.h"
#include "model/piles.h"
#include "pile/pile.h"
#include "services/status.h"

namespace kaldo {

namespace {

// y = the 3 x 3 block of a column-stored 6 x 6 matrix m (rows and columns 1-3) times the triple x, for
// the translations (offset 0) and again for the rotations (offset 3): the block repeats on the diagonal.
Vec6 blockRotate(const Mat6& m, const Vec6& x) {
    Vec6 y{};
    for (int o : {0, 3}) {
        for (int i = 0; i < 3; ++i) {
            double s = 0.0;
            for (int j = 0; j < 3; ++j)
                s += m[static_cast<std::size_t>(i + o + (j + o) * 6)] * x[static_cast<std::size_t>(j + o)];
            y[static_cast<std::size_t>(i + o)] = s;
        }
    }
    return y;
}

}  // namespace

void PILEFRC(int p, Vec6& F, const Vec6& U, int& status) {
    Mat6 TF{}, TD{}, TL{}, TG{};
    PILETRAN(p, TF, TD, TL, TG);
    F.fill(0.0);

    // The head displacement in the pile's own axes.
    const Vec6 UL = blockRotate(TG, U);

    // Axial head force (compression positive); the status of the axial routine is left for LLPILE's
    // check below, as every failure of the pile ends in the same zero forces.
    SlotArray axdisp{}, axforce{};
    double P = 0.0;
    AXIALRES(p, P, UL, axdisp, axforce, status);
    P *= PILE.AXFACT(p);

    // A head pinned in either plane cannot hold a torque.
    double T = 0.0;
    TORSRES(p, T, UL);
    if (PILE.CONNZ(p) == 1 || PILE.CONNY(p) == 1) T = 0.0;

    NODE(p, status);

    double Hy = 0.0, Hz = 0.0, My = 0.0, Mz = 0.0;
    LLPILE(p, UL[1], -UL[5], UL[2], UL[4], P, T, Hy, Hz, My, Mz, status, UL, TL, axdisp, axforce);
    if (status != ST_OK) return;

    // The pile's forces on the cap are opposite to the cap's forces on the pile head; the moment of the
    // first lateral plane turns about local axis 3 and that of the second about axis 2 with the opposite
    // sense, as the head slopes of the two planes are taken.
    const double m = PILE.PMULT(p);
    const Vec6 FL{-m * P, -m * Hy, -m * Hz, -m * T, m * Mz, -m * My};
    F = blockRotate(TL, FL);
}

void headDifferenceSteps(const Vec6& DU, int IT, int MODE, double& h, double& hr) {
    const double h0 = CTLIN.UNITS == 2 ? 2.539999998986295e-9 : 1.0000000116860974e-7;
    constexpr double SMALL = 9.999999747378752e-5;
    if (MODE == 1) {
        h = h0;
        hr = 9.999999864239723e-12;
    } else if (IT > 2) {
        const double dt = std::sqrt(DU[0] * DU[0] + DU[1] * DU[1] + DU[2] * DU[2]);
        const double dr = std::sqrt(DU[3] * DU[3] + DU[4] * DU[4] + DU[5] * DU[5]);
        h = 100.0 * h0 > dt ? h0 * SMALL : h0;
        hr = dr < 9.999999864239723e-10 ? 9.999999640722308e-14 : 9.999999864239723e-12;
    } else {
        h = h0 * SMALL;
        hr = 9.999999864239723e-12;
    }
}

void PILESTF(int p, Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status) {
    double h = 0.0, hr = 0.0;
    headDifferenceSteps(DU, IT, MODE, h, hr);

    // The evaluation at U itself comes first: it leaves the pile's tables as at the base state.
    Vec6 F{};
    PILEFRC(p, F, U, status);

    Vec6 plus[6]{}, minus[6]{};
    for (int sign : {1, -1}) {
        for (int j = 0; j < 6; ++j) {
            Vec6 Uj = U;
            Uj[static_cast<std::size_t>(j)] += sign * (j < 3 ? h : hr);
            PILEFRC(p, sign > 0 ? plus[j] : minus[j], Uj, status);
        }
    }
    for (int j = 0; j < 6; ++j) {
        const double s = j < 3 ? h : hr;
        for (int i = 0; i < 6; ++i) {
            const std::size_t ii = static_cast<std::size_t>(i);
            K[ii + static_cast<std::size_t>(j) * 6] = 0.5 * (plus[j][ii] - minus[j][ii]) / s;
        }
    }
}

}  // namespace kaldo
