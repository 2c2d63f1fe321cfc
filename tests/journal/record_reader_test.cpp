// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/sjis.h"
#include "journal/record_date.h"
#include "journal/record_reader.h"

#include "support/journal_records.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace zenbalo {
namespace {

using testing::fixture;
using testing::journalRecord;

std::string dateText(const std::optional<CalendarDate> &date) { return date ? isoDate(*date) : "-"; }

std::string recordBytes(int rotations) { return analysisRecordBytes(journalRecord(rotations)); }

// The dates and rotations of the records read, "date:rotations" each.
std::vector<std::string> summary(const std::vector<FileRecord> &records) {
    std::vector<std::string> out;
    for (const FileRecord &r : records)
        out.push_back(dateText(r.visit.date) + ":" + std::to_string(r.visit.rotations));
    return out;
}

TEST(RecordReader, Files) {
    struct Case {
        const char *file;
        const char *pattern;
        std::vector<std::string> want;
        uint64_t skipped;
    } cases[] = {
        {"journal/three_visits.txt", "yyyy/MM/dd", {"2005-03-14:1000", "2005-03-15:2000", "2005-03-16:600"}, 0},
        // The second save was cut short and the third glued to its end.
        {"journal/torn.txt", "yyyy/MM/dd", {"2005-03-14:1000", "2005-03-16:600"}, 1},
        // A note, a record with LF ends and one blank after each colon, an
        // era date, a date of another locale, a line typed in, a record with
        // a non-number balance, and a last record without its last lines' ends.
        {"journal/hand_edited.txt",
         "yyyy/MM/dd",
         {"2005-03-04:1000", "-:1000", "-:1000", "2005-03-17:1000", "2005-03-14:1000"},
         2},
        {"journal/hand_edited.txt",
         "M/d/yy",
         {"2005-03-04:1000", "-:1000", "2005-03-14:1000", "2005-03-17:1000", "2005-03-14:1000"},
         2},
        {"journal/utf8_then_sjis.txt", "yyyy/MM/dd", {"2005-03-14:1000", "2005-03-15:2000", "2005-03-16:600"}, 0},
        {"analysis/worked_example.txt", "yyyy/MM/dd", {"2005-03-14:1000"}, 0},
        // Another file of the program's is one piece of text.
        {"log/worked_example.txt", "yyyy/MM/dd", {}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " in " + c.pattern);
        const RecordScan scan = readRecords(fixture(c.file), c.pattern);
        EXPECT_EQ(summary(scan.records), c.want);
        EXPECT_EQ(scan.skipped, c.skipped);
    }
    EXPECT_TRUE(readRecords("", "yyyy/MM/dd").records.empty());
}

TEST(RecordReader, ReadsEveryFigure) {
    Visit v1{0,        CalendarDate{2005, 3, 14},
             "駅前店", "CR機種",
             2000,     "3.571",
             1000,     12,
             20000,    30000,
             41429,    27143,
             "2.000",  "120.000",
             "21.739", std::nullopt};
    Visit v2{0,        CalendarDate{2005, 3, 15},
             "駅前店", "CR海物語",
             1500,     "3.571",
             2000,     4,
             3000,     40000,
             -29286,   20714,
             "-9.333", "30.000",
             "38.462", std::nullopt};
    Visit v3{0,
             CalendarDate{2005, 3, 16},
             "ホール・ニュー大阪",
             "CR機種",
             2000,
             "4.000",
             600,
             0,
             0,
             15000,
             -15000,
             -3000,
             "-6.000",
             "0.000",
             "40.000",
             std::nullopt};
    const RecordScan scan = readRecords(fixture("journal/three_visits.txt"), "yyyy/MM/dd");
    ASSERT_EQ(scan.records.size(), 3u);
    EXPECT_EQ(scan.records[0].visit, v1);
    EXPECT_EQ(scan.records[1].visit, v2);
    EXPECT_EQ(scan.records[2].visit, v3);

    // Brackets in a parlour's name: the figure is in the last pair.
    const RecordScan edited = readRecords(fixture("journal/hand_edited.txt"), "yyyy/MM/dd");
    ASSERT_EQ(edited.records.size(), 5u);
    EXPECT_EQ(edited.records[2].visit.parlour, "(株)パーラー(本店)");
    EXPECT_EQ(edited.records[2].visit.yenPerBall, "3.571");
}

// Each line of a record in turn made wrong: the record is one skipped piece.
TEST(RecordReader, DamagedRecords) {
    const std::vector<std::string> lines = analysisRecordLines(journalRecord(1000));
    auto with = [&lines](size_t line, const std::string &text) {
        std::vector<std::string> changed = lines;
        changed[line] = text;
        return sjisLines(changed);
    };
    struct Case {
        std::string name;
        std::string bytes;
    };
    std::vector<Case> cases;
    for (size_t k = 0; k < 13; ++k)
        cases.push_back({"line " + std::to_string(k + 1) + " replaced", with(k, "x")});
    cases.push_back({"no date line end", with(0, "*** 2005/03/14")});
    cases.push_back({"payout not whole", with(2, "CR機種(20.5個)")});
    cases.push_back({"payout beyond 32 bits", with(2, "CR機種(3000000000個)")});
    cases.push_back({"rotations beyond 32 bits", with(3, "総回転数:     99999999999回転")});
    cases.push_back({"balance without yen sign", with(8, "収支 :    41429円")});
    cases.push_back({"yen per ball no number", with(1, "駅前店(-円)")});
    std::string foreign = sjisLines(lines);
    foreign.replace(foreign.find(*encodeSjis("駅前店")), 6, "\xFF\xFE\xFF\xFE\xFF\xFE");
    cases.push_back({"neither Shift_JIS nor UTF-8", foreign});
    cases.push_back({"cut after its sixth line", sjisLines({lines.begin(), lines.begin() + 6})});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RecordScan scan = readRecords(c.bytes, "yyyy/MM/dd");
        EXPECT_TRUE(scan.records.empty());
        EXPECT_EQ(scan.skipped, 1u);
        // The next record is read whatever went before it.
        const RecordScan next = readRecords(c.bytes + recordBytes(7), "yyyy/MM/dd");
        EXPECT_EQ(summary(next.records), std::vector<std::string>{"2005-03-14:7"});
        EXPECT_EQ(next.skipped, 1u);
    }
}

