// The run position of the analysis driver, read by the group solution, and the state of a stiffness
// estimation shared by the driver, the group solution and the target-deflection iteration.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct RunPoint {
    int CURCASE = 0;  // load case under analysis; counts the combinations during the combination loop
    int CURCOMB = 0;  // combination under analysis, 0 during the load cases
    int NPOINT = 0;   // analysis points of the current case; the last is the total-load analysis
    int IPOINT = 0;   // current point
    int ILOOP = 0;    // current increment of a flexibility point, or iteration of a stiffness point
    int PKIND = 0;    // 0 total load, 2 force-controlled degree-of-freedom point of the cap flexibility
    int NFSDC = 0;    // stiffness values of the current case
    Arr<double, 1, MAXFSD> FSDC;  // the case's stiffness values; entries past NFSDC are zero
};
inline RunPoint RUNPOINT;

// Envelope series: 1 while the next reported analysis starts a new series of envelopes.
struct EnvCtl {
    int ENVSERIES = 0;
    int ENVKPRINT = 0;  // print level and node step of the envelope being written
    int ENVNPREV = 0;
};
inline EnvCtl ENVCTL;

// The pairs (computed displacement, load factor) that one point of a target-deflection estimation
// keeps: every point after the first starts with one pair and adds one per solution.
inline constexpr int EQSHIST = 20;

// Where a stiffness-estimation point stands (EQSSTATE): failed, accepted, at its last solution, at a
// test of the target deflection, or a point of the series of load levels.
enum EstimationState : int {
    EST_FAILED = -1,
    EST_ACCEPTED = 0,
    EST_LAST = 1,
    EST_TEST = 2,
    EST_LEVEL = 3,
};

struct EqsEst {
    double EQSDCMP = 0.0;  // displacement of the controlled degree of freedom computed last
    double EQSDTGT = 0.0;  // target displacement of the point: target times level, 0 without a DOF
    double EQSFAC = 0.0;   // load factor of the current solution
    double EQSD1 = 0.0, EQSF1 = 0.0;  // the first pair of the case
    double EQSTOL = 0.0;   // tolerance in per cent
    int EQSNH = 0;         // pairs in the history
    int EQSDOF = 0;        // controlled degree of freedom (plane rotation as 3)
    int EQSSTATE = 0;      // where the current point stands (EstimationState)
    int EQSACT = 0;        // 1 while a stiffness-estimation level point is solved
    int EQSSINGLE = 0;     // nonzero: only the controlled component of the load is scaled
    int EQSFLAT = 0;       // 1 when the last interpolation found its two pairs at one displacement
    Arr<double, 1, EQSHIST> EQSHD, EQSHF;  // the history: displacements and the factors behind them
};
inline EqsEst EQSEST;

}  // namespace kaldo
