// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's tools and help through its menus. The secondary windows
// are modal, so each case works inside them from a timer (whileModal).

#include "support/form_fixture.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/frm_about.h"
#include "app/frm_analysis.h"
#include "app/frm_bunpu.h"
#include "app/frm_hatsu_kaiten.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QTimer>
#include <functional>

namespace zenbalo::testing {
namespace {

using ToolsTest = FormTest;

TEST_F(ToolsTest, WindowsOpenOnlyForACalculatedMachine) {
    const QString analysis = "テスト機 - 分析", firstHit = "テスト機 - 初当たり回転数";
    const QString spread = "テスト機 - 収支の分布";
    struct Case {
        MachineRecord machine;
        QString typedName, totalRotations;  // typed after the calculation; a total is calculated
        QString analysis, firstHit, spread; // titles; empty: the window stays closed
    } cases[] = {
        {workedExampleMachine(), "", "", analysis, firstHit, spread},
        {workedExampleMachine(), "2", "", analysis, firstHit, spread}, // the name typed since is not the machine's
        {workedExampleMachine(), "", "0", "", firstHit, ""},           // failed after a valid big-hit probability
        // The first-hit figures come from every run, so does its name.
        {workedExampleMachine(), "2", "0", "", "テスト機2 - 初当たり回転数", ""},
        {machineRecord(""), "", "", "", "", ""},
        {machineRecord("X", "300"), "", "", "", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.machine[Name] + " " + c.machine[BigHitProbability] + " " +
                     (c.typedName + c.totalRotations).toStdString());
        restart();
        calculateMachine(c.machine);
        type(ui().Text1[Name], c.typedName);
        if (!c.totalRotations.isEmpty()) {
            retype(ui().Text3[1], c.totalRotations);
            QTest::keyClick(ui().Text3[1], Qt::Key_Return);
        }
        EXPECT_EQ(whileModal<frmAnalysis>([] { ctrl(Qt::Key_B); }), c.analysis);
        EXPECT_EQ(whileModal<frmHatsuKaiten>([] { ctrl(Qt::Key_H); }), c.firstHit);
        EXPECT_EQ(whileModal<frmBunpu>([] { ctrl(Qt::Key_R); }), c.spread);
        EXPECT_EQ(boxes(), "");
    }
}

TEST_F(ToolsTest, WorkedAnalysisOnScreenAndInTheJournal) {
    const auto analyse = [this](frmAnalysis &w) {
        w.setToday([] { return formatShortDate({2005, 3, 14}); });
        EXPECT_EQ(w.ui().Label2[0]->text() + " " + w.ui().Label2[1]->text(), "2000 3.571");
        const QString totals[] = {"駅前店", "1000", "12", "20000", "30000"};
        for (int k = 0; k < 5; ++k)
            type(w.ui().Text1[k], totals[k]);
        QTest::keyClick(w.ui().Text1[4], Qt::Key_Return);
        const QString results[] = {"¥41429", "¥27143", "2.000", "120.000", "21.739"};
        for (int k = 0; k < kAnalysisResults; ++k)
            EXPECT_EQ(w.ui().Label3[k]->text(), results[k]);
        ctrl(Qt::Key_S);
    };
    start();
    calculateMachine(machineRecord("CR機種", "1/200", "2000")); // 0.01 hits per rotation
    whileModal<frmAnalysis>([] { ctrl(Qt::Key_B); }, analyse);
    EXPECT_EQ(readFile(kAnalysisFile), fixture("analysis/worked_example.txt"));
    EXPECT_EQ(boxes(), "") << "saved, so closing asks nothing";
}

TEST_F(ToolsTest, FirstHitRowsOfTheWorkedMachine) {
    const auto check = [](frmHatsuKaiten &w) {
        EXPECT_EQ(w.ui().Label5[0]->text() + " " + w.ui().Label5[1]->text(), "20.000 ¥3.571");
        const auto row = [&w](int i) {
            return w.ui().Label1[i < 10 ? i : i + 2]->text() + " " + w.ui().Label2[i]->text() + " " + w.ui().Label3[i]->text() + " " +
                   w.ui().Label4[i]->text();
        };
        EXPECT_EQ(row(0), "100: 28.387% ¥5000 ¥4464");
        EXPECT_EQ(row(19), "2000: 99.874% ¥100000 ¥89286");
    };
    start();
    calculateMachine(workedExampleMachine());
    whileModal<frmHatsuKaiten>([] { ctrl(Qt::Key_H); }, check);
}

// The sample machine at a rotation rate of 20, 2000 rotations, 28 balls per
// 100 yen: A = 2.7358, a hit is worth 5000 yen. At 0 % own balls a rotation
// costs 50 yen: E = 2000 / 319.7 * 2.7358 * 5000 - 100000 = -14425.4; at 10 %
// it costs 49.46: E = -13354.0, and every quantile h * 5000 - C moves by
// 1071.43. P(plus) and the quantile hits from the mixture summed apart.
TEST_F(ToolsTest, DayBalanceOfTheSampleMachine) {
    const QString captions = "平均収支: 標準偏差: プラスの確率: 5%点: 25%点: 中央値: 75%点: 95%点: 収束回転数: 日数:";
    const QString atNone = "¥-14425 ¥43699 31.1% ¥-75000 ¥-45000 ¥-20000 ¥10000 ¥65000 - -";
    const QString atTenth = "¥-13354 ¥43699 34.9% ¥-73929 ¥-43929 ¥-18929 ¥11071 ¥66071 - -";
    const auto joined = [](const auto &labels) {
        QStringList texts;
        for (const auto *label : labels)
            texts << label->text();
        return texts.join(' ');
    };
    const auto expectation = [](const frmBunpu &w) { return w.ui().Picture1->data().markers.at(1).x; };
    bool closedByEscape = false;
    const auto check = [&](frmBunpu &w) {
        QComboBox *chooser = w.ui().Combo1;
        EXPECT_EQ(w.ui().Label3->text(), "持玉比率:");
        EXPECT_EQ(chooser->count(), 11);
        EXPECT_EQ(chooser->itemText(0) + " " + chooser->itemText(1) + " " + chooser->itemText(10), "0% 10% 100%");
        EXPECT_EQ(chooser->currentIndex(), 0);
        EXPECT_EQ(QApplication::focusWidget(), chooser);
        EXPECT_EQ(joined(w.ui().Label1), captions);
        EXPECT_EQ(joined(w.ui().Label2), atNone);
        EXPECT_NEAR(expectation(w), -14425.4, 0.1);
        const ChartData &chart = w.ui().Picture1->data();
        EXPECT_GT(chart.bars.bars.size(), 20u);
        EXPECT_EQ(chart.markers.at(0).x, 0);
        ASSERT_TRUE(chart.shade.has_value());
        EXPECT_EQ(chart.shade->from, 0);

        QTest::keyClick(chooser, Qt::Key_Down);
        EXPECT_EQ(chooser->currentText(), "10%");
        EXPECT_EQ(joined(w.ui().Label2), atTenth);
        EXPECT_NEAR(expectation(w), -13354.0, 0.1);
        QTest::keyClick(chooser, Qt::Key_Up);
        EXPECT_EQ(joined(w.ui().Label2), atNone);

        QAccessibleInterface *figure = QAccessible::queryAccessibleInterface(w.ui().Label2[PlusChance]);
        EXPECT_EQ(figure->text(QAccessible::Name) + " " + figure->text(QAccessible::Description), "31.1% プラスの確率");
        EXPECT_EQ(chooser->accessibleName(), "持玉比率");
        const auto labels = QAccessible::queryAccessibleInterface(chooser)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0].first->object(), w.ui().Label3);

