// Test doubles of the routines the analysis driver calls in the group solution, the result reports and
// the stiffness estimation: each records what it was handed.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kaldo::test {

struct Call {
    std::string routine;
    std::vector<double> args;   // scalar arguments in order
    std::array<double, 6> P{};  // the load vector handed to a group solution
    std::array<double, 6> PSP{}, USP{}, RSP{};
    std::array<int, 6> KDOF{};
    int curcase = 0, curcomb = 0, ipoint = 0, iloop = 0, pkind = 0;
    int eqsact = 0, eqsstate = 0, eqsnh = 0;
    double eqsfac = 0.0, eqsdtgt = 0.0, finc = 0.0, rfbend = 0.0;
    int kmode = 0;
};

extern std::vector<Call> calls;
// What the group solution double does besides recording: by default nothing (status 0).
extern std::function<void(int& status)> onSolve;

// When set, the next TGTFACT finds its bracketing pairs at one displacement.
extern bool flatNext;

void resetDoubles();
std::vector<std::string> routines();

}  // namespace kaldo::test
