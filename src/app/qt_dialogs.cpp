// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zenbalo {

MessageBox::Answer QtDialogs::ask(const MessageBox &box) {
    using Answer = MessageBox::Answer;
    // Over the secondary window that asks, when one is open.
    QWidget *owner = QApplication::activeModalWidget();
    QMessageBox mb(owner ? owner : parent_);
    mb.setWindowTitle(QString::fromStdString(box.title));
    mb.setText(QString::fromStdString(box.prompt));
    mb.setIcon(box.icon == MessageBox::Icon::Question ? QMessageBox::Question : QMessageBox::Critical);

    struct Choice {
        Answer answer;
        QMessageBox::StandardButton button;
        const char *caption;
    };
    static const Choice choices[] = {
        {Answer::Yes, QMessageBox::Yes, "はい(&Y)"},
        {Answer::No, QMessageBox::No, "いいえ(&N)"},
        {Answer::Cancel, QMessageBox::Cancel, "キャンセル"},
        {Answer::Ok, QMessageBox::Ok, "OK"},
    };
    auto wanted = [&box](Answer a) {
        switch (box.buttons) {
        case MessageBox::Buttons::Ok:
            return a == Answer::Ok;
        case MessageBox::Buttons::YesNo:
            return a == Answer::Yes || a == Answer::No;
        case MessageBox::Buttons::YesNoCancel:
            return a != Answer::Ok;
        }
        return false;
    };
    for (const Choice &c : choices) {
        if (!wanted(c.answer))
            continue;
        QPushButton *button = mb.addButton(c.button);
        button->setText(QString::fromUtf8(c.caption));
        if (c.answer == box.defaultButton)
            mb.setDefaultButton(button);
    }
    mb.setEscapeButton(box.buttons == MessageBox::Buttons::YesNoCancel ? QMessageBox::Cancel
                       : box.buttons == MessageBox::Buttons::YesNo     ? QMessageBox::No
                                                                       : QMessageBox::Ok);
    mb.exec();
    const auto clicked = mb.standardButton(mb.clickedButton());
    for (const Choice &c : choices)
        if (c.button == clicked && wanted(c.answer))
            return c.answer;
    return box.buttons == MessageBox::Buttons::YesNoCancel ? Answer::Cancel
           : box.buttons == MessageBox::Buttons::YesNo     ? Answer::No
                                                           : Answer::Ok;
}

} // namespace zenbalo
