// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_analysis.h"

#include "analysis/analysis_record.h"
#include "analysis/short_date.h"
#include "app/app_look.h"
#include "app/captions.h"
#include "app/documents.h"
#include "app/menu_item.h"
#include "app/qt_text.h"
#include "app/twips.h"

#include <QAction>
#include <QDate>
#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zenbalo {

namespace {

// Positions are in twips. The results frame is wider than the 1695 twips it
// was first drawn for: every row holds the figure of a total at its 32-bit
// limit ("¥-2147483647", "-2147483647.000") beside its caption in the Linux
// gothic fonts; a wider figure is drawn condensed.
constexpr int kResultsLeft = 2280;
constexpr int kResultRight = 2490; // Label3's right edge inside Frame1
constexpr int kResultsWidth = kResultRight + 120;
constexpr int kClientWidth = kResultsLeft + kResultsWidth;
constexpr int kClientHeight = 2640;
constexpr int kMachineFigureRight = 2010; // Label2's right edge inside Frame2

FigureLabel *figureBeside(QWidget *parent, const QLabel *caption, int rightTwips, int topTwips) {
    return new FigureLabel(parent, px(rightTwips), px(topTwips), px(kLabelHeight), figureLimitAfter(caption));
}

} // namespace

std::string shortDatePattern(const QLocale &locale) {
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (locale.language() == QLocale::C || pattern.isEmpty())
        return "yyyy/MM/dd";
    return toStd(pattern);
}

std::string systemShortDate() {
    const QDate now = QDate::currentDate();
    return formatShortDate({now.year(), now.month(), now.day()}, shortDatePattern(QLocale::system()));
}

frmAnalysis::frmAnalysis(const SharedResults &shared, Journal &journal, Dialogs &dialogs, Shell &shell, QWidget *parent)
    : QDialog(parent), shared_(shared), journal_(journal), dialogs_(dialogs), shell_(shell) {
    setUpDialogWindow(*this);

    auto *client = new QWidget(this);
    client->setFixedSize(px(kClientWidth), px(kClientHeight));
    buildFigures(client);
    buildInputs();
    buildResults(client);
    auto *bar = new QMenuBar(this);
    buildMenus(bar);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connectHandlers();
    Form_Load();
    Text1[0]->setFocus();
}

void frmAnalysis::buildFigures(QWidget *client) {
    Frame2 = captionlessFrame(client, twips(0, 0, 2175, 2535));
    Label1[9] = captionLabel(Frame2, "大当たり出玉:", 120, 240, "確変や時短中の玉増減を考慮した大当たり1回分の出玉");
    Label2[0] = figureBeside(Frame2, Label1[9], kMachineFigureRight, 240);
    Label2[0]->setToolTip("機種名");
    Label2[0]->setAccessibleDescription(spokenName(Label1[9]->text()));
    Label1[6] = captionLabel(Frame2, "換金率:", 120, 480, "玉1個の交換率");
    Label2[1] = figureBeside(Frame2, Label1[6], kMachineFigureRight, 480);
    Label2[1]->setAccessibleDescription(spokenName(Label1[6]->text()));
}

void frmAnalysis::buildInputs() {
    Text1[0] = new EntryBox(BoxFilter::Text, Frame2);
    Text1[0]->setGeometry(twips(600, 720, 1455, kBoxHeight));
    Label1[11] = captionLabel(Frame2, "店名:", 120, 840, "お店の名前");
    nameAfter(Text1[0], Label1[11]);
    static const struct {
        int caption;
        const char *text, *tooltip;
    } totals[4] = {
        {0, "総回転数:", "確変時や時短時を含まない総回転数"},
        {1, "総大当たり数:", ""},
        {3, "換金出玉数:", "換金した出玉数"},
        {2, "投資金額:", "使った金額"},
    };
    for (int k = 1; k <= 4; ++k) {
        const int top = 1080 + 360 * (k - 1);
        Text1[k] = new EntryBox(BoxFilter::Count, Frame2);
        Text1[k]->setGeometry(twips(1200, top, 855, kBoxHeight));
        const auto &t = totals[k - 1];
        Label1[t.caption] =
            captionLabel(Frame2, QString::fromUtf8(t.text), 120, top + 120, QString::fromUtf8(t.tooltip));
        nameAfter(Text1[k], Label1[t.caption]);
    }
}

void frmAnalysis::buildResults(QWidget *client) {
    static const struct {
        int caption;
        const char *text, *tooltip;
    } rows[kAnalysisResults] = {
        {8, "収支:", "現実収支"},
        {7, "仕事量:", "理論収支"},
        {4, "誤差:", "総大当たり数誤差"},
        {10, "ツキ指数:", "確率通りに当たった時を100%とした総当たり数誤差"},
        {5, "回転率:", "千円あたりの回転数"},
    };
    Frame1 = captionlessFrame(client, twips(kResultsLeft, 0, kResultsWidth, 1455));
    for (int k = 0; k < kAnalysisResults; ++k) {
        const int top = 240 + 240 * k;
        QLabel *caption =
            captionLabel(Frame1, QString::fromUtf8(rows[k].text), 120, top, QString::fromUtf8(rows[k].tooltip));
        Label1[rows[k].caption] = caption;
        Label3[k] = figureBeside(Frame1, caption, kResultRight, top);
        Label3[k]->setAccessibleDescription(spokenName(caption->text()));
    }
    Command1 = new QPushButton("計算(&C)", client);
    Command1->setGeometry(twips(kClientWidth - 120 - 1215, 2160, 1215, 375));
    QWidget::setTabOrder(Text1[4], Command1);
}

