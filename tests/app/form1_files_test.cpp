// SPDX-License-Identifier: GPL-3.0-or-later
// What start-up reads and closing writes: the question at closing, the
// files saved and read back, and files that are damaged or cannot be saved.
#include "support/form_fixture.h"

#include <filesystem>
#include <sys/stat.h>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

namespace fs = std::filesystem;

class FilesTest : public FormTest {};

TEST_F(FilesTest, ClosingUntouchedAsksNothingButWritesSettingsAndLog) {
    start();
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{}) << "start-up writes nothing";
    EXPECT_TRUE(closeWindow());
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(directoryEntries(), (std::vector<std::string>{"log.txt", "zenbalo.cfg"}));
}

TEST_F(FilesTest, SaveQuestionAnswers) {
    struct Case {
        Answer answer;
        bool closes;
        bool libraryWritten;
        const char *rateInSettings;
    } cases[] = {
        {Answer::Yes, true, true, "25"},
        {Answer::No, true, false, "20"},
        {Answer::Cancel, false, false, "20"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        freshDirectory();
        start();
        retype(ui().Text3[0], "25");
        dialogs.answers = {c.answer};
        EXPECT_EQ(closeWindow(), c.closes);
        ASSERT_EQ(dialogs.asked.size(), 1u);
        const MessageBox &box = dialogs.asked[0];
        EXPECT_EQ(box.prompt, "データを保存しますか？");
        EXPECT_EQ(box.title, "Zenbalo - 終了");
        EXPECT_EQ(box.buttons, MessageBox::Buttons::YesNoCancel);
        EXPECT_EQ(box.icon, MessageBox::Icon::Question);
        EXPECT_EQ(box.defaultButton, Answer::Yes);
        EXPECT_EQ(std::filesystem::exists("zenbalo.dat"), c.libraryWritten);
        EXPECT_TRUE(std::filesystem::exists("log.txt"));
        const auto lines = readFile("zenbalo.cfg");
        EXPECT_EQ(lines.substr(lines.rfind("\r\n", lines.size() - 3) + 2), std::string(c.rateInSettings) + "\r\n");
        if (!c.closes) {
            EXPECT_EQ(ui().Text3[0]->text(), "25");
            dialogs.answers = {Answer::No};
            EXPECT_TRUE(closeWindow());
            EXPECT_EQ(dialogs.asked.size(), 2u) << "a later close asks again";
        }
    }
}

TEST_F(FilesTest, PlayConditionsSavedWithYesComeBackAtTheNextStart) {
    struct Case {
        const char *name;
        QString rate, total;
        QString wantRate, wantTotal;
    } cases[] = {
        {"as typed", "18.5", "1234", "18.5", "1234"},
        {"a total beyond 16 bits keeps the previous value", "30", "70000", "30", "2000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshDirectory();
        start();
        typeConditions(c.rate, c.total);
        dialogs.answers = {Answer::Yes};
        ASSERT_TRUE(closeWindow());
        EXPECT_TRUE(fs::exists(kLibraryFile));
        restart();
        EXPECT_EQ(ui().Text3[0]->text(), c.wantRate);
        EXPECT_EQ(ui().Text3[1]->text(), c.wantTotal);
    }
}

TEST_F(FilesTest, LibrarySavedWithYesReadsBackIdentical) {
    Library library = smallLibrary();
    MachineRecord a = library.group(0).machine(0);
    a[BigHitProbability] = "1/99.9"; // as typed by someone, kept exactly
    ASSERT_EQ(library.updateMachine(0, 0, a), 0);
    const std::string bytes = libraryBytes(library);
    writeFile("zenbalo.dat", bytes);
    start();
    type(ui().Text3[1], "0");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    EXPECT_EQ(readFile("zenbalo.dat"), bytes);
    EXPECT_EQ(readFile("zenbalo.dat.bak"), bytes);
}

TEST_F(FilesTest, EditedTitleIsSavedOnlyWithYes) {
    for (Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(static_cast<int>(answer));
        restart();
        type(ui().Text2[0], "\\");
        EXPECT_EQ(ui().Text2[0]->text().right(1), "\u00A5");
        dialogs.answers = {answer};
        ASSERT_TRUE(closeWindow());
    }
    restart();
    EXPECT_EQ(ui().Text2[0]->text(), "ミドル\u00A5");
}

TEST_F(FilesTest, FilesThatCannotBeSavedAtCloseAreReported) {
    startWithLibraryFile(smallLibrary());
    const std::string before = readFile("zenbalo.dat");
    type(ui().Text3[1], "0");
    {
        FileSizeLimit full;
        dialogs.answers = {Answer::Yes};
        EXPECT_FALSE(closeWindow()) << "closing now would lose the library";
    }
    ASSERT_EQ(dialogs.asked.size(), 4u);
    const char *messages[] = {"zenbalo.datを保存できませんでした。\nzenbalo.dat.bak：ディスクの空き容量が足りません。",
                              "zenbalo.cfgを保存できませんでした。\nディスクの空き容量が足りません。",
                              "log.txtを保存できませんでした。\nディスクの空き容量が足りません。"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialogs.asked[i + 1].prompt, messages[i]);
        EXPECT_EQ(dialogs.asked[i + 1].title, "Zenbalo - 終了");
        EXPECT_EQ(dialogs.asked[i + 1].icon, MessageBox::Icon::Critical);
    }
    EXPECT_EQ(readFile("zenbalo.dat"), before);

    dialogs.answers = {Answer::No};
    EXPECT_TRUE(closeWindow());
    restart();
    EXPECT_EQ(ui().Text3[1]->text(), "2000") << "No keeps the play conditions of the start, also after a failed Yes";
}

TEST_F(FilesTest, DamagedLibraryIsReportedAndNeverOverwritten) {
    const std::string damaged = "\"title\"\r\n\"cut short";
    writeFile("zenbalo.dat", damaged);
    start();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, "Zenbalo");
    EXPECT_EQ(dialogs.asked[0].icon, MessageBox::Icon::Critical);
    EXPECT_EQ(dialogs.asked[0].prompt.rfind("zenbalo.datを読み込めませんでした。", 0), 0u);
    for (QComboBox *list : ui().Combo1)
        EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(ui().Label6->text(), "大当たり確率が異常です。");

    for (int save = 0; save < 2; ++save) {
        type(ui().Text2[0], "X");
        dialogs.answers = {Answer::Yes};
        ASSERT_TRUE(closeWindow());
        restart();
        EXPECT_TRUE(dialogs.asked.empty()) << "the saved library reads";
    }
    const std::vector<std::string> kept = keptDamagedFiles(kLibraryFile);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(readFile(kept[0]), damaged);
    EXPECT_NE(readFile("zenbalo.dat.bak"), damaged);
}

