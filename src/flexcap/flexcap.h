// The flexible pile cap: the cap as a plate of finite elements on its piles.
#pragma once

#include "model/vectors.h"

namespace kaldo {

// The flexible cap takes the place of the group solution of a load case or combination. With FLXCAP = 2
// it writes the cap's plate model under the loads P (the slab input file and the keyword model file,
// named after the input data file); with any other positive FLXCAP it runs the slab analysis of the
// plate on the piles from the slab input file, writing the slab listing, result, convergence and trace
// files. Nothing of the slab analysis returns into the group solution. A fault of the slab model or its
// solution, or of a pile analysed for it, sets status and ends the run with its message.
void FCAPRUN(Vec6& P, int& status);

}  // namespace kaldo
