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

GroupRecords groupRecords(const Library &library) {
    GroupRecords groups;
    for (int g = 0; g < kGroups; ++g)
        for (int i = 0; i < library.groupCounts[g]; ++i)
            groups[g].push_back(library.machine(g, i));
    return groups;
}

} // namespace zenbalo::testing
