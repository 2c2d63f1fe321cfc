// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

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
    writeFile(kSettingsFile, settingsBytes(s));
}

class GroupsTest : public FormTest {};

TEST_F(GroupsTest, FirstStartShowsTheSampleMachineWithAFullTable) {
    start();
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(ui().Text1[0]->text(), ui().Combo1[0]->itemText(0));
    EXPECT_FALSE(ui().Text1[0]->text().isEmpty());
    EXPECT_EQ(ui().Label6->text(), "");
    for (int k = 0; k < kTableRows; ++k)
        EXPECT_NE(ui().Label9[k]->text(), "-");
    EXPECT_EQ(ui().Combo2->currentText().left(2), "28");
    EXPECT_EQ(ui().Text3[0]->text(), "20");
    EXPECT_EQ(ui().Text3[1]->text(), "2000");
}

TEST_F(GroupsTest, ListsAreSortedAndPositionsFindTheirMachine) {
    startWithLibraryFile(smallLibrary());
    ASSERT_EQ(ui().Combo1[0]->count(), 3);
    EXPECT_EQ(ui().Combo1[0]->itemText(0), "A");
    EXPECT_EQ(ui().Combo1[0]->itemText(1), "b");
    chooseNextMachine();
    EXPECT_EQ(ui().Text1[0]->text(), "b");
    EXPECT_EQ(ui().Text1[1]->text(), "1/200");
    EXPECT_EQ(ui().Label7[4]->text(), "4000");
    EXPECT_EQ(form->settings().groupListIndex[0], 1);
}

TEST_F(GroupsTest, ChosenMachineAndRateComeBackAfterARestart) {
    startWithLibraryFile(smallLibrary());
    chooseNextMachine();
    chooseNextRate();
    const QString rate = ui().Combo2->currentText();
    ASSERT_TRUE(closeWindow());
    EXPECT_TRUE(dialogs.asked.empty()) << "selections are saved without a question";
    restart();
    EXPECT_EQ(ui().Combo1[0]->currentIndex(), 1);
    EXPECT_EQ(ui().Text1[0]->text(), "b");
    EXPECT_EQ(ui().Combo2->currentText(), rate);
}

TEST_F(GroupsTest, OnlyTheCurrentGroupsControlsAreUsable) {
    writeSettings({0, 0, -1, -1, -1, -1, -1}, 3, 1);
    startWithLibraryFile(smallLibrary());
    for (int g = 0; g < kGroups; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(ui().Combo1[g]->isEnabled(), g == 1);
        EXPECT_EQ(ui().Text2[g]->isEnabled(), g == 1);
        EXPECT_EQ(ui().Label5[g]->isEnabled(), g != 1);
        EXPECT_EQ(ui().Option1[g]->isChecked(), g == 1);
        EXPECT_TRUE(ui().Option1[g]->isEnabled());
        EXPECT_EQ(ui().Text2[g]->text().toStdString(), smallLibrary().group(g).title());
    }
    EXPECT_EQ(ui().Text1[0]->text(), "一般機");
}

TEST_F(GroupsTest, SwitchingGroupsAfterAnEditAsksFirst) {
    startWithLibraryFile(smallLibrary());
    type(ui().Text1[1], "5");
    dialogs.answers = {Answer::No};
    clickRow(1);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "新規作成を取り消しますか？");
    EXPECT_EQ(dialogs.asked[0].title, "Zenbalo");
    EXPECT_EQ(dialogs.asked[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(dialogs.asked[0].defaultButton, Answer::No);
    EXPECT_EQ(form->settings().currentGroup, 0);
    EXPECT_TRUE(ui().Option1[0]->isChecked());
    EXPECT_FALSE(ui().Option1[1]->isChecked());
    EXPECT_EQ(ui().Text1[1]->text(), "1/1005");

    dialogs.answers = {Answer::Yes};
    QTest::mouseClick(ui().Option1[1], Qt::LeftButton);
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(form->settings().currentGroup, 1);
    EXPECT_EQ(ui().Text1[0]->text(), "一般機");
    EXPECT_EQ(ui().Label7[4]->text(), "8000");
    EXPECT_FALSE(form->machineEdited());
    EXPECT_TRUE(ui().Combo1[1]->isEnabled());
    EXPECT_FALSE(ui().Combo1[0]->isEnabled());
}

TEST_F(GroupsTest, ClickOnAnotherRowsGreyedControlsChoosesItsGroup) {
    startWithLibraryFile(smallLibrary());
    QTest::mouseClick(ui().Combo1[1], Qt::LeftButton);
    EXPECT_EQ(form->settings().currentGroup, 1);
    EXPECT_EQ(ui().Text1[0]->text(), "一般機");
    QTest::mouseClick(ui().Text2[6], Qt::LeftButton);
    EXPECT_EQ(form->settings().currentGroup, 6);
    QTest::mouseClick(ui().Text2[6], Qt::LeftButton);
    EXPECT_EQ(form->settings().currentGroup, 6) << "the current row's own title box is simply used";
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(GroupsTest, ClickingTheCurrentGroupAgainDoesNothing) {
    startWithLibraryFile(smallLibrary());
    type(ui().Text1[1], "5");
    QTest::mouseClick(ui().Option1[0], Qt::LeftButton);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(ui().Text1[1]->text(), "1/1005");
}

TEST_F(GroupsTest, ChoosingAMachineReplacesTypedValuesWithoutAQuestion) {
    startWithLibraryFile(smallLibrary());
    type(ui().Text1[1], "5");
    chooseNextMachine();
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(ui().Text1[1]->text(), "1/200");
}

TEST_F(GroupsTest, EmptyGroupEmptiesTheBoxesAndFailsTheCalculation) {
    startWithLibraryFile(smallLibrary());
    clickRow(6);
    for (EntryBox *box : ui().Text1)
        EXPECT_EQ(box->text(), "");
    EXPECT_EQ(ui().Label6->text(), "大当たり確率が異常です。");
    EXPECT_EQ(ui().Label7[3]->text(), "-");
    EXPECT_EQ(ui().Combo1[6]->count(), 0);
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
        freshDirectory();
        writeSettings(c.listIndex, c.rate, c.group);
        startWithLibraryFile(smallLibrary());
        EXPECT_TRUE(dialogs.asked.empty());
        EXPECT_EQ(form->settings().currentGroup, c.wantGroup);
        EXPECT_EQ(ui().Combo1[0]->currentIndex(), c.wantListPosition);
        EXPECT_EQ(ui().Combo2->currentIndex(), c.wantRate);
        EXPECT_EQ(ui().Text1[0]->text(), c.wantName);
        EXPECT_EQ(ui().Label6->text(), "");
    }
}

} // namespace
} // namespace zenbalo::testing
