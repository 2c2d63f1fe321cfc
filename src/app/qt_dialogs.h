// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"

class QWidget;

namespace zenbalo {

// Message boxes with Japanese button captions.
class QtDialogs : public Dialogs {
public:
    void setParent(QWidget *parent) { parent_ = parent; }
    MessageBox::Answer ask(const MessageBox &box) override;

private:
    QWidget *parent_ = nullptr;
};

} // namespace zenbalo
