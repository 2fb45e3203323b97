// The flexible pile cap: the cap as a plate of finite elements on its piles.
#pragma once

#include <array>

namespace kaldo {

// The flexible cap: the plate analysis of the cap on the piles under the load P replaces the solution.
void FCAPRUN(std::array<double, 6>& P);

}  // namespace kaldo
