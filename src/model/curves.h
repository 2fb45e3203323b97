// Working curve tables: user p-y curves, axial load-settlement and torque-rotation curves.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Generated curves the tables hold: one axial curve per entry of the list of representative piles
// (which may name every pile and the cap slot), and at most 50 torque-rotation curves.
inline constexpr int MAXTZGEN = MAXPILE + 1;
inline constexpr int MAXTQGEN = 50;

// User p-y curves, copied unchanged from the input: per set its curves, each applying at a depth X
// (internal length), with points (y, p) in the order given; y is the interpolation axis.
struct PyUsr {
    int NPYSET = 0;                              // number of sets
    Arr<int, 1, MAXPYSET> PYNCRV;                // curves of a set
    Arr2<int, 1, MAXPYSET, 1, MAXPYCRV> PYNPT;   // points of curve c of set s
    Arr2<double, 1, MAXPYSET, 1, MAXPYCRV> PYX;  // X coordinate at which curve c of set s applies
    Arr3<double, 1, MAXPYSET, 1, MAXPYCRV, 1, MAXCRVPT> PYY, PYP;  // deflection y and resistance p
};
inline PyUsr PYUSR;

// Axial load-settlement curves of the pile heads: head load against head movement (positive down, the
// compression side). The user curves as given; the generated ones from the soil profile under a
// representative pile, uplift branch mirrored onto the negative side, then the origin, then the
// compression branch. A pile selects user curve LSCRV when LSCRV > 0, generated curve -LSCRV otherwise.
struct TzCrv {
    int NTZUSR = 0;                                   // user curves
    Arr<int, 1, MAXUSRCRV> TZNPT;                     // points of user curve k
    Arr2<double, 1, MAXUSRCRV, 1, MAXCRVPT> TZF, TZW; // load and displacement of point p of curve k
    int NTZGEN = 0;                                   // generated curves
    Arr<int, 1, MAXTZGEN> TZGPILE;                    // representative pile of generated curve j
    Arr<int, 1, MAXTZGEN> TZGNPT;                     // points of generated curve j (2n + 1)
    Arr2<double, 1, MAXTZGEN, 1, MAXCRVPT> TZGF, TZGW;  // load and displacement of point p of curve j
};
inline TzCrv TZCRV;

// Torque-rotation curves of the pile heads (three-dimensional runs), the same shape as the axial
// tables: torque against rotation in radians. A pile selects them through TRCRV as through LSCRV.
struct TqCrv {
    int NTQUSR = 0;
    Arr<int, 1, MAXUSRCRV> TQNPT;
    Arr2<double, 1, MAXUSRCRV, 1, MAXCRVPT> TQT, TQR;  // torque and rotation of point p of user curve k
    int NTQGEN = 0;
    Arr<int, 1, MAXTQGEN> TQGPILE, TQGNPT;
    Arr2<double, 1, MAXTQGEN, 1, MAXCRVPT> TQGT, TQGR;  // torque and rotation of point p of curve j
};
inline TqCrv TQCRV;

}  // namespace kaldo
