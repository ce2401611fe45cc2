// Sub-commands of vek-cli register themselves here; each lives in its own
// file and is found by name. Each brings its help: a summary for the list of
// commands, its usage, what it does, its table of options and examples, all
// written once next to the code that reads the options.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "util/result.h"

namespace vek {
class Engine;
}

namespace vek::cli {

// A command gets its arguments after the command name and returns the exit
// status: 0 success, 2 bad arguments or input, 1 other failures.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct CommandHelp {
    const char* summary;      // one line in the list of commands
    const char* usage;        // after "vek-cli "; lines separated by '\n'
    const char* description;  // paragraphs separated by '\n', wrapped when printed
    const OptionTable* options;
    std::vector<const char*> examples;  // command lines after "vek-cli "
};

struct Command {
    const char* name;
    const CommandHelp* help;
    CommandFn run;
};

bool RegisterCommand(const Command& c);
// The registered commands in the order of their names.
std::vector<Command> Commands();

// The help of a command as "vek-cli COMMAND --help" prints it.
std::string CommandHelpText(const Command& c);
// The list of commands as "vek-cli --help" prints it.
std::string OverviewText();

// Runs a command line without the program name ("compute --mode world ...",
// "help", "help compute"): finds the command and returns its exit status, or
// prints a help or a message for an unknown command. "--help" or "-h"
// anywhere after a command name prints that command's help.
int RunCommandLine(const std::vector<std::string>& args);

// Starts the engine on the program folder and loads its Pluto table. A
// failure carries the message to show.
Status StartEngine(Engine& engine);

}  // namespace vek::cli

// Registers a command from its own .cpp file.
#define VEK_CLI_COMMAND(ident, name, help, fn) \
    static const bool ident##_registered = ::vek::cli::RegisterCommand({name, &help, fn})
