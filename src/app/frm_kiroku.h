// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/figure_label.h"
#include "common/dialogs.h"
#include "common/shell.h"
#include "journal/journal.h"

#include <QDialog>
#include <array>
#include <map>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QMenuBar;
class QSplitter;
class QTableView;

namespace zenbalo {

class BreakdownTableModel;
class ChartWidget;
class VisitTableModel;

inline constexpr int kJournalSummaryRows = 6;
inline constexpr const char *kJournalWindowTitle = "Zenbalo - 収支記録";

namespace Ui {

struct frmKiroku {
    QGroupBox *Frame1 = nullptr;         // the filters
    std::array<QLabel *, 2> Label1{};    // their captions
    std::array<QComboBox *, 2> Combo1{}; // parlour, machine: "すべて", then each name
    std::array<QCheckBox *, 2> Check1{}; // a period from, to
    std::array<QDateEdit *, 2> DTPicker1{};
    QTableView *ListView1 = nullptr; // the visits shown
    QFrame *Frame2 = nullptr;        // their summary
    std::array<QLabel *, kJournalSummaryRows> Label2{};
    std::array<FigureLabel *, kJournalSummaryRows> Label3{};
    ChartWidget *Chart1 = nullptr;           // their cumulative balance
    std::array<QLabel *, 2> Label4{};        // captions of the breakdowns
    std::array<QTableView *, 2> ListView2{}; // per parlour, per machine
    QLabel *Label6 = nullptr;                // the status line
    QAction *mnuExport = nullptr, *mnuClose = nullptr, *mnuDelete = nullptr, *mnuHelpOpen = nullptr;
};

} // namespace Ui

// The player's journal of visits: the table, its summary, a chart of the
// balance against 仕事量 and breakdowns per parlour and machine, for the
// visits the filters leave. Not modal: it stays open beside the main window
// and shows what the analysis window saves.
class frmKiroku : public QDialog, private Ui::frmKiroku {
    Q_OBJECT
public:
    frmKiroku(Journal &journal, Dialogs &dialogs, Shell &shell, QWidget *parent = nullptr);
    ~frmKiroku() override;

    const Ui::frmKiroku &ui() const { return *this; }
    // The visits shown, in journal order whatever the table's sorting.
    const std::vector<Visit> &shownVisits() const;

    // At each opening: the size of the last session, the journal taken in.
    void Form_Load();
    // Takes in what bunseki.txt adds and shows the journal again, the filters kept.
    void Refresh();

    void Combo1_Click(int index);
    void Check1_Click(int index);
    void DTPicker1_Change(int index);
    void ListView1_SelectionChange();
    void mnuExport_Click();
    void mnuClose_Click();
    void mnuDelete_Click();
    void mnuHelpOpen_Click();

public slots:
    // Every way of closing (close box, 閉じる, Escape) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus(QMenuBar *bar);
    void buildFilters();
    void buildTables();
    void buildSummary();
    void buildChart();
    void arrange(QMenuBar *bar);
    void connectHandlers();

    void FillFilters();
    void ShowVisits();
    void ShowStatus();
    void fitColumns(QTableView *table);
    void giveBreakdownsTheirWidth();
    VisitFilter filter() const;
    void restoreSize();
    void storeSize();

    Journal &journal_;
    Dialogs &dialogs_;
    Shell &shell_;
    std::string datePattern_;
    VisitTableModel *visits_ = nullptr;
    std::array<BreakdownTableModel *, 2> breakdowns_{};
    std::string syncStatus_; // what the last taking-in reported
    std::string listStatus_; // why the visits could not be shown, or what was done with them
    bool periodSet_ = false; // the period's dates start at the journal's first and last day
    std::map<const QTableView *, std::vector<int>> fittedWidths_; // each column's width as last fitted
    QSplitter *lowerSplit_ = nullptr; // the chart and the breakdowns
    bool splitSet_ = false;
};

} // namespace zenbalo
