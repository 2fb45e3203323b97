// Per-pile node data of the load case or combination under analysis: distributed loads at the nodes.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Distributed loads per unit length at the nodes of every pile, in the pile's local lateral directions.
// Node l (1 to NINC + 1) is at depth (l - 1) * h below the head; column 0 is cleared but not used. A
// pile of the largest increment count has MAXINC + 1 nodes, so the columns run to MAXINC + 1.
struct WrkNode {
    Arr2<double, 0, MAXINC + 1, 1, MAXPILE + 1> DLNODEY, DLNODEZ;  // load per length along local y, z
    Arr2<double, 0, MAXINC + 1, 1, MAXPILE + 1> DLNDEPTH;          // depth of the node below the head
    Arr<int, 1, MAXPILE + 1> DLNNODE;     // loaded nodes (NINC + 1), 0 for a pile without distributed load
    Arr<double, 1, MAXPILE + 1> PAXHEAD;  // axial part of global distributed loads lumped at the head
    int DLAXFLAG = 0;                     // 1 when any axial force was lumped
};
inline WrkNode WRKNODE;

}  // namespace kaldo
