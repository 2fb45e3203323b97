// The free-form record reader: items are taken straight off the current line, without copies, and
// converted into the destination only when there is a value; an empty value or a slash leaves the
// destination as it was.
#include "io/listread.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace kaldo::io {

InputError::InputError(Kind k, std::string sect, long ln, std::string txt, const std::string& what)
    : std::runtime_error(what), kind(k), section(std::move(sect)), line(ln), text(std::move(txt)) {}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isQuote(char c) { return c == '\'' || c == '"'; }
// What ends an unquoted item: a blank, a comma or a slash (the line end ends it too).
bool endsWord(char c) { return isBlank(c) || c == ',' || c == '/'; }

std::string trimmedSection(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

void cutCR(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

// The item being converted, for the error messages: its section, its line and its text as it stands
// in the file (with any r* prefix).
struct Place {
    const std::string& section;
    long line;
    std::string_view item;
};

// Throws the fault of an item; problem says what is wrong with it, e.g. "malformed number".
[[noreturn]] void fault(InputError::Kind kind, const Place& at, std::string_view problem) {
    const std::string_view text = at.item;
    std::string what(problem);
    what += " \"";
    what += text;
    what += '"';
    if (kind == InputError::RealForInteger) what += " where an integer is due";
    what += " in section \"" + at.section + "\", line " + std::to_string(at.line);
    throw InputError(kind, at.section, at.line, std::string(text), what);
}

[[noreturn]] void earlyEnd(const std::string& section, long line) {
    throw InputError(InputError::EarlyEnd, section, line, "",
                     "early end of the input file in section \"" + section + "\", after line " +
                         std::to_string(line));
}

// The shape of a real: optional sign, digits with an optional decimal point (at least one digit), then
// optionally an exponent letter E, e, D or d with an optional sign and at least one digit. Gives the
// position of the exponent letter (npos when there is none).
bool realShape(std::string_view s, size_t& expAt) {
    size_t i = 0;
    const size_t n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    int digits = 0;
    while (i < n && isDigit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    expAt = std::string_view::npos;
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        expAt = i++;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        if (i == n || !isDigit(s[i])) return false;
        while (i < n && isDigit(s[i])) ++i;
    }
    return i == n;
}

// The decimal order of magnitude (floor of log10) of a real of valid shape with a nonzero digit, the
// exponent saturated far beyond the range of a double. Tells an overflow from an underflow.
long decimalOrder(std::string_view s, size_t expAt) {
    std::string_view mant = s.substr(0, expAt);
    long exp = 0;
    if (expAt != std::string_view::npos) {
        size_t i = expAt + 1;
        bool neg = s[i] == '-';
        if (s[i] == '+' || s[i] == '-') ++i;
        for (; i < s.size(); ++i) exp = std::min(exp * 10 + (s[i] - '0'), 1000000000L);
        if (neg) exp = -exp;
    }
    // The order of the first nonzero digit: from the integer digits that follow it, or from the zeros
    // between the point and it.
    long intDigits = 0, leadZeros = 0, fracZeros = 0;
    bool nonzero = false, point = false;
    for (char c : mant) {
        if (c == '.') {
            if (nonzero) break;
            point = true;
        } else if (isDigit(c) && !point) {
            ++intDigits;
            if (!nonzero && c == '0') ++leadZeros;
            nonzero = nonzero || c != '0';
        } else if (isDigit(c)) {
            if (c != '0') break;
            ++fracZeros;
        }
    }
    const long order = intDigits > leadZeros ? intDigits - leadZeros - 1 : -(fracZeros + 1);
    return order + exp;
}

void toDouble(std::string_view s, const Place& at, double& v) {
    size_t expAt = 0;
    if (!realShape(s, expAt)) fault(InputError::Malformed, at, "malformed number");
    // from_chars takes neither a leading plus nor a D exponent.
    std::string_view t = s[0] == '+' ? s.substr(1) : s;
    char buf[64];
    std::string big;
    const char* first = t.data();
    if (expAt != std::string_view::npos && (s[expAt] == 'D' || s[expAt] == 'd')) {
        char* dst = buf;
        if (t.size() > sizeof buf) {
            big.resize(t.size());
            dst = big.data();
        }
        for (size_t i = 0; i < t.size(); ++i) dst[i] = (t[i] == 'D' || t[i] == 'd') ? 'e' : t[i];
        first = dst;
    }
    double x = 0;
    auto [ptr, ec] = std::from_chars(first, first + t.size(), x);
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is a fault, never an infinity.
        if (decimalOrder(s, expAt) >= 0) fault(InputError::Malformed, at, "number out of range");
        v = s[0] == '-' ? -0.0 : 0.0;
        return;
    }
    if (ec != std::errc() || ptr != first + t.size()) fault(InputError::Malformed, at, "malformed number");
    v = x;
}

void toInt(std::string_view s, const Place& at, int& v) {
    const size_t first = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    bool shape = first < s.size();
    for (size_t i = first; shape && i < s.size(); ++i) shape = isDigit(s[i]);
    if (!shape) {
        size_t expAt = 0;
        if (realShape(s, expAt)) fault(InputError::RealForInteger, at, "a real");
        fault(InputError::Malformed, at, "malformed number");
    }
    // from_chars takes no leading plus.
    const std::string_view t = s[0] == '+' ? s.substr(1) : s;
    int x = 0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), x);
    if (ec != std::errc()) fault(InputError::Malformed, at, "integer out of range");
    v = x;
}

