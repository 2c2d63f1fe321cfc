// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/model.h"

#include <cmath>

namespace zenbalo {

namespace {

double timeSavingHit(double t, double p, int16_t m) { return t * (1 - std::pow(1 - p, static_cast<double>(m))); }

} // namespace

double AverageHitsPerFirstHit(const Specification &spec) {
    const double p = spec.p, h = spec.h, e = spec.e;
    const int16_t R = spec.R, L = spec.L;
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
    double T = 0;
    for (size_t stage = 0; stage < spec.t.size(); ++stage)
        T += timeSavingHit(spec.t[stage], p, spec.m[stage]);
    return 1 / (q * (1 - (s + (1 - s) * T)));
}

} // namespace zenbalo
