// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zenbalo {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;

    bool operator==(const CalendarDate &) const = default;
};

// A date in a short-date pattern: "yyyy" the year in four digits, "yy" its last
// two, "MM"/"dd" month and day in two digits, "M"/"d" without a leading zero;
// text in single quotes and every other character are copied ("''" is a quote).
// Month and day names are not offered: longer runs of M or d print two digits;
// three or more y print the full year, fewer its last two digits.
std::string formatShortDate(const CalendarDate &date, std::string_view pattern = "yyyy/MM/dd");

} // namespace zenbalo
