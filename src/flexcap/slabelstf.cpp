// The tangent stiffness and internal forces of every slab element in one equilibrium iteration: the
// element's own stiffness, the spring records of the input and the pile heads standing in it.
#include <cmath>

#include "flexcap/slab.h"
#include "io/format.h"
#include "pile/pile.h"
#include "services/linalg.h"

namespace kaldo::slab {

namespace {

class EnginePiles : public PileLink {
public:
    // The head stiffness with the fixed difference steps (the slab has no Newton increment of a cap
    // to size them by).
    void stiffness(int p, const Vec6& d, Mat6& K, int& status) override {
        const Vec6 none{};
        PILESTF(p, K, d, none, 1, 1, status);
    }
    void forces(int p, const Vec6& d, Vec6& F, int& status) override { PILEFRC(p, F, d, status); }
};

// T as a column-stored 6 x 6, s = T p: T(1,3) = 1, T(2,2) = 1, T(3,1) = -1 (the translations: slab x is
// the group's Z, slab y its Y, the slab normal its -X), T(4,5) = -1, T(5,6) = 1, T(6,4) = -1 (the slab's
// rotation xz is its slope dw/dx, the turn of the group's -Y; its rotation yz the slope dw/dy, the turn
// of the group's Z; the drilling turn about the normal that of the group's -X).
Mat6 exchangeMatrix() {
    Mat6 T{};
    auto set = [&](int i, int j, double v) { T[static_cast<size_t>((i - 1) + (j - 1) * 6)] = v; };
    set(1, 3, 1.0);
    set(2, 2, 1.0);
    set(3, 1, -1.0);
    set(4, 5, -1.0);
    set(5, 6, 1.0);
    set(6, 4, -1.0);
    return T;
}

}  // namespace

PileLink& enginePiles() {
    static EnginePiles piles;
    return piles;
}

Vec6 slabToHead(const Vec6& s) { return {-s[2], s[1], s[0], -s[5], -s[3], s[4]}; }
Vec6 headToSlab(const Vec6& p) { return {p[2], p[1], -p[0], -p[4], p[5], -p[3]}; }

Mat6 headStiffnessToSlab(const Mat6& K) {
    // T K Tt: the columns of K Tt are K times the columns of Tt (the rows of T), then T times each.
    const Mat6 T = exchangeMatrix();
    Mat6 Tt{};
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) Tt[static_cast<size_t>(i + 6 * j)] = T[static_cast<size_t>(j + 6 * i)];
    Mat6 KTt{}, Ks{};
    MATV6N(KTt, K, Tt, 6);
    MATV6N(Ks, T, KTt, 6);
    return Ks;
}

void pointOperator(const Model& m, int e, double xi, double eta, PointOperator& A) {
    const int nn = m.c.NNODE;
    Shape sh;
    SLBSHAPE(xi, eta, nn, sh);
    const Jacobian jac = JACOB2(e, elementXY(m, e), sh);
    for (auto& row : A) row.fill(0.0);
    for (int I = 0; I < nn; ++I) {
        const size_t i = static_cast<size_t>(I);
        for (int f = 0; f < 5; ++f) A[static_cast<size_t>(f)][static_cast<size_t>(6 * I + f)] = sh.N[i];
        A[5][static_cast<size_t>(6 * I)] = -0.5 * jac.dy[i];
        A[5][static_cast<size_t>(6 * I + 1)] = 0.5 * jac.dx[i];
    }
}

void ElementStore::size(const Model& m) {
    nevab = m.c.NEVAB;
    k.assign(static_cast<size_t>(m.c.NELEM) * nevab * nevab, 0.0);
    rhs.assign(static_cast<size_t>(m.c.NELEM) * nevab, 0.0);
    stress.clear();
}

