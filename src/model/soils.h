// Working soil layers and the soil property profiles along depth.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Slots of the layer table: the input holds at most MAXLAYER layers; the spare slots leave room for
// the sentinel top XTOP(NLAYER + 1) that the node set-up writes below the deepest layer.
inline constexpr int LAYSLOTS = 40;
// Rows of the property profiles: a top and a bottom row per layer slot.
inline constexpr int PRFROWS = 2 * LAYSLOTS;

// The soil layers. X is the global vertical coordinate, positive downward, in internal length units.
struct SoilLay {
    int NLAYER = 0;
    Arr<int, 1, LAYSLOTS> LCRIT;      // criterion code of the layer (1 to 14; others act as soft clay)
    Arr<double, 1, LAYSLOTS> XTOP;    // X of the top of the layer; XTOP(1) is the ground surface
    Arr<double, 1, LAYSLOTS> XBOT;    // X of the bottom of the layer
};
inline SoilLay SOILLAY;

// Soil property profiles: rows 2l-1 and 2l are the top and the bottom of layer l, so every column is
// linear within a layer and may jump where two layers meet. A column that the layer's criterion does
// not use holds 0. Read only through the profile lookups of the lateral soil routines.
struct SoilPrf {
    int NXP = 0;                      // rows of every column but GAMMA
    int NXG = 0;                      // rows of GAMMA
    Arr<double, 1, PRFROWS> XP;       // X of each row of CU .. QMAX
    Arr<double, 1, PRFROWS> XG;       // X of each row of GAMMA
    Arr<double, 1, PRFROWS> GAMMA;    // effective unit weight
    Arr<double, 1, PRFROWS> CU;       // undrained cohesion; rock strength (6, 9); stress transfer (12)
    Arr<double, 1, PRFROWS> PHI;      // friction angle, radians
    Arr<double, 1, PRFROWS> E50;      // strain at 50 % of the peak stress; krm (9); 0.0005 (6)
    Arr<double, 1, PRFROWS> KPY;      // p-y subgrade modulus; elastic subgrade modulus (12)
    Arr<double, 1, PRFROWS> ER;       // Young's modulus of the rock (9)
    Arr<double, 1, PRFROWS> JRQD;     // J factor (13, 14); RQD in percent (9)
    Arr<double, 1, PRFROWS> FMAX;     // user ultimate unit side friction, 0 when estimated
    Arr<double, 1, PRFROWS> QMAX;     // user ultimate unit tip resistance, 0 when estimated
};
inline SoilPrf SOILPRF;

}  // namespace kaldo
