// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line, read before anything needs a display or takes the
// single-instance lock: an option answers and ends the program, no argument
// starts the window. Plain C++, so it runs where no display exists.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zenbalo {

struct Option {
    std::string_view name;     // "--version"
    std::string_view argument; // its value as --help names it ("FILE"); empty when it takes none
    std::string_view help;     // its line in --help
    // Does what the option asks, with what goes to standard output and error
    // appended to `out` and `err`, and returns the exit status.
    int (*run)(std::string_view argument, std::string &out, std::string &err);
};

// The options of the program; a new one is a row here and its run function.
std::span<const Option> programOptions();

// The first option on the command line runs, with its argument as
// "--name VALUE" or "--name=VALUE". Anything else is answered with a one-line
// message in `err` and status 2. Nothing when there are no arguments: start
// the window. Text, not streams: a start without arguments must not pay for
// setting up iostreams (some 300 KiB of library pages touched).
std::optional<int> runCommandLine(std::span<const Option> options, std::span<const char *const> arguments,
                                  std::string &out, std::string &err);

// What --help prints.
std::string usageText(std::span<const Option> options);

} // namespace zenbalo
