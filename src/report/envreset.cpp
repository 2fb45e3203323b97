// Envelope resets: before each series of analyses that forms an envelope (the load cases, then the
// combinations) the minimum and maximum stores are cleared for the piles of the model and the cap.
#include <omp.h>

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "io/zeros.h"
#include "model/ctlpar.h"
#include "model/blocks.h"
#include "model/results.h"
#include "report/report.h"
#include "services/threads.h"

namespace kaldo {

namespace {

void clearCap(EnvStore& e, std::initializer_list<int> slots) {
    for (int k : slots) e.ENVCAP(k) = 0.0;
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int k = from; k <= to; ++k) v.push_back(k);
    return v;
}

}  // namespace

// Each pile's entries are together, piles in order: piles 1..n are the first n piles' worth of a table.
// The threads of a region clear a run of neighbouring piles each, so that a large table is written
// (and, the first time, brought in) on every thread the run has.
void clearPiles(double* table, std::size_t perPile, int piles) {
    if (piles < 1) return;
    char* first = reinterpret_cast<char*>(table);
    const std::size_t bytes = perPile * sizeof(double);
    const int threads = regionThreads(CTLPAR.NTHRUSR, piles, false);
    io::adviseLargePages(first, static_cast<std::size_t>(piles) * bytes);
#pragma omp parallel num_threads(threads)
    {
        const long long n = omp_get_num_threads(), m = omp_get_thread_num();
        const std::size_t from = static_cast<std::size_t>(piles * m / n);
        const std::size_t to = static_cast<std::size_t>(piles * (m + 1) / n);
        if (to > from) std::memset(first + from * bytes, 0, (to - from) * bytes);
    }
}

void clearAlongPile(AlongPileTable& llp, int piles) {
    clearPiles(&llp(1, 1, 1), static_cast<std::size_t>(NODESLOTS) * NLLPQTY, piles);
}

void clearPileTables(PileTopTable& top, AlongPileTable& llp, int piles) {
    clearPiles(&top(1, 1), NTOPROW, piles);
    clearAlongPile(llp, piles);
}

// Slots of higher piles, the cap pseudo-pile among them, keep their values.
void ENVRESET() {
    for (EnvStore* e : {&ENVMIN, &ENVMAX}) {
        clearCap(*e, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        clearPileTables(e->TOP, e->LLP, PILE.NPILES);
    }
}

// The plane stores: the plane loads and displacements of the cap, the pile-top rows a plane pile stores
// (1-7 and 14-20) and every along-pile quantity, all of which the plane writer reads; no value of an
// earlier run or series is left where the new series' envelope is taken from.
void ENVRST2D() {
    std::vector<int> rows = range(1, 7);
    for (int r = 14; r <= 20; ++r) rows.push_back(r);
    for (EnvStore* e : {&ENVMIN, &ENVMAX}) {
        clearCap(*e, {1, 2, 3, 7, 8, 9});
        for (int p = 1; p <= PILE.NPILES; ++p)
            for (int r : rows) e->TOP(p, r) = 0.0;
        clearAlongPile(e->LLP, PILE.NPILES);
    }
}

}  // namespace kaldo
