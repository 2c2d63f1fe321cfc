// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_record.h"
#include "common/machine_record.h"
#include "library/library.h"

#include <string>

namespace zenbalo::bench {

// A machine as players type them: a prefix, a series, a variant and a number,
// in kana, kanji, ASCII and full-width Latin, with figures that calculate.
MachineRecord benchMachine(int index);

// The largest library the program takes: 2047 machines over the seven groups,
// most in the first group, each group in list order as the reader leaves it.
Library fullLibrary();

// A visit as the analysis window saves it, from the figures of a real run:
// twenty parlours, thirty machines, a visit every other day.
AnalysisRecord benchJournalRecord(int index);
// A bunseki.txt of years of play: the first `visits` such records.
std::string benchJournalFile(int visits);

// Declares that the median real time of a benchmark must stay under `seconds`.
// The name is the benchmark's as registered, without arguments.
void budget(const std::string &benchmark, double seconds);

// Runs the benchmarks chosen on the command line and then prints each budget
// met or missed; 1 when any was missed.
int runWithBudgets(int argc, char **argv);

// Makes a fresh directory and works in it until the program ends, since the
// program opens its files by bare name.
std::string enterTemporaryDirectory();

} // namespace zenbalo::bench
