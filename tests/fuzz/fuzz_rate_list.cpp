// SPDX-License-Identifier: GPL-3.0-or-later
// zenbalo.kan: every entry offered names a usable number of balls, and the
// list never holds more entries than the file counts.
#include "common/sjis.h"
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
        const double balls = ballsPer100Yen(entry);
        check(std::isfinite(balls) && balls > 0, "every entry has a positive finite ball count");
        const double yen = yenPerBall(entry);
        check(std::isfinite(yen) && yen > 0, "every entry has a positive finite yen per ball");
    }

    // The count is the file's first value.
    const auto text = decodeSjis(bytes);
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
    return 0;
}
