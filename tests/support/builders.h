// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"
#include "library/library.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo::testing {

// The machine of the worked example: 1/300, half of the hits start a
// probability change that lasts until the next hit, 1500 balls per hit. At a
// rotation rate of 20, 2000 rotations and 28 balls per 100 yen the summary
// reads 6.667, 13.333, 2.000, 1/150.000, 3000.
MachineRecord workedExampleMachine();
inline constexpr const char *kWorkedExampleRate = "20";
inline constexpr const char *kWorkedExampleTotal = "2000";
inline constexpr double kWorkedExampleYenPerBall = 100.0 / 28;

// A machine like the worked example's, with its own name, big-hit
// probability and payout: a chain of 2 hits on average.
MachineRecord machineRecord(const std::string &name, const std::string &bigHit = "1/300",
                            const std::string &payout = "1500");

// A machine that calculates; `tag` goes into the payout so that records of
// equal names can be told apart.
MachineRecord record(const std::string &name, const std::string &tag = "1500");

using GroupRecords = std::array<std::vector<MachineRecord>, kGroups>;
using GroupTitles = std::array<std::string, kGroups>;

// A library from per-group machine lists, as a file holding them in this
// order reads: each group sorted, names equal but for case in the given order.
// Titles "G0" to "G6" unless given.
Library makeLibrary(const GroupRecords &groups,
                    const GroupTitles &titles = {"G0", "G1", "G2", "G3", "G4", "G5", "G6"});
// Groups written as names: groups separated by '|', names by blanks; "-" is
// the empty name and "name#tag" sets the tag. Missing groups are empty.
GroupRecords groupsOf(std::string_view layout);
// The names of every group as groupsOf writes them, without tags.
std::string layoutOf(const Library &library);
// The records of every group, in list order.
GroupRecords groupRecords(const Library &library);
// Groups holding the given numbers of machines whose every field is "x".
Library libraryWithCounts(const std::array<int16_t, kGroups> &counts);
// `machines` machines in group 3 named title-0000, title-0001, ... (list
// order), the title also as group 0's title.
Library numberedLibrary(const std::string &title, int machines = 1);
// Group 0 holds A, b and c, group 1 one machine, the others none.
Library smallLibrary();
// The library that tests/data/library/groups_0_and_4.dat holds.
Library groupsZeroAndFour();

} // namespace zenbalo::testing
