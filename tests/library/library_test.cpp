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

TEST(Library, PartsOfAFileAreSortedStablyPerGroup) {
    Library library = makeLibrary({{
        {record("b"), record("A"), record("c")},
        {},
        {record("x", "1"), record("X", "2"), record("w"), record("x", "3")},
        {record("only")},
        {},
        {},
        {record("ｂ"), record("Ａ")},
    }});
    EXPECT_EQ(library.group(0).names(), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(library.group(2).names(), (std::vector<std::string>{"w", "x", "X", "x"}));
    // Names equal but for case keep their stored order, and whole records move with their names.
    EXPECT_EQ(library.group(2).machine(1)[15], "1");
    EXPECT_EQ(library.group(2).machine(2)[15], "2");
    EXPECT_EQ(library.group(2).machine(3)[15], "3");
    EXPECT_EQ(library.group(3).names(), (std::vector<std::string>{"only"}));
    EXPECT_EQ(library.group(6).names(), (std::vector<std::string>{"Ａ", "ｂ"}));

    EXPECT_EQ(Library::fromParts(library.groupTitles(), library.groupCounts(), library.machineStrings()), library);

    // Large enough that an unstable sort would mix up names equal but for case.
    GroupRecords groups;
    std::vector<MachineRecord> wantM, wantN;
    for (int i = 0; i < 100; ++i) {
        const MachineRecord r = record(i % 3 == 0 ? "n" : (i % 2 ? "M" : "m"), std::to_string(i));
        groups[5].push_back(r);
        (r[0] == "n" ? wantN : wantM).push_back(r);
    }
    wantM.insert(wantM.end(), wantN.begin(), wantN.end());
    const Library many = makeLibrary(groups);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(many.group(5).machine(i), wantM[i]) << "position " << i;
}

// Sorting is skipped for a group in list order, so a single pair out of
// order anywhere must still be found.
TEST(Library, PartsOfAFileWithAnyPairOutOfOrderAreSorted) {
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
        const Library library = makeLibrary(groupsOf(std::string("x#0|") + c.layout));
        EXPECT_EQ(library.group(1).names(), c.want);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(library.group(1).machine(i)[Payout], std::to_string(i + 1)) << "the record left its name";
        EXPECT_EQ(library.group(0).names(), std::vector<std::string>{"x"});
    }
}

TEST(Library, PartsThatBreakTheRuleAreRefused) {
    const auto strings = [](int machines) { return std::vector<std::string>(16 * static_cast<size_t>(machines), "x"); };
    using Counts = std::array<int16_t, kGroups>;
    struct Case {
        const char *name;
        Counts counts;
        std::vector<std::string> strings;
        std::optional<size_t> stringCount;
        bool accepted;
    };
    const Case cases[] = {
        {"empty", {}, {}, 0, true},
        {"the most machines", {2000, 0, 0, 0, 0, 0, 47}, strings(2047), 32752, true},
        {"2048 machines", {2048, 0, 0, 0, 0, 0, 0}, strings(2048), std::nullopt, false},
        {"2048 machines over two groups", {1024, 1024, 0, 0, 0, 0, 0}, strings(2048), std::nullopt, false},
        {"negative count", {-1, 1, 0, 0, 0, 0, 0}, {}, std::nullopt, false},
        {"counts promise more strings", {0, 2, 0, 0, 0, 0, 0}, strings(1), 32, false},
        {"a string beyond the counts", {1, 0, 0, 0, 0, 0, 0}, [&] { auto s = strings(1); s.push_back("x"); return s; }(),
         16, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Library::stringCount(c.counts), c.stringCount);
        const auto library = Library::fromParts({}, c.counts, c.strings);
        EXPECT_EQ(library.has_value(), c.accepted);
        if (library) {
            EXPECT_EQ(library->groupCounts(), c.counts);
        }
    }
}

