// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_about.h"

#include "app/app_look.h"
#include "app/twips.h"

#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

namespace zenbalo {

const char *const kHomePage = ZENBALO_HOMEPAGE;

namespace {

// Positions are in twips.
constexpr int kClientWidth = 4200;
constexpr int kClientHeight = 1575;
constexpr int kMargin = 240;

// A one-line label as wide as its text.
QLabel *line(QWidget *parent, const QString &text, int leftPx, int topTwips) {
    auto *label = new QLabel(text, parent);
    label->setGeometry(leftPx, px(topTwips), label->fontMetrics().horizontalAdvance(text) + 1, px(kLabelHeight));
    return label;
}

void paint(QLabel *label, Qt::GlobalColor text, Qt::GlobalColor background) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

} // namespace

frmAbout::frmAbout(Dialogs &dialogs, Shell &shell, QWidget *parent)
    : QDialog(parent), dialogs_(dialogs), shell_(shell) {
    setWindowTitle("Zenbalo - バージョン情報");
    setUpDialogWindow(*this);

    picIcon = new QLabel(this);
    picIcon->setGeometry(twips(kMargin, kMargin, 480, 480));
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(appIcon().pixmap(32, 32));
    Label1[0] = line(this, "- Zenbalo -", px(1080), 240);
    Label1[1] = line(this, {}, px(1080), 600);
    Label1[2] = line(this, {}, px(1080), 840);
    buildLogo();
    Form_Load();
    fitWidth();
}

void frmAbout::buildLogo() {
    QFont bold = font();
    bold.setBold(true);
    Label1[3] = new QLabel("Z", this);
    Label1[3]->setFont(bold);
    Label1[3]->setAlignment(Qt::AlignCenter);
    Label1[3]->setGeometry(px(kMargin), px(1200),
                           std::max(px(120), Label1[3]->fontMetrics().horizontalAdvance("Z") + 2), px(kLabelHeight));
    paint(Label1[3], Qt::white, Qt::red);
    Label1[4] = line(this, "enbalo", Label1[3]->geometry().right() + 1, 1200);
    Label1[4]->setFont(bold);
    Label1[4]->resize(Label1[4]->fontMetrics().horizontalAdvance("enbalo") + 2, Label1[4]->height());
    paint(Label1[4], Qt::white, Qt::black);

    // Right of the logo, however long the address set at build time.
    const int left = std::max(px(840), Label1[4]->geometry().right() + 1 + px(120));
    Label2 = line(this, QString::fromUtf8(kHomePage), left, 1200);
    QPalette palette = Label2->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label2->setPalette(palette);
    QFont underlined = Label2->font();
    underlined.setUnderline(true);
    Label2->setFont(underlined);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);
}

void frmAbout::Form_Load() {
    Label1[1]->setText("Version " ZENBALO_VERSION);
    Label1[2]->setText("Copyright (C) 2026 Zenbalo developers");
    for (QLabel *label : {Label1[1], Label1[2]})
        label->resize(label->fontMetrics().horizontalAdvance(label->text()) + 1, label->height());
}

// A longer credit line or address widens the box rather than being cut.
void frmAbout::fitWidth() {
    int right = px(kClientWidth) - px(kMargin);
    for (const QLabel *label : {Label1[0], Label1[1], Label1[2], Label2})
        right = std::max(right, label->geometry().right() + 1);
    setFixedSize(right + px(kMargin), px(kClientHeight));
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && Label2->rect().contains(mouse->position().toPoint())) {
            Label2_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::Label2_Click() { ShellOpen(shell_, dialogs_, kHomePage, "ブラウザを開けませんでした。", "Zenbalo"); }

} // namespace zenbalo
