// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/frm_about.h"
#include "app/frm_analysis.h"
#include "app/frm_bunpu.h"
#include "app/frm_hatsu_kaiten.h"
#include "common/sjis.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <filesystem>
#include <optional>
#include <vector>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

// The analysis window over the worked example's machine, shown without
// blocking and without a main window, with the worked totals calculated.
class AnalysisTest : public FormTest {
protected:
    void openAndCalculate() {
        window.reset();
        journal = std::make_unique<Journal>(); // in this case's directory
        window = std::make_unique<frmAnalysis>(shared, *journal, dialogs, shell);
        window->setToday([] { return formatShortDate({2005, 3, 14}); });
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        const QString texts[] = {"駅前店", "1000", "12", "20000", "30000"};
        for (int k = 0; k < 5; ++k)
            retype(window->ui().Text1[k], texts[k]);
        QTest::keyClick(window->ui().Text1[4], Qt::Key_Return);
    }

    void save() { QTest::keyClick(window->ui().Text1[0], Qt::Key_S, Qt::ControlModifier); }
    static std::string analysisFile() { return std::filesystem::exists(kAnalysisFile) ? readFile(kAnalysisFile) : "-"; }
    std::string lastBox() const { return dialogs.asked.back().prompt + " / " + dialogs.asked.back().title; }
    // The visits zenbalo.db holds, read on a connection of its own.
    static std::vector<Visit> savedVisits() { return Journal().visits().visits; }

    SharedResults shared{2000, 100.0 / 28, 0.01, "CR機種", 1.0 / 300, 20};
    std::unique_ptr<Journal> journal;
    std::unique_ptr<frmAnalysis> window;
    const std::string oneRecord = fixture("analysis/worked_example.txt");
};

TEST_F(AnalysisTest, APasteIntoATotalInventsNoNumber) {
    journal = std::make_unique<Journal>();
    window = std::make_unique<frmAnalysis>(shared, *journal, dialogs, shell);
    window->show();
    struct Case {
        int box;
        QString pasted, want;
    } cases[] = {{1, "123.5", ""}, {2, "12回", ""}, {4, " 30000\n", "30000"}, {0, "駅前\t店", "駅前店"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pasted.toStdString());
        EntryBox *box = window->ui().Text1[c.box];
        box->setFocus();
        QApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), c.want);
    }
}

TEST_F(AnalysisTest, SaveAfterAFailedOneThenTwice) {
    openAndCalculate();
    {
        FileSizeLimit full;
        save();
    }
    EXPECT_EQ(lastBox(), "分析データを保存できませんでした。\nzenbalo.db "
                         "を開けませんでした。ディスクの空き容量が足りません。 / 分析 - 保存");
    EXPECT_TRUE(window->ui().mnuBunSave->isEnabled());
    EXPECT_EQ(analysisFile(), "-");
    EXPECT_EQ(savedVisits().size(), 0u);
    save();
    save(); // nothing new to save
    EXPECT_EQ(analysisFile(), oneRecord);
    const std::vector<Visit> saved = savedVisits();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].parlour + " " + std::to_string(saved[0].rotations) + " " + std::to_string(saved[0].work),
              "駅前店 1000 27143");
    EXPECT_EQ(saved[0].theory, (VisitTheory{1.0 / 300, 0.01 * 300, 0.01})) << "the main window's theory";
    QTest::keyClick(window->ui().Text1[0], Qt::Key_Return);
    save();
    EXPECT_EQ(analysisFile(), oneRecord + oneRecord);
    EXPECT_EQ(savedVisits().size(), 2u);
}

TEST_F(AnalysisTest, RecordHoldsTheCalculatedTotalsAndTheParlourAtSaving) {
    openAndCalculate();
    retype(window->ui().Text1[0], "北口店");
    retype(window->ui().Text1[1], "5000");
    save();
    EXPECT_EQ(analysisFile(), sjisLines(analysisRecordLines({"2005/03/14",
                                                             "北口店",
                                                             "3.571",
                                                             "CR機種",
                                                             "2000",
                                                             {"1000", "12", "20000", "30000"},
                                                             {"¥41429", "¥27143", "2.000", "120.000", "21.739"}})));
}

