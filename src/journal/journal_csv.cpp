// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_csv.h"

#include "common/file_io.h"
#include "journal/record_date.h"

namespace zenbalo {

namespace {

constexpr const char *kHeader =
    "日付,店名,機種名,大当たり出玉,換金率,総回転数,総大当たり数,換金出玉数,投資金額,収支,仕事量,誤差,ツキ指数,回転率";

void appendField(std::string &out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendRow(std::string &out, const Visit &v) {
    const std::string fields[] = {
        v.date ? isoDate(*v.date) : std::string(),
        v.parlour,
        v.machine,
        std::to_string(v.payout),
        v.yenPerBall,
        std::to_string(v.rotations),
        std::to_string(v.hits),
        std::to_string(v.exchangedBalls),
        std::to_string(v.investedYen),
        std::to_string(v.realBalance),
        std::to_string(v.work),
        v.hitError,
        v.luckIndex,
        v.rotationRate,
    };
    for (size_t k = 0; k < std::size(fields); ++k) {
        if (k > 0)
            out += ',';
        appendField(out, fields[k]);
    }
    out += "\r\n";
}

} // namespace

std::string journalCsv(const std::vector<Visit> &visits) {
    std::string out = "\xEF\xBB\xBF";
    out.reserve(128 * (visits.size() + 1));
    out += kHeader;
    out += "\r\n";
    for (const Visit &v : visits)
        appendRow(out, v);
    return out;
}

JournalResult writeJournalCsv(const std::vector<Visit> &visits, const std::string &file) {
    const WriteResult written = writeFileAtomically(file, journalCsv(visits));
    if (!written.ok())
        return {file + " に書き込めませんでした。" + errorReason(written)};
    return {};
}

JournalResult exportJournal(Journal &journal, const std::string &file, std::ostream &out) {
    if (SyncReport synced = journal.sync(); !synced.result.ok())
        return synced.result;
    VisitList all = journal.visits();
    if (!all.result.ok())
        return all.result;
    if (file != "-")
        return writeJournalCsv(all.visits, file);
    const std::string csv = journalCsv(all.visits);
    out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    out.flush();
    if (!out)
        return {"標準出力に書き込めませんでした。"};
    return {};
}

} // namespace zenbalo
