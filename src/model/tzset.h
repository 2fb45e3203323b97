// Axial load-transfer state of a pile: the side (t-z) curves along it, its tip (q-w) curve, the axial
// and torsional rigidity along it, and the generated load-settlement points of each property set.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/sections.h"

namespace kaldo {

// Side curves of one set: three per soil layer and, for the axial curves, two at the ground surface.
inline constexpr int MAXTZCRV = 3 * MAXLAYER + 2;
// Point slots of one side curve; every shape fills points 1 to TZNPTS.
inline constexpr int TZSLOTS = 50;
inline constexpr int TZNPTS = 10;
// Points of a tip curve.
inline constexpr int QWNPTS = 10;

using TzValues = Arr<double, 1, MAXTZCRV>;
using TzCodes = Arr<int, 1, MAXTZCRV>;
using TzPoints = Arr2<double, 1, MAXTZCRV, 1, TZSLOTS>;  // (curve, point)

// Side load-transfer curves along a pile: curve a applies at TZX(a) (global x, positive downward, or
// the depth below the pile head once a torsional set has been shifted) and gives the unit side
// transfer TZT (a stress) against the pile movement TZZ; point 1 is the origin. Owned by the routine
// that builds it, one per pile evaluation.
struct TzSet {
    int NPTS = 0;     // curves in use
    TzValues TZX;     // x of the curve
    TzCodes TZCODE;   // criterion code of the layer the curve belongs to
    TzValues TZTMAX;  // maximum unit side transfer
    TzValues TZPHI;   // friction angle at the curve, degrees
    Arr<int, 1, MAXTZCRV> TZNP;  // points of the curve (always 10)
    TzPoints TZZ, TZT;
};

// Tip load-transfer curve: tip load QWQ (a force) against tip movement QWW; point 1 is the origin.
struct QwTip {
    double QTIP = 0.0;  // tip capacity
    Arr<double, 1, QWNPTS> QWW, QWQ;
};

// Rigidity of a property set along the pile, two entries per section (its top and bottom end), at
// depths below the pile head: entry pair (2i - 2, 2i - 1) spans section i from the bottom of the section
// above (0 for the first) to its own bottom. Axial: area times the section's top modulus. Torsional:
// the section's GJ.
inline constexpr int RIGSLOTS = 2 * SECTSLOTS;
struct AxAeTab {
    int NAE = 0;
    Arr<double, 0, RIGSLOTS> AEDEP, AEVAL;
};
struct TqGjTab {
    int NGJ = 0;
    Arr<double, 0, RIGSLOTS> GJDEP, GJVAL;
};

// The generated axial load-settlement points of every property set, kept for the first estimate of
// the axial solution of a pile: row 10 is the origin, rows 11 to 19 the compression points 1 to 9,
// rows 9 down to 1 the uplift points 1 to 9 with every value negated.
inline constexpr int NLSROWS = 19;
struct AxlStab {
    int LSROWS = 0;  // rows in use, 19 once the echo has generated a curve
    Arr2<double, 1, PSETSLOTS, 1, NLSROWS> LSWHEAD;  // head movement
    Arr2<double, 1, PSETSLOTS, 1, NLSROWS> LSPHEAD;  // head load
    Arr2<double, 1, PSETSLOTS, 1, NLSROWS> LSWTIP;   // assumed tip movement
    Arr2<double, 1, PSETSLOTS, 1, NLSROWS> LSPTIP;   // tip load
};
inline AxlStab AXLSTAB;

}  // namespace kaldo
