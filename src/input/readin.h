// Reading the input data file into the input blocks, and their conversion to internal units.
#pragma once

namespace kaldo {

// Report header of every report and the reading of the input data file.
void READIN(int& status);
// Converts the input as read to internal units (feet to inches, millimetres to metres, ...), in place.
void CONVIN();

}  // namespace kaldo
