// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window: opened from the main window, its table, filters,
// summary, breakdowns and chart over small journals, and its commands.
#include "support/form_fixture.h"

#include "analysis/short_date.h"
#include "app/chart_widget.h"
#include "app/frm_analysis.h"
#include "app/frm_kiroku.h"
#include "app/journal_export.h"
#include "support/journal_records.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <cmath>
#include <filesystem>
#include <sqlite3.h>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

const QDate kMarch15(2005, 3, 15);

// The fixture's three visits and one more without a date.
std::string threeAndUndated() {
    return fixture("journal/three_visits.txt") + analysisRecordBytes(journalRecord(777, "駅前店", "CR機種", "いつか"));
}

std::string rowText(const QAbstractItemModel *model, int row) {
    std::string text;
    for (int c = 0; c < model->columnCount(); ++c)
        text += (c ? "|" : "") + model->index(row, c).data().toString().toStdString();
    return text;
}

std::vector<std::string> rowTexts(const QAbstractItemModel *model) {
    std::vector<std::string> rows;
    for (int r = 0; r < model->rowCount(); ++r)
        rows.push_back(rowText(model, r));
    return rows;
}

std::string itemsOf(const QComboBox *combo) {
    std::string items;
    for (int i = 0; i < combo->count(); ++i)
        items += (i ? "|" : "") + combo->itemText(i).toStdString();
    return items;
}

class KirokuTest : public FormTest {
protected:
    // The main window started over bunseki.txt holding `records`, and the
    // journal opened from it.
    void openWith(const std::string &records) {
        writeFile(kAnalysisFile, records);
        start();
        ASSERT_FALSE(std::filesystem::exists(kJournalFile)) << "the start opened the journal";
        openJournal();
    }

    void openJournal() {
        press(Qt::CTRL | Qt::Key_J);
        window = form->kirokuWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    const Ui::frmKiroku &w() const { return window->ui(); }
    const QAbstractItemModel *table() const { return w().ListView1->model(); }

    // The rows' rotations in the order shown: which visits they are.
    std::vector<int> shown() const {
        std::vector<int> rotations;
        for (int r = 0; r < table()->rowCount(); ++r)
            rotations.push_back(table()->index(r, 3).data().toInt());
        return rotations;
    }

    std::string summary() const {
        std::string text;
        for (const FigureLabel *figure : w().Label3)
            text += (text.empty() ? "" : " ") + figure->text().toStdString();
        return text;
    }

    // Chooses a name in a filter list by keys; empty chooses "すべて".
    void choose(int list, const QString &name) const {
        QComboBox *combo = w().Combo1[list];
        const int entry = name.isEmpty() ? 0 : combo->findText(name);
        ASSERT_GE(entry, 0) << name.toStdString();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < entry; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentIndex(), entry);
    }

    // Sets an end of the period; an invalid date leaves that end open.
    void period(int end, QDate date) const {
        if (w().Check1[end]->isChecked() != date.isValid())
            QTest::mouseClick(w().Check1[end], Qt::LeftButton, {}, QPoint(4, w().Check1[end]->height() / 2));
        if (date.isValid())
            w().DTPicker1[end]->setDate(date);
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) const {
        QTableView *view = w().ListView1;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(table()->index(row, 1)).center());
    }

    int rowOf(int rotations) const {
        const std::vector<int> rows = shown();
        return static_cast<int>(std::find(rows.begin(), rows.end(), rotations) - rows.begin());
    }

    frmKiroku *window = nullptr;
};

