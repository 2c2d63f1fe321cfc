// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <functional>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

class KeysTest : public FormTest {};

TEST_F(KeysTest, TabRunsDownTheColumnSkippingTheFallRate) {
    start();
    ui().Text1[3]->setFocus();
    QTest::keyClick(ui().Text1[3], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui().Text1[5]);
    ui().Text1[15]->setFocus();
    QTest::keyClick(ui().Text1[15], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui().Option1[0]);
}

TEST_F(KeysTest, KeyFiltersRefuseWhatTheBoxCannotTake) {
    start();
    struct Case {
        const char *name;
        EntryBox *box;
        QString typed;
        QString want;
    } cases[] = {
        {"probability", ui().Text1[1], "1a/3 0,0%", "1/300"},
        {"rate takes a slash", ui().Text1[3], "1/4", "1/4"},
        {"count", ui().Text1[5], "1.5e3-", "153"},
        {"payout refuses the point", ui().Text1[15], "15.00", "1500"},
        {"rotation rate", ui().Text3[0], "18.5/x", "18.5"},
        {"total rotations", ui().Text3[1], "2.000", "2000"},
        {"name takes anything it can store", ui().Text1[0], "海物語\\ 1/319", "海物語\u00A5 1/319"},
        {"name refuses a double quote", ui().Text1[0], "A\"B", "AB"},
        {"title", ui().Text2[0], "甘デジ\"~", "甘デジ~"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        retype(c.box, "");
        type(c.box, c.typed);
        EXPECT_EQ(c.box->text(), c.want);
    }
}

TEST_F(KeysTest, APasteThatWouldInventANumberChangesNothing) {
    start();
    struct Case {
        const char *name;
        EntryBox *box;
        QString pasted;
        QString want;
    } cases[] = {
        {"count", ui().Text1[ProbChangeRotations], "1/300 x5%", ""},
        {"probability trimmed", ui().Text1[BigHitProbability], " 1/319.5\n", "1/319.5"},
        {"rotation rate", ui().Text3[0], "18.5/x", ""},
        {"name without line breaks and tabs", ui().Text1[Name], "CR\tMachine\r\n2", "CRMachine2"},
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

TEST(EntryBox, ProgramWritesAreNotFiltered) {
    EntryBox box(BoxFilter::Count, nullptr);
    box.write("abc");
    EXPECT_EQ(box.text(), "abc");
    EXPECT_EQ(box.cursorPosition(), 0) << "a written text shows its start";
    box.show();
    box.setFocus();
    box.end(false);
    QTest::keyClicks(&box, "1x");
    EXPECT_EQ(box.text(), "abc1") << "typing keeps what the program wrote";
}

// A text read from a file may be longer than a box lets the player type: it
// is shown whole and can be shortened, but typing never lengthens a text
// beyond the limit.
TEST(EntryBox, TheLimitIsForTypingNotForWhatTheProgramWrote) {
    const QString limit(kMaxFieldCharacters, QChar('x'));
    const QString longer(300, QChar('y'));
    struct Case {
        const char *name;
        QString written;
        std::function<void(EntryBox &)> edit;
        QString want;
    };
    const auto typeAtEnd = [](const QString &text) {
        return [text](EntryBox &box) {
            box.end(false);
            QTest::keyClicks(&box, text);
        };
    };
    const auto paste = [](const QString &text) {
        return [text](EntryBox &box) {
            QApplication::clipboard()->setText(text);
            box.end(false);
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        };
    };
    const Case cases[] = {
        {"a longer text is written whole", longer, [](EntryBox &) {}, longer},
        {"typing does not lengthen it", longer, typeAtEnd("z"), longer},
        {"it can be shortened", longer, [](EntryBox &box) { QTest::keyClick(&box, Qt::Key_Delete); }, longer.mid(1)},
        {"and typed over within its length", longer,
         [](EntryBox &box) {
             box.setSelection(0, 2);
             QTest::keyClicks(&box, "ab");
         },
         "ab" + longer.mid(2)},
        {"typing stops at the limit", limit.left(253), typeAtEnd("abc"), limit.left(253) + "ab"},
        {"a paste is cut at the limit", "", paste(QString(1 << 20, QChar('p'))), QString(kMaxFieldCharacters, 'p')},
        {"a paste counts only what the filter keeps", "", paste(QString("q	").repeated(300)),
         QString(kMaxFieldCharacters, 'q')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EntryBox box(BoxFilter::Text, nullptr);
        box.show();
        box.setFocus();
        box.write(c.written);
        c.edit(box);
        EXPECT_EQ(box.text(), c.want);
    }
}

TEST_F(KeysTest, EnterCalculatesAndLeavesNoNewLine) {
    start();
    calculateMachine(workedExampleMachine());
    retype(ui().Text1[Payout], "3000");
    EXPECT_EQ(ui().Label7[4]->text(), "3000") << "typing alone does not calculate";
    type(ui().Text1[0], "x");
    QTest::keyClick(ui().Text1[0], Qt::Key_Return);
    EXPECT_EQ(ui().Text1[0]->text(), "テスト機x");
    EXPECT_EQ(ui().Label7[4]->text(), "6000");
}

TEST_F(KeysTest, EnterOnTheCalculateButtonPressesIt) {
    start();
    retype(ui().Text1[Payout], "1000"); // 2.736 hits of 1000 balls per first hit
    ui().Command1->setFocus();
    QTest::keyClick(ui().Command1, Qt::Key_Return);
    EXPECT_EQ(ui().Label7[4]->text(), "2736");
}

TEST_F(KeysTest, ShortcutsReachTheMenuFromATextBox) {
    start();
    press(kCut); // a cut machine waits: Paste is enabled
    ASSERT_TRUE(ui().mnuPaste->isEnabled());
    // After a failed calculation the tools open no window that would wait for input.
    retype(ui().Text1[1], "300");
    calculate();
    ASSERT_EQ(ui().Label6->text(), "大当たり確率が異常です。");
    QAction *actions[] = {ui().mnuShinki,   ui().mnuLogSave, ui().mnuLogOpen,  ui().mnuAdd,          ui().mnuUpDate,
                          ui().mnuKiritori, ui().mnuDelete,  ui().mnuAnalysis, ui().mnuHatsuKaiten, ui().mnuBunpu};
    // Only the routing of the keys counts here; the commands would change the boxes.
    for (QAction *action : actions)
        QObject::disconnect(action, &QAction::triggered, form.get(), nullptr);
    QObject::disconnect(ui().mnuPaste, &QAction::triggered, form.get(), nullptr);
    for (QAction *action : actions) {
        for (EntryBox *box : {ui().Text1[0], ui().Text1[1], ui().Text3[0], ui().Text2[0]}) {
            SCOPED_TRACE((action->text() + " in box " + box->text()).toStdString());
            retype(box, "12");
            QTest::keyClick(box, Qt::Key_Left);
            QSignalSpy spy(action, &QAction::triggered);
            const QKeyCombination keys = action->shortcut()[0];
            QTest::keyClick(box, keys.key(), keys.keyboardModifiers());
            EXPECT_EQ(spy.count(), 1);
            EXPECT_EQ(box->text(), "12") << "the box must not act on the key itself";
            EXPECT_FALSE(box->hasSelectedText());
        }
    }
    QSignalSpy paste(ui().mnuPaste, &QAction::triggered);
    QTest::keyClick(ui().Text1[1], Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(paste.count(), 1);
}

TEST_F(KeysTest, EachWindowsBoxesKeepItsOwnShortcuts) {
    start();
    // A second window whose menu takes Ctrl+S but leaves Ctrl+A to its boxes.
    QMainWindow other;
    QAction *save = other.menuBar()->addMenu("F")->addAction("S");
    save->setShortcut(Qt::CTRL | Qt::Key_S);
    auto *box = new EntryBox(BoxFilter::Text, &other);
    other.setCentralWidget(box);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    box->setFocus();
    box->write("abc");
    QSignalSpy saved(save, &QAction::triggered);
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saved.count(), 1);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), "abc") << "Ctrl+A is the box's own here";

    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ui().Text1[Name]->setFocus();
    QSignalSpy added(ui().mnuAdd, &QAction::triggered);
    QTest::keyClick(ui().Text1[Name], Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(added.count(), 1) << "the main window's boxes still leave Ctrl+A to Add";
    EXPECT_FALSE(ui().Text1[Name]->hasSelectedText());
}

TEST_F(KeysTest, ArrowKeysInTheGroupsChooseAsAClickWould) {
    startWithLibraryFile(smallLibrary());
    ui().Option1[0]->setFocus();
    QTest::keyClick(ui().Option1[0], Qt::Key_Down);
    EXPECT_EQ(form->settings().currentGroup, 1);
    EXPECT_EQ(ui().Text1[Name]->text(), "一般機");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(form->settings().currentGroup, 0);

    retype(ui().Text1[BigHitProbability], "1/250"); // an edit of the shown machine
    dialogs.answers = {Answer::No};
    ui().Option1[0]->setFocus();
    QTest::keyClick(ui().Option1[0], Qt::Key_Down);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "新規作成を取り消しますか？");
    EXPECT_EQ(form->settings().currentGroup, 0);
    EXPECT_TRUE(ui().Option1[0]->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), ui().Option1[0])
        << "the focus stays with the group that stays" << (QApplication::focusWidget() == ui().Option1[1]);
    EXPECT_EQ(ui().Text1[BigHitProbability]->text(), "1/250");
}

TEST_F(KeysTest, TabAndShiftTabEnterTheGroupsAtTheSelectedOne) {
    startWithLibraryFile(smallLibrary());
    QTest::mouseClick(ui().Text2[1], Qt::LeftButton); // the greyed title chooses its group
    ASSERT_EQ(form->settings().currentGroup, 1);
    ui().Text1[Payout]->setFocus();
    QTest::keyClick(ui().Text1[Payout], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui().Option1[1]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui().Text2[1]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), ui().Option1[1]);
}

