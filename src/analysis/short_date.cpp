// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/short_date.h"

namespace zenbalo {

namespace {

std::string padded(int value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

// Copies quoted text from `begin` up to its closing quote, a doubled quote
// standing for one; returns the position after the text.
size_t quoted(std::string_view pattern, size_t begin, std::string &out) {
    if (begin < pattern.size() && pattern[begin] == '\'') {
        out += '\'';
        return begin + 1;
    }
    size_t i = begin;
    while (i < pattern.size()) {
        if (pattern[i] != '\'') {
            out += pattern[i++];
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

} // namespace

std::string formatShortDate(const CalendarDate &date, std::string_view pattern) {
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            i = quoted(pattern, i + 1, out);
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (c == 'y')
            out += run >= 3 ? padded(date.year, 4) : padded(date.year % 100, 2);
        else if (c == 'M')
            out += padded(date.month, run >= 2 ? 2 : 1);
        else if (c == 'd')
            out += padded(date.day, run >= 2 ? 2 : 1);
        else
            out.append(run, c);
        i += run;
    }
    return out;
}

} // namespace zenbalo
