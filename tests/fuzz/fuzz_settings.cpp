// SPDX-License-Identifier: GPL-3.0-or-later
// zenbalo.cfg: whatever the reader accepts is written back to a file that
// reads as the same settings, and writing is a fixed point after one read.
#include "fuzz/fuzz_support.h"
#include "library/library_files.h"

#include <cmath>

using namespace zenbalo;
using zenbalo::fuzz::check;

namespace {

void writtenSettingsReadBack(std::string_view input) {
    const auto settings = parseSettings(input);
    if (!settings)
        return;
    const std::string written = settingsBytes(*settings);
    const auto reread = parseSettings(written);
    check(reread.has_value(), "settings written from a read file read back");
    check(*reread == *settings, "settings read back unchanged");
    check(settingsBytes(*reread) == written, "settings written twice give the same bytes");
}

// Any values the program holds, not only those read from a file, must be
// written in a form the next start reads; an endless rate gives way to 20.
void anySettingsWriteReadably(std::string_view input) {
    AppSettings settings;
    for (int16_t &index : settings.groupListIndex)
        index = fuzz::takeValue<int16_t>(input);
    settings.rateListIndex = fuzz::takeValue<int16_t>(input);
    settings.currentGroup = fuzz::takeValue<int16_t>(input);
    settings.savedTotalRotations = fuzz::takeValue<int16_t>(input);
    for (int16_t &reserved : settings.reserved)
        reserved = fuzz::takeValue<int16_t>(input);
    settings.savedRotationRate = fuzz::takeValue<double>(input);

    const auto reread = parseSettings(settingsBytes(settings));
    check(reread.has_value(), "any settings are written readably");
    AppSettings want = settings;
    if (!std::isfinite(want.savedRotationRate))
        want.savedRotationRate = 20.0;
    check(*reread == want, "any settings read back as written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    writtenSettingsReadBack(input);
    anySettingsWriteReadably(input);
    return 0;
}
