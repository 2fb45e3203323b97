// The run parameters of the load case or combination under analysis.
#pragma once

namespace kaldo {

// Filled from the case's or the combination's input before each analysis (CTLPARCASE, CTLPARCOMB);
// the group solution, the pile analysis and the result writers read it. Lengths in internal units.
struct CtlPar {
    double TOLCAP = 0.0;   // relative tolerance on the convergence of the cap movement
    double TOLPIL = 0.0;   // closure tolerance of a pile's lateral deflections at every node
    double FINC = 0.0;     // first load factor and load increment factor
    double FINCMIN = 0.0;  // smallest load increment factor that halving may reach
    double TOLDEFA = 0.0;  // alternative tolerance on the largest cap translation increment
    double TOLROTA = 0.0;  // alternative tolerance on the largest cap rotation increment
    double RFBEND = 0.0;   // bending resistance factor: the moment demand/capacity ratio is divided by it
    double RFSHEAR = 0.0;  // shear resistance factor: the shear demand/capacity ratio is divided by it
    double NCYCLES = 0.0;  // number of load cycles of cyclic loading
    int NTHRUSR = 0;       // requested thread count, 0 for the automatic rule
    int KSTATIC = 0;       // 1 static loading, 0 cyclic
    int MAXITG = 0;        // iteration limit of the group (cap) solution of one load step
    int MAXITP = 0;        // iteration limit of one pile's lateral solution
    int KPRINT = 0;        // print level: 0 cap only, 1 cap and pile heads, other also along the piles
    int NPREVRY = 0;       // node step of the along-pile tables when KPRINT is 2
    int KALTTOL = 0;       // nonzero: the alternative cap tolerances count as well
    int KAXVAR = 0;        // 1 or more: the axial force varies along the piles
    int KEIPREV = 0;       // 1 or more: bending stiffness from the previous iteration's deflections
    int KMODE = 0;         // <=0 one analysis; 1 to 10 cap flexibility; 11 or more stiffness estimation
};
inline CtlPar CTLPAR;

}  // namespace kaldo
