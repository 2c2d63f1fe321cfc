// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"

#include <QKeySequence>
#include <QLineEdit>

namespace zenbalo {

// Which characters a box takes, typed, pasted, dropped or committed by an
// input method alike. Text the program writes is never filtered.
enum class BoxFilter {
    Text,        // name and titles: what zenbalo.dat can hold
    Probability, // digits, ".", "/"
    Count,       // digits
    Decimal,     // digits, "."
};

class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    EntryBox(BoxFilter filter, QWidget *parent);

    // A write by the program: not filtered, and not an edit of the player's.
    // The box then shows the start of the text.
    void write(const QString &text);

    // The characters of `text` this box takes, mapped as they will read back.
    QString filtered(const QString &text) const;

signals:
    void enterPressed();
    // A key press with a character that the box accepted (backspace included).
    void keyAccepted();
    // The text changed, for whatever reason.
    void changed();
    // The player changed the text.
    void edited();

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    friend class EntryValidator;
    bool accepts(char32_t c) const;
    bool isMenuShortcut(const QKeySequence &pressed) const;

    BoxFilter filter_;
    bool programWrite_ = false;
    qsizetype typingLimit_ = kMaxFieldCharacters; // in characters; write() may raise it
    QString previousText_;
};

} // namespace zenbalo
