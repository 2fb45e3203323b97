// The loads of a case: the load vector at the cap origin, the values given at a point, the distributed
// loads at the pile nodes, the names of the load types and the run parameters of a case or combination.
//
// Loads of a case or combination as one force-and-moment vector at the cap origin: force X, force Y,
// force Z, moment X, moment Y, moment Z (X vertical, positive downward). A plane run fills force X,
// force Y and moment Z (place 6) only.
#pragma once

#include <string>

#include "model/vectors.h"

namespace kaldo {

// The concentrated loads of load case c, scaled, at the origin; zero when the case is loaded through
// values given at a point.
void EQLOADC(int c, Vec6& load);
// The same, under the name the group reduction factors use for the direction of the load.
void EQLOADC2(int c, Vec6& load);
// The factored concentrated loads of the cases of combination m at the origin.
void EQLOADM(int m, Vec6& load);

// Values given at one point of a load case, in the solver's order X, Y, Z, rotation X, Y, Z. In a plane
// run the point loads fill places 1 to 3 (X, Y, rotation Z) while the rotation's displacement and flag
// stand in place 6.
struct SpecPoint {
    Vec6 loads{};    // loads given at the point
    Vec6 disps{};    // displacements given at the point
    Vec6 coords{};   // x, y, z of the point (plane: x, y)
    Flags6 kdof{};   // per component: 0 displacement given, 1 load given
};
// Fills the point data of case c and the load it puts at the origin, both scaled by the case's factor.
// A case without values at a point gives zeros (its flags are left as they were).
void SPECDOF(int c, Vec6& load, SpecPoint& point);
// Adds the axial parts of global distributed loads lumped at the pile heads to the load at the origin.
void DLAXHEAD(Vec6& load);

// Distributed loads at the pile nodes for load case c (scaled by its factor), for combination m (each
// term's case scaled by its factor and the term's), or none.
void DLCASE(int c);
void DLCOMB(int m);
void DLCLEAR();
// Adds the distributed-load entries of case c, times s, to the node loads of the piles they reach.
void DLPILE(int c, double s);

// The 32-character name (left-aligned, blank-filled) of load type code; unknown codes are special loads.
std::string LOADTYPE(int code);

// The run parameters of one load case or combination, copied into the working block CTLPAR. The input
// echo and the analysis driver use the same copy, so that the echo shows what the analysis runs with.
//
// Load case c: tolerances, load steps, iteration limits, print level and switches of the case, the
// case's mode (KMODE), and resistance factors of 1.0 (a case is never factored).
void CTLPARCASE(int c);
// Load combination m: its tolerances, load steps, iteration limits, print level, switches and its
// bending and shear resistance factors; a combination is always one ordinary analysis (KMODE 0).
void CTLPARCOMB(int m);

}  // namespace kaldo
