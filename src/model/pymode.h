// Run-wide words that tell the p-y generators what a call is for, and the curve record they fill for
// the curve data file.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// The generators evaluate the springs of a pile (PYPRTMODE 0, the analysis), list the points of one
// curve on the echo report (PYPRTMODE 1, PYFILEMODE 0) or fill PYPLOT for the curve data file
// (PYPRTMODE 1, PYFILEMODE 1). The callers set these words on the calling thread, outside the parallel
// pile loops; the generators only read them.
struct PyMode {
    int PYPRTMODE = 0;   // 0 evaluation, 1 listing of curve points
    int PYFILEMODE = 0;  // while listing: 1 for the curve data file, 0 for the echo report
    // 1 while the embedded cap's own segments are evaluated: the generators then take the cap width in
    // place of the pile diameter at every node.
    int CAPPYFLAG = 0;
    int NPYPT = 0;       // deflections to list: 0 the criterion's 17 default points, below 0 none
    int PYPRTREQ = 0;    // the print request being listed (row of PYPRTDEF)
    // Resultant horizontal displacement of the embedded cap, kept by the cap routines of the group
    // solution; the user p-y curves of a pile evaluate the cap-level reaction at it.
    double CAPHDISP = 0.0;
    // The embedded cap's passive resistance as last evaluated: the mean over the piles of the ground
    // surface measured down from the pile head (negative: the heads stand below the ground) and of the
    // soil reaction at cap level (per unit length, for the cap width).
    double CAPGMEAN = 0.0;
    double CAPPMEAN = 0.0;
    // X of the top of the cap's pseudo-pile at its last spring evaluation.
    double CAPTOPX = 0.0;
    // Classification of each p-y print request by the report of generated curves: 0 generated, 1 the
    // one curve at pile-cap level, 2 a further request at cap level, 3 at or above the ground surface,
    // 4 below the pile tip, 5 at or above the cap top, 6 at or above the pile head without a cap.
    Arr<int, 1, MAXPYPRT> PYPSTAT;
};
inline PyMode PYMODE;

// One generated p-y curve as the curve data file records it.
struct PyPlot {
    int PLTYPE = 0;          // curve-type word of the criterion
    int PLSOIL = 0;          // 1 when the node lies in the soil, else 0
    double PLDEPTH = 0.0;    // depth of the node below the ground surface
    Arr<double, 1, MAXPYDEF> PLY, PLP;  // listed deflections and soil reactions
};
inline PyPlot PYPLOT;

}  // namespace kaldo
