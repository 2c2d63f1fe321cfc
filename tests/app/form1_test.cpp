// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include "app/app_look.h"
#include "library/library_files.h"

#include <QAction>
#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <filesystem>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

class Form1Test : public FormTest {
protected:
    // The machine of the worked example, typed as a player types it.
    void typeWorkedExample() {
        const MachineRecord machine = workedExampleMachine();
        for (int k = 0; k < kMachineFields; ++k)
            if (k != ProbChangeFallRate)
                retype(form->Text1[k], QString::fromStdString(machine[k]));
        retype(form->Text3[1], kWorkedExampleTotal);
        retype(form->Text3[0], kWorkedExampleRate);
        ASSERT_EQ(form->Combo2->currentText().left(2), "28");
        QTest::keyClick(form->Text3[0], Qt::Key_Return);
    }
};

TEST_F(Form1Test, WindowIsBuiltAsDescribed) {
    start();
    EXPECT_EQ(form->windowTitle(), "Zenbalo");
    EXPECT_EQ(form->centralWidget()->size(), QSize(560, 421));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->Text1[4]->isEnabled());
    EXPECT_FALSE(form->Text1Caption[4]->isEnabled());
    EXPECT_EQ(form->Text1Caption[4]->text(), "確変転落率:");
    EXPECT_EQ(form->Text1[3]->geometry(), QRect(80, 88, 57, 18));
    EXPECT_EQ(form->Text1Caption[3]->geometry().top(), 96);
    EXPECT_EQ(form->Command1->text(), "計算(&C)");
    EXPECT_EQ(form->Label3[16]->toolTip(), "収支¥0の回転率");
    EXPECT_EQ(form->Label3[10]->text(), "100% :");
    EXPECT_EQ(QApplication::focusWidget(), form->Text1[0]);
    EXPECT_FALSE(form->mnuPaste->isEnabled());
    EXPECT_EQ(form->mnuDelete->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_FALSE(form->Combo1[0]->isEditable());
    EXPECT_FALSE(form->Text1[1]->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(form->Text1[0]->testAttribute(Qt::WA_InputMethodEnabled));
}

// The icon comes once the window has been painted, with the sizes desktops draw.
TEST_F(Form1Test, WindowHandsTheDesktopItsIcon) {
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->windowIcon().isNull(); }));
    QList<QSize> want;
    for (int size : kIconSizes)
        if (size <= kWindowIconLargest)
            want << QSize(size, size);
    EXPECT_EQ(form->windowIcon().availableSizes(), want);
}

TEST_F(Form1Test, TabRunsDownTheColumnSkippingTheFallRate) {
    start();
    form->Text1[3]->setFocus();
    QTest::keyClick(form->Text1[3], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Text1[5]);
    form->Text1[15]->setFocus();
    QTest::keyClick(form->Text1[15], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Option1[0]);
}

TEST_F(Form1Test, TypedWorkedExampleShowsTheResults) {
    start();
    typeWorkedExample();
    EXPECT_EQ(text(form->Label6), "");
    const char *summary[] = {"6.667", "13.333", "2.000", "1/150.000", "3000"};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(text(form->Label7[k]), summary[k]);
    EXPECT_EQ(text(form->Label4[0]), "28.000");
    EXPECT_EQ(text(form->Label4[5]), "26.500");
    EXPECT_EQ(text(form->Label4[10]), "25.000");
    EXPECT_EQ(text(form->Label9[0]), "\u00A5-28600");
    EXPECT_EQ(text(form->Label9[5]), "\u00A5-23300");
    EXPECT_EQ(text(form->Label9[10]), "\u00A5-17900");
    EXPECT_DOUBLE_EQ(form->shared.totalHitProbability, 2.0 / 300);
}

