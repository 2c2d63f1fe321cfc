// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_failure.h"

#include "app/app_look.h"
#include "app/qt_dialogs.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zenbalo {

namespace {

// Qt ends the process when it finds no display; in a plain terminal the line
// on standard error is all the player can get.
bool displayKnown() {
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char *value = std::getenv(name); value && *value)
            return true;
    return false;
}

} // namespace

int refuseStart(int &argc, char **argv, const std::string &message) {
    std::string line = "zenbalo: " + message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    if (!displayKnown())
        return 1;
    QApplication app(argc, argv);
    setUpApplication(app);
    QtDialogs dialogs;
    dialogs.refuse(message, "Zenbalo - 起動");
    return 1;
}

} // namespace zenbalo
