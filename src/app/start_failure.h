// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zenbalo {

// The program cannot start: `message` (its first line the what, the rest the
// why) goes to standard error as one line and to the player in a message
// box, as a program started from a menu has no terminal. Returns the exit
// status.
int refuseStart(int &argc, char **argv, const std::string &message);

} // namespace zenbalo
