// The report of generated p-y curves (Table N) and the curve data file, written at the end of the
// analysis.
#pragma once

namespace kaldo {

// The points of the requested p-y curves on the echo report and the plot output file.
void writeTableN(int& status);
// The curve data file: a header record, then per pile its geometry, p-y, axial and torsional records.
void writeCurveDataFile(int& status);

}  // namespace kaldo
