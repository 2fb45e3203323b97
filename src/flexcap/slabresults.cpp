// The report of a converged slab step: nodal displacements and reactions on the listing, the stresses at
// the Gauss points with their extremes, and their averages at the nodes on the result file.
#include <cmath>

#include "flexcap/slab.h"
#include "io/format.h"

namespace kaldo::slab {

using io::E;
using io::F;
using io::I;
using io::X;

void SLBDISPL(const Model& m, const std::vector<double>& asdis, const std::vector<double>& reactions,
              io::Unit& u) {
    if (!u.isOpen()) return;
    u.line() << "   STEP =" << I(5, m.c.KSTEP) << "   TIME =" << F{10, 4, m.c.TCUR};
    u.blankLines(1);
    u.line() << " " << X{5} << "DISPLACEMENTS";
    u.blankLines(1);
    u.line() << " " << X{5} << "NODE" << X{5} << "X-DISP" << X{8} << "Y-DISP" << X{7} << "Z-DISP" << X{8}
             << "XZ-ROT." << X{7} << "YZ-ROT." << X{7} << "Z-ROT";
    auto rows = [&](const std::vector<double>& v) {
        for (int n = 1; n <= m.c.NPOIN; ++n) {
            auto l = u.line();
            l << I(10, n);
            for (int f = 0; f < 6; ++f) l << E{14, 6, v[static_cast<size_t>(6 * (n - 1) + f)]};
        }
    };
    rows(asdis);
    u.blankLines(1);
    u.line() << " " << X{5} << "REACTIONS";
    u.blankLines(1);
    u.line() << " " << X{5} << "NODE" << X{4} << "X-FORCE" << X{7} << "Y-FORCE" << X{7} << "Z-FORCE" << X{6}
             << "XZ-MOMENT" << X{6} << "YZ-MOMENT" << X{5} << "Z-MOMENT";
    rows(reactions);
}

namespace {

void stressHeading(io::Unit& u, bool columns) {
    auto l = u.line();
    l << " " << (columns ? "G,P." : "    ") << X{2} << (columns ? "X-COORD." : "        ") << X{2}
      << (columns ? "Y-COORD." : "        ") << X{3} << "SIGMA_XX" << X{4} << "SIGMA_YY" << X{4} << "SIGMA_XY" << X{3}
      << "X-MOMENT" << X{4} << "Y-MOMENT" << X{3} << "XY-MOMENT" << X{2} << "XZ-S,FORCE" << X{2} << "YZ-S,FORCE";
}

}  // namespace

void SLBSTRES(const Model& m, const ElementStore& store, const std::vector<double>& asdis, Files& files) {
    io::Unit& u = files.listing;
    const int nn = m.c.NNODE;
    if (u.isOpen()) {
        u.blankLines(1);
        u.line() << X{10} << "STRESSES";
        u.blankLines(2);
        stressHeading(u, true);
    }
    std::vector<std::array<double, 8>> sums(static_cast<size_t>(m.c.NPOIN), std::array<double, 8>{});
    std::vector<double> weight(static_cast<size_t>(m.c.NPOIN), 0.0);
    std::array<double, 8> vmax{}, vmin{};
    std::array<int, 8> emax{}, emin{}, gmax{}, gmin{};
    bool first = true;

    for (int e = 1; e <= m.c.NELEM; ++e) {
        const ElementMatrices& em = store.stress[static_cast<size_t>(e - 1)];
        const int label = m.elabel[static_cast<size_t>(e - 1)];
        if (u.isOpen()) {
            u.blankLines(1);
            u.line() << X{5} << "ELEMENT NO.=" << I(5, label);
        }
        std::array<double, MAXEVAB> ue{};
        for (int J = 0; J < nn; ++J) {
            const int n = m.node(J + 1, e);
            for (int f = 0; f < 6; ++f) ue[static_cast<size_t>(6 * J + f)] = asdis[static_cast<size_t>(6 * (n - 1) + f)];
        }
        for (int j = 0; j < em.ngp; ++j) {
            std::array<double, 8> v{};
            const auto& mb = em.memb[static_cast<size_t>(j)];
            const auto& pb = em.plate[static_cast<size_t>(j)];
            for (int J = 0; J < nn; ++J) {
                for (int r = 0; r < 3; ++r)
                    v[static_cast<size_t>(r)] += mb[static_cast<size_t>(r + 3 * (2 * J))] * ue[static_cast<size_t>(6 * J)] +
                                                 mb[static_cast<size_t>(r + 3 * (2 * J + 1))] * ue[static_cast<size_t>(6 * J + 1)];
                for (int r = 0; r < 5; ++r)
                    for (int a = 0; a < 3; ++a)
                        v[static_cast<size_t>(3 + r)] +=
                            pb[static_cast<size_t>(r + 5 * (3 * J + a))] * ue[static_cast<size_t>(6 * J + 2 + a)];
            }
            const auto& gp = em.gp[static_cast<size_t>(j)];
            if (u.isOpen()) {
                auto l = u.line();
                l << I(5, j + 1) << F{10, 4, gp[0]} << F{10, 4, gp[1]};
                for (double x : v) l << E{13, 5, x};
            }
            for (size_t q = 0; q < 8; ++q) {
                if (first || v[q] > vmax[q]) {
                    vmax[q] = v[q];
                    emax[q] = label;
                    gmax[q] = j + 1;
                }
                if (first || v[q] < vmin[q]) {
                    vmin[q] = v[q];
                    emin[q] = label;
                    gmin[q] = j + 1;
                }
            }
            first = false;
            // Averages at the nodes, weighted by the inverse square distance to the Gauss point.
            for (int J = 1; J <= nn; ++J) {
                const int n = m.node(J, e);
                const double dx = m.x(n) - gp[0], dy = m.y(n) - gp[1];
                const double w = 1.0 / (dx * dx + dy * dy);
                for (size_t q = 0; q < 8; ++q) sums[static_cast<size_t>(n - 1)][q] += w * v[q];
                weight[static_cast<size_t>(n - 1)] += w;
            }
        }
    }

    if (u.isOpen()) {
        for (int kind = 0; kind < 2; ++kind) {
            const auto& val = kind == 0 ? vmax : vmin;
            const auto& el = kind == 0 ? emax : emin;
            const auto& gp = kind == 0 ? gmax : gmin;
            u.blankLines(1);
            u.line() << X{10} << (kind == 0 ? "MAXIMUM STRESSES" : "MINIMUM STRESSES");
            u.blankLines(1);
            stressHeading(u, false);
            {
                auto l = u.line();
                l << X{10} << io::A(6, "STRESS") << X{9};
                for (double x : val) l << E{13, 5, x};
            }
            for (int row = 0; row < 2; ++row) {
                const auto& ids = row == 0 ? el : gp;
                auto l = u.line();
                l << X{10} << io::A(6, row == 0 ? "ELEM. " : "IP    ") << X{9} << I(6, ids[0]);
                for (size_t q = 1; q < 8; ++q) l << I(12, ids[q]);
            }
        }
    }

    io::Unit& r = files.results;
    if (!r.isOpen()) return;
    if (m.c.KSTEP == 1) {
        r.line() << "STEP_DATA";
        r.line() << "14";
        r.line() << "UX UY UZ ROTX ROTY ROTZ " << "SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ";
    }
    r.line() << "STEP" << I(8, m.c.KSTEP);
    for (int n = 1; n <= m.c.NPOIN; ++n) {
        auto l = r.line();
        l << I(5, m.nlabel[static_cast<size_t>(n - 1)]);
        for (int f = 0; f < 6; ++f) l << E{12, 4, asdis[static_cast<size_t>(6 * (n - 1) + f)]};
        const double w = weight[static_cast<size_t>(n - 1)];
        for (size_t q = 0; q < 8; ++q) l << E{12, 4, sums[static_cast<size_t>(n - 1)][q] / w};
    }
}

}  // namespace kaldo::slab
