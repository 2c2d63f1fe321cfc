// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zenbalo {

// The longest leading decimal number of a text (digits with at most one point).
// Blanks anywhere are ignored ("1 2" reads 12); empty text or text starting with
// anything else reads 0. No sign: the boxes never let one in. A number too large
// for a double reads as +infinity, which every range check rejects.
double leadingNumber(std::string_view text);

// Round half to even and convert; nullopt when the result does not fit.
std::optional<int16_t> toInt16(double value);
std::optional<int32_t> toInt32(double value);

// Shortest plain decimal text that reads back as the same double ("18.5", "20",
// "0.5"); never exponent form, which the leading-number rule would misread.
std::string plainDecimal(double value);

// Strict reading of a number value from a data file: optional sign, digits,
// optional point ("0.5", ".5", "-1"); surrounding blanks allowed.
std::optional<double> parseFileNumber(std::string_view text);

} // namespace zenbalo