TEST_F(KirokuTest, OpensFromTheMenuBesideTheMainWindow) {
    openWith(fixture("journal/three_visits.txt"));
    EXPECT_EQ(window->windowTitle(), "Zenbalo - 収支記録");
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const std::string pattern = journalOptions().datePattern;
    const auto day = [&pattern](int d) { return formatShortDate({2005, 3, d}, pattern); };
    EXPECT_EQ(rowTexts(table()), (std::vector<std::string>{
                                     day(14) + "|駅前店|CR機種|1000|12|¥41429|¥27143|¥14286|21.739",
                                     day(15) + "|駅前店|CR海物語|2000|4|¥-29286|¥20714|¥-50000|38.462",
                                     day(16) + "|ホール・ニュー大阪|CR機種|600|0|¥-15000|¥-3000|¥-12000|40.000",
                                 }));
    EXPECT_EQ(summary(), "3 ¥-2857 ¥44857 ¥-47714 3600 31.858");
    EXPECT_EQ(itemsOf(w().Combo1[0]), "すべて|ホール・ニュー大阪|駅前店");
    EXPECT_EQ(itemsOf(w().Combo1[1]), "すべて|CR機種|CR海物語");
    EXPECT_EQ(rowTexts(w().ListView2[0]->model()),
              (std::vector<std::string>{"ホール・ニュー大阪|1|¥-15000|¥-3000|¥-12000|40.000",
                                        "駅前店|2|¥12143|¥47857|¥-35714|30.612"}));
    EXPECT_EQ(
        rowTexts(w().ListView2[1]->model()),
        (std::vector<std::string>{"CR機種|2|¥26429|¥24143|¥2286|26.230", "CR海物語|1|¥-29286|¥20714|¥-50000|38.462"}));
    EXPECT_EQ(w().Label6->text(), "bunseki.txt から 3 件を取り込みました。");

    // The chart sums in date order; imported visits know no theory, so no band.
    const ChartData &chart = w().Chart1->data();
    ASSERT_EQ(chart.series.size(), 2u);
    std::vector<double> real, work;
    for (size_t k = 0; k < chart.series[0].points.size(); ++k) {
        real.push_back(chart.series[0].points[k].y);
        work.push_back(chart.series[1].points[k].y);
    }
    EXPECT_EQ(real, (std::vector<double>{41429, 12143, -2857}));
    EXPECT_EQ(work, (std::vector<double>{27143, 47857, 44857}));
    EXPECT_TRUE(chart.bands.empty());

    // Ctrl+J again takes in what was added, in the same window, brought back if minimized.
    writeFile(kAnalysisFile, fixture("journal/three_visits.txt") + journalRecords({5}));
    window->showMinimized();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    openJournal();
    EXPECT_EQ(form->kirokuWindow(), window);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(shown(), (std::vector<int>{1000, 2000, 600, 5}));
    EXPECT_EQ(w().Label6->text(), "bunseki.txt から 1 件を取り込みました。");
    EXPECT_EQ(boxes(), "");
}

TEST_F(KirokuTest, FiltersChangeRowsSummaryAndChart) {
    struct Case {
        const char *name;
        QString parlour, machine;
        QDate from, to;
        std::vector<int> rows;
        std::string summary;
    } cases[] = {
        {"all, the undated one too", "", "", {}, {}, {1000, 2000, 600, 777}, "4 ¥38572 ¥72000 ¥-33428 4377 27.528"},
        {"a parlour", "駅前店", "", {}, {}, {1000, 2000, 777}, "3 ¥53572 ¥75000 ¥-21428 3777 26.229"},
        {"a machine", "", "CR機種", {}, {}, {1000, 600, 777}, "3 ¥67858 ¥51286 ¥16572 2377 22.215"},
        {"both", "駅前店", "CR機種", {}, {}, {1000, 777}, "2 ¥82858 ¥54286 ¥28572 1777 19.315"},
        {"from a day: no undated visit", "", "", kMarch15, {}, {2000, 600}, "2 ¥-44286 ¥17714 ¥-62000 2600 38.806"},
        {"up to a day", "", "", {}, kMarch15.addDays(-1), {1000}, "1 ¥41429 ¥27143 ¥14286 1000 21.739"},
        {"one day", "", "", kMarch15, kMarch15, {2000}, "1 ¥-29286 ¥20714 ¥-50000 2000 38.462"},
        {"a parlour and a period",
         "ホール・ニュー大阪",
         "",
         kMarch15,
         {},
         {600},
         "1 ¥-15000 ¥-3000 ¥-12000 600 40.000"},
        {"nothing left", "ホール・ニュー大阪", "CR海物語", {}, {}, {}, "0 ¥0 ¥0 ¥0 0 -"},
        {"after the journal's last day", "", "", kMarch15.addDays(2), {}, {}, "0 ¥0 ¥0 ¥0 0 -"},
    };
    openWith(threeAndUndated());
    EXPECT_EQ(w().DTPicker1[0]->date(), QDate(2005, 3, 14)) << "the period starts as the journal's";
    EXPECT_EQ(w().DTPicker1[1]->date(), QDate(2005, 3, 16));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        choose(0, c.parlour);
        choose(1, c.machine);
        period(0, c.from);
        period(1, c.to);
        EXPECT_EQ(shown(), c.rows);
        EXPECT_EQ(summary(), c.summary);
        EXPECT_EQ(w().Chart1->data().series[0].points.size(), c.rows.size());
        int breakdownVisits = 0;
        for (int r = 0; r < w().ListView2[0]->model()->rowCount(); ++r)
            breakdownVisits += w().ListView2[0]->model()->index(r, 1).data().toInt();
        EXPECT_EQ(breakdownVisits, static_cast<int>(c.rows.size()));
    }
}

