#pragma once

#include <QFont>
#include <QIcon>

namespace zenbalo {

// "MS UI Gothic" 9 pt where installed, else a Japanese gothic font.
QFont uiFont();
// The program's own 32 x 32 icon: a silver pachinko ball.
QIcon appIcon();

} // namespace zenbalo
