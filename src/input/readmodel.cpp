// Reading of the piles, sections, soils, curves and requests: the rest of the input data file after the
// sets of distributed load, in file order, up to the last section that the control record asks for.
//
// Values are stored as read (input units). Every count is checked against its table before anything is
// stored under it, and values that would make the analysis divide by zero or overrun a table stop the
// reading. Numbers that point into a section further down the file (a pile's property set, a section's
// cross section, a pile's curves) are checked once the whole file is read, at the line they came from.
#include <cmath>
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

// The values of one pile row. Connection codes, head springs, multipliers (a y-multiplier divides the
// deflection), the head position and the orientation. A three-dimensional pile whose BETA is near 0 lies
// nearly flat: the analysis takes it, but BETA is the angle from the horizontal (90 for a vertical pile),
// and a 0 meant as "no batter" is the commonest mistake; it gets a warning.
const char* const CONNECTIONS = "1 pinned, 2 fixed, 3 rotational spring";

void checkMultipliers(const InputFile& in, double p, double y, const std::string& dir, const std::string& pile) {
    in.nonNegative(p, "p-multiplier" + dir + " of " + pile);
    in.positive(y, "y-multiplier" + dir + " of " + pile);
}

void checkRow3(const InputFile& in, int i, int stage) {
    const std::string pile = "pile " + num(i);
    if (stage == 1) {
        in.checkCode(GRPIN3.GRP3INT(i, 1), {1, 2, 3}, "head connection about z of " + pile, CONNECTIONS);
        in.checkCode(GRPIN3.GRP3INT(i, 2), {1, 2, 3}, "head connection about y of " + pile, CONNECTIONS);
    } else if (stage == 2) {
        in.nonNegative(GRPIN3.GRP3PRP(i, 1), "rotational head spring about z of " + pile);
        in.nonNegative(GRPIN3.GRP3PRP(i, 2), "rotational head spring about y of " + pile);
        checkMultipliers(in, GRPIN3.GRP3PRP(i, 3), GRPIN3.GRP3PRP(i, 4), " along Y", pile);
        checkMultipliers(in, GRPIN3.GRP3PRP(i, 5), GRPIN3.GRP3PRP(i, 6), " along Z", pile);
        in.finite(GRPIN3.GRP3PRP(i, 7), "axial load factor of " + pile);
    } else {
        in.coordinate(GRPIN3.GRP3GEO(i, 1), "head X of " + pile);
        in.coordinate(GRPIN3.GRP3GEO(i, 2), "head Y of " + pile);
        in.coordinate(GRPIN3.GRP3GEO(i, 3), "head Z of " + pile);
        in.checkReal(GRPIN3.GRP3GEO(i, 4), -360.0, 360.0, "ALPHA of " + pile, "-360 to 360 degrees");
        in.checkReal(GRPIN3.GRP3GEO(i, 5), 0.0, 180.0, "BETA of " + pile,
                     "0 to 180 degrees down from the horizontal (90: vertical)");
        in.checkReal(GRPIN3.GRP3GEO(i, 6), -360.0, 360.0, "THETA of " + pile, "-360 to 360 degrees");
        in.coordinate(GRPIN3.GRP3GEO(i, 7), "distance to the ground surface of " + pile);
        if (std::abs(GRPIN3.GRP3GEO(i, 5) - 90.0) > 60.0)
            in.warn(pile + " has BETA " + num(GRPIN3.GRP3GEO(i, 5)) +
                    " degrees: it lies within 30 degrees of the horizontal; a vertical pile has BETA 90");
    }
}

