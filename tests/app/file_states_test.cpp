// SPDX-License-Identifier: GPL-3.0-or-later
// The player's files in states a careful player or a hostile neighbour can
// leave them in, driven through every save of a session: the library at a
// close answered Yes, the settings and the log at every close, a record of the
// analysis window. Whatever the state, nothing the player had is lost, and
// what the program wrote reads back.
#include "support/form_fixture.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/frm_analysis.h"
#include "common/sjis.h"
#include "engine/log_report.h"
#include "engine/rates.h"
#include "journal/journal.h"

#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;
namespace fs = std::filesystem;

// The four files a session writes, and the message of a failed save of each;
// the analysis names its file with the reason, as it is saved to the journal too.
struct SavedFile {
    const char *name;
    const char *message;
    const char *reasonFrom = "";
};
const SavedFile kSaved[] = {
    {kLibraryFile, "zenbalo.datを保存できませんでした。"},
    {kSettingsFile, "zenbalo.cfgを保存できませんでした。"},
    {kLogFile, "log.txtを保存できませんでした。"},
    {kAnalysisFile, "分析データを保存できませんでした。", "bunseki.txt に書き込めませんでした。"},
};

constexpr const char *kProtected = "書き込みが禁止されています。";
constexpr const char *kForeignLink = "ほかのユーザーのシンボリックリンクなので、その先には書き込みませんでした。";
const std::string kLong(300, 'L');

std::string bytesFrom(const std::string &path, uintmax_t offset) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    return {std::istreambuf_iterator<char>(in), {}};
}

// Reads a file of any mode as its owner would after making it readable; the
// mode stays as it was.
std::string readAsOwner(const std::string &path) {
    if (fs::is_symlink(path))
        return readFile(path);
    const unsigned mode = modeOf(path);
    ::chmod(path.c_str(), mode | 0400);
    const std::string bytes = readFile(path);
    ::chmod(path.c_str(), mode);
    return bytes;
}

// The player's files as a session finds them.
struct Before {
    std::map<std::string, std::string> bytes; // of files up to 64 MB
    std::map<std::string, uintmax_t> sizes;
    std::map<std::string, unsigned> modes;
};

class FileStatesTest : public FormTest {
public:
    // A library of three machines and a long title nowhere, settings whose
    // reserved value shows they were read, a log and a journal.
    static void writePlayersFiles() {
        writeFile(kLibraryFile, libraryBytes(smallLibrary()));
        AppSettings settings = defaultSettings(smallLibrary(), builtInRateList());
        settings.reserved[0] = 7;
        writeFile(kSettingsFile, settingsBytes(settings));
        writeFile(kLogFile, sjisLines({"an old log"}));
        writeFile(kAnalysisFile, sjisLines({"*** an old record ***"}));
    }

    static Before snapshot() {
        Before before;
        for (const SavedFile &file : kSaved) {
            const uintmax_t size = fs::file_size(file.name);
            before.sizes[file.name] = size;
            before.modes[file.name] = modeOf(file.name);
            if (size <= (64u << 20))
                before.bytes[file.name] = readAsOwner(file.name);
        }
        return before;
    }

    // An edit worth saving, an analysis saved, and a close answered Yes, then
    // No when Yes could not save. Returns every message shown.
    std::vector<std::string> session(const std::function<void(FileStatesTest &)> &play) {
        dialogs.asked.clear();
        start();
        if (play)
            play(*this);
        type(ui().Text2[form->settings().currentGroup], "X");
        calculateMachine(workedExampleMachine()); // also where the library was unreadable
        recordShown.clear();
        saveAnalysis();
        answer({Answer::Yes});
        if (!closeWindow()) {
            answer({Answer::No});
            EXPECT_TRUE(closeWindow());
        }
        EXPECT_TRUE(dialogs.answers.empty());
        std::vector<std::string> shown;
        for (const MessageBox &box : dialogs.asked)
            if (box.buttons == MessageBox::Buttons::Ok)
                shown.push_back(box.prompt);
        return shown;
    }

