// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace zenbalo {

inline constexpr int kMachineFields = 16;
// The longest text a box takes; it bounds the size of every file.
inline constexpr int kMaxFieldCharacters = 255;

// The fields of a machine, in the order of the specification boxes and of the
// library file.
enum MachineField : int {
    Name,
    BigHitProbability,
    HighProbability,
    ProbChangeEntryRate,
    ProbChangeFallRate,
    ProbChangeRotations,
    ProbChangeLimit,
    TimeSaving1EntryRate,
    TimeSaving1Rotations,
    TimeSaving2EntryRate,
    TimeSaving2Rotations,
    TimeSaving3EntryRate,
    TimeSaving3Rotations,
    TimeSaving4EntryRate,
    TimeSaving4Rotations,
    Payout,
};

// One machine exactly as typed.
using MachineRecord = std::array<std::string, kMachineFields>;

} // namespace zenbalo