TEST_F(KirokuTest, SortsNumbersAsNumbersAndUndatedLast) {
    enum Column { Date = 0, Parlour = 1, Rotations = 3, Balance = 5, Rate = 8 };
    struct Case {
        Column column;
        Qt::SortOrder order;
        std::vector<int> rows;
    } cases[] = {
        {Date, Qt::AscendingOrder, {1000, 2000, 600, 777}},
        {Date, Qt::DescendingOrder, {600, 2000, 1000, 777}},
        {Rotations, Qt::AscendingOrder, {600, 777, 1000, 2000}},
        {Rotations, Qt::DescendingOrder, {2000, 1000, 777, 600}},
        // Rows that tie keep the order they had: sorting by one column, then another, sorts by both.
        {Balance, Qt::AscendingOrder, {2000, 600, 1000, 777}},
        {Balance, Qt::DescendingOrder, {1000, 777, 600, 2000}},
        {Date, Qt::AscendingOrder, {1000, 2000, 600, 777}},
        {Parlour, Qt::AscendingOrder, {600, 1000, 2000, 777}},
        {Rate, Qt::DescendingOrder, {600, 2000, 1000, 777}},
    };
    openWith(threeAndUndated());
    QHeaderView *header = w().ListView1->horizontalHeader();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + (c.order == Qt::AscendingOrder ? " up" : " down"));
        header->setSortIndicator(c.column, c.order);
        EXPECT_EQ(shown(), c.rows);
    }

    // A click on a title sorts; the selection stays on its visit, and a filter keeps the order.
    clickRow(rowOf(2000));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(Rotations) + 4, header->height() / 2));
    ASSERT_EQ(header->sortIndicatorSection(), Rotations);
    const std::vector<int> want = header->sortIndicatorOrder() == Qt::AscendingOrder
                                      ? std::vector<int>{600, 777, 1000, 2000}
                                      : std::vector<int>{2000, 1000, 777, 600};
    EXPECT_EQ(shown(), want);
    const QModelIndexList selected = w().ListView1->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), rowOf(2000));
    choose(0, "駅前店");
    EXPECT_EQ(shown(), header->sortIndicatorOrder() == Qt::AscendingOrder ? (std::vector<int>{777, 1000, 2000})
                                                                          : (std::vector<int>{2000, 1000, 777}));
}

