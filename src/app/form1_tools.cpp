// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's tools and help: the secondary windows and the documents
// opened through the desktop.

#include "app/documents.h"
#include "app/form1.h"
#include "app/frm_about.h"
#include "app/frm_analysis.h"
#include "app/frm_bunpu.h"
#include "app/frm_hatsu_kaiten.h"
#include "app/frm_kiroku.h"
#include "app/journal_export.h"
#include "engine/log_report.h"
#include "firsthit/first_hit.h"

#include <QAction>

namespace zenbalo {

void Form1::connectTools() {
    connect(mnuAnalysis, &QAction::triggered, this, &Form1::mnuAnalysis_Click);
    connect(mnuHatsuKaiten, &QAction::triggered, this, &Form1::mnuHatsuKaiten_Click);
    connect(mnuBunpu, &QAction::triggered, this, &Form1::mnuBunpu_Click);
    connect(mnuKiroku, &QAction::triggered, this, &Form1::mnuKiroku_Click);
    connect(mnuHelpOpen, &QAction::triggered, this, &Form1::mnuHelpOpen_Click);
    connect(mnuLogOpen, &QAction::triggered, this, &Form1::mnuLogOpen_Click);
    connect(mnuVer, &QAction::triggered, this, &Form1::mnuVer_Click);
}

// The analysis and the distribution show the machine of the last calculation
// only when it succeeded, under the name it had then.
bool Form1::calculatedMachineNamed() {
    shared_.machineName = machineName_;
    return !shared_.machineName.empty() && Label7[3]->text() != "-" && shared_.payoutPerHit != 0;
}

void Form1::mnuAnalysis_Click() {
    if (!calculatedMachineNamed())
        return;
    frmAnalysis window(shared_, journal(), dialogs_, shell_, this);
    connect(&window, &frmAnalysis::visitSaved, this, [this] {
        if (kirokuWindow_ && kirokuWindow_->isVisible())
            kirokuWindow_->Refresh();
    });
    window.exec();
}

void Form1::mnuHatsuKaiten_Click() {
    shared_.machineName = calculatedName_;
    if (!canOpenFirstHitTable(shared_))
        return;
    frmHatsuKaiten window(shared_, this);
    window.exec();
}

void Form1::mnuBunpu_Click() {
    if (!calculatedMachineNamed())
        return;
    frmBunpu window(shared_, this);
    window.exec();
}

void Form1::mnuKiroku_Click() {
    if (!kirokuWindow_)
        kirokuWindow_ = new frmKiroku(journal(), dialogs_, shell_, this);
    if (kirokuWindow_->isVisible()) {
        kirokuWindow_->Refresh();
    } else {
        kirokuWindow_->Form_Load();
        kirokuWindow_->show();
    }
    kirokuWindow_->setWindowState(kirokuWindow_->windowState() & ~Qt::WindowMinimized);
    kirokuWindow_->raise();
    kirokuWindow_->activateWindow();
}

frmKiroku *Form1::kirokuWindow() const { return kirokuWindow_; }

Journal &Form1::journal() {
    if (!journal_)
        journal_ = std::make_unique<Journal>(journalOptions());
    return *journal_;
}

void Form1::mnuHelpOpen_Click() { openManual(shell_, dialogs_); }

void Form1::mnuLogOpen_Click() {
    ShellOpen(shell_, dialogs_, kLogFile, "ログを開けませんでした。", "Zenbalo - ログを開く");
}

void Form1::mnuVer_Click() {
    frmAbout window(dialogs_, shell_, this);
    window.exec();
}

} // namespace zenbalo
