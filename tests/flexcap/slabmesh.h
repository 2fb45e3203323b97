// Test support for the slab program: rectangular meshes of 4-, 8- or 9-node elements built in memory,
// springs in place of piles, and a linear solve of one load state.
#pragma once

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "flexcap/slab.h"

namespace kaldo::test {

// A mesh of nx x ny elements over [0, lx] x [0, ly]; move(x, y) may shift the corner grid (a distorted
// patch). Midside nodes sit halfway between their corners, centre nodes at the mean of the corners.
inline slab::Model rectMesh(int nnode, int nx, int ny, double lx, double ly, double E, double nu, double h,
                            const std::function<std::pair<double, double>(int, int)>& move = {}) {
    slab::Model m;
    auto& c = m.c;
    c.NNODE = nnode;
    c.NGAUS = 2;
    c.NELEM = nx * ny;
    c.NMATS = 1;
    c.NEVAB = 6 * nnode;
    c.DT = 1.0;
    c.TINI = 0.0;
    c.TEND = 1.0;
    c.DTMIN = 0.1;
    c.MAXITER = 10;
    std::map<std::pair<long, long>, int> ids;  // node at a position, keyed by the doubled grid indices
    auto corner = [&](int i, int j) {
        double x = lx * i / nx, y = ly * j / ny;
        if (move) {
            auto d = move(i, j);
            x += d.first;
            y += d.second;
        }
        return std::pair<double, double>{x, y};
    };
    auto nodeAt = [&](long ki, long kj, double x, double y) {
        auto key = std::make_pair(ki, kj);
        auto it = ids.find(key);
        if (it != ids.end()) return it->second;
        m.coord.push_back({x, y});
        const int id = static_cast<int>(m.coord.size());
        ids[key] = id;
        return id;
    };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const int e = j * nx + i + 1;
            const std::pair<int, int> cs[4] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
            std::array<int, 9> nodes{};
            std::array<std::pair<double, double>, 4> p{};
            for (int k = 0; k < 4; ++k) {
                p[static_cast<size_t>(k)] = corner(cs[k].first, cs[k].second);
                nodes[static_cast<size_t>(k)] = nodeAt(2L * cs[k].first, 2L * cs[k].second, p[static_cast<size_t>(k)].first,
                                                       p[static_cast<size_t>(k)].second);
            }
            if (nnode >= 8)
                for (int k = 0; k < 4; ++k) {
                    const int k2 = (k + 1) % 4;
                    const auto& a = p[static_cast<size_t>(k)];
                    const auto& b = p[static_cast<size_t>(k2)];
                    nodes[static_cast<size_t>(4 + k)] =
                        nodeAt(cs[k].first + cs[k2].first, cs[k].second + cs[k2].second, (a.first + b.first) / 2,
                               (a.second + b.second) / 2);
                }
            if (nnode == 9)
                nodes[8] = nodeAt(2L * i + 1, 2L * j + 1, (p[0].first + p[1].first + p[2].first + p[3].first) / 4,
                                  (p[0].second + p[1].second + p[2].second + p[3].second) / 4);
            for (int k = 0; k < nnode; ++k) m.elnod.push_back(nodes[static_cast<size_t>(k)]);
            m.elmat.push_back(1);
            m.elabel.push_back(e);
        }
    c.NPOIN = static_cast<int>(m.coord.size());
    for (int n = 1; n <= c.NPOIN; ++n) m.nlabel.push_back(n);
    m.mprop.push_back({E, nu, h});
    return m;
}

// Restrains freedoms (1-based) of node n to 0.
inline void restrain(slab::Model& m, int n, std::initializer_list<int> freedoms) {
    for (size_t r = 0; r < m.fxnod.size(); ++r)
        if (m.fxnod[r] == n) {
            for (int f : freedoms) m.fxcod[r][static_cast<size_t>(f - 1)] = 1;
            return;
        }
    m.fxnod.push_back(n);
    std::array<int, 6> code{};
    for (int f : freedoms) code[static_cast<size_t>(f - 1)] = 1;
    m.fxcod.push_back(code);
    m.fxval.push_back({});
    m.c.NVFIX = static_cast<int>(m.fxnod.size());
}

// Sets the record counts of the control block from the blocks.
inline void countBlocks(slab::Model& m) {
    auto& c = m.c;
    c.NVFIX = static_cast<int>(m.fxnod.size());
    c.NNLOD = m.nlod.count();
    c.NNSTI = m.nsti.count();
    c.NDLOD = m.dlod.count();
    c.NDSTI = m.dsti.count();
    c.NCLOD = m.clod.count();
    c.NCSTI = m.csti.count();
    c.NELOD = m.elod.count();
    c.NESTI = m.esti.count();
    c.NCTSTI = m.piles.count();
}

// Pile heads as linear springs: K = -k (the pile pushes back), F = -k d, with one stiffness per freedom
// of the pile head.
struct SpringPiles : slab::PileLink {
    Vec6 k{};
    int calls = 0;
    void stiffness(int, const Vec6&, Mat6& K, int&) override {
        K.fill(0.0);
        for (int i = 0; i < 6; ++i) K[static_cast<size_t>(i + 6 * i)] = -k[static_cast<size_t>(i)];
    }
    void forces(int, const Vec6& d, Vec6& F, int&) override {
        ++calls;
        for (int i = 0; i < 6; ++i) F[static_cast<size_t>(i)] = -k[static_cast<size_t>(i)] * d[static_cast<size_t>(i)];
    }
};

