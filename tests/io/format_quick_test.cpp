// The quick digit conversion of the field writers against the conversion they had before it: the
// writers as they were, all on std::to_chars with an explicit precision, are kept below unchanged as
// the reference. Every field of the reports must come out byte for byte the same, so the comparison
// runs over millions of values chosen where a shortcut would go wrong: every binary exponent and both
// signs, subnormals, exact ties at the rounding place, values a few units in the last place from a
// tie, values next to powers of ten (where the decade and a carry into the next one are decided), and
// the widths and digit counts of the report fields.
#include "io/format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kaldo::io {
namespace reference {
namespace {


// Every writer below appends its field to `out`: the report lines are built in place, without a
// string of their own per field.

void appendStars(std::string& out, int w) { out.append(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// Text of a field, right-aligned in w columns; the caller has checked that it fits.
void appendRightAligned(std::string& out, int w, std::string_view text) {
    out.append(static_cast<std::size_t>(w) - text.size(), ' ');
    out.append(text);
}

// NaN and infinities the way gfortran writes them in any real field: "NaN", "Infinity" or "Inf"
// (whichever fits), the minus sign only for -Infinity, asterisks when even the short form does not fit.
void appendNonFinite(std::string& out, int w, double v) {
    if (std::isnan(v)) return w < 3 ? appendStars(out, w) : appendRightAligned(out, w, "NaN");
    if (std::signbit(v)) {
        if (w >= 9) return appendRightAligned(out, w, "-Infinity");
        return w >= 4 ? appendRightAligned(out, w, "-Inf") : appendStars(out, w);
    }
    if (w >= 8) return appendRightAligned(out, w, "Infinity");
    return w >= 3 ? appendRightAligned(out, w, "Inf") : appendStars(out, w);
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
// (9.9996 -> 1.000e+01) is already reflected in exp10. The digits are a view into the conversion.
class Significant {
public:
    Significant(double a, int sig) : dec_(a, std::chars_format::scientific, sig - 1) {
        const std::string_view t = dec_.text();  // "d.ddde+XX" or, for one digit, "de+XX"
        const std::size_t e = t.find('e');
        // The digits are the mantissa without its point: the first one, then those after the point.
        first_ = t.substr(0, 1);
        rest_ = e > 2 ? t.substr(2, e - 2) : std::string_view{};
        std::size_t p = e + 1;
        if (t[p] == '+') ++p;  // from_chars takes a minus sign but not a plus
        std::from_chars(t.data() + p, t.data() + t.size(), exp10_);
    }
    int exp10() const { return exp10_; }
    std::size_t size() const { return 1 + rest_.size(); }
    char digit(std::size_t i) const { return i == 0 ? first_[0] : rest_[i - 1]; }
    // Digits i .. j - 1.
    void append(std::string& out, std::size_t i, std::size_t j) const {
        for (; i < j; ++i) out += digit(i);
    }

private:
    Decimal dec_;
    std::string_view first_, rest_;
    int exp10_ = 0;
};

// The field of Fw.d around the decimal text of |v| with d decimals, given as the pieces `parts`
// ("0.500" may lose its leading zero), or false, writing nothing, when it does not fit in w columns.
// `body` yields the text in order into a string and `size` is its length.
template <class Body>
bool appendFixedBody(std::string& out, int w, int d, bool neg, std::size_t size, char front, Body body) {
    // A zero integer part may be left out, but only when there are decimals to show: "0." has no
    // shorter form, while ".500" still reads as a number.
    const bool optionalZero = d > 0 && front == '0';
    const std::size_t point = d == 0 ? 1 : 0;  // Fw.0 always shows its point: "2."
    const std::size_t full = (neg ? 1 : 0) + size + point;
    const std::size_t width = static_cast<std::size_t>(w);
    bool dropZero = false;
    if (full > width) {
        if (!optionalZero || full - 1 > width) return false;
        dropZero = true;
    }
    out.append(width - full + (dropZero ? 1 : 0), ' ');
    if (neg) out += '-';
    body(dropZero);
    if (point) out += '.';
    return true;
}

// Fw.d, or false, writing nothing, when the value does not fit in w columns (G needs to tell that
// apart from a field that happens to be made of asterisks).
bool appendFixed(std::string& out, int w, int d, double v) {
    // Even the shortest form (".ddd", or "0." when d is 0) needs d+1 columns.
    if (d < 0 || d >= w) return false;
    Decimal dec(std::fabs(v), std::chars_format::fixed, d);
    const std::string_view t = dec.text();
    return appendFixedBody(out, w, d, std::signbit(v), t.size(), t.front(),
                           [&](bool dropZero) { out.append(dropZero ? t.substr(1) : t); });
}

// Exponent part of Ew.d: E+dd up to two digits, +ddd (no letter) for three, nothing beyond. Writes it
// to buf and returns its length, or 0 when the exponent has no form.
std::size_t exponentText(int e, char (&buf)[5]) {
    const int mag = e < 0 ? -e : e;
    if (mag > 999) return 0;
    std::size_t n = 0;
    if (mag <= 99) buf[n++] = 'E';
    buf[n++] = e < 0 ? '-' : '+';
    if (mag > 99) buf[n++] = static_cast<char>('0' + mag / 100);
    buf[n++] = static_cast<char>('0' + mag / 10 % 10);
    buf[n++] = static_cast<char>('0' + mag % 10);
    return n;
}

void appendI(std::string& out, int w, long long v, int m) {
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
    if (w < 0 || len > static_cast<std::size_t>(w)) return appendStars(out, w);
    out.append(static_cast<std::size_t>(w) - len, ' ');
    if (v < 0) out += '-';
    out.append(zeros, '0');
    out.append(digits);
}

void appendF(std::string& out, int w, int d, double v) {
    if (!std::isfinite(v)) return appendNonFinite(out, w, v);
    if (!appendFixed(out, w, d, v)) appendStars(out, w);
}

void appendE(std::string& out, int w, int d, double v, int scale) {
    if (!std::isfinite(v)) return appendNonFinite(out, w, v);
    // The scale k moves the point: k > 0 puts k digits before it and leaves d-k+1 after it (d+1
    // significant digits); k <= 0 writes 0. and -k zeros before d+k significant digits. Outside
    // -d < k < d+2 the form has no digits to show and the field is left as asterisks.
    const int k = scale;
    if (d < 0 || k <= -d || k >= d + 2) return appendStars(out, w);
    const int sig = k > 0 ? d + 1 : d + k;
    const double a = std::fabs(v);

    // Zero prints its sig zeros with exponent 0 whatever the scale.
    const std::optional<Significant> s = a == 0 ? std::nullopt : std::optional<Significant>(std::in_place, a, sig);
    const int exponent = s ? s->exp10() + 1 - k : 0;
    char exp[5];
    const std::size_t expSize = exponentText(exponent, exp);
    if (expSize == 0) return appendStars(out, w);

    // The mantissa, without sign and without the optional leading zero: k digits, the point and the
    // rest, or the point, -k zeros and the digits.
    const std::size_t digits = static_cast<std::size_t>(sig);
    const std::size_t zeros = k > 0 ? 0 : static_cast<std::size_t>(-k);
    const std::size_t mantissa = digits + 1 + zeros;
    const bool neg = std::signbit(v);
    const std::size_t bare = (neg ? 1 : 0) + mantissa + expSize;
    if (w < 0 || bare > static_cast<std::size_t>(w)) return appendStars(out, w);
    // With no digit before the point, a leading "0" is written when the field has room for it.
    const bool zero = k <= 0 && bare < static_cast<std::size_t>(w);
    out.append(static_cast<std::size_t>(w) - bare - (zero ? 1 : 0), ' ');
    if (neg) out += '-';
    if (zero) out += '0';
    auto put = [&](std::size_t i, std::size_t j) {
        if (s)
            s->append(out, i, j);
        else
            out.append(j - i, '0');
    };
    if (k > 0) {
        put(0, static_cast<std::size_t>(k));
        out += '.';
        put(static_cast<std::size_t>(k), digits);
    } else {
        out += '.';
        out.append(zeros, '0');
        put(0, digits);
    }
    out.append(exp, expSize);
}

void appendG(std::string& out, int w, int d, double v, int scale) {
    if (!std::isfinite(v)) return appendNonFinite(out, w, v);
    // Gw.0 has no significant digit to choose a fixed form by; it is the exponent form.
    if (d <= 0) return appendE(out, w, d, v, scale);
    // The form is chosen on the value rounded to d significant digits N: zero and 0.1 <= N < 10^d are
    // written in fixed form with d significant digits followed by four blanks where the exponent would
    // stand (the scale factor plays no part there); everything else in exponent form.
    const double a = std::fabs(v);
    if (a == 0) {
        if (appendFixed(out, w - 4, d - 1, v))
            out.append(4, ' ');
        else
            appendStars(out, w);
        return;
    }
    const Significant s(a, d);  // N = x.xxx * 10^e
    const int e = s.exp10();
    if (e < -1 || e >= d) return appendE(out, w, d, v, scale);
    // The fixed form shows d - (e + 1) decimals: the same d digits, rounded at the same place (a value
    // whose rounding carried into the next decade rounds to that power of ten at the coarser place
    // too), so the text is built from them instead of converting the value a second time.
    const int decimals = d - (e + 1);
    if (decimals >= w - 4) return appendStars(out, w);
    const std::size_t n = static_cast<std::size_t>(d);
    const bool fits = e < 0 ? appendFixedBody(out, w - 4, decimals, std::signbit(v), n + 2, '0',
                                              [&](bool dropZero) {
                                                  out += dropZero ? "." : "0.";
                                                  s.append(out, 0, n);
                                              })
                            : appendFixedBody(out, w - 4, decimals, std::signbit(v), n + (decimals > 0 ? 1 : 0),
                                              s.digit(0), [&](bool) {
                                                  const std::size_t whole = static_cast<std::size_t>(e + 1);
                                                  s.append(out, 0, whole);
                                                  if (decimals > 0) {
                                                      out += '.';
                                                      s.append(out, whole, n);
                                                  }
                                              });
    if (fits)
        out.append(4, ' ');
    else
        appendStars(out, w);
}

template <class Writer>
std::string field(Writer write) {
    std::string out;
    write(out);
    return out;
}

}  // namespace

std::string fmtI(int w, long long v, int m) {
    return field([&](std::string& o) { appendI(o, w, v, m); });
}
std::string fmtF(int w, int d, double v) {
    return field([&](std::string& o) { appendF(o, w, d, v); });
}
std::string fmtE(int w, int d, double v, int scale) {
    return field([&](std::string& o) { appendE(o, w, d, v, scale); });
}
std::string fmtG(int w, int d, double v, int scale) {
    return field([&](std::string& o) { appendG(o, w, d, v, scale); });
}

}  // namespace reference

namespace {

// One descriptor: letter, width, digits, scale.
struct Desc {
    char letter;
    int w, d, scale;
};

std::string describe(const Desc& f, double v) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%dP%c%d.%d of %.17g (%a)", f.scale, f.letter, f.w, f.d, v, v);
    return buf;
}

std::string viaNew(const Desc& f, double v) {
    switch (f.letter) {
        case 'E': return fmtE(f.w, f.d, v, f.scale);
        case 'G': return fmtG(f.w, f.d, v, f.scale);
        default: return fmtF(f.w, f.d, v);
    }
}
std::string viaReference(const Desc& f, double v) {
    switch (f.letter) {
        case 'E': return reference::fmtE(f.w, f.d, v, f.scale);
        case 'G': return reference::fmtG(f.w, f.d, v, f.scale);
        default: return reference::fmtF(f.w, f.d, v);
    }
}

// Counts the values compared and stops a test after a few reported differences.
class Comparison {
public:
    void check(const Desc& f, double v) {
        ++count_;
        if (failures_ >= 10) return;
        const std::string got = viaNew(f, v), want = viaReference(f, v);
        if (got != want) {
            ++failures_;
            ADD_FAILURE() << describe(f, v) << ": \"" << got << "\" instead of \"" << want << "\"";
        }
    }
    // The same value in each descriptor, and its negative.
    void checkAll(const std::vector<Desc>& fs, double v) {
        for (const Desc& f : fs) {
            check(f, v);
            check(f, -v);
        }
    }
    long count() const { return count_; }

private:
    long count_ = 0;
    int failures_ = 0;
};

// The fields of the reports: E13.5, E12.4, 1PE of the column writers, F with few and many decimals,
// G with and without scale.
const std::vector<Desc>& reportFields() {
    static const std::vector<Desc> fs = {
        {'E', 13, 5, 0}, {'E', 12, 4, 0}, {'E', 11, 4, 1}, {'E', 12, 5, 1}, {'E', 15, 8, 1}, {'E', 10, 3, 0},
        {'F', 10, 4, 0}, {'F', 10, 2, 0}, {'F', 8, 0, 0},  {'F', 12, 6, 0}, {'F', 14, 7, 0}, {'F', 9, 3, 0},
        {'G', 13, 5, 0}, {'G', 12, 4, 1}, {'G', 15, 7, 0}, {'G', 10, 3, 1},
    };
    return fs;
}

// Every digit count a conversion can be asked for in a field up to 30 columns wide.
std::vector<Desc> everyDigitCount() {
    std::vector<Desc> fs;
    for (int d = 0; d <= 18; ++d) {
        fs.push_back({'E', d + 8, d, 0});
        fs.push_back({'E', d + 8, d, 1});
        fs.push_back({'F', 30, d, 0});
        fs.push_back({'G', d + 8, d, 0});
    }
    return fs;
}

double fromBits(std::uint64_t b) { return std::bit_cast<double>(b); }

// A few values on each side of v, by units in the last place.
template <class Check>
void around(double v, int ulps, Check check) {
    double lo = v, hi = v;
    check(v);
    for (int i = 0; i < ulps; ++i) {
        lo = std::nextafter(lo, 0.0);
        hi = std::nextafter(hi, std::numeric_limits<double>::infinity());
        check(lo);
        check(hi);
    }
}

TEST(FormatQuickDigits, AnyBitPatternMatchesTheReference) {
    // Uniform over the bit patterns: every binary exponent equally often, subnormals, both signs.
    std::mt19937_64 rng(20261211);
    Comparison cmp;
    const auto& fs = reportFields();
    const std::vector<Desc> all = everyDigitCount();
    for (int i = 0; i < 200000; ++i) {
        const double v = fromBits(rng());
        if (!std::isfinite(v)) continue;
        cmp.check(fs[rng() % fs.size()], v);
        cmp.check(all[rng() % all.size()], v);
    }
    // Subnormals and the smallest normals on their own.
    for (int i = 0; i < 20000; ++i) {
        const double v = fromBits(rng() % (1ULL << 53));
        cmp.check(fs[rng() % fs.size()], v);
        cmp.check(all[rng() % all.size()], v);
    }
    EXPECT_GT(cmp.count(), 400000);
}

TEST(FormatQuickDigits, ValuesOfTheReportsRangeMatchTheReference) {
    // Magnitudes of 10^-12 to 10^12, spread evenly over the decades, in every report field and in
    // fields of every digit count.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> decade(-12.0, 12.0);
    Comparison cmp;
    for (int i = 0; i < 100000; ++i) cmp.checkAll(reportFields(), std::pow(10.0, decade(rng)));
    const std::vector<Desc> all = everyDigitCount();
    for (int i = 0; i < 100000; ++i) {
        const double v = std::pow(10.0, decade(rng));
        for (int j = 0; j < 6; ++j) cmp.check(all[rng() % all.size()], v);
    }
    // The noise of converged results: magnitudes of 10^-60 to 10^-12, with many significant digits.
    std::uniform_real_distribution<double> tiny(-60.0, -12.0);
    for (int i = 0; i < 100000; ++i) {
        const double v = std::pow(10.0, tiny(rng));
        cmp.checkAll(reportFields(), v);
        for (int j = 0; j < 3; ++j) cmp.check(all[rng() % all.size()], v);
    }
    EXPECT_GT(cmp.count(), 7000000);
}

TEST(FormatQuickDigits, TiesAndTheirNeighboursMatchTheReference) {
    // Values halfway between two roundings at d significant digits or d decimals: (2n + 1) / 2 times
    // a power of ten. Those with a short binary expansion are exact ties (decided by the even digit);
    // the others sit a fraction of an ulp off the tie, on a side only the exact value tells. Each is
    // checked with its neighbours a few ulps away.
    std::mt19937_64 rng(11);
    Comparison cmp;
    for (int i = 0; i < 40000; ++i) {
        const int sig = 1 + static_cast<int>(rng() % 17);
        const int exp = static_cast<int>(rng() % 41) - 20;
        // Digits n of sig places, then the tie n.5 at the place of the last one.
        const std::uint64_t lo = sig == 1 ? 1 : static_cast<std::uint64_t>(std::pow(10.0, sig - 1));
        const std::uint64_t n = lo + rng() % (9 * lo);
        const double tie = (static_cast<double>(n) + 0.5) * std::pow(10.0, exp);
        const std::vector<Desc> fs = {{'E', sig + 9, sig, 0},
                                      {'E', sig + 9, sig > 1 ? sig - 1 : 1, 1},
                                      {'G', sig + 9, sig, 0},
                                      {'F', 40, exp < 0 ? std::min(-exp, 20) : 0, 0}};
        around(tie, 3, [&](double v) { cmp.checkAll(fs, v); });
    }
    // Exact ties in binary: whole numbers plus one half, quarters and eighths, in fixed fields that
    // round exactly there, and in exponent fields that cut at the same place.
    for (int i = 0; i < 40000; ++i) {
        const int frac = 1 + static_cast<int>(rng() % 3);  // 1, 2 or 3 binary places
        const std::uint64_t whole = rng() % 1000000;
        const double v = static_cast<double>(whole) + static_cast<double>(2 * (rng() % (1ULL << (frac - 1))) + 1) /
                                                          static_cast<double>(1ULL << frac);
        int digits = 1;
        while (digits < 7 && static_cast<double>(whole) >= std::pow(10.0, digits)) ++digits;
        const int d = frac - 1;  // one decimal short of the exact value: the last one is the tie
        const std::vector<Desc> fs = {
            {'F', 20, d, 0}, {'E', 20, digits + d, 0}, {'G', 20, digits + d, 0}, {'E', 20, digits + d - 1, 1}};
        around(v, 2, [&](double x) { cmp.checkAll(fs, x); });
    }
    EXPECT_GT(cmp.count(), 1000000);
}

TEST(FormatQuickDigits, WholeNumbersScaledDownMatchTheReference) {
    // Whole numbers n * 10^j brought down to fewer digits: the scaled value is a whole number (or a tie
    // n.5) exactly, while the binary fraction of 10^-j that scales it is not exact, so the scaled value
    // lies a hair below that whole number or tie and only the exact road can tell.
    std::mt19937_64 rng(23);
    Comparison cmp;
    for (int i = 0; i < 40000; ++i) {
        const int digits = 1 + static_cast<int>(rng() % 15);
        const int j = 1 + static_cast<int>(rng() % 22);
        const std::uint64_t lo = static_cast<std::uint64_t>(std::pow(10.0, digits - 1));
        const std::uint64_t n = lo + rng() % (9 * lo);
        const double v = static_cast<double>(n) * std::pow(10.0, j);
        std::vector<Desc> fs;
        for (int sig = std::max(1, digits - 1); sig <= std::min(17, digits + j); ++sig) {
            fs.push_back({'E', sig + 9, sig, 0});
            fs.push_back({'G', sig + 9, sig, 0});
        }
        around(v, 2, [&](double x) { cmp.checkAll(fs, x); });
    }
    EXPECT_GT(cmp.count(), 1000000);
}

TEST(FormatQuickDigits, PowersOfTenAndTheirNinesMatchTheReference) {
    // Next to 10^k the decade of the value is decided, and just below it 9.99..95 * 10^(k-1) rounds up
    // into the next decade (or stays) depending on the last bits.
    Comparison cmp;
    const std::vector<Desc> all = everyDigitCount();
    for (int k = -30; k <= 30; ++k) {
        const double p = std::pow(10.0, k);
        const double pr = std::stod("1e" + std::to_string(k));  // the nearest double to 10^k
        around(p, 40, [&](double v) { cmp.checkAll(all, v); });
        around(pr, 40, [&](double v) { cmp.checkAll(all, v); });
        for (int sig = 1; sig <= 17; ++sig) {
            // 9.99...95 with sig nines before the 5, times 10^(k-1).
            std::string nines = "9." + std::string(static_cast<std::size_t>(sig - 1), '9') + "5e" + std::to_string(k - 1);
            if (sig == 1) nines = "9.5e" + std::to_string(k - 1);
            around(std::stod(nines), 8, [&](double v) { cmp.checkAll(all, v); });
        }
    }
    EXPECT_GT(cmp.count(), 1000000);
}

TEST(FormatQuickDigits, ExtremesMatchTheReference) {
    Comparison cmp;
    const std::vector<Desc> all = everyDigitCount();
    const double lim[] = {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                          std::numeric_limits<double>::max(),        std::numeric_limits<double>::epsilon(),
                          0.0,                                       1.0,
                          0.5,                                       9007199254740992.0,  // 2^53
                          1e22,                                      1e23,
                          5e-324 * 3};
    for (double v : lim) around(v, 5, [&](double x) { cmp.checkAll(all, x); });
}

}  // namespace
}  // namespace kaldo::io
