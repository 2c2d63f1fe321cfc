// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/machine_record.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zenbalo {

// How a specification box reads its keys.
enum class KeyClass { Free, Probability, Count, Disabled };

struct SpecField {
    const char *caption; // "" for the name box
    const char *tooltip;
    KeyClass keys;
};

// The sixteen boxes of the specification column, top to bottom.
const std::array<SpecField, kMachineFields> &specFields();

// A probability written as a fraction; -1 when invalid.
double ParseFraction(std::string_view text);
// A fraction, or a percent number up to 100; -1 when invalid.
double ParseRate(std::string_view text);

// Numbers of a specification that passed validation.
struct Specification {
    double p = 0, h = 0, e = 0;
    int16_t R = 0, L = 0;
    std::array<double, 4> t{};
    std::array<int16_t, 4> m{};
    int32_t N = 0; // total normal-state rotations of a day
    int32_t B = 0; // balls per big hit
    double rotationRate = 0;
};

struct Validation {
    std::string message; // the status line: the last failing step's message, or empty
    Specification spec;
    bool payoutRead = false; // false when the payout does not fit 32 bits

    bool passed() const { return message.empty(); }
};

// Every check runs, in a fixed order, so the message of the last failing one
// wins: the probability nearest the top of the column over the others.
Validation validateSpecification(const MachineRecord &text1, std::string_view rotationRateText,
                                 std::string_view totalRotationsText);

} // namespace zenbalo
