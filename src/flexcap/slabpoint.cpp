// Points of the slab plan: finding the element that holds a point and the point's local coordinates,
// and the final evaluation of the piles at the converged slab displacement.
#include <algorithm>
#include <cmath>

#include "flexcap/slab.h"
#include "io/format.h"

namespace kaldo::slab {

bool locatePoint(const Model& m, int e, double X, double Y, double& xi, double& eta) {
    const ElementXY xy = elementXY(m, e);
    Shape sh;
    double s = 0.0, t = 0.0;
    // Newton's method on the isoparametric map, from the element's centre.
    for (int iter = 1; iter <= 50; ++iter) {
        SLBSHAPE(s, t, m.c.NNODE, sh);
        double x = 0, y = 0, xs = 0, xt = 0, ys = 0, yt = 0;
        for (int n = 0; n < xy.n; ++n) {
            const size_t k = static_cast<size_t>(n);
            x += sh.N[k] * xy.x[k];
            y += sh.N[k] * xy.y[k];
            xs += sh.ds[k] * xy.x[k];
            xt += sh.dt[k] * xy.x[k];
            ys += sh.ds[k] * xy.y[k];
            yt += sh.dt[k] * xy.y[k];
        }
        const double det = xs * yt - xt * ys;
        if (det == 0.0 || !std::isfinite(det)) return false;
        // Solve [xs xt; ys yt] (ds, dt) = (X - x, Y - y).
        const double ds = ((X - x) * yt - xt * (Y - y)) / det;
        const double dt = (xs * (Y - y) - ys * (X - x)) / det;
        s += ds;
        t += dt;
        if (!std::isfinite(s) || !std::isfinite(t)) return false;
        // Settled when the step is negligible against the size of the parent square.
        if (iter > 1 && std::abs(ds) < FLOOR && std::abs(dt) < FLOOR) {
            constexpr double EDGE = 1e-9;
            if (std::abs(s) <= 1.0 + EDGE && std::abs(t) <= 1.0 + EDGE) {
                xi = std::clamp(s, -1.0, 1.0);
                eta = std::clamp(t, -1.0, 1.0);
                return true;
            }
            return false;
        }
    }
    return false;
}

int SLBLOCPT(const Model& m, PointBlock& b) {
    int found = 0;
    for (auto& e : b.element) e = 0;
    for (int e = 1; e <= m.c.NELEM && found < b.count(); ++e) {
        for (int k = 0; k < b.count(); ++k) {
            if (b.element[static_cast<size_t>(k)] != 0) continue;
            double xi = 0.0, eta = 0.0;
            auto& p = b.point[static_cast<size_t>(k)];
            if (locatePoint(m, e, p[0], p[1], xi, eta)) {
                b.element[static_cast<size_t>(k)] = e;
                p = {xi, eta};
                ++found;
            }
        }
    }
    return found;
}

void SLBPILEF(const Model& m, const std::vector<double>& asdis, PileLink& piles, Files& files) {
    if (m.c.KPILE <= 0 || m.c.NCTSTI < 1) return;
    files.trace.free() << "ITER = " << m.c.ITER;
    io::Unit& u = files.listing;
    if (u.isOpen()) {
        u.blankLines(1);
        u.line() << " " << io::X{5} << "PILE HEAD DISPLACEMENTS AND REACTIONS AT THE END OF THE ANALYSIS (AXES OF THE GROUP)";
        u.line() << " " << io::X{5} << "PILE" << io::X{8} << "X-DISP" << io::X{8} << "Y-DISP" << io::X{8} << "Z-DISP"
                 << io::X{8} << "X-ROT." << io::X{8} << "Y-ROT." << io::X{8} << "Z-ROT.";
        u.line() << " " << io::X{9} << io::X{7} << "X-FORCE" << io::X{7} << "Y-FORCE" << io::X{7} << "Z-FORCE"
                 << io::X{6} << "X-MOMENT" << io::X{6} << "Y-MOMENT" << io::X{6} << "Z-MOMENT";
    }
    for (int k = 1; k <= m.c.NCTSTI; ++k) {
        const int e = m.piles.element[static_cast<size_t>(k - 1)];
        const auto& pt = m.piles.point[static_cast<size_t>(k - 1)];
        PointOperator A{};
        pointOperator(m, e, pt[0], pt[1], A);
        Vec6 s{};
        for (int I = 1; I <= m.c.NNODE; ++I) {
            const int n = m.node(I, e);
            for (int f = 0; f < 6; ++f)
                for (int g = 0; g < 6; ++g)
                    s[static_cast<size_t>(g)] += A[static_cast<size_t>(g)][static_cast<size_t>(6 * (I - 1) + f)] *
                                                 asdis[static_cast<size_t>(6 * (n - 1) + f)];
        }
        files.trace.free() << k;
        {
            auto l = files.trace.line();
            l << "DDD  ";
            for (double v : s) l << io::E{13, 5, v};
        }
        const Vec6 p = slabToHead(s);
        {
            auto l = files.trace.line();
            l << "DD2  ";
            for (double v : p) l << io::E{13, 5, v};
        }
        Vec6 F{};
        int status = 0;
        piles.forces(k, p, F, status);
        if (u.isOpen()) {
            {
                auto l = u.line();
                l << io::I(10, k);
                for (double v : p) l << io::E{14, 6, v};
            }
            // The reaction of the pile: the force the cap puts on its head, opposite to the pile's force
            // on the cap.
            auto l = u.line();
            l << io::X{10};
            for (double v : F) l << io::E{14, 6, -v};
        }
    }
}

}  // namespace kaldo::slab
