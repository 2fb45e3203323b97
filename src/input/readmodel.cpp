// Reading of the piles, sections, soils, curves and requests: the rest of the input data file after the
// sets of distributed load, in file order, up to the last section that the control record asks for.
//
// Values are stored as read (input units). Every count is checked against its table before anything is
// stored under it, and values that would make the analysis divide by zero or overrun a table stop the
// reading. Numbers that point into a section further down the file (a pile's property set, a section's
// cross section, a pile's curves) are checked once the whole file is read, at the line they came from.
#include <string>
#include <utility>
#include <vector>

#include "input/readsections.h"
#include "model/blocks.h"

namespace kaldo {

namespace {

using Where = InputFile::Where;

// The generated torque-rotation curves: the working table keeps at most 50 of them.
constexpr int MAXTQGENCRV = 50;

// Moment-curvature sets that the echo numbers for the nonlinear cross sections of types 1 to 9: one per
// section in a plane run, two (bending about z, then about y) in a three-dimensional run.
int generatedMphiSets() {
    int n = 0;
    for (int t = 1; t <= SECTIN.NSEC; ++t)
        if (SECTIN.NLFLAG(t) == 1 && SECTIN.SECTNI(t, 1) != 10) n += CTLIN.ANTYPE == 3 ? 2 : 1;
    return n;
}

// ---- Pile arrangement ----------------------------------------------------------------------------

// The curve and set numbers of one pile, whichever form its row had.
struct PileRefs {
    int psetno, pycrv, lscrv, lsgen, rflset;
    int trcrv = 0, trgen = 0;  // three-dimensional rows only
};

PileRefs pileRefs(int i) {
    if (CTLIN.ANTYPE == 3) {
        const auto& g = GRPIN3.GRP3INT;
        return {g(i, 3), g(i, 4), g(i, 5), g(i, 9), g(i, 7), g(i, 6), g(i, 10)};
    }
    const auto& g = GRPIN2.GRP2INT;
    return {g(i, 3), g(i, 4), g(i, 5), g(i, 7), g(i, 6)};
}

// The generated curves exist only when there is soil to build them from and some pile asks for one
// (its user-curve number 0); the echo then gives such a pile the curve its row names, and a pile that
// gives a negative number takes generated curve -n directly.
int generatedCurvesBuilt(int listLength, bool axial) {
    if (SOILIN.NLAYIN <= 0) return 0;
    for (int i = 1; i <= arrangementPiles(); ++i) {
        const PileRefs p = pileRefs(i);
        if ((axial ? p.lscrv : p.trcrv) == 0) return listLength;
    }
    return 0;
}

// The numbers of each pile row against the sections that followed it.
void checkPileRows(const std::vector<Where>& rowAt) {
    const int nAxGen = generatedCurvesBuilt(GENLISTS.NLSGENIN, true);
    const int nTqGen = CTLIN.ANTYPE == 3 ? generatedCurvesBuilt(GENLISTS.NTQGENIN, false) : 0;
    // The user p-y set of a pile is taken by its absolute value. Without the user p-y section only the
    // table's bound protects the lookups.
    const int pySets = CTLIN.KUSERPY == 1 ? PYUSRIN.NPYSETIN : MAXPYSET;
    for (int i = 1; i <= static_cast<int>(rowAt.size()); ++i) {
        const Where& at = rowAt[i - 1];
        const PileRefs p = pileRefs(i);
        const std::string pile = "pile " + num(i) + ": ";
        InputFile::checkRangeAt(at, p.psetno, 1, PILESETIN.NPROP, pile + "property set");
        if (p.pycrv < -pySets || p.pycrv > pySets)
            InputFile::checkRangeAt(at, p.pycrv, 0, pySets,
                                    pile + "user p-y curve set (taken by its absolute value)");
        // n > 0 a user curve, -n generated curve n.
        InputFile::checkRangeAt(at, p.lscrv, -nAxGen, TZUSRIN.NTZIN, pile + "axial load-settlement curve");
        if (p.lscrv == 0 && SOILIN.NLAYIN > 0)
            InputFile::checkRangeAt(at, p.lsgen, 1, GENLISTS.NLSGENIN, pile + "generated axial curve");
        if (CTLIN.ANTYPE == 3) {
            InputFile::checkRangeAt(at, p.trcrv, -nTqGen, TQUSRIN.NTQIN, pile + "torque-rotation curve");
            if (p.trcrv == 0 && SOILIN.NLAYIN > 0)
                InputFile::checkRangeAt(at, p.trgen, 1, GENLISTS.NTQGENIN,
                                        pile + "generated torque-rotation curve");
        }
        // A set number below 1 means no multipliers along depth.
        if (CTLIN.KRFDEP == 1 && p.rflset > RFD.NRFSET)
            InputFile::checkRangeAt(at, p.rflset, 0, RFD.NRFSET, pile + "reduction-factor set");
    }
}

void readArrangement(InputFile& in) {
    in.heading();
    std::vector<Where> rowAt;
    if (CTLIN.ANTYPE == 3) {
        const int n = in.readCount(MAXPILE, "pile rows");
        GRPIN3.NROW = n;
        for (int i = 1; i <= n; ++i) {
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 10; ++k) r >> GRPIN3.GRP3INT(i, k);
            }
            rowAt.push_back(in.here());
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 7; ++k) r >> GRPIN3.GRP3PRP(i, k);
            }
            io::ListRecord r = in.record();
            for (int k = 1; k <= 7; ++k) r >> GRPIN3.GRP3GEO(i, k);
        }
    } else if (CTLIN.ANTYPE == 2) {
        const int n = in.readCount(MAXPILE, "pile rows");
        GRPIN2.NROW = n;
        for (int i = 1; i <= n; ++i) {
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 7; ++k) r >> GRPIN2.GRP2INT(i, k);
            }
            rowAt.push_back(in.here());
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 5; ++k) r >> GRPIN2.GRP2PRP(i, k);
            }
            io::ListRecord r = in.record();
            for (int k = 1; k <= 4; ++k) r >> GRPIN2.GRP2GEO(i, k);
        }
    }
    if (!rowAt.empty()) in.defer([rowAt = std::move(rowAt)] { checkPileRows(rowAt); });
}

