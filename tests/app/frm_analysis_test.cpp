#include "support/form_fixture.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/frm_analysis.h"
#include "app/frm_hatsu_kaiten.h"
#include "common/sjis.h"

#include <QAction>
#include <QPushButton>
#include <filesystem>
#include <memory>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

// The analysis window over the machine of the worked example, shown without
// blocking so that a test can work in it; no main window.
class AnalysisTest : public FormTest {
protected:
    void open() {
        window = std::make_unique<frmAnalysis>(shared, dialogs, shell);
        window->today = [] { return formatShortDate({2005, 3, 14}); };
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Types the worked example's parlour and totals, without Enter.
    void typeWorkedExample() {
        const QString texts[] = {"駅前店", "1000", "12", "20000", "30000"};
        for (int k = 0; k < 5; ++k)
            retype(window->Text1[k], texts[k]);
    }

    void enter(int box = 4) { QTest::keyClick(window->Text1[box], Qt::Key_Return); }
    void save() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier); }

    SharedResults shared{2000, 100.0 / 28, 0.01, "CR機種", 1.0 / 300, 20};
    std::unique_ptr<frmAnalysis> window;
    const std::string oneRecord = fixture("analysis/worked_example.txt");
};

TEST_F(AnalysisTest, OpensEmptyWithTheMachinesFigures) {
    open();
    EXPECT_EQ(window->windowTitle(), "CR機種 - 分析");
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->mnuBunSave->isEnabled());
    EXPECT_EQ(window->Label2[0]->text(), "2000");
    EXPECT_EQ(window->Label2[1]->text(), "3.571");
    for (FigureLabel *label : window->Label3)
        EXPECT_EQ(label->text(), "-");
    EXPECT_EQ(QApplication::focusWidget(), window->Text1[0]);
}

TEST_F(AnalysisTest, KeysAndEnterInTheBoxes) {
    open();
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        type(window->Text1[k], "1a.-/ ");
        EXPECT_EQ(window->Text1[k]->text(), k == 0 ? "1a.-/ " : "1") << "boxes 1 to 4 take digits only";
    }
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        open();
        typeWorkedExample();
        enter(k);
        EXPECT_EQ(window->Label3[0]->text(), "¥41429");
        EXPECT_TRUE(window->mnuBunSave->isEnabled());
        EXPECT_FALSE(window->Text1[k]->text().contains('\n'));
    }
}

TEST_F(AnalysisTest, EmptyRotationsOrMoneyChangeNothing) {
    open();
    typeWorkedExample();
    enter();
    save();
    for (int box : {1, 4}) {
        SCOPED_TRACE(box);
        const QString typed = window->Text1[box]->text();
        window->Text1[box]->clear();
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        EXPECT_EQ(window->Label3[0]->text(), "¥41429");
        EXPECT_FALSE(window->mnuBunSave->isEnabled());
        window->Text1[box]->setText(typed);
    }
}

