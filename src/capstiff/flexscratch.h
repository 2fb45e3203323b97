// The two flexibility scratch files of a cap-flexibility case: their lines and how they are read back.
//
// Every line holds a point number and up to seven reals: five blanks, the number in 5 columns, two
// blanks, then each real in a general field 18 wide with 8 significant digits, followed by 3 blanks.
// The first file keeps one flexibility line per degree-of-freedom loop and point for the whole case;
// the second the load line and the flexibility line of each point of the current loop only.
#pragma once

#include <array>
#include <span>
#include <string>

#include "io/units.h"

namespace kaldo {

// Loads and displacements on a flexibility line are compared with this bound (a single-precision
// 1e-14): a smaller load leaves the displacements themselves in place of their ratios to it.
inline const double FLEX_TINY_LOAD = static_cast<double>(1e-14f);

struct FlexLine {
    int point = 0;
    std::array<double, 7> v{};
};

// Writes one line: the point number and the values (at most seven).
void writeFlexLine(io::Unit& u, int point, std::span<const double> values);

// Opens scratch unit `unit` (file-list record `record`) at its start for reading.
void openFlexForReading(int unit, int record);

// Reads the next line of a flexibility scratch file, which must hold a point number and at least
// `count` reals. A file that ends early or holds a line that is not such a line ends the run: the file
// was written by this case and must hold every line its readers ask for.
FlexLine readFlexLine(io::Unit& u, int count);

}  // namespace kaldo
