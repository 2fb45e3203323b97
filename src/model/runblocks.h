// Run-wide words: constants, wall-clock times and the solver state shared by the group solution
// and the pile routines.
#pragma once

#include <atomic>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// Constants every routine may read, set by the input reader before any data line is read.
struct RunConst {
    // Pi as most routines see it. The input reader stores the single-precision value of 3.14159; some
    // routines store the double value of pi later, and whichever ran last is what the next reader sees.
    double PIWORD = 0.0;
    double YMIN = 0.0;    // smallest deflection the p-y curves treat as nonzero
    double DEPTOL = 0.0;  // depth tolerance of the soil profile lookups
    double DLTOL = 0.0;   // depth tolerance of the distributed-load interpolation
};
inline RunConst RUNCONST;

// Wall-clock times of the run, in seconds.
struct RunTime {
    double RUNTCASE = 0.0;  // duration of the load case or combination that finished last
    double RUNT0 = 0.0;     // wall clock at the start; the total elapsed time at the end of the run
    double RUNTMARK = 0.0;  // elapsed run time at the end of the previous case
    double RUNTPAR = 0.0;   // parallel time of the current case
    double RUNTSER = 0.0;   // serial time of the current case
    double RUNTPRT = 0.0;   // print time of the current case
    int RUNTHRMAX = 0;      // threads the parallel runtime offers
    int RUNTHRPEAK = 1;     // largest thread count used so far (the per-case report reads this copy)
    int RUNTHRPEAK2 = 1;    // the same, read by the end-of-run report
};
inline RunTime RUNTIME;

// Why the current load step of the group solution cannot be accepted, raised by the piles (and the
// solution itself) while the step runs. A higher state wins: the piles only ever raise it.
enum SolverState : int {
    SOLVER_OK = 0,              // nothing stands against accepting the step
    SOLVER_NO_CLOSURE = 1,      // a pile's lateral solution did not close within its iteration limit
    SOLVER_SINGULAR = 2,        // the group stiffness is singular
    SOLVER_WARNINGS = 3,        // warnings to copy to the reports; never fails a step
    SOLVER_AXIAL_FAILURE = 4,   // a pile's axial (t-z) solution gave up
    SOLVER_CURVES_SHORT = 5,    // user p-y curves end above the pile tip
};

// What the piles are asked for in a force evaluation (RUNPASS): head forces and stiffness while the cap
// iterates, also their results and envelopes in the final results pass, also their secant stiffnesses
// in the equivalent-stiffness pass of a stiffness-estimation point.
enum RunPass : int {
    PASS_ITERATING = 0,
    PASS_RESULTS = 1,
    PASS_STIFFNESS = 2,
};

// The solver state shared by the group solution and the pile routines. The pile routines run on many
// threads at once: the words they write are atomics that they only ever raise or count up.
struct RunState {
    int RUNPASS = PASS_ITERATING;           // what the piles are asked for (RunPass)
    std::atomic<int> RUNSOLVST{SOLVER_OK};  // failure reason of the current step (SolverState), raised by the piles
    std::atomic<int> RUNWARNBEAR{0};        // bearing warnings of the current force evaluation
    std::atomic<int> RUNWARNPULL{0};        // pull-out warnings
    std::atomic<int> RUNWARNTORS{0};        // torsion warnings
    int RUNWARNPRT = 0;                     // 1 while the force evaluation whose warnings are written runs
};
inline RunState RUNSTATE;

// Counts the model resets of this process (one per run); never reset itself. Values a thread keeps
// between pile analyses to save work carry the count they were computed under, so nothing kept from
// one model serves another.
inline std::atomic<unsigned> RUNGENERATION{0};

// Raises the solver state of the current step to code, unless it already holds a higher one. Pile
// routines on many threads may report at once; the state is never lowered or cleared by them.
inline void raiseSolverState(SolverState code) {
    int now = RUNSTATE.RUNSOLVST.load();
    while (now < code && !RUNSTATE.RUNSOLVST.compare_exchange_weak(now, code)) {
    }
}

}  // namespace kaldo
