#include "app/form1.h"

#include "app/app_look.h"
#include "common/number.h"
#include "engine/log_report.h"
#include "engine/rates.h"
#include "engine/specification.h"
#include "library/library_files.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <cmath>

namespace zenbalo {

namespace {

// Positions are kept in twips; 15 twips make a pixel at 96 dpi.
int px(int twips) { return (twips + 7) / 15; }
QRect twips(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }

QLabel *label(QWidget *parent, const char *caption, QRect where, Qt::Alignment align = Qt::AlignLeft,
              const char *tip = nullptr) {
    auto *l = new QLabel(QString::fromUtf8(caption), parent);
    l->setGeometry(where);
    l->setAlignment(align | Qt::AlignVCenter);
    if (tip && *tip)
        l->setToolTip(QString::fromUtf8(tip));
    if (l->text().contains(QRegularExpression("[^\\x{0}-\\x{7f}]"))) {
        // The fallback gothic fonts set kana wider than MS UI Gothic does.
        QFont condensed = l->font();
        condensed.setLetterSpacing(QFont::AbsoluteSpacing, -1);
        l->setFont(condensed);
    }
    return l;
}

QFrame *frame(QWidget *parent, QRect where) {
    auto *f = new QFrame(parent);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched, no caption
    f->setGeometry(where);
    return f;
}

QString q(const std::string &s) { return QString::fromStdString(s); }
std::string s(const QString &q) { return q.toStdString(); }

constexpr int kLabelHeight = 180;
constexpr int kBoxHeight = 270;
constexpr int kComboHeight = 300;

} // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        e->accept(); // handled here, not again by the frame
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(e);
}

Form1::Form1(Dialogs &dialogs, QWidget *parent) : QMainWindow(parent), dialogs_(dialogs) {
    setWindowTitle("Zenbalo");
    setWindowIcon(appIcon());
    setFont(uiFont());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto *client = new QWidget(this);
    client->setFixedSize(px(6975), px(6315));
    setCentralWidget(client);

    buildSpecificationColumn(client);
    buildGroups(client);
    buildTable(client);
    buildSummary(client);
    Label6 = label(client, "", twips(0, 6040, 6975, 255));
    buildMenus();
    setTabOrder();
    connectHandlers();
    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
    Text1[0]->setFocus();
}

void Form1::buildSpecificationColumn(QWidget *client) {
    Frame1 = frame(client, twips(0, 0, 2175, 6015));
    const auto &fields = specFields();
    for (int k = 0; k < kMachineFields; ++k) {
        const KeyClass keys = fields[k].keys;
        const BoxFilter filter = keys == KeyClass::Free    ? BoxFilter::Text
                                 : keys == KeyClass::Count ? BoxFilter::Count
                                                           : BoxFilter::Probability;
        Text1[k] = new EntryBox(filter, Frame1);
        if (k == 0) {
            Text1[k]->setGeometry(twips(120, 240, 1935, kBoxHeight));
            Text1[k]->setToolTip(QString::fromUtf8(fields[k].tooltip));
            continue;
        }
        const int top = 600 + 360 * (k - 1);
        Text1[k]->setGeometry(twips(1200, top, 855, kBoxHeight));
        Text1Caption[k] = label(Frame1, fields[k].caption, twips(120, top + 120, 1080, kLabelHeight), Qt::AlignLeft,
                                fields[k].tooltip);
    }
    // The fall rate shows what the library holds but cannot be typed into.
    Text1[4]->setEnabled(false);
    Text1Caption[4]->setEnabled(false);
}

void Form1::buildGroups(QWidget *client) {
    Frame2 = frame(client, twips(2280, 0, 4695, 2775));
    groupButtons_ = new QButtonGroup(this);
    for (int g = 0; g < kGroups; ++g) {
        const int top = 240 + 360 * g;
        // Created first, so it lies behind the row's controls and gets only the clicks they leave.
        Label5[g] = new ClickLabel(Frame2);
        Label5[g]->setGeometry(twips(120, top, 4455, 255));
        Option1[g] = new QRadioButton(Frame2);
        Option1[g]->setGeometry(twips(120, g < 5 ? top + 40 : top, 255, 180));
        groupButtons_->addButton(Option1[g], g);
        Text2[g] = new EntryBox(BoxFilter::Text, Frame2);
        Text2[g]->setGeometry(twips(480, top, 1695, kBoxHeight));
        Text2[g]->setToolTip("タイトル");
        Combo1[g] = new QComboBox(Frame2);
        Combo1[g]->setGeometry(twips(2280, top, 2295, kComboHeight));
        Combo1[g]->setToolTip("機種");
    }
}

