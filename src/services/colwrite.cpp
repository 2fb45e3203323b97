#include "services/colwrite.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "io/format.h"

namespace kaldo {

namespace {

// 10 to the power e as the single-precision number the column rule compares with (1e-4 is
// 9.99999974737875e-5), widened to double. The exponents of the report columns come from a table
// worked out once by the same expression: every column value asks for two of them.
double singleTenToOf(int e) { return static_cast<double>(static_cast<float>(std::pow(10.0, e))); }
constexpr int kTableLow = -40, kTableHigh = 40;
double singleTenTo(int e) {
    static const auto table = [] {
        std::array<double, kTableHigh - kTableLow + 1> t{};
        for (int i = kTableLow; i <= kTableHigh; ++i) t[static_cast<std::size_t>(i - kTableLow)] = singleTenToOf(i);
        return t;
    }();
    if (e < kTableLow || e > kTableHigh) return singleTenToOf(e);
    return table[static_cast<std::size_t>(e - kTableLow)];
}

// The number rule of the report columns, for value v, width w and d digits. Values of negligible size
// print as a fixed zero. Values between the bounds print fixed with d - k decimals, k being the decade
// of v (0 from 0.1 up to 10, negative below), as long as that keeps at most d + 2 decimals; all other
// values print as d.ddddE+ee. loExponent sets the lower bound 10^loExponent.
// A value that is not a number or is infinite (a demand/capacity ratio under a resistance factor of
// 0, for one) has no decade: it goes to the exponent field, which shows it as NaN or Infinity.
// The field is appended to out.
void appendColumnReal(std::string& out, int w, int d, double v, int loExponent) {
    if (!std::isfinite(v)) return io::renderTo(out, io::PE{w, d, v});
    const double a = std::fabs(v);
    if (v == 0.0 || a < 1e-50) return io::renderTo(out, io::F{w, d, 0.0});
    const double lo = singleTenTo(loExponent);
    const double hi = singleTenTo(d);
    if (a <= lo || a >= hi) return io::renderTo(out, io::PE{w, d, v});
    int k = static_cast<int>(std::trunc(std::log10(a)));
    if (k < 0) k -= 1;
    const int m = d - k;
    if (m <= d + 2) return io::renderTo(out, io::F{w, m, v});
    io::renderTo(out, io::PE{w, d, v});
}

std::string columnReal(int w, int d, double v, int loExponent) {
    std::string field;
    appendColumnReal(field, w, d, v, loExponent);
    return field;
}

// Puts text into the line at 1-based position p, growing the line with blanks as needed.
void place(std::string& line, std::string_view text, int p) {
    const std::size_t at = static_cast<std::size_t>(p > 1 ? p - 1 : 0);
    if (line.size() < at + text.size()) line.resize(at + text.size(), ' ');
    std::copy(text.begin(), text.end(), line.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

void WCOLREAL(io::Unit& u, int w, int d, double v) { u.put(columnReal(w, d, v, 1 - d)); }

void WCOLINT(io::Unit& u, int w, int v) { u.put(io::fmtI(w, v)); }

void WCOLBLNK(io::Unit& u, int n) {
    if (n >= 1) u.put(std::string(static_cast<std::size_t>(n), ' '));
}

void WCOLA1(io::Unit& u, std::string_view text) { u.put(io::fmtA(1, text)); }
void WCOLA2(io::Unit& u, std::string_view text) { u.put(io::fmtA(2, text)); }
void WCOLA3(io::Unit& u, std::string_view text) { u.put(io::fmtA(3, text)); }

void WCOLA6(io::Unit& u, std::string_view text) { u.part() << io::X{1} << io::A{6, text} << io::X{1}; }
void WCOLA10(io::Unit& u, std::string_view text) { u.part() << io::X{1} << io::A{10, text} << io::X{1}; }

void WCOLTRIM(io::Unit& u, std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    if (last != std::string_view::npos) u.put(text.substr(0, last + 1));
}

void WCOLEOL(io::Unit& u) {
    u.put(" ");
    u.endLine();
}

void WLINREAL(std::string& line, int w, int d, double v, int& p) {
    if (w < 1) return;
    const std::size_t at = static_cast<std::size_t>(p > 1 ? p - 1 : 0);
    if (line.size() == at) {
        // The usual case, the field at the end of the line: written there, without a text of its own.
        appendColumnReal(line, w, d, v, 3 - d);
        line.resize(at + static_cast<std::size_t>(w), ' ');
    } else {
        std::string field = columnReal(w, d, v, 3 - d);
        field.resize(static_cast<std::size_t>(w), ' ');
        place(line, field, p);
    }
    p += w;
}

void WLINBLNK(std::string& line, int n, int& p) {
    if (n < 1) return;
    place(line, std::string(static_cast<std::size_t>(n), ' '), p);
    p += n;
}

}  // namespace kaldo
