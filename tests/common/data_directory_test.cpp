// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/data_directory.h"

#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <unistd.h>

namespace zenbalo {
namespace {

namespace fs = std::filesystem;

Environment environmentOf(std::map<std::string, std::string> variables) {
    return [variables](const char *name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

TEST(DataDirectory, ChosenFromTheEnvironment) {
    testing::TempWorkDir dir;
    const std::string here = fs::current_path().string();
    struct Case {
        const char *name;
        std::map<std::string, std::string> environment;
        std::string want; // the path, or the failure
    } cases[] = {
        {"ZENBALO_DATA first", {{"ZENBALO_DATA", "/d/z"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "/d/z"},
        {"ZENBALO_DATA relative to where the program started", {{"ZENBALO_DATA", "data"}}, here + "/data"},
        {"ZENBALO_DATA=- is a directory, not the previous one", {{"ZENBALO_DATA", "-"}, {"OLDPWD", "/o"}}, here + "/-"},
        {"ZENBALO_DATA=-x is a directory, not an option", {{"ZENBALO_DATA", "-x"}}, here + "/-x"},
        {"an empty ZENBALO_DATA counts as unset", {{"ZENBALO_DATA", ""}, {"HOME", "/h"}}, "/h/.local/share/zenbalo"},
        {"XDG_DATA_HOME", {{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "/x/zenbalo"},
        {"a relative XDG_DATA_HOME is ignored", {{"XDG_DATA_HOME", "rel"}, {"HOME", "/h"}}, "/h/.local/share/zenbalo"},
        {"so is one with a tilde", {{"XDG_DATA_HOME", "~/x"}, {"HOME", "/h/"}}, "/h/.local/share/zenbalo"},
        {"HOME", {{"HOME", "/h"}}, "/h/.local/share/zenbalo"},
        {"no HOME",
         {{"XDG_DATA_HOME", "rel"}},
         "データの置き場所 $HOME/.local/share/zenbalo を用意できませんでした。\n環境変数 HOME が設定されていません。"},
        {"no HOME needed", {{"ZENBALO_DATA", "/d"}}, "/d"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DataDirectory data = dataDirectory(environmentOf(c.environment));
        EXPECT_EQ(data.ok() ? data.path : data.failure, c.want);
    }
}

// A working directory with the installed files in share/, and where the test
// stood before, to which each case returns.
class EnterDataDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory("share");
        testing::writeFile("share/zenbalo.kan", "rates");
        testing::writeFile("share/説明書.txt", "manual");
        testing::writeFile("file", "");
    }
    DataDirectory enter(const std::map<std::string, std::string> &environment) {
        DataDirectory data = enterDataDirectory(environmentOf(environment), share);
        cwd = fs::current_path().string();
        fs::current_path(dir.path());
        return data;
    }

    testing::TempWorkDir dir;
    const std::string share = dir.path() + "/share";
    std::string cwd;
};

TEST_F(EnterDataDirectory, MadeAndEnteredWithTheInstalledFilesButNeverOverThePlayersOwn) {
    DataDirectory data = enter({{"HOME", dir.path() + "/home"}});
    ASSERT_TRUE(data.ok()) << data.failure;
    EXPECT_EQ(cwd, dir.path() + "/home/.local/share/zenbalo");
    EXPECT_EQ(testing::readFile(cwd + "/zenbalo.kan") + testing::readFile(cwd + "/説明書.txt"), "ratesmanual");

    testing::writeFile(cwd + "/zenbalo.kan", "my rates");
    fs::remove(cwd + "/説明書.txt");
    fs::remove("share/説明書.txt");
    data = enter({{"HOME", dir.path() + "/home"}});
    ASSERT_TRUE(data.ok()) << data.failure;
    EXPECT_EQ(testing::directoryEntries(cwd), std::vector<std::string>{"zenbalo.kan"}) << "a missing one is left out";
    EXPECT_EQ(testing::readFile(cwd + "/zenbalo.kan"), "my rates");
}

TEST_F(EnterDataDirectory, EveryFailureNamesTheDirectoryAndWhy) {
    const std::string d = dir.path();
    struct Case {
        const char *name;
        std::map<std::string, std::string> environment;
        std::string directory, reason;
    } cases[] = {
        {"XDG_DATA_HOME naming a file",
         {{"XDG_DATA_HOME", d + "/file"}},
         d + "/file/zenbalo",
         d + "/file はフォルダーではなくファイルです。"},
        {"ZENBALO_DATA naming a file",
         {{"ZENBALO_DATA", "file"}},
         d + "/file",
         d + "/file はフォルダーではなくファイルです。"},
        {"a file further up",
         {{"ZENBALO_DATA", "file/a/b"}},
         d + "/file/a/b",
         d + "/file はフォルダーではなくファイルです。"},
        {"a place that takes no directory",
         {{"ZENBALO_DATA", "/proc/zenbalo"}},
         "/proc/zenbalo",
         "/proc の中にはフォルダーを作れません。"},
        {"a parent that cannot be written",
         {{"ZENBALO_DATA", "/sys/zenbalo"}},
         "/sys/zenbalo",
         "/sys に書き込む権限がありません。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DataDirectory data = enter(c.environment);
        EXPECT_EQ(data.failure, "データの置き場所 " + c.directory + " を用意できませんでした。\n" + c.reason);
        EXPECT_EQ(cwd, d) << "stays where it was";
    }
}

TEST_F(EnterDataDirectory, ADirectoryThatCannotBeWrittenIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    fs::create_directory("locked");
    fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec);
    const DataDirectory data = enter({{"ZENBALO_DATA", "locked"}});
    EXPECT_EQ(data.failure, "データの置き場所 " + dir.path() + "/locked を用意できませんでした。\n" + dir.path() +
                                "/locked に書き込む権限がありません。");
}

} // namespace
} // namespace zenbalo
