// Unit helpers of the reports: the engine computes in inches and pounds (English and generic systems)
// or metres and kilonewtons (SI); the reports show feet, kips, millimetres where the reader expects
// them. Each helper returns its argument converted one way or the other for the run's units system
// (CTLIN.UNITS) and, for the kip helpers, the kip option (CTLIN.KKIPS).
//
// Repeated factors are applied one after another (x * 12 * 12, never x * 144), so that a value that
// goes out and back through a pair of helpers rounds exactly as the reports expect.
#pragma once

namespace kaldo {

// Kips: only the English system (UNITS 1 exactly) with the kip option 1; the generic system never
// prints kips.
double UCVKIPDIV(double x);  // pounds to kips
double UCVKIPMUL(double x);  // kips to pounds

// English and generic systems (UNITS other than 2); SI values pass unchanged.
double UCVD12(double x);    // inches to feet
double UCVM12(double x);    // feet to inches
double UCVM144(double x);   // per square inch to per square foot
double UCVD144(double x);   // per square foot to per square inch
double UCVM1728(double x);  // per cubic inch to per cubic foot
double UCVD1728(double x);  // per cubic foot to per cubic inch

// SI (UNITS 2); English and generic values pass unchanged.
double UCVM1E3(double x);   // metres to millimetres
double UCVD1E3(double x);   // millimetres to metres
double UCVM1E6(double x);   // square metres to square millimetres
double UCVD1E6(double x);   // square millimetres to square metres
double UCVM1E12(double x);  // metres to the fourth to millimetres to the fourth
double UCVD1E12(double x);  // millimetres to the fourth to metres to the fourth

}  // namespace kaldo
