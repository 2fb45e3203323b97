// Input blocks of the piles, sections, soils, curves and requests, as read (values in input units
// until the conversion to internal units).
#pragma once

#include <string>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Three-dimensional pile arrangement, one row per pile.
//   GRP3INT: CONNZ, CONNY, PSETNO, PYCRV, LSCRV, TRCRV, RFLSET, (not used), LSGEN, TRGEN
//   GRP3PRP: SPRZ, SPRY, p-mult. y, y-mult. y, p-mult. z, y-mult. z, AXFACT
//   GRP3GEO: head X, head Y, head Z, ALPHA, BETA, THETA (degrees), GROUND
struct GrpIn3 {
    int NROW = 0;
    Arr2<int, 1, MAXPILE, 1, 10> GRP3INT;
    Arr2<double, 1, MAXPILE, 1, 7> GRP3PRP, GRP3GEO;
};
inline GrpIn3 GRPIN3;

// Plane pile arrangement, one row per row of piles.
//   GRP2INT: CONNZ, piles in the row, PSETNO, PYCRV, LSCRV, RFLSET, LSGEN
//   GRP2PRP: SPRZ, SPACING, p-multiplier, y-multiplier, AXFACT
//   GRP2GEO: head X, head Y, slope (degrees), GROUND
struct GrpIn2 {
    int NROW = 0;
    Arr2<int, 1, MAXPILE, 1, 7> GRP2INT;
    Arr2<double, 1, MAXPILE, 1, 5> GRP2PRP;
    Arr2<double, 1, MAXPILE, 1, 4> GRP2GEO;
};
inline GrpIn2 GRPIN2;

// Pile property sets: per set its sections, each with the depth of its top (FROM) and bottom (TO) below
// the pile head and its cross-section number.
struct PileSetIn {
    int NPROP = 0;
    Arr<int, 1, MAXPROP> NSECT, NINC, PTYPE;  // PTYPE 1 driven pile, 2 drilled shaft
    Arr<double, 1, MAXPROP> PLEN;
    Arr2<double, 1, MAXPROP, 1, MAXPSECT> PSFROM, PSTO;
    Arr2<int, 1, MAXPROP, 1, MAXPSECT> PSSECT;
};
inline PileSetIn PILESETIN;

// Cross sections. SECTSR 1-18 top values, 19-36 bottom values, 37 pipe wall of a designated shape;
// SECTNI and SECTNR the integers and reals of a nonlinear section; three lists of up to 100 entries:
// rebar pairs, strand pairs and single values.
struct SectIn {
    int NSEC = 0;
    Arr<int, 1, MAXSEC> ESHAPE, NLFLAG, STAPER, AISCFAM, AISCEXT;
    Arr<std::string, 1, MAXSEC> SECTNAME, AISCNAME, NLAISCNAME;
    Arr2<double, 1, MAXSEC, 1, 37> SECTSR;
    Arr2<int, 1, MAXSEC, 1, 33> SECTNI;
    Arr2<double, 1, MAXSEC, 1, 35> SECTNR;
    Arr3<double, 1, MAXSEC, 1, MAXSECLIST, 1, 2> SECTREBAR, SECTSTRAND;
    Arr2<double, 1, MAXSEC, 1, MAXSECLIST> SECTLIST3;
};
inline SectIn SECTIN;

// Soil layers: criterion code, X of top and bottom, and two rows of values (1 top, 2 bottom): effective
// unit weight, strength, friction angle (degrees), k, Er, E50, J or RQD, FMAX, QMAX, (not used).
struct SoilIn {
    int NLAYIN = 0;
    Arr<int, 1, MAXLAYER> LCRITIN;
    Arr<double, 1, MAXLAYER> XTOPIN, XBOTIN;
    Arr3<double, 1, MAXLAYER, 1, 2, 1, SOILVALS> SOILVAL;
};
inline SoilIn SOILIN;

