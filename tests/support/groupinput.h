// Test support: the part of a generated group input that the thread tests share, from the pile
// properties to the end of the file: one set of vertical steel pipes (24 x 0.5 in) in soft clay over
// sand (a 15 ft clay layer of two profile rows, sand to 80 ft), with generated axial and torque curves.
#pragma once

#include <sstream>
#include <string>

namespace kaldo::test {

inline std::string steelPipesInClayOverSand(int increments, int lengthFt) {
    std::ostringstream f;
    f << "PILE PROPERTIES\n1\n1 1\n" << increments << " " << lengthFt << ".0 1\n0.0 " << lengthFt << ".0 1\n"
      << "CROSS SECTIONS\n1\n1 0 1 0\n'Steel pipe 24 x 0.5 in'\n24.0 23.0 0 0 0 0 0 0\n"
      << "11.2e6 36.91 2549.0 2549.0 0.0 5.71e10 0.0 0.0 29.0e6 0.0 0\n0 0 0.0 0 0\nnone\n"
      << "SOIL LAYERS\n2\n1 1\n0.0 15.0\n2 9\n"
      << "110.0 500.0 0.0 0.0 0.0 0.02 0.5 500.0 0.0\n110.0 700.0 0.0 0.0 0.0 0.01 0.5 700.0 0.0\n"
      << "2 4\n15.0 80.0\n2 9\n"
      << "120.0 0.0 34.0 90.0 0.0 0.0 0.0 1500.0 100000.0\n120.0 0.0 36.0 125.0 0.0 0.0 0.0 2500.0 150000.0\n"
      << "GENERATED AXIAL CURVES\n1\n1\nGENERATED TORQUE CURVES\n1\n1\n"
      << "SECTION MOMENT CURVATURE\n1\n1 0\n1 0\n";
    return f.str();
}

}  // namespace kaldo::test
