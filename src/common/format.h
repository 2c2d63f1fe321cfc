// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zenbalo {

// Display patterns such as "###0.000", "###0", "###.000" and "###": "0" is a
// required digit, "#" an optional one; no grouping. The double is first taken
// to 15 significant digits, then rounded half away from zero, so 0.285 shown
// with two decimals is 0.29 as a player computes it by hand. Works on decimal
// digits, so values beyond any integer type print in full.
std::string formatNumber(double value, std::string_view pattern);

// A yen amount as every window shows it: "¥-14400".
std::string formatYen(double amount);
std::string formatYen(std::int64_t amount);

} // namespace zenbalo
