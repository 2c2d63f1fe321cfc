#pragma once

#include <QFont>
#include <QIcon>

class QApplication;

namespace zenbalo {

// "MS UI Gothic" 9 pt where installed, else a Japanese gothic font.
QFont uiFont();
// The font, and Qt's own texts (context menus, standard dialogs) in Japanese
// whatever the desktop's language: the whole program speaks Japanese.
void setUpApplication(QApplication &app);
// The program's own 32 x 32 icon: a silver pachinko ball.
QIcon appIcon();

} // namespace zenbalo
