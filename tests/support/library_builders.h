#pragma once

#include "common/machine_record.h"
#include "library/library.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo::testing {

using GroupRecords = std::array<std::vector<MachineRecord>, kGroups>;

// A machine that calculates; `tag` goes into the payout so that records of
// equal names can be told apart.
MachineRecord record(const std::string &name, const std::string &tag = "1500");

// A library from per-group machine lists, in the given stored order.
Library makeLibrary(const GroupRecords &groups);

// Groups written as names: groups separated by '|', names by blanks; "-" is
// the empty name and "name#tag" sets the tag. Missing groups are empty.
GroupRecords groupsOf(std::string_view layout);

// The records of every group, in stored order.
GroupRecords groupRecords(const Library &library);

} // namespace zenbalo::testing
