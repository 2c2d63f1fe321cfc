// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form1.h"
#include "common/dialogs.h"
#include "library/library_files.h"
#include "support/builders.h"
#include "support/fake_dialogs.h"
#include "support/fake_shell.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zenbalo::testing {

// A fresh working directory and the main window started in it. Tests act on
// the window as a player does, through its controls, and read back through
// its accessors.
class FormTest : public ::testing::Test {
public: // for the steps that the cases of a table hold
    const Ui::Form1 &ui() const { return form->ui(); }

    void start() {
        form = std::make_unique<Form1>(dialogs, shell);
        form->Form_Load();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // The library in zenbalo.dat; zenbalo.cfg as it is.
    void startWithLibraryFile(const Library &library) {
        writeFile(kLibraryFile, libraryBytes(library));
        start();
    }

    // The library in zenbalo.dat, each group's first machine selected but
    // group 0's when `selectFirst` is false.
    void startWith(const Library &library, bool selectFirst = true) {
        AppSettings s = defaultSettings(library, loadRateList());
        if (!selectFirst)
            s.groupListIndex[0] = -1;
        writeFile(kSettingsFile, settingsBytes(s));
        startWithLibraryFile(library);
    }

    // Closes like the close box; false when the window stayed open.
    bool closeWindow() { return form->close(); }

    void restart() {
        form.reset();
        dialogs.asked.clear();
        start();
    }

    // For the next case of a table: the window gone without a question and
    // without writing, and an empty working directory; start() comes next.
    void freshDirectory() {
        form.reset();
        dialogs.asked.clear();
        dialogs.answers.clear();
        dir.reset();
        dir.emplace();
    }

    // Types key by key; characters without a key of their own arrive as text.
    static void keys(QWidget *box, const QString &text) {
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(box, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Types at the end of the box's text.
    static void type(EntryBox *box, const QString &text) {
        box->setFocus();
        box->end(false);
        keys(box, text);
    }

    static void retype(EntryBox *box, const QString &text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        keys(box, text);
    }

    // Types a machine into the specification column; the fall rate, which
    // takes no typing, keeps what it shows.
    void typeMachine(const MachineRecord &machine) const {
        for (int k = 0; k < kMachineFields; ++k)
            if (ui().Text1[k]->isEnabled())
                retype(ui().Text1[k], QString::fromStdString(machine[k]));
    }

    void typeConditions(const QString &rotationRate, const QString &totalRotations) const {
        retype(ui().Text3[0], rotationRate);
        retype(ui().Text3[1], totalRotations);
    }

    // Chooses the exchange rate that starts with the number of balls, by keys.
    void chooseRate(int ballsPer100Yen) const {
        QComboBox *rates = ui().Combo2;
        const int entry = rates->findText(QString::number(ballsPer100Yen), Qt::MatchStartsWith);
        ASSERT_GE(entry, 0);
        rates->setFocus();
        QTest::keyClick(rates, Qt::Key_Home);
        for (int i = 0; i < entry; ++i)
            QTest::keyClick(rates, Qt::Key_Down);
        ASSERT_EQ(rates->currentIndex(), entry);
    }

    void chooseNextRate() const {
        ui().Combo2->setFocus();
        QTest::keyClick(ui().Combo2, Qt::Key_Down);
    }

    // Enter in the rotation rate box.
    void calculate() const { QTest::keyClick(ui().Text3[0], Qt::Key_Return); }

    // The machine typed and calculated at the worked example's play
    // conditions: a rotation rate of 20, 2000 rotations, 28 balls per 100 yen.
    void calculateMachine(const MachineRecord &machine) const {
        typeMachine(machine);
        typeConditions(kWorkedExampleRate, kWorkedExampleTotal);
        ASSERT_EQ(ui().Combo2->currentText().left(2), "28");
        calculate();
    }

    // A menu shortcut pressed while the name box has the focus.
    void press(QKeyCombination keys) const {
        ui().Text1[Name]->setFocus();
        QTest::keyClick(ui().Text1[Name], keys.key(), keys.keyboardModifiers());
    }

    void chooseGroup(int group) const { QTest::mouseClick(ui().Option1[group], Qt::LeftButton); }
    // A click on the free area of a group's row.
    void clickRow(int group) const { QTest::mouseClick(ui().Label5[group], Qt::LeftButton, {}, QPoint(290, 8)); }
    void chooseNextMachine() const {
        QComboBox *list = ui().Combo1[form->settings().currentGroup];
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
    }

    // A menu shortcut pressed where the focus is.
    static void ctrl(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); }

    // Runs `open`; a modal window it shows is made active, handed to `inside`
    // and closed. Returns that window's title, empty when none opened.
    template <typename Window>
    QString whileModal(const std::function<void()> &open, const std::function<void(Window &)> &inside = {}) {
        QString title;
        bool looked = false;
        QTimer::singleShot(0, [&] {
            looked = true;
            if (QWidget *modal = QApplication::activeModalWidget()) {
                title = modal->windowTitle();
                QApplication::setActiveWindow(modal);
                EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
                if (inside)
                    inside(dynamic_cast<Window &>(*modal));
                modal->close();
            }
        });
        open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return looked; }));
        // The offscreen platform leaves no window active when a modal one closes.
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return title;
    }

    // The message boxes shown so far, as "prompt / title; ...".
    std::string boxes() const {
        std::string all;
        for (const MessageBox &box : dialogs.asked)
            all += (all.empty() ? "" : "; ") + box.prompt + " / " + box.title;
        return all;
    }

    std::optional<TempWorkDir> dir{std::in_place};
    FakeDialogs dialogs;
    FakeShell shell;
    std::unique_ptr<Form1> form;
};

inline constexpr QKeyCombination kNew = Qt::CTRL | Qt::Key_N;
inline constexpr QKeyCombination kAdd = Qt::CTRL | Qt::Key_A;
inline constexpr QKeyCombination kUpdate = Qt::CTRL | Qt::Key_U;
inline constexpr QKeyCombination kCut = Qt::CTRL | Qt::Key_X;
inline constexpr QKeyCombination kPaste = Qt::CTRL | Qt::Key_P;
inline constexpr QKeyCombination kDelete = Qt::SHIFT | Qt::Key_Delete;

} // namespace zenbalo::testing