void Form1::buildTable(QWidget *client) {
    Frame3 = frame(client, twips(2280, 2760, 4695, 3255));
    Label3[14] =
        label(Frame3, "持玉比率", twips(60, 120, 780, kLabelHeight), Qt::AlignLeft, "現金投資時と持ち玉時の比率");
    Label3[16] = label(Frame3, "ボーダー", twips(810, 120, 690, kLabelHeight), Qt::AlignRight, "収支¥0の回転率");
    Label3[11] = label(Frame3, "期待収支", twips(1560, 120, 735, kLabelHeight), Qt::AlignRight, "1日の期待収支");
    for (int k = 0; k < kTableRows; ++k) {
        const int top = 360 + 240 * k;
        const std::string ratio = std::to_string(10 * k) + "% :";
        Label3[k] = label(Frame3, ratio.c_str(), twips(120, top, 720, kLabelHeight), Qt::AlignRight);
        Label4[k] = label(Frame3, "-", twips(840, top, 615, kLabelHeight), Qt::AlignRight);
        Label9[k] = label(Frame3, "-", twips(1560, top, 735, kLabelHeight), Qt::AlignRight);
    }

    Label3[12] = label(Frame3, "回転率:", twips(2400, 1725, 840, kLabelHeight), Qt::AlignLeft, "千円あたりの回転数");
    Text3[0] = new EntryBox(BoxFilter::Decimal, Frame3);
    Text3[0]->setGeometry(twips(3240, 1680, 1335, kBoxHeight));
    Label3[13] = label(Frame3, "総回転数:", twips(2400, 2085, 840, kLabelHeight), Qt::AlignLeft,
                       "確変時や時短時を含まない総回転数");
    Text3[1] = new EntryBox(BoxFilter::Count, Frame3);
    Text3[1]->setGeometry(twips(3240, 2040, 1335, kBoxHeight));
    Label3[15] = label(Frame3, "換金率:", twips(2400, 2460, 600, kLabelHeight), Qt::AlignLeft, "玉1個の交換率");
    Combo2 = new QComboBox(Frame3);
    Combo2->setGeometry(twips(3000, 2400, 1575, kComboHeight));
    Command1 = new QPushButton("計算(&C)", Frame3);
    Command1->setGeometry(twips(3240, 2820, 1335, 330));
}

void Form1::buildSummary(QWidget *client) {
    static const struct {
        const char *caption, *tooltip;
    } rows[kSummaryRows] = {
        {"平均初当たり数:", "平均初当たり数"},
        {"平均総当たり数:", "平均総大当たり数"},
        {"平均連荘数:", "初当たり1回あたりの平均連荘数"},
        {"トータル確率:", "大当たり1回あたりの合成確率"},
        {"平均出玉:", "初当たり1回あたりの平均出玉"},
    };
    Frame4 = frame(client, twips(4800, 2880, 2055, 1455));
    Frame4->setAutoFillBackground(true); // drawn above the table's frame
    Frame4->raise();
    for (int k = 0; k < kSummaryRows; ++k) {
        const int top = 240 + 240 * k;
        Label2[k] = label(Frame4, rows[k].caption, twips(120, top, 1200, kLabelHeight), Qt::AlignLeft, rows[k].tooltip);
        Label7[k] = label(Frame4, "-", twips(1035, top, 900, kLabelHeight), Qt::AlignRight);
    }
}

