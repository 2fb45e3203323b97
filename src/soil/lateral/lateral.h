// Lateral soil resistance: what the other subsystems may call.
//
// Everything here may run on the worker threads of the parallel pile loops, one pile per call: the
// routines read the shared soil tables only, keep no state, and write nothing shared but the status
// word they are given (only on failure, never cleared) and whole warning records.
#pragma once

namespace kaldo {

// ---- Soil property profiles at a coordinate ------------------------------------------------------
// x is the global vertical coordinate (positive downward, internal length units), not a depth below
// the ground surface. Within a layer a profile is linear between the layer's top and bottom rows; an
// x above the first row extends rows 1 and 2 linearly upward. Below the last row the lookups with a
// status word warn (results and runtime files), set the status and return 0; those without one
// return 0 silently.

// Average effective unit weight from the ground surface down to x (0 above the ground surface).
// Below the profile: status 22.
double PRFGAMAV(double x, int& status);
// Average undrained cohesion from the ground surface down to x. Below the profile it warns on the
// results file only, sets no status and extends the last layer's profile linearly down to x.
double PRFCAVG(double x, int& status);
// Undrained cohesion (rock strength, stress transfer) at x; at a layer boundary the lower layer's
// value unless that is zero. Below the profile: status 23.
double PRFCAT(double x, int& status);
// Friction angle (radians) at x; at a layer boundary the mean of the two layers' values, or the
// nonzero one. Below the profile: status 24.
double PRFPHIAT(double x, int& status);
// Subgrade modulus k, rock modulus Er, strain E50 (krm for weak rock) and the J / RQD column at x,
// with the boundary rule of PRFPHIAT; 0 below the profile.
double PRFKAT(double x);
double PRFK2AT(double x);
double PRFE50AT(double x);
double PRFCOL7(double x);
// The J / RQD lookup under the name the soft clays with J use.
double PRFCOL7B(double x);
// Subgrade modulus for the single-pile solver: k at x, or when k is practically zero a default from
// the cohesion at x (lb/in^3 bands of 500 to 4000 psf, times 271.5 in SI). 0 above the first row;
// below the profile the strength warning is written, no status is set and the lowest band is used.
double PRFKDEF(double x);
// User ultimate unit side friction, unit tip resistance and friction angle (radians) at x, linear
// within the segment that holds x; at a layer boundary the lower layer's top value. Below the
// profile: status 25, 26 and 27.
double PRFFMAX(double x, int& status);
double PRFQMAX(double x, int& status);
double PRFPHILIN(double x, int& status);

// ---- Default soil parameters --------------------------------------------------------------------
// Estimates of a subgrade modulus k or strain E50 that the input gives as zero or negative. Values in
// internal units: lb and inch (English and generic), kN and metre (SI). units is CTLIN.UNITS
// (1 English, 2 SI, 3 generic: no estimate unless said). Friction angles are in radians.

// Sand k (lb/in^3 or kN/m^3) from the friction angle and the effective unit weight, which tells
// whether the sand lies above or below the water table. k is written in English and SI runs only.
void PYKPHI(double phi, double gamma, double& k, int units);
// Soft-clay E50 by strength band (always written; 0.001 in a generic run).
void PYE50SOFT(double c, double& e50, int units);
// Stiff-clay E50 by strength band (written in English and SI runs only).
void PYE50STIFF(double c, double& e50, int units);
// Stiff-clay k by strength band; kstatic 1 static, 0 cyclic loading. Written in English and SI runs
// only, and only for kstatic 0 or 1.
void PYKCLAY(double c, double& k, int units, int kstatic);
// Silt k: the stiff-clay k of the loading (kstatic 1 static, otherwise cyclic) plus an increment by
// friction angle and water table. Written in English and SI runs only.
void PYKSILT(double gamma, double c, double phi, double& k, int units, int kstatic);

// The k of one row of a layer for the input echo. k1 (static) and k2 (cyclic) return kin itself with
// estimated = 0 when kin > 0; otherwise estimated = 1 and the criterion's defaults (clays 2, 10, 14
// and silt 7 both loadings, with twoValues = 1; sands 4, 8 the static k only; other criteria keep kin).
void DEFKLAYER(double c, double phi, double gamma, double kin, double& k1, double& k2, int units, int criterion,
               int& estimated, int& twoValues);
// The E50 of one row of a layer for the input echo: e50in itself with estimated = 0 when e50in > 0;
// otherwise estimated = 1 and the soft-clay (1, 7, 13, 14) or stiff-clay (2, 3, 10) estimate; other
// criteria keep e50in.
void DEFE50LAYER(double c, double e50in, double& e50out, int units, int criterion, int& estimated);
// The E50 estimate of the axial and torsional soil curves, by the criterion choice of DEFE50LAYER;
// e50 is left unchanged where no estimate applies.
void DEFE50AX(double c, double& e50, int criterion, int units);

}  // namespace kaldo
