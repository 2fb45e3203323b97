// Envelope resets: before each series of analyses that forms an envelope (the load cases, then the
// combinations) the minimum and maximum stores are cleared for the piles of the model and the cap.
#include <cstddef>
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

// Each pile's entries are together, piles in order: piles 1..n are the first n piles' worth of a table,
// cleared on every thread the run has.
void clearPiles(double* table, std::size_t perPile, int piles) {
    if (piles < 1) return;
    io::zeroRange(table, static_cast<std::size_t>(piles) * perPile * sizeof(double),
                  regionThreads(CTLPAR.NTHRUSR, piles, false));
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