void checkRow2(const InputFile& in, int i, int stage) {
    const std::string pile = "pile row " + num(i);
    if (stage == 1) {
        in.checkCode(GRPIN2.GRP2INT(i, 1), {1, 2, 3}, "head connection of " + pile, CONNECTIONS);
        in.checkInt(GRPIN2.GRP2INT(i, 2), 1, MAXPILE, "number of piles of " + pile, "1 to " + num(MAXPILE));
    } else if (stage == 2) {
        in.nonNegative(GRPIN2.GRP2PRP(i, 1), "rotational head spring of " + pile);
        in.dimension(GRPIN2.GRP2PRP(i, 2), "pile spacing of " + pile);
        checkMultipliers(in, GRPIN2.GRP2PRP(i, 3), GRPIN2.GRP2PRP(i, 4), "", pile);
        in.finite(GRPIN2.GRP2PRP(i, 5), "axial load factor of " + pile);
    } else {
        in.coordinate(GRPIN2.GRP2GEO(i, 1), "head X of " + pile);
        in.coordinate(GRPIN2.GRP2GEO(i, 2), "head Y of " + pile);
        in.checkReal(GRPIN2.GRP2GEO(i, 3), -60.0, 60.0, "batter angle of " + pile,
                     "-60 to 60 degrees from the vertical (0: vertical)");
        in.coordinate(GRPIN2.GRP2GEO(i, 4), "distance to the ground surface of " + pile);
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
            checkRow3(in, i, 1);
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 7; ++k) r >> GRPIN3.GRP3PRP(i, k);
            }
            checkRow3(in, i, 2);
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 7; ++k) r >> GRPIN3.GRP3GEO(i, k);
            }
            checkRow3(in, i, 3);
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
            checkRow2(in, i, 1);
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 5; ++k) r >> GRPIN2.GRP2PRP(i, k);
            }
            checkRow2(in, i, 2);
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= 4; ++k) r >> GRPIN2.GRP2GEO(i, k);
            }
            checkRow2(in, i, 3);
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
        in.checkReal(PILESETIN.PLEN(s), 0.0, MAXCOORD, "pile length of " + set, "above 0, up to " + real(MAXCOORD));
        in.checkCode(PILESETIN.PTYPE(s), {1, 2}, "pile type of " + set, "1 driven pile, 2 drilled shaft");

        for (int j = 1; j <= nsect; ++j) {
            in.record() >> PILESETIN.PSFROM(s, j) >> PILESETIN.PSTO(s, j) >> PILESETIN.PSSECT(s, j);
            in.coordinate(PILESETIN.PSFROM(s, j), "top of section " + num(j) + " of " + set);
            in.coordinate(PILESETIN.PSTO(s, j), "bottom of section " + num(j) + " of " + set);
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

void checkSectionValues(const InputFile& in, int t, int base, bool elastic);

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
    checkSectionValues(in, t, 0, true);
    in.checkCode(SECTIN.STAPER(t), {0, 1}, "taper switch of cross section " + num(t),
                 "0 uniform, 1 tapered (bottom values follow)");
    if (SECTIN.STAPER(t) > 0) {
        {
            io::ListRecord r = in.record();
            for (int k = 19; k <= 26; ++k) r >> sr(t, k);
        }
        {
            io::ListRecord r = in.record();
            for (int k = 27; k <= 36; ++k) r >> sr(t, k);
        }
        checkSectionValues(in, t, 18, true);
    } else {
        for (int k = 1; k <= 18; ++k) sr(t, k + 18) = sr(t, k);
    }
    int unusedItem = 0;
    in.record() >> SECTIN.AISCFAM(t) >> unusedItem >> sr(t, 37) >> SECTIN.AISCEXT(t) >> unusedItem;
    if (SECTIN.ESHAPE(t) == 5) {
        const std::string sect = " of cross section " + num(t);
        in.checkCode(SECTIN.AISCFAM(t), {0, 1, 2, 3, 11, 12}, "steel shape family" + sect,
                     "0 W, 1 M, 2 S, 3 HP, 11 HSS, 12 PIPE");
        in.checkCode(SECTIN.AISCEXT(t), {0, 1}, "external diameter switch" + sect, "0 or 1");
        in.dimension(sr(t, 37), "wall thickness" + sect);
    }
    in.record() >> SECTIN.AISCNAME(t);
}

