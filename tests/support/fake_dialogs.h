// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace zenbalo::testing {

// Records every message box and answers from a script. A question that no
// test scripted an answer for is a failure; a message with only OK needs none.
class FakeDialogs : public Dialogs {
public:
    MessageBox::Answer ask(const MessageBox &box) override {
        asked.push_back(box);
        if (box.buttons == MessageBox::Buttons::Ok)
            return MessageBox::Answer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << box.prompt;
            return box.defaultButton;
        }
        const MessageBox::Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<MessageBox> asked;
    std::deque<MessageBox::Answer> answers;
};

} // namespace zenbalo::testing