// The text of an item: a word as it stands, or a quoted text without its quotes, a doubled quote read
// as one.
void toText(std::string_view s, std::string& v) {
    if (s.empty() || !isQuote(s[0])) {
        v.assign(s);
        return;
    }
    const char q = s[0];
    v.clear();
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        v += s[i];
        if (s[i] == q) ++i;  // the second quote of a doubled pair
    }
}

}  // namespace

struct ListRecord::Item {
    enum Kind { Value, Null, End } kind;
    std::string_view value;  // the value's text, quotes kept
    std::string_view whole;  // the item as it stands in the file, with any r* prefix
};

ListRecord::ListRecord(LineSource& src, std::string_view section, RecordObserver* observer)
    : src_(src), section_(trimmedSection(section)), observer_(observer), uncaught_(std::uncaught_exceptions()) {}

// A record left by a fault (an exception passing through) tells nothing: its count of items is not
// the count of its type.
ListRecord::~ListRecord() {
    if (std::uncaught_exceptions() > uncaught_) observer_ = nullptr;
    finish();
}

bool ListRecord::ended() const { return ended_; }

// Lines are taken only when an item is due, so the rest of the last line read is left behind by simply
// not reading it: the next record takes the next line. Later reads of this record change nothing.
void ListRecord::finish() {
    if (!finished_) tellObserver();
    finished_ = true;
    repeatLeft_ = 0;
}

void ListRecord::noteItem() {
    const long ln = src_.lineNumber();
    if (trace_.items == 0) trace_.firstLine = ln;
    trace_.lastLine = ln;
    ++trace_.items;
    if (ln == trace_.firstLine) ++trace_.itemsOnFirstLine;
}

// A comma with a digit right before it and a digit right after it, no blank between: "105,0". Legal
// between two values, it is also what a decimal comma looks like.
void ListRecord::noteComma(size_t at) {
    if (!trace_.joined.empty() || at == 0 || at + 1 >= line_.size()) return;
    if (!isDigit(line_[at - 1]) || !isDigit(line_[at + 1])) return;
    size_t a = at, b = at + 1;
    while (a > 0 && !endsWord(line_[a - 1])) --a;
    while (b < line_.size() && !endsWord(line_[b])) ++b;
    trace_.joined = line_.substr(a, b - a);
    trace_.joinedLine = src_.lineNumber();
}

// The record is over: what is left on its last line is counted item by item (a quoted text as one).
void ListRecord::tellObserver() {
    if (observer_ == nullptr || trace_.items == 0) return;
    if (!ended_ && pos_ < line_.size()) {
        // A comma right after the record's last value joins it to the first value left over.
        if (line_[pos_] == ',') noteComma(pos_);
        size_t a = pos_;
        while (a < line_.size() && (isBlank(line_[a]) || line_[a] == ',')) ++a;
        size_t b = line_.size();
        while (b > a && (isBlank(line_[b - 1]) || line_[b - 1] == ',')) --b;
        trace_.leftover = line_.substr(a, b - a);
        for (size_t i = a; i < b;) {
            while (i < b && (isBlank(line_[i]) || line_[i] == ',')) ++i;
            if (i >= b) break;
            ++trace_.leftoverValues;
            if (isQuote(line_[i])) {
                const char q = line_[i++];
                while (i < b && line_[i] != q) ++i;
                ++i;
            } else {
                while (i < b && !isBlank(line_[i]) && line_[i] != ',') ++i;
            }
        }
    }
    observer_->recordEnded(trace_);
}

void ListRecord::takeLine() {
    if (!src_.nextLine(line_)) {
        line_.clear();
        pos_ = 0;
        earlyEnd(section_, src_.lineNumber());
    }
    cutCR(line_);
    pos_ = 0;
}

ListRecord::Item ListRecord::nextItem() {
    const Item it = scanItem();
    if (it.kind != Item::End) noteItem();
    return it;
}

