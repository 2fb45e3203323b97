// Test support: the numbers of a three-dimensional results report (.out) read back, so that an end-to-end
// test can hold the cap displacement and the pile-head forces against hand calculations.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace kaldo::test {

// Six components in the report's order: X (vertical, down), Y, Z, then about X, about Y, about Z.
using Six = std::array<double, 6>;

// The pile-top tables of one pile: displacements and the reactions of the pile on the cap, in global
// axes and in the pile's own axes (x along the pile: axial, lateral y, lateral z, torque, moments).
struct PileTop {
    int pile = 0;
    Six globalDisp{}, globalForce{}, localDisp{}, localForce{};
};

// One analysed load case or combination: its heading line, Table L (loads and displacement of the cap
// at the origin, and for a case with values given at a point the point's coordinates, loads and
// displacement) and Table M (the pile tops, in pile order).
struct CaseResults {
    std::string heading;  // "LOAD CASE :     1" or "LOAD COMB. :     1"
    Six capLoad{}, capDisp{};
    std::vector<PileTop> piles;
    Six pointAt{};  // X, Y, Z of the point (places 1 to 3), in the report's coordinate unit
    Six pointLoad{}, pointDisp{};
};

// Reads every load case and combination of a results report; the envelopes that follow them are not
// read. A value printed as asterisks reads as NaN, so that any comparison with it fails.
std::vector<CaseResults> readResults(const std::string& outReport);

// One printed number: fixed or exponent form, also the exponent form that drops its E ("1.2345-100").
double readNumber(const std::string& text);

}  // namespace kaldo::test
