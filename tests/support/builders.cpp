// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/builders.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>

namespace zenbalo::testing {

MachineRecord workedExampleMachine() { return machineRecord("テスト機"); }

MachineRecord machineRecord(const std::string &name, const std::string &bigHit, const std::string &payout) {
    return {name, bigHit, "", "50", "", "10000", "10000", "", "", "", "", "", "", "", "", payout};
}

MachineRecord record(const std::string &name, const std::string &tag) { return machineRecord(name, "1/300", tag); }

Library makeLibrary(const GroupRecords &groups, const GroupTitles &titles) {
    std::array<int16_t, kGroups> counts{};
    std::vector<std::string> strings;
    for (int g = 0; g < kGroups; ++g) {
        counts[static_cast<size_t>(g)] = static_cast<int16_t>(groups[static_cast<size_t>(g)].size());
        for (const MachineRecord &record : groups[static_cast<size_t>(g)])
            strings.insert(strings.end(), record.begin(), record.end());
    }
    std::optional<Library> library = Library::fromParts(titles, counts, std::move(strings));
    if (!library)
        ADD_FAILURE() << "a test library breaks the library's rule";
    return library.value_or(Library{});
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

std::string layoutOf(const Library &library) {
    std::string out;
    for (int g = 0; g < kGroups; ++g) {
        if (g > 0)
            out += '|';
        const MachineGroup group = library.group(g);
        for (int i = 0; i < group.count(); ++i)
            out += (i > 0 ? " " : "") + (group.name(i).empty() ? std::string("-") : group.name(i));
    }
    return out;
}

GroupRecords groupRecords(const Library &library) {
    GroupRecords groups;
    for (int g = 0; g < kGroups; ++g)
        for (int i = 0; i < library.group(g).count(); ++i)
            groups[static_cast<size_t>(g)].push_back(library.group(g).machine(i));
    return groups;
}

Library libraryWithCounts(const std::array<int16_t, kGroups> &counts) {
    GroupRecords groups;
    MachineRecord x;
    x.fill("x");
    for (int g = 0; g < kGroups; ++g)
        groups[static_cast<size_t>(g)].assign(static_cast<size_t>(counts[static_cast<size_t>(g)]), x);
    return makeLibrary(groups);
}

Library numberedLibrary(const std::string &title, int machines) {
    GroupRecords groups;
    for (int i = 0; i < machines; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "-%04d", i);
        MachineRecord record;
        record.fill("0");
        record[Name] = title + number;
        groups[3].push_back(record);
    }
    return makeLibrary(groups, {title, "", "", "", "", "", ""});
}

Library smallLibrary() {
    return makeLibrary(
        {{
            {machineRecord("A", "1/100", "1000"), machineRecord("b", "1/200", "2000"),
             machineRecord("c", "1/300", "3000")},
            {machineRecord("一般機", "1/400", "4000")},
        }},
        {"海", "ミドル", "", "", "", "", "空"});
}

Library groupsZeroAndFour() {
    const auto machine = [](const std::string &name, const std::string &bigHit = "1/319.7",
                            const std::string &payout = "1500") -> MachineRecord {
        return {name,  bigHit, "1/31.9", "50", "0", "10000", "10000", "100",
                "100", "0",    "0",      "0",  "0", "0",     "0",     payout};
    };
    return makeLibrary(
        {{
            {machine("Alpha"), machine("beta", "1/199.8"), machine("ガンマ", "1/99.9", "400")},
            {},
            {},
            {},
            {machine("ＳＴ一号", "1/199.8", "1000"), machine("ｓｔ二号", "1/99.4", "450")},
        }},
        {"サンプル", "ミドル", "ライトミドル", "甘デジ", "ST機", "お気に入り", "その他"});
}

} // namespace zenbalo::testing
