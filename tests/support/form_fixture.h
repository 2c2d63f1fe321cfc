// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form1.h"
#include "common/dialogs.h"
#include "support/builders.h"
#include "support/fake_dialogs.h"
#include "support/fake_shell.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zenbalo::testing {

// A fresh working directory and the main window started in it.
class FormTest : public ::testing::Test {
protected:
    void start() {
        form = std::make_unique<Form1>(dialogs, shell);
        form->Form_Load();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Closes like the close box; false when the window stayed open.
    bool closeWindow() { return form->close(); }

    void restart() {
        form.reset();
        dialogs.asked.clear();
        start();
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
    void type(EntryBox *box, const QString &text) {
        box->setFocus();
        box->end(false);
        keys(box, text);
    }

    void retype(EntryBox *box, const QString &text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        keys(box, text);
    }

    template <typename Label> QString text(Label *label) const { return label->text(); }

    TempWorkDir dir;
    FakeDialogs dialogs;
    FakeShell shell;
    std::unique_ptr<Form1> form;
};

} // namespace zenbalo::testing
