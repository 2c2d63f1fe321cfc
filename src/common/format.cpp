#include "common/format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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

// |value| rounded half away from zero to `decimals` places, as the digit string
// of |value| * 10^decimals without leading zeros ("" for zero).
std::string scaledDigits(double value, int decimals) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    if (ec != std::errc())
        return "";
    const std::string_view text(buffer, end - buffer);
    const size_t e = text.find('e');
    std::string mantissa;
    for (char c : text.substr(0, e))
        if (c != '.')
            mantissa += c;
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());

    // Digit i of the mantissa has place value 10^(exponent - i); keep those
    // down to 10^-decimals.
    const long keep = static_cast<long>(exponent) + decimals + 1;
    std::string digits;
    if (keep <= 0) {
        digits = (keep == 0 && mantissa[0] >= '5') ? "1" : "";
    } else if (keep >= static_cast<long>(mantissa.size())) {
        digits = mantissa + std::string(keep - mantissa.size(), '0');
    } else {
        digits = mantissa.substr(0, keep);
        if (mantissa[keep] >= '5') {
            long i = static_cast<long>(digits.size()) - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i < 0)
                digits.insert(digits.begin(), '1');
            else
                ++digits[i];
        }
    }
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "" : digits.substr(first);
}

} // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    const Pattern p = parsePattern(pattern);
    std::string digits = scaledDigits(value, p.decimals);
    const bool negative = value < 0 && !digits.empty();

    if (digits.size() < static_cast<size_t>(p.decimals))
        digits.insert(0, p.decimals - digits.size(), '0');
    std::string integerPart = digits.substr(0, digits.size() - p.decimals);
    const std::string fraction = digits.substr(digits.size() - p.decimals);
    if (integerPart.size() < static_cast<size_t>(p.requiredIntegerDigits))
        integerPart.insert(0, p.requiredIntegerDigits - integerPart.size(), '0');

    std::string out = negative ? "-" : "";
    out += integerPart;
    if (p.point && p.decimals > 0)
        out += "." + fraction;
    return out;
}

} // namespace zenbalo
