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
inline constexpr int kIconSizes[] = {16, 32, 48, 128, 256};
// The program's own icon, a silver pachinko ball with a red Z, at every size
// rendered from data/icons/zenbalo.svg.
QIcon appIcon();

} // namespace zenbalo