void Form1::buildMenus() {
    auto add = [this](QMenu *menu, const char *caption, QKeySequence shortcut = {}) {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        return action;
    };
    QMenu *mnuFile = menuBar()->addMenu("ファイル(&F)");
    mnuShinki = add(mnuFile, "新規作成(&N)", Qt::CTRL | Qt::Key_N);
    mnuFile->addSeparator();
    mnuLogSave = add(mnuFile, "ログを保存(&S)", Qt::CTRL | Qt::Key_S);
    mnuLogOpen = add(mnuFile, "ログを開く(&O)...", Qt::CTRL | Qt::Key_O);
    mnuFile->addSeparator();
    mnuExit = add(mnuFile, "終了(&X)");

    QMenu *mnuEdit = menuBar()->addMenu("編集(&E)");
    mnuAdd = add(mnuEdit, "追加(&A)", Qt::CTRL | Qt::Key_A);
    mnuUpDate = add(mnuEdit, "更新(&U)", Qt::CTRL | Qt::Key_U);
    mnuEdit->addSeparator();
    mnuKiritori = add(mnuEdit, "切り抜き(&T)", Qt::CTRL | Qt::Key_X);
    mnuPaste = add(mnuEdit, "貼り付け(&P)", Qt::CTRL | Qt::Key_P);
    mnuDelete = add(mnuEdit, "削除(&D)", Qt::SHIFT | Qt::Key_Delete);

    QMenu *mnuTool = menuBar()->addMenu("ツール(&T)");
    mnuAnalysis = add(mnuTool, "分析(&B)...", Qt::CTRL | Qt::Key_B);
    mnuHatsuKaiten = add(mnuTool, "初当たり回転数(&H)...", Qt::CTRL | Qt::Key_H);

    QMenu *mnuHelp = menuBar()->addMenu("ヘルプ(&H)");
    mnuHelpOpen = add(mnuHelp, "説明書(&R)...");
    mnuHelp->addSeparator();
    mnuVer = add(mnuHelp, "バージョン情報(&A)");

    QList<QKeySequence> shortcuts;
    for (QAction *a : {mnuShinki, mnuLogSave, mnuLogOpen, mnuAdd, mnuUpDate, mnuKiritori, mnuPaste, mnuDelete,
                       mnuAnalysis, mnuHatsuKaiten})
        shortcuts << a->shortcut();
    EntryBox::reserveShortcuts(shortcuts);
}