// The section values that the analysis uses, at one end of cross section t (top: base 0, bottom: 18).
// The diameter is the pile's width for the soil springs and the Young modulus makes its bending
// stiffness: both must be above 0 (an elastic section without modulus bends without resistance). The
// area divides the axial force into a stress: 0 adds no stress, a positive area must not be so small
// that the stress overflows. Inertias of 0 take a default from the diameter.
void checkSectionValues(const InputFile& in, int t, int base, bool elastic) {
    auto& sr = SECTIN.SECTSR;
    const std::string sect = std::string(base == 0 ? "" : " at the bottom") + " of cross section " + num(t);
    in.checkReal(sr(t, base + 1), MINDIVISOR, MAXCOORD, "diameter" + sect,
                 real(MINDIVISOR) + " to " + real(MAXCOORD));
    if (elastic) {
        for (int k = 2; k <= 8; ++k)
            in.dimension(sr(t, base + k), "dimension " + num(k) + sect);
        in.nonNegative(sr(t, base + 9), "shear modulus" + sect);
        in.finite(sr(t, base + 13), "value 13" + sect);
        in.finite(sr(t, base + 18), "value 18" + sect);
    }
    in.zeroOrDivisor(sr(t, base + 10), "area" + sect);
    in.nonNegative(sr(t, base + 11), "moment of inertia Iz" + sect);
    in.nonNegative(sr(t, base + 12), "moment of inertia Iy" + sect);
    in.nonNegative(sr(t, base + 14), "torsional stiffness GJ" + sect);
    in.nonNegative(sr(t, base + 15), "moment capacity Mn" + sect);
    in.nonNegative(sr(t, base + 16), "shear capacity Vn" + sect);
    if (elastic)
        in.positive(sr(t, base + 17), "Young modulus" + sect);
    else
        in.nonNegative(sr(t, base + 17), "Young modulus" + sect);
    // Engineering moduli of pile materials lie between timber and steel: about 1e6 to 3e7 psi, 7e6 to
    // 2e8 kPa. A hundredth of that is a modulus given in ksi or MPa.
    const double e = sr(t, base + 17);
    const bool si = CTLIN.UNITS == 2;
    const double lo = si ? 7.0e5 : 1.0e5, hi = si ? 7.0e8 : 1.0e8;
    if (CTLIN.UNITS != 3 && e > 0.0 && (e < lo || e > hi))
        in.warn("Young modulus" + sect + " is " + num(e) + (si ? " kPa" : " psi") +
                ", far from the moduli of pile materials (" + (si ? "7e6 to 2e8 kPa" : "1e6 to 3e7 psi") +
                "); the modulus is given in " + (si ? "kPa" : "psi"));
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
    checkSectionValues(in, t, 0, false);
    {
        io::ListRecord r = in.record();
        r >> ni(t, 1);
        for (int k = 1; k <= 10; ++k) r >> nr(t, k);
    }
    in.checkInt(ni(t, 1), 1, 10, "nonlinear type of " + sect,
                "1 rectangular concrete, 2 round concrete shaft, 3 round shaft with casing, 4 round prestressed, "
                "5 square prestressed, 6 octagonal prestressed, 7 steel pipe, 8 steel H or I, 9 designated steel "
                "shape, 10 user defined EI");
    {
        io::ListRecord r = in.record();
        for (int k = 11; k <= 16; ++k) r >> nr(t, k);
        for (int k = 2; k <= 5; ++k) r >> ni(t, k);
    }
    in.checkCode(ni(t, 2), {0, 1, 2, 3}, "steel core of " + sect,
                 "0 none, 1 steel pipe, 2 H or I shape, 3 designated shape");
    in.checkCode(ni(t, 3), {0, 1}, "H shape switch of " + sect, "0 I shape, 1 H shape");
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
    for (int b = 1; b <= rebars; ++b) {
        in.record() >> SECTIN.SECTREBAR(t, b, 1) >> SECTIN.SECTREBAR(t, b, 2);
        in.coordinate(SECTIN.SECTREBAR(t, b, 1), "position y of rebar " + num(b) + " of " + sect);
        in.coordinate(SECTIN.SECTREBAR(t, b, 2), "position z of rebar " + num(b) + " of " + sect);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 18; k <= 22; ++k) r >> ni(t, k);
        for (int k = 26; k <= 30; ++k) r >> nr(t, k);
    }
    const int strands = ni(t, 22);
    in.checkCount(strands, MAXSECLIST, "strands of " + sect);
    for (int b = 1; b <= strands; ++b) {
        in.record() >> SECTIN.SECTSTRAND(t, b, 1) >> SECTIN.SECTSTRAND(t, b, 2);
        in.coordinate(SECTIN.SECTSTRAND(t, b, 1), "position y of strand " + num(b) + " of " + sect);
        in.coordinate(SECTIN.SECTSTRAND(t, b, 2), "position z of strand " + num(b) + " of " + sect);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 23; k <= 25; ++k) r >> ni(t, k);
        r >> nr(t, 31) >> nr(t, 32);
    }
    const int values = ni(t, 23);
    in.checkCount(values, MAXSECLIST, "values of the third list of " + sect);
    for (int v = 1; v <= values; ++v) {
        in.record() >> SECTIN.SECTLIST3(t, v);
        in.finite(SECTIN.SECTLIST3(t, v), "value " + num(v) + " of the third list of " + sect);
    }
    {
        io::ListRecord r = in.record();
        for (int k = 26; k <= 33; ++k) r >> ni(t, k);
        for (int k = 33; k <= 35; ++k) r >> nr(t, k);
    }
    // Dimensions, strengths, moduli, areas and the prestress force of the section: none is negative.
    for (int k = 1; k <= 30; ++k) in.nonNegative(nr(t, k), "value " + num(k) + " of the nonlinear data of " + sect);
    for (int k = 31; k <= 35; ++k) in.finite(nr(t, k), "value " + num(k) + " of the nonlinear data of " + sect);
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
        in.checkInt(SECTIN.ESHAPE(t), 0, 5, "shape of cross section " + num(t),
                    "0 general, 1 circular pipe, 2 rectangular pipe, 3 I section, 4 H section, "
                    "5 designated steel shape");
        in.checkCode(SECTIN.NLFLAG(t), {0, 1}, "kind of cross section " + num(t), "0 elastic, 1 nonlinear");
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

