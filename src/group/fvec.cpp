// The group force vector and group stiffness of the three-dimensional model: one parallel loop over the
// piles each.
//
// Every pile's contribution goes to its own slot inside the loop, and the slots are added in pile order
// after it, so the sums are the same to the last bit whatever the number of threads. Each pile works on
// its own copy of the run status; after the loop the caller's word takes the first failure in pile
// order. A fault thrown inside a pile's analysis is caught where it happens and becomes that pile's
// failure: nothing leaves the parallel region.
#include <omp.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "group/group.h"
#include "model/ctlpar.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "model/vectors.h"
#include "pile/pile.h"
#include "services/linalg.h"
#include "services/status.h"
#include "services/threads.h"

namespace kaldo {

void settlePileOutcomes(int& status, const std::vector<PileOutcome>& outcome) {
    if (status != ST_OK) return;
    for (std::size_t k = 0; k < outcome.size(); ++k) {
        const PileOutcome& o = outcome[k];
        if (o.status == ST_OK) continue;
        if (!o.fault) {
            status = o.status;
            return;
        }
        std::string what = "unknown fault";
        try {
            std::rethrow_exception(o.fault);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        reportFault(status, ST_INTERNAL,
                    "internal error in the analysis of pile " + std::to_string(k + 1) + ": " + what);
        return;
    }
}

namespace {

// The pile loop of the force vector and the stiffness: body(i, TF, TD, head, slot, status) analyses pile
// i at its head displacement (the cap displacement moved to the head by TD) into the pile's own slot.
// Each pile starts from the caller's status: a failure already set suppresses every contribution. A
// fault thrown inside a pile's analysis becomes that pile's failure and leaves its slot empty. Returns
// the wall-clock time of the loop.
template <class Slot, class Body>
double pileLoop(const Vec6& cap, int status, std::vector<Slot>& slot, std::vector<PileOutcome>& outcome, Body body) {
    const int piles = PILE.NPILES;
    const std::size_t count = static_cast<std::size_t>(std::max(piles, 0));
    slot.assign(count, Slot{});
    outcome.assign(count, PileOutcome{status, nullptr});

    const int threads = regionThreads(CTLPAR.NTHRUSR, piles, false);
    const double t0 = omp_get_wtime();
    // Piles differ in cost (a pile far from the centre, one that fails at once), so the threads take the
    // piles in runs of 16 as they come free instead of a fixed block each; what a pile gives does not
    // depend on the thread that analyses it. Not one at a time: several tables are held with the pile as
    // their first index, so neighbouring piles write into the same cache lines, and threads on
    // neighbouring piles would pass those lines to and fro (one pile at a time cost half again the CPU).
#pragma omp parallel for num_threads(threads) schedule(dynamic, 16)
    for (int i = 1; i <= piles; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        PileOutcome& o = outcome[k];
        try {
            Mat6 TF{}, TD{}, TL{}, TG{};
            PILETRAN(i, TF, TD, TL, TG);
            Vec6 head{};
            MATV6(head, TD, cap, 1);
            body(i, TF, TD, head, slot[k], o.status);
        } catch (...) {
            o.status = ST_INTERNAL;
            o.fault = std::current_exception();
            slot[k] = Slot{};
        }
    }
    return omp_get_wtime() - t0;
}

// The slots added in pile order, so the sum is the same whatever the number of threads: every pile's,
// or only those of the piles whose analysis succeeded.
template <class Slot>
Slot sumInPileOrder(const std::vector<Slot>& slot, const std::vector<PileOutcome>& outcome, bool succeededOnly) {
    Slot sum{};
    for (std::size_t k = 0; k < slot.size(); ++k) {
        if (succeededOnly && outcome[k].status != ST_OK) continue;
        for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += slot[k][c];
    }
    return sum;
}

}  // namespace

void FVEC(Vec6& F, const Vec6& U, int& status) {
    std::vector<Vec6> slot;
    std::vector<PileOutcome> outcome;
    beginForceRound();
    RUNTIME.RUNTPAR += pileLoop(U, status, slot, outcome,
                                [](int i, const Mat6& TF, const Mat6&, const Vec6& head, Vec6& out, int& st) {
                                    Vec6 FP{};
                                    PILEFRCKEEP(i, FP, head, st);
                                    // The head forces moved to the cap origin.
                                    if (st == ST_OK) MATV6(out, TF, FP, 1);
                                });
    F = sumInPileOrder(slot, outcome, true);
    settlePileOutcomes(status, outcome);
}

void STIFF(Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status) {
    // Every pile's stiffness formed by the force vector's loop at this displacement with these steps:
    // their sum in pile order, without a loop of its own.
    if (status == ST_OK) {
        Mat6 sum{};
        bool all = PILE.NPILES > 0;
        for (int i = 1; all && i <= PILE.NPILES; ++i) {
            Mat6 Kp{};
            all = keptCapStiffness(i, U, DU, IT, MODE, Kp);
            if (all)
                for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += Kp[c];
        }
        if (all) {
            K = sum;
            return;
        }
    }
    std::vector<Mat6> slot;
    std::vector<PileOutcome> outcome;
    const double elapsed =
        pileLoop(U, status, slot, outcome, [&](int i, const Mat6& TF, const Mat6& TD, const Vec6& head, Mat6& out, int& st) {
            Mat6 KP{};
            PILESTF(i, KP, head, DU, IT, MODE, st);
            // The head stiffness moved to the cap origin.
            out = product6(TF, product6(KP, TD));
        });
    // The result passes book their stiffness evaluations as print time.
    (RUNSTATE.RUNPASS != PASS_ITERATING ? RUNTIME.RUNTPRT : RUNTIME.RUNTPAR) += elapsed;
    // Every pile's matrix counts, whatever its status.
    K = sumInPileOrder(slot, outcome, false);
    settlePileOutcomes(status, outcome);
}

}  // namespace kaldo
