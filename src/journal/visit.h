// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/short_date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zenbalo {

// The machine's theory an analysis was made with. Visits imported from
// bunseki.txt have none: the file does not hold it.
struct VisitTheory {
    double bigHitProbability = 0.0;   // p, per normal-state rotation
    double averageChain = 0.0;        // A, big hits per first hit, the first included
    double totalHitProbability = 0.0; // p × A

    bool operator==(const VisitTheory &) const = default;
};

// One visit to a parlour: what one record of bunseki.txt holds.
struct Visit {
    int64_t id = 0; // rises in journal order
    std::optional<CalendarDate> date;
    std::string parlour;
    std::string machine;
    int32_t payout = 0;     // balls per big hit
    std::string yenPerBall; // as the record shows it
    int32_t rotations = 0;
    int32_t hits = 0;
    int32_t exchangedBalls = 0;
    int32_t investedYen = 0;
    int64_t realBalance = 0; // yen, as the record shows it
    int64_t work = 0;        // 仕事量 in yen, as the record shows it
    std::string hitError;    // the last three results as the record shows them
    std::string luckIndex;
    std::string rotationRate;
    std::optional<VisitTheory> theory;

    bool operator==(const Visit &) const = default;
};

} // namespace zenbalo
