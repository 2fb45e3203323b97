// Envelope resets: before each series of analyses that forms an envelope (the load cases, then the
// combinations) the minimum and maximum stores are cleared for the piles of the model and the cap.
#include <initializer_list>
#include <vector>

#include "model/blocks.h"
#include "model/results.h"
#include "report/report.h"

namespace kaldo {

namespace {

void clearCap(EnvStore& e, std::initializer_list<int> slots) {
    for (int k : slots) e.ENVCAP(k) = 0.0;
}

// Clears pile-top rows and along-pile quantities of piles 1..NPILES in one store. Slots of higher
// piles, the cap pseudo-pile among them, keep their values. The stores hold each pile's entries
// together, so the clear walks pile by pile, each pile's quantities slot by slot: adjacent memory,
// each page touched once (walking pile by pile innermost strides over a whole pile's table per value).
template <class Rows, class Quantities>
void clearPiles(EnvStore& e, const Rows& rows, const Quantities& quantities) {
    const int n = PILE.NPILES;
    for (int p = 1; p <= n; ++p) {
        for (int r : rows) e.TOP(p, r) = 0.0;
        for (int q : quantities)
            for (int s = 1; s <= NODESLOTS; ++s) e.LLP(p, s, q) = 0.0;
    }
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int k = from; k <= to; ++k) v.push_back(k);
    return v;
}

}  // namespace

void ENVRESET() {
    for (EnvStore* e : {&ENVMIN, &ENVMAX}) {
        clearCap(*e, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        clearPiles(*e, range(1, NTOPROW), range(1, NLLPQTY));
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
        clearPiles(*e, rows, range(1, NLLPQTY));
    }
}

}  // namespace kaldo
