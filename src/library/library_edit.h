// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"
#include "library/library.h"
#include "library/settings.h"

#include <optional>
#include <string_view>

namespace zenbalo {

// The edit commands on the current group and its selection in AppSettings.
// The library keeps each group in list order, so the window's lists follow by
// inserting or removing the single entry at the positions returned here. A
// refused operation changes nothing.

// Update, Delete and Cut act only on a selected list position, whatever its name.
bool hasSelectedMachine(const Library &library, const AppSettings &settings);
// Library::nameStored, leaving out the current group's selected machine,
// which Update may store under its own name again.
bool nameStoredElsewhere(const Library &library, const AppSettings &settings, std::string_view name);

// Adds the record to the current group and selects it. Returns its list
// position; nullopt when the library is full or the name is stored already.
std::optional<int> insertSelected(Library &library, AppSettings &settings, MachineRecord record);

// Removes the current group's selected machine and selects the group's first
// machine, or none when the group is now empty. Returns the removed list
// position; nullopt without a selection.
std::optional<int> removeSelected(Library &library, AppSettings &settings);

// Stores the record over the current group's selected machine, which stays
// selected at its sorted place. Returns that list position; nullopt without a
// selection or when another machine has the name.
std::optional<int> updateSelected(Library &library, AppSettings &settings, MachineRecord record);

// A machine cut and not yet pasted: the boxes as shown at the Cut, and the
// group it was cut from.
struct CutMachine {
    MachineRecord record{};
    int group = 0;
};

// Puts a waiting cut machine back into the group it was cut from, at its
// sorted place; the current group and the other groups' selections stay.
// That group's selection follows its selected machine, and a group the Cut
// left empty selects the machine put back. Returns its list position;
// nullopt when it cannot go back (its name is stored again, or the library is
// full), and then nothing changes.
std::optional<int> putBack(Library &library, AppSettings &settings, const CutMachine &cut);

} // namespace zenbalo
