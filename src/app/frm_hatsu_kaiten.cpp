// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_hatsu_kaiten.h"

#include "app/app_look.h"
#include "app/captions.h"
#include "app/qt_text.h"
#include "app/twips.h"

#include <QFrame>

namespace zenbalo {

namespace {

// Positions are in twips. The figures end further right than first drawn so
// that each holds its widest value in the Linux gothic fonts beside what
// stands left of it: "¥100.000" (1 ball per 100 yen), "100.000%",
// "¥2000000" (2000 rotations at 1 per 1000 yen) and "¥50000000".
constexpr int kClientWidth = 4095;
constexpr int kClientHeight = 6015;
constexpr int kConditionRight = 1665;
constexpr int kRowCaptionWidth = 540; // "2000:"
constexpr int kChanceRight = 1680;
constexpr int kCashRight = 2730;
constexpr int kOwnBallsRight = 3900;

// Label1 indexes of the rows' captions.
int rowCaption(int row) { return row < 10 ? row : row + 2; }

} // namespace

frmHatsuKaiten::frmHatsuKaiten(const SharedResults &shared, QWidget *parent) : QDialog(parent), shared_(shared) {
    setUpDialogWindow(*this);
    auto *client = new QWidget(this);
    client->setGeometry(0, 0, px(kClientWidth), px(kClientHeight));
    setFixedSize(client->size());
    buildConditions(client);
    buildTable(client);
    Form_Load();
}

void frmHatsuKaiten::buildConditions(QWidget *client) {
    Label1[22] = captionLabel(client, "回転率:", 120, 120, "千円あたりの回転数");
    Label5[0] = new FigureLabel(client, px(kConditionRight), px(120), px(kLabelHeight), figureLimitAfter(Label1[22]));
    Label5[0]->setAccessibleDescription(spokenName(Label1[22]->text()));
    Label1[25] = captionLabel(client, "回転/千円", kConditionRight + 30, 120);
    Label1[23] = captionLabel(client, "換金率:", 120, 360, "玉1個の交換率");
    Label5[1] = new FigureLabel(client, px(kConditionRight), px(360), px(kLabelHeight), figureLimitAfter(Label1[23]));
    Label5[1]->setAccessibleDescription(spokenName(Label1[23]->text()));
}

void frmHatsuKaiten::buildTable(QWidget *client) {
    Frame1 = captionlessFrame(client, twips(0, 600, kClientWidth, 5415));
    Label1[10] = captionLabel(Frame1, "回転数", 120, 240, "デジタルを回した回数");
    Label1[11] = captionLabel(Frame1, "当たる確率", 840, 240, "大当たりする確率");
    Label1[24] = captionLabel(Frame1, "現金投資時", 1800, 240, "現金投資時にかかる金額");
    Label1[26] = captionLabel(Frame1, "持ち玉投資時", 2880, 240, "持ち玉を現金に換算した金額");
    for (int i = 0; i < kFirstHitRows; ++i) {
        const int top = 600 + 240 * i;
        QLabel *caption = rightCaptionLabel(Frame1, {}, twips(120, top, kRowCaptionWidth, kLabelHeight));
        Label1[rowCaption(i)] = caption;
        Label2[i] = new FigureLabel(Frame1, px(kChanceRight), px(top), px(kLabelHeight), figureLimitAfter(caption));
        Label3[i] = new FigureLabel(Frame1, px(kCashRight), px(top), px(kLabelHeight), px(kChanceRight) + kFigureGap);
        Label4[i] = new FigureLabel(Frame1, px(kOwnBallsRight), px(top), px(kLabelHeight), px(kCashRight) + kFigureGap);
    }
}

void frmHatsuKaiten::Form_Load() {
    setWindowTitle(toQt(shared_.machineName) + " - 初当たり回転数");
    const FirstHitTable table = firstHitTable(shared_);
    Label5[0]->setText(toQt(table.rotationRate));
    Label5[1]->setText(toQt(table.yenPerBall));
    for (int i = 0; i < kFirstHitRows; ++i) {
        const FirstHitRow &row = table.rows[static_cast<size_t>(i)];
        Label1[rowCaption(i)]->setText(toQt(row.rotations));
        // Read without the table around it, a figure says its row and column.
        const QString rotations = spokenName(toQt(row.rotations)) + "回転 ";
        Label2[i]->setAccessibleDescription(rotations + Label1[11]->text());
        Label3[i]->setAccessibleDescription(rotations + Label1[24]->text());
        Label4[i]->setAccessibleDescription(rotations + Label1[26]->text());
        Label2[i]->setText(toQt(row.chance));
        Label3[i]->setText(toQt(row.cash));
        Label4[i]->setText(toQt(row.ownBalls));
    }
}

} // namespace zenbalo
