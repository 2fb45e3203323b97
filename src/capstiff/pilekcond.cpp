// The head stiffness of one pile from its equivalent springs: the pile becomes a chain of beam-column
// elements, one per increment, on one lateral spring per node, condensed element by element from the tip
// up to the head. The head then takes the secant axial and torsional stiffnesses, and the head
// connection (pinned or a rotational spring) is applied.
//
// Two cases the elimination has to meet without dividing by zero:
//  - A pivot that is zero (to the digits the elimination keeps) belongs to an unknown that nothing
//    restrains: the lateral unknowns of a node below an element without bending stiffness and without
//    a spring, say. That unknown alone is left out (it is free and carries no force); everything else of
//    the chain, the springs of the nodes above included, stays. The pile's notes count it.
//  - A pinned head whose rotation has no stiffness: the release changes nothing but the rotation's own
//    row and column, which become zero (the pile takes no moment there).
//
// The axial-force terms of the element are the consistent geometric stiffness (6 P / 5 L across the
// element): with it a bar turned rigidly under an axial force P carries the shear P times the angle,
// as statics asks.
#include <algorithm>
#include <cmath>
#include <vector>

#include "capstiff/eqstiff.h"
#include "io/format.h"
#include "model/blocks.h"
#include "services/psec.h"

namespace kaldo {

namespace {

// A pivot that has lost this share of its unknown's own diagonal is zero.
constexpr double ZERO_PIVOT = 1e-12;
// A rotation whose stiffness is this small against one element's rotational stiffness has none.
constexpr double NO_ROTATION = 1e-10;

template <std::size_t N>
struct Sym {
    std::array<double, N * N>& m;
    void set(int i, int j, double v) {
        m[static_cast<std::size_t>((i - 1) + (j - 1) * static_cast<int>(N))] += v;
        if (i != j) m[static_cast<std::size_t>((j - 1) + (i - 1) * static_cast<int>(N))] += v;
    }
};

}  // namespace

void BEAMK12(double ei1, double ei2, double ea, double gj, double L, double P, int axial, Mat12& K) {
    K.fill(0.0);
    Sym<12> k{K};
    const double L2 = L * L, L3 = L2 * L;
    k.set(1, 1, ea / L), k.set(7, 7, ea / L), k.set(1, 7, -ea / L);
    k.set(4, 4, gj / L), k.set(10, 10, gj / L), k.set(4, 10, -gj / L);
    k.set(2, 2, 12 * ei1 / L3), k.set(8, 8, 12 * ei1 / L3), k.set(2, 8, -12 * ei1 / L3);
    k.set(2, 6, -6 * ei1 / L2), k.set(2, 12, -6 * ei1 / L2), k.set(6, 8, 6 * ei1 / L2), k.set(8, 12, 6 * ei1 / L2);
    k.set(6, 6, 4 * ei1 / L), k.set(12, 12, 4 * ei1 / L), k.set(6, 12, 2 * ei1 / L);
    k.set(3, 3, 12 * ei2 / L3), k.set(9, 9, 12 * ei2 / L3), k.set(3, 9, -12 * ei2 / L3);
    k.set(3, 5, 6 * ei2 / L2), k.set(3, 11, 6 * ei2 / L2), k.set(5, 9, -6 * ei2 / L2), k.set(9, 11, -6 * ei2 / L2);
    k.set(5, 5, 4 * ei2 / L), k.set(11, 11, 4 * ei2 / L), k.set(5, 11, 2 * ei2 / L);
    if (axial != 1) return;
    const double t = 1.2 * P / L;
    for (int i : {2, 3, 8, 9}) k.set(i, i, -t);
    k.set(2, 8, t), k.set(3, 9, t);
    k.set(2, 6, P / 10), k.set(2, 12, P / 10), k.set(6, 8, -P / 10), k.set(8, 12, -P / 10);
    k.set(3, 5, -P / 10), k.set(3, 11, -P / 10), k.set(5, 9, P / 10), k.set(9, 11, P / 10);
    for (int i : {5, 6, 11, 12}) k.set(i, i, -2 * P * L / 15);
    k.set(5, 11, P * L / 30), k.set(6, 12, P * L / 30);
}

void BEAMKG(double ei, double ea, double L, double P, int axial, Mat6& K) {
    Mat12 full{};
    BEAMK12(ei, 0.0, ea, 0.0, L, P, axial, full);
    const int keep[6] = {1, 2, 6, 7, 8, 12};
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i)
            K[static_cast<std::size_t>(i + 6 * j)] = full[static_cast<std::size_t>((keep[i] - 1) + 12 * (keep[j] - 1))];
}

