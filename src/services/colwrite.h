// Report column writers: pieces of a report line written one at a time, and the end of the line.
//
// The unit writers append to the current line of a report unit and leave it open; only WCOLEOL ends
// it. The line writers put their piece into a caller's line buffer at a running 1-based position and
// advance the position past it.
#pragma once

#include <string>
#include <string_view>

#include "io/units.h"

namespace kaldo {

// A real in w columns with d significant digits: fixed point where it reads well, otherwise exponent
// form with one digit before the point (the rule is in colwrite.cpp).
void WCOLREAL(io::Unit& u, int w, int d, double v);
// An integer right-aligned in w columns.
void WCOLINT(io::Unit& u, int w, int v);
// n blanks; nothing when n < 1.
void WCOLBLNK(io::Unit& u, int n);
// Texts of 1, 2, 3 characters as they stand.
void WCOLA1(io::Unit& u, std::string_view text);
void WCOLA2(io::Unit& u, std::string_view text);
void WCOLA3(io::Unit& u, std::string_view text);
// A blank, 6 (or 10) characters of text, a blank: one heading cell.
void WCOLA6(io::Unit& u, std::string_view text);
void WCOLA10(io::Unit& u, std::string_view text);
// The text without its trailing blanks; nothing for an all-blank text.
void WCOLTRIM(io::Unit& u, std::string_view text);
// One blank and the end of the line.
void WCOLEOL(io::Unit& u);

// A real as by WCOLREAL (with a higher lower bound of the fixed form) into w characters of the line
// at position p; p advances by w. The line grows with blanks when it is too short.
void WLINREAL(std::string& line, int w, int d, double v, int& p);
// n blanks into the line at position p; p advances by n (by 0 when n < 1).
void WLINBLNK(std::string& line, int n, int& p);

}  // namespace kaldo
