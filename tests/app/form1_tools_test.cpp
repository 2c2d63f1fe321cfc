// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's tools and help through its menus. The secondary windows
// are modal, so each case works inside them from a timer (whileModal).

#include "support/form_fixture.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/frm_about.h"
#include "app/frm_analysis.h"
#include "app/frm_hatsu_kaiten.h"

#include <QAction>
#include <functional>

namespace zenbalo::testing {
namespace {

using ToolsTest = FormTest;

TEST_F(ToolsTest, WindowsOpenOnlyForACalculatedMachine) {
    const QString analysis = "テスト機 - 分析", firstHit = "テスト機 - 初当たり回転数";
    struct Case {
        MachineRecord machine;
        QString typedName, totalRotations; // typed after the calculation; a total is calculated
        QString analysis, firstHit;        // titles; empty: the window stays closed
    } cases[] = {
        {workedExampleMachine(), "", "", analysis, firstHit},
        {workedExampleMachine(), "2", "", analysis, firstHit}, // the name typed since is not the machine's
        {workedExampleMachine(), "", "0", "", firstHit},       // failed after a valid big-hit probability
        // The first-hit figures come from every run, so does its name.
        {workedExampleMachine(), "2", "0", "", "テスト機2 - 初当たり回転数"},
        {machineRecord(""), "", "", "", ""},
        {machineRecord("X", "300"), "", "", "", ""},
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
    for (const auto &c : cases) {
        for (const bool works : {true, false}) {
            SCOPED_TRACE(c.failure + (works ? " (opens)" : ""));
            restart();
            shell.opened.clear();
            shell.succeeds = works;
            c.act();
            EXPECT_EQ(shell.opened, std::vector<std::string>{c.target});
            EXPECT_EQ(boxes(), works ? "" : c.failure);
        }
    }
}

} // namespace
} // namespace zenbalo::testing
