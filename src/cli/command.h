// Sub-commands of vek-cli register themselves here; each lives in its own
// file and is found by name.
#pragma once

#include <string>
#include <vector>

namespace vek::cli {

// A command gets its arguments after the command name and returns the exit
// status: 0 success, 2 bad arguments or input, 1 other failures.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct Command {
    const char* name;
    const char* usage;  // one line, shown by "vek-cli help"
    CommandFn run;
};

bool RegisterCommand(const Command& c);
const std::vector<Command>& Commands();

// Runs a command line without the program name ("compute --mode world ...",
// "help"): finds the command and returns its exit status, or prints the usage
// or a message for an unknown command.
int RunCommandLine(const std::vector<std::string>& args);

}  // namespace vek::cli

// Registers a command from its own .cpp file.
#define VEK_CLI_COMMAND(ident, name, usage, fn) \
    static const bool ident##_registered = ::vek::cli::RegisterCommand({name, usage, fn})
