// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_edit.h"

#include "support/builders.h"
#include "support/printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace zenbalo;
using namespace zenbalo::testing;

namespace {

AppSettings selecting(int group, int position) {
    AppSettings settings;
    settings.groupListIndex.fill(-1);
    settings.currentGroup = static_cast<int16_t>(group);
    settings.groupListIndex[group] = static_cast<int16_t>(position);
    return settings;
}

// n machines with distinct names, spread over the groups in list order.
Library libraryOf(int n) {
    GroupRecords groups;
    for (int i = 0; i < n; ++i) {
        const std::string digits = std::to_string(10000 + i);
        groups[i % kGroups].push_back(record("m" + digits, digits));
    }
    return makeLibrary(groups);
}

// The edit rules written the plain way: a vector per group, a name inserted
// before the first name that sorts after it, found by a linear scan.
struct Model {
    GroupRecords groups;
    std::array<int, kGroups> selected{-1, -1, -1, -1, -1, -1, -1};
    int current = 0;

    bool stored(const std::string &name, const MachineRecord *except) const {
        for (const auto &group : groups)
            for (const MachineRecord &r : group)
                if (&r != except && r[0] == name)
                    return true;
        return false;
    }
    int place(const MachineRecord &r, int into) {
        auto &group = groups[into];
        size_t p = 0;
        while (p < group.size() && !nameLess(r[0], group[p][0]))
            ++p;
        group.insert(group.begin() + static_cast<std::ptrdiff_t>(p), r);
        return static_cast<int>(p);
    }
    int place(const MachineRecord &r) { return selected[current] = place(r, current); }
    bool hasSelection() const { return selected[current] >= 0 && selected[current] < std::ssize(groups[current]); }
    // Into any group, leaving every selection as it is.
    std::optional<int> insertInto(int group, const MachineRecord &r) {
        if (stored(r[0], nullptr) || count() >= kMaxMachines)
            return std::nullopt;
        return place(r, group);
    }
    std::optional<int> insert(const MachineRecord &r) {
        if (stored(r[0], nullptr))
            return std::nullopt;
        return place(r);
    }
    int count() const {
        int n = 0;
        for (const auto &group : groups)
            n += static_cast<int>(group.size());
        return n;
    }
    std::optional<int> remove() {
        if (!hasSelection())
            return std::nullopt;
        const int p = selected[current];
        groups[current].erase(groups[current].begin() + p);
        selected[current] = groups[current].empty() ? -1 : 0;
        return p;
    }
    // Back into its group, where the selection follows the selected machine.
    std::optional<int> putBack(const MachineRecord &r, int group) {
        if (stored(r[0], nullptr) || count() >= kMaxMachines)
            return std::nullopt;
        const bool empty = groups[group].empty();
        const int p = place(r, group);
        if (empty)
            selected[group] = 0;
        else if (selected[group] >= p)
            ++selected[group];
        return p;
    }
    std::optional<int> update(const MachineRecord &r) {
        if (!hasSelection())
            return std::nullopt;
        const int p = selected[current];
        MachineRecord &old = groups[current][static_cast<size_t>(p)];
        if (stored(r[0], &old))
            return std::nullopt;
        if (old[0] == r[0]) {
            old = r;
            return p;
        }
        groups[current].erase(groups[current].begin() + p);
        return place(r);
    }
};

} // namespace

