// Fixed-format field writers.
//
// Decimal digits come from std::to_chars with an explicit precision: it rounds the exact binary value
// correctly (ties to even, as glibc's printf does) and, unlike printf, never looks at the C locale, so a
// host that sets a decimal comma cannot change a report. Everything else is assembling the field text.
#include "io/format.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kaldo::io {

namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// Text of a field, right-aligned in w columns; the caller has checked that it fits.
std::string rightAligned(int w, std::string_view text) {
    std::string out(static_cast<std::size_t>(w) - text.size(), ' ');
    out += text;
    return out;
}

// NaN and infinities the way gfortran writes them in any real field: "NaN", "Infinity" or "Inf"
// (whichever fits), the minus sign only for -Infinity, asterisks when even the short form does not fit.
std::string nonFinite(int w, double v) {
    if (std::isnan(v)) return w < 3 ? stars(w) : rightAligned(w, "NaN");
    if (std::signbit(v)) {
        if (w >= 9) return rightAligned(w, "-Infinity");
        return w >= 4 ? rightAligned(w, "-Inf") : stars(w);
    }
    if (w >= 8) return rightAligned(w, "Infinity");
    return w >= 3 ? rightAligned(w, "Inf") : stars(w);
}

// Decimal text of a non-negative finite value in fixed or scientific notation with `precision`
// digits after the point. The stack buffer covers every field a report uses; a huge value in a
// fixed conversion (up to 309 integer digits) or a very long precision goes to the heap.
class Decimal {
public:
    Decimal(double a, std::chars_format fmt, int precision) {
        auto res = std::to_chars(stack_, stack_ + sizeof stack_, a, fmt, precision);
        if (res.ec == std::errc{}) {
            text_ = std::string_view(stack_, static_cast<std::size_t>(res.ptr - stack_));
            return;
        }
        heap_.resize(static_cast<std::size_t>(precision) + 330);
        res = std::to_chars(heap_.data(), heap_.data() + heap_.size(), a, fmt, precision);
        text_ = std::string_view(heap_.data(), static_cast<std::size_t>(res.ptr - heap_.data()));
    }
    Decimal(const Decimal&) = delete;
    Decimal& operator=(const Decimal&) = delete;
    std::string_view text() const { return text_; }

private:
    char stack_[96];
    std::string heap_;
    std::string_view text_;
};

// The significant digits of a positive finite value rounded to `sig` digits, and the decimal exponent
// of the first one: a = 0.d1d2...dsig * 10^(exp10 + 1). A rounding that carries into a new decade
// (9.9996 -> 1.000e+01) is already reflected in exp10.
struct Significant {
    std::string digits;
    int exp10 = 0;
};

Significant significant(double a, int sig) {
    Decimal dec(a, std::chars_format::scientific, sig - 1);
    std::string_view t = dec.text();  // "d.ddde+XX" or, for one digit, "de+XX"
    std::size_t e = t.find('e');
    Significant s;
    s.digits.reserve(static_cast<std::size_t>(sig));
    for (std::size_t i = 0; i < e; ++i)
        if (t[i] != '.') s.digits += t[i];
    std::size_t p = e + 1;
    if (t[p] == '+') ++p;  // from_chars takes a minus sign but not a plus
    std::from_chars(t.data() + p, t.data() + t.size(), s.exp10);
    return s;
}

// The field of Fw.d around the decimal text body of |v| with d decimals (".ddd" form allowed), or
// nothing when it does not fit in w columns.
std::optional<std::string> fixedFromBody(int w, int d, bool neg, std::string_view body) {
    // A zero integer part may be left out, but only when there are decimals to show: "0." has no
    // shorter form, while ".500" still reads as a number.
    const bool optionalZero = d > 0 && body.front() == '0';
    const std::size_t point = d == 0 ? 1 : 0;  // Fw.0 always shows its point: "2."
    const std::size_t full = (neg ? 1 : 0) + body.size() + point;
    const std::size_t width = static_cast<std::size_t>(w);
    bool dropZero = false;
    if (full > width) {
        if (!optionalZero || full - 1 > width) return std::nullopt;
        dropZero = true;
    }
    std::string out;
    out.reserve(width + 4);  // room for the four blanks a G field appends
    out.append(width - full + (dropZero ? 1 : 0), ' ');
    if (neg) out += '-';
    out.append(dropZero ? body.substr(1) : body);
    if (point) out += '.';
    return out;
}

