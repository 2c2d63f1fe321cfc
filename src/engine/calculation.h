// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"
#include "common/shared_results.h"

#include <array>
#include <string>

namespace zenbalo {

inline constexpr int kSummaryRows = 5;
inline constexpr int kTableRows = 11;

// Everything a calculation writes on screen. After a failure every result
// label shows "-".
struct CalculationDisplay {
    std::string status;                            // Label6
    std::array<std::string, kSummaryRows> summary; // Label7(0..4)
    std::array<std::string, kTableRows> borders;   // Label4(0..10)
    std::array<std::string, kTableRows> balances;  // Label9(0..10)

    bool succeeded() const { return summary[3] != "-"; }
    static CalculationDisplay blank(); // the captions before any calculation
};

// One run of the main window's calculation: validation, model, summary and
// table. Leaves its figures in `shared` as the secondary windows expect them:
// rotationRate, totalRotations, payoutPerHit and hitProbability on every run,
// totalHitProbability only on success. yenPerBall is read from `shared`.
CalculationDisplay runCalculation(const MachineRecord &text1, const std::string &rotationRateText,
                                  const std::string &totalRotationsText, SharedResults &shared);

} // namespace zenbalo
