// The input echo report: its steps in report order. Each step writes its tables on the output echo
// file and builds the working tables that the analysis reads.
#pragma once

namespace kaldo {

// Writes the input echo report and builds the working model; stops at once when a curve routine it
// calls sets the status.
void ECHOIN(int& status);

// Frame lines: the INPUT INFORMATION caption, title, analysis type, options, units system.
void echoFrame();
// Table B (pile cap options) and the effective cap width.
void echoCapOptions();
// Table C: load cases, combinations, their envelopes and control parameters, distributed-load sets.
void echoLoads();
// Table D and the working pile table with the cap pseudo-pile.
void echoPiles();
// The working property sets and section table, and Table E.
void echoSections();
// The working soil layers and profiles, and Table F.
void echoSoils(int& status);
// The p-y print requests, and Tables G, H and I: user p-y curves, axial load-settlement and
// torque-rotation curves (user and generated); stops when a curve routine sets the status.
void echoCurveTables(int& status);
// Table J: the moment-curvature sets, with the copy of the moment-curvature listing.
void echoMphi();
// Tables J1, J2 and K: multipliers along depth, soil movement, group reduction factors.
void echoMultipliers();

}  // namespace kaldo
