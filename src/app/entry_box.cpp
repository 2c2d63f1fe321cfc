// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/entry_box.h"

#include "common/machine_record.h"
#include "common/sjis.h"

#include <algorithm>

#include <QAction>
#include <QKeyEvent>
#include <QValidator>

namespace zenbalo {

namespace {

bool isAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

} // namespace

// Filters only what the player inserted: the validator sees the whole new text,
// so the insertion is found against the text before the edit.
class EntryValidator : public QValidator {
public:
    explicit EntryValidator(EntryBox *box) : QValidator(box), box_(box) {}

    State validate(QString &input, int &pos) const override {
        if (box_->programWrite_)
            return Acceptable;
        const QString &old = box_->previousText_;
        qsizetype prefix = 0;
        while (prefix < input.size() && prefix < old.size() && input[prefix] == old[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < input.size() - prefix && suffix < old.size() - prefix &&
               input[input.size() - 1 - suffix] == old[old.size() - 1 - suffix])
            ++suffix;
        // Never split a surrogate pair.
        if (prefix > 0 && input[prefix - 1].isHighSurrogate())
            --prefix;
        if (suffix > 0 && input[input.size() - suffix].isLowSurrogate())
            --suffix;
        const QString inserted = input.mid(prefix, input.size() - prefix - suffix);
        const qsizetype room = box_->typingLimit_ - prefix - suffix;
        QString kept;
        // Piece by piece, so a huge paste costs no more than what fits.
        for (qsizetype from = 0; from < inserted.size() && kept.size() < room; from += room)
            kept += box_->filtered(inserted.mid(from, room));
        kept.truncate(std::max<qsizetype>(room, 0));
        if (kept == inserted)
            return Acceptable;
        input = input.left(prefix) + kept + input.right(suffix);
        if (pos > prefix)
            pos = static_cast<int>(std::max<qsizetype>(prefix, pos - (inserted.size() - kept.size())));
        return Acceptable;
    }

private:
    EntryBox *box_;
};

EntryBox::EntryBox(BoxFilter filter, QWidget *parent) : QLineEdit(parent), filter_(filter) {
    setValidator(new EntryValidator(this));
    if (filter != BoxFilter::Text)
        setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text != previousText_)
            emit edited();
    });
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == previousText_)
            return;
        previousText_ = text;
        emit changed();
    });
}

void EntryBox::write(const QString &text) {
    // The limit is for typing: a longer text the program shows (read from a
    // file) stays whole and can be edited within its length.
    typingLimit_ = std::max<qsizetype>(kMaxFieldCharacters, text.size());
    programWrite_ = true;
    setText(text);
    setCursorPosition(0);
    programWrite_ = false;
}

bool EntryBox::isMenuShortcut(const QKeySequence &pressed) const {
    const QList<QAction *> actions = window()->findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(), [&](const QAction *a) { return a->shortcut() == pressed; });
}

bool EntryBox::accepts(char32_t c) const {
    switch (filter_) {
    case BoxFilter::Probability:
        return isAsciiDigit(c) || c == '.' || c == '/';
    case BoxFilter::Count:
        return isAsciiDigit(c);
    case BoxFilter::Decimal:
        return isAsciiDigit(c) || c == '.';
    case BoxFilter::Text:
        return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && c != '"';
    }
    return false;
}

QString EntryBox::filtered(const QString &text) const {
    QString out;
    for (char32_t c : text.toUcs4()) {
        if (!accepts(c))
            continue;
        const QString one = QString::fromUcs4(&c, 1);
        if (filter_ != BoxFilter::Text) {
            out += one;
            continue;
        }
        // Only what zenbalo.dat can hold, as it will read back ("\" is the yen sign).
        if (const auto back = sjisRoundTrip(one.toStdString()))
            out += QString::fromStdString(*back);
    }
    return out;
}

bool EntryBox::event(QEvent *e) {
    // The line edit claims Ctrl+A, Ctrl+X, Shift+Del and others for its own
    // editing; here they belong to the menu of the box's own window.
    if (e->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(e)->keyCombination());
        if (isMenuShortcut(pressed)) {
            e->ignore();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void EntryBox::keyPressEvent(QKeyEvent *e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit enterPressed();
        e->accept(); // no new line, no beep
        return;
    }
    // Only the key of a disabled menu item gets here; it stays the menu's and
    // does nothing, so Ctrl+X in New mode does not cut the typed name.
    if (isMenuShortcut(QKeySequence(e->keyCombination()))) {
        e->accept();
        return;
    }
    const QString text = e->text();
    const bool command = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (command) {
        // Editing commands such as paste; what they insert is filtered on its way in.
    } else if (e->key() == Qt::Key_Backspace) {
        emit keyAccepted();
    } else if (!text.isEmpty() && text[0].isPrint()) {
        const auto chars = text.toUcs4();
        if (!accepts(chars[0])) {
            e->accept(); // discarded, as if never typed
            return;
        }
        emit keyAccepted();
    }
    QLineEdit::keyPressEvent(e);
}

} // namespace zenbalo
