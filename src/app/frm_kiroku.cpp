// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_kiroku.h"

#include "app/app_look.h"
#include "app/captions.h"
#include "app/chart_widget.h"
#include "app/documents.h"
#include "app/journal_export.h"
#include "app/menu_item.h"
#include "app/qt_text.h"
#include "app/twips.h"
#include "app/visit_tables.h"
#include "journal/journal_csv.h"
#include "journal/journal_stats.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <utility>

namespace zenbalo {

namespace {

constexpr const char *kAll = "すべて";
constexpr const char *kSizeSetting = "journal_window_size";
constexpr const char *kDeleteTitle = "収支記録 - 削除";
constexpr const char *kExportTitle = "収支記録 - CSV に書き出す";
const QSize kDefaultSize(1040, 700);

// The right-hand column (filters and summary), in twips: every summary row
// holds a total of years of play ("¥-99999999999") beside its caption.
constexpr int kSideWidth = 3450;
constexpr int kFigureRight = kSideWidth - 120;
constexpr int kSummaryHeight = 120 + 240 * kJournalSummaryRows;
// A name column never takes more than this of the table at first.
constexpr int kWidestNameColumn = 220;

QDate toQDate(const CalendarDate &d) { return QDate(d.year, d.month, d.day); }
CalendarDate fromQDate(const QDate &d) { return {d.year(), d.month(), d.day()}; }

QTableView *newTable(QWidget *parent, QAbstractItemModel *model, const QString &accessibleName) {
    auto *table = new QTableView(parent);
    table->setModel(model);
    table->setAccessibleName(accessibleName);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
    // No order until the player picks a column: the journal's own.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    return table;
}

// The cumulative real balance and 仕事量 over the visits in date order, and
// around 仕事量 the spread that luck alone gives, where the visits know their
// machine's theory.
ChartData balanceChart(const std::vector<Visit> &visits) {
    ChartData data;
    data.x = ChartAxis::integer("来店（日付順）");
    data.y = ChartAxis::yen("累計");
    ChartSeries real{"実収支の累計", ChartRole::Primary, {}};
    ChartSeries work{"仕事量の累計", ChartRole::Secondary, {}};
    ChartBand two{"運の幅 ±2σ", ChartRole::Secondary, {}};
    ChartBand one{"運の幅 ±1σ", ChartRole::Secondary, {}};
    bool spread = false;
    double x = 0;
    for (const BalancePoint &p : chartPoints(visits)) {
        ++x;
        const auto w = static_cast<double>(p.work);
        real.points.push_back({x, static_cast<double>(p.realBalance)});
        work.points.push_back({x, w});
        two.points.push_back({x, w - 2 * p.sigma, w + 2 * p.sigma});
        one.points.push_back({x, w - p.sigma, w + p.sigma});
        spread = spread || p.sigma > 0;
    }
    data.series = {std::move(real), std::move(work)};
    if (spread)
        data.bands = {std::move(two), std::move(one)};
    return data;
}

std::string count(int64_t n) { return std::to_string(n); }

} // namespace

frmKiroku::frmKiroku(Journal &journal, Dialogs &dialogs, Shell &shell, QWidget *parent)
    : QDialog(parent), journal_(journal), dialogs_(dialogs), shell_(shell), datePattern_(journalOptions().datePattern) {
    setWindowTitle(kJournalWindowTitle);
    setWindowIcon(appIcon());
    setFont(uiFont());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    auto *bar = new QMenuBar(this);
    buildMenus(bar);
    buildFilters();
    buildTables();
    buildSummary();
    buildChart();
    Label6 = new QLabel(this);
    Label6->setWordWrap(true);
    Label6->setAccessibleName("状態");
    arrange(bar);
    connectHandlers();
}

frmKiroku::~frmKiroku() = default;

void frmKiroku::buildMenus(QMenuBar *bar) {
    QMenu *mnuFile = bar->addMenu("ファイル(&F)");
    mnuExport = addMenuItem(mnuFile, "CSV に書き出す(&E)...", Qt::CTRL | Qt::Key_E);
    mnuFile->addSeparator();
    mnuClose = addMenuItem(mnuFile, "閉じる(&X)");
    QMenu *mnuEdit = bar->addMenu("編集(&E)");
    mnuDelete = addMenuItem(mnuEdit, "削除(&D)", QKeySequence::Delete);
    QMenu *mnuHelp = bar->addMenu("ヘルプ(&H)");
    mnuHelpOpen = addMenuItem(mnuHelp, "説明書(&R)...");
}

void frmKiroku::buildFilters() {
    Frame1 = new QGroupBox("絞り込み", this);
    Frame1->setFixedWidth(px(kSideWidth));
    auto *grid = new QGridLayout(Frame1);
    static const char *const captions[2] = {"店名(&P):", "機種名(&M):"};
    static const char *const names[2] = {"店名で絞り込む", "機種名で絞り込む"};
    for (int k = 0; k < 2; ++k) {
        Combo1[k] = new QComboBox(Frame1);
        Combo1[k]->setAccessibleName(names[k]);
        Combo1[k]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        Combo1[k]->setMinimumContentsLength(6);
        Label1[k] = new QLabel(captions[k], Frame1);
        Label1[k]->setBuddy(Combo1[k]);
        grid->addWidget(Label1[k], k, 0);
        grid->addWidget(Combo1[k], k, 1);
    }
    static const char *const periods[2] = {"開始日(&S):", "終了日(&N):"};
    static const char *const dates[2] = {"期間の開始日", "期間の終了日"};
    for (int k = 0; k < 2; ++k) {
        Check1[k] = new QCheckBox(periods[k], Frame1);
        DTPicker1[k] = new QDateEdit(Frame1);
        DTPicker1[k]->setDisplayFormat("yyyy/MM/dd");
        DTPicker1[k]->setDate(QDate::currentDate()); // until the journal's first and last day are known
        DTPicker1[k]->setCalendarPopup(true);
        DTPicker1[k]->setAccessibleName(dates[k]);
        DTPicker1[k]->setEnabled(false);
        grid->addWidget(Check1[k], 2 + k, 0);
        grid->addWidget(DTPicker1[k], 2 + k, 1);
    }
    grid->setColumnStretch(1, 1);
}

void frmKiroku::buildTables() {
    visits_ = new VisitTableModel(datePattern_, this);
    ListView1 = newTable(this, visits_, "来店の一覧");
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Delete in the filters' boxes edits them; in the table it deletes visits.
    ListView1->addAction(mnuDelete);
    mnuDelete->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    mnuDelete->setEnabled(false);
    static const char *const titles[2] = {"店舗別", "機種別"};
    static const char *const names[2] = {"店名", "機種名"};
    for (int k = 0; k < 2; ++k) {
        breakdowns_[k] = new BreakdownTableModel(names[k], this);
        ListView2[k] = newTable(this, breakdowns_[k], QString(titles[k]) + "の集計");
        ListView2[k]->setSelectionMode(QAbstractItemView::SingleSelection);
        Label4[k] = new QLabel(titles[k], this);
        Label4[k]->setBuddy(ListView2[k]);
    }
}

void frmKiroku::buildSummary() {
    static const struct {
        const char *caption, *tooltip;
    } rows[kJournalSummaryRows] = {
        {"件数:", "表示している来店の数"},
        {"合計収支:", "現実収支の合計"},
        {"合計仕事量:", "理論収支の合計"},
        {"運:", "合計収支 − 合計仕事量"},
        {"総回転数:", "確変時や時短時を含まない回転数の合計"},
        {"平均回転率:", "千円あたりの回転数（持ち玉で回した分も含む）"},
    };
    Frame2 = captionlessFrame(this, twips(0, 0, kSideWidth, kSummaryHeight));
    Frame2->setFixedSize(Frame2->size());
    for (int k = 0; k < kJournalSummaryRows; ++k) {
        const int top = 120 + 240 * k;
        Label2[k] =
            captionLabel(Frame2, QString::fromUtf8(rows[k].caption), 120, top, QString::fromUtf8(rows[k].tooltip));
        Label3[k] = new FigureLabel(Frame2, px(kFigureRight), px(top), px(kLabelHeight), figureLimitAfter(Label2[k]));
    }
}

void frmKiroku::buildChart() {
    Chart1 = new ChartWidget(this);
    Chart1->setAccessibleName("実収支と仕事量の累計のグラフ");
    Chart1->setToolTip("帯は分析ウィンドウで保存した来店の理論値から、運だけで説明できる仕事量の幅です");
}

void frmKiroku::arrange(QMenuBar *bar) {
    auto *side = new QVBoxLayout;
    side->addWidget(Frame1);
    side->addWidget(Frame2);
    side->addStretch(1);
    auto *top = new QWidget(this);
    auto *topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(0, 0, 0, 0);
    topRow->addWidget(ListView1, 1);
    topRow->addLayout(side);

    auto *breakdowns = new QWidget(this);
    auto *column = new QVBoxLayout(breakdowns);
    column->setContentsMargins(0, 0, 0, 0);
    for (int k = 0; k < 2; ++k) {
        column->addWidget(Label4[k]);
        column->addWidget(ListView2[k], 1);
    }
    auto *bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(Chart1);
    bottom->addWidget(breakdowns);
    bottom->setStretchFactor(0, 1);
    bottom->setStretchFactor(1, 1);
    bottom->setChildrenCollapsible(false);
    lowerSplit_ = bottom;

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(split, 1);
    layout->addWidget(Label6);
}

void frmKiroku::connectHandlers() {
    for (int k = 0; k < 2; ++k) {
        connect(Combo1[k], &QComboBox::activated, this, [this, k] { Combo1_Click(k); });
        connect(Check1[k], &QCheckBox::toggled, this, [this, k] { Check1_Click(k); });
        connect(DTPicker1[k], &QDateEdit::dateChanged, this, [this, k] { DTPicker1_Change(k); });
    }
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmKiroku::ListView1_SelectionChange);
    connect(mnuExport, &QAction::triggered, this, &frmKiroku::mnuExport_Click);
    connect(mnuClose, &QAction::triggered, this, &frmKiroku::mnuClose_Click);
    connect(mnuDelete, &QAction::triggered, this, &frmKiroku::mnuDelete_Click);
    connect(mnuHelpOpen, &QAction::triggered, this, &frmKiroku::mnuHelpOpen_Click);
}

