// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

class QFrame;
class QWidget;

namespace zenbalo {

// A fixed caption, as wide as its text from its left edge.
QLabel *captionLabel(QWidget *parent, const QString &caption, int leftTwips, int topTwips, const QString &tooltip = {});
// A fixed caption right-aligned in a box of the given width.
QLabel *rightCaptionLabel(QWidget *parent, const QString &caption, QRect where, const QString &tooltip = {});
// What a screen reader calls the control a caption stands for: the caption
// without its colon.
QString spokenName(const QString &caption);
// Names `control` after `caption`, which becomes its buddy.
void nameAfter(QWidget *control, QLabel *caption);
// A frame without caption.
QFrame *captionlessFrame(QWidget *parent, QRect where);

} // namespace zenbalo
