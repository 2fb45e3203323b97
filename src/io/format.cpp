// Fixed-format field writers.
//
// Decimal digits are those of std::to_chars with an explicit precision: it rounds the exact binary value
// correctly (ties to even, as glibc's printf does) and, unlike printf, never looks at the C locale, so a
// host that sets a decimal comma cannot change a report. The usual report values get the same digits
// from exact integer arithmetic (the quick road below), which costs a fraction of the general
// conversion: small scalings by powers of five, the others by a table of 128-bit powers of ten whose
// answer is taken only where the table's own truncation cannot change it; the rest goes to
// std::to_chars. Everything else is assembling the field text.
#include "io/format.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kaldo::io {

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
    Decimal() = default;
    Decimal(double a, std::chars_format fmt, int precision) { convert(a, fmt, precision); }
    Decimal(const Decimal&) = delete;
    Decimal& operator=(const Decimal&) = delete;
    void convert(double a, std::chars_format fmt, int precision) {
        auto res = std::to_chars(stack_, stack_ + sizeof stack_, a, fmt, precision);
        if (res.ec == std::errc{}) {
            text_ = std::string_view(stack_, static_cast<std::size_t>(res.ptr - stack_));
            return;
        }
        heap_.resize(static_cast<std::size_t>(precision) + 330);
        res = std::to_chars(heap_.data(), heap_.data() + heap_.size(), a, fmt, precision);
        text_ = std::string_view(heap_.data(), static_cast<std::size_t>(res.ptr - heap_.data()));
    }
    std::string_view text() const { return text_; }

private:
    char stack_[96];
    std::string heap_;
    std::string_view text_;
};

// The quick road to the digits of a report field. The reports round most of their values to a
// handful of significant digits or decimals, and the general conversion above spends most of its
// time on the few values that need big-number arithmetic. Here the value a = m * 2^q (m an integer
// of at most 53 bits) times 10^p is worked out exactly as a fraction of two 128-bit integers,
//     a * 10^p = m * 5^p * 2^(q+p),
// with the powers of 5 and 2 moved to the side where their exponent is positive. The integer part
// and the remainder then give the rounding exactly: below, above or right at one half. Nothing is
// estimated, so the digits are those of the general conversion; a value whose fraction does not fit
// in 128 bits (very large or very small values, or many digits) is left to the general conversion.
using U128 = unsigned __int128;

constexpr int kMaxPow5 = 27;  // 5^27 < 2^63
constexpr std::uint64_t kPow5[kMaxPow5 + 1] = {
    1ULL,
    5ULL,
    25ULL,
    125ULL,
    625ULL,
    3125ULL,
    15625ULL,
    78125ULL,
    390625ULL,
    1953125ULL,
    9765625ULL,
    48828125ULL,
    244140625ULL,
    1220703125ULL,
    6103515625ULL,
    30517578125ULL,
    152587890625ULL,
    762939453125ULL,
    3814697265625ULL,
    19073486328125ULL,
    95367431640625ULL,
    476837158203125ULL,
    2384185791015625ULL,
    11920928955078125ULL,
    59604644775390625ULL,
    298023223876953125ULL,
    1490116119384765625ULL,
    7450580596923828125ULL,
};

// Powers of ten that fit in 64 bits.
constexpr int kMaxPow10 = 19;
constexpr std::uint64_t kPow10[kMaxPow10 + 1] = {
    1ULL,
    10ULL,
    100ULL,
    1000ULL,
    10000ULL,
    100000ULL,
    1000000ULL,
    10000000ULL,
    100000000ULL,
    1000000000ULL,
    10000000000ULL,
    100000000000ULL,
    1000000000000ULL,
    10000000000000ULL,
    100000000000000ULL,
    1000000000000000ULL,
    10000000000000000ULL,
    100000000000000000ULL,
    1000000000000000000ULL,
    10000000000000000000ULL,
};