TEST(Library, GroupsShowTheirMachinesByListPosition) {
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
    const int wantCount[kGroups] = {3, 0, 0, 0, 2, 0, 0};
    for (int g = 0; g < kGroups; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(library.group(g).count(), wantCount[g]);
        EXPECT_EQ(library.group(g).title(), "G" + std::to_string(g));
    }
    EXPECT_EQ(library.group(4).machine(1), record("e1"));
    EXPECT_EQ(library.group(4).name(0), "e0");
    EXPECT_EQ(library.group(0).machine(2), record("a2"));
    EXPECT_EQ(library.group(4).names(), (std::vector<std::string>{"e0", "e1"}));
    EXPECT_TRUE(library.group(1).names().empty());
    // No list position: nothing, and never a machine of another group.
    for (int position : {-1, 2}) {
        SCOPED_TRACE(position);
        EXPECT_FALSE(library.group(4).holds(position));
        EXPECT_EQ(library.group(4).name(position), "");
        EXPECT_EQ(library.group(4).machine(position), MachineRecord{});
    }
    EXPECT_TRUE(library.group(4).holds(1));
    EXPECT_EQ(Library{}.machineCount(), 0);
    EXPECT_TRUE(Library{}.machineStrings().empty());
}

// The operations name their group: a machine goes back into the group it came
// from whichever group the window shows, and a field longer than a box takes
// comes back whole.
TEST(Library, OperationsActOnTheGroupTheyName) {
    Library library = makeLibrary(groupsOf("a c | x | | m"));
    MachineRecord longest = record("b");
    longest[HighProbability] = std::string(300, '9');
    ASSERT_EQ(library.InsertMachine(0, longest), 1);
    EXPECT_EQ(layoutOf(library), "a b c|x||m|||");

    const std::optional<MachineRecord> removed = library.RemoveMachine(0, 1);
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, longest);
    EXPECT_EQ(layoutOf(library), "a c|x||m|||");
    EXPECT_EQ(library.RemoveMachine(0, 2), std::nullopt);
    EXPECT_EQ(library.RemoveMachine(kGroups, 0), std::nullopt);
    EXPECT_EQ(library.InsertMachine(-1, longest), std::nullopt);

    ASSERT_EQ(library.InsertMachine(3, *removed), 0);
    EXPECT_EQ(library.group(3).machine(0), longest);
    EXPECT_EQ(library.updateMachine(3, 0, record("z")), 1);
    EXPECT_EQ(layoutOf(library), "a c|x||m z|||");
    EXPECT_TRUE(library.nameStoredElsewhere("m", 0, 0));
    EXPECT_FALSE(library.nameStoredElsewhere("m", 3, 0));

    library.setTitle(3, "甘デジ");
    EXPECT_EQ(library.group(3).title(), "甘デジ");
}

TEST(Library, SampleMachinesCalculateInGroupsThatFitThem) {
    const Library sample = sampleLibrary();
    for (const std::string &title : sample.groupTitles())
        EXPECT_FALSE(title.empty());
    // Which machines each titled group takes: "サンプル ST199" belongs in "ST機".
    const std::map<std::string, std::string> kinds = {{"ミドル", "サンプル ミドル"},
                                                      {"ライトミドル", "サンプル ライトミドル"},
                                                      {"甘デジ", "サンプル 甘デジ"},
                                                      {"ST機", "サンプル ST"}};
    int groupsWithMachines = 0;
    for (int g = 0; g < kGroups; ++g) {
        const MachineGroup group = sample.group(g);
        for (const std::string &name : group.names()) {
            SCOPED_TRACE(name);
            const auto kind = kinds.find(group.title());
            ASSERT_NE(kind, kinds.end()) << "a sample machine in group " << group.title();
            EXPECT_EQ(name.rfind(kind->second, 0), 0u);
        }
        groupsWithMachines += group.count() > 0;
    }
    EXPECT_EQ(groupsWithMachines, 4);
    EXPECT_GT(sample.group(0).count(), 0) << "the first start shows a machine";
    for (int g = 0; g < kGroups; ++g) {
        for (int i = 0; i < sample.group(g).count(); ++i) {
            const MachineRecord m = sample.group(g).machine(i);
            SCOPED_TRACE(m[Name]);
            SharedResults shared;
            shared.yenPerBall = 100.0 / 28;
            const CalculationDisplay d = runCalculation(m, "20", "2000", shared);
            EXPECT_EQ(d.status, "");
            EXPECT_TRUE(d.succeeded());
        }
    }
}
