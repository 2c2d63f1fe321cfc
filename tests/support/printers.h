// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/library.h"
#include "library/settings.h"

#include <ostream>

namespace zenbalo {

// Readable failure messages instead of raw object bytes.
inline void PrintTo(const Library &library, std::ostream *os) {
    *os << "{titles:";
    for (const std::string &title : library.groupTitles)
        *os << " \"" << title << "\"";
    *os << "; counts:";
    for (int16_t count : library.groupCounts)
        *os << " " << count;
    *os << "; " << library.machineStrings.size() << " strings:";
    for (size_t i = 0; i < library.machineStrings.size() && i < 64; ++i)
        *os << " \"" << library.machineStrings[i] << "\"";
    *os << (library.machineStrings.size() > 64 ? " ...}" : "}");
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
