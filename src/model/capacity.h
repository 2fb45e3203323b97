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

// Load cases and combinations.
inline constexpr int MAXCL = 100;       // concentrated loads of one case
inline constexpr int MAXDL = 100;       // distributed-load entries of one case
inline constexpr int MAXFSD = 25;       // foundation stiffness values of one case
inline constexpr int MAXLCBTERM = 100;  // factored cases of one combination
inline constexpr int NCOLSEL = 25;      // along-pile result columns that can be selected
inline constexpr int MAXDLSET = 2500;   // sets of distributed load
inline constexpr int MAXDLPT = 101;     // points of one distributed-load set

// Piles, sections and soils as read.
inline constexpr int MAXPROP = 50;      // pile property sets
inline constexpr int MAXPSECT = 20;     // sections of one property set (one slot is the lookup sentinel)
inline constexpr int MAXSEC = 100;      // cross sections
inline constexpr int MAXSECLIST = 100;  // rebar pairs, strand pairs and values of one cross section
inline constexpr int SOILVALS = 10;     // values of one soil layer row
inline constexpr int MAXPYPRT = 50;     // p-y print requests
inline constexpr int MAXPYDEF = 25;     // deflections of one print request or curve-file list
inline constexpr int MAXPYSET = 50;     // user p-y curve sets
inline constexpr int MAXPYCRV = 20;     // curves of one user p-y set
inline constexpr int MAXCRVPT = 50;     // points of one user p-y, axial or torque curve
inline constexpr int MAXUSRCRV = 50;    // user axial or torque-rotation curves
inline constexpr int MAXMPSET = 150;    // moment-curvature sets (user and generated)
inline constexpr int MAXMPCRV = 25;     // curves of one moment-curvature set
inline constexpr int MAXMPPT = 100;     // points of one moment-curvature curve
inline constexpr int MAXMPGEN = 100;    // cross sections with moment-curvature families
inline constexpr int MAXRFSET = 100;    // reduction-factor sets along depth
inline constexpr int MAXRFPT = 50;      // points of one reduction-factor set
inline constexpr int MAXSMOV = 25;      // soil movement points

inline constexpr int NAMESRECS = 27;    // records of the file list
inline constexpr int PATHLEN = 256;     // characters of a path in the file list
inline constexpr int VERSIONLEN = 12;   // characters of the version text
inline constexpr int TITLELEN = 80;     // characters of the title and of heading lines

}  // namespace kaldo
