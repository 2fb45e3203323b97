// Group reduction factors: p-multipliers of closely spaced piles.
//
// Every pile stands at a point in plan. For movement along Y a pile's position has an along coordinate
// (its Y) and an across coordinate (its Z); for movement along Z the two are exchanged. A plane row
// stands for several piles in a line across the plane, at the row's spacing. Each pile is shadowed by
// every other pile: a pile side by side with it, one it trails (it is behind in the sense of movement)
// and one it leads each reduce its resistance by a factor that grows with the spacing in pile diameters
// and reaches 1 beyond 5 diameters side by side or 8 diameters otherwise. The factors of all other
// piles multiply; a plane row takes the mean over its piles.
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "group/group.h"
#include "io/format.h"
#include "model/blocks.h"
#include "services/warning.h"

namespace kaldo {

namespace {

// Shadowing curves: factor = coefficient x (spacing in diameters) ^ exponent, at most 1. The constants
// are single-precision values widened to double.
constexpr double kSideCoef = 0.6399999856948853, kSideExp = 0.3400000035762787;    // side by side
constexpr double kLeadCoef = 0.699999988079071, kLeadExp = 0.25999999046325684;    // leading pile
constexpr double kTrailCoef = 0.47999998927116394, kTrailExp = 0.3799999952316284; // trailing pile
// Offsets (in diameters) below which two piles count as side by side, and as in line.
constexpr double kSideTol = 9.999999747378752e-6;
constexpr double kLineTol = 9.999999974752427e-7;
// Spacings beyond which a neighbour no longer shadows: side by side, and in line or skewed.
constexpr double kSideFree = 5.0;
constexpr double kFree = 8.0;

// Listed pairs of piles at one position; any further pairs are counted in one last record.
constexpr int kMaxListedPairs = 50;

using Column = decltype(PILEFAC.PMUL);

double curve(double coef, double exponent, double spacing) {
    return std::min(1.0, coef * std::pow(spacing, exponent));
}

// Factor by which the pile at offset (o along, w across, in diameters, measured from its neighbour)
// is shadowed by that neighbour, moving in the sense S. Two piles at one point give 0.
double pairFactor(double o, double w, double S) {
    const double ao = std::fabs(o), aw = std::fabs(w);
    if (ao < kSideTol) {  // side by side
        if (aw > kSideFree) return 1.0;
        return curve(kSideCoef, kSideExp, aw);
    }
    if (aw < kLineTol) {  // in line: leading when ahead of the neighbour in the sense of movement
        if (ao > kFree) return 1.0;
        return o * S > 0.0 ? curve(kLeadCoef, kLeadExp, ao) : curve(kTrailCoef, kTrailExp, ao);
    }
    // Skewed: the side-by-side and in-line parts weighted by the direction to the neighbour.
    const double s = std::sqrt(o * o + w * w);
    if (s > kFree) return 1.0;
    const double theta = std::atan(aw / ao);
    const double a = std::sin(theta) * curve(kSideCoef, kSideExp, s);
    const double b = std::cos(theta) * (o * S < 0.0 ? curve(kTrailCoef, kTrailExp, s)
                                                    : curve(kLeadCoef, kLeadExp, s));
    return std::min(1.0, std::sqrt(a * a + b * b));
}

struct Position {
    double along, across;  // coordinates along and across the movement
    int pile;              // slot of the pile (plane: of the row)
};

// Offset across the plane of pile m (from 0) of a plane row of g piles at spacing s: a row of odd
// count is centred on the plane (0, +s, -s, +2s, -2s, ...), one of even count straddles it
// (+s/2, -s/2, +3s/2, -3s/2, ...).
double rowOffset(int m, int g, double s) {
    if (g % 2 == 1) {
        const int k = (m + 1) / 2;
        if (k == 0) return 0.0;
        return (m % 2 == 1 ? k : -k) * s;
    }
    const double k = m / 2 + 0.5;
    return (m % 2 == 0 ? k : -k) * s;
}

// The positions of every pile in slot order; a slot stands for the integer part of PMULT piles. The
// table holds every pile of the model: NPILES (at most MAXPILE) in three dimensions, and in a plane
// run the sum of the rows' counts, which nothing bounds by MAXPILE.
std::vector<Position> layOut(bool alongY) {
    std::vector<Position> pos;
    const bool plane = CTLIN.ANTYPE == 2;
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const int g = static_cast<int>(PILE.PMULT(i));
        for (int m = 0; m < g; ++m) {
            const double y = PILE.HEADY(i);
            const double z = plane ? rowOffset(m, g, PILE.SPACING(i)) : PILE.HEADZ(i);
            pos.push_back(alongY ? Position{y, z, i} : Position{z, y, i});
        }
    }
    return pos;
}

// The diameter that scales the spacing of two piles: pile 1's, or with KAVGDIA 1 the mean of the two.
class PairDiameter {
public:
    PairDiameter() : average_(CTLIN.KAVGDIA == 1), diam_(static_cast<std::size_t>(PILE.NPILES) + 1, 0.0) {
        for (int i = 1; i <= PILE.NPILES; ++i)
            diam_[static_cast<std::size_t>(i)] = groupPileDiameter(PILE.PSETNO(i));
        if (PILE.NPILES >= 1) first_ = diam_[1];
    }
    double operator()(int pileK, int pileL) const {
        if (!average_) return first_;
        return (diam_[static_cast<std::size_t>(pileK)] + diam_[static_cast<std::size_t>(pileL)]) / 2.0;
    }

private:
    bool average_;
    std::vector<double> diam_;
    double first_ = 0.0;
};

// Reduction factors for movement along Y (alongY) or Z in the sense S into pmul, with ymul set to 1.
void reductionFactors(bool alongY, double S, Column& pmul, Column& ymul) {
    const std::vector<Position> pos = layOut(alongY);
    const PairDiameter diameter;
    const std::size_t n = pos.size();
    const std::size_t piles = static_cast<std::size_t>(PILE.NPILES);
    std::vector<double> sum(piles + 1, 0.0);
    std::vector<int> count(piles + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        double factor = 1.0;
        for (std::size_t l = 0; l < n; ++l) {
            if (l == k) continue;
            const double d = diameter(pos[k].pile, pos[l].pile);
            const double o = (pos[k].along - pos[l].along) / d;
            const double w = (pos[k].across - pos[l].across) / d;
            factor *= pairFactor(o, w, S);
        }
        const std::size_t p = static_cast<std::size_t>(pos[k].pile);
        sum[p] += factor;
        count[p] += 1;
    }
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const std::size_t p = static_cast<std::size_t>(i);
        // A slot that stands for no pile has nothing to shadow it.
        pmul(i) = count[p] > 0 ? sum[p] / count[p] : 1.0;
        ymul(i) = 1.0;
        PILE.HEADYW(i) = PILE.HEADY(i);
    }
}

