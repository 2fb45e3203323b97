// The embedded pile cap's equivalent lateral spring: the cap taken as a short rigid vertical pile (slot
// NPILES + 1 of the pile table) from the cap top down through its thickness, cut into the cap record's
// increments, on the p-y springs of the soil layers with the effective cap width in place of a pile
// diameter. Its reaction is the p-y resistance along its height, lumped at the nodes, moved to the cap
// origin; its stiffness the central difference of that reaction.
#include <cmath>

#include "group/centraldiff.h"
#include "group/group.h"
#include "model/blocks.h"
#include "pile/pile.h"
#include "services/linalg.h"
#include "services/psec.h"
#include "services/status.h"
#include "services/unitno.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

namespace {

int capSlot() { return PILE.NPILES + 1; }

// The translation step of the spring's stiffness: about 1e-7 inch (its equivalent in metres for SI), the
// rotation step 1e-13 rad, single-precision constants as the steps have always been taken.
const double SPRING_STEP = 1.0000000116860974e-7;
const double SPRING_STEP_SI = 2.539999998986295e-9;
const double SPRING_ROT_STEP = 1.0000000091613401e-13;
const double SMALL_FACTOR = 9.999999747378752e-5;   // single precision 1e-4
const double ROT_FACTOR = 0.009999999776482582;     // single precision 0.01

}  // namespace

void capPseudoPile() {
    const int q = capSlot();
    PILE.PSETNO(q) = CAPPSET;
    PILE.PYCRV(q) = 0;
    PILE.BATTER(q) = 0.0;
    PILE.RFLSET(q) = 0;
    const int n = CAPIN.INCREMENTS >= 1 && CAPIN.INCREMENTS <= MAXINC ? CAPIN.INCREMENTS : 1;
    PILESET.NSECT(CAPPSET) = 1;
    PILESET.NINC(CAPPSET) = n;
    PILESET.PLEN(CAPPSET) = CAPIN.CAPSLEN;
    PILESET.PTYPE(CAPPSET) = 1;
    PILESET.HINC(CAPPSET) = CAPIN.CAPSLEN / n;
    SECTTAB.SECTTOP(CAPPSET, 1) = 0.0;
    SECTTAB.SECTBOT(CAPPSET, 1) = CAPIN.CAPSLEN;
    SECTTAB.SECTDIAM(CAPPSET, 1, SectTab::TOP) = CAPIN.CAPWZ;
    SECTTAB.SECTDIAM(CAPPSET, 1, SectTab::BOT) = CAPIN.CAPWZ;
    setDepthSentinel(CAPPSET);
}

void CAPPYRES(double Y0, double RZ, double Z0, double RY, double& R2, double& R3, double& M3, double& M2,
              int& status, bool listed) {
    const int q = capSlot();
    const int n = PILESET.NINC(CAPPSET);
    const double dx = CAPIN.CAPSLEN / n;
    NodeArray y{}, z{}, r{}, Es{}, still{}, esy{}, p{};
    for (int j = 1; j <= n + 1; ++j) {
        const double d = (j - 1) * dx;
        y(j) = Y0 + d * RZ;
        z(j) = Z0 - d * RY;
        r(j) = std::sqrt(y(j) * y(j) + z(j) * z(j));
    }
    // The soil moduli with the cap width in place of a diameter. The cap does not follow a soil movement:
    // its nodes are held against still ground.
    int st = ST_OK;
    PYMODE.CAPPYFLAG = 1;
    PYLAYERS(CAPPSET, st, q, q, r, Es, still, still, esy, p);
    PYMODE.CAPPYFLAG = 0;
    if (st != ST_OK) {
        status = st;
        return;
    }

    // Each node carries its tributary length (half an increment at the ends), at the centroid of that
    // length below the top.
    auto weight = [&](int j) { return j == 1 || j == n + 1 ? 0.5 * dx : dx; };
    auto arm = [&](int j) {
        if (j == 1) return 0.25 * dx;
        if (j == n + 1) return (n - 0.25) * dx;
        return (j - 1) * dx;
    };
    io::Unit& out = io::unit(RESULTS_UNIT);
    if (listed) {
        out.endLine();
        out.free() << "REACTIONS CAP";
    }
    double Fy = 0.0, Fz = 0.0, Mz = 0.0, My = 0.0;
    for (int j = 1; j <= n + 1; ++j) {
        const double py = Es(j) * y(j), pz = Es(j) * z(j);
        if (listed) {
            out.free() << j + 3 << Es(j) << dx;
            out.free() << "DISP  " << " " << y(j) << z(j);
            out.free() << "RES   " << " " << py << pz;
            out.free() << "FORCE " << " " << Fy << Fz;
            out.free() << "MOMENT" << " " << Mz << My;
        }
        const double w = weight(j), a = arm(j);
        Fy += w * py;
        Fz += w * pz;
        Mz += w * py * a;
        My -= w * pz * a;
    }
    if (listed) {
        out.free() << "FORCE " << " " << Fy << Fz;
        out.free() << "MOMENT" << " " << Mz << My;
    }
    // The reactions oppose the deflections.
    R2 = -Fy;
    R3 = -Fz;
    M3 = -Mz;
    M2 = -My;
}

