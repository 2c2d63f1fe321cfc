// SPDX-License-Identifier: GPL-3.0-or-later
// zenbalo.dat: whatever the reader accepts is a consistent library that the
// writer stores in a file reading back as the same library.
#include "fuzz/fuzz_support.h"
#include "library/library_files.h"

using namespace zenbalo;
using zenbalo::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const auto library = parseLibrary(fuzz::bytesOf(data, size));
    if (!library)
        return 0;

    int count = 0;
    for (int16_t n : library->groupCounts()) {
        check(n >= 0, "no group has a negative count");
        count += n;
    }
    check(count <= kMaxMachines, "at most 2047 machines");
    check(library->machineStrings().size() == static_cast<size_t>(kMachineFields * count),
          "16 strings for every counted machine");
    // The writer has no escape for a double quote: one let through would cut
    // the value when the file is read again.
    for (const std::string &field : library->machineStrings())
        check(field.find('"') == std::string::npos, "no field holds a double quote");
    for (const std::string &title : library->groupTitles())
        check(title.find('"') == std::string::npos, "no title holds a double quote");
    // The lists show the machines in this order and the settings point into it.
    for (int g = 0; g < kGroups; ++g) {
        const MachineGroup group = library->group(g);
        for (int i = 1; i < group.count(); ++i)
            check(!nameLess(group.name(i), group.name(i - 1)), "every group is in list order");
    }

    const std::string written = libraryBytes(*library);
    const auto reread = parseLibrary(written);
    check(reread.has_value(), "a library written from a read file reads back");
    check(*reread == *library, "the library reads back unchanged");
    check(libraryBytes(*reread) == written, "a library written twice gives the same bytes");
    return 0;
}
