// Pile geometry records of the curve data file: the pile's identity, length, head, axis orientation
// and its section properties at equally spaced stations, in internal units.
#include <cmath>
#include <vector>

#include "io/units.h"
#include "model/blocks.h"
#include "report/report.h"
#include "services/psec.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// One record of reals: text records as 10 blanks and 1PG15.8 fields, unformatted records as 64-bit
// reals.
void reals(io::Unit& u, bool text, const std::vector<double>& v) {
    if (text) {
        io::LineOut line = u.line();
        line << io::X{10};
        for (double x : v) line << io::X{1} << io::PG{15, 8, x};
        return;
    }
    io::Record r;
    for (double x : v) r << x;
    r.writeTo(u);
}

}  // namespace

void PLOTPILE(int p, int&) {
    io::Unit& u = io::unit(CURVEDATA_UNIT);
    const bool text = CTLIN.KCRVBIN == 0;
    const bool plane = CTLIN.ANTYPE == 2;
    const int n = OPTCRV.NCRVINC;
    const int set = PILE.PSETNO(p);
    const double L = PILESET.PLEN(set);

    if (text) {
        u.line() << io::I(10, p) << io::I(10, n) << io::I(10, 0);
    } else {
        io::Record r;
        r << int32_t(p) << int32_t(n) << int32_t(0);
        r.writeTo(u);
    }
    reals(u, text, {L});
    if (plane) {
        reals(u, text, {PILE.HEADX(p), PILE.HEADY(p)});
        // The axis from the vertical: c is its angle from the horizontal.
        const double c = 1.5707963267948966 - PILE.BATTER(p);
        reals(u, text, {std::cos(c), std::sin(c)});
        reals(u, text, {-std::sin(c), std::cos(c)});
    } else {
        reals(u, text, {PILE.HEADX(p), PILE.HEADY(p), PILE.HEADZ(p)});
        const double a = PILE.ALPHA(p), b = PILE.BETA(p);
        reals(u, text, {std::sin(b), std::cos(b) * std::cos(a), std::cos(b) * std::sin(a)});
        reals(u, text, {-std::cos(b), std::sin(b) * std::cos(a), std::sin(b) * std::sin(a)});
        reals(u, text, {0.0, -std::sin(a), std::cos(a)});
    }
    // Stations in the middle of N equal segments, measured from the same origin as the head.
    for (int i = 1; i <= n; ++i) {
        const double x = PILE.HEADX(p) + (i - 0.5) * L / n;
        if (text) {
            u.line() << io::I(10, i) << io::F{10, 4, x};
        } else {
            io::Record r;
            r << int32_t(i) << x;
            r.writeTo(u);
        }
        if (plane)
            reals(u, text, {PSECDIAM(p, set, x), PSECAREA(p, set, x), PSECIZ(p, set, x), PSECEMOD(p, set, x)});
        else
            reals(u, text,
                  {PSECDIAM(p, set, x), PSECAREA(p, set, x), PSECIZ(p, set, x), PSECIY(p, set, x),
                   PSECEMOD(p, set, x), PSECGJ(p, set, x)});
    }
}

}  // namespace kaldo
