// The working pile table: one slot per pile, then one for the cap taken as a pseudo-pile.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct PileTable {
    int NPILES = 0;  // piles of the model (plane: rows of piles)
};
inline PileTable PILE;

}  // namespace kaldo
