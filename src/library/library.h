// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

inline constexpr int kGroups = 7;
inline constexpr int kMaxMachines = 2047;

// List order: ascending, ignoring the case of ASCII and full-width Latin
// letters, otherwise by code point.
bool nameLess(const std::string &a, const std::string &b);

class Library;

// One of the seven groups as its list shows it: machines by list position.
// A view: valid while the library lives and is not changed.
class MachineGroup {
public:
    const std::string &title() const;
    int count() const;
    // True for a position of the list, false for -1 (none selected) and beyond.
    bool holds(int position) const { return position >= 0 && position < count(); }
    // The name and the machine at a list position; empty outside the list.
    const std::string &name(int position) const;
    MachineRecord machine(int position) const;
    std::vector<std::string> names() const;

private:
    friend class Library;
    MachineGroup(const Library &library, int group) : library_(library), group_(group) {}

    const Library &library_;
    int group_;
};

// The machine library: seven titled groups of at most kMaxMachines machines
// together. Its rule is its own: every machine is 16 consecutive strings, the
// groups stand back to back from group 0 on, the counts add up to the
// strings, and each group is in list order (nameLess; names equal but for
// case in stored order), so a list position finds its machine. Every
// operation keeps the rule; a refused one changes nothing.
class Library {
public:
    Library() = default;

    // A library from the parts of a file, each group put into list order.
    // nullopt when the counts do not fit or the strings are not as many as
    // they promise (see stringCount).
    static std::optional<Library> fromParts(std::array<std::string, kGroups> titles,
                                            const std::array<int16_t, kGroups> &counts,
                                            std::vector<std::string> machineStrings);
    // How many strings the machines of these counts take; nullopt when a
    // count is negative or the machines are more than kMaxMachines.
    static std::optional<size_t> stringCount(const std::array<int16_t, kGroups> &counts);

    // Group 0 to 6.
    MachineGroup group(int group) const { return {*this, group}; }
    const std::array<std::string, kGroups> &groupTitles() const { return groupTitles_; }
    const std::array<int16_t, kGroups> &groupCounts() const { return groupCounts_; }
    // Every string of every machine in the order of the file.
    const std::vector<std::string> &machineStrings() const { return machineStrings_; }
    int machineCount() const;
    bool libraryFull() const { return machineCount() >= kMaxMachines; }

    void setTitle(int group, std::string title);

    // Exact comparison: names equal but for case are different machines.
    bool nameStored(std::string_view name) const;
    // The same, leaving out the machine at a list position of a group.
    bool nameStoredElsewhere(std::string_view name, int group, int position) const;

    // Adds the machine to a group after every name it equals or equals but for
    // case. Returns its list position; nullopt when the library is full or
    // the name is stored already.
    std::optional<int> InsertMachine(int group, MachineRecord record);
    // Removes the machine at a list position and returns it whole; nullopt
    // outside the list.
    std::optional<MachineRecord> RemoveMachine(int group, int position);
    // Stores the record over the machine at a list position; a changed name
    // moves it to its sorted place. Returns its list position; nullopt
    // outside the list or when another machine has the name.
    std::optional<int> updateMachine(int group, int position, MachineRecord record);

    bool operator==(const Library &) const = default;

private:
    friend class MachineGroup;
    using StringIt = std::vector<std::string>::iterator;

    bool validGroup(int group) const { return group >= 0 && group < kGroups; }
    bool holds(int group, int position) const;
    // Index in machineStrings of field 0 of the machine at a list position.
    int MachineStartIndex(int group, int position) const;
    StringIt recordAt(int group, int position);
    int sortedPosition(int group, const std::string &name, int skip) const;
    void sortGroups();

    std::array<std::string, kGroups> groupTitles_;
    std::array<int16_t, kGroups> groupCounts_{};
    std::vector<std::string> machineStrings_;
};

// A few generic machines so that a first start shows a real calculation.
Library sampleLibrary();

} // namespace zenbalo
