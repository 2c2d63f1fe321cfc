// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library.h"

#include "engine/calculation.h"
#include "support/builders.h"
#include "support/printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace zenbalo;
using namespace zenbalo::testing;

TEST(Library, NameOrder) {
    struct Case {
        std::string a, b;
        bool aLess, bLess;
    };
    const Case cases[] = {
        {"a", "b", true, false},
        {"A", "b", true, false}, // case ignored: A sorts before b
        {"B", "a", false, true},
        {"abc", "ABC", false, false}, // equal but for case
        {"ab", "abc", true, false},   // prefix first
        {"", "a", true, false},
        {"Ｂ", "ａ", false, true}, // full-width letters fold too
        {"ＡＢ", "ａｂ", false, false},
        {"Z", "[", false, true}, // Z compares as z, above [
        {"_", "A", true, false}, // A compares as a, above _
        {"ｚ", "Ａ", false, true},
        {"ア", "イ", true, false}, // otherwise by code point
        {"甘デジ", "ミドル", false, true},
        {"9", "A", true, false},
        {"\u0391", "\u03B1", true, false}, // Greek capital alpha: only Latin letters fold
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(nameLess(c.a, c.b), c.aLess);
        EXPECT_EQ(nameLess(c.b, c.a), c.bLess);
    }
}

TEST(Library, SortGroupsIsStablePerGroup) {
    Library library = makeLibrary({{
        {record("b"), record("A"), record("c")},
        {},
        {record("x", "1"), record("X", "2"), record("w"), record("x", "3")},
        {record("only")},
        {},
        {},
        {record("ｂ"), record("Ａ")},
    }});
    sortGroups(library);
    EXPECT_EQ(library.names(0), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(library.names(2), (std::vector<std::string>{"w", "x", "X", "x"}));
    // Names equal but for case keep their stored order, and whole records move with their names.
    EXPECT_EQ(library.machine(2, 1)[15], "1");
    EXPECT_EQ(library.machine(2, 2)[15], "2");
    EXPECT_EQ(library.machine(2, 3)[15], "3");
    EXPECT_EQ(library.names(3), (std::vector<std::string>{"only"}));
    EXPECT_EQ(library.names(6), (std::vector<std::string>{"Ａ", "ｂ"}));

    const Library sorted = library;
    sortGroups(library);
    EXPECT_EQ(library, sorted);

    // Large enough that an unstable sort would mix up names equal but for case.
    GroupRecords groups;
    std::vector<MachineRecord> wantM, wantN;
    for (int i = 0; i < 100; ++i) {
        const MachineRecord r = record(i % 3 == 0 ? "n" : (i % 2 ? "M" : "m"), std::to_string(i));
        groups[5].push_back(r);
        (r[0] == "n" ? wantN : wantM).push_back(r);
    }
    wantM.insert(wantM.end(), wantN.begin(), wantN.end());
    Library many = makeLibrary(groups);
    sortGroups(many);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(many.machine(5, i), wantM[i]) << "position " << i;
}

// Sorting is skipped for a group in list order, so a single pair out of
// order anywhere must still be found.
TEST(Library, SortGroupsFindsAnyPairOutOfOrder) {
    struct Case {
        const char *name;
        const char *layout;
        std::vector<std::string> want;
    } cases[] = {
        {"first pair", "b#2 a#1 c#3 d#4", {"a", "b", "c", "d"}},
        {"last pair", "a#1 b#2 d#4 c#3", {"a", "b", "c", "d"}},
        {"reversed", "d#4 c#3 b#2 a#1", {"a", "b", "c", "d"}},
        {"in order, twins but for case", "a#1 B#2 b#3 c#4", {"a", "B", "b", "c"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Library library = makeLibrary(groupsOf(std::string("x#0|") + c.layout));
        sortGroups(library);
        EXPECT_EQ(library.names(1), c.want);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(library.machine(1, i)[Payout], std::to_string(i + 1)) << "the record left its name";
        EXPECT_EQ(library.names(0), std::vector<std::string>{"x"});
    }
}

TEST(Library, IndexesOfGroupsAndMachines) {
    const Library library = makeLibrary({{
        {record("a0"), record("a1"), record("a2")},
        {},
        {},
        {},
        {record("e0"), record("e1")},
        {},
        {},
    }});
    EXPECT_EQ(library.machineCount(), 5);
    EXPECT_EQ(library.libraryUpperIndex(), 79);
    const int wantStart[kGroups] = {0, 48, 48, 48, 48, 80, 80};
    for (int g = 0; g < kGroups; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(library.groupStart(g), wantStart[g]);
    }
    EXPECT_EQ(library.machine(4, 1), record("e1"));
    EXPECT_EQ(library.machine(0, 2), record("a2"));
    // Where the shown machine's fields start; no selection shows the first.
    const struct {
        int group, listIndex, want;
    } starts[] = {{0, -1, 0}, {0, 2, 32}, {4, -1, 48}, {4, 1, 64}, {2, -1, 48}};
    for (const auto &c : starts)
        EXPECT_EQ(library.MachineStartIndex(c.group, c.listIndex), c.want) << c.group << " " << c.listIndex;
    EXPECT_EQ(library.names(4), (std::vector<std::string>{"e0", "e1"}));
    EXPECT_TRUE(library.names(1).empty());

    EXPECT_EQ(Library{}.libraryUpperIndex(), 0);
    EXPECT_EQ(Library{}.machineCount(), 0);
}

TEST(Library, SampleMachinesCalculateInGroupsThatFitThem) {
    const Library sample = sampleLibrary();
    for (const std::string &title : sample.groupTitles)
        EXPECT_FALSE(title.empty());
    // Which machines each titled group takes: "サンプル ST199" belongs in "ST機".
    const std::map<std::string, std::string> kinds = {{"ミドル", "サンプル ミドル"},
                                                      {"ライトミドル", "サンプル ライトミドル"},
                                                      {"甘デジ", "サンプル 甘デジ"},
                                                      {"ST機", "サンプル ST"}};
    int groupsWithMachines = 0;
    for (int g = 0; g < kGroups; ++g) {
        for (const std::string &name : sample.names(g)) {
            SCOPED_TRACE(name);
            const auto kind = kinds.find(sample.groupTitles[g]);
            ASSERT_NE(kind, kinds.end()) << "a sample machine in group " << sample.groupTitles[g];
            EXPECT_EQ(name.rfind(kind->second, 0), 0u);
        }
        groupsWithMachines += sample.groupCounts[g] > 0;
    }
    EXPECT_EQ(groupsWithMachines, 4);
    EXPECT_GT(sample.groupCounts[0], 0) << "the first start shows a machine";
    for (int g = 0; g < kGroups; ++g) {
        for (int i = 0; i < sample.groupCounts[g]; ++i) {
            const MachineRecord m = sample.machine(g, i);
            SCOPED_TRACE(m[Name]);
            SharedResults shared;
            shared.yenPerBall = 100.0 / 28;
            const CalculationDisplay d = runCalculation(m, "20", "2000", shared);
            EXPECT_EQ(d.status, "");
            EXPECT_TRUE(d.succeeded());
        }
    }
}
