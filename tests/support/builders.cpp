// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/builders.h"

#include <cstdio>

namespace zenbalo::testing {

MachineRecord workedExampleMachine() { return machineRecord("テスト機"); }

MachineRecord machineRecord(const std::string &name, const std::string &bigHit, const std::string &payout) {
    return {name, bigHit, "", "50", "", "10000", "10000", "", "", "", "", "", "", "", "", payout};
}

MachineRecord record(const std::string &name, const std::string &tag) { return machineRecord(name, "1/300", tag); }

void appendMachine(Library &library, int group, const MachineRecord &record) {
    const auto at = library.machineStrings.begin() + library.groupStart(group + 1);
    library.machineStrings.insert(at, record.begin(), record.end());
    ++library.groupCounts[group];
}

Library makeLibrary(const GroupRecords &groups) {
    Library library;
    for (int g = 0; g < kGroups; ++g) {
        library.groupTitles[g] = "G" + std::to_string(g);
        for (const MachineRecord &record : groups[g])
            appendMachine(library, g, record);
    }
    return library;
}

GroupRecords groupsOf(std::string_view layout) {
    GroupRecords groups;
    int g = 0;
    std::string token;
    const auto flush = [&] {
        if (token.empty())
            return;
        const size_t hash = token.find('#');
        const std::string name = token.substr(0, hash);
        groups[g].push_back(
            record(name == "-" ? "" : name, hash == std::string::npos ? "1500" : token.substr(hash + 1)));
        token.clear();
    };
    for (const char c : layout) {
        if (c == ' ' || c == '|')
            flush();
        else
            token += c;
        if (c == '|')
            ++g;
    }
    flush();
    return groups;
}

GroupRecords groupRecords(const Library &library) {
    GroupRecords groups;
    for (int g = 0; g < kGroups; ++g)
        for (int i = 0; i < library.groupCounts[g]; ++i)
            groups[g].push_back(library.machine(g, i));
    return groups;
}

Library libraryWithCounts(const std::array<int16_t, kGroups> &counts) {
    Library library;
    library.groupCounts = counts;
    library.machineStrings.resize(static_cast<size_t>(kMachineFields * library.machineCount()), "x");
    return library;
}

Library numberedLibrary(const std::string &title, int machines) {
    Library library;
    library.groupTitles[0] = title;
    for (int i = 0; i < machines; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "-%04d", i);
        MachineRecord record;
        record.fill("0");
        record[Name] = title + number;
        appendMachine(library, 3, record);
    }
    return library;
}

Library smallLibrary() {
    Library library = makeLibrary({{
        {machineRecord("A", "1/100", "1000"), machineRecord("b", "1/200", "2000"), machineRecord("c", "1/300", "3000")},
        {machineRecord("一般機", "1/400", "4000")},
    }});
    library.groupTitles = {"海", "ミドル", "", "", "", "", "空"};
    return library;
}

Library groupsZeroAndFour() {
    const auto machine = [](const std::string &name, const std::string &bigHit = "1/319.7",
                            const std::string &payout = "1500") -> MachineRecord {
        return {name,  bigHit, "1/31.9", "50", "0", "10000", "10000", "100",
                "100", "0",    "0",      "0",  "0", "0",     "0",     payout};
    };
    Library library = makeLibrary({{
        {machine("Alpha"), machine("beta", "1/199.8"), machine("ガンマ", "1/99.9", "400")},
        {},
        {},
        {},
        {machine("ＳＴ一号", "1/199.8", "1000"), machine("ｓｔ二号", "1/99.4", "450")},
    }});
    library.groupTitles = {"サンプル", "ミドル", "ライトミドル", "甘デジ", "ST機", "お気に入り", "その他"};
    return library;
}

} // namespace zenbalo::testing
