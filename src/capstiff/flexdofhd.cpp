// The heading of a degree-of-freedom loop of a cap-flexibility case, and the loop that is not solved
// because its load component is zero.
#include <array>
#include <cmath>

#include "capstiff/capstiff.h"
#include "capstiff/flexscratch.h"
#include "io/units.h"
#include "services/colwrite.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

// A total-load component below this (a single-precision 1e-12) drives no loop.
const double ZERO_COMPONENT = static_cast<double>(1e-12f);

// The loop's name: the driven component of the cap load.
const char* componentName(int d, bool plane) {
    static const char* const NAMES[] = {"FORCE X", "FORCE Y", "FORCE Z", "MOMENT X", "MOMENT Y", "MOMENT Z"};
    if (plane && d == 3) return "MOMENT Z";
    return NAMES[d - 1];
}

}  // namespace

void FLEXDOFHD(int, int dof, int antype, int increments, int ndof, Vec6& base, int& skip) {
    const char* name = componentName(dof, antype == 2);
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(u).endLine();
        U(u).line() << X{5} << "DOF   : " << I(1, dof) << " (" << name << ")";
    }
    U(PILERES_UNIT).line() << X{5} << "CAP FLEX., " << I(1, dof) << ", " << name;
    skip = 0;
    if (!(std::fabs(base[static_cast<std::size_t>(dof - 1)]) < ZERO_COMPONENT)) return;

    // The loop is not solved: each point carries the unit vector of its component on the first
    // scratch file, which the cap stiffness reads as a component without a result.
    for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(u).endLine();
        U(u).line() << "             DOF NOT CONSIDERED" << " SINCE APPLIED FORCE AT CAP IS ZERO";
    }
    for (int j = 1; j <= increments; ++j) {
        U(CASESTAT_UNIT).line() << X{6} << "DOF : " << I(5, dof) << " POINT : " << I(5, j);
        U(CASESTAT_UNIT).line() << "    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO";
    }
    std::array<double, 6> unitVector{};
    unitVector[static_cast<std::size_t>(dof - 1)] = 1.0;
    for (int j = 1; j <= increments; ++j) {
        writeFlexLine(U(FLEX1_UNIT), j, std::span<const double>(unitVector.data(), static_cast<std::size_t>(ndof)));
        io::Unit& p = U(PILERES_UNIT);
        p.part() << X{5} << I(5, -j) << X{2};
        WCOLBLNK(p, 2);
        WCOLREAL(p, 18, 8, 0.0);
        WCOLEOL(p);
    }
    skip = 1;
}

}  // namespace kaldo
