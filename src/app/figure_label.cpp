// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/figure_label.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace zenbalo {

int figureLimitAfter(const QWidget *caption) { return caption->geometry().right() + 1 + kFigureGap; }

namespace {

// A screen reader takes a figure for text, which its accessible name holds.
QAccessibleInterface *figureAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String(FigureLabel::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::StaticText);
    return nullptr;
}

} // namespace

FigureLabel::FigureLabel(QWidget *parent, int rightEdge, int top, int height, int leftLimit)
    : QWidget(parent), right_(rightEdge), top_(top), height_(height), leftLimit_(leftLimit) {
    static const bool accessible = (QAccessible::installFactory(figureAccessible), true);
    static_cast<void>(accessible);
    setAccessibleName(text_);
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
