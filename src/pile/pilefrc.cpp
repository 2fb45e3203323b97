// The forces of one pile on the cap for a head displacement, and the pile-head stiffness by central
// differences of them.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstddef>
#include <vector>

#include "model/input.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "pile/pile.h"
#include "services/linalg.h"
#include "services/status.h"

namespace kaldo {

namespace {

// y = the 3 x 3 block of a column-stored 6 x 6 matrix m (rows and columns 1-3) times the triple x, for
// the translations (offset 0) and again for the rotations (offset 3): the block repeats on the diagonal.
Vec6 blockRotate(const Mat6& m, const Vec6& x) {
    Vec6 y{};
    for (int o : {0, 3}) {
        for (int i = 0; i < 3; ++i) {
            double s = 0.0;
            for (int j = 0; j < 3; ++j)
                s += m[static_cast<std::size_t>(i + o + (j + o) * 6)] * x[static_cast<std::size_t>(j + o)];
            y[static_cast<std::size_t>(i + o)] = s;
        }
    }
    return y;
}

// The head stiffness in global axes from the lateral derivatives D of the balanced pile (LLPILETAN) at
// the local head displacement UL, with the slopes of the axial and torsional head curves there by central
// differences of the curves alone (steps h and hr). False when a curve cannot be read or a term is not
// finite; K is then left alone.
bool assemble(int p, const Mat6& TL, const Mat6& TG, const Vec6& UL, const double D[4][5], Mat6& K, double h,
              double hr) {
    const double m = PILE.PMULT(p);
    const bool pinned = PILE.CONNZ(p) == 1 || PILE.CONNY(p) == 1;
    SlotArray axdisp{}, axforce{};
    int st = ST_OK;
    double Pa = 0.0, Pb = 0.0;
    Vec6 Ua = UL, Ub = UL;
    Ua[0] += h;
    Ub[0] -= h;
    AXIALRES(p, Pa, Ua, axdisp, axforce, st);
    AXIALRES(p, Pb, Ub, axdisp, axforce, st);
    if (st != ST_OK) return false;
    const double Pw = 0.5 * (Pa - Pb) / h * PILE.AXFACT(p);
    double Tt = 0.0;
    if (!pinned) {
        double Ta = 0.0, Tb = 0.0;
        Ua = UL;
        Ub = UL;
        Ua[3] += hr;
        Ub[3] -= hr;
        TORSRES(p, Ta, Ua);
        TORSRES(p, Tb, Ub);
        Tt = 0.5 * (Ta - Tb) / hr;
    }

    // The head stiffness in the pile's axes: the rows of FL by the local head components; the lateral
    // outputs change with the axial movement through the axial force.
    Mat6 KL{};
    auto set = [&KL](int i, int j, double v) { KL[static_cast<std::size_t>(i + j * 6)] = v; };
    set(0, 0, -m * Pw);
    set(3, 3, -m * Tt);
    const int row[4] = {1, 2, 5, 4};                // Hy, Hz, My, Mz
    const double sign[4] = {-m, -m, -m, m};
    for (int o = 0; o < 4; ++o) {
        const int i = row[o];
        const double f = sign[o];
        set(i, 0, f * D[o][4] * Pw);
        set(i, 1, f * D[o][0]);
        set(i, 5, -f * D[o][1]);
        set(i, 2, f * D[o][2]);
        set(i, 4, f * D[o][3]);
    }
    const Mat6 KG = product6(TL, product6(KL, TG));
    for (double v : KG)
        if (!std::isfinite(v)) return false;
    K = KG;
    return true;
}

// The lateral derivatives of each pile's balanced state that the group's force vector formed on the way,
// with the head displacement they belong to and the force round that formed them: the stiffness at the
// same displacement right after takes them instead of analysing the pile again. Only pile p's thread
// writes entry p; a round starts with every force vector (before its pile loop, on one thread), so an
// entry serves only until the next force vector, whatever that changed (reduction factors, loads).
struct KeptDerivatives {
    Vec6 U{};
    double D[4][5]{};
    unsigned round = 0;
    // The head stiffness at the cap origin formed from them in the same evaluation, and the stiffness
    // request it answers (0: none).
    Mat6 K{};
    unsigned request = 0;
};
// The stiffness the group iteration expects next (expectStiffness): at the cap displacement cap, with
// the difference steps of DU, IT and MODE. Each request has a serial number of its own.
struct StiffnessRequest {
    bool on = false;
    Vec6 cap{}, DU{};
    int IT = 0, MODE = 0;
    unsigned serial = 0;
} request;
std::vector<KeptDerivatives> kept;
unsigned forceRound = 1;

bool keepsDerivatives(int p) {
    return RUNSTATE.RUNPASS == PASS_ITERATING && static_cast<std::size_t>(p) < kept.size() &&
           headStiffnessByLinearisation() && pileNewtonOn() && lateralTangentCovered(p);
}

// The forces of pile p on the cap for the head displacement U (PILEFRC), and when K or keep is given the
// linearisation of the balanced pile: K its head stiffness, keep its lateral derivatives with U and the
// current round. True when they were formed; false leaves K and keep alone (the pile is outside what the
// linearisation covers, failed, or its system could not be solved), with F and every side effect those
// of the force evaluation alone. h and hr are the translation and rotation steps of the slopes of the
// axial and torsional head curves.
bool evaluate(int p, Vec6& F, const Vec6& U, int& status, Mat6* K, double h, double hr,
              KeptDerivatives* keep = nullptr) {
    Mat6 TF{}, TD{}, TL{}, TG{};
    PILETRAN(p, TF, TD, TL, TG);
    F.fill(0.0);

    // The head displacement in the pile's own axes.
    const Vec6 UL = blockRotate(TG, U);

    // Axial head force (compression positive); the status of the axial routine is left for LLPILE's
    // check below, as every failure of the pile ends in the same zero forces.
    SlotArray axdisp{}, axforce{};
    double P = 0.0;
    AXIALRES(p, P, UL, axdisp, axforce, status);
    P *= PILE.AXFACT(p);

    // A head pinned in either plane cannot hold a torque.
    const bool pinned = PILE.CONNZ(p) == 1 || PILE.CONNY(p) == 1;
    double T = 0.0;
    TORSRES(p, T, UL);
    if (pinned) T = 0.0;

    NODE(p, status);

    double Hy = 0.0, Hz = 0.0, My = 0.0, Mz = 0.0;
    double D[4][5]{};
    bool linear = false;
    if (K != nullptr || keep != nullptr)
        LLPILETAN(p, UL[1], -UL[5], UL[2], UL[4], P, T, Hy, Hz, My, Mz, status, UL, TL, axdisp, axforce, D, linear);
    else
        LLPILE(p, UL[1], -UL[5], UL[2], UL[4], P, T, Hy, Hz, My, Mz, status, UL, TL, axdisp, axforce);
    if (status != ST_OK) return false;

    // The pile's forces on the cap are opposite to the cap's forces on the pile head; the moment of the
    // first lateral plane turns about local axis 3 and that of the second about axis 2 with the opposite
    // sense, as the head slopes of the two planes are taken.
    const double m = PILE.PMULT(p);
    const Vec6 FL{-m * P, -m * Hy, -m * Hz, -m * T, m * Mz, -m * My};
    F = blockRotate(TL, FL);
    if (!linear) return false;
    if (keep != nullptr) {
        keep->U = U;
        std::copy(&D[0][0], &D[0][0] + 20, &keep->D[0][0]);
        keep->round = forceRound;
        keep->request = 0;
        if (request.on) {
            // The stiffness STIFF would form next from these derivatives, formed here: the head curves
            // read for it warn of nothing, as they do not when STIFF reads them.
            double hs = 0.0, hrs = 0.0;
            headDifferenceSteps(request.DU, request.IT, request.MODE, hs, hrs);
            Mat6 KP{};
            const QuietHeadCurves quiet;
            if (assemble(p, TL, TG, UL, D, KP, hs, hrs)) {
                keep->K = product6(TF, product6(KP, TD));
                keep->request = request.serial;
            }
        }
        return true;
    }
    return assemble(p, TL, TG, UL, D, *K, h, hr);
}

}  // namespace

void PILEFRC(int p, Vec6& F, const Vec6& U, int& status) { evaluate(p, F, U, status, nullptr, 0.0, 0.0); }

void prepareKeptDerivatives(int piles) {
    kept.assign(static_cast<std::size_t>(std::max(piles, 0)) + 1, KeptDerivatives{});
    ++forceRound;
}

void beginForceRound() { ++forceRound; }

void expectStiffness(const Vec6& cap, const Vec6& DU, int IT, int MODE) {
    request = {true, cap, DU, IT, MODE, request.serial + 1};
}

void noStiffnessExpected() { request.on = false; }

bool keptCapStiffness(int p, const Vec6& cap, const Vec6& DU, int IT, int MODE, Mat6& K) {
    if (request.serial == 0 || request.cap != cap || request.DU != DU || request.IT != IT || request.MODE != MODE)
        return false;
    if (!keepsDerivatives(p)) return false;
    const KeptDerivatives& k = kept[static_cast<std::size_t>(p)];
    if (k.round != forceRound || k.request != request.serial) return false;
    K = k.K;
    return true;
}

void PILEFRCKEEP(int p, Vec6& F, const Vec6& U, int& status) {
    if (!keepsDerivatives(p)) {
        evaluate(p, F, U, status, nullptr, 0.0, 0.0);
        return;
    }
    KeptDerivatives& k = kept[static_cast<std::size_t>(p)];
    k.round = 0;
    evaluate(p, F, U, status, nullptr, 0.0, 0.0, &k);
}

namespace {
EnvironmentSwitch linearisedHeads{"KALDO_LINEAR_HEAD_STIFFNESS", true};
}  // namespace

bool EnvironmentSwitch::on() {
    int v = state_.load(std::memory_order_relaxed);
    if (v < 0) {
        const char* e = std::getenv(name_);
        v = default_ ? 1 : 0;
        if (e != nullptr && (e[0] == '0' || e[0] == '1') && e[1] == '\0') v = e[0] - '0';
        state_.store(v, std::memory_order_relaxed);
    }
    return v == 1;
}

bool headStiffnessByLinearisation() { return linearisedHeads.on(); }

void setHeadStiffnessByLinearisation(bool on) { linearisedHeads.set(on); }

void headDifferenceSteps(const Vec6& DU, int IT, int MODE, double& h, double& hr) {
    const double h0 = CTLIN.UNITS == 2 ? 2.539999998986295e-9 : 1.0000000116860974e-7;
    constexpr double SMALL = 9.999999747378752e-5;
    if (MODE == 1) {
        h = h0;
        hr = 9.999999864239723e-12;
    } else if (IT > 2) {
        const double dt = std::sqrt(DU[0] * DU[0] + DU[1] * DU[1] + DU[2] * DU[2]);
        const double dr = std::sqrt(DU[3] * DU[3] + DU[4] * DU[4] + DU[5] * DU[5]);
        h = 100.0 * h0 > dt ? h0 * SMALL : h0;
        hr = dr < 9.999999864239723e-10 ? 9.999999640722308e-14 : 9.999999864239723e-12;
    } else {
        h = h0 * SMALL;
        hr = 9.999999864239723e-12;
    }
}

void PILESTF(int p, Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status) {
    double h = 0.0, hr = 0.0;
    headDifferenceSteps(DU, IT, MODE, h, hr);

    // The linearised pile gives the stiffness at the cost of one evaluation where it covers the case.
    // Otherwise, and when it fails, central differences: the evaluation at U itself comes first.
    Vec6 F{};
    if (headStiffnessByLinearisation() && lateralTangentCovered(p)) {
        // The derivatives the force vector formed at this very displacement, when it did.
        if (keepsDerivatives(p)) {
            const KeptDerivatives& k = kept[static_cast<std::size_t>(p)];
            if (k.round == forceRound && k.U == U) {
                Mat6 TF{}, TD{}, TL{}, TG{};
                PILETRAN(p, TF, TD, TL, TG);
                if (assemble(p, TL, TG, blockRotate(TG, U), k.D, K, h, hr)) return;
            }
        }
        if (evaluate(p, F, U, status, &K, h, hr)) return;
    } else {
        PILEFRC(p, F, U, status);
    }

    Vec6 plus[6]{}, minus[6]{};
    for (int sign : {1, -1}) {
        for (int j = 0; j < 6; ++j) {
            Vec6 Uj = U;
            Uj[static_cast<std::size_t>(j)] += sign * (j < 3 ? h : hr);
            PILEFRC(p, sign > 0 ? plus[j] : minus[j], Uj, status);
        }
    }
    for (int j = 0; j < 6; ++j) {
        const double s = j < 3 ? h : hr;
        for (int i = 0; i < 6; ++i) {
            const std::size_t ii = static_cast<std::size_t>(i);
            K[ii + static_cast<std::size_t>(j) * 6] = 0.5 * (plus[j][ii] - minus[j][ii]) / s;
        }
    }
}

}  // namespace kaldo
