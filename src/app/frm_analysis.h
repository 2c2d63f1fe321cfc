// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis.h"
#include "app/entry_box.h"
#include "app/figure_label.h"
#include "common/dialogs.h"
#include "common/shared_results.h"
#include "common/shell.h"
#include "journal/journal.h"

#include <QDialog>
#include <QLocale>
#include <array>
#include <functional>
#include <string>
#include <utility>

class QAction;
class QFrame;
class QLabel;
class QMenuBar;
class QPushButton;

namespace zenbalo {

// The locale's short date pattern; the C locale has none of its own, so the
// journal keeps the year-first form there.
std::string shortDatePattern(const QLocale &locale);
// Today in the system's short date format.
std::string systemShortDate();

namespace Ui {

struct frmAnalysis {
    std::array<EntryBox *, 5> Text1{}; // parlour, then the four totals
    std::array<FigureLabel *, 2> Label2{};
    std::array<FigureLabel *, kAnalysisResults> Label3{};
    std::array<QLabel *, 12> Label1{};
    QFrame *Frame1 = nullptr, *Frame2 = nullptr;
    QPushButton *Command1 = nullptr;
    QAction *mnuBunSave = nullptr, *mnuBunOpen = nullptr, *mnuBunDelete = nullptr, *mnuExit = nullptr;
    QAction *mnuHelpOpen = nullptr;
};

} // namespace Ui

// Sets the totals of one visit against the machine last calculated, and saves
// it into bunseki.txt and the journal.
class frmAnalysis : public QDialog, private Ui::frmAnalysis {
    Q_OBJECT
public:
    frmAnalysis(const SharedResults &shared, Journal &journal, Dialogs &dialogs, Shell &shell,
                QWidget *parent = nullptr);

    const Ui::frmAnalysis &ui() const { return *this; }
    // The date of a journal record; tests fix it.
    void setToday(std::function<std::string()> today) { today_ = std::move(today); }

    void Form_Load();
    void Form_Unload(bool &cancel);
    void Command1_Click();
    void mnuBunSave_Click();
    void mnuBunOpen_Click();
    void mnuBunDelete_Click();
    void mnuExit_Click();
    void mnuHelpOpen_Click();

public slots:
    // Every way of closing (close box, 終了, Escape) ends here.
    void reject() override;

signals:
    // A visit went into bunseki.txt and the journal.
    void visitSaved();

private:
    void buildFigures(QWidget *client);
    void buildInputs();
    void buildResults(QWidget *client);
    void buildMenus(QMenuBar *bar);
    void connectHandlers();
    void RunAnalysis();
    [[nodiscard]] bool AppendAnalysisRecord();

    const SharedResults &shared_;
    Journal &journal_;
    Dialogs &dialogs_;
    Shell &shell_;
    std::function<std::string()> today_ = systemShortDate;
    AnalysisTotals calculatedTotals_; // as typed at the last completed RunAnalysis
};

} // namespace zenbalo