const std::vector<Visit> &frmKiroku::shownVisits() const { return visits_->visits(); }

// ---- opening and closing

void frmKiroku::Form_Load() {
    restoreSize();
    Refresh();
}

void frmKiroku::restoreSize() {
    QSize size = kDefaultSize;
    const SettingValue stored = journal_.setting(kSizeSetting);
    int width = 0, height = 0;
    if (stored.value && std::sscanf(stored.value->c_str(), "%dx%d", &width, &height) == 2 && width > 0 && height > 0)
        size = QSize(width, height);
    if (const QScreen *where = screen())
        size = size.boundedTo(where->availableGeometry().size());
    resize(size.expandedTo(minimumSizeHint()));
}

void frmKiroku::storeSize() {
    // A size that cannot be kept costs the player nothing but the default next time.
    static_cast<void>(journal_.storeSetting(kSizeSetting, count(width()) + "x" + count(height())));
}

void frmKiroku::done(int result) {
    if (isVisible())
        storeSize();
    QDialog::done(result);
}

void frmKiroku::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!std::exchange(splitSet_, true))
        giveBreakdownsTheirWidth();
}

// The breakdowns get the width their columns need, as far as the chart keeps
// two fifths of the room; the rest goes to the chart.
void frmKiroku::giveBreakdownsTheirWidth() {
    int needed = 0;
    for (const QTableView *table : ListView2) {
        int columns = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < table->model()->columnCount(); ++c)
            columns += table->horizontalHeader()->sectionSize(c);
        needed = std::max(needed, columns);
    }
    const int total = lowerSplit_->width() - lowerSplit_->handleWidth();
    const int chart = std::max({Chart1->minimumSizeHint().width(), total - needed, total * 2 / 5});
    lowerSplit_->setSizes({chart, std::max(0, total - chart)});
}

