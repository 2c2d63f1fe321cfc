// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/shell.h"

#include "support/fake_dialogs.h"
#include "support/fake_shell.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zenbalo {
namespace {

TEST(ShellOpen, ReportsOnlyAFailureWithTheActionsMessageWheneverItComes) {
    using Answer = testing::FakeShell::Answer;
    struct Case {
        const char *name;
        std::string target;
        std::string message;
        std::string title;
    } cases[] = {
        {"manual", "説明書.txt", "説明書を開けませんでした。", "Zenbalo - 説明書を開く"},
        {"log", "log.txt", "ログを開けませんでした。", "Zenbalo - ログを開く"},
        {"web page", "https://example.com/zenbalo/", "ブラウザを開けませんでした。", "Zenbalo"},
        {"analysis file", "bunseki.txt", "分析ファイルを開けませんでした。", "分析 - 開く"},
    };
    for (const Case &c : cases) {
        for (Answer answer : {Answer::Opens, Answer::FailsAtOnce, Answer::Runs}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(static_cast<int>(answer)));
            testing::FakeShell shell;
            shell.answer = answer;
            testing::FakeDialogs dialogs;

            ShellOpen(shell, dialogs, c.target, std::string(c.message), std::string(c.title));

            EXPECT_EQ(shell.opened, std::vector<std::string>{c.target}); // once, no retry
            EXPECT_EQ(dialogs.asked.size(), answer == Answer::FailsAtOnce ? 1u : 0u);
            // The texts were copied: the caller's are gone when a late failure comes.
            shell.reportFailures();
            if (answer == Answer::Opens) {
                EXPECT_TRUE(dialogs.asked.empty());
                continue;
            }
            ASSERT_EQ(dialogs.asked.size(), 1u);
            const MessageBox &box = dialogs.asked[0];
            EXPECT_EQ(box.prompt, c.message);
            EXPECT_EQ(box.title, c.title);
            EXPECT_EQ(box.buttons, MessageBox::Buttons::Ok);
            EXPECT_EQ(box.icon, MessageBox::Icon::Critical);
            EXPECT_EQ(box.defaultButton, MessageBox::Answer::Ok);
        }
    }
}

} // namespace
} // namespace zenbalo
