// The frontal solver of the slab: the element matrices are assembled one element at a time into a small
// active front, and each freedom is eliminated as soon as the last element holding it has been added.
// The eliminated equations are kept in memory (only their non-zero coefficients) and read back in
// reverse order for the back-substitution; that is faster than a scratch file and, since the plate,
// membrane and drilling freedoms do not couple, the front rows are mostly zeros.
#include <cmath>

#include "flexcap/slab.h"
#include "io/format.h"
#include "services/status.h"

namespace kaldo::slab {

namespace {

struct Equation {
    int pos = 0;           // front position of the pivot
    int freedom = 0;       // global freedom (0-based)
    double rhs = 0.0;      // right-hand side of the equation
    double pivot = 0.0;
    std::vector<int> col;  // front positions of the other non-zero coefficients
    std::vector<double> val;
};

// Packed lower triangle of the symmetric front: (i, j), i >= j, 0-based.
inline size_t tri(int i, int j) { return static_cast<size_t>(i) * (i + 1) / 2 + j; }

// A pivot below this fraction of the assembled diagonal of its freedom is taken as zero.
constexpr double SINGULAR = 1e-11;

}  // namespace

int SLBFRONT(const Model& m, ElementStore& store, const std::vector<double>& utotal, std::vector<double>& solution,
             std::vector<double>& reactions, io::Unit* listing) {
    const int nn = m.c.NNODE, nevab = m.c.NEVAB, cap = m.c.FRCAP;
    const size_t ntot = static_cast<size_t>(6 * m.c.NPOIN);
    reactions.assign(ntot, 0.0);
    std::vector<int> code(ntot, 0);
    for (size_t r = 0; r < m.fxnod.size(); ++r)
        for (int j = 0; j < 6; ++j) {
            const size_t g = static_cast<size_t>(6 * (m.fxnod[r] - 1) + j);
            reactions[g] = m.fxval[r][static_cast<size_t>(j)];
            code[g] = m.fxcod[r][static_cast<size_t>(j)];
        }

    // The element in which each node appears for the last time.
    std::vector<int> lastElem(static_cast<size_t>(m.c.NPOIN) + 1, 0);
    for (int e = 1; e <= m.c.NELEM; ++e)
        for (int I = 1; I <= nn; ++I) lastElem[static_cast<size_t>(m.node(I, e))] = e;

    std::vector<double> front(tri(cap, 0), 0.0), frhs(static_cast<size_t>(cap), 0.0), bval(static_cast<size_t>(cap), 0.0),
        buffer(static_cast<size_t>(cap), 0.0), diag(static_cast<size_t>(cap), 0.0);
    std::vector<int> occ(static_cast<size_t>(cap), -1);  // global freedom at each position, -1 when free
    std::vector<int> posOf(ntot, -1);
    std::vector<Equation> eqs;
    eqs.reserve(ntot);
    int nactive = 0, largest = 0;
    std::vector<int> nz;
    nz.reserve(static_cast<size_t>(cap));

    std::array<int, MAXEVAB> pos{}, gfree{};
    std::array<bool, MAXEVAB> last{};
    for (int e = 1; e <= m.c.NELEM; ++e) {
        const double* K = store.K(e);
        const double* R = store.R(e);
        // Front positions of the element's freedoms.
        for (int k = 0; k < nevab; ++k) {
            const int n = m.node(k / 6 + 1, e);
            const int g = 6 * (n - 1) + k % 6;
            gfree[static_cast<size_t>(k)] = g;
            last[static_cast<size_t>(k)] = lastElem[static_cast<size_t>(n)] == e;
            int p = posOf[static_cast<size_t>(g)];
            if (p < 0) {
                p = 0;
                while (p < cap && occ[static_cast<size_t>(p)] >= 0) ++p;
                if (p == cap) throw SlabStop(ST_INTERNAL, "THE FRONT OF THE SLAB SOLVER IS FULL");
                occ[static_cast<size_t>(p)] = g;
                posOf[static_cast<size_t>(g)] = p;
                diag[static_cast<size_t>(p)] = 0.0;
                nactive = std::max(nactive, p + 1);
            }
            pos[static_cast<size_t>(k)] = p;
        }
        largest = std::max(largest, nactive);
        // Assemble the upper triangle of the element matrix into the symmetric front.
        for (int k = 0; k < nevab; ++k) {
            const int pk = pos[static_cast<size_t>(k)];
            frhs[static_cast<size_t>(pk)] += R[k];
            diag[static_cast<size_t>(pk)] += std::abs(K[static_cast<size_t>(k + k * nevab)]);
            for (int l = 0; l <= k; ++l) {
                const int pl = pos[static_cast<size_t>(l)];
                front[tri(std::max(pk, pl), std::min(pk, pl))] += K[static_cast<size_t>(l + k * nevab)];
            }
        }
        // Eliminate the freedoms that no later element holds.
        for (int k = 0; k < nevab; ++k) {
            if (!last[static_cast<size_t>(k)]) continue;
            const int g = gfree[static_cast<size_t>(k)];
            const int i = posOf[static_cast<size_t>(g)];
            if (i < 0) continue;
            nz.clear();
            for (int j = 0; j < nactive; ++j) {
                double& a = j <= i ? front[tri(i, j)] : front[tri(j, i)];
                buffer[static_cast<size_t>(j)] = a;
                a = 0.0;
                if (j != i && buffer[static_cast<size_t>(j)] != 0.0) nz.push_back(j);
            }
            Equation q;
            q.pos = i;
            q.freedom = g;
            q.rhs = frhs[static_cast<size_t>(i)];
            frhs[static_cast<size_t>(i)] = 0.0;
            q.pivot = buffer[static_cast<size_t>(i)];
            const bool prescribed = code[static_cast<size_t>(g)] == 1;
            if (prescribed) {
                // The freedom's increment is known: its column moves to the right-hand side.
                const double v = reactions[static_cast<size_t>(g)] - utotal[static_cast<size_t>(g)];
                for (int j : nz) frhs[static_cast<size_t>(j)] -= v * buffer[static_cast<size_t>(j)];
            } else {
                // A pivot that elimination has brought down to round-off of the freedom's own stiffness
                // is a zero pivot: the system is singular there, and dividing by it would give noise.
                if (q.pivot == 0.0 || std::isnan(q.pivot) || std::abs(q.pivot) <= SINGULAR * diag[static_cast<size_t>(i)]) {
                    if (listing && listing->isOpen())
                        listing->line() << " " << io::X{3} << "NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO. "
                                        << io::I(4, g + 1) << " OF VALUE " << io::E{17, 6, q.pivot};
                    throw SlabStop(ST_SINGULAR_STIFFNESS, "ZERO PIVOT FOR FREEDOM " + std::to_string(g % 6 + 1) +
                                                              " OF NODE " + std::to_string(g / 6 + 1) +
                                                              ": THE SLAB IS NOT HELD AGAINST A RIGID-BODY MOVEMENT");
                }
                const double piv = q.pivot;
                for (int j : nz) frhs[static_cast<size_t>(j)] -= q.rhs * buffer[static_cast<size_t>(j)] / piv;
                for (size_t a = 0; a < nz.size(); ++a) {
                    const int j = nz[a];
                    const double f = buffer[static_cast<size_t>(j)] / piv;
                    double* row = front.data() + tri(j, 0);
                    for (size_t b = 0; b <= a; ++b) {
                        const int mm = nz[b];
                        row[mm] -= buffer[static_cast<size_t>(mm)] * f;
                    }
                }
            }
            q.col = nz;
            q.val.reserve(nz.size());
            for (int j : nz) q.val.push_back(buffer[static_cast<size_t>(j)]);
            eqs.push_back(std::move(q));
            occ[static_cast<size_t>(i)] = -1;
            posOf[static_cast<size_t>(g)] = -1;
            while (nactive > 0 && occ[static_cast<size_t>(nactive - 1)] < 0) --nactive;
        }
    }

    // Back-substitution from the last equation to the first.
    for (auto it = eqs.rbegin(); it != eqs.rend(); ++it) {
        const Equation& q = *it;
        const size_t g = static_cast<size_t>(q.freedom);
        double residual = q.rhs;
        for (size_t a = 0; a < q.col.size(); ++a) residual -= q.val[a] * bval[static_cast<size_t>(q.col[a])];
        if (code[g] == 1) {
            const double v = reactions[g] - utotal[g];
            bval[static_cast<size_t>(q.pos)] = v;
            residual -= q.pivot * v;
            reactions[g] = -residual;
            solution[g] = v;
        } else {
            const double v = residual / q.pivot;
            bval[static_cast<size_t>(q.pos)] = v;
            solution[g] = v;
            if (code[g] == 2) reactions[g] *= utotal[g] + v;
        }
    }
    return largest;
}

}  // namespace kaldo::slab