void CONDENS(double* A, double* B, int N, int M, int& flag) {
    auto a = [&](int i, int j) -> double& { return A[(i - 1) + (j - 1) * N]; };
    flag = 0;
    std::vector<double> own(static_cast<std::size_t>(N));
    for (int p = 1; p <= N; ++p) own[static_cast<std::size_t>(p - 1)] = std::fabs(a(p, p));
    for (int p = 1; p <= N - M; ++p) {
        const double pivot = a(p, p);
        if (!(std::fabs(pivot) > ZERO_PIVOT * own[static_cast<std::size_t>(p - 1)])) {
            // Nothing restrains this unknown: it is left out.
            ++flag;
            continue;
        }
        for (int r = p + 1; r <= N; ++r) {
            const double f = a(r, p) / pivot;
            if (f == 0.0) continue;
            for (int c = p; c <= N; ++c) a(r, c) -= f * a(p, c);
        }
    }
    for (int j = 1; j <= M; ++j)
        for (int i = 1; i <= M; ++i) B[(i - 1) + (j - 1) * M] = a(N - M + i, N - M + j);
}

namespace {

// The chain of one pile, condensed onto its head: nd unknowns per node (6 or 3), lateral unknowns at
// lat, element matrices from element(e).
template <int ND, class Element>
void condenseChain(int n, const std::vector<double>& spring, std::initializer_list<int> lat, Element element,
                   std::array<double, ND * ND>& C, CondensNotes& notes) {
    constexpr int N2 = 2 * ND;
    C.fill(0.0);
    for (int e = n; e >= 1; --e) {
        std::array<double, N2 * N2> K = element(e);
        auto k = [&](int i, int j) -> double& { return K[static_cast<std::size_t>((i - 1) + (j - 1) * N2)]; };
        // Node a (the lower node e + 1) takes what the chain below it condensed to.
        for (int j = 1; j <= ND; ++j)
            for (int i = 1; i <= ND; ++i) k(i, j) += C[static_cast<std::size_t>((i - 1) + (j - 1) * ND)];
        for (int i : lat) {
            if (e == n) k(i, i) += spring[static_cast<std::size_t>(n)];
            k(ND + i, ND + i) += spring[static_cast<std::size_t>(e - 1)];
        }
        int flag = 0;
        CONDENS(K.data(), C.data(), N2, ND, flag);
        if (flag > 0) {
            notes.zeroPivots += flag;
            notes.lowestDropped = std::max(notes.lowestDropped, e);
        }
    }
}

}  // namespace

void headConnection(double* K, int nd, int r, int code, double s, double scale, CondensNotes& notes) {
    auto k = [&](int i, int j) -> double& { return K[(i - 1) + (j - 1) * nd]; };
    if (code != 1 && code != 3) return;
    const double spring = code == 3 ? s : 0.0;
    const double d = k(r, r) + spring;
    if (!(std::fabs(d) > NO_ROTATION * scale)) {
        if (spring != 0.0) return;
        // A rotation without stiffness: released, it leaves every other entry as it is.
        ++notes.emptyReleases;
        for (int i = 1; i <= nd; ++i) k(i, r) = k(r, i) = 0.0;
        return;
    }
    std::vector<double> col(static_cast<std::size_t>(nd)), row(static_cast<std::size_t>(nd));
    for (int i = 1; i <= nd; ++i) {
        col[static_cast<std::size_t>(i - 1)] = k(i, r);
        row[static_cast<std::size_t>(i - 1)] = k(r, i);
    }
    for (int q = 1; q <= nd; ++q)
        for (int p = 1; p <= nd; ++p) k(p, q) -= col[static_cast<std::size_t>(p - 1)] * row[static_cast<std::size_t>(q - 1)] / d;
    if (spring == 0.0)
        for (int i = 1; i <= nd; ++i) k(i, r) = k(r, i) = 0.0;
}

