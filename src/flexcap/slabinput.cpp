// The slab input file: its records, their echo on the slab listing, and the checks of the model.
#include <algorithm>
#include <cmath>

#include "flexcap/slab.h"
#include "io/format.h"
#include "services/status.h"

namespace kaldo::slab {

namespace {

using io::E;
using io::F;
using io::I;
using io::X;

constexpr const char* SECTION = "SLAB INPUT FILE";

void empty(io::Unit& u, int n = 1) { u.blankLines(n); }

// A record number outside its range: refused before anything is stored.
[[noreturn]] void outOfRange(const std::string& what, long value, long low, long high, long line) {
    throw SlabStop(ST_INDEX, what + " " + std::to_string(value) + " OUTSIDE 1 TO " + std::to_string(high) +
                                 (low == 1 ? "" : "") + " (SLAB INPUT FILE, LINE " + std::to_string(line) + ")");
}

void checkRange(const std::string& what, int value, int high, const io::LineSource& in) {
    if (value < 1 || value > high) outOfRange(what, value, 1, high, in.lineNumber());
}

// A model that the checks refused: the remaining records of the file are listed after the diagnoses.
[[noreturn]] void disaster(io::LineSource& in, io::Unit& listing, const std::string& what) {
    if (listing.isOpen()) {
        empty(listing, 2);
        listing.line() << " NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS";
        empty(listing);
        std::string line;
        while (in.nextLine(line)) listing.line() << X{5} << line.substr(0, 80);
    }
    throw SlabStop(ST_BADVALUE, what);
}

void readValues(io::ListRecord& r, Vec6& v) {
    for (double& x : v) r >> x;
}

void echoControl(const Control& c, io::Unit& u) {
    empty(u, 2);
    u.line() << " NPOIN =" << I(4, c.NPOIN) << X{4} << " NELEM =" << I(4, c.NELEM) << X{4} << " NVFIX ="
             << I(4, c.NVFIX) << X{4} << " NCASE =" << I(4, c.NCASE) << X{4} << " NTYPE =" << I(4, c.NTYPE) << X{4}
             << " NNODE =" << I(4, c.NNODE) << X{4} << " NDOFN =" << I(4, c.NDOFN);
    empty(u);
    u.line() << " NMATS =" << I(4, c.NMATS) << X{4} << " NPROP =" << I(4, c.NPROP) << X{4} << " NGAUS ="
             << I(4, c.NGAUS) << X{4} << " NDIME =" << I(4, c.NDIME) << X{4} << " NSTRE =" << I(4, c.NSTRE) << X{4}
             << " NEVAB =" << I(4, c.NEVAB);
    empty(u);
    u.line() << " NNLOD =" << I(4, c.NNLOD) << X{4} << " NNSTI =" << I(4, c.NNSTI) << X{4} << " NDLOD ="
             << I(4, c.NDLOD) << X{4} << " NDSTI =" << I(4, c.NDSTI) << X{4} << " NCLOD =" << I(4, c.NCLOD) << X{4}
             << " NCSTI =" << I(4, c.NCSTI) << " NCTSTI =" << I(4, c.NCTSTI);
    empty(u);
    u.line() << "    DT =" << F{10, 4, c.DT} << X{4} << "  TINI =" << F{10, 4, c.TINI} << X{4} << " TEND  ="
             << F{10, 4, c.TEND} << X{4} << " DTMIN =" << F{10, 4, c.DTMIN} << X{4} << " MAXITER ="
             << I(5, c.MAXITER);
}

// Nodal or distributed records: a node or element number and six values.
void readNumbered(io::LineSource& in, int count, NumberedBlock& b, int high, const std::string& what,
                  io::Unit& u, const char* heading, const char* column) {
    b.number.assign(static_cast<size_t>(count), 0);
    b.value.assign(static_cast<size_t>(count), Vec6{});
    for (int k = 0; k < count; ++k) {
        io::ListRecord r(in, SECTION);
        int n = 0;
        r >> n;
        checkRange(what, n, high, in);
        readValues(r, b.value[static_cast<size_t>(k)]);
        b.number[static_cast<size_t>(k)] = n;
    }
    if (count > 0 && u.isOpen()) {
        empty(u, 2);
        u.line() << heading;
        u.line() << column << X{6} << "     VALUES";
    }
}

void readPoints(io::LineSource& in, int count, PointBlock& b, bool values) {
    b.element.assign(static_cast<size_t>(count), 0);
    b.point.assign(static_cast<size_t>(count), {0.0, 0.0});
    b.value.assign(static_cast<size_t>(count), Vec6{});
    for (int k = 0; k < count; ++k) {
        io::ListRecord r(in, SECTION);
        r >> b.point[static_cast<size_t>(k)][0] >> b.point[static_cast<size_t>(k)][1];
        if (values) readValues(r, b.value[static_cast<size_t>(k)]);
    }
}

void readEdges(io::LineSource& in, int count, EdgeBlock& b, int nelem) {
    b.element.assign(static_cast<size_t>(count), 0);
    b.side.assign(static_cast<size_t>(count), 0);
    b.dof.assign(static_cast<size_t>(count), 0);
    b.value.assign(static_cast<size_t>(count), {0.0, 0.0, 0.0});
    for (int k = 0; k < count; ++k) {
        io::ListRecord r(in, SECTION);
        int e = 0, s = 0, f = 0;
        r >> e >> s >> f;
        checkRange("ELEMENT", e, nelem, in);
        checkRange("SIDE", s, 4, in);
        checkRange("FREEDOM", f, 6, in);
        for (double& v : b.value[static_cast<size_t>(k)]) r >> v;
        b.element[static_cast<size_t>(k)] = e;
        b.side[static_cast<size_t>(k)] = s;
        b.dof[static_cast<size_t>(k)] = f;
    }
}

// Locates a block's points; a point that lies in no element is refused.
void locate(const Model& m, PointBlock& b, const char* what) {
    const auto asRead = b.point;
    SLBLOCPT(m, b);
    for (int k = 0; k < b.count(); ++k)
        if (b.element[static_cast<size_t>(k)] == 0)
            throw SlabStop(ST_BADVALUE, std::string(what) + " " + std::to_string(k + 1) + " AT X =" +
                                            io::fmtF(12, 4, asRead[static_cast<size_t>(k)][0]) + ", Y =" +
                                            io::fmtF(12, 4, asRead[static_cast<size_t>(k)][1]) +
                                            " LIES IN NO ELEMENT OF THE SLAB");
}

void echoNumbered(io::Unit& u, const NumberedBlock& b, const std::vector<int>& labels) {
    for (int k = 0; k < b.count(); ++k) {
        auto l = u.line();
        l << X{1} << I(7, labels[static_cast<size_t>(b.number[static_cast<size_t>(k)] - 1)]) << X{2};
        for (double v : b.value[static_cast<size_t>(k)]) l << E{13, 5, v};
    }
}

void echoPoints(io::Unit& u, const PointBlock& b, int count, const char* heading, bool values) {
    if (count <= 0 || !u.isOpen()) return;
    empty(u, 2);
    u.line() << heading;
    if (values)
        u.line() << "     X        Y " << X{6} << "     VALUES";
    else
        u.line() << "       X          Y ";
    for (int k = 0; k < count; ++k) {
        auto l = u.line();
        l << X{1} << F{10, 4, b.point[static_cast<size_t>(k)][0]} << F{10, 4, b.point[static_cast<size_t>(k)][1]};
        if (values) {
            l << X{2};
            for (double v : b.value[static_cast<size_t>(k)]) l << E{13, 5, v};
        }
    }
}

void echoEdges(io::Unit& u, const EdgeBlock& b, const char* heading) {
    if (b.count() <= 0 || !u.isOpen()) return;
    empty(u, 2);
    u.line() << heading;
    u.line() << "   ELEM    SIDE    DOF  " << X{6} << "     VALUES";
    for (int k = 0; k < b.count(); ++k) {
        auto l = u.line();
        l << I(8, b.element[static_cast<size_t>(k)]) << I(8, b.side[static_cast<size_t>(k)])
          << I(8, b.dof[static_cast<size_t>(k)]) << X{2};
        for (double v : b.value[static_cast<size_t>(k)]) l << E{13, 5, v};
    }
}

}  // namespace

std::vector<int> CHECK1(const Control& c) {
    std::vector<int> errors;
    if (c.NPOIN <= 0) errors.push_back(1);
    if (static_cast<long long>(c.NPOIN) > static_cast<long long>(c.NELEM) * c.NNODE) errors.push_back(2);
    if (c.NVFIX < 0 || c.NVFIX > c.NPOIN) errors.push_back(3);
    if (c.NNODE < 3 || c.NNODE > 9) errors.push_back(6);
    if (c.NMATS <= 0 || c.NMATS > c.NELEM) errors.push_back(8);
    if (c.NGAUS < 1 || c.NGAUS > 3) errors.push_back(10);
    return errors;
}

int CHECK2(Model& m, io::Unit* listing) {
    Control& c = m.c;
    c.FRCAP = FRONT_MIN;
    std::array<int, 25> err{};

    // Pairs of nodes at exactly the same place.
    {
        std::vector<std::array<double, 2>> xy = m.coord;
        std::sort(xy.begin(), xy.end());
        for (size_t i = 0; i < xy.size();) {
            size_t j = i + 1;
            while (j < xy.size() && xy[j] == xy[i]) ++j;
            const long long k = static_cast<long long>(j - i);
            err[13] += static_cast<int>(k * (k - 1) / 2);
            i = j;
        }
    }
    for (int e = 1; e <= c.NELEM; ++e) {
        const int mat = m.elmat[static_cast<size_t>(e - 1)];
        if (mat < 1 || mat > c.NMATS) ++err[14];
        for (int I = 1; I <= c.NNODE; ++I) {
            const int n = m.node(I, e);
            if (n == 0) ++err[15];
            if (n < 0 || n > c.NPOIN) ++err[16];
        }
    }

    // The front: each node enters with the first element that holds it and leaves after the last.
    std::vector<int> first(static_cast<size_t>(c.NPOIN) + 1, 0), last(static_cast<size_t>(c.NPOIN) + 1, 0);
    for (int e = 1; e <= c.NELEM; ++e) {
        for (int I = 1; I <= c.NNODE; ++I) {
            const int n = m.node(I, e);
            if (n < 1 || n > c.NPOIN) continue;
            for (int J = 1; J < I; ++J)
                if (m.node(J, e) == n) {
                    ++err[17];
                    break;
                }
            if (first[static_cast<size_t>(n)] == 0) first[static_cast<size_t>(n)] = e;
            last[static_cast<size_t>(n)] = e;
        }
    }
    std::vector<int> inc(static_cast<size_t>(c.NELEM) + 2, 0);
    for (int n = 1; n <= c.NPOIN; ++n) {
        if (first[static_cast<size_t>(n)] > 0) {
            inc[static_cast<size_t>(first[static_cast<size_t>(n)])] += c.NDOFN;
            if (last[static_cast<size_t>(n)] < c.NELEM) inc[static_cast<size_t>(last[static_cast<size_t>(n)] + 1)] -= c.NDOFN;
        } else {
            if (listing && listing->isOpen()) {
                empty(*listing);
                listing->line() << " CHECK WHY NODE" << I(4, n) << " NEVER APPEARS";
            }
            ++err[18];
            if (std::abs(m.x(n)) + std::abs(m.y(n)) > TINY) ++err[19];
            for (int f : m.fxnod)
                if (f == n) ++err[20];
        }
    }
    int front = 0, largest = 0;
    for (int e = 1; e <= c.NELEM; ++e) {
        front += inc[static_cast<size_t>(e)];
        largest = std::max(largest, front);
    }
    if (listing && listing->isOpen()) {
        empty(*listing, 2);
        listing->line() << " MAXIMUM FRONTWIDTH ENCOUNTERED =" << I(5, largest);
    }
    if (largest >= FRONT_MIN + 1) c.FRCAP = largest + 1;

    for (size_t r = 0; r < m.fxnod.size(); ++r) {
        const int n = m.fxnod[r];
        if (n < 1 || n > c.NPOIN) ++err[22];
        if (std::none_of(m.fxcod[r].begin(), m.fxcod[r].end(), [](int k) { return k > 0; })) ++err[23];
        for (size_t q = 0; q < r; ++q)
            if (m.fxnod[q] == n) ++err[24];
    }

    int count = 0;
    for (int k = 13; k <= 24; ++k) {
        if (err[static_cast<size_t>(k)] == 0) continue;
        ++count;
        if (listing && listing->isOpen()) {
            empty(*listing, 2);
            listing->line() << " *** DIAGNOSIS BY CHECK2, ERROR" << I(3, k) << X{6} << " ASSOCIATED NUMBER"
                            << I(5, err[static_cast<size_t>(k)]);
        }
    }
    return count;
}

void readSlab(io::LineSource& in, Model& m, Files& files) {
    io::Unit& u = files.listing;
    Control& c = m.c;
    m.title = io::readFixedText(in, 72, SECTION);
    if (u.isOpen()) u.line() << m.title;

    {
        io::ListRecord r(in, SECTION);
        c.NCASE = 1;
        r >> c.NPOIN >> c.NELEM >> c.NMATS >> c.NNODE >> c.NGAUS >> c.NVFIX >> c.NNLOD >> c.NNSTI >> c.NDLOD >>
            c.NDSTI >> c.NCLOD >> c.NCSTI >> c.NELOD >> c.NESTI >> c.NCTSTI >> c.KPILE;
    }
    c.NDOFN = 6;
    c.NDIME = 2;
    c.NPROP = 3;
    c.NSTRE = 8;
    c.NTYPE = 0;
    c.NEVAB = 6 * c.NNODE;
    {
        io::ListRecord r(in, SECTION);
        double unused = 0.0;
        r >> c.DT >> c.TINI >> c.TEND >> c.DTMIN >> c.MAXITER >> unused;
    }
    if (u.isOpen()) echoControl(c, u);

    const std::vector<int> e1 = CHECK1(c);
    for (int k : e1) {
        for (io::Unit* t : {&files.convergence, &files.listing}) {
            if (!t->isOpen()) continue;
            empty(*t, 2);
            t->line() << " *** DIAGNOSIS BY CHECK1, ERROR" << I(3, k);
        }
    }
    if (!e1.empty()) disaster(in, u, "THE CONTROL RECORD OF THE SLAB INPUT FILE FAILED ITS CHECKS (SEE THE SLAB LISTING)");
    if (c.NNODE != 4 && c.NNODE != 8 && c.NNODE != 9)
        throw SlabStop(ST_BADVALUE, "ELEMENTS OF " + std::to_string(c.NNODE) + " NODES: THE SLAB ELEMENTS HAVE 4, 8 OR 9");
    for (int n : {c.NNLOD, c.NNSTI, c.NDLOD, c.NDSTI, c.NCLOD, c.NCSTI, c.NELOD, c.NESTI, c.NCTSTI})
        if (n < 0) throw SlabStop(ST_BADVALUE, "A RECORD COUNT OF THE SLAB CONTROL RECORD IS NEGATIVE");
    if (!(c.DT > 0.0) || !(c.DTMIN > 0.0))
        throw SlabStop(ST_BADVALUE, "THE SLAB TIME RECORD NEEDS DT AND DTMIN ABOVE 0 (DT =" + io::fmtE(13, 5, c.DT) +
                                        ", DTMIN =" + io::fmtE(13, 5, c.DTMIN) + ")");

    // Elements, stored at their index.
    m.elnod.assign(static_cast<size_t>(c.NELEM) * c.NNODE, 0);
    m.elmat.assign(static_cast<size_t>(c.NELEM), 0);
    m.elabel.assign(static_cast<size_t>(c.NELEM), 0);
    if (u.isOpen()) {
        empty(u, 2);
        u.line() << " ELEMENT" << X{3} << "PROPERTY" << X{6} << "NODE NUMBERS";
    }
    for (int k = 0; k < c.NELEM; ++k) {
        io::ListRecord r(in, SECTION);
        int e = 0, label = 0, mat = 0;
        r >> e >> label >> mat;
        checkRange("ELEMENT", e, c.NELEM, in);
        std::array<int, MAXNODE> nodes{};
        for (int I = 0; I < c.NNODE; ++I) r >> nodes[static_cast<size_t>(I)];
        for (int I = 0; I < c.NNODE; ++I) checkRange("NODE", nodes[static_cast<size_t>(I)], c.NPOIN, in);
        checkRange("MATERIAL", mat, c.NMATS, in);
        m.elabel[static_cast<size_t>(e - 1)] = label;
        m.elmat[static_cast<size_t>(e - 1)] = mat;
        for (int I = 0; I < c.NNODE; ++I) m.elnod[static_cast<size_t>((e - 1) * c.NNODE + I)] = nodes[static_cast<size_t>(I)];
        if (u.isOpen()) {
            // 12 integers a line.
            std::vector<int> all{label, mat};
            for (int I = 0; I < c.NNODE; ++I) all.push_back(nodes[static_cast<size_t>(I)]);
            for (size_t a = 0; a < all.size(); a += 12) {
                auto l = u.line();
                for (size_t b = a; b < std::min(all.size(), a + 12); ++b) l << I(8, all[b]);
            }
        }
    }

    // Nodes, until the record of the last node.
    m.coord.assign(static_cast<size_t>(c.NPOIN), {0.0, 0.0});
    m.nlabel.assign(static_cast<size_t>(c.NPOIN), 0);
    for (int n = 0; n != c.NPOIN;) {
        io::ListRecord r(in, SECTION);
        int label = 0;
        double x = 0.0, y = 0.0;
        r >> n >> label >> x >> y;
        checkRange("NODE", n, c.NPOIN, in);
        m.coord[static_cast<size_t>(n - 1)] = {x, y};
        m.nlabel[static_cast<size_t>(n - 1)] = label;
    }
    if (u.isOpen()) {
        empty(u, 2);
        u.line() << "   NODAL POINT COORDINATES";
        u.line() << "     NODE" << X{10} << "X" << X{12} << "Y";
        for (int n = 1; n <= c.NPOIN; ++n)
            u.line() << X{1} << I(8, m.nlabel[static_cast<size_t>(n - 1)]) << F{13, 4, m.x(n)} << F{13, 4, m.y(n)};
    }

    // Restraints.
    if (u.isOpen()) {
        empty(u, 2);
        u.line() << " RESTRAINED NODES";
        u.line() << "    NODF" << X{1} << " CODF " << X{6} << "FIXED VALUES";
    }
    m.fxnod.assign(static_cast<size_t>(c.NVFIX), 0);
    m.fxcod.assign(static_cast<size_t>(c.NVFIX), {});
    m.fxval.assign(static_cast<size_t>(c.NVFIX), Vec6{});
    for (int k = 0; k < c.NVFIX; ++k) {
        io::ListRecord r(in, SECTION);
        int n = 0;
        r >> n;
        checkRange("RESTRAINED NODE", n, c.NPOIN, in);
        for (int& cd : m.fxcod[static_cast<size_t>(k)]) r >> cd;
        readValues(r, m.fxval[static_cast<size_t>(k)]);
        m.fxnod[static_cast<size_t>(k)] = n;
        if (u.isOpen()) {
            auto l = u.line();
            l << X{1} << I(7, m.nlabel[static_cast<size_t>(n - 1)]) << X{2};
            for (int cd : m.fxcod[static_cast<size_t>(k)]) l << I(1, cd);
            for (double v : m.fxval[static_cast<size_t>(k)]) l << E{13, 5, v};
        }
    }

    // Materials.
    if (u.isOpen()) {
        empty(u, 2);
        u.line() << "  MATERIAL PROPERTIES";
        u.line() << "  NUMBER" << X{7} << "YOUNG MODULUS POISSON RATIO" << "   THICKNESS   ";
    }
    m.mprop.assign(static_cast<size_t>(c.NMATS), {0.0, 0.0, 0.0});
    for (int k = 0; k < c.NMATS; ++k) {
        io::ListRecord r(in, SECTION);
        int mat = 0;
        std::array<double, 3> p{};
        r >> mat >> p[0] >> p[1] >> p[2];
        checkRange("MATERIAL", mat, c.NMATS, in);
        if (!(p[2] > 0.0))
            throw SlabStop(ST_BADVALUE, "MATERIAL " + std::to_string(mat) + " OF THE SLAB HAS A THICKNESS OF" +
                                            io::fmtE(13, 5, p[2]) + ": IT MUST BE ABOVE 0");
        m.mprop[static_cast<size_t>(mat - 1)] = p;
        if (u.isOpen()) u.line() << X{1} << I(5, mat) << X{7} << E{14, 6, p[0]} << E{14, 6, p[1]} << E{14, 6, p[2]};
    }

    readNumbered(in, c.NNLOD, m.nlod, c.NPOIN, "NODE", u, " NODAL LOADS", "    NODE,");
    if (u.isOpen()) echoNumbered(u, m.nlod, m.nlabel);
    readNumbered(in, c.NNSTI, m.nsti, c.NPOIN, "NODE", u, " NODAL STIFFNESSES", "    NODE,");
    if (u.isOpen()) echoNumbered(u, m.nsti, m.nlabel);
    readNumbered(in, c.NDLOD, m.dlod, c.NELEM, "ELEMENT", u, " DISTRIBUTED LOADS", "  ELEMENT");
    if (u.isOpen()) echoNumbered(u, m.dlod, m.elabel);
    readNumbered(in, c.NDSTI, m.dsti, c.NELEM, "ELEMENT", u, " DISTRIBUTED STIFFNESSES", "  ELEMENT");
    if (u.isOpen()) echoNumbered(u, m.dsti, m.elabel);
    readPoints(in, c.NCLOD, m.clod, true);
    echoPoints(u, m.clod, c.NCLOD, " CONCENTRATED LOADS", true);
    locate(m, m.clod, "CONCENTRATED LOAD");
    readPoints(in, c.NCSTI, m.csti, true);
    echoPoints(u, m.csti, c.NCSTI, " CONCENTRATED STIFFNESSES", true);
    locate(m, m.csti, "CONCENTRATED STIFFNESS");
    readEdges(in, c.NELOD, m.elod, c.NELEM);
    echoEdges(u, m.elod, " EDGE LOADS");
    readEdges(in, c.NESTI, m.esti, c.NELEM);
    echoEdges(u, m.esti, " EDGE STIFFNESS");
    readPoints(in, c.NCTSTI, m.piles, false);
    echoPoints(u, m.piles, c.NCTSTI, " CONCENTRATED TOTAL STIFFNESSES", false);
    locate(m, m.piles, "PILE POINT");

    if (CHECK2(m, &u) > 0) disaster(in, u, "THE SLAB MODEL FAILED ITS CHECKS (SEE THE DIAGNOSES ON THE SLAB LISTING)");
}

}  // namespace kaldo::slab
