// The capacities of the model's tables. Input that asks for more stops the run with a message; no
// table is ever written past its end.
#pragma once

namespace kaldo {

inline constexpr int MAXPILE = 2500;    // piles of a group (one slot more is kept for the cap pseudo-pile)
inline constexpr int MAXLC = 100;       // load cases
inline constexpr int MAXLCB = 100;      // load combinations
inline constexpr int MAXLAYER = 20;     // soil layers of the input
inline constexpr int MAXINC = 100;      // increments along one pile
inline constexpr int NODESLOTS = 107;   // along-pile slots: the pile's nodes and the fictitious ones

inline constexpr int NAMESRECS = 27;    // records of the file list
inline constexpr int PATHLEN = 256;     // characters of a path in the file list
inline constexpr int VERSIONLEN = 12;   // characters of the version text
inline constexpr int TITLELEN = 80;     // characters of the title and of heading lines

}  // namespace kaldo
