// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shell.h"

#include <string>
#include <vector>

namespace zenbalo::testing {

// Records every target and answers with `succeeds`.
class FakeShell : public Shell {
public:
    bool open(const std::string &target) override {
        opened.push_back(target);
        return succeeds;
    }

    std::vector<std::string> opened;
    bool succeeds = true;
};

} // namespace zenbalo::testing
