// The main window's tools and help, driven through its menus: the secondary
// windows open modally, so each case works inside them from a timer.

#include "support/form_fixture.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/frm_about.h"
#include "app/frm_analysis.h"
#include "app/frm_hatsu_kaiten.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace zenbalo::testing {
namespace {

class ToolsTest : public FormTest {
protected:
    // Writes a machine into the column and calculates it at a rotation rate
    // of 20 and 2000 rotations, 28 balls per 100 yen.
    void calculate(const MachineRecord &machine) {
        for (int k = 0; k < kMachineFields; ++k)
            form->Text1[k]->write(QString::fromStdString(machine[k]));
        form->Text3[0]->write(kWorkedExampleRate);
        form->Text3[1]->write(kWorkedExampleTotal);
        ASSERT_EQ(form->Combo2->currentText().left(2), "28");
        QTest::keyClick(form->Text3[0], Qt::Key_Return);
    }

    void ctrl(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); }

    // Runs `open`; a modal window it shows is made active, handed to `inside`
    // and closed. Returns that window's title, empty when none opened.
    template <typename Window>
    QString whileModal(const std::function<void()> &open, const std::function<void(Window &)> &inside = {}) {
        QString title;
        bool looked = false;
        QTimer::singleShot(0, [&] {
            looked = true;
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            title = modal->windowTitle();
            QApplication::setActiveWindow(modal);
            EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
            auto *window = dynamic_cast<Window *>(modal);
            EXPECT_NE(window, nullptr) << "another window opened: " << title.toStdString();
            if (window && inside)
                inside(*window);
            modal->close();
        });
        open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return looked; }));
        // The offscreen platform leaves no window active when a modal one closes.
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return title;
    }
};

