// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_edit.h"

namespace zenbalo {

namespace {

int selectedPosition(const AppSettings &settings) {
    return settings.currentGroup >= 0 && settings.currentGroup < kGroups
               ? settings.groupListIndex[static_cast<size_t>(settings.currentGroup)]
               : -1;
}

std::optional<int> select(AppSettings &settings, std::optional<int> position) {
    if (position)
        settings.groupListIndex[static_cast<size_t>(settings.currentGroup)] = static_cast<int16_t>(*position);
    return position;
}

} // namespace

bool hasSelectedMachine(const Library &library, const AppSettings &settings) {
    return settings.currentGroup >= 0 && settings.currentGroup < kGroups &&
           library.group(settings.currentGroup).holds(selectedPosition(settings));
}

bool nameStoredElsewhere(const Library &library, const AppSettings &settings, std::string_view name) {
    return library.nameStoredElsewhere(name, settings.currentGroup, selectedPosition(settings));
}

std::optional<int> insertSelected(Library &library, AppSettings &settings, MachineRecord record) {
    return select(settings, library.InsertMachine(settings.currentGroup, std::move(record)));
}

std::optional<int> removeSelected(Library &library, AppSettings &settings) {
    const int position = selectedPosition(settings);
    if (!library.RemoveMachine(settings.currentGroup, position))
        return std::nullopt;
    select(settings, library.group(settings.currentGroup).count() > 0 ? 0 : -1);
    return position;
}

std::optional<int> updateSelected(Library &library, AppSettings &settings, MachineRecord record) {
    return select(settings, library.updateMachine(settings.currentGroup, selectedPosition(settings), std::move(record)));
}

std::optional<int> putBack(Library &library, AppSettings &settings, const CutMachine &cut) {
    if (cut.group < 0 || cut.group >= kGroups)
        return std::nullopt;
    const bool empty = library.group(cut.group).count() == 0;
    const std::optional<int> position = library.InsertMachine(cut.group, cut.record);
    if (!position)
        return std::nullopt;
    int16_t &selected = settings.groupListIndex[static_cast<size_t>(cut.group)];
    if (empty)
        selected = 0;
    else if (selected >= *position)
        ++selected;
    return position;
}

} // namespace zenbalo
