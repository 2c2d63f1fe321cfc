// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library.h"

#include "common/text.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace zenbalo {

int Library::machineCount() const { return std::accumulate(groupCounts.begin(), groupCounts.end(), 0); }

int16_t Library::libraryUpperIndex() const {
    const int n = machineCount();
    return static_cast<int16_t>(n > 0 ? kMachineFields * n - 1 : 0);
}

int Library::groupStart(int group) const {
    int before = 0;
    for (int g = 0; g < group && g < kGroups; ++g)
        before += groupCounts[g];
    return kMachineFields * before;
}

int16_t Library::MachineStartIndex(int group, int listIndex) const {
    return static_cast<int16_t>(groupStart(group) + kMachineFields * std::max(listIndex, 0));
}

MachineRecord Library::machine(int group, int position) const {
    MachineRecord record;
    const size_t start = static_cast<size_t>(groupStart(group) + kMachineFields * position);
    for (size_t k = 0; k < record.size() && start + k < machineStrings.size(); ++k)
        record[k] = machineStrings[start + k];
    return record;
}

std::vector<std::string> Library::names(int group) const {
    std::vector<std::string> result;
    const size_t start = static_cast<size_t>(groupStart(group));
    for (int i = 0; i < groupCounts[group]; ++i) {
        const size_t index = start + static_cast<size_t>(kMachineFields * i);
        result.push_back(index < machineStrings.size() ? machineStrings[index] : std::string());
    }
    return result;
}

namespace {

char32_t foldCase(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z')
        return cp - U'A' + U'a';
    if (cp >= U'\uFF21' && cp <= U'\uFF3A') // full-width Ａ..Ｚ
        return cp - U'\uFF21' + U'\uFF41';
    return cp;
}

bool isContinuation(const std::string &s, size_t k) {
    return k < s.size() && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80;
}

} // namespace

bool nameLess(const std::string &a, const std::string &b) {
    // Names in one list often share a long start. Equal bytes are equal
    // characters, so the comparison starts at the character where the bytes
    // first differ: a byte that continues no sequence always starts one.
    size_t k = static_cast<size_t>(
        std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(std::min(a.size(), b.size())), b.begin())
            .first -
        a.begin());
    while (k > 0 && (isContinuation(a, k) || isContinuation(b, k)))
        --k;
    size_t i = k, j = k;
    while (i < a.size() && j < b.size()) {
        const char32_t x = foldCase(nextCodePoint(a, i));
        const char32_t y = foldCase(nextCodePoint(b, j));
        if (x != y)
            return x < y;
    }
    return i == a.size() && j < b.size();
}

void sortGroups(Library &library) {
    for (int g = 0; g < kGroups; ++g) {
        const int count = library.groupCounts[g];
        const size_t start = static_cast<size_t>(library.groupStart(g));
        if (count < 2 || start + static_cast<size_t>(kMachineFields * count) > library.machineStrings.size())
            continue;
        const auto first = library.machineStrings.begin() + static_cast<std::ptrdiff_t>(start);
        const auto record = [&](int i) { return first + kMachineFields * i; };
        // Every file this program writes is in list order already: one look
        // at each neighbour spares a start-up the sort.
        int i = 1;
        while (i < count && !nameLess(*record(i), *record(i - 1)))
            ++i;
        if (i == count)
            continue;
        std::vector<MachineRecord> records(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k)
            std::move(record(k), record(k + 1), records[static_cast<size_t>(k)].begin());
        std::stable_sort(records.begin(), records.end(),
                         [](const MachineRecord &x, const MachineRecord &y) { return nameLess(x[0], y[0]); });
        auto out = first;
        for (MachineRecord &moved : records)
            out = std::move(moved.begin(), moved.end(), out);
    }
}

Library sampleLibrary() {
    Library library;
    library.groupTitles = {"ミドル", "ライトミドル", "甘デジ", "ST機", "羽根モノ", "お気に入り", "その他"};
    // name, big hit, high probability, probability-change entry and fall rate,
    // its rotations and limit, four time-saving stages (rate, rotations), payout;
    // each in the group its title describes.
    const std::array<std::vector<MachineRecord>, kGroups> groups = {{
        {{"サンプル ミドル319", "1/319.7", "1/31.9", "50", "0", "10000", "10000", "100", "100", "0", "0", "0", "0", "0",
          "0", "1400"}},
        {{"サンプル ライトミドル199", "1/199.8", "1/39.9", "3/5", "", "10000", "10000", "100", "100", "0", "0", "0",
          "0", "0", "0", "1200"}},
        {{"サンプル 甘デジ99", "1/99.9", "1/9.99", "50", "0", "10000", "10000", "100", "50", "0", "0", "0", "0", "0",
          "0", "400"}},
        {{"サンプル ST199", "1/199.8", "1/99.4", "100", "0", "130", "10000", "0", "0", "0", "0", "0", "0", "0", "0",
          "1000"}},
    }};
    for (int g = 0; g < kGroups; ++g) {
        for (const MachineRecord &record : groups[g])
            library.machineStrings.insert(library.machineStrings.end(), record.begin(), record.end());
        library.groupCounts[g] = static_cast<int16_t>(groups[g].size());
    }
    return library;
}

} // namespace zenbalo
