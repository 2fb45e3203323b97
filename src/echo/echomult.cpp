// Input echo: multipliers along depth, soil movement and group reduction factors (Tables J1, J2, K).
//
// The group reduction factors of the piles are estimated here, once, whenever they are requested:
// options 1 and 3 start the analysis from them (the group solution re-estimates them as the cap moves),
// options 2 and 4 keep these direction factors for the whole run and only reweigh them by direction.
#include <string>

#include "echo/echo.h"
#include "group/group.h"
#include "io/units.h"
#include "loads/loads.h"
#include "model/blocks.h"
#include "model/vectors.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::F;
using io::I;
using io::X;

// ---- Table J1: p- and y-multipliers along depth ---------------------------------------------------

void tableJ1(io::Unit& u) {
    u.blankLines(3);
    u.line() << X{5} << "* TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  ";
    if (RFD.NRFSET <= 0) return;
    u.blankLines(1);
    u.line() << X{7} << "NUM OF SETS :" << I(3, RFD.NRFSET);
    for (int s = 1; s <= RFD.NRFSET; ++s) {
        u.blankLines(1);
        u.line() << X{8} << "  SET" << I(3, s) << X{10} << "NUM OF POINTS" << I(3, RFD.NRFD(s));
        u.blankLines(1);
        u.line() << X{12} << "     DEPTH," << LABELS.LBLCOORD << X{10} << "P-FACTOR   " << X{10} << "Y-FACTOR   ";
        for (int p = 1; p <= RFD.NRFD(s); ++p) {
            WCOLBLNK(u, 11);
            WCOLREAL(u, 12, 5, UCVD12(RFD.RFDX(s, p)));
            WCOLBLNK(u, 9);
            WCOLREAL(u, 12, 5, RFD.RFDPM(s, p));
            WCOLBLNK(u, 9);
            WCOLREAL(u, 12, 5, RFD.RFDYM(s, p));
            WCOLEOL(u);
        }
    }
}

// ---- Table J2: free-field soil movement -----------------------------------------------------------

void tableJ2(io::Unit& u) {
    const bool threeD = CTLIN.ANTYPE == 3;
    u.blankLines(3);
    u.line() << X{5} << "* TABLE J2 *  SOIL MOVEMENT DATA       ";
    {
        auto head = u.line();
        head << X{12} << "POINT" << X{9} << "DEPTH" << X{13} << "MOVE Y-DIR";
        if (threeD) head << X{13} << "MOVE Z-DIR";
    }
    {
        auto units = u.line();
        units << X{12} << "     " << X{11} << LABELS.LBLCOORD << X{18} << LABELS.LBLLEN;
        if (threeD) units << X{18} << LABELS.LBLLEN;
    }
    for (int i = 1; i <= SMOV.NSMOV; ++i) {
        WCOLBLNK(u, 10);
        WCOLINT(u, 5, i);
        WCOLBLNK(u, 11);
        WCOLREAL(u, 12, 5, UCVD12(SMOV.SMX(i)));
        WCOLBLNK(u, 9);
        WCOLREAL(u, 12, 5, SMOV.SMY(i));
        if (threeD) {
            WCOLBLNK(u, 9);
            WCOLREAL(u, 12, 5, SMOV.SMZ(i));
        }
        WCOLEOL(u);
    }
}

// ---- Table K: group reduction factors -------------------------------------------------------------

// The sense of a movement along an axis, as the estimated factors assume it (zero counts as positive).
const char* senseText(double v) { return v < 0.0 ? "(-)" : "(+)"; }

// The equivalent load of load case 1 at the cap origin; zero when there is no load case.
Vec6 caseOneLoad() {
    Vec6 load{};
    if (LCDEF.NLC >= 1) EQLOADC2(1, load);
    return load;
}

void captionK(io::Unit& u) {
    u.blankLines(3);
    u.line() << X{5} << "* TABLE K *   REDUCTION FACTORS        ";
}

// The spacing ratios use either the mean diameter of each pair of piles or pile 1's diameter, shown
// in section units (millimetres in SI) or in internal length units.
void diameterLine(io::Unit& u, bool sectionUnits) {
    u.blankLines(1);
    if (CTLIN.KAVGDIA != 0) {
        u.line() << X{7} << "AVERAGE DIAMETER IS USED TO GET RATIO S/B";
        return;
    }
    const double d = groupPileDiameter(PILE.PSETNO(1));
    if (sectionUnits)
        u.line() << X{7} << "PILE DIAMETER = " << F{10, 3, UCVM1E3(d)} << X{1} << LABELS.LBLSECTL;
    else
        u.line() << X{7} << "PILE DIAMETER = " << F{10, 3, d} << X{1} << LABELS.LBLTOL;
}