// ---- Pile property sets --------------------------------------------------------------------------

void readPropertySets(InputFile& in) {
    in.heading();
    const int nprop = in.readCount(MAXPROP, "pile property sets");
    PILESETIN.NPROP = nprop;
    struct SectionRef {
        Where at;
        int set, sect;
    };
    std::vector<SectionRef> refs;
    for (int s = 1; s <= nprop; ++s) {
        const std::string set = "property set " + num(s);
        int ident = 0, nsect = 0;
        in.record() >> ident >> nsect;
        // The section lookups put a sentinel in the slot after the last section.
        in.checkCount(nsect, MAXPSECT - 1, "sections of " + set);
        if (nsect == 0) in.fail(io::InputError::BadValue, "0", set + " has no section");
        PILESETIN.NSECT(s) = nsect;

        in.record() >> PILESETIN.NINC(s) >> PILESETIN.PLEN(s) >> PILESETIN.PTYPE(s);
        // The increment count sizes the node table of the pile, and the increment is PLEN / NINC.
        const int ninc = PILESETIN.NINC(s);
        if (ninc < 1 || ninc > MAXINC)
            in.fail(io::InputError::BadValue, num(ninc),
                    "increments " + num(ninc) + " of " + set + " outside 1.." + num(MAXINC));
        if (!(PILESETIN.PLEN(s) > 0.0))
            in.fail(io::InputError::BadValue, real(PILESETIN.PLEN(s)),
                    "pile length " + real(PILESETIN.PLEN(s)) + " of " + set + " is not positive");

        for (int j = 1; j <= nsect; ++j) {
            in.record() >> PILESETIN.PSFROM(s, j) >> PILESETIN.PSTO(s, j) >> PILESETIN.PSSECT(s, j);
            // The lookups interpolate between the two ends of a section.
            if (!(PILESETIN.PSTO(s, j) > PILESETIN.PSFROM(s, j)))
                in.fail(io::InputError::BadValue, real(PILESETIN.PSTO(s, j)),
                        "section " + num(j) + " of " + set + " ends at " + real(PILESETIN.PSTO(s, j)) +
                            ", not below its top at " + real(PILESETIN.PSFROM(s, j)));
            refs.push_back({in.here(), s, j});
        }
    }
    if (!refs.empty())
        in.defer([refs = std::move(refs)] {
            for (const SectionRef& r : refs)
                InputFile::checkRangeAt(r.at, PILESETIN.PSSECT(r.set, r.sect), 1, SECTIN.NSEC,
                                        "property set " + num(r.set) + ", section " + num(r.sect) +
                                            ": cross section");
        });
}