void Form1::setTabOrder() {
    QList<QWidget *> chain(Text1.begin(), Text1.end());
    chain << QList<QWidget *>(Option1.begin(), Option1.end()) << QList<QWidget *>(Text2.begin(), Text2.end())
          << QList<QWidget *>(Combo1.begin(), Combo1.end()) << Text3[0] << Text3[1] << Combo2 << Command1;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void Form1::connectHandlers() {
    for (int k = 0; k < kMachineFields; ++k) {
        connect(Text1[k], &EntryBox::enterPressed, this, &Form1::Calculate);
        connect(Text1[k], &EntryBox::changed, this, [this] { machineEdited = -1; });
    }
    for (EntryBox *box : Text3) {
        connect(box, &EntryBox::enterPressed, this, &Form1::Calculate);
        connect(box, &EntryBox::keyAccepted, this, [this] { dataChanged = -1; });
        connect(box, &EntryBox::edited, this, [this] { dataChanged = -1; });
    }
    for (int g = 0; g < kGroups; ++g) {
        // Every key pressed in a title box counts, Enter included.
        connect(Text2[g], &EntryBox::keyAccepted, this, [this] { dataChanged = -1; });
        connect(Text2[g], &EntryBox::enterPressed, this, [this] { dataChanged = -1; });
        connect(Text2[g], &EntryBox::edited, this, [this] { dataChanged = -1; });
        connect(Combo1[g], &QComboBox::activated, this, [this, g] { Combo1_Click(g); });
        connect(Option1[g], &QRadioButton::clicked, this, [this, g] {
            if (g != settings.currentGroup)
                Option1_Click(g);
        });
        connect(Label5[g], &ClickLabel::clicked, this, [this, g] { Label5_Click(g); });
    }
    // Clicks on another row's disabled title or list reach the frame, not the
    // row area behind them; they choose that row's group all the same.
    Frame2->installEventFilter(this);
    connect(Combo2, &QComboBox::activated, this, &Form1::Combo2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(mnuLogSave, &QAction::triggered, this, &Form1::mnuLogSave_Click);
    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
}

// ---- start-up and shut-down

void Form1::Form_Load() {
    mnuPaste->setEnabled(false);
    ReadSettingsFile();
    ReadLibraryFile();
    ReadRateListFile();
    std::vector<std::string> rates;
    for (int i = 0; i < Combo2->count(); ++i)
        rates.push_back(s(Combo2->itemText(i)));
    if (settingsRead_)
        fitSettings(settings, library, rates.size());
    else
        settings = defaultSettings(library, rates);

    if (Combo2->count() > 0) {
        Combo2->setCurrentIndex(settings.rateListIndex);
        Combo2_Click();
    }
    Text3[0]->write(q(plainDecimal(settings.savedRotationRate)));
    Text3[1]->write(QString::number(settings.savedTotalRotations));
    FillGroups();
    ShowMachine();
    Calculate();
    formReady = 1;
    dataChanged = 0;
}

void Form1::closeEvent(QCloseEvent *event) {
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

void Form1::Form_Unload(bool &cancel) {
    if (dataChanged) {
        const auto answer = dialogs_.ask({"データを保存しますか？", "Zenbalo - 終了", MessageBox::Buttons::YesNoCancel,
                                          MessageBox::Icon::Question, MessageBox::Answer::Yes});
        if (answer == MessageBox::Answer::Yes) {
            const double rate = leadingNumber(s(Text3[0]->text()));
            if (std::isfinite(rate))
                settings.savedRotationRate = rate;
            // A number beyond 16 bits cannot be stored: the previous one stays.
            if (const auto total = toInt16(leadingNumber(s(Text3[1]->text()))))
                settings.savedTotalRotations = *total;
            for (int g = 0; g < kGroups; ++g)
                library.groupTitles[g] = s(Text2[g]->text());
            if (!WriteLibraryFile()) {
                // Closing now would lose the library in memory.
                dialogs_.refuse("zenbalo.datを保存できませんでした。", "Zenbalo - 終了");
                cancel = true;
            }
        } else if (answer == MessageBox::Answer::Cancel) {
            cancel = true;
        }
    }
    WriteSettingsFile();
    WriteLogReport();
}

void Form1::mnuExit_Click() { close(); }

bool Form1::eventFilter(QObject *watched, QEvent *event) {
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
    const std::optional<AppSettings> read = loadSettings();
    settingsRead_ = read.has_value();
    if (read)
        settings = *read;
}

void Form1::ReadLibraryFile() {
    LibraryLoad load = loadLibrary();
    library = std::move(load.library);
    libraryDamagedOnDisk_ = load.status == LibraryLoad::Status::Damaged;
    if (libraryDamagedOnDisk_)
        dialogs_.refuse("zenbalo.datを読み込めませんでした。\n"
                        "空のライブラリで起動します。元のファイルは上書きせず、保存するときに別の名前で残します。",
                        "Zenbalo");
}

void Form1::ReadRateListFile() {
    for (const std::string &entry : loadRateList())
        Combo2->addItem(q(entry));
}

void Form1::WriteSettingsFile() { saveSettings(settings); }

bool Form1::WriteLibraryFile() { return saveLibrary(library, libraryDamagedOnDisk_); }

// ---- calculation

void Form1::Command1_Click() { Calculate(); }

void Form1::Calculate() {
    MachineRecord text1;
    for (int k = 0; k < kMachineFields; ++k)
        text1[k] = s(Text1[k]->text());
    showResults(runCalculation(text1, s(Text3[0]->text()), s(Text3[1]->text()), shared));
}

void Form1::showResults(const CalculationDisplay &d) {
    Label6->setText(q(d.status));
    for (int k = 0; k < kTableRows; ++k) {
        Label4[k]->setText(q(d.borders[k]));
        Label9[k]->setText(q(d.balances[k]));
    }
    for (int k = 0; k < kSummaryRows; ++k)
        Label7[k]->setText(q(d.summary[k]));
}

CalculationDisplay Form1::displayedResults() const {
    CalculationDisplay d;
    d.status = s(Label6->text());
    for (int k = 0; k < kSummaryRows; ++k)
        d.summary[k] = s(Label7[k]->text());
    for (int k = 0; k < kTableRows; ++k) {
        d.borders[k] = s(Label4[k]->text());
        d.balances[k] = s(Label9[k]->text());
    }
    return d;
}

void Form1::Combo2_Click() {
    settings.rateListIndex = static_cast<int16_t>(Combo2->currentIndex());
    shared.yenPerBall = 100 / ballsPer100Yen(s(Combo2->currentText()));
    if (formReady == 1)
        Calculate();
}

bool Form1::WriteLogReport() {
    return writeLogFile({s(Text1[0]->text()), s(Text1[15]->text()), s(Text3[0]->text()), s(Text3[1]->text()),
                         shared.yenPerBall, displayedResults()});
}

void Form1::mnuLogSave_Click() {
    if (!WriteLogReport())
        dialogs_.refuse("ログを保存できませんでした。", "Zenbalo - ログを保存");
}

// ---- groups

void Form1::FillGroups() {
    for (int g = 0; g < kGroups; ++g) {
        Text2[g]->write(q(library.groupTitles[g]));
        Combo1[g]->clear();
    }
    for (int g = 0; g < kGroups; ++g)
        for (const std::string &name : library.names(g))
            Combo1[g]->addItem(q(name));
    for (int g = 0; g < kGroups; ++g) {
        if (library.groupCounts[g] == 0)
            continue;
        Combo1[g]->setCurrentIndex(settings.groupListIndex[g]);
        Combo1_Click(g);
    }
    Option1[settings.currentGroup]->setChecked(true);
    Option1_Click(settings.currentGroup);
}

void Form1::Option1_Click(int index) {
    if (machineEdited) {
        const auto answer = dialogs_.ask({"新規作成を取り消しますか？", "Zenbalo", MessageBox::Buttons::YesNo,
                                          MessageBox::Icon::Question, MessageBox::Answer::No});
        if (answer != MessageBox::Answer::Yes) {
            Option1[settings.currentGroup]->setChecked(true);
            return;
        }
        EndNewMode();
    }
    settings.currentGroup = static_cast<int16_t>(index);
    for (int g = 0; g < kGroups; ++g) {
        Combo1[g]->setEnabled(false);
        Text2[g]->setEnabled(false);
        Label5[g]->setEnabled(true);
    }
    Combo1[index]->setEnabled(true);
    Text2[index]->setEnabled(true);
    Label5[index]->setEnabled(false);
    if (formReady == 1) {
        ShowMachine();
        Calculate();
    }
}

void Form1::Label5_Click(int index) {
    if (Option1[index]->isChecked())
        return;
    Option1[index]->setChecked(true);
    Option1_Click(index);
}

void Form1::Combo1_Click(int index) {
    settings.groupListIndex[index] = static_cast<int16_t>(Combo1[index]->currentIndex());
    if (formReady == 1) {
        ShowMachine();
        Calculate();
    }
}

void Form1::ShowMachine() {
    if (library.groupCounts[settings.currentGroup] == 0) {
        for (EntryBox *box : Text1)
            box->write(QString());
    } else {
        const int start = MachineStartIndex();
        for (int k = 0; k < kMachineFields; ++k)
            Text1[k]->write(q(library.machineStrings[start + k]));
    }
    machineEdited = 0;
}

int16_t Form1::MachineStartIndex() const {
    const int selected = settings.groupListIndex[settings.currentGroup];
    return static_cast<int16_t>(library.groupStart(settings.currentGroup) + kMachineFields * std::max(selected, 0));
}

void Form1::EndNewMode() {
    for (QAction *a : {mnuShinki, mnuUpDate, mnuKiritori, mnuDelete})
        a->setEnabled(true);
    Combo1[settings.currentGroup]->setEnabled(true);
    mnuPaste->setEnabled(cutMachine.has_value());
}

} // namespace zenbalo
