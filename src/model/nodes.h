// The finite-difference nodes of every pile, laid out by the node set-up before each pile analysis.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Nodes of one pile: the head (node 1) to the tip (node NINC + 1).
inline constexpr int MAXNODE = MAXINC + 1;

// Indexed (pile, node), piles 1..NPILES and the cap pseudo-pile NPILES + 1. Internal length units.
struct PileNodes {
    // X of each node: the vertical depth coordinate, positive downward, the coordinate of the soil layers
    // and profiles. The report of generated p-y curves moves nodes 1 and 2 of a listed pile to the
    // requested depth; the node set-up lays them out again before that pile is analysed.
    PileArr2<double, 1, MAXPILE + 1, 1, MAXNODE> NODEX;
    // Coordinate of each node measured along the pile axis from the same origin (equal to NODEX for a
    // vertical pile, or when the batter does not shorten the depths); the section lookups take it.
    PileArr2<double, 1, MAXPILE + 1, 1, MAXNODE> NODEAX;
};
inline PileNodes NODES;

}  // namespace kaldo