// ---- Cross sections ------------------------------------------------------------------------------

// Elastic cross section: top values, bottom values (read when tapered, else the top values), and the
// designation of a standard steel shape.
void readElasticSection(InputFile& in, int t) {
    auto& sr = SECTIN.SECTSR;
    {
        io::ListRecord r = in.record();
        for (int k = 1; k <= 8; ++k) r >> sr(t, k);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 9; k <= 18; ++k) r >> sr(t, k);
        r >> SECTIN.STAPER(t);
    }
    if (SECTIN.STAPER(t) > 0) {
        {
            io::ListRecord r = in.record();
            for (int k = 19; k <= 26; ++k) r >> sr(t, k);
        }
        io::ListRecord r = in.record();
        for (int k = 27; k <= 36; ++k) r >> sr(t, k);
    } else {
        for (int k = 1; k <= 18; ++k) sr(t, k + 18) = sr(t, k);
    }
    int unusedItem = 0;
    in.record() >> SECTIN.AISCFAM(t) >> unusedItem >> sr(t, 37) >> SECTIN.AISCEXT(t) >> unusedItem;
    in.record() >> SECTIN.AISCNAME(t);
}

// Nonlinear cross section: the properties the section table uses (the same at both ends), the
// integers and reals of its type, and its rebars, strands and third list. Items 28 and 29 of the
// integers are its moment-curvature sets; for a section whose sets the echo does not number they are
// kept as read and must name a user set, which is checked once the user sets have been read.
void readNonlinearSection(InputFile& in, int t, std::vector<std::pair<Where, int>>& keptSets) {
    auto& sr = SECTIN.SECTSR;
    auto& ni = SECTIN.SECTNI;
    auto& nr = SECTIN.SECTNR;
    const std::string sect = "cross section " + num(t);
    {
        static constexpr int TOP[] = {1, 10, 11, 12, 14, 15, 16, 17};
        io::ListRecord r = in.record();
        for (int k : TOP) r >> sr(t, k);
        for (int k : TOP) sr(t, k + 18) = sr(t, k);
    }
    {
        io::ListRecord r = in.record();
        r >> ni(t, 1);
        for (int k = 1; k <= 10; ++k) r >> nr(t, k);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 11; k <= 16; ++k) r >> nr(t, k);
        for (int k = 2; k <= 5; ++k) r >> ni(t, k);
    }
    in.record() >> SECTIN.NLAISCNAME(t);
    {
        io::ListRecord r = in.record();
        for (int k = 6; k <= 10; ++k) r >> ni(t, k);
        for (int k = 17; k <= 21; ++k) r >> nr(t, k);
        r >> ni(t, 11);
    }
    const int rebars = ni(t, 10);
    in.checkCount(rebars, MAXSECLIST, "rebars of " + sect);
    {
        io::ListRecord r = in.record();
        for (int k = 12; k <= 17; ++k) r >> ni(t, k);
        for (int k = 22; k <= 25; ++k) r >> nr(t, k);
    }
    for (int b = 1; b <= rebars; ++b)
        in.record() >> SECTIN.SECTREBAR(t, b, 1) >> SECTIN.SECTREBAR(t, b, 2);
    {
        io::ListRecord r = in.record();
        for (int k = 18; k <= 22; ++k) r >> ni(t, k);
        for (int k = 26; k <= 30; ++k) r >> nr(t, k);
    }
    const int strands = ni(t, 22);
    in.checkCount(strands, MAXSECLIST, "strands of " + sect);
    for (int b = 1; b <= strands; ++b)
        in.record() >> SECTIN.SECTSTRAND(t, b, 1) >> SECTIN.SECTSTRAND(t, b, 2);
    {
        io::ListRecord r = in.record();
        for (int k = 23; k <= 25; ++k) r >> ni(t, k);
        r >> nr(t, 31) >> nr(t, 32);
    }
    const int values = ni(t, 23);
    in.checkCount(values, MAXSECLIST, "values of the third list of " + sect);
    for (int v = 1; v <= values; ++v) in.record() >> SECTIN.SECTLIST3(t, v);
    {
        io::ListRecord r = in.record();
        for (int k = 26; k <= 33; ++k) r >> ni(t, k);
        for (int k = 33; k <= 35; ++k) r >> nr(t, k);
    }
    if (!(SECTIN.NLFLAG(t) == 1 && ni(t, 1) != 10)) keptSets.emplace_back(in.here(), t);
}

