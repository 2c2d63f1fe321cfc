// SPDX-License-Identifier: GPL-3.0-or-later
// The boxes' rule for every edit that is not typing: pastes in all their
// ways, Cut, Copy, Undo and Redo.

#include "app/entry_box.h"

#include "support/qt_printers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace zenbalo {
namespace {

// A box of its own window, with the focus, showing `text` as typed.
std::unique_ptr<EntryBox> boxWith(BoxFilter filter, const QString &text = {}) {
    auto box = std::make_unique<EntryBox>(filter, nullptr);
    box->show();
    QApplication::setActiveWindow(box.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(box.get()));
    box->setFocus();
    QTest::keyClicks(box.get(), text);
    EXPECT_EQ(box->text(), text);
    return box;
}

// An entry of the box's context menu, chosen as the player would.
void chooseFromMenu(EntryBox &box, const char *entry) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, box.rect().center(), box.mapToGlobal(box.rect().center()));
    QApplication::sendEvent(&box, &event);
    auto *menu = box.findChild<QMenu *>();
    ASSERT_NE(menu, nullptr);
    auto *action = menu->findChild<QAction *>(entry);
    ASSERT_NE(action, nullptr) << entry;
    action->trigger();
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the next menu is a new one
}

void ctrl(EntryBox &box, Qt::Key key) { QTest::keyClick(&box, key, Qt::ControlModifier); }

// The desktop's key for a command.
void press(EntryBox &box, QKeySequence::StandardKey command) {
    const QKeyCombination keys = QKeySequence(command)[0];
    QTest::keyClick(&box, keys.key(), keys.keyboardModifiers());
}

// Text dragged over the box and dropped at x; true when the box took it.
bool drop(EntryBox &box, const QString &text, Qt::DropAction action, int x) {
    QMimeData data;
    data.setText(text);
    const QPoint where(x, box.height() / 2);
    QDragEnterEvent enter(where, action, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&box, &enter);
    QDropEvent dropped(where, action, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&box, &dropped);
    return dropped.isAccepted();
}

// The ways text comes into a box other than by its keys.
const struct Way {
    const char *name;
    std::function<void(EntryBox &, const QString &)> put;
} kWays[] = {
    {"Ctrl+V",
     [](EntryBox &box, const QString &text) {
         QApplication::clipboard()->setText(text);
         ctrl(box, Qt::Key_V);
     }},
    {"Shift+Insert",
     [](EntryBox &box, const QString &text) {
         QApplication::clipboard()->setText(text);
         QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
     }},
    {"context menu",
     [](EntryBox &box, const QString &text) {
         QApplication::clipboard()->setText(text);
         chooseFromMenu(box, "edit-paste");
     }},
    {"drop at the end", [](EntryBox &box, const QString &text) { drop(box, text, Qt::CopyAction, box.width() - 3); }},
    {"input method",
     [](EntryBox &box, const QString &text) {
         QInputMethodEvent commit;
         commit.setCommitString(text);
         QApplication::sendEvent(&box, &commit);
     }},
};

TEST(EntryBox, APasteGoesInWholeTrimmedOrNotAtAll) {
    struct Case {
        const char *name;
        BoxFilter filter;
        QString before, pasted, want;
        bool refused;
    } cases[] = {
        {"count: digits", BoxFilter::Count, "", "2000", "2000", false},
        {"count: blanks and line ends around", BoxFilter::Count, "1", " \t20\r\n", "120", false},
        {"count: ideographic blanks around", BoxFilter::Count, "", "\u3000300\u3000", "300", false},
        {"count: a fraction and a percentage", BoxFilter::Count, "", "1/300 x5%", "", true},
        {"count: a decimal point", BoxFilter::Count, "12", "3.5", "12", true},
        {"count: a blank inside", BoxFilter::Count, "", "2 000", "", true},
        {"count: full-width digits", BoxFilter::Count, "", "２０００", "", true},
        {"count: a sign", BoxFilter::Count, "", "-5", "", true},
        {"count: only blanks", BoxFilter::Count, "7", " \n ", "7", false},
        {"probability: a fraction", BoxFilter::Probability, "", "1/319.5", "1/319.5", false},
        {"probability: trimmed", BoxFilter::Probability, "", " 1/99\n", "1/99", false},
        {"probability: a percent sign", BoxFilter::Probability, "", "50%", "", true},
        {"probability: digit grouping", BoxFilter::Probability, "1/", "3,000", "1/", true},
        {"decimal: a rate", BoxFilter::Decimal, "", "18.5", "18.5", false},
        {"decimal: trimmed", BoxFilter::Decimal, "", "\t20\r\n", "20", false},
        {"decimal: a slash", BoxFilter::Decimal, "", "18.5/x", "", true},
        {"decimal: an exponent", BoxFilter::Decimal, "", "1e3", "", true},
        // Text boxes take what zenbalo.dat can hold and drop the rest.
        {"text: line breaks and tabs dropped", BoxFilter::Text, "", "CR\tMachine\r\n2", "CRMachine2", false},
        {"text: what Shift_JIS lacks dropped", BoxFilter::Text, "", "機種😀한\u301C", "機種\uFF5E", false},
        {"text: blanks kept", BoxFilter::Text, "", " 海 ", " 海 ", false},
        {"text: double quotes dropped", BoxFilter::Text, "A", "\"B\"", "AB", false},
        {"text: nothing storable", BoxFilter::Text, "A", "😀", "A", false},
    };
    for (const Way &way : kWays) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(way.name) + ", " + c.name);
            const auto box = boxWith(c.filter, c.before);
            QSignalSpy refused(box.get(), &EntryBox::refused);
            way.put(*box, c.pasted);
            EXPECT_EQ(box->text(), c.want);
            EXPECT_EQ(refused.count(), c.refused ? 1 : 0);
        }
    }
}

