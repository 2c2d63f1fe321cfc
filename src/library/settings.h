// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/library.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

struct AppSettings {
    std::array<int16_t, kGroups> groupListIndex{};
    int16_t rateListIndex = 0;
    int16_t currentGroup = 0;
    int16_t savedTotalRotations = 0;
    std::array<int16_t, 6> reserved{};
    double savedRotationRate = 0.0;

    bool operator==(const AppSettings &) const = default;
};

// Group 0, every group's first machine (-1 for an empty group), the 28-ball
// rate, rotation rate 20 and 2000 rotations.
AppSettings defaultSettings(const Library &library, const std::vector<std::string> &rates);

// Takes the play conditions as typed into the settings when the player agrees
// to save: the rotation rate when it reads as a finite number, the total when
// it fits 16 bits; otherwise the previous value stays.
void storePlayConditions(AppSettings &settings, std::string_view rotationRateText, std::string_view totalRotationsText);

// Values that point outside the loaded lists fall back silently: this happens
// in normal use (a machine added, then the save declined).
void fitSettings(AppSettings &settings, const Library &library, size_t rateCount);

} // namespace zenbalo
