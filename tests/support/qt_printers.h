// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <ostream>

// Texts in failure messages as text, not as the bytes of their code units.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
