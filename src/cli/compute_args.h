// The arguments of "vek-cli compute" for commands that report on a compute's
// results: the mode, the date rows (from --world/--birth1/--birth2 or a state
// file), the language and the settings switches, then the compute itself.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/compute.h"
#include "app/program_state.h"
#include "cli/cli_util.h"
#include "display/settings.h"
#include "engine/engine.h"
#include "time/date_rows.h"

namespace vek::cli {

// Everything a compute from the command line leaves behind: the program
// state it ran on (texts, language, engine, rows, settings, results), the
// options and the mode computed.
struct ComputeSession : ProgramState {
    Options options;  // also the command's own options
    Mode mode = Mode::World;
};

// Usage text of the compute arguments.
inline constexpr const char* kComputeArgumentsUsage =
    "--mode world|natal1|natal2|personal1|personal2|synastry [--world T] [--birth1 T] "
    "[--birth2 T] [--state FILE] [--lang en|de] [--radians] [--no-moon] [--sidereal] [--json]";

// Reads the compute arguments together with the command's own value options
// and switches, loads the program text and the engine's data, and runs the
// compute. Returns 0 on success; otherwise the message has been printed on
// stderr and the result is the exit status (2 bad arguments or dates, 1
// other failures).
int RunComputeFromArguments(const char* command, const std::vector<std::string>& args,
                            const std::set<std::string>& valueNames,
                            const std::set<std::string>& switchNames, ComputeSession& s);

// "world", "natal1", ... for a mode.
const char* NameOfMode(Mode mode);

// A text's CR LF line ends as LF for the terminal.
std::string TerminalLines(std::string text);

}  // namespace vek::cli
