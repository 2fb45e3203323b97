// Section properties of a pile at a depth: what the p-y generators, the pile solvers and the curve
// data file ask of the section table.
//
// Every lookup takes the pile p, its property set s and the vertical coordinate x of a point (internal
// length, the same origin as the pile heads) and works with the depth below the pile head,
// a = x - HEADXW(p). They only read the section table, so any number of pile threads may call them at
// once.
//
// Three rules (depths grow downward):
//   linear      within the section that holds a, between the top and the bottom value of the section;
//               above the first section the first top value, below the last the last bottom value. The
//               section is the first one whose bottom lies at or below a, so a point in a gap between
//               two sections takes the next section's line, extended upward.
//   per section the same choice of section, the value without interpolation.
//   stepwise    the first section whose next top (for the last section the sentinel 1.2 x PLEN) lies
//               below a; at or beyond 1.2 x PLEN the empty slot after the last section (0).
// A set without sections gives the empty values of its first slot (0); a section of no length (the
// input reader refuses one) gives its top value rather than a division by zero.
#pragma once

namespace kaldo {

double PSECDIAM(int p, int s, double x);  // equivalent diameter (width), linear; a result below 1e-5
                                          // is replaced by the top diameter of the last section
double PSECAREA(int p, int s, double x);  // area, linear
double PSECIZ(int p, int s, double x);    // moment of inertia Iz, linear
double PSECIY(int p, int s, double x);    // moment of inertia Iy, linear
double PSECGJ(int p, int s, double x);    // torsional stiffness, linear
double PSECMCAP(int p, int s, double x);  // nominal moment capacity, linear
double PSECVCAP(int p, int s, double x);  // nominal shear capacity, linear
double PSECEIZ(int p, int s, double x);   // flexural rigidity EIz, linear
double PSECEIY(int p, int s, double x);   // flexural rigidity EIy, linear
double PSECDEPY(int p, int s, double x);  // section dimension for the bending stress, per section
double PSECDEPZ(int p, int s, double x);  // the same for the second axis, per section
int PSECTYPE(int p, int s, double x);     // section type code, per section
double PSECEMOD(int p, int s, double x);  // Young modulus (top value of the section), stepwise
int PSECMPHZ(int p, int s, double x);     // moment-curvature set for EIz (0 elastic), stepwise
int PSECMPHY(int p, int s, double x);     // moment-curvature set for EIy (0 elastic), stepwise

// Stores the depth sentinel of property set s: SECTTOP of the slot after its last section becomes
// 1.2 x PLEN. Called once per set while the section table is built, before any lookup.
void setDepthSentinel(int s);

}  // namespace kaldo
