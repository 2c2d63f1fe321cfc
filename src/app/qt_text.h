// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace zenbalo {

// The core's texts are UTF-8; QString lives only in the windows.
inline QString toQt(const std::string &text) { return QString::fromStdString(text); }
inline std::string toStd(const QString &text) { return text.toStdString(); }

} // namespace zenbalo