TEST_F(FilesTest, LibraryWhoseCountsHideMachinesIsReportedAndKept) {
    Library library = smallLibrary();
    std::string bytes = libraryBytes(library);
    // Group 0 claims 2 machines but the file holds 3: the third would move
    // into group 1 and the last machine be dropped at the next save.
    bytes.replace(bytes.find("\r\n3\r\n") + 2, 1, "2");
    writeFile(kLibraryFile, bytes);
    start();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt.rfind("zenbalo.datを読み込めませんでした。", 0), 0u);
    type(ui().Text3[1], "0");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    ASSERT_EQ(keptDamagedFiles(kLibraryFile).size(), 1u);
    EXPECT_EQ(readFile(keptDamagedFiles(kLibraryFile)[0]), bytes);
}

// None of these may stop the start, cost the player a file, or pass silently
// where the library is concerned.
TEST_F(FilesTest, DataFilesThatAreNoFilesNeitherHangNorGetLost) {
    for (const char *name : {kSettingsFile, kLibraryFile, kRateListFile})
        ASSERT_EQ(::mkfifo(name, 0600), 0) << name;
    start();
    ASSERT_EQ(dialogs.asked.size(), 1u) << "only the library is worth a message";
    EXPECT_EQ(dialogs.asked[0].prompt.rfind("zenbalo.datを読み込めませんでした。", 0), 0u);
    EXPECT_EQ(ui().Combo2->count(), 8) << "the built-in exchange rates";
    EXPECT_EQ(ui().Text3[1]->text(), "2000") << "default play conditions";

    type(ui().Text2[0], "X");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    for (const char *base : {kSettingsFile, kLibraryFile}) {
        SCOPED_TRACE(base);
        const auto kept = keptDamagedFiles(base);
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(fs::is_fifo(kept[0]));
        EXPECT_TRUE(fs::is_regular_file(base));
    }
    restart();
    EXPECT_TRUE(dialogs.asked.empty()) << "the saved files read";
    EXPECT_EQ(ui().Text2[0]->text(), "X");
}

} // namespace
} // namespace zenbalo::testing
