// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/format.h"

#include "common/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace zenbalo {

namespace {

struct Pattern {
    int requiredIntegerDigits = 0;
    int decimals = 0;
    bool point = false;
};

Pattern parsePattern(std::string_view pattern) {
    Pattern p;
    const size_t dot = pattern.find('.');
    const std::string_view integerPart = pattern.substr(0, dot);
    for (char c : integerPart)
        p.requiredIntegerDigits += c == '0';
    if (dot != std::string_view::npos) {
        p.point = true;
        p.decimals = static_cast<int>(pattern.size() - dot - 1);
    }
    return p;
}

constexpr int kSignificant = 15;

// |value| rounded half away from zero to `decimals` places, as the digit string
// of |value| * 10^decimals without leading zeros ("" for zero).
std::string scaledDigits(double value, int decimals) {
    // "d.ddddddddddddddde+x": the value to 15 significant digits.
    char text[40];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific, kSignificant - 1);
    if (ec != std::errc())
        return "";
    char mantissa[kSignificant];
    mantissa[0] = text[0];
    std::memcpy(mantissa + 1, text + 2, kSignificant - 1);
    const char *exponentText = std::find(text, end, 'e') + 1;
    if (*exponentText == '+')
        ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, end, exponent);

    // Digit i of the mantissa has place value 10^(exponent - i); keep those
    // down to 10^-decimals.
    const long keep = static_cast<long>(exponent) + decimals + 1;
    std::string digits;
    if (keep <= 0) {
        if (keep == 0 && mantissa[0] >= '5')
            digits = "1";
    } else if (keep >= kSignificant) {
        digits.reserve(static_cast<size_t>(keep));
        digits.append(mantissa, kSignificant);
        digits.append(static_cast<size_t>(keep - kSignificant), '0');
    } else {
        digits.assign(mantissa, static_cast<size_t>(keep));
        if (mantissa[keep] >= '5') {
            long i = keep - 1;
            while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
                digits[static_cast<size_t>(i--)] = '0';
            if (i < 0)
                digits.insert(digits.begin(), '1');
            else
                ++digits[static_cast<size_t>(i)];
        }
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    return digits;
}

} // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    const Pattern p = parsePattern(pattern);
    const std::string digits = scaledDigits(value, p.decimals);
    const size_t decimals = static_cast<size_t>(p.decimals);
    const size_t required = static_cast<size_t>(p.requiredIntegerDigits);
    // The last `decimals` digits are the fraction, zeros filling in front.
    const size_t integerDigits = digits.size() > decimals ? digits.size() - decimals : 0;

    std::string out;
    out.reserve(1 + std::max(integerDigits, required) + 1 + decimals);
    if (value < 0 && !digits.empty())
        out += '-';
    if (integerDigits < required)
        out.append(required - integerDigits, '0');
    out.append(digits, 0, integerDigits);
    if (p.point && decimals > 0) {
        out += '.';
        out.append(decimals - (digits.size() - integerDigits), '0');
        out.append(digits, integerDigits);
    }
    return out;
}

std::string formatYen(double amount) { return std::string(kYen) + formatNumber(amount, "###0"); }

std::string formatYen(std::int64_t amount) { return std::string(kYen) + std::to_string(amount); }

} // namespace zenbalo
