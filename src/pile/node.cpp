// Pile nodes and soil layers: where the finite-difference nodes of a pile lie and which of them each
// soil layer holds. Runs for every pile before its lateral analysis, on the pile loops' threads: it
// writes only the pile's own rows of NODES and PYDRV (and, on failure, the status word and one whole
// record), and reads the increment length and the layer sentinel that prepareNodeTables set.
#include <algorithm>
#include <cmath>

#include "io/format.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/sections.h"
#include "model/soils.h"
#include "pile/pile.h"
#include "services/status.h"
#include "services/unitno.h"
#include "services/warning.h"

namespace kaldo {

namespace {

// Layers of the table that a pile can be walked through: the slot after the deepest one holds the
// sentinel top.
int layerCount() { return std::clamp(SOILLAY.NLAYER, 0, LAYSLOTS - 1); }

// The pile reaches below the deepest layer: the run cannot give it soil springs.
void belowDeepestLayer(int set, int code, int& status) {
    writeRecordWhole({"", "", "", "     **** FATAL ERROR ****",
                      "     THE PILE LENGTH, " + io::fmtE(10, 2, PILESET.PLEN(set)) + "(" +
                          io::fmtA(3, LABELS.LBLTOL) + ")" + ", EXTENDS BELOW THE",
                      "     BOTTOM OF THE DEEPEST LAYER."});
    status = code;
}

// Lays out the nodes of pile p from the head X coordinate head and assigns them to the soil layers.
// Node j lies (j - 1) increments below the head along the axis (NODEAX) and, with the batter
// adjustment, (j - 1) vertical increments h cos(batter) below it in depth (NODEX).
void layOut(int p, double head, int failCode, int& status) {
    PyDrv& d = PYDRV;
    PileNodes& nd = NODES;
    const SoilLay& lay = SOILLAY;
    const int nl = layerCount();
    for (int L = 1; L <= nl; ++L) d.LNFIRST(p, L) = d.LNLAST(p, L) = 0;

    const int set = PILE.PSETNO(p);
    const int n = std::clamp(PILESET.NINC(set), 1, MAXINC);
    const double h = PILESET.PLEN(set) / n;
    const double hv = CTLIN.KBATDEP == 1 ? h * std::cos(PILE.BATTER(p)) : h;
    nd.NODEX(p, 1) = head;
    nd.NODEAX(p, 1) = head;
    auto next = [&](int j) {
        nd.NODEX(p, j + 1) = nd.NODEX(p, j) + hv;
        nd.NODEAX(p, j + 1) = nd.NODEAX(p, j) + h;
    };

    // A pile on its own user p-y curves takes no springs from the layers: nodes only, no depth limit.
    // So does a model without soil layers.
    if ((CTLIN.KUSERPY == 1 && PILE.PYCRV(p) > 0) || nl < 1) {
        for (int j = 1; j <= n; ++j) next(j);
        return;
    }

    // Walk down the nodes. A layer starts at the first node at or below its top, and at most one layer
    // starts at a node: a second layer top between the same two nodes starts one node later.
    int L = 1;
    for (int j = 1; j <= n + 1; ++j) {
        if (L <= nl && lay.XTOP(L) <= nd.NODEX(p, j)) {
            d.LNFIRST(p, L) = j;
            ++L;
        }
        if (j <= n) {
            next(j);
            if (nd.NODEX(p, j + 1) > lay.XBOT(nl)) {
                belowDeepestLayer(set, failCode, status);
                return;
            }
        }
    }
    // The next layer not yet started begins at the tip (it holds the tip alone, or nothing).
    d.LNFIRST(p, L) = n + 1;

    // A layer ends one node above the start of the next; every layer whose bottom lies at or below the
    // tip, and the deepest layer, end at the tip.
    for (int k = 1; k <= nl; ++k) d.LNLAST(p, k) = d.LNFIRST(p, k + 1) - 1;
    for (int k = 1; k <= nl; ++k)
        if (lay.XBOT(k) >= nd.NODEX(p, n + 1)) d.LNLAST(p, k) = n + 1;
    d.LNLAST(p, nl) = n + 1;
}

}  // namespace

void prepareNodeTables() {
    for (int s = 1; s <= PSETSLOTS; ++s)
        PILESET.HINC(s) = PILESET.NINC(s) > 0 ? PILESET.PLEN(s) / PILESET.NINC(s) : 0.0;
    const int nl = layerCount();
    if (nl >= 1) SOILLAY.XTOP(nl + 1) = SOILLAY.XBOT(nl);
}

void NODE(int pile, int& status) { layOut(pile, PILE.HEADX(pile), ST_NODE, status); }

void NODE2D(int pile, int& status) { layOut(pile, PILE.HEADXW(pile), ST_NODE2D, status); }

}  // namespace kaldo
