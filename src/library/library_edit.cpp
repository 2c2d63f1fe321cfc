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
    const bool renamed = *first != record[0];
    std::move(record.begin(), record.end(), first);
    if (!renamed)
        return old;
    // The other records keep their order, so moving this one is a rotation
    // of the records between its old and its new place.
    const int position = sortedPosition(library, group, *first, old);
    if (position < old)
        std::rotate(recordAt(library, group, position), first, first + kMachineFields);
    else if (position > old)
        std::rotate(first, first + kMachineFields, recordAt(library, group, position + 1));
    settings.groupListIndex[group] = static_cast<int16_t>(position);
    return position;
}

void ReorderMachineStrings(Library &library, const std::array<std::vector<std::string>, kGroups> &lists) {
    for (int g = 0; g < kGroups; ++g) {
        const int count = library.groupCounts[g];
        if (library.names(g) == lists[g])
            continue;
        const StringIt start = recordAt(library, g, 0);

        struct Stored {
            std::vector<int> positions;
            size_t taken = 0;
        };
        std::unordered_map<std::string_view, Stored> byName;
        for (int i = 0; i < count; ++i)
            byName[*(start + kMachineFields * i)].positions.push_back(i);

        std::vector<int> order;
        std::vector<bool> placed(static_cast<size_t>(count), false);
        for (const std::string &entry : lists[g]) {
            const auto found = byName.find(entry);
            if (found == byName.end() || found->second.taken == found->second.positions.size())
                continue;
            const int i = found->second.positions[found->second.taken++];
            order.push_back(i);
            placed[static_cast<size_t>(i)] = true;
        }
        for (int i = 0; i < count; ++i)
            if (!placed[static_cast<size_t>(i)])
                order.push_back(i);

        std::vector<std::string> reordered;
        reordered.reserve(static_cast<size_t>(kMachineFields * count));
        for (const int i : order)
            std::move(start + kMachineFields * i, start + kMachineFields * (i + 1), std::back_inserter(reordered));
        std::move(reordered.begin(), reordered.end(), start);
    }
}

} // namespace zenbalo
