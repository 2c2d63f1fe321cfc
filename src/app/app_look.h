// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QIcon>

class QApplication;
class QWidget;

namespace zenbalo {

// "MS UI Gothic" 9 pt where installed, else a Japanese gothic font: the first
// of these that is installed.
inline constexpr const char *kUiFontFamilies[] = {"MS UI Gothic",     "IPAPGothic", "IPAGothic",
                                                  "Noto Sans CJK JP", "VL PGothic", "Takao PGothic"};
QFont uiFont();
// The font, and Qt's own texts (context menus, standard dialogs) in Japanese
// whatever the desktop's language: the whole program speaks Japanese.
void setUpApplication(QApplication &app);
inline constexpr int kIconSizes[] = {16, 32, 48, 128, 256};
// The program's own icon, a silver pachinko ball with a red Z, at every size
// rendered from data/icons/zenbalo.svg up to `largest` pixels.
QIcon appIcon(int largest = 256);
// The sizes a window hands to the desktop: title bars and window lists draw
// at most this, and the desktop entry names the installed icon for more. The
// 256-pixel size would cost each start a megabyte in the window's property.
inline constexpr int kWindowIconLargest = 128;
// The look of the secondary windows: the program's icon and font, a fixed
// dialog border with a close box only.
void setUpDialogWindow(QWidget &window);

} // namespace zenbalo
