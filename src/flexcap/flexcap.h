// The flexible pile cap: the cap as a plate of finite elements on its piles.
#pragma once

#include "model/vectors.h"

namespace kaldo {

// The flexible cap: the plate analysis of the cap on the piles under the load P replaces the solution.
void FCAPRUN(Vec6& P);

}  // namespace kaldo
