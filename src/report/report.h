// Result reports: the routines that other subsystems call.
#pragma once

namespace kaldo {

// Clear the minimum and maximum envelopes of cap, pile-top and along-pile results (three-dimensional
// and plane).
void ENVRESET();
void ENVRST2D();
// Write an envelope: kind 1 over the load cases, 2 over the combinations (0 the current analysis);
// env 1 minimum, 2 maximum.
void ENVEWR(int kind, int env);
void ENVEWR2D(int kind, int env);
// The pile geometry records of pile p on the curve data file.
void PLOTPILE(int p, int& status);

}  // namespace kaldo
