// Reading of the load cases, the load combinations and the sets of distributed load.
//
// The three sections follow the pile cap in this order, each opened by its heading line. Values are
// stored as read, by case or combination number in input order; the conversion to internal units comes
// later. Every count is held against its table before anything is stored under it, and values with
// which the analysis could not end (a load factor that never grows, a bound of no iterations) or would
// reach past a table (a controlled degree of freedom, a target-iteration count longer than its history)
// stop the run here, naming the section, the line and the value.
#include <cmath>
#include <string>

#include "input/readsections.h"
#include "model/blocks.h"

namespace kaldo {
namespace {

using Kind = io::InputError::Kind;

constexpr int NAMELEN = 80;  // characters of a case or combination name
// Switches that count as on from 1 upwards take any value from 0.
constexpr int MAXVALUEINT = 2147483647;

// The pairs (displacement, factor) that one point of a target-deflection stiffness estimation can keep.
// Every point after the first starts with one pair and adds one per solution, so a point may run at most
// HISTORYPAIRS - 1 solutions.
constexpr int HISTORYPAIRS = 20;

// Integer run parameters of a case or combination (columns of LCPAR / LCBPAR). The iteration limits bound
// the cap iteration and the iteration of every pile: with no iteration allowed nothing is ever solved,
// and a bound beyond MAXITERATIONS is work without end (and a counter that runs one past it overflows).
// The requested thread count is 0 (automatic rule) or a number of threads; a negative request would set
// a negative team size for the parallel regions.
void checkRunParameters(InputFile& in, int c, bool combination) {
    const auto par = [&](int k) { return combination ? LCBPAR(c, k) : LCPAR(c, k); };
    const std::string owner = (combination ? "load combination " : "load case ") + num(c);
    const int nthrusr = par(3), maxitg = par(6), maxitp = par(7);
    if (nthrusr < 0)
        in.fail(Kind::BadValue, num(nthrusr),
                "requested thread count " + num(nthrusr) + " of " + owner + " is negative (0: automatic)");
    in.checkInt(par(5), 0, 100000, "number of load cycles (item 5) of " + owner, "0 to 100000");
    if (maxitg < 1)
        in.fail(Kind::BadValue, num(maxitg),
                "iteration limit of the group solution (MAXITG) " + num(maxitg) + " of " + owner +
                    " must be at least 1");
    if (maxitp < 1)
        in.fail(Kind::BadValue, num(maxitp),
                "iteration limit of a pile analysis (MAXITP) " + num(maxitp) + " of " + owner +
                    " must be at least 1");
    const std::string limits = "1 to " + num(MAXITERATIONS);
    in.checkInt(maxitg, 1, MAXITERATIONS, "iteration limit of the group solution (MAXITG) of " + owner, limits);
    in.checkInt(maxitp, 1, MAXITERATIONS, "iteration limit of a pile analysis (MAXITP) of " + owner, limits);
}

// Tolerances and load steps. The load is applied in steps: FINC is the first load factor and the step,
// FINCMIN the smallest step that halving may reach. A step of 0 or less never brings the load to its
// total and a floor of 0 or less lets the halving run without end; a step below MINLOADSTEP takes more
// than 10000 steps to the full load, and a floor below MINHALFSTEP lets a failing case creep on in more
// than 100000 steps. A tolerance of 0 or less can never be met.
void checkLoadSteps(InputFile& in, double tolcap, double tolpil, double finc, double fincmin,
                    const std::string& owner) {
    in.positive(tolcap, "tolerance of the cap movement (TOLCAP) of " + owner);
    in.positive(tolpil, "tolerance of the pile deflections (TOLPIL) of " + owner);
    if (!(finc > 0.0))
        in.fail(Kind::BadValue, num(finc),
                "load increment factor (FINC) " + num(finc) + " of " + owner + " must be above 0");
    in.checkReal(finc, MINLOADSTEP, MAXVALUE, "load increment factor (FINC) of " + owner,
                 real(MINLOADSTEP) + " or more (at most 10000 load steps)");
    if (!(fincmin > 0.0))
        in.fail(Kind::BadValue, num(fincmin),
                "minimum load increment factor (FINCMIN) " + num(fincmin) + " of " + owner + " must be above 0");
    in.checkReal(fincmin, MINHALFSTEP, MAXVALUE, "minimum load increment factor (FINCMIN) of " + owner,
                 real(MINHALFSTEP) + " or more (at most 100000 load steps)");
}

// The print level and node step of the along-pile tables, and the switches of record 5 of a case
// (record 5 of a combination has the same, without the scale factor). The alternative tolerances are
// absolute bounds on the cap's movement: when they count they must be above 0.
void checkPrintAndSwitches(InputFile& in, int kprint, int nprevry, int kalttol, double toldefa, double tolrota,
                           int kaxvar, int kskip, int keiprev, const std::string& owner) {
    in.checkCode(kprint, {0, 1, 2}, "print level (KPRINT) of " + owner,
                 "0 cap only, 1 cap and pile heads, 2 also along the piles");
    if (kprint == 2) in.checkInt(nprevry, 1, MAXINC, "node step of the printout (NPREVRY) of " + owner, "1 to 100");
    in.checkCode(kalttol, {0, 1}, "alternative tolerances switch (KALTTOL) of " + owner, "0 or 1");
    if (kalttol == 1) {
        in.positive(toldefa, "alternative cap deflection tolerance (TOLDEFA) of " + owner);
        in.positive(tolrota, "alternative cap rotation tolerance (TOLROTA) of " + owner);
    }
    in.checkInt(kaxvar, 0, MAXVALUEINT, "axial variation switch (KAXVAR) of " + owner, "0 off, 1 on");
    in.checkCode(kskip, {0, 1}, "skip switch (KSKIP) of " + owner, "0 analysed, 1 not analysed");
    in.checkInt(keiprev, 0, MAXVALUEINT, "previous EI switch (KEIPREV) of " + owner, "0 off, 1 on");
}

// The envelope record of the case or combination section: switch, print level and node step.
void checkEnvelope(InputFile& in, int env, int kprint, int nprev, const std::string& what) {
    in.checkCode(env, {0, 1}, "envelope switch of the " + what, "0 none, 1 envelopes written");
    if (env == 1) {
        in.checkCode(kprint, {0, 1, 2}, "envelope print level of the " + what,
                     "0 cap only, 1 cap and pile heads, 2 also along the piles");
        if (kprint == 2) in.checkInt(nprev, 1, MAXINC, "envelope node step of the " + what, "1 to 100");
    }
}

// Control values of the long form of a stiffness-estimation case (mode 11 or more with 13 values or
// more: L = NFSD - 12 levels, then basis, controlled degree of freedom, six targets, tolerance, iteration
// count, axial switch and single-component switch). Checked as each value is read; value j of the case
// has just been stored.
//  - Basis: 1 seeks target deflections, 0 takes the levels as factors of the total load; nothing else.
//  - Controlled degree of freedom d: picks the cap displacement u(d) that the solution reports, the target
//    slot L + 2 + d and, with the single-component switch, the load component d. It must name one of the
//    six (plane: X, Y, rotation Z as 3 or 6, the plane solution having three); 0 stands for none and is
//    allowed only when no target is sought, since the error of a target of 0 cannot be measured.
//  - Iteration count N (target basis): at least 2 (the first solution of the case records the origin);
//    every point after the first starts its history with one pair and adds one per solution, so N may
//    not exceed HISTORYPAIRS - 1.
void checkStiffnessControl(InputFile& in, int c, int j, int nfsd) {
    if (LCOPT(c, 2) < 11 || nfsd < 13) return;
    const int levels = nfsd - 12;
    const std::string owner = "the stiffness estimation of load case " + num(c);
    const double v = FSDDAT.FSDV(c, j);
    const double whole = std::trunc(v);
    const double basis = std::trunc(FSDDAT.FSDV(c, levels + 1));
    if (j == levels + 1) {
        // The echo, the driver and the solutions read the basis as two cases only.
        if (v != 0.0 && v != 1.0)
            in.fail(Kind::BadValue, num(v),
                    "basis " + num(v) + " of " + owner + " must be 0 (total load) or 1 (target deflection)");
    } else if (j == levels + 2) {
        const bool plane = CTLIN.ANTYPE == 2;
        bool valid = plane ? (whole == 1.0 || whole == 2.0 || whole == 3.0 || whole == 6.0)
                           : (whole >= 1.0 && whole <= 6.0);
        if (whole == 0.0 && basis != 1.0) valid = true;
        if (!valid)
            in.fail(Kind::BadValue, num(v),
                    "controlled degree of freedom " + num(v) + " of " + owner + " must be " +
                        (plane ? "1, 2, 3 or 6" : "1 to 6") +
                        (basis != 1.0 ? " (0: none)" : " on the target-deflection basis"));
    } else if (j == levels + 10 && basis == 1.0) {
        // The first solution of a target-deflection case only records the origin; the target is sought
        // from the second on, so fewer than two solutions never reach it.
        if (whole < 2.0)
            in.fail(Kind::BadValue, num(v),
                    "iteration count " + num(v) + " of " + owner + " must be at least 2 on the target-deflection basis");
        if (whole > HISTORYPAIRS - 1)
            in.fail(Kind::Capacity, num(v),
                    "iteration count " + num(v) + " of " + owner + " above " + num(HISTORYPAIRS - 1) +
                        " (the history holds " + num(HISTORYPAIRS) + " pairs)");
    }
}

// One distributed-load entry: an integer the assembly does not use, the axes, the first and last pile
// and the pile step, then the set and factor of each lateral direction.
void readDistributedEntry(InputFile& in, int c, int e) {
    const std::string owner = "distributed-load entry " + num(e) + " of load case " + num(c);
    io::ListRecord r = in.record();
    int unusedItem = 0;
    r >> unusedItem >> LCDL.DLAXIS(c, e) >> LCDL.DLPIL1(c, e) >> LCDL.DLPIL2(c, e);
    const InputFile::Where atPiles = in.here();
    r >> LCDL.DLPINC(c, e);
    // The step walks from the lower to the higher pile number. A step of 0 is legitimate: it means the
    // distance between the two piles, so that an entry loads its two end piles, or a single pile when
    // both numbers are the same (or the last is 0). A negative step has no meaning.
    if (LCDL.DLPINC(c, e) < 0)
        in.fail(Kind::BadValue, num(LCDL.DLPINC(c, e)),
                "pile step " + num(LCDL.DLPINC(c, e)) + " of " + owner + " is negative");
    r >> LCDL.DLSETY(c, e);
    const InputFile::Where atSetY = in.here();
    r >> LCDL.DLFACY(c, e) >> LCDL.DLSETZ(c, e);
    const InputFile::Where atSetZ = in.here();
    r >> LCDL.DLFACZ(c, e);
    r.finish();
    in.checkCode(LCDL.DLAXIS(c, e), {0, 1}, "axes of " + owner, "0 local pile axes, 1 global axes");
    in.finite(LCDL.DLFACY(c, e), "factor Y of " + owner);
    in.finite(LCDL.DLFACZ(c, e), "factor Z of " + owner);

    // Pile numbers: 0 loads no pile (as first) or stands for the first (as last); any other number must
    // be a pile of the arrangement read later.
    const int first = LCDL.DLPIL1(c, e), last = LCDL.DLPIL2(c, e);
    in.defer([atPiles, first, last, owner] {
        const int npiles = arrangementPiles();
        for (auto [pile, role] : {std::pair{first, "first"}, std::pair{last, "last"}})
            if (pile < 0 || pile > npiles)
                InputFile::failAt(atPiles, Kind::Index, num(pile),
                                  owner + " names pile " + num(pile) + " as its " + role + " pile; the group has " +
                                      num(npiles) + " piles");
    });
    // A set number of 1 or more selects a set of the section that follows; 0 or less selects none (the
    // direction gets no load). The z direction is used in three-dimensional runs only.
    auto deferSet = [&in, &owner](const InputFile::Where& at, int set, const char* direction) {
        if (set < 1) return;
        in.defer([at, set, direction, owner] {
            if (set > DLS.NSETS)
                InputFile::failAt(at, Kind::Index, num(set),
                                  owner + " takes set " + num(set) + " for the " + direction + " direction; " +
                                      num(DLS.NSETS) + " sets of distributed load are given");
        });
    };
    deferSet(atSetY, LCDL.DLSETY(c, e), "y");
    if (CTLIN.ANTYPE != 2) deferSet(atSetZ, LCDL.DLSETZ(c, e), "z");
}

// The 25 column flags of an along-pile result table, one record.
template <class Cell>
void readColumnFlags(InputFile& in, Cell cell) {
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= NCOLSEL; ++k) r >> cell(k);
    }
    for (int k = 1; k <= NCOLSEL; ++k)
        in.checkInt(cell(k), 0, MAXVALUEINT, "column flag " + num(k), "0 column left out, 1 column printed");
}

