// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/entry_box.h"

#include "common/machine_record.h"
#include "common/sjis.h"

#include <algorithm>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QValidator>

namespace zenbalo {

namespace {

bool isAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

// The first `room` code units of `text`, without splitting a surrogate pair.
QString leftFitting(const QString &text, qsizetype room) {
    if (room <= 0)
        return {};
    if (room >= text.size())
        return text;
    return text.left(text[room - 1].isHighSurrogate() ? room - 1 : room);
}

} // namespace

// Every change of the player's passes here as the whole new text; what the
// change inserted is found against the text before it.
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
        if (inserted.isEmpty())
            return Acceptable; // a removal, as Backspace makes
        if (box_->historyStep_) {
            // Undo and Redo restore exactly or not at all; the caller reverts.
            if (box_->filtered(inserted) != inserted)
                box_->stepRefused_ = true;
            return Acceptable;
        }
        const qsizetype room = box_->typingLimit_ - (input.size() - inserted.size());
        const std::optional<QString> pasted = box_->pasteable(inserted, room);
        if (!pasted) {
            box_->refuse();
            return Invalid;
        }
        const QString kept = leftFitting(*pasted, room);
        if (kept.isEmpty())
            return Invalid; // nothing left to insert: the box stays as it was
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
    // The limit is the validator's, so that a paste is trimmed before it is cut.
    setValidator(new EntryValidator(this));
    if (filter != BoxFilter::Text)
        setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == previousText_ || stepRefused_)
            return;
        previousText_ = text;
        emit changed();
        if (!programWrite_)
            emit edited();
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

std::optional<QString> EntryBox::pasteable(const QString &text, qsizetype room) const {
    if (filter_ == BoxFilter::Text) {
        // Piece by piece, so a huge paste costs no more than what fits.
        QString kept;
        for (qsizetype from = 0; from < text.size() && kept.size() < room; from += room)
            kept += filtered(text.mid(from, room));
        return kept;
    }
    // A number box never drops a character: "1/300 x5%" must not become 13005.
    const QString trimmed = text.trimmed();
    if (filtered(trimmed) != trimmed)
        return std::nullopt;
    return trimmed;
}

void EntryBox::refuse() {
    QApplication::beep();
    emit refused();
}

void EntryBox::undoEdit() { historyStep(true); }
void EntryBox::redoEdit() { historyStep(false); }

void EntryBox::historyStep(bool back) {
    historyStep_ = true;
    stepRefused_ = false;
    back ? undo() : redo();
    const bool refusedStep = stepRefused_;
    if (refusedStep)
        back ? redo() : undo();
    historyStep_ = stepRefused_ = false;
    if (refusedStep)
        refuse();
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
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        historyStep(e->matches(QKeySequence::Undo));
        e->accept();
        return;
    }
    const QString text = e->text();
    const bool command = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (command) {
        // Editing commands such as paste; the validator rules on what they insert.
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

// The line edit's own menu, but with Undo and Redo under the rule above, and
// without the keys that belong to the window's menu here.
void EntryBox::contextMenuEvent(QContextMenuEvent *e) {
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto entry = [&](const char *name, const QString &caption, QKeySequence::StandardKey key, bool enabled,
                           auto command) {
        const QKeySequence keys(key);
        const bool ours = !keys.isEmpty() && !isMenuShortcut(keys);
        QAction *action = menu->addAction(caption + (ours ? "\t" + keys.toString(QKeySequence::NativeText) : ""));
        action->setObjectName(name);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, command);
    };
    const bool selection = hasSelectedText();
    entry("edit-undo", "元に戻す(&U)", QKeySequence::Undo, isUndoAvailable(), &EntryBox::undoEdit);
    entry("edit-redo", "やり直す(&R)", QKeySequence::Redo, isRedoAvailable(), &EntryBox::redoEdit);
    menu->addSeparator();
    entry("edit-cut", "切り取り(&T)", QKeySequence::Cut, selection, &QLineEdit::cut);
    entry("edit-copy", "コピー(&C)", QKeySequence::Copy, selection, &QLineEdit::copy);
    entry("edit-paste", "貼り付け(&P)", QKeySequence::Paste, !QApplication::clipboard()->text().isEmpty(),
          &QLineEdit::paste);
    entry("edit-delete", "削除", QKeySequence::UnknownKey, selection, &QLineEdit::del);
    menu->addSeparator();
    entry("select-all", "すべてを選択", QKeySequence::SelectAll, !text().isEmpty() && selectedText() != text(),
          &QLineEdit::selectAll);
    menu->popup(e->globalPos());
}

void EntryBox::dropEvent(QDropEvent *e) {
    // Refused before the line edit accepts it, so a dragging program does not
    // take the text as moved here and delete it.
    if (e->mimeData()->hasText() && !pasteable(e->mimeData()->text(), typingLimit_)) {
        e->ignore();
        refuse();
        return;
    }
    QLineEdit::dropEvent(e);
}

} // namespace zenbalo
