// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"

#include <QKeySequence>
#include <QLineEdit>
#include <optional>

namespace zenbalo {

// Which characters a box takes when typed.
enum class BoxFilter {
    Text,        // name, titles, parlour: what zenbalo.dat can hold
    Probability, // digits, ".", "/"
    Count,       // digits
    Decimal,     // digits, "."
};

// A text box whose filter no edit of the player's can get around.
//
// Typing: a key whose character the filter refuses is discarded, silently.
// Pasting (Ctrl+V, Shift+Insert, the context menu, the middle button, a drop,
// an input method's commit) into a number box: the text is trimmed of
// surrounding white space; if what remains holds any character that typing
// would refuse, nothing is pasted, the box stays as it was and the desktop
// beeps; otherwise it goes in as if typed. A text box takes the characters it
// can store and drops the others.
// Every edit may remove any characters, as Backspace can, but may insert only
// characters that typing inserts. So Cut is always allowed (it only removes),
// and an Undo or Redo that would bring back a character typing could not
// insert (one the program wrote, such as a library value that is no number)
// is refused as a whole with a beep, the box unchanged. In the analysis
// totals, which the program never writes, Cut and Undo thus only ever remove
// or restore digits. Copy is always allowed. At most 255 characters, however
// they come: a longer paste is cut where typing would stop.
// Text the program writes is never filtered.
class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    EntryBox(BoxFilter filter, QWidget *parent);

    // A write by the program: not filtered, and not an edit of the player's.
    // The box then shows the start of the text.
    void write(const QString &text);

    // The characters of `text` this box takes, mapped as they will read back.
    QString filtered(const QString &text) const;

    // Undo and Redo under the rule above.
    void undoEdit();
    void redoEdit();

signals:
    void enterPressed();
    // A key press with a character that the box accepted (backspace included).
    void keyAccepted();
    // The text changed, for whatever reason.
    void changed();
    // The player changed the text.
    void edited();
    // An edit was refused as a whole, with the beep.
    void refused();

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    friend class EntryValidator;
    bool accepts(char32_t c) const;
    bool isMenuShortcut(const QKeySequence &pressed) const;
    // What a paste of `text` inserts, filtered no further than `room`
    // characters; nothing when the paste is refused.
    std::optional<QString> pasteable(const QString &text, qsizetype room = kMaxFieldCharacters) const;
    void historyStep(bool back);
    void refuse();

    BoxFilter filter_;
    bool programWrite_ = false;
    bool historyStep_ = false; // an Undo or Redo under way
    bool stepRefused_ = false; // ... that would insert what typing cannot
    qsizetype typingLimit_ = kMaxFieldCharacters; // in characters; write() may raise it
    QString previousText_;
};

} // namespace zenbalo
