// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/short_date.h"

#include <optional>
#include <string>
#include <string_view>

namespace zenbalo {

// The date of a record's first line. First read in `pattern`, the short-date
// pattern the program writes with (see formatShortDate; a month or day reads
// with one or two digits either way), then as year/month/day: a year of 2
// digits (20yy) or 4, a month and day of 1 or 2, separated by "/", "-" or
// ".". Blanks around the date do not matter. nullopt for any other text and
// for a day the calendar does not have.
std::optional<CalendarDate> readRecordDate(std::string_view text, std::string_view pattern);

bool isCalendarDay(const CalendarDate &date);

// "yyyy-MM-dd", which sorts as the dates do.
std::string isoDate(const CalendarDate &date);
std::optional<CalendarDate> parseIsoDate(std::string_view text);

} // namespace zenbalo