void readCrossSections(InputFile& in) {
    in.heading();
    const int nsec = in.readCount(MAXSEC, "cross sections");
    const Where countAt = in.here();
    SECTIN.NSEC = nsec;
    for (int t = 1; t <= nsec; ++t) {
        for (int k = 1; k <= 37; ++k) SECTIN.SECTSR(t, k) = 0.0;
        for (int k = 1; k <= 32; ++k) SECTIN.SECTNR(t, k) = 0.0;
        for (int k = 1; k <= MAXSECLIST; ++k) {
            SECTIN.SECTREBAR(t, k, 1) = SECTIN.SECTREBAR(t, k, 2) = 0.0;
            SECTIN.SECTSTRAND(t, k, 1) = SECTIN.SECTSTRAND(t, k, 2) = 0.0;
            SECTIN.SECTLIST3(t, k) = 0.0;
        }
    }
    std::vector<std::pair<Where, int>> keptSets;
    for (int t = 1; t <= nsec; ++t) {
        int ident = 0, unusedItem = 0;
        in.record() >> ident >> unusedItem >> SECTIN.ESHAPE(t) >> SECTIN.NLFLAG(t);
        in.record() >> SECTIN.SECTNAME(t);
        if (SECTIN.NLFLAG(t) == 0)
            readElasticSection(in, t);
        else
            readNonlinearSection(in, t, keptSets);
    }
    // The moment-curvature table holds the user sets and the generated ones together.
    const int generated = generatedMphiSets();
    if (generated > MAXMPSET)
        InputFile::failAt(countAt, io::InputError::Capacity, num(generated),
                          "the nonlinear cross sections need " + num(generated) +
                              " moment-curvature sets, above the " + num(MAXMPSET) + " the table holds");
    if (!keptSets.empty())
        in.defer([keptSets = std::move(keptSets)] {
            for (const auto& [at, t] : keptSets) {
                const std::string sect =
                    "cross section " + num(t) + ": user moment-curvature set (0 constant EI) for ";
                InputFile::checkRangeAt(at, SECTIN.SECTNI(t, 28), 0, MPHIIN.NUMPHI, sect + "Iz");
                // The set for Iy bends the second lateral plane, which only a 3-D pile has.
                if (CTLIN.ANTYPE == 3)
                    InputFile::checkRangeAt(at, SECTIN.SECTNI(t, 29), 0, MPHIIN.NUMPHI, sect + "Iy");
            }
        });
}

