#include "support/library_builders.h"

namespace zenbalo::testing {

MachineRecord record(const std::string &name, const std::string &tag) {
    MachineRecord r;
    r.fill("0");
    r[0] = name;
    r[1] = "1/300";
    r[15] = tag;
    return r;
}

Library makeLibrary(const GroupRecords &groups) {
    Library library;
    for (int g = 0; g < kGroups; ++g) {
        library.groupTitles[g] = "G" + std::to_string(g);
        library.groupCounts[g] = static_cast<int16_t>(groups[g].size());
        for (const MachineRecord &r : groups[g])
            library.machineStrings.insert(library.machineStrings.end(), r.begin(), r.end());
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

} // namespace zenbalo::testing
