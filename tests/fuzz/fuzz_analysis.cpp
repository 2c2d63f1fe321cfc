// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis window's figures from any typed totals and any figures left
// by a calculation, and the journal record made of them.
#include "analysis/analysis.h"
#include "analysis/analysis_record.h"
#include "common/text.h"
#include "fuzz/fuzz_support.h"

using namespace zenbalo;
using zenbalo::fuzz::check;

namespace {

bool showsNoNumber(const std::string &text) {
    for (const char *word : {"inf", "Inf", "nan", "NaN"})
        if (text.find(word) != std::string::npos)
            return false;
    return true;
}

// "-12", or with `decimals` digits after a point.
bool isFigure(std::string_view text, size_t decimals) {
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    const size_t point = decimals == 0 ? text.size() : text.size() - std::min(text.size(), decimals + 1);
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = text.substr(point);
    if (whole.empty() || whole.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    if (decimals == 0)
        return true;
    return fraction.size() == decimals + 1 && fraction[0] == '.' &&
           fraction.find_first_not_of("0123456789", 1) == std::string_view::npos;
}

bool isYen(std::string_view text) { return text.starts_with(kYen) && isFigure(text.substr(kYen.size()), 0); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view input = fuzz::bytesOf(data, size);
    SharedResults shared;
    shared.payoutPerHit = fuzz::takeValue<int32_t>(input);
    shared.yenPerBall = fuzz::takeValue<double>(input);
    shared.totalHitProbability = fuzz::takeValue<double>(input);
    // The four totals, then the parlour and the machine name.
    const std::vector<std::string> texts = fuzz::splitInput(input, '\n', 6);
    const AnalysisTotals totals{texts[0], texts[1], texts[2], texts[3]};

    const MachineFigures figures = machineFigures(shared);
    check(showsNoNumber(figures.yenPerBall), "the yen per ball shows no endless number");

    const auto results = RunAnalysis(totals, shared);
    if (!results)
        return 0;
    const AnalysisResults &r = *results;
    check(isYen(r[0]) && isYen(r[1]), "the balances are yen amounts");
    for (size_t i = 2; i < r.size(); ++i)
        check(isFigure(r[i], 3), "the other results are figures with three decimals");

    const AnalysisRecord record{"2024/05/01", texts[4], figures.yenPerBall, texts[5], figures.payout, totals, r};
    const std::vector<std::string> lines = analysisRecordLines(record);
    check(lines.size() == 14, "a record has 14 lines");
    check(lines[7].empty() && lines[13].empty(), "lines 8 and 14 of a record are empty");
    for (size_t i = 8; i < 13; ++i)
        check(showsNoNumber(lines[i]), "the results in a record show no endless number");
    return 0;
}