// ---- Soil layers and p-y print requests ----------------------------------------------------------

void readSoilLayers(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXLAYER, "soil layers");
    SOILIN.NLAYIN = n;
    for (int l = 1; l <= n; ++l) {
        const std::string layer = "soil layer " + num(l);
        int ident = 0, rows = 0, vals = 0;
        in.record() >> ident >> SOILIN.LCRITIN(l);
        in.record() >> SOILIN.XTOPIN(l) >> SOILIN.XBOTIN(l);
        in.record() >> rows >> vals;
        in.checkCount(rows, 2, "rows (1 top, 2 bottom) of " + layer);
        in.checkCount(vals, SOILVALS, "values of a row of " + layer);
        // A row of no values is still a record of its own.
        for (int row = 1; row <= rows; ++row) {
            if (vals == 0) {
                in.skipRecord();
                continue;
            }
            io::ListRecord r = in.record();
            for (int k = 1; k <= vals; ++k) r >> SOILIN.SOILVAL(l, row, k);
        }
    }
}

void readPyPrintRequests(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXPYPRT, "p-y print requests");
    PYPRT.NPYPRT = n;
    for (int q = 1; q <= n; ++q) {
        in.record() >> PYPRT.PYPGRP(q) >> PYPRT.PYPX(q);
        in.checkRange(PYPRT.PYPGRP(q), 1, arrangementPiles(), "p-y print request " + num(q) + ": pile");
        const int npt = in.readCount(MAXPYDEF, "deflections of p-y print request " + num(q));
        PYPRT.PYPNPT(q) = npt;
        if (npt > 0) {
            io::ListRecord r = in.record();
            for (int k = 1; k <= npt; ++k) r >> PYPRT.PYPRTDEF(q, k);
        }
    }
}

// ---- Curves ----------------------------------------------------------------------------------------

void readUserPyCurves(InputFile& in) {
    in.heading();
    const int nset = in.readCount(MAXPYSET, "user p-y curve sets");
    PYUSRIN.NPYSETIN = nset;
    for (int s = 1; s <= nset; ++s) {
        int ident = 0, ncrv = 0;
        in.record() >> ident >> ncrv;
        in.checkCount(ncrv, MAXPYCRV, "curves of user p-y set " + num(s));
        PYUSRIN.PYNCRVIN(s) = ncrv;
        for (int c = 1; c <= ncrv; ++c) {
            in.record() >> PYUSRIN.PYXIN(s, c);
            const int npt =
                in.readCount(MAXCRVPT, "points of curve " + num(c) + " of user p-y set " + num(s));
            PYUSRIN.PYNPTIN(s, c) = npt;
            for (int p = 1; p <= npt; ++p) in.record() >> PYUSRIN.PYPIN(s, c, p) >> PYUSRIN.PYYIN(s, c, p);
        }
    }
}

// A list of representative piles, one record each; capacity is the number of generated curves the
// working table holds. curve names one curve of the list ("generated axial curve").
int readPileList(InputFile& in, Arr<int, 1, MAXPILE + 1>& list, int capacity, const std::string& curve) {
    in.heading();
    const int n = in.readCount(capacity, curve + "s");
    for (int j = 1; j <= n; ++j) {
        in.record() >> list(j);
        in.checkRange(list(j), 1, arrangementPiles(), curve + " " + num(j) + ": representative pile");
    }
    return n;
}

// User load-settlement or torque-rotation curves: per curve its point count and (force, movement) pairs.
// curve names one curve ("user torque-rotation curve").
template <class Counts, class Points>
int readUserCurves(InputFile& in, Counts& npt, Points& force, Points& move, const std::string& curve) {
    in.heading();
    const int n = in.readCount(MAXUSRCRV, curve + "s");
    for (int k = 1; k <= n; ++k) {
        int ident = 0, m = 0;
        in.record() >> ident >> m;
        in.checkCount(m, MAXCRVPT, "points of " + curve + " " + num(k));
        npt(k) = m;
        for (int p = 1; p <= m; ++p) in.record() >> force(k, p) >> move(k, p);
    }
    return n;
}

