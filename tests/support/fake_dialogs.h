// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace zenbalo::testing {

// Records every message box and file dialog and answers from a script. A
// question that no test scripted an answer for is a failure; a message with
// only OK needs none.
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

    // Answers a file dialog with the next path of `files`; nullopt cancels.
    std::optional<std::string> chooseSaveFile(const SaveFileBox &box) override {
        fileBoxes.push_back(box);
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << box.title;
            return std::nullopt;
        }
        std::optional<std::string> file = files.front();
        files.pop_front();
        return file;
    }

    std::vector<MessageBox> asked;
    std::deque<MessageBox::Answer> answers;
    std::vector<SaveFileBox> fileBoxes;
    std::deque<std::optional<std::string>> files;
};

} // namespace zenbalo::testing