void SLBELSTF(const Model& m, const Gauss& g, const std::vector<double>& u, ElementStore& store, PileLink& piles,
              Files* files) {
    const int nn = m.c.NNODE, nevab = m.c.NEVAB;
    // The element's own stiffness does not change with the displacement: formed once and kept.
    if (static_cast<int>(store.stress.size()) != m.c.NELEM) {
        store.stress.assign(static_cast<size_t>(m.c.NELEM), ElementMatrices{});
        for (int e = 1; e <= m.c.NELEM; ++e) elementMatrices(m, g, e, store.stress[static_cast<size_t>(e - 1)]);
    }
    // Records acting on a node act once, in the first element that holds the node.
    std::vector<char> nodeUsed(static_cast<size_t>(m.c.NNSTI), 0);

    for (int e = 1; e <= m.c.NELEM; ++e) {
        double* K = store.K(e);
        double* R = store.R(e);
        const std::vector<double>& k0 = store.stress[static_cast<size_t>(e - 1)].k;
        std::copy(k0.begin(), k0.end(), K);
        auto Kat = [&](int r, int c) -> double& { return K[static_cast<size_t>(r + c * nevab)]; };
        // The element's displacement, freedom by freedom.
        std::array<double, MAXEVAB> ue{};
        for (int I = 0; I < nn; ++I) {
            const int n = std::abs(m.node(I + 1, e));
            for (int f = 0; f < 6; ++f) ue[static_cast<size_t>(6 * I + f)] = u[static_cast<size_t>(6 * (n - 1) + f)];
        }
        // Internal forces of the element at u.
        for (int c = 0; c < nevab; ++c) {
            const double uc = ue[static_cast<size_t>(c)];
            if (uc == 0.0) continue;
            for (int r = 0; r < nevab; ++r) R[r] -= Kat(r, c) * uc;
        }
        // A spring of stiffness v on element freedom r.
        auto spring = [&](int r, double v) {
            Kat(r, r) += v;
            R[r] -= v * ue[static_cast<size_t>(r)];
        };

        for (int I = 0; I < nn; ++I) {
            const int n = std::abs(m.node(I + 1, e));
            for (int s = 0; s < m.c.NNSTI; ++s) {
                if (nodeUsed[static_cast<size_t>(s)] || m.nsti.number[static_cast<size_t>(s)] != n) continue;
                for (int a = 0; a < 6; ++a) spring(6 * I + a, m.nsti.value[static_cast<size_t>(s)][static_cast<size_t>(a)]);
                nodeUsed[static_cast<size_t>(s)] = 1;
            }
        }

        Shape sh;
        const ElementXY xy = elementXY(m, e);
        for (int s = 0; s < m.c.NDSTI; ++s) {
            if (m.dsti.number[static_cast<size_t>(s)] != e) continue;
            const Vec6& kv = m.dsti.value[static_cast<size_t>(s)];
            for (int i = 0; i < g.n; ++i)
                for (int j = 0; j < g.n; ++j) {
                    SLBSHAPE(g.pt[static_cast<size_t>(i)], g.pt[static_cast<size_t>(j)], nn, sh);
                    const double dV = JACOB2(e, xy, sh).det * g.wt[static_cast<size_t>(i)] * g.wt[static_cast<size_t>(j)];
                    for (int I = 0; I < nn; ++I)
                        for (int a = 0; a < 6; ++a)
                            if (std::abs(kv[static_cast<size_t>(a)]) >= TINY)
                                spring(6 * I + a, sh.N[static_cast<size_t>(I)] * dV * kv[static_cast<size_t>(a)]);
                }
        }

        for (int s = 0; s < m.c.NCSTI; ++s) {
            if (m.csti.element[static_cast<size_t>(s)] != e) continue;
            const auto& p = m.csti.point[static_cast<size_t>(s)];
            SLBSHAPE(p[0], p[1], nn, sh);
            const Vec6& kv = m.csti.value[static_cast<size_t>(s)];
            for (int I = 0; I < nn; ++I)
                for (int a = 0; a < 6; ++a)
                    if (std::abs(kv[static_cast<size_t>(a)]) >= TINY)
                        spring(6 * I + a, sh.N[static_cast<size_t>(I)] * kv[static_cast<size_t>(a)]);
        }

        for (int s = 0; s < m.c.NESTI; ++s) {
            if (m.esti.element[static_cast<size_t>(s)] != e) continue;
            const int side = m.esti.side[static_cast<size_t>(s)], a = m.esti.dof[static_cast<size_t>(s)] - 1;
            const auto& kv = m.esti.value[static_cast<size_t>(s)];
            const bool mid = nn > 4;
            for (int j = 0; j < g.n; ++j) {
                SLBSHAPE(g.pt[static_cast<size_t>(j)], -1.0, mid ? 8 : 4, sh);
                double kq = sh.N[0] * kv[0] + sh.N[1] * kv[1];
                if (mid) kq += sh.N[4] * kv[2];
                const double G = sideLength(xy, side, sh, mid);
                const double c = kq * g.wt[static_cast<size_t>(j)] * G;
                const int n1 = side == 4 ? 4 : side, n2 = side == 4 ? 1 : side + 1, n3 = side == 4 ? 8 : side + 4;
                spring(6 * (n1 - 1) + a, sh.N[0] * c);
                spring(6 * (n2 - 1) + a, sh.N[1] * c);
                if (mid) spring(6 * (n3 - 1) + a, sh.N[4] * c);
            }
        }

        // The pile heads standing in the element: their stiffness and forces, reached through the
        // slab's movement at the pile point.
        if (m.c.KPILE > 0) {
            for (int p = 1; p <= m.c.NCTSTI; ++p) {
                if (m.piles.element[static_cast<size_t>(p - 1)] != e) continue;
                const auto& pt = m.piles.point[static_cast<size_t>(p - 1)];
                PointOperator A{};
                pointOperator(m, e, pt[0], pt[1], A);
                Vec6 s{};
                for (int f = 0; f < 6; ++f)
                    for (int c = 0; c < nevab; ++c)
                        s[static_cast<size_t>(f)] += A[static_cast<size_t>(f)][static_cast<size_t>(c)] * ue[static_cast<size_t>(c)];
                const Vec6 d = slabToHead(s);
                if (files) {
                    auto l = files->trace.line();
                    l << "DDD  ";
                    for (double v : s) l << io::E{13, 5, v};
                }
                if (files) {
                    auto l = files->trace.line();
                    l << "DD2  ";
                    for (double v : d) l << io::E{13, 5, v};
                }
                int status = 0;
                Mat6 Kp{};
                piles.stiffness(p, d, Kp, status);
                Vec6 Fp{};
                piles.forces(p, d, Fp, status);
                if (status != 0)
                    throw SlabStop(status, "THE ANALYSIS OF PILE " + std::to_string(p) + " FAILED WITH STATUS " +
                                               std::to_string(status));
                const Mat6 Ks = headStiffnessToSlab(Kp);
                if (files) {
                    Mat6 TK{};
                    MATV6N(TK, exchangeMatrix(), Kp, 6);
                    for (int i = 0; i < 6; ++i) {
                        auto l = files->trace.line();
                        l << "SS2  " << io::I(5, i + 1);
                        for (int j = 0; j < 6; ++j) l << io::E{13, 5, TK[static_cast<size_t>(i + 6 * j)]};
                    }
                    for (int i = 0; i < 6; ++i) {
                        auto l = files->trace.line();
                        l << "SS   " << io::I(5, i + 1);
                        for (int j = 0; j < 6; ++j) l << io::E{13, 5, Ks[static_cast<size_t>(i + 6 * j)]};
                    }
                }
                // The head movement is A ue and the head force reaches the element's freedoms by At: the
                // tangent is At (-Ks) A.
                const Vec6 Fs = headToSlab(Fp);
                std::array<std::array<double, 6>, MAXEVAB> KA{};  // Ks A, by element freedom
                for (int c = 0; c < nevab; ++c)
                    for (int a = 0; a < 6; ++a) {
                        double v = 0.0;
                        for (int b = 0; b < 6; ++b) {
                            const double kab = Ks[static_cast<size_t>(a + 6 * b)];
                            if (std::abs(kab) >= TINY) v += kab * A[static_cast<size_t>(b)][static_cast<size_t>(c)];
                        }
                        KA[static_cast<size_t>(c)][static_cast<size_t>(a)] = v;
                    }
                for (int r = 0; r < nevab; ++r) {
                    bool used = false;
                    for (int a = 0; a < 6; ++a) used = used || A[static_cast<size_t>(a)][static_cast<size_t>(r)] != 0.0;
                    if (!used) continue;
                    for (int c = 0; c < nevab; ++c) {
                        double v = 0.0;
                        for (int a = 0; a < 6; ++a)
                            v += A[static_cast<size_t>(a)][static_cast<size_t>(r)] * KA[static_cast<size_t>(c)][static_cast<size_t>(a)];
                        if (v != 0.0) Kat(r, c) -= v;
                    }
                    for (int a = 0; a < 6; ++a)
                        if (std::abs(Fs[static_cast<size_t>(a)]) >= TINY)
                            R[r] += A[static_cast<size_t>(a)][static_cast<size_t>(r)] * Fs[static_cast<size_t>(a)];
                }
            }
        }
    }
}

}  // namespace kaldo::slab
