// Result reports: the routines that other subsystems call.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/results.h"

namespace kaldo {

// Clear the minimum and maximum envelopes of cap, pile-top and along-pile results (three-dimensional
// and plane).
void ENVRESET();
void ENVRST2D();
// Sets every along-pile value of piles 1..piles in a result table to zero; clearPileTables their
// pile-top rows too. The tables are large: the threads of a region clear a run of piles each.
void clearAlongPile(AlongPileTable& llp, int piles);
void clearPileTables(PileTopTable& top, AlongPileTable& llp, int piles);
// Write an envelope: kind 1 over the load cases, 2 over the combinations (0 the current analysis);
// env 1 minimum, 2 maximum.
void ENVEWR(int kind, int env);
void ENVEWR2D(int kind, int env);
// The envelope headings of the results, summary, pile results and case status files (both writers).
void envelopeHeadings(int kind, int env);
// The pile geometry records of pile p on the curve data file.
void PLOTPILE(int p, int& status);


// ---- Along-pile rows and column selection --------------------------------------------------------
// One flag per along-pile quantity (order of the result stores); a flag above 0 shows the column.
using ColFlags = Arr<int, 1, NCOLSEL>;
// One pile's along-pile values, (slot, quantity), node k (0 at the head .. n at the tip) at slot k + 4.
// c = n + 4 is the node count word the writers pass along with it; h the node spacing.

// The columns a table shows: e 0 the current solve (the case's or combination's own flags), 1 an
// envelope (the envelope option lists); lscrv a pile's load-settlement curve or, for the summary tables,
// +1 when every pile has a user curve and -1 otherwise.
void COLSEL(int e, int lscrv, int kaxvar, int antype, ColFlags& flags);
// The four heading lines of an along-pile table: selector 0 output results file (unit 16), 1 output
// summary file (18), 2 summary collection file (30).
void COLHDWR(const ColFlags& flags, int selector);
// The node lines of the output results file: the head, then every s-th node down to the tip.
void NODEWR(const ColFlags& flags, int c, int s, int antype, double h, const AlongPileRecord& t);
// The column-flag line and one line per node on the pile results file (unit 14), internal units.
void PILEROWS(int c, int lscrv, int kaxvar, int lcbcur, int antype, double h, const AlongPileRecord& t);
// Each quantity's minimum and maximum over the pile's nodes and the depths where they occur: lines 5
// to 8 of the pile's record on the pile result scratch file (unit 13).
void PILEXTR(int p, int c, int antype, double h, const AlongPileRecord& t);

// ---- Summary tables -----------------------------------------------------------------------------
// Running extremes of one summary table: per value its minimum and maximum and the piles they came from.
struct ExtremeSet {
    Arr<double, 1, NLLPQTY> vmin, vmax;
    Arr<int, 1, NLLPQTY> pmin, pmax;
};
// Folds the m values of pile k into the extremes (pile 1 starts them; ties keep the earlier pile).
void ENVVEC(int k, int m, const Arr<double, 1, NLLPQTY>& values, ExtremeSet& x);
// The whole summary of a three-dimensional writer call, read back from the pile result scratch file.
void SUMTABS(int e, int npiles, int lcbcur, int allPiles, int antype, const ColFlags& flags);
// One summary table: group g (1 global, 2 local pile-top values, 3 along-pile extremes), table t.
void SUMTAB(int g, int t, int npiles, const ColFlags& flags);
// The plane twins: the pile-top tables carry three displacements, or two forces, the moment and the
// stress; the along-pile extreme tables are SUMTAB's.
void PTSUM2D(int e, int npiles, int lcbcur, int allPiles, int antype, const ColFlags& flags);
void PTTAB2D(int g, int t, int npiles, const ColFlags& flags);

}  // namespace kaldo