// The values of one row of a soil layer. None is negative; the friction angle stays below 90 degrees
// (its tangent), E50 is a strain and RQD a percentage. A unit weight far from soil's (a unit mistake:
// pounds per cubic inch, or kN where N were meant) gets a warning.
void checkSoilRow(const InputFile& in, int l, int row) {
    const std::string at = std::string(row == 1 ? " at the top" : " at the bottom") + " of soil layer " + num(l);
    auto v = [&](int k) { return SOILIN.SOILVAL(l, row, k); };
    in.nonNegative(v(1), "effective unit weight" + at);
    in.nonNegative(v(2), "strength" + at);
    in.checkReal(v(3), 0.0, 89.0, "friction angle" + at, "0 to 89 degrees");
    in.nonNegative(v(4), "subgrade modulus k" + at);
    in.nonNegative(v(5), "rock modulus Er" + at);
    in.nonNegative(v(6), "E50 (krm)" + at);
    in.checkReal(v(7), 0.0, SOILIN.LCRITIN(l) == 9 ? 100.0 : MAXVALUE, "J or RQD" + at,
                 SOILIN.LCRITIN(l) == 9 ? "0 to 100 (per cent)" : "0 or more");
    in.nonNegative(v(8), "ultimate unit side friction" + at);
    in.nonNegative(v(9), "ultimate unit tip resistance" + at);
    in.finite(v(10), "value 10" + at);
    const bool si = CTLIN.UNITS == 2;
    const double lo = si ? 2.0 : 10.0, hi = si ? 32.0 : 200.0;
    if (CTLIN.UNITS != 3 && v(1) > 0.0 && (v(1) < lo || v(1) > hi))
        in.warn("effective unit weight" + at + " is " + num(v(1)) + (si ? " kN/m3" : " pcf") +
                ", far from the unit weights of soil (" + (si ? "2 to 32 kN/m3" : "10 to 200 pcf") + ")");
}

