// The working pile table: one slot per pile, then one for the cap taken as a pseudo-pile.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Slots 1..NPILES are the piles (plane: one slot per row of piles), slot NPILES + 1 the pile cap as a
// short pseudo-pile. Lengths are internal (inch or metre); x is vertical and positive downward, y and z
// horizontal. Angles are in degrees as read and in radians once the input echo has run.
struct PileTable {
    int NPILES = 0;  // piles of the model (plane: rows of piles)

    // Head connection about z (plane: the only one) and about y: 1 pinned, 2 fixed, 3 rotational spring.
    Arr<int, 1, MAXPILE + 1> CONNZ, CONNY;
    Arr<double, 1, MAXPILE + 1> SPRZ, SPRY;  // rotational head springs of connection code 3

    Arr<int, 1, MAXPILE + 1> PSETNO;  // pile property set
    Arr<int, 1, MAXPILE + 1> PYCRV;   // user p-y curve set, 0 for curves from the soil data
    // Axial load-settlement and torque-rotation curves: a user curve when above 0, else the generated
    // curve that LSGEN / TRGEN names (stored later as its negated number).
    Arr<int, 1, MAXPILE + 1> LSCRV, TRCRV;
    Arr<int, 1, MAXPILE + 1> LSGEN, TRGEN;
    Arr<int, 1, MAXPILE + 1> RFLSET;  // set of p- and y-multipliers along depth

    Arr<double, 1, MAXPILE + 1> PMULT;    // piles the slot stands for: a plane row's count, else 1
    Arr<double, 1, MAXPILE + 1> AXFACT;   // axial load factor
    Arr<double, 1, MAXPILE + 1> SPACING;  // spacing of a plane row's piles across the plane

    Arr<double, 1, MAXPILE + 1> HEADX, HEADY, HEADZ;  // head coordinates
    // Working head coordinates: HEADXW is where every depth lookup measures from; HEADYW is the plane
    // head y of the force loops, rewritten by the group reduction factors.
    Arr<double, 1, MAXPILE + 1> HEADXW, HEADYW;

    // Orientation: ALPHA, BETA, THETA (plane: ALPHA is the slope); BATTER the inclination of the axis
    // from the vertical; ANGLE3 the third angle of the direction cosines, always 0.
    Arr<double, 1, MAXPILE + 1> ALPHA, BETA, THETA, BATTER, ANGLE3;

    // Distance from the head down to the ground surface (ground at x = HEADXW + GROUND).
    Arr<double, 1, MAXPILE + 1> GROUND;
};
inline PileTable PILE;

}  // namespace kaldo
