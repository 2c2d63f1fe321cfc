#include "library/library.h"

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

// Decodes one UTF-8 sequence; a malformed byte stands for itself so that any
// text still has a total order.
char32_t nextCodePoint(std::string_view text, size_t &i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 1;
    char32_t cp = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
        cp = lead & 0x07;
    } else if (lead >= 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    }
    if (length > 1) {
        bool wellFormed = i + length <= text.size();
        for (size_t k = 1; wellFormed && k < length; ++k) {
            wellFormed = (byte(i + k) & 0xC0) == 0x80;
            cp = (cp << 6) | (byte(i + k) & 0x3F);
        }
        if (!wellFormed) {
            ++i;
            return lead;
        }
    }
    i += length;
    return cp;
}

char32_t foldCase(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z')
        return cp - U'A' + U'a';
    if (cp >= U'\uFF21' && cp <= U'\uFF3A') // full-width Ａ..Ｚ
        return cp - U'\uFF21' + U'\uFF41';
    return cp;
}

} // namespace

bool nameLess(const std::string &a, const std::string &b) {
    size_t i = 0, j = 0;
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
        std::vector<MachineRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(library.machine(g, i));
        std::stable_sort(records.begin(), records.end(),
                         [](const MachineRecord &x, const MachineRecord &y) { return nameLess(x[0], y[0]); });
        auto out = library.machineStrings.begin() + static_cast<std::ptrdiff_t>(start);
        for (const MachineRecord &record : records)
            out = std::copy(record.begin(), record.end(), out);
    }
}

Library sampleLibrary() {
    Library library;
    library.groupTitles = {"サンプル", "ミドル", "ライトミドル", "甘デジ", "ST機", "お気に入り", "その他"};
    // name, big hit, high probability, probability-change entry and fall rate,
    // its rotations and limit, four time-saving stages (rate, rotations), payout.
    const std::vector<MachineRecord> machines = {
        {"サンプル ミドル319", "1/319.7", "1/31.9", "50", "0", "10000", "10000", "100", "100", "0", "0", "0", "0", "0",
         "0", "1400"},
        {"サンプル ST199", "1/199.8", "1/99.4", "100", "0", "130", "10000", "0", "0", "0", "0", "0", "0", "0", "0",
         "1000"},
        {"サンプル ライトミドル199", "1/199.8", "1/39.9", "3/5", "", "10000", "10000", "100", "100", "0", "0", "0", "0",
         "0", "0", "1200"},
        {"サンプル 甘デジ99", "1/99.9", "1/9.99", "50", "0", "10000", "10000", "100", "50", "0", "0", "0", "0", "0",
         "0", "400"},
    };
    for (const MachineRecord &record : machines)
        library.machineStrings.insert(library.machineStrings.end(), record.begin(), record.end());
    library.groupCounts[0] = static_cast<int16_t>(machines.size());
    sortGroups(library);
    return library;
}

} // namespace zenbalo
