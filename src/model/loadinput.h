// Input blocks of the load cases, the load combinations and the sets of distributed load, as read
// (values in input units until the conversion to internal units).
#pragma once

#include <string>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Load cases: count and names.
struct LcDef {
    int NLC = 0;
    Arr<std::string, 1, MAXLC> LCNAME;  // 80 characters each, blank-padded
};
inline LcDef LCDEF;

// Per-case integer run parameters: 1, 2 not used; 3 NTHRUSR; 4 KSTATIC; 5 load cycles; 6 MAXITG; 7 MAXITP.
inline Arr2<int, 1, MAXLC, 1, 7> LCPAR;
// Per-case reals: 1 TOLCAP, 2 TOLPIL, 3 FINC, 4 FINCMIN, 5 SCALE, 6 TOLDEFA, 7 TOLROTA.
inline Arr2<double, 1, MAXLC, 1, 7> LCREAL;
// Per-case options: 1 LTYPE, 2 KMODE, 3 and 4 cap flexibility options, 5 and 6 not used, 7 KDLAXHD.
inline Arr2<int, 1, MAXLC, 1, 7> LCOPT;
// Per-case counts and switches: 1 NCL, 2 NDL, 3 NFSD, 4 KPRINT, 5 NPREVRY, 6 KALTTOL, 7 KAXVAR,
// 8 KSKIP, 9 not used, 12..36 the column flags KCOL, 37 KEIPREV.
inline Arr2<int, 1, MAXLC, 1, 37> LCCNT;

// Concentrated loads: per case and load, X, Y, moment Z, Z, moment Y, moment X, then the point X, Y, Z.
struct LcCl {
    Arr3<double, 1, MAXLC, 1, MAXCL, 1, 9> CLOAD;
};
inline LcCl LCCL;

// Distributed-load entries of each case.
struct LcDl {
    Arr2<int, 1, MAXLC, 1, MAXDL> DLAXIS, DLPIL1, DLPIL2, DLPINC, DLSETY, DLSETZ;
    Arr2<double, 1, MAXLC, 1, MAXDL> DLFACY, DLFACZ;
};
inline LcDl LCDL;

// Foundation stiffness values of each case, used as read.
struct FsdDat {
    Arr2<double, 1, MAXLC, 1, MAXFSD> FSDV;
};
inline FsdDat FSDDAT;

// Values specified at a point. Component order X, Y, rotation Z, Z, rotation Y, rotation X.
struct LcSd {
    Arr<int, 1, MAXLC> SDFLAG;               // 1: the case is loaded through values at a point
    Arr2<int, 1, MAXLC, 1, 6> KDOF;           // 0 displacement given, else load given
    Arr2<double, 1, MAXLC, 1, 12> SDV;        // (displacement, load) pairs per component
    Arr2<double, 1, MAXLC, 1, 3> SDLOC;       // X, Y, Z of the point
};
inline LcSd LCSD;

// Load combinations.
struct LcbDef {
    int NCOMB = 0;
    Arr<std::string, 1, MAXLCB> LCBNAME;
};
inline LcbDef LCBDEF;
// Columns as in LCPAR.
inline Arr2<int, 1, MAXLCB, 1, 7> LCBPAR;
// 1 TOLCAP, 2 TOLPIL, 3 FINC, 4 FINCMIN, 5 bending reduction factor, 6 shear reduction factor,
// 7 TOLDEFA, 8 TOLROTA.
inline Arr2<double, 1, MAXLCB, 1, 8> LCBREAL;
// 1 NLCB, 2 KPRINT, 3 NPREVRY, 4 KALTTOL, 5 KAXVAR, 6 KSKIP, 7 not used, 9..33 KCOL, 34 KEIPREV.
inline Arr2<int, 1, MAXLCB, 1, 34> LCBCNT;
// The factored cases of each combination.
struct LcbLst {
    Arr2<int, 1, MAXLCB, 1, MAXLCBTERM> LCBCASE;
    Arr2<double, 1, MAXLCB, 1, MAXLCBTERM> LCBFAC;
};
inline LcbLst LCBLST;

// Envelope options.
struct OptEnv {
    int ENVLC = 0, ENVCB = 0;      // 1 or more: write the envelopes of the cases / combinations
    int KPRINTLC = 0, NPREVLC = 0; // print level and node step of the case envelopes
    int KPRINTCB = 0, NPREVCB = 0; // the same for the combination envelopes
    Arr2<int, 1, NCOLSEL, 1, 2> ENVCOLSEL;  // column flags: list 1 cases, list 2 combinations
};
inline OptEnv OPTENV;

// Sets of distributed load: depth and load per length at each point.
struct Dls {
    int NSETS = 0;
    Arr<int, 1, MAXDLSET> NPTS;
    Arr2<double, 1, MAXDLSET, 1, MAXDLPT> DLSDEP, DLSVAL;
};
inline Dls DLS;

}  // namespace kaldo