void readCase(InputFile& in, int c) {
    const std::string owner = "load case " + num(c);
    // 1. Integer run parameters.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 7; ++k) r >> LCPAR(c, k);
        checkRunParameters(in, c, false);
    }
    // 2. Tolerances and load steps.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 4; ++k) r >> LCREAL(c, k);
        checkLoadSteps(in, LCREAL(c, 1), LCREAL(c, 2), LCREAL(c, 3), LCREAL(c, 4), owner);
    }
    // 3. Name.
    LCDEF.LCNAME(c) = in.fixedText(NAMELEN);
    // 4. Options and the switch of values specified at a point.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 7; ++k) r >> LCOPT(c, k);
        r >> LCSD.SDFLAG(c);
        r.finish();
        in.checkInt(LCOPT(c, 1), 0, 12, "load type (item 1) of " + owner,
                    "0 dead, 1 live, 2 seismic, 3 impact, 4 wind, 5 water, 6 ice, 7 soils, 8 roof live, 9 rain, "
                    "10 snow, 11 temperature, 12 special");
        in.checkInt(LCOPT(c, 2), 0, 99, "mode (item 2) of " + owner,
                    "0 one analysis, 1 to 10 cap flexibility, 11 to 99 stiffness estimation");
        // A flexible cap is solved as a plate by its own program, which yields no cap displacements per
        // unit load: a cap-flexibility case has nothing to tabulate there.
        if (CTLIN.FLXCAP > 0 && LCOPT(c, 2) >= 1 && LCOPT(c, 2) <= 10)
            in.fail(Kind::BadValue, num(LCOPT(c, 2)),
                    "mode " + num(LCOPT(c, 2)) + " (item 2) of " + owner +
                        " asks for the cap flexibility, which a flexible cap (control record item 4 above 0) does "
                        "not give; use mode 0 or a rigid cap");
        in.checkCode(LCOPT(c, 3), {0, 1}, "cap stiffness matrix switch (item 3) of " + owner, "0 or 1");
        in.checkCode(LCOPT(c, 4), {0, 1}, "diagonal stiffness switch (item 4) of " + owner, "0 or 1");
        in.checkCode(LCOPT(c, 7), {0, 1}, "axial distributed load at the head switch (item 7) of " + owner, "0 or 1");
        in.checkCode(LCSD.SDFLAG(c), {0, 1}, "values at a point switch (item 8) of " + owner,
                     "0 concentrated loads, 1 displacements or loads given at a point");
    }
    // 5. Print level, scale factor, alternative tolerances and switches.
    {
        io::ListRecord r = in.record();
        r >> LCCNT(c, 4) >> LCCNT(c, 5) >> LCREAL(c, 5) >> LCCNT(c, 6) >> LCREAL(c, 6) >> LCREAL(c, 7) >>
            LCCNT(c, 7) >> LCCNT(c, 8) >> LCCNT(c, 37);
        r.finish();
        checkPrintAndSwitches(in, LCCNT(c, 4), LCCNT(c, 5), LCCNT(c, 6), LCREAL(c, 6), LCREAL(c, 7), LCCNT(c, 7),
                              LCCNT(c, 8), LCCNT(c, 37), owner);
        in.finite(LCREAL(c, 5), "scale factor of " + owner);
    }
    // 6. A switch the analysis does not use.
    in.record() >> LCCNT(c, 9);
    // 7. Column flags of the case's along-pile tables.
    readColumnFlags(in, [c](int k) -> int& { return LCCNT(c, 11 + k); });
    // 8, 9. Concentrated loads.
    LCCNT(c, 1) = in.readCount(MAXCL, "concentrated loads of " + owner, LCCNT(c, 1));
    for (int j = 1; j <= LCCNT(c, 1); ++j) {
        {
            io::ListRecord r = in.record();
            for (int k = 1; k <= 9; ++k) r >> LCCL.CLOAD(c, j, k);
        }
        static const char* const NAMES[] = {"force X", "force Y", "moment about Z", "force Z", "moment about Y",
                                            "moment about X", "X", "Y", "Z"};
        const std::string load = " of concentrated load " + num(j) + " of " + owner;
        for (int k = 1; k <= 6; ++k) in.finite(LCCL.CLOAD(c, j, k), NAMES[k - 1] + load);
        for (int k = 7; k <= 9; ++k)
            in.coordinate(LCCL.CLOAD(c, j, k), std::string("coordinate ") + NAMES[k - 1] + load);
    }
    // 10, 11. Distributed-load entries.
    LCCNT(c, 2) = in.readCount(MAXDL, "distributed-load entries of " + owner, LCCNT(c, 2));
    for (int e = 1; e <= LCCNT(c, 2); ++e) readDistributedEntry(in, c, e);
    // 12, 13. Foundation stiffness values, one record each.
    LCCNT(c, 3) = in.readCount(MAXFSD, "foundation stiffness values of " + owner, LCCNT(c, 3));
    for (int j = 1; j <= LCCNT(c, 3); ++j) {
        {
            io::ListRecord r = in.record();
            r >> FSDDAT.FSDV(c, j);
        }
        in.finite(FSDDAT.FSDV(c, j), "foundation stiffness value " + num(j) + " of " + owner);
        checkStiffnessControl(in, c, j, LCCNT(c, 3));
    }
    // 14 to 17. Displacements or loads specified at a point.
    if (LCSD.SDFLAG(c) == 1) {
        {
            io::ListRecord r = in.record();
            for (int k = 1; k <= 6; ++k) r >> LCSD.KDOF(c, k);
        }
        for (int k = 1; k <= 6; ++k)
            in.checkCode(LCSD.KDOF(c, k), {0, 1},
                         "kind of value given at the point, item " + num(k) + ", of " + owner,
                         "0 displacement, 1 load");
        for (int half = 0; half < 2; ++half) {
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 6; ++k) r >> LCSD.SDV(c, 6 * half + k);
            }
            for (int k = 1; k <= 6; ++k)
                in.finite(LCSD.SDV(c, 6 * half + k), "value " + num(6 * half + k) + " given at the point of " + owner);
        }
        {
            io::ListRecord r = in.record();
            for (int k = 1; k <= 3; ++k) r >> LCSD.SDLOC(c, k);
        }
        for (int k = 1; k <= 3; ++k)
            in.coordinate(LCSD.SDLOC(c, k), "coordinate " + num(k) + " of the point of " + owner);
    }
}

