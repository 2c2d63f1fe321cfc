// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace zenbalo {

// Figures the last calculation leaves for the secondary windows.
struct SharedResults {
    int32_t payoutPerHit = 0;
    double yenPerBall = 0.0;
    double totalHitProbability = 0.0;
    std::string machineName;
    double hitProbability = 0.0;
    double rotationRate = 0.0;
    int32_t totalRotations = 0; // of a day, as the calculation read them
};

} // namespace zenbalo
