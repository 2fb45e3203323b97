// The equivalent stiffness scratch file of a stiffness-estimation point: after the equivalent-stiffness
// pass the group solution writes every pile's secant stiffnesses (head axial and torsional, lateral at
// every node) under the cap's stiffness matrix, and the driver reads them back as the springs from
// which each pile is rebuilt as a beam-column (pilekcond.cpp).
//
#include <string>

#include "capstiff/capstiff.h"
#include "capstiff/eqstiff.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/colwrite.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

io::Unit& scratch() { return io::unit(EQSTIFF_UNIT); }

int increments(int p) { return PILESET.NINC(PILE.PSETNO(p)); }

// Lines a to f of pile p; plane: no torsion and one stiffness per node.
void pileTable(int p, bool plane) {
    io::Unit& u = scratch();
    const int n = increments(p);
    u.line() << "* PILE GROUP *" << io::I(6, p);
    u.line() << io::X{7} << "* PILE TOP EQUIVALENT STIFFNESSES";
    WCOLREAL(u, 17, 8, EQSSOL(1, p));
    WCOLREAL(u, 17, 8, EQSSOL(2, p));
    if (!plane) WCOLREAL(u, 17, 8, EQSSOL(3, p));
    WCOLEOL(u);
    u.line() << io::X{7} << "* EQUIVALENT STIFFNESSES ALONG PILE";
    WCOLBLNK(u, 6);
    WCOLREAL(u, 16, 8, EQSSOL(plane ? 3 : 4, p));
    WCOLEOL(u);
    for (int j = 0; j <= n; ++j) {
        const int s = j + 4;
        WCOLBLNK(u, 6);
        WCOLREAL(u, 16, 8, EQSSOL(4 + s, p));
        WCOLREAL(u, 17, 8, EQSSOL(111 + s, p));
        if (!plane) WCOLREAL(u, 17, 8, EQSSOL(218 + s, p));
        WCOLEOL(u);
    }
}

void allPiles(bool plane) {
    for (int p = 1; p <= PILE.NPILES; ++p) pileTable(p, plane);
}

}  // namespace

void EQSTIFWR() { allPiles(false); }

void EQSTF2D() { allPiles(true); }

void PNODVAL(int p, double* values) {
    const int n = increments(p);
    for (int j = 1; j <= n + 1; ++j) values[j - 1] = EQSRD.EQSSPRING(j, p);
}

}  // namespace kaldo
