#pragma once

#include <array>
#include <string>

namespace zenbalo {

inline constexpr int kMachineFields = 16;

// One machine exactly as typed, in the order of the specification boxes:
// name, bigHitProbability, highProbability, probChangeEntryRate,
// probChangeFallRate, probChangeRotations, probChangeLimit, then entry rate and
// rotations of the four time-saving stages, payout.
using MachineRecord = std::array<std::string, kMachineFields>;

} // namespace zenbalo
