// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"

#include "app/app_look.h"
#include "app/frm_kiroku.h"
#include "common/number.h"
#include "engine/log_report.h"
#include "engine/rates.h"
#include "library/library_files.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace zenbalo {

void ClickLabel::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        e->accept(); // handled here, not again by the frame
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(e);
}

void Form1::connectHandlers() {
    for (int k = 0; k < kMachineFields; ++k) {
        connect(Text1[k], &EntryBox::enterPressed, this, &Form1::Calculate);
        connect(Text1[k], &EntryBox::changed, this, [this] { machineEdited_ = true; });
    }
    for (EntryBox *box : Text3) {
        connect(box, &EntryBox::enterPressed, this, &Form1::Calculate);
        connect(box, &EntryBox::keyAccepted, this, [this] { dataChanged_ = true; });
        connect(box, &EntryBox::edited, this, [this] { dataChanged_ = true; });
    }
    for (int g = 0; g < kGroups; ++g) {
        // Every key pressed in a title box counts, Enter included.
        connect(Text2[g], &EntryBox::keyAccepted, this, [this] { dataChanged_ = true; });
        connect(Text2[g], &EntryBox::enterPressed, this, [this] { dataChanged_ = true; });
        connect(Text2[g], &EntryBox::edited, this, [this] { dataChanged_ = true; });
        connect(Combo1[g], &QComboBox::activated, this, [this, g] { Combo1_Click(g); });
        // A click and the arrow keys both arrive here.
        connect(Option1[g], &QRadioButton::clicked, this, [this, g] {
            if (g != settings_.currentGroup)
                Option1_Click(g);
        });
        connect(Label5[g], &ClickLabel::clicked, this, [this, g] { Label5_Click(g); });
        Option1[g]->installEventFilter(this);
    }
    // Clicks on another row's disabled title or list reach the frame, not the
    // row area behind them; they choose that row's group all the same.
    Frame2->installEventFilter(this);
    connect(Combo2, &QComboBox::activated, this, &Form1::Combo2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(mnuLogSave, &QAction::triggered, this, &Form1::mnuLogSave_Click);
    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
    connect(mnuShinki, &QAction::triggered, this, &Form1::mnuShinki_Click);
    connect(mnuAdd, &QAction::triggered, this, &Form1::mnuAdd_Click);
    connect(mnuUpDate, &QAction::triggered, this, &Form1::mnuUpDate_Click);
    connect(mnuKiritori, &QAction::triggered, this, &Form1::mnuKiritori_Click);
    connect(mnuPaste, &QAction::triggered, this, &Form1::mnuPaste_Click);
    connect(mnuDelete, &QAction::triggered, this, &Form1::mnuDelete_Click);
}

// ---- start-up and shut-down

void Form1::Form_Load() {
    mnuPaste->setEnabled(false);
    ReadSettingsFile();
    ReadLibraryFile();
    ReadRateListFile();
    if (settingsRead_)
        fitSettings(settings_, library_, rateList_.size());
    else
        settings_ = defaultSettings(library_, rateList_);

    if (!rateList_.empty()) {
        Combo2->setCurrentIndex(settings_.rateListIndex);
        Combo2_Click();
    }
    Text3[0]->write(toQt(plainDecimal(settings_.savedRotationRate)));
    Text3[1]->write(QString::number(settings_.savedTotalRotations));
    FillGroups();
    ShowMachine();
    Calculate();
    formReady_ = true;
    dataChanged_ = false;
}

Form1::~Form1() = default;

void Form1::closeEvent(QCloseEvent *event) {
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
    // The journal window goes with the program, and keeps its size.
    if (!cancel && kirokuWindow_)
        kirokuWindow_->close();
}

void Form1::Form_Unload(bool &cancel) {
    if (dataChanged_) {
        const auto answer = dialogs_.ask({"データを保存しますか？", "Zenbalo - 終了", MessageBox::Buttons::YesNoCancel,
                                          MessageBox::Icon::Question, MessageBox::Answer::Yes});
        if (answer == MessageBox::Answer::Yes)
            cancel = !putBackCutMachine() || !saveLibrary();
        else if (answer == MessageBox::Answer::Cancel)
            cancel = true;
    }
    if (const WriteResult saved = WriteSettingsFile(); !saved.ok())
        dialogs_.refuse(withReason("zenbalo.cfgを保存できませんでした。", saved), "Zenbalo - 終了");
    if (const WriteResult saved = WriteLogReport(); !saved.ok())
        dialogs_.refuse(withReason("log.txtを保存できませんでした。", saved), "Zenbalo - 終了");
}

// False when the library could not be written: closing now would lose it.
// The play conditions then stay as they were until a save succeeds.
bool Form1::saveLibrary() {
    for (int g = 0; g < kGroups; ++g)
        library_.setTitle(g, toStd(Text2[g]->text()));
    if (const WriteResult saved = WriteLibraryFile(); !saved.ok()) {
        dialogs_.refuse(withReason("zenbalo.datを保存できませんでした。", saved), "Zenbalo - 終了");
        return false;
    }
    storePlayConditions(settings_, toStd(Text3[0]->text()), toStd(Text3[1]->text()));
    return true;
}

void Form1::mnuExit_Click() { close(); }

void Form1::paintEvent(QPaintEvent *event) {
    QMainWindow::paintEvent(event);
    // The icon waits until the window has been painted once: decoding its
    // sizes would hold up the first paint, which does not need it.
    if (std::exchange(iconPending_, false))
        QTimer::singleShot(0, this, [this] { setWindowIcon(appIcon(kWindowIconLargest)); });
}

bool Form1::eventFilter(QObject *watched, QEvent *event) {
    // The arrow keys choose the next or previous group as a click would; the
    // focus follows only when the group changed.
    if (event->type() == QEvent::KeyPress) {
        const auto from = std::find(Option1.begin(), Option1.end(), watched);
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                         : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                     : 0;
        if (from != Option1.end() && step != 0) {
            const int to = static_cast<int>(from - Option1.begin()) + step;
            if (to >= 0 && to < kGroups) {
                Option1[to]->click();
                Option1[settings_.currentGroup]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            }
            return true;
        }
    }
    if (watched == Frame2 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        for (int g = 0; g < kGroups; ++g) {
            if (mouse->button() == Qt::LeftButton && Label5[g]->isEnabled() &&
                Label5[g]->geometry().contains(mouse->position().toPoint())) {
                Label5_Click(g);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- files

void Form1::ReadSettingsFile() {
    const std::optional<AppSettings> read = settingsFile_.read();
    settingsRead_ = read.has_value();
    if (read)
        settings_ = *read;
}

void Form1::ReadLibraryFile() {
    LibraryLoad load = libraryFile_.read();
    library_ = std::move(load.library);
    if (libraryFile_.damagedOnDisk())
        dialogs_.refuse("zenbalo.datを読み込めませんでした。\n"
                        "空のライブラリで起動します。元のファイルは上書きせず、保存するときに別の名前で残します。",
                        "Zenbalo");
}

void Form1::ReadRateListFile() {
    rateList_ = loadRateList();
    for (const std::string &entry : rateList_)
        Combo2->addItem(toQt(entry));
}

WriteResult Form1::WriteSettingsFile() { return settingsFile_.write(settings_); }

WriteResult Form1::WriteLibraryFile() { return libraryFile_.write(library_); }

// ---- calculation

void Form1::Command1_Click() { Calculate(); }

MachineRecord Form1::boxes() const {
    MachineRecord record;
    for (int k = 0; k < kMachineFields; ++k)
        record[k] = toStd(Text1[k]->text());
    return record;
}

void Form1::Calculate() {
    const CalculationDisplay display =
        runCalculation(boxes(), toStd(Text3[0]->text()), toStd(Text3[1]->text()), shared_);
    calculatedName_ = toStd(Text1[Name]->text());
    if (display.succeeded())
        machineName_ = calculatedName_;
    showResults(display);
}

void Form1::showResults(const CalculationDisplay &d) {
    Label6->setText(toQt(d.status));
    for (int k = 0; k < kTableRows; ++k) {
        Label4[k]->setText(toQt(d.borders[k]));
        Label9[k]->setText(toQt(d.balances[k]));
    }
    for (int k = 0; k < kSummaryRows; ++k)
        Label7[k]->setText(toQt(d.summary[k]));
}

CalculationDisplay Form1::displayedResults() const {
    CalculationDisplay d;
    d.status = toStd(Label6->text());
    for (int k = 0; k < kSummaryRows; ++k)
        d.summary[k] = toStd(Label7[k]->text());
    for (int k = 0; k < kTableRows; ++k) {
        d.borders[k] = toStd(Label4[k]->text());
        d.balances[k] = toStd(Label9[k]->text());
    }
    return d;
}

void Form1::Combo2_Click() {
    settings_.rateListIndex = static_cast<int16_t>(Combo2->currentIndex());
    shared_.yenPerBall = yenPerBall(rateList_[static_cast<size_t>(settings_.rateListIndex)]);
    if (formReady_)
        Calculate();
}

WriteResult Form1::WriteLogReport() {
    return writeLogFile({toStd(Text1[Name]->text()), toStd(Text1[Payout]->text()), toStd(Text3[0]->text()),
                         toStd(Text3[1]->text()), shared_.yenPerBall, displayedResults()});
}

void Form1::mnuLogSave_Click() {
    if (const WriteResult saved = WriteLogReport(); !saved.ok())
        dialogs_.refuse(withReason("log.txtを保存できませんでした。", saved), "Zenbalo - ログを保存");
}

// ---- groups

void Form1::FillGroups() {
    for (int g = 0; g < kGroups; ++g) {
        Text2[g]->write(toQt(library_.group(g).title()));
        Combo1[g]->clear();
    }
    // The whole list at once: name by name, each of up to 2047 names would
    // cost the model signals of its own.
    for (int g = 0; g < kGroups; ++g) {
        const MachineGroup group = library_.group(g);
        QStringList names;
        names.reserve(group.count());
        for (int i = 0; i < group.count(); ++i)
            names.append(toQt(group.name(i)));
        groupLists_[g]->setStringList(names);
    }
    for (int g = 0; g < kGroups; ++g) {
        if (library_.group(g).count() == 0)
            continue;
        Combo1[g]->setCurrentIndex(settings_.groupListIndex[g]);
        Combo1_Click(g);
    }
    Option1[settings_.currentGroup]->setChecked(true);
    Option1_Click(settings_.currentGroup);
}

void Form1::Option1_Click(int index) {
    if (machineEdited_) {
        const auto answer = dialogs_.ask({"新規作成を取り消しますか？", "Zenbalo", MessageBox::Buttons::YesNo,
                                          MessageBox::Icon::Question, MessageBox::Answer::No});
        if (answer != MessageBox::Answer::Yes) {
            Option1[settings_.currentGroup]->setChecked(true);
            return;
        }
    }
    // Also New over boxes that were already empty: nothing typed, nothing
    // asked, and the player must not stay locked in New mode. Outside New
    // mode this changes nothing.
    EndNewMode();
    settings_.currentGroup = static_cast<int16_t>(index);
    selectGroupControls(index);
    if (formReady_) {
        ShowMachine();
        Calculate();
    }
}

void Form1::selectGroupControls(int index) {
    for (int g = 0; g < kGroups; ++g) {
        Combo1[g]->setEnabled(g == index);
        Text2[g]->setEnabled(g == index);
        Label5[g]->setEnabled(g != index);
        // Tab and Shift+Tab enter the radios at the selected one.
        Option1[g]->setFocusPolicy(g == index ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void Form1::Label5_Click(int index) {
    if (Option1[index]->isChecked())
        return;
    Option1[index]->setChecked(true);
    Option1_Click(index);
}

void Form1::Combo1_Click(int index) {
    settings_.groupListIndex[index] = static_cast<int16_t>(Combo1[index]->currentIndex());
    if (formReady_) {
        ShowMachine();
        Calculate();
    }
}

// No selection (-1 from the settings file) shows the group's first machine;
// an empty group empties the boxes.
void Form1::ShowMachine() {
    const int selected = settings_.groupListIndex[settings_.currentGroup];
    const MachineRecord machine = library_.group(settings_.currentGroup).machine(std::max(selected, 0));
    for (int k = 0; k < kMachineFields; ++k)
        Text1[k]->write(toQt(machine[k]));
    machineEdited_ = false;
}

void Form1::EndNewMode() {
    for (QAction *a : {mnuShinki, mnuUpDate, mnuKiritori, mnuDelete})
        a->setEnabled(true);
    Combo1[settings_.currentGroup]->setEnabled(true);
    mnuPaste->setEnabled(cutWaiting_);
}

} // namespace zenbalo
