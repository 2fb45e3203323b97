// The flexibility lines of one point of a degree-of-freedom loop, written by the group solution after
// the point's solve.
#include <array>
#include <cmath>

#include "capstiff/capstiff.h"
#include "capstiff/flexscratch.h"
#include "model/blocks.h"
#include "services/unitno.h"

namespace kaldo {

// The cap displacements per unit of the driven load component k: column k of the cap flexibility
// matrix at this point. A point without a result carries negative point numbers and zeros on the
// second file, and on the first file the unit vector of k, which the cap stiffness reads as a
// component without a result. A driven load too small to divide by leaves the displacements as they
// are.
void FLEXREC(int p, int k, bool failed, const Vec6& P, const Vec6& u) {
    const std::size_t n = CTLIN.ANTYPE == 2 ? 3 : 6;
    const std::size_t d = static_cast<std::size_t>(k - 1);
    io::Unit& second = io::unit(FLEX2_UNIT);
    io::Unit& first = io::unit(FLEX1_UNIT);
    std::array<double, 7> line{};
    if (failed) {
        writeFlexLine(second, -p, std::span<const double>(line.data(), n + 1));
        writeFlexLine(second, -p, std::span<const double>(line.data(), n));
        line[d] = 1.0;
        writeFlexLine(first, p, std::span<const double>(line.data(), n));
        return;
    }
    line[0] = P[d];
    for (std::size_t i = 0; i < n; ++i) line[i + 1] = u[i];
    writeFlexLine(second, p, std::span<const double>(line.data(), n + 1));
    const bool divide = !(std::fabs(P[d]) < FLEX_TINY_LOAD);
    for (std::size_t i = 0; i < n; ++i) line[i] = divide ? u[i] / P[d] : u[i];
    writeFlexLine(second, p, std::span<const double>(line.data(), n));
    writeFlexLine(first, p, std::span<const double>(line.data(), n));
}

}  // namespace kaldo
