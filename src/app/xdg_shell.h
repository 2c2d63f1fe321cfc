// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shell.h"

#include <chrono>
#include <string>

namespace zenbalo {

// Opens through xdg-open (xdg-utils), which starts the application that the
// desktop associates with the document or address.
class XdgShell : public Shell {
public:
    // How long the opener may take to report a failure. One still running
    // after that has started an application: in some desktops xdg-open stays
    // until the document is closed, so waiting longer would block the window.
    static constexpr std::chrono::milliseconds kPatience{1000};

    explicit XdgShell(std::string opener = "xdg-open", std::chrono::milliseconds patience = kPatience);

    // False when the opener is missing or cannot be started, or when it exits
    // with a failure (missing file, no associated application) or is killed
    // within the patience. Blocks for at most the patience.
    bool open(const std::string &target) override;

private:
    std::string opener_;
    std::chrono::milliseconds patience_;
};

} // namespace zenbalo
