// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"
#include "common/shell.h"

namespace zenbalo {

// The manual reports a failure under the main window's title from every
// window that offers it.
inline void openManual(Shell &shell, Dialogs &dialogs) {
    ShellOpen(shell, dialogs, "説明書.txt", "説明書を開けませんでした。", "Zenbalo - 説明書を開く");
}

} // namespace zenbalo
