// Test support: the records of the curve data file read back from its formatted and its unformatted
// form, and the check that both forms hold the same items.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace kaldo::test {

// One item of a record: an integer, or a real with half a unit of the last digit its text shows.
struct CrvItem {
    bool isInt = false;
    long long i = 0;
    double r = 0.0;
    double halfUnit = 0.0;
};
using CrvRecord = std::vector<CrvItem>;

// The formatted file: one record a line, its fields parted by blanks; a field without a decimal point
// is an integer.
inline std::vector<CrvRecord> formattedRecords(const std::string& text) {
    std::vector<CrvRecord> records;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        CrvRecord rec;
        std::istringstream fields(line);
        std::string f;
        while (fields >> f) {
            CrvItem item;
            const size_t dot = f.find('.');
            if (dot == std::string::npos) {
                item.isInt = true;
                item.i = std::stoll(f);
            } else {
                item.r = std::stod(f);
                const size_t e = f.find_first_of("Ee");
                const int decimals = static_cast<int>((e == std::string::npos ? f.size() : e) - dot - 1);
                const int exponent = e == std::string::npos ? 0 : std::stoi(f.substr(e + 1));
                item.halfUnit = 0.5 * std::pow(10.0, exponent - decimals);
            }
            rec.push_back(item);
        }
        records.push_back(rec);
    }
    return records;
}

// The unformatted file: records framed by their 4-byte length before and after. Empty when a frame
// is damaged.
inline std::vector<std::string> unformattedRecords(const std::string& bytes) {
    std::vector<std::string> records;
    size_t pos = 0;
    while (pos < bytes.size()) {
        uint32_t head = 0, tail = 0;
        if (pos + 4 > bytes.size()) return {};
        std::memcpy(&head, bytes.data() + pos, 4);
        if (pos + 8 + head > bytes.size()) return {};
        std::memcpy(&tail, bytes.data() + pos + 4 + head, 4);
        if (tail != head) return {};
        records.push_back(bytes.substr(pos + 4, head));
        pos += 8 + head;
    }
    return records;
}

// Both forms of one file hold the same records with the same items in the same order: 32-bit integers
// equal, 64-bit reals equal to the digits the text shows.
inline ::testing::AssertionResult sameItems(const std::string& text, const std::string& bytes) {
    const std::vector<CrvRecord> formatted = formattedRecords(text);
    const std::vector<std::string> raw = unformattedRecords(bytes);
    if (formatted.size() != raw.size())
        return ::testing::AssertionFailure() << formatted.size() << " text records, " << raw.size()
                                             << " unformatted records";
    for (size_t r = 0; r < raw.size(); ++r) {
        size_t size = 0;
        for (const CrvItem& item : formatted[r]) size += item.isInt ? 4 : 8;
        if (size != raw[r].size())
            return ::testing::AssertionFailure() << "record " << r + 1 << ": " << raw[r].size()
                                                 << " bytes for items of " << size << " bytes";
        size_t at = 0;
        for (size_t k = 0; k < formatted[r].size(); ++k) {
            const CrvItem& item = formatted[r][k];
            if (item.isInt) {
                int32_t v = 0;
                std::memcpy(&v, raw[r].data() + at, 4);
                at += 4;
                if (v != item.i)
                    return ::testing::AssertionFailure() << "record " << r + 1 << " item " << k + 1 << ": " << v
                                                         << " against " << item.i;
            } else {
                double v = 0.0;
                std::memcpy(&v, raw[r].data() + at, 8);
                at += 8;
                if (!(std::fabs(v - item.r) <= item.halfUnit * (1.0 + 1e-9)))
                    return ::testing::AssertionFailure() << "record " << r + 1 << " item " << k + 1 << ": " << v
                                                         << " against " << item.r;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kaldo::test