TEST_F(KirokuTest, DeleteAsksAndRemovesTheSelectedVisits) {
    openWith(fixture("journal/three_visits.txt"));
    EXPECT_FALSE(w().mnuDelete->isEnabled()) << "nothing selected";
    clickRow(0);
    clickRow(2, Qt::ControlModifier);
    EXPECT_TRUE(w().mnuDelete->isEnabled());

    dialogs.answers = {Answer::No, Answer::Yes};
    w().ListView1->setFocus();
    QTest::keyClick(w().ListView1, Qt::Key_Delete);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const MessageBox &question = dialogs.asked[0];
    EXPECT_EQ(question.prompt + " / " + question.title,
              "選択した 2 件の来店を収支記録から削除しますか？\n"
              "bunseki.txt の記録はそのまま残り、取り込み直されることもありません。 / 収支記録 - 削除");
    EXPECT_EQ(question.buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(question.icon, MessageBox::Icon::Question);
    EXPECT_EQ(question.defaultButton, Answer::No);
    EXPECT_EQ(shown(), (std::vector<int>{1000, 2000, 600})) << "No deletes nothing";

    QTest::keyClick(w().ListView1, Qt::Key_Delete);
    EXPECT_EQ(shown(), (std::vector<int>{2000}));
    EXPECT_EQ(summary(), "1 ¥-29286 ¥20714 ¥-50000 2000 38.462");
    EXPECT_EQ(itemsOf(w().Combo1[0]), "すべて|駅前店");
    EXPECT_EQ(itemsOf(w().Combo1[1]), "すべて|CR海物語");
    EXPECT_FALSE(w().mnuDelete->isEnabled());
    EXPECT_EQ(readFile(kAnalysisFile), fixture("journal/three_visits.txt")) << "bunseki.txt is never changed";

    // Gone for good: not taken in again at the next opening or start.
    window->close();
    restart();
    openJournal();
    EXPECT_EQ(shown(), (std::vector<int>{2000}));
    EXPECT_EQ(dialogs.asked.size(), 0u);
}

TEST_F(KirokuTest, ExportWritesTheVisitsShownInJournalOrder) {
    const std::string header(kCsvHeader),
        rows[3] = {std::string(kThreeVisitsCsvRows[0]), std::string(kThreeVisitsCsvRows[1]),
                   std::string(kThreeVisitsCsvRows[2])};
    struct Case {
        const char *name;
        QString parlour;
        std::optional<std::string> file; // the file dialog's answer
        std::string csv;                 // what the file holds; empty: no file
        std::string box;
    } cases[] = {
        {"all, sorted on screen", "", "all.csv", header + rows[0] + rows[1] + rows[2], ""},
        {"a parlour's", "駅前店", "ekimae.csv", header + rows[0] + rows[1], ""},
        {"cancelled", "", std::nullopt, "", ""},
        {"onto a folder", "", "folder.csv", "",
         "CSV ファイルに書き出せませんでした。\nfolder.csv に書き込めませんでした。同じ名前のフォルダーがあります。 / "
         "収支記録 - CSV に書き出す"},
    };
    openWith(fixture("journal/three_visits.txt"));
    std::filesystem::create_directory("folder.csv");
    w().ListView1->horizontalHeader()->setSortIndicator(5, Qt::AscendingOrder);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = directoryEntries();
        dialogs.asked.clear();
        dialogs.fileBoxes.clear();
        dialogs.files = {c.file};
        choose(0, c.parlour);
        w().ListView1->setFocus();
        QTest::keyClick(w().ListView1, Qt::Key_E, Qt::ControlModifier);
        ASSERT_EQ(dialogs.fileBoxes.size(), 1u);
        const SaveFileBox &box = dialogs.fileBoxes[0];
        EXPECT_EQ(box.title + " / " + box.filter + " / " + box.suffix,
                  "収支記録 - CSV に書き出す / CSV ファイル (*.csv) / csv");
        EXPECT_TRUE(box.suggested.ends_with("/収支記録.csv")) << box.suggested;
        if (c.csv.empty()) {
            EXPECT_EQ(directoryEntries(), before) << "no file written";
        } else {
            EXPECT_EQ(readFile(*c.file), c.csv);
        }
        EXPECT_EQ(boxes(), c.box);
    }
}

// Saved from the analysis window while the journal is open: the visit shows
// at once, with the band that its machine's theory gives.
TEST_F(KirokuTest, AnalysisSavedWhileOpenShowsAtOnce) {
    start();
    calculateMachine(workedExampleMachine()); // 1/300, 2 hits per first hit, 1500 balls
    openJournal();
    EXPECT_EQ(shown(), std::vector<int>{});
    EXPECT_EQ(w().Chart1->data().series[0].points.size(), 0u);
    const auto analyse = [](frmAnalysis &a) {
        const QString totals[] = {"駅前店", "1000", "12", "20000", "30000"};
        for (int k = 0; k < 5; ++k)
            retype(a.ui().Text1[k], totals[k]);
        QTest::keyClick(a.ui().Text1[4], Qt::Key_Return);
        ctrl(Qt::Key_S);
    };
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    whileModal<frmAnalysis>([this] { press(Qt::CTRL | Qt::Key_B); }, analyse);
    EXPECT_EQ(boxes(), "");
    ASSERT_EQ(shown(), std::vector<int>{1000});
    ASSERT_TRUE(window->shownVisits()[0].theory.has_value());
    EXPECT_DOUBLE_EQ(window->shownVisits()[0].theory->bigHitProbability, 1.0 / 300);

    // σ² = E·(2A − 1 − p·A)·(1500 balls × ¥3.571)² with E = 1000/150, A = 2, p = 1/300.
    const double sigma = std::sqrt(1000.0 / 150 * (3 - 2.0 / 300)) * 1500 * 3.571;
    const ChartData &chart = w().Chart1->data();
    ASSERT_EQ(chart.bands.size(), 2u);
    const double work = chart.series[1].points.back().y;
    EXPECT_NEAR(chart.bands[0].points.back().upper - work, 2 * sigma, 0.01);
    EXPECT_NEAR(work - chart.bands[1].points.back().lower, sigma, 0.01);
}

