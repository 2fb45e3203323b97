// Input blocks of the title, the control record and the pile cap, stored as read.
#pragma once

#include <string>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// The title and the control record.
struct CtlIn {
    std::string TITLEEND;  // 4 characters
    std::string TITLE;     // 80 characters, blank-padded
    int UNITS = 0;     // 1 English, 2 SI, 3 generic labels (computed as English)
    int ANTYPE = 0;    // 2 plane, 3 three-dimensional
    int CAPOPT = 0;    // <1 cap not used; 1 embedded cap with passive resistance; >1 embedded-cap record
    int FLXCAP = 0;    // >0 flexible cap (2 only exports the plate model)
    int KUSERPY = 0;   // 1: user p-y curves present
    int KUSERLS = 0;   // 1: user axial load-settlement curves present
    int KUSERTQ = 0;   // 1: user torque-rotation curves present
    int KGRPRF = 0;    // group reduction factors: 0 none, 1/2 from the load direction, 3/4 from a movement
    int KMPHI = 0;     // >=1: user moment-curvature sets present
    int KAXFAC = 0;    // nonzero: the echo shows each pile's axial-load factor
    int KPYOP = 0;     // p-y printout: 1 print generated curves, 0 none, -1 curves only
    int KAVGDIA = 0;   // nonzero: mean diameter of two piles for the spacing ratio
    int KBATDEP = 0;   // 1: depths of batter piles adjusted
    int KGENLS = 0;    // 1: notes on generated load-displacement curves
    int KAXLIM = 0;    // 1: axial and torsional forces held at the curve maximum
    int KKIPS = 0;     // kip option of the reports
    int KRFDEP = 0;    // 1: reduction factors along depth present
    int KSMOV = 0;     // 1: soil movement present
    int KCRVOUT = 0;   // 1: curve data file requests present
    int KCRVBIN = 0;   // 0 formatted curve data file, else unformatted
    double RFMOVY = 0.0, RFMOVZ = 0.0;  // the movement that sets group reduction factors (options 3, 4)
};
inline CtlIn CTLIN;

// The pile cap.
struct CapIn {
    double CAPLY = 0.0;   // length along y
    double CAPWZ = 0.0;   // width along z
    double CAPTX = 0.0;   // thickness along x
    double CAPDEQ = 0.0;  // equivalent diameter, 0 when not given
    double CAPWGIVEN = 0.0;  // the width along z as given (CAPWZ later becomes an effective width)
    int KCAPSPR = 0;      // embedded cap: nonzero equivalent lateral spring, 0 equivalent lateral load
    int KCAPSOIL = 0;     // 0 from the soil data, 1 model from the soil parameters, else from K50/FULT/YMAX
    int INCREMENTS = 0;   // increments of the equivalent lateral spring
    double K50 = 0.0, FULT = 0.0, YMAX = 0.0;  // cap resistance model
    // Set by the input echo with the cap pseudo-pile: x of the cap top, the cap thickness, and the
    // length of the embedded cap's equivalent short pile.
    double CAPXTOP = 0.0, CAPTHK = 0.0, CAPSLEN = 0.0;
};
inline CapIn CAPIN;

// The flexible cap: a plate of finite elements. The centre is converted to internal lengths; the
// modulus, like every modulus of the input, is taken as read.
struct CapFlx {
    double CENTY = 0.0, CENTZ = 0.0;  // centre of the plate
    int NDIVY = 0, NDIVZ = 0;         // element divisions along y and z
    double MAT1 = 0.0, MAT2 = 0.0;    // the plate's two material constants
};
inline CapFlx CAPFLX;

}  // namespace kaldo
