// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library.h"

#include "common/text.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace zenbalo {

namespace {

const std::string kNoName;

} // namespace

const std::string &MachineGroup::title() const { return library_.groupTitles_[static_cast<size_t>(group_)]; }

int MachineGroup::count() const { return library_.groupCounts_[static_cast<size_t>(group_)]; }

const std::string &MachineGroup::name(int position) const {
    if (!holds(position))
        return kNoName;
    return library_.machineStrings_[static_cast<size_t>(library_.MachineStartIndex(group_, position))];
}

MachineRecord MachineGroup::machine(int position) const {
    MachineRecord record;
    if (holds(position)) {
        const auto first = library_.machineStrings_.begin() + library_.MachineStartIndex(group_, position);
        std::copy(first, first + kMachineFields, record.begin());
    }
    return record;
}

std::vector<std::string> MachineGroup::names() const {
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(count()));
    for (int i = 0; i < count(); ++i)
        result.push_back(name(i));
    return result;
}

std::optional<Library> Library::fromParts(std::array<std::string, kGroups> titles,
                                          const std::array<int16_t, kGroups> &counts,
                                          std::vector<std::string> machineStrings) {
    if (stringCount(counts) != machineStrings.size())
        return std::nullopt;
    Library library;
    library.groupCounts_ = counts;
    library.groupTitles_ = std::move(titles);
    library.machineStrings_ = std::move(machineStrings);
    library.sortGroups();
    return library;
}

std::optional<size_t> Library::stringCount(const std::array<int16_t, kGroups> &counts) {
    int total = 0;
    for (int16_t count : counts) {
        if (count < 0)
            return std::nullopt;
        total += count;
    }
    if (total > kMaxMachines)
        return std::nullopt;
    return static_cast<size_t>(kMachineFields * total);
}

int Library::machineCount() const { return std::accumulate(groupCounts_.begin(), groupCounts_.end(), 0); }

void Library::setTitle(int group, std::string title) {
    if (validGroup(group))
        groupTitles_[static_cast<size_t>(group)] = std::move(title);
}

bool Library::holds(int group, int position) const { return validGroup(group) && this->group(group).holds(position); }

int Library::MachineStartIndex(int group, int position) const {
    int before = 0;
    for (int g = 0; g < group; ++g)
        before += groupCounts_[static_cast<size_t>(g)];
    return kMachineFields * (before + position);
}

Library::StringIt Library::recordAt(int group, int position) {
    return machineStrings_.begin() + MachineStartIndex(group, position);
}

// The list position that a name takes in a group: after every name it equals
// or equals but for case, as a binary search over the names. The machine at
// `skip` (if not -1) is left out of the list.
int Library::sortedPosition(int group, const std::string &name, int skip) const {
    const MachineGroup names = this->group(group);
    int low = 0;
    int high = names.count() - (skip >= 0 ? 1 : 0);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (nameLess(name, names.name(skip >= 0 && middle >= skip ? middle + 1 : middle)))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

bool Library::nameStored(std::string_view name) const { return nameStoredElsewhere(name, -1, -1); }

bool Library::nameStoredElsewhere(std::string_view name, int group, int position) const {
    const size_t skip = holds(group, position) ? static_cast<size_t>(MachineStartIndex(group, position))
                                               : machineStrings_.size();
    for (size_t k = 0; k < machineStrings_.size(); k += kMachineFields)
        if (k != skip && machineStrings_[k] == name)
            return true;
    return false;
}

std::optional<int> Library::InsertMachine(int group, MachineRecord record) {
    if (!validGroup(group) || libraryFull() || nameStored(record[Name]))
        return std::nullopt;
    const int position = sortedPosition(group, record[Name], -1);
    machineStrings_.insert(recordAt(group, position), std::make_move_iterator(record.begin()),
                           std::make_move_iterator(record.end()));
    ++groupCounts_[static_cast<size_t>(group)];
    return position;
}

std::optional<MachineRecord> Library::RemoveMachine(int group, int position) {
    if (!holds(group, position))
        return std::nullopt;
    MachineRecord removed;
    const StringIt first = recordAt(group, position);
    std::move(first, first + kMachineFields, removed.begin());
    machineStrings_.erase(first, first + kMachineFields);
    --groupCounts_[static_cast<size_t>(group)];
    return removed;
}

std::optional<int> Library::updateMachine(int group, int position, MachineRecord record) {
    if (!holds(group, position) || nameStoredElsewhere(record[Name], group, position))
        return std::nullopt;
    const StringIt first = recordAt(group, position);
    int to = position;
    // The machines between the old and the new place shift by one machine; a
    // move each is cheaper than the swaps of a rotation.
    if (*first != record[Name]) {
        to = sortedPosition(group, record[Name], position);
        if (to < position)
            std::move_backward(recordAt(group, to), first, first + kMachineFields);
        else if (to > position)
            std::move(first + kMachineFields, recordAt(group, to + 1), first);
    }
    std::move(record.begin(), record.end(), recordAt(group, to));
    return to;
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

// Names equal but for case keep their stored order.
void Library::sortGroups() {
    for (int g = 0; g < kGroups; ++g) {
        const int count = groupCounts_[static_cast<size_t>(g)];
        if (count < 2)
            continue;
        const StringIt first = recordAt(g, 0);
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
                         [](const MachineRecord &x, const MachineRecord &y) { return nameLess(x[Name], y[Name]); });
        auto out = first;
        for (MachineRecord &moved : records)
            out = std::move(moved.begin(), moved.end(), out);
    }
}

Library sampleLibrary() {
    const std::array<const char *, kGroups> titles = {"ミドル",   "ライトミドル", "甘デジ", "ST機",
                                                      "羽根モノ", "お気に入り",   "その他"};
    Library library;
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
        library.setTitle(g, titles[static_cast<size_t>(g)]);
        for (const MachineRecord &record : groups[static_cast<size_t>(g)])
            library.InsertMachine(g, record);
    }
    return library;
}

} // namespace zenbalo
