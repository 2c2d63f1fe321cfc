#pragma once

#include "common/machine_record.h"
#include "library/library.h"

#include <array>
#include <string>
#include <vector>

namespace zenbalo::testing {

using GroupRecords = std::array<std::vector<MachineRecord>, kGroups>;

// A machine that calculates; `tag` goes into the payout so that records of
// equal names can be told apart.
MachineRecord record(const std::string &name, const std::string &tag = "1500");

// A library from per-group machine lists, in the given stored order.
Library makeLibrary(const GroupRecords &groups);

// The records of every group, in stored order.
GroupRecords groupRecords(const Library &library);

} // namespace zenbalo::testing
