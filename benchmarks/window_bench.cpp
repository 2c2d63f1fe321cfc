// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's actions on the largest library, and the journal window on
// 10 000 visits, on Qt's offscreen platform: from the key or click, through
// the handler and the core, to the labels recalculated and repainted.
#include "app/app_look.h"
#include "app/chart_widget.h"
#include "app/form1.h"
#include "app/frm_bunpu.h"
#include "app/frm_kiroku.h"
#include "app/journal_export.h"
#include "bench_support.h"
#include "common/file_io.h"
#include "engine/rates.h"
#include "library/library_files.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sqlite3.h>

using namespace zenbalo;
using namespace zenbalo::bench;

namespace {

using Clock = std::chrono::steady_clock;

// Answers every question with Yes and counts the boxes, so that a benchmark
// can tell that its command went through and was not refused.
class ScriptedDialogs : public Dialogs {
public:
    MessageBox::Answer ask(const MessageBox &box) override {
        if (box.buttons == MessageBox::Buttons::Ok) {
            ++refusals;
            return MessageBox::Answer::Ok;
        }
        ++questions;
        return MessageBox::Answer::Yes;
    }
    std::optional<std::string> chooseSaveFile(const SaveFileBox &) override { return std::nullopt; }
    int questions = 0;
    int refusals = 0;
};

// Opens nothing; no benchmark opens a document.
class NoShell : public Shell {
public:
    void open(const std::string &, std::function<void()>) override {}
};

ScriptedDialogs *dialogs = nullptr;
NoShell shell;
Form1 *form = nullptr;

const Ui::Form1 &ui() { return form->ui(); }

// Everything an action leaves to the event loop, the repaint included.
void settle() { QApplication::processEvents(); }

template <typename F> void timed(benchmark::State &state, F &&action) {
    settle();
    const auto start = Clock::now();
    action();
    settle();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
}

void press(QKeyCombination keys) {
    ui().Text1[Name]->setFocus();
    QTest::keyClick(ui().Text1[Name], keys.key(), keys.keyboardModifiers());
}

int currentGroup() { return form->settings().currentGroup; }
int selectedPosition() { return form->settings().groupListIndex[currentGroup()]; }

// Types a new name into the name box, key by key as a player does; the
// characters without a key of their own arrive as text.
void typeName(const std::string &name) {
    EntryBox *box = ui().Text1[Name];
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar c : toQt(name)) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Fails the benchmark when the window's lists and the library disagree, or
// when a command was refused.
void check(benchmark::State &state) {
    for (int g = 0; g < kGroups; ++g)
        if (ui().Combo1[g]->count() != form->library().group(g).count()) {
            state.SkipWithError("a list does not match its group");
            return;
        }
    if (dialogs->refusals != 0)
        state.SkipWithError("a command was refused");
    dialogs->refusals = 0;
    if (ui().Label6->text() != QString())
        state.SkipWithError("the calculation failed");
}

void Window_Calculate(benchmark::State &state) {
    for (auto _ : state)
        timed(state, [] { ui().Command1->click(); });
    check(state);
}
BENCHMARK(Window_Calculate)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Window_ChooseMachine(benchmark::State &state) {
    QComboBox *list = ui().Combo1[currentGroup()];
    list->setFocus();
    bool down = true;
    for (auto _ : state) {
        const int before = selectedPosition();
        timed(state, [&] { QTest::keyClick(list, down ? Qt::Key_Down : Qt::Key_Up); });
        if (selectedPosition() == before)
            state.SkipWithError("no other machine was chosen");
        down = !down;
    }
    check(state);
}
BENCHMARK(Window_ChooseMachine)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Window_ChooseRate(benchmark::State &state) {
    ui().Combo2->setFocus();
    bool down = true;
    for (auto _ : state) {
        timed(state, [&] { QTest::keyClick(ui().Combo2, down ? Qt::Key_Down : Qt::Key_Up); });
        down = !down;
    }
    check(state);
}
BENCHMARK(Window_ChooseRate)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Between the two largest groups, by their radio buttons.
void Window_ChooseGroup(benchmark::State &state) {
    for (auto _ : state) {
        const int to = currentGroup() == 0 ? 1 : 0;
        timed(state, [&] { QTest::mouseClick(ui().Option1[to], Qt::LeftButton); });
        if (currentGroup() != to)
            state.SkipWithError("the group did not change");
    }
    QTest::mouseClick(ui().Option1[0], Qt::LeftButton);
    check(state);
}
BENCHMARK(Window_ChooseGroup)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same by a click on the free area of a row.
void Window_ChooseGroupByRow(benchmark::State &state) {
    for (auto _ : state) {
        const int to = currentGroup() == 0 ? 1 : 0;
        timed(state, [&] { QTest::mouseClick(ui().Label5[to], Qt::LeftButton, {}, QPoint(290, 8)); });
        if (currentGroup() != to)
            state.SkipWithError("the group did not change");
    }
    QTest::mouseClick(ui().Option1[0], Qt::LeftButton);
    check(state);
}
BENCHMARK(Window_ChooseGroupByRow)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Window_New(benchmark::State &state) {
    for (auto _ : state) {
        const int asked = dialogs->questions;
        timed(state, [] { press(Qt::CTRL | Qt::Key_N); });
        if (dialogs->questions != asked + 1 || ui().mnuShinki->isEnabled())
            state.SkipWithError("New mode did not start");
        // Another group ends New mode; then back.
        QTest::mouseClick(ui().Option1[1], Qt::LeftButton);
        QTest::mouseClick(ui().Option1[0], Qt::LeftButton);
    }
    check(state);
}
BENCHMARK(Window_New)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A full library takes no machine more: the selected one is deleted first,
// untimed, and its name typed into the boxes again.
void Window_Add(benchmark::State &state) {
    for (auto _ : state) {
        const MachineRecord added = form->library().group(currentGroup()).machine(selectedPosition());
        press(Qt::SHIFT | Qt::Key_Delete);
        typeName(added[Name]);
        timed(state, [] { press(Qt::CTRL | Qt::Key_A); });
        if (form->library().machineCount() != kMaxMachines || ui().Text1[Name]->text() != toQt(added[Name]))
            state.SkipWithError("the machine was not added");
    }
    check(state);
}
BENCHMARK(Window_Add)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Window_Delete(benchmark::State &state) {
    for (auto _ : state) {
        const MachineRecord removed = form->library().group(currentGroup()).machine(selectedPosition());
        const int count = ui().Combo1[currentGroup()]->count();
        timed(state, [] { press(Qt::SHIFT | Qt::Key_Delete); });
        if (ui().Combo1[currentGroup()]->count() != count - 1)
            state.SkipWithError("nothing was deleted");
        typeName(removed[Name]);
        press(Qt::CTRL | Qt::Key_A);
    }
    check(state);
}
BENCHMARK(Window_Delete)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A new name that takes the machine from the top of its list to the bottom,
// and back.
void Window_UpdateRenamed(benchmark::State &state) {
    ui().Combo1[currentGroup()]->setFocus();
    QTest::keyClick(ui().Combo1[currentGroup()], Qt::Key_Home);
    const std::string first = toStd(ui().Text1[Name]->text());
    const std::string last = "ｚｚｚ 最後の台";
    for (auto _ : state) {
        const bool atTop = selectedPosition() == 0;
        typeName(atTop ? last : first);
        timed(state, [] { press(Qt::CTRL | Qt::Key_U); });
        if ((selectedPosition() == 0) == atTop)
            state.SkipWithError("the machine did not move");
    }
    if (selectedPosition() != 0) {
        typeName(first);
        press(Qt::CTRL | Qt::Key_U);
    }
    check(state);
}
BENCHMARK(Window_UpdateRenamed)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Window_Cut(benchmark::State &state) {
    for (auto _ : state) {
        const int count = ui().Combo1[currentGroup()]->count();
        timed(state, [] { press(Qt::CTRL | Qt::Key_X); });
        if (ui().Combo1[currentGroup()]->count() != count - 1 || !form->cutWaiting())
            state.SkipWithError("nothing was cut");
        press(Qt::CTRL | Qt::Key_P);
    }
    check(state);
}
BENCHMARK(Window_Cut)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Window_Paste(benchmark::State &state) {
    for (auto _ : state) {
        press(Qt::CTRL | Qt::Key_X);
        const int count = ui().Combo1[currentGroup()]->count();
        timed(state, [] { press(Qt::CTRL | Qt::Key_P); });
        if (ui().Combo1[currentGroup()]->count() != count + 1 || form->cutWaiting())
            state.SkipWithError("nothing was pasted");
    }
    check(state);
}
BENCHMARK(Window_Paste)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The program's own share of a start: the window built, the files read, the
// lists filled, shown and painted once. No budget: the start-up script
// measures the real program against an empty Qt window.
void Window_StartUp(benchmark::State &state) {
    ScriptedDialogs quiet;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            Form1 other(quiet, shell);
            other.Form_Load();
            other.show();
            settle();
        }
        settle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(Window_StartUp)->UseManualTime()->Unit(benchmark::kMillisecond);

// The distribution of a day on the sample machine at the worked play
// conditions: the window built, its figures and histogram computed, shown
// and painted once, over the main window as Ctrl+R opens it.
void Window_OpenBunpu(benchmark::State &state) {
    SharedResults shared;
    shared.yenPerBall = 100.0 / 28;
    shared.machineName = "サンプル ミドル319";
    if (!runCalculation(sampleLibrary().group(0).machine(0), "20", "2000", shared).succeeded()) {
        state.SkipWithError("the sample machine does not calculate");
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<frmBunpu> window;
        timed(state, [&] {
            window = std::make_unique<frmBunpu>(shared, form);
            window->show();
        });
        if (window->ui().Label2[Expectation]->text() == "-" || window->ui().Picture1->data().bars.bars.empty())
            state.SkipWithError("no figures shown");
        window.reset();
        settle();
    }
}
BENCHMARK(Window_OpenBunpu)->UseManualTime()->Unit(benchmark::kMillisecond);

constexpr int kJournalVisits = 10000;

bool journalShown(const frmKiroku &window) {
    return window.shownVisits().size() == kJournalVisits && window.ui().Chart1->data().bands.size() == 2;
}

// The journal window's first opening in a session: the database opened and
// checked, nothing new in bunseki.txt, the table, summary, breakdowns and
// chart filled, shown and painted.
void Kiroku_Open(benchmark::State &state) {
    for (auto _ : state) {
        const auto start = Clock::now();
        auto journal = std::make_unique<Journal>(journalOptions());
        auto window = std::make_unique<frmKiroku>(*journal, *dialogs, shell);
        window->Form_Load();
        window->show();
        settle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!journalShown(*window))
            state.SkipWithError("the journal window does not show every visit with its band");
        window.reset();
        settle();
    }
}
BENCHMARK(Kiroku_Open)->UseManualTime()->Unit(benchmark::kMillisecond);