    // Ctrl+B, the totals of a visit, Ctrl+S, and the window closed again.
    void saveAnalysis() {
        QTimer::singleShot(0, [this] {
            auto *window = qobject_cast<frmAnalysis *>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr) << "no analysis window";
            QApplication::setActiveWindow(window);
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            window->setToday([] { return formatShortDate({2005, 3, 14}); });
            const QString totals[] = {"駅前店", "1000", "12", "20000", "30000"};
            for (int k = 0; k < 5; ++k)
                retype(window->ui().Text1[k], totals[k]);
            QTest::keyClick(window->ui().Text1[4], Qt::Key_Return);
            QTest::keyClick(window->ui().Text1[0], Qt::Key_S, Qt::ControlModifier);
            AnalysisResults results;
            for (int k = 0; k < kAnalysisResults; ++k)
                results[static_cast<size_t>(k)] = toStd(window->ui().Label3[k]->text());
            recordShown = analysisRecordBytes({"2005/03/14", "駅前店", toStd(window->ui().Label2[1]->text()),
                                               form->shared().machineName, toStd(window->ui().Label2[0]->text()),
                                               AnalysisTotals{"1000", "12", "20000", "30000"}, results});
            window->done(QDialog::Rejected); // whatever its save did
        });
        press(Qt::CTRL | Qt::Key_B);
        EXPECT_FALSE(recordShown.empty()) << "the analysis window did not open";
    }

    void answer(std::deque<Answer> answers) { dialogs.answers = std::move(answers); }

    // What a saved file holds is what the program had: the library and the
    // settings it closed with, a log of its calculation, the old journal with
    // one record after it.
    void expectReadsBack(const SavedFile &file, const Before &before) const {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(modeOf(file.name) & 0600u, 0600u) << "its owner reads and writes it";
        const std::string name = file.name;
        if (name == kLibraryFile) {
            EXPECT_EQ(parseLibrary(readFile(kLibraryFile)), form->library());
        } else if (name == kSettingsFile) {
            EXPECT_EQ(parseSettings(readFile(kSettingsFile)), form->settings());
        } else if (name == kLogFile) {
            const auto log = decodeSjis(readFile(kLogFile));
            ASSERT_TRUE(log);
            EXPECT_EQ(log->rfind("*** " + toStd(ui().Text1[Name]->text()) + "(", 0), 0u) << *log;
        } else {
            const uintmax_t old = before.sizes.at(name);
            EXPECT_EQ(fs::file_size(name), old + recordShown.size());
            EXPECT_EQ(bytesFrom(name, old), recordShown);
            if (before.bytes.count(name)) {
                EXPECT_EQ(readFile(name).substr(0, old), before.bytes.at(name));
            }
        }
    }

    // What the file held before is still there: in its place, in the backup
    // or in a kept copy, or read into the program and saved again.
    static void expectNothingLost(const SavedFile &file, const Before &before) {
        SCOPED_TRACE(file.name);
        const std::string name = file.name;
        if (name == kLogFile || !before.bytes.count(name) || name == kAnalysisFile)
            return; // the log is the last calculation's; the journal is checked above
        std::vector<std::string> places = keptDamagedFiles(name);
        places.push_back(name);
        if (name == kLibraryFile)
            places.push_back(kBackupFile);
        bool kept = false;
        for (const std::string &place : places)
            kept = kept || (fs::exists(place) && readAsOwner(place) == before.bytes.at(name));
        if (name == kSettingsFile && !kept) {
            const auto saved = parseSettings(readFile(kSettingsFile));
            kept = saved && saved->reserved[0] == 7;
        }
        EXPECT_TRUE(kept) << "the old contents are nowhere";
    }

    std::string recordShown;
};