void frmKiroku::mnuClose_Click() { close(); }

void frmKiroku::mnuHelpOpen_Click() { openManual(shell_, dialogs_); }

// ---- showing the journal

void frmKiroku::Refresh() {
    const SyncReport synced = journal_.sync();
    std::vector<std::string> parts;
    if (!synced.result.ok())
        parts.push_back(synced.result.reason);
    if (!journal_.keptDamaged().empty())
        parts.push_back("壊れていた " + std::string(kJournalFile) + " を " + journal_.keptDamaged() + " として残し、" +
                        kAnalysisFile + " から作り直しました。");
    if (synced.imported > 0)
        parts.push_back(std::string(kAnalysisFile) + " から " + count(synced.imported) + " 件を取り込みました。");
    if (synced.skipped > 0)
        parts.push_back(std::string(kAnalysisFile) + " の記録でない部分 " + count(synced.skipped) +
                        " か所を読み飛ばしました。");
    syncStatus_.clear();
    for (const std::string &part : parts)
        syncStatus_ += (syncStatus_.empty() ? "" : " ") + part;
    FillFilters();
    ShowVisits();
}

// Each list keeps the name chosen while the journal still holds it.
void frmKiroku::FillFilters() {
    const NameLists names = journal_.names();
    if (!names.result.ok())
        return;
    const std::vector<std::string> *lists[2] = {&names.parlours, &names.machines};
    for (int k = 0; k < 2; ++k) {
        const QString chosen = Combo1[k]->currentIndex() > 0 ? Combo1[k]->currentText() : QString();
        QStringList items{kAll};
        for (const std::string &name : *lists[k])
            items << toQt(name);
        Combo1[k]->clear();
        Combo1[k]->addItems(items);
        Combo1[k]->setCurrentIndex(chosen.isEmpty() ? 0 : std::max<int>(0, static_cast<int>(items.indexOf(chosen))));
    }
}

