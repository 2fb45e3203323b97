// The frontal solver against a dense solution of the same assembled system.
#include <gtest/gtest.h>

#include <cmath>

#include "flexcap/slabmesh.h"
#include "services/status.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

// Dense Gaussian elimination with partial pivoting: solves A x = b (A n x n by rows).
std::vector<double> denseSolve(std::vector<double> A, std::vector<double> b) {
    const size_t n = b.size();
    for (size_t k = 0; k < n; ++k) {
        size_t p = k;
        for (size_t i = k + 1; i < n; ++i)
            if (std::abs(A[i * n + k]) > std::abs(A[p * n + k])) p = i;
        for (size_t j = 0; j < n; ++j) std::swap(A[k * n + j], A[p * n + j]);
        std::swap(b[k], b[p]);
        for (size_t i = k + 1; i < n; ++i) {
            const double f = A[i * n + k] / A[k * n + k];
            for (size_t j = k; j < n; ++j) A[i * n + j] -= f * A[k * n + j];
            b[i] -= f * b[k];
        }
    }
    std::vector<double> x(n);
    for (size_t i = n; i-- > 0;) {
        double s = b[i];
        for (size_t j = i + 1; j < n; ++j) s -= A[i * n + j] * x[j];
        x[i] = s / A[i * n + i];
    }
    return x;
}

// A small slab with loads, springs, prescribed values and a spring-reaction freedom: the element system
// of its first iteration.
struct SmallSystem {
    slab::Model m;
    slab::ElementStore store;
    std::vector<double> utotal;

    explicit SmallSystem(int nnode) {
        m = rectMesh(nnode, 3, 2, 6.0, 3.0, 3.0e4, 0.2, 0.4, [](int i, int j) {
            return std::pair<double, double>{0.2 * (i % 2) * j, 0.15 * (j % 2) * i};
        });
        // Held along x = 0: z and both plate rotations to 0, the membrane at prescribed values.
        for (int n = 1; n <= m.c.NPOIN; ++n)
            if (std::abs(m.x(n)) < 1e-12) {
                restrain(m, n, {1, 2, 3, 4, 5, 6});
                m.fxval.back() = {1e-3, -2e-3, 0.0, 0.0, 0.0, 0.0};
            }
        // A spring-reaction code on a free node.
        m.fxnod.push_back(nodeNear(m, 6.0, 3.0));
        m.fxcod.push_back({0, 0, 2, 0, 0, 0});
        m.fxval.push_back({0.0, 0.0, 5.0, 0.0, 0.0, 0.0});
        m.dlod.number = {1, 5};
        m.dlod.value = {{1.0, 0.5, 3.0, 0.0, 0.0, 0.0}, {0.0, 0.0, -2.0, 0.1, 0.0, 0.7}};
        m.nsti.number = {nodeNear(m, 3.0, 3.0)};
        m.nsti.value = {{10.0, 10.0, 200.0, 5.0, 5.0, 1.0}};
        countBlocks(m);
        slab::CHECK2(m, nullptr);
        m.c.TCUR = m.c.TEND;
        const slab::Gauss g = slab::SLBGAUSS(m.c.NGAUS);
        utotal.assign(static_cast<size_t>(6 * m.c.NPOIN), 0.0);
        store.size(m);
        SpringPiles none;
        slab::SLBELSTF(m, g, utotal, store, none, nullptr);
        slab::SLBLOADV(m, g, store);
    }

    // The assembled matrix (by rows) and right-hand side, from the upper triangles of the elements.
    void assemble(std::vector<double>& K, std::vector<double>& f) {
        const size_t n = static_cast<size_t>(6 * m.c.NPOIN), ev = static_cast<size_t>(m.c.NEVAB);
        K.assign(n * n, 0.0);
        f.assign(n, 0.0);
        for (int e = 1; e <= m.c.NELEM; ++e) {
            const double* Ke = store.K(e);
            for (size_t k = 0; k < ev; ++k) {
                const size_t gk = static_cast<size_t>(6 * (m.node(static_cast<int>(k / 6) + 1, e) - 1)) + k % 6;
                f[gk] += store.R(e)[k];
                for (size_t l = 0; l < ev; ++l) {
                    const size_t gl = static_cast<size_t>(6 * (m.node(static_cast<int>(l / 6) + 1, e) - 1)) + l % 6;
                    K[gk * n + gl] += l <= k ? Ke[l + k * ev] : Ke[k + l * ev];
                }
            }
        }
    }
};

