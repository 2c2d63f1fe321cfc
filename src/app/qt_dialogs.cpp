// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace zenbalo {

namespace {

using Answer = MessageBox::Answer;

struct Choice {
    Answer answer;
    QMessageBox::StandardButton button;
    const char *caption;
};

constexpr Choice kYes{Answer::Yes, QMessageBox::Yes, "はい(&Y)"};
constexpr Choice kNo{Answer::No, QMessageBox::No, "いいえ(&N)"};
constexpr Choice kCancel{Answer::Cancel, QMessageBox::Cancel, "キャンセル"};
constexpr Choice kOk{Answer::Ok, QMessageBox::Ok, "OK"};

// The buttons of a box in their order; the last also answers Escape, the
// close box and anything else that shuts the box without a button.
std::vector<Choice> choicesOf(MessageBox::Buttons buttons) {
    switch (buttons) {
    case MessageBox::Buttons::YesNo:
        return {kYes, kNo};
    case MessageBox::Buttons::YesNoCancel:
        return {kYes, kNo, kCancel};
    case MessageBox::Buttons::Ok:
        break;
    }
    return {kOk};
}

} // namespace

// Over the secondary window that asks: the modal one, else the active one
// (the journal is not modal).
QWidget *QtDialogs::owner() const {
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *active = QApplication::activeWindow();
    return active ? active : parent_;
}

MessageBox::Answer QtDialogs::ask(const MessageBox &box) {
    QMessageBox mb(owner());
    mb.setWindowTitle(QString::fromStdString(box.title));
    mb.setText(QString::fromStdString(box.prompt));
    mb.setIcon(box.icon == MessageBox::Icon::Question ? QMessageBox::Question : QMessageBox::Critical);

    const std::vector<Choice> choices = choicesOf(box.buttons);
    for (const Choice &c : choices) {
        QPushButton *button = mb.addButton(c.button);
        button->setText(QString::fromUtf8(c.caption));
        if (c.answer == box.defaultButton)
            mb.setDefaultButton(button);
    }
    mb.setEscapeButton(choices.back().button);
    mb.exec();
    const auto clicked = mb.standardButton(mb.clickedButton());
    for (const Choice &c : choices)
        if (c.button == clicked)
            return c.answer;
    return choices.back().answer;
}

std::optional<std::string> QtDialogs::chooseSaveFile(const SaveFileBox &box) {
    QFileDialog dialog(owner(), QString::fromStdString(box.title), QString::fromStdString(box.suggested),
                       QString::fromStdString(box.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(box.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace zenbalo
