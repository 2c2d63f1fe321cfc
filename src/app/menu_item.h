// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>

class QAction;
class QMenu;

namespace zenbalo {

// A menu command; its shortcut works wherever the focus is in the window.
QAction *addMenuItem(QMenu *menu, const char *caption, QKeySequence shortcut = {});

} // namespace zenbalo