VisitFilter frmKiroku::filter() const {
    VisitFilter f;
    if (Combo1[0]->currentIndex() > 0)
        f.parlour = toStd(Combo1[0]->currentText());
    if (Combo1[1]->currentIndex() > 0)
        f.machine = toStd(Combo1[1]->currentText());
    if (Check1[0]->isChecked())
        f.from = fromQDate(DTPicker1[0]->date());
    if (Check1[1]->isChecked())
        f.to = fromQDate(DTPicker1[1]->date());
    return f;
}

void frmKiroku::ShowVisits() {
    VisitList list = journal_.visits(filter());
    if (!list.result.ok()) {
        listStatus_ = list.result.reason;
        ShowStatus();
        return;
    }
    listStatus_.clear();
    const SummaryTexts texts = summaryTexts(totalsOf(list.visits));
    const std::string figures[kJournalSummaryRows] = {texts.visits, texts.realBalance, texts.work,
                                                      texts.luck,   texts.rotations,   texts.rotationRate};
    for (int k = 0; k < kJournalSummaryRows; ++k)
        Label3[k]->setText(toQt(figures[k]));
    breakdowns_[0]->setRows(breakdownByParlour(list.visits));
    breakdowns_[1]->setRows(breakdownByMachine(list.visits));
    Chart1->setData(balanceChart(list.visits));
    // The period starts out as the whole journal, for the player to narrow.
    if (!periodSet_ && !list.visits.empty()) {
        std::optional<CalendarDate> first, last;
        for (const Visit &v : list.visits)
            if (v.date) {
                const auto key = [](const CalendarDate &d) { return std::tuple(d.year, d.month, d.day); };
                if (!first || key(*v.date) < key(*first))
                    first = v.date;
                if (!last || key(*last) < key(*v.date))
                    last = v.date;
            }
        for (int k = 0; k < 2 && first; ++k) {
            const QSignalBlocker quiet(DTPicker1[k]);
            DTPicker1[k]->setDate(toQDate(k == 0 ? *first : *last));
        }
        periodSet_ = first.has_value();
    }
    visits_->setVisits(std::move(list.visits));
    for (QTableView *table : {ListView1, ListView2[0], ListView2[1]}) {
        const QHeaderView *header = table->horizontalHeader();
        if (header->sortIndicatorSection() >= 0)
            table->model()->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
        fitColumns(table);
    }
    ListView1_SelectionChange();
    ShowStatus();
}

