// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/captions.h"

#include "app/twips.h"

#include <QFrame>
#include <algorithm>

namespace zenbalo {

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

QString spokenName(const QString &caption) {
    QString name = caption.trimmed();
    while (name.endsWith(':') || name.endsWith(u'：'))
        name.chop(1);
    return name.trimmed();
}

void nameAfter(QWidget *control, QLabel *caption) {
    caption->setBuddy(control);
    caption->setAccessibleName(spokenName(caption->text()));
    control->setAccessibleName(caption->accessibleName());
}

QFrame *captionlessFrame(QWidget *parent, QRect where) {
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(where);
    return frame;
}

} // namespace zenbalo