void readSoilLayers(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXLAYER, "soil layers");
    SOILIN.NLAYIN = n;
    for (int l = 1; l <= n; ++l) {
        const std::string layer = "soil layer " + num(l);
        int ident = 0, rows = 0, vals = 0;
        in.record() >> ident >> SOILIN.LCRITIN(l);
        in.checkInt(SOILIN.LCRITIN(l), 1, 14, "p-y criterion of " + layer,
                    "1 soft clay, 2 stiff clay with free water, 3 stiff clay without free water, 4 sand, 5 user "
                    "p-y curves, 6 vuggy limestone, 7 silt, 8 API sand, 9 weak rock, 10 stiff clay with initial k, "
                    "11 liquefied sand, 12 elastic subgrade, 13 soft clay with J, "
                    "14 modified soft clay with initial k");
        in.record() >> SOILIN.XTOPIN(l) >> SOILIN.XBOTIN(l);
        in.coordinate(SOILIN.XTOPIN(l), "X of the top of " + layer);
        in.coordinate(SOILIN.XBOTIN(l), "X of the bottom of " + layer);
        // Profiles are interpolated along each layer: a layer has a thickness.
        if (!(SOILIN.XBOTIN(l) > SOILIN.XTOPIN(l)))
            in.checkReal(SOILIN.XBOTIN(l), SOILIN.XTOPIN(l) + MAXCOORD, 0.0, "X of the bottom of " + layer,
                         "below its top (" + num(SOILIN.XTOPIN(l)) + "; X is positive downwards)");
        in.record() >> rows >> vals;
        in.checkCount(rows, 2, "rows (1 top, 2 bottom) of " + layer);
        in.checkCount(vals, SOILVALS, "values of a row of " + layer);
        // A row of no values is still a record of its own.
        for (int row = 1; row <= rows; ++row) {
            if (vals == 0) {
                in.skipRecord();
                continue;
            }
            {
                io::ListRecord r = in.record();
                for (int k = 1; k <= vals; ++k) r >> SOILIN.SOILVAL(l, row, k);
            }
            checkSoilRow(in, l, row);
        }
    }
}

void readPyPrintRequests(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXPYPRT, "p-y print requests");
    PYPRT.NPYPRT = n;
    for (int q = 1; q <= n; ++q) {
        in.record() >> PYPRT.PYPGRP(q) >> PYPRT.PYPX(q);
        in.coordinate(PYPRT.PYPX(q), "depth of p-y print request " + num(q));
        in.checkRange(PYPRT.PYPGRP(q), 1, arrangementPiles(), "p-y print request " + num(q) + ": pile");
        const int npt = in.readCount(MAXPYDEF, "deflections of p-y print request " + num(q));
        PYPRT.PYPNPT(q) = npt;
        if (npt > 0) {
            io::ListRecord r = in.record();
            for (int k = 1; k <= npt; ++k) r >> PYPRT.PYPRTDEF(q, k);
            r.finish();
            for (int k = 1; k <= npt; ++k)
                in.finite(PYPRT.PYPRTDEF(q, k), "deflection " + num(k) + " of p-y print request " + num(q));
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
            in.coordinate(PYUSRIN.PYXIN(s, c), "depth of curve " + num(c) + " of user p-y set " + num(s));
            const int npt =
                in.readCount(MAXCRVPT, "points of curve " + num(c) + " of user p-y set " + num(s));
            PYUSRIN.PYNPTIN(s, c) = npt;
            for (int p = 1; p <= npt; ++p) {
                in.record() >> PYUSRIN.PYPIN(s, c, p) >> PYUSRIN.PYYIN(s, c, p);
                const std::string pt = " of point " + num(p) + " of curve " + num(c) + " of user p-y set " + num(s);
                in.finite(PYUSRIN.PYPIN(s, c, p), "p" + pt);
                in.finite(PYUSRIN.PYYIN(s, c, p), "y" + pt);
            }
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
        for (int p = 1; p <= m; ++p) {
            in.record() >> force(k, p) >> move(k, p);
            in.finite(force(k, p), "force of point " + num(p) + " of " + curve + " " + num(k));
            in.finite(move(k, p), "movement of point " + num(p) + " of " + curve + " " + num(k));
        }
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
            in.finite(MPHIIN.MPAXLIN(s, c), "axial load of curve " + num(c) + " of moment-curvature set " + num(s));
            int unusedItem = 0, npt = 0;
            in.record() >> unusedItem >> npt;
            in.checkCount(npt, MAXMPPT, "points of curve " + num(c) + " of moment-curvature set " + num(s));
            MPHIIN.MPNPTIN(s, c) = npt;
            for (int p = 1; p <= npt; ++p) {
                in.record() >> MPHIIN.MPMOMIN(s, c, p) >> MPHIIN.MPPHIIN(s, c, p);
                const std::string pt =
                    " of point " + num(p) + " of curve " + num(c) + " of moment-curvature set " + num(s);
                in.finite(MPHIIN.MPMOMIN(s, c, p), "moment" + pt);
                in.finite(MPHIIN.MPPHIIN(s, c, p), "curvature" + pt);
            }
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
        in.finite(MPHIGENIN.MGAXL(i, f, c), "axial load of curve " + num(c) + " of " + fam);
        double unusedValue = 0.0;
        in.record() >> unusedValue;
        int unusedItem = 0, npt = 0;
        in.record() >> unusedItem >> npt;
        in.checkCount(npt, MAXMPPT, "points of curve " + num(c) + " of " + fam);
        MPHIGENIN.MGNPT(i, f, c) = npt;
        for (int p = 1; p <= npt; ++p) {
            in.record() >> MPHIGENIN.MGMOM(i, f, c, p) >> MPHIGENIN.MGPHI(i, f, c, p);
            const std::string pt = " of point " + num(p) + " of curve " + num(c) + " of " + fam;
            in.finite(MPHIGENIN.MGMOM(i, f, c, p), "moment" + pt);
            in.finite(MPHIGENIN.MGPHI(i, f, c, p), "curvature" + pt);
        }
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
        for (int p = 1; p <= npt; ++p) {
            in.record() >> RFD.RFDX(s, p) >> RFD.RFDPM(s, p) >> RFD.RFDYM(s, p);
            const std::string pt = " of point " + num(p) + " of reduction-factor set " + num(s);
            in.coordinate(RFD.RFDX(s, p), "X" + pt);
            in.nonNegative(RFD.RFDPM(s, p), "p-multiplier" + pt);
            in.positive(RFD.RFDYM(s, p), "y-multiplier" + pt);
        }
    }
}

