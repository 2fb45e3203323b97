// Test support for the pile-head and group loops: the long elastic pile of the lateral tests (a beam on
// an elastic subgrade, criterion 12) with a straight or kinked load-settlement curve and torque-rotation
// curve, so that every head stiffness has a closed form.
#pragma once

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "group/group.h"
#include "io/threadrule.h"
#include "model/blocks.h"
#include "pile/pile.h"
#include "pile/pilemodel.h"
#include "services/linalg.h"
#include "services/threads.h"

namespace kaldo::test {

// L = 640 in, diameter 10 in, EI = 1e10 lb in^2 in both planes, k = 100 lb/in^3: Es = k b = 1000 lb/in^2
// at every node, beta = (Es / 4 EI)^(1/4) = 0.012574 /in, beta L = 8 (a long pile).
inline constexpr double PL = 640.0, PB = 10.0, PK = 100.0, PES = PK * PB, PEI = 1e10;
inline double pileBeta() { return std::pow(PES / (4.0 * PEI), 0.25); }

class GroupModel : public PileModel {
protected:
    void SetUp() override {
        PileModel::SetUp();
        open(25, "r.axw");
        RUNSTATE.RUNWARNPRT = 0;
        RUNSTATE.RUNPASS = 0;
        RUNSTATE.RUNSOLVST = 0;
        CTLPAR.NTHRUSR = 1;
    }

    // Property set 1 (n increments) and the soil around it, from 1 in above the heads down to 1000 in.
    void elasticGround(int n) {
        propertySet(1, PL, n, PB);
        section(1, {.EIz = PEI, .EIy = PEI});
        soil({uniform(12, -1.0, 1000.0, {.gamma = 0.03, .k = PK})});
    }
    // Pile i of set s at the head (x, y, z), vertical, heads coded code in both planes, load-settlement
    // curve 1 and torque-rotation curve 1, axial factor 1, one pile per slot.
    void groupPile(int i, int s, double x, double y, double z, int code = 2) {
        pile(i, s, x, -1.0);
        PILE.HEADY(i) = y;
        PILE.HEADZ(i) = z;
        vertical(i);
        head(i, code, code);
        PILE.LSCRV(i) = 1;
        PILE.TRCRV(i) = 1;
        PILE.AXFACT(i) = 1.0;
        PILE.PMULT(i) = 1.0;
    }
    // Load-settlement curve 1: slope kPull for pull-out (w < 0), kBear for bearing, kinked at 0.
    static void axialCurve(double kPull, double kBear) {
        // A point just below the kink keeps tiny movements exact (w - w1 loses no digits).
        TZCRV.TZNPT(1) = 4;
        const double w[] = {-2.0, -1e-6, 0.0, 4.0}, F[] = {-2.0 * kPull, -1e-6 * kPull, 0.0, 4.0 * kBear};
        for (int k = 1; k <= 4; ++k) {
            TZCRV.TZW(1, k) = w[k - 1];
            TZCRV.TZF(1, k) = F[k - 1];
        }
    }
    // Torque-rotation curve 1: slopes kNeg and kPos either side of 0.
    static void torsionCurve(double kNeg, double kPos) {
        TQCRV.TQNPT(1) = 4;
        const double r[] = {-0.1, -1e-6, 0.0, 0.1}, T[] = {-0.1 * kNeg, -1e-6 * kNeg, 0.0, 0.1 * kPos};
        for (int k = 1; k <= 4; ++k) {
            TQCRV.TQR(1, k) = r[k - 1];
            TQCRV.TQT(1, k) = T[k - 1];
        }
    }

    // The numbers of the rows that follow the last heading in report text t (label and empty lines
    // skipped), up to n values.
    static std::vector<double> rowsAfter(const std::string& t, const std::string& heading, std::size_t n) {
        std::vector<double> values;
        const auto at = t.rfind(heading);
        if (at == std::string::npos) return values;
        std::istringstream in(t.substr(at + heading.size()));
        std::string line;
        while (values.size() < n && std::getline(in, line)) {
            std::istringstream l(line);
            for (double v; l >> v;) values.push_back(v);
        }
        return values;
    }

    // Element (i, j) of a column-stored 6 x 6 matrix.
    static double el(const Mat6& m, int i, int j) { return m[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]; }
};

}  // namespace kaldo::test
