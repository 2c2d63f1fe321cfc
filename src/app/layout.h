// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>
#include <string>

class QFrame;

namespace zenbalo {

// Layout tables are in twips; 15 twips make a pixel at 96 dpi.
int px(int twips);
QRect twips(int left, int top, int width, int height);

inline QString toQt(const std::string &text) { return QString::fromStdString(text); }
inline std::string toStd(const QString &text) { return text.toStdString(); }

// A fixed caption, as wide as its text from its left edge.
QLabel *captionLabel(QWidget *parent, const QString &caption, int leftTwips, int topTwips, const QString &tooltip = {});
// A fixed caption right-aligned in a box of the given width.
QLabel *rightCaptionLabel(QWidget *parent, const QString &caption, QRect where, const QString &tooltip = {});
// A frame without caption.
QFrame *captionlessFrame(QWidget *parent, QRect where);

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
    void setLeftLimit(int leftLimit);

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
