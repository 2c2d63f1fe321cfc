// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"
#include "library/library.h"
#include "library/settings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

// The rules by which the edit commands change the library. Each group is in
// list order (nameLess; names equal but for case in stored order) as the
// library reader leaves it; the insertions rely on that and keep it, so the
// window's lists follow by inserting or removing the single entry at the
// positions returned here. A refused operation changes nothing.

// Exact comparison: names equal but for case are different machines.
bool nameStored(const Library &library, std::string_view name);
// The same, leaving out the current group's selected machine, which Update
// may store under its own name again.
bool nameStoredElsewhere(const Library &library, const AppSettings &settings, std::string_view name);
bool libraryFull(const Library &library);
// Update, Delete and Cut act only on a selected list position, whatever its name.
bool hasSelectedMachine(const Library &library, const AppSettings &settings);

// Adds the record to the current group after every name it equals or equals
// but for case, and selects it. Returns its list position; nullopt when the
// library is full or the name is stored already.
std::optional<int> InsertMachine(Library &library, AppSettings &settings, MachineRecord record);

// Removes the current group's selected machine and selects the group's first
// machine, or none when the group is now empty. Returns the removed list
// position; nullopt without a selection.
std::optional<int> RemoveMachine(Library &library, AppSettings &settings);

// Stores the record over the current group's selected machine; a changed name
// moves it to its sorted place, where it stays selected. Returns its list
// position; nullopt without a selection or when another machine has the name.
std::optional<int> updateMachine(Library &library, AppSettings &settings, MachineRecord record);

// Brings each group's records into the order of its list: the k-th entry of a
// name takes the k-th stored record of that name in the group. Records no
// entry asks for follow in stored order, so a record is never lost or doubled
// even when names repeat or a list disagrees with its group.
void ReorderMachineStrings(Library &library, const std::array<std::vector<std::string>, kGroups> &lists);

} // namespace zenbalo
