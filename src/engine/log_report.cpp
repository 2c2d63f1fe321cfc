// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/log_report.h"

#include "common/file_io.h"
#include "common/format.h"
#include "common/sjis.h"
#include "common/text.h"

#include <algorithm>

namespace zenbalo {

namespace {

// Right-aligns a caption in a field; a longer caption is written whole rather
// than losing its leading digits.
std::string field(const std::string &caption, size_t blanks, size_t width) {
    const size_t length = utf8Characters(caption).size();
    if (length > width)
        return caption;
    return std::string(std::min(blanks, width - length), ' ') + caption;
}

} // namespace

std::vector<std::string> logReportLines(const LogReport &report) {
    const CalculationDisplay &r = report.results;
    std::vector<std::string> lines = {
        "*** " + report.name + "(" + report.payout + "個)" + " ***",
        "回転率:         " + report.rotationRate + "回転/千円",
        "総回転数:       " + report.totalRotations + "回転",
        "換金率:         " + formatNumber(report.yenPerBall, "###0.000") + "円",
        "",
        "平均初当たり数: " + r.summary[0] + "回",
        "平均総当たり数: " + r.summary[1] + "回",
        "平均連荘数:     " + r.summary[2] + "回",
        "トータル確率:   " + r.summary[3],
        "平均出玉:       " + r.summary[4] + "個",
        "",
        "持玉比率 ボーダー 期待収支",
    };
    for (int k = 0; k < kTableRows; ++k) {
        const std::string ratio = std::to_string(10 * k);
        lines.push_back(std::string(6 - ratio.size(), ' ') + ratio + "%: " + field(r.borders[k], 6, 6) +
                        field(r.balances[k], 8, 10));
    }
    return lines;
}

WriteResult writeLogFile(const LogReport &report) {
    return writeFileAtomically(kLogFile, sjisLines(logReportLines(report)));
}

} // namespace zenbalo