// One linear solve at the full load (TCUR = TEND) from zero displacement: the displacement of every
// freedom.
inline std::vector<double> solveLinear(slab::Model& m, slab::PileLink* piles = nullptr) {
    countBlocks(m);
    slab::CHECK2(m, nullptr);
    const slab::Gauss g = slab::SLBGAUSS(m.c.NGAUS);
    const size_t ntot = static_cast<size_t>(6 * m.c.NPOIN);
    std::vector<double> u(ntot, 0.0), du(ntot, 0.0), r(ntot, 0.0);
    slab::ElementStore store;
    store.size(m);
    SpringPiles none;
    m.c.TCUR = m.c.TEND;
    slab::SLBELSTF(m, g, u, store, piles ? *piles : none, nullptr);
    slab::SLBLOADV(m, g, store);
    slab::SLBFRONT(m, store, u, du, r, nullptr);
    return du;
}

// The eight stress values at Gauss point j (0-based) of element e for the displacement u, as the step
// report computes them: membrane stresses, plate moments, transverse shears.
inline std::array<double, 8> gaussStress(const slab::Model& m, int e, int j, const std::vector<double>& u) {
    slab::ElementMatrices em;
    slab::elementMatrices(m, slab::SLBGAUSS(m.c.NGAUS), e, em);
    std::array<double, 8> v{};
    for (int J = 0; J < m.c.NNODE; ++J) {
        const int n = m.node(J + 1, e);
        const double* un = &u[static_cast<size_t>(6 * (n - 1))];
        for (int r = 0; r < 3; ++r)
            v[static_cast<size_t>(r)] += em.memb[static_cast<size_t>(j)][static_cast<size_t>(r + 3 * (2 * J))] * un[0] +
                                         em.memb[static_cast<size_t>(j)][static_cast<size_t>(r + 3 * (2 * J + 1))] * un[1];
        for (int r = 0; r < 5; ++r)
            for (int a = 0; a < 3; ++a)
                v[static_cast<size_t>(3 + r)] += em.plate[static_cast<size_t>(j)][static_cast<size_t>(r + 5 * (3 * J + a))] * un[2 + a];
    }
    return v;
}

// The node nearest to (x, y).
inline int nodeNear(const slab::Model& m, double x, double y) {
    int best = 1;
    double d = 1e300;
    for (int n = 1; n <= m.c.NPOIN; ++n) {
        const double dd = std::hypot(m.x(n) - x, m.y(n) - y);
        if (dd < d) {
            d = dd;
            best = n;
        }
    }
    return best;
}

}  // namespace kaldo::test

namespace kaldo::test {

// The slab input file of a model built in memory (points of the point blocks as plan coordinates).
inline std::string slabText(slab::Model m, const std::string& title = "SLAB TEST") {
    countBlocks(m);
    const auto& c = m.c;
    std::ostringstream s;
    s.precision(17);
    s << title << "\n";
    s << c.NPOIN << " " << c.NELEM << " " << c.NMATS << " " << c.NNODE << " " << c.NGAUS << " " << c.NVFIX << " "
      << c.NNLOD << " " << c.NNSTI << " " << c.NDLOD << " " << c.NDSTI << " " << c.NCLOD << " " << c.NCSTI << " "
      << c.NELOD << " " << c.NESTI << " " << c.NCTSTI << " " << c.KPILE << "\n";
    s << c.DT << " " << c.TINI << " " << c.TEND << " " << c.DTMIN << " " << c.MAXITER << " 0.0\n";
    for (int e = 1; e <= c.NELEM; ++e) {
        s << e << " " << m.elabel[static_cast<size_t>(e - 1)] << " " << m.elmat[static_cast<size_t>(e - 1)];
        for (int I = 1; I <= c.NNODE; ++I) s << " " << m.node(I, e);
        s << "\n";
    }
    for (int n = 1; n <= c.NPOIN; ++n) s << n << " " << m.nlabel[static_cast<size_t>(n - 1)] << " " << m.x(n) << " " << m.y(n) << "\n";
    for (size_t r = 0; r < m.fxnod.size(); ++r) {
        s << m.fxnod[r];
        for (int k : m.fxcod[r]) s << " " << k;
        for (double v : m.fxval[r]) s << " " << v;
        s << "\n";
    }
    for (int k = 0; k < c.NMATS; ++k) {
        const auto& p = m.mprop[static_cast<size_t>(k)];
        s << k + 1 << " " << p[0] << " " << p[1] << " " << p[2] << "\n";
    }
    auto numbered = [&](const slab::NumberedBlock& b) {
        for (int k = 0; k < b.count(); ++k) {
            s << b.number[static_cast<size_t>(k)];
            for (double v : b.value[static_cast<size_t>(k)]) s << " " << v;
            s << "\n";
        }
    };
    auto points = [&](const slab::PointBlock& b, bool values) {
        for (int k = 0; k < b.count(); ++k) {
            s << b.point[static_cast<size_t>(k)][0] << " " << b.point[static_cast<size_t>(k)][1];
            if (values)
                for (double v : b.value[static_cast<size_t>(k)]) s << " " << v;
            s << "\n";
        }
    };
    auto edges = [&](const slab::EdgeBlock& b) {
        for (int k = 0; k < b.count(); ++k) {
            s << b.element[static_cast<size_t>(k)] << " " << b.side[static_cast<size_t>(k)] << " " << b.dof[static_cast<size_t>(k)];
            for (double v : b.value[static_cast<size_t>(k)]) s << " " << v;
            s << "\n";
        }
    };
    numbered(m.nlod);
    numbered(m.nsti);
    numbered(m.dlod);
    numbered(m.dsti);
    points(m.clod, true);
    points(m.csti, true);
    edges(m.elod);
    edges(m.esti);
    points(m.piles, false);
    return s.str();
}

// A point record of a point block.
inline void addPoint(slab::PointBlock& b, double x, double y, const Vec6& v = {}) {
    b.element.push_back(0);
    b.point.push_back({x, y});
    b.value.push_back(v);
}

}  // namespace kaldo::test
