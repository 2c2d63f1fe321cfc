// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_edit.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace zenbalo {

namespace {

using StringIt = std::vector<std::string>::iterator;

bool validGroup(const AppSettings &settings) { return settings.currentGroup >= 0 && settings.currentGroup < kGroups; }

StringIt recordAt(Library &library, int group, int position) {
    return library.machineStrings.begin() + library.groupStart(group) + kMachineFields * position;
}

// The list position that a name takes in a group in list order: after every
// name it equals or equals but for case, as a binary search over the names.
// The record at `skip` (if not -1) is left out of the list.
int sortedPosition(const Library &library, int group, const std::string &name, int skip) {
    const size_t start = static_cast<size_t>(library.groupStart(group));
    const auto nameAt = [&](int i) -> const std::string & {
        const int stored = skip >= 0 && i >= skip ? i + 1 : i;
        return library.machineStrings[start + static_cast<size_t>(kMachineFields * stored)];
    };
    int low = 0;
    int high = library.groupCounts[group] - (skip >= 0 ? 1 : 0);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (nameLess(name, nameAt(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// Index of field 0 of the current group's selected machine, or -1.
int selectedStart(const Library &library, const AppSettings &settings) {
    if (!hasSelectedMachine(library, settings))
        return -1;
    return library.groupStart(settings.currentGroup) + kMachineFields * settings.groupListIndex[settings.currentGroup];
}

bool nameStoredExcept(const Library &library, std::string_view name, int skipStart) {
    for (size_t k = 0; k < library.machineStrings.size(); k += kMachineFields)
        if (static_cast<int>(k) != skipStart && library.machineStrings[k] == name)
            return true;
    return false;
}

} // namespace

bool nameStored(const Library &library, std::string_view name) { return nameStoredExcept(library, name, -1); }

bool nameStoredElsewhere(const Library &library, const AppSettings &settings, std::string_view name) {
    return nameStoredExcept(library, name, selectedStart(library, settings));
}

bool libraryFull(const Library &library) { return library.machineCount() >= kMaxMachines; }

bool hasSelectedMachine(const Library &library, const AppSettings &settings) {
    if (!validGroup(settings))
        return false;
    const int selected = settings.groupListIndex[settings.currentGroup];
    return selected >= 0 && selected < library.groupCounts[settings.currentGroup];
}

std::optional<int> InsertMachine(Library &library, AppSettings &settings, MachineRecord record) {
    if (!validGroup(settings) || libraryFull(library) || nameStored(library, record[0]))
        return std::nullopt;
    const int group = settings.currentGroup;
    const int position = sortedPosition(library, group, record[0], -1);
    library.machineStrings.insert(recordAt(library, group, position), std::make_move_iterator(record.begin()),
                                  std::make_move_iterator(record.end()));
    ++library.groupCounts[group];
    settings.groupListIndex[group] = static_cast<int16_t>(position);
    return position;
}

std::optional<int> RemoveMachine(Library &library, AppSettings &settings) {
    if (!hasSelectedMachine(library, settings))
        return std::nullopt;
    const int group = settings.currentGroup;
    const int position = settings.groupListIndex[group];
    const StringIt first = recordAt(library, group, position);
    library.machineStrings.erase(first, first + kMachineFields);
    --library.groupCounts[group];
    settings.groupListIndex[group] = static_cast<int16_t>(library.groupCounts[group] > 0 ? 0 : -1);
    return position;
}

std::optional<int> updateMachine(Library &library, AppSettings &settings, MachineRecord record) {
    if (!hasSelectedMachine(library, settings) || nameStoredElsewhere(library, settings, record[0]))
        return std::nullopt;
    const int group = settings.currentGroup;
    const int old = settings.groupListIndex[group];
    const StringIt first = recordAt(library, group, old);
    int position = old;
    // The records between the old and the new place shift by one record; a
    // move each is cheaper than the swaps of a rotation.
    if (*first != record[0]) {
        position = sortedPosition(library, group, record[0], old);
        if (position < old)
            std::move_backward(recordAt(library, group, position), first, first + kMachineFields);
        else if (position > old)
            std::move(first + kMachineFields, recordAt(library, group, position + 1), first);
    }
    std::move(record.begin(), record.end(), recordAt(library, group, position));
    settings.groupListIndex[group] = static_cast<int16_t>(position);
    return position;
}

void ReorderMachineStrings(Library &library, const std::array<std::vector<std::string>, kGroups> &lists) {
    for (int g = 0; g < kGroups; ++g) {
        if (library.names(g) == lists[g])
            continue;
        const size_t count = static_cast<size_t>(library.groupCounts[g]);
        const StringIt start = recordAt(library, g, 0);
        const auto at = [&](size_t i) { return start + static_cast<std::ptrdiff_t>(kMachineFields * i); };

        struct Stored {
            std::vector<size_t> positions;
            size_t taken = 0;
        };
        std::unordered_map<std::string_view, Stored> byName;
        for (size_t i = 0; i < count; ++i)
            byName[*at(i)].positions.push_back(i);

        // order[k]: the stored position of the record that goes to list position k.
        std::vector<size_t> order;
        std::vector<bool> placed(count, false);
        for (const std::string &entry : lists[g]) {
            const auto found = byName.find(entry);
            if (found == byName.end() || found->second.taken == found->second.positions.size())
                continue;
            order.push_back(found->second.positions[found->second.taken++]);
            placed[order.back()] = true;
        }
        for (size_t i = 0; i < count; ++i)
            if (!placed[i])
                order.push_back(i);

        // Applied cycle by cycle, so that each string moves once and no
        // second copy of a large group is needed.
        std::vector<bool> done(count, false);
        for (size_t i = 0; i < count; ++i) {
            if (done[i])
                continue;
            MachineRecord held;
            std::move(at(i), at(i + 1), held.begin());
            size_t to = i;
            for (size_t from = order[i]; from != i; from = order[to]) {
                std::move(at(from), at(from + 1), at(to));
                done[to] = true;
                to = from;
            }
            std::move(held.begin(), held.end(), at(to));
            done[to] = true;
        }
    }
}

} // namespace zenbalo
