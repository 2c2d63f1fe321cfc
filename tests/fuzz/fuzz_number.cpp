// SPDX-License-Identifier: GPL-3.0-or-later
// The number reader of the boxes, the integer conversions and the plain
// decimal writer of the files.
#include "common/number.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <limits>

using namespace zenbalo;
using zenbalo::fuzz::check;

namespace {

// Half to even worked out on the fraction, independently of the rounding mode.
double halfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

template <typename Int> void convertsExactly(std::optional<Int> converted, double value) {
    if (!std::isfinite(value)) {
        check(!converted, "an endless value converts to nothing");
        return;
    }
    const double want = halfEven(value);
    const bool fits = want >= static_cast<double>(std::numeric_limits<Int>::min()) &&
                      want <= static_cast<double>(std::numeric_limits<Int>::max());
    check(converted.has_value() == fits, "a conversion exists exactly when the rounded value fits");
    if (converted)
        check(static_cast<double>(*converted) == want, "a conversion rounds half to even");
}

void readsText(std::string_view text) {
    const double value = leadingNumber(text);
    check(!std::isnan(value), "the leading number is a number");
    check(value >= 0, "the leading number is never negative");
    convertsExactly(toInt16(value), value);
    convertsExactly(toInt32(value), value);

    // The two readers agree on a bare decimal, where both rules apply.
    const bool bare = !text.empty() && text.find_first_not_of("0123456789.") == std::string_view::npos &&
                      text.find_first_of("0123456789") != std::string_view::npos && text.find('.') == text.rfind('.');
    if (bare) {
        const auto strict = parseFileNumber(text);
        check(strict.has_value() == std::isfinite(value), "a bare decimal reads in a file when it is finite");
        if (strict)
            check(*strict == value, "a bare decimal reads the same in a box and in a file");
    }
    if (const auto strict = parseFileNumber(text))
        check(std::isfinite(*strict), "a file number is finite");
}

void writesDouble(double value) {
    convertsExactly(toInt16(value), value);
    convertsExactly(toInt32(value), value);
    if (!std::isfinite(value))
        return;
    const std::string text = plainDecimal(value);
    check(text.find_first_not_of("-0123456789.") == std::string::npos, "a plain decimal has no exponent");
    const auto back = parseFileNumber(text);
    check(back.has_value(), "a plain decimal reads back in a file");
    check(*back == value, "a plain decimal reads back as the same double");
    // A saved rotation rate goes into a box and is read from there.
    if (value >= 0)
        check(leadingNumber(text) == value, "a plain decimal reads back as the same double in a box");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view input = fuzz::bytesOf(data, size);
    readsText(input);
    writesDouble(fuzz::takeValue<double>(input));
    return 0;
}
