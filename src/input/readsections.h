// The sections of the input data file after the pile cap, in file order.
#pragma once

#include "input/inputfile.h"

namespace kaldo {

// Load cases, load combinations and sets of distributed load.
void readLoadSections(InputFile& in);
// Pile arrangement, property sets, cross sections, soil layers, and the sections that the control
// record asks for, up to the curve data file requests.
void readModelSections(InputFile& in);

// Piles of the arrangement as read (rows of the plane arrangement), 0 when the analysis type has none:
// the range of every pile number that a later record names.
int arrangementPiles();

}  // namespace kaldo
