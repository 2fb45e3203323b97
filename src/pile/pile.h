// Single-pile analysis: what the other subsystems may call.
#pragma once

#include <string>
#include <vector>

namespace kaldo {

// Sets the values that the node set-up of every pile would otherwise write, once, before the pile
// loops start: the increment length HINC = PLEN / NINC of every property set, and the sentinel top
// XTOP(NLAYER + 1) = XBOT(NLAYER) below the deepest soil layer. The pile routines then only read them,
// however many pile threads run. Call it after the input echo has built the working tables and before
// the first analysis.
void prepareNodeTables();

// Lays out the finite-difference nodes of one pile in a three-dimensional run (NODEX, NODEAX from the
// head HEADX) and finds the first and last node of every soil layer (LNFIRST, LNLAST). A pile with its
// own user p-y curves gets its nodes only. A pile that reaches below the deepest layer writes its fatal
// error to the results and runtime files and sets status 3; status is left alone otherwise.
void NODE(int pile, int& status);
// The plane twin of NODE: the head is HEADXW and the failure is status 13.
void NODE2D(int pile, int& status);

// Writes the lines to the output results file (unit 16) and then to the runtime file (unit 10), whole,
// under one lock, so that records of different pile threads never interleave. An empty text is an
// empty line.
void writeWholeRecord(const std::vector<std::string>& lines);

}  // namespace kaldo
