// Moment-curvature sets: the user sets, then the sets of the nonlinear cross sections.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Each set holds curves at a level of axial load; each curve holds points (moment, curvature in radians
// per internal length). Values internal, as read.
struct MphiTable {
    int NMPHI = 0;                                    // sets in the table
    Arr<int, 1, MAXMPSET> MPNCRV;                     // curves of a set
    Arr2<double, 1, MAXMPSET, 1, MAXMPCRV> MPAXL;     // axial load of a curve
    Arr2<int, 1, MAXMPSET, 1, MAXMPCRV> MPNPT;        // points of a curve
    Arr3<double, 1, MAXMPSET, 1, MAXMPCRV, 1, MAXMPPT> MPMOM, MPPHI;
};
inline MphiTable MPHI;

}  // namespace kaldo
