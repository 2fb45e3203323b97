// The free-field soil movement profile as each pile sees it: the points of SMOV measured from the
// pile head and the movement resolved onto the pile's own lateral axes. Rewritten by the lateral
// solver of a pile at the start of every solve; each pile owns its row.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct SmovPile {
    // Vertical distance of point m below the head of pile p (SMX(m) less the head X).
    PileArr2<double, 1, MAXPILE + 1, 1, MAXSMOV> SMPX;
    // The input movement of point m along the pile's local y and z (plane: y only).
    PileArr2<double, 1, MAXPILE + 1, 1, MAXSMOV> SMPY, SMPZ;
};
inline SmovPile SMPROF;

}  // namespace kaldo
