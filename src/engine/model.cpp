// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/model.h"

#include <cmath>

namespace zenbalo {

namespace {

double timeSavingHit(double t, double p, int16_t m) { return t * (1 - std::pow(1 - p, static_cast<double>(m))); }

} // namespace

double AverageHitsPerFirstHit(double p, double h, double e, int16_t R, int16_t L, double t1, int16_t m1, double t2,
                              int16_t m2, double t3, int16_t m3, double t4, int16_t m4) {
    // Chain-end factor. A change of limited length already carries the entry
    // rate in s, so counting 1 - e again would end chains twice as often.
    double q;
    if (e == 1.0)
        q = R >= 10000 ? 1.0 / static_cast<double>(L) : 1.0;
    else if (R >= 1 && R <= 9999)
        q = 1.0;
    else
        q = std::pow(1 - e, R != 0 ? 1.0 : 0.0);

    const double s = R < 10000 ? e * (1 - std::pow(1 - h, static_cast<double>(R))) : 0.0;
    const double T =
        timeSavingHit(t1, p, m1) + timeSavingHit(t2, p, m2) + timeSavingHit(t3, p, m3) + timeSavingHit(t4, p, m4);
    return 1 / (q * (1 - (s + (1 - s) * T)));
}

} // namespace zenbalo