TEST_F(Form1Test, LogSavedFromTheMenuMatchesTheScreen) {
    start();
    typeWorkedExample();
    QTest::keyClick(form->Text1[1], Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile("log.txt"), fixture("log/worked_example.txt"));
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(Form1Test, FailedValidationShowsDashesAndTheMessage) {
    start();
    typeWorkedExample();
    retype(form->Text1[1], "300");
    QTest::keyClick(form->Text1[1], Qt::Key_Enter);
    EXPECT_EQ(text(form->Label6), "大当たり確率が異常です。");
    for (FigureLabel *l : form->Label7)
        EXPECT_EQ(text(l), "-");
    for (int k = 0; k < kTableRows; ++k) {
        EXPECT_EQ(text(form->Label4[k]), "-");
        EXPECT_EQ(text(form->Label9[k]), "-");
    }
    EXPECT_DOUBLE_EQ(form->shared.totalHitProbability, 2.0 / 300);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    EXPECT_EQ(text(form->Label6), "大当たり確率が異常です。");
}

TEST_F(Form1Test, KeyFiltersRefuseWhatTheBoxCannotTake) {
    start();
    struct Case {
        const char *name;
        EntryBox *box;
        QString typed;
        QString want;
    } cases[] = {
        {"probability", form->Text1[1], "1a/3 0,0%", "1/300"},
        {"rate takes a slash", form->Text1[3], "1/4", "1/4"},
        {"count", form->Text1[5], "1.5e3-", "153"},
        {"payout refuses the point", form->Text1[15], "15.00", "1500"},
        {"rotation rate", form->Text3[0], "18.5/x", "18.5"},
        {"total rotations", form->Text3[1], "2.000", "2000"},
        {"name takes anything it can store", form->Text1[0], "海物語\\ 1/319", "海物語\u00A5 1/319"},
        {"name refuses a double quote", form->Text1[0], "A\"B", "AB"},
        {"title", form->Text2[0], "甘デジ\"~", "甘デジ~"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        retype(c.box, "");
        type(c.box, c.typed);
        EXPECT_EQ(c.box->text(), c.want);
    }
}

TEST_F(Form1Test, PasteBringsInOnlyWhatTheFilterTakes) {
    start();
    struct Case {
        const char *name;
        EntryBox *box;
        QString pasted;
        QString want;
    } cases[] = {
        {"count", form->Text1[5], "1/300 rotations", "1300"},
        {"probability", form->Text1[1], "１/3,00", "/300"},
        {"name without line breaks and tabs", form->Text1[0], "CR\tMachine\r\n2", "CRMachine2"},
        {"name without what Shift_JIS lacks", form->Text1[0], "機種😀한\u301C", "機種\uFF5E"},
        {"total rotations", form->Text3[1], " 2,000 ", "2000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        retype(c.box, "");
        QApplication::clipboard()->setText(c.pasted);
        c.box->setFocus();
        QTest::keyClick(c.box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(c.box->text(), c.want);
    }
}

TEST_F(Form1Test, ProgramWritesAreNotFiltered) {
    start();
    form->Text1[5]->write("abc");
    EXPECT_EQ(form->Text1[5]->text(), "abc");
    form->Text1[5]->setFocus();
    form->Text1[5]->end(false);
    QTest::keyClicks(form->Text1[5], "1x");
    EXPECT_EQ(form->Text1[5]->text(), "abc1") << "typing keeps what the program wrote";
}

TEST_F(Form1Test, EnterCalculatesAndLeavesNoNewLine) {
    start();
    typeWorkedExample();
    form->Text1[15]->write("3000");
    EXPECT_EQ(text(form->Label7[4]), "3000");
    type(form->Text1[0], "x");
    QTest::keyClick(form->Text1[0], Qt::Key_Return);
    EXPECT_EQ(form->Text1[0]->text(), "テスト機x");
    EXPECT_EQ(text(form->Label7[4]), "6000");
}

TEST_F(Form1Test, ShortcutsReachTheMenuFromATextBox) {
    start();
    // After a failed calculation the tools open no window that would wait for input.
    form->Text1[1]->write("300");
    form->Calculate();
    QAction *actions[] = {form->mnuShinki,   form->mnuLogSave, form->mnuLogOpen,  form->mnuAdd,        form->mnuUpDate,
                          form->mnuKiritori, form->mnuDelete,  form->mnuAnalysis, form->mnuHatsuKaiten};
    form->mnuPaste->setEnabled(true);
    // Only the routing of the keys counts here; the commands would change the boxes.
    for (QAction *action : actions)
        QObject::disconnect(action, &QAction::triggered, form.get(), nullptr);
    QObject::disconnect(form->mnuPaste, &QAction::triggered, form.get(), nullptr);
    for (QAction *action : actions) {
        for (EntryBox *box : {form->Text1[0], form->Text1[1], form->Text3[0], form->Text2[0]}) {
            SCOPED_TRACE((action->text() + " in box " + box->text()).toStdString());
            box->setFocus();
            box->write("12");
            box->setCursorPosition(1);
            QSignalSpy spy(action, &QAction::triggered);
            const QKeyCombination keys = action->shortcut()[0];
            QTest::keyClick(box, keys.key(), keys.keyboardModifiers());
            EXPECT_EQ(spy.count(), 1);
            EXPECT_EQ(box->text(), "12") << "the box must not act on the key itself";
            EXPECT_FALSE(box->hasSelectedText());
        }
    }
    QSignalSpy paste(form->mnuPaste, &QAction::triggered);
    QTest::keyClick(form->Text1[1], Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(paste.count(), 1);
}

TEST_F(Form1Test, EveryEditOfThePlayConditionsCounts) {
    struct Case {
        const char *name;
        std::function<void(Form1 &)> edit;
        bool changes;
    } cases[] = {
        {"digit typed", [](Form1 &f) { QTest::keyClicks(f.Text3[0], "5"); }, true},
        {"refused key", [](Form1 &f) { QTest::keyClicks(f.Text3[1], "a"); }, false},
        {"backspace", [](Form1 &f) { QTest::keyClick(f.Text3[1], Qt::Key_Backspace); }, true},
        {"delete key",
         [](Form1 &f) {
             f.Text3[0]->setCursorPosition(0);
             QTest::keyClick(f.Text3[0], Qt::Key_Delete);
         },
         true},
        {"paste",
         [](Form1 &f) {
             QApplication::clipboard()->setText("7");
             QTest::keyClick(f.Text3[1], Qt::Key_V, Qt::ControlModifier);
         },
         true},
        {"title typed", [](Form1 &f) { QTest::keyClicks(f.Text2[0], "X"); }, true},
        {"Enter in a title", [](Form1 &f) { QTest::keyClick(f.Text2[0], Qt::Key_Return); }, true},
        {"Enter in the rotation rate", [](Form1 &f) { QTest::keyClick(f.Text3[0], Qt::Key_Return); }, false},
        {"title cut",
         [](Form1 &f) {
             f.Text2[0]->selectAll();
             f.Text2[0]->cut();
         },
         true},
        {"title committed by an input method",
         [](Form1 &f) {
             QInputMethodEvent commit;
             commit.setCommitString("甘");
             QApplication::sendEvent(f.Text2[0], &commit);
         },
         true},
        {"specification box", [](Form1 &f) { QTest::keyClicks(f.Text1[1], "1"); }, false},
        {"program write", [](Form1 &f) { f.Text3[0]->write("30"); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        c.edit(*form);
        EXPECT_EQ(form->dataChanged, c.changes);
    }
}

TEST_F(Form1Test, TypingIntoTheColumnMarksTheMachineEdited) {
    start();
    EXPECT_FALSE(form->machineEdited);
    QTest::keyClicks(form->Text1[5], "x");
    EXPECT_FALSE(form->machineEdited) << "a refused key changes nothing";
    QTest::keyClicks(form->Text1[5], "1");
    EXPECT_TRUE(form->machineEdited);
}

TEST_F(Form1Test, ClosingUntouchedAsksNothingButWritesSettingsAndLog) {
    start();
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{}) << "start-up writes nothing";
    EXPECT_TRUE(closeWindow());
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(directoryEntries(), (std::vector<std::string>{"log.txt", "zenbalo.cfg"}));
}

TEST_F(Form1Test, SaveQuestionAnswers) {
    struct Case {
        Answer answer;
        bool closes;
        bool libraryWritten;
        const char *rateInSettings;
    } cases[] = {
        {Answer::Yes, true, true, "25"},
        {Answer::No, true, false, "20"},
        {Answer::Cancel, false, false, "20"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        TempWorkDir fresh;
        form.reset();
        dialogs.asked.clear();
        start();
        retype(form->Text3[0], "25");
        dialogs.answers = {c.answer};
        EXPECT_EQ(closeWindow(), c.closes);
        ASSERT_EQ(dialogs.asked.size(), 1u);
        const MessageBox &box = dialogs.asked[0];
        EXPECT_EQ(box.prompt, "データを保存しますか？");
        EXPECT_EQ(box.title, "Zenbalo - 終了");
        EXPECT_EQ(box.buttons, MessageBox::Buttons::YesNoCancel);
        EXPECT_EQ(box.icon, MessageBox::Icon::Question);
        EXPECT_EQ(box.defaultButton, Answer::Yes);
        EXPECT_EQ(std::filesystem::exists("zenbalo.dat"), c.libraryWritten);
        EXPECT_TRUE(std::filesystem::exists("log.txt"));
        const auto lines = readFile("zenbalo.cfg");
        EXPECT_EQ(lines.substr(lines.rfind("\r\n", lines.size() - 3) + 2), std::string(c.rateInSettings) + "\r\n");
        if (!c.closes) {
            EXPECT_EQ(form->Text3[0]->text(), "25");
            dialogs.answers = {Answer::No};
            EXPECT_TRUE(closeWindow());
            EXPECT_EQ(dialogs.asked.size(), 2u) << "a later close asks again";
        }
        form.reset();
    }
}

TEST_F(Form1Test, RotationRateSurvivesARestartAsTyped) {
    start();
    retype(form->Text3[0], "18.5");
    retype(form->Text3[1], "1234");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    restart();
    EXPECT_EQ(form->Text3[0]->text(), "18.5");
    EXPECT_EQ(form->Text3[1]->text(), "1234");
}

TEST_F(Form1Test, TotalBeyond16BitsKeepsThePreviousValue) {
    start();
    retype(form->Text3[1], "70000");
    retype(form->Text3[0], "30");
    dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(closeWindow());
    EXPECT_TRUE(std::filesystem::exists("zenbalo.dat"));
    restart();
    EXPECT_EQ(form->Text3[1]->text(), "2000");
    EXPECT_EQ(form->Text3[0]->text(), "30");
}

} // namespace
} // namespace zenbalo::testing