// p-y print requests.
struct PyPrt {
    int NPYPRT = 0;
    Arr<int, 1, MAXPYPRT> PYPGRP, PYPNPT;
    Arr<double, 1, MAXPYPRT> PYPX;
    Arr2<double, 1, MAXPYPRT, 1, MAXPYDEF> PYPRTDEF;
};
inline PyPrt PYPRT;

// User p-y curves as read: sets of curves, each at a depth X, points (p, y).
struct PyUsrIn {
    int NPYSETIN = 0;
    Arr<int, 1, MAXPYSET> PYNCRVIN;
    Arr2<int, 1, MAXPYSET, 1, MAXPYCRV> PYNPTIN;
    Arr2<double, 1, MAXPYSET, 1, MAXPYCRV> PYXIN;
    Arr3<double, 1, MAXPYSET, 1, MAXPYCRV, 1, MAXCRVPT> PYPIN, PYYIN;
};
inline PyUsrIn PYUSRIN;

// Representative piles of the generated axial and torque-rotation curves.
struct GenLists {
    int NLSGENIN = 0, NTQGENIN = 0;
    Arr<int, 1, MAXPILE + 1> LSGENPILE, TQGENPILE;
};
inline GenLists GENLISTS;

// User axial load-settlement curves as read: points (load, displacement).
struct TzUsrIn {
    int NTZIN = 0;
    Arr<int, 1, MAXUSRCRV> TZNPTIN;
    Arr2<double, 1, MAXUSRCRV, 1, MAXCRVPT> TZFIN, TZWIN;
};
inline TzUsrIn TZUSRIN;

// User torque-rotation curves as read: points (torque, rotation).
struct TqUsrIn {
    int NTQIN = 0;
    Arr<int, 1, MAXUSRCRV> TQNPTIN;
    Arr2<double, 1, MAXUSRCRV, 1, MAXCRVPT> TQTIN, TQRIN;
};
inline TqUsrIn TQUSRIN;

// User moment-curvature sets: curves at an axial load, points (moment, curvature).
struct MphiIn {
    int NUMPHI = 0;
    Arr<int, 1, MAXMPSET> MPNCRVIN;
    Arr2<double, 1, MAXMPSET, 1, MAXMPCRV> MPAXLIN;
    Arr2<int, 1, MAXMPSET, 1, MAXMPCRV> MPNPTIN;
    Arr3<double, 1, MAXMPSET, 1, MAXMPCRV, 1, MAXMPPT> MPMOMIN, MPPHIIN;
};
inline MphiIn MPHIIN;

// Moment-curvature families of the cross sections: per section two families (first and second bending
// axis), each of the same shape as a user set.
struct MphiGenIn {
    int NGMPHI = 0;
    Arr2<int, 1, MAXMPGEN, 1, 2> MGNCRV;
    Arr3<double, 1, MAXMPGEN, 1, 2, 1, MAXMPCRV> MGAXL;
    Arr3<int, 1, MAXMPGEN, 1, 2, 1, MAXMPCRV> MGNPT;
    Arr4<double, 1, MAXMPGEN, 1, 2, 1, MAXMPCRV, 1, MAXMPPT> MGMOM, MGPHI;
};
inline MphiGenIn MPHIGENIN;

// p- and y-multipliers along depth.
struct Rfd {
    int NRFSET = 0;
    Arr<int, 1, MAXRFSET> NRFD;
    Arr2<double, 1, MAXRFSET, 1, MAXRFPT> RFDX, RFDPM, RFDYM;
};
inline Rfd RFD;

// Free-field soil movement profile.
struct SMov {
    int NSMOV = 0;
    Arr<double, 1, MAXSMOV> SMX, SMY, SMZ, SMYIN, SMZIN;
    double SMFACT = 0.0;
};
inline SMov SMOV;

// Curve data file requests.
struct OptCrv {
    int NCRVINC = 0, KCRVPYL = 0, NCRVPY = 0;
    Arr<double, 1, MAXPYDEF> CRVPYDEF;
    int KCRVLS2 = 0, NCRVLS2 = 0;  // the second switch and its list (stored, not used)
    Arr<double, 1, MAXPYDEF> CRVLS2;
};
inline OptCrv OPTCRV;

}  // namespace kaldo