TEST_F(FileStatesTest, NothingIsLostAndWhatIsWrittenReadsBack) {
    const auto chmodAll = [](unsigned mode) {
        for (const SavedFile &file : kSaved)
            fs::permissions(file.name, fs::perms(mode));
        return std::string();
    };
    struct Case {
        const char *name;
        std::function<std::string()> prepare; // the reason to skip, if any
        std::string refusal;                  // empty: every save succeeds
        std::function<void(FileStatesTest &)> play = {};
        std::function<void(FileStatesTest &)> check = {};
    };
    const Case cases[] = {
        {"their owner may not read them", [&] { return chmodAll(0200); }, ""},
        {"write-protected", [&] { return chmodAll(0444); }, kProtected},
        {"unreadable and write-protected", [&] { return chmodAll(0); }, kProtected},
        {"another user's links in a shared directory, zenbalo.cfg's behind a link of the player's",
         [] {
             fs::permissions(".", fs::perms(01777));
             fs::create_directory("victim");
             for (const SavedFile &file : kSaved) {
                 const std::string name = file.name, planted = name == kSettingsFile ? "planted" : name;
                 fs::rename(name, "victim/" + name);
                 fs::create_symlink("victim/" + name, planted);
                 if (!giveToAnotherUser(planted))
                     return std::string(kNeedsRoot);
                 if (planted != name)
                     fs::create_symlink(planted, name);
             }
             return std::string();
         },
         kForeignLink,
         {},
         [](FileStatesTest &) {
             for (const SavedFile &file : kSaved)
                 EXPECT_TRUE(fs::is_symlink(file.name)) << file.name;
         }},
        {"a journal larger than memory, a library and settings larger than their readers take",
         [] {
             std::error_code error;
             fs::resize_file(kAnalysisFile, uintmax_t{40} << 30, error);
             fs::resize_file(kLibraryFile, uintmax_t{33} << 20);
             fs::resize_file(kSettingsFile, uintmax_t{1} << 20);
             fs::resize_file(kLogFile, uintmax_t{50} << 20);
             return error ? "no sparse file of 40 GB here" : std::string();
         },
         ""},
        {"a rate list in UTF-8 with an entry without a rate",
         [] {
             writeFile(kRateListFile, "\xEF\xBB\xBF"
                                      "3\r\n\"30玉 (3.33円)\"\r\n\"玉なし\"\r\n\"28玉 (3.57円)\"\r\n");
             AppSettings settings = *parseSettings(readFile(kSettingsFile));
             settings.rateListIndex = 2;
             writeFile(kSettingsFile, settingsBytes(settings));
             return std::string();
         },
         "",
         [](FileStatesTest &t) {
             ASSERT_EQ(t.ui().Combo2->count(), 3);
             EXPECT_EQ(t.ui().Combo2->currentText(), "28玉 (3.57円)");
             const QString border = t.ui().Label4[0]->text();
             EXPECT_NE(border, "-");
             t.ui().Combo2->setFocus();
             QTest::keyClick(t.ui().Combo2, Qt::Key_Up);
             EXPECT_EQ(t.ui().Label6->text(), "換金率が異常です。");
             EXPECT_EQ(t.ui().Label4[0]->text(), "-");
             EXPECT_EQ(t.ui().Label9[10]->text(), "-");
             t.chooseRate(28);
             EXPECT_EQ(t.ui().Label4[0]->text(), border);
         },
         [](FileStatesTest &t) {
             EXPECT_EQ(t.form->settings().rateListIndex, 2);
             EXPECT_EQ(readFile(kRateListFile).substr(0, 3), "\xEF\xBB\xBF") << "the player's list is not rewritten";
         }},
        {"fields longer than a box takes",
         [] {
             Library library = makeLibrary(groupsOf("A b c|一般機"));
             library.setTitle(1, "T" + kLong);
             library.InsertMachine(0, record("N" + kLong, "1500" + kLong));
             writeFile(kLibraryFile, libraryBytes(library));
             return std::string();
         },
         "",
         [](FileStatesTest &t) {
             t.chooseNextMachine();
             t.chooseNextMachine();
             t.chooseNextMachine(); // the long name, last in its list
             ASSERT_EQ(t.ui().Text1[Name]->text().size(), 301);
             t.press(kCut);
             t.chooseGroup(2);
             t.press(kPaste);
             t.chooseGroup(0);
         },
         [](FileStatesTest &) {
             const Library saved = *parseLibrary(readFile(kLibraryFile));
             EXPECT_EQ(saved.group(1).title(), "T" + kLong);
             EXPECT_EQ(saved.group(2).machine(0), record("N" + kLong, "1500" + kLong)) << "cut and pasted whole";
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshDirectory();
        writePlayersFiles();
        if (const std::string skip = c.prepare(); !skip.empty()) {
            std::cout << "skipped (" << skip << "): " << c.name << "\n";
            continue;
        }
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE("session " + std::to_string(round + 1));
            const Before before = snapshot();
            const std::vector<std::string> entries = directoryEntries();
            const std::vector<std::string> shown = session(round == 0 ? c.play : nullptr);
            for (const SavedFile &file : kSaved) {
                SCOPED_TRACE(file.name);
                const auto about = [&file](const std::string &message) { return message.rfind(file.message, 0) == 0; };
                EXPECT_EQ(std::any_of(shown.begin(), shown.end(), about), !c.refusal.empty());
                if (c.refusal.empty()) {
                    expectReadsBack(file, before);
                    expectNothingLost(file, before);
                    continue;
                }
                const std::string failed = std::string(file.message) + "\n" + file.reasonFrom + c.refusal;
                EXPECT_NE(std::find(shown.begin(), shown.end(), failed), shown.end()) << "says which file and why";
                EXPECT_EQ(modeOf(file.name), before.modes.at(file.name));
                if (before.bytes.count(file.name)) {
                    EXPECT_EQ(readAsOwner(file.name), before.bytes.at(file.name));
                }
            }
            if (!c.refusal.empty() || round == 1) {
                std::vector<std::string> want = entries;
                if (c.refusal.empty() && !std::count(want.begin(), want.end(), kBackupFile))
                    want.push_back(kBackupFile); // the first save of a file that reads
                if (!std::count(want.begin(), want.end(), kJournalFile))
                    want.push_back(kJournalFile); // the journal, made at the first saved analysis
                std::sort(want.begin(), want.end());
                EXPECT_EQ(directoryEntries(), want) << "no further copy, no leftover";
            }
            if (c.check)
                c.check(*this);
        }
    }
}

} // namespace
} // namespace zenbalo::testing
