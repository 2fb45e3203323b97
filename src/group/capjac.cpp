// The reduction-factor term of the group stiffness.
//
// The p-multipliers of closely spaced piles depend on the direction in which the cap moves: a pile
// that leads its neighbours along Y resists more than one that trails them, and a movement turning from
// Y towards Z weighs the Z factors more. The pile stiffness of STIFF holds the multipliers fixed; late in
// a load step, when the Newton iteration has not settled, the solution adds the derivative of the group
// force vector taken with the multipliers following the movement. Each displaced state of the cap gets
// the multipliers of its own direction (GRPRFDIR) before its forces are summed (FVEC).

#include "group/centraldiff.h"
#include "group/group.h"
#include "pile/pile.h"

namespace kaldo {

void CAPJAC(Mat6& K, const Vec6& U, const Vec6& DU, const Vec6& P, int IT, int MODE, bool PT, int& status) {
    double h = 0.0, hr = 0.0;
    headDifferenceSteps(DU, IT, MODE, h, hr);

    // Twelve displaced states, the forward ones first, one component at a time; each with the multipliers
    // of its own direction of movement. All run whatever status becomes; the caller judges it. The
    // multipliers in effect stay those of the last state (U less the rotation step about Z): the solution
    // recomputes them for its next force evaluation, and its final passes use them as they are.
    group::centralDifferences(K, U, h, hr, [&](Vec6& F, const Vec6& Uj) {
        GRPRFDIR(Uj, P, IT, PT);
        FVEC(F, Uj, status);
    });
}

}  // namespace kaldo