void readCases(InputFile& in) {
    in.heading();
    {
        io::ListRecord r = in.record();
        int nlc = LCDEF.NLC, unusedItem = 0;
        r >> nlc;
        in.checkCount(nlc, MAXLC, "load cases");
        LCDEF.NLC = nlc;
        r >> OPTENV.ENVLC >> OPTENV.KPRINTLC >> OPTENV.NPREVLC >> unusedItem;
        r.finish();
        checkEnvelope(in, OPTENV.ENVLC, OPTENV.KPRINTLC, OPTENV.NPREVLC, "load cases");
    }
    if (OPTENV.ENVLC > 0) readColumnFlags(in, [](int k) -> int& { return OPTENV.ENVCOLSEL(k, 1); });
    for (int c = 1; c <= LCDEF.NLC; ++c) readCase(in, c);
}

void readCombination(InputFile& in, int m) {
    const std::string owner = "load combination " + num(m);
    // 1, 2. Run parameters, as for a case.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 7; ++k) r >> LCBPAR(m, k);
        checkRunParameters(in, m, true);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 4; ++k) r >> LCBREAL(m, k);
        checkLoadSteps(in, LCBREAL(m, 1), LCBREAL(m, 2), LCBREAL(m, 3), LCBREAL(m, 4), owner);
    }
    // 3. Name.
    LCBDEF.LCBNAME(m) = in.fixedText(NAMELEN);
    // 4. Bending and shear reduction factors and a first count of terms, which the count of record 8
    //    replaces; it is held until then.
    int nlcb = LCBCNT(m, 1);
    {
        io::ListRecord r = in.record();
        r >> LCBREAL(m, 5) >> LCBREAL(m, 6) >> nlcb;
        // The demand/capacity ratios are divided by these factors: 0 or less gives no usable ratio.
        const char* what[2] = {"bending", "shear"};
        for (int k = 5; k <= 6; ++k)
            if (!(LCBREAL(m, k) > 0.0))
                in.fail(Kind::BadValue, num(LCBREAL(m, k)),
                        std::string(what[k - 5]) + " reduction factor " + num(LCBREAL(m, k)) + " of " + owner +
                            " must be above 0");
    }
    // 5. Print level, alternative tolerances and switches.
    {
        io::ListRecord r = in.record();
        r >> LCBCNT(m, 2) >> LCBCNT(m, 3) >> LCBCNT(m, 4) >> LCBREAL(m, 7) >> LCBREAL(m, 8) >> LCBCNT(m, 5) >>
            LCBCNT(m, 6) >> LCBCNT(m, 34);
        r.finish();
        checkPrintAndSwitches(in, LCBCNT(m, 2), LCBCNT(m, 3), LCBCNT(m, 4), LCBREAL(m, 7), LCBREAL(m, 8),
                              LCBCNT(m, 5), LCBCNT(m, 6), LCBCNT(m, 34), owner);
    }
    // 6. A switch the analysis does not use.
    in.record() >> LCBCNT(m, 7);
    // 7. Column flags of the combination's along-pile tables.
    readColumnFlags(in, [m](int k) -> int& { return LCBCNT(m, 8 + k); });
    // 8. The count of terms that is kept and read.
    LCBCNT(m, 1) = in.readCount(MAXLCBTERM, "factored load cases of " + owner, nlcb);
    // 9. The terms: a load case, known already, and its factor.
    for (int k = 1; k <= LCBCNT(m, 1); ++k) {
        io::ListRecord r = in.record();
        int lc = LCBLST.LCBCASE(m, k);
        r >> lc;
        in.checkRange(lc, 1, LCDEF.NLC, "term " + num(k) + " of " + owner + " names load case");
        LCBLST.LCBCASE(m, k) = lc;
        r >> LCBLST.LCBFAC(m, k);
        r.finish();
        in.finite(LCBLST.LCBFAC(m, k), "factor of term " + num(k) + " of " + owner);
    }
}

