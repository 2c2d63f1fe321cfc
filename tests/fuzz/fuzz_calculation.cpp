// SPDX-License-Identifier: GPL-3.0-or-later
// Validation and calculation of any sixteen typed fields with any rotation
// rate, total and exchange rate: the window and the log show figures or "-",
// never an endless or undefined number.
#include "engine/calculation.h"
#include "engine/log_report.h"
#include "engine/rates.h"
#include "fuzz/fuzz_support.h"

#include <cmath>

using namespace zenbalo;
using zenbalo::fuzz::check;

namespace {

// The input: the 16 fields, the rotation rate, the total rotations and the
// exchange-rate entry, one per line, as no box holds a line break.
constexpr size_t kTexts = kMachineFields + 3;

bool showsNoNumber(const std::string &caption) {
    for (const char *word : {"inf", "Inf", "nan", "NaN"})
        if (caption.find(word) != std::string::npos)
            return false;
    return true;
}

std::vector<std::string> captions(const CalculationDisplay &display) {
    std::vector<std::string> all(display.summary.begin(), display.summary.end());
    all.insert(all.end(), display.borders.begin(), display.borders.end());
    all.insert(all.end(), display.balances.begin(), display.balances.end());
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::vector<std::string> texts = fuzz::splitInput(fuzz::bytesOf(data, size), '\n', kTexts);
    MachineRecord text1;
    for (int k = 0; k < kMachineFields; ++k)
        text1[static_cast<size_t>(k)] = texts[static_cast<size_t>(k)];
    const std::string &rotationRate = texts[kMachineFields];
    const std::string &totalRotations = texts[kMachineFields + 1];

    SharedResults shared;
    shared.yenPerBall = yenPerBall(texts[kMachineFields + 2]);
    const CalculationDisplay display = runCalculation(text1, rotationRate, totalRotations, shared);

    check(showsNoNumber(display.status), "the status shows no endless number");
    for (const std::string &caption : captions(display))
        check(showsNoNumber(caption), "no caption shows an endless number");
    if (display.succeeded()) {
        check(display.status.empty(), "a calculation that succeeds shows no message");
        for (const std::string &caption : captions(display))
            check(!caption.empty() && caption != "-", "a calculation that succeeds fills every caption");
        check(std::isfinite(shared.totalHitProbability) && shared.totalHitProbability > 0,
              "a calculation that succeeds leaves a total hit probability");
    } else {
        check(!display.status.empty(), "a calculation that fails says why");
        for (const std::string &caption : captions(display))
            check(caption == "-", "a calculation that fails shows - everywhere");
    }

    const LogReport report{text1[Name], text1[Payout], rotationRate, totalRotations, shared.yenPerBall, display};
    const std::vector<std::string> lines = logReportLines(report);
    check(lines.size() == 23, "the log has 23 lines");
    // From the fourth line on, every line is made of figures, not of typed text.
    if (display.succeeded())
        for (size_t i = 3; i < lines.size(); ++i)
            check(showsNoNumber(lines[i]), "a log of a calculation shows no endless number");
    // The file joins the lines with CR LF, so a line break inside one would add a line.
    const bool typedLineBreak =
        (text1[Name] + text1[Payout] + rotationRate + totalRotations).find_first_of("\r\n") != std::string::npos;
    if (!typedLineBreak)
        for (const std::string &line : lines)
            check(line.find_first_of("\r\n") == std::string::npos, "log.txt has 23 lines");
    return 0;
}
