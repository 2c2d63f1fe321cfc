// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_bunpu.h"

#include "app/app_look.h"
#include "app/captions.h"
#include "app/qt_text.h"
#include "app/twips.h"

#include <QComboBox>
#include <QFrame>
#include <limits>

namespace zenbalo {

namespace {

// Positions are in twips. The figures' column holds "¥-2147483648000" beside
// the yen captions and "100.0%" beside "プラスの確率:" in the Linux gothic
// fonts; a wider figure is drawn condensed.
constexpr int kChooserLeft = 1080;
constexpr int kChooserWidth = 1020;
constexpr int kFiguresTop = 600;
constexpr int kFiguresWidth = 3000;
constexpr int kFigureRight = kFiguresWidth - 120;
constexpr int kRowPitch = 240;
constexpr int kGroupGap = 300; // between the spread, the quantiles and the convergence
constexpr int kChartLeft = kFiguresWidth + 120;
constexpr int kChartWidth = 7200;
constexpr int kChartHeight = 4380;
constexpr int kClientWidth = kChartLeft + kChartWidth + 120;
constexpr int kClientHeight = 120 + kChartHeight + 120;

constexpr const char *kChooserCaption = "持玉比率:";

// What each figure tells a player, shown when the pointer rests on its caption.
constexpr const char *kFigureTips[kDayBalanceFigures] = {
    "1日の収支の平均（期待収支）",
    "1日の収支のばらつきの目安",
    "1日の収支がプラスで終わる確率",
    "20日に1日はこれ以下で終わる",
    "4日に1日はこれ以下で終わる",
    "半分の日はこれ以下、半分の日はこれ以上で終わる",
    "4日に1日はこれ以上で終わる",
    "20日に1日はこれ以上で終わる",
    "95%の確率で収支がプラスになるまでに回す回転数（正規近似）",
    "収束回転数が総回転数の何日分か",
};

int rowTop(int figure) {
    const int group = figure < Quantile5 ? 0 : figure < ConvergenceRotations ? 1 : 2;
    return kRowPitch + kRowPitch * figure + kGroupGap * group;
}

// A caption without its colon names the control it stands for.
QString accessibleCaption(const char *caption) { return QString::fromUtf8(caption).chopped(1); }

// Bars of probability over yen, lines at ¥0 and at the expectation, the days
// in plus shaded; no data when there is no distribution.
ChartData histogramChart(const DayBalance &shown) {
    ChartData data{ChartAxis::yen("1日の収支"), ChartAxis::percent("確率"), {}, {}, {}, {}, {}};
    if (!shown.valid)
        return data;
    for (const HistogramBar &bar : shown.histogram.bars)
        data.bars.bars.push_back({bar.fromYen, bar.toYen, bar.probability});
    data.markers = {{0, "¥0", ChartRole::Neutral}, {shown.figures.expectation, "平均収支", ChartRole::Secondary}};
    data.shade = ChartShade{0, std::numeric_limits<double>::infinity(), "プラスの日", ChartRole::Accent};
    return data;
}

} // namespace

frmBunpu::frmBunpu(const SharedResults &shared, QWidget *parent) : QDialog(parent), shared_(shared) {
    setUpDialogWindow(*this);
    auto *client = new QWidget(this);
    client->setGeometry(0, 0, px(kClientWidth), px(kClientHeight));
    setFixedSize(client->size());
    buildChooser(client);
    buildFigures(client);
    buildHistogram(client);
    connectHandlers();
    Form_Load();
    Combo1->setFocus();
}

// A drop-down list, as the main window's rate list: one row above the
// figures, and the arrow keys step through it while it stays closed.
void frmBunpu::buildChooser(QWidget *client) {
    Label3 = captionLabel(client, kChooserCaption, 120, 180, "持ち玉で打つ割合");
    Combo1 = new QComboBox(client);
    Combo1->setGeometry(twips(kChooserLeft, 120, kChooserWidth, kComboHeight));
    for (const std::string &line : ownBallRatioTexts())
        Combo1->addItem(toQt(line));
    // Screen readers on Linux take a list's name from its label, not from the list.
    Label3->setBuddy(Combo1);
    Combo1->setAccessibleName(accessibleCaption(kChooserCaption));
}

void frmBunpu::buildFigures(QWidget *client) {
    const int height = kClientHeight - 120 - kFiguresTop;
    Frame1 = captionlessFrame(client, twips(0, kFiguresTop, kFiguresWidth, height));
    for (int k = 0; k < kDayBalanceFigures; ++k) {
        const char *caption = dayBalanceCaptions()[static_cast<size_t>(k)];
        Label1[k] = captionLabel(Frame1, QString::fromUtf8(caption), 120, rowTop(k), QString::fromUtf8(kFigureTips[k]));
        Label2[k] =
            new FigureLabel(Frame1, px(kFigureRight), px(rowTop(k)), px(kLabelHeight), figureLimitAfter(Label1[k]));
        Label2[k]->setAccessibleDescription(accessibleCaption(caption));
    }
}

void frmBunpu::buildHistogram(QWidget *client) {
    Picture1 = new ChartWidget(client);
    Picture1->setGeometry(twips(kChartLeft, 120, kChartWidth, kChartHeight));
    Picture1->setAccessibleName("1日の収支の分布");
}

void frmBunpu::connectHandlers() { connect(Combo1, &QComboBox::activated, this, &frmBunpu::Combo1_Click); }

void frmBunpu::Form_Load() {
    setWindowTitle(toQt(shared_.machineName) + " - 収支の分布");
    Combo1->setCurrentIndex(0);
    Combo1_Click();
}

// Every input the main window takes is computed in a few milliseconds, so the
// figures come on the GUI thread: a worker would only make them arrive later.
void frmBunpu::Combo1_Click() {
    showDistribution(dayBalance(dayBalanceInput(shared_, shared_.totalRotations, Combo1->currentIndex())));
}

void frmBunpu::showDistribution(const DayBalance &shown) {
    for (int k = 0; k < kDayBalanceFigures; ++k)
        Label2[k]->setText(toQt(shown.texts[static_cast<size_t>(k)]));
    Picture1->setData(histogramChart(shown));
}

} // namespace zenbalo
