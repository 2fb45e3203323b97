// Per-pile p- and y-multipliers: piles 1..2500 and the cap pseudo-pile.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct PileFac {
    Arr<double, 1, MAXPILE + 1> PMUL, YMUL;    // in effect
    Arr<double, 1, MAXPILE + 1> PMULZ, YMULZ;  // for movement along Z
    Arr<double, 1, MAXPILE + 1> PMULY, YMULY;  // for movement along Y
};
inline PileFac PILEFAC;

}  // namespace kaldo