void frmAnalysis::buildMenus(QMenuBar *bar) {
    QMenu *mnuFile = bar->addMenu("ファイル(&F)");
    mnuBunSave = addMenuItem(mnuFile, "保存(&S)", Qt::CTRL | Qt::Key_S);
    mnuBunOpen = addMenuItem(mnuFile, "開く(&O)", Qt::CTRL | Qt::Key_O);
    mnuFile->addSeparator();
    mnuBunDelete = addMenuItem(mnuFile, "削除(&D)");
    mnuFile->addSeparator();
    mnuExit = addMenuItem(mnuFile, "終了(&X)");
    QMenu *mnuHelp = bar->addMenu("ヘルプ(&H)");
    mnuHelpOpen = addMenuItem(mnuHelp, "説明書(&R)");
}

void frmAnalysis::connectHandlers() {
    for (EntryBox *box : Text1)
        connect(box, &EntryBox::enterPressed, this, &frmAnalysis::RunAnalysis);
    connect(Command1, &QPushButton::clicked, this, &frmAnalysis::Command1_Click);
    connect(mnuBunSave, &QAction::triggered, this, &frmAnalysis::mnuBunSave_Click);
    connect(mnuBunOpen, &QAction::triggered, this, &frmAnalysis::mnuBunOpen_Click);
    connect(mnuBunDelete, &QAction::triggered, this, &frmAnalysis::mnuBunDelete_Click);
    connect(mnuExit, &QAction::triggered, this, &frmAnalysis::mnuExit_Click);
    connect(mnuHelpOpen, &QAction::triggered, this, &frmAnalysis::mnuHelpOpen_Click);
}

void frmAnalysis::Form_Load() {
    setWindowTitle(toQt(shared_.machineName) + " - 分析");
    mnuBunSave->setEnabled(false);
    const MachineFigures figures = machineFigures(shared_);
    Label2[0]->setText(toQt(figures.payout));
    Label2[1]->setText(toQt(figures.yenPerBall));
}

void frmAnalysis::Command1_Click() { RunAnalysis(); }

void frmAnalysis::RunAnalysis() {
    const AnalysisTotals totals{toStd(Text1[1]->text()), toStd(Text1[2]->text()), toStd(Text1[3]->text()),
                                toStd(Text1[4]->text())};
    const std::optional<AnalysisResults> results = zenbalo::RunAnalysis(totals, shared_);
    if (!results)
        return;
    for (int k = 0; k < kAnalysisResults; ++k)
        Label3[k]->setText(toQt((*results)[static_cast<size_t>(k)]));
    calculatedTotals_ = totals;
    mnuBunSave->setEnabled(true);
}

bool frmAnalysis::AppendAnalysisRecord() {
    AnalysisRecord record;
    record.date = today_();
    record.parlour = toStd(Text1[0]->text());
    record.yenPerBall = toStd(Label2[1]->text());
    record.machineName = shared_.machineName;
    record.payout = toStd(Label2[0]->text());
    record.totals = calculatedTotals_;
    for (int k = 0; k < kAnalysisResults; ++k)
        record.results[static_cast<size_t>(k)] = toStd(Label3[k]->text());
    // Both places or neither: a failed save can be repeated without doubling.
    const SyncReport saved = journal_.save(record, theoryOf(shared_));
    if (!saved.result.ok()) {
        dialogs_.refuse("分析データを保存できませんでした。\n" + saved.result.reason, "分析 - 保存");
        return false;
    }
    emit visitSaved();
    return true;
}

void frmAnalysis::mnuBunSave_Click() {
    // A failed save stays enabled, so the analysis can still be saved.
    if (mnuBunSave->isEnabled() && AppendAnalysisRecord())
        mnuBunSave->setEnabled(false);
}

void frmAnalysis::mnuBunOpen_Click() {
    ShellOpen(shell_, dialogs_, kAnalysisFile, "分析ファイルを開けませんでした。", "分析 - 開く");
}

void frmAnalysis::mnuBunDelete_Click() {
    const auto answer = dialogs_.ask({"分析データを削除しますか？", "分析 - 削除", MessageBox::Buttons::YesNo,
                                      MessageBox::Icon::Question, MessageBox::Answer::No});
    if (answer != MessageBox::Answer::Yes)
        return;
    if (const WriteResult emptied = emptyAnalysisFile(); !emptied.ok())
        dialogs_.refuse(withReason("bunseki.txtの分析データを削除できませんでした。", emptied), "分析 - 削除");
}

void frmAnalysis::mnuExit_Click() { close(); }

void frmAnalysis::mnuHelpOpen_Click() { openManual(shell_, dialogs_); }

void frmAnalysis::Form_Unload(bool &cancel) {
    if (!mnuBunSave->isEnabled())
        return;
    const auto answer = dialogs_.ask({"データを保存しますか？", "分析 - 終了", MessageBox::Buttons::YesNoCancel,
                                      MessageBox::Icon::Question, MessageBox::Answer::Yes});
    // A save that failed keeps the window, so the analysis is not lost unasked.
    if (answer == MessageBox::Answer::Cancel || (answer == MessageBox::Answer::Yes && !AppendAnalysisRecord()))
        cancel = true;
}

void frmAnalysis::reject() {
    bool cancel = false;
    Form_Unload(cancel);
    if (!cancel)
        QDialog::reject();
}

} // namespace zenbalo