// The heading of one block of factors and its rows: the piles' p- and y-multipliers.
void factorRows(io::Unit& u, const decltype(PILEFAC.PMUL)& pmul, const decltype(PILEFAC.YMUL)& ymul) {
    u.line() << X{7 + 33};
    u.line() << X{7} << "     GROUP NO     P-FACTOR     Y-FACTOR        ";
    u.blankLines(1);
    for (int i = 1; i <= PILE.NPILES; ++i) {
        WCOLBLNK(u, 12);
        WCOLINT(u, 5, i);
        WCOLBLNK(u, 5);
        WCOLREAL(u, 12, 4, pmul(i));
        WCOLBLNK(u, 1);
        WCOLREAL(u, 12, 4, ymul(i));
        WCOLEOL(u);
    }
}

// One direction block of the estimated factors (options 1 and 3): axis "Y" or "Z", the sense of the
// movement assumed, then the rows.
void estimatedBlock(io::Unit& u, int option, const char* axis, double movement,
                    const decltype(PILEFAC.PMUL)& pmul, const decltype(PILEFAC.YMUL)& ymul) {
    const std::string a(axis);
    u.blankLines(1);
    u.line() << X{7} << "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS" << X{1} << "ALONG " + a + "-DIRECTION";
    if (option == 1)
        u.line() << X{7} << "ESTIMATED ASSUMING MOVEMENT IN" << X{1} << "THE DIRECTION OF " + a + "-FORCE "
                 << senseText(movement);
    else
        u.line() << X{7} << "ESTIMATED BASED ON DEFINED MOVEMENT IN" << X{1} << "THE " + a + "-DIRECTION OF "
                 << senseText(movement);
    factorRows(u, pmul, ymul);
}

// One direction block of the factors that the whole run keeps (options 2 and 4).
void keptBlock(io::Unit& u, const char* axis, const decltype(PILEFAC.PMUL)& pmul,
               const decltype(PILEFAC.YMUL)& ymul) {
    u.blankLines(1);
    u.line() << X{7} << "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS" << X{1}
             << "ALONG " + std::string(axis) + "-DIRECTION";
    factorRows(u, pmul, ymul);
}

void tableK3D(io::Unit& u) {
    const int option = CTLIN.KGRPRF;
    if (option < 1 || option > 4) return;  // no factors requested: the input multipliers stand
    const bool byLoad = option == 1 || option == 2;
    const Vec6 load = caseOneLoad();

    // Movement along Y and Z: in the sense of case 1's horizontal load, or the given movement.
    const double sY = byLoad ? load[1] : CTLIN.RFMOVY;
    const double sZ = byLoad ? load[2] : CTLIN.RFMOVZ;
    warnCoincidentPiles();
    directionFactors(sY, sZ);

    captionK(u);
    if (option == 2 || option == 4) {
        keptBlock(u, "Y", PILEFAC.PMULY, PILEFAC.YMULY);
        keptBlock(u, "Z", PILEFAC.PMULZ, PILEFAC.YMULZ);
        return;
    }
    diameterLine(u, option == 1);
    estimatedBlock(u, option, "Y", sY, PILEFAC.PMUL, PILEFAC.YMUL);
    estimatedBlock(u, option, "Z", sZ, PILEFAC.PMULZ, PILEFAC.YMULZ);

    // The factors in effect, weighed by direction: case 1's horizontal load, else its moments about Z
    // and Y (which push the cap along Y and Z); for option 3 the given movement.
    if (option == 1) {
        const bool horizontal = load[1] != 0.0 || load[2] != 0.0;
        mixDirectionFactors(horizontal ? load[1] : load[5], horizontal ? load[2] : load[4]);
    } else {
        mixDirectionFactors(CTLIN.RFMOVY, CTLIN.RFMOVZ);
    }
}

void tableKPlane(io::Unit& u) {
    const int option = CTLIN.KGRPRF;
    if (option == 0) return;
    if (option >= 1 && option <= 4) {
        const bool byLoad = option == 1 || option == 2;
        warnCoincidentPiles();
        // The sense of movement along Y: that of case 1's horizontal load, or of the given movement.
        const double vY = byLoad ? caseOneLoad()[1] : CTLIN.RFMOVY;
        GRPRFY(vY < 0.0 ? -1.0 : 1.0);
    }
    captionK(u);
    if (option == 1 || option == 3) diameterLine(u, true);
    u.blankLines(1);
    u.line() << X{7} << "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS";
    factorRows(u, PILEFAC.PMUL, PILEFAC.YMUL);
}

}  // namespace

void echoMultipliers() {
    io::Unit& u = io::unit(ECHO_UNIT);
    if (CTLIN.KRFDEP == 1) tableJ1(u);
    if (CTLIN.KSMOV == 1) tableJ2(u);
    if (CTLIN.ANTYPE == 3)
        tableK3D(u);
    else
        tableKPlane(u);
}

}  // namespace kaldo