TEST(LibraryEdit, Checks) {
    const Library library = makeLibrary(groupsOf("- abc | | x y"));
    AppSettings outOfRange = selecting(0, 0);
    outOfRange.currentGroup = kGroups;
    struct Case {
        std::string name;
        AppSettings settings;
        std::string text;
        bool stored, storedElsewhere, selected;
    };
    const Case cases[] = {
        {"exact name", selecting(2, 0), "y", true, true, true},
        {"the selected machine's own name", selecting(2, 1), "y", true, false, true},
        {"equal but for case", selecting(0, 1), "ABC", false, false, true},
        {"nameless record", selecting(0, 0), "", true, false, true},
        {"no selection", selecting(2, -1), "x", true, true, false},
        {"position beyond the list", selecting(2, 2), "x", true, true, false},
        {"empty group", selecting(1, 0), "abc", true, true, false},
        {"group out of range", outOfRange, "abc", true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(library.nameStored(c.text), c.stored);
        EXPECT_EQ(nameStoredElsewhere(library, c.settings, c.text), c.storedElsewhere);
        EXPECT_EQ(hasSelectedMachine(library, c.settings), c.selected);
    }
    EXPECT_FALSE(libraryOf(kMaxMachines - 1).libraryFull());
    EXPECT_TRUE(libraryOf(kMaxMachines).libraryFull());
}

TEST(LibraryEdit, InsertAndUpdateOrder) {
    struct Case {
        std::string name, before;
        int group, selected; // selected -1: insert, else update this position
        std::string newName, after;
        std::optional<int> want;
    };
    const Case cases[] = {
        {"insert into an empty library", "", 3, -1, "a", "|||a#new", 0},
        {"insert into the middle", "A C", 0, -1, "b", "A b#new C", 1},
        {"insert into group 0 shifts later groups", "a c || x | y", 0, -1, "b", "a b#new c || x | y", 1},
        {"insert into the last group", "a | b", 6, -1, "c", "a | b |||||c#new", 0},
        {"insert after names equal but for case", "abc ABC x", 0, -1, "Abc", "abc ABC Abc#new x", 2},
        {"full-width letters fold too", "Ａ ｂ", 0, -1, "ａ", "Ａ ａ#new ｂ", 1},
        {"empty name first", "a", 0, -1, "", "-#new a", 0},
        {"insert refuses a name of another group", "a | b", 0, -1, "b", "a | b", std::nullopt},
        {"update in place", "a b c", 0, 1, "b", "a b#new c", 1},
        {"rename moves down", "a b c | x", 0, 0, "d", "b c d#new | x", 2},
        {"rename moves up", "a b c | x", 0, 2, "A", "a A#new b | x", 1},
        {"rename in case only", "abc ABC x", 0, 0, "aBC", "ABC aBC#new x", 1},
        {"rename of a nameless record", "- b", 0, 0, "c", "b c#new", 1},
        {"update refuses a name of another machine", "a b | c", 0, 0, "c", "a b | c", std::nullopt},
        {"update refuses without a selection", "a b", 1, 0, "c", "a b", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Library library = makeLibrary(groupsOf(c.before));
        AppSettings settings = selecting(c.group, c.selected);
        const AppSettings unchanged = settings;
        const std::optional<int> got = c.selected < 0 ? insertSelected(library, settings, record(c.newName, "new"))
                                                      : updateSelected(library, settings, record(c.newName, "new"));
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(library, makeLibrary(groupsOf(c.after)));
        AppSettings want = unchanged;
        if (c.want)
            want.groupListIndex[c.group] = static_cast<int16_t>(*c.want);
        EXPECT_EQ(settings, want);
    }

    Library full = libraryOf(kMaxMachines);
    AppSettings settings = selecting(0, 0);
    EXPECT_EQ(insertSelected(full, settings, record("new")), std::nullopt);
    EXPECT_EQ(full, libraryOf(kMaxMachines));
}

TEST(LibraryEdit, Remove) {
    struct Case {
        std::string name, before;
        int group, selected;
        std::string after;
        std::optional<int> want;
        int wantSelected;
    };
    const Case cases[] = {
        {"the only machine", "|| a", 2, 0, "", 0, -1},
        {"from group 0 with later groups", "a b c | x || y", 0, 2, "a b | x || y", 2, 0},
        {"the last of a group", "a | b | c", 1, 0, "a || c", 0, -1},
        {"a nameless record", "- a", 0, 0, "a", 0, 0},
        {"no selection", "a b", 0, -1, "a b", std::nullopt, -1},
        {"position beyond the list", "a b", 0, 2, "a b", std::nullopt, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Library library = makeLibrary(groupsOf(c.before));
        AppSettings settings = selecting(c.group, c.selected);
        EXPECT_EQ(removeSelected(library, settings), c.want);
        EXPECT_EQ(library, makeLibrary(groupsOf(c.after)));
        EXPECT_EQ(settings.groupListIndex[c.group], c.wantSelected);
    }
}

TEST(LibraryEdit, PutBack) {
    struct Case {
        std::string name, before;
        int current, from;
        std::vector<int> selected; // of the first groups, the others -1
        std::string cutName, after;
        std::optional<int> want;
        std::vector<int> wantSelected;
    };
    const auto selections = [](int current, const std::vector<int> &positions) {
        AppSettings settings = selecting(current, -1);
        std::copy(positions.begin(), positions.end(), settings.groupListIndex.begin());
        return settings;
    };
    const Case cases[] = {
        {"before the current group's selection", "a c e", 0, 0, {2}, "b", "a b#cut c e", 1, {3}},
        {"at the selection's place", "a c e", 0, 0, {1}, "b", "a b#cut c e", 1, {2}},
        {"after the selection", "a c e", 0, 0, {0}, "d", "a c d#cut e", 2, {0}},
        {"into another group, the current one untouched", "a c | x z", 0, 1, {1, 1}, "y", "a c | x y#cut z", 1, {1, 2}},
        {"a group the Cut left empty selects it", "a || ", 0, 2, {0, -1, -1}, "m", "a || m#cut", 0, {0, -1, 0}},
        {"no selection stays none", "a c", 1, 0, {-1, -1}, "b", "a b#cut c", 1, {-1, -1}},
        {"its name stored again", "a | b", 0, 1, {0, 0}, "a", "a | b", std::nullopt, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Library library = makeLibrary(groupsOf(c.before));
        AppSettings settings = selections(c.current, c.selected);
        EXPECT_EQ(putBack(library, settings, {record(c.cutName, "cut"), c.from}), c.want);
        EXPECT_EQ(library, makeLibrary(groupsOf(c.after)));
        EXPECT_EQ(settings, selections(c.current, c.wantSelected));
    }
    Library full = libraryOf(kMaxMachines);
    AppSettings settings = selecting(0, 0);
    EXPECT_EQ(putBack(full, settings, {record("new"), 0}), std::nullopt) << "a full library";
    EXPECT_EQ(full, libraryOf(kMaxMachines));
}

// Long runs of the commands against the plain model, including refusals,
// names equal but for case and empty names.
TEST(LibraryEdit, RandomCommandsFollowTheModel) {
    const char *letters[] = {"a", "A", "b", "B", "ａ", "Ａ", "ミ"};
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        int tags = 0;
        const auto randomRecord = [&] {
            std::string name;
            for (int length = below(4); length > 0; --length)
                name += letters[below(7)];
            return record(name, std::to_string(++tags));
        };

        Model model;
        Library library = makeLibrary(model.groups);
        AppSettings settings = selecting(0, -1);
        std::optional<CutMachine> cut;
        // A waiting machine goes back before a Cut or a saving close could
        // lose it; one that cannot is dropped or kept at the player's word.
        const auto putBackOrAsk = [&](std::optional<int> &got, std::optional<int> &want) {
            if (!cut)
                return true;
            got = putBack(library, settings, *cut);
            want = model.putBack(cut->record, cut->group);
            if (!want && below(2))
                return false;
            cut.reset();
            return true;
        };
        for (int step = 0; step < 600; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            std::optional<int> got, want;
            switch (below(9)) {
            case 0:
                model.current = below(kGroups);
                settings.currentGroup = static_cast<int16_t>(model.current);
                break;
            case 1: { // a choice in the list, or a selection of -1 from an old settings file
                const int n = static_cast<int>(model.groups[model.current].size());
                model.selected[model.current] = below(n + 1) - 1;
                settings.groupListIndex[model.current] = static_cast<int16_t>(model.selected[model.current]);
                break;
            }
            case 2:
            case 3: {
                const MachineRecord r = randomRecord();
                got = insertSelected(library, settings, r);
                want = model.insert(r);
                break;
            }
            case 4: {
                MachineRecord r = randomRecord();
                if (below(2) && model.hasSelection())
                    r[0] = model.groups[model.current][static_cast<size_t>(model.selected[model.current])][0];
                got = updateSelected(library, settings, r);
                want = model.update(r);
                break;
            }
            case 5: { // Delete, or Cut when it remembers the boxes, which may hold edits
                if (!model.hasSelection())
                    break;
                MachineRecord shown = model.groups[model.current][static_cast<size_t>(model.selected[model.current])];
                const bool cutting = below(2);
                if (cutting) {
                    if (!putBackOrAsk(got, want))
                        break;
                    ASSERT_EQ(got, want);
                    ASSERT_EQ(library, makeLibrary(model.groups));
                }
                got = removeSelected(library, settings);
                want = model.remove();
                if (cutting) {
                    shown[15] = std::to_string(++tags);
                    cut = CutMachine{shown, model.current};
                }
                break;
            }
            case 6: // Paste, into whatever group is current now
                if (cut) {
                    got = insertSelected(library, settings, cut->record);
                    want = model.insert(cut->record);
                    if (want)
                        cut.reset();
                }
                break;
            case 7: { // a machine added to a group that is not the current one
                const int into = below(kGroups);
                const MachineRecord r = cut && below(2) ? cut->record : randomRecord();
                got = library.InsertMachine(into, r);
                want = model.insertInto(into, r);
                break;
            }
            case 8: // a close answered Yes, which goes on with the session when the save fails
                putBackOrAsk(got, want);
                break;
            }
            ASSERT_EQ(got, want);
            ASSERT_EQ(library, makeLibrary(model.groups));
            for (int g = 0; g < kGroups; ++g)
                ASSERT_EQ(settings.groupListIndex[g], model.selected[g]) << "group " << g;
        }
    }
}
