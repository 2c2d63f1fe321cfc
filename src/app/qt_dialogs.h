// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"

class QWidget;

namespace zenbalo {

// Message boxes with Japanese button captions, and Qt's own file dialog.
class QtDialogs : public Dialogs {
public:
    void setParent(QWidget *parent) { parent_ = parent; }
    MessageBox::Answer ask(const MessageBox &box) override;
    std::optional<std::string> chooseSaveFile(const SaveFileBox &box) override;

private:
    QWidget *owner() const;

    QWidget *parent_ = nullptr;
};

} // namespace zenbalo
