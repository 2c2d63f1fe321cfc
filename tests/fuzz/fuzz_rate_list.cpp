// SPDX-License-Identifier: GPL-3.0-or-later
// zenbalo.kan: every entry keeps its place, an entry without a usable number
// of balls is refused by the calculation, and the list never holds more
// entries than the file counts.
#include "engine/calculation.h"
#include "engine/rates.h"
#include "fuzz/fuzz_support.h"
#include "library/library_files.h"
#include "library/value_reader.h"

#include <cmath>

using namespace zenbalo;
using zenbalo::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const RateList list = parseRateList(bytes);
    for (const std::string &entry : list.entries) {
        const double yen = yenPerBall(entry);
        if (std::isfinite(yen) && yen > 0)
            continue;
        SharedResults shared;
        shared.yenPerBall = yen;
        const MachineRecord machine = {"x", "1/300", "", "50", "", "10000", "10000", "",
                                       "",  "",      "", "",   "", "",      "",      "1500"};
        check(runCalculation(machine, "20", "2000", shared).status == "換金率が異常です。",
              "an entry without a usable rate is refused by the calculation");
    }

    // The count is the file's first value.
    const auto text = decodeRateList(bytes);
    std::optional<int16_t> count;
    if (text) {
        ValueReader reader(*text);
        count = reader.readInt16();
    }
    if (!count || *count < 0) {
        check(list.damaged, "a file without a usable count is damaged");
        check(list.entries.empty(), "a file without a usable count has no entries");
        return 0;
    }
    check(list.entries.size() <= static_cast<size_t>(*count), "never more entries than the count");
    check(list.damaged || list.entries.size() == static_cast<size_t>(*count), "every entry of a whole file");
    return 0;
}