// Fw.d, or nothing when the value does not fit in w columns (G needs to tell that apart from
// a field that happens to be made of asterisks).
std::optional<std::string> fixedField(int w, int d, double v) {
    // Even the shortest form (".ddd", or "0." when d is 0) needs d+1 columns.
    if (d < 0 || d >= w) return std::nullopt;
    Decimal dec(std::fabs(v), std::chars_format::fixed, d);
    return fixedFromBody(w, d, std::signbit(v), dec.text());
}

// Exponent part of Ew.d: E+dd up to two digits, +ddd (no letter) for three, nothing beyond.
std::optional<std::string> exponentText(int e) {
    const int mag = e < 0 ? -e : e;
    if (mag > 999) return std::nullopt;
    std::string out;
    if (mag <= 99) out += 'E';
    out += e < 0 ? '-' : '+';
    if (mag > 99) out += static_cast<char>('0' + mag / 100);
    out += static_cast<char>('0' + mag / 10 % 10);
    out += static_cast<char>('0' + mag % 10);
    return out;
}

}  // namespace

std::string fmtI(int w, long long v, int m) {
    // Magnitude in unsigned arithmetic, so the most negative value has one too.
    const unsigned long long mag =
        v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, mag);
    std::string_view digits(buf, static_cast<std::size_t>(res.ptr - buf));
    if (m == 0 && v == 0) digits = {};  // Iw.0 of zero: no digit at all, only blanks
    const std::size_t want = m > 0 ? static_cast<std::size_t>(m) : 0;
    const std::size_t zeros = want > digits.size() ? want - digits.size() : 0;
    const std::size_t len = (v < 0 ? 1 : 0) + zeros + digits.size();
    if (w < 0 || len > static_cast<std::size_t>(w)) return stars(w);
    std::string out(static_cast<std::size_t>(w) - len, ' ');
    if (v < 0) out += '-';
    out.append(zeros, '0');
    out.append(digits);
    return out;
}

std::string fmtF(int w, int d, double v) {
    if (!std::isfinite(v)) return nonFinite(w, v);
    std::optional<std::string> f = fixedField(w, d, v);
    return f ? std::move(*f) : stars(w);
}

std::string fmtE(int w, int d, double v, int scale) {
    if (!std::isfinite(v)) return nonFinite(w, v);
    // The scale k moves the point: k > 0 puts k digits before it and leaves d-k+1 after it (d+1
    // significant digits); k <= 0 writes 0. and -k zeros before d+k significant digits. Outside
    // -d < k < d+2 the form has no digits to show and the field is left as asterisks.
    const int k = scale;
    if (d < 0 || k <= -d || k >= d + 2) return stars(w);
    const int sig = k > 0 ? d + 1 : d + k;
    const double a = std::fabs(v);

    Significant s;
    int exponent = 0;  // zero prints with exponent 0 whatever the scale
    if (a == 0) {
        s.digits.assign(static_cast<std::size_t>(sig), '0');
    } else {
        s = significant(a, sig);
        exponent = s.exp10 + 1 - k;
    }
    std::optional<std::string> exp = exponentText(exponent);
    if (!exp) return stars(w);

    std::string mantissa;  // without sign and without the optional leading zero
    if (k > 0) {
        mantissa.append(s.digits, 0, static_cast<std::size_t>(k));
        mantissa += '.';
        mantissa.append(s.digits, static_cast<std::size_t>(k));
    } else {
        mantissa += '.';
        mantissa.append(static_cast<std::size_t>(-k), '0');
        mantissa += s.digits;
    }
    const bool neg = std::signbit(v);
    const std::size_t bare = (neg ? 1 : 0) + mantissa.size() + exp->size();
    if (w < 0 || bare > static_cast<std::size_t>(w)) return stars(w);
    // With no digit before the point, a leading "0" is written when the field has room for it.
    const bool zero = k <= 0 && bare < static_cast<std::size_t>(w);
    std::string out(static_cast<std::size_t>(w) - bare - (zero ? 1 : 0), ' ');
    if (neg) out += '-';
    if (zero) out += '0';
    out += mantissa;
    out += *exp;
    return out;
}