int bitLength(U128 x) {
    const auto hi = static_cast<std::uint64_t>(x >> 64);
    if (hi) return 128 - std::countl_zero(hi);
    return 64 - std::countl_zero(static_cast<std::uint64_t>(x));
}

// a * 10^p for a positive finite a: its integer part and how its fraction compares with one half
// (-1 below, 0 equal, +1 above). False when the exact fraction does not fit the arithmetic here.
struct Scaled {
    U128 whole;
    int half;
};
// A very small value (the noise left in a converged result, 1e-30 say) needs a power of five beyond
// 128 bits: m * 5^p is worked out in five 64-bit words, and the power of two 2^(q+p), a division
// here, picks the integer part and the fraction bits from them.
bool scaleSmall(std::uint64_t m, int q, int p, Scaled& out) {
    constexpr int kWords = 5;
    constexpr int kMaxSmallPow5 = 4 * kMaxPow5;  // m * 5^108 < 2^53 * 2^251 fits in five words
    if (p > kMaxSmallPow5) return false;
    std::uint64_t w[kWords] = {m, 0, 0, 0, 0};
    for (int left = p; left > 0;) {
        const int step = left < kMaxPow5 ? left : kMaxPow5;
        left -= step;
        U128 carry = 0;
        for (auto& word : w) {
            const U128 t = static_cast<U128>(word) * kPow5[step] + carry;
            word = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
    }
    const int shift = -(q + p);  // the number of fraction bits, at least 1
    if (shift >= 64 * kWords) return false;
    // The 64 bits from bit `at` on (bits past the top are zero).
    auto bitsFrom = [&](int at) -> std::uint64_t {
        const int i = at / 64, o = at % 64;
        if (i >= kWords) return 0;
        std::uint64_t v = w[i] >> o;
        if (o != 0 && i + 1 < kWords) v |= w[i + 1] << (64 - o);
        return v;
    };
    // The integer part must fit in 128 bits.
    for (int at = shift + 128; at < 64 * kWords; at += 64)
        if (bitsFrom(at) != 0) return false;
    out.whole = static_cast<U128>(bitsFrom(shift)) | static_cast<U128>(bitsFrom(shift + 64)) << 64;
    // The fraction against one half: its top bit, then whether any bit below it is set.
    const int top = shift - 1;
    if (((w[top / 64] >> (top % 64)) & 1) == 0) {
        out.half = -1;
        return true;
    }
    bool below = (w[top / 64] & ((1ULL << (top % 64)) - 1)) != 0;
    for (int i = 0; i < top / 64 && !below; ++i) below = w[i] != 0;
    out.half = below ? 1 : 0;
    return true;
}

// The powers of ten as 128-bit binary fractions: 10^k = (t + delta) * 2^s with t in [2^127, 2^128) and
// 0 <= delta < 1, delta = 0 where `exact`. Worked out once, exactly, in multiword integers: 10^k itself
// for k >= 0, the quotient of a power of two by 10^-k for k < 0. The range covers the scalings of the
// report fields (values down to some 1e-100 and up to 1e60); others take the exact road alone.
struct TenPower {
    std::uint64_t hi, lo;
    int s;
    bool exact;
};
constexpr int kTableTenLow = -64, kTableTenHigh = 127;

// A little-endian multiword integer, enough for 10^127 (422 bits) and the long divisions below.
struct Words {
    std::uint64_t w[8]{};
    int bitLength() const {
        for (int i = 7; i >= 0; --i)
            if (w[i]) return 64 * i + 64 - std::countl_zero(w[i]);
        return 0;
    }
    bool bit(int i) const { return i >= 0 && i < 512 && ((w[i / 64] >> (i % 64)) & 1) != 0; }
    void timesTen() {
        U128 carry = 0;
        for (auto& x : w) {
            const U128 t = static_cast<U128>(x) * 10 + carry;
            x = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
    }
    void shiftLeftOne(bool in) {
        for (int i = 7; i > 0; --i) w[i] = (w[i] << 1) | (w[i - 1] >> 63);
        w[0] = (w[0] << 1) | (in ? 1 : 0);
    }
    bool atLeast(const Words& o) const {
        for (int i = 7; i >= 0; --i)
            if (w[i] != o.w[i]) return w[i] > o.w[i];
        return true;
    }
    void subtract(const Words& o) {
        std::uint64_t borrow = 0;
        for (int i = 0; i < 8; ++i) {
            const std::uint64_t a = w[i], b = o.w[i];
            w[i] = a - b - borrow;
            borrow = (a < b || (a == b && borrow)) ? 1 : 0;
        }
    }
};

const std::array<TenPower, kTableTenHigh - kTableTenLow + 1>& tenPowers() {
    static const auto table = [] {
        std::array<TenPower, kTableTenHigh - kTableTenLow + 1> t{};
        Words ten;  // 10^k, k = 0, 1, ...
        ten.w[0] = 1;
        for (int k = 0; k <= kTableTenHigh; ++k) {
            // The top 128 bits of 10^k, and whether any bit below them is set.
            const int len = ten.bitLength();
            U128 top = 0;
            bool rest = false;
            for (int i = 0; i < len; ++i) {
                if (i < len - 128)
                    rest = rest || ten.bit(i);
                else
                    top |= static_cast<U128>(ten.bit(i) ? 1 : 0) << (i - (len - 128));
            }
            TenPower& e = t[static_cast<std::size_t>(k - kTableTenLow)];
            e = {static_cast<std::uint64_t>(top >> 64), static_cast<std::uint64_t>(top), len - 128, !rest};
            if (k >= 1 && -k >= kTableTenLow) {
                // 2^(127 + len) / 10^k lies in (2^127, 2^128) (10^k is no power of two): its 128 quotient
                // bits by long division, bit by bit; 10^-k = that quotient times 2^-(127 + len), never exact.
                Words rem;
                U128 q = 0;
                for (int i = 127 + len; i >= 0; --i) {
                    rem.shiftLeftOne(i == 127 + len);
                    const bool fits = rem.atLeast(ten);
                    if (fits) rem.subtract(ten);
                    if (i < 128) q |= static_cast<U128>(fits ? 1 : 0) << i;
                }
                t[static_cast<std::size_t>(-k - kTableTenLow)] = {static_cast<std::uint64_t>(q >> 64),
                                                                  static_cast<std::uint64_t>(q), -(127 + len), false};
            }
            ten.timesTen();
        }
        return t;
    }();
    return table;
}

// a * 10^p from the table: the mantissa m (at most 53 bits) times the 128-bit power is exact in 192
// bits; the power's own truncation (below one unit of its last bit) moves the product by less than m,
// far below the fraction bits read here. False, for the exact road to decide, where the power is not
// in the table, the integer part does not fit, or the fraction lies so near one half or one that the
// truncation could carry it across.
bool scaleByTable(std::uint64_t m, int q, int p, Scaled& out) {
    if (p < kTableTenLow || p > kTableTenHigh) return false;
    const TenPower& t = tenPowers()[static_cast<std::size_t>(p - kTableTenLow)];
    const U128 low = static_cast<U128>(m) * t.lo;
    const U128 high = static_cast<U128>(m) * t.hi;
    // The product in three words w2 w1 w0.
    const std::uint64_t w0 = static_cast<std::uint64_t>(low);
    const U128 mid = (low >> 64) + static_cast<std::uint64_t>(high);
    const std::uint64_t w1 = static_cast<std::uint64_t>(mid);
    const std::uint64_t w2 = static_cast<std::uint64_t>(high >> 64) + static_cast<std::uint64_t>(mid >> 64);
    const int shift = -(q + t.s);  // fraction bits of the product
    if (shift >= 192) {
        // Below 2^-11 (the product is below 2^181): no integer part, and far below one half.
        out.whole = 0;
        out.half = -1;
        return true;
    }
    if (shift < 118) return false;  // an integer part of more than 64 bits, or a coarse fraction
    // The integer part, then the top 64 bits of the fraction f and whether any bit below them is set.
    std::uint64_t whole, f;
    bool rest;
    if (shift >= 128) {
        const int o = shift - 128;  // 0 .. 63: f is bits shift - 64 .. shift - 1, starting at bit o of w1
        whole = w2 >> o;
        f = o == 0 ? w1 : ((w1 >> o) | (w2 << (64 - o)));
        rest = (w1 & ((std::uint64_t{1} << o) - 1)) != 0 || w0 != 0;
    } else {
        const int o = shift - 64;  // 54 .. 63
        if ((w2 >> o) != 0) return false;
        whole = (w1 >> o) | (w2 << (64 - o));
        f = (w0 >> o) | (w1 << (64 - o));
        rest = (w0 & ((std::uint64_t{1} << o) - 1)) != 0;
    }
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
    if (!t.exact && (f == kHalf - 1 || f == ~std::uint64_t{0})) return false;
    out.whole = whole;
    if (f != kHalf)
        out.half = f > kHalf ? 1 : -1;
    else
        out.half = (rest || !t.exact) ? 1 : 0;
    return true;
}

bool scaleExact(double a, int p, Scaled& out) {
    const auto bits = std::bit_cast<std::uint64_t>(a);
    const int biased = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((1ULL << 52) - 1);
    int q;
    if (biased == 0) {
        q = -1074;  // subnormal: no hidden bit
    } else {
        m |= 1ULL << 52;
        q = biased - 1075;
    }
    // Trailing zero bits of m go into the exponent: whole numbers and short binary fractions then
    // keep their fractions small.
    const int tz = std::countr_zero(m);
    m >>= tz;
    q += tz;

    if (p > kMaxPow5 && q + p < 0) {
        if (scaleByTable(m, q, p, out)) return true;
        return scaleSmall(m, q, p, out);
    }
    // The common case, a value below 10^17 brought up to its digits: m * 5^p over a power of two, so
    // the integer part and the fraction are bits of the product.
    if (p >= 0 && p <= kMaxPow5 && q + p < 0 && q + p > -128) {
        const U128 num = static_cast<U128>(m) * kPow5[p];
        const int r = -(q + p);
        const U128 frac = num & ((static_cast<U128>(1) << r) - 1);
        const U128 half = static_cast<U128>(1) << (r - 1);
        out.whole = num >> r;
        out.half = frac < half ? -1 : (frac == half ? 0 : 1);
        return true;
    }
    if (p < 0 && scaleByTable(m, q, p, out)) return true;
    if (p > kMaxPow5 || p < -kMaxPow5) return false;
    // num / den = m * 5^p * 2^(q+p), each power on the side where it is a multiplier.
    U128 num = m;
    U128 den = 1;
    if (p >= 0)
        num *= kPow5[p];  // below 2^53 * 2^63
    else
        den = kPow5[-p];
    const int twos = q + p;
    if (twos >= 0) {
        if (bitLength(num) + twos > 126) return false;
        num <<= twos;
    } else {
        if (bitLength(den) - twos > 126) return false;
        den <<= -twos;
    }
    // The remainder below den < 2^126, so twice it does not overflow.
    U128 rem;
    if (den == 1) {
        out.whole = num;
        rem = 0;
    } else if ((den & (den - 1)) == 0) {  // a power of two: shifts
        out.whole = num >> (bitLength(den) - 1);
        rem = num & (den - 1);
    } else if ((num >> 64) == 0 && (den >> 64) == 0) {  // the division in 64 bits where it fits
        const auto n64 = static_cast<std::uint64_t>(num), d64 = static_cast<std::uint64_t>(den);
        out.whole = n64 / d64;
        rem = n64 % d64;
    } else {
        out.whole = num / den;
        rem = num % den;
    }
    const U128 twice = rem << 1;
    out.half = twice < den ? -1 : (twice == den ? 0 : 1);
    return true;
}

// The integer nearest a * 10^p, ties to even: the rounding of the general conversion.
U128 roundScaled(const Scaled& s) {
    return s.whole + ((s.half > 0 || (s.half == 0 && (s.whole & 1))) ? 1 : 0);
}

// The n decimal digits of v (with leading zeros) into buf, two at a time from a table of the pairs.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> t{};
    for (int i = 0; i < 100; ++i) {
        t[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        t[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return t;
}();
// Eight digits and more are split off in 64 bits, eight at a time; the pairs then come in 32-bit
// arithmetic, which is cheaper.
void putDigits(char* buf, std::size_t n, std::uint64_t v) {
    std::size_t i = n;
    while (i > 8) {
        auto part = static_cast<std::uint32_t>(v % 100000000);
        v /= 100000000;
        for (int k = 0; k < 4; ++k) {
            const std::size_t pair = static_cast<std::size_t>(part % 100) * 2;
            part /= 100;
            i -= 2;
            buf[i] = kDigitPairs[pair];
            buf[i + 1] = kDigitPairs[pair + 1];
        }
    }
    auto rest = static_cast<std::uint32_t>(v);
    while (i >= 2) {
        const std::size_t pair = static_cast<std::size_t>(rest % 100) * 2;
        rest /= 100;
        i -= 2;
        buf[i] = kDigitPairs[pair];
        buf[i + 1] = kDigitPairs[pair + 1];
    }
    if (i == 1) buf[0] = static_cast<char>('0' + rest % 10);
}

// The decade of a positive finite value, or one below it: floor(log10(2^b)) for its binary exponent b,
// with 78913 / 2^18 a shade below log10(2) (exact for every exponent of a double).
// A normal a lies in [2^b, 2^(b+1)) for its unbiased exponent b; a subnormal below 2^-1022. One
// comparison with the nearest double of the next power of ten then mostly settles the decade (the
// caller checks it exactly all the same).
constexpr int kGuessLow = -330, kGuessHigh = 310;
const std::array<double, kGuessHigh - kGuessLow + 1>& powersOfTen() {
    static const auto table = [] {
        std::array<double, kGuessHigh - kGuessLow + 1> t{};
        for (int i = kGuessLow; i <= kGuessHigh; ++i) t[static_cast<std::size_t>(i - kGuessLow)] = std::pow(10.0, i);
        return t;
    }();
    return table;
}
int decadeGuess(double a) {
    const int biased = static_cast<int>(std::bit_cast<std::uint64_t>(a) >> 52);
    const int b = biased == 0 ? -1074 : biased - 1023;  // a subnormal: at least 2^-1074
    int e = (b * 78913) >> 18;
    const int next = e + 1;
    if (next >= kGuessLow && next <= kGuessHigh && a >= powersOfTen()[static_cast<std::size_t>(next - kGuessLow)]) e = next;
    return e;
}

// Fixed-point digits of a non-negative finite value with d decimals, as the general conversion
// writes them ("12.500", "0.003", "2" for d = 0), into buf; returns the length, or 0 when the quick
// road does not apply.
std::size_t quickFixed(double a, int d, char (&buf)[24]) {
    if (d > kMaxPow10 - 2) return 0;
    std::uint64_t n = 0;
    if (a != 0) {
        Scaled s;
        if (!scaleExact(a, d, s)) return 0;
        const U128 r = roundScaled(s);
        if (r >= kPow10[kMaxPow10 - 1]) return 0;  // at most 18 digits here
        n = static_cast<std::uint64_t>(r);
    }
    std::size_t digits = 1;
    while (digits < static_cast<std::size_t>(kMaxPow10 - 1) && n >= kPow10[digits]) ++digits;
    // At least one digit before the point.
    const std::size_t shown = digits > static_cast<std::size_t>(d) ? digits : static_cast<std::size_t>(d) + 1;
    const std::size_t whole = shown - static_cast<std::size_t>(d);
    if (d == 0) {
        putDigits(buf, shown, n);
        return shown;
    }
    char tmp[20];
    putDigits(tmp, shown, n);
    std::memcpy(buf, tmp, whole);
    buf[whole] = '.';
    std::memcpy(buf + whole + 1, tmp + whole, static_cast<std::size_t>(d));
    return shown + 1;
}

// Fixed-point text of a non-negative finite value with d decimals: the quick road where it applies,
// the general conversion otherwise.
class FixedText {
public:
    FixedText(double a, int d) {
        const std::size_t n = quickFixed(a, d, quick_);
        if (n > 0)
            text_ = std::string_view(quick_, n);
        else {
            slow_.convert(a, std::chars_format::fixed, d);
            text_ = slow_.text();
        }
    }
    FixedText(const FixedText&) = delete;
    FixedText& operator=(const FixedText&) = delete;
    std::string_view text() const { return text_; }

private:
    char quick_[24];
    Decimal slow_;
    std::string_view text_;
};

// The significant digits of a positive finite value rounded to `sig` digits, and the decimal exponent
// of the first one: a = 0.d1d2...dsig * 10^(exp10 + 1). A rounding that carries into a new decade
// (9.9996 -> 1.000e+01) is already reflected in exp10.
class Significant {
public:
    Significant(double a, int sig) {
        if (sig >= 1 && sig <= 17 && quick(a, sig)) return;
        slow_.convert(a, std::chars_format::scientific, sig - 1);
        const std::string_view t = slow_.text();  // "d.ddde+XX" or, for one digit, "de+XX"
        const std::size_t e = t.find('e');
        // The digits are the mantissa without its point: the first one, then those after the point.
        first_ = t.substr(0, 1);
        rest_ = e > 2 ? t.substr(2, e - 2) : std::string_view{};
        std::size_t p = e + 1;
        if (t[p] == '+') ++p;  // from_chars takes a minus sign but not a plus
        std::from_chars(t.data() + p, t.data() + t.size(), exp10_);
    }
    Significant(const Significant&) = delete;
    Significant& operator=(const Significant&) = delete;
    int exp10() const { return exp10_; }
    std::size_t size() const { return 1 + rest_.size(); }
    char digit(std::size_t i) const { return i == 0 ? first_[0] : rest_[i - 1]; }
    // Digits i .. j - 1.
    void append(std::string& out, std::size_t i, std::size_t j) const {
        if (i >= j) return;
        if (i == 0) {
            out += first_[0];
            i = 1;
        }
        if (i < j) out.append(rest_.substr(i - 1, j - i));
    }
    // Digits i .. j - 1 written at `to`; returns the end.
    char* copy(char* to, std::size_t i, std::size_t j) const {
        if (i >= j) return to;
        if (i == 0) {
            *to++ = first_[0];
            i = 1;
        }
        // A one-digit mantissa of the general conversion has no rest (and no pointer to it).
        const std::size_t n = j - i;
        if (n > 0) std::memcpy(to, rest_.data() + (i - 1), n);
        return to + n;
    }

private:
    // The digits by the quick road: a scaled by 10^(sig-1-e) for the decade e of a lies in
    // [10^(sig-1), 10^sig) before rounding; the guess of e (off by at most one) is put right on the
    // integer part, which settles the decade exactly, then rounded. A rounding up to 10^sig is the first power of the
    // next decade (the value rounds to 10^(sig-1) there as well).
    bool quick(double a, int sig) {
        int e = decadeGuess(a);
        Scaled s;
        for (int tries = 0;; ++tries) {
            if (tries == 3 || !scaleExact(a, sig - 1 - e, s)) return false;
            if (s.whole < kPow10[sig - 1])
                --e;
            else if (s.whole >= kPow10[sig])
                ++e;
            else
                break;
        }
        U128 n = roundScaled(s);
        if (n == kPow10[sig]) {
            n = kPow10[sig - 1];
            ++e;
        }
        putDigits(quick_, static_cast<std::size_t>(sig), static_cast<std::uint64_t>(n));
        first_ = std::string_view(quick_, 1);
        rest_ = std::string_view(quick_ + 1, static_cast<std::size_t>(sig - 1));
        exp10_ = e;
        return true;
    }

    char quick_[20];
    Decimal slow_;
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
    const FixedText dec(std::fabs(v), d);
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
    // The field is laid out as blanks first and its characters written over the end of them.
    const std::size_t start = out.size();
    out.append(static_cast<std::size_t>(w), ' ');
    char* p = out.data() + start + (static_cast<std::size_t>(w) - bare - (zero ? 1 : 0));
    if (neg) *p++ = '-';
    if (zero) *p++ = '0';
    auto put = [&](std::size_t i, std::size_t j) {
        if (s) {
            p = s->copy(p, i, j);
        } else {
            std::memset(p, '0', j - i);
            p += j - i;
        }
    };
    if (k > 0) {
        put(0, static_cast<std::size_t>(k));
        *p++ = '.';
        put(static_cast<std::size_t>(k), digits);
    } else {
        *p++ = '.';
        std::memset(p, '0', zeros);
        p += zeros;
        put(0, digits);
    }
    std::memcpy(p, exp, expSize);
}

// Whether Gw.d of a positive a takes the exponent form, when that is plain without rounding a to d
// significant digits first: N >= 10^d exactly when a >= 10^d - 1/2 (a tie there rounds to the even
// 10^d, and the bound is a double for the digit counts here), and N < 0.1 when a lies clearly below
// 0.1 - 10^(-1-d)/2, the least value that rounds up to 0.1. Near that bound (a few units in the last
// place of it) the answer is left to the rounding itself: false.
bool exponentFormPlain(double a, int d) {
    if (d > 15) return false;
    if (a >= static_cast<double>(kPow10[d]) - 0.5) return true;
    const double low = 0.1 - 0.05 / static_cast<double>(kPow10[d]);
    return a < low * (1.0 - 1e-14);
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
    if (exponentFormPlain(a, d)) return appendE(out, w, d, v, scale);
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

std::string fmtA(int w, std::string_view s) {
    if (w < 0) return std::string(s);
    const std::size_t width = static_cast<std::size_t>(w);
    if (s.size() >= width) return std::string(s.substr(0, width));
    std::string out;
    appendRightAligned(out, w, s);
    return out;
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

void renderTo(std::string& out, const I& f) { appendI(out, f.w, f.v, f.m); }
void renderTo(std::string& out, const F& f) { appendF(out, f.w, f.d, f.v); }
void renderTo(std::string& out, const E& f) { appendE(out, f.w, f.d, f.v, 0); }
void renderTo(std::string& out, const PE& f) { appendE(out, f.w, f.d, f.v, 1); }
void renderTo(std::string& out, const G& f) { appendG(out, f.w, f.d, f.v, 0); }
void renderTo(std::string& out, const PG& f) { appendG(out, f.w, f.d, f.v, 1); }
void renderTo(std::string& out, const A& f) {
    if (f.w < 0 || f.s.size() >= static_cast<std::size_t>(f.w))
        out.append(f.w < 0 ? f.s : f.s.substr(0, static_cast<std::size_t>(f.w)));
    else
        appendRightAligned(out, f.w, f.s);
}
void renderTo(std::string& out, const X& f) { out.append(static_cast<std::size_t>(f.n > 0 ? f.n : 0), ' '); }
void renderTo(std::string& out, const Rep& f) { out.append(static_cast<std::size_t>(f.n > 0 ? f.n : 0), f.c); }

template <class Field>
std::string renderField(const Field& f) {
    std::string out;
    renderTo(out, f);
    return out;
}

std::string render(const I& f) { return renderField(f); }
std::string render(const F& f) { return renderField(f); }
std::string render(const E& f) { return renderField(f); }
std::string render(const PE& f) { return renderField(f); }
std::string render(const G& f) { return renderField(f); }
std::string render(const PG& f) { return renderField(f); }
std::string render(const A& f) { return renderField(f); }
std::string render(const X& f) { return renderField(f); }
std::string render(const Rep& f) { return renderField(f); }

}  // namespace kaldo::io