// Columns fit their widest text and title; one the player has resized keeps
// his width unless its text needs more.
void frmKiroku::fitColumns(QTableView *table) {
    auto *model = static_cast<SortableTableModel *>(table->model());
    QHeaderView *header = table->horizontalHeader();
    std::vector<int> &fitted = fittedWidths_[table];
    fitted.resize(static_cast<size_t>(model->columnCount()), -1);
    const QFontMetrics metrics = table->fontMetrics();
    const int padding = 2 * table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 8;
    for (int c = 0; c < model->columnCount(); ++c) {
        int width = std::max(header->sectionSizeHint(c), metrics.horizontalAdvance(model->widestText(c)) + padding);
        if (!model->isNumeric(c))
            width = std::min(width, std::max(kWidestNameColumn, header->sectionSizeHint(c)));
        int &last = fitted[static_cast<size_t>(c)];
        if (last < 0 || header->sectionSize(c) == last || width > header->sectionSize(c))
            header->resizeSection(c, width);
        last = header->sectionSize(c);
    }
}

void frmKiroku::ShowStatus() {
    std::string text = syncStatus_;
    if (!listStatus_.empty() && listStatus_ != syncStatus_)
        text += (text.empty() ? "" : " ") + listStatus_;
    Label6->setText(toQt(text));
}

// ---- filters

void frmKiroku::Combo1_Click(int) { ShowVisits(); }

void frmKiroku::Check1_Click(int index) {
    DTPicker1[index]->setEnabled(Check1[index]->isChecked());
    ShowVisits();
}

void frmKiroku::DTPicker1_Change(int index) {
    if (Check1[index]->isChecked())
        ShowVisits();
}

// ---- commands

void frmKiroku::ListView1_SelectionChange() { mnuDelete->setEnabled(ListView1->selectionModel()->hasSelection()); }

void frmKiroku::mnuDelete_Click() {
    std::vector<int64_t> ids;
    for (const QModelIndex &row : ListView1->selectionModel()->selectedRows())
        ids.push_back(visits_->visitId(row.row()));
    if (ids.empty())
        return;
    const std::string prompt = "選択した " + count(static_cast<int64_t>(ids.size())) +
                               " 件の来店を収支記録から削除しますか？\n" + kAnalysisFile +
                               " の記録はそのまま残り、取り込み直されることもありません。";
    const auto answer = dialogs_.ask(
        {prompt, kDeleteTitle, MessageBox::Buttons::YesNo, MessageBox::Icon::Question, MessageBox::Answer::No});
    if (answer != MessageBox::Answer::Yes)
        return;
    if (const JournalResult deleted = journal_.deleteVisits(ids); !deleted.ok())
        dialogs_.refuse("来店を削除できませんでした。\n" + deleted.reason, kDeleteTitle);
    FillFilters();
    ShowVisits();
}

void frmKiroku::mnuExport_Click() {
    const std::string suggested = toStd(QDir::home().filePath("収支記録.csv"));
    const std::optional<std::string> file =
        dialogs_.chooseSaveFile({kExportTitle, suggested, "CSV ファイル (*.csv)", "csv"});
    if (!file)
        return;
    if (const JournalResult written = writeJournalCsv(shownVisits(), *file); !written.ok()) {
        dialogs_.refuse("CSV ファイルに書き出せませんでした。\n" + written.reason, kExportTitle);
        return;
    }
    listStatus_ = count(static_cast<int64_t>(shownVisits().size())) + " 件を " + *file + " に書き出しました。";
    ShowStatus();
}

} // namespace zenbalo
