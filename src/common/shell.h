// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"

#include <functional>
#include <string>

namespace zenbalo {

// Hands documents and web addresses to the desktop, which opens each with the
// application the user associates with it. The windows ask through this
// service so that tests can answer in its place.
class Shell {
public:
    virtual ~Shell() = default;
    // `target` is a file name, resolved against the working directory, or a
    // web address ("https://..."). Returns at once: the window never waits
    // for the desktop. `failed` runs once if the opening fails, at once when
    // nothing could be started, or later from the event loop, however long
    // the opener took to report its failure; never after the Shell is gone.
    virtual void open(const std::string &target, std::function<void()> failed) = 0;
};

// The one step behind every "open" command: a failure is reported in a
// critical box whenever it comes, and nothing else happens. `dialogs` must
// outlive `shell`.
inline void ShellOpen(Shell &shell, Dialogs &dialogs, const std::string &target, const std::string &failureMessage,
                      const std::string &failureTitle) {
    shell.open(target, [&dialogs, failureMessage, failureTitle] { dialogs.refuse(failureMessage, failureTitle); });
}

} // namespace zenbalo