TEST_F(AnalysisTest, SavingTwice) {
    open();
    typeWorkedExample();
    enter();
    save();
    EXPECT_FALSE(window->mnuBunSave->isEnabled());
    save();
    EXPECT_EQ(readFile(kAnalysisFile), oneRecord) << "a second Ctrl+S without a calculation writes nothing";
    enter();
    save();
    EXPECT_EQ(readFile(kAnalysisFile), oneRecord + oneRecord);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(AnalysisTest, RecordHoldsTheCalculatedTotalsAndTheParlourAtSaving) {
    open();
    typeWorkedExample();
    enter();
    window->Text1[0]->setText("北口店");
    window->Text1[1]->setText("5000");
    window->Text1[3]->setText("0012");
    save();
    const std::vector<std::string> want = analysisRecordLines({"2005/03/14",
                                                               "北口店",
                                                               "3.571",
                                                               "CR機種",
                                                               "2000",
                                                               {"1000", "12", "20000", "30000"},
                                                               {"¥41429", "¥27143", "2.000", "120.000", "21.739"}});
    EXPECT_EQ(readFile(kAnalysisFile), sjisLines(want));
}

TEST_F(AnalysisTest, ClosingQuestion) {
    struct Case {
        const char *name;
        bool calculated;
        Answer answer;
        bool diskFull;
        bool closes;
        const char *journal; // "" none, "1" one record
    } cases[] = {
        {"nothing to save", false, Answer::Ok, false, true, ""},
        {"Yes saves", true, Answer::Yes, false, true, "1"},
        {"No drops the analysis", true, Answer::No, false, true, ""},
        {"Cancel keeps the window", true, Answer::Cancel, false, false, ""},
        {"Yes on a full disk keeps the window", true, Answer::Yes, true, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir fresh;
        dialogs.asked.clear();
        open();
        if (c.calculated) {
            typeWorkedExample();
            enter();
            dialogs.answers = {c.answer};
        }
        bool closed = false;
        {
            std::unique_ptr<FileSizeLimit> full = c.diskFull ? std::make_unique<FileSizeLimit>() : nullptr;
            closed = window->close();
        }
        EXPECT_EQ(closed, c.closes);
        EXPECT_EQ(std::filesystem::exists(kAnalysisFile) ? readFile(kAnalysisFile) : "", *c.journal ? oneRecord : "");
        ASSERT_EQ(dialogs.asked.size(), (c.calculated ? 1u : 0u) + (c.diskFull ? 1u : 0u));
        if (!c.calculated)
            continue;
        const MessageBox &question = dialogs.asked[0];
        EXPECT_EQ(question.prompt, "データを保存しますか？");
        EXPECT_EQ(question.title, "分析 - 終了");
        EXPECT_EQ(question.buttons, MessageBox::Buttons::YesNoCancel);
        EXPECT_EQ(question.icon, MessageBox::Icon::Question);
        if (c.diskFull) {
            EXPECT_EQ(dialogs.asked[1].prompt, "分析データを保存できませんでした。");
            EXPECT_EQ(dialogs.asked[1].title, "分析 - 保存");
            EXPECT_EQ(dialogs.asked[1].icon, MessageBox::Icon::Critical);
        }
        if (!c.closes) {
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(window->mnuBunSave->isEnabled());
            EXPECT_EQ(window->Label3[4]->text(), "21.739");
        }
    }
}

TEST_F(AnalysisTest, FailedSaveFromTheMenuCanBeRepeated) {
    open();
    typeWorkedExample();
    enter();
    {
        FileSizeLimit full;
        save();
    }
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "分析データを保存できませんでした。");
    EXPECT_EQ(dialogs.asked[0].title, "分析 - 保存");
    EXPECT_TRUE(window->mnuBunSave->isEnabled());
    save();
    EXPECT_EQ(readFile(kAnalysisFile), oneRecord);
    EXPECT_FALSE(window->mnuBunSave->isEnabled());
}

TEST_F(AnalysisTest, DeleteAsksThenEmptiesTheJournal) {
    struct Case {
        const char *name;
        Answer answer;
        bool blocked; // a directory stands where the journal should be
        std::string journalAfter;
        const char *failure;
    } cases[] = {
        {"Yes empties", Answer::Yes, false, "", nullptr},
        {"No keeps", Answer::No, false, "records", nullptr},
        {"Yes that cannot empty", Answer::Yes, true, "", "分析データを削除できませんでした。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir fresh;
        if (c.blocked)
            std::filesystem::create_directory(kAnalysisFile);
        else
            writeFile(kAnalysisFile, "records");
        dialogs.asked.clear();
        dialogs.answers = {c.answer};
        open();
        typeWorkedExample();
        enter();
        window->mnuBunDelete->trigger();
        if (!c.blocked) {
            EXPECT_EQ(readFile(kAnalysisFile), c.journalAfter);
        }
        ASSERT_EQ(dialogs.asked.size(), c.failure ? 2u : 1u);
        EXPECT_EQ(dialogs.asked[0].prompt, "分析データを削除しますか？");
        EXPECT_EQ(dialogs.asked[0].title, "分析 - 削除");
        EXPECT_EQ(dialogs.asked[0].buttons, MessageBox::Buttons::YesNo);
        EXPECT_EQ(dialogs.asked[0].defaultButton, Answer::No);
        if (c.failure) {
            EXPECT_EQ(dialogs.asked[1].prompt, c.failure);
            EXPECT_EQ(dialogs.asked[1].title, "分析 - 削除");
        }
        EXPECT_TRUE(window->mnuBunSave->isEnabled()) << "the shown analysis can still be saved";
        dialogs.answers = {Answer::No};
        window.reset();
    }
}

TEST(ShortDate, SystemPatternWithTheYearFirstWhereTheLocaleHasNone) {
    struct Case {
        QLocale locale;
        const char *want;
    } cases[] = {
        {QLocale::c(), "yyyy/MM/dd"},
        {QLocale(QLocale::Japanese, QLocale::Japan), "yyyy/MM/dd"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "M/d/yy"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        EXPECT_EQ(shortDatePattern(c.locale), c.want);
    }
}

// The widest figure each label can show beside its caption or column is drawn
// in full, not condensed.
TEST(SecondaryWindows, WidestFiguresFit) {
    FakeDialogs dialogs;
    FakeShell shell;
    const SharedResults shared{2000, 100.0 / 28, 0.01, "CR機種", 1.0 / 300, 20};
    frmAnalysis analysis(shared, dialogs, shell);
    frmHatsuKaiten firstHit(shared);
    struct Case {
        FigureLabel *label;
        QString widest;
    } cases[] = {
        {analysis.Label2[0], "10000"},           {analysis.Label2[1], "100.000"},
        {analysis.Label3[0], "¥-2147483647"},    {analysis.Label3[1], "¥-2147483647"},
        {analysis.Label3[2], "-2147483647.000"}, {analysis.Label3[3], "-2147483647.000"},
        {analysis.Label3[4], "-2147483647.000"}, {firstHit.Label5[0], "100.000"},
        {firstHit.Label5[1], "¥100.000"},        {firstHit.Label2[19], "100.000%"},
        {firstHit.Label3[19], "¥2000000"},       {firstHit.Label4[19], "¥50000000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.widest.toStdString());
        c.label->setText(c.widest);
        EXPECT_FALSE(c.label->condensed());
        EXPECT_LE(c.label->geometry().right(), c.label->parentWidget()->width());
    }
}

} // namespace
} // namespace zenbalo::testing
