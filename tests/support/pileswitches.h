// Test support: the two switches of the pile analysis (Newton on the curves' tangents, and the head
// stiffness of the balanced pile) set for one scope and put back as they were when it ends, so that a
// test that needs the secant iteration or the central differences leaves the others on the defaults.
#pragma once

#include "pile/pile.h"

namespace kaldo::test {

class PileSwitches {
public:
    PileSwitches(bool newton, bool balancedHeads)
        : newton_(pileNewtonOn()), balancedHeads_(headStiffnessByLinearisation()) {
        setPileNewton(newton);
        setHeadStiffnessByLinearisation(balancedHeads);
    }
    ~PileSwitches() {
        setPileNewton(newton_);
        setHeadStiffnessByLinearisation(balancedHeads_);
    }
    PileSwitches(const PileSwitches&) = delete;
    PileSwitches& operator=(const PileSwitches&) = delete;

private:
    bool newton_;
    bool balancedHeads_;
};

}  // namespace kaldo::test
