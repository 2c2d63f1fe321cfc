// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/library.h"
#include "library/settings.h"

#include <ostream>

namespace zenbalo {

// Readable failure messages instead of raw object bytes.
inline void PrintTo(const Library &library, std::ostream *os) {
    *os << "{titles:";
    for (const std::string &title : library.groupTitles())
        *os << " \"" << title << "\"";
    *os << "; counts:";
    for (int16_t count : library.groupCounts())
        *os << " " << count;
    const std::vector<std::string> &strings = library.machineStrings();
    *os << "; " << strings.size() << " strings:";
    for (size_t i = 0; i < strings.size() && i < 64; ++i)
        *os << " \"" << strings[i] << "\"";
    *os << (strings.size() > 64 ? " ...}" : "}");
}

inline void PrintTo(const AppSettings &s, std::ostream *os) {
    *os << "{groupListIndex:";
    for (int16_t index : s.groupListIndex)
        *os << " " << index;
    *os << "; rate " << s.rateListIndex << "; group " << s.currentGroup << "; rotations " << s.savedTotalRotations
        << "; reserved:";
    for (int16_t value : s.reserved)
        *os << " " << value;
    *os << "; rotation rate " << s.savedRotationRate << "}";
}

} // namespace zenbalo