        QTest::keyClick(chooser, Qt::Key_Escape);
        closedByEscape = !w.isVisible();
    };
    start();
    calculateMachine(sampleLibrary().group(0).machine(0));
    EXPECT_EQ(whileModal<frmBunpu>([] { ctrl(Qt::Key_R); }, check), "サンプル ミドル319 - 収支の分布");
    EXPECT_TRUE(closedByEscape);
}

TEST_F(ToolsTest, DocumentsOpenThroughTheShellAndReportFailure) {
    const auto inAnalysis = [this](const std::function<void(frmAnalysis &)> &act) {
        calculateMachine(workedExampleMachine());
        whileModal<frmAnalysis>([] { ctrl(Qt::Key_B); }, act);
    };
    const auto clickHomePage = [](frmAbout &w) { QTest::mouseClick(w.Label2, Qt::LeftButton); };
    const struct {
        std::function<void()> act;
        std::string target, failure;
    } cases[] = {
        {[this] { ui().mnuHelpOpen->trigger(); }, "説明書.txt", "説明書を開けませんでした。 / Zenbalo - 説明書を開く"},
        {[] { ctrl(Qt::Key_O); }, "log.txt", "ログを開けませんでした。 / Zenbalo - ログを開く"},
        {[&] { inAnalysis([](frmAnalysis &w) { w.ui().mnuHelpOpen->trigger(); }); }, "説明書.txt",
         "説明書を開けませんでした。 / Zenbalo - 説明書を開く"},
        {[&] { inAnalysis([](frmAnalysis &) { ctrl(Qt::Key_O); }); }, kAnalysisFile,
         "分析ファイルを開けませんでした。 / 分析 - 開く"},
        {[&] { whileModal<frmAbout>([this] { ui().mnuVer->trigger(); }, clickHomePage); }, kHomePage,
         "ブラウザを開けませんでした。 / Zenbalo"},
    };
    using Answer = FakeShell::Answer;
    for (const auto &c : cases) {
        for (const Answer answer : {Answer::Opens, Answer::FailsAtOnce, Answer::Runs}) {
            SCOPED_TRACE(c.failure + " " + std::to_string(static_cast<int>(answer)));
            restart();
            shell.opened.clear();
            shell.answer = answer;
            c.act();
            EXPECT_EQ(shell.opened, std::vector<std::string>{c.target});
            EXPECT_EQ(boxes(), answer == Answer::FailsAtOnce ? c.failure : "");
            // An opener that fails late, when the window that asked may be gone.
            shell.reportFailures();
            EXPECT_EQ(boxes(), answer == Answer::Opens ? "" : c.failure);
        }
    }
}

} // namespace
} // namespace zenbalo::testing
