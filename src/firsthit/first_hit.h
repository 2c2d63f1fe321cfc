// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shared_results.h"

#include <array>
#include <string>

namespace zenbalo {

inline constexpr int kFirstHitRows = 20;

// One row of the table: n rotations, n = 100 .. 2000.
struct FirstHitRow {
    std::string rotations; // the row caption, "100:"
    std::string chance;    // Label2(i): chance of a hit within n rotations
    std::string cash;      // Label3(i): cost of n rotations paid in cash
    std::string ownBalls;  // Label4(i): the same balls valued at the exchange rate
};

// Everything frmHatsuKaiten shows, computed once when it loads.
struct FirstHitTable {
    std::string rotationRate; // Label5(0)
    std::string yenPerBall;   // Label5(1)
    std::array<FirstHitRow, kFirstHitRows> rows;
};

// A rotation rate left outside 1..100 by a failed calculation shows "-" in both
// cost columns, a negative or endless yen value per ball "-" in the own-ball
// column; the chance is always shown.
FirstHitTable firstHitTable(const SharedResults &shared);

// Whether the menu command opens the window; machineName must already hold the
// main window's name box.
bool canOpenFirstHitTable(const SharedResults &shared);

} // namespace zenbalo