void CAPSPR1(Vec6& FC, const Vec6& UH, int& status, bool listed) {
    const int q = capSlot();
    FC.fill(0.0);
    Mat6 TF{}, TD{}, TL{}, TG{};
    PILETRAN(q, TF, TD, TL, TG);
    Vec6 UL{};
    MATV6(UL, TG, UH, 1);

    // The nodes from the cap top down and the soil layers they lie in, by the rule of every pile; a cap
    // reaching below the deepest layer stops the run as such a pile does.
    capPseudoPile();
    PYMODE.CAPTOPX = PILE.HEADX(q);
    int st = ST_OK;
    NODE(q, st);
    if (st != ST_OK) {
        status = st;
        return;
    }
    double R2 = 0.0, R3 = 0.0, M3 = 0.0, M2 = 0.0;
    CAPPYRES(UL[1], UL[5], UL[2], UL[4], R2, R3, M3, M2, st, listed);
    if (st != ST_OK) {
        status = st;
        return;
    }
    const double m = PILE.PMULT(q);
    const Vec6 FL{0.0, m * R2, m * R3, 0.0, m * M2, m * M3};
    MATV6(FC, TL, FL, 1);
}

void capSpringForce(Vec6& F, const Vec6& U, int& status, bool listed) {
    F.fill(0.0);
    Mat6 TF{}, TD{}, TL{}, TG{};
    PILETRAN(capSlot(), TF, TD, TL, TG);
    Vec6 UH{};
    MATV6(UH, TD, U, 1);
    Vec6 FC{};
    int st = ST_OK;
    CAPSPR1(FC, UH, st, listed);
    if (st != ST_OK) {
        status = st;
        return;
    }
    MATV6(F, TF, FC, 1);
}

void CAPSPRF(Vec6& F, const Vec6& U, int& status) { capSpringForce(F, U, status, true); }

void STEPADJ(const Vec6& DU, double& H, double& HR, int MODE, int IT) {
    if (MODE == 1) return;
    if (IT > 2) {
        const double t = std::sqrt(DU[0] * DU[0] + DU[1] * DU[1] + DU[2] * DU[2]);
        const double r = std::sqrt(DU[3] * DU[3] + DU[4] * DU[4] + DU[5] * DU[5]);
        if (100.0 * H > t) H *= SMALL_FACTOR;
        if (100.0 * HR > r) HR *= ROT_FACTOR;
    } else {
        H *= SMALL_FACTOR;
    }
}

void CAPSPRK(Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE) {
    double h = CTLIN.UNITS == 2 ? SPRING_STEP_SI : SPRING_STEP;
    double hr = SPRING_ROT_STEP;
    STEPADJ(DU, h, hr, MODE, IT);
    // A status of its own: a failure here leaves only its messages; the solution meets it in its own
    // evaluation of the spring.
    int own = ST_OK;
    group::centralDifferences(K, U, h, hr, [&](Vec6& F, const Vec6& Uj) { CAPSPRF(F, Uj, own); });
}

}  // namespace kaldo