TEST_F(KeysTest, EveryEditOfThePlayConditionsCounts) {
    struct Case {
        const char *name;
        std::function<void(Form1 &)> edit;
        bool changes;
    } cases[] = {
        {"digit typed", [](Form1 &f) { QTest::keyClicks(f.ui().Text3[0], "5"); }, true},
        {"refused key", [](Form1 &f) { QTest::keyClicks(f.ui().Text3[1], "a"); }, false},
        {"backspace", [](Form1 &f) { QTest::keyClick(f.ui().Text3[1], Qt::Key_Backspace); }, true},
        {"delete key",
         [](Form1 &f) {
             f.ui().Text3[0]->setCursorPosition(0);
             QTest::keyClick(f.ui().Text3[0], Qt::Key_Delete);
         },
         true},
        {"paste",
         [](Form1 &f) {
             QApplication::clipboard()->setText("7");
             QTest::keyClick(f.ui().Text3[1], Qt::Key_V, Qt::ControlModifier);
         },
         true},
        {"refused paste",
         [](Form1 &f) {
             QApplication::clipboard()->setText("1.5");
             QTest::keyClick(f.ui().Text3[1], Qt::Key_V, Qt::ControlModifier);
         },
         false},
        {"title typed", [](Form1 &f) { QTest::keyClicks(f.ui().Text2[0], "X"); }, true},
        {"Enter in a title", [](Form1 &f) { QTest::keyClick(f.ui().Text2[0], Qt::Key_Return); }, true},
        {"Enter in the rotation rate", [](Form1 &f) { QTest::keyClick(f.ui().Text3[0], Qt::Key_Return); }, false},
        {"title cut",
         [](Form1 &f) {
             f.ui().Text2[0]->selectAll();
             f.ui().Text2[0]->cut();
         },
         true},
        {"title committed by an input method",
         [](Form1 &f) {
             QInputMethodEvent commit;
             commit.setCommitString("甘");
             QApplication::sendEvent(f.ui().Text2[0], &commit);
         },
         true},
        {"specification box", [](Form1 &f) { QTest::keyClicks(f.ui().Text1[1], "1"); }, false},
        {"program write", [](Form1 &f) { f.ui().Text3[0]->write("30"); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        c.edit(*form);
        EXPECT_EQ(form->dataChanged(), c.changes);
    }
}

TEST_F(KeysTest, TypingIntoTheColumnMarksTheMachineEdited) {
    start();
    EXPECT_FALSE(form->machineEdited());
    QTest::keyClicks(ui().Text1[5], "x");
    EXPECT_FALSE(form->machineEdited()) << "a refused key changes nothing";
    QTest::keyClicks(ui().Text1[5], "1");
    EXPECT_TRUE(form->machineEdited());
}

} // namespace
} // namespace zenbalo::testing
