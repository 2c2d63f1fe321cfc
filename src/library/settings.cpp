// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/settings.h"

#include "common/number.h"
#include "engine/rates.h"

#include <cmath>

namespace zenbalo {

AppSettings defaultSettings(const Library &library, const std::vector<std::string> &rates) {
    AppSettings settings;
    for (int g = 0; g < kGroups; ++g)
        settings.groupListIndex[g] = static_cast<int16_t>(library.group(g).count() > 0 ? 0 : -1);
    settings.rateListIndex = static_cast<int16_t>(defaultRateIndex(rates));
    settings.currentGroup = 0;
    settings.savedTotalRotations = 2000;
    settings.savedRotationRate = 20.0;
    return settings;
}

void storePlayConditions(AppSettings &settings, std::string_view rotationRateText,
                         std::string_view totalRotationsText) {
    const double rate = leadingNumber(rotationRateText);
    if (std::isfinite(rate))
        settings.savedRotationRate = rate;
    if (const auto total = toInt16(leadingNumber(totalRotationsText)))
        settings.savedTotalRotations = *total;
}

void fitSettings(AppSettings &settings, const Library &library, size_t rateCount) {
    for (int g = 0; g < kGroups; ++g) {
        const int count = library.group(g).count();
        int16_t &index = settings.groupListIndex[g];
        // -1 is kept for a group with machines: the group then shows its first one.
        if (index < -1 || index >= count)
            index = static_cast<int16_t>(count > 0 ? 0 : -1);
    }
    if (settings.currentGroup < 0 || settings.currentGroup >= kGroups)
        settings.currentGroup = 0;
    if (settings.rateListIndex < 0 || static_cast<size_t>(settings.rateListIndex) >= rateCount)
        settings.rateListIndex = 0;
}

} // namespace zenbalo
