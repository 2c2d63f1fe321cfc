#pragma once

#include <ctime>
#include <string>

namespace zenbalo {

// First free name "zenbalo.dat.damaged-YYYYMMDD-HHMMSS" (local time of `now`),
// with "-1", "-2", ... appended while the name is taken.
std::string damagedFileName(std::time_t now);

} // namespace zenbalo
