// The force vector of the plane model: one parallel loop over the piles.
//
// As in three dimensions, every pile's contribution goes to its own slot inside the loop, and the slots
// are added in pile order after it, so the sum is the same to the last bit whatever the number of
// threads. Each pile works on its own copy of the run status; after the loop the caller's word takes the
// first failure in pile order. A fault thrown inside a pile's analysis becomes that pile's failure.
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "group/group.h"
#include "model/ctlpar.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "pile/pile.h"
#include "services/status.h"
#include "services/threads.h"

namespace kaldo {

namespace {

// The forces that the cap puts on pile i at the cap displacement U, moved to the origin.
void pileForces(int i, const Vec6& U, Vec3& force, PileOutcome& o) {
    const Mat3 A = planePileMatrix(i);
    // The head displacement in the pile's axes: the transpose of A times U.
    Vec3 UL{};
    for (std::size_t r = 0; r < 3; ++r) UL[r] = A[3 * r] * U[0] + A[3 * r + 1] * U[1] + A[3 * r + 2] * U[2];
    SlotArray axdisp{}, axforce{};
    double P = 0.0;
    AXIAL2D(i, P, UL, axdisp, axforce, o.status);
    P *= PILE.AXFACT(i);
    NODE2D(i, o.status);
    double V = 0.0, M = 0.0;
    LLPILE2D(i, UL[1], UL[2], P, V, M, o.status, UL, A, axdisp, axforce);
    if (o.status != ST_OK) return;
    const double m = PILE.PMULT(i);
    const Vec3 FL{m * P, m * V, m * M};
    for (std::size_t r = 0; r < 3; ++r) force[r] = A[r] * FL[0] + A[r + 3] * FL[1] + A[r + 6] * FL[2];
}

}  // namespace

Mat3 planePileMatrix(int p) {
    const double b = PILE.BATTER(p), s = std::sin(b), c = std::cos(b);
    const double x = PILE.HEADXW(p), y = PILE.HEADYW(p);
    return {c, s, x * s - y * c, -s, c, x * c + y * s, 0.0, 0.0, 1.0};
}

void FVEC2D(Vec6& F, const Vec6& U, int& status) {
    F.fill(0.0);
    const int piles = PILE.NPILES;
    const std::size_t count = static_cast<std::size_t>(std::max(piles, 0));
    std::vector<Vec3> force(count, Vec3{});
    std::vector<PileOutcome> outcome(count, PileOutcome{status, nullptr});

    const int threads = SETTHR2D(CTLPAR.NTHRUSR, piles, 0);
    const double t0 = omp_get_wtime();
    // Piles differ in cost (a pile far from the centre, one that fails at once), so the threads take the
    // piles in runs of 16 as they come free instead of a fixed block each; what a pile gives does not
    // depend on the thread that analyses it. Not one at a time: several tables are held with the pile as
    // their first index, so neighbouring piles write into the same cache lines, and threads on
    // neighbouring piles would pass those lines to and fro (one pile at a time cost half again the CPU).
#pragma omp parallel for num_threads(threads) schedule(dynamic, 16)
    for (int i = 1; i <= piles; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        try {
            pileForces(i, U, force[k], outcome[k]);
        } catch (...) {
            outcome[k].status = ST_INTERNAL;
            outcome[k].fault = std::current_exception();
            force[k] = Vec3{};
        }
    }
    const double elapsed = omp_get_wtime() - t0;
    (RUNSTATE.RUNPASS != PASS_ITERATING ? RUNTIME.RUNTPRT : RUNTIME.RUNTPAR) += elapsed;

    // The piles that succeeded, added in pile order.
    for (std::size_t k = 0; k < count; ++k) {
        if (outcome[k].status != ST_OK) continue;
        for (std::size_t r = 0; r < 3; ++r) F[r] += force[k][r];
    }
    settlePileOutcomes(status, outcome);
}

}  // namespace kaldo