double senseOf(double v) { return v < 0.0 ? -1.0 : 1.0; }

std::string pairText(int k, int l) {
    if (k == l) return "PILES OF ROW" + io::fmtI(6, k) + " STAND AT THE SAME POSITION IN PLAN:";
    return "PILES" + io::fmtI(6, k) + " AND" + io::fmtI(6, l) + " STAND AT THE SAME POSITION IN PLAN:";
}

}  // namespace

double groupPileDiameter(int s) {
    if (s < 1 || s > PSETSLOTS) return 0.0;
    return SECTTAB.SECTDIAM(s, 1, SectTab::TOP);
}

void GRPRFY(double S) { reductionFactors(true, S, PILEFAC.PMUL, PILEFAC.YMUL); }

void GRPRFZ(double S) { reductionFactors(false, S, PILEFAC.PMULZ, PILEFAC.YMULZ); }

void directionFactors(double vY, double vZ) {
    GRPRFY(senseOf(vY));
    GRPRFZ(senseOf(vZ));
    for (int i = 1; i <= PILE.NPILES; ++i) {
        PILEFAC.PMULY(i) = PILEFAC.PMUL(i);
        PILEFAC.YMULY(i) = PILEFAC.YMUL(i);
    }
}

void GRPRFDIR(const Vec6& U, const Vec6& P, int IT, bool PT) {
    const int option = CTLIN.KGRPRF;
    if (option <= 0) return;
    // A pure torque turns the cap about its axis: after 20 iterations its direction is frozen to
    // equal weights of Y and Z (and positive senses for option 1).
    const bool frozen = IT > 20 && PT;
    if (option == 1) {
        if (frozen)
            directionFactors(1.0, 1.0);
        else
            directionFactors(U[1], U[2]);
    } else if (option == 3) {
        directionFactors(CTLIN.RFMOVY, CTLIN.RFMOVZ);
    }

    // Weights of the Y and Z factors: the given movement (options 3, 4), else the cap's horizontal
    // displacement, or the applied horizontal load before the cap has moved, or Y alone.
    if (option == 3 || option == 4) {
        mixDirectionFactors(CTLIN.RFMOVY, CTLIN.RFMOVZ);
        return;
    }
    double a = std::fabs(U[1]), b = std::fabs(U[2]);
    if (a == 0.0 && b == 0.0) {
        a = std::fabs(P[1]);
        b = std::fabs(P[2]);
    }
    if (a == 0.0 && b == 0.0) {
        a = 1.0;
        b = 0.0;
    }
    if (frozen && (option == 1 || option == 2)) a = b = 1.0;
    mixDirectionFactors(a, b);
}