// The journal reads a growing file in pieces and goes on from where it
// settled: any cut of any file, read on from there, must give what a reading
// of the whole gives.
TEST(RecordReader, ReadingOnFromWhereItSettled) {
    for (const char *file : {"journal/three_visits.txt", "journal/torn.txt", "journal/hand_edited.txt",
                             "journal/utf8_then_sjis.txt", "log/worked_example.txt"}) {
        SCOPED_TRACE(file);
        const std::string bytes = fixture(file);
        const RecordScan whole = readRecords(bytes, "yyyy/MM/dd");
        for (size_t cut = 0; cut <= bytes.size(); ++cut) {
            std::vector<FileRecord> got;
            auto sink = [&got](const FileRecord &r) { got.push_back(r); };
            RecordReader first("yyyy/MM/dd", sink);
            first.feed(std::string_view(bytes).substr(0, cut));
            first.finish();
            const ReadPosition settled = first.settled();
            ASSERT_LE(settled.offset, cut);
            RecordReader second("yyyy/MM/dd", sink, settled);
            // In pieces of 7 bytes: no piece boundary may matter.
            for (size_t at = settled.offset; at < bytes.size(); at += 7)
                second.feed(std::string_view(bytes).substr(at, 7));
            second.finish();
            ASSERT_EQ(summary(got), summary(whole.records)) << "cut at " << cut;
            ASSERT_EQ(second.skipped(), whole.skipped) << "cut at " << cut;
            ASSERT_EQ(second.records(), whole.records.size()) << "cut at " << cut;
        }
    }
}

