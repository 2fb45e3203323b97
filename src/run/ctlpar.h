// The run parameters of one load case or combination, copied into the working block CTLPAR. The input
// echo and the analysis driver use the same copy, so that the echo shows what the analysis runs with.
#pragma once

namespace kaldo {

// Load case c: tolerances, load steps, iteration limits, print level and switches of the case, the
// case's mode (KMODE), and resistance factors of 1.0 (a case is never factored).
void CTLPARCASE(int c);
// Load combination m: its tolerances, load steps, iteration limits, print level, switches and its
// bending and shear resistance factors; a combination is always one ordinary analysis (KMODE 0).
void CTLPARCOMB(int m);

}  // namespace kaldo