TEST_F(AnalysisTest, ClosingQuestion) {
    const struct {
        Answer answer;
        bool diskFull, closes;
        std::string file;
        size_t visits; // in zenbalo.db
    } cases[] = {
        {Answer::Yes, false, true, oneRecord, 1},
        {Answer::No, false, true, "-", 0},
        {Answer::Cancel, false, false, "-", 0},
        {Answer::Yes, true, false, "-", 0}, // a failed save keeps the window
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer) + (c.diskFull ? 10 : 0));
        freshDirectory();
        dialogs.answers = {c.answer};
        openAndCalculate();
        {
            std::optional<FileSizeLimit> full;
            if (c.diskFull)
                full.emplace();
            EXPECT_EQ(window->close(), c.closes);
        }
        EXPECT_EQ(analysisFile(), c.file);
        EXPECT_EQ(savedVisits().size(), c.visits);
        ASSERT_EQ(dialogs.asked.size(), c.diskFull ? 2u : 1u);
        EXPECT_EQ(dialogs.asked[0].prompt + " / " + dialogs.asked[0].title, "データを保存しますか？ / 分析 - 終了");
        if (!c.closes) {
            EXPECT_TRUE(window->isVisible() && window->ui().mnuBunSave->isEnabled());
        }
    }
    save();
    ASSERT_FALSE(window->ui().mnuBunSave->isEnabled());
    dialogs.asked.clear();
    EXPECT_TRUE(window->close()) << "nothing to save";
    EXPECT_TRUE(dialogs.asked.empty()) << "nothing asked";
}

TEST_F(AnalysisTest, DeleteThatCannotEmptyTheJournalSaysSo) {
    std::filesystem::create_directory(kAnalysisFile); // where the journal should be
    dialogs.answers = {Answer::Yes};
    openAndCalculate();
    window->ui().mnuBunDelete->trigger();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].prompt + " / " + dialogs.asked[0].title, "分析データを削除しますか？ / 分析 - 削除");
    EXPECT_EQ(dialogs.asked[0].defaultButton, Answer::No);
    EXPECT_EQ(lastBox(), "bunseki.txtの分析データを削除できませんでした。\n同じ名前のフォルダーがあります。 / 分析 - 削除");
    EXPECT_TRUE(window->ui().mnuBunSave->isEnabled()) << "the analysis shown can still be saved";
}

TEST(ShortDate, YearFirstWhereTheLocaleHasNoPattern) {
    EXPECT_EQ(shortDatePattern(QLocale::c()), "yyyy/MM/dd");
    EXPECT_EQ(shortDatePattern(QLocale(QLocale::Japanese, QLocale::Japan)), "yyyy/MM/dd");
    EXPECT_EQ(shortDatePattern(QLocale(QLocale::English, QLocale::UnitedStates)), "M/d/yy");
}

// Each figure label shows its widest figure in full beside its caption or
// column, and the about box cuts none of its lines.
TEST(SecondaryWindows, NothingCutOrCondensed) {
    FakeDialogs dialogs;
    FakeShell shell;
    const SharedResults shared{2000, 100.0 / 28, 0.01, "CR機種", 1.0 / 300, 20};
    Journal journal;
    frmAnalysis analysis(shared, journal, dialogs, shell);
    frmHatsuKaiten firstHit(shared);
    frmBunpu spread(shared);
    const auto &s = spread.ui();
    std::vector<std::pair<FigureLabel *, QString>> widest = {
        {analysis.ui().Label2[0], "10000"},           {analysis.ui().Label2[1], "100.000"},
        {analysis.ui().Label3[0], "¥-2147483647"},    {analysis.ui().Label3[1], "¥-2147483647"},
        {analysis.ui().Label3[2], "-2147483647.000"}, {analysis.ui().Label3[3], "-2147483647.000"},
        {analysis.ui().Label3[4], "-2147483647.000"}, {firstHit.ui().Label5[0], "100.000"},
        {firstHit.ui().Label5[1], "¥100.000"},        {firstHit.ui().Label2[19], "100.000%"},
        {firstHit.ui().Label3[19], "¥2000000"},       {firstHit.ui().Label4[19], "¥50000000"},
    };
    for (int k = 0; k < kDayBalanceFigures; ++k)
        widest.emplace_back(s.Label2[k], k == PlusChance             ? "100.0%"
                                         : k == ConvergenceRotations ? "2147483648000"
                                         : k == ConvergenceDays      ? "2147483648000.0"
                                                                     : "¥-2147483648000");
    for (const auto &[label, text] : widest) {
        label->setText(text);
        EXPECT_FALSE(label->condensed()) << text.toStdString();
        EXPECT_LE(label->geometry().right(), label->parentWidget()->width());
    }
    EXPECT_LE(s.Frame1->geometry().right(), s.Picture1->geometry().left()) << "figures beside the histogram";
    EXPECT_LT(s.Label3->geometry().right(), s.Combo1->geometry().left());
    EXPECT_TRUE(spread.rect().contains(s.Picture1->geometry()));
    frmAbout about(dialogs, shell);
    for (QLabel *label : about.findChildren<QLabel *>()) {
        EXPECT_TRUE(about.rect().contains(label->geometry())) << label->text().toStdString();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << label->text().toStdString();
    }
}

} // namespace
} // namespace zenbalo::testing
