// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the main window's controls and menus. Positions are in twips.

#include "app/app_look.h"
#include "app/captions.h"
#include "app/form1.h"
#include "app/menu_item.h"
#include "app/twips.h"
#include "engine/specification.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

namespace zenbalo {

namespace {

// The window is wider than the 465 pixels it was first drawn for: the gothic
// fonts of Linux desktops set figures about a third wider, and the table and
// the summary must hold their widest figures beside their captions.
constexpr int kClientWidth = 8400;
constexpr int kClientHeight = 6315;
constexpr int kRightPartLeft = 2280;
constexpr int kRightPartWidth = kClientWidth - kRightPartLeft;
constexpr int kRightMargin = kRightPartWidth - 120; // controls end here inside the right frames

// The table's columns end here, inside Frame3; each holds its widest figure
// ("9999.999", "¥2469035800") at the normal font.
constexpr int kRatioRight = 720;
constexpr int kBorderRight = 1680;
constexpr int kBalanceRight = 3090;

// The summary frame, in the client area, and the right edge of its figures.
constexpr int kSummaryLeft = 5430;
constexpr int kSummaryWidth = 2850;
constexpr int kSummaryFigureRight = kSummaryWidth - 120;

// The play conditions stand below the summary frame.
constexpr int kConditionCaptionLeft = kSummaryLeft - kRightPartLeft + 120;
constexpr int kConditionBoxLeft = 4170;
constexpr int kConditionBoxWidth = kRightMargin - kConditionBoxLeft;

} // namespace

Form1::Form1(Dialogs &dialogs, Shell &shell, QWidget *parent) : QMainWindow(parent), dialogs_(dialogs), shell_(shell) {
    setWindowTitle("Zenbalo");
    setFont(uiFont());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto *client = new QWidget(this);
    client->setFixedSize(px(kClientWidth), px(kClientHeight));
    setCentralWidget(client);

    buildSpecificationColumn(client);
    buildGroups(client);
    buildTable(client);
    buildSummary(client);
    Label6 = new QLabel(client);
    Label6->setGeometry(twips(0, 6040, kClientWidth, 255));
    buildMenus();
    setTabOrder();
    connectHandlers();
    connectTools();
    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
    Text1[Name]->setFocus();
}

void Form1::buildSpecificationColumn(QWidget *client) {
    Frame1 = captionlessFrame(client, twips(0, 0, 2175, 6015));
    const auto &fields = specFields();
    for (int k = 0; k < kMachineFields; ++k) {
        const KeyClass keys = fields[k].keys;
        const BoxFilter filter = keys == KeyClass::Free    ? BoxFilter::Text
                                 : keys == KeyClass::Count ? BoxFilter::Count
                                                           : BoxFilter::Probability;
        Text1[k] = new EntryBox(filter, Frame1);
        if (k == Name) {
            Text1[k]->setGeometry(twips(120, 240, 1935, kBoxHeight));
            Text1[k]->setToolTip(QString::fromUtf8(fields[k].tooltip));
            Text1[k]->setAccessibleName(QString::fromUtf8(fields[k].tooltip));
            continue;
        }
        const int top = 600 + 360 * (k - 1);
        Text1[k]->setGeometry(twips(1200, top, 855, kBoxHeight));
        Text1Caption[k] = captionLabel(Frame1, QString::fromUtf8(fields[k].caption), 120, top + 120,
                                       QString::fromUtf8(fields[k].tooltip));
        nameAfter(Text1[k], Text1Caption[k]);
    }
    // The fall rate shows what the library holds but cannot be typed into.
    Text1[ProbChangeFallRate]->setEnabled(false);
    Text1Caption[ProbChangeFallRate]->setEnabled(false);
}

void Form1::buildGroups(QWidget *client) {
    Frame2 = captionlessFrame(client, twips(kRightPartLeft, 0, kRightPartWidth, 2775));
    groupButtons_ = new QButtonGroup(this);
    for (int g = 0; g < kGroups; ++g) {
        const int top = 240 + 360 * g;
        // Created first, so it lies behind the row's controls and gets only the clicks they leave.
        Label5[g] = new ClickLabel(Frame2);
        Label5[g]->setGeometry(twips(120, top, kRightMargin - 120, 255));
        Option1[g] = new QRadioButton(Frame2);
        Option1[g]->setGeometry(twips(120, g < 5 ? top + 40 : top, 255, 180));
        groupButtons_->addButton(Option1[g], g);
        const QString group = "グループ" + QString::number(g + 1);
        Option1[g]->setAccessibleName(group);
        Text2[g] = new EntryBox(BoxFilter::Text, Frame2);
        Text2[g]->setGeometry(twips(480, top, 2100, kBoxHeight));
        Text2[g]->setToolTip("タイトル");
        Text2[g]->setAccessibleName(group + "のタイトル");
        Combo1[g] = new QComboBox(Frame2);
        // A list holds nothing but names: a string list costs a fraction of
        // the memory and time of an item per name.
        groupLists_[g] = new QStringListModel(Combo1[g]);
        Combo1[g]->setModel(groupLists_[g]);
        Combo1[g]->setGeometry(twips(2700, top, kRightMargin - 2700, kComboHeight));
        Combo1[g]->setToolTip("機種");
        Combo1[g]->setAccessibleName(group + "の機種");
        // On Linux a list is called by its entry; what it is for comes from
        // its label, here the row behind it.
        Label5[g]->setAccessibleName(Combo1[g]->accessibleName());
        Label5[g]->setBuddy(Combo1[g]);
    }
}

void Form1::buildTable(QWidget *client) {
    Frame3 = captionlessFrame(client, twips(kRightPartLeft, 2760, kRightPartWidth, 3255));
    Label3[14] = captionLabel(Frame3, "持玉比率", 60, 120, "現金投資時と持ち玉時の比率");
    Label3[16] =
        rightCaptionLabel(Frame3, "ボーダー", twips(kBorderRight - 900, 120, 900, kLabelHeight), "収支¥0の回転率");
    Label3[11] =
        rightCaptionLabel(Frame3, "期待収支", twips(kBalanceRight - 900, 120, 900, kLabelHeight), "1日の期待収支");
    for (int k = 0; k < kTableRows; ++k) {
        const int top = 360 + 240 * k;
        Label3[k] =
            rightCaptionLabel(Frame3, QString::number(10 * k) + "% :", twips(0, top, kRatioRight, kLabelHeight));
        Label4[k] = new FigureLabel(Frame3, px(kBorderRight), px(top), px(kLabelHeight), px(kRatioRight) + kFigureGap);
        Label9[k] =
            new FigureLabel(Frame3, px(kBalanceRight), px(top), px(kLabelHeight), px(kBorderRight) + kFigureGap);
        // Read without the table around it, a figure says its row and column.
        const QString ratio = QString::number(10 * k) + "% ";
        Label4[k]->setAccessibleDescription(ratio + Label3[16]->text());
        Label9[k]->setAccessibleDescription(ratio + Label3[11]->text());
    }

    Label3[12] = captionLabel(Frame3, "回転率:", kConditionCaptionLeft, 1725, "千円あたりの回転数");
    Text3[0] = new EntryBox(BoxFilter::Decimal, Frame3);
    Text3[0]->setGeometry(twips(kConditionBoxLeft, 1680, kConditionBoxWidth, kBoxHeight));
    nameAfter(Text3[0], Label3[12]);
    Label3[13] = captionLabel(Frame3, "総回転数:", kConditionCaptionLeft, 2085, "確変時や時短時を含まない総回転数");
    Text3[1] = new EntryBox(BoxFilter::Count, Frame3);
    Text3[1]->setGeometry(twips(kConditionBoxLeft, 2040, kConditionBoxWidth, kBoxHeight));
    nameAfter(Text3[1], Label3[13]);
    Label3[15] = captionLabel(Frame3, "換金率:", kConditionCaptionLeft, 2460, "玉1個の交換率");
    Combo2 = new QComboBox(Frame3);
    Combo2->setGeometry(twips(kConditionBoxLeft, 2400, kConditionBoxWidth, kComboHeight));
    nameAfter(Combo2, Label3[15]);
    Command1 = new QPushButton("計算(&C)", Frame3);
    Command1->setGeometry(twips(kRightMargin - 1335, 2820, 1335, 330));
    Command1->setAutoDefault(true); // Enter presses it when it has the focus, as Space does
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
    Frame4 = captionlessFrame(client, twips(kSummaryLeft, 2880, kSummaryWidth, 1455));
    Frame4->setAutoFillBackground(true); // drawn above the table's frame
    Frame4->raise();
    for (int k = 0; k < kSummaryRows; ++k) {
        const int top = 240 + 240 * k;
        Label2[k] =
            captionLabel(Frame4, QString::fromUtf8(rows[k].caption), 120, top, QString::fromUtf8(rows[k].tooltip));
        Label7[k] =
            new FigureLabel(Frame4, px(kSummaryFigureRight), px(top), px(kLabelHeight), figureLimitAfter(Label2[k]));
        Label7[k]->setAccessibleDescription(spokenName(Label2[k]->text()));
    }
}

void Form1::buildMenus() {
    QMenu *mnuFile = menuBar()->addMenu("ファイル(&F)");
    mnuShinki = addMenuItem(mnuFile, "新規作成(&N)", Qt::CTRL | Qt::Key_N);
    mnuFile->addSeparator();
    mnuLogSave = addMenuItem(mnuFile, "ログを保存(&S)", Qt::CTRL | Qt::Key_S);
    mnuLogOpen = addMenuItem(mnuFile, "ログを開く(&O)...", Qt::CTRL | Qt::Key_O);
    mnuFile->addSeparator();
    mnuExit = addMenuItem(mnuFile, "終了(&X)");

    QMenu *mnuEdit = menuBar()->addMenu("編集(&E)");
    mnuAdd = addMenuItem(mnuEdit, "追加(&A)", Qt::CTRL | Qt::Key_A);
    mnuUpDate = addMenuItem(mnuEdit, "更新(&U)", Qt::CTRL | Qt::Key_U);
    mnuEdit->addSeparator();
    mnuKiritori = addMenuItem(mnuEdit, "切り抜き(&T)", Qt::CTRL | Qt::Key_X);
    mnuPaste = addMenuItem(mnuEdit, "貼り付け(&P)", Qt::CTRL | Qt::Key_P);
    mnuDelete = addMenuItem(mnuEdit, "削除(&D)", Qt::SHIFT | Qt::Key_Delete);

    QMenu *mnuTool = menuBar()->addMenu("ツール(&T)");
    mnuAnalysis = addMenuItem(mnuTool, "分析(&B)...", Qt::CTRL | Qt::Key_B);
    mnuHatsuKaiten = addMenuItem(mnuTool, "初当たり回転数(&H)...", Qt::CTRL | Qt::Key_H);
    mnuBunpu = addMenuItem(mnuTool, "収支の分布(&R)...", Qt::CTRL | Qt::Key_R);
    mnuKiroku = addMenuItem(mnuTool, "収支記録(&J)...", Qt::CTRL | Qt::Key_J);

    QMenu *mnuHelp = menuBar()->addMenu("ヘルプ(&H)");
    mnuHelpOpen = addMenuItem(mnuHelp, "説明書(&R)...");
    mnuHelp->addSeparator();
    mnuVer = addMenuItem(mnuHelp, "バージョン情報(&A)");
}

void Form1::setTabOrder() {
    QList<QWidget *> chain(Text1.begin(), Text1.end());
    chain << QList<QWidget *>(Option1.begin(), Option1.end()) << QList<QWidget *>(Text2.begin(), Text2.end())
          << QList<QWidget *>(Combo1.begin(), Combo1.end()) << Text3[0] << Text3[1] << Combo2 << Command1;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace zenbalo
