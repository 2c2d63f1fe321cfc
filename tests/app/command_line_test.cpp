// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "analysis/analysis_record.h"
#include "common/text.h"
#include "journal/journal.h"
#include "support/journal_records.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace zenbalo {
namespace {

struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Answer run(std::span<const Option> options, const std::vector<const char *> &arguments) {
    Answer answer;
    answer.status = runCommandLine(options, arguments, answer.out, answer.err);
    return answer;
}

// A usage error is one line on standard error, nothing on standard output, status 2.
void expectUsageError(const Answer &answer, const std::string &naming) {
    EXPECT_EQ(answer.status, 2);
    EXPECT_EQ(answer.out, "");
    EXPECT_NE(answer.err.find(naming), std::string::npos) << answer.err;
    EXPECT_EQ(answer.err.find('\n'), answer.err.size() - 1) << answer.err;
}

TEST(CommandLine, TheProgramsOptionsAndWhatItRefuses) {
    struct Case {
        const char *name;
        std::vector<const char *> arguments;
        std::optional<int> status;
        const char *out; // a pattern the output must hold, or for an error what the message names
    };
    const Case cases[] = {
        {"no arguments start the window", {}, std::nullopt, "^$"},
        {"version", {"--version"}, 0, R"(^zenbalo \d+\.\d+\n$)"},
        {"help", {"--help"}, 0, "^使い方: zenbalo "},
        {"the first option answers", {"--version", "--bogus"}, 0, R"(^zenbalo \d+\.\d+\n$)"},
        {"unknown option", {"--bogus"}, 2, "不明なオプションです: --bogus"},
        {"unknown before a known one", {"--bogus", "--help"}, 2, "--bogus"},
        {"no abbreviations", {"--vers"}, 2, "--vers"},
        {"no short options", {"-h"}, 2, "-h"},
        {"the end of options is no option here", {"--"}, 2, "--"},
        {"a file name", {"zenbalo.dat"}, 2, "余分な引数です: zenbalo.dat"},
        {"an empty argument", {""}, 2, "余分な引数です"},
        {"a value for an option that takes none", {"--version=2"}, 2, "--version=2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Answer answer = run(programOptions(), c.arguments);
        if (c.status == 2) {
            expectUsageError(answer, c.out);
            continue;
        }
        EXPECT_EQ(answer.status, c.status);
        EXPECT_TRUE(std::regex_search(answer.out, std::regex(c.out))) << answer.out;
        EXPECT_EQ(answer.err, "");
    }
}

int recordValue(std::string_view value, std::string &out, std::string &) {
    out.append("[").append(value).append("]");
    return 7;
}

TEST(CommandLine, AnOptionTakesItsValueInEitherForm) {
    const Option options[] = {{"--export", "FILE", "", recordValue}, {"--flag", "", "", recordValue}};
    struct Case {
        const char *name;
        std::vector<const char *> arguments;
        std::string out; // empty: a usage error naming `naming`
        std::string naming;
    };
    const Case cases[] = {
        {"value as the next argument", {"--export", "a.csv"}, "[a.csv]", ""},
        {"value after an equals sign", {"--export=a.csv"}, "[a.csv]", ""},
        {"only the first equals sign separates", {"--export=a=b.csv"}, "[a=b.csv]", ""},
        {"the next argument is taken whatever it is", {"--export", "--flag"}, "[--flag]", ""},
        {"an option without its value is named with what it needs", {"--export"}, "", "FILE"},
        {"an empty value is none", {"--export="}, "", "FILE"},
        {"an empty next argument is none", {"--export", ""}, "", "FILE"},
        {"an option without a value runs with none", {"--flag"}, "[]", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Answer answer = run(options, c.arguments);
        if (c.out.empty()) {
            expectUsageError(answer, c.naming);
            continue;
        }
        EXPECT_EQ(answer.status, 7);
        EXPECT_EQ(answer.out, c.out);
    }
}

// The export takes in bunseki.txt first and answers in one line on failure;
// a relative FILE is the working directory's.
TEST(CommandLine, ExportJournal) {
    const std::string csv = std::string(testing::kCsvHeader) + std::string(testing::kThreeVisitsCsvRows[0]) +
                            std::string(testing::kThreeVisitsCsvRows[1]) + std::string(testing::kThreeVisitsCsvRows[2]);
    struct Case {
        const char *name;
        std::vector<const char *> arguments;
        void (*prepare)();
        int status;
        std::string out, err;
        const char *file; // holds the CSV afterwards
    };
    const Case cases[] = {
        {"to standard output", {"--export-journal", "-"}, [] {}, 0, csv, "", nullptr},
        {"to a file", {"--export-journal=収支.csv"}, [] {}, 0, "", "", "収支.csv"},
        {"a file in a folder",
         {"--export-journal", "sub/out.csv"},
         [] { std::filesystem::create_directory("sub"); },
         0,
         "",
         "",
         "sub/out.csv"},
        {"onto a folder",
         {"--export-journal", "out.csv"},
         [] { std::filesystem::create_directory("out.csv"); },
         1,
         "",
         "zenbalo: DIR/out.csv に書き込めませんでした。同じ名前のフォルダーがあります。\n",
         nullptr},
        {"bunseki.txt unreadable",
         {"--export-journal", "-"},
         [] {
             std::filesystem::remove(kAnalysisFile);
             std::filesystem::create_directory(kAnalysisFile);
         },
         1,
         "",
         "zenbalo: bunseki.txt を読み込めませんでした。同じ名前のフォルダーがあります。\n",
         nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempWorkDir dir;
        testing::writeFile(kAnalysisFile, testing::fixture("journal/three_visits.txt"));
        c.prepare();
        const Answer answer = run(programOptions(), c.arguments);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_EQ(answer.out, c.out);
        std::string err = c.err;
        if (const size_t at = err.find("DIR"); at != std::string::npos)
            err.replace(at, 3, std::filesystem::current_path().string());
        EXPECT_EQ(answer.err, err);
        if (c.file) {
            EXPECT_EQ(testing::readFile(c.file), csv);
        }
    }
}

// Columns a terminal gives the text: the CJK ranges and full-width forms take two.
size_t terminalColumns(std::string_view line) {
    size_t columns = 0;
    for (size_t i = 0; i < line.size();) {
        const char32_t c = nextCodePoint(line, i);
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
        columns += wide ? 2 : 1;
    }
    return columns;
}

TEST(CommandLine, HelpFitsATerminalAndListsEveryOption) {
    const std::string help = usageText(programOptions());
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(terminalColumns(line), 80u) << line;
    for (const Option &option : programOptions()) {
        SCOPED_TRACE(std::string(option.name));
        const std::string column =
            std::string(option.name) + (option.argument.empty() ? "" : " ") + std::string(option.argument);
        const std::regex row("\n  " + column + " +" + std::string(option.help) + "\n");
        EXPECT_TRUE(std::regex_search(help, row));
    }
}

} // namespace
} // namespace zenbalo