TEST(EntryBox, ARefusedDropIsLeftToItsSource) {
    for (const bool refused : {false, true}) {
        const auto box = boxWith(BoxFilter::Count);
        EXPECT_EQ(drop(*box, refused ? "1.5" : "15", Qt::MoveAction, 3), !refused)
            << "a mover would delete the text it was told went here";
    }
}

TEST(EntryBox, APasteKeepsTheLimitOfTyping) {
    struct Case {
        const char *name;
        BoxFilter filter;
        QString before, pasted, want;
    } cases[] = {
        {"trimmed, then cut to the room left", BoxFilter::Count, QString(252, '1'), " 2345 ",
         QString(252, '1') + "234"},
        {"no room left", BoxFilter::Count, QString(255, '1'), "2", QString(255, '1')},
        {"text", BoxFilter::Text, QString(254, 'a'), "bc", QString(254, 'a') + "b"},
        {"what text boxes drop takes no room", BoxFilter::Text, QString(254, 'a'), "😀xy", QString(254, 'a') + "x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto box = boxWith(c.filter);
        box->write(c.before);
        box->end(false);
        QApplication::clipboard()->setText(c.pasted);
        ctrl(*box, Qt::Key_V);
        EXPECT_EQ(box->text(), c.want);
        QTest::keyClick(box.get(), Qt::Key_1);
        EXPECT_EQ(box->text().size(), std::min<qsizetype>(c.want.size() + 1, 255)) << "typing stops at the limit";
    }
}

// Cut removes as Backspace does; Undo and Redo bring back only what typing could.
TEST(EntryBox, CutUndoAndRedoFollowTheRuleOfTyping) {
    const std::function<void(EntryBox &)> undoByKey = [](EntryBox &b) { press(b, QKeySequence::Undo); };
    const std::function<void(EntryBox &)> undoByMenu = [](EntryBox &b) { chooseFromMenu(b, "edit-undo"); };
    const std::function<void(EntryBox &)> redoByKey = [](EntryBox &b) { press(b, QKeySequence::Redo); };
    const std::function<void(EntryBox &)> redoByMenu = [](EntryBox &b) { chooseFromMenu(b, "edit-redo"); };
    struct Step {
        std::function<void(EntryBox &)> act;
        QString want;
        bool refused;
    };
    const auto typed = [](const char *keys) { return [keys](EntryBox &b) { QTest::keyClicks(&b, keys); }; };
    const auto selected = [](int from, int length) { return [=](EntryBox &b) { b.setSelection(from, length); }; };
    const auto written = [](const char *text) { return [text](EntryBox &b) { b.write(text); }; };
    const auto backspace = [](EntryBox &b) { QTest::keyClick(&b, Qt::Key_Backspace); };
    const auto end = [](EntryBox &b) { b.end(false); };
    const auto cut = [](EntryBox &b) { ctrl(b, Qt::Key_X); };
    struct Case {
        const char *name;
        std::vector<Step> steps;
    } cases[] = {
        {"cut and undo of typed digits",
         {{typed("123"), "123", false},
          {selected(1, 1), "123", false},
          {cut, "13", false},
          {undoByKey, "123", false},
          {redoByKey, "13", false},
          {undoByMenu, "123", false},
          {redoByMenu, "13", false}}},
        {"a cut of what the program wrote",
         {{written("1.5"), "1.5", false}, {selected(0, 3), "1.5", false}, {cut, "", false}}},
        {"an undo that would bring back what the program wrote",
         {{written("1.5"), "1.5", false},
          {selected(0, 3), "1.5", false},
          {backspace, "", false},
          {undoByKey, "", true},
          {undoByMenu, "", true},
          {typed("7"), "7", false},
          {undoByKey, "7", true}, // the line edit undoes the deletion with the typing
          {redoByKey, "7", false}}},
        {"undo and redo of typed digits beside what the program wrote",
         {{written("x"), "x", false},
          {end, "x", false},
          {typed("9"), "x9", false},
          {undoByKey, "x", false},
          {redoByMenu, "x9", false}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto box = boxWith(BoxFilter::Count);
        int step = 0;
        for (const Step &s : c.steps) {
            SCOPED_TRACE(++step);
            QSignalSpy refused(box.get(), &EntryBox::refused);
            QSignalSpy changed(box.get(), &EntryBox::changed);
            const QString before = box->text();
            s.act(*box);
            EXPECT_EQ(box->text(), s.want);
            EXPECT_EQ(refused.count(), s.refused ? 1 : 0);
            // A refused step changes nothing, not even for a moment.
            EXPECT_EQ(changed.count() == 0, box->text() == before);
        }
    }
}

TEST(EntryBox, CopyTakesEvenWhatTypingCouldNotBringIn) {
    const auto box = boxWith(BoxFilter::Count);
    box->write("1/300");
    box->selectAll();
    ctrl(*box, Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "1/300");
    EXPECT_EQ(box->text(), "1/300");
}

} // namespace
} // namespace zenbalo