// A repaint of the chart of 10 000 visits, both lines and both bands, in the
// window at its first size on a desktop (the offscreen screen is smaller).
void Kiroku_ChartRepaint(benchmark::State &state) {
    Journal journal(journalOptions());
    frmKiroku window(journal, *dialogs, shell);
    window.Form_Load();
    window.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    window.show();
    settle();
    ChartWidget *chart = window.ui().Chart1;
    for (auto _ : state)
        timed(state, [chart] { chart->repaint(); });
    if (!journalShown(window))
        state.SkipWithError("the journal window does not show every visit with its band");
    state.counters["width"] = chart->width();
}
BENCHMARK(Kiroku_ChartRepaint)->Args({1040, 700})->UseManualTime()->Unit(benchmark::kMillisecond);

// The same in a window filling a full-HD screen, which a player may choose;
// no budget (see docs/performance.md).
void Kiroku_ChartRepaintFullHd(benchmark::State &state) { Kiroku_ChartRepaint(state); }
BENCHMARK(Kiroku_ChartRepaintFullHd)->Args({1920, 1040})->UseManualTime()->Unit(benchmark::kMillisecond);

// bunseki.txt of 10 000 visits and the journal taken from it, each visit
// with its machine's theory as the analysis window saves it (the import
// alone would leave the chart without its bands).
void prepareJournal() {
    if (!writeFileAtomically(kAnalysisFile, benchJournalFile(kJournalVisits)).ok() ||
        Journal(journalOptions()).sync().imported != kJournalVisits) {
        std::fprintf(stderr, "zenbalo-bench: the journal was not built\n");
        std::exit(2);
    }
    sqlite3 *db = nullptr;
    const int status =
        sqlite3_open(kJournalFile, &db) == SQLITE_OK
            ? sqlite3_exec(db,
                           "UPDATE visit SET total_hit_probability = 1.0 / (150 + (id - 1) % 30), average_chain = 2, "
                           "big_hit_probability = 0.5 / (150 + (id - 1) % 30)",
                           nullptr, nullptr, nullptr)
            : SQLITE_ERROR;
    sqlite3_close(db);
    if (status != SQLITE_OK) {
        std::fprintf(stderr, "zenbalo-bench: the journal's theory was not set\n");
        std::exit(2);
    }
}

