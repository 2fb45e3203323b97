// Fixed-format field writers: the edit descriptors every report line is built from.
//
// Each function turns one value into the exact characters of one field, following the classic
// fixed-format rules the reports rely on:
//   Iw, Iw.m   integer right-aligned in w columns, at least m digits (zero-padded)
//   Fw.d       fixed point, d decimals; "0." leads only when the field has room for it
//   Ew.d       exponent form 0.dddE+ee; kP scale (1P gives d.ddddE+ee); a three-digit exponent drops the E
//   Gw.d       fixed or exponent form, chosen after rounding to d significant digits
//   Aw         text cut to its first w characters or right-aligned in w columns
// A value that does not fit its field fills the field with asterisks. Decimal conversion is correctly
// rounded (ties to even on the exact binary value), and a negative value that rounds to zero keeps its
// sign (-0.000).
#pragma once

#include <string>
#include <string_view>

namespace kaldo::io {

std::string fmtI(int w, long long v, int m = -1);
std::string fmtF(int w, int d, double v);
std::string fmtE(int w, int d, double v, int scale = 0);
std::string fmtG(int w, int d, double v, int scale = 0);
std::string fmtA(int w, std::string_view s);

// The compact form of numbers on free-form lines: integers as they are, reals in their shortest
// round-trip decimal form.
std::string freeInt(long long v);
std::string freeReal(double v);

// Field descriptors for the line writers of units.h: u.line() << X(5) << "LOAD CASE : " << I(5, c);
struct I {
    int w;
    long long v;
    int m = -1;
    I(int w_, long long v_) : w(w_), v(v_) {}
    I(int w_, int m_, long long v_) : w(w_), v(v_), m(m_) {}
};
struct F {
    int w, d;
    double v;
};
struct E {
    int w, d;
    double v;
};
// 1PEw.d: one nonzero digit before the point.
struct PE {
    int w, d;
    double v;
};
struct G {
    int w, d;
    double v;
};
// 1PGw.d: the scale factor applies when the exponent form is chosen.
struct PG {
    int w, d;
    double v;
};
// Aw; with no width the whole text.
struct A {
    int w;
    std::string_view s;
    explicit A(std::string_view s_) : w(-1), s(s_) {}
    A(int w_, std::string_view s_) : w(w_), s(s_) {}
};
// nX: n blanks.
struct X {
    int n;
};
// A run of n copies of one character (the "=" and "-" frames of the report header).
struct Rep {
    int n;
    char c;
};

// Each field appended to a line being built (the line writers of units.h use these).
void renderTo(std::string& out, const I& f);
void renderTo(std::string& out, const F& f);
void renderTo(std::string& out, const E& f);
void renderTo(std::string& out, const PE& f);
void renderTo(std::string& out, const G& f);
void renderTo(std::string& out, const PG& f);
void renderTo(std::string& out, const A& f);
void renderTo(std::string& out, const X& f);
void renderTo(std::string& out, const Rep& f);

// Each field as a text of its own.
std::string render(const I& f);
std::string render(const F& f);
std::string render(const E& f);
std::string render(const PE& f);
std::string render(const G& f);
std::string render(const PG& f);
std::string render(const A& f);
std::string render(const X& f);
std::string render(const Rep& f);

}  // namespace kaldo::io
