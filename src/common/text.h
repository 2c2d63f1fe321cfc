// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

// Yen amounts on screen carry the yen sign; files hold it as the byte 0x5C.
inline constexpr std::string_view kYen = "\u00A5";

// Decodes the UTF-8 sequence at `i` and moves past it. A malformed byte stands
// for itself, so that any text still splits and still has a total order.
char32_t nextCodePoint(std::string_view text, size_t &i);

// Well-formed UTF-8: no stray or missing continuation byte, no overlong form,
// surrogate or code point beyond U+10FFFF.
bool isValidUtf8(std::string_view text);

// Splits UTF-8 text into its characters.
std::vector<std::string_view> utf8Characters(std::string_view text);

} // namespace zenbalo
