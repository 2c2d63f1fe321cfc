// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the benchmarks' 2047-machine library as zenbalo.dat into the working
// directory, for the start-up measurement of the real program.
#include "bench_support.h"
#include "common/file_io.h"
#include "library/library_files.h"

#include <cstdio>

int main() {
    const zenbalo::WriteResult written =
        zenbalo::writeFileAtomically(zenbalo::kLibraryFile, zenbalo::libraryBytes(zenbalo::bench::fullLibrary()));
    if (!written.ok()) {
        std::fprintf(stderr, "bench_make_library: %s\n", zenbalo::errorReason(written).c_str());
        return 1;
    }
    return 0;
}