void readCombinations(InputFile& in) {
    in.heading();
    {
        io::ListRecord r = in.record();
        int ncomb = LCBDEF.NCOMB, unusedItem = 0;
        r >> ncomb;
        in.checkCount(ncomb, MAXLCB, "load combinations");
        LCBDEF.NCOMB = ncomb;
        r >> OPTENV.ENVCB >> OPTENV.KPRINTCB >> OPTENV.NPREVCB >> unusedItem;
        r.finish();
        checkEnvelope(in, OPTENV.ENVCB, OPTENV.KPRINTCB, OPTENV.NPREVCB, "load combinations");
    }
    if (OPTENV.ENVCB > 0) readColumnFlags(in, [](int k) -> int& { return OPTENV.ENVCOLSEL(k, 2); });
    for (int m = 1; m <= LCBDEF.NCOMB; ++m) readCombination(in, m);
}

void readDistributedSets(InputFile& in) {
    in.heading();
    DLS.NSETS = in.readCount(MAXDLSET, "sets of distributed load", DLS.NSETS);
    for (int s = 1; s <= DLS.NSETS; ++s) {
        DLS.NPTS(s) = in.readCount(MAXDLPT, "points of distributed-load set " + num(s), DLS.NPTS(s));
        for (int p = 1; p <= DLS.NPTS(s); ++p) {
            {
                io::ListRecord r = in.record();
                r >> DLS.DLSDEP(s, p) >> DLS.DLSVAL(s, p);
            }
            const std::string point = " of point " + num(p) + " of distributed-load set " + num(s);
            in.dimension(DLS.DLSDEP(s, p), "depth" + point);
            // The depths of a set are searched in order for the segment that holds a node.
            if (p > 1 && !(DLS.DLSDEP(s, p) > DLS.DLSDEP(s, p - 1)))
                in.checkReal(DLS.DLSDEP(s, p), DLS.DLSDEP(s, p - 1), MAXCOORD, "depth" + point,
                             "at or below the depth of the point before it (" + num(DLS.DLSDEP(s, p - 1)) + ")");
            in.finite(DLS.DLSVAL(s, p), "load" + point);
        }
    }
}

}  // namespace

void readLoadSections(InputFile& in) {
    readCases(in);
    readCombinations(in);
    readDistributedSets(in);
}

}  // namespace kaldo
