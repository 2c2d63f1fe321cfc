// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/number.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zenbalo {

namespace {

bool isSpaceOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

double decimalValue(const std::string &digits) {
    if (digits.empty() || digits == ".")
        return 0.0;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        // Out of range is either far too large or so small it is zero.
        return digits.find_first_of("123456789") < digits.find('.') ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

template <typename Int> std::optional<Int> roundToInt(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // default mode: halves to even
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

double leadingNumber(std::string_view text) {
    std::string digits;
    bool point = false;
    for (char c : text) {
        if (isSpaceOrLineEnd(c))
            continue;
        if (isDigit(c)) {
            digits += c;
        } else if (c == '.' && !point) {
            point = true;
            digits += c;
        } else {
            break;
        }
    }
    return decimalValue(digits);
}

std::optional<int16_t> toInt16(double value) { return roundToInt<int16_t>(value); }
std::optional<int32_t> toInt32(double value) { return roundToInt<int32_t>(value); }

std::string plainDecimal(double value) {
    char buffer[400];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc())
        return "0";
    std::string text(buffer, ptr);
    return text == "-0" ? "0" : text;
}

std::optional<double> parseFileNumber(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isSpaceOrLineEnd(text[begin]))
        ++begin;
    while (end > begin && isSpaceOrLineEnd(text[end - 1]))
        --end;
    std::string_view s = text.substr(begin, end - begin);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    size_t digitCount = 0, points = 0;
    for (char c : s) {
        if (isDigit(c))
            ++digitCount;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digitCount == 0 || points > 1)
        return std::nullopt;
    const double value = decimalValue(std::string(s));
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace zenbalo
