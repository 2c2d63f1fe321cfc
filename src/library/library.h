// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zenbalo {

inline constexpr int kGroups = 7;
inline constexpr int kMaxMachines = 2047;

// The machine library: seven titled groups; every machine as 16 consecutive
// strings, group 0 first, each group in the order of its sorted list.
struct Library {
    std::array<std::string, kGroups> groupTitles;
    std::array<int16_t, kGroups> groupCounts{};
    std::vector<std::string> machineStrings;

    int machineCount() const;
    // Highest index of machineStrings as the file format counts it: 16 N - 1,
    // or 0 for an empty library.
    int16_t libraryUpperIndex() const;
    // Index in machineStrings of field 0 of the group's first machine.
    int groupStart(int group) const;
    MachineRecord machine(int group, int position) const;
    // Index in machineStrings of field 0 of the machine at a list position of
    // a group; a position of -1 (none selected) stands for the first machine.
    int16_t MachineStartIndex(int group, int listIndex) const;
    std::vector<std::string> names(int group) const;

    bool operator==(const Library &) const = default;
};

// List order: ascending, ignoring the case of ASCII and full-width Latin
// letters, otherwise by code point.
bool nameLess(const std::string &a, const std::string &b);

// Puts each group's machines into list order; names equal but for case keep
// their stored order.
void sortGroups(Library &library);

// A few generic machines so that a first start shows a real calculation.
Library sampleLibrary();

} // namespace zenbalo
