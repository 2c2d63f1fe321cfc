// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include "common/sjis.h"

#include <QPushButton>
#include <filesystem>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

class CalculationTest : public FormTest {};

TEST_F(CalculationTest, TypedWorkedExampleShowsTheResults) {
    start();
    calculateMachine(workedExampleMachine());
    EXPECT_EQ(ui().Label6->text(), "");
    const char *summary[] = {"6.667", "13.333", "2.000", "1/150.000", "3000"};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(ui().Label7[k]->text(), summary[k]);
    EXPECT_EQ(ui().Label4[0]->text(), "28.000");
    EXPECT_EQ(ui().Label4[5]->text(), "26.500");
    EXPECT_EQ(ui().Label4[10]->text(), "25.000");
    EXPECT_EQ(ui().Label9[0]->text(), "\u00A5-28600");
    EXPECT_EQ(ui().Label9[5]->text(), "\u00A5-23300");
    EXPECT_EQ(ui().Label9[10]->text(), "\u00A5-17900");
    EXPECT_DOUBLE_EQ(form->shared().totalHitProbability, 2.0 / 300);
}

TEST_F(CalculationTest, FailedValidationShowsDashesAndTheMessage) {
    start();
    calculateMachine(workedExampleMachine());
    retype(ui().Text1[1], "300");
    QTest::keyClick(ui().Text1[1], Qt::Key_Enter);
    EXPECT_EQ(ui().Label6->text(), "大当たり確率が異常です。");
    for (FigureLabel *l : ui().Label7)
        EXPECT_EQ(l->text(), "-");
    for (int k = 0; k < kTableRows; ++k) {
        EXPECT_EQ(ui().Label4[k]->text(), "-");
        EXPECT_EQ(ui().Label9[k]->text(), "-");
    }
    EXPECT_DOUBLE_EQ(form->shared().totalHitProbability, 2.0 / 300);
    QTest::mouseClick(ui().Command1, Qt::LeftButton);
    EXPECT_EQ(ui().Label6->text(), "大当たり確率が異常です。");
}

TEST_F(CalculationTest, LogSavedFromTheMenuMatchesTheScreen) {
    start();
    calculateMachine(workedExampleMachine());
    QTest::keyClick(ui().Text1[1], Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile("log.txt"), fixture("log/worked_example.txt"));
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(CalculationTest, LogThatCannotBeSavedIsReported) {
    start();
    {
        FileSizeLimit full;
        QTest::keyClick(ui().Text1[0], Qt::Key_S, Qt::ControlModifier);
    }
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "log.txtを保存できませんでした。\nディスクの空き容量が足りません。");
    EXPECT_EQ(dialogs.asked[0].title, "Zenbalo - ログを保存");
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    {
        FileSizeLimit full;
        EXPECT_TRUE(closeWindow()) << "settings and log that fail at close do not stop it";
    }
}

TEST_F(CalculationTest, RateListWithNoEntriesLeavesNoExchangeRate) {
    writeFile("zenbalo.kan", "0\r\n");
    start();
    EXPECT_EQ(ui().Combo2->count(), 0);
    EXPECT_EQ(ui().Label6->text(), "換金率が異常です。");
    EXPECT_EQ(ui().Label9[0]->text(), "-");
}

TEST_F(CalculationTest, ExchangeRateFileIsOfferedInFileOrder) {
    writeFile("zenbalo.kan", *encodeSjis("2\r\n\"40玉\"\r\n\"25玉 等価\"\r\n"));
    start();
    ASSERT_EQ(ui().Combo2->count(), 2);
    EXPECT_EQ(ui().Combo2->itemText(1), "25玉 等価");
    EXPECT_EQ(ui().Combo2->currentIndex(), 0) << "no 28-ball entry: the first";
    chooseNextRate();
    EXPECT_DOUBLE_EQ(form->shared().yenPerBall, 4);
    ASSERT_NE(ui().Label9[0]->text(), "-");
    for (int k = 1; k < kTableRows; ++k)
        EXPECT_EQ(ui().Label9[k]->text(), ui().Label9[0]->text());
}

} // namespace
} // namespace zenbalo::testing
