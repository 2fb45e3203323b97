// The external loads of the slab at the current pseudo-time, and the nodal vector helpers.
#include <cmath>

#include "flexcap/slab.h"

namespace kaldo::slab {

void SLBLOADV(const Model& m, const Gauss& g, ElementStore& store) {
    const Control& c = m.c;
    const int nn = c.NNODE;
    // The loads grow linearly in time from TINI to TEND.
    const double lambda = (c.TEND - c.TINI) == 0.0 ? 1.0 : (c.TCUR - c.TINI) / (c.TEND - c.TINI);

    // A nodal load acts once, in the first element that holds its node.
    for (int r = 0; r < c.NNLOD; ++r) {
        const int node = m.nlod.number[static_cast<size_t>(r)];
        for (int e = 1; e <= c.NELEM; ++e) {
            int pos = 0;
            for (int I = 1; I <= nn && pos == 0; ++I)
                if (std::abs(m.node(I, e)) == node) pos = I;
            if (pos == 0) continue;
            double* R = store.R(e);
            for (int f = 0; f < 6; ++f) {
                const double v = lambda * m.nlod.value[static_cast<size_t>(r)][static_cast<size_t>(f)];
                if (std::abs(v) >= TINY) R[6 * (pos - 1) + f] += v;
            }
            break;
        }
    }

    Shape sh;
    for (int r = 0; r < c.NDLOD; ++r) {
        const int e = m.dlod.number[static_cast<size_t>(r)];
        const Vec6& q = m.dlod.value[static_cast<size_t>(r)];
        const ElementXY xy = elementXY(m, e);
        double* R = store.R(e);
        for (int i = 0; i < g.n; ++i)
            for (int j = 0; j < g.n; ++j) {
                SLBSHAPE(g.pt[static_cast<size_t>(i)], g.pt[static_cast<size_t>(j)], nn, sh);
                const double w = g.wt[static_cast<size_t>(i)] * g.wt[static_cast<size_t>(j)] * JACOB2(e, xy, sh).det;
                for (int I = 0; I < nn; ++I)
                    for (int f = 0; f < 6; ++f) {
                        const double v = lambda * q[static_cast<size_t>(f)];
                        if (std::abs(v) >= TINY) R[6 * I + f] += sh.N[static_cast<size_t>(I)] * w * v;
                    }
            }
    }

    for (int r = 0; r < c.NCLOD; ++r) {
        const int e = m.clod.element[static_cast<size_t>(r)];
        if (e < 1) continue;
        const auto& p = m.clod.point[static_cast<size_t>(r)];
        SLBSHAPE(p[0], p[1], nn, sh);
        double* R = store.R(e);
        for (int I = 0; I < nn; ++I)
            for (int f = 0; f < 6; ++f) {
                const double v = lambda * m.clod.value[static_cast<size_t>(r)][static_cast<size_t>(f)];
                if (std::abs(v) >= TINY) R[6 * I + f] += sh.N[static_cast<size_t>(I)] * v;
            }
    }

    // Edge loads act in full from the first step on.
    for (int r = 0; r < c.NELOD; ++r) {
        const int e = m.elod.element[static_cast<size_t>(r)];
        const int side = m.elod.side[static_cast<size_t>(r)], a = m.elod.dof[static_cast<size_t>(r)] - 1;
        const auto& q = m.elod.value[static_cast<size_t>(r)];
        const ElementXY xy = elementXY(m, e);
        double* R = store.R(e);
        const bool mid = nn > 4;
        for (int j = 0; j < g.n; ++j) {
            SLBSHAPE(g.pt[static_cast<size_t>(j)], -1.0, mid ? 8 : 4, sh);
            double F = sh.N[0] * q[0] + sh.N[1] * q[1];
            if (mid) F += sh.N[4] * q[2];
            const double G = sideLength(xy, side, sh, mid);
            const double cc = F * g.wt[static_cast<size_t>(j)] * G;
            const int n1 = side == 4 ? 4 : side, n2 = side == 4 ? 1 : side + 1, n3 = side == 4 ? 8 : side + 4;
            R[6 * (n1 - 1) + a] += sh.N[0] * cc;
            R[6 * (n2 - 1) + a] += sh.N[1] * cc;
            if (mid) R[6 * (n3 - 1) + a] += sh.N[4] * cc;
        }
    }
}

void SLBASSMV(const Model& m, ElementStore& store, std::vector<double>& nodal) {
    for (int e = 1; e <= m.c.NELEM; ++e) {
        const double* R = store.R(e);
        for (int I = 1; I <= m.c.NNODE; ++I) {
            const int n = std::abs(m.node(I, e));
            for (int f = 0; f < 6; ++f) nodal[static_cast<size_t>(6 * (n - 1) + f)] += R[6 * (I - 1) + f];
        }
    }
}

void SLBNORM6(const std::vector<double>& v, double& trans, double& rot, int n) {
    double t = 0.0, r = 0.0;
    for (int i = 0; i < n / 6; ++i) {
        for (int f = 0; f < 3; ++f) t += v[static_cast<size_t>(6 * i + f)] * v[static_cast<size_t>(6 * i + f)];
        for (int f = 3; f < 6; ++f) r += v[static_cast<size_t>(6 * i + f)] * v[static_cast<size_t>(6 * i + f)];
    }
    trans = std::sqrt(t);
    rot = std::sqrt(r);
}

}  // namespace kaldo::slab