void startWindow() {
    enterTemporaryDirectory();
    Library library = fullLibrary();
    if (!writeFileAtomically(kLibraryFile, libraryBytes(library)).ok()) {
        std::fprintf(stderr, "zenbalo-bench: cannot write %s\n", kLibraryFile);
        std::exit(2);
    }
    AppSettings settings = defaultSettings(library, builtInRateList());
    // In the middle of each list, so that edits move half of it.
    for (int g = 0; g < kGroups; ++g)
        settings.groupListIndex[g] = static_cast<int16_t>(library.group(g).count() / 2);
    if (!writeFileAtomically(kSettingsFile, settingsBytes(settings)).ok())
        std::exit(2);
    dialogs = new ScriptedDialogs;
    form = new Form1(*dialogs, shell);
    form->Form_Load();
    form->show();
    QApplication::setActiveWindow(form);
    if (!QTest::qWaitForWindowActive(form)) {
        std::fprintf(stderr, "zenbalo-bench: the window did not become active\n");
        std::exit(2);
    }
}

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    setUpApplication(app);
    startWindow();
    prepareJournal();
    for (const char *name :
         {"Window_ChooseMachine", "Window_ChooseRate", "Window_ChooseGroup", "Window_ChooseGroupByRow", "Window_New",
          "Window_Add", "Window_Delete", "Window_UpdateRenamed", "Window_Cut", "Window_Paste"})
        budget(name, 2e-3);
    budget("Window_OpenBunpu", 50e-3);
    budget("Kiroku_Open", 0.150);
    budget("Kiroku_ChartRepaint", 0.016);
    const int verdict = runWithBudgets(argc, argv);
    delete form;
    delete dialogs;
    return verdict;
}
