#include "services/psec.h"

#include <algorithm>

#include "model/piles.h"
#include "model/sections.h"

namespace kaldo {

namespace {

using EndField = Arr3<double, 1, PSETSLOTS, 1, SECTSLOTS, 1, 2>;
template <class T>
using SectField = Arr2<T, 1, PSETSLOTS, 1, SECTSLOTS>;

constexpr int TOP = SectTab::TOP, BOT = SectTab::BOT;

// The sentinel lies 20 % below the tip; 1.2 is taken in single precision.
constexpr double SENTINEL_FACTOR = static_cast<double>(1.2f);
// A diameter below this is taken as missing (single precision 1e-5).
constexpr double DIAM_MISSING = static_cast<double>(1e-5f);

// Sections of set s, kept inside the table whatever the count says.
int sectionCount(int s) { return std::clamp(PILESET.NSECT(s), 0, MAXPSECT); }

double depthBelowHead(int p, double x) { return x - PILE.HEADXW(p); }

// Where depth a lies in set s: section j, and either the end value to take (above the first or below
// the last section, or a set without sections) or a point within the section's line.
struct Place {
    int j;
    int end;
    bool within;
};

Place place(int s, double a) {
    const int n = sectionCount(s);
    const auto& t = SECTTAB;
    if (n < 1 || a < t.SECTTOP(s, 1)) return {1, TOP, false};
    if (a > t.SECTBOT(s, n)) return {n, BOT, false};
    for (int j = 1; j < n; ++j)
        if (t.SECTBOT(s, j) >= a) return {j, TOP, true};
    return {n, TOP, true};
}

// Linear rule. A section without length (the input reader refuses one) has no slope to follow: the
// top value stands for the whole section instead of a division by zero.
double linear(const EndField& f, int p, int s, double x) {
    const double a = depthBelowHead(p, x);
    const Place at = place(s, a);
    if (!at.within) return f(s, at.j, at.end);
    const double top = f(s, at.j, TOP);
    const double bot = f(s, at.j, BOT);
    const double from = SECTTAB.SECTTOP(s, at.j);
    const double length = SECTTAB.SECTBOT(s, at.j) - from;
    if (!(length > 0.0)) return top;
    return top + (a - from) * (bot - top) / length;
}

template <class T>
T perSection(const SectField<T>& f, int p, int s, double x) {
    return f(s, place(s, depthBelowHead(p, x)).j);
}

// Stepwise rule: section j holds from its own top down to the next section's top (the sentinel after
// the last section); a point above the first section takes section 1.
int stepSection(int p, int s, double x) {
    const double a = depthBelowHead(p, x);
    const int n = sectionCount(s);
    if (n < 1) return 1;
    for (int j = 1; j <= n; ++j)
        if (SECTTAB.SECTTOP(s, j + 1) > a) return j;
    return n + 1;
}

}  // namespace

double PSECDIAM(int p, int s, double x) {
    const double d = linear(SECTTAB.SECTDIAM, p, s, x);
    if (d < DIAM_MISSING) return SECTTAB.SECTDIAM(s, std::max(sectionCount(s), 1), TOP);
    return d;
}

double PSECAREA(int p, int s, double x) { return linear(SECTTAB.SECTAREA, p, s, x); }
double PSECIZ(int p, int s, double x) { return linear(SECTTAB.SECTIZ, p, s, x); }
double PSECIY(int p, int s, double x) { return linear(SECTTAB.SECTIY, p, s, x); }
double PSECGJ(int p, int s, double x) { return linear(SECTTAB.SECTGJ, p, s, x); }
double PSECMCAP(int p, int s, double x) { return linear(SECTTAB.SECTMN, p, s, x); }
double PSECVCAP(int p, int s, double x) { return linear(SECTTAB.SECTVN, p, s, x); }
double PSECEIZ(int p, int s, double x) { return linear(SECTTAB.SECTEIZ, p, s, x); }
double PSECEIY(int p, int s, double x) { return linear(SECTTAB.SECTEIY, p, s, x); }

double PSECDEPY(int p, int s, double x) { return perSection(SECTTAB.SECTDEPY, p, s, x); }
double PSECDEPZ(int p, int s, double x) { return perSection(SECTTAB.SECTDEPZ, p, s, x); }
int PSECTYPE(int p, int s, double x) { return perSection(SECTTAB.SECTTYPE, p, s, x); }

double PSECEMOD(int p, int s, double x) { return SECTTAB.SECTE(s, stepSection(p, s, x), TOP); }
int PSECMPHZ(int p, int s, double x) { return SECTTAB.SECTMPZ(s, stepSection(p, s, x)); }
int PSECMPHY(int p, int s, double x) { return SECTTAB.SECTMPY(s, stepSection(p, s, x)); }

void setDepthSentinel(int s) { SECTTAB.SECTTOP(s, sectionCount(s) + 1) = SENTINEL_FACTOR * PILESET.PLEN(s); }

}  // namespace kaldo