void readSoilMovement(InputFile& in) {
    in.heading();
    const int n = in.readCount(MAXSMOV, "soil movement points");
    SMOV.NSMOV = n;
    for (int i = 1; i <= n; ++i) {
        in.record() >> SMOV.SMX(i) >> SMOV.SMY(i) >> SMOV.SMZ(i);
        in.coordinate(SMOV.SMX(i), "X of soil movement point " + num(i));
        in.finite(SMOV.SMY(i), "movement along Y of soil movement point " + num(i));
        in.finite(SMOV.SMZ(i), "movement along Z of soil movement point " + num(i));
        // The group solution scales the current movement from the input one at every load step.
        SMOV.SMYIN(i) = SMOV.SMY(i);
        SMOV.SMZIN(i) = SMOV.SMZ(i);
    }
}

// A counted list of deflections, one value a record.
int readDeflectionList(InputFile& in, Arr<double, 1, MAXPYDEF>& list, const std::string& what) {
    const int n = in.readCount(MAXPYDEF, what);
    for (int k = 1; k <= n; ++k) {
        in.record() >> list(k);
        in.finite(list(k), "value " + num(k) + " of the " + what);
    }
    return n;
}

void readCurveFileRequests(InputFile& in) {
    in.heading();
    in.record() >> OPTCRV.NCRVINC >> OPTCRV.KCRVPYL >> OPTCRV.KCRVLS2;
    // Every pile is cut into NCRVINC equal increments for the file's records.
    if (OPTCRV.NCRVINC < 1)
        in.fail(io::InputError::BadValue, num(OPTCRV.NCRVINC),
                "increments " + num(OPTCRV.NCRVINC) + " of the curve data file below 1");
    in.checkInt(OPTCRV.NCRVINC, 1, 1000, "increments of the curve data file", "1 to 1000");
    in.checkCode(OPTCRV.KCRVPYL, {0, 1}, "p-y curve list switch of the curve data file", "0 or 1");
    in.checkCode(OPTCRV.KCRVLS2, {0, 1}, "second list switch of the curve data file", "0 or 1");
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
