// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/record_date.h"

#include <vector>

namespace zenbalo {

namespace {

enum class Field { Text, Year2, Year4, Month, Day };

struct Token {
    Field field = Field::Text;
    std::string text;
};

// The pattern's pieces, read as formatShortDate writes them.
std::vector<Token> tokens(std::string_view pattern) {
    std::vector<Token> out;
    auto literal = [&out](char c) {
        if (out.empty() || out.back().field != Field::Text)
            out.push_back({});
        out.back().text += c;
    };
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            ++i;
            if (i < pattern.size() && pattern[i] == '\'') {
                literal('\'');
                ++i;
                continue;
            }
            while (i < pattern.size()) {
                if (pattern[i] != '\'') {
                    literal(pattern[i++]);
                } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                    literal('\'');
                    i += 2;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (c == 'y')
            out.push_back({run >= 3 ? Field::Year4 : Field::Year2, {}});
        else if (c == 'M')
            out.push_back({Field::Month, {}});
        else if (c == 'd')
            out.push_back({Field::Day, {}});
        else
            for (size_t k = 0; k < run; ++k)
                literal(c);
        i += run;
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number of `width` digits at `at`, or -1.
int digitsAt(std::string_view text, size_t at, size_t width) {
    if (at + width > text.size())
        return -1;
    int value = 0;
    for (size_t k = 0; k < width; ++k) {
        if (!isDigit(text[at + k]))
            return -1;
        value = value * 10 + (text[at + k] - '0');
    }
    return value;
}

// Matches the tokens from `t` against the text from `at`; a month or day
// tries two digits, then one, until the whole text is a day of the calendar.
bool match(const std::vector<Token> &pattern, size_t t, std::string_view text, size_t at, CalendarDate &date) {
    if (t == pattern.size())
        return at == text.size() && isCalendarDay(date);
    const Token &token = pattern[t];
    switch (token.field) {
    case Field::Text:
        return text.substr(at).starts_with(token.text) && match(pattern, t + 1, text, at + token.text.size(), date);
    case Field::Year2:
    case Field::Year4: {
        const size_t width = token.field == Field::Year4 ? 4 : 2;
        const int year = digitsAt(text, at, width);
        date.year = width == 2 ? 2000 + year : year;
        return year >= 0 && match(pattern, t + 1, text, at + width, date);
    }
    case Field::Month:
    case Field::Day:
        for (size_t width : {size_t{2}, size_t{1}}) {
            const int value = digitsAt(text, at, width);
            (token.field == Field::Month ? date.month : date.day) = value;
            if (value >= 0 && match(pattern, t + 1, text, at + width, date))
                return true;
        }
        return false;
    }
    return false;
}

bool isSeparator(char c) { return c == '/' || c == '-' || c == '.'; }

// year/month/day, each separator any of the three.
std::optional<CalendarDate> readYearMonthDay(std::string_view text) {
    int parts[3] = {};
    size_t widths[3] = {};
    size_t at = 0;
    for (size_t k = 0; k < 3; ++k) {
        if (k > 0 && (at >= text.size() || !isSeparator(text[at++])))
            return std::nullopt;
        size_t n = 0;
        while (at + n < text.size() && n < 5 && isDigit(text[at + n]))
            ++n;
        if (n == 0 || n > 4)
            return std::nullopt;
        parts[k] = digitsAt(text, at, n);
        widths[k] = n;
        at += n;
    }
    if (at != text.size() || (widths[0] != 2 && widths[0] != 4) || widths[1] > 2 || widths[2] > 2)
        return std::nullopt;
    return CalendarDate{widths[0] == 2 ? 2000 + parts[0] : parts[0], parts[1], parts[2]};
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string padded(int value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

} // namespace

bool isCalendarDay(const CalendarDate &date) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1)
        return false;
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    return date.day <= kDays[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
}

std::optional<CalendarDate> readRecordDate(std::string_view text, std::string_view pattern) {
    text = trimmed(text);
    CalendarDate date;
    if (match(tokens(pattern), 0, text, 0, date))
        return date;
    const auto plain = readYearMonthDay(text);
    if (plain && isCalendarDay(*plain))
        return plain;
    return std::nullopt;
}

std::string isoDate(const CalendarDate &date) {
    return padded(date.year, 4) + "-" + padded(date.month, 2) + "-" + padded(date.day, 2);
}

std::optional<CalendarDate> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const CalendarDate date{digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2)};
    if (!isCalendarDay(date))
        return std::nullopt;
    return date;
}

} // namespace zenbalo
