// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/specification.h"

namespace zenbalo {

// Average number of big hits that one first hit brings, the first hit included,
// from a validated specification: p the normal hit probability, h the
// probability while the probability change runs, e its entry rate, R its
// length in rotations (10000 or more: until the next hit), L the limiter, and
// t/m entry rate and rotations of the four time-saving stages.
double AverageHitsPerFirstHit(const Specification &spec);

} // namespace zenbalo
