// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/shell.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zenbalo::testing {

// Records every target. Answers as `answer` says: an opening that works, one
// that fails at once, or one whose opener is still running; the failure of a
// running one comes when the test calls reportFailures().
class FakeShell : public Shell {
public:
    enum class Answer { Opens, FailsAtOnce, Runs };

    void open(const std::string &target, std::function<void()> failed) override {
        opened.push_back(target);
        if (answer == Answer::FailsAtOnce)
            failed();
        else if (answer == Answer::Runs)
            running.push_back(std::move(failed));
    }

    // The running openers end, each reporting failure.
    void reportFailures() {
        std::vector<std::function<void()>> ended;
        ended.swap(running);
        for (const auto &failed : ended)
            failed();
    }

    std::vector<std::string> opened;
    Answer answer = Answer::Opens;
    std::vector<std::function<void()>> running;
};

} // namespace zenbalo::testing