namespace {

// The trace lines of a pile: its number and node count, its head stiffnesses, the node springs.
void traceLines(std::string& trace, int p, int n, std::initializer_list<double> head, const std::vector<double>& spring) {
    trace += "     PILE=" + io::fmtI(5, p) + "     NNODES=" + io::fmtI(5, n + 1) + "\n";
    std::string line = " ";
    bool first = true;
    for (double v : head) {
        if (!first) line += ' ';
        line += io::freeReal(v);
        first = false;
    }
    trace += line + "\n";
    for (double v : spring) trace += " " + io::freeReal(v) + "\n";
}

struct PileChain {
    int n;
    double h;
    std::vector<double> spring, eiz, eiy;
    double scale = 0.0;  // the largest rotational stiffness of one element
};

PileChain chainOf(int p, bool plane) {
    const int set = PILE.PSETNO(p);
    PileChain c;
    c.n = std::clamp(PILESET.NINC(set), 1, MAXINC);
    c.h = PILESET.PLEN(set) / c.n;
    c.spring.resize(static_cast<std::size_t>(c.n + 1));
    PNODVAL(p, c.spring.data());
    c.eiz.resize(c.spring.size());
    c.eiy.resize(c.spring.size());
    for (int k = 1; k <= c.n + 1; ++k) {
        // Each node at its own position along the axis, as the pile's own analysis looks it up.
        const double x = PILE.HEADXW(p) + (k - 1) * c.h;
        c.eiz[static_cast<std::size_t>(k - 1)] = PSECEIZ(p, set, x);
        c.eiy[static_cast<std::size_t>(k - 1)] = plane ? 0.0 : PSECEIY(p, set, x);
        c.scale = std::max({c.scale, 4.0 * std::fabs(c.eiz[static_cast<std::size_t>(k - 1)]) / c.h,
                            4.0 * std::fabs(c.eiy[static_cast<std::size_t>(k - 1)]) / c.h});
    }
    return c;
}

double mean(const std::vector<double>& v, int e) {
    return 0.5 * (v[static_cast<std::size_t>(e - 1)] + v[static_cast<std::size_t>(e)]);
}

}  // namespace

void condensePile(int n, double h, const double* eiz, const double* eiy, const double* spring, double P, int axial,
                  Mat6& C, CondensNotes& notes) {
    const std::vector<double> s(spring, spring + n + 1), z(eiz, eiz + n + 1), y(eiy, eiy + n + 1);
    condenseChain<6>(n, s, {2, 3},
                     [&](int e) {
                         Mat12 K{};
                         BEAMK12(mean(z, e), mean(y, e), 1.0, 1.0, h, P, axial, K);
                         return K;
                     },
                     C, notes);
}

void condensePile2D(int n, double h, const double* ei, const double* spring, double P, int axial, Mat3& C,
                    CondensNotes& notes) {
    const std::vector<double> s(spring, spring + n + 1), z(ei, ei + n + 1);
    condenseChain<3>(n, s, {2},
                     [&](int e) {
                         Mat6 K{};
                         BEAMKG(mean(z, e), 1.0, h, P, axial, K);
                         return K;
                     },
                     C, notes);
}

void PILEKCOND(int p, int axial, int&, Mat6& K, std::string& trace, CondensNotes& notes) {
    const PileChain c = chainOf(p, false);
    traceLines(trace, p, c.n, {EQSRD.EQSKAX(p), EQSRD.EQSKT(p)}, c.spring);
    condensePile(c.n, c.h, c.eiz.data(), c.eiy.data(), c.spring.data(), EQSRD.EQSPHEAD(p), axial, K, notes);
    K[0] = EQSRD.EQSKAX(p);
    K[3 + 3 * 6] = EQSRD.EQSKT(p);
    headConnection(K.data(), 6, 6, PILE.CONNZ(p), PILE.SPRZ(p), c.scale, notes);
    headConnection(K.data(), 6, 5, PILE.CONNY(p), PILE.SPRY(p), c.scale, notes);
}

void PHSTF2D(int p, int axial, int&, Mat3& K, std::string& trace, CondensNotes& notes) {
    const PileChain c = chainOf(p, true);
    traceLines(trace, p, c.n, {EQSRD.EQSKAX(p)}, c.spring);
    condensePile2D(c.n, c.h, c.eiz.data(), c.spring.data(), EQSRD.EQSPHEAD(p), axial, K, notes);
    K[0] = EQSRD.EQSKAX(p);
    headConnection(K.data(), 3, 3, PILE.CONNZ(p), PILE.SPRZ(p), c.scale, notes);
}

}  // namespace kaldo
