// Unit labels and along-pile column titles for the run's units system (the LABELS block).
#pragma once

namespace kaldo {

// Fills the unit labels. code: 1 English, -1 SI, any other value the generic system; kip: the kip
// option, which acts only in the English system and only when it is 1.
void UNITLBL(int code, int kip);
// Builds the column titles from the unit labels: analysis type 3 the three-dimensional columns, any
// other value the plane columns.
void COLHEAD(int antype);

}  // namespace kaldo