void readUserMphi(InputFile& in, int generated) {
    in.heading();
    std::string what = "user moment-curvature sets";
    if (generated > 0)
        what += " (" + num(generated) + " of the " + num(MAXMPSET) +
                " sets go to the nonlinear cross sections)";
    const int nset = in.readCount(MAXMPSET - generated, what);
    MPHIIN.NUMPHI = nset;
    for (int s = 1; s <= nset; ++s) {
        int ident = 0, ncrv = 0;
        in.record() >> ident >> ncrv;
        in.checkCount(ncrv, MAXMPCRV, "curves of moment-curvature set " + num(s));
        MPHIIN.MPNCRVIN(s) = ncrv;
        for (int c = 1; c <= ncrv; ++c) {
            in.record() >> MPHIIN.MPAXLIN(s, c);
            int unusedItem = 0, npt = 0;
            in.record() >> unusedItem >> npt;
            in.checkCount(npt, MAXMPPT, "points of curve " + num(c) + " of moment-curvature set " + num(s));
            MPHIIN.MPNPTIN(s, c) = npt;
            for (int p = 1; p <= npt; ++p) in.record() >> MPHIIN.MPMOMIN(s, c, p) >> MPHIIN.MPPHIIN(s, c, p);
        }
    }
}

// One family of moment-curvature curves of cross section i (f 1 first bending axis, 2 second).
void readMphiFamily(InputFile& in, int i, int f) {
    const std::string fam = "family " + num(f) + " of cross section " + num(i);
    int ident = 0, ncrv = 0;
    in.record() >> ident >> ncrv;
    in.checkCount(ncrv, MAXMPCRV, "moment-curvature curves of " + fam);
    MPHIGENIN.MGNCRV(i, f) = ncrv;
    for (int c = 1; c <= ncrv; ++c) {
        in.record() >> MPHIGENIN.MGAXL(i, f, c);
        double unusedValue = 0.0;
        in.record() >> unusedValue;
        int unusedItem = 0, npt = 0;
        in.record() >> unusedItem >> npt;
        in.checkCount(npt, MAXMPPT, "points of curve " + num(c) + " of " + fam);
        MPHIGENIN.MGNPT(i, f, c) = npt;
        for (int p = 1; p <= npt; ++p)
            in.record() >> MPHIGENIN.MGMOM(i, f, c, p) >> MPHIGENIN.MGPHI(i, f, c, p);
    }
}

void readSectionMphi(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXMPGEN, "cross sections with moment-curvature curves");
    MPHIGENIN.NGMPHI = n;
    for (int i = 1; i <= n; ++i) {
        readMphiFamily(in, i, 1);
        if (CTLIN.ANTYPE == 3)
            readMphiFamily(in, i, 2);
        else
            MPHIGENIN.MGNCRV(i, 2) = 0;  // a plane pile bends about one axis only
    }
    // The families are taken in cross-section order: every nonlinear section whose curves are generated
    // (flag 1, type other than 10) must have its entry, or its piles would bend on an empty set.
    int last = 0;
    for (int t = 1; t <= SECTIN.NSEC; ++t)
        if (SECTIN.NLFLAG(t) == 1 && SECTIN.SECTNI(t, 1) != 10) last = t;
    if (n < last)
        in.fail(io::InputError::BadValue, num(n),
                "moment-curvature families of " + num(n) + " cross sections do not reach nonlinear cross section " +
                    num(last));
}

// ---- Multipliers, soil movement, curve file requests ---------------------------------------------