// A line longer than any record's, or a hole of a sparse file, costs no
// memory, and a record glued to its end is still read.
TEST(RecordReader, EndlessLines) {
    struct Case {
        const char *name;
        void (*before)(RecordReader &);
        uint64_t length;
    } cases[] = {
        {"2 MiB without a line end", [](RecordReader &r) { r.feed(std::string(size_t{2} << 20, 'x')); }, 2u << 20},
        {"a 40 GB hole", [](RecordReader &r) { r.feedZeros(uint64_t{40} << 30); }, uint64_t{40} << 30},
        {"a small hole", [](RecordReader &r) { r.feedZeros(100); }, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FileRecord> got;
        RecordReader reader("yyyy/MM/dd", [&got](const FileRecord &r) { got.push_back(r); });
        c.before(reader);
        reader.feed(recordBytes(5));
        reader.finish();
        EXPECT_EQ(summary(got), std::vector<std::string>{"2005-03-14:5"});
        EXPECT_EQ(reader.skipped(), 1u);
        EXPECT_EQ(reader.settled().offset, c.length + recordBytes(5).size());
    }
}

TEST(RecordReader, HashesTellRecordsApart) {
    auto hashOf = [](const std::string &bytes) {
        const RecordScan scan = readRecords(bytes, "yyyy/MM/dd");
        EXPECT_EQ(scan.records.size(), 1u);
        return scan.records.empty() ? 0 : scan.records[0].hash;
    };
    const AnalysisRecord base = journalRecord(1000);
    const uint64_t baseHash = hashOf(analysisRecordBytes(base));
    std::string lf = analysisRecordBytes(base);
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.erase(at, 1);
    std::string utf8;
    for (const std::string &line : analysisRecordLines(base))
        utf8 += line + "\n";
    std::string aligned = analysisRecordBytes(base);
    aligned.replace(aligned.find(":     1000"), 10, ": 1000");
    for (const auto &[name, bytes] :
         {std::pair{"LF line ends", lf}, std::pair{"UTF-8", utf8}, std::pair{"other blanks after a colon", aligned}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(hashOf(bytes), baseHash);
    }

    std::vector<std::pair<const char *, AnalysisRecord>> others;
    for (int field = 0; field < 10; ++field) {
        AnalysisRecord r = base;
        std::string *texts[] = {&r.date,       &r.parlour,         &r.yenPerBall,         &r.machineName,
                                &r.payout,     &r.totals.playHits, &r.totals.investedYen, &r.results[0],
                                &r.results[2], &r.results[4]};
        *texts[field] += "1";
        others.push_back({"a field changed", r});
    }
    for (const auto &[name, record] : others) {
        SCOPED_TRACE(name);
        EXPECT_NE(hashOf(analysisRecordBytes(record)), baseHash);
    }
}

TEST(RecordDate, Reading) {
    struct Case {
        const char *text;
        const char *pattern;
        const char *want; // "-" for no date
    } cases[] = {
        {"2005/03/14", "yyyy/MM/dd", "2005-03-14"},
        {"2005/3/4", "yyyy/MM/dd", "2005-03-04"},
        {" 2005/03/14 ", "yyyy/MM/dd", "2005-03-14"},
        {"3/14/05", "M/d/yy", "2005-03-14"},
        {"14.03.2005", "dd.MM.yyyy", "2005-03-14"},
        {"2005年3月14日", "yyyy年M月d日", "2005-03-14"},
        {"2005年3月14日", "yyyy'年'M'月'd'日'", "2005-03-14"},
        {"20050314", "yyyyMMdd", "2005-03-14"},
        {"2005314", "yyyyMd", "2005-03-14"},
        // The pattern first: these read as day/month/year.
        {"05/03/14", "dd/MM/yy", "2014-03-05"},
        // Then year/month/day, whatever the pattern.
        {"05/03/14", "M/d/yyyy", "2005-03-14"},
        {"05-3-4", "yyyy/MM/dd", "2005-03-04"},
        {"2005.12.31", "yyyy/MM/dd", "2005-12-31"},
        {"2005-1/2", "yyyy/MM/dd", "2005-01-02"},
        {"2004/02/29", "yyyy/MM/dd", "2004-02-29"},
        {"2000/02/29", "yyyy/MM/dd", "2000-02-29"},
        {"2005/02/29", "yyyy/MM/dd", "-"},
        {"1900/02/29", "yyyy/MM/dd", "-"},
        {"2005/13/01", "yyyy/MM/dd", "-"},
        {"2005/04/31", "yyyy/MM/dd", "-"},
        {"2005/00/10", "yyyy/MM/dd", "-"},
        {"205/03/14", "yyyy/MM/dd", "-"},
        {"2005/003/14", "yyyy/MM/dd", "-"},
        {"2005 03 14", "yyyy/MM/dd", "-"},
        {"2005/03/14 12:00", "yyyy/MM/dd", "-"},
        {"平成17年3月14日", "yyyy/MM/dd", "-"},
        {"", "yyyy/MM/dd", "-"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + c.pattern);
        EXPECT_EQ(dateText(readRecordDate(c.text, c.pattern)), c.want);
    }
}

// What the analysis window writes in any of these patterns reads back.
TEST(RecordDate, ReadsWhatIsWritten) {
    for (const char *pattern : {"yyyy/MM/dd", "M/d/yy", "dd.MM.yyyy", "d/M/yyyy", "yyyy-MM-dd", "yy/M/d"}) {
        for (const CalendarDate date :
             {CalendarDate{2005, 3, 14}, CalendarDate{2024, 12, 1}, CalendarDate{2031, 1, 31}}) {
            SCOPED_TRACE(std::string(pattern) + " " + isoDate(date));
            EXPECT_EQ(readRecordDate(formatShortDate(date, pattern), pattern), date);
        }
    }
    EXPECT_EQ(parseIsoDate("2005-03-14"), (CalendarDate{2005, 3, 14}));
    EXPECT_EQ(parseIsoDate("2005-02-30"), std::nullopt);
}

} // namespace
} // namespace zenbalo
