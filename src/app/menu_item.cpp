// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/menu_item.h"

#include <QAction>
#include <QMenu>

namespace zenbalo {

QAction *addMenuItem(QMenu *menu, const char *caption, QKeySequence shortcut) {
    QAction *action = menu->addAction(QString::fromUtf8(caption));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace zenbalo