std::string fmtG(int w, int d, double v, int scale) {
    if (!std::isfinite(v)) return nonFinite(w, v);
    // Gw.0 has no significant digit to choose a fixed form by; it is the exponent form.
    if (d <= 0) return fmtE(w, d, v, scale);
    // The form is chosen on the value rounded to d significant digits N: zero and 0.1 <= N < 10^d are
    // written in fixed form with d significant digits followed by four blanks where the exponent would
    // stand (the scale factor plays no part there); everything else in exponent form.
    const double a = std::fabs(v);
    if (a == 0 || d > 40) {
        int decimals = d - 1;
        if (a != 0) {
            const int e = significant(a, d).exp10;
            if (e < -1 || e >= d) return fmtE(w, d, v, scale);
            decimals = d - (e + 1);
        }
        std::optional<std::string> f = fixedField(w - 4, decimals, v);
        if (!f) return stars(w);
        f->append(4, ' ');
        return std::move(*f);
    }
    const Significant s = significant(a, d);  // N = x.xxx * 10^e
    const int e = s.exp10;
    if (e < -1 || e >= d) return fmtE(w, d, v, scale);
    // The fixed form shows d - (e + 1) decimals: the same d digits, rounded at the same place (a value
    // whose rounding carried into the next decade rounds to that power of ten at the coarser place
    // too), so the text is built from them instead of converting the value a second time.
    const int decimals = d - (e + 1);
    if (decimals >= w - 4) return stars(w);
    char body[48];
    std::size_t n = 0;
    if (e < 0) {
        body[n++] = '0';
        body[n++] = '.';
        for (char c : s.digits) body[n++] = c;
    } else {
        for (int i = 0; i < d; ++i) {
            if (i == e + 1) body[n++] = '.';
            body[n++] = s.digits[static_cast<std::size_t>(i)];
        }
    }
    std::optional<std::string> f = fixedFromBody(w - 4, decimals, std::signbit(v), std::string_view(body, n));
    if (!f) return stars(w);
    f->append(4, ' ');
    return std::move(*f);
}

std::string fmtA(int w, std::string_view s) {
    if (w < 0) return std::string(s);
    const std::size_t width = static_cast<std::size_t>(w);
    if (s.size() >= width) return std::string(s.substr(0, width));
    return rightAligned(w, s);
}

std::string freeInt(long long v) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string freeReal(double v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string out(buf, res.ptr);
    // The shortest form of a whole number has neither point nor exponent ("5"); a reader would take it
    // for an integer, so it gets ".0". "nan" and "inf" are left as they are.
    if (out.find_first_of(".ein") == std::string::npos) out += ".0";
    return out;
}

std::string render(const I& f) { return fmtI(f.w, f.v, f.m); }
std::string render(const F& f) { return fmtF(f.w, f.d, f.v); }
std::string render(const E& f) { return fmtE(f.w, f.d, f.v, 0); }
std::string render(const PE& f) { return fmtE(f.w, f.d, f.v, 1); }
std::string render(const G& f) { return fmtG(f.w, f.d, f.v, 0); }
std::string render(const PG& f) { return fmtG(f.w, f.d, f.v, 1); }
std::string render(const A& f) { return fmtA(f.w, f.s); }
std::string render(const X& f) { return std::string(static_cast<std::size_t>(f.n > 0 ? f.n : 0), ' '); }
std::string render(const Rep& f) { return std::string(static_cast<std::size_t>(f.n > 0 ? f.n : 0), f.c); }

}  // namespace kaldo::io
