// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/entry_box.h"
#include "app/figure_label.h"
#include "app/qt_text.h"
#include "common/dialogs.h"
#include "common/shared_results.h"
#include "common/shell.h"
#include "engine/calculation.h"
#include "journal/journal.h"
#include "library/library.h"
#include "library/library_edit.h"
#include "library/library_files.h"
#include "library/settings.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QPushButton;
class QRadioButton;
class QStringListModel;

namespace zenbalo {

class frmKiroku;

// A label that reports clicks: the free area of a group row.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
};

namespace Ui {

// The main window's controls, named as the rest of the program, its tests and
// its layout tables know them.
struct Form1 {
    std::array<EntryBox *, kMachineFields> Text1{};
    std::array<QLabel *, kMachineFields> Text1Caption{}; // none for the name box
    std::array<EntryBox *, kGroups> Text2{};
    std::array<EntryBox *, 2> Text3{};
    std::array<QRadioButton *, kGroups> Option1{};
    std::array<QComboBox *, kGroups> Combo1{};
    std::array<ClickLabel *, kGroups> Label5{};
    QComboBox *Combo2 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label6 = nullptr;
    std::array<QLabel *, kSummaryRows> Label2{};
    std::array<FigureLabel *, kSummaryRows> Label7{};
    std::array<QLabel *, 17> Label3{};
    std::array<FigureLabel *, kTableRows> Label4{};
    std::array<FigureLabel *, kTableRows> Label9{};
    QFrame *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr;

    QAction *mnuShinki = nullptr, *mnuLogSave = nullptr, *mnuLogOpen = nullptr, *mnuExit = nullptr;
    QAction *mnuAdd = nullptr, *mnuUpDate = nullptr, *mnuKiritori = nullptr, *mnuPaste = nullptr, *mnuDelete = nullptr;
    QAction *mnuAnalysis = nullptr, *mnuHatsuKaiten = nullptr, *mnuBunpu = nullptr, *mnuKiroku = nullptr;
    QAction *mnuHelpOpen = nullptr, *mnuVer = nullptr;
};

} // namespace Ui

// The main window: specification column, groups, table, summary, status line.
// Its public face is its event handlers, its controls and read-only state.
class Form1 : public QMainWindow, private Ui::Form1 {
    Q_OBJECT
public:
    Form1(Dialogs &dialogs, Shell &shell, QWidget *parent = nullptr);
    ~Form1() override;

    const Ui::Form1 &ui() const { return *this; }

    const AppSettings &settings() const { return settings_; }
    const Library &library() const { return library_; }
    const SharedResults &shared() const { return shared_; }
    bool formReady() const { return formReady_; }
    bool dataChanged() const { return dataChanged_; }
    bool machineEdited() const { return machineEdited_; }
    bool cutWaiting() const { return cutWaiting_; }
    // The journal window, once opened; it stays for the session when closed.
    frmKiroku *kirokuWindow() const;

    // Start-up after the single-instance test; the window is shown afterwards.
    void Form_Load();
    void Form_Unload(bool &cancel);

    void Combo2_Click();
    void Combo1_Click(int index);
    void Option1_Click(int index);
    void Label5_Click(int index);
    void Command1_Click();
    void mnuLogSave_Click();
    void mnuExit_Click();
    void mnuShinki_Click();
    void mnuAdd_Click();
    void mnuUpDate_Click();
    void mnuKiritori_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();

    // Tools and help (form1_tools.cpp).
    void mnuAnalysis_Click();
    void mnuHatsuKaiten_Click();
    void mnuBunpu_Click();
    void mnuKiroku_Click();
    void mnuHelpOpen_Click();
    void mnuLogOpen_Click();
    void mnuVer_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildSpecificationColumn(QWidget *client);
    void buildGroups(QWidget *client);
    void buildTable(QWidget *client);
    void buildSummary(QWidget *client);
    void buildMenus();
    void setTabOrder();
    void connectHandlers();
    void connectTools();
    bool calculatedMachineNamed();
    Journal &journal();

    void ReadSettingsFile();
    void ReadLibraryFile();
    void ReadRateListFile();
    [[nodiscard]] WriteResult WriteSettingsFile();
    [[nodiscard]] WriteResult WriteLibraryFile();
    [[nodiscard]] WriteResult WriteLogReport();

    void Calculate();
    void FillGroups();
    void ShowMachine();
    void EndNewMode();
    void showResults(const CalculationDisplay &display);
    CalculationDisplay displayedResults() const;
    MachineRecord boxes() const;
    void selectGroupControls(int index);
    void InsertMachine();
    void RemoveMachine();
    void showSelection();
    [[nodiscard]] bool putBackCutMachine();
    [[nodiscard]] bool saveLibrary();

    Dialogs &dialogs_;
    Shell &shell_;

    bool formReady_ = false;     // start-up has finished
    bool dataChanged_ = false;   // something worth saving changed since start-up
    bool machineEdited_ = false; // a specification box changed since a machine was shown

    AppSettings settings_;
    Library library_;
    std::vector<std::string> rateList_; // the entries of Combo2, as read
    SharedResults shared_;
    // Text1(0) at the last Calculate, and at the last successful one: the
    // secondary windows never pair a name typed since with the figures of the
    // machine before. The first-hit table's figures come from every run, the
    // analysis's only from a successful one.
    std::string calculatedName_;
    std::string machineName_;
    CutMachine cutBuffer_;
    bool cutWaiting_ = false; // a cut machine waits to be pasted

    QButtonGroup *groupButtons_ = nullptr;
    std::array<QStringListModel *, kGroups> groupLists_{}; // the models of Combo1
    bool settingsRead_ = false;
    bool iconPending_ = true;
    LibraryFile libraryFile_;
    SettingsFile settingsFile_;
    // Made at its first use: a start opens nothing of the journal.
    std::unique_ptr<Journal> journal_;
    QPointer<frmKiroku> kirokuWindow_;
};

} // namespace zenbalo
