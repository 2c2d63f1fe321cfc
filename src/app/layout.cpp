// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <algorithm>

namespace zenbalo {

int px(int twips) { return (twips + 7) / 15; }

QRect twips(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }

namespace {

constexpr int kCaptionHeight = 12;

QLabel *caption(QWidget *parent, const QString &text, const QString &tooltip) {
    auto *label = new QLabel(parent);
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
        // The Linux gothic fonts set kana wider than the fonts the layout
        // was drawn for; a little less spacing keeps the captions compact.
        QFont condensed = label->font();
        condensed.setLetterSpacing(QFont::AbsoluteSpacing, -1);
        label->setFont(condensed);
    }
    // The text after the font, so that it is laid out once.
    label->setText(text);
    if (!tooltip.isEmpty())
        label->setToolTip(tooltip);
    return label;
}

} // namespace

QLabel *captionLabel(QWidget *parent, const QString &text, int leftTwips, int topTwips, const QString &tooltip) {
    QLabel *label = caption(parent, text, tooltip);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int width = label->fontMetrics().horizontalAdvance(text) + 1;
    label->setGeometry(px(leftTwips), px(topTwips), width, kCaptionHeight);
    return label;
}

QLabel *rightCaptionLabel(QWidget *parent, const QString &text, QRect where, const QString &tooltip) {
    QLabel *label = caption(parent, text, tooltip);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(where);
    return label;
}

QFrame *captionlessFrame(QWidget *parent, QRect where) {
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(where);
    return frame;
}

int figureLimitAfter(const QWidget *caption) { return caption->geometry().right() + 1 + kFigureGap; }

FigureLabel::FigureLabel(QWidget *parent, int rightEdge, int top, int height, int leftLimit)
    : QWidget(parent), right_(rightEdge), top_(top), height_(height), leftLimit_(leftLimit) {
    fit();
}

void FigureLabel::setText(const QString &text) {
    if (text == text_)
        return;
    text_ = text;
    setAccessibleName(text);
    fit();
    update();
}

void FigureLabel::setLeftLimit(int leftLimit) {
    leftLimit_ = leftLimit;
    fit();
}

int FigureLabel::naturalWidth() const { return fontMetrics().horizontalAdvance(text_) + 1; }

void FigureLabel::fit() {
    const int left = std::max(leftLimit_, right_ - naturalWidth());
    setGeometry(left, top_, right_ - left, height_);
}

void FigureLabel::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange)
        fit();
    QWidget::changeEvent(event);
}

void FigureLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const int natural = naturalWidth();
    QRectF area = rect();
    if (natural > width()) {
        painter.scale(static_cast<double>(width()) / natural, 1.0);
        area.setWidth(natural);
    }
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, text_);
}

} // namespace zenbalo
