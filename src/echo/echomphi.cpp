// Input echo: moment-curvature sets (Table J).
//
// The moment-curvature table holds the user sets first, then the curves computed outside the engine
// for the nonlinear cross sections, in the order in which Table E numbered them (SECTTAB.CSMPZ/CSMPY).
// Table J lists the user sets; the listing that came with the generated curves (unit 33) is copied
// after it.
#include <algorithm>
#include <string>

#include "echo/echo.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// Records of the moment-curvature listing are copied up to this many characters.
constexpr std::size_t LISTING_RECORD = 256;

void copyUserSet(int s) {
    const int ncrv = std::clamp(MPHIIN.MPNCRVIN(s), 0, MAXMPCRV);
    MPHI.MPNCRV(s) = MPHIIN.MPNCRVIN(s);
    for (int c = 1; c <= ncrv; ++c) {
        MPHI.MPAXL(s, c) = MPHIIN.MPAXLIN(s, c);
        MPHI.MPNPT(s, c) = MPHIIN.MPNPTIN(s, c);
        for (int p = 1; p <= std::clamp(MPHIIN.MPNPTIN(s, c), 0, MAXMPPT); ++p) {
            MPHI.MPMOM(s, c, p) = MPHIIN.MPMOMIN(s, c, p);
            MPHI.MPPHI(s, c, p) = MPHIIN.MPPHIIN(s, c, p);
        }
    }
}

// Set s of the table receives family f (1 bending with Iz, 2 with Iy) of cross section i.
void copyFamily(int s, int i, int f) {
    const auto& g = MPHIGENIN;
    const int ncrv = std::clamp(g.MGNCRV(i, f), 0, MAXMPCRV);
    MPHI.MPNCRV(s) = g.MGNCRV(i, f);
    for (int c = 1; c <= ncrv; ++c) {
        MPHI.MPAXL(s, c) = g.MGAXL(i, f, c);
        MPHI.MPNPT(s, c) = g.MGNPT(i, f, c);
        for (int p = 1; p <= std::clamp(g.MGNPT(i, f, c), 0, MAXMPPT); ++p) {
            MPHI.MPMOM(s, c, p) = g.MGMOM(i, f, c, p);
            MPHI.MPPHI(s, c, p) = g.MGPHI(i, f, c, p);
        }
    }
}

void writeUserSets(io::Unit& u) {
    u.blankLines(2);
    u.line() << io::X{5} << "  USER DEFINED MOMENT CURVATURE";
    u.blankLines(1);
    u.line() << io::X{7} << "NUM OF SETS :" << io::I(3, MPHI.NMPHI);
    for (int s = 1; s <= MPHI.NMPHI; ++s) {
        u.blankLines(2);
        u.line() << io::X{7} << "CURVE SET" << io::I(3, s) << io::X{10} << "NUM OF CURVES" << io::I(3, MPHI.MPNCRV(s));
        u.blankLines(1);
        for (int c = 1; c <= std::clamp(MPHI.MPNCRV(s), 0, MAXMPCRV); ++c) {
            u.blankLines(1);
            u.line() << io::X{8} << "CURVE" << io::I(3, c) << io::X{6} << "        AXIAL LOAD " << io::X{3}
                     << io::G{10, 3, UCVKIPDIV(MPHI.MPAXL(s, c))} << LABELS.LBLRFORCE4;
            u.blankLines(1);
            u.line() << io::X{12} << "POINT" << io::X{14} << "MOMENT" << io::X{13} << "CURVATURE";
            u.line() << io::X{12} << "     " << io::X{13} << LABELS.LBLRFORCE4 << "-" << LABELS.LBLLEN << io::X{13}
                     << "RADIAN/" << LABELS.LBLLEN;
            for (int p = 1; p <= std::clamp(MPHI.MPNPT(s, c), 0, MAXMPPT); ++p) {
                WCOLBLNK(u, 10);
                WCOLINT(u, 5, p);
                WCOLBLNK(u, 11);
                WCOLREAL(u, 12, 5, UCVKIPDIV(MPHI.MPMOM(s, c, p)));
                WCOLBLNK(u, 9);
                WCOLREAL(u, 12, 5, MPHI.MPPHI(s, c, p));
                WCOLEOL(u);
            }
        }
    }
}

// The listing of the generated curves, record by record from its start, each cut to 256 characters
// and without its trailing blanks.
void copyListing(io::Unit& u) {
    io::Unit& listing = io::unit(MPHILIST_UNIT);
    listing.rewind();
    std::string record;
    while (listing.nextLine(record)) {
        if (record.size() > LISTING_RECORD) record.resize(LISTING_RECORD);
        WCOLTRIM(u, record);
        WCOLEOL(u);
    }
}

}  // namespace

void echoMphi() {
    io::Unit& u = io::unit(ECHO_UNIT);
    // The user sets (read only with KMPHI > 0), unchanged.
    MPHI.NMPHI = std::clamp(MPHIIN.NUMPHI, 0, MAXMPSET);
    if (CTLIN.KMPHI > 0) {
        u.blankLines(3);
        u.line() << io::X{5} << "* TABLE J *   MOMENT CURVATURE SETS    ";
        if (MPHIIN.NUMPHI > 0) {
            for (int s = 1; s <= MPHI.NMPHI; ++s) copyUserSet(s);
            writeUserSets(u);
        }
    }

    // The generated families, for the nonlinear sections of types 1 to 9 (the same test that numbered
    // their sets): the first bending axis, and in three dimensions the second. The reader has kept the
    // user sets and the generated ones together within the table; the bound below only guards it.
    bool added = false;
    if (SECTIN.NSEC > 0) {
        const int families = CTLIN.ANTYPE == 3 ? 2 : 1;
        for (int i = 1; i <= std::min({MPHIGENIN.NGMPHI, MAXMPGEN, MAXSEC}); ++i) {
            if (!(SECTIN.NLFLAG(i) == 1 && SECTIN.SECTNI(i, 1) != 10)) continue;
            if (MPHI.NMPHI + families > MAXMPSET) break;
            copyFamily(++MPHI.NMPHI, i, 1);
            if (CTLIN.ANTYPE == 3) copyFamily(++MPHI.NMPHI, i, 2);
            added = true;
        }
    }
    if (!added) return;
    u.blankLines(2);
    u.line() << io::X{5} << "  INTERNALLY GENERATED MOMENT CURVATURE";
    u.blankLines(1);
    copyListing(u);
}

}  // namespace kaldo
