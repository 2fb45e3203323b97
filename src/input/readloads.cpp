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

// The pairs (displacement, factor) that one point of a target-deflection stiffness estimation can keep.
// Every point after the first starts with one pair and adds one per solution, so a point may run at most
// HISTORYPAIRS - 1 solutions.
constexpr int HISTORYPAIRS = 20;

// Integer run parameters of a case or combination (columns of LCPAR / LCBPAR). The iteration limits bound
// the cap iteration and the iteration of every pile: with no iteration allowed nothing is ever solved.
// The requested thread count is 0 (automatic rule) or a number of threads; a negative request would set
// a negative team size for the parallel regions.
void checkRunParameters(InputFile& in, int nthrusr, int maxitg, int maxitp, const std::string& owner) {
    if (nthrusr < 0)
        in.fail(Kind::BadValue, num(nthrusr),
                "requested thread count " + num(nthrusr) + " of " + owner + " is negative (0: automatic)");
    if (maxitg < 1)
        in.fail(Kind::BadValue, num(maxitg),
                "iteration limit of the group solution (MAXITG) " + num(maxitg) + " of " + owner +
                    " must be at least 1");
    if (maxitp < 1)
        in.fail(Kind::BadValue, num(maxitp),
                "iteration limit of a pile analysis (MAXITP) " + num(maxitp) + " of " + owner +
                    " must be at least 1");
}

// The load is applied in steps: FINC is the first load factor and the step, FINCMIN the smallest step
// that halving may reach. A step of 0 or less never brings the load to its total, and a floor of 0 or
// less lets the halving run without end.
void checkLoadSteps(InputFile& in, double finc, double fincmin, const std::string& owner) {
    if (!(finc > 0.0))
        in.fail(Kind::BadValue, num(finc),
                "load increment factor (FINC) " + num(finc) + " of " + owner + " must be above 0");
    if (!(fincmin > 0.0))
        in.fail(Kind::BadValue, num(fincmin),
                "minimum load increment factor (FINCMIN) " + num(fincmin) + " of " + owner + " must be above 0");
}

// Control values of the long form of a stiffness-estimation case (mode 11 or more with 13 values or
// more: L = NFSD - 12 levels, then basis, controlled degree of freedom, six targets, tolerance, iteration
// count, axial switch and single-component switch). Checked as each value is read; value j of the case
// has just been stored.
//  - Basis: 1 seeks target deflections, any other value takes the levels as factors of the total load.
//  - Controlled degree of freedom d: picks the cap displacement u(d) that the solution reports, the target
//    slot L + 2 + d and, with the single-component switch, the load component d. It must name one of the
//    six (plane: X, Y, rotation Z as 3 or 6, the plane solution having three); 0 stands for none and is
//    allowed only when no target is sought, since the error of a target of 0 cannot be measured.
//  - Iteration count N (target basis): every point after the first starts its history with one pair and
//    adds one per solution, so N may not exceed HISTORYPAIRS - 1.
void checkStiffnessControl(InputFile& in, int c, int j, int nfsd) {
    if (LCOPT(c, 2) < 11 || nfsd < 13) return;
    const int levels = nfsd - 12;
    const std::string owner = "the stiffness estimation of load case " + num(c);
    const double v = FSDDAT.FSDV(c, j);
    const double whole = std::trunc(v);
    const double basis = std::trunc(FSDDAT.FSDV(c, levels + 1));
    if (j == levels + 2) {
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
    io::ListRecord r = in.record();
    for (int k = 1; k <= NCOLSEL; ++k) r >> cell(k);
}

void readCase(InputFile& in, int c) {
    const std::string owner = "load case " + num(c);
    // 1. Integer run parameters.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 7; ++k) r >> LCPAR(c, k);
        checkRunParameters(in, LCPAR(c, 3), LCPAR(c, 6), LCPAR(c, 7), owner);
    }
    // 2. Tolerances and load steps.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 4; ++k) r >> LCREAL(c, k);
        checkLoadSteps(in, LCREAL(c, 3), LCREAL(c, 4), owner);
    }
    // 3. Name.
    LCDEF.LCNAME(c) = in.fixedText(NAMELEN);
    // 4. Options and the switch of values specified at a point.
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 7; ++k) r >> LCOPT(c, k);
        r >> LCSD.SDFLAG(c);
    }
    // 5. Print level, scale factor, alternative tolerances and switches.
    {
        io::ListRecord r = in.record();
        r >> LCCNT(c, 4) >> LCCNT(c, 5) >> LCREAL(c, 5) >> LCCNT(c, 6) >> LCREAL(c, 6) >> LCREAL(c, 7) >>
            LCCNT(c, 7) >> LCCNT(c, 8) >> LCCNT(c, 37);
    }
    // 6. A switch the analysis does not use.
    in.record() >> LCCNT(c, 9);
    // 7. Column flags of the case's along-pile tables.
    readColumnFlags(in, [c](int k) -> int& { return LCCNT(c, 11 + k); });
    // 8, 9. Concentrated loads.
    LCCNT(c, 1) = in.readCount(MAXCL, "concentrated loads of " + owner, LCCNT(c, 1));
    for (int j = 1; j <= LCCNT(c, 1); ++j) {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 9; ++k) r >> LCCL.CLOAD(c, j, k);
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
        checkStiffnessControl(in, c, j, LCCNT(c, 3));
    }
    // 14 to 17. Displacements or loads specified at a point.
    if (LCSD.SDFLAG(c) == 1) {
        {
            io::ListRecord r = in.record();
            for (int k = 1; k <= 6; ++k) r >> LCSD.KDOF(c, k);
        }
        {
            io::ListRecord r = in.record();
            for (int k = 1; k <= 6; ++k) r >> LCSD.SDV(c, k);
        }
        {
            io::ListRecord r = in.record();
            for (int k = 7; k <= 12; ++k) r >> LCSD.SDV(c, k);
        }
        io::ListRecord r = in.record();
        for (int k = 1; k <= 3; ++k) r >> LCSD.SDLOC(c, k);
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
        checkRunParameters(in, LCBPAR(m, 3), LCBPAR(m, 6), LCBPAR(m, 7), owner);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 4; ++k) r >> LCBREAL(m, k);
        checkLoadSteps(in, LCBREAL(m, 3), LCBREAL(m, 4), owner);
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
            io::ListRecord r = in.record();
            r >> DLS.DLSDEP(s, p) >> DLS.DLSVAL(s, p);
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
