// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_failure.h"

#include "app/app_look.h"
#include "app/qt_dialogs.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>

namespace zenbalo {

int refuseStart(int &argc, char **argv, const std::string &message) {
    std::string line = "zenbalo: " + message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    QApplication app(argc, argv);
    setUpApplication(app);
    QtDialogs dialogs;
    dialogs.refuse(message, "Zenbalo - 起動");
    return 1;
}

} // namespace zenbalo
