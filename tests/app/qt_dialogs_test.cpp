// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace zenbalo {
namespace {

using Answer = MessageBox::Answer;

struct Shown {
    QStringList captions;
    QString defaultCaption;
    Answer answer = Answer::Ok;
};

// Asks through the real message box; once it is up, notes its buttons and
// lets `act` close it.
Shown ask(const MessageBox &box, const std::function<void(QMessageBox &)> &act) {
    Shown shown;
    QTimer::singleShot(0, [&] {
        auto *mb = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!mb) {
            ADD_FAILURE() << "no message box";
            return;
        }
        for (QAbstractButton *button : mb->buttons())
            shown.captions << button->text();
        shown.defaultCaption = mb->defaultButton() ? mb->defaultButton()->text() : QString();
        act(*mb);
    });
    QtDialogs dialogs;
    shown.answer = dialogs.ask(box);
    return shown;
}

void pressEscape(QMessageBox &mb) { QTest::keyClick(&mb, Qt::Key_Escape); }

std::function<void(QMessageBox &)> click(const QString &caption) {
    return [caption](QMessageBox &mb) {
        for (QAbstractButton *button : mb.buttons())
            if (button->text() == caption)
                return button->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
        pressEscape(mb);
    };
}

// Each kind of box shows its Japanese buttons; a click answers with its
// button, and Escape with the answer that changes nothing.
TEST(QtDialogs, ButtonsAndAnswers) {
    const QString yes = "はい(&Y)", no = "いいえ(&N)", cancel = "キャンセル";
    struct Case {
        const char *name;
        MessageBox::Buttons buttons;
        Answer defaultButton;
        std::function<void(QMessageBox &)> act;
        QStringList wantCaptions;
        QString wantDefault;
        Answer want;
    };
    const Case cases[] = {
        {"OK", MessageBox::Buttons::Ok, Answer::Ok, pressEscape, {"OK"}, "OK", Answer::Ok},
        {"Yes/No, Escape", MessageBox::Buttons::YesNo, Answer::No, pressEscape, {yes, no}, no, Answer::No},
        {"Yes/No, Yes clicked", MessageBox::Buttons::YesNo, Answer::No, click(yes), {yes, no}, no, Answer::Yes},
        {"Yes/No/Cancel, Escape", MessageBox::Buttons::YesNoCancel, Answer::Yes, pressEscape, {yes, no, cancel}, yes,
         Answer::Cancel},
        {"Yes/No/Cancel, No clicked", MessageBox::Buttons::YesNoCancel, Answer::Yes, click(no), {yes, no, cancel}, yes,
         Answer::No},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Shown shown =
            ask({"質問", "Zenbalo", c.buttons, MessageBox::Icon::Question, c.defaultButton}, c.act);
        QStringList captions = shown.captions, want = c.wantCaptions;
        captions.sort();
        want.sort();
        EXPECT_EQ(captions, want);
        EXPECT_EQ(shown.defaultCaption, c.wantDefault);
        EXPECT_EQ(shown.answer, c.want);
    }
}

} // namespace
} // namespace zenbalo