void mixDirectionFactors(double aY, double aZ) {
    double a = std::fabs(aY), b = std::fabs(aZ);
    if (a == 0.0 && b == 0.0) a = b = 1.0;
    const double r = std::sqrt(a * a + b * b);
    const double c = a / r, s = b / r;
    for (int i = 1; i <= PILE.NPILES; ++i) {
        const double py = PILEFAC.PMULY(i) * c, pz = PILEFAC.PMULZ(i) * s;
        const double yy = PILEFAC.YMULY(i) * c, yz = PILEFAC.YMULZ(i) * s;
        PILEFAC.PMUL(i) = std::sqrt(py * py + pz * pz);
        PILEFAC.YMUL(i) = std::sqrt(yy * yy + yz * yz);
    }
}

void warnCoincidentPiles() {
    const std::vector<Position> pos = layOut(true);
    const PairDiameter diameter;
    std::set<std::pair<int, int>> seen;
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t k = 0; k < pos.size(); ++k)
        for (std::size_t l = k + 1; l < pos.size(); ++l) {
            const double d = diameter(pos[k].pile, pos[l].pile);
            const double o = (pos[k].along - pos[l].along) / d;
            const double w = (pos[k].across - pos[l].across) / d;
            if (pairFactor(o, w, 1.0) != 0.0) continue;
            const std::pair<int, int> piles{pos[k].pile, pos[l].pile};
            if (seen.insert(piles).second) pairs.push_back(piles);
        }
    const std::string consequence = "THEIR GROUP REDUCTION FACTOR IS 0: NO LATERAL SOIL RESISTANCE";
    int listed = 0;
    for (const auto& [k, l] : pairs) {
        if (listed == kMaxListedPairs) break;
        writeWarning({pairText(k, l), consequence});
        ++listed;
    }
    const int more = static_cast<int>(pairs.size()) - listed;
    if (more > 0)
        writeWarning({"AND" + io::fmtI(6, more) + " MORE PAIRS OF PILES AT ONE POSITION IN PLAN:", consequence});
}

}  // namespace kaldo
