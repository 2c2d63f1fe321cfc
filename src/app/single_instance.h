// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zenbalo {

// True when no other instance of the program runs for this user. The lock is
// held for the life of the process and released by the system when it ends,
// so a crashed instance never blocks the next start.
bool acquireSingleInstanceLock();

} // namespace zenbalo
