// Working pile property sets and their section table.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Slots of the property-set tables. The input fills at most MAXPROP of them; the rest stay 0.
inline constexpr int PSETSLOTS = 102;
// The slot of the embedded cap's pseudo-pile (its equivalent lateral spring): one section of the
// effective cap width over the cap thickness, cut into the cap record's increments.
inline constexpr int CAPPSET = PSETSLOTS;
// Section slots of one property set: the MAXPSECT sections, then one spare slot so that the depth
// sentinel after the last section (SECTTOP of section NSECT + 1) always has a place of its own.
inline constexpr int SECTSLOTS = MAXPSECT + 1;

// One slot per property set. Lengths internal (inch or metre).
struct PileSets {
    Arr<int, 1, PSETSLOTS> NSECT;   // sections of the set
    Arr<int, 1, PSETSLOTS> NINC;    // increments along the pile
    Arr<double, 1, PSETSLOTS> PLEN; // pile length
    Arr<int, 1, PSETSLOTS> PTYPE;   // 1 driven pile, 2 drilled shaft
    Arr<double, 1, PSETSLOTS> HINC; // increment length PLEN / NINC, set by the node set-up
};
inline PileSets PILESET;

// The sections of every property set, indexed (set, section). A property that can vary along a
// tapered section holds both ends: index (set, section, TOP) and (set, section, BOT). Depths are below
// the pile head; dimensions, areas, inertias, moduli and capacities in internal units.
struct SectTab {
    static constexpr int TOP = 1, BOT = 2;

    // Depth of the top (FROM) and bottom (TO) of each section. Slot NSECT + 1 of SECTTOP holds the
    // sentinel 1.2 x PLEN, written once with the table, which makes the last section of the stepwise
    // lookups reach 20 % below the tip.
    Arr2<double, 1, PSETSLOTS, 1, SECTSLOTS> SECTTOP, SECTBOT;
    Arr2<int, 1, PSETSLOTS, 1, SECTSLOTS> SECTNO;     // cross section of the section
    Arr2<int, 1, PSETSLOTS, 1, SECTSLOTS> SECTTAPER;  // taper flag of that cross section

    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTDIAM;  // equivalent (or external) diameter
    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTAREA;
    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTIZ, SECTIY;  // moments of inertia
    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTGJ;          // torsional stiffness
    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTMN, SECTVN;  // nominal moment and shear capacity
    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTE;           // Young modulus
    Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2> SECTEIZ, SECTEIY;  // flexural rigidities

    // Moment-curvature sets of a nonlinear section for bending with Iz and with Iy (0: elastic EI).
    Arr2<int, 1, PSETSLOTS, 1, SECTSLOTS> SECTMPZ, SECTMPY;

    // Section dimensions for the bending stress and a section type code: read by the lookups, filled by
    // no phase of the analysis (so 0). One value per section.
    Arr2<double, 1, PSETSLOTS, 1, SECTSLOTS> SECTDEPY, SECTDEPZ;
    Arr2<int, 1, PSETSLOTS, 1, SECTSLOTS> SECTTYPE;

    // Moment-curvature sets of each cross section (bending with Iz, with Iy): the input's numbers for a
    // user-defined EI (type 10, 0 constant EI), numbers after the user sets for the generated curves of
    // types 1 to 9, 0 for an elastic cross section.
    Arr<int, 1, MAXSEC> CSMPZ, CSMPY;
};
inline SectTab SECTTAB;

}  // namespace kaldo
