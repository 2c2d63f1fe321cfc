// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_look.h"
#include "app/command_line.h"
#include "app/form1.h"
#include "app/qt_dialogs.h"
#include "app/single_instance.h"
#include "app/start_failure.h"
#include "app/xdg_shell.h"
#include "common/data_directory.h"

#include <QApplication>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <malloc.h>
#include <span>
#include <string>

int main(int argc, char *argv[]) {
    // The options answer in a terminal without a display, and beside a running window.
    const std::span<const char *const> arguments(argv + 1, static_cast<std::size_t>(std::max(argc - 1, 0)));
    std::string out, err;
    if (auto status = zenbalo::runCommandLine(zenbalo::programOptions(), arguments, out, err)) {
        // A CSV cut short by a full disk or a closed pipe must not pass for whole.
        if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
            err += "zenbalo: 標準出力に書き込めませんでした。\n";
            status = 1;
        }
        std::fwrite(err.data(), 1, err.size(), stderr);
        return *status;
    }
    // The launcher names in ZENBALO_SHARE the files it installs: started by
    // it, the program runs in the player's data directory; on its own (the
    // build tree, the tests) where it was started. Only after the command
    // line, so that an option's file names are read from the directory the
    // player gave the command in; an option that needs the data files enters
    // the directory itself, after reading its own names.
    if (const std::string share = zenbalo::processEnvironment("ZENBALO_SHARE"); !share.empty()) {
        const zenbalo::DataDirectory data = zenbalo::enterDataDirectory(zenbalo::processEnvironment, share);
        if (!data.ok())
            return zenbalo::refuseStart(argc, argv, data.failure);
    }
    // Then, in the directory it works in: a second start here wakes the first
    // and ends, touching no file.
    zenbalo::SingleInstance instance;
    if (!instance.acquire())
        return 0;
    // glibc gives each block of 128 KiB or more pages of its own and returns
    // them when it is freed, so the next large block faults in new pages
    // again; it raises these limits itself only after the first such free.
    // At start the file, its decoded text and the library's strings are such
    // blocks: from the heap, their pages serve what follows (~5 % of the time
    // to the window).
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
    QApplication app(argc, argv);
    zenbalo::setUpApplication(app);
    zenbalo::QtDialogs dialogs;
    zenbalo::XdgShell shell;
    zenbalo::Form1 form(dialogs, shell);
    dialogs.setParent(&form);
    instance.listen(form);
    form.Form_Load();
    form.show();
    return app.exec();
}
