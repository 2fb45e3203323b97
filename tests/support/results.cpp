#include "support/results.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace kaldo::test {

namespace {

bool has(const std::string& line, const char* piece) { return line.find(piece) != std::string::npos; }

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The values of the first line after a column heading that holds any.
std::vector<double> valuesAfter(std::istringstream& in) {
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<double> values;
        for (std::string w; words >> w;) values.push_back(readNumber(w));
        if (!values.empty()) return values;
    }
    return {};
}

// Fills n components of a six-value group, starting at component first.
void fill(Six& target, int first, const std::vector<double>& values, int n) {
    for (int i = 0; i < n; ++i)
        target[first + i] = i < static_cast<int>(values.size()) ? values[i] : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

double readNumber(const std::string& text) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (text.empty() || text.find('*') != std::string::npos) return nan;
    char* end = nullptr;
    double mantissa = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return nan;
    if (*end == '\0') return mantissa;
    // A three-digit exponent takes the place of the E: "0.1234-100".
    if (*end == '+' || *end == '-') {
        char* tail = nullptr;
        long exponent = std::strtol(end, &tail, 10);
        if (*tail == '\0') return mantissa * std::pow(10.0, static_cast<double>(exponent));
    }
    return nan;
}

std::vector<CaseResults> readResults(const std::string& outReport) {
    std::vector<CaseResults> cases;
    CaseResults* current = nullptr;
    PileTop* pile = nullptr;
    bool atPoint = false;  // between the point tables' heading and the tables at the origin
    std::istringstream in(outReport);
    std::string line;
    while (std::getline(in, line)) {
        if (has(line, "LOAD CASE : ") || has(line, "LOAD COMB. : ")) {
            CaseResults next;
            next.heading = trim(line);
            cases.push_back(next);
            current = &cases.back();
            pile = nullptr;
            atPoint = false;
        } else if (has(line, "ENV : ")) {
            current = nullptr;  // an envelope: its tables are not a solve of their own
            pile = nullptr;
        } else if (current == nullptr) {
            continue;
        } else if (has(line, "* POINT OF DEFINITION")) {
            atPoint = true;
        } else if (has(line, "  COORD. X ,")) {
            fill(current->pointAt, 0, valuesAfter(in), 3);
        } else if (has(line, "AT ORIGIN *")) {
            atPoint = false;
        } else if (has(line, "VERT. LOAD,")) {
            fill(atPoint ? current->pointLoad : current->capLoad, 0, valuesAfter(in), 3);
        } else if (has(line, "MOMENT X ,")) {
            fill(atPoint ? current->pointLoad : current->capLoad, 3, valuesAfter(in), 3);
        } else if (has(line, "  VERTICAL ,")) {
            fill(atPoint ? current->pointDisp : current->capDisp, 0, valuesAfter(in), 3);
        } else if (has(line, "ANGLE ROT. X,")) {
            fill(atPoint ? current->pointDisp : current->capDisp, 3, valuesAfter(in), 3);
        } else if (has(line, "* PILE GROUP *")) {
            current->piles.push_back(PileTop{});
            pile = &current->piles.back();
            pile->pile = std::atoi(line.substr(line.find("* PILE GROUP *") + 14).c_str());
        } else if (pile == nullptr) {
            continue;
        } else if (has(line, " DISP. X,")) {
            fill(pile->globalDisp, 0, valuesAfter(in), 6);
        } else if (has(line, " FOR. X,")) {
            fill(pile->globalForce, 0, valuesAfter(in), 6);
        } else if (has(line, " DISP. x,")) {
            fill(pile->localDisp, 0, valuesAfter(in), 6);
        } else if (has(line, "  AXIAL,")) {
            fill(pile->localForce, 0, valuesAfter(in), 6);
        }
    }
    return cases;
}

}  // namespace kaldo::test
