// The pile result stores: the results of the current solve (RESCUR) and the minimum and maximum
// envelopes over the current series of analyses (ENVMIN, ENVMAX), which also carry the cap record.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

inline constexpr int RESPILES = MAXPILE + 1;  // piles 1..2500 and the embedded cap's pseudo-pile
inline constexpr int NTOPROW = 26;            // pile-top rows
inline constexpr int NLLPQTY = 25;            // along-pile quantities per node slot
inline constexpr int NCAPENV = 12;            // cap loads (1-6) and cap displacements (7-12)

// The pile-top table, (pile, row): the 26 rows of a pile together, row r of pile p at element
// (p - 1) * 26 + (r - 1).
//  1-6  global head displacement X, Y, Z, rotations about X, Y, Z   (plane: X, Y, rotation, force X,
//  7-12 global head force X, Y, Z, moments about X, Y, Z              force Y, moment, stress in 1-7)
//  13   total stress at the head
//  14-19 local head displacement, 20-25 local head force (axial, y, z, torque, moments about y, z)
//  26   total stress at the head again                               (plane: 14-20, see PTENV2D)
using PileTopTable = PileArr2<double, 1, RESPILES, 1, NTOPROW>;

// The along-pile table, (pile, slot, quantity): a pile's whole table together, quantity q at slot s of
// pile p at element ((p - 1) * 25 + (q - 1)) * 107 + (s - 1). Node j of a pile is at slot j + 3. The quantities, in
// this order: 1 axial displacement, 2-4 deflection y, z and their resultant, 5-8 global displacement
// X, Y, Z and the Y-Z resultant, 9-11 moment of the first and second plane and resultant, 12-14 shear
// y, z, resultant, 15-17 soil reaction y, z, resultant, 18 axial force, 19 total stress, 20-21 EIz and
// EIy, 22-23 distributed load y and z, 24-25 moment and shear demand/capacity ratios.
using AlongPileTable = PileArr3<double, 1, RESPILES, 1, NODESLOTS, 1, NLLPQTY>;

// One along-pile record of a solve, (slot, quantity): each quantity's 107 slots together.
using AlongPileRecord = Arr2<double, 1, NODESLOTS, 1, NLLPQTY>;

// The results of the last stored solve of every pile.
struct ResCur {
    PileTopTable RESCURTOP;
    AlongPileTable RESCURLLP;
};
inline ResCur RESCUR;

// An envelope: the cap record, then the pile-top and along-pile tables laid out as in RESCUR.
struct EnvStore {
    Arr<double, 1, NCAPENV> ENVCAP;
    PileTopTable TOP;
    AlongPileTable LLP;
};
inline EnvStore ENVMIN, ENVMAX;

}  // namespace kaldo
