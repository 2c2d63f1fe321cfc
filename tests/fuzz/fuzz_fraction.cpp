// SPDX-License-Identifier: GPL-3.0-or-later
// Probabilities and rates typed as fractions or percents.
#include "engine/specification.h"
#include "fuzz/fuzz_support.h"

using namespace zenbalo;
using zenbalo::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    const double fraction = ParseFraction(text);
    check(fraction == -1 || (fraction >= 0 && fraction <= 1), "a fraction is -1 or a probability");
    const double rate = ParseRate(text);
    check(rate == -1 || (rate >= 0 && rate <= 1), "a rate is -1 or a probability");
    if (text.find('/') != std::string_view::npos)
        check(rate == fraction, "a rate with a slash reads as a fraction");
    return 0;
}
