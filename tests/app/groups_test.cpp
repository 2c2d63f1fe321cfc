// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include "common/sjis.h"
#include "library/library_files.h"

#include <QComboBox>
#include <QRadioButton>
#include <filesystem>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

void writeSettings(std::array<int16_t, 7> listIndex, int16_t rate, int16_t group) {
    AppSettings s;
    s.groupListIndex = listIndex;
    s.rateListIndex = rate;
    s.currentGroup = group;
    s.savedTotalRotations = 2000;
    s.savedRotationRate = 20;
    writeFile("zenbalo.cfg", settingsBytes(s));
}

class GroupsTest : public FormTest {
protected:
    void startWithSmallLibrary() {
        writeFile("zenbalo.dat", libraryBytes(smallLibrary()));
        start();
    }
    void chooseNextMachine(int group) {
        form->Combo1[group]->setFocus();
        QTest::keyClick(form->Combo1[group], Qt::Key_Down);
    }
    void chooseNextRate() {
        form->Combo2->setFocus();
        QTest::keyClick(form->Combo2, Qt::Key_Down);
    }
    void clickRow(int group) { QTest::mouseClick(form->Label5[group], Qt::LeftButton, {}, QPoint(290, 8)); }
};

TEST_F(GroupsTest, FirstStartShowsTheSampleMachineWithAFullTable) {
    start();
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(form->Text1[0]->text(), form->Combo1[0]->itemText(0));
    EXPECT_FALSE(form->Text1[0]->text().isEmpty());
    EXPECT_EQ(form->Label6->text(), "");
    for (int k = 0; k < kTableRows; ++k)
        EXPECT_NE(form->Label9[k]->text(), "-");
    EXPECT_EQ(form->Combo2->currentText().left(2), "28");
    EXPECT_EQ(form->Text3[0]->text(), "20");
    EXPECT_EQ(form->Text3[1]->text(), "2000");
}

TEST_F(GroupsTest, ListsAreSortedAndPositionsFindTheirMachine) {
    startWithSmallLibrary();
    ASSERT_EQ(form->Combo1[0]->count(), 3);
    EXPECT_EQ(form->Combo1[0]->itemText(0), "A");
    EXPECT_EQ(form->Combo1[0]->itemText(1), "b");
    chooseNextMachine(0);
    EXPECT_EQ(form->Text1[0]->text(), "b");
    EXPECT_EQ(form->Text1[1]->text(), "1/200");
    EXPECT_EQ(form->Label7[4]->text(), "4000");
    EXPECT_EQ(form->settings.groupListIndex[0], 1);
}

TEST_F(GroupsTest, ChosenMachineAndRateComeBackAfterARestart) {
    startWithSmallLibrary();
    chooseNextMachine(0);
    chooseNextRate();
    const QString rate = form->Combo2->currentText();
    ASSERT_TRUE(closeWindow());
    EXPECT_TRUE(dialogs.asked.empty()) << "selections are saved without a question";
    restart();
    EXPECT_EQ(form->Combo1[0]->currentIndex(), 1);
    EXPECT_EQ(form->Text1[0]->text(), "b");
    EXPECT_EQ(form->Combo2->currentText(), rate);
}

TEST_F(GroupsTest, OnlyTheCurrentGroupsControlsAreUsable) {
    writeSettings({0, 0, -1, -1, -1, -1, -1}, 3, 1);
    startWithSmallLibrary();
    for (int g = 0; g < kGroups; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(form->Combo1[g]->isEnabled(), g == 1);
        EXPECT_EQ(form->Text2[g]->isEnabled(), g == 1);
        EXPECT_EQ(form->Label5[g]->isEnabled(), g != 1);
        EXPECT_EQ(form->Option1[g]->isChecked(), g == 1);
        EXPECT_TRUE(form->Option1[g]->isEnabled());
        EXPECT_EQ(form->Text2[g]->text().toStdString(), smallLibrary().groupTitles[g]);
    }
    EXPECT_EQ(form->Text1[0]->text(), "一般機");
}

