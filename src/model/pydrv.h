// Per-pile soil bookkeeping of the lateral soil springs: which nodes of a pile lie in each soil layer,
// and the values the p-y generators keep from one call to the next.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/soils.h"

namespace kaldo {

// Indexed (pile, layer): piles 1..NPILES and the cap pseudo-pile NPILES + 1, layers 1..NLAYER (the
// table keeps the 40 layer slots of the layer table). Each pile routine writes only its own pile's
// entries, so the parallel pile loops need no lock here.
struct PyDrv {
    // While the generators run, the X of the pile's ground surface (HEADXW + GROUND); after the p-y
    // evaluation of the pile returns, the distance from the head node down to the ground surface.
    Arr<double, 1, MAXPILE + 1> GSURFP;
    // Unmultiplied soil reaction at the head node evaluated with the cap width on the cap pass (embedded
    // cap with passive resistance); the embedded-cap routines sum it over the piles.
    Arr<double, 1, MAXPILE + 1> PCAPLV;
    // Integrated ultimate resistance of each layer from its top node down to the last node evaluated:
    // the resistance the layers above a layer build up, from which its equivalent depth follows.
    PileArr2<double, 1, MAXPILE + 1, 1, LAYSLOTS> PUINT;
    // Equivalent depth of the top of each layer (below the ground surface, internal length); 0 until
    // the first evaluation computes it, then kept for the rest of the run.
    PileArr2<double, 1, MAXPILE + 1, 1, LAYSLOTS> EQDEP;
    // First and last node of the pile in each layer; LNFIRST 0 marks a layer without nodes of the pile.
    PileArr2<int, 1, MAXPILE + 1, 1, LAYSLOTS> LNFIRST, LNLAST;
};
inline PyDrv PYDRV;

}  // namespace kaldo
