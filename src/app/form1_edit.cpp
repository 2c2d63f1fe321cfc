// SPDX-License-Identifier: GPL-3.0-or-later
// The library edit commands of the main window. The rules are the core's; the
// window asks, calls the core and keeps Combo1(g) equal to the names of group g.
#include "app/form1.h"

#include "library/library_edit.h"

#include <QAction>
#include <QComboBox>

namespace zenbalo {

namespace {

constexpr const char *kFullLibrary = "登録できる台数は2047台までです。";

MessageBox question(const QString &prompt, const char *title, MessageBox::Answer defaultButton) {
    return {toStd(prompt), title, MessageBox::Buttons::YesNo, MessageBox::Icon::Question, defaultButton};
}

} // namespace

void Form1::mnuShinki_Click() {
    const QString prompt = Text2[settings_.currentGroup]->text() + "に新規作成します。";
    if (dialogs_.ask(question(prompt, "Zenbalo - 新規作成", MessageBox::Answer::Yes)) != MessageBox::Answer::Yes)
        return;
    Label6->setText("新規作成");
    for (EntryBox *box : Text1)
        box->write(QString());
    for (QAction *a : {mnuShinki, mnuUpDate, mnuKiritori, mnuPaste, mnuDelete})
        a->setEnabled(false);
    for (QComboBox *list : Combo1)
        list->setEnabled(false);
}

void Form1::mnuAdd_Click() {
    const QString name = Text1[Name]->text();
    if (name.isEmpty())
        return;
    if (library_.nameStored(toStd(name))) {
        dialogs_.refuse(toStd(name + "は登録済みです。"), "Zenbalo - 追加");
        return;
    }
    if (library_.libraryFull()) {
        dialogs_.refuse(kFullLibrary, "Zenbalo - 追加");
        return;
    }
    if (dialogs_.ask(question(name + "を追加しますか？", "Zenbalo - 追加", MessageBox::Answer::No)) !=
        MessageBox::Answer::Yes)
        return;
    InsertMachine();
    EndNewMode();
}

void Form1::mnuUpDate_Click() {
    const QString name = Text1[Name]->text();
    if (!hasSelectedMachine(library_, settings_) || !machineEdited_ || name.isEmpty())
        return;
    // Two records of one name would leave the player unable to tell them apart.
    if (nameStoredElsewhere(library_, settings_, toStd(name))) {
        dialogs_.refuse(toStd(name + "は登録済みです。"), "Zenbalo - 台データを更新");
        return;
    }
    const int group = settings_.currentGroup;
    const int old = settings_.groupListIndex[group];
    const QString prompt = Combo1[group]->itemText(old) + "を更新しますか？";
    if (dialogs_.ask(question(prompt, "Zenbalo - 台データを更新", MessageBox::Answer::No)) != MessageBox::Answer::Yes)
        return;
    const std::optional<int> position = updateSelected(library_, settings_, boxes());
    if (!position)
        return;
    dataChanged_ = true;
    Combo1[group]->removeItem(old);
    Combo1[group]->insertItem(*position, name);
    showSelection();
}

void Form1::mnuDelete_Click() {
    if (!hasSelectedMachine(library_, settings_))
        return;
    // The list's name, not the name box's: the question names what goes.
    const int group = settings_.currentGroup;
    const QString prompt = Combo1[group]->itemText(settings_.groupListIndex[group]) + "を削除しますか？";
    if (dialogs_.ask(question(prompt, "Zenbalo - 削除", MessageBox::Answer::No)) != MessageBox::Answer::Yes)
        return;
    RemoveMachine();
}

void Form1::mnuKiritori_Click() {
    const QString name = Text1[Name]->text();
    if (!hasSelectedMachine(library_, settings_) || name.isEmpty())
        return;
    // A held name that is stored already could never be pasted, nor one the
    // waiting machine takes back.
    if (nameStoredElsewhere(library_, settings_, toStd(name)) ||
        (cutWaiting_ && cutBuffer_.record[Name] == toStd(name))) {
        dialogs_.refuse(toStd(name + "は登録済みです。"), "Zenbalo - 切り抜き");
        return;
    }
    if (!putBackCutMachine())
        return;
    cutBuffer_ = {boxes(), settings_.currentGroup};
    cutWaiting_ = true;
    mnuPaste->setEnabled(true);
    RemoveMachine();
}

// A waiting machine that the next Cut or a saving close would lose goes back
// where it was cut from, or is dropped only at the player's word. False when
// the player keeps it waiting: the Cut or the close does not happen.
bool Form1::putBackCutMachine() {
    if (!cutWaiting_)
        return true;
    const int group = cutBuffer_.group;
    const QString name = toQt(cutBuffer_.record[Name]);
    if (const std::optional<int> position = putBack(library_, settings_, cutBuffer_)) {
        dataChanged_ = true;
        Combo1[group]->insertItem(*position, name);
        Combo1[group]->setCurrentIndex(settings_.groupListIndex[group]);
    } else if (dialogs_.ask(question(name + "は貼り付けられていません。破棄しますか？", "Zenbalo - 切り抜き",
                                     MessageBox::Answer::No)) != MessageBox::Answer::Yes) {
        return false;
    }
    cutWaiting_ = false;
    mnuPaste->setEnabled(false);
    return true;
}

void Form1::mnuPaste_Click() {
    const MachineRecord &held = cutBuffer_.record;
    if (library_.nameStored(held[Name])) {
        dialogs_.refuse(held[Name] + "は登録済みです。", "Zenbalo - 貼り付け");
        return;
    }
    if (library_.libraryFull()) {
        dialogs_.refuse(kFullLibrary, "Zenbalo - 貼り付け");
        return;
    }
    for (int k = 0; k < kMachineFields; ++k)
        Text1[k]->write(toQt(held[k]));
    InsertMachine();
    machineEdited_ = false;
    mnuPaste->setEnabled(false);
    cutWaiting_ = false;
}

void Form1::InsertMachine() {
    const MachineRecord record = boxes();
    const std::optional<int> position = insertSelected(library_, settings_, record);
    if (!position)
        return;
    dataChanged_ = true;
    Combo1[settings_.currentGroup]->insertItem(*position, toQt(record[Name]));
    showSelection();
}

void Form1::RemoveMachine() {
    const std::optional<int> position = removeSelected(library_, settings_);
    if (!position)
        return;
    dataChanged_ = true;
    Combo1[settings_.currentGroup]->removeItem(*position);
    showSelection();
}

// After an edit the core has chosen the selection; the list shows it, and the
// boxes the machine at it.
void Form1::showSelection() {
    Combo1[settings_.currentGroup]->setCurrentIndex(settings_.groupListIndex[settings_.currentGroup]);
    ShowMachine();
    Calculate();
}

} // namespace zenbalo