TEST_F(GroupsTest, SwitchingGroupsAfterAnEditAsksFirst) {
    startWithSmallLibrary();
    type(form->Text1[1], "5");
    dialogs.answers = {Answer::No};
    clickRow(1);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "新規作成を取り消しますか？");
    EXPECT_EQ(dialogs.asked[0].title, "Zenbalo");
    EXPECT_EQ(dialogs.asked[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(dialogs.asked[0].defaultButton, Answer::No);
    EXPECT_EQ(form->settings.currentGroup, 0);
    EXPECT_TRUE(form->Option1[0]->isChecked());
    EXPECT_FALSE(form->Option1[1]->isChecked());
    EXPECT_EQ(form->Text1[1]->text(), "1/1005");

    dialogs.answers = {Answer::Yes};
    QTest::mouseClick(form->Option1[1], Qt::LeftButton);
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(form->settings.currentGroup, 1);
    EXPECT_EQ(form->Text1[0]->text(), "一般機");
    EXPECT_EQ(form->Label7[4]->text(), "8000");
    EXPECT_FALSE(form->machineEdited);
    EXPECT_TRUE(form->Combo1[1]->isEnabled());
    EXPECT_FALSE(form->Combo1[0]->isEnabled());
}

TEST_F(GroupsTest, ClickOnAnotherRowsGreyedControlsChoosesItsGroup) {
    startWithSmallLibrary();
    QTest::mouseClick(form->Combo1[1], Qt::LeftButton);
    EXPECT_EQ(form->settings.currentGroup, 1);
    EXPECT_EQ(form->Text1[0]->text(), "一般機");
    QTest::mouseClick(form->Text2[6], Qt::LeftButton);
    EXPECT_EQ(form->settings.currentGroup, 6);
    QTest::mouseClick(form->Text2[6], Qt::LeftButton);
    EXPECT_EQ(form->settings.currentGroup, 6) << "the current row's own title box is simply used";
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(GroupsTest, ClickingTheCurrentGroupAgainDoesNothing) {
    startWithSmallLibrary();
    type(form->Text1[1], "5");
    QTest::mouseClick(form->Option1[0], Qt::LeftButton);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(form->Text1[1]->text(), "1/1005");
}

TEST_F(GroupsTest, ChoosingAMachineReplacesTypedValuesWithoutAQuestion) {
    startWithSmallLibrary();
    type(form->Text1[1], "5");
    chooseNextMachine(0);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(form->Text1[1]->text(), "1/200");
}

TEST_F(GroupsTest, EmptyGroupEmptiesTheBoxesAndFailsTheCalculation) {
    startWithSmallLibrary();
    clickRow(6);
    for (EntryBox *box : form->Text1)
        EXPECT_EQ(box->text(), "");
    EXPECT_EQ(form->Label6->text(), "大当たり確率が異常です。");
    EXPECT_EQ(form->Label7[3]->text(), "-");
    EXPECT_EQ(form->Combo1[6]->count(), 0);
}

TEST_F(GroupsTest, StoredSelections) {
    struct Case {
        const char *name;
        std::array<int16_t, 7> listIndex;
        int16_t rate, group;
        int wantGroup, wantListPosition, wantRate;
        const char *wantName;
    } cases[] = {
        {"none selected shows the first machine", {-1, 0, -1, -1, -1, -1, -1}, 3, 0, 0, -1, 3, "A"},
        {"beyond the list", {7, 0, -1, -1, -1, -1, -1}, 3, 0, 0, 0, 3, "A"},
        {"below -1", {-2, 0, -1, -1, -1, -1, -1}, 3, 0, 0, 0, 3, "A"},
        {"group outside 0..6", {2, 0, -1, -1, -1, -1, -1}, 3, 9, 0, 2, 3, "c"},
        {"rate beyond the list", {0, 0, -1, -1, -1, -1, -1}, 8, 0, 0, 0, 0, "A"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir fresh;
        form.reset();
        dialogs.asked.clear();
        writeSettings(c.listIndex, c.rate, c.group);
        startWithSmallLibrary();
        EXPECT_TRUE(dialogs.asked.empty());
        EXPECT_EQ(form->settings.currentGroup, c.wantGroup);
        EXPECT_EQ(form->Combo1[0]->currentIndex(), c.wantListPosition);
        EXPECT_EQ(form->Combo2->currentIndex(), c.wantRate);
        EXPECT_EQ(form->Text1[0]->text(), c.wantName);
        EXPECT_EQ(form->Label6->text(), "");
        form.reset();
    }
}

TEST_F(GroupsTest, LibrarySavedWithYesReadsBackIdentical) {
    Library library = smallLibrary();
    sortGroups(library);
    library.machineStrings[1] = "1/99.9"; // A, as typed by someone, kept exactly
    const std::string bytes = libraryBytes(library);
    writeFile("zenbalo.dat", bytes);
    start();
    type(form->Text3[1], "0");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    EXPECT_EQ(readFile("zenbalo.dat"), bytes);
    EXPECT_EQ(readFile("zenbalo.dat.bak"), bytes);
}

TEST_F(GroupsTest, EditedTitleIsSavedOnlyWithYes) {
    for (Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(static_cast<int>(answer));
        restart();
        type(form->Text2[0], "\\");
        EXPECT_EQ(form->Text2[0]->text().right(1), "\u00A5");
        dialogs.answers = {answer};
        ASSERT_TRUE(closeWindow());
    }
    restart();
    EXPECT_EQ(form->Text2[0]->text(), "ミドル\u00A5");
}

TEST_F(GroupsTest, DamagedLibraryIsReportedAndNeverOverwritten) {
    const std::string damaged = "\"title\"\r\n\"cut short";
    writeFile("zenbalo.dat", damaged);
    start();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, "Zenbalo");
    EXPECT_EQ(dialogs.asked[0].icon, MessageBox::Icon::Critical);
    EXPECT_EQ(dialogs.asked[0].prompt.rfind("zenbalo.datを読み込めませんでした。", 0), 0u);
    for (QComboBox *list : form->Combo1)
        EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(form->Label6->text(), "大当たり確率が異常です。");

    for (int save = 0; save < 2; ++save) {
        type(form->Text2[0], "X");
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

TEST_F(GroupsTest, FilesThatCannotBeSavedAtCloseAreReported) {
    startWithSmallLibrary();
    const std::string before = readFile("zenbalo.dat");
    type(form->Text3[1], "0");
    {
        FileSizeLimit full;
        dialogs.answers = {Answer::Yes};
        EXPECT_FALSE(closeWindow()) << "closing now would lose the library";
    }
    ASSERT_EQ(dialogs.asked.size(), 4u);
    const char *messages[] = {"zenbalo.datを保存できませんでした。\nディスクの空き容量が足りません。",
                              "zenbalo.cfgを保存できませんでした。", "ログを保存できませんでした。"};
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
    EXPECT_EQ(form->Text3[1]->text(), "2000") << "No keeps the play conditions of the start, also after a failed Yes";
}

TEST_F(GroupsTest, LogThatCannotBeSavedIsReported) {
    start();
    {
        FileSizeLimit full;
        QTest::keyClick(form->Text1[0], Qt::Key_S, Qt::ControlModifier);
    }
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "ログを保存できませんでした。");
    EXPECT_EQ(dialogs.asked[0].title, "Zenbalo - ログを保存");
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    {
        FileSizeLimit full;
        EXPECT_TRUE(closeWindow()) << "settings and log that fail at close do not stop it";
    }
}

TEST_F(GroupsTest, RateListWithNoEntriesLeavesNoExchangeRate) {
    writeFile("zenbalo.kan", "0\r\n");
    start();
    EXPECT_EQ(form->Combo2->count(), 0);
    EXPECT_EQ(form->Label6->text(), "換金率が異常です。");
    EXPECT_EQ(form->Label9[0]->text(), "-");
}

TEST_F(GroupsTest, ExchangeRateFileIsOfferedInFileOrder) {
    writeFile("zenbalo.kan", *encodeSjis("2\r\n\"40玉\"\r\n\"25玉 等価\"\r\n"));
    start();
    ASSERT_EQ(form->Combo2->count(), 2);
    EXPECT_EQ(form->Combo2->itemText(1), "25玉 等価");
    EXPECT_EQ(form->Combo2->currentIndex(), 0) << "no 28-ball entry: the first";
    chooseNextRate();
    EXPECT_DOUBLE_EQ(form->shared.yenPerBall, 4);
    ASSERT_NE(form->Label9[0]->text(), "-");
    for (int k = 1; k < kTableRows; ++k)
        EXPECT_EQ(form->Label9[k]->text(), form->Label9[0]->text());
}

} // namespace
} // namespace zenbalo::testing