TEST_F(ToolsTest, WindowsOpenOnlyForACalculatedMachine) {
    struct Case {
        const char *name;
        std::function<void()> setUp;
        QString analysis, firstHit; // titles; empty: the window stays closed
    } cases[] = {
        {"calculated machine", [this] { calculate(workedExampleMachine()); }, "テスト機 - 分析",
         "テスト機 - 初当たり回転数"},
        {"a name typed since is not the calculated machine's",
         [this] {
             calculate(workedExampleMachine());
             type(form->Text1[Name], "2");
         },
         "テスト機 - 分析", "テスト機 - 初当たり回転数"},
        {"calculated without a name", [this] { calculate(machineRecord("")); }, "", ""},
        {"big-hit probability refused", [this] { calculate(machineRecord("X", "300")); }, "", ""},
        {"failed after a valid big-hit probability",
         [this] {
             calculate(workedExampleMachine());
             retype(form->Text3[1], "0");
             QTest::keyClick(form->Text3[1], Qt::Key_Return);
         },
         "", "テスト機 - 初当たり回転数"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        c.setUp();
        EXPECT_EQ(whileModal<frmAnalysis>([this] { ctrl(Qt::Key_B); }), c.analysis);
        EXPECT_EQ(whileModal<frmHatsuKaiten>([this] { ctrl(Qt::Key_H); }), c.firstHit);
        EXPECT_TRUE(dialogs.asked.empty());
    }
}

TEST_F(ToolsTest, WorkedAnalysisOnScreenAndInTheJournal) {
    start();
    calculate(machineRecord("CR機種", "1/200", "2000")); // 0.01 hits per rotation
    const QString title =
        whileModal<frmAnalysis>([this] { ctrl(Qt::Key_B); },
                                [this](frmAnalysis &w) {
                                    w.today = [] { return formatShortDate({2005, 3, 14}); };
                                    EXPECT_EQ(w.Label2[0]->text(), "2000");
                                    EXPECT_EQ(w.Label2[1]->text(), "3.571");
                                    const QString totals[] = {"駅前店", "1000", "12", "20000", "30000"};
                                    for (int k = 0; k < 5; ++k)
                                        type(w.Text1[k], totals[k]);
                                    QTest::keyClick(w.Text1[4], Qt::Key_Return);
                                    const QString results[] = {"¥41429", "¥27143", "2.000", "120.000", "21.739"};
                                    for (int k = 0; k < kAnalysisResults; ++k)
                                        EXPECT_EQ(w.Label3[k]->text(), results[k]);
                                    ctrl(Qt::Key_S);
                                    EXPECT_FALSE(w.mnuBunSave->isEnabled());
                                });
    EXPECT_EQ(title, "CR機種 - 分析");
    EXPECT_EQ(readFile(kAnalysisFile), fixture("analysis/worked_example.txt"));
    EXPECT_TRUE(dialogs.asked.empty()) << "saved, so closing asks nothing";
}

TEST_F(ToolsTest, FirstHitRowsOfTheWorkedMachine) {
    start();
    calculate(workedExampleMachine());
    whileModal<frmHatsuKaiten>([this] { ctrl(Qt::Key_H); },
                               [](frmHatsuKaiten &w) {
                                   EXPECT_EQ(w.Label5[0]->text(), "20.000");
                                   EXPECT_EQ(w.Label5[1]->text(), "¥3.571");
                                   const struct {
                                       int row;
                                       const char *caption, *chance, *cash, *ownBalls;
                                   } rows[] = {
                                       {0, "100:", "28.387%", "¥5000", "¥4464"},
                                       {9, "1000:", "96.452%", "¥50000", "¥44643"},
                                       {19, "2000:", "99.874%", "¥100000", "¥89286"},
                                   };
                                   for (const auto &r : rows) {
                                       SCOPED_TRACE(r.caption);
                                       EXPECT_EQ(w.Label1[r.row < 10 ? r.row : r.row + 2]->text(), r.caption);
                                       EXPECT_EQ(w.Label2[r.row]->text(), QString::fromUtf8(r.chance));
                                       EXPECT_EQ(w.Label3[r.row]->text(), QString::fromUtf8(r.cash));
                                       EXPECT_EQ(w.Label4[r.row]->text(), QString::fromUtf8(r.ownBalls));
                                   }
                               });
}

TEST_F(ToolsTest, DocumentsOpenThroughTheShellAndReportFailure) {
    struct Case {
        const char *name;
        std::function<void()> act;
        std::string target, message, title;
    } cases[] = {
        {"manual", [this] { form->mnuHelpOpen->trigger(); }, "説明書.txt", "説明書を開けませんでした。",
         "Zenbalo - 説明書を開く"},
        {"log", [this] { ctrl(Qt::Key_O); }, "log.txt", "ログを開けませんでした。", "Zenbalo - ログを開く"},
        {"manual from the analysis window",
         [this] {
             calculate(workedExampleMachine());
             whileModal<frmAnalysis>([this] { ctrl(Qt::Key_B); }, [](frmAnalysis &w) { w.mnuHelpOpen->trigger(); });
         },
         "説明書.txt", "説明書を開けませんでした。", "Zenbalo - 説明書を開く"},
        {"journal",
         [this] {
             calculate(workedExampleMachine());
             whileModal<frmAnalysis>([this] { ctrl(Qt::Key_B); }, [this](frmAnalysis &) { ctrl(Qt::Key_O); });
         },
         kAnalysisFile, "分析ファイルを開けませんでした。", "分析 - 開く"},
        {"home page",
         [this] {
             whileModal<frmAbout>([this] { form->mnuVer->trigger(); },
                                  [](frmAbout &w) { QTest::mouseClick(w.Label2, Qt::LeftButton); });
         },
         kHomePage, "ブラウザを開けませんでした。", "Zenbalo"},
    };
    for (const Case &c : cases) {
        for (const bool works : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (works ? " opens" : " fails"));
            restart();
            shell.opened.clear();
            shell.succeeds = works;
            c.act();
            EXPECT_EQ(shell.opened, std::vector<std::string>{c.target});
            if (works) {
                EXPECT_TRUE(dialogs.asked.empty());
                continue;
            }
            ASSERT_EQ(dialogs.asked.size(), 1u);
            EXPECT_EQ(dialogs.asked[0].prompt, c.message);
            EXPECT_EQ(dialogs.asked[0].title, c.title);
            EXPECT_EQ(dialogs.asked[0].icon, MessageBox::Icon::Critical);
            EXPECT_EQ(dialogs.asked[0].buttons, MessageBox::Buttons::Ok);
        }
    }
}

TEST_F(ToolsTest, AboutBoxShowsTheVersionAndALinkWithoutCuttingIt) {
    start();
    const QString title =
        whileModal<frmAbout>([this] { form->mnuVer->trigger(); },
                             [](frmAbout &w) {
                                 EXPECT_EQ(w.Label1[1]->text(), "Version 1.100");
                                 EXPECT_EQ(w.Label2->text(), kHomePage);
                                 EXPECT_EQ(w.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
                                 EXPECT_TRUE(w.Label2->font().underline());
                                 EXPECT_EQ(w.Label2->cursor().shape(), Qt::PointingHandCursor);
                                 EXPECT_TRUE(w.findChildren<QPushButton *>().isEmpty());
                                 EXPECT_EQ(w.minimumSize(), w.maximumSize());
                                 for (QLabel *label : w.findChildren<QLabel *>()) {
                                     SCOPED_TRACE(label->text().toStdString());
                                     EXPECT_TRUE(w.rect().contains(label->geometry()));
                                     EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
                                 }
                             });
    EXPECT_EQ(title, "Zenbalo - バージョン情報");
}

} // namespace
} // namespace zenbalo::testing
