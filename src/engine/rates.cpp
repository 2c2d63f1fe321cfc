// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/rates.h"

#include "common/number.h"
#include "common/text.h"

namespace zenbalo {

const std::vector<std::string> &builtInRateList() {
    static const std::vector<std::string> list = {
        "25玉 (4.00円)", "26玉 (3.85円)", "27玉 (3.70円)", "28玉 (3.57円)",
        "30玉 (3.33円)", "33玉 (3.03円)", "35玉 (2.86円)", "40玉 (2.50円)",
    };
    return list;
}

double ballsPer100Yen(std::string_view entry) {
    std::string firstTwo;
    const auto chars = utf8Characters(entry);
    for (size_t i = 0; i < chars.size() && i < 2; ++i)
        firstTwo += chars[i];
    return leadingNumber(firstTwo);
}

double yenPerBall(std::string_view entry) { return 100 / ballsPer100Yen(entry); }

int defaultRateIndex(const std::vector<std::string> &entries) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (ballsPer100Yen(entries[i]) == 28.0)
            return static_cast<int>(i);
    return 0;
}

} // namespace zenbalo
