// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"
#include "support/form_fixture.h"

#include <filesystem>
#include <sys/stat.h>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;
namespace fs = std::filesystem;

// None of these may stop the start, cost the player a file, or pass silently
// where the library is concerned.
TEST_F(FormTest, DataFilesThatAreNoFilesNeitherHangNorGetLost) {
    for (const char *name : {kSettingsFile, kLibraryFile, kRateListFile})
        ASSERT_EQ(::mkfifo(name, 0600), 0) << name;
    start();
    ASSERT_EQ(dialogs.asked.size(), 1u) << "only the library is worth a message";
    EXPECT_EQ(dialogs.asked[0].prompt.rfind("zenbalo.datを読み込めませんでした。", 0), 0u);
    EXPECT_EQ(form->Combo2->count(), 8) << "the built-in exchange rates";
    EXPECT_EQ(form->Text3[1]->text(), "2000") << "default play conditions";

    type(form->Text2[0], "X");
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
    EXPECT_EQ(form->Text2[0]->text(), "X");
}

TEST_F(FormTest, LibraryWhoseCountsHideMachinesIsReportedAndKept) {
    Library library = smallLibrary();
    std::string bytes = libraryBytes(library);
    // Group 0 claims 2 machines but the file holds 3: the third would move
    // into group 1 and the last machine be dropped at the next save.
    bytes.replace(bytes.find("\r\n3\r\n") + 2, 1, "2");
    writeFile(kLibraryFile, bytes);
    start();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt.rfind("zenbalo.datを読み込めませんでした。", 0), 0u);
    type(form->Text3[1], "0");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    ASSERT_EQ(keptDamagedFiles(kLibraryFile).size(), 1u);
    EXPECT_EQ(readFile(keptDamagedFiles(kLibraryFile)[0]), bytes);
}

} // namespace
} // namespace zenbalo::testing