TEST(SlabFront, SolutionAndReactionsMatchADenseSolve) {
    for (int nnode : {4, 8, 9}) {
        SmallSystem s(nnode);
        std::vector<double> K, f;
        s.assemble(K, f);
        const size_t n = f.size();
        // Prescribed freedoms and their values.
        std::vector<int> code(n, 0);
        std::vector<double> val(n, 0.0);
        for (size_t r = 0; r < s.m.fxnod.size(); ++r)
            for (size_t j = 0; j < 6; ++j) {
                const size_t g = static_cast<size_t>(6 * (s.m.fxnod[r] - 1)) + j;
                code[g] = s.m.fxcod[r][j];
                val[g] = s.m.fxval[r][j];
            }
        std::vector<size_t> freeDofs;
        for (size_t g = 0; g < n; ++g)
            if (code[g] != 1) freeDofs.push_back(g);
        const size_t nf = freeDofs.size();
        std::vector<double> A(nf * nf), b(nf);
        for (size_t i = 0; i < nf; ++i) {
            b[i] = f[freeDofs[i]];
            for (size_t g = 0; g < n; ++g)
                if (code[g] == 1) b[i] -= K[freeDofs[i] * n + g] * val[g];
            for (size_t j = 0; j < nf; ++j) A[i * nf + j] = K[freeDofs[i] * n + freeDofs[j]];
        }
        const std::vector<double> xf = denseSolve(A, b);
        std::vector<double> x = val;
        for (size_t i = 0; i < nf; ++i) x[freeDofs[i]] = xf[i];

        std::vector<double> du(n, 0.0), react;
        const int front = slab::SLBFRONT(s.m, s.store, s.utotal, du, react, nullptr);
        EXPECT_GT(front, 0);
        double scale = 0.0;
        for (double v : x) scale = std::max(scale, std::abs(v));
        for (size_t g = 0; g < n; ++g) {
            EXPECT_NEAR(du[g], x[g], 1e-9 * scale) << nnode << " nodes, freedom " << g + 1;
            if (code[g] == 1) {
                double r = -f[g];
                for (size_t j = 0; j < n; ++j) r += K[g * n + j] * x[j];
                EXPECT_NEAR(react[g], r, 1e-7 * (1.0 + std::abs(r))) << nnode << " nodes, reaction of freedom " << g + 1;
            } else if (code[g] == 2) {
                EXPECT_NEAR(react[g], val[g] * x[g], 1e-12) << nnode << " nodes, spring reaction";
            }
        }
        // A second call on the same system gives the same answer.
        std::vector<double> du2(n, 0.0), react2;
        slab::SLBFRONT(s.m, s.store, s.utotal, du2, react2, nullptr);
        EXPECT_EQ(du, du2);
        EXPECT_EQ(react, react2);
    }
}

TEST(SlabFront, ASlabFreeToMoveStopsAtAZeroPivotWithItsLine) {
    slab::Model m = rectMesh(4, 1, 1, 2.0, 2.0, 1.0e3, 0.2, 0.2);
    m.nlod.number = {3};
    m.nlod.value = {{0.0, 0.0, 1.0, 0.0, 0.0, 0.0}};
    countBlocks(m);
    slab::CHECK2(m, nullptr);
    const slab::Gauss g = slab::SLBGAUSS(2);
    std::vector<double> u(24, 0.0), du(24, 0.0), r;
    slab::ElementStore store;
    store.size(m);
    SpringPiles none;
    slab::SLBELSTF(m, g, u, store, none, nullptr);
    WorkDir dir;
    io::Unit listing(6);
    ASSERT_TRUE(listing.open((dir / "list.txt").string(), io::Mode::Write));
    try {
        slab::SLBFRONT(m, store, u, du, r, &listing);
        FAIL() << "a free slab was solved";
    } catch (const slab::SlabStop& s) {
        EXPECT_EQ(s.status, ST_SINGULAR_STIFFNESS);
    }
    listing.close();
    const std::string text = dir.read("list.txt");
    EXPECT_EQ(text.substr(0, 56), "    NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO. ") << text;
}

}  // namespace
}  // namespace kaldo::test