ListRecord::Item ListRecord::scanItem() {
    if (ended_ || finished_) return {Item::End, {}, {}};
    if (repeatLeft_ > 0) {
        --repeatLeft_;
        if (repeatNull_) return {Item::Null, {}, {}};
        const std::string_view ln(line_);
        return {Item::Value, ln.substr(repeatValue_, repeatValueLen_), ln.substr(repeatItem_, repeatItemLen_)};
    }

    // Find the start of the item, past blanks and line ends. A comma is the separator of the item
    // before, unless that separator already had its comma: then it closes an empty value.
    for (;;) {
        while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
        if (pos_ == line_.size()) {
            takeLine();
            continue;
        }
        const char c = line_[pos_];
        if (c == ',') {
            noteComma(pos_);
            ++pos_;
            if (commaFree_) {
                commaFree_ = false;
                continue;
            }
            return {Item::Null, {}, {}};
        }
        if (c == '/') {
            ended_ = true;
            pos_ = line_.size();
            return {Item::End, {}, {}};
        }
        break;
    }
    const std::string_view ln(line_);
    const size_t start = pos_;
    const long lineNo = src_.lineNumber();

    // A repeat count: digits followed by '*'.
    size_t p = start;
    while (p < ln.size() && isDigit(ln[p])) ++p;
    const bool repeat = p > start && p < ln.size() && ln[p] == '*';
    const size_t valueStart = repeat ? p + 1 : start;

    // The value: a quoted text up to its closing quote on the same line, or a word.
    size_t end = valueStart;
    if (end < ln.size() && isQuote(ln[end])) {
        const char q = ln[end++];
        for (;;) {
            if (end == ln.size()) {
                const Place at{section_, lineNo, ln.substr(start)};
                fault(InputError::Malformed, at, "unterminated quoted text");
            }
            if (ln[end] == q) {
                if (end + 1 < ln.size() && ln[end + 1] == q) {
                    end += 2;
                    continue;
                }
                ++end;
                break;
            }
            ++end;
        }
        if (end < ln.size() && !endsWord(ln[end])) {
            while (end < ln.size() && !endsWord(ln[end])) ++end;
            const Place at{section_, lineNo, ln.substr(start, end - start)};
            fault(InputError::Malformed, at, "malformed quoted text");
        }
    } else {
        while (end < ln.size() && !endsWord(ln[end])) ++end;
    }
    pos_ = end;
    commaFree_ = true;
    const std::string_view whole = ln.substr(start, end - start);
    const std::string_view value = ln.substr(valueStart, end - valueStart);
    if (!repeat) return {Item::Value, value, whole};

    int count = 0;
    auto [ptr, ec] = std::from_chars(ln.data() + start, ln.data() + valueStart - 1, count);
    if (ec != std::errc() || count < 1)
        fault(InputError::Malformed, Place{section_, lineNo, whole}, "malformed repeat count");
    repeatLeft_ = count - 1;
    repeatNull_ = value.empty();
    repeatItem_ = start;
    repeatItemLen_ = whole.size();
    repeatValue_ = valueStart;
    repeatValueLen_ = value.size();
    if (repeatNull_) return {Item::Null, {}, {}};
    return {Item::Value, value, whole};
}

ListRecord& ListRecord::operator>>(int& v) {
    const Item it = nextItem();
    if (it.kind == Item::Value) toInt(it.value, Place{section_, src_.lineNumber(), it.whole}, v);
    return *this;
}

ListRecord& ListRecord::operator>>(double& v) {
    const Item it = nextItem();
    if (it.kind == Item::Value) toDouble(it.value, Place{section_, src_.lineNumber(), it.whole}, v);
    return *this;
}

ListRecord& ListRecord::operator>>(std::string& v) {
    const Item it = nextItem();
    if (it.kind == Item::Value) toText(it.value, v);
    return *this;
}

ListRecord& ListRecord::skip(int n) {
    for (int i = 0; i < n && nextItem().kind != Item::End; ++i) {
    }
    return *this;
}

void skipRecord(LineSource& src, std::string_view section) {
    std::string line;
    if (!src.nextLine(line)) earlyEnd(trimmedSection(section), src.lineNumber());
}

std::string readFixedText(LineSource& src, int n, std::string_view section) {
    std::string line;
    if (!src.nextLine(line)) earlyEnd(trimmedSection(section), src.lineNumber());
    cutCR(line);
    line.resize(n > 0 ? static_cast<size_t>(n) : 0, ' ');
    return line;
}

StringSource::StringSource(std::string text) : text_(std::move(text)) {}

bool StringSource::nextLine(std::string& line) {
    if (pos_ >= text_.size()) return false;
    size_t eol = text_.find('\n', pos_);
    if (eol == std::string::npos) eol = text_.size();
    line.assign(text_, pos_, eol - pos_);
    cutCR(line);
    pos_ = eol + 1;
    ++line_;
    return true;
}

}  // namespace kaldo::io
