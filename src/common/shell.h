// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"

#include <string>

namespace zenbalo {

// Hands documents and web addresses to the desktop, which opens each with the
// application the user associates with it. The windows ask through this
// service so that tests can answer in its place.
class Shell {
public:
    virtual ~Shell() = default;
    // `target` is a file name, resolved against the working directory, or a
    // web address ("https://..."). True when the opening application started.
    virtual bool open(const std::string &target) = 0;
};

// The one step behind every "open" command: a failure is reported in a
// critical box, and nothing else happens.
inline void ShellOpen(Shell &shell, Dialogs &dialogs, const std::string &target, const std::string &failureMessage,
                      const std::string &failureTitle) {
    if (!shell.open(target))
        dialogs.refuse(failureMessage, failureTitle);
}

} // namespace zenbalo
