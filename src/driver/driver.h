// The analysis driver: the walk over every load case and then every combination.
#pragma once

namespace kaldo {

// The analysis over every load case and then every combination: headings, loads, analysis points,
// envelopes, the report of generated p-y curves and the curve data file. kpyop is the p-y print switch
// as read (the run-wide word is 0 while the cases run).
void RUNCASES(int kpyop, int& status);

}  // namespace kaldo
