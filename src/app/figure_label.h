// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace zenbalo {

// Pixels left free between a figure and the caption or column before it.
inline constexpr int kFigureGap = 6;
// The left limit of a figure that stands after `caption`.
int figureLimitAfter(const QWidget *caption);

// A label that shows a figure: right-aligned and as wide as its text, with its
// right edge fixed, so a longer figure grows to the left and is never cut. It
// does not grow past its left limit, where the caption or column before it
// ends: a figure wider than the room left is drawn condensed instead.
class FigureLabel : public QWidget {
    Q_OBJECT
public:
    // Positions in pixels of the parent; the label shows "-" until first set.
    FigureLabel(QWidget *parent, int rightEdge, int top, int height, int leftLimit);

    QString text() const { return text_; }
    void setText(const QString &text);

    int rightEdge() const { return right_; }
    int leftLimit() const { return leftLimit_; }
    // The width of the text in the label's font, drawn without condensing.
    int naturalWidth() const;
    bool condensed() const { return naturalWidth() > width(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fit();

    QString text_ = "-";
    int right_;
    int top_;
    int height_;
    int leftLimit_;
};

} // namespace zenbalo