// The size of the last session comes back, kept in the journal; closing the
// main window closes the journal's and keeps its size too.
TEST_F(KirokuTest, RemembersItsSize) {
    openWith(fixture("journal/three_visits.txt"));
    window->resize(660, 560);
    window->close();
    window->resize(300, 300);
    openJournal();
    EXPECT_EQ(window->size(), QSize(660, 560));

    window->resize(720, 580);
    EXPECT_TRUE(closeWindow());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Journal().setting("journal_window_size").value, "720x580");
    restart();
    openJournal();
    EXPECT_EQ(window->size(), QSize(720, 580));
}

// Run on a journal of its own, so that a locked database is given up quickly.
TEST(KirokuStatus, TellsWhatTheTakingInFound) {
    struct Case {
        const char *name;
        std::function<void()> prepare;
        std::string status; // "KEPT" stands for the kept file's name
        size_t rows;
    } cases[] = {
        {"pieces that are no record", [] { writeFile(kAnalysisFile, fixture("journal/torn.txt")); },
         "bunseki.txt から 2 件を取り込みました。 bunseki.txt の記録でない部分 1 か所を読み飛ばしました。", 2},
        {"a damaged database",
         [] {
             writeFile(kAnalysisFile, fixture("journal/three_visits.txt"));
             writeFile(kJournalFile, std::string(4096, 'x'));
         },
         "壊れていた zenbalo.db を KEPT として残し、bunseki.txt から作り直しました。 bunseki.txt から 3 "
         "件を取り込みました。",
         3},
        {"nothing new", [] {}, "", 0},
        {"bunseki.txt unreadable", [] { std::filesystem::create_directory(kAnalysisFile); },
         "bunseki.txt を読み込めませんでした。同じ名前のフォルダーがあります。", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.prepare();
        FakeDialogs dialogs;
        FakeShell shell;
        Journal journal({journalOptions().datePattern, 50});
        frmKiroku window(journal, dialogs, shell);
        window.Form_Load();
        std::string want = c.status;
        if (const size_t at = want.find("KEPT"); at != std::string::npos)
            want.replace(at, 4, journal.keptDamaged());
        EXPECT_EQ(window.ui().Label6->text().toStdString(), want);
        EXPECT_EQ(window.shownVisits().size(), c.rows);
        EXPECT_TRUE(dialogs.asked.empty());
    }
}

TEST(KirokuStatus, ALockedJournalIsReportedAndShownOnceFree) {
    TempWorkDir dir;
    writeFile(kAnalysisFile, fixture("journal/three_visits.txt"));
    FakeDialogs dialogs;
    FakeShell shell;
    Journal journal({journalOptions().datePattern, 50});
    ASSERT_TRUE(journal.open().ok());
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(kJournalFile, &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    frmKiroku window(journal, dialogs, shell);
    window.Form_Load();
    EXPECT_EQ(window.ui().Label6->text().toStdString(),
              "zenbalo.db はほかのプログラムが使っています。しばらくしてからもう一度試してください。");
    EXPECT_TRUE(window.shownVisits().empty());
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    window.Refresh();
    EXPECT_EQ(window.shownVisits().size(), 3u);
    EXPECT_EQ(window.ui().Label6->text().toStdString(), "bunseki.txt から 3 件を取り込みました。");
}

// Every summary figure holds a total of years of play beside its caption.
TEST(KirokuLayout, SummaryFiguresAreNeitherCutNorCondensed) {
    TempWorkDir dir;
    FakeDialogs dialogs;
    FakeShell shell;
    Journal journal;
    frmKiroku window(journal, dialogs, shell);
    const QString widest[kJournalSummaryRows] = {"99999",         "¥-99999999999", "¥-99999999999",
                                                 "¥-99999999999", "999999999",     "9999.999"};
    for (int k = 0; k < kJournalSummaryRows; ++k) {
        FigureLabel *figure = window.ui().Label3[k];
        figure->setText(widest[k]);
        EXPECT_FALSE(figure->condensed()) << widest[k].toStdString();
        EXPECT_GT(figure->geometry().left(), window.ui().Label2[k]->geometry().right());
        EXPECT_LE(figure->geometry().right(), figure->parentWidget()->width());
    }
}

} // namespace
} // namespace zenbalo::testing