void readReductionFactors(InputFile& in) {
    in.heading();
    const int nset = in.readCount(MAXRFSET, "reduction-factor sets");
    RFD.NRFSET = nset;
    for (int s = 1; s <= nset; ++s) {
        int ident = 0, npt = 0;
        in.record() >> ident >> npt;
        in.checkCount(npt, MAXRFPT, "points of reduction-factor set " + num(s));
        RFD.NRFD(s) = npt;
        for (int p = 1; p <= npt; ++p) in.record() >> RFD.RFDX(s, p) >> RFD.RFDPM(s, p) >> RFD.RFDYM(s, p);
    }
}

void readSoilMovement(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXSMOV, "soil movement points");
    SMOV.NSMOV = n;
    for (int i = 1; i <= n; ++i) {
        in.record() >> SMOV.SMX(i) >> SMOV.SMY(i) >> SMOV.SMZ(i);
        // The group solution scales the current movement from the input one at every load step.
        SMOV.SMYIN(i) = SMOV.SMY(i);
        SMOV.SMZIN(i) = SMOV.SMZ(i);
    }
}

// A counted list of deflections, one value a record.
int readDeflectionList(InputFile& in, Arr<double, 1, MAXPYDEF>& list, const std::string& what) {
    const int n = in.readCount(MAXPYDEF, what);
    for (int k = 1; k <= n; ++k) in.record() >> list(k);
    return n;
}

void readCurveFileRequests(InputFile& in) {
    in.heading();
    in.record() >> OPTCRV.NCRVINC >> OPTCRV.KCRVPYL >> OPTCRV.KCRVLS2;
    // Every pile is cut into NCRVINC equal increments for the file's records.
    if (OPTCRV.NCRVINC < 1)
        in.fail(io::InputError::BadValue, num(OPTCRV.NCRVINC),
                "increments " + num(OPTCRV.NCRVINC) + " of the curve data file below 1");
    if (OPTCRV.KCRVPYL == 1) OPTCRV.NCRVPY = readDeflectionList(in, OPTCRV.CRVPYDEF, "p-y curve deflections");
    if (OPTCRV.KCRVLS2 == 1)
        OPTCRV.NCRVLS2 = readDeflectionList(in, OPTCRV.CRVLS2, "values of the second list");
}

}  // namespace

int arrangementPiles() {
    if (CTLIN.ANTYPE == 3) return GRPIN3.NROW;
    if (CTLIN.ANTYPE == 2) return GRPIN2.NROW;
    return 0;
}

void readModelSections(InputFile& in) {
    readArrangement(in);
    readPropertySets(in);
    readCrossSections(in);
    readSoilLayers(in);
    if (CTLIN.KPYOP == 1) readPyPrintRequests(in);
    if (CTLIN.KUSERPY == 1) readUserPyCurves(in);
    GENLISTS.NLSGENIN = readPileList(in, GENLISTS.LSGENPILE, MAXPILE + 1, "generated axial curve");
    if (CTLIN.ANTYPE == 3)
        GENLISTS.NTQGENIN =
            readPileList(in, GENLISTS.TQGENPILE, MAXTQGENCRV, "generated torque-rotation curve");
    if (CTLIN.KUSERLS == 1)
        TZUSRIN.NTZIN = readUserCurves(in, TZUSRIN.TZNPTIN, TZUSRIN.TZFIN, TZUSRIN.TZWIN,
                                       "user axial load-settlement curve");
    if (CTLIN.KUSERTQ == 1)
        TQUSRIN.NTQIN = readUserCurves(in, TQUSRIN.TQNPTIN, TQUSRIN.TQTIN, TQUSRIN.TQRIN,
                                       "user torque-rotation curve");
    if (CTLIN.KMPHI > 0) readUserMphi(in, generatedMphiSets());
    if (SECTIN.NSEC > 0) readSectionMphi(in);
    if (CTLIN.KRFDEP == 1) readReductionFactors(in);
    if (CTLIN.KSMOV == 1) readSoilMovement(in);
    if (CTLIN.KCRVOUT == 1) readCurveFileRequests(in);
}

}  // namespace kaldo
