// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zenbalo {

// Exchange-rate entries offered when zenbalo.kan is missing or holds none.
const std::vector<std::string> &builtInRateList();

// Balls exchanged per 100 yen: the number in an entry's first two characters.
double ballsPer100Yen(std::string_view entry);
// Yen paid per won ball at an entry's rate; not finite when the entry names no
// balls, which the calculation then refuses.
double yenPerBall(std::string_view entry);

// Position of the 28-ball rate in a list, or 0 when it has none.
int defaultRateIndex(const std::vector<std::string> &entries);

} // namespace zenbalo
