// Test support for the single-pile solvers: the small hand-built model of the p-y tests with full
// sections (flexural rigidities, inertias, area, capacities), the run constants the pile loops rely on,
// and a call of the laterally loaded pile that returns its head forces.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "pile/pile.h"
#include "soil/pymodel.h"

namespace kaldo::test {

// The section of property set s (all its length): flexural rigidities, inertias, area and capacities.
struct SectionSpec {
    double EIz = 1e10, EIy = 1e10;
    double Iz = 1000.0, Iy = 1000.0;
    double area = 100.0;
    double mcap = 0.0, vcap = 0.0;
};

inline Mat6 identity6() {
    Mat6 m{};
    for (int i = 0; i < 6; ++i) m[static_cast<std::size_t>(i * 7)] = 1.0;
    return m;
}

// What LLPILE returns.
struct HeadForces {
    double Hy = 0.0, Hz = 0.0, My = 0.0, Mz = 0.0;
    int status = 0;
};

// The head of a lateral solve: deflections, slopes and the axial force and torque.
struct HeadMove {
    double yt = 0.0, sy = 0.0, zt = 0.0, sz = 0.0, P = 0.0, T = 0.0;
};

class PileModel : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        RUNCONST.DLTOL = 1e-5;
        CTLPAR.TOLPIL = 1e-10;
        CTLPAR.MAXITP = 100;
        CTLPAR.RFBEND = CTLPAR.RFSHEAR = 1.0;
        SMOV.SMFACT = 1.0;
    }

    static void section(int s, const SectionSpec& c) {
        const int T = SectTab::TOP, B = SectTab::BOT;
        for (int e : {T, B}) {
            SECTTAB.SECTEIZ(s, 1, e) = c.EIz;
            SECTTAB.SECTEIY(s, 1, e) = c.EIy;
            SECTTAB.SECTIZ(s, 1, e) = c.Iz;
            SECTTAB.SECTIY(s, 1, e) = c.Iy;
            SECTTAB.SECTAREA(s, 1, e) = c.area;
            SECTTAB.SECTMN(s, 1, e) = c.mcap;
            SECTTAB.SECTVN(s, 1, e) = c.vcap;
        }
    }
    // Head connections of pile i: code and rotational spring in each plane.
    static void head(int i, int codeZ, int codeY, double springZ = 0.0, double springY = 0.0) {
        PILE.CONNZ(i) = codeZ;
        PILE.CONNY(i) = codeY;
        PILE.SPRZ(i) = springZ;
        PILE.SPRY(i) = springY;
    }
    // A vertical pile: local x along global X, local y along Y, local z along Z.
    static void vertical(int i) {
        PILE.ALPHA(i) = PILE.THETA(i) = 0.0;
        PILE.BETA(i) = 1.5707963267948966;
    }

    // Solves pile i for the head movement (local head displacement u and rotation rot for the stored
    // passes), after laying out its nodes.
    HeadForces solve(int i, const HeadMove& m, const Vec6& u = {}, const Mat6& rot = identity6()) {
        prepareNodeTables();
        HeadForces f;
        NODE(i, f.status);
        EXPECT_EQ(f.status, 0);
        SlotArray axd{}, axf{};
        LLPILE(i, m.yt, m.sy, m.zt, m.sz, m.P, m.T, f.Hy, f.Hz, f.My, f.Mz, f.status, u, rot, axd, axf);
        return f;
    }
};

}  // namespace kaldo::test
